// Layers that a careless or hostile project file can hold: whatever they
// are, nothing that reaches the physics engine is refused by it.
#include "OutlineFixture.h"
#include "ShapeItems.h"

#include <string>

namespace {

using namespace outline_test;

QByteArray maskLayer(const QByteArray& vertices, bool closed = true, const QByteArray& transform = "{}")
{
    return R"({"type": "solid", "source": 1, "transform": )" + transform + R"(, "masks": [{"shape": {"closed": )"
           + (closed ? "true" : "false") + R"(, "vertices": [)" + vertices + "]}}]}";
}

QByteArray hostileLayers()
{
    const QByteArray same = "[5, 5], [5, 5], [5, 5], [5, 5]";
    const QByteArray collinear = "[0, 0], [10, 10], [20, 20], [30, 30]";
    const QByteArray close = "[0, 0], [0.001, 0], [100, 0], [100, 0.001], [100, 100], [0.0005, 100]";
    const QByteArray huge = "[0, 0], [1e7, 0], [1e7, 1e7], [0, 3]";
    const QByteArray tiny = "[0, 0], [0.01, 0], [0.01, 0.01]";
    const QByteArray curls = "[0, 0, 0, 0, 500, 0], [0.2, 0, -500, 0, 0, 0], [0.1, 0.1, 3, 3, -3, -3]";
    QByteArray layers;
    for (const QByteArray& v : {same, collinear, close, huge, tiny, curls})
        for (bool closed : {true, false})
            layers += maskLayer(v, closed) + ",";
    layers += maskLayer(close, true, R"({"scale": [100000, 100000]})") + ",";
    layers += maskLayer(close, true, R"({"scale": [0.001, 100]})") + ",";
    layers += R"({"type": "solid", "source": 1, "transform": {"scale": [1e7, 0.0001]}},)";

    const QByteArray shapes[] = {
        rect(R"("ADBE Vector Rect Size": [0, 0])"),
        rect(R"("ADBE Vector Rect Size": [0.0001, 0.0001])"),
        rect(R"("ADBE Vector Rect Size": [100, 100], "ADBE Vector Rect Roundness": 50)"),
        rect(R"("ADBE Vector Rect Size": [100, 0.001], "ADBE Vector Rect Roundness": 1000)"),
        ellipse(R"("ADBE Vector Ellipse Size": [0, 100])"),
        ellipse(R"("ADBE Vector Ellipse Size": [0.001, 0.001])"),
        star(R"("ADBE Vector Star Points": 1)"),
        star(R"("ADBE Vector Star Points": 2, "ADBE Vector Star Inner Radius": 0)"),
        star(R"("ADBE Vector Star Points": 3, "ADBE Vector Star Outer Radius": 0, "ADBE Vector Star Outer Roundess": 100)"),
        star(R"("ADBE Vector Star Points": 1000000000)"),
        star(R"("ADBE Vector Star Type": 2, "ADBE Vector Star Points": 400, "ADBE Vector Star Outer Radius": 1)"),
        path(true, same),
        path(true, collinear),
        path(true, "[0, 0], [10, 0]"),
        path(false, same),
        path(false, "[0, 0]"),
        path(true, huge),
        path(true, curls),
        group(R"("ADBE Vector Scale": [1e8, 1e8])", rect(R"("ADBE Vector Rect Size": [10, 10])")),
        group(R"("ADBE Vector Scale": [0, 100])", path(true, close)),
    };
    for (const QByteArray& s : shapes) {
        layers += shapeLayer(s) + ",";
        layers += shapeLayer(s + "," + rect(R"("ADBE Vector Rect Size": [10, 10], "ADBE Vector Rect Roundness": 2)"))
                  + ",";
    }
    layers += shapeLayer(rect(R"("ADBE Vector Rect Size": [10, 10])"), R"({"scale": [1e6, 1e-3]})") + ",";

    layers += R"({"type": "text", "text": {"text": "x", "outlines": [{"closed": true, "vertices": [)" + same
              + R"(]}, {"closed": true, "vertices": [)" + collinear + R"(]}, {"closed": false, "vertices": [[1, 1]]}]}},)";
    layers += R"({"type": "text", "text": {"text": "Wg.,;", "font": "DejaVu Sans", "size": 0.05}},)";
    layers += R"({"type": "text", "text": {"text": "Zolvar", "font": "DejaVu Sans", "size": 5000}})";
    return layers;
}

TEST(HostileInput, NothingTheEngineRefuses)
{
    Scene scene(composition(hostileLayers()));
    ASSERT_GT(scene.layerCount(), 50);
    MessageCapture messages;
    int built = 0;
    for (int layer = 0; layer < scene.layerCount(); ++layer)
        for (int precision : {0, 2, 9})
            for (bool hull : {false, true}) {
                SCOPED_TRACE(testing::Message() << "layer " << layer << " precision " << precision << " hull " << hull);
                const MyBody body = scene.body(layer, precision, hull);
                expectEngineAccepts(body);
                ++built;
            }
    EXPECT_EQ(built, scene.layerCount() * 6);
    EXPECT_FALSE(messages.texts().empty());  // some shape layers had nothing to show
    EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
}

TEST(HostileInput, FailingHostCallsLeaveNothingBehind)
{
    Scene scene(composition(hostileLayers()));
    MessageCapture messages;
    const char* suites[] = {"AEGP Dynamic Stream Suite", "AEGP Stream Suite", "AEGP Mask Outline Suite",
                            "AEGP Layer Suite", "PF Path Data Suite", "AEGP Text Layer Suite"};
    for (const char* suite : suites)
        for (int slot : {0, 2, 3, 4, 7, 8, 13, 15, 16, 38})
            for (int nth : {1, 3, 9}) {
                if (std::string(suite) == "AEGP Stream Suite" && slot == 7)
                    continue;  // a refused disposal cannot be helped
                scene.session->faults().clear();
                scene.session->faults().failNth(suite, standin::FaultInjector::kAnyVersion, slot, nth);
                for (int layer : {2, 18, 30, 60, scene.layerCount() - 3})
                    expectEngineAccepts(scene.body(layer, 2, nth == 3));
                ASSERT_TRUE(scene.session->leaks().none()) << suite << " " << slot << ": "
                                                            << scene.session->leaks().describe();
            }
}

}  // namespace
