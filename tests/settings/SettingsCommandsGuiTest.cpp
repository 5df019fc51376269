// The File and Help menu commands (file dialogs, remembered paths, the
// user's guide), the failure of a save, the bodies table and the start-up
// auto-load.
#include "SettingsGuiFixture.h"

#include "host/PluginGlobals.h"
#include "mainwindow/UserGuide.h"
#include "files/SettingsFiles.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QUrl>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

using namespace settings_gui;

namespace {

// Runs `command` and answers its file dialog: `file` chosen and accepted
// (empty: cancelled); `beforeAccept` may change the dialog first.
void answerFileDialog(const std::function<void()>& command, const QString& file,
                      const std::function<void(QFileDialog&)>& beforeAccept = {})
{
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        timer.stop();
        if (beforeAccept)
            beforeAccept(*dialog);
        if (file.isEmpty()) {
            dialog->reject();
            return;
        }
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            name->setText(file);
        dialog->selectFile(file);
        QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
    });
    timer.start(20);
    command();
}

class UrlCatcher : public QObject
{
    Q_OBJECT
public slots:
    void open(const QUrl& url) { urls << url; }

public:
    QList<QUrl> urls;
};

} // namespace

TEST(SettingsCommands, SaveAppendsTheSuffixCaseSensitively)
{
    Window w;
    const struct {
        const char* typed;
        const char* written;
    } rows[] = {{"plain", "plain.xml"}, {"kept.xml", "kept.xml"}, {"upper.XML", "upper.XML.xml"}};
    for (const auto& row : rows) {
        MessageCatcher messages;
        answerFileDialog([&] { w.window->OnSaveSettings(); }, w.path(QString::fromLatin1(row.typed)));
        EXPECT_TRUE(QFileInfo::exists(w.path(QString::fromLatin1(row.written)))) << row.written;
        EXPECT_EQ(w.stored("Most Recent Saved Settings File"), w.path(QString::fromLatin1(row.written)).toStdString());
    }
    // The dialog opens at the last file.
    QString directory;
    answerFileDialog([&] { w.window->OnSaveSettings(); }, QString(),
                     [&](QFileDialog& d) { directory = d.directory().absolutePath(); });
    EXPECT_EQ(directory, w.folder.path());
}

TEST(SettingsCommands, LoadDialogIdentification)
{
    Window w;
    const QString file = w.path(QStringLiteral("by name.xml"));
    w.view->bodies[1].density = 6.0f;
    w.view->saveSettings(file, "Most Recent Saved Settings File");
    w.view->bodies[1].density = 1.0f;
    auto chooseName = [](QFileDialog& d) {
        auto* list = d.findChild<QComboBox*>(QStringLiteral("bodyIdentificationLst"));
        ASSERT_TRUE(list);
        EXPECT_EQ(list->count(), 3);
        list->setCurrentIndex(2);
    };
    // Cancelled: the choice stays, and is stored as it was.
    answerFileDialog([&] { w.window->OnLoadSettings(); }, QString(), chooseName);
    EXPECT_EQ(w.window->bodyIdentificationMode(), 0);
    EXPECT_EQ(w.stored("Body Identification"), "0");
    EXPECT_FLOAT_EQ(w.view->bodies[1].density, 1.0f);

    MessageCatcher messages;
    answerFileDialog([&] { w.window->OnLoadSettings(); }, file, chooseName);
    EXPECT_EQ(w.window->bodyIdentificationMode(), 2);
    EXPECT_EQ(w.stored("Body Identification"), "2");
    EXPECT_FLOAT_EQ(w.view->bodies[1].density, 6.0f);
    EXPECT_EQ(w.window->GetMRLoadedSettingsFileNameFromPrefs(), file);
}

// A stored choice the list does not have: the list shows Layer ID, and a
// cancelled dialog keeps the value as it was stored.
TEST(SettingsCommands, LoadDialogWithAnUnknownStoredIdentification)
{
    auto host = window_test::makeHost(18, 0, kFourLayers);
    host->session->prefs().set(window_test::kSection, "Body Identification", "3");
    auto window = window_test::makeWindow(*host);
    EXPECT_EQ(window->bodyIdentificationMode(), 3);
    int shown = -1;
    answerFileDialog([&] { window->OnLoadSettings(); }, QString(), [&](QFileDialog& d) {
        if (auto* list = d.findChild<QComboBox*>(QStringLiteral("bodyIdentificationLst")))
            shown = list->currentIndex();
    });
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(window->bodyIdentificationMode(), 3);
    EXPECT_EQ(host->session->prefs().value(window_test::kSection, "Body Identification"), "3");
}

