// The scene view in the main window's preview area: the scene and its
// simulation (SimulationCore) with the widgets around it. It keeps a copy of
// the main window's form and reaches every control through it, owns the
// OpenGL view and the frame timer, and shows what the simulation reports.
//
// Its operations are spread over files by what they do: construction
// (SimulationView.cpp), the hooks of the simulation (SimulationViewHooks.cpp),
// the keyframe export's chain (SimulationViewExport.cpp), the tables
// (SimulationViewTables.cpp), the property setters, rows and panels
// (properties/SimulationView*.cpp), selection, tools and mouse
// (editing/SimulationView*.cpp); the simulation itself is SimulationCore's.
#pragma once

#include "host_api.h"
#include "mainwindow/ZolvarDlgForm.h"
#include "model/JointUserData.h"
#include "model/QuickPreset.h"
#include "render/DebugDraw.h"
#include "settings/SettingsDocument.h"
#include "simulation/KeyframeExport.h"
#include "simulation/SimulationCore.h"

#include <box2d/b2_math.h>

#include <QColor>

#include <QIcon>
#include <QItemSelectionModel>
#include <QList>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class GLWidget;
struct PreferenceWriteResult;
class GravityView;
class QAction;
class QCheckBox;
class QComboBox;
class QContextMenuEvent;
class QDoubleSpinBox;
class QItemSelection;
class QKeyEvent;
class QResizeEvent;
class QWheelEvent;
class QMenu;
class QModelIndex;
class QMouseEvent;
class SliderGo;
class QStandardItem;
class QStandardItemModel;
class QTimer;
class QUndoStack;
class PressLossWatch;
class RandomSource;

class SimulationView : public QWidget, public SimulationCore
{
    Q_OBJECT
public:
    // Keeps its arguments, reads the active composition, builds the tables,
    // the OpenGL view, the world and one body per eligible layer, connects
    // the controls and starts the frame timer at the composition's rate.
    // layerLabels is empty: the bodies table appends one label per listed
    // layer. labelColors holds the 16 host label colours.
    SimulationView(QWidget* parent, GravityView* gravityView, Ui::ZolvarDlgClass ui, SPBasicSuite* basicSuite,
                   int pluginId, std::vector<char> layerLabels, std::vector<AEGP_ColorVal> labelColors,
                   QUndoStack* undoStack, int theme);
    ~SimulationView() override;

    // Fits the composition into the view: sets the zoom slider, resets the
    // OpenGL view's pan and repaints. Nothing happens while the view has no
    // area.
    void zoomFit();

    // --- Settings files (settings/SimulationViewSettings*.cpp) ------------
    // Reads the settings file at `path` (UTF-8) whole and checks it, then
    // applies it: the bodies that match a saved body (bodyIdentification:
    // 0 layer ID, 1 layer index, 2 layer name), the view, solver and gravity,
    // the joints and the snapshots. Every problem is told in a "Zolvar"
    // message; a load that stops changes nothing. After a load the path is
    // stored under "Most Recent Loaded Settings File" (when
    // rememberAsRecent), the scene is rebuilt stopped and the history is
    // empty. A file that is there but was refused, or loaded only in part,
    // is kept: the close's automatic save goes beside it. Returns whether
    // the settings were applied.
    bool loadSettings(const char* path, bool rememberAsRecent, int bodyIdentification);
    // Writes the scene's settings file at `path` (atomically: a failed write
    // keeps the previous file), then stores `path` (UTF-8) under `hostKey`
    // in the host's section "VH Zolvar 2". A failure is told in a "Zolvar"
    // message and stores nothing; returns whether the file was written.
    // With `nameResult`, a refusal to store the name is noted there for the
    // caller to tell, not told.
    // With `failure`, a failure is not told but left there.
    bool saveSettings(QString path, const char* hostKey, PreferenceWriteResult* nameResult = nullptr,
                      QString* failure = nullptr);
    // The start-up's automatic load of `stored` (the file the host keeps
    // under "Auto Saved Settings File"). When that is `usual`, the close's
    // file, or one of the numbered files beside it (".zolvar_autosave.1.xml",
    // .2 ...), the newest of them by the time it was written that a load
    // takes whole is loaded instead (one written in the future that the
    // close cannot write over comes last), and the close saves into that
    // one. A message names it when it is not `stored`, and names the newer
    // files a load refuses. Returns whether settings were applied.
    bool autoLoadSettings(const QString& stored, const QString& usual, int bodyIdentification);
    // The close's automatic save into `usual`, or into the file beside it
    // that the start-up chose (autoLoadSettings, setAutoSaveFile). A file a
    // load refused or cut, or one that cannot be written over (a folder, a
    // pipe, a file nobody may write, a link that leads nowhere), is not
    // saved over, nor is a device that cannot be written: the settings go to
    // a new file beside it, and the message says where. With no file chosen at
    // the start and `usual` not to be written over, the newest file beside it
    // that loads whole takes the settings.
    bool autoSaveSettings(const QString& usual, const char* hostKey, PreferenceWriteResult* nameResult);
    void setAutoSaveFile(const QString& path) { autoSaveFile = path; }
    // Whether a load refused or cut the file at `path`.
    bool isKeptSettingsFile(const QString& path) const;
    // Why the scene's settings file, with one more snapshot of the current
    // scene when `withSnapshot`, could not be saved (a load would refuse
    // it); empty when it can.
    QString settingsSaveRefusal(bool withSnapshot) const;
    // The scene as a snapshot: view, solver and gravity from the controls,
    // copies of the body and joint lists. The gravity layer is taken only
    // while gravity comes from a layer unless `anyGravityLayer`.
    QuickPreset currentScene(bool anyGravityLayer) const;
    // The row of the first body that the identifiers name under `mode`, or
    // -1.
    int getBodyIdFromBodyIdentifiers(int layerID, int index, const QString& name, int mode) const;

