// Runs the built zolvar-host as a separate process, with its own home,
// configuration folder and persistent-data file, as a user would run it.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

#include <initializer_list>

#ifndef ZOLVAR_HOST_PATH
#error "ZOLVAR_HOST_PATH must name the built zolvar-host"
#endif

struct HostRun
{
    bool finished = false;
    int exitCode = -1;
    QString out;
    QString err;
};

// A temporary home for one run: HOME, XDG_CONFIG_HOME and STANDIN_PREFS
// point inside it, so no run reads or writes the user's own files.
class HostSandbox
{
public:
    HostSandbox()
    {
        QDir(dir_.path()).mkpath(QStringLiteral(".config"));
    }

    QString path(const QString& name) const { return dir_.filePath(name); }
    QString prefsPath() const { return path(QStringLiteral("prefs.ini")); }

    HostRun run(const QStringList& args, int timeoutSeconds = 60,
                const QProcessEnvironment& extra = QProcessEnvironment()) const
    {
        ensureApplication();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), dir_.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral(".config")));
        env.insert(QStringLiteral("STANDIN_PREFS"), prefsPath());
        env.insert(QStringLiteral("ZOLVAR_HOST_TIMEOUT"), QString::number(timeoutSeconds));
        for (const QString& key : extra.keys())
            env.insert(key, extra.value(key));
        QProcess process;
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(dir_.path());
        process.start(QStringLiteral(ZOLVAR_HOST_PATH), args);
        HostRun run;
        if (!process.waitForStarted(10000))
            return run;
        // A bit longer than the host's own watchdog, which should fire first.
        run.finished = process.waitForFinished((timeoutSeconds + 30) * 1000);
        if (!run.finished) {
            process.kill();
            process.waitForFinished(5000);
        }
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }

    static QByteArray readAll(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static bool write(const QString& file, const QByteArray& bytes)
    {
        QFile f(file);
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
    }

    // The files in the sandbox (no configuration folder), sorted.
    QStringList files() const
    {
        return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

private:
    static void ensureApplication()
    {
        static int argc = 1;
        static char arg0[] = "host-test";
        static char* argv[] = {arg0, nullptr};
        if (!QCoreApplication::instance())
            new QCoreApplication(argc, argv);
    }

    QTemporaryDir dir_;
};

inline std::string show(const HostRun& run)
{
    return "exit " + std::to_string(run.exitCode) + "\n--- stdout\n" + run.out.toStdString() + "--- stderr\n"
        + run.err.toStdString();
}

// `settings` as the settings file loaded automatically when the window
// opens, its bodies found by layer name. False when a file could not be
// written.
inline bool storeAutoLoadedSettings(const HostSandbox& box, const QByteArray& settings)
{
    const QString settingsFile = box.path("bodies.xml");
    return HostSandbox::write(settingsFile, settings)
           && HostSandbox::write(box.prefsPath(), "[VH Zolvar 2]\nAuto Load/Save Settings=1\n"
                                                  "Auto Saved Settings File=" + settingsFile.toUtf8() +
                                                      "\nBody Identification for Auto Load Settings=2\n");
}

// A settings file of `version` ("1.2" is the program's own) that gives the
// bodies of these layers (found by name) `attributes` (for example
// `type="2"`), with gravity 10, two steps a frame and `snapshots` scene
// snapshots of the first of them.
inline QByteArray bodySettings(const QList<QByteArray>& names, const char* attributes,
                               const char* version = "1.2", int snapshots = 0)
{
    const QList<QByteArray> numbers = QByteArray(version).split('.');
    const QByteArray globals = "<preview zoom=\"50\" panX=\"0\" panY=\"0\" bgColorR=\"0\" bgColorG=\"0\" bgColorB=\"0\"/>\n"
                               "<solver timeDivider=\"1\" tolerance=\"50\" stepsPerFrame=\"2\"/>\n"
                               "<gravity magnitude=\"10\" direction=\"90\" takeValueFrom=\"0\"/>\n";
    QByteArray settings = "<?xml version=\"1.0\"?>\n<ZolvarSettings majorVersion=\"" + numbers.value(0)
                          + "\" minorVersion=\"" + numbers.value(1) + "\">\n" + globals + "<bodies>\n";
    for (const QByteArray& name : names)
        settings += "<body name=\"" + name + "\" " + attributes + "/>\n";
    settings += "</bodies>\n<joints/>\n<presets>\n";
    const QByteArray snapshot = "<preset>" + globals + "<bodies><body name=\"" + names.value(0)
                                + "\"/></bodies><joints/></preset>\n";
    for (int i = 0; i < snapshots; ++i)
        settings += snapshot;
    return settings + "</presets>\n</ZolvarSettings>\n";
}

// bodySettings() of version 1.2 without snapshots, loaded automatically.
inline bool storeBodySettings(const HostSandbox& box, const QList<QByteArray>& names,
                              const char* attributes)
{
    return storeAutoLoadedSettings(box, bodySettings(names, attributes));
}
