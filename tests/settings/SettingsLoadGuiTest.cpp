// Saving and loading settings files in the window: round trips, the
// messages of a load that stops (which changes nothing), body matching, the
// joints a file brings, and hostile files.
#include "SettingsGuiFixture.h"

#include "simulation/Box2DGuard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QProgressBar>
#include <QRegularExpression>

#include <cstring>
#include <iostream>

#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace settings_gui;

namespace {

// What a load that stops must leave as it was.
struct Fingerprint {
    std::vector<std::tuple<int, float, float, float, double>> bodies;
    size_t joints = 0;
    QStringList presets;
    int history = 0;
    double timeDivider = 0.0;
    int zoom = 0;
    QColor background;

    explicit Fingerprint(const Window& w)
    {
        for (const MyBody& b : w.view->bodies)
            bodies.emplace_back(b.type, b.density, b.position.x, b.position.y, b.color.red);
        joints = w.view->joints.size();
        presets = w.presetTexts();
        history = w.stack->count();
        timeDivider = w.ui.timeDividerEt->value();
        zoom = w.ui.zoomSld->value();
        background = w.view->bgColor;
    }
    bool operator==(const Fingerprint& o) const
    {
        return bodies == o.bodies && joints == o.joints && presets == o.presets && history == o.history &&
               timeDivider == o.timeDivider && zoom == o.zoom && background == o.background;
    }
};

// The sample file of this scene: Floor static, balls with their own
// densities, a pivot joint between the balls and one snapshot.
QByteArray sceneFile(Window& w)
{
    w.view->bodies[0].type = BodyType::Static;
    w.view->bodies[1].density = 3.0f;
    w.view->bodies[2].density = 7.0f;
    MyJoint pivot;
    pivot.type = JointType::Revolute;
    pivot.bodyA = 1;
    pivot.bodyB = 2;
    pivot.anchor = b2Vec2(0.0f, -2.0f);
    w.view->joints = {pivot};
    w.view->setTimeDivider(2.0f);
    w.view->addPresets({w.view->currentScene(true)});
    return w.saved();
}

} // namespace

TEST(SettingsLoad, RoundTripRestoresTheScene)
{
    Window w;
    const QByteArray file = sceneFile(w);
    EXPECT_EQ(w.stored("Most Recent Saved Settings File"), w.path(QStringLiteral("scene.xml")).toStdString());

    // Change everything, then load back by layer ID.
    for (MyBody& b : w.view->bodies) {
        b.type = BodyType::Dynamic;
        b.density = 1.0f;
    }
    w.view->joints.clear();
    w.view->setTimeDivider(1.0f);
    w.view->removePresets({0});
    w.stack->push(new CommandDensityChange(w.view, {1.0f}, {4.0f}, {3}));
    w.view->selectBodies({2});

    MessageCatcher messages;
    w.load(w.path(QStringLiteral("scene.xml")));
    EXPECT_DOUBLE_EQ(w.ui.densityEt->value(), 7.0) << "the panel shows the loaded record";
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join('|').toStdString();
    EXPECT_EQ(w.view->bodies[0].type, BodyType::Static);
    EXPECT_FLOAT_EQ(w.view->bodies[1].density, 3.0f);
    EXPECT_FLOAT_EQ(w.view->bodies[2].density, 7.0f);
    EXPECT_DOUBLE_EQ(w.ui.timeDividerEt->value(), 2.0);
    ASSERT_EQ(w.view->joints.size(), 1u);
    EXPECT_EQ(w.view->joints[0].id, 0);
    EXPECT_TRUE(w.view->joints[0].joint) << "the pivot is built in the world";
    EXPECT_EQ(w.presetTexts(), QStringList({"#1"}));
    EXPECT_EQ(w.ui.quickPresetsTable->columnWidth(0), 60);
    EXPECT_EQ(w.stack->count(), 0) << "the history is empty after a load";
    EXPECT_EQ(w.stored("Most Recent Loaded Settings File"), w.path(QStringLiteral("scene.xml")).toStdString());
    EXPECT_EQ(w.view->form().bodiesTable->model()->index(0, 2).data().toString(), QStringLiteral("A"));
    // Saving again gives the same file.
    EXPECT_EQ(w.saved(QStringLiteral("again.xml")), file);
}

