// Compositions for the layer-separation tests, and what the tests read back
// from the stand-in's model after a separation.
#pragma once

#include "OutlineFixture.h"
#include "ShapeItems.h"

#include "outlines/SeparationSupport.h"

#include <QString>

#include <string>
#include <utility>
#include <vector>

namespace separation_test {

// The messages separation showed while the object lived: text and detail.
class SeparationMessages
{
public:
    SeparationMessages() { previous_ = setSeparationMessageHandler(&record); texts().clear(); }
    ~SeparationMessages() { setSeparationMessageHandler(previous_); }
    static std::vector<std::pair<QString, QString>>& texts()
    {
        static std::vector<std::pair<QString, QString>> all;
        return all;
    }

private:
    static void record(const QString& text, const QString& detail) { texts().emplace_back(text, detail); }
    SeparationMessageHandler previous_ = nullptr;
};

inline QByteArray mask(const char* name, double x, const QByteArray& extra = QByteArray())
{
    QByteArray json = QByteArray(R"({"name": ")") + name + R"(", "shape": {"closed": true, "vertices": [[)"
                      + QByteArray::number(x) + ", 0], [" + QByteArray::number(x + 20) + ", 0], ["
                      + QByteArray::number(x + 20) + ", 20]]}";
    if (!extra.isEmpty())
        json += ", " + extra;
    return json + "}";
}

inline QByteArray solidLayer(const char* name, const QByteArray& masks, const QByteArray& extra = QByteArray())
{
    QByteArray json = QByteArray(R"({"type": "solid", "source": 1, "name": ")") + name + R"(", "masks": [)" + masks
                      + "]";
    if (!extra.isEmpty())
        json += ", " + extra;
    return json + "}";
}

// A group with a name, a transform and contents.
inline QByteArray namedGroup(const char* name, const QByteArray& transform, const QByteArray& contents,
                             const QByteArray& extra = QByteArray())
{
    QByteArray json = QByteArray(R"({"matchName": "ADBE Vector Group", "name": ")") + name + R"(", "transform": {)"
                      + transform + R"(}, "contents": [)" + contents + "]";
    if (!extra.isEmpty())
        json += ", " + extra;
    return json + "}";
}

// The stand-in's layer at `index` of the active composition.
inline standin::Layer* layerAt(const outline_test::Scene& scene, int index)
{
    return scene.project->activeComposition()->layer(index);
}

inline std::vector<QString> layerNames(const outline_test::Scene& scene)
{
    std::vector<QString> names;
    for (const auto& l : scene.project->activeComposition()->layers())
        names.push_back(l->name());
    return names;
}

} // namespace separation_test
