// The one-row strip of scene snapshots above the preview. Built without a Qt
// parent: the layout that receives it adopts it.
#pragma once

#include <QTableView>

class QuickPresetsTableView : public QTableView
{
    Q_OBJECT

public:
    explicit QuickPresetsTableView(QWidget* parent);
};
