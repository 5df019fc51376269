// The X server's own pointer and keyboard, driven by xdotool as a user's
// hand drives them. Events synthesized inside Qt do not take the road the
// server's events take (pointer grabs, mouse tracking, hover, modal
// windows blocking input), hence the real ones. Without xdotool or an X
// server the cases that need them are skipped, saying why; where the run
// asks for them (ZOLVAR_REQUIRE_REAL_INPUT=1, as scripts/test and
// scripts/sanitize set it), they fail instead, so a broken set-up cannot
// leave the window untested in a green run.
#pragma once

#include "mainwindow/WindowFixture.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPoint>
#include <QProcess>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStringList>
#include <QTest>

namespace real_pointer {

// Runs xdotool on the application's display while the application goes on
// handling its events, then lets the events the server sent arrive.
inline bool xdotool(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    if (!process.waitForStarted(5000))
        return false;
    for (int waited = 0; process.state() != QProcess::NotRunning && waited < 20000; waited += 5)
        QTest::qWait(5);
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    QTest::qWait(40);
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// Why the real pointer cannot be driven here; empty when it can.
inline QString missing()
{
    window_test::isolatedHome();  // makes the application
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return QStringLiteral("the application does not run on an X server (platform %1)")
            .arg(QGuiApplication::platformName());
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        return QStringLiteral("xdotool is not installed");
    if (!xdotool({QStringLiteral("getmouselocation")}))
        return QStringLiteral("xdotool cannot reach the X server");
    return QString();
}

// Whether this run must drive the real pointer and keyboard.
inline bool required()
{
    const QByteArray value = qgetenv("ZOLVAR_REQUIRE_REAL_INPUT");
    return !value.isEmpty() && value != "0";
}

inline QStringList moveTo(QPoint global)
{
    return {QStringLiteral("mousemove"), QString::number(global.x()), QString::number(global.y())};
}

// Presses and releases each of the keys (xdotool's names, as "ctrl+shift+z").
inline bool keys(const QStringList& names)
{
    return xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("30")} + names);
}

// Makes the page that holds w current and scrolls its panel to it; the
// point of w the pointer can reach, or a null point.
inline QPoint reveal(QWidget* w)
{
    for (QWidget *child = w, *parent = w->parentWidget(); parent; child = parent, parent = parent->parentWidget())
        if (auto* pages = qobject_cast<QStackedWidget*>(parent))
            pages->setCurrentWidget(child);
    for (QWidget* parent = w->parentWidget(); parent; parent = parent->parentWidget())
        if (auto* area = qobject_cast<QScrollArea*>(parent))
            area->ensureWidgetVisible(w, 0, 0);
    QTest::qWait(20);
    if (!w->isVisible())
        return QPoint();
    const QRect shown = w->visibleRegion().boundingRect();
    if (shown.width() < 20 || shown.height() < 4)
        return QPoint();
    const QPoint centre = w->mapToGlobal(shown.center());
    const QWidget* hit = QApplication::widgetAt(centre);
    return hit && (hit == w || w->isAncestorOf(hit)) ? centre : QPoint();
}

} // namespace real_pointer

#define SKIP_WITHOUT_REAL_POINTER()                                                       \
    do {                                                                                  \
        const QString missing = real_pointer::missing();                                  \
        if (!missing.isEmpty() && real_pointer::required())                               \
            FAIL() << "ZOLVAR_REQUIRE_REAL_INPUT is set, but " << missing.toStdString();  \
        if (!missing.isEmpty())                                                           \
            GTEST_SKIP() << missing.toStdString();                                        \
    } while (false)
