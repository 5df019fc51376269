// The dialogs, at the size they take by themselves, in the application's own
// style and font, show every label and control whole: the preferences dialog
// on each of its pages in each theme, and the other dialogs as they open.
#include "mainwindow/WidgetFit.h"
#include "mainwindow/WindowFixture.h"

#include "dialogs/AboutDlg.h"
#include "dialogs/InputDlg1D.h"
#include "dialogs/InputDlg2D.h"
#include "dialogs/KeyboardShortcutsDlg.h"
#include "dialogs/ModalDlgFlags.h"
#include "dialogs/PreferencesDlg.h"
#include "dialogs/RandomizerDlg.h"
#include "host/ZolvarGUI.h"

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QStyle>
#include <QStyleFactory>
#include <QTableView>

#include <functional>

namespace {

// The main window in the look the plug-in gives its application.
struct Window
{
    Window()
    {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        setAppFont(&testApp());
        window_test::clearLayoutStore();
        host = window_test::makeHost();
        window = window_test::makeWindow(*host);
        window->simulationView()->getTimer()->stop();
        window->show();
        (void)QTest::qWaitForWindowExposed(window.get());
    }
    std::unique_ptr<window_test::Host> host;
    std::unique_ptr<ZolvarDlg> window;
};

TEST(DialogsFit, EveryPreferencesPageIsWholeInEveryTheme)
{
    Window w;
    auto& host = w.host;
    auto& window = w.window;

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

TEST(DialogsFit, TheOtherDialogsAreWhole)
{
    Window w;
    QWidget* parent = w.window.get();
    const Qt::WindowFlags flags = getModalDlgFlags();
    const std::vector<std::pair<const char*, std::function<QDialog*()>>> dialogs = {
        {"rotation", [&] { return new InputDlg1D(parent, flags, "Rotation", "Degrees:", -179.125); }},
        {"position", [&] { return new InputDlg2D(parent, flags, "Position", "X:", "Y:", 1920.5, -1080.25); }},
        {"randomizer", [&] { return new RandomizerDlg(parent, flags, 0, 0.5f); }},
        {"shortcuts", [&] { return new KeyboardShortcutsDlg(parent, flags, 0); }},
        {"about", [&] { return new AboutDlg(parent, Qt::SplashScreen, 0); }},
    };
    for (const auto& [name, make] : dialogs) {
        std::unique_ptr<QDialog> dialog(make());
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get())) << name;
        widget_fit::settle(dialog.get());
        EXPECT_EQ(widget_fit::clipped(dialog.get(), dialog.get(), QString::fromLatin1(name)).join(QLatin1Char('\n')),
                  QString());
        dialog->hide();
    }
}

// The shortcut card opened from the window shows every text of its table
// whole, in the font the theme gives the table, with every row and column in
// view.
TEST(DialogsFit, EveryTextOfTheShortcutCardIsWholeInEveryTheme)
{
    Window w;
    for (int theme = 0; theme < 3; ++theme) {
        w.window->loadStyleSheet(theme);
        KeyboardShortcutsDlg dialog(w.window.get(), getModalDlgFlags(), theme);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        widget_fit::settle(&dialog);
        const QTableView* table = dialog.form().shortcutsTable;
        const QAbstractItemModel* model = table->model();
        ASSERT_TRUE(model);
        EXPECT_TRUE(table->font().bold()) << "the theme's font is the one measured";
        const QFontMetrics metrics(table->font());
        // Room an item view keeps left and right of a cell's text.
        const int margin = 2 * (table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1);
        const QRect shown = table->viewport()->rect();
        QStringList cut;
        for (int row = 0; row < model->rowCount(); ++row)
            for (int column = 0; column < model->columnCount(); ++column) {
                const QModelIndex index = model->index(row, column);
                const QString text = index.data().toString();
                const QRect cell = table->visualRect(index);
                if (text.isEmpty())
                    continue;
                if (!shown.contains(cell) || metrics.horizontalAdvance(text) + margin > cell.width()
                    || metrics.height() > cell.height())
                    cut << QStringLiteral("theme %1: \"%2\" in %3 x %4")
                               .arg(theme)
                               .arg(text)
                               .arg(cell.width())
                               .arg(cell.height());
            }
        EXPECT_EQ(cut.join(QLatin1Char('\n')), QString());
        EXPECT_EQ(widget_fit::clipped(&dialog, &dialog, QStringLiteral("shortcuts")).join(QLatin1Char('\n')),
                  QString());
        EXPECT_FALSE(table->horizontalScrollBar()->isVisible());
        EXPECT_FALSE(table->verticalScrollBar()->isVisible());
        dialog.reject();
    }
    w.window->loadStyleSheet(0);
}

} // namespace
