// The preferences dialog over a main window on the stand-in host: it opens
// on the stored values, previews live, writes only what changed on OK,
// restores on Cancel and Escape, and Default restores the built-in values.
#include "mainwindow/ModalAnswer.h"
#include "mainwindow/WindowFixture.h"

#include "dialogs/ModalDlgFlags.h"
#include "dialogs/PreferencesDlg.h"
#include "properties/PropertyCommands.h"
#include "render/GLWidget.h"
#include "simulation/SimulationView.h"
#include "simulation/ZolvarWorld.h"

#include <QColorDialog>
#include <QMessageBox>
#include <QTest>
#include <QUndoStack>

namespace {

using window_test::Host;
using window_test::kSection;

struct Prefs
{
    std::unique_ptr<Host> host = window_test::makeHost();
    std::unique_ptr<ZolvarDlg> window = window_test::makeWindow(*host);
    SimulationView* view = window->simulationView();
    standin::PersistentStore& store = host->session->prefs();

    Prefs()
    {
        view->getTimer()->stop();
        window->show();
        (void)QTest::qWaitForWindowExposed(window.get());
    }

    std::unique_ptr<PreferencesDlg> open()
    {
        auto dialog = std::make_unique<PreferencesDlg>(window.get(), getModalDlgFlags(),
                                                       host->session->basicSuite(), view);
        dialog->show();
        return dialog;
    }
    int setCalls() const
    {
        return int(host->session->log().count("AEGP_SetLong") + host->session->log().count("AEGP_SetFpLong"));
    }
};

// Counts the paints the view's OpenGL widget receives.
struct PaintCounter : QObject
{
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

QString buttonStyle(const char* name, int r, int g, int b)
{
    return QString::asprintf("QWidget#%s{ background-color: rgb(%d, %d, %d);}", name, r, g, b);
}

void chooseColor(QToolButton* button, const QColor& color)
{
    whenShown<QColorDialog>([color](QColorDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Select Color");
        if (color.isValid()) {
            dialog.setCurrentColor(color);
            dialog.accept();
        } else {
            dialog.reject();
        }
    });
    button->click();
}

TEST(PreferencesDlg, OpensOnTheStoredValuesWithoutTouchingTheView)
{
    Prefs p;
    p.store.set(kSection, "Levels of Undo", "5000");
    p.store.set(kSection, "UI Theme", "1");
    p.store.set(kSection, "Body Selection Highlight Red", "1");
    p.store.set(kSection, "Body Selection Highlight Green", "2");
    p.store.set(kSection, "Body Selection Highlight Blue", "3");
    p.store.set(kSection, "Selection Stroke Width", "3.5");
    p.store.set(kSection, "Kinematic Behavior", "1");
    p.store.set(kSection, "Dormant Behavior", "7");
    p.store.set(kSection, "Ignore Body Color When Pasting", "0");
    p.store.set(kSection, "Body Identification for Auto Load Settings", "2");
    const QString sheet = qApp->styleSheet();
    ZolvarWorld* world = p.view->world.get();

    auto dialog = p.open();
    const auto& ui = dialog->form();
    EXPECT_EQ(dialog->objectName(), "PreferencesDlgClass");
    EXPECT_EQ(dialog->windowTitle(), "Preferences");
    EXPECT_EQ(dialog->layout()->sizeConstraint(), QLayout::SetFixedSize);
    EXPECT_EQ(ui.prefsSectionList->currentRow(), -1);
    EXPECT_EQ(ui.prefsStackedWidget->currentIndex(), 0);
    EXPECT_EQ(ui.levelsOfUndoEt->value(), 999);
    EXPECT_EQ(ui.themeLst->currentIndex(), 1);
    EXPECT_EQ(ui.selectionHighlightColorBtn->styleSheet(), buttonStyle("selectionHighlightColorBtn", 1, 2, 3));
    EXPECT_EQ(ui.staticHighlightColorBtn->styleSheet(), buttonStyle("staticHighlightColorBtn", 217, 46, 207));
    EXPECT_EQ(ui.revoluteJointColorBtn->styleSheet(), buttonStyle("revoluteJointColorBtn", 84, 255, 84));
    EXPECT_DOUBLE_EQ(ui.selectionStrokeWidthEt->value(), 3.5);
    EXPECT_TRUE(ui.dynamicAtInpointRb->isChecked());
    EXPECT_TRUE(ui.dormantUsesGravityScaleRb->isChecked()) << "an unknown value leaves the form's radio";
    EXPECT_FALSE(ui.ignoreBodyColorWhenPastingCb->isChecked());
    EXPECT_TRUE(ui.useLayerNameRb->isChecked());
    ui.prefsSectionList->setCurrentRow(2);
    EXPECT_EQ(ui.prefsStackedWidget->currentIndex(), 2);

    // The view, the world and the application are as they were.
    EXPECT_EQ(p.view->selectionHighlightColor, SELECTION_HIGHLIGHT_COLOR_DFLT);
    EXPECT_EQ(p.view->selectionStrokeWidth, 2.0f);
    EXPECT_EQ(p.view->kinematicBehavior, 0);
    EXPECT_EQ(p.view->world.get(), world) << "no restart";
    EXPECT_EQ(qApp->styleSheet(), sheet);

    // OK without an edit writes nothing, not even the 999 shown.
    const int before = p.setCalls();
    ui.okBtn->click();
    EXPECT_EQ(p.setCalls(), before);
    EXPECT_EQ(p.store.value(kSection, "Levels of Undo"), "5000");
    EXPECT_EQ(dialog->geometrySaves(), 2) << "OK, then the close that runs Cancel";
    EXPECT_TRUE(window_test::layoutStore().contains("preferencesDlgGeometry"));
}

TEST(PreferencesDlg, AChosenColourGoesLiveAndACancelledOneChangesNothing)
{
    Prefs p;
    auto dialog = p.open();
    PaintCounter counter;
    p.view->getGLWidget()->installEventFilter(&counter);

    chooseColor(dialog->form().selectionHighlightColorBtn, QColor(10, 20, 30));
    EXPECT_EQ(dialog->form().selectionHighlightColorBtn->styleSheet(),
              buttonStyle("selectionHighlightColorBtn", 10, 20, 30));
    EXPECT_EQ(dialog->editedValues().selectionHighlight, QColor(10, 20, 30));
    EXPECT_EQ(p.view->selectionHighlightColor, QColor(10, 20, 30));
    EXPECT_FLOAT_EQ(p.view->world->selectionHighlightColor.g, 20.0f / 255.0f);
    QTest::qWait(50);
    EXPECT_GT(counter.paints, 0) << "a repaint was asked for";

    chooseColor(dialog->form().springJointColorBtn, QColor());
    EXPECT_EQ(dialog->form().springJointColorBtn->styleSheet(), buttonStyle("springJointColorBtn", 84, 84, 255));
    EXPECT_EQ(dialog->editedValues().springJointColor, QColor(84, 84, 255));
    EXPECT_FLOAT_EQ(p.view->springJointColor.b, 1.0f);

    // Live changes survive the rebuild a behaviour radio starts.
    dialog->form().dynamicAtInpointRb->click();
    EXPECT_EQ(p.view->kinematicBehavior, 1);
    EXPECT_FLOAT_EQ(p.view->world->selectionHighlightColor.g, 20.0f / 255.0f);
    dialog->form().dormantUsesStaticRb->click();
    EXPECT_EQ(p.view->dormantBehavior, 1);

    // Cancel puts back everything, and writes nothing.
    dialog->form().cancelBtn->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(p.view->selectionHighlightColor, SELECTION_HIGHLIGHT_COLOR_DFLT);
    EXPECT_EQ(p.view->kinematicBehavior, 0);
    EXPECT_EQ(p.view->dormantBehavior, 0);
    EXPECT_TRUE(p.store.values().empty() || !p.store.contains(kSection, "Body Selection Highlight Red"));
}

TEST(PreferencesDlg, AWidthThenEscapeIsRestoredEverywhere)
{
    Prefs p;
    auto dialog = p.open();
    dialog->form().selectionStrokeWidthEt->setValue(4.2);
    dialog->form().jointStrokeWidthEt->setValue(0.5);
    EXPECT_FLOAT_EQ(p.view->selectionStrokeWidth, 4.2f);
    EXPECT_FLOAT_EQ(p.view->world->selectionStrokeWidth, 4.2f);
    EXPECT_FLOAT_EQ(p.view->world->jointStrokeWidth, 0.5f);
    const int before = p.setCalls();
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FLOAT_EQ(p.view->selectionStrokeWidth, 2.0f);
    EXPECT_FLOAT_EQ(p.view->world->selectionStrokeWidth, 2.0f);
    EXPECT_FLOAT_EQ(p.view->jointStrokeWidth, 1.0f);
    EXPECT_FLOAT_EQ(p.view->world->jointStrokeWidth, 1.0f);
    EXPECT_DOUBLE_EQ(dialog->form().selectionStrokeWidthEt->value(), 2.0);
    EXPECT_DOUBLE_EQ(dialog->form().jointStrokeWidthEt->value(), 1.0);
    EXPECT_EQ(p.setCalls(), before);
}

TEST(PreferencesDlg, TheThemePreviewsAndOkHandsItToTheWindow)
{
    Prefs p;
    const QString dark = qApp->styleSheet();
    {
        auto dialog = p.open();
        dialog->form().themeLst->setCurrentIndex(2);
        EXPECT_NE(qApp->styleSheet(), dark);
        dialog->form().cancelBtn->click();
        EXPECT_EQ(qApp->styleSheet(), dark);
        EXPECT_EQ(p.window->currentTheme(), 0);
        EXPECT_FALSE(p.store.contains(kSection, "UI Theme"));
    }
    auto dialog = p.open();
    dialog->form().themeLst->setCurrentIndex(2);
    const QString white = qApp->styleSheet();
    dialog->form().okBtn->click();
    EXPECT_EQ(p.store.value(kSection, "UI Theme"), "2");
    EXPECT_EQ(p.window->currentTheme(), 2);
    EXPECT_EQ(qApp->styleSheet(), white) << "the close after OK restores nothing";
    p.window->loadStyleSheet(0);
}

TEST(PreferencesDlg, DefaultPutsBackTheBuiltInValuesLiveWithoutWriting)
{
    Prefs p;
    p.store.set(kSection, "Selection Stroke Width", "3.5");
    p.store.set(kSection, "Kinematic Behavior", "1");
    p.store.set(kSection, "Levels of Undo", "40");
    p.store.set(kSection, "Pivot Joint Color Red", "9");
    {
        // Default, then Cancel: back to what the dialog opened with.
        auto dialog = p.open();
        dialog->form().jointStrokeWidthEt->setValue(3.0);
        const int before = p.setCalls();
        dialog->form().defaultBtn->click();
        EXPECT_EQ(p.setCalls(), before) << "Default writes nothing";
        EXPECT_FLOAT_EQ(p.view->selectionStrokeWidth, 2.0f);
        EXPECT_EQ(p.view->kinematicBehavior, 0);
        EXPECT_EQ(dialog->form().levelsOfUndoEt->value(), 100);
        EXPECT_TRUE(dialog->form().dynamicAfterLastKeyframeRb->isChecked());
        EXPECT_FLOAT_EQ(p.view->revoluteJointColor.r, 84.0f / 255.0f);
        dialog->form().cancelBtn->click();
        EXPECT_FLOAT_EQ(p.view->selectionStrokeWidth, 3.5f);
        EXPECT_FLOAT_EQ(p.view->jointStrokeWidth, 1.0f) << "also what was changed before Default";
        EXPECT_EQ(p.view->kinematicBehavior, 1);
        EXPECT_FLOAT_EQ(p.view->revoluteJointColor.r, 9.0f / 255.0f);
    }
    {
        // Default re-applies the joint colours even where they look default.
        auto dialog = p.open();
        p.view->setDistanceJointColor(QColor(1, 1, 1));
        dialog->form().defaultBtn->click();
        EXPECT_FLOAT_EQ(p.view->distanceJointColor.r, 1.0f);

        // Default, then OK: only what differs from what was opened.
        p.host->session->log().clear();
        dialog->form().okBtn->click();
        const auto& log = p.host->session->log();
        EXPECT_EQ(log.count("AEGP_GetApplicationBlob"), 1u);
        EXPECT_EQ(log.count("AEGP_SetFpLong"), 1u);
        EXPECT_EQ(log.count("AEGP_SetLong"), 5u) << "undo levels, three pivot keys, kinematic behaviour";
        EXPECT_EQ(p.store.value(kSection, "Selection Stroke Width"), "2");
        EXPECT_EQ(p.store.value(kSection, "Levels of Undo"), "100");
        EXPECT_EQ(p.store.value(kSection, "Pivot Joint Color Red"), "84");
        EXPECT_EQ(p.store.value(kSection, "Kinematic Behavior"), "0");
        EXPECT_FALSE(p.store.contains(kSection, "UI Theme"));
    }
}

TEST(PreferencesDlg, TheUndoLimitWaitsForAnEmptyStack)
{
    Prefs p;
    QUndoStack* stack = p.view->getUndoStack();
    {
        auto dialog = p.open();
        dialog->form().levelsOfUndoEt->setValue(7);
        dialog->form().okBtn->click();
        EXPECT_EQ(stack->undoLimit(), 7);
    }
    stack->push(new CommandDensityChange(p.view, {1.0f}, {2.0f}, {0}));
    {
        auto dialog = p.open();
        EXPECT_EQ(dialog->form().levelsOfUndoEt->value(), 7);
        dialog->form().levelsOfUndoEt->setValue(3);
        QString told;
        whenShown<QMessageBox>([&told](QMessageBox& box) {
            told = box.text();
            box.accept();
        });
        dialog->form().okBtn->click();
        EXPECT_EQ(told, "The new undo limit (3 levels) applies once the actions history is cleared or Zolvar is "
                        "opened again. Until then the history keeps up to 7 steps.");
        EXPECT_EQ(stack->undoLimit(), 7);
        EXPECT_EQ(p.store.value(kSection, "Levels of Undo"), "3");
    }
    // Cleared, the history keeps no more than the new limit.
    stack->clear();
    for (int i = 0; i < 8; ++i)
        stack->push(new CommandDensityChange(p.view, {float(i + 1)}, {float(i + 2)}, {0}));
    EXPECT_EQ(stack->undoLimit(), 3);
    EXPECT_EQ(stack->count(), 3);
}

TEST(PreferencesDlg, AFailingHostLeavesDefaultsAndStillAppliesOk)
{
    Prefs p;
    p.store.set(kSection, "UI Theme", "1");
    p.host->session->faults().failEvery(kAEGPPersistentDataSuite, kAEGPPersistentDataSuiteVersion3, 0);
    auto dialog = p.open();
    EXPECT_EQ(dialog->form().themeLst->currentIndex(), 0);
    dialog->form().levelsOfUndoEt->setValue(12);
    dialog->form().selectionStrokeWidthEt->setValue(3.0);
    dialog->form().themeLst->setCurrentIndex(1);
    // The refusal is told once, naming what was not stored.
    QStringList told;
    whenShown<QMessageBox>([&told](QMessageBox& box) {
        told << box.text();
        box.accept();
    });
    dialog->form().okBtn->click();
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains(QStringLiteral("Stored: none."))) << told[0].toStdString();
    EXPECT_TRUE(told[0].contains(
        QStringLiteral("Not stored: \"Levels of Undo\", \"UI Theme\", \"Selection Stroke Width\".")))
        << told[0].toStdString();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(p.view->getUndoStack()->undoLimit(), 12);
    EXPECT_EQ(p.window->currentTheme(), 1);
    EXPECT_FLOAT_EQ(p.view->selectionStrokeWidth, 3.0f) << "the live change stays";
    EXPECT_FALSE(p.store.contains(kSection, "Levels of Undo"));
    p.window->loadStyleSheet(0);
}

TEST(PreferencesDlg, TheMenuCommandRunsItOnTheWindow)
{
    Prefs p;
    QWidget* parent = nullptr;
    Qt::WindowFlags flags;
    whenShown<PreferencesDlg>([&](PreferencesDlg& dialog) {
        parent = dialog.parentWidget();
        flags = dialog.windowFlags();
        dialog.form().cancelBtn->click();
    });
    p.window->form().showPreferences->trigger();
    EXPECT_EQ(parent, p.window.get());
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_TRUE(p.window->findChildren<PreferencesDlg*>().isEmpty()) << "deleted after its run";
}

} // namespace