TEST(SettingsLoad, AStoppedLoadChangesNothing)
{
    Window w;
    const QByteArray good = sceneFile(w);
    auto without = [&](const char* element) {
        QString text = QString::fromUtf8(good);
        text.remove(QRegularExpression(QStringLiteral("\\n\\s*<%1[^>]*/>").arg(QLatin1String(element))));
        return text.toUtf8();
    };
    QByteArray otherComp = good;
    otherComp.replace("layerID=\"1", "layerID=\"9");
    QByteArray noBodies = good;
    noBodies.replace(good.indexOf("<bodies>"), good.indexOf("</bodies>") + 9 - good.indexOf("<bodies>"), "<bodies/>");

    const QString missingFile = w.path(QStringLiteral("gone.xml"));
    const QString huge = w.write(QStringLiteral("huge.xml"), good);
    QDir(w.folder.path()).mkdir(QStringLiteral("sub"));
    QFile(huge).resize(64LL * 1024 * 1024 + 1);  // sparse: no time spent writing
    // Opening a pipe for reading waits for a writer: the load would hang.
    const QString pipe = w.path(QStringLiteral("pipe.xml"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const struct {
        QString file;
        const char* text;
        const char* detail;  // a part of the details
    } rows[] = {
        {missingFile, "cannot be found or its format is not supported.", "No such file"},
        {w.write(QStringLiteral("binary.xml"), QByteArray("\x01\x02\xff", 3)), "cannot be found", "line"},
        {w.write(QStringLiteral("empty.xml"), QByteArray()), "cannot be found", "line"},
        {huge, "cannot be found", "larger than 64 MiB"},
        {w.path(QStringLiteral("sub")), "cannot be found", "folder"},
        {pipe, "cannot be found", "not a regular file"},
        {QStringLiteral("/dev/zero"), "cannot be found", "not a regular file"},
        {w.write(QStringLiteral("root.xml"), "<Other/>"), "Unsupported settings format.", "ZolvarSettings"},
        {w.write(QStringLiteral("bodies.xml"), noBodies), "Unsupported settings format (Bodies Settings)", "bodies"},
        {w.write(QStringLiteral("match.xml"), otherComp),
         "Matching bodies not found. Settings have not been applied to the scene.", "layer ID"},
        {w.write(QStringLiteral("solver.xml"), without("solver")), "Unsupported settings format (Global Settings)",
         "solver"},
        {w.write(QStringLiteral("gravity.xml"), without("gravity")), "Unsupported settings format (Global Settings)",
         "gravity"},
    };
    // Another state than the file's, with one history entry.
    w.view->bodies[1].density = 5.0f;
    w.view->setTimeDivider(3.0f);
    w.stack->push(new CommandDensityChange(w.view, {5.0f}, {6.0f}, {1}));
    const Fingerprint before(w);
    for (const auto& row : rows) {
        MessageCatcher messages;
        w.load(row.file);
        ASSERT_EQ(messages.texts.size(), 1) << row.file.toStdString();
        EXPECT_TRUE(messages.texts[0].contains(QLatin1String(row.text))) << messages.texts[0].toStdString();
        EXPECT_TRUE(messages.details[0].contains(QFileInfo(row.file).fileName()))
            << messages.details[0].toStdString();
        EXPECT_TRUE(messages.details[0].contains(QLatin1String(row.detail))) << messages.details[0].toStdString();
        EXPECT_TRUE(Fingerprint(w) == before) << row.file.toStdString();
    }
    EXPECT_EQ(w.stored("Most Recent Loaded Settings File"), std::nullopt);
    // Refused files that hold something are kept from the autosave; a file
    // that is not there, is empty, or is no regular file holds nothing.
    QStringList kept;
    for (const auto& row : rows)
        if (w.view->isKeptSettingsFile(row.file))
            kept << QFileInfo(row.file).fileName();
    EXPECT_EQ(kept, QStringList({"binary.xml", "huge.xml", "root.xml", "bodies.xml", "solver.xml", "gravity.xml"}));
}

TEST(SettingsLoad, OtherVersionWarnsThenLoads)
{
    Window w;
    QByteArray file = sceneFile(w);
    w.view->bodies[0].type = BodyType::Dynamic;
    // The warning comes first; a later stop still names its own problem.
    for (const char* root : {"majorVersion=\"1\" minorVersion=\"1\"", "majorVersion=\"2\" minorVersion=\"2\""}) {
        QByteArray other = file;
        other.replace("majorVersion=\"1\" minorVersion=\"2\"", root);
        MessageCatcher messages;
        w.load(w.write(QStringLiteral("other.xml"), other));
        EXPECT_EQ(messages.texts, QStringList({"This file was created with a different version of Zolvar. Some "
                                               "errors might occur during import."}));
        EXPECT_EQ(w.view->bodies[0].type, BodyType::Static);
    }
    // Warning first, then the stop.
    QByteArray otherEmpty = file;
    otherEmpty.replace("minorVersion=\"2\"", "minorVersion=\"1\"");
    otherEmpty.replace(otherEmpty.indexOf("<bodies>"),
                       otherEmpty.indexOf("</bodies>") + 9 - otherEmpty.indexOf("<bodies>"), "<bodies/>");
    {
        MessageCatcher messages;
        w.load(w.write(QStringLiteral("both.xml"), otherEmpty));
        EXPECT_EQ(messages.texts, QStringList({"This file was created with a different version of Zolvar. Some "
                                               "errors might occur during import.",
                                               "Unsupported settings format (Bodies Settings)"}));
    }
    QByteArray noVersion = file;
    noVersion.replace(" majorVersion=\"1\" minorVersion=\"2\"", "");
    MessageCatcher messages;
    w.load(w.write(QStringLiteral("plain.xml"), noVersion));
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST(SettingsLoad, BodyIdentification)
{
    // Saved bodies: ID 12 "Ball" density 2, ID 99 "ball" density 3, ID 98
    // "Ball" density 4 (the second Ball), ID 97 "Körper" density 5, index 4.
    const QByteArray file = R"(<ZolvarSettings majorVersion="1" minorVersion="2"><preview/><solver/><gravity/>
        <bodies><body layerID="12" index="7" name="Ball" density="2"/>
                <body layerID="99" index="2" name="ball" density="3"/>
                <body layerID="98" index="3" name="Ball" density="4"/>
                <body layerID="12" index="9" name="x" density="8"/>
                <body layerID="97" index="4" name="K)" "\xc3\xb6" R"(rper" density="5"/></bodies></ZolvarSettings>)";
    const struct {
        int mode;
        std::vector<float> densities;  // of the four scene bodies
        const char* unmatched;         // the layers named as left without settings
    } rows[] = {
        {0, {1.0f, 2.0f, 1.0f, 1.0f}, "3 of the composition's 4 layers"},  // ID 12 only, first of the two
        {1, {1.0f, 3.0f, 4.0f, 5.0f}, "1 of the composition's 4 layers"},  // indexes 2, 3, 4
        // Both Balls take the first "Ball"; case-sensitive; non-ASCII.
        {2, {1.0f, 2.0f, 2.0f, 5.0f}, "1 of the composition's 4 layers"},
    };
    for (const auto& row : rows) {
        Window w;
        MessageCatcher messages;
        w.load(w.write(QStringLiteral("ids.xml"), file), row.mode);
        ASSERT_EQ(messages.texts.size(), 1) << messages.texts.join('|').toStdString();
        EXPECT_TRUE(messages.texts[0].startsWith(QLatin1String(row.unmatched))) << messages.texts[0].toStdString();
        EXPECT_TRUE(messages.details[0].contains(QStringLiteral("keep their own: \"Floor\""))) << row.mode;
        for (size_t i = 0; i < 4; ++i)
            EXPECT_FLOAT_EQ(w.view->bodies[i].density, row.densities[i]) << "mode " << row.mode << " body " << i;
    }
    Window w;
    MessageCatcher messages;
    w.load(w.write(QStringLiteral("ids.xml"), file), 3);
    EXPECT_EQ(messages.texts, QStringList({"Matching bodies not found. Settings have not been applied to the scene."}));
}

// A layer whose name holds a carriage return is matched by name after a
// save and a load: the name comes back with its carriage return.
TEST(SettingsLoad, NamesWithLineEndsMatchByName)
{
    Window w;
    const QString name = QStringLiteral("two\r\nlines\rand\ta tab");
    w.view->bodies[2].name = name;
    w.view->bodies[2].density = 6.0f;
    const QString file = w.path(QStringLiteral("names.xml"));
    ASSERT_TRUE(w.view->saveSettings(file, "Most Recent Saved Settings File"));
    w.view->bodies[2].density = 1.0f;
    MessageCatcher messages;
    w.load(file, 2);
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join('|').toStdString();
    EXPECT_EQ(w.view->bodies[2].name, name);
    EXPECT_FLOAT_EQ(w.view->bodies[2].density, 6.0f);
}

// A file that brings more snapshots than a scene can take: those past the
// limit are left out with one warning, the rest loads, and the snapshot
// table is built whole. The file is never saved over, and the editor takes
// no snapshot past the limit. Saved bodies that match no layer are not
// records left out.
TEST(SettingsLoad, WhatLiesPastTheLimitsIsLeftOut)
{
    Window w;
    QByteArray file = sceneFile(w);
    file.truncate(file.indexOf("<presets>"));
    const QByteArray extra = QByteArray("<body layerID=\"9999\" density=\"5\"/>").repeated(1000);
    file.replace("</bodies>", extra + "</bodies>");
    const QByteArray preset = "<preset><preview zoom=\"120\"/><solver/><gravity/><bodies><body layerID=\"" +
                              QByteArray::number(w.view->bodies[1].layerID) +
                              "\" density=\"4\"/></bodies><joints/></preset>";
    file += "<presets>" + preset.repeated(int(kMaxLoadedSnapshots) + 2) + "</presets></ZolvarSettings>";

    MessageCatcher messages;
    const QString large = w.write(QStringLiteral("large %1.xml"), file);
    w.load(large);
    ASSERT_EQ(messages.texts.size(), 1) << messages.texts.join('|').toStdString();
    EXPECT_EQ(messages.texts[0], QStringLiteral("The settings file holds more than one scene can take: what lies "
                                                "past the limits is left out, the rest is loaded."));
    EXPECT_TRUE(messages.details[0].contains(QStringLiteral("2 scene snapshots past the first 10000.")))
        << messages.details[0].toStdString();
    EXPECT_FALSE(messages.details[0].contains(QStringLiteral("bodies"))) << messages.details[0].toStdString();
    EXPECT_EQ(w.view->bodies[0].type, BodyType::Static);
    EXPECT_FLOAT_EQ(w.view->bodies[2].density, 7.0f);
    ASSERT_EQ(w.view->presetList().size(), kMaxLoadedSnapshots);
    EXPECT_FLOAT_EQ(w.view->presetList().back().bodies[1].density, 4.0f);
    EXPECT_EQ(w.view->presetsModel()->columnCount(), int(kMaxLoadedSnapshots));
    EXPECT_EQ(w.view->presetsModel()->item(0, int(kMaxLoadedSnapshots) - 1)->text(), QStringLiteral("#10000"));
    EXPECT_EQ(w.ui.quickPresetsTable->columnWidth(int(kMaxLoadedSnapshots) - 1), 60);
    EXPECT_EQ(w.stack->count(), 0);

    // A snapshot past the limit is not taken.
    QTest::mouseClick(w.ui.addQuickPresetBtn, Qt::LeftButton);
    ASSERT_EQ(messages.texts.size(), 2);
    EXPECT_EQ(messages.texts[1], QStringLiteral("No more scene snapshots can be taken."));
    EXPECT_EQ(w.view->presetList().size(), kMaxLoadedSnapshots);
    EXPECT_EQ(w.stack->count(), 0);

    // The automatic save goes beside the cut file.
    EXPECT_TRUE(w.view->autoSaveSettings(large, "Auto Saved Settings File", nullptr));
    EXPECT_EQ(w.read(large), file);
    const QString beside = w.path(QStringLiteral("large %1.1.xml"));
    EXPECT_EQ(w.stored("Auto Saved Settings File"), beside.toStdString());
    ASSERT_EQ(messages.texts.size(), 3);
    EXPECT_TRUE(messages.texts[2].contains(beside)) << messages.texts[2].toStdString();
    EXPECT_TRUE(w.read(beside).contains("<presets>"));
}

// The close never saves over an autosave file the load refused (a body with
// more attributes than any this program writes): the settings go beside it,
// and a later session that starts from there goes on there.
TEST(SettingsLoad, TheCloseNeverSavesOverARefusedFile)
{
    Window w;
    QByteArray file = sceneFile(w);
    QByteArray attributes;
    for (int i = 0; i < 200; ++i)
        attributes += " extra" + QByteArray::number(i) + "=\"1\"";
    file.replace("<body ", "<body" + attributes + " ");
    const QString autosave = w.write(QStringLiteral(".zolvar_autosave.xml"), file);
    w.write(QStringLiteral(".zolvar_autosave.1.xml"), "taken");
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", w.folder.path().toLocal8Bit());
    MessageCatcher messages;
    w.view->setAutoSaveFile(autosave);
    w.load(autosave, 0, false);
    ASSERT_EQ(messages.texts.size(), 1);
    w.window->closeZolvarDlg();
    qputenv("HOME", home);
    EXPECT_EQ(w.read(autosave), file);
    const QString beside = w.path(QStringLiteral(".zolvar_autosave.2.xml"));
    EXPECT_EQ(w.stored("Auto Saved Settings File"), beside.toStdString());
    ASSERT_EQ(messages.texts.size(), 2) << messages.texts.join('|').toStdString();
    EXPECT_EQ(messages.texts[1], QStringLiteral("The settings file '%1' was not loaded whole, so it was left as it "
                                                "is. The settings of this session were saved to '%2'.")
                                     .arg(autosave, beside));
    const QByteArray saved = w.read(beside);
    EXPECT_TRUE(saved.startsWith("<?xml"));

    // The next session, started from the file beside, saves back into it.
    w.view->setAutoSaveFile(beside);
    w.view->bodies[1].density = 6.0f;
    EXPECT_TRUE(w.view->autoSaveSettings(autosave, "Auto Saved Settings File", nullptr));
    EXPECT_EQ(w.read(autosave), file);
    EXPECT_NE(w.read(beside), saved);
    EXPECT_EQ(messages.texts.size(), 2);

    // A start that was not told where (the name was not kept) finds the
    // session's file, the newest, past the refused files beside it.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();  // takes back the close's end of the loop
    w.view->bodies[1].density = 1.0f;
    w.view->autoLoadSettings(autosave, autosave, 0);
    ASSERT_EQ(messages.texts.size(), 3) << messages.texts.join('|').toStdString();
    EXPECT_TRUE(messages.texts[2].contains(beside)) << messages.texts[2].toStdString();
    EXPECT_EQ(w.view->bodies[1].density, 6.0f);
    EXPECT_TRUE(w.view->autoSaveSettings(autosave, "Auto Saved Settings File", nullptr));
    EXPECT_EQ(messages.texts.size(), 3);
    EXPECT_FALSE(QFileInfo::exists(w.path(QStringLiteral(".zolvar_autosave.3.xml"))));
}

// Of the autosave and the numbered files beside it, the start loads the
// newest that loads whole (of two written at once, the original, then the
// higher number), names it when the host named another, and names the newer
// files it refused; the close saves back into it, and a close's file that
// cannot be written over or into gives way to a file beside it. Every
// other file stays.
TEST(SettingsLoad, EachStartTakesTheNewestAutosave)
{
    Window w;
    auto withDensity = [&w](float density) {
        w.view->bodies[1].density = density;
        return w.saved(QStringLiteral("scratch.xml"));
    };
    const struct {
        const char* name;
        QByteArray files;   // the original, then .1, .2 ...: g loads, r refused, d folder, p pipe, w loads but
                            // nobody may write it, t the same written in the future; links: n to a null device,
                            // f to a full device, l round in a circle, m into a folder that is not there
        int tie;            // a file written at the same time as the one before it
        bool start;         // the first session loads at its start
        int loaded, saved;  // the files of the first session (-1: none loaded, none written)
    } rows[] = {
        {"a folder, a file beside it, no load", "dg", 0, false, -1, 1},
        {"a pipe", "p", 0, true, -1, 1},
        {"thirty beside a refused file", "r" + QByteArray(30, 'g'), 0, true, 30, 30},
        {"the original readable again, older", "gg", 0, true, 1, 1},
        {"the newest refused, a tie before it", "rggr", 2, true, 2, 2},
        {"the original first on a tie", "gg", 1, true, 0, 0},
        {"a file nobody may write", "w", 0, true, 0, 1},
        {"nobody may write it, written in the future", "t", 0, true, 0, 1},
        {"a link to a null device", "n", 0, false, -1, -1},
        {"a link to a full device", "f", 0, true, -1, 1},
        {"a link round in a circle", "l", 0, false, -1, 1},
        {"a link into a folder that is not there", "m", 0, false, -1, 1},
    };
    const QDateTime past = QDateTime::currentDateTime().addSecs(-3600);
    QTemporaryDir probe;
    const bool devices = ::mknod(QFile::encodeName(probe.filePath("null")).constData(), S_IFCHR | 0666,
                                 makedev(1, 3)) == 0;
    if (!devices)
        std::cout << "The rows with devices are left out: making one needs the right to.\n";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (!devices && std::strpbrk(row.files.constData(), "nf"))
            continue;
        QTemporaryDir home;
        const QString usual = home.filePath(QStringLiteral(".zolvar_autosave.xml"));
        auto name = [&](int n) {
            return n ? home.filePath(QStringLiteral(".zolvar_autosave.%1.xml").arg(n)) : usual;
        };
        for (int n = 0; n < row.files.size(); ++n) {
            const char kind = row.files[n];
            if (kind == 'd')
                QDir().mkdir(name(n));
            if (kind == 'p') {
                ASSERT_EQ(::mkfifo(QFile::encodeName(name(n)).constData(), 0600), 0);
            }
            // Devices made here, never the machine's own.
            const QString device = home.filePath(QStringLiteral("device"));
            if (kind == 'n' || kind == 'f') {
                ASSERT_EQ(::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666,
                                  makedev(1, kind == 'n' ? 3 : 7)), 0);
            }
            if (std::strchr("nflm", kind)) {
                ASSERT_TRUE(QFile::link(kind == 'l' ? name(n) : kind == 'm' ? home.filePath("gone/x.xml") : device,
                                        name(n)));
            }
            if (!std::strchr("grwt", kind))
                continue;
            QFile file(name(n));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(kind != 'r' ? withDensity(10.0f + float(n))
                                   : QByteArray("<ZolvarSettings><bodies/></ZolvarSettings>"));
            ASSERT_TRUE(file.flush()) << "a write after the time would set it to now";
            file.setFileTime(kind == 't' ? QDateTime::currentDateTime().addDays(1)
                                         : past.addSecs(60 * (n && n == row.tie ? n - 1 : n)),
                             QFileDevice::FileModificationTime);
            if (kind == 'w' || kind == 't')
                file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        }
        // What each entry holds; a folder, a pipe or a device is never opened.
        auto contents = [&] {
            QMap<QString, QByteArray> all;
            for (const QFileInfo& info : QDir(home.path()).entryInfoList(QDir::AllEntries | QDir::System |
                                                                         QDir::Hidden | QDir::NoDotAndDotDot))
                all[info.filePath()] = info.isFile() ? w.read(info.filePath()) : QByteArray("not read");
            return all;
        };
        int loaded = row.loaded;
        const int saved = row.saved;
        for (int session = 0; session < 2; ++session) {
            SCOPED_TRACE(session);
            QMap<QString, QByteArray> files = contents();
            MessageCatcher messages;
            w.view->bodies[1].density = 0.5f;
            w.view->setAutoSaveFile(QString());
            // The first start is told the original, the next what the close stored.
            const QString stored = session ? QString::fromStdString(*w.stored("Auto Saved Settings File")) : usual;
            if (session || row.start)
                w.view->autoLoadSettings(stored, usual, 0);
            EXPECT_EQ(w.view->bodies[1].density, loaded < 0 ? 0.5f : session ? 99.0f : 10.0f + float(loaded));
            EXPECT_EQ(messages.texts.filter(QStringLiteral("were loaded from '%1'").arg(name(loaded))).size(),
                      loaded > 0 && !session ? 1 : 0) << messages.texts.join('|').toStdString();
            for (int n = loaded + 1; n < row.files.size() && loaded >= 0; ++n)
                EXPECT_EQ(messages.texts.filter(QStringLiteral("'%1': ").arg(name(n))).size(),
                          row.files[n] == 'r' && !session ? 1 : 0) << messages.texts.join('|').toStdString();
            w.view->bodies[1].density = 99.0f;
            EXPECT_TRUE(w.view->autoSaveSettings(usual, "Auto Saved Settings File", nullptr));
            if (saved >= 0) {
                files[name(saved)] = w.read(name(saved));
                EXPECT_TRUE(files[name(saved)].contains("density=\"99")) << name(saved).toStdString();
            }
            EXPECT_EQ(contents(), files) << "nothing else is written";
            loaded = saved;
        }
    }
}

