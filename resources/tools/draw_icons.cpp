// Draws every image of the program's resources with QPainter and writes them
// as PNG files, together with the resource list images.qrc that ships them.
//
//     zolvar_draw_icons <resources folder>
//
// Built on request only (target zolvar_draw_icons; target zolvar_icons runs
// it on the source tree). The PNGs it writes are kept in the repository.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QSaveFile>
#include <QStringList>
#include <QTextStream>

#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Inks: the colours one variant of an icon is drawn with.
// ---------------------------------------------------------------------------

struct Ink
{
    QColor main;    // strokes and fills
    QColor accent;  // the detail that lights up on hover
    QColor field;   // the inside of boxes (check boxes, radio buttons)
};

const Ink kNormal{QColor(172, 172, 172), QColor(172, 172, 172), QColor(52, 52, 52)};
const Ink kHover{QColor(236, 236, 236), QColor(118, 178, 255), QColor(60, 60, 60)};
const Ink kLight{QColor(216, 216, 216), QColor(216, 216, 216), QColor(110, 110, 110)};
const Ink kDisabled{QColor(86, 86, 86), QColor(86, 86, 86), QColor(44, 44, 44)};
const Ink kWhite{QColor(80, 80, 80), QColor(80, 80, 80), QColor(255, 255, 255)};
const Ink kHoverWhite{QColor(28, 28, 28), QColor(24, 106, 214), QColor(255, 255, 255)};
const Ink kDisabledWhite{QColor(196, 196, 196), QColor(196, 196, 196), QColor(246, 246, 246)};

struct Variant
{
    const char* state;  // "", "_hover", "_disabled"
    const char* theme;  // "", "_light", "_white"
    const Ink* ink;
};

const std::vector<Variant> kButton{
    {"", "", &kNormal}, {"_hover", "", &kHover}, {"", "_white", &kWhite},
    {"_hover", "_white", &kHoverWhite}};
const std::vector<Variant> kButtonWithLight{
    {"", "", &kNormal}, {"_hover", "", &kHover}, {"", "_light", &kLight},
    {"", "_white", &kWhite}, {"_hover", "_white", &kHoverWhite}};
const std::vector<Variant> kStates{
    {"", "", &kNormal}, {"_hover", "", &kHover}, {"_disabled", "", &kDisabled},
    {"", "_white", &kWhite}, {"_hover", "_white", &kHoverWhite},
    {"_disabled", "_white", &kDisabledWhite}};
const std::vector<Variant> kThemes3{{"", "", &kNormal}, {"", "_light", &kLight}, {"", "_white", &kWhite}};
const std::vector<Variant> kThemes2{{"", "", &kNormal}, {"", "_white", &kWhite}};
const std::vector<Variant> kPlainOnly{{"", "", &kNormal}};
const std::vector<Variant> kPlainAndDisabled{
    {"", "", &kNormal}, {"_disabled", "", &kDisabled}, {"", "_white", &kWhite},
    {"_disabled", "_white", &kDisabledWhite}};

// ---------------------------------------------------------------------------
// Drawing helpers. Icons are drawn in a 24 × 24 design square that is scaled
// into the centre of the image.
// ---------------------------------------------------------------------------

using Draw = std::function<void(QPainter&, const Ink&)>;

