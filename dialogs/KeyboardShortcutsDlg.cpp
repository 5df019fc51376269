#include "dialogs/KeyboardShortcutsDlg.h"

#include "dialogs/ThemeColors.h"
#include "mainwindow/Themes.h"
#include "mainwindow/UndoKeys.h"
#include "mainwindow/WindowSettingsStore.h"

#include "properties/ShortcutsTableView.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QStandardItem>
#include <QStandardItemModel>
#include <QStyle>

#include <algorithm>

namespace {

constexpr char kGeometryKey[] = "keyboardShortcutsDlgGeometry";

// Where each column pair's entries start, and how many it holds.
struct Column
{
    int first;
    int count;
};
constexpr Column kColumns[3] = {{0, 29}, {29, 28}, {57, 16}};

} // namespace

QString KeyboardShortcutsDlg::commandKeyName()
{
    // Qt's Control modifier is the Command key on macOS and Ctrl elsewhere.
#ifdef Q_OS_MACOS
    return QStringLiteral("Cmd");
#else
    return QStringLiteral("Ctrl");
#endif
}

QString KeyboardShortcutsDlg::guideKeyText()
{
#ifdef Q_OS_MACOS
    return QStringLiteral("Cmd ?");
#else
    return QStringLiteral("F1");
#endif
}

QString KeyboardShortcutsDlg::keyText(const QKeySequence& keys)
{
    // Qt's portable names spell Qt's Control modifier "Ctrl" everywhere.
    QString text = keys.toString(QKeySequence::PortableText);
    text.replace(QLatin1Char('+'), QLatin1Char(' '));
    text.replace(QLatin1String("Ctrl"), commandKeyName());
    return text;
}

std::vector<ShortcutItem> KeyboardShortcutsDlg::shortcutItems()
{
    const QString cmd = commandKeyName();
    auto title = [](const char* text) { return ShortcutItem(QString::fromLatin1(text), QString(), true); };
    auto entry = [](const QString& keys, const char* action) {
        return ShortcutItem(QString::fromLatin1(action), keys, false);
    };
    auto key = [](const char* text) { return QString::fromLatin1(text); };
    return {
        title("Set body type"),
        entry(key("S"), "Static"),
        entry(key("K"), "Kinematic"),
        entry(key("D"), "Dynamic"),
        entry(key("A"), "Dormant"),
        entry(key("M"), "AEmatic"),
        entry(key("E"), "Dead"),
        title("Select bodies"),
        entry(key("C"), "With the same color"),
        entry(key("L"), "With the same label"),
        entry(key("Q"), "With the same collision group"),
        entry(key("T"), "With the same type"),
        entry(key("I"), "Invert selection"),
        title("Select joints"),
        entry(key("W"), "Select joints of selected bodies"),
        entry(key("Alt W"), "Remove joints of selected bodies"),
        entry(key("F"), "Select joints with the same type"),
        title("Select tools"),
        entry(key("V"), "Selection tool"),
        entry(key("H"), "Hand tool"),
        entry(key("Space bar"), "Select temporarily the hand tool"),
        entry(key("Y"), "Joint anchor tool"),
        entry(key("G"), "Gravity tool"),
        entry(key("P"), "Velocity tool"),
        title("Simulation commands"),
        entry(key("0"), "Play/Pause"),
        entry(key("Home"), "Go to first frame"),
        entry(key("1 or Page Down"), "Go to next frame"),
        entry(key("2"), "Repeat from 0 to current frame"),

        title("Move selected bodies"),
        entry(key("Arrow Keys"), "Move by 1 pixel"),
        entry(key("Shift Arrow Keys"), "Move by 10 pixels"),
        entry(key("+/-"), "Rotate by 1 degree"),
        entry(key("Shift +/-"), "Rotate by 10 degrees"),
        title("Joint anchors"),
        entry(key("X"), "Move AEmatic anchor to center of mass"),
        entry(key("Alt move"), "Relative move of selected AEmatic anchors"),
        entry(QString(), "Move anchors of selected distance joints"),
        entry(QString(), "Relative move of selected pivot joints"),
        entry(QString(), "Move anchors of selected spring joints"),
        entry(cmd + key(" move"), "Snap anchor to nearest contour vertex"),
        title("Create distance joints"),
        entry(key("Alt Click"), "Shortest distance"),
        entry(key("Alt Shift Click"), "Shortest distance on anchorA-anchorB line"),
        entry(cmd + key(" Alt Click"), "Between every pair"),
        entry(cmd + key(" Alt Shift Click"), "Triangulation"),
        title("Show or hide panels"),
        entry(key("Alt 1"), "Bodies"),
        entry(key("Alt 2"), "Joints"),
        entry(key("Alt 3"), "Global properties"),
        entry(key("Alt 4"), "Body properties"),
        entry(key("Alt 5"), "Joint properties"),
        entry(key("Alt 6"), "Export"),
        entry(key("Alt 7"), "Info"),
        entry(key("Alt 8"), "Actions history"),
        entry(cmd + key(" Alt 1"), "Toggle all"),
        entry(key("Alt 0"), "Reset to default layout"),

        title("File menu commands"),
        entry(key("Alt O"), "Load settings"),
        entry(key("Alt S"), "Save settings"),
        title("Edit menu commands"),
        entry(keyText(undoKeys()), "Undo"),
        entry(keyText(redoKeys()), "Redo"),
        title("Auxiliary dialogs"),
        entry(cmd + key(" Alt P"), "Pereferences"),
        entry(key("Alt ."), "Keyboard shortcuts"),
        entry(cmd + key(" Alt Shift R"), "Randomizer"),
        entry(guideKeyText(), "User's guide"),
        title("Miscellaneous"),
        entry(key("Delete or Backspace"), "Remove selected scene presets"),
        entry(cmd + key(" Alt Shift +/-"), "Increase/decrease line width of open shapes"),
        entry(key("Z"), "Reset pan and zoom"),
        entry(cmd + key(" Alt Q"), "Quit Zolvar"),
    };
}