// Settings of a 3,000-layer composition loaded by name into a smaller one:
// the records are matched wherever they stand, all the springs of a cloth
// come along, and the layers without a record are named.
TEST(SettingsLoad, RecordsAreMatchedBeforeAnyLimit)
{
    Window w;
    QByteArray bodies;
    for (int i = 0; i < 3000; ++i)
        bodies += "<body name=\"Layer " + QByteArray::number(i) + "\" type=\"0\"/>";
    bodies += "<body name=\"Floor\" type=\"0\"/><body name=\"K\xc3\xb6rper\" density=\"3\"/>";
    const QByteArray spring = R"(<joint type="3" bodyALayerName="Floor" bodyBLayerName="K)"
                              "\xc3\xb6" R"(rper" anchorAX="0" anchorAY="0" anchorBX="0" anchorBY="0"
                              springiness="1" damping="0" desiredLength="1"/>)";
    const QByteArray file = "<ZolvarSettings><preview/><solver/><gravity/><bodies>" + bodies + "</bodies><joints>" +
                            spring.repeated(2202) + "</joints></ZolvarSettings>";
    MessageCatcher messages;
    w.load(w.write(QStringLiteral("parent.xml"), file), 2);
    EXPECT_EQ(w.view->bodies[0].type, BodyType::Static) << "\"Floor\" is record 3,001";
    EXPECT_FLOAT_EQ(w.view->bodies[3].density, 3.0f);
    EXPECT_EQ(w.view->joints.size(), 2202u);
    ASSERT_EQ(messages.texts.size(), 1) << messages.texts.join('|').toStdString();
    EXPECT_EQ(messages.texts[0], QStringLiteral("2 of the composition's 4 layers found no settings in the file."));
    EXPECT_TRUE(messages.details[0].contains(QStringLiteral("\"Ball\", \"Ball\""))) << messages.details[0].toStdString();
    EXPECT_FALSE(w.view->isKeptSettingsFile(w.path(QStringLiteral("parent.xml"))));
}

