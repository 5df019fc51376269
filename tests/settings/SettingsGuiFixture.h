// A shown main window over four layers (IDs 11 to 14, two of them named
// alike, one with a non-ASCII name), a message catcher, and helpers that
// write settings files into a temporary folder.
#pragma once

#include "mainwindow/WindowFixture.h"

#include "properties/EditBox.h"
#include "properties/PropertyCommands.h"
#include "properties/SliderGo.h"
#include "render/GLWidget.h"
#include "simulation/SimulationView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

#include <functional>

namespace settings_gui {

inline const QByteArray kFourLayers = R"({
    "format": "zolvar-standin-project",
    "footage": [{"id": 1, "name": "Red", "kind": "solid", "width": 100, "height": 100, "color": [1, 0, 0]},
                {"id": 2, "name": "Wide", "kind": "solid", "width": 1000, "height": 40, "color": [0, 0.5, 1.5]}],
    "compositions": [{"id": 10, "name": "Main", "width": 1000, "height": 1000, "frameRate": 25, "duration": 4,
        "layers": [
            {"id": 11, "type": "solid", "name": "Floor", "source": 2, "transform": {"position": [500, 900]}},
            {"id": 12, "type": "solid", "name": "Ball", "source": 1, "label": 5, "transform": {"position": [300, 300]}},
            {"id": 13, "type": "solid", "name": "Ball", "source": 1, "label": 2, "transform": {"position": [600, 300]}},
            {"id": 14, "type": "solid", "name": "K\u00f6rper", "source": 1, "transform": {"position": [800, 300]}}]}],
    "activeItem": "Main"
})";

// Answers every message box while it lives (OK), keeping text and details.
class MessageCatcher
{
public:
    explicit MessageCatcher(int interval = 10)
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->text();
                details << box->informativeText();
                box->accept();
            }
        });
        timer.start(interval);
    }
    QStringList texts;
    QStringList details;

private:
    QTimer timer;
};

struct Window
{
    std::unique_ptr<window_test::Host> host;
    std::unique_ptr<ZolvarDlg> window;
    SimulationView* view;
    QUndoStack* stack;
    const Ui::ZolvarDlgClass& ui;
    QTemporaryDir folder;

    explicit Window(const QByteArray& project = kFourLayers)
        : host(window_test::makeHost(18, 0, project))
        , window(window_test::makeWindow(*host))
        , view(window->simulationView())
        , stack(view->getUndoStack())
        , ui(view->form())
    {
        window_test::showStill(*window);
    }

    // A window that ran its close sequence asked the application's loop to
    // end; a loop run once takes that back, so later modal loops run.
    ~Window()
    {
        if (window->isClosing()) {
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
            QCoreApplication::exec();
        }
    }

    QString path(const QString& name) const { return folder.path() + QLatin1Char('/') + name; }
    QString write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path(name);
    }
    QByteArray read(const QString& file) const
    {
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
    // Saves the scene and gives the file's text.
    QByteArray saved(const QString& name = QStringLiteral("scene.xml"))
    {
        view->saveSettings(path(name), "Most Recent Saved Settings File");
        return read(path(name));
    }
    void load(const QString& file, int mode = 0, bool remember = true)
    {
        view->loadSettings(file.toUtf8().constData(), remember, mode);
    }
    std::optional<std::string> stored(const char* key) const
    {
        return host->session->prefs().value(window_test::kSection, key);
    }
    QStringList presetTexts() const
    {
        QStringList texts;
        QStandardItemModel* model = view->presetsModel();
        for (int c = 0; c < model->columnCount(); ++c)
            texts << (model->item(0, c) ? model->item(0, c)->text() : QString());
        return texts;
    }
};

} // namespace settings_gui
