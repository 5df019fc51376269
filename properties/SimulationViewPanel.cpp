// The body panel follows the selection: its controls show one body's values
// and are enabled while a body is selected; the information text shows
// that body.
#include "simulation/SimulationView.h"

#include "properties/BodyNumericRows.h"
#include "properties/EditBox.h"
#include "properties/PanelRows.h"
#include "properties/SliderGo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>
#include <cmath>

void SimulationView::setBodyControls(int row)
{
    if (!validRow(bodies, row))
        return;
    bodyPanelRow = row;
    const MyBody& b = bodies[size_t(row)];
    // The panel shows the single-precision product on the x 1000 sliders;
    // magnet intensity and distance take the double one, as their setters.
    const double k = 1000.0;
    showInRow(ui.densityEt, ui.densitySld, b.density, k, true);
    showInRow(ui.frictionEt, ui.frictionSld, b.friction, k, true);
    showInRow(ui.bouncinessEt, ui.bouncinessSld, b.restitution, k, true);
    showInRow(ui.meshPrecisionEt, ui.meshPrecisionSld, b.meshPrecision, 1.0);
    showInRow(ui.velocityMagnitudeEt, ui.velocityMagnitudeSld, b.linearVelocityMagnitude, k, true);
    showInRow(ui.velocityDirectionEt, ui.velocityDirectionSld, b.linearVelocityDirection, k, true);
    showInRow(ui.angularVelocityEt, ui.angularVelocitySld, b.angularVelocity, k, true);
    showInRow(ui.linearDampingEt, ui.linearDampingSld, b.linearDamping, k, true);
    showInRow(ui.angularDampingEt, ui.angularDampingSld, b.angularDamping, k, true);
    showInRow(ui.aematicDampingEt, ui.aematicDampingSld, b.aematicDamping, k, true);
    showInRow(ui.aematicTensionEt, ui.aematicTensionSld, b.aematicTension, k, true);
    showInRow(ui.gravityScaleEt, ui.gravityScaleSld, b.gravityScale, k, true);
    showInRow(ui.magnetIntensityEt, ui.magnetIntensitySld, b.magnetIntensity, k);
    showInRow(ui.magnetDistanceEt, ui.magnetDistanceSld, b.magnetDistance, k);
    currentBodyColor = QColor(int(b.color.red * 255.0), int(b.color.green * 255.0), int(b.color.blue * 255.0));
    if (ui.colorBtn)
        ui.colorBtn->setStyleSheet(QString::asprintf("background-color: rgb(%d, %d, %d);", int(b.color.red * 255.0),
                                                     int(b.color.green * 255.0), int(b.color.blue * 255.0)));
    showQuietly(ui.typeLst, b.type);
    showQuietly(ui.magnetismTypeLst, b.magnetismType);
    // A pattern that is no single group bit leaves the list as it was.
    for (int bit = 0; bit < 5; ++bit)
        if (b.categoryBits == (1u << bit))
            showQuietly(ui.collisionGroupLst, bit);
    QCheckBox* collide[5] = {ui.collideWithACb, ui.collideWithBCb, ui.collideWithCCb, ui.collideWithDCb,
                             ui.collideWithECb};
    for (int bit = 0; bit < 5; ++bit)
        showQuietly(collide[bit], (b.maskBits & (1u << bit)) != 0);
    showQuietly(ui.fixedRotationCb, b.fixedRotation);
    showQuietly(ui.useConvexHullCb, b.useConvexHull);
    showQuietly(ui.acceptMagnetismCb, b.acceptMagnetism);
}

namespace {

// What an edit box shows for a value: rounded to its decimals, within its
// range, as the box itself keeps it.
double shownBy(const QDoubleSpinBox* edit, double value)
{
    const double rounded = QString::number(value, 'f', edit->decimals()).toDouble();
    return std::clamp(rounded, edit->minimum(), edit->maximum());
}

} // namespace

bool SimulationView::bodyPanelShows(int row) const
{
    const MyBody& b = bodies[size_t(row)];
    for (const NumericBodyRow& r : numericBodyRows()) {
        const QDoubleSpinBox* edit = r.edit(ui);
        if (!edit)
            continue;
        const double record = r.field ? double(b.*r.field) : double(b.meshPrecision);
        if (!(edit->value() == shownBy(edit, record)))
            return false;
    }
    const QCheckBox* collide[5] = {ui.collideWithACb, ui.collideWithBCb, ui.collideWithCCb, ui.collideWithDCb,
                                   ui.collideWithECb};
    for (int bit = 0; bit < 5; ++bit)
        if (collide[bit] && collide[bit]->isChecked() != ((b.maskBits & (1u << bit)) != 0))
            return false;
    const auto differs = [](const QComboBox* list, int index) { return list && list->currentIndex() != index; };
    const auto flagDiffers = [](const QCheckBox* box, bool checked) { return box && box->isChecked() != checked; };
    return !differs(ui.typeLst, b.type) && !differs(ui.magnetismTypeLst, b.magnetismType) &&
           !flagDiffers(ui.fixedRotationCb, b.fixedRotation) && !flagDiffers(ui.useConvexHullCb, b.useConvexHull) &&
           !flagDiffers(ui.acceptMagnetismCb, b.acceptMagnetism) &&
           currentBodyColor == QColor(int(b.color.red * 255.0), int(b.color.green * 255.0),
                                      int(b.color.blue * 255.0));
}