TEST(SettingsLoad, PartialBodiesKeepTheirOwn)
{
    Window w;
    const b2Vec2 position = w.view->bodies[1].position;
    const double red = w.view->bodies[1].color.red;
    // No layer ID: never matches by ID; by name it matches but has no
    // position or colour, so the scene's stay.
    const QByteArray file = R"(<ZolvarSettings><preview zoom="300.700000"/><solver/><gravity/>
        <bodies><body name="Ball" type="0" positionX="5"/></bodies></ZolvarSettings>)";
    MessageCatcher messages;
    w.load(w.write(QStringLiteral("partial.xml"), file), 0);
    EXPECT_EQ(messages.texts.size(), 1);
    w.load(w.path(QStringLiteral("partial.xml")), 2);
    EXPECT_EQ(messages.texts.size(), 2) << "the layers without settings are named";
    EXPECT_EQ(w.view->bodies[1].type, BodyType::Static);
    EXPECT_EQ(w.view->bodies[1].position, position);
    EXPECT_EQ(w.view->bodies[1].color.red, red);
    EXPECT_EQ(w.ui.zoomSld->value(), 300);
    EXPECT_EQ(w.view->bodies[0].type, BodyType::Dynamic) << "a body without a match keeps its settings";
}

// A body entry without an angle leaves the body turned as it is, like a
// missing position; an angle that is there is taken, 0 included.
TEST(SettingsLoad, AMissingAngleKeepsTheBodysOwn)
{
    Window w(QByteArray(R"({
    "format": "zolvar-standin-project",
    "footage": [{"id": 1, "name": "Red", "kind": "solid", "width": 100, "height": 100, "color": [1, 0, 0]}],
    "compositions": [{"id": 10, "name": "Main", "width": 1000, "height": 1000, "frameRate": 25, "duration": 4,
        "layers": [
            {"id": 11, "type": "solid", "name": "Turned", "source": 1, "transform": {"position": [300, 300], "rotation": 30}},
            {"id": 12, "type": "solid", "name": "Level", "source": 1, "transform": {"position": [600, 300], "rotation": 30}}]}],
    "activeItem": "Main"
})"));
    const float turned = w.view->bodies[0].angle;
    ASSERT_NE(turned, 0.0f);
    const QByteArray file = R"(<ZolvarSettings><preview/><solver/><gravity/><bodies>
        <body layerID="11" type="0" density="3"/>
        <body layerID="12" type="0" density="3" angle="0.000000"/></bodies></ZolvarSettings>)";
    MessageCatcher messages;
    w.load(w.write(QStringLiteral("angles.xml"), file), 0);
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(w.view->bodies[0].density, 3.0f);
    EXPECT_EQ(w.view->bodies[0].angle, turned);
    ASSERT_NE(w.view->bodies[0].body, nullptr);
    EXPECT_NEAR(w.view->bodies[0].body->GetAngle(), turned, 1e-6f);
    EXPECT_EQ(w.view->bodies[1].density, 3.0f);
    EXPECT_EQ(w.view->bodies[1].angle, 0.0f);
}

