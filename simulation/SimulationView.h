// The scene view in the main window's preview area: the scene and its
// simulation (SimulationCore) with the widgets around it. It keeps a copy of
// the main window's form and reaches every control through it, owns the
// OpenGL view and the frame timer, and shows what the simulation reports.
//
// Its operations are spread over files by what they do: construction
// (SimulationView.cpp), the hooks of the simulation (SimulationViewHooks.cpp),
// the keyframe export's chain (SimulationViewExport.cpp), the tables
// (SimulationViewTables.cpp); the simulation itself is SimulationCore's.
#pragma once

#include "host_api.h"
#include "mainwindow/ZolvarDlgForm.h"
#include "model/QuickPreset.h"
#include "render/DebugDraw.h"
#include "simulation/KeyframeExport.h"
#include "simulation/SimulationCore.h"

#include <box2d/b2_math.h>

#include <QIcon>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

class GLWidget;
class GravityView;
class QAction;
class QMenu;
class QStandardItemModel;
class QTimer;
class QUndoStack;

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

    // Loads a settings file into the scene. For now it reads nothing: the
    // settings reader and the scene it fills do not exist yet.
    void loadSettings(const char* path, bool rememberAsRecent, int bodyIdentification);
    // Writes the scene's settings file at `path`, then stores `path` (UTF-8)
    // under `hostKey` in the host's section "VH Zolvar 2"
    // (settings/SimulationViewSettings.cpp). For now only the path is
    // stored: the settings writer does not exist yet.
    void saveSettings(QString path, const char* hostKey);

    // The main window's view-options "Joints" action.
    void setJointsAction(QAction* action) { jointsAction = action; }
    unsigned int getDrawingFlags() const { return drawingFlags; }
    void setDrawingFlags(unsigned int flags) { drawingFlags = flags; }
    GLWidget* getGLWidget() const { return glWidget; }
    QTimer* getTimer() const { return timer; }

    // Keyframe export (SimulationViewExport.cpp). doKeyframing opens the
    // host undo group "Zolvar" on `target` and writes the first layer; the
    // others follow one per turn of the event loop. An export that cannot
    // start, or whose layers failed, is reported in a "Zolvar" message and
    // the window stays open; otherwise it closes at the end (quitDialog).
    void doKeyframing(AEGP_CompH target);
    void updateExportInfo(int count);
    void resetProgress();
    // Runs the main window's close sequence (ZolvarDlg::closeZolvarDlg).
    void quitDialog();
    // Keys are being written (Export cannot be checked again meanwhile).
    bool isWritingKeys() const { return keyWriter.isWriting(); }
    // Ends the undo group of keys being written; the remaining layers stay
    // untouched. For the close sequence and a cancelled export.
    void cancelKeyframing();

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

protected:
    // The simulation's hooks (SimulationViewHooks.cpp).
    void readControls() override;
    void worldReplaced() override;
    void prepareDrawing() override;
    void setFrameInfo(int frame) override;
    void setFpsInfo(double rate) override;
    void showWorldInfo() override;
    void setDrawJointsFlag(bool draw) override;
    void restarted(bool play) override;
    void showSolvingProgress(int frame) override;
    void beginKeyframing(AEGP_CompH target) override;
    void reportExportFailure(const QString& text) override;
    void layerListed(int layerIndex, const QString& text) override;
    void bodyBuilt(int body, const QColor& color) override;
    void reportTriangulationFailures(const QString& text) override;

private:
    // SimulationViewTables.cpp
    void setupBodiesTableWidget(int theme);
    void setupJointsTableWidget();
    void setupQuickPresetsTableWidget();
    void loadJointIcons();
    void makeConnections();
    // A "Zolvar" message with one OK button on the main window.
    void showMessage(const QString& text);

    GLWidget* glWidget = nullptr;
    GravityView* gravityView;
    int theme;
    Ui::ZolvarDlgClass ui;
    QUndoStack* undoStack;
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
    QAction* jointsAction = nullptr;
    std::vector<int> bodyClickOrder;
    QPoint selectionRectStart;
    QPoint selectionRectEnd;
    bool selectionRectActive = false;
    int randomizerPropertyId = 1;
    float randomizerRandomness = 0.5f;
    QStandardItemModel* bodiesModel = nullptr;
    QStandardItemModel* quickPresetsModel = nullptr;
    std::vector<QuickPreset> quickPresets;
    QStandardItemModel* jointsModel = nullptr;
    QIcon distanceJointIcon;
    QIcon revoluteJointIcon;
    QIcon prismaticJointIcon;
    QIcon springJointIcon;
};
