// Scene snapshots in the window: taking, numbering and colours, removal with
// undo and redo, restoring and undoing back to the exact scene, and
// snapshots that travel with a settings file.
#include "SettingsGuiFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QKeyEvent>

using namespace settings_gui;

namespace {

QColor interior(const QIcon& icon, int size)
{
    return QColor(icon.pixmap(size, size).toImage().pixel(size / 2, size / 2));
}

QColor labelColour(const SimulationView* view, int entry)
{
    const AEGP_ColorVal& c = view->labelColors[size_t(entry)];
    return QColor::fromRgbF(float(c.red), float(c.green), float(c.blue));
}

void selectColumns(Window& w, std::initializer_list<int> columns)
{
    QItemSelectionModel* selection = w.ui.quickPresetsTable->selectionModel();
    selection->clearSelection();
    for (int c : columns)
        selection->select(w.view->presetsModel()->index(0, c), QItemSelectionModel::Select);
}

// Snapshots told apart by their zoom.
void take(Window& w, int zoom)
{
    w.ui.zoomSld->setValue(zoom);
    w.view->OnAddQuickPresetBtn();
}

std::vector<int> zooms(const Window& w)
{
    std::vector<int> z;
    for (const QuickPreset& p : w.view->presetList())
        z.push_back(p.zoom);
    return z;
}

} // namespace

TEST(Snapshots, TakingNumbersAndColours)
{
    Window w;
    take(w, 101);
    take(w, 102);
    take(w, 103);
    EXPECT_EQ(w.presetTexts(), QStringList({"#1", "#2", "#3"}));
    EXPECT_EQ(w.stack->text(0), QStringLiteral("Take Scene Snapshot"));
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(w.ui.quickPresetsTable->columnWidth(c), 55);
        const QStandardItem* item = w.view->presetsModel()->item(0, c);
        EXPECT_EQ(item->toolTip(), QStringLiteral("Double-click to apply"));
        EXPECT_FALSE(item->isEditable());
        // Taken by hand: "#n" in label colour n.
        EXPECT_EQ(interior(item->icon(), 12).rgb(), labelColour(w.view, c + 1).rgb()) << c;
    }
    EXPECT_EQ(w.ui.quickPresetsTable->presets().size(), 3u);

    // Undoing a take removes the last column only.
    w.stack->undo();
    EXPECT_EQ(w.presetTexts(), QStringList({"#1", "#2"}));
    w.stack->redo();
    EXPECT_EQ(zooms(w), std::vector<int>({101, 102, 103}));

    // "#2" removed: the next one is "#4".
    selectColumns(w, {1});
    w.view->removeSelectedPresets();
    EXPECT_EQ(w.presetTexts(), QStringList({"#1", "#3"}));
    take(w, 104);
    EXPECT_EQ(w.presetTexts(), QStringList({"#1", "#3", "#4"}));
}

TEST(Snapshots, RemovingWithUndoAndRedo)
{
    Window w;
    take(w, 101);
    take(w, 102);
    take(w, 103);
    const int before = w.stack->count();
    selectColumns(w, {0, 2});
    w.view->removeSelectedPresets();
    EXPECT_EQ(w.stack->count(), before + 1);
    EXPECT_EQ(w.stack->text(before), QStringLiteral("Remove Scene Snapshot"));
    EXPECT_EQ(w.presetTexts(), QStringList({"#2"}));
    EXPECT_EQ(zooms(w), std::vector<int>({102}));

    w.stack->undo();
    EXPECT_EQ(w.presetTexts(), QStringList({"#1", "#2", "#3"}));
    EXPECT_EQ(zooms(w), std::vector<int>({101, 102, 103}));
    EXPECT_EQ(interior(w.view->presetsModel()->item(0, 2)->icon(), 12).rgb(), labelColour(w.view, 3).rgb());
    w.stack->redo();
    EXPECT_EQ(zooms(w), std::vector<int>({102}));

    // Delete and Backspace remove the selection too, pressed on the strip
    // itself or elsewhere in the window.
    for (QWidget* target : {static_cast<QWidget*>(w.ui.quickPresetsTable), static_cast<QWidget*>(w.window.get())})
        for (Qt::Key key : {Qt::Key_Delete, Qt::Key_Backspace}) {
            selectColumns(w, {0});
            QTest::keyClick(target, key);
            EXPECT_TRUE(w.view->presetList().empty()) << key;
            w.stack->undo();
            ASSERT_EQ(w.view->presetList().size(), 1u);
        }

    // Nothing selected: no command.
    const int entries = w.stack->count();
    w.ui.quickPresetsTable->selectionModel()->clearSelection();
    w.view->removeSelectedPresets();
    EXPECT_EQ(w.stack->count(), entries);
}

