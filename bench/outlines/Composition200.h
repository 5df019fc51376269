// The composition of the outline benchmarks: 200 layers of every kind of
// outline (masked solids, shape layers, text, plain solids), a few thousand
// vertices in all.
#pragma once

#include "tests/outlines/ShapeItems.h"

#include <QByteArray>
#include <QString>

#include <cmath>

namespace bench {

using namespace outline_test;

inline QByteArray circleVertices(double cx, double cy, double r, int n, bool curved)
{
    QByteArray v;
    const double k = curved ? 0.5522848 * r * 4.0 / n : 0.0;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * i / n;
        const double x = cx + r * std::cos(a), y = cy + r * std::sin(a);
        const double tx = -std::sin(a) * k, ty = std::cos(a) * k;
        v += (i ? ", " : "")
             + QStringLiteral("[%1, %2, %3, %4, %5, %6]").arg(x).arg(y).arg(-tx).arg(-ty).arg(tx).arg(ty).toUtf8();
    }
    return v;
}

// 200 layers: masked solids (curved, polygonal, several masks), shape layers
// (rectangles, rounded rectangles, ellipses, stars, paths in groups), text
// layers and plain solids, a few thousand vertices in all.
inline QByteArray composition200()
{
    QByteArray layers;
    for (int i = 0; i < 200; ++i) {
        const QByteArray position = QStringLiteral(R"({"position": [%1, %2], "rotation": %3})")
                                        .arg(100 + 40 * (i % 40)).arg(100 + 150 * (i / 40)).arg(i % 7 * 10)
                                        .toUtf8();
        QByteArray layer;
        switch (i % 5) {
        case 0:
            layer = R"({"type": "solid", "source": 1, "transform": )" + position
                    + R"(, "masks": [{"shape": {"closed": true, "vertices": [)"
                    + circleVertices(100, 50, 40, 8, true) + R"(]}}, {"shape": {"closed": true, "vertices": [)"
                    + circleVertices(60, 60, 20, 12, false) + "]}}]}";
            break;
        case 1: {
            const QByteArray contents =
                rect(R"("ADBE Vector Rect Size": [80, 40], "ADBE Vector Rect Roundness": 8)") + ","
                + ellipse(R"("ADBE Vector Ellipse Size": [60, 30], "ADBE Vector Ellipse Position": [0, 40])") + ","
                + fill("[0.2, 0.5, 0.9]");
            layer = shapeLayer(group(R"("ADBE Vector Scale": [120, 80], "ADBE Vector Rotation": 15)", contents),
                               position);
            break;
        }
        case 2: {
            const QByteArray contents =
                star(R"("ADBE Vector Star Points": 6, "ADBE Vector Star Outer Roundess": 30)") + ","
                + path(true, circleVertices(0, 0, 50, 10, true));
            layer = shapeLayer(contents, position);
            break;
        }
        case 3:
            layer = R"({"type": "text", "transform": )" + position
                    + R"(, "text": {"text": "Zolvar", "font": "DejaVu Sans", "size": 40}})";
            break;
        default:
            layer = R"({"type": "solid", "source": 1, "transform": )" + position + "}";
            break;
        }
        layers += (i ? "," : "") + layer;
    }
    return R"({"format": "zolvar-standin-project",
               "footage": [{"id": 1, "name": "Solid", "kind": "solid", "width": 200, "height": 100, "color": [1, 0, 0]}],
               "compositions": [{"id": 100, "name": "Main", "width": 1920, "height": 1080, "frameRate": 25,
                                 "duration": 10, "layers": [)"
           + layers + R"(]}], "activeItem": "Main"})";
}

} // namespace bench
