// A shown main window over a composition of three 100 x 100 boxes side by
// side (bodies 0, 1, 2 at composition x 200, 500 and 800, y 500), with
// helpers that click and drag in the scene view at body positions.
#pragma once

#include "mainwindow/WindowFixture.h"

#include "render/GLWidget.h"
#include "simulation/SimulationView.h"

#include <QTest>
#include <QTimer>
#include <QUndoStack>

namespace edit_test {

inline const QByteArray kThreeBoxes = R"({
    "format": "zolvar-standin-project",
    "footage": [{"id": 1, "name": "Red", "kind": "solid", "width": 100, "height": 100, "color": [1, 0, 0]}],
    "compositions": [{"id": 10, "name": "Main", "width": 1000, "height": 1000, "frameRate": 25, "duration": 4,
        "layers": [
            {"id": 1, "type": "solid", "name": "A", "source": 1, "transform": {"position": [200, 500]}},
            {"id": 2, "type": "solid", "name": "B", "source": 1, "transform": {"position": [500, 500]}},
            {"id": 3, "type": "solid", "name": "C", "source": 1, "transform": {"position": [800, 500]}}]}],
    "activeItem": "Main"
})";

struct Edit
{
    std::unique_ptr<window_test::Host> host;
    std::unique_ptr<ZolvarDlg> window = window_test::makeWindow(*host);
    SimulationView* view = window->simulationView();
    GLWidget* gl = view->getGLWidget();
    QUndoStack* stack = view->getUndoStack();

    explicit Edit(const QByteArray& json = kThreeBoxes) : host(window_test::makeHost(18, 0, json))
    {
        window_test::showStill(*window);
        view->zoomFit();
    }

    // The widget pixel of a world point, and of a body's centre.
    QPoint pixel(b2Vec2 p) const
    {
        return QPoint(int(gl->getViewXCoordFromGL(p.x, float(gl->width()))),
                      int(gl->getViewYCoordFromGL(p.y, float(gl->height()))));
    }
    QPoint bodyPixel(int body) const { return pixel(view->bodies[size_t(body)].position); }
    // Empty space above the boxes.
    QPoint emptyPixel() const { return pixel(b2Vec2(0.0f, -4.0f)); }

    void click(QPoint at, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::mousePress(gl, Qt::LeftButton, mods, at);
        QTest::mouseRelease(gl, Qt::LeftButton, mods, at);
    }
    void drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::mousePress(gl, Qt::LeftButton, mods, from);
        moveTo((from + to) / 2, mods);
        moveTo(to, mods);
        QTest::mouseRelease(gl, Qt::LeftButton, mods, to);
    }

    void moveTo(QPoint at, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), gl->mapToGlobal(QPointF(at)), Qt::NoButton,
                         Qt::LeftButton, mods);
        QApplication::sendEvent(gl, &move);
    }

    std::vector<int> selected() const { return view->getSelectedRows2(); }
    std::vector<int> tableRows() const
    {
        std::vector<int> rows = view->getSelectedRows();
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    QString lastText() const { return stack->count() ? stack->text(stack->count() - 1) : QString(); }
};

} // namespace edit_test
