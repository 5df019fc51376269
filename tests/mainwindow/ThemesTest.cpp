// Loading the themes' style sheets: placeholders, fallback, failure.

#include "mainwindow/Themes.h"
#include "resources/Resources.h"
#include "TestApp.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>

#include <vector>

namespace {

struct Captured
{
    QtMsgType type;
    QString text;
};

std::vector<Captured>& captured()
{
    static std::vector<Captured> messages;
    return messages;
}

void capture(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    captured().push_back({type, text});
}

// Collects the Qt messages printed while it lives.
class MessageCatcher
{
public:
    MessageCatcher()
    {
        captured().clear();
        previous = qInstallMessageHandler(capture);
    }
    ~MessageCatcher() { qInstallMessageHandler(previous); }

private:
    QtMessageHandler previous;
};

QString sourceSheet(const char* file)
{
    QFile f(sourceDir() + "/resources/" + file);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

class ThemesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testApp().setStyleSheet(QString());
    }
    void TearDown() override { testApp().setStyleSheet(QString()); }
};

TEST_F(ThemesTest, EachThemeLoadsItsSheetWithThePlaceholdersFilled)
{
    const struct
    {
        int theme;
        const char* path;
        const char* file;
        const char* textColour;
    } themes[] = {
        {0, ":/Zolvar_darkgray.qss", "Zolvar_darkgray.qss", "rgb(161, 161, 161)"},
        {1, ":/Zolvar_lightgray.qss", "Zolvar_lightgray.qss", "rgb(221, 221, 221)"},
        {2, ":/Zolvar_white.qss", "Zolvar_white.qss", "rgb(51, 51, 51)"},
    };
    for (const auto& t : themes) {
        SCOPED_TRACE(t.file);
        EXPECT_EQ(styleSheetPath(t.theme), t.path);
        MessageCatcher catcher;
        ASSERT_TRUE(loadStyleSheet(testApp(), t.theme));
        EXPECT_TRUE(captured().empty());
        const QString sheet = testApp().styleSheet();
        EXPECT_FALSE(sheet.contains("%menu_"));
        EXPECT_EQ(sheet.count("font-family: \"Lucida Grande\""), 3);
        EXPECT_EQ(sheet.count("font-size: 12pt"), 3);
        EXPECT_TRUE(sheet.contains("color: " + QString(t.textColour)));
        // The built-in resource is the sheet in the source tree.
        const QString source = sourceSheet(t.file);
        ASSERT_FALSE(source.isEmpty());
        EXPECT_EQ(source.count("%menu_font_family%"), 3);
        EXPECT_EQ(source.count("%menu_font_size%pt"), 3);
        EXPECT_EQ(sheet, fillStyleSheet(source));
    }
}

TEST_F(ThemesTest, AnUnknownThemeLoadsTheDarkGraySheet)
{
    ASSERT_TRUE(loadStyleSheet(testApp(), 0));
    const QString dark = testApp().styleSheet();
    for (int theme : {3, -1, 7}) {
        testApp().setStyleSheet(QString());
        EXPECT_EQ(styleSheetPath(theme), ":/Zolvar_darkgray.qss") << theme;
        ASSERT_TRUE(loadStyleSheet(testApp(), theme));
        EXPECT_EQ(testApp().styleSheet(), dark) << theme;
    }
    // Loading twice gives the same sheet.
    ASSERT_TRUE(loadStyleSheet(testApp(), 0));
    EXPECT_EQ(testApp().styleSheet(), dark);
}

TEST_F(ThemesTest, AMissingSheetWarnsAndKeepsTheOldOne)
{
    const QString old = "QWidget { color: red; }";
    testApp().setStyleSheet(old);
    MessageCatcher catcher;
    EXPECT_FALSE(applyStyleSheet(testApp(), ":/Zolvar_missing.qss"));
    ASSERT_EQ(captured().size(), 1u);
    EXPECT_EQ(captured()[0].type, QtWarningMsg);
    EXPECT_EQ(captured()[0].text, "Unable to open application style sheet.");
    EXPECT_EQ(testApp().styleSheet(), old);
}

TEST_F(ThemesTest, PlaceholdersAreReplacedEverywhereAndCaseSensitively)
{
    EXPECT_EQ(fillStyleSheet("a %menu_font_family% b %menu_font_size%pt %menu_font_family%"),
              "a Lucida Grande b 12pt Lucida Grande");
    EXPECT_EQ(fillStyleSheet("%MENU_FONT_SIZE% %Menu_font_family%"), "%MENU_FONT_SIZE% %Menu_font_family%");
    EXPECT_EQ(fillStyleSheet(""), "");
}

