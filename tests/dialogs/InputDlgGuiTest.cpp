// The one- and two-value input dialogs, run modally as their callers run
// them, driven by keys.
#include "../mainwindow/TestApp.h"

#include "dialogs/InputDlg1D.h"
#include "dialogs/InputDlg2D.h"
#include "dialogs/ModalDlgFlags.h"
#include "properties/EditBox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace {

// Runs the dialog with exec; `drive` acts once it is shown.
template <class Dialog>
void run(Dialog& dialog, const std::function<void()>& drive)
{
    QTimer::singleShot(0, &dialog, [&] {
        dialog.activateWindow();
        (void)QTest::qWaitForWindowActive(&dialog);
        drive();
        // Whatever the drive left open, nothing blocks the test.
        if (dialog.isVisible())
            QTimer::singleShot(500, &dialog, [&] { dialog.reject(); });
    });
    dialog.exec();
}

QWidget* focused() { return QApplication::focusWidget(); }

} // namespace

TEST(InputDlg1D, TypingReplacesTheSelectedValueAndReturnIsOK)
{
    testApp();
    InputDlg1D dialog(nullptr, getModalDlgFlags(), QStringLiteral("Rotation"), QStringLiteral("Degrees:"), 45.0);
    EXPECT_EQ(dialog.windowTitle(), "Rotation");
    EXPECT_EQ(dialog.form().xSt->text(), "Degrees:");
    EXPECT_EQ(dialog.getReturnCode(), 0);
    bool selectedAll = false;
    run(dialog, [&] {
        EXPECT_EQ(focused(), dialog.form().xEt);
        selectedAll = dialog.form().xEt->findChild<QLineEdit*>()->selectedText() == "45.000";
        QTest::keyClicks(focused(), "12,5");
        QTest::keyClick(focused(), Qt::Key_Return);
    });
    EXPECT_TRUE(selectedAll);
    EXPECT_EQ(dialog.getReturnCode(), 1);
    EXPECT_EQ(dialog.getX(), 12.5);
}

TEST(InputDlg1D, RoundsToThreeDecimalsClampsAndSteps)
{
    testApp();
    struct
    {
        double start;
        int key;
        Qt::KeyboardModifiers mods;
        double expected;
    } rows[] = {
        {1.23456, 0, Qt::NoModifier, 1.235},
        {2.0e7, 0, Qt::NoModifier, 16777200.0},
        {-2.0e7, 0, Qt::NoModifier, -16777200.0},
        {5.0, Qt::Key_Up, Qt::NoModifier, 6.0},
        {5.0, Qt::Key_Down, Qt::NoModifier, 4.0},
        {5.0, Qt::Key_Up, Qt::ShiftModifier, 15.0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.start);
        InputDlg1D dialog(nullptr, getModalDlgFlags(), QStringLiteral("T"), QStringLiteral("X:"), row.start);
        run(dialog, [&] {
            if (row.key)
                QTest::keyClick(focused(), Qt::Key(row.key), row.mods);
            dialog.form().okBtn->click();
        });
        EXPECT_EQ(dialog.getReturnCode(), 1);
        EXPECT_DOUBLE_EQ(dialog.getX(), row.expected);
    }
}

TEST(InputDlg1D, CancelEscapeAndCloseGiveZeroAndTheExactStartValue)
{
    testApp();
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way);
        InputDlg1D dialog(nullptr, getModalDlgFlags(), QStringLiteral("T"), QStringLiteral("X:"), 1.23456);
        run(dialog, [&] {
            QTest::keyClicks(focused(), "99");
            if (way == 0)
                dialog.form().cancelBtn->click();
            else if (way == 1)
                QTest::keyClick(focused(), Qt::Key_Escape);
            else
                dialog.close();
        });
        EXPECT_EQ(dialog.getReturnCode(), 0);
        EXPECT_EQ(dialog.getX(), 1.23456);
    }
}

TEST(InputDlg2D, FocusStartsOnTheFirstFieldAndTabNeverReachesAButton)
{
    testApp();
    InputDlg2D dialog(nullptr, getModalDlgFlags(), QStringLiteral("Position"), QStringLiteral("X:"),
                      QStringLiteral("Y:"), 100.0, 200.0);
    EXPECT_EQ(dialog.form().ySt->text(), "Y:");
    std::vector<QWidget*> focusPath;
    run(dialog, [&] {
        focusPath.push_back(focused());
        QTest::keyClicks(focused(), "7");
        QTest::keyClick(focused(), Qt::Key_Tab);
        focusPath.push_back(focused());
        dialog.form().yEt->findChild<QLineEdit*>()->selectAll();
        QTest::keyClicks(focused(), "8");
        QTest::keyClick(focused(), Qt::Key_Tab);
        focusPath.push_back(focused());
        QTest::keyClick(focused(), Qt::Key_Enter);
    });
    ASSERT_EQ(focusPath.size(), 3u);
    EXPECT_EQ(focusPath[0], dialog.form().xEt);
    EXPECT_EQ(focusPath[1], dialog.form().yEt);
    EXPECT_NE(focusPath[2], dialog.form().okBtn);
    EXPECT_NE(focusPath[2], dialog.form().cancelBtn);
    EXPECT_EQ(dialog.form().okBtn->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(dialog.form().cancelBtn->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(dialog.getReturnCode(), 1);
    EXPECT_EQ(dialog.getX(), 7.0);
    EXPECT_EQ(dialog.getY(), 8.0);

    InputDlg2D cancelled(nullptr, getModalDlgFlags(), QStringLiteral("Position"), QStringLiteral("X:"),
                         QStringLiteral("Y:"), 0.1234, -5.6789);
    run(cancelled, [&] { QTest::keyClick(focused(), Qt::Key_Escape); });
    EXPECT_EQ(cancelled.getReturnCode(), 0);
    EXPECT_EQ(cancelled.getX(), 0.1234);
    EXPECT_EQ(cancelled.getY(), -5.6789);
}

TEST(InputDlgForms, SizesLocaleAndFields)
{
    testApp();
    InputDlg1D one(nullptr, getModalDlgFlags(), QString(), QString(), 0.0);
    InputDlg2D two(nullptr, getModalDlgFlags(), QString(), QString(), QString(), 0.0, 0.0);
    EXPECT_EQ(one.objectName(), "InputDlg1DClass");
    EXPECT_EQ(two.objectName(), "InputDlg2DClass");
    EXPECT_TRUE(one.isModal());
    EXPECT_FALSE(two.isSizeGripEnabled());
    for (EditBox* box : {one.form().xEt, two.form().xEt, two.form().yEt}) {
        EXPECT_EQ(box->decimals(), 3);
        EXPECT_EQ(box->minimum(), -16777200.0);
        EXPECT_EQ(box->maximum(), 16777200.0);
        EXPECT_EQ(box->buttonSymbols(), QAbstractSpinBox::NoButtons);
        EXPECT_EQ(box->correctionMode(), QAbstractSpinBox::CorrectToNearestValue);
        EXPECT_EQ(box->locale(), QLocale(QLocale::English, QLocale::UnitedStates));
    }
    EXPECT_TRUE(one.form().okBtn->isDefault());
}
