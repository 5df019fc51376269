// The property widgets: the edit box's keys and decimal comma, the history's
// "Clear", the tables' menus, the shortcuts table, every reset button
// reaching its view slot, the information texts and a gravity that is not
// finite.
#include "../editing/EditFixture.h"

#include "mainwindow/ResetButtons.h"
#include "properties/BodiesTableView.h"
#include "properties/EditBox.h"
#include "properties/GravityView.h"
#include "properties/QuickPresetsTableView.h"
#include "properties/ShortcutsTableView.h"
#include "properties/SliderGo.h"
#include "properties/UndoView.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace {

using namespace edit_test;

TEST(EditBox, ArrowKeysStepAndShiftStepsTenTimes)
{
    window_test::isolatedHome();
    EditBox box(nullptr);
    box.setRange(-100, 100);
    box.setSingleStep(0.1);
    box.setValue(1.0);
    int finished = 0;
    QObject::connect(&box, &QDoubleSpinBox::editingFinished, [&] { ++finished; });
    QTest::keyClick(&box, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_NEAR(box.value(), 2.0, 1e-9);
    QTest::keyClick(&box, Qt::Key_Down);
    EXPECT_NEAR(box.value(), 1.9, 1e-9);
    EXPECT_EQ(finished, 0) << "stepping does not finish the edit";
}

TEST(EditBox, ACommaIsADecimalPointWhateverTheSystemLocale)
{
    window_test::isolatedHome();
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    {
        QWidget owner;
        auto* box = new EditBox(&owner);
        auto* layout = new QVBoxLayout(&owner);
        layout->addWidget(box);
        box->setDecimals(3);
        box->setRange(0, 100);
        box->clear();
        QTest::keyClicks(box, "1,5");
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_DOUBLE_EQ(box->value(), 1.5);
        EXPECT_EQ(box->text(), "1.500");
        QString text = "2,25";
        box->fixup(text);
        EXPECT_EQ(text, "2.25");
    }
    QLocale::setDefault(saved);
}

TEST(EditBox, ATypedCommaInDensityIsADecimalPoint)
{
    Edit e;
    e.view->selectBodies({0});
    QDoubleSpinBox* density = e.view->form().densityEt;
    density->setFocus();
    density->selectAll();
    QTest::keyClicks(density, "0,5");
    QTest::keyClick(density, Qt::Key_Return);
    EXPECT_EQ(e.view->bodies[0].density, 0.5f);
    ASSERT_EQ(e.stack->count(), 1);
    EXPECT_EQ(e.lastText(), "Change Density");
}

// An entry with no number in it (emptied, a lone sign or point, blanks)
// keeps the value the box had, whether the edit ends with Return or by
// leaving the box; the nearest valid value is only for numbers out of range
// (a sign the range has no room for is refused as it is typed).
TEST(EditBox, AnEntryWithoutANumberKeepsTheValue)
{
    window_test::isolatedHome();
    const struct
    {
        const char* typed;
        double expected;
    } rows[] = {{"", 2.5}, {"-", 2.5}, {".", 2.5}, {"-.", 2.5}, {"   ", 2.5}, {",", 2.5},
                {"0", 0.001}, {"99", 99.0}, {" 7 ", 7.0}, {"-3", 3.0}};
    for (bool byFocus : {false, true}) {
        for (const auto& row : rows) {
            SCOPED_TRACE(testing::Message() << "'" << row.typed << "'" << (byFocus ? " focus out" : " Return"));
            QWidget owner;
            auto* box = new EditBox(&owner);
            auto* other = new QLineEdit(&owner);
            auto* layout = new QVBoxLayout(&owner);
            layout->addWidget(box);
            layout->addWidget(other);
            box->setDecimals(3);
            box->setRange(0.001, 100.0);
            box->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
            box->setValue(2.5);
            owner.show();
            QApplication::setActiveWindow(&owner);
            box->setFocus();
            box->selectAll();
            QTest::keyClick(box, Qt::Key_Delete);
            QTest::keyClicks(box, row.typed);
            if (byFocus)
                other->setFocus();
            else
                QTest::keyClick(box, Qt::Key_Return);
            EXPECT_DOUBLE_EQ(box->value(), row.expected);
            EXPECT_EQ(box->text(), QString::number(row.expected, 'f', 3));
        }
    }
}

// In the panel too, and in the one body row whose box is a plain spin box.
TEST(EditBox, AnEmptiedBodyRowChangesNothing)
{
    Edit e;
    e.view->setVelocityDirection({30.0f, 30.0f}, {0, 1});
    e.view->selectBodies({0, 1});
    QApplication::setActiveWindow(e.window.get());
    const Ui::ZolvarDlgClass& ui = e.view->form();
    const struct
    {
        QDoubleSpinBox* box;
        const char* typed;
        const char* shown;
    } rows[] = {{ui.densityEt, "", "1.000"},
                {ui.velocityDirectionEt, "", "30.000"},
                {ui.velocityDirectionEt, "-", "30.000"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.box->objectName().toStdString() + " '" + row.typed + "'");
        for (bool byFocus : {false, true}) {
            row.box->setFocus();
            row.box->selectAll();
            QTest::keyClick(row.box, Qt::Key_Delete);
            QTest::keyClicks(row.box, row.typed);
            if (byFocus)
                ui.frictionEt->setFocus();
            else
                QTest::keyClick(row.box, Qt::Key_Return);
            EXPECT_EQ(row.box->text(), QLatin1String(row.shown));
        }
    }
    for (int b : {0, 1}) {
        EXPECT_EQ(e.view->bodies[size_t(b)].density, 1.0f);
        EXPECT_EQ(e.view->bodies[size_t(b)].linearVelocityDirection, 30.0f);
    }
    EXPECT_EQ(e.stack->count(), 0);
}

TEST(UndoView, ClearEmptiesTheHistoryAndKeepsEveryValue)
{
    Edit e;
    e.view->selectBodies({0});
    e.view->form().frictionEt->setValue(0.9);
    emit e.view->form().frictionEt->editingFinished();
    e.view->form().timeDividerEt->setValue(10.0);
    emit e.view->form().timeDividerEt->editingFinished();
    ASSERT_EQ(e.stack->count(), 2);
    UndoView* history = e.window->historyView();
    ASSERT_NE(history->clearAction(), nullptr);
    EXPECT_EQ(history->clearAction()->text(), "Clear");
    history->clearAction()->trigger();
    EXPECT_EQ(e.stack->count(), 0);
    EXPECT_FALSE(e.stack->canUndo());
    EXPECT_EQ(e.view->bodies[0].friction, 0.9f);
    EXPECT_EQ(e.view->form().timeDividerEt->value(), 10.0);
    EXPECT_EQ(e.view->form().frictionSld->fromVal, e.view->form().frictionSld->value());
    // The next edit still starts from the value as set, not the slider's 5.0.
    e.view->form().timeDividerEt->setValue(2.0);
    emit e.view->form().timeDividerEt->editingFinished();
    e.stack->undo();
    EXPECT_EQ(e.view->form().timeDividerEt->value(), 10.0);
}

TEST(MenuTables, AClickBelowTheLastRowOpensNothingAndClearsTheSelection)
{
    Edit e;
    auto* table = qobject_cast<BodiesTableView*>(e.view->form().bodiesTable);
    ASSERT_NE(table, nullptr);
    QMenu menu;
    bool opened = false;
    QObject::connect(&menu, &QMenu::aboutToShow, [&] {
        opened = true;
        QTimer::singleShot(0, &menu, &QMenu::close);
    });
    table->setContextMenu(&menu);
    table->selectRow(1);
    ASSERT_FALSE(table->selectionModel()->selectedRows().isEmpty());
    const QPoint below(5, table->viewport()->height() - 2);
    ASSERT_FALSE(table->indexAt(below).isValid());
    QTest::mousePress(table->viewport(), Qt::RightButton, Qt::NoModifier, below);
    EXPECT_TRUE(table->selectionModel()->selectedRows().isEmpty());
    table->openMenu(below);
    EXPECT_FALSE(opened);
    const QPoint onRow = table->visualRect(table->model()->index(0, 0)).center();
    table->openMenu(onRow);
    EXPECT_TRUE(opened);

    // The snapshot strip behaves the same.
    auto* strip = qobject_cast<QuickPresetsTableView*>(e.view->form().quickPresetsTable);
    ASSERT_NE(strip, nullptr);
    strip->setContextMenu(&menu);
    opened = false;
    strip->openMenu(QPoint(2, 2));
    EXPECT_FALSE(opened);
}

TEST(ShortcutsTable, FindsItsDialog)
{
    window_test::isolatedHome();
    QWidget dialog;
    dialog.setObjectName("KeyboardShortcutsDlgClass");
    QWidget page(&dialog);
    ShortcutsTableView table(&page);
    EXPECT_EQ(table.dialog(), &dialog);
    EXPECT_EQ(table.parentWidget(), nullptr);
    ShortcutsTableView lost(nullptr);
    EXPECT_EQ(lost.dialog(), nullptr);
}

TEST(ResetButtons, EveryButtonReachesAViewSlot)
{
    std::vector<std::string> properties;
#define ZOLVAR_COLLECT(Property, button) properties.push_back(#Property);
    ZOLVAR_RESET_BUTTONS(ZOLVAR_COLLECT)
#undef ZOLVAR_COLLECT
    EXPECT_EQ(properties.size(), 47u);
    for (const std::string& p : properties) {
        const std::string slot = "reset" + p + "()";
        EXPECT_GE(SimulationView::staticMetaObject.indexOfMethod(slot.c_str()), 0) << slot;
    }
}

// The information hooks are the simulation's; a derived class names them.
struct InfoAccess : SimulationView
{
    static auto frameInfo() { return &InfoAccess::setFrameInfo; }
    static auto fpsInfo() { return &InfoAccess::setFpsInfo; }
};

TEST(InfoTexts, RotationFramesAndRates)
{
    Edit e;
    const Ui::ZolvarDlgClass& ui = e.view->form();
    MyBody& body = e.view->bodies[1];
    body.rotationIsRelative = false;
    body.angle = -400.0f / 57.295776f;
    e.view->showBodyInfo(1);
    EXPECT_TRUE(ui.infoSt->text().startsWith("Body Index: 2\nPolygons: 1\n")) << ui.infoSt->text().toStdString();
    EXPECT_TRUE(ui.infoSt->text().endsWith(QString("Rotation: -40.0") + QChar(176))) << ui.infoSt->text().toStdString();
    body.angle = float(2.0 * M_PI);
    e.view->showBodyInfo(1);
    EXPECT_TRUE(ui.infoSt->text().endsWith(QString("Rotation: 0.0") + QChar(176))) << ui.infoSt->text().toStdString();
    e.view->clearInfo();
    EXPECT_TRUE(ui.infoSt->text().isEmpty());

    const auto frame = InfoAccess::frameInfo();
    (e.view->*frame)(0);
    EXPECT_EQ(ui.frameSt->text(), "00000");
    (e.view->*frame)(42);
    EXPECT_EQ(ui.frameSt->text(), "00042");
    (e.view->*frame)(123456);
    EXPECT_EQ(ui.frameSt->text(), "123456");

    const auto fps = InfoAccess::fpsInfo();
    (e.view->*fps)(0.0);
    EXPECT_EQ(ui.fpsSt->text(), "00.0/25.0");
    e.view->fps = 29.97;
    (e.view->*fps)(9.5);
    EXPECT_EQ(ui.fpsSt->text(), "09.5/30.0");
}

TEST(GravityHandle, ADirectionThatIsNotFiniteDrawsNoHandleAndNeverHangs)
{
    Edit e;
    e.view->setGravityDirection(-std::numeric_limits<float>::infinity());
    e.view->setGravityDirection(std::numeric_limits<float>::quiet_NaN());
    e.window->gravityPad()->repaint();
    e.gl->repaint();
    e.view->setGravityDirection(-400.0f);
    // -400 degrees points where 320 does.
    const QPointF tip = e.window->gravityPad()->gravityPoint();
    EXPECT_NEAR(std::atan2(tip.y(), tip.x()) * 180.0 / M_PI, -40.0, 1e-3);
}

} // namespace
