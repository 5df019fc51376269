// Answers a modal dialog from inside its exec(): polls the top-level widgets
// until a visible one of type T shows, then runs `act` on it once. Gives up
// after about five seconds, so a dialog that never came cannot be answered by
// a later test's poll.
#pragma once

#include <QApplication>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

// Returns the poll, which the caller may stop (deleting it) when no dialog is
// expected after all.
template <class T>
QPointer<QTimer> whenShown(std::function<void(T&)> act)
{
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    auto tries = std::make_shared<int>(0);
    // A dialog can show (and a poll run) before its exec() loop is entered;
    // closed then, the loop would wait for ever. Act only inside that loop.
    const int level = QThread::currentThread()->loopLevel();
    QObject::connect(timer, &QTimer::timeout, [timer, act, tries, level] {
        if (++*tries > 1000) {
            timer->stop();
            timer->deleteLater();
            return;
        }
        if (QThread::currentThread()->loopLevel() <= level)
            return;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<T*>(w); dialog && dialog->isVisible()) {
                timer->stop();
                timer->deleteLater();
                act(*dialog);
                return;
            }
    });
    timer->start();
    return timer;
}
