// JSON of shape layers and their items for the stand-in's project files.
#pragma once

#include <QByteArray>

namespace outline_test {

inline QByteArray shapeLayer(const QByteArray& contents,
                             const QByteArray& transform = R"({"position": [500, 250]})")
{
    return R"({"type": "shape", "transform": )" + transform + R"(, "contents": [)" + contents + "]}";
}

inline QByteArray item(const char* matchName, const QByteArray& properties)
{
    return QByteArray(R"({"matchName": ")") + matchName + R"(", "properties": {)" + properties + "}}";
}

inline QByteArray rect(const QByteArray& properties) { return item("ADBE Vector Shape - Rect", properties); }
inline QByteArray ellipse(const QByteArray& properties) { return item("ADBE Vector Shape - Ellipse", properties); }
inline QByteArray star(const QByteArray& properties) { return item("ADBE Vector Shape - Star", properties); }

// vertices: "[x, y], [x, y, inX, inY, outX, outY], ..."
inline QByteArray path(bool closed, const QByteArray& vertices)
{
    return item("ADBE Vector Shape - Group", QByteArray(R"("ADBE Vector Shape": {"closed": )")
                                                 + (closed ? "true" : "false") + R"(, "vertices": [)" + vertices
                                                 + "]}");
}

inline QByteArray fill(const QByteArray& color)
{
    return item("ADBE Vector Graphic - Fill", R"("ADBE Vector Fill Color": )" + color);
}

inline QByteArray stroke(const QByteArray& color)
{
    return item("ADBE Vector Graphic - Stroke", R"("ADBE Vector Stroke Color": )" + color);
}

// transform: the group's "ADBE Vector ..." transform values.
inline QByteArray group(const QByteArray& transform, const QByteArray& contents)
{
    return R"({"matchName": "ADBE Vector Group", "transform": {)" + transform + R"(}, "contents": [)" + contents
           + "]}";
}

}  // namespace outline_test
