// Shape layers of many keyed groups, as the separation offer judges them:
// the layers of separation_bench, which the scan tests also judge at a
// smaller size.
#pragma once

#include <QByteArray>

#include <cmath>

namespace keyed_layers {

// The vertices of `count` points on a circle of `radius` about (cx, cy), as
// a list of [x, y] pairs without its brackets.
inline QByteArray circleVertices(double cx, double radius, int count, double cy = 0.0)
{
    QByteArray vertices;
    for (int k = 0; k < count; ++k) {
        const double angle = 2.0 * M_PI * k / count;
        vertices += (k ? ", [" : "[") + QByteArray::number(cx + radius * std::cos(angle), 'f', 3) + ", " +
                    QByteArray::number(cy + radius * std::sin(angle), 'f', 3) + "]";
    }
    return vertices;
}

// A closed path of `count` points on a circle of `radius`.
inline QByteArray circlePath(double radius, int count)
{
    return R"({"matchName": "ADBE Vector Shape - Group", "properties": {"ADBE Vector Shape": {"closed": true, )"
           R"("vertices": [)" + circleVertices(0.0, radius, count) + "]}}}";
}

inline QByteArray at(double x, double y)
{
    return "[" + QByteArray::number(x) + ", " + QByteArray::number(y) + "]";
}

// A position keyed from `from` at time 0 to `to` at `seconds`.
inline QByteArray keyed(const QByteArray& from, const QByteArray& to, int seconds)
{
    return R"({"keys": [{"time": 0, "value": )" + from + R"(}, {"time": )" + QByteArray::number(seconds) +
           R"(, "value": )" + to + "}]}";
}

// A ring group of `vertices` points (two circles filled even-odd) placed at
// `position` (a value of "ADBE Vector Position", keyed or not).
inline QByteArray ringGroup(double outer, double inner, int vertices, const QByteArray& position)
{
    return R"({"matchName": "ADBE Vector Group", "transform": {"ADBE Vector Position": )" + position +
           R"(}, "contents": [)" + circlePath(outer, vertices / 2) + "," + circlePath(inner, vertices / 2) +
           R"(, {"matchName": "ADBE Vector Graphic - Fill", "properties": {"ADBE Vector Fill Rule": 2}}]})";
}

// A shape layer named `name` holding `groups`.
inline QByteArray shapeLayer(const QByteArray& groups, const char* name = "Rings")
{
    return R"({"type": "shape", "name": ")" + QByteArray(name) + R"(", "contents": [)" + groups + "]}";
}

// A project whose one composition of `duration` seconds at `fps` frames a
// second holds `layers`.
inline QByteArray composition(const QByteArray& layers, int duration = 10, int fps = 25)
{
    return R"({"format": "zolvar-standin-project", "activeItem": "Main",
        "compositions": [{"name": "Main", "width": 1000, "height": 500, "frameRate": )" +
           QByteArray::number(fps) + R"(, "duration": )" + QByteArray::number(duration) + R"(, "layers": [)" + layers +
           "]}]}";
}

// The groups of n rings of `vertices` points each (two circles filled
// even-odd), all about one centre or in a row; none meets another. With
// `keyedFor` seconds, the outermost ring moves half a pixel over them.
inline QByteArray ringGroups(int n, int vertices, bool nested, int keyedFor = 0)
{
    QByteArray groups;
    double x = 0.0;
    for (int i = 0; i < n; ++i) {
        const double outer = 20.0 + 6.0 * i, inner = outer - 3.0;
        const double x0 = nested ? 0.0 : x + outer;
        x += 2.0 * outer + 4.0;
        const QByteArray position = keyedFor > 0 && i == n - 1 ? keyed(at(x0, 0), at(x0 + 0.5, 0), keyedFor) : at(x0, 0);
        groups += (i ? "," : "") + ringGroup(outer, inner, vertices, position);
    }
    return groups;
}

// A small group switched off beside the rings, keyed over `seconds`: what is
// switched off draws nothing, so its keys do not count.
inline QByteArray smallGroupOff(int seconds)
{
    return R"(, {"matchName": "ADBE Vector Group", "flags": 0, "transform": {"ADBE Vector Position": )" +
           keyed(at(0, 0), at(9, 0), seconds) + R"(}, "contents": [{"matchName": "ADBE Vector Shape - Rect"}]})";
}

// Two rings of `vertices` points 300 px apart, both drifting 5 px down over
// `keyedFor` seconds (still when 0).
inline QByteArray ringPair(int vertices, int keyedFor)
{
    const auto position = [&](double x) { return keyedFor ? keyed(at(x, 0), at(x, 5), keyedFor) : at(x, 0); };
    return ringGroup(100, 97, vertices, position(-150)) + "," + ringGroup(100, 97, vertices, position(150));
}

// n circle groups of 32 points and radius 20 on a grid 60 px apart about the
// layer's origin, under one top-level fill; with `seconds`, each drifts
// outward to half as far again from the origin over that time, so they
// part.
inline QByteArray driftingCircles(int n, int seconds)
{
    const int side = int(std::ceil(std::sqrt(double(n))));
    QByteArray groups;
    for (int i = 0; i < n; ++i) {
        const double x = 60.0 * (i % side - (side - 1) / 2.0), y = 60.0 * (i / side - (side - 1) / 2.0);
        const QByteArray position = seconds > 0 ? keyed(at(x, y), at(1.5 * x, 1.5 * y), seconds) : at(x, y);
        groups += R"({"matchName": "ADBE Vector Group", "transform": {"ADBE Vector Position": )" + position +
                  R"(}, "contents": [)" + circlePath(20.0, 32) + "]},";
    }
    return groups + R"({"matchName": "ADBE Vector Graphic - Fill"})";
}

// n ten-point star groups (radii 30 and 15 px) on a grid `apart` px apart
// about the layer's origin, under one top-level fill; with `seconds`, star i
// drifts `drift` px over that time, each its own way (i turns of the golden
// angle), so that some come to meet.
inline QByteArray driftingStars(int n, int seconds, double apart = 70.0, double drift = 20.0)
{
    const int side = int(std::ceil(std::sqrt(double(n))));
    QByteArray groups;
    for (int i = 0; i < n; ++i) {
        const double x = apart * (i % side - (side - 1) / 2.0), y = apart * (i / side - (side - 1) / 2.0);
        const double way = i * M_PI * (3.0 - std::sqrt(5.0));
        const QByteArray position =
            seconds > 0 ? keyed(at(x, y), at(x + drift * std::cos(way), y + drift * std::sin(way)), seconds) : at(x, y);
        groups += R"({"matchName": "ADBE Vector Group", "transform": {"ADBE Vector Position": )" + position +
                  R"(}, "contents": [{"matchName": "ADBE Vector Shape - Star", "properties": {)"
                  R"("ADBE Vector Star Points": 10, "ADBE Vector Star Outer Radius": 30, )"
                  R"("ADBE Vector Star Inner Radius": 15}}]},)";
    }
    return groups + R"({"matchName": "ADBE Vector Graphic - Fill"})";
}

// n gear groups of `points` points (44 and 34 px from their centre in
// turn) on a grid `apart` px apart, under one top-level fill; with
// `seconds`, each turns once about its centre over that time (`andBack`:
// round and back again). With a width `w`, a top-level stroke that wide too.
inline QByteArray turningGears(int n, int points, int seconds, double apart = 110.0, bool andBack = false, double w = 0)
{
    const int side = int(std::ceil(std::sqrt(double(n))));
    QByteArray groups;
    for (int i = 0; i < n; ++i) {
        QByteArray vertices;
        for (int k = 0; k < points; ++k) {
            const double angle = 2.0 * M_PI * k / points, radius = k % 2 ? 34.0 : 44.0;
            vertices += (k ? ", " : "") + at(radius * std::cos(angle), radius * std::sin(angle));
        }
        const QByteArray turn = seconds <= 0 ? QByteArray("0")
                                : andBack   ? QByteArray(keyed("0", "360", seconds / 2)).replace("]}", R"(, {"time": )" +
                                                  QByteArray::number(seconds) + R"(, "value": 0}]})")
                                            : keyed("0", "360", seconds);
        groups += R"({"matchName": "ADBE Vector Group", "transform": {"ADBE Vector Position": )" +
                  at(apart * (i % side), apart * (i / side)) + R"(, "ADBE Vector Rotation": )" + turn +
                  R"(}, "contents": [{"matchName": "ADBE Vector Shape - Group", "properties": {"ADBE Vector Shape": )"
                  R"({"closed": true, "vertices": [)" + vertices + "]}}}]},";
    }
    const QByteArray stroke = R"(, {"matchName": "ADBE Vector Graphic - Stroke", "properties": {)"
                              R"("ADBE Vector Stroke Width": )" + QByteArray::number(w) + "}}";
    return groups + R"({"matchName": "ADBE Vector Graphic - Fill"})" + (w > 0.0 ? stroke : QByteArray());
}

// `groups` (ending in a top-level fill, as the makers above give them) with
// a top-level stroke of `width` px after the fill.
inline QByteArray stroked(const QByteArray& groups, double width)
{
    return groups + R"(, {"matchName": "ADBE Vector Graphic - Stroke", "properties": {"ADBE Vector Stroke Width": )" +
           QByteArray::number(width) + "}}";
}

// n blob groups of 16 curved vertices (42 and 36 px from their centre in
// turn, their tangents along the circle) on a grid 110 px apart, under one
// top-level fill, each turning round and back over `seconds` (still when 0).
inline QByteArray turningBlobs(int n, int seconds)
{
    const int side = int(std::ceil(std::sqrt(double(n))));
    QByteArray vertices;
    for (int k = 0; k < 16; ++k) {
        const double angle = 2.0 * M_PI * k / 16, radius = k % 2 ? 36.0 : 42.0, t = 0.13 * radius;
        const double x = radius * std::cos(angle), y = radius * std::sin(angle);
        const double tx = -t * std::sin(angle), ty = t * std::cos(angle);
        vertices += (k ? ", [" : "[") + QByteArray::number(x) + ", " + QByteArray::number(y) + ", " +
                    QByteArray::number(-tx) + ", " + QByteArray::number(-ty) + ", " + QByteArray::number(tx) + ", " +
                    QByteArray::number(ty) + "]";
    }
    const QByteArray turn = seconds <= 0 ? QByteArray("0")
                                         : R"({"keys": [[0, 0], [)" + QByteArray::number(seconds / 2.0) + R"(, 360], [)" +
                                               QByteArray::number(seconds) + ", 0]]}";
    QByteArray groups;
    for (int i = 0; i < n; ++i)
        groups += R"({"matchName": "ADBE Vector Group", "transform": {"ADBE Vector Position": )" +
                  at(110.0 * (i % side), 110.0 * (i / side)) + R"(, "ADBE Vector Rotation": )" + turn +
                  R"(}, "contents": [{"matchName": "ADBE Vector Shape - Group", "properties": {"ADBE Vector Shape": )"
                  R"({"closed": true, "vertices": [)" + vertices + "]}}}]},";
    return groups + R"({"matchName": "ADBE Vector Graphic - Fill"})";
}

// Two comb groups of `teeth` teeth each, slanted alike, their teeth in turn
// 16 px apart, under one top-level fill: one comb's spine is at the top, the
// other's at the bottom, and with `seconds` the top one slides 32 px along
// the teeth over that time, so that its pieces are compared with the
// other's at every frame.
inline QByteArray slidingCombs(int teeth, int seconds)
{
    QByteArray bottom = at(-10, -10), top = at(40.0 * teeth + 50, 110);
    for (int t = 0; t < teeth; ++t) {
        const double x = 40.0 * t, u = 40.0 * (teeth - 1 - t) + 20.0;
        bottom += ", " + at(x, 0) + ", " + at(x + 36, 90) + ", " + at(x + 40, 90) + ", " + at(x + 4, 0);
        top += ", " + at(u + 44, 100) + ", " + at(u + 8, 10) + ", " + at(u + 4, 10) + ", " + at(u + 40, 100);
    }
    bottom += ", " + at(40.0 * teeth + 10, -10);
    top += ", " + at(10, 110);
    const auto comb = [](const QByteArray& position, const QByteArray& vertices) {
        return R"({"matchName": "ADBE Vector Group", "transform": {"ADBE Vector Position": )" + position +
               R"(}, "contents": [{"matchName": "ADBE Vector Shape - Group", "properties": {"ADBE Vector Shape": )"
               R"({"closed": true, "vertices": [)" + vertices + "]}}}]},";
    };
    return comb(at(0, 0), bottom) + comb(seconds > 0 ? keyed(at(0, 0), at(12, 30), seconds) : at(0, 0), top) +
           R"({"matchName": "ADBE Vector Graphic - Fill"})";
}

// A ring group of `vertices` points, radius 100, turning half round and
// growing to 120 % over `seconds` (still when 0), and a 100 px square group
// whose nearest corner lies on the diagonal, 146 px beyond the most it
// reaches.
inline QByteArray turningRingBesideSquare(int vertices, int seconds)
{
    const QByteArray ring = ringGroup(100, 97, vertices, at(0, 0));
    const QByteArray moves = seconds > 0 ? R"("ADBE Vector Rotation": )" + keyed("0", "180", seconds) +
                                               R"(, "ADBE Vector Scale": )" + keyed(at(100, 100), at(120, 120), seconds)
                                         : QByteArray(R"("ADBE Vector Rotation": 0)");
    return QByteArray(ring).replace(R"("transform": {)", R"("transform": {)" + moves + ", ") +
           R"(, {"matchName": "ADBE Vector Group", "contents": [{"matchName": "ADBE Vector Shape - Rect", )"
           R"("properties": {"ADBE Vector Rect Size": [100, 100], "ADBE Vector Rect Position": [238.2, 238.2]}}]})";
}

// A still star path of `points` points (200 and 160 px from its centre in
// turn) filled by `rule` (1 non-zero, 2 even-odd) in its own group, and a
// 100 px square group 100 px beyond its tips: simple, and apart.
inline QByteArray starBesideSquare(int points, int rule)
{
    QByteArray vertices;
    for (int k = 0; k < points; ++k) {
        const double angle = 2.0 * M_PI * k / points, radius = k % 2 ? 160.0 : 200.0;
        vertices += (k ? ", [" : "[") + QByteArray::number(radius * std::cos(angle), 'f', 4) + ", " +
                    QByteArray::number(radius * std::sin(angle), 'f', 4) + "]";
    }
    return R"({"matchName": "ADBE Vector Group", "contents": [{"matchName": "ADBE Vector Shape - Group", )"
           R"("properties": {"ADBE Vector Shape": {"closed": true, "vertices": [)" + vertices + R"(]}}}, )"
           R"({"matchName": "ADBE Vector Graphic - Fill", "properties": {"ADBE Vector Fill Rule": )" +
           QByteArray::number(rule) + R"(}}]}, {"matchName": "ADBE Vector Group", "contents": [)"
           R"({"matchName": "ADBE Vector Shape - Rect", "properties": {"ADBE Vector Rect Size": [100, 100], )"
           R"("ADBE Vector Rect Position": [350, 0]}}, {"matchName": "ADBE Vector Graphic - Fill"}]})";
}

} // namespace keyed_layers