    // --- Scene snapshots (settings/SimulationViewSnapshots.cpp) ----------
    // One column of the snapshot table as it was shown.
    struct PresetCell {
        QString text;
        QIcon icon;
        int width = 55;
    };
    // Appends each snapshot as a new column numbered on from the last one.
    void addPresets(std::vector<QuickPreset> presets);
    // Removes the given columns (ascending), the highest first.
    void removePresets(std::vector<int> columns);
    // Puts snapshots back at their former columns (ascending) with their
    // former cells.
    void insertPresets(std::vector<QuickPreset> presets, std::vector<int> columns, std::vector<PresetCell> cells);
    std::vector<PresetCell> presetCells(const std::vector<int>& columns) const;
    // Installs a snapshot: view, solver and gravity through the scene
    // setters, the body and joint lists wholesale.
    void applyPreset(QuickPreset preset);
    const std::vector<QuickPreset>& presetList() const { return quickPresets; }
    QStandardItemModel* presetsModel() const { return quickPresetsModel; }

    // The main window's view-options "Joints" action.
    void setJointsAction(QAction* action) { jointsAction = action; }
    unsigned int getDrawingFlags() const { return drawingFlags; }
    void setDrawingFlags(unsigned int flags) { drawingFlags = flags; }
    GLWidget* getGLWidget() const { return glWidget; }
    QTimer* getTimer() const { return timer; }
    // What a move of the pointer changes in the window: a read-out's text
    // (none when `label` is null) and, for a drag, the scene's picture
    // (`redrawScene`). It is shown with the view's next redraw, at most once
    // a frame, and during an export at the pace its progress is shown,
    // however often the pointer moves; at once while the frame timer stands.
    void showOnNextRedraw(QLabel* label, const QString& text, bool redrawScene = false);

    // Keyframe export (SimulationViewExport.cpp). doKeyframing opens the
    // host undo group "Zolvar" on `target` and writes the first layer; the
    // others follow one per turn of the event loop. An export that cannot
    // start, or whose layers failed, is reported in a "Zolvar" message and
    // the window stays open; otherwise it closes at the end (quitDialog),
    // after one message when the host refused a step around the layers (the
    // selection, the work area, the undo group).
    void doKeyframing(AEGP_CompH target);
    void updateExportInfo(int count);
    void resetProgress();
    // An export that ends without its keys (refused, failed): Export is
    // released, the progress cleared, and Play released with the playback.
    void endUnfinishedExport();
    // Runs the main window's close sequence (ZolvarDlg::closeZolvarDlg).
    void quitDialog();
    // Keys are being written (Export cannot be checked again meanwhile).
    bool isWritingKeys() const { return keyWriter.isWriting(); }
    // The window's close waits for the keys (ZolvarDlg::closeZolvarDlg): a
    // cancel that leaves layers unwritten is told too, and what is told at
    // the end says that the window closes.
    bool closeAwaitsKeys = false;
    // Ends the undo group of keys being written; the remaining layers stay
    // untouched. For a cancelled export and a view taken down. What failed
    // while the keys were written is told (tellFailures) in one message.
    void cancelKeyframing(bool tellFailures = true);
    // What the user is told as the writing ends; empty when nothing is.
    QString writingEndReport() const;

    // --- Property setters (properties/SimulationViewBodySetters.cpp,
    // SimulationViewSceneSetters.cpp, SimulationViewJointSetters.cpp,
    // SimulationViewTransformSetters.cpp, SimulationViewBodyApply.cpp).
    // Each shows values[0] in the property's controls without a slot
    // running, writes values[i] into row rows[i] and keeps the slider's
    // from-value; none rebuilds the world or pushes a command.
    void setType(std::vector<int> values, std::vector<int> rows);
    void setDensity(std::vector<float> values, std::vector<int> rows);
    void setFriction(std::vector<float> values, std::vector<int> rows);
    void setBounciness(std::vector<float> values, std::vector<int> rows);
    void setMeshPrecision(std::vector<int> values, std::vector<int> rows);
    void setVelocityMagnitude(std::vector<float> values, std::vector<int> rows);
    void setVelocityDirection(std::vector<float> values, std::vector<int> rows);
    void setAngularVelocity(std::vector<float> values, std::vector<int> rows);
    void setLinearDamping(std::vector<float> values, std::vector<int> rows);
    void setAngularDamping(std::vector<float> values, std::vector<int> rows);
    void setAEmaticDamping(std::vector<float> values, std::vector<int> rows);
    void setAEmaticTension(std::vector<float> values, std::vector<int> rows);
    void setCollisionGroup(std::vector<int> values, std::vector<int> rows);
    void setCollideWithA(std::vector<bool> values, std::vector<int> rows);
    void setCollideWithB(std::vector<bool> values, std::vector<int> rows);
    void setCollideWithC(std::vector<bool> values, std::vector<int> rows);
    void setCollideWithD(std::vector<bool> values, std::vector<int> rows);
    void setCollideWithE(std::vector<bool> values, std::vector<int> rows);
    void setFixedRotation(std::vector<bool> values, std::vector<int> rows);
    void setGravityScale(std::vector<float> values, std::vector<int> rows);
    void setUseConvexHull(std::vector<bool> values, std::vector<int> rows);
    void setMagnetismType(std::vector<int> values, std::vector<int> rows);
    void setMagnetIntensity(std::vector<float> values, std::vector<int> rows);
    void setMagnetDistance(std::vector<float> values, std::vector<int> rows);
    void setAcceptMagnetism(std::vector<bool> values, std::vector<int> rows);
    void setOpenShapeLineWidth(std::vector<float> values, std::vector<int> rows);
    void setBodiesVelocity(std::vector<float> magnitudes, std::vector<float> directions, std::vector<int> rows);
    void setBodyProperties(std::vector<MyBody> records, std::vector<int> rows);
    void setBodiesRotation(std::vector<float> angles, std::vector<int> rows);
    void setBodiesPosition(std::vector<b2Vec2> positions, std::vector<int> rows);
    void setBodyColor(std::vector<QColor> colours, std::vector<int> rows);
    void setAEmaticAnchor(b2Vec2 delta, std::vector<int> rows);
    void setAEmaticAnchorAbs(std::vector<b2Vec2> anchors, std::vector<int> rows);
    void setJointAnchors(std::vector<b2Vec2> anchors, std::vector<int> rows);
    void setJointAnchors(std::vector<b2Vec2> deltasA, std::vector<b2Vec2> deltasB, std::vector<int> rows);
    void setJointAxes(std::vector<b2Vec2> axes, std::vector<int> rows);
    void setDistanceJointFrequency(std::vector<float> values, std::vector<int> rows);
    void setDistanceJointDamping(std::vector<float> values, std::vector<int> rows);
    void setDistanceJointCollideConnected(std::vector<bool> values, std::vector<int> rows);
    void setRevoluteJointEnableLimit(std::vector<bool> values, std::vector<int> rows);
    void setRevoluteJointLowerAngle(std::vector<float> values, std::vector<int> rows);
    void setRevoluteJointUpperAngle(std::vector<float> values, std::vector<int> rows);
    void setRevoluteJointEnableMotor(std::vector<bool> values, std::vector<int> rows);
    void setRevoluteJointMotorSpeed(std::vector<float> values, std::vector<int> rows);
    void setRevoluteJointMaxMotorTorque(std::vector<float> values, std::vector<int> rows);
    void setRevoluteJointCollideConnected(std::vector<bool> values, std::vector<int> rows);
    void setPrismaticJointEnableLimit(std::vector<bool> values, std::vector<int> rows);
    void setPrismaticJointLowerTranslation(std::vector<float> values, std::vector<int> rows);
    void setPrismaticJointUpperTranslation(std::vector<float> values, std::vector<int> rows);
    void setPrismaticJointEnableMotor(std::vector<bool> values, std::vector<int> rows);
    void setPrismaticJointMotorSpeed(std::vector<float> values, std::vector<int> rows);
    void setPrismaticJointMaxMotorForce(std::vector<float> values, std::vector<int> rows);
    void setPrismaticJointCollideConnected(std::vector<bool> values, std::vector<int> rows);
    void setSpringJointSpringiness(std::vector<float> values, std::vector<int> rows);
    void setSpringJointDamping(std::vector<float> values, std::vector<int> rows);
    void setSpringJointDesiredLength(std::vector<float> values, std::vector<int> rows);
    void setTimeDivider(float value);
    void setCollisionTolerance(float value);
    void setSubsteps(int value);
    void setGravityMagnitude(float magnitude);
    void setGravityDirection(float direction);
    void setGravity(float magnitude, float direction);
    // As setGravity, but the sliders keep their from-values: a gravity
    // drag shows its value live and its release still knows the old one.
    void previewGravity(float magnitude, float direction);
    void setGravityInheritFrom(bool inherit);
    void setGravityLayer(int index);