namespace {

TEST(PreferencesDlg, TheNextWindowStartsWithWhatOkStored)
{
    Prefs p;
    {
        auto dialog = p.open();
        dialog->form().selectionStrokeWidthEt->setValue(3.0);
        dialog->form().levelsOfUndoEt->setValue(25);
        dialog->form().dynamicAtInpointRb->click();
        dialog->form().ignoreBodyColorWhenPastingCb->setChecked(false);
        chooseColor(dialog->form().selectedJointColorBtn, QColor(0, 128, 255));
        dialog->form().okBtn->click();
    }
    p.window->close();
    auto next = window_test::makeWindow(*p.host);
    SimulationView* view = next->simulationView();
    view->getTimer()->stop();
    EXPECT_FLOAT_EQ(view->selectionStrokeWidth, 3.0f);
    EXPECT_EQ(view->getUndoStack()->undoLimit(), 25);
    EXPECT_EQ(view->kinematicBehavior, 1);
    EXPECT_FALSE(view->ignoreBodyColorWhenPasting);
    EXPECT_EQ(view->selectedJointColor, QColor(0, 128, 255));
}

} // namespace

namespace {

// An emptied width box, or one left with a lone point, then OK: the width
// stays what it was instead of taking the box's least value, and nothing is
// written.
TEST(PreferencesDlg, AnEmptiedWidthKeepsItsValue)
{
    for (const char* typed : {"", "."}) {
        SCOPED_TRACE(typed);
        Prefs p;
        auto dialog = p.open();
        QApplication::setActiveWindow(dialog.get());
        QDoubleSpinBox* width = dialog->form().selectionStrokeWidthEt;
        width->setFocus();
        width->selectAll();
        QTest::keyClick(width, Qt::Key_Delete);
        QTest::keyClicks(width, typed);
        QTest::keyClick(width, Qt::Key_Return);
        EXPECT_EQ(width->text(), "2.0");
        const int before = p.setCalls();
        dialog->form().okBtn->click();
        EXPECT_FLOAT_EQ(p.view->selectionStrokeWidth, 2.0f);
        EXPECT_EQ(p.setCalls(), before);
        EXPECT_FALSE(p.store.contains(kSection, "Selection Stroke Width"));
    }
}

} // namespace