TEST(Snapshots, RestoreThenUndoGivesTheExactScene)
{
    Window w;
    // Values beyond the sliders' ranges, held by the edit boxes.
    w.view->setGravityMagnitude(60.0f);
    w.view->setTimeDivider(7.25f);
    w.view->bodies[1].density = 42.0f;
    w.view->bodies[1].meshPrecision = 4;
    w.view->getGLWidget()->panX = 1.5f;
    take(w, 333);

    w.view->setGravityMagnitude(5.0f);
    w.view->setTimeDivider(0.7f);
    w.view->bodies[1].density = 2.0f;
    w.ui.zoomSld->setValue(77);
    w.view->getGLWidget()->panX = -4.0f;

    w.view->quickPresetsTableDoubleClicked(w.view->presetsModel()->index(0, 0));
    EXPECT_EQ(w.stack->text(w.stack->count() - 1), QStringLiteral("Restore Scene Snapshot"));
    EXPECT_DOUBLE_EQ(w.ui.gravityMagnitudeEt->value(), 60.0);
    EXPECT_DOUBLE_EQ(w.ui.timeDividerEt->value(), 7.25);
    EXPECT_FLOAT_EQ(w.view->bodies[1].density, 42.0f);
    EXPECT_EQ(w.ui.zoomSld->value(), 333);
    EXPECT_FLOAT_EQ(w.view->getGLWidget()->panX, 1.5f);
    // The restored record's outlines follow its precision.
    EXPECT_EQ(w.view->bodies[1].outlinePrecision, 4);
    EXPECT_TRUE(w.view->bodies[1].body) << "the world was rebuilt from the restored records";

    w.stack->undo();
    EXPECT_DOUBLE_EQ(w.ui.gravityMagnitudeEt->value(), 5.0);
    EXPECT_DOUBLE_EQ(w.ui.timeDividerEt->value(), 0.7);
    EXPECT_FLOAT_EQ(w.view->bodies[1].density, 2.0f);
    EXPECT_EQ(w.ui.zoomSld->value(), 77);
    EXPECT_FLOAT_EQ(w.view->getGLWidget()->panX, -4.0f);
    w.stack->redo();
    EXPECT_DOUBLE_EQ(w.ui.timeDividerEt->value(), 7.25);
}

// The body panel follows the records that a restore, its undo and its
// redo put back; a box left showing an older value would write it back
// (one more "Change Density") when it loses focus.
TEST(Snapshots, BodyPanelShowsTheRestoredRecords)
{
    Window w;
    w.view->bodies[1].density = 1.5f;
    w.view->bodies[2].density = 1.5f;
    w.view->bodies[1].friction = 0.9f;
    w.view->bodies[2].friction = 0.25f;
    w.view->selectBodies({2, 1});  // the panel shows body 2
    take(w, 100);

    w.ui.densityEt->setValue(8.0);
    emit w.ui.densityEt->editingFinished();
    ASSERT_EQ(w.stack->text(w.stack->count() - 1), QStringLiteral("Change Density"));
    // The user clicks the body: the same selection, the same panel.
    w.view->selectBodies({2, 1});

    w.view->quickPresetsTableDoubleClicked(w.view->presetsModel()->index(0, 0));
    ASSERT_FLOAT_EQ(w.view->bodies[2].density, 1.5f);
    EXPECT_DOUBLE_EQ(w.ui.densityEt->value(), 1.5);
    EXPECT_EQ(w.ui.densitySld->value(), 1500);
    EXPECT_DOUBLE_EQ(w.ui.frictionEt->value(), 0.25) << "the panel shows the body it showed before";
    const int entries = w.stack->count();
    emit w.ui.densityEt->editingFinished();  // focus leaves the box unchanged
    EXPECT_EQ(w.stack->count(), entries);
    EXPECT_FLOAT_EQ(w.view->bodies[2].density, 1.5f);

    w.stack->undo();
    EXPECT_DOUBLE_EQ(w.ui.densityEt->value(), 8.0);
    w.stack->redo();
    EXPECT_DOUBLE_EQ(w.ui.densityEt->value(), 1.5);

    // Nothing selected: the panel keeps what it shows, disabled.
    w.view->selectBodies({});
    w.stack->undo();
    EXPECT_FALSE(w.ui.densityEt->isEnabled());
}