    // The panel and the information text (properties/SimulationViewPanel.cpp).
    void setBodyControls(int row);
    void enableBodyControls(bool enable);
    // Shows the records again after something changed them behind the
    // panel (an undo step, a snapshot, a settings file): the body the panel
    // showed while it is still selected, else the first selected one.
    void refreshBodyPanel();
    // Whether every body control shows that body's record.
    bool bodyPanelShows(int row) const;
    void showBodyInfo(int row);
    void clearInfo();

    // A body or scene-wide slider was released at `value`: pushes its
    // command when the value changes something (SliderGo's release).
    // Returns false for a slider that has no such command here.
    bool sliderReleased(const QString& sliderName, int value);

    // Pushes "Reset Body Properties" when one of the rows differs from its
    // defaults (properties/SimulationViewBodyResets.cpp).
    void resetBodiesProperties(std::vector<int> rows);

    // The scene-wide settings as their setters last applied them: the old
    // value of every scene-wide command, whatever the sliders can show.
    struct SceneValues
    {
        float timeDivider = 1.0f;
        int substeps = 2;
        float collisionTolerance = 50.0f;
        float gravityMagnitude = 10.0f;
        float gravityDirection = 90.0f;
    };
    const SceneValues& committedScene() const { return committed; }
    // Takes what the scene-wide controls show as committed: for code that
    // writes the controls directly (presets, settings files).
    void commitSceneControls();

    // --- Selection (editing/SimulationViewSelection.cpp) ----------------
    // The selected bodies, in body-list order.
    std::vector<int> getSelectedRows2() const;
    // The rows inside the bodies table's own selection ranges.
    std::vector<int> getSelectedRows() const;
    // The selected joints, in joint-list order.
    std::vector<int> getSelectedRowsInJointsTable2() const;
    bool isBodySelected(int body) const;
    bool isJointSelected(int joint) const;
    bool isPointInBody(int body, b2Vec2 point) const;
    void doClickAtPointInSelectionMode(b2Vec2 point, QMouseEvent* event);
    void selectBodies(std::vector<int> indices);
    void deselectAllBodies();
    // Applies stored positions and angles (the world follows at the next
    // rebuild).
    void setBodyTransforms(std::vector<MyBody> records, std::vector<int> rows);
    void deselectAllJoints();
    void unhighlightAllJoints();
    void highlightJointsOfSelectedBodies();
    void showJointsOfSelectedBodies();
    // Lists every joint again (a click on no body).
    void showAllJointRows();
    void enableDisableMenuCommands();
    // The bodies in the order the user selected them, only those still
    // selected.
    std::vector<int> selectedClickOrder() const;
    const std::vector<int>& clickOrder() const { return bodyClickOrder; }
    bool isSelectingRect() const { return selectionRectActive; }
    // Ends a drag in the view that the history or a tool switch overtook
    // (editing/SimulationViewMouse.cpp): what the drag wrote so far goes
    // back to the committed values, and its release makes no step.
    void cancelDrag();
    // A drag of a tool or a selection rectangle is under way in the view.
    bool dragInProgress() const;
    // Ends a drag whose press was lost or overtaken (another button, a
    // menu, a modal window, a release that went elsewhere): as cancelDrag,
    // and a selection rectangle goes away selecting nothing.
    void endInterruptedDrag();

