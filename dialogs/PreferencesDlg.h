// The preferences dialog: the fifteen preferences on three pages. Colours,
// widths, the theme and the behaviours are previewed live; OK writes what
// changed to the host and keeps the live state, Cancel (also Escape and the
// close box) restores what the dialog opened with, Default puts the built-in
// values into the controls and the live state without writing anything.
//
// The scene is reached through the view at every use: each restart builds a
// new world, and the view's setters reach the live one.
#pragma once

#include "dialogs/PreferencesStore.h"
#include "host_api.h"
#include "ui_PreferencesDlg.h"

#include <QDialog>

class QToolButton;
class SimulationView;
class ZolvarDlg;

class PreferencesDlg : public QDialog
{
    Q_OBJECT
public:
    PreferencesDlg(QWidget* parent, Qt::WindowFlags flags, SPBasicSuite* suite, SimulationView* view);
    ~PreferencesDlg() override;

    const Preferences& openedValues() const { return opened; }
    const Preferences& editedValues() const { return edited; }
    const Ui_PreferencesDlgClass& form() const { return ui; }

    // "preferencesDlgGeometry" in the store of "Varnholt" / "Zolvar 2.0".
    void saveDlgSettings();
    void restoreDlgSettings();
    // How many times the geometry was saved.
    int geometrySaves() const { return geometrySaveCount; }

public slots:
    void themeLstChanged(int index);
    void levelsOfUndoEtChanged(int value);
    void selectionStrokeWidthEtChanged(double value);
    void jointStrokeWidthEtChanged(double value);
    void OnSelectionHighlightColorBtn();
    void OnStaticHighlightColorBtn();
    void OnDistanceJointColorBtn();
    void OnRevoluteJointColorBtn();
    void OnPrismaticJointColorBtn();
    void OnSpringJointColorBtn();
    void OnSelectedJointColorBtn();
    void OnDynamicAfterLastKeyframeRb();
    void OnDynamicAtInpointRb();
    void OnUsesGravityScaleRb();
    void OnUsesStaticRb();
    void OnIgnoreBodyColorWhenPastingCb(bool checked);
    void OnUseLayerIDRb();
    void OnUseLayerIndexRb();
    void OnUseLayerNameRb();
    void OnOKBtn();
    void OnCancelBtn();
    void OnDefaultBtn();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Controls from values, before any signal is connected.
    void showValues();
    void connectControls();
    // The main window: the ancestor named "ZolvarDlgClass", or null.
    ZolvarDlg* mainWindow() const;
    QToolButton* colorButton(PreferenceId id) const;
    void setColorButtonStyle(PreferenceId id, const QColor& color);
    // Button style, edited value and the live scene (no repaint).
    void applyColor(PreferenceId id, const QColor& color);
    void pickColor(PreferenceId id);
    void applyTheme(int theme);
    void applySelectionStrokeWidth(float width);
    void applyJointStrokeWidth(float width);
    void applyKinematicBehavior(int behavior);
    void applyDormantBehavior(int behavior);
    void applyIgnoreBodyColor(int ignore);
    void checkBodyIdentification(int mode);
    void setDefaultJointColors();
    void refresh();

    Preferences opened;
    Preferences edited;
    Preferences defaults;
    Ui_PreferencesDlgClass ui;
    SPBasicSuite* suite;
    SimulationView* view;
    QWidget* parentWindow;
    int geometrySaveCount = 0;
};
