// The warning box: the answer of "Don't show this message again", the icon
// by theme and the fixed size.
#include "../mainwindow/TestApp.h"

#include "dialogs/ErrorDlg.h"
#include "dialogs/ModalDlgFlags.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLayout>
#include <QTimer>
#include <QToolButton>

namespace {

// Runs the dialog modally the way its callers do, ticking the box or not
// before pressing OK; returns getShowAgain().
bool answer(bool tick)
{
    testApp();
    ErrorDlg dialog(nullptr, getModalDlgFlags(), 0, QStringLiteral("Heavy bodies"));
    dialog.setDontShowAgainCbVal(false);
    QTimer::singleShot(0, &dialog, [&] {
        dialog.dontShowAgainBox()->setChecked(tick);
        dialog.okButton()->click();
    });
    dialog.exec();
    return dialog.getShowAgain();
}

TEST(WarningDialog, TheChoiceIsRemembered)
{
    EXPECT_TRUE(answer(false));
    EXPECT_FALSE(answer(true));
}

TEST(WarningDialog, FormAndFlags)
{
    testApp();
    EXPECT_EQ(getModalDlgFlags(), Qt::WindowFlags(Qt::WindowTitleHint));
    ErrorDlg dialog(nullptr, getModalDlgFlags(), 2, QStringLiteral("A message"));
    EXPECT_EQ(dialog.windowTitle(), "Warning");
    EXPECT_EQ(dialog.objectName(), "ErrorDlgClass");
    EXPECT_EQ(dialog.messageLabel()->text(), "A message");
    EXPECT_TRUE(dialog.messageLabel()->wordWrap());
    EXPECT_EQ(dialog.dontShowAgainBox()->text(), "Don't show this message again");
    EXPECT_TRUE(dialog.dontShowAgainBox()->isChecked());
    EXPECT_EQ(dialog.layout()->sizeConstraint(), QLayout::SetFixedSize);
    EXPECT_EQ(dialog.okButton()->size(), QSize(75, 20));
    // Closed without OK, the dialog still answers: show again.
    EXPECT_TRUE(dialog.getShowAgain());

    const QImage white = QPixmap(QStringLiteral(":/images/alert_big_white.png")).toImage();
    const QImage plain = QPixmap(QStringLiteral(":/images/alert_big.png")).toImage();
    ASSERT_FALSE(white.isNull());
    EXPECT_EQ(dialog.logoLabel()->pixmap().toImage(), white);
    dialog.setTheme(7);
    EXPECT_EQ(dialog.logoLabel()->pixmap().toImage(), plain);
}

} // namespace
