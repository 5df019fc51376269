// The keyboard shortcuts card and the about box, alone and from the main
// window's menu commands.
#include "mainwindow/ModalAnswer.h"
#include "mainwindow/RealPointer.h"
#include "mainwindow/WindowFixture.h"

#include "dialogs/AboutDlg.h"
#include "dialogs/KeyboardShortcutsDlg.h"
#include "dialogs/ModalDlgFlags.h"
#include "properties/ShortcutsTableView.h"
#include "simulation/SimulationView.h"

#include <QAction>
#include <QGraphicsOpacityEffect>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QStandardItemModel>
#include <QTimer>
#include <QTest>

namespace {

struct Cell
{
    int row;
    int column;
    const char* text;
};

// Samples from every column of the card, titles and entries, with the key
// names of this platform (on macOS: Cmd for Ctrl, and Cmd ? for the guide).
const Cell kCells[] = {
    {0, 0, "Set body type"},
    {1, 0, "S"},
    {1, 1, "Static"},
    {15, 0, "Alt W"},
    {20, 0, "Space bar"},
    {27, 0, "1 or Page Down"},
    {28, 1, "Repeat from 0 to current frame"},
    {0, 2, "Move selected bodies"},
    {4, 2, "Shift +/-"},
    {8, 2, ""},
    {8, 3, "Move anchors of selected distance joints"},
    {11, 2, "Ctrl move"},
    {16, 2, "Ctrl Alt Shift Click"},
    {16, 3, "Triangulation"},
    {26, 2, "Ctrl Alt 1"},
    {27, 3, "Reset to default layout"},
    {0, 4, "File menu commands"},
    {7, 4, "Ctrl Alt P"},
    {7, 5, "Pereferences"},
    {8, 4, "Alt ."},
    {10, 4, "F1"},
    {13, 5, "Increase/decrease line width of open shapes"},
    {15, 4, "Ctrl Alt Q"},
    {15, 5, "Quit Zolvar"},
};

QString onThisPlatform(const char* text)
{
    QString keys = QString::fromLatin1(text);
#ifdef Q_OS_MACOS
    keys.replace(QStringLiteral("Ctrl"), QStringLiteral("Cmd"));
    if (keys == QLatin1String("F1"))
        keys = QStringLiteral("Cmd ?");
#endif
    return keys;
}

const QStandardItemModel* cardModel(const KeyboardShortcutsDlg& dialog)
{
    return qobject_cast<const QStandardItemModel*>(dialog.form().shortcutsTable->model());
}

TEST(KeyboardShortcutsDlg, TheCardHoldsTheFixedEntries)
{
    window_test::isolatedHome();
    const std::vector<ShortcutItem> items = KeyboardShortcutsDlg::shortcutItems();
    ASSERT_EQ(items.size(), 73u);
    std::vector<int> titles;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].isSectionTitle) {
            titles.push_back(int(i));
            EXPECT_TRUE(items[i].shortcut.isEmpty());
        }
    EXPECT_EQ(titles, (std::vector<int>{0, 7, 13, 17, 24, 29, 34, 41, 46, 57, 60, 63, 68}));

    KeyboardShortcutsDlg dialog(nullptr, getModalDlgFlags(), 0);
    EXPECT_EQ(dialog.objectName(), "KeyboardShortcutsDlgClass");
    EXPECT_EQ(dialog.windowTitle(), "Keyboard Shortcuts");
    EXPECT_EQ(dialog.form().shortcutsTable->dialog(), &dialog);
    const QStandardItemModel* model = cardModel(dialog);
    ASSERT_TRUE(model);
    EXPECT_EQ(model->rowCount(), 29);
    EXPECT_EQ(model->columnCount(), 6);
    for (const Cell& cell : kCells) {
        const QStandardItem* item = model->item(cell.row, cell.column);
        ASSERT_TRUE(item) << cell.row << "," << cell.column;
        EXPECT_EQ(item->text(), onThisPlatform(cell.text)) << cell.row << "," << cell.column;
    }
    // The shorter pairs end where their entries end.
    EXPECT_TRUE(model->item(28, 2) == nullptr && model->item(16, 4) == nullptr);
    EXPECT_TRUE(model->item(27, 2) != nullptr && model->item(15, 4) != nullptr);
    EXPECT_EQ(model->horizontalHeaderItem(0)->text(), "Shortcut");
    EXPECT_EQ(model->horizontalHeaderItem(5)->text(), "Action");

    const ShortcutsTableView* table = dialog.form().shortcutsTable;
    // The usual widths, wider where this platform's fonts need the room
    // (DialogsFit checks that every text is whole).
    const int widths[5] = {140, 210, 140, 260, 130};
    for (int column = 0; column < 5; ++column)
        EXPECT_GE(table->columnWidth(column), widths[column]) << column;
    EXPECT_TRUE(table->horizontalHeader()->stretchLastSection());
    EXPECT_TRUE(table->horizontalHeader()->isHidden());
    EXPECT_EQ(table->verticalHeader()->defaultSectionSize(), dialog.fontMetrics().height() + 4);
    EXPECT_EQ(table->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(table->selectionMode(), QAbstractItemView::NoSelection);
    EXPECT_FALSE(table->showGrid());
}

