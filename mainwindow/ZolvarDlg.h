// The main window: the form with its menus, docks and panels, the stored
// preferences, the undo stack, the scene view, the keyboard shortcuts, the
// window layout kept between runs and the close sequence that gives control
// back to the host.
//
// The window's slots are spread over files by the commands they serve:
// construction (ZolvarDlg.cpp), connections and shortcuts (ZolvarDlgWiring),
// docks and layout (ZolvarDlgLayout), themes and slider from-values
// (ZolvarDlgAppearance), the close sequence (ZolvarDlgClose), layer
// separation (ZolvarDlgPreprocessing), transport and export
// (ZolvarDlgTransport), gravity (ZolvarDlgGravity), settings files, help and
// dialogs (ZolvarDlgCommands), tools, view options, zoom and joints
// (ZolvarDlgViewOptions), and the property reset buttons (ZolvarDlgResets).
#pragma once

#include "host_api.h"
#include "mainwindow/ZolvarDlgForm.h"

#include <QByteArray>
#include <QMainWindow>
#include <QModelIndexList>
#include <QPointer>
#include <QString>

#include <memory>
#include <vector>

class GravityView;
class PressLossWatch;
class QAction;
class QApplication;
class QCloseEvent;
class QDockWidget;
class QKeyEvent;
class QMenu;
class QTimer;
class QUndoStack;
class SimulationView;
class UndoView;
struct WindowPreferences;

class ZolvarDlg : public QMainWindow
{
    Q_OBJECT
public:
    ZolvarDlg(QWidget* parent, Qt::WindowFlags flags, QApplication* application, SPBasicSuite* suite,
              int pluginId, QString projectPath);
    ~ZolvarDlg() override;

    const Ui::ZolvarDlgClass& form() const { return ui; }
    SimulationView* simulationView() const { return view; }
    GravityView* gravityPad() const { return gravityView; }
    QUndoStack* undoStackOf() const { return undoStack; }
    UndoView* historyView() const { return undoView; }
    QMenu* viewOptionsMenuOf() const { return viewOptionsMenu.get(); }
    // The File menu's checkable "Auto Load/Save Settings".
    QAction* autoLoadSaveAction() const { return ui.onAutoLoadSave; }
    int currentTheme() const { return theme; }
    int bodyIdentificationMode() const { return bodyIdentification; }
    const std::vector<AEGP_ColorVal>& labelColorList() const { return labelColors; }
    // The close sequence has run.
    bool isClosing() const { return closing; }
    // The close was asked and waits for a dialog to be answered (or, asked
    // during the start, for the window to be built).
    bool closeIsAwaited() const { return closeAwaitsDialog; }
    // The file the close saves the scene's settings into:
    // ".zolvar_autosave.xml" in the home folder.
    static QString autoSavePath();

    // Themes (ZolvarDlgAppearance.cpp).
    // Loads, fills and applies the theme's style sheet to the application.
    void loadStyleSheet(int theme);
    // Keeps the index; repaints nothing and loads no sheet.
    void setTheme(int theme);
    // Called with setTheme; has no effect.
    void setRubberBand(int theme);
    // Fills the 16 host label colours.
    void GetColorLabels();

    // Slider from-values and joint tab icons (ZolvarDlgAppearance.cpp).
    void setSliderDefaults();
    void setSlidersFromValWithCurrentVal();
    void setJointTabIcons(int theme);

    // Layout (ZolvarDlgLayout.cpp). The settings store is QSettings,
    // organisation "Varnholt", application "Zolvar 2.0".
    void showPanels(bool show);
    void saveDlgSettings();
    // True when both the geometry and the window state were stored.
    bool restoreDlgSettings();
    void saveDlgDfltSettings();
    void restoreDlgDfltSettings();

    // The joints table's whole-row selection ranges, column 0 of each row,
    // in the ranges' order (not sorted, not unique).
    QModelIndexList getSelectedRowsInJointsTable() const;

    // The most recently saved and loaded settings files (UTF-8, any
    // length), empty when none is stored or the host fails
    // (ZolvarDlgCommands.cpp).
    QString GetMRSavedSettingsFileNameFromPrefs();
    QString GetMRLoadedSettingsFileNameFromPrefs();

    // Layer separation (ZolvarDlgPreprocessing.cpp).
    void DoPreprocessing();

public slots:
    // The close sequence: takes back a drag still held (a dock dragged by
    // its title is let go, its layout from before the drag stored), takes a
    // typed value not yet taken, drops a recording under way, autosaves,
    // stops the simulation, hides the menus, stores the auto-load choice and
    // the body identification, saves the layout, closes the window and ends
    // the event loop. Runs once; later calls do nothing. While keys are
    // being written it waits for them (the window stays open and answers)
    // and runs when the writing ends; while a dialog is open it waits until
    // the dialog is answered and its answer taken; asked while the window is
    // built (the host's quit during the start's offer or setup message), it
    // runs from the window's loop, and the window is never shown. A line in
    // the menu bar's corner says why it waits.
    void closeZolvarDlg();

