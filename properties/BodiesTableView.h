// The bodies table of the main window. Built without a Qt parent: the layout
// that receives it adopts it.
#pragma once

#include <QTableView>

class BodiesTableView : public QTableView
{
    Q_OBJECT

public:
    explicit BodiesTableView(QWidget* parent);
};
