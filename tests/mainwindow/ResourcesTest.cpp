// Every resource that the form, the style sheets and the theme code name is
// built in, and the sheets give each image button its faces.

#include "mainwindow/Themes.h"
#include "mainwindow/ZolvarDlgForm.h"
#include "resources/Resources.h"
#include "TestApp.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QMainWindow>
#include <QRegularExpression>
#include <QSet>
#include <QToolButton>

#include <map>

namespace {

QString readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// selector -> declarations, for every selector of every rule.
std::map<QString, QString> rulesOf(QString sheet)
{
    sheet.remove(QRegularExpression(QStringLiteral("/\\*.*?\\*/"),
                                    QRegularExpression::DotMatchesEverythingOption));
    std::map<QString, QString> rules;
    static const QRegularExpression rule(QStringLiteral("([^{}]+)\\{([^{}]*)\\}"));
    for (auto it = rule.globalMatch(sheet); it.hasNext();) {
        const auto m = it.next();
        for (const QString& selector : m.captured(1).split(',', Qt::SkipEmptyParts))
            rules[selector.trimmed()] += m.captured(2);
    }
    return rules;
}

QString imageOf(const std::map<QString, QString>& rules, const QString& selector)
{
    const auto it = rules.find(selector);
    if (it == rules.end())
        return QString();
    static const QRegularExpression image(QStringLiteral("image:\\s*url\\(([^)]*)\\)"));
    const auto m = image.match(it->second);
    return m.hasMatch() ? m.captured(1) : QString();
}

QStringList resourcePaths(const QString& text)
{
    QStringList out;
    static const QRegularExpression path(QStringLiteral(":/[A-Za-z0-9_./-]+\\.(?:png|qss)"));
    for (auto it = path.globalMatch(text); it.hasNext();)
        out << it.next().captured(0);
    out.removeDuplicates();
    return out;
}

const char* const kSheets[] = {":/Zolvar_darkgray.qss", ":/Zolvar_lightgray.qss", ":/Zolvar_white.qss"};

class ResourcesTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        testApp();
        initZolvarResources();
    }
};

TEST_F(ResourcesTest, EveryPathTheSheetsNameIsBuiltIn)
{
    for (const char* sheet : kSheets) {
        SCOPED_TRACE(sheet);
        const QString text = readAll(sheet);
        ASSERT_FALSE(text.isEmpty());
        const QStringList paths = resourcePaths(text);
        EXPECT_GT(paths.size(), 50);
        for (const QString& p : paths)
            EXPECT_TRUE(QFile::exists(p)) << p.toStdString();
        // Every url() is a built-in resource, never a file on disk.
        static const QRegularExpression url(QStringLiteral("url\\(([^)]*)\\)"));
        for (auto it = url.globalMatch(text); it.hasNext();)
            EXPECT_TRUE(it.next().captured(1).startsWith(":/images/"));
    }
}

TEST_F(ResourcesTest, EveryPathTheFormAndTheThemeCodeNameIsBuiltIn)
{
    const QString form = readAll(sourceDir() + "/mainwindow/ZolvarDlg.ui");
    ASSERT_FALSE(form.isEmpty());
    for (const QString& p : resourcePaths(form))
        EXPECT_TRUE(QFile::exists(p)) << p.toStdString();

    QStringList code;
    for (int theme = -1; theme <= 3; ++theme) {
        code << styleSheetPath(theme) << aboutLogoPath(theme) << alertIconPath(theme);
        for (int type = 0; type < 4; ++type)
            code << jointIconPath(theme, type);
        for (int column : {0, 2, 3})
            code << bodyHeaderIconPath(theme, column);
    }
    for (const QString& p : code) {
        EXPECT_TRUE(QFile::exists(p)) << p.toStdString();
        if (p.endsWith(".png")) {
            EXPECT_FALSE(QImage(p).isNull()) << p.toStdString();
        }
    }
    EXPECT_EQ(QImage(":/images/qorv_logo_white.png").size(), QSize(125, 74));
    EXPECT_EQ(QImage(":/images/qorv_logo_black.png").size(), QSize(125, 74));
    EXPECT_EQ(QImage(":/images/alert_big.png").size(), QSize(32, 32));
    EXPECT_EQ(QImage(":/images/alert_big_white.png").size(), QSize(32, 32));
}

