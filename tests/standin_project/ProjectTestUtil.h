// Helpers shared by the project-model tests.
#pragma once

#include "project/Project.h"

#include <QString>

#include <memory>

namespace standin::test {

// Loads a project from JSON text; fails the current test (and returns
// nullptr) when it does not load.
std::unique_ptr<Project> loadText(const QByteArray& json);
// The load error of a text that must not load.
LoadError loadError(const QByteArray& json);
// A file of examples/.
QString examplePath(const QString& name);

// A composition with `count` solid layers of 100 x 100, named "L1".. from the
// top, IDs 1.., inside a 1920 x 1080, 25 fps, 10 s composition "Main".
std::unique_ptr<Project> stackProject(int count);

} // namespace standin::test