TEST(KeyboardShortcutsDlg, ColoursFollowTheTheme)
{
    window_test::isolatedHome();
    struct Row
    {
        int theme;
        QColor titleBg;
        QColor titleFore;
        QColor keys;
    };
    const Row rows[] = {
        {0, {44, 44, 44}, {225, 225, 225}, {191, 140, 0}},
        {1, {78, 78, 78}, {237, 237, 237}, {191, 140, 0}},
        {2, {217, 217, 217}, {0, 0, 0}, {0, 153, 255}},
        {7, {44, 44, 44}, {225, 225, 225}, {191, 140, 0}},
    };
    for (const Row& row : rows) {
        KeyboardShortcutsDlg dialog(nullptr, getModalDlgFlags(), row.theme);
        const QStandardItemModel* model = cardModel(dialog);
        EXPECT_EQ(model->item(7, 0)->background().color(), row.titleBg) << row.theme;
        EXPECT_EQ(model->item(7, 0)->foreground().color(), row.titleFore) << row.theme;
        EXPECT_EQ(model->item(7, 1)->background().color(), row.titleBg) << row.theme;
        EXPECT_EQ(model->item(7, 1)->text(), "");
        EXPECT_EQ(model->item(1, 2)->foreground().color(), row.keys) << row.theme;
        EXPECT_EQ(model->item(1, 2)->textAlignment() & Qt::AlignRight, Qt::AlignRight);
        EXPECT_EQ(model->item(1, 3)->foreground().style(), Qt::NoBrush) << "actions in the default colour";
    }
}

TEST(KeyboardShortcutsDlg, APressClosesItAndItReopensWhereItWasLeft)
{
    window_test::isolatedHome();
    window_test::layoutStore().remove("keyboardShortcutsDlgGeometry");
    QPoint where;
    {
        KeyboardShortcutsDlg dialog(nullptr, getModalDlgFlags(), 0);
        dialog.show();
        (void)QTest::qWaitForWindowExposed(&dialog);
        dialog.move(dialog.pos() + QPoint(37, 23));
        QTest::qWait(50);
        where = dialog.pos();
        QTest::mousePress(&dialog, Qt::RightButton, Qt::NoModifier, QPoint(3, 3));
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_TRUE(window_test::layoutStore().contains("keyboardShortcutsDlgGeometry"));
    }
    KeyboardShortcutsDlg again(nullptr, getModalDlgFlags(), 0);
    again.show();
    (void)QTest::qWaitForWindowExposed(&again);
    EXPECT_EQ(again.pos(), where);
    EXPECT_EQ(again.size(), again.sizeHint()) << "the size stays fixed";
}

// A press of any button on the card's table closes the card, as one at its
// margin does.
TEST(KeyboardShortcutsDlg, APressOnItsTableClosesIt)
{
    SKIP_WITHOUT_REAL_POINTER();
    auto host = window_test::makeHost();
    auto window = window_test::makeWindow(*host);
    window_test::showStill(*window);
    for (const char* button : {"1", "3"}) {
        bool closedByThePress = false;
        whenShown<KeyboardShortcutsDlg>([&](KeyboardShortcutsDlg& dialog) {
            (void)QTest::qWaitForWindowExposed(&dialog);
            const QWidget* cells = dialog.form().shortcutsTable->viewport();
            const QPoint at = cells->mapToGlobal(cells->rect().center());
            EXPECT_EQ(QApplication::widgetAt(at), cells);
            (void)real_pointer::xdotool(real_pointer::moveTo(at) << "click" << button);
            closedByThePress = !dialog.isVisible();
            dialog.close();
        });
        window->form().showKeyboardShortcuts->trigger();
        EXPECT_TRUE(closedByThePress) << "button " << button;
    }
}