TEST_F(ThemesTest, BaseColoursOfTheThreeSheets)
{
    // Element: the rule, and the colour in dark gray, light gray and white.
    const struct
    {
        const char* rule;
        const char* colour[3];
    } rows[] = {
        {"QWidget:disabled {\n    color: %1;", {"rgb(77, 77, 77)", "rgb(146, 146, 146)", "rgb(193, 193, 193)"}},
        {"QDialog {\n    background-color: %1;", {"rgb(38, 38, 38)", "rgb(89, 89, 89)", "rgb(242, 242, 242)"}},
        {"QDockWidget > QWidget {\n    background-color: %1;",
         {"rgb(38, 38, 38)", "rgb(51, 51, 51)", "rgb(242, 242, 242)"}},
        {"QMainWindow::separator {\n    background-color: %1;\n    width: 4px;\n    height: 4px;",
         {"rgb(18, 18, 18)", "rgb(51, 51, 51)", "rgb(102, 102, 102)"}},
        {"QDoubleSpinBox {\n    background-color: %1;", {"rgb(108, 108, 108)", "rgb(166, 166, 166)", "rgb(255, 255, 255)"}},
        {"QPlainTextEdit {\n    background-color: %1;", {"rgb(82, 82, 82)", "rgb(166, 166, 166)", "rgb(255, 255, 255)"}},
        {"QToolTip {\n    background: %1;",
         {"rgb(63, 63, 63)", "rgb(100, 100, 100)",
          "qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 white, stop: 1 rgb(228, 229, 240))"}},
        {"QMenu {\n    background-color: %1;\n    color: black;",
         {"rgb(240, 240, 240)", "rgb(240, 240, 240)", "rgb(242, 242, 242)"}},
    };
    for (int theme = 0; theme < 3; ++theme) {
        ASSERT_TRUE(loadStyleSheet(testApp(), theme));
        const QString sheet = testApp().styleSheet();
        for (const auto& row : rows)
            EXPECT_TRUE(sheet.contains(QString(row.rule).arg(row.colour[theme])))
                << theme << ": " << QString(row.rule).arg(row.colour[theme]).toStdString();
        EXPECT_TRUE(sheet.contains("QTableView#shortcutsTable {\n    background: transparent;\n    font-weight: bold;"));
        EXPECT_TRUE(sheet.contains("QMenuBar {\n    background-color: qlineargradient"));
        EXPECT_TRUE(sheet.contains("QDockWidget {\n    color:"));
    }
}

TEST_F(ThemesTest, ThemeImagesForCode)
{
    const char* joints[] = {"joint_distance", "joint_revolute", "joint_prismatic", "joint_spring"};
    for (int type = 0; type < 4; ++type) {
        const QString base = QString(":/images/") + joints[type];
        EXPECT_EQ(jointIconPath(0, type), base + ".png");
        EXPECT_EQ(jointIconPath(1, type), base + "_light.png");
        EXPECT_EQ(jointIconPath(2, type), base + "_white.png");
        EXPECT_EQ(jointIconPath(7, type), base + ".png");
        EXPECT_EQ(jointIconPath(-1, type), base + ".png");
    }
    EXPECT_TRUE(jointIconPath(0, 4).isEmpty());
    EXPECT_TRUE(jointIconPath(0, -1).isEmpty());

    EXPECT_EQ(bodyHeaderIconPath(2, 0), ":/images/body_label_white.png");
    EXPECT_EQ(bodyHeaderIconPath(2, 2), ":/images/body_group_white.png");
    EXPECT_EQ(bodyHeaderIconPath(2, 3), ":/images/body_color_white.png");
    for (int theme : {0, 1, 5}) {
        EXPECT_EQ(bodyHeaderIconPath(theme, 0), ":/images/body_label.png");
        EXPECT_EQ(bodyHeaderIconPath(theme, 2), ":/images/body_group.png");
        EXPECT_EQ(bodyHeaderIconPath(theme, 3), ":/images/body_color.png");
        EXPECT_EQ(aboutLogoPath(theme), ":/images/qorv_logo_white.png");
        EXPECT_EQ(alertIconPath(theme), ":/images/alert_big.png");
    }
    EXPECT_TRUE(bodyHeaderIconPath(0, 1).isEmpty());
    EXPECT_TRUE(bodyHeaderIconPath(0, 4).isEmpty());
    EXPECT_EQ(aboutLogoPath(2), ":/images/qorv_logo_black.png");
    EXPECT_EQ(alertIconPath(2), ":/images/alert_big_white.png");
}

}  // namespace
