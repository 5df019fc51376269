// Compositions for the layer-separation tests, and what the tests read back
// from the stand-in's model after a separation.
#pragma once

#include "CompositionPicture.h"
#include "OutlineFixture.h"
#include "ShapeItems.h"

#include "mainwindow/LayerSeparationScan.h"
#include "separation/LayerSeparation.h"
#include "separation/SeparationSupport.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <functional>
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

// The closed path of a regular heptagon about (cx, cy), its first corner
// straight up, wound clockwise on screen or (reversed) the other way.
inline QByteArray heptagon(double cx, double cy, double radius, bool reversed = false)
{
    QByteArray vertices;
    for (int k = 0; k < 7; ++k) {
        const double a = (reversed ? -1 : 1) * 2 * M_PI * k / 7;
        vertices += (k ? ", [" : "[") + QByteArray::number(cx + radius * std::sin(a)) + ", "
                    + QByteArray::number(cy - radius * std::cos(a)) + "]";
    }
    return outline_test::path(true, vertices);
}

// The colour the layers put at (x, y), the first one on top.
inline DrawnArea::Colour pictureAt(const std::vector<DrawnArea>& layers, double x, double y)
{
    DrawnArea::Colour c;
    for (auto l = layers.rbegin(); l != layers.rend(); ++l)
        c = l->colourAt(x, y).over(c);
    return c;
}

// How the window's start would split each layer of the active composition
// (None: not offered), as its scan judges them all together
// (findLayersToSeparate, the start's keyed work shared among them).
inline std::vector<SeparationKind> offeredKinds(SPBasicSuite* basic)
{
    std::vector<int> offered;
    std::vector<SeparationKind> kinds, byLayer;
    EXPECT_EQ(findLayersToSeparate(basic, outline_test::kPluginId, offered, nullptr, kMaxStartWork, &kinds), A_Err_NONE);
    for (size_t i = 0; i < offered.size(); ++i) {
        byLayer.resize(std::max(byLayer.size(), size_t(offered[i]) + 1), SeparationKind::None);
        byLayer[size_t(offered[i])] = kinds[i];
    }
    return byLayer;
}

// Separates layer `layerIndex` as the offer does when the user takes it:
// as the scan judged it (offeredKinds), with both separations. Returns the
// kind it was taken for (None: not offered, left alone).
inline SeparationKind separateAsOffered(const outline_test::Scene& scene, int layerIndex,
                                        const std::vector<SeparationKind>& kinds,
                                        const std::function<void(int)>& byMasks,
                                        const std::function<void(int)>& byShapes)
{
    const SeparationKind kind = size_t(layerIndex) < kinds.size() ? kinds[size_t(layerIndex)] : SeparationKind::None;
    return dispatchSeparation(scene.basic(), outline_test::kPluginId, layerIndex, kind, byMasks, byShapes);
}

// Does with layer `layerIndex` what the offer does when the user takes it
// (separateAsOffered with both separations), and judges the outcome on a
// grid of `step` layer pixels over what the layer drew and a margin (every
// layer made shares its transform): at each of `times` the layers with their
// video on put the colours it put (colourAt), and at time 0 no point lies in
// the bodies of two of them. Returns the kind the layer was taken for (None:
// not offered). With `anyway` the layer is split by masks though it is not
// offered, and the picture is expected to change (why it is not offered).
inline SeparationKind expectSeparationKeepsPictureAndPlaces(outline_test::Scene& scene, int layerIndex,
                                                            double step = 2.0,
                                                            const std::vector<A_Time>& times = {A_Time{0, 1}},
                                                            bool anyway = false)
{
    const standin::Composition& comp = *scene.project->activeComposition();
    std::vector<std::vector<DrawnArea>> before;
    QRectF box;
    for (const A_Time& t : times) {
        before.push_back({DrawnArea(*comp.layer(layerIndex), t)});
        box = box.united(before.back().front().bounds());
    }
    box.adjust(-10, -10, 10, 10);
    // Off the grid of whole pixels, so that no point lies on a drawn edge.
    std::vector<QPointF> points;
    for (double y = box.top() + 0.37; y < box.bottom(); y += step)
        for (double x = box.left() + 0.29; x < box.right(); x += step)
            points.emplace_back(x, y);

    const auto byMasks = [&](int i) { separateLayerMasks(scene.basic(), outline_test::kPluginId, i); };
    const auto byShapes = [&](int i) { separateLayerShapes(scene.basic(), outline_test::kPluginId, i); };
    SeparationKind kind = SeparationKind::None;
    if (anyway)
        byMasks(layerIndex);
    else
        kind = separateAsOffered(scene, layerIndex, offeredKinds(scene.basic()), byMasks, byShapes);

    std::vector<int> shown;
    std::vector<MyBody> bodies;
    for (int i = 0; i < comp.layerCount(); ++i) {
        if (!(comp.layer(i)->flags() & AEGP_LayerFlag_VIDEO_ACTIVE))
            continue;
        shown.push_back(i);
        bodies.push_back(scene.body(i));
    }
    int changed = 0, shared = 0;
    for (size_t f = 0; f < times.size(); ++f) {
        std::vector<DrawnArea> after;
        for (int i : shown)
            after.emplace_back(*comp.layer(i), times[f]);
        for (const QPointF& p : points) {
            const DrawnArea::Colour was = pictureAt(before[f], p.x(), p.y()), is = pictureAt(after, p.x(), p.y());
            changed += std::fabs(was.r - is.r) + std::fabs(was.g - is.g) + std::fabs(was.b - is.b) +
                           std::fabs(was.a - is.a) > 1e-9;
        }
    }
    for (const QPointF& p : points) {
        int covering = 0;
        for (size_t l = 0; l < shown.size(); ++l)
            covering += outline_test::covers(bodies[l], outline_test::hostWorld(scene, shown[l], p.x(), p.y()));
        shared += covering > 1;
    }
    EXPECT_EQ(changed > 0, anyway) << changed << " points of " << points.size() * times.size()
                                   << " drawn otherwise than before";
    EXPECT_EQ(shared, 0) << "points of " << points.size() << " inside two bodies";
    return kind;
}

} // namespace separation_test