TEST_F(ResourcesTest, TheImagesFolderAndTheResourcesMatch)
{
    const QDir folder(sourceDir() + "/resources/images");
    ASSERT_TRUE(folder.exists());
    QSet<QString> onDisk;
    for (const QString& name : folder.entryList({"*.png"}, QDir::Files))
        onDisk.insert(name);
    QSet<QString> built;
    for (QDirIterator it(":/images"); it.hasNext();)
        built.insert(QFileInfo(it.next()).fileName());
    EXPECT_EQ(onDisk, built);
    for (const QString& name : built)
        EXPECT_FALSE(QImage(":/images/" + name).isNull()) << name.toStdString();
}

TEST_F(ResourcesTest, ImageButtonsHaveTheirFacesInEachTheme)
{
    const struct
    {
        const char* button;
        const char* image;
        bool lightFace;  // the light gray sheet shows "_light" when not hovered
    } buttons[] = {
        {"selectionToolBtn", "tool_selection", false}, {"handToolBtn", "tool_hand", false},
        {"anchorToolBtn", "tool_anchor", false},       {"gravityToolBtn", "tool_gravity", false},
        {"velocityToolBtn", "tool_velocity", false},   {"addQuickPresetBtn", "preset_add", false},
        {"removeQuickPresetBtn", "preset_remove", false}, {"zoomOutBtn", "zoom_out", false},
        {"zoomInBtn", "zoom_in", false},               {"zoomFitBtn", "zoom_fit", false},
        {"restartBtn", "cmd_first_frame", false},      {"playBtn", "cmd_play", false},
        {"stepBtn", "cmd_next_frame", false},          {"repeatBtn", "cmd_repeat", false},
        {"addDistanceJointBtn", "joint_distance_add", true},
        {"addRevoluteJointBtn", "joint_revolute_add", true},
        {"addPrismaticJointBtn", "joint_prismatic_add", true},
        {"addSpringJointBtn", "joint_spring_add", true}, {"removeJointBtn", "joint_remove", true},
    };
    for (int theme = 0; theme < 3; ++theme) {
        SCOPED_TRACE(kSheets[theme]);
        const auto rules = rulesOf(readAll(kSheets[theme]));
        const QString white = theme == 2 ? "_white" : "";
        for (const auto& b : buttons) {
            const QString name = QString("QToolButton#") + b.button;
            const QString face = b.lightFace && theme == 1 ? "_light" : white;
            EXPECT_EQ(imageOf(rules, name), QString(":/images/%1%2.png").arg(b.image, face)) << b.button;
            EXPECT_EQ(imageOf(rules, name + ":hover"), QString(":/images/%1_hover%2.png").arg(b.image, white))
                << b.button;
        }
        EXPECT_EQ(imageOf(rules, "QPushButton#viewOptionsBtn"), ":/images/view" + white + ".png");
        EXPECT_EQ(imageOf(rules, "QPushButton#viewOptionsBtn:hover"), ":/images/view" + white + ".png");
        EXPECT_EQ(imageOf(rules, "QTableView::indicator:checked"), ":/images/eyeball_checked" + white + ".png");
        EXPECT_EQ(imageOf(rules, "QTableView::indicator:unchecked"),
                  ":/images/eyeball_unchecked" + white + ".png");
        EXPECT_EQ(imageOf(rules, "QCheckBox::indicator:checked"), ":/images/checkbox_checked3" + white + ".png");
        EXPECT_EQ(imageOf(rules, "QCheckBox::indicator:unchecked:hover"),
                  ":/images/checkbox_unchecked_hover3" + white + ".png");
        EXPECT_EQ(imageOf(rules, "QToolButton#exportBtn"), QString());
    }
}

TEST_F(ResourcesTest, EveryResetButtonOfTheFormHasTheResetFaces)
{
    QMainWindow window;
    Ui::ZolvarDlgClass form;
    form.setupUi(&window);
    QStringList resets;
    for (QToolButton* b : window.findChildren<QToolButton*>())
        if (b->objectName().startsWith("reset"))
            resets << b->objectName();
    ASSERT_EQ(resets.size(), 47);
    for (int theme = 0; theme < 3; ++theme) {
        SCOPED_TRACE(kSheets[theme]);
        const auto rules = rulesOf(readAll(kSheets[theme]));
        const QString white = theme == 2 ? "_white" : "";
        for (const QString& name : resets) {
            const QString sel = "QToolButton#" + name;
            EXPECT_EQ(imageOf(rules, sel), ":/images/reset" + white + ".png") << name.toStdString();
            EXPECT_EQ(imageOf(rules, sel + ":hover"), ":/images/reset_hover" + white + ".png");
            EXPECT_EQ(imageOf(rules, sel + ":disabled"), ":/images/reset_disabled" + white + ".png");
        }
    }
}

}  // namespace