void SimulationView::refreshBodyPanel()
{
    const std::vector<int> rows = getSelectedRows2();
    if (rows.empty())
        return;
    const bool stillShown = std::find(rows.begin(), rows.end(), bodyPanelRow) != rows.end();
    const int row = stillShown ? bodyPanelRow : rows[0];
    // A panel that already shows the records keeps its sliders as the
    // setters placed them.
    if (row != bodyPanelRow || !bodyPanelShows(row))
        setBodyControls(row);
}

void SimulationView::enableBodyControls(bool enable)
{
#define ZOLVAR_ROW(p, P) ui.p##St, ui.p##Et, ui.p##Sld, ui.reset##P##Btn
    QWidget* const before[] = {ui.typeSt, ui.typeLst, ui.resetTypeBtn, ZOLVAR_ROW(density, Density),
                               ZOLVAR_ROW(friction, Friction), ZOLVAR_ROW(bounciness, Bounciness), ui.colorSt,
                               ui.colorBtn};
    QWidget* const after[] = {
        ui.resetBodyColorBtn, ZOLVAR_ROW(meshPrecision, MeshPrecision),
        ZOLVAR_ROW(velocityMagnitude, VelocityMagnitude), ZOLVAR_ROW(velocityDirection, VelocityDirection),
        ZOLVAR_ROW(angularVelocity, AngularVelocity), ZOLVAR_ROW(linearDamping, LinearDamping),
        ZOLVAR_ROW(angularDamping, AngularDamping), ZOLVAR_ROW(aematicDamping, AEmaticDamping),
        ZOLVAR_ROW(aematicTension, AEmaticTension), ui.collisionGroupSt, ui.collisionGroupLst,
        ui.resetCollisionGroupBtn, ui.collideWithSt, ui.collideWithACb, ui.collideWithBCb, ui.collideWithCCb,
        ui.collideWithDCb, ui.collideWithECb, ui.resetCollideWithBtn, ui.fixedRotationSt, ui.fixedRotationCb,
        ui.resetFixedRotationBtn, ZOLVAR_ROW(gravityScale, GravityScale), ui.useConvexHullSt, ui.useConvexHullCb,
        ui.resetUseConvexHullBtn, ui.magnetismTypeSt, ui.magnetismTypeLst, ui.resetMagnetismTypeBtn,
        ZOLVAR_ROW(magnetIntensity, MagnetIntensity), ZOLVAR_ROW(magnetDistance, MagnetDistance),
        ui.acceptMagnetismCb, ui.resetAcceptMagnetismBtn};
#undef ZOLVAR_ROW
    for (QWidget* w : before)
        if (w)
            w->setEnabled(enable);
    if (!enable && ui.colorBtn)
        ui.colorBtn->setStyleSheet(QStringLiteral("background-color: transparent;"));
    for (QWidget* w : after)
        if (w)
            w->setEnabled(enable);
}

void SimulationView::showBodyInfo(int row)
{
    if (!ui.infoSt || row < 0 || size_t(row) >= bodies.size())
        return;
    const MyBody& b = bodies[size_t(row)];
    int polygons = 0;
    if (b.body && world)
        for (const b2Fixture* f = b.body->GetFixtureList(); f; f = f->GetNext())
            polygons += world->polygonCount(f);
    const b2Vec2 at = getAEPosFromGLPos(b.position);
    float rotation = b.angle;
    if (b.rotationIsRelative)
        rotation += b.initialRotation;
    rotation *= 57.295776f;
    if (rotation < 0.0f)
        rotation += 360.0f;
    rotation = float(std::fmod(double(rotation), 360.0));
    ui.infoSt->setText(QString::asprintf("Body Index: %d\nPolygons: %d\nPosition: %3.1f,%3.1f\nRotation: %3.1f",
                                         row + 1, polygons, double(at.x), double(at.y), double(rotation)) +
                       QChar(176));
}

void SimulationView::clearInfo()
{
    if (ui.infoSt)
        ui.infoSt->clear();
}
