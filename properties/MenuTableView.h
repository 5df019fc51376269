// A table whose context menu opens only over a row, and where a click on
// empty space clears the selection: the bodies table and the scene-snapshot
// strip. The menu is handed in by the scene view and not owned.
#pragma once

#include <QTableView>

class QMenu;

class MenuTableView : public QTableView
{
    Q_OBJECT

public:
    // Built without a Qt parent: the layout that receives it adopts it.
    MenuTableView();

    void setContextMenu(QMenu* menu) { contextMenu = menu; }
    QMenu* menu() const { return contextMenu; }

public slots:
    // Left or right press over no row clears the selection; every press
    // then goes on to the table.
    void mousePressEvent(QMouseEvent* event) override;
    // Runs the menu at pos (viewport coordinates) when pos is over a row.
    void openMenu(const QPoint& pos);

private:
    QMenu* contextMenu = nullptr;
};