    // --- Joints ------------------------------------------------------------
    // Creation and removal (editing/SimulationViewJoints.cpp). The per-pair
    // creators append one joint to the joint list, both bodies' lists and
    // the joints table; they rebuild nothing. addJoints puts removed records
    // back at their rows (ids), removeJoints takes rows out; both rebuild
    // the world and keep joint i at row i with id i.
    void addDistanceJointBetweenTwoBodies(int a, int b, b2Vec2 localAnchorA, b2Vec2 localAnchorB);
    void addRevoluteJointBetweenTwoBodies(int a, int b, b2Vec2 worldAnchor);
    void addPrismaticJointBetweenTwoBodies(int a, int b, b2Vec2 worldAnchor, b2Vec2 worldAxis);
    void addSpringJointBetweenTwoBodies(int a, int b);
    void addJoints(std::vector<MyJoint> records);
    void removeJoints(std::vector<int> rows);
    // The modifiers that choose the distance joints' mode; the keyboard's
    // when unset (tests set them).
    void setJointModifiersOverride(std::optional<Qt::KeyboardModifiers> modifiers)
    {
        jointModifiersOverride = modifiers;
    }
    // Selection and the joints table (editing/SimulationViewJointSelection.cpp).
    // The rows of the joints table's whole-row selection ranges, shown rows only.
    std::vector<int> getSelectedRowsInJointsTable() const;
    void highlightSelectedJoints(const std::vector<int>& rows);
    void selectJoints(std::vector<int> rows);
    void selectJointsOfSelectedBodies();
    QStandardItemModel* jointsTableModel() const { return jointsModel; }
    // The joint panel (properties/SimulationViewJointPanel.cpp).
    void enableDistanceJointControls(bool enable);
    void enableRevoluteJointControls(bool enable);
    void enablePrismaticJointControls(bool enable);
    void enableSpringJointControls(bool enable);
    void setJointControls(int row);
    void setJointProperties(std::vector<MyJoint> records, std::vector<int> rows);
    void updateJointIcons(int theme);
    // A joint property slider was released at `value`: pushes its command
    // for the selected joints when one changes. False for other sliders
    // (properties/SimulationViewJointSlots.cpp).
    bool jointSliderReleased(const QString& sliderName, int value);
    // A property slider's drag ended without its step (SliderGo's take
    // back): its row shows what is in force again, and what the drag changed
    // live (the spring lengths, the running world's pivot limits, the magnet
    // circles, the gravity the step reads) goes back
    // (properties/SimulationViewSceneEdits.cpp).
    void takeBackSliderDrag(const QString& sliderName);

    // The view's background colour, shown by the OpenGL view and the colour
    // button (SimulationView.cpp).
    void setBackground(const QColor& colour);

    // --- Copy and paste of settings (editing/SimulationViewClipboard.cpp) --
    // The appliers of the two paste commands. Pastes and their undo leave
    // every colour record exact (the panel's colour is whole 1/255 steps).
    void doPasteBodySettings(MyBody copied, std::vector<int> rows);
    void undoPasteBodySettings(std::vector<MyBody> before, std::vector<int> rows);
    void doPasteJointSettings(MyJoint copied, std::vector<int> rows);
    void undoPasteJointSettings(std::vector<MyJoint> before, std::vector<int> rows);
    bool hasCopiedBody() const { return copiedBody.index >= 0; }
    bool hasCopiedJoint() const { return copiedJoint.id >= 0; }

    // --- Transforms (editing/SimulationViewTransforms.cpp) -----------------
    // One command for the selected bodies (one value each, body-list order);
    // nothing without a selection.
    void moveSelectedBodies(std::vector<b2Vec2> positions);
    void rotateSelectedBodies(std::vector<float> angles);
    // "Reset Body Transform" when one of the rows is away from its layer's.
    void resetBodiesTransform(std::vector<int> rows);

    // Pushes "Reset Scene": the bodies rebuilt from the layers with default
    // settings, no joints, default view and solver values. A host failure
    // pushes nothing and is reported (SimulationViewSceneReset.cpp).
    void resetScene();

    // --- Context menu (editing/SimulationViewContextMenu.cpp) --------------
    QMenu* editingMenu() const { return contextMenu; }
    QMenu* selectBodiesSubmenu() const { return selectBodiesMenu; }
    QMenu* selectJointsSubmenu() const { return selectJointsMenu; }
    QMenu* setTypeSubmenu() const { return setTypeMenu; }
    QMenu* resetSubmenu() const { return resetMenu; }

    // --- Tools (editing/SimulationViewTools.cpp) ---------------------------
    int currentTool() const;
    // The tool the hand tool replaced.
    int toolBeforeHand() const { return previousTool; }
    void updateGravityPoint(float magnitude, float angle);
    void placeVelocityHandle();
    QUndoStack* getUndoStack() const { return undoStack; }
    const Ui::ZolvarDlgClass& form() const { return ui; }

    // The theme's icons of the bodies table's label, group and colour
    // headers (SimulationViewTables.cpp).
    void updateBodiesTableHeaderIcons(int theme);

    // --- Randomizer (editing/SimulationViewRandomizer.cpp) -------------
    // The view's own random source (seeded once from system randomness;
    // tests seed or script it) and the two draws from it.
    RandomSource& randomSource();
    float randFloat(float a, float b);
    int randInt(int a, int b);
    // What the randomizer dialog opens on: the last choice that was applied.
    int lastRandomizerPropertyId = 1;
    float lastRandomizerRandomness = 0.5f;

    // Warnings about heavy bodies while true (the warning dialog's answer).
    bool showTooManyPolygonsWarning = true;
    bool showTriangulationFailedMessage = true;

signals:
    // The writing of keys has ended, by any way: every layer written, a
    // cancel, a failure. Whatever it told has been answered by then.
    void keyWritingEnded();

public slots:
    // One composition frame (the frame timer's timeout).
    void updatePhysics();
    void keyframeLayerProgress();
    void refreshView() override;

    // Playback (SimulationCore's, reachable as slots).
    void playAnimation() { SimulationCore::playAnimation(); }
    void pauseAnimation() { SimulationCore::pauseAnimation(); }
    void stepAnimation() { SimulationCore::stepAnimation(); }
    void restartAndStopAnimation(bool fromEscapeOrLoad) { SimulationCore::restartAndStopAnimation(fromEscapeOrLoad); }
    void restartAndPlayAnimation() { SimulationCore::restartAndPlayAnimation(); }
    void restartAnimation() { SimulationCore::restartAnimation(); }