KeyboardShortcutsDlg::KeyboardShortcutsDlg(QWidget* parent, Qt::WindowFlags flags, int theme)
    : QDialog(parent, flags)
{
    ui.setupUi(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    populateTable(theme);
    // Opens where it was last closed; the size is fixed.
    restoreDlgSettings();
}

KeyboardShortcutsDlg::~KeyboardShortcutsDlg() = default;

void KeyboardShortcutsDlg::populateTable(int theme)
{
    auto* model = new QStandardItemModel(this);
    for (int p = 0; p < 3; ++p) {
        auto* shortcut = new QStandardItem(QStringLiteral("Shortcut"));
        shortcut->setTextAlignment(Qt::AlignRight);
        auto* action = new QStandardItem(QStringLiteral("Action"));
        action->setTextAlignment(Qt::AlignLeft);
        model->setHorizontalHeaderItem(2 * p, shortcut);
        model->setHorizontalHeaderItem(2 * p + 1, action);
    }

    const QColor keyColor =
        theme == Theme::White ? WHITE_THEME_RUBBER_BAND_COLOR_DFLT : DARK_GRAY_THEME_RUBBER_BAND_COLOR_DFLT;
    QColor titleBg = DARK_GRAY_THEME_SECTION_TITLE_BG_COLOR_DFLT;
    QColor titleFore = DARK_GRAY_THEME_SECTION_TITLE_FORE_COLOR_DFLT;
    if (theme == Theme::LightGray) {
        titleBg = LIGHT_GRAY_THEME_SECTION_TITLE_BG_COLOR_DFLT;
        titleFore = LIGHT_GRAY_THEME_SECTION_TITLE_FORE_COLOR_DFLT;
    } else if (theme == Theme::White) {
        titleBg = WHITE_THEME_SECTION_TITLE_BG_COLOR_DFLT;
        titleFore = WHITE_THEME_SECTION_TITLE_FORE_COLOR_DFLT;
    }

    const std::vector<ShortcutItem> items = shortcutItems();
    for (int p = 0; p < 3; ++p)
        for (int row = 0; row < kColumns[p].count; ++row) {
            const ShortcutItem& item = items[size_t(kColumns[p].first + row)];
            auto* left = new QStandardItem;
            auto* right = new QStandardItem;
            left->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (item.isSectionTitle) {
                left->setText(item.action);
                left->setBackground(titleBg);
                left->setForeground(titleFore);
                right->setBackground(titleBg);
            } else {
                left->setText(item.shortcut);
                left->setForeground(keyColor);
                right->setText(item.action);
                right->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            }
            model->setItem(row, 2 * p, left);
            model->setItem(row, 2 * p + 1, right);
        }

    ui.shortcutsTable->setModel(model);
    ui.shortcutsTable->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    fitTableToTexts();
}

void KeyboardShortcutsDlg::fitTableToTexts()
{
    // The texts are measured in the font the table draws them in, which the
    // theme's style sheet sets (bold) when the table is polished.
    ShortcutsTableView* table = ui.shortcutsTable;
    table->ensurePolished();
    const QAbstractItemModel* model = table->model();
    if (!model)
        return;
    const QFontMetrics metrics(table->font());
    // An item view keeps this much room left and right of a cell's text;
    // styles differ in it, so a character more is left.
    const int margin = 2 * (table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1) +
                       metrics.averageCharWidth();
    std::vector<int> widths = {140, 210, 140, 260, 130, 0};
    for (int column = 0; column < model->columnCount() && column < int(widths.size()); ++column)
        for (int row = 0; row < model->rowCount(); ++row) {
            const QString text = model->index(row, column).data().toString();
            if (!text.isEmpty())
                widths[size_t(column)] = std::max(widths[size_t(column)], metrics.horizontalAdvance(text) + margin);
        }
    for (int column = 0; column < 5; ++column)
        table->setColumnWidth(column, widths[size_t(column)]);

    // The table grows beyond its least size where the texts need it: every
    // row and every column stays in view, the last one stretched to the rest.
    const int frame = 2 * table->frameWidth();
    int width = 0;
    for (int w : widths)
        width += w;
    const int height = model->rowCount() * table->verticalHeader()->defaultSectionSize();
    table->setMinimumSize(std::max(table->minimumWidth(), width + frame),
                          std::max(table->minimumHeight(), height + frame));
}

void KeyboardShortcutsDlg::mousePressEvent(QMouseEvent* /*event*/)
{
    close();
}

void KeyboardShortcutsDlg::closeEvent(QCloseEvent* event)
{
    saveDlgSettings();
    QDialog::closeEvent(event);
}

void KeyboardShortcutsDlg::saveDlgSettings()
{
    saveWidgetGeometry(*this, kGeometryKey);
}

void KeyboardShortcutsDlg::restoreDlgSettings()
{
    restoreWidgetGeometry(*this, kGeometryKey);
}
