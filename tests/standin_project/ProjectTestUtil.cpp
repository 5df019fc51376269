#include "ProjectTestUtil.h"

#include <gtest/gtest.h>

#include <QDir>

namespace standin::test {

std::unique_ptr<Project> loadText(const QByteArray& json)
{
    LoadError error;
    auto project = Project::fromJson(json, QStringLiteral("test.json"), &error);
    EXPECT_TRUE(project) << qPrintable(error.toString());
    return project;
}

LoadError loadError(const QByteArray& json)
{
    LoadError error;
    auto project = Project::fromJson(json, QStringLiteral("bad.json"), &error);
    EXPECT_FALSE(project) << "loaded unexpectedly: " << json.constData();
    return error;
}

QString examplePath(const QString& name)
{
    const QByteArray root = qgetenv("ZOLVAR_SOURCE_DIR");
    return QDir(QString::fromLocal8Bit(root.isEmpty() ? QByteArray(ZOLVAR_TEST_SOURCE_DIR) : root))
        .filePath(QStringLiteral("examples/") + name);
}

std::unique_ptr<Project> stackProject(int count)
{
    QByteArray layers;
    for (int i = 1; i <= count; ++i) {
        if (i > 1)
            layers += ",";
        layers += QStringLiteral("{\"id\": %1, \"type\": \"solid\", \"source\": 1, \"name\": \"L%1\"}").arg(i).toUtf8();
    }
    return loadText(R"({"footage": [{"id": 1, "name": "S", "kind": "solid", "width": 100, "height": 100}],
        "compositions": [{"id": 2, "name": "Main", "width": 1920, "height": 1080, "frameRate": 25,
        "duration": 10, "layers": [)" + layers + "]}], \"activeItem\": 2}");
}

} // namespace standin::test
