// The preferences dialog, at the size it takes by itself, in the application's
// own style and font, shows every label and control of each of its three
// pages whole.
#include "mainwindow/WidgetFit.h"
#include "mainwindow/WindowFixture.h"

#include "dialogs/ModalDlgFlags.h"
#include "dialogs/PreferencesDlg.h"
#include "host/ZolvarGUI.h"

#include <gtest/gtest.h>

#include <QStyleFactory>

namespace {

TEST(PreferencesFit, EveryPageIsWholeAtTheDialogsOwnSize)
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    setAppFont(&testApp());
    window_test::clearLayoutStore();
    auto host = window_test::makeHost();
    auto window = window_test::makeWindow(*host);
    window->simulationView()->getTimer()->stop();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));

    for (int theme = 0; theme < 3; ++theme) {
        PreferencesDlg dialog(window.get(), getModalDlgFlags(), host->session->basicSuite(), window->simulationView());
        window->loadStyleSheet(theme);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        widget_fit::settle(&dialog);
        const auto& ui = dialog.form();
        QStringList found;
        for (int page = 0; page < ui.prefsSectionList->count(); ++page) {
            ui.prefsSectionList->setCurrentRow(page);
            widget_fit::settle(&dialog);
            ASSERT_EQ(ui.prefsStackedWidget->currentIndex(), page);
            found << widget_fit::clipped(&dialog, &dialog,
                                         QStringLiteral("theme %1 / %2").arg(theme).arg(ui.prefsSectionList->item(page)->text()));
        }
        EXPECT_EQ(found.join(QLatin1Char('\n')), QString());
        dialog.reject();
    }
    window->loadStyleSheet(0);
}

} // namespace
