// A deterministic, readable JSON printer: objects with sorted members, one
// per line, 4-space indents; arrays of plain values (no arrays or objects) on one line.
#pragma once

#include <QByteArray>
#include <QJsonValue>

namespace standin {

QByteArray writeJson(const QJsonValue& value);

} // namespace standin