    void undo();
    void redo();

    // The 14 numeric body rows (properties/BodyNumericRows.cpp): slider
    // mirror, edit box and reset of each, all through one table.
    void densitySldChanged(int value);
    void densityEtEditingFinished();
    void resetDensity();
    void frictionSldChanged(int value);
    void frictionEtEditingFinished();
    void resetFriction();
    void bouncinessSldChanged(int value);
    void bouncinessEtEditingFinished();
    void resetBounciness();
    void meshPrecisionSldChanged(int value);
    void meshPrecisionEtEditingFinished();
    void resetMeshPrecision();
    void velocityMagnitudeSldChanged(int value);
    void velocityMagnitudeEtEditingFinished();
    void resetVelocityMagnitude();
    void velocityDirectionSldChanged(int value);
    void velocityDirectionEtEditingFinished();
    void resetVelocityDirection();
    void angularVelocitySldChanged(int value);
    void angularVelocityEtEditingFinished();
    void resetAngularVelocity();
    void linearDampingSldChanged(int value);
    void linearDampingEtEditingFinished();
    void resetLinearDamping();
    void angularDampingSldChanged(int value);
    void angularDampingEtEditingFinished();
    void resetAngularDamping();
    void aematicDampingSldChanged(int value);
    void aematicDampingEtEditingFinished();
    void resetAEmaticDamping();
    void aematicTensionSldChanged(int value);
    void aematicTensionEtEditingFinished();
    void resetAEmaticTension();
    void gravityScaleSldChanged(int value);
    void gravityScaleEtEditingFinished();
    void resetGravityScale();
    void magnetIntensitySldChanged(int value);
    void magnetIntensityEtEditingFinished();
    void resetMagnetIntensity();
    void magnetDistanceSldChanged(int value);
    void magnetDistanceEtEditingFinished();
    void resetMagnetDistance();

    // The scene-wide settings (properties/SimulationViewSceneEdits.cpp).
    void timeDividerSldChanged(int value);
    void timeDividerEtEditingFinished();
    void resetTimeDivider();
    void substepsSldChanged(int value);
    void substepsEtEditingFinished();
    void resetSubsteps();
    void collisionToleranceSldChanged(int value);
    void collisionToleranceEtEditingFinished();
    void resetCollisionTolerance();
    void gravityMagnitudeEtEditingFinished();
    void resetGravityMagnitude();
    void gravityDirectionEtEditingFinished();
    void resetGravityDirection();
    void gravityLayerCbChanged(bool checked);
    void gravityLayerLstChanged(int index);

    // The three lists and the eight flags of the body panel
    // (properties/SimulationViewBodyChoices.cpp).
    void typeLstChanged(int index);
    void collisionGroupLstChanged(int index);
    void magnetismTypeLstChanged(int index);
    void resetType();
    void resetCollisionGroup();
    void resetMagnetismType();
    void OnTypeStatic();
    void OnTypeKinematic();
    void OnTypeDynamic();
    void OnTypeDormant();
    void OnTypeAEmatic();
    void OnTypeDead();
    void collideWithACbChanged(bool checked);
    void collideWithBCbChanged(bool checked);
    void collideWithCCbChanged(bool checked);
    void collideWithDCbChanged(bool checked);
    void collideWithECbChanged(bool checked);
    void fixedRotationCbChanged(bool checked);
    void useConvexHullCbChanged(bool checked);
    void acceptMagnetismCbChanged(bool checked);
    void resetCollideWith();
    void resetFixedRotation();
    void resetUseConvexHull();
    void resetAcceptMagnetism();

    // Colour reset, open-shape line width and the reset of every property
    // (properties/SimulationViewBodyResets.cpp).
    void resetBodyColor();
    void increaseOpenShapeLineWidth();
    void decreaseOpenShapeLineWidth();
    void OnResetBodiesProperties();
    void gravityMagnitudeSldChanged(int value);
    void gravityDirectionSldChanged(int value);