TEST(SettingsCommands, RefusedKeysAreToldOnceWithWhatWasDone)
{
    Window w;
    auto& faults = w.host->session->faults();
    const int kSetStringSlot = 13;
    const int kSetLongSlot = 14;

    // Saved, but its name not kept.
    const QString file = w.path(QStringLiteral("kept.xml"));
    faults.failNth(kAEGPPersistentDataSuite, kAEGPPersistentDataSuiteVersion3, kSetStringSlot, 1);
    {
        MessageCatcher messages;
        EXPECT_TRUE(w.view->saveSettings(file, "Most Recent Saved Settings File"));
        ASSERT_EQ(messages.texts.size(), 1);
        EXPECT_TRUE(messages.texts[0].contains(QStringLiteral("Not stored: \"Most Recent Saved Settings File\".")))
            << messages.texts[0].toStdString();
        EXPECT_TRUE(messages.texts[0].contains(QStringLiteral("The settings file '%1' was saved").arg(file)))
            << messages.texts[0].toStdString();
    }
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_EQ(w.stored("Most Recent Saved Settings File"), std::nullopt);

    // Loaded, but its name not kept.
    faults.failNth(kAEGPPersistentDataSuite, kAEGPPersistentDataSuiteVersion3, kSetStringSlot, 1);
    {
        MessageCatcher messages;
        w.view->loadSettings(file.toUtf8().constData(), true, 0);
        ASSERT_EQ(messages.texts.size(), 1);
        EXPECT_TRUE(messages.texts[0].contains(QStringLiteral("The settings file '%1' was loaded").arg(file)))
            << messages.texts[0].toStdString();
    }

    // The load dialog's identification, cancelled or not, is stored: refused.
    faults.failNth(kAEGPPersistentDataSuite, kAEGPPersistentDataSuiteVersion3, kSetLongSlot, 1);
    {
        MessageCatcher messages;
        answerFileDialog([&] { w.window->OnLoadSettings(); }, QString());
        ASSERT_EQ(messages.texts.size(), 1);
        EXPECT_TRUE(messages.texts[0].contains(QStringLiteral("Not stored: \"Body Identification\".")))
            << messages.texts[0].toStdString();
    }
}

TEST(SettingsCommands, RecentPathsAreUtf8OfAnyLength)
{
    Window w;
    EXPECT_TRUE(w.window->GetMRSavedSettingsFileNameFromPrefs().isEmpty());
    const QString longName = QString::fromUtf8("\xc3\xa9t\xc3\xa9 \xe2\x98\x85 ") + QString(300, QLatin1Char('x')) +
                             QStringLiteral(".xml");
    const QString file = w.path(longName.right(200));
    ASSERT_TRUE(w.view->saveSettings(file, "Most Recent Saved Settings File"));
    EXPECT_EQ(w.window->GetMRSavedSettingsFileNameFromPrefs(), file);
}