TEST(SettingsLoad, JointsAreSkippedForTheirReasons)
{
    Window w;
    const QByteArray pivot = R"(type="1" anchorX="0" anchorY="0" enableLimit="1" lowerAngle="30" upperAngle="-30"
        enableMotor="0" motorSpeed="0" maxMotorTorque="0" collideConnected="0")";
    const QByteArray file = "<ZolvarSettings><preview/><solver/><gravity/><bodies><body layerID=\"11\"/></bodies>"
                            "<joints>"
                            "<joint bodyALayerID=\"12\" bodyBLayerID=\"12\" " + pivot + "/>"     // one body
                            "<joint bodyALayerID=\"12\" bodyBLayerID=\"77\" " + pivot + "/>"     // end not found
                            "<joint bodyALayerID=\"12\" bodyBLayerID=\"13\" type=\"7\"/>"        // unknown type
                            "<joint bodyALayerID=\"12\" bodyBLayerID=\"13\"/>"                   // no type
                            "<joint bodyALayerID=\"12\" bodyBLayerID=\"13\" type=\"1\" anchorX=\"0\"/>"  // lacking
                            "<joint bodyALayerID=\"12\" bodyBLayerID=\"13\" " + pivot + "/>"     // taken
                            "<joint bodyALayerID=\"14\" bodyBLayerID=\"11\" type=\"2\" axisX=\"0\" axisY=\"0\" "
                            "enableLimit=\"1\" lowerTranslation=\"5\" upperTranslation=\"-5\" enableMotor=\"1\" "
                            "motorSpeed=\"1e30\" maxMotorForce=\"nan\" collideConnected=\"1\"/>"  // lacking force
                            "<joint bodyALayerID=\"14\" bodyBLayerID=\"11\" type=\"2\" axisX=\"0\" axisY=\"0\" "
                            "enableLimit=\"1\" lowerTranslation=\"5\" upperTranslation=\"-5\" enableMotor=\"1\" "
                            "motorSpeed=\"1e30\" maxMotorForce=\"1e30\" collideConnected=\"1\"/>"  // taken
                            "</joints></ZolvarSettings>";
    MessageCatcher messages;
    w.load(w.write(QStringLiteral("joints.xml"), file));
    ASSERT_EQ(w.view->joints.size(), 2u);
    EXPECT_EQ(w.view->joints[0].type, JointType::Revolute);
    EXPECT_EQ(w.view->joints[0].id, 0);
    EXPECT_EQ(w.view->joints[1].id, 1);
    EXPECT_EQ(w.view->joints[1].bodyA, 3);
    EXPECT_EQ(w.view->bodies[1].joints.size(), 1u);
    EXPECT_EQ(w.view->form().jointsTable->model()->rowCount(), 2);
    // Inverted limits, a zero axis and huge values pass through the guard:
    // the world is built and runs.
    EXPECT_TRUE(w.view->joints[0].joint);
    EXPECT_TRUE(w.view->joints[1].joint);
    w.view->playAnimation();
    for (int i = 0; i < 30; ++i)
        w.view->updatePhysics();
    for (const MyBody& b : w.view->bodies)
        EXPECT_TRUE(std::isfinite(b.body->GetPosition().x));
}

