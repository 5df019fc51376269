// The one-row strip of scene snapshots above the preview; its context menu
// deletes a snapshot.
#pragma once

#include "properties/MenuTableView.h"

class QuickPresetsTableView : public MenuTableView
{
    Q_OBJECT

public:
    explicit QuickPresetsTableView(QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
