// Body properties that need more than a field write: mesh precision and the
// convex hull rebuild the body's outlines; setBodyProperties applies whole
// records through every property setter.
#include "simulation/SimulationView.h"

#include "dialogs/ErrorDlg.h"
#include "dialogs/ModalDlgFlags.h"
#include "dialogs/OwnedDialog.h"
#include "outlines/OutlineMessages.h"
#include "properties/EditBox.h"
#include "properties/PanelRows.h"
#include "properties/SliderGo.h"

#include <QCheckBox>
#include <QMessageBox>

namespace {

// Bodies with more polygons than this slow the simulation down.
constexpr int kManyPolygons = 75;

QString bodyList(const std::vector<MyBody>& bodies, const std::vector<int>& indices)
{
    QString text;
    for (int i : indices)
        text += QStringLiteral("Body #%1 (%2)  ").arg(i + 1).arg(bodies[size_t(i)].name);
    return text;
}

} // namespace

void SimulationView::setMeshPrecision(std::vector<int> values, std::vector<int> rows)
{
    if (values.empty())
        return;
    showInRow(ui.meshPrecisionEt, ui.meshPrecisionSld, double(values[0]), 1.0);
    std::vector<int> heavy;
    for (size_t i = 0; i < rows.size() && i < values.size(); ++i) {
        if (!validRow(bodies, rows[i]))
            continue;
        bodies[size_t(rows[i])].meshPrecision = values[i];
        recomputeShape(rows[i]);
        if (bodies[size_t(rows[i])].tooManyPolygons)
            heavy.push_back(rows[i]);
    }

    const QString crossing = crossingOutlinesText(bodies);
    if (!crossing.isEmpty() && showTriangulationFailedMessage) {
        QMessageBox::information(this, QStringLiteral("Zolvar"), crossing, QMessageBox::Ok, QMessageBox::NoButton);
    } else if (!heavy.empty() && showTooManyPolygonsWarning) {
        const QString text = QStringLiteral("The following bodies contains more than %1 polygons and may slow "
                                            "down simulation: \n")
                                 .arg(kManyPolygons) +
                             bodyList(bodies, heavy);
        auto dialog = makeOwnedDialog<ErrorDlg>(parentWidget(), getModalDlgFlags(), theme, text);
        dialog->setDontShowAgainCbVal(false);
        dialog->exec();
        showTooManyPolygonsWarning = dialog->getShowAgain();
    }
    if (!rows.empty())
        showBodyInfo(rows[0]);
}

void SimulationView::setUseConvexHull(std::vector<bool> values, std::vector<int> rows)
{
    if (values.empty())
        return;
    showQuietly(ui.useConvexHullCb, values[0]);
    for (size_t i = 0; i < rows.size() && i < values.size(); ++i) {
        if (!validRow(bodies, rows[i]))
            continue;
        bodies[size_t(rows[i])].useConvexHull = values[i];
        recomputeShape(rows[i]);
    }
}

template <typename T>
void SimulationView::applyOutlineSetting(T MyBody::*field, const std::vector<T>& values, const std::vector<int>& rows,
                                         void (SimulationView::*setter)(std::vector<T>, std::vector<int>))
{
    std::vector<T> changedValues;
    std::vector<int> changedRows;
    for (size_t i = 0; i < rows.size() && i < values.size(); ++i)
        if (validRow(bodies, rows[i]) && bodies[size_t(rows[i])].*field != values[i]) {
            changedValues.push_back(values[i]);
            changedRows.push_back(rows[i]);
        }
    if (!changedRows.empty())
        (this->*setter)(std::move(changedValues), std::move(changedRows));
}