TEST(SettingsCommands, AFailedSaveKeepsTheOldFileAndKey)
{
    Window w;
    const QString good = w.path(QStringLiteral("good.xml"));
    ASSERT_TRUE(w.view->saveSettings(good, "Auto Saved Settings File"));
    const QByteArray before = w.read(good);

    // A parent that is a file, a missing folder, and a folder in the way.
    const QString blocker = w.write(QStringLiteral("blocker"), "not a folder");
    QDir(w.folder.path()).mkdir(QStringLiteral("taken.xml"));
    for (const QString& bad : {blocker + QStringLiteral("/scene.xml"), w.path(QStringLiteral("no/such/scene.xml")),
                               w.path(QStringLiteral("taken.xml"))}) {
        MessageCatcher messages;
        w.view->bodies[0].density = 8.0f;
        EXPECT_FALSE(w.view->saveSettings(bad, "Auto Saved Settings File"));
        ASSERT_EQ(messages.texts.size(), 1) << bad.toStdString();
        EXPECT_TRUE(messages.texts[0].startsWith(QStringLiteral("The settings file '%1' could not be saved: ").arg(bad)));
        // There was no file to keep.
        EXPECT_FALSE(messages.texts[0].contains(QStringLiteral("previous file"))) << messages.texts[0].toStdString();
        EXPECT_EQ(w.stored("Auto Saved Settings File"), good.toStdString());
    }
    {
        // A disk that takes no byte more: the old file and key stay.
        static const FileWriteCalls full{[](int, const void*, size_t) -> ssize_t {
                                             errno = ENOSPC;
                                             return -1;
                                         },
                                         ::fsync, ::close, ::rename};
        setFileWriteCalls(&full);
        MessageCatcher messages;
        w.view->bodies[0].density = 9.0f;
        EXPECT_FALSE(w.view->saveSettings(good, "Auto Saved Settings File"));
        setFileWriteCalls(nullptr);
        ASSERT_EQ(messages.texts.size(), 1);
        EXPECT_EQ(messages.texts[0], QStringLiteral("The settings file '%1' could not be saved: No space left on "
                                                    "device. The previous file was kept.")
                                         .arg(good));
        // Written where it is (a 0555 folder), failing once the room is claimed: not said to be kept.
        const QByteArray folder = QFile::encodeName(w.folder.path());
        const bool root = ::geteuid() == 0;
        ASSERT_EQ(::chmod(QFile::encodeName(good).constData(), 0666) | ::chmod(folder.constData(), 0555), 0);
        ASSERT_TRUE(!root || ::seteuid(65534) == 0);
        setFileWriteCalls(&full);
        EXPECT_FALSE(w.view->saveSettings(good, "Auto Saved Settings File"));
        setFileWriteCalls(nullptr);
        EXPECT_TRUE((!root || ::seteuid(0) == 0) && ::chmod(folder.constData(), 0700) == 0);
        EXPECT_TRUE(messages.texts.last().endsWith(QStringLiteral("may no longer be as it was.")));
        w.write(QStringLiteral("good.xml"), before);
    }
    {
        // Settings larger than a load reads (snapshots piled up by hand):
        // refused, so the previous file stays loadable.
        for (MyBody& body : w.view->bodies)
            body.name = QString(100000, QLatin1Char('n'));
        const std::vector<QuickPreset> many(200, w.view->currentScene(true));
        w.view->addPresets(many);
        MessageCatcher messages;
        EXPECT_FALSE(w.view->saveSettings(good, "Auto Saved Settings File"));
        ASSERT_EQ(messages.texts.size(), 1);
        EXPECT_TRUE(messages.texts[0].contains(QStringLiteral("MiB, more than the 64 MiB a load reads. The previous "
                                                              "file was kept.")))
            << messages.texts[0].toStdString();
    }
    EXPECT_EQ(w.read(good), before);
    EXPECT_TRUE(QFileInfo(w.path(QStringLiteral("taken.xml"))).isDir());
    EXPECT_TRUE(QDir(w.folder.path()).entryList({QStringLiteral("*.xml.*")}, QDir::Files).isEmpty())
        << "no temporary file is left behind";
}

// The close-time autosave into a home folder that cannot take it: the
// message, and the key keeps the last file that was written.
TEST(SettingsCommands, AutosaveFailureAtClose)
{
    Window w;
    const QString good = w.path(QStringLiteral("autosave.xml"));
    ASSERT_TRUE(w.view->saveSettings(good, "Auto Saved Settings File"));
    const QByteArray home = qgetenv("HOME");
    const QString blocker = w.write(QStringLiteral("home-is-a-file"), "x");
    qputenv("HOME", blocker.toLocal8Bit());
    MessageCatcher messages;
    w.window->closeZolvarDlg();
    qputenv("HOME", home);
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].startsWith(
        QStringLiteral("The settings file '%1/.zolvar_autosave.xml' could not be saved: ").arg(blocker)));
    EXPECT_FALSE(messages.texts[0].contains(QStringLiteral("previous file"))) << "there was none";
    EXPECT_EQ(w.stored("Auto Saved Settings File"), good.toStdString());
    EXPECT_TRUE(w.window->isClosing());
}