    // Scene snapshots (settings/SimulationViewSnapshots.cpp).
    void OnAddQuickPresetBtn();
    void quickPresetsTableDoubleClicked(const QModelIndex& index);
    void OnDeleteSelectedQuickPresets();
    void removeSelectedPresets();
    void quickPresetsTableSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);

    // Bodies table.
    void bodiesTableSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void bodiesTableItemClicked(const QModelIndex& index);

    // The select commands (editing/SimulationViewSelection.cpp): bodies
    // like the first selected one, or every unselected body.
    void OnSelectBodiesWithTheSameColor();
    void OnSelectBodiesWithTheSameLabel();
    void OnSelectBodiesWithTheSameCollisionGroup();
    void OnSelectBodiesWithTheSameType();
    void OnInvertSelection();

    // Joints: the buttons' planners and removal, the table's selection and
    // the select and remove commands (editing/SimulationViewJoints.cpp,
    // SimulationViewJointSelection.cpp).
    void addDistanceJointBetweenSelectedBodies();
    void addRevoluteJointBetweenSelectedBodies();
    void addPrismaticJointBetweenSelectedBodies();
    void addSpringJointBetweenSelectedBodies();
    void removeSelectedJoints();
    // Every joint with a selected body at either end, as one step.
    void removeJointsOfSelectedBodies();
    void jointsTableSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void OnSelectAssociatedJoints();
    void OnSelectJointsWithTheSameType();
    void OnRemoveAssociatedJoints();

    // The joint property rows (properties/SimulationViewJointSlots.cpp).
    void distanceJointFrequencySldChanged(int value);
    void distanceJointFrequencyEtEditingFinished();
    void resetDistanceJointFrequency();
    void distanceJointDampingSldChanged(int value);
    void distanceJointDampingEtEditingFinished();
    void resetDistanceJointDamping();
    void distanceJointCollideConnectedCbClicked(bool checked);
    void resetDistanceJointCollideConnected();
    void revoluteJointEnableLimitCbClicked(bool checked);
    void resetRevoluteJointEnableLimit();
    void revoluteJointLowerAngleSldChanged(int value);
    void revoluteJointLowerAngleEtEditingFinished();
    void resetRevoluteJointLowerAngle();
    void revoluteJointUpperAngleSldChanged(int value);
    void revoluteJointUpperAngleEtEditingFinished();
    void resetRevoluteJointUpperAngle();
    void revoluteJointEnableMotorCbClicked(bool checked);
    void resetRevoluteJointEnableMotor();
    void revoluteJointMotorSpeedSldChanged(int value);
    void revoluteJointMotorSpeedEtEditingFinished();
    void resetRevoluteJointMotorSpeed();
    void revoluteJointMaxMotorTorqueSldChanged(int value);
    void revoluteJointMaxMotorTorqueEtEditingFinished();
    void resetRevoluteJointMaxMotorTorque();
    void revoluteJointCollideConnectedCbClicked(bool checked);
    void resetRevoluteJointCollideConnected();
    void prismaticJointEnableLimitCbClicked(bool checked);
    void resetPrismaticJointEnableLimit();
    void prismaticJointLowerTranslationSldChanged(int value);
    void prismaticJointLowerTranslationEtEditingFinished();
    void resetPrismaticJointLowerTranslation();
    void prismaticJointUpperTranslationSldChanged(int value);
    void prismaticJointUpperTranslationEtEditingFinished();
    void resetPrismaticJointUpperTranslation();
    void prismaticJointEnableMotorCbClicked(bool checked);
    void resetPrismaticJointEnableMotor();
    void prismaticJointMotorSpeedSldChanged(int value);
    void prismaticJointMotorSpeedEtEditingFinished();
    void resetPrismaticJointMotorSpeed();
    void prismaticJointMaxMotorForceSldChanged(int value);
    void prismaticJointMaxMotorForceEtEditingFinished();
    void resetPrismaticJointMaxMotorForce();
    void prismaticJointCollideConnectedCbClicked(bool checked);
    void resetPrismaticJointCollideConnected();
    void springJointSpringinessSldChanged(int value);
    void springJointSpringinessEtEditingFinished();
    void resetSpringJointSpringiness();
    void springJointDampingSldChanged(int value);
    void springJointDampingEtEditingFinished();
    void resetSpringJointDamping();
    void springJointDesiredLengthSldChanged(int value);
    void springJointDesiredLengthEtEditingFinished();
    void resetSpringJointDesiredLength();

    // Copy and paste (editing/SimulationViewClipboard.cpp).
    void OnCopyBodySettings();
    void OnPasteBodySettings();
    void OnCopyJointSettings();
    void OnPasteJointSettings();

    // Nudging, set dialogs and resets of the placement
    // (editing/SimulationViewTransforms.cpp).
    void OnLeftKey();
    void OnRightKey();
    void OnUpKey();
    void OnDownKey();
    void OnShiftLeftKey();
    void OnShiftRightKey();
    void OnShiftUpKey();
    void OnShiftDownKey();
    void OnPlusKey();
    void OnMinusKey();
    void OnShiftPlusKey();
    void OnShiftMinusKey();
    void OnSetPosition();
    void OnSetRotation();
    void OnSetColor();
    void colorBtnClicked();
    void OnResetTransform();
    void OnCenterAEmaticAnchor();

    // The menus refresh their enabled entries before they open
    // (editing/SimulationViewContextMenu.cpp).
    void EditMenuAboutToShow();
    void ContextMenuAboutToShow();

    // "Reset Scene" (SimulationViewSceneReset.cpp).
    void OnResetScene();

    // Tools and zoom (editing/SimulationViewTools.cpp).
    void OnSelectionToolBtn();
    void OnHandToolBtn();
    void OnAnchorToolBtn();
    void OnGravityToolBtn();
    void OnVelocityToolBtn();
    void OnZoomFitBtn() { zoomFit(); }
    void zoomIn();
    void zoomOut();

    // The randomizer: asks for a property and a randomness for the selected
    // bodies and joints, then scatters it (one undo step; Collide With one
    // per group changed).
    void OnRandomizer();
    void randomizeProp(int propertyId, float randomness, std::vector<int> bodyRows, std::vector<int> jointRows);

protected:
    // Mouse and keys (editing/SimulationViewMouse.cpp).
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // The keyframe export's next turn (SimulationViewExport.cpp).
    void customEvent(QEvent* event) override;

    // The simulation's hooks (SimulationViewHooks.cpp).
    void readControls() override;
    void worldReplaced() override;
    void prepareDrawing() override;
    void setFrameInfo(int frame) override;
    void setFpsInfo(double rate) override;
    void showWorldInfo() override;
    void setDrawJointsFlag(bool draw) override;
    void restarted(bool play) override;
    void showRecordedFrame(int frame) override;
    void showSolvingProgress(int frame) override;
    void beginKeyframing(AEGP_CompH target) override;
    void reportExportFailure(const QString& text) override;
    void exportEndedByRestart() override;
    void layerListed(int layerIndex, const QString& text) override;
    void bodyBuilt(int body, const QColor& color) override;
    void reportTriangulationFailures(const QString& text) override;
    void reportSetupProblems(const QString& text) override;