TEST(AboutDlg, NameDescriptionLogoAndClicks)
{
    window_test::isolatedHome();
    for (int theme : {0, 1, 2, 7}) {
        AboutDlg dialog(nullptr, Qt::SplashScreen, theme);
        EXPECT_EQ(dialog.objectName(), "AboutDlgClass");
        EXPECT_EQ(dialog.form().nameSt->text(), "Zolvar 2.1.22");
        EXPECT_TRUE(dialog.form().nameSt->font().bold());
        EXPECT_EQ(dialog.form().descriptionSt->text(), "2D layer-based physics simulator.");
        EXPECT_NEAR(dialog.windowOpacity(), 0.95, 0.005);
        const QString logo =
            theme == 2 ? ":/images/qorv_logo_black.png" : ":/images/qorv_logo_white.png";
        EXPECT_EQ(dialog.form().logoSt->pixmap().toImage(), QImage(logo).convertToFormat(
                                                                 dialog.form().logoSt->pixmap().toImage().format()))
            << theme;
    }

    for (Qt::MouseButton button : {Qt::MiddleButton, Qt::LeftButton, Qt::RightButton}) {
        AboutDlg dialog(nullptr, Qt::SplashScreen, 0);
        dialog.show();
        (void)QTest::qWaitForWindowExposed(&dialog);
        QTest::mousePress(&dialog, button, Qt::NoModifier, QPoint(5, 5));
        EXPECT_EQ(dialog.isVisible(), button == Qt::MiddleButton) << int(button);
    }

    AboutDlg dialog(nullptr, Qt::SplashScreen, 0);
    dialog.fadeIn(dialog.form().nameSt, 30);
    auto* effect = qobject_cast<QGraphicsOpacityEffect*>(dialog.form().nameSt->graphicsEffect());
    ASSERT_TRUE(effect);
    EXPECT_LT(effect->opacity(), 0.5);
    QTRY_COMPARE(effect->opacity(), 1.0);
}

// The card names each key as the window's own commands are bound here.
TEST(KeyboardShortcutsDlg, TheKeysAreNamedAsTheWindowBindsThem)
{
    window_test::isolatedHome();
    auto host = window_test::makeHost();
    auto window = window_test::makeWindow(*host);
    window->simulationView()->getTimer()->stop();
    const Ui::ZolvarDlgClass& ui = window->form();
    KeyboardShortcutsDlg dialog(window.get(), getModalDlgFlags(), 0);
    const QStandardItemModel* model = cardModel(dialog);
    ASSERT_TRUE(model);

    const auto keysOf = [&](const QString& action) {
        for (int row = 0; row < model->rowCount(); ++row)
            for (int column = 1; column < 6; column += 2)
                if (const QStandardItem* item = model->item(row, column); item && item->text() == action)
                    return model->item(row, column - 1)->text();
        return QStringLiteral("(no entry)");
    };
    // As the platform spells the binding, with blanks between the keys.
    const auto spelled = [](const QAction* action) {
        return action->shortcut().toString(QKeySequence::NativeText).replace(QLatin1Char('+'), QLatin1Char(' '));
    };
#ifndef Q_OS_MACOS
    EXPECT_EQ(keysOf(QStringLiteral("Pereferences")), spelled(ui.showPreferences));
    EXPECT_EQ(keysOf(QStringLiteral("Randomizer")), spelled(ui.onRandomizer));
    EXPECT_EQ(keysOf(QStringLiteral("Quit Zolvar")), spelled(ui.onQuitZolvar));
    EXPECT_EQ(keysOf(QStringLiteral("Toggle all")), spelled(ui.toggleAll));
    EXPECT_EQ(keysOf(QStringLiteral("User's guide")), spelled(ui.showDocumentation));
    EXPECT_EQ(keysOf(QStringLiteral("Keyboard shortcuts")), spelled(ui.showKeyboardShortcuts));
    for (int row = 0; row < model->rowCount(); ++row)
        for (int column = 0; column < 6; column += 2)
            if (const QStandardItem* item = model->item(row, column))
                EXPECT_FALSE(item->text().contains(QLatin1String("Cmd"))) << item->text().toStdString();
#endif
}

TEST(ReferenceDialogs, TheMenuCommandsOpenThemWithTheWindowsThemeAndFlags)
{
    auto host = window_test::makeHost();
    auto window = window_test::makeWindow(*host);
    window->simulationView()->getTimer()->stop();
    window->setTheme(2);

    QWidget* parent = nullptr;
    Qt::WindowFlags flags;
    QColor keyColor;
    whenShown<KeyboardShortcutsDlg>([&](KeyboardShortcutsDlg& dialog) {
        parent = dialog.parentWidget();
        flags = dialog.windowFlags();
        keyColor = cardModel(dialog)->item(1, 0)->foreground().color();
        dialog.close();
    });
    window->form().showKeyboardShortcuts->trigger();
    EXPECT_EQ(parent, window.get());
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_EQ(keyColor, QColor(0, 153, 255));
    EXPECT_EQ(window->form().showKeyboardShortcuts->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Period));

    QString logoKey;
    whenShown<AboutDlg>([&](AboutDlg& dialog) {
        parent = dialog.parentWidget();
        flags = dialog.windowFlags();
        logoKey = QString::number(dialog.form().logoSt->pixmap().cacheKey());
        QTest::mouseClick(&dialog, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    });
    window->form().showAbout->trigger();
    EXPECT_EQ(parent, window.get());
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::SplashScreen);
    EXPECT_FALSE(logoKey.isEmpty());
    EXPECT_TRUE(window->findChildren<QDialog*>().isEmpty()) << "each dialog is deleted after its run";
}

} // namespace
