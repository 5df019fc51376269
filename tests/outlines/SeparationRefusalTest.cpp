// The host refusing each call of a separation in turn, every call of every
// host function: whenever the message names a host call, it is the one the
// host refused.
#include "SeparationFixture.h"

#include "separation/LayerSeparation.h"

#include <map>
#include <string>
#include <utility>

namespace {

using namespace separation_test;
using namespace outline_test;

// A solid with three masks, and a shape layer with three groups apart, a
// top-level fill and a path outside the groups (so the source loses groups
// too): both are offered.
QByteArray refusalComposition()
{
    return composition(
        solidLayer("Masks %1", mask("a", 0) + "," + mask("b", 40, R"("flags": 0)") + "," + mask("c", 80)) + "," +
        R"({"type": "shape", "name": "Shapes", "transform": {"position": [500, 250]}, "contents": [)" +
        namedGroup("A", R"("ADBE Vector Position": [-300, 0])", rect("")) + "," + path(true, "[0, 0], [9, 0], [9, 9]") +
        "," + namedGroup("B", R"("ADBE Vector Position": [300, 0])", ellipse("") + "," + fill("[1, 0, 0]")) + "," +
        namedGroup("C", R"("ADBE Vector Position": [700, 0])", star("")) + "," + fill("[0, 1, 0]") + "]}");
}

// Both layers, the last first, as the offer separates them (as judged in
// `kinds`).
void separateBoth(const Scene& scene, const std::vector<SeparationKind>& kinds)
{
    SeparationMessageBatch batch;
    for (int layer : {1, 0})
        separateAsOffered(
            scene, layer, kinds, [&](int i) { separateLayerMasks(scene.basic(), kPluginId, i); },
            [&](int i) { separateLayerShapes(scene.basic(), kPluginId, i); });
}

TEST(SeparationRefusal, EveryMessageNamesTheCallTheHostRefused)
{
    // How often each (suite, slot) is called in a run the host lets through,
    // and the function behind it.
    std::map<std::pair<std::string, int>, std::pair<int, std::string>> calls;
    {
        Scene scene(refusalComposition());
        SeparationMessages messages;
        const std::vector<SeparationKind> kinds = offeredKinds(scene.basic());
        ASSERT_EQ(kinds, (std::vector<SeparationKind>{SeparationKind::Masks, SeparationKind::ShapeGroups}));
        scene.session->log().clear();
        separateBoth(scene, kinds);
        ASSERT_TRUE(messages.texts().empty());
        for (const standin::CallRecord& r : scene.session->log().records()) {
            auto& c = calls[{r.suite, r.slot}];
            ++c.first;
            c.second = r.function;
        }
    }
    ASSERT_GT(calls.size(), 20u);

    int named = 0;
    for (const auto& [key, count] : calls) {
        const int total = count.first;
        for (int nth = 1; nth <= total; ++nth) {
            SCOPED_TRACE(key.first + " slot " + std::to_string(key.second) + " (" + count.second + ") #" +
                         std::to_string(nth));
            Scene scene(refusalComposition());
            SeparationMessages messages;
            const std::vector<SeparationKind> kinds = offeredKinds(scene.basic());
            scene.session->faults().failNth(key.first, standin::FaultInjector::kAnyVersion, key.second, nth);
            separateBoth(scene, kinds);
            std::string refused;
            for (const standin::CallRecord& r : scene.session->log().failures())
                if (r.injected)
                    refused = r.function;
            ASSERT_FALSE(refused.empty());
            for (const auto& [text, detail] : messages.texts()) {
                const QString lead = QStringLiteral("the host call ");
                for (int at = detail.indexOf(lead); at >= 0; at = detail.indexOf(lead, at + 1)) {
                    const int from = at + lead.size();
                    const QString call = detail.mid(from, detail.indexOf(QLatin1Char(' '), from) - from);
                    EXPECT_EQ(call.toStdString(), refused) << detail.toStdString();
                    EXPECT_TRUE(detail.left(at).endsWith(QStringLiteral("(Masks %1): ")) ||
                                detail.left(at).endsWith(QStringLiteral("(Shapes): ")))
                        << detail.toStdString();
                    ++named;
                }
            }
            // A refused give-back leaves its reference with the host, as it must.
            if (refused.find("Dispose") == std::string::npos) {
                EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
            }
        }
    }
    EXPECT_GT(named, 40);
}

} // namespace
