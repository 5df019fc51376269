// The property panels' controls to the view's slots: the numeric body rows,
// the lists and flags, and the scene-wide settings. Setters write the
// controls with their signals blocked, so no slot runs from a setter.
#include "simulation/SimulationView.h"

#include "properties/BodyNumericRows.h"
#include "properties/EditBox.h"
#include "properties/SliderGo.h"
#include "properties/UserEdits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QToolButton>

void SimulationView::connectPropertyControls()
{
    for (const NumericBodyRow& row : numericBodyRows()) {
        if (QDoubleSpinBox* edit = row.edit(ui)) {
            user_edits::watch(edit);
            connect(edit, &QDoubleSpinBox::editingFinished, this, row.editFinished);
        }
        if (SliderGo* slider = row.slider(ui))
            connect(slider, &QSlider::valueChanged, this, row.sliderChanged);
    }

    const auto lists = {std::make_pair(ui.typeLst, &SimulationView::typeLstChanged),
                        std::make_pair(ui.collisionGroupLst, &SimulationView::collisionGroupLstChanged),
                        std::make_pair(ui.magnetismTypeLst, &SimulationView::magnetismTypeLstChanged),
                        std::make_pair(ui.gravityLayerLst, &SimulationView::gravityLayerLstChanged)};
    for (const auto& [list, slot] : lists)
        if (list)
            connect(list, qOverload<int>(&QComboBox::currentIndexChanged), this, slot);

    if (ui.colorBtn)
        connect(ui.colorBtn, &QAbstractButton::clicked, this, &SimulationView::colorBtnClicked);

    const auto flags = {std::make_pair(ui.collideWithACb, &SimulationView::collideWithACbChanged),
                        std::make_pair(ui.collideWithBCb, &SimulationView::collideWithBCbChanged),
                        std::make_pair(ui.collideWithCCb, &SimulationView::collideWithCCbChanged),
                        std::make_pair(ui.collideWithDCb, &SimulationView::collideWithDCbChanged),
                        std::make_pair(ui.collideWithECb, &SimulationView::collideWithECbChanged),
                        std::make_pair(ui.fixedRotationCb, &SimulationView::fixedRotationCbChanged),
                        std::make_pair(ui.useConvexHullCb, &SimulationView::useConvexHullCbChanged),
                        std::make_pair(ui.acceptMagnetismCb, &SimulationView::acceptMagnetismCbChanged)};
    for (const auto& [box, slot] : flags)
        if (box)
            connect(box, &QCheckBox::toggled, this, slot);
    if (ui.gravityLayerCb)
        gravityLayerCbConnection =
            connect(ui.gravityLayerCb, &QCheckBox::toggled, this, &SimulationView::gravityLayerCbChanged);

    const auto edits = {std::make_pair(static_cast<QDoubleSpinBox*>(ui.timeDividerEt),
                                       &SimulationView::timeDividerEtEditingFinished),
                        std::make_pair(static_cast<QDoubleSpinBox*>(ui.substepsEt),
                                       &SimulationView::substepsEtEditingFinished),
                        std::make_pair(static_cast<QDoubleSpinBox*>(ui.collisionToleranceEt),
                                       &SimulationView::collisionToleranceEtEditingFinished),
                        std::make_pair(static_cast<QDoubleSpinBox*>(ui.gravityMagnitudeEt),
                                       &SimulationView::gravityMagnitudeEtEditingFinished),
                        std::make_pair(static_cast<QDoubleSpinBox*>(ui.gravityDirectionEt),
                                       &SimulationView::gravityDirectionEtEditingFinished)};
    for (const auto& [edit, slot] : edits)
        if (edit) {
            user_edits::watch(edit);
            connect(edit, &QDoubleSpinBox::editingFinished, this, slot);
        }
    const auto sliders = {std::make_pair(static_cast<QSlider*>(ui.timeDividerSld), &SimulationView::timeDividerSldChanged),
                          std::make_pair(static_cast<QSlider*>(ui.substepsSld), &SimulationView::substepsSldChanged),
                          std::make_pair(static_cast<QSlider*>(ui.collisionToleranceSld),
                                         &SimulationView::collisionToleranceSldChanged),
                          std::make_pair(static_cast<QSlider*>(ui.gravityMagnitudeSld),
                                         &SimulationView::gravityMagnitudeSldChanged),
                          std::make_pair(static_cast<QSlider*>(ui.gravityDirectionSld),
                                         &SimulationView::gravityDirectionSldChanged)};
    for (const auto& [slider, slot] : sliders)
        if (slider)
            connect(slider, &QSlider::valueChanged, this, slot);

    commitSceneControls();
}