    // Zolvar, File and Help menus (ZolvarDlgCommands.cpp, ZolvarDlgClose.cpp).
    void showAbout();
    void showPreferences();
    void OnQuitZolvar();
    void OnAutoLoadSave(bool checked);
    void OnLoadSettings();
    void OnSaveSettings();
    void showDocumentation();
    void showKeyboardShortcuts();

    // Panel menu (ZolvarDlgLayout.cpp): one toggle per dock, one mirror of
    // each dock's visibility into its check mark.
    void dockBodies();
    void dockExport();
    void dockJoints();
    void dockGlobalProperties();
    void dockBodyProperties();
    void dockJointProperties();
    void dockInfo();
    void dockActionsHistory();
    void bodiesDockVisibilityChanged(bool visible);
    void jointsDockVisibilityChanged(bool visible);
    void globalPropertiesDockVisibilityChanged(bool visible);
    void bodyPropertiesDockVisibilityChanged(bool visible);
    void jointPropertiesDockVisibilityChanged(bool visible);
    void exportDockVisibilityChanged(bool visible);
    void infoDockVisibilityChanged(bool visible);
    void actionsHistoryDockVisibilityChanged(bool visible);
    void toggleAll();
    void setDefaultLayout();

    // Transport and export (ZolvarDlgTransport.cpp).
    void OnRestartBtn();
    void OnPlayBtn();
    void OnStepBtn();
    void OnRepeatBtn();
    void OnExportBtn();
    void startFrameEtEditingFinished();
    void endFrameEtEditingFinished();
    void OnPlayShortcut();
    void OnStepShortcut();
    void OnRestartShortcut();
    void OnRepeatShortcut();

    // Zoom, background, view options, tools, joints and the open-shape line
    // width (ZolvarDlgViewOptions.cpp).
    void OnZoomOutBtn();
    void OnZoomInBtn();
    void OnZoomFitBtn();
    void OnBGColorBtn();
    void OnViewOptionsShapes(bool checked);
    void OnViewOptionsMesh(bool checked);
    void OnViewOptionsBoundingBox(bool checked);
    void OnViewOptionsLocalAxes(bool checked);
    void OnViewOptionsJoints(bool checked);
    void OnViewOptionsCompBounds(bool checked);
    void OnSelectionToolBtn();
    void OnHandToolBtn();
    void OnAnchorToolBtn();
    void OnGravityToolBtn();
    void OnVelocityToolBtn();
    void OnAddDistanceJointBtn();
    void OnAddRevoluteJointBtn();
    void OnAddPrismaticJointBtn();
    void OnAddSpringJointBtn();
    void OnRemoveJointBtn();
    void OnIncreaseOpenShapeLineWidth();
    void OnDecreaseOpenShapeLineWidth();

    // Gravity (ZolvarDlgGravity.cpp).
    void OnGravityInheritFrom(bool checked);
    void OnCaptureGravityBtn();
    void OnApplyGravityBtn();

    // The property panels' reset buttons (ZolvarDlgResets.cpp; the list is
    // mainwindow/ResetButtons.h). Each calls the view's reset<X>().
    void resetTimeDividerBtnClicked();
    void resetSubstepsBtnClicked();
    void resetCollisionToleranceBtnClicked();
    void resetGravityMagnitudeBtnClicked();
    void resetGravityDirectionBtnClicked();
    void resetTypeBtnClicked();
    void resetDensityBtnClicked();
    void resetFrictionBtnClicked();
    void resetBouncinessBtnClicked();
    void resetBodyColorBtnClicked();
    void resetMeshPrecisionBtnClicked();
    void resetVelocityMagnitudeBtnClicked();
    void resetVelocityDirectionBtnClicked();
    void resetAngularVelocityBtnClicked();
    void resetLinearDampingBtnClicked();
    void resetAngularDampingBtnClicked();
    void resetAEmaticDampingBtnClicked();
    void resetAEmaticTensionBtnClicked();
    void resetCollisionGroupBtnClicked();
    void resetCollideWithBtnClicked();
    void resetFixedRotationBtnClicked();
    void resetGravityScaleBtnClicked();
    void resetUseConvexHullBtnClicked();
    void resetMagnetismTypeBtnClicked();
    void resetMagnetIntensityBtnClicked();
    void resetMagnetDistanceBtnClicked();
    void resetAcceptMagnetismBtnClicked();
    void resetDistanceJointFrequencyBtnClicked();
    void resetDistanceJointDampingBtnClicked();
    void resetDistanceJointCollideConnectedBtnClicked();
    void resetRevoluteJointEnableLimitBtnClicked();
    void resetRevoluteJointLowerAngleBtnClicked();
    void resetRevoluteJointUpperAngleBtnClicked();
    void resetRevoluteJointEnableMotorBtnClicked();
    void resetRevoluteJointMotorSpeedBtnClicked();
    void resetRevoluteJointMaxMotorTorqueBtnClicked();
    void resetRevoluteJointCollideConnectedBtnClicked();
    void resetPrismaticJointEnableLimitBtnClicked();
    void resetPrismaticJointLowerTranslationBtnClicked();
    void resetPrismaticJointUpperTranslationBtnClicked();
    void resetPrismaticJointEnableMotorBtnClicked();
    void resetPrismaticJointMotorSpeedBtnClicked();
    void resetPrismaticJointMaxMotorForceBtnClicked();
    void resetPrismaticJointCollideConnectedBtnClicked();
    void resetSpringJointSpringinessBtnClicked();
    void resetSpringJointDampingBtnClicked();
    void resetSpringJointDesiredLengthBtnClicked();

protected:
    // Keeps the mouse wheel away from the spin boxes and sliders, so that
    // scrolling a panel never changes a value; leaves the window's undo and
    // redo keys to the window while a spin box has the focus, the rotation
    // keys while a table or the history has it, and every key to the
    // shortcuts while a button is held on a floating dock; a press on a
    // dock arms the watch that lets its drag go before a key acts.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Keys no shortcut or focused widget took; releasing Space brings back
    // the tool the hand tool replaced (ZolvarDlgKeys.cpp).
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    // Construction steps (ZolvarDlg.cpp, ZolvarDlgWiring.cpp).
    void fitPanelsToText();
    void createUndoStack(int undoLevels);
    void createViewOptionsMenu();
    void connectCommands();
    void createHistoryView();
    void createGravityPad();
    void createSimulationView();
    // The "Joints" view option and the stored preferences, through the
    // view's setters.
    void handPreferencesToView(const WindowPreferences& prefs);
    void guardAgainstWheel();
    // Whether the key is the Edit menu's undo or redo shortcut.
    bool isUndoKey(const QKeyEvent* key) const;
    // 1 or -1 for a key that turns the selected bodies one way or the other,
    // else 0 (ZolvarDlgKeys.cpp).
    static int rotationKey(const QKeyEvent* key);
    void createShortcuts();

