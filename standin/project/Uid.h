// Process-unique identities for model objects (never 0, never reused).
#pragma once

#include <QtGlobal>

namespace standin {

quint64 newUid();

} // namespace standin
