// The plug-in's Qt application. It runs inside the host's process, and no
// exception may unwind through Qt's event loop into the host: whatever an event
// handler or slot throws is caught here and reported once.
#pragma once

#include <QApplication>

class ZolvarApplication : public QApplication
{
    Q_OBJECT
public:
    ZolvarApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

signals:
    // Emitted after a failure was caught and reported; whatever plays or
    // repeats host calls stops on it.
    void hostCallFailed(int err);
};