QPen pen(const QColor& c, double w = 2.0)
{
    QPen p(c, w);
    p.setCapStyle(Qt::RoundCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

void stroke(QPainter& p, const QColor& c, double w = 2.0)
{
    p.setPen(pen(c, w));
    p.setBrush(Qt::NoBrush);
}

void fill(QPainter& p, const QColor& c)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
}

QPolygonF poly(std::initializer_list<QPointF> pts)
{
    return QPolygonF(QVector<QPointF>(pts));
}

void plusSign(QPainter& p, const QColor& c, QPointF at, double r)
{
    stroke(p, c, 2.0);
    p.drawLine(QPointF(at.x() - r, at.y()), QPointF(at.x() + r, at.y()));
    p.drawLine(QPointF(at.x(), at.y() - r), QPointF(at.x(), at.y() + r));
}

void minusSign(QPainter& p, const QColor& c, QPointF at, double r)
{
    stroke(p, c, 2.0);
    p.drawLine(QPointF(at.x() - r, at.y()), QPointF(at.x() + r, at.y()));
}

// A circular arrow around (cx, cy), open at the top right, its head at the end.
void circularArrow(QPainter& p, const QColor& c, double cx, double cy, double r, double w)
{
    stroke(p, c, w);
    const QRectF box(cx - r, cy - r, 2 * r, 2 * r);
    p.drawArc(box, 60 * 16, 270 * 16);
    const double a = (60.0) * M_PI / 180.0;
    const QPointF end(cx + r * std::cos(a), cy - r * std::sin(a));
    fill(p, c);
    const double h = w * 1.9;
    p.drawPolygon(poly({end + QPointF(-h, -h * 0.9), end + QPointF(h * 1.1, -h * 0.2),
                        end + QPointF(-h * 0.2, h * 1.2)}));
}

// ---------------------------------------------------------------------------
// Glyphs
// ---------------------------------------------------------------------------

void toolSelection(QPainter& p, const Ink& k)
{
    fill(p, k.main);
    p.drawPolygon(poly({{7, 3}, {7, 19}, {11, 15.5}, {13.8, 21}, {16.4, 19.8}, {13.7, 14.4},
                        {18.5, 14}}));
    if (k.accent != k.main) {
        fill(p, k.accent);
        p.drawPolygon(poly({{8.6, 7}, {8.6, 15.4}, {11.2, 13.1}, {15, 12.8}}));
    }
}

void toolHand(QPainter& p, const Ink& k)
{
    fill(p, k.main);
    const double fingers[4][3] = {{6.6, 6.5, 11}, {9.6, 4, 13}, {12.6, 4.5, 12.5}, {15.6, 6.5, 10.5}};
    for (const auto& f : fingers)
        p.drawRoundedRect(QRectF(f[0], f[1], 2.6, f[2]), 1.3, 1.3);
    p.drawRoundedRect(QRectF(6.6, 11, 11.6, 9.5), 3.5, 3.5);
    QPainterPath thumb;
    thumb.moveTo(6.8, 14);
    thumb.lineTo(3.6, 11.2);
    thumb.lineTo(2.6, 12.6);
    thumb.lineTo(6.8, 18.5);
    p.setPen(pen(k.main, 2.2));
    p.drawPath(thumb);
    if (k.accent != k.main) {
        stroke(p, k.accent, 1.2);
        p.drawLine(QPointF(9, 15.5), QPointF(16, 15.5));
    }
}

void toolAnchor(QPainter& p, const Ink& k)
{
    stroke(p, k.main, 2.0);
    p.drawEllipse(QPointF(12, 12), 5.5, 5.5);
    p.drawLine(QPointF(12, 2), QPointF(12, 6.5));
    p.drawLine(QPointF(12, 17.5), QPointF(12, 22));
    p.drawLine(QPointF(2, 12), QPointF(6.5, 12));
    p.drawLine(QPointF(17.5, 12), QPointF(22, 12));
    fill(p, k.accent);
    p.drawEllipse(QPointF(12, 12), 2, 2);
}

void toolGravity(QPainter& p, const Ink& k)
{
    fill(p, k.main);
    p.drawEllipse(QPointF(12, 7), 4.5, 4.5);
    stroke(p, k.accent, 2.0);
    p.drawLine(QPointF(12, 13), QPointF(12, 20));
    p.drawLine(QPointF(8.5, 16.8), QPointF(12, 20.3));
    p.drawLine(QPointF(15.5, 16.8), QPointF(12, 20.3));
    stroke(p, k.main, 1.6);
    p.drawLine(QPointF(4, 22), QPointF(20, 22));
}

void toolVelocity(QPainter& p, const Ink& k)
{
    fill(p, k.main);
    p.drawEllipse(QPointF(8, 16), 4.5, 4.5);
    stroke(p, k.accent, 2.0);
    p.drawLine(QPointF(11.5, 12.5), QPointF(20, 4));
    p.drawLine(QPointF(14.5, 4), QPointF(20.2, 3.8));
    p.drawLine(QPointF(20.2, 3.8), QPointF(20, 9.5));
}

void snapshotFrame(QPainter& p, const Ink& k)
{
    stroke(p, k.main, 2.0);
    p.drawRoundedRect(QRectF(2.5, 5.5, 15, 12), 2, 2);
    fill(p, k.main);
    p.drawEllipse(QPointF(10, 11.5), 2.8, 2.8);
}

void presetAdd(QPainter& p, const Ink& k)
{
    snapshotFrame(p, k);
    plusSign(p, k.accent, QPointF(19.5, 5.5), 3.5);
}

void presetRemove(QPainter& p, const Ink& k)
{
    snapshotFrame(p, k);
    minusSign(p, k.accent, QPointF(19.5, 5.5), 3.5);
}

void magnifier(QPainter& p, const Ink& k)
{
    stroke(p, k.main, 2.2);
    p.drawEllipse(QPointF(10, 10), 6.5, 6.5);
    p.setPen(pen(k.main, 3.2));
    p.drawLine(QPointF(15, 15), QPointF(21, 21));
}

void zoomIn(QPainter& p, const Ink& k)
{
    magnifier(p, k);
    plusSign(p, k.accent, QPointF(10, 10), 3.2);
}

void zoomOut(QPainter& p, const Ink& k)
{
    magnifier(p, k);
    minusSign(p, k.accent, QPointF(10, 10), 3.2);
}

void zoomFit(QPainter& p, const Ink& k)
{
    stroke(p, k.main, 2.2);
    const double a = 3, b = 21, l = 6;
    p.drawPolyline(poly({{a, a + l}, {a, a}, {a + l, a}}));
    p.drawPolyline(poly({{b - l, a}, {b, a}, {b, a + l}}));
    p.drawPolyline(poly({{b, b - l}, {b, b}, {b - l, b}}));
    p.drawPolyline(poly({{a + l, b}, {a, b}, {a, b - l}}));
    fill(p, k.accent);
    p.drawRect(QRectF(8.5, 8.5, 7, 7));
}

void viewEye(QPainter& p, const Ink& k)
{
    QPainterPath eye;
    eye.moveTo(2, 12);
    eye.quadTo(12, 2, 22, 12);
    eye.quadTo(12, 22, 2, 12);
    stroke(p, k.main, 2.0);
    p.drawPath(eye);
    fill(p, k.accent);
    p.drawEllipse(QPointF(12, 12), 3.4, 3.4);
}

void viewButton(QPainter& p, const Ink& k)
{
    p.save();
    p.translate(-3, 0);
    viewEye(p, k);
    p.restore();
    fill(p, k.main);
    p.drawPolygon(poly({{21, 10.5}, {26, 10.5}, {23.5, 13.5}}));
}

void cmdFirstFrame(QPainter& p, const Ink& k)
{
    fill(p, k.main);
    p.drawRect(QRectF(5, 5, 3, 14));
    p.setBrush(k.accent);
    p.drawPolygon(poly({{19, 5}, {19, 19}, {9, 12}}));
}

void cmdPlay(QPainter& p, const Ink& k)
{
    fill(p, k.accent);
    p.drawPolygon(poly({{7, 4}, {7, 20}, {19.5, 12}}));
}

void cmdNextFrame(QPainter& p, const Ink& k)
{
    fill(p, k.accent);
    p.drawPolygon(poly({{5, 5}, {5, 19}, {15, 12}}));
    p.setBrush(k.main);
    p.drawRect(QRectF(16, 5, 3, 14));
}

void cmdRepeat(QPainter& p, const Ink& k)
{
    stroke(p, k.main, 2.2);
    QPainterPath loop;
    loop.moveTo(6, 14);
    loop.lineTo(6, 9);
    loop.quadTo(6, 7, 8, 7);
    loop.lineTo(17, 7);
    p.drawPath(loop);
    QPainterPath back;
    back.moveTo(18, 10);
    back.lineTo(18, 15);
    back.quadTo(18, 17, 16, 17);
    back.lineTo(7, 17);
    p.drawPath(back);
    fill(p, k.accent);
    p.drawPolygon(poly({{16, 3.5}, {21, 7}, {16, 10.5}}));
    p.drawPolygon(poly({{8, 13.5}, {3, 17}, {8, 20.5}}));
}

// Joint glyphs, drawn left of x = 16 when a plus sign shares the square.
void jointDistance(QPainter& p, const Ink& k)
{
    stroke(p, k.main, 2.0);
    p.drawLine(QPointF(5, 17), QPointF(15, 7));
    fill(p, k.main);
    p.drawEllipse(QPointF(5, 17), 3.2, 3.2);
    p.drawEllipse(QPointF(15, 7), 3.2, 3.2);
}

void jointRevolute(QPainter& p, const Ink& k)
{
    stroke(p, k.main, 3.0);
    p.drawLine(QPointF(3, 17), QPointF(10, 11));
    p.drawLine(QPointF(10, 11), QPointF(17, 15));
    p.setPen(pen(k.main, 1.8));
    p.setBrush(k.main);
    p.drawEllipse(QPointF(10, 11), 3.6, 3.6);
    fill(p, k.field);
    p.drawEllipse(QPointF(10, 11), 1.4, 1.4);
}

void jointPrismatic(QPainter& p, const Ink& k)
{
    stroke(p, k.main, 1.6);
    p.drawLine(QPointF(2, 19), QPointF(17, 4));
    p.save();
    p.translate(9.5, 11.5);
    p.rotate(-45);
    fill(p, k.main);
    p.drawRoundedRect(QRectF(-4, -3, 8, 6), 1, 1);
    p.restore();
}

void jointSpring(QPainter& p, const Ink& k)
{
    stroke(p, k.main, 1.6);
    p.drawPolyline(poly({{3, 12}, {5, 12}, {6.5, 7}, {8.5, 17}, {10.5, 7}, {12.5, 17}, {14, 12}, {17, 12}}));
    fill(p, k.main);
    p.drawEllipse(QPointF(3, 12), 2.2, 2.2);
    p.drawEllipse(QPointF(17, 12), 2.2, 2.2);
}

Draw withPlus(void (*glyph)(QPainter&, const Ink&))
{
    return [glyph](QPainter& p, const Ink& k) {
        p.save();
        p.translate(-1, 1);
        glyph(p, k);
        p.restore();
        plusSign(p, k.accent, QPointF(19.5, 4.5), 3.3);
    };
}

void jointRemove(QPainter& p, const Ink& k)
{
    stroke(p, k.main, 2.0);
    p.drawLine(QPointF(3, 18), QPointF(7.5, 13.5));
    p.drawLine(QPointF(11.5, 9.5), QPointF(16, 5));
    fill(p, k.main);
    p.drawEllipse(QPointF(3, 18), 2.6, 2.6);
    p.drawEllipse(QPointF(16, 5), 2.6, 2.6);
    stroke(p, k.accent, 2.2);
    p.drawLine(QPointF(14, 14), QPointF(21, 21));
    p.drawLine(QPointF(21, 14), QPointF(14, 21));
}

void reset(QPainter& p, const Ink& k)
{
    // A counter-clockwise arrow, thick enough to read at 12 px.
    circularArrow(p, k.main, 12, 13, 7.5, 3.4);
}

void bodyLabel(QPainter& p, const Ink& k)
{
    fill(p, k.main);
    p.drawPolygon(poly({{3, 6}, {15, 6}, {21, 12}, {15, 18}, {3, 18}}));
    // Punch the tag's hole through to transparency.
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.drawEllipse(QPointF(15, 12), 1.8, 1.8);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void bodyGroup(QPainter& p, const Ink& k)
{
    stroke(p, k.main, 2.0);
    p.drawRoundedRect(QRectF(3, 3, 11, 11), 2, 2);
    fill(p, k.main);
    p.drawRoundedRect(QRectF(10, 10, 11, 11), 2, 2);
}

void bodyColor(QPainter& p, const Ink& k)
{
    QPainterPath drop;
    drop.moveTo(12, 2.5);
    drop.cubicTo(12, 2.5, 5, 11, 5, 15);
    drop.cubicTo(5, 19, 8.2, 21.5, 12, 21.5);
    drop.cubicTo(15.8, 21.5, 19, 19, 19, 15);
    drop.cubicTo(19, 11, 12, 2.5, 12, 2.5);
    fill(p, k.main);
    p.drawPath(drop);
}

void checkBox(QPainter& p, const Ink& k, bool checked)
{
    p.setPen(pen(k.main, 1.8));
    p.setBrush(k.field);
    p.drawRoundedRect(QRectF(2, 2, 20, 20), 3, 3);
    if (checked) {
        stroke(p, k.accent == k.main ? k.main : k.accent, 3.4);
        p.drawPolyline(poly({{6.5, 12.5}, {10.5, 16.5}, {17.5, 7.5}}));
    }
}

void radioButton(QPainter& p, const Ink& k, bool checked)
{
    p.setPen(pen(k.main, 1.8));
    p.setBrush(k.field);
    p.drawEllipse(QPointF(12, 12), 10, 10);
    if (checked) {
        fill(p, k.accent == k.main ? k.main : k.accent);
        p.drawEllipse(QPointF(12, 12), 5, 5);
    }
}

void eyeball(QPainter& p, const Ink& k, bool open)
{
    if (open) {
        viewEye(p, k);
        return;
    }
    QPainterPath lid;
    lid.moveTo(3, 11);
    lid.quadTo(12, 18, 21, 11);
    stroke(p, k.main, 1.8);
    p.drawPath(lid);
    p.drawLine(QPointF(6.5, 14), QPointF(5, 17));
    p.drawLine(QPointF(12, 15.5), QPointF(12, 19));
    p.drawLine(QPointF(17.5, 14), QPointF(19, 17));
}

void triangle(QPainter& p, const Ink& k, double angle)
{
    p.save();
    p.translate(12, 12);
    p.rotate(angle);
    fill(p, k.main);
    p.drawPolygon(poly({{-8, -4}, {8, -4}, {0, 5}}));
    p.restore();
}

void sliderHandle(QPainter& p, const Ink& k)
{
    p.setPen(pen(k.field.darker(130), 1.5));
    p.setBrush(k.accent == k.main ? k.main : k.accent);
    p.drawEllipse(QPointF(12, 12), 10, 10);
}

void dots(QPainter& p, const Ink& k, const std::vector<QPointF>& at)
{
    fill(p, k.main);
    for (const QPointF& d : at)
        p.drawEllipse(d, 1.8, 1.8);
}

void closeCross(QPainter& p, const Ink& k)
{
    stroke(p, k.main, 3.0);
    p.drawLine(QPointF(5, 5), QPointF(19, 19));
    p.drawLine(QPointF(19, 5), QPointF(5, 19));
}

void menuCheck(QPainter& p, const Ink& k)
{
    stroke(p, k.main, 3.4);
    p.drawPolyline(poly({{4, 12.5}, {9.5, 18}, {20, 6}}));
}

void alert(QPainter& p, const Ink& k)
{
    const bool onWhite = k.field == QColor(255, 255, 255);
    p.setPen(onWhite ? pen(QColor(150, 96, 0), 1.2) : Qt::NoPen);
    p.setBrush(QColor(242, 172, 36));
    QPainterPath t;
    t.moveTo(12, 1.5);
    t.lineTo(23, 21.5);
    t.lineTo(1, 21.5);
    t.closeSubpath();
    p.drawPath(t);
    fill(p, QColor(38, 38, 38));
    p.drawRoundedRect(QRectF(10.7, 7, 2.6, 8.5), 1.2, 1.2);
    p.drawEllipse(QPointF(12, 18.3), 1.5, 1.5);
}

// The about box's mark: a ball resting on a tipped box on the ground, with
// the arc the ball came along. Drawn in its own 125 × 74 space.
void logo(QPainter& p, const QColor& c)
{
    stroke(p, c, 3.0);
    p.drawLine(QPointF(14, 64), QPointF(111, 64));
    p.save();
    p.translate(70, 52);
    p.rotate(-14);
    fill(p, c);
    p.drawRoundedRect(QRectF(-13, -13, 26, 26), 3, 3);
    p.restore();
    fill(p, c);
    p.drawEllipse(QPointF(64, 25), 10, 10);
    QPen dashed = pen(c, 2.4);
    dashed.setStyle(Qt::DashLine);
    p.setPen(dashed);
    p.setBrush(Qt::NoBrush);
    QPainterPath arc;
    arc.moveTo(18, 50);
    arc.quadTo(30, 6, 52, 20);
    p.drawPath(arc);
}

// ---------------------------------------------------------------------------
// The catalogue
// ---------------------------------------------------------------------------

struct Image
{
    QString base;   // name up to the state suffix
    QString tail;   // text between the state and the theme suffix
    QSize size;
    std::vector<Variant> variants;
    Draw draw;
    bool designSquare = true;  // false: draw in pixel space
};

std::vector<Image> catalogue()
{
    std::vector<Image> all;
    auto add = [&](const char* base, QSize size, const std::vector<Variant>& v, Draw d,
                   const char* tail = "") {
        all.push_back(Image{base, tail, size, v, std::move(d)});
    };

    add("tool_selection", {24, 20}, kButton, toolSelection);
    add("tool_hand", {24, 20}, kButton, toolHand);
    add("tool_anchor", {24, 20}, kButton, toolAnchor);
    add("tool_gravity", {24, 20}, kButton, toolGravity);
    add("tool_velocity", {24, 20}, kButton, toolVelocity);
    add("preset_add", {22, 18}, kButton, presetAdd);
    add("preset_remove", {22, 18}, kButton, presetRemove);
    add("zoom_in", {20, 17}, kButton, zoomIn);
    add("zoom_out", {20, 17}, kButton, zoomOut);
    add("zoom_fit", {20, 17}, kButton, zoomFit);
    add("view", {30, 17}, kThemes2, viewButton);
    add("cmd_first_frame", {32, 26}, kButton, cmdFirstFrame);
    add("cmd_play", {32, 26}, kButton, cmdPlay);
    add("cmd_next_frame", {32, 26}, kButton, cmdNextFrame);
    add("cmd_repeat", {32, 26}, kButton, cmdRepeat);
    add("joint_distance_add", {24, 20}, kButtonWithLight, withPlus(jointDistance));
    add("joint_revolute_add", {24, 20}, kButtonWithLight, withPlus(jointRevolute));
    add("joint_prismatic_add", {24, 20}, kButtonWithLight, withPlus(jointPrismatic));
    add("joint_spring_add", {24, 20}, kButtonWithLight, withPlus(jointSpring));
    add("joint_remove", {24, 20}, kButtonWithLight, jointRemove);
    add("joint_distance", {16, 16}, kThemes3, [](QPainter& p, const Ink& k) {
        p.translate(2, 0);
        jointDistance(p, k);
    });
    add("joint_revolute", {16, 16}, kThemes3, [](QPainter& p, const Ink& k) {
        p.translate(2, 0);
        jointRevolute(p, k);
    });
    add("joint_prismatic", {16, 16}, kThemes3, [](QPainter& p, const Ink& k) {
        p.translate(2.5, 0);
        jointPrismatic(p, k);
    });
    add("joint_spring", {16, 16}, kThemes3, [](QPainter& p, const Ink& k) {
        p.translate(2, 0);
        jointSpring(p, k);
    });
    add("reset", {12, 12}, kStates, reset);
    add("body_label", {16, 16}, kThemes2, bodyLabel);
    add("body_group", {16, 16}, kThemes2, bodyGroup);
    add("body_color", {16, 16}, kThemes2, bodyColor);
    add("alert_big", {32, 32}, kThemes2, alert);
    add("alert_small", {16, 16}, kPlainOnly, alert);  // the separation dialog's window icon

    add("checkbox_checked", {13, 13}, kStates,
        [](QPainter& p, const Ink& k) { checkBox(p, k, true); }, "3");
    add("checkbox_unchecked", {13, 13}, kStates,
        [](QPainter& p, const Ink& k) { checkBox(p, k, false); }, "3");
    add("radio_checked", {13, 13}, kStates,
        [](QPainter& p, const Ink& k) { radioButton(p, k, true); });
    add("radio_unchecked", {13, 13}, kStates,
        [](QPainter& p, const Ink& k) { radioButton(p, k, false); });
    add("eyeball_checked", {16, 16}, kThemes2,
        [](QPainter& p, const Ink& k) { eyeball(p, k, true); });
    add("eyeball_unchecked", {16, 16}, kThemes2,
        [](QPainter& p, const Ink& k) { eyeball(p, k, false); });
    add("combo_arrow", {9, 9}, kPlainAndDisabled,
        [](QPainter& p, const Ink& k) { triangle(p, k, 0); });
    add("spin_up", {7, 7}, kPlainAndDisabled,
        [](QPainter& p, const Ink& k) { triangle(p, k, 180); });
    add("spin_down", {7, 7}, kPlainAndDisabled,
        [](QPainter& p, const Ink& k) { triangle(p, k, 0); });
    add("scroll_up", {8, 8}, kThemes2, [](QPainter& p, const Ink& k) { triangle(p, k, 180); });
    add("scroll_down", {8, 8}, kThemes2, [](QPainter& p, const Ink& k) { triangle(p, k, 0); });
    add("scroll_left", {8, 8}, kThemes2, [](QPainter& p, const Ink& k) { triangle(p, k, 90); });
    add("scroll_right", {8, 8}, kThemes2, [](QPainter& p, const Ink& k) { triangle(p, k, -90); });
    add("slider_handle", {13, 13}, kStates, sliderHandle);
    add("splitter_handle_h", {4, 16}, kThemes2, [](QPainter& p, const Ink& k) {
        dots(p, k, {{12, 4}, {12, 12}, {12, 20}});
    });
    add("splitter_handle_v", {16, 4}, kThemes2, [](QPainter& p, const Ink& k) {
        dots(p, k, {{4, 12}, {12, 12}, {20, 12}});
    });
    add("size_grip", {12, 12}, kThemes2, [](QPainter& p, const Ink& k) {
        dots(p, k, {{20, 8}, {20, 14}, {20, 20}, {14, 14}, {14, 20}, {8, 20}});
    });
    add("dock_close", {10, 10}, kButton, closeCross);
    add("menu_check", {10, 10}, kThemes2, menuCheck);

    Image mark{"qorv_logo", "", {125, 74}, {}, nullptr, false};
    mark.variants = {{"", "_white", &kNormal}};
    mark.draw = [](QPainter& p, const Ink&) { logo(p, QColor(238, 238, 238)); };
    all.push_back(mark);
    mark.variants = {{"", "_black", &kWhite}};
    mark.draw = [](QPainter& p, const Ink&) { logo(p, QColor(34, 34, 34)); };
    all.push_back(mark);
    return all;
}

QImage render(const Image& image, const Ink& ink)
{
    QImage out(image.size, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing, true);
    if (image.designSquare) {
        const double side = std::min(image.size.width(), image.size.height());
        // The view button is wider than it is tall: its design space is too.
        const double designWidth = image.base == QLatin1String("view") ? 28.0 : 24.0;
        const double scale = side / 24.0;
        p.translate((image.size.width() - designWidth * scale) / 2.0,
                    (image.size.height() - side) / 2.0);
        p.scale(scale, scale);
    }
    image.draw(p, ink);
    p.end();
    return out;
}

bool writeQrc(const QString& path, const QStringList& files)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream s(&f);
    s << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/\">\n";
    for (const QString& name : files)
        s << "    <file>images/" << name << "</file>\n";
    s << "</qresource>\n</RCC>\n";
    s.flush();
    return f.commit();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <resources folder>\n", argv[0]);
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    if (!root.mkpath(QStringLiteral("images"))) {
        std::fprintf(stderr, "cannot create %s/images\n", argv[1]);
        return 1;
    }
    QStringList written;
    for (const Image& image : catalogue()) {
        for (const Variant& v : image.variants) {
            const QString name = image.base + QLatin1String(v.state) + image.tail +
                                 QLatin1String(v.theme) + QLatin1String(".png");
            const QString path = root.filePath(QStringLiteral("images/") + name);
            if (!render(image, *v.ink).save(path, "PNG")) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                return 1;
            }
            written << name;
        }
    }
    written.sort();
    if (!writeQrc(root.filePath(QStringLiteral("images.qrc")), written)) {
        std::fprintf(stderr, "cannot write images.qrc\n");
        return 1;
    }
    std::printf("%lld images\n", static_cast<long long>(written.size()));
    return 0;
}