    // Close-sequence steps kept with transport and export
    // (ZolvarDlgTransport.cpp): ends a recording export as if Export had
    // been unchecked, and stops the frame timer and the playback.
    void endExportInProgress();
    void stopSimulation();
    // Close-sequence steps (ZolvarDlgClose.cpp): a drag held in the view, on
    // a property slider or on the gravity pad goes back without a step; the
    // value typed into the focused box is taken as the focus leaving takes
    // it. The close that waited for the keys runs when their writing ends.
    void takeBackHeldDrags();
    void endDockDrag();
    // Lets go of a dock dragged by its title as the release would; whether
    // one was.
    bool releaseDockDrag();
    void finishTypedValue();
    void keyWritingEnded();
    // The host's quit runs the close, which waits for an open dialog.
    void guardTheQuit();
    // A close now waits for a dialog: one is open, or answered while its
    // caller has not yet taken the answer. A modal window that keeps no
    // count is watched until it goes.
    bool closeWaitsForDialog();
    // Runs the close that waited for a dialog, once every answer is taken.
    void dialogAnswered();
    // Says why the close waits, in the menu bar's corner.
    void tellCloseWaits(const QString& text);

    // Docks every dock left floating where it was, unless a dock drag holds
    // the pointer (ZolvarDlgLayout.cpp).
    void dockFloatingDocks();
    // The left button pressed on a dock, at `at` in the dock (ZolvarDlgWiring.cpp).
    void dockPressed(QDockWidget* dock, QPoint at);
    // Connects (true) or disconnects (false) the eight docks' visibility
    // mirrors.
    void connectDockMirrors(bool connect);
    // Sets the eight check marks from the docks' visibility.
    void syncDockCheckMarks();

    int theme = 0;
    QApplication* application;
    Ui::ZolvarDlgClass ui{};
    SimulationView* view = nullptr;
    GravityView* gravityView = nullptr;
    SPBasicSuite* suite;
    int pluginId;
    QString projectPath;
    // Without a Qt parent; the window keeps it alive.
    std::unique_ptr<QMenu> viewOptionsMenu;
    QAction* viewOptionsShapes = nullptr;
    QAction* viewOptionsMesh = nullptr;
    QAction* viewOptionsBoundingBox = nullptr;
    QAction* viewOptionsLocalAxes = nullptr;
    QAction* viewOptionsJoints = nullptr;
    QAction* viewOptionsCompBounds = nullptr;
    std::vector<char> layerLabels;  // always empty: the view fills its own copy
    std::vector<AEGP_ColorVal> labelColors;
    int bodyIdentification = 0;
    bool autoLoadSave = false;
    QUndoStack* undoStack = nullptr;
    // The Edit menu's undo and redo, made by the stack.
    QAction* undoAction = nullptr;
    QAction* redoAction = nullptr;
    UndoView* undoView = nullptr;
    bool closing = false;
    // The dock layout at the last press of the left button on a dock; once
    // the close has ended a dock drag, the layout stored in its place.
    QByteArray layoutAtDockPress;
    QByteArray layoutToStore;
    // Armed at a left press on a dock: a key (a layout key among them), a modal
    // window or a popup during the drag lets the dock go first.
    PressLossWatch* dockDragWatch = nullptr;
    // The modal window without a count that a waiting close watches.
    QPointer<QWidget> awaitedModal;
    // A close was asked while a dialog was open; it runs once answered.
    bool closeAwaitsDialog = false;
};