TEST(SettingsLoad, HostileFilesNeverReachTheWorld)
{
    const QDir corpus(QString::fromLocal8Bit(qgetenv("ZOLVAR_SOURCE_DIR")) +
                      QStringLiteral("/tests/fuzz/settings/corpus"));
    Window w;
    for (const QFileInfo& info : corpus.entryInfoList(QDir::Files, QDir::Name)) {
        for (int mode = 0; mode < 3; ++mode) {
            MessageCatcher messages;
            w.load(info.filePath(), mode, false);
            w.view->playAnimation();
            // Every body stays where it can be drawn and recorded.
            for (int i = 0; i < 60; ++i) {
                w.view->updatePhysics();
                for (const MyBody& b : w.view->bodies)
                    ASSERT_TRUE(!b.body || Box2DGuard::isFinite(b.body->GetPosition()))
                        << info.fileName().toStdString() << " mode " << mode << " tick " << i;
            }
            w.view->restartAndStopAnimation(false);
        }
    }
    for (const MyBody& b : w.view->bodies) {
        EXPECT_TRUE(std::isfinite(b.position.x) && std::isfinite(b.density));
        EXPECT_GE(b.density, 0.001f);
    }
}

// While an export writes its keys, neither a load nor a snapshot restore may
// change the scene under it.
TEST(SettingsLoad, RefusedWhileKeysAreWritten)
{
    Window w;
    const QString file = w.path(QStringLiteral("scene.xml"));
    w.view->saveSettings(file, "Most Recent Saved Settings File");
    w.view->addPresets({w.view->currentScene(true)});
    w.ui.startFrameEt->setValue(0);
    emit w.ui.startFrameEt->editingFinished();
    w.ui.endFrameEt->setValue(3);
    emit w.ui.endFrameEt->editingFinished();

    MessageCatcher messages;
    const QStringList& texts = messages.texts;
    bool tried = false;
    // The progress of the keys shows while the writer is between two layers.
    QObject::connect(w.ui.progressBar, &QProgressBar::valueChanged, [&] {
        if (!tried && w.view->isWritingKeys()) {
            tried = true;
            const int history = w.stack->count();
            w.load(file);
            w.view->quickPresetsTableDoubleClicked(w.view->presetsModel()->index(0, 0));
            EXPECT_EQ(w.stack->count(), history);
        }
    });
    w.view->getTimer()->start(1);
    w.ui.exportBtn->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return tried && texts.size() >= 2; }, 20000))
        << "the export never reached its keys";
    ASSERT_GE(texts.size(), 2);
    EXPECT_EQ(texts[0], QStringLiteral("Settings cannot be loaded while keyframes are being written."));
    EXPECT_EQ(texts[1], QStringLiteral("A scene snapshot cannot be restored while keyframes are being written."));
}

// A loaded mesh precision or hull choice rebuilds exactly the bodies whose
// outlines were built otherwise.
TEST(SettingsLoad, OutlinesFollowTheLoadedPrecision)
{
    Window w;
    const QByteArray file = R"(<ZolvarSettings><preview/><solver/><gravity/>
        <bodies><body layerID="12" meshPrecision="6" useConvexHull="1"/><body layerID="13"/></bodies>
        </ZolvarSettings>)";
    MessageCatcher messages;
    w.load(w.write(QStringLiteral("precision.xml"), file));
    EXPECT_EQ(w.view->bodies[1].outlinePrecision, 6);
    EXPECT_TRUE(w.view->bodies[1].outlineHull);
    EXPECT_EQ(w.view->bodies[2].outlinePrecision, 2);
    EXPECT_FALSE(w.view->bodies[2].outlineHull);
    EXPECT_TRUE(w.view->bodies[1].body && w.view->bodies[1].body->GetFixtureList());
}