void SimulationView::setBodyProperties(std::vector<MyBody> records, std::vector<int> rows)
{
    if (records.empty() || records.size() != rows.size())
        return;
    std::vector<int> type, meshPrecision, group, magnetismType;
    std::vector<float> density, friction, restitution, velocityMagnitude, velocityDirection, angularVelocity,
        linearDamping, angularDamping, aematicDamping, aematicTension, gravityScale, magnetIntensity,
        magnetDistance, openShapeLineWidth;
    std::vector<bool> collide[5], fixedRotation, convexHull, acceptMagnetism;
    std::vector<QColor> colour;
    for (const MyBody& b : records) {
        type.push_back(b.type);
        density.push_back(b.density);
        friction.push_back(b.friction);
        restitution.push_back(b.restitution);
        colour.push_back(QColor(int(255.0 * b.color.red), int(255.0 * b.color.green), int(255.0 * b.color.blue), 255));
        meshPrecision.push_back(b.meshPrecision);
        velocityMagnitude.push_back(b.linearVelocityMagnitude);
        velocityDirection.push_back(b.linearVelocityDirection);
        angularVelocity.push_back(b.angularVelocity);
        linearDamping.push_back(b.linearDamping);
        angularDamping.push_back(b.angularDamping);
        aematicDamping.push_back(b.aematicDamping);
        aematicTension.push_back(b.aematicTension);
        group.push_back(collisionGroupOf(b));
        for (int bit = 0; bit < 5; ++bit)
            collide[bit].push_back((b.maskBits & (1u << bit)) != 0);
        fixedRotation.push_back(b.fixedRotation);
        gravityScale.push_back(b.gravityScale);
        convexHull.push_back(b.useConvexHull);
        magnetismType.push_back(b.magnetismType);
        magnetIntensity.push_back(b.magnetIntensity);
        magnetDistance.push_back(b.magnetDistance);
        acceptMagnetism.push_back(b.acceptMagnetism);
        openShapeLineWidth.push_back(b.openShapeLineWidth);
    }
    setType(type, rows);
    setDensity(density, rows);
    setFriction(friction, rows);
    setBounciness(restitution, rows);
    setBodyColor(colour, rows);
    // The setter works in whole steps of 1/255; whole records bring their
    // exact colour (a host colour such as 0.3 stays itself).
    for (size_t i = 0; i < rows.size(); ++i)
        if (validRow(bodies, rows[i]))
            bodies[size_t(rows[i])].color = records[i].color;
    // Outlines are rebuilt only where what decides them changes: whole
    // records (resets, pastes) mostly leave them as they are.
    applyOutlineSetting(&MyBody::meshPrecision, meshPrecision, rows, &SimulationView::setMeshPrecision);
    showInRow(ui.meshPrecisionEt, ui.meshPrecisionSld, double(meshPrecision[0]), 1.0);
    setVelocityMagnitude(velocityMagnitude, rows);
    setVelocityDirection(velocityDirection, rows);
    setAngularVelocity(angularVelocity, rows);
    setLinearDamping(linearDamping, rows);
    setAngularDamping(angularDamping, rows);
    setAEmaticDamping(aematicDamping, rows);
    setAEmaticTension(aematicTension, rows);
    setCollisionGroup(group, rows);
    // The bits themselves: a pattern that is no single group survives.
    for (size_t i = 0; i < rows.size(); ++i)
        if (validRow(bodies, rows[i]))
            bodies[size_t(rows[i])].categoryBits = records[i].categoryBits;
    setCollideWithA(collide[0], rows);
    setCollideWithB(collide[1], rows);
    setCollideWithC(collide[2], rows);
    setCollideWithD(collide[3], rows);
    setCollideWithE(collide[4], rows);
    setFixedRotation(fixedRotation, rows);
    setGravityScale(gravityScale, rows);
    applyOutlineSetting(&MyBody::useConvexHull, convexHull, rows, &SimulationView::setUseConvexHull);
    showQuietly(ui.useConvexHullCb, bool(convexHull[0]));
    setMagnetismType(magnetismType, rows);
    setMagnetIntensity(magnetIntensity, rows);
    setMagnetDistance(magnetDistance, rows);
    setAcceptMagnetism(acceptMagnetism, rows);
    setOpenShapeLineWidth(openShapeLineWidth, rows);
}
