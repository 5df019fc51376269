// The scene's undoable content as lines of text: every body's settings and
// placement, every joint, the scene-wide values and the snapshots. Two
// moments of the scene are alike when their lines are; the first differing
// line says what differs.
#pragma once

#include "simulation/SimulationView.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace monkey {

inline QString num(double v) { return QString::number(v, 'g', 6); }
inline QString vec(b2Vec2 v) { return QStringLiteral("(%1 %2)").arg(num(v.x), num(v.y)); }
inline QString colour(const AEGP_ColorVal& c)
{
    return QStringLiteral("rgb(%1 %2 %3)").arg(num(c.red), num(c.green), num(c.blue));
}

inline QString bodyLine(const MyBody& b)
{
    QStringList ids;
    for (const MyJoint& j : b.joints)
        ids << QString::number(j.id);
    std::sort(ids.begin(), ids.end());
    return QStringList{QStringLiteral("index=%1 layer=%2").arg(b.index).arg(b.layerID),
                       QStringLiteral("type=%1").arg(b.type),
                       QStringLiteral("position=%1 angle=%2").arg(vec(b.position), num(b.angle)),
                       QStringLiteral("velocity=%1@%2 spin=%3")
                           .arg(num(b.linearVelocityMagnitude), num(b.linearVelocityDirection),
                                num(b.angularVelocity)),
                       QStringLiteral("damping=%1/%2").arg(num(b.linearDamping), num(b.angularDamping)),
                       QStringLiteral("aematic=%1/%2 anchor=%3")
                           .arg(num(b.aematicDamping), num(b.aematicTension), vec(b.aematicAnchor)),
                       QStringLiteral("density=%1 friction=%2 bounciness=%3")
                           .arg(num(b.density), num(b.friction), num(b.restitution)),
                       QStringLiteral("mesh=%1 hull=%2 outlines=%3")
                           .arg(b.meshPrecision)
                           .arg(b.useConvexHull)
                           .arg(b.outlines.size()),
                       QStringLiteral("group=%1 mask=%2").arg(b.categoryBits).arg(b.maskBits),
                       QStringLiteral("fixedRotation=%1 gravityScale=%2").arg(b.fixedRotation).arg(num(b.gravityScale)),
                       QStringLiteral("magnet=%1 %2 %3 accept=%4")
                           .arg(b.magnetismType)
                           .arg(num(b.magnetIntensity), num(b.magnetDistance))
                           .arg(b.acceptMagnetism),
                       QStringLiteral("line=%1 %2").arg(num(b.openShapeLineWidth), colour(b.color)),
                       QStringLiteral("joints=[%1]").arg(ids.join(QLatin1Char(',')))}
        .join(QLatin1Char(' '));
}

inline QString jointLine(const MyJoint& j)
{
    return QStringList{QStringLiteral("id=%1 type=%2 bodies=%3-%4").arg(j.id).arg(j.type).arg(j.bodyA).arg(j.bodyB),
                       QStringLiteral("anchors=%1 %2 %3 axis=%4")
                           .arg(vec(j.anchorA), vec(j.anchorB), vec(j.anchor), vec(j.axis)),
                       QStringLiteral("distance=%1/%2 collide=%3")
                           .arg(num(j.frequency), num(j.damping))
                           .arg(j.collideConnected),
                       QStringLiteral("limit=%1 %2..%3 motor=%4 %5 %6")
                           .arg(j.enableLimit)
                           .arg(num(j.lowerAngle), num(j.upperAngle))
                           .arg(j.enableMotor)
                           .arg(num(j.motorSpeed), num(j.maxMotorTorque)),
                       QStringLiteral("piston=%1..%2 force=%3")
                           .arg(num(j.lowerTranslation), num(j.upperTranslation), num(j.maxMotorForce)),
                       QStringLiteral("spring=%1 length=%2").arg(num(j.springiness), num(j.desiredLength))}
        .join(QLatin1Char(' '));
}

inline QStringList describe(const SimulationView& view)
{
    QStringList lines;
    for (size_t i = 0; i < view.bodies.size(); ++i)
        lines << QStringLiteral("body %1: ").arg(i) + bodyLine(view.bodies[i]);
    for (size_t i = 0; i < view.joints.size(); ++i)
        lines << QStringLiteral("joint %1: ").arg(i) + jointLine(view.joints[i]);
    const SimulationView::SceneValues& s = view.committedScene();
    lines << QStringLiteral("scene: divider=%1 substeps=%2 tolerance=%3 gravity=%4@%5")
                 .arg(num(s.timeDivider))
                 .arg(s.substeps)
                 .arg(num(s.collisionTolerance), num(s.gravityMagnitude), num(s.gravityDirection));
    QStringList snapshots;
    for (const QuickPreset& p : view.presetList())
        snapshots << QStringLiteral("%1 bodies/%2 joints").arg(p.bodies.size()).arg(p.joints.size());
    lines << QStringLiteral("snapshots: ") + snapshots.join(QStringLiteral(", "));
    return lines;
}

// Two lines alike but for numbers within single-precision noise: a move and
// its undo go by offsets, which may leave a pivot a few ulps away.
inline bool alike(const QString& e, const QString& a)
{
    if (e == a)
        return true;
    static const QRegularExpression number(QStringLiteral("-?[0-9][0-9.e+-]*"));
    QString eText = e, aText = a;
    eText.replace(number, QStringLiteral("#"));
    aText.replace(number, QStringLiteral("#"));
    if (eText != aText)
        return false;
    auto ei = number.globalMatch(e), ai = number.globalMatch(a);
    while (ei.hasNext() && ai.hasNext()) {
        const double x = ei.next().captured().toDouble(), y = ai.next().captured().toDouble();
        if (std::fabs(x - y) > 1e-5 * std::max(1.0, std::fabs(x)))
            return false;
    }
    return true;
}

// The first line where the two differ, both versions; empty when alike.
inline QString firstDifference(const QStringList& expected, const QStringList& actual)
{
    for (int i = 0; i < std::max(expected.size(), actual.size()); ++i) {
        const QString e = i < expected.size() ? expected[i] : QStringLiteral("<none>");
        const QString a = i < actual.size() ? actual[i] : QStringLiteral("<none>");
        if (!alike(e, a))
            return QStringLiteral("expected: %1\n  actual: %2").arg(e, a);
    }
    return QString();
}

} // namespace monkey