private:
    // One turn of the keyframe export's chain: the next layer's keys, then
    // the next turn, the cancel, or the end (SimulationViewExport.cpp).
    void writeNextLayerAndGoOn();
    // The export's progress bar: its value set with its painting held back
    // until the progress is next shown, and its painting let through.
    void holdProgress(int value);
    void releaseProgress();
    // Shows what showOnNextRedraw() kept.
    void showPointerFeedback();
    // Builds the context menu from the form's actions, once
    // (editing/SimulationViewContextMenu.cpp).
    void createContextMenu();
    void nudgeSelectedBodies(b2Vec2 step);
    void turnSelectedBodies(float step);
    // Tool switch: checks the tool's button alone, clears the note, sets the
    // cursor and the tool.
    void activateTool(int tool, Qt::CursorShape cursor);
    // Table selection changes from code, without bodiesTableSelectionChanged.
    void connectBodiesTableSelection(bool connectIt);
    void selectTableRow(int row, bool select);
    // Brings a row of the bodies table into sight.
    void scrollBodiesTableTo(int row);
    void clearTableSelection();
    // Drops the click-order entries whose bodies are no longer selected.
    void pruneClickOrder();
    void finishSelectionRect(QMouseEvent* event);
    void selectLike(const std::function<bool(const MyBody&, const MyBody&)>& alike);
    // The one path of the numeric body rows, the lists and the flags: old
    // values from the selected rows' records, one new value for all.
    void pushBodyRow(int row, double newValue);
    bool releaseBodySlider(const QString& sliderName, int value);
    void pushBodyList(int list, int index);
    bool pushBodyFlag(int flag, bool checked);
    void pushSceneValue(int setting, double newValue);
    bool releaseSceneSlider(const QString& sliderName, int value);
    // The parts of takeBackSliderDrag; false for another row's slider.
    bool takeBackSceneSlider(const QString& sliderName);
    bool takeBackBodySlider(const QString& sliderName);
    bool takeBackJointSlider(const QString& sliderName);
    // The property rows' connections, one block of makeConnections
    // (properties/SimulationViewPropertyConnections.cpp).
    void connectPropertyControls();
    // Shows a gravity in its controls and handles; commits it when asked.
    void showGravity(float magnitude, float direction, bool commit);
    // The gravity check box's connection to gravityLayerCbChanged.
    QMetaObject::Connection gravityLayerCbConnection;
    SceneValues committed;
    // Shows a value in an edit box and its slider (value x scale, within the
    // slider's range), with neither emitting; returns the slider position
    // the value stands for, kept within int.
    // singlePrecision: the position is the float product (the panel's way
    // of showing a body), else the double product (the setters').
    int showInRow(QDoubleSpinBox* edit, SliderGo* slider, double value, double scale, bool singlePrecision = false);
    // The rows whose value differs go to the setter, which rebuilds their
    // outlines (properties/SimulationViewBodyApply.cpp).
    template <typename T>
    void applyOutlineSetting(T MyBody::*field, const std::vector<T>& values, const std::vector<int>& rows,
                             void (SimulationView::*setter)(std::vector<T>, std::vector<int>));
    template <typename T>
    void setBodyField(T MyBody::*field, const std::vector<T>& values, const std::vector<int>& rows);
    template <typename T>
    void setJointField(T MyJoint::*field, const std::vector<T>& values, const std::vector<int>& rows);
    void setBodyFloatRow(float MyBody::*field, QDoubleSpinBox* edit, SliderGo* slider,
                         const std::vector<float>& values, const std::vector<int>& rows);
    void setJointFloatRow(float MyJoint::*field, const std::vector<float>& values, const std::vector<int>& rows);
    void setJointBoolRow(bool MyJoint::*field, const std::vector<bool>& values, const std::vector<int>& rows);
    // The joint a page of the given type describes: the first selected joint
    // of that type, else the first of rows; -1 when there is none.
    int describedJoint(int type, const std::vector<int>& rows) const;
    // Each page that shows field shows it for the joint the page describes.
    void showJointField(float MyJoint::*field, const std::vector<int>& rows);
    void showJointField(bool MyJoint::*field, const std::vector<int>& rows);
    void setCollideWith(int bit, QCheckBox* box, const std::vector<bool>& values, const std::vector<int>& rows);
    UserData* bodyUserData(int body) const;

    // Joints (editing/SimulationViewJoints.cpp and its neighbours).
    // Appends a built joint to the joint list, its bodies' lists and the table.
    void appendJoint(MyJoint joint, const b2Color& colour);
    // New drawing data for a joint of `type` from a settings file or a
    // snapshot: not selected, in the type's colour (white for a type this
    // program does not know); kept with the view's other joint data.
    JointUserData* makeJointUserData(int type);
    // The six cells of joint `row`'s table row; the type cell alone.
    QList<QStandardItem*> jointRowItems(const MyJoint& joint, int row) const;
    QStandardItem* jointTypeItem(int type) const;
    void connectJointsTableSelection(bool connectIt);
    // Selects columns 2 to 5 of a joints-table row.
    void selectJointRow(int row, QItemSelectionModel::SelectionFlags flags);
    // Enables exactly the pages of the given joint types (0 to 3).
    void enableJointPages(const bool present[4]);
    void showJointPage(int type);
    // Shows or hides a row just put into the joints table by the rule the
    // other rows follow: while the table lists the selected bodies' joints,
    // only a joint touching a selected body is shown.
    void filterNewJointRow(int row);
    // The joint rows' connections; the pivot sliders' live limits
    // (properties/SimulationViewJointSlots.cpp).
    void connectJointControls();
    void applyPivotLimitsLive(int lowerSlider, int upperSlider);
    // The selected joints' desired lengths (row, length) before the
    // desired-length slider's drag wrote them; empty between drags.
    std::vector<std::pair<int, float>> desiredLengthsBeforeDrag;
    // A turn of the keyframe export's chain is running.
    bool writingTurn = false;
    std::vector<std::unique_ptr<JointUserData>> ownedJointUserData;
    std::optional<Qt::KeyboardModifiers> jointModifiersOverride;

    int previousTool = 0;
    // SimulationViewTables.cpp
    void setupBodiesTableWidget(int theme);
    // One row per listed layer: label swatch, number, group "A", the body
    // colour's swatch (a solid's colour, else white) and the name.
    void populateBodiesList(QStandardItemModel* model);
    void setupJointsTableWidget();
    void setupQuickPresetsTableWidget();
    void loadJointIcons(int forTheme);
    void makeConnections();
    // A "Zolvar" message with one OK button on the main window.
    void showMessage(const QString& text);
    // A "Zolvar" warning on the view, with the details below the text.
    void showSettingsWarning(const QString& text, const QString& details);
    // Keeps `path` under the host key (a most recent settings file); a
    // refusal is told, naming the file that was `done` ("saved", "loaded").
    void rememberSettingsFile(const char* hostKey, const QString& path, const QString& done,
                              PreferenceWriteResult* result = nullptr);
    // The joints table's row for a joint (its row is its id); the type cell
    // is empty for an unknown type.
    void addJointTableRow(const MyJoint& joint);
    void removeAllJointTableRows();
    // Replacing the whole joint list (settings load, snapshot restore): begin
    // empties the list and the table with the table's selection slot detached;
    // install appends one record as a new joint of the scene (its id is its
    // row, its world pointers cleared, its drawing data new, its anchors
    // committed) and returns it; end reattaches the slot and shows joints when
    // there are any.
    void beginJointsReplacement();
    const MyJoint& installJoint(const MyJoint& record);
    void endJointsReplacement();
    // The colour swatches of the tables, and a body's collision group letter.
    QIcon bodyColorIcon(const AEGP_ColorVal& color) const;
    QIcon labelColorIcon(int labelIndex) const;
    static QString collisionGroupLetter(uint16_t categoryBits);

    // settings/SimulationViewSettingsLoad.cpp: the loader's steps once the
    // file has been read and checked.
    void setBodiesSettingsFromXMLSettings(const std::vector<SavedBody>& saved, int mode);
    bool setBodySettingsFromXMLSettings(MyBody& body, int row, const std::vector<SavedBody>& saved, int mode);
    void applyGlobalSettings(const SettingsBlock& block);
    void applyJointsSettings(const std::vector<SavedJoint>& saved, int mode);
    void applyPresetsSettings(const std::vector<SettingsBlock>& presets, int mode);
    void setPresetBodiesSettingsFromXMLSettings(const std::vector<SavedBody>& saved, QuickPreset& preset,
                                                int mode) const;
    void loadPresetJointsSettings(const std::vector<SavedJoint>& saved, QuickPreset& preset, int mode) const;
    // The rows of the two bodies a saved joint joins under `mode`, when it
    // is one to take: a type this program knows with every attribute of
    // it, between two different bodies of the scene. The one rule of the
    // scene's joints and the snapshots' alike, so a restored snapshot saves
    // and loads back as it is.
    std::optional<std::pair<int, int>> savedJointEnds(const SavedJoint& saved, int mode) const;
    // Rebuilds the outlines of the bodies whose mesh precision or hull choice
    // differs from what their outlines were built with.
    void rebuildStaleOutlines();
    // Hands the snapshot model and a copy of the list to the table.
    void handPresetsToTable();
    void appendPresetColumn(int number, int labelIndex, int width);
    // The table's columns for a loaded list, "#1" to "#count", built in one
    // pass.
    void setLoadedPresetColumns(int count);
    // What one settings file may bring into this scene (bodies and joints
    // per block, snapshots).
    SettingsLimits settingsLimits(int mode) const;
    // The memory a snapshot's copy of the scene's bodies takes, and how many
    // snapshots a settings file brings into this scene.
    size_t snapshotBodyBytes() const;
    size_t snapshotLimit() const;
    // Why no snapshot can be added (the file would not load whole, or would
    // pass the size a settings file may have); empty when one can.
    QString snapshotRefusal() const;
    // Tells the user when the scene's settings file would pass the size a
    // settings file may have.
    void warnWhenSettingsCannotBeSaved();
    void keepSettingsFile(const QString& path);
    // Whether a load in `mode` would take the file at `path` whole: not
    // refuse it, not cut it. Tells nothing; `why` says why not.
    bool loadsWhole(const QString& path, int mode, QString* why = nullptr) const;
    // The newest of `usual` and the numbered files beside it that a load in
    // `mode` takes whole; empty when there is none. The files passed over
    // for it, with the reason each was refused, go to `refusedNewer`.
    QString newestAutoSave(const QString& usual, int mode,
                           std::vector<std::pair<QString, QString>>* refusedNewer = nullptr) const;
    // Files a load refused or cut (absolute), and the file the start-up's
    // automatic load read.
    QStringList keptSettingsFiles;
    QString autoSaveFile;

    GLWidget* glWidget = nullptr;
    GravityView* gravityView;
    int theme;
    Ui::ZolvarDlgClass ui;
    QUndoStack* undoStack;
    // The frame timer's interval outside an export, milliseconds.
    int frameIntervalMs() const;
    QTimer* timer = nullptr;
    DebugDraw debugDraw;
    KeyframeExport keyWriter;
    MyBody copiedBody;
    MyJoint copiedJoint;
    QMenu* contextMenu = nullptr;
    QMenu* selectBodiesMenu = nullptr;
    QMenu* selectJointsMenu = nullptr;
    QMenu* setTypeMenu = nullptr;
    QMenu* resetMenu = nullptr;
    QMenu* quickPresetsContextMenu = nullptr;
    int iconBorderGray = 20;
    QColor currentBodyColor;
    // The body whose values the body panel shows, or -1.
    int bodyPanelRow = -1;
    QAction* jointsAction = nullptr;
    std::vector<int> bodyClickOrder;
    // The joints table lists only the selected bodies' joints (set by
    // showJointsOfSelectedBodies, cleared when every row is shown again).
    bool jointRowsFiltered = false;
    QPoint selectionRectStart;
    QPoint selectionRectEnd;
    bool selectionRectActive = false;
    // The button whose press began the drag under way; its loss ends it.
    Qt::MouseButton dragButton = Qt::NoButton;
    PressLossWatch* pressWatch = nullptr;
    // A right press ended a drag: the menu it brings is not opened.
    bool skipContextMenu = false;
    // The pointer's read-outs and drag picture waiting for the next redraw.
    std::vector<std::pair<QPointer<QLabel>, QString>> pointerTexts;
    bool pointerRedraw = false;
    std::unique_ptr<RandomSource> randomizer;
    void randomizeCollideWith(float r, const std::vector<int>& rows);
    QStandardItemModel* bodiesModel = nullptr;
    QStandardItemModel* quickPresetsModel = nullptr;
    std::vector<QuickPreset> quickPresets;
    QStandardItemModel* jointsModel = nullptr;
    QIcon distanceJointIcon;
    QIcon revoluteJointIcon;
    QIcon prismaticJointIcon;
    QIcon springJointIcon;
};
