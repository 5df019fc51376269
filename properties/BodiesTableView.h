// The bodies table of the main window: its context menu is the scene's.
#pragma once

#include "properties/MenuTableView.h"

class BodiesTableView : public MenuTableView
{
    Q_OBJECT

public:
    explicit BodiesTableView(QWidget* parent);
};