TEST(Snapshots, GravityLayerPastTheListUnchecksTheBox)
{
    Window w;
    QuickPreset p = w.view->currentScene(true);
    p.gravityFromLayer = true;
    p.gravityLayer = w.ui.gravityLayerLst->count();
    w.view->applyPreset(p);
    EXPECT_FALSE(w.ui.gravityLayerCb->isChecked());
    p.gravityLayer = 1;
    w.view->applyPreset(p);
    EXPECT_TRUE(w.ui.gravityLayerCb->isChecked());
    EXPECT_EQ(w.ui.gravityLayerLst->currentIndex(), 1);
}

TEST(Snapshots, UnknownJointTypeKeepsAnEmptyTypeCell)
{
    Window w;
    QuickPreset p = w.view->currentScene(true);
    MyJoint odd;
    odd.type = 9;
    odd.bodyA = 0;
    odd.bodyB = 1;
    MyJoint spring;
    spring.type = JointType::Spring;
    spring.bodyA = 1;
    spring.bodyB = 2;
    p.joints = {odd, spring};
    w.view->applyPreset(p);
    w.view->restartAnimation();
    const QAbstractItemModel* table = w.ui.jointsTable->model();
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_TRUE(table->index(0, 1).data(Qt::DecorationRole).isNull());
    EXPECT_TRUE(table->index(0, 1).data(Qt::ToolTipRole).toString().isEmpty());
    EXPECT_EQ(table->index(1, 1).data(Qt::ToolTipRole).toString(), QStringLiteral("Spring Joint"));
    EXPECT_EQ(table->index(1, 0).data().toInt(), 2);
    EXPECT_EQ(w.view->joints[0].joint, nullptr);
}

TEST(Snapshots, TravelWithTheSettingsFile)
{
    Window w;
    take(w, 101);
    w.view->bodies[2].density = 9.0f;
    take(w, 102);
    take(w, 103);
    w.saved();

    // Another set of snapshots in the table: the file's replace them.
    Window& other = w;
    other.view->removePresets({0, 1, 2});
    w.view->bodies[2].density = 1.0f;
    take(other, 50);
    MessageCatcher messages;
    other.load(w.path(QStringLiteral("scene.xml")));
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_EQ(other.presetTexts(), QStringList({"#1", "#2", "#3"}));
    EXPECT_EQ(zooms(other), std::vector<int>({101, 102, 103}));
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(other.ui.quickPresetsTable->columnWidth(c), 60);
        // Loaded: label colours 0, 1, 2.
        EXPECT_EQ(interior(other.view->presetsModel()->item(0, c)->icon(), 12).rgb(), labelColour(other.view, c).rgb());
    }
    EXPECT_FLOAT_EQ(other.view->presetList()[1].bodies[2].density, 9.0f);
    EXPECT_FLOAT_EQ(other.view->presetList()[0].bodies[2].density, 1.0f);

    // A file without snapshots empties the table.
    QByteArray bare = w.read(w.path(QStringLiteral("scene.xml")));
    bare.truncate(bare.indexOf("<presets>"));
    bare += "<presets/></ZolvarSettings>";
    other.load(other.write(QStringLiteral("bare.xml"), bare));
    EXPECT_TRUE(other.presetTexts().isEmpty());
    EXPECT_TRUE(other.view->presetList().empty());
}

// Joints made in the window travel with a snapshot: restored into the world
// and the table, and gone again on undo.
TEST(Snapshots, JointsComeBackWithTheSnapshot)
{
    Window w;
    w.view->addRevoluteJointBetweenTwoBodies(1, 2, w.view->bodies[1].position);
    w.view->addSpringJointBetweenTwoBodies(2, 3);
    w.view->restartAndStopAnimation(false);
    take(w, 200);
    w.view->removeJoints({0, 1});
    w.view->restartAndStopAnimation(false);
    ASSERT_TRUE(w.view->joints.empty());

    w.view->quickPresetsTableDoubleClicked(w.view->presetsModel()->index(0, 0));
    ASSERT_EQ(w.view->joints.size(), 2u);
    EXPECT_TRUE(w.view->joints[0].joint) << "the pivot is in the world";
    EXPECT_EQ(w.view->joints[1].id, 1);
    EXPECT_EQ(w.ui.jointsTable->model()->rowCount(), 2);
    EXPECT_EQ(w.view->bodies[2].joints.size(), 2u);

    // Saved and loaded by layer ID, the snapshot keeps its joints.
    w.saved();
    w.stack->undo();
    EXPECT_TRUE(w.view->joints.empty());
    EXPECT_EQ(w.ui.jointsTable->model()->rowCount(), 0);
    MessageCatcher messages;
    w.load(w.path(QStringLiteral("scene.xml")), 0);
    ASSERT_EQ(w.view->presetList().size(), 1u);
    EXPECT_EQ(w.view->presetList()[0].joints.size(), 2u);
    EXPECT_EQ(w.view->joints.size(), 2u);
    // By name both "Ball" ends are the first Ball: the pivot joins a body to
    // itself and is left out; the spring's end moves to the first Ball.
    w.load(w.path(QStringLiteral("scene.xml")), 2);
    ASSERT_EQ(w.view->joints.size(), 1u);
    EXPECT_EQ(w.view->joints[0].type, JointType::Spring);
    EXPECT_EQ(w.view->joints[0].bodyA, 1);
}