TEST(SettingsCommands, UserGuide)
{
    // The build puts the guide into the bundle, beside the module.
    const QString bundle = QString::fromLocal8Bit(qgetenv("ZOLVAR_BINARY_DIR")) + QStringLiteral("/Plug-ins/Zolvar.plugin");
    const QString inBundle = findUserGuide(bundle + QStringLiteral("/Contents/Linux/Zolvar.so"), QStringLiteral("/nowhere/a/b"));
    EXPECT_EQ(inBundle, bundle + QStringLiteral("/Contents/Resources/documentation/index.html"));
    EXPECT_TRUE(QFileInfo(inBundle).isFile());

    // The host's layout: Plug-ins three folders above the executable.
    QTemporaryDir root;
    const QString guide = root.path() + QStringLiteral("/Plug-ins/Zolvar.plugin/Contents/Resources/documentation/index.html");
    QDir().mkpath(QFileInfo(guide).absolutePath());
    QFile(guide).open(QIODevice::WriteOnly);
    QDir().mkpath(root.path() + QStringLiteral("/a/b/c"));
    EXPECT_EQ(findUserGuide(QString(), root.path() + QStringLiteral("/a/b/c")), guide);
    EXPECT_FALSE(QFileInfo(findUserGuide(QString(), root.path() + QStringLiteral("/a"))).isFile());
    EXPECT_EQ(userGuideUrl(guide), QUrl::fromLocalFile(guide));
    EXPECT_EQ(userGuideUrl(QStringLiteral("//server/share/index.html")).host(), QStringLiteral("server"));

    // Opened through the system's "file" handler; missing: the message.
    Window w;
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    MessageCatcher messages;
    openUserGuide(w.window.get(), inBundle);
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls[0], QUrl::fromLocalFile(inBundle));
    w.window->showDocumentation();  // the test program lies outside any bundle
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    EXPECT_EQ(messages.texts, QStringList({"Couldn't find documentation folder. Please make sure it is located next "
                                           "to the plug-in file."}));
    // The guide links only within itself.
    QFile html(inBundle);
    ASSERT_TRUE(html.open(QIODevice::ReadOnly));
    const QByteArray text = html.readAll();
    EXPECT_FALSE(text.contains("<script"));
    EXPECT_FALSE(text.contains("http"));
}

TEST(SettingsCommands, BodiesTable)
{
    Window w;
    const QAbstractItemModel* table = w.ui.bodiesTable->model();
    ASSERT_EQ(table->rowCount(), 4);
    EXPECT_EQ(w.view->bodyCount, 4);
    auto colour = [&](int row, int column, int size) {
        return QColor(table->index(row, column).data(Qt::DecorationRole).value<QIcon>().pixmap(size, size).toImage().pixel(size / 2, size / 2));
    };
    // Solid colours, clamped (0, 0.5, 1.5): (0, 127, 255); label 0 is grey.
    EXPECT_EQ(colour(0, 3, 14), QColor(0, 127, 255));
    EXPECT_EQ(colour(1, 3, 14), QColor(255, 0, 0));
    EXPECT_EQ(colour(0, 0, 12), QColor(127, 127, 127));
    const AEGP_ColorVal& five = w.view->labelColors[4];
    EXPECT_EQ(colour(1, 0, 12).rgb(), QColor::fromRgbF(float(five.red), float(five.green), float(five.blue)).rgb());
    EXPECT_EQ(table->index(3, 1).data().toString(), QStringLiteral("4"));
    EXPECT_EQ(table->index(3, 4).data().toString(), QString::fromUtf8("K\xc3\xb6rper"));

    auto headerImage = [&](int column) {
        return table->headerData(column, Qt::Horizontal, Qt::DecorationRole).value<QIcon>().pixmap(16, 16).toImage();
    };
    w.view->updateBodiesTableHeaderIcons(2);
    EXPECT_EQ(headerImage(2), QIcon(QStringLiteral(":/images/body_group_white.png")).pixmap(16, 16).toImage());
    EXPECT_EQ(table->headerData(3, Qt::Horizontal, Qt::ToolTipRole).toString(), QStringLiteral("Body Color"));
    w.view->updateBodiesTableHeaderIcons(0);
    EXPECT_EQ(headerImage(0), QIcon(QStringLiteral(":/images/body_label.png")).pixmap(16, 16).toImage());
    EXPECT_EQ(table->headerData(1, Qt::Horizontal).toString(), QStringLiteral("#"));
}