// A snapshot's joint of a type the scene's joints never take is left out as
// it is there, so the restored scene saves and loads back as it is.
TEST(Snapshots, AJointOfAnUnknownTypeStaysOutOfASnapshot)
{
    Window w;
    w.view->addSpringJointBetweenTwoBodies(1, 3);
    w.view->restartAndStopAnimation(false);
    take(w, 200);
    QByteArray file = w.saved();
    const int presets = file.indexOf("<presets>");
    ASSERT_GT(presets, 0);
    file.insert(file.indexOf("<joint ", presets), "<joint type=\"6\" bodyAId=\"0\" bodyBId=\"2\" bodyALayerID=\"11\" "
                                                  "bodyBLayerID=\"13\" bodyALayerIndex=\"1\" bodyBLayerIndex=\"3\" "
                                                  "bodyALayerName=\"Floor\" bodyBLayerName=\"Ball\"/>");
    MessageCatcher messages;
    w.load(w.write(QStringLiteral("odd.xml"), file));
    ASSERT_EQ(w.view->presetList().size(), 1u);
    EXPECT_EQ(w.view->presetList()[0].joints.size(), 1u);

    w.view->quickPresetsTableDoubleClicked(w.view->presetsModel()->index(0, 0));
    EXPECT_EQ(w.view->joints.size(), 1u);
    EXPECT_EQ(w.view->joints.at(0).type, JointType::Spring);
    const QByteArray restored = w.saved(QStringLiteral("restored.xml"));
    w.load(w.path(QStringLiteral("restored.xml")));
    EXPECT_EQ(w.saved(QStringLiteral("reloaded.xml")).toStdString(), restored.toStdString());
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join('|').toStdString();
}

// A snapshot that would take the settings file past the size a load reads
// is not taken, with a message; a load whose scene is already past it says
// so at once, not at the close.
TEST(Snapshots, TheSizeASettingsFileMayHaveIsToldWhenReached)
{
    Window w;
    // Four names of 1,000,000 characters: each block takes about 4 MB.
    for (MyBody& body : w.view->bodies)
        body.name = QString(1000000, QLatin1Char('n'));
    w.view->addPresets(std::vector<QuickPreset>(15, w.view->currentScene(true)));
    MessageCatcher messages;
    QTest::mouseClick(w.ui.addQuickPresetBtn, Qt::LeftButton);
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(messages.texts[0], QStringLiteral("No more scene snapshots can be taken."));
    EXPECT_TRUE(messages.details[0].contains(QStringLiteral("more than the 64 MiB a load reads")))
        << messages.details[0].toStdString();
    EXPECT_EQ(w.view->presetList().size(), 15u);
    EXPECT_EQ(w.stack->count(), 0);

    // Sixteen snapshots by layer ID, in a file of a few kB.
    const QByteArray block = "<preview/><solver/><gravity/><bodies><body layerID=\"11\"/></bodies><joints/>";
    const QByteArray file = "<ZolvarSettings>" + block + "<presets>" + ("<preset>" + block + "</preset>").repeated(16) +
                            "</presets></ZolvarSettings>";
    w.load(w.write(QStringLiteral("small.xml"), file));
    EXPECT_EQ(w.view->presetList().size(), 16u);
    ASSERT_EQ(messages.texts.size(), 3) << messages.texts.join('|').toStdString();
    EXPECT_TRUE(messages.texts[2].startsWith(QStringLiteral("These settings cannot be saved as they are: the "
                                                            "settings would take")))
        << messages.texts[2].toStdString();
}