// Layers that are listed or left out, and the colour each listed one shows.
TEST(SettingsCommands, BodiesTableListing)
{
    const QByteArray project = R"({
        "format": "zolvar-standin-project",
        "footage": [{"id": 1, "name": "Red", "kind": "solid", "width": 100, "height": 100, "color": [1, 0, 0]},
                    {"id": 2, "name": "Plate", "kind": "file", "width": 320, "height": 200, "file": "/media/p.png"}],
        "compositions": [{"id": 10, "name": "Main", "width": 1000, "height": 1000, "frameRate": 25, "duration": 4,
            "layers": [
                {"id": 1, "type": "camera", "transform": {"position": [500, 500, -1000]}},
                {"id": 2, "type": "solid", "source": 1, "name": "Red", "transform": {"position": [100, 100]}},
                {"id": 3, "type": "null", "name": "Control", "transform": {"position": [500, 500]}},
                {"id": 4, "type": "footage", "source": 2, "name": "Guide", "flags": ["video", "guide"]},
                {"id": 5, "type": "footage", "source": 2, "name": "Image", "transform": {"position": [500, 300]}},
                {"id": 6, "type": "text", "name": "Title", "text": {"text": "Hi", "size": 80},
                 "transform": {"position": [500, 150]}},
                {"id": 7, "type": "shape", "name": "Badge", "transform": {"position": [700, 700]},
                 "contents": [{"matchName": "ADBE Vector Group", "name": "G", "contents": [
                     {"matchName": "ADBE Vector Shape - Rect", "properties": {"ADBE Vector Rect Size": [200, 100]}},
                     {"matchName": "ADBE Vector Graphic - Fill",
                      "properties": {"ADBE Vector Fill Color": [0.2, 0.5, 0.9]}}]}]}]}],
        "activeItem": "Main"
    })";
    Window w(project);
    const QAbstractItemModel* table = w.ui.bodiesTable->model();
    ASSERT_EQ(table->rowCount(), 4);
    EXPECT_EQ(w.view->bodyCount, 4);
    const char* names[4] = {"Red", "Image", "Title", "Badge"};
    // A solid's colour, white for an image and a text; the shape layer's
    // body takes its fill when it is built.
    const AEGP_ColorVal& fill = w.view->bodies[3].color;
    const QRgb colours[4] = {qRgb(255, 0, 0), qRgb(255, 255, 255), qRgb(255, 255, 255),
                             qRgb(int(255 * fill.red), int(255 * fill.green), int(255 * fill.blue))};
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(table->index(row, 4).data().toString(), QLatin1String(names[row]));
        EXPECT_EQ(table->index(row, 1).data().toString(), QString::number(row + 1));
        const QImage swatch = table->index(row, 3).data(Qt::DecorationRole).value<QIcon>().pixmap(14, 14).toImage();
        EXPECT_EQ(QColor(swatch.pixel(7, 7)).rgb(), colours[row]) << names[row];
    }
}

TEST(SettingsCommands, BodiesTableOfAnEmptyComposition)
{
    Window w(R"({"format": "zolvar-standin-project", "activeItem": "Main",
        "compositions": [{"id": 10, "name": "Main", "width": 100, "height": 100, "frameRate": 25, "duration": 1}]})");
    EXPECT_EQ(w.ui.bodiesTable->model()->rowCount(), 0);
    EXPECT_EQ(w.ui.bodiesTable->model()->columnCount(), 5);
    EXPECT_EQ(w.view->bodyCount, 0);
    // Nothing to match: the load says so and changes nothing.
    MessageCatcher messages;
    w.load(w.write(QStringLiteral("one.xml"), "<ZolvarSettings><preview/><solver/><gravity/>"
                                              "<bodies><body layerID=\"1\"/></bodies></ZolvarSettings>"));
    EXPECT_EQ(messages.texts, QStringList({"Matching bodies not found. Settings have not been applied to the scene."}));
    // A snapshot of nothing is still a snapshot.
    w.view->OnAddQuickPresetBtn();
    EXPECT_EQ(w.presetTexts(), QStringList({"#1"}));
}

#include "SettingsCommandsGuiTest.moc"
