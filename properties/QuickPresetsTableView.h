// The one-row strip of scene snapshots above the preview. Built without a Qt
// parent: the layout that receives it adopts it. The view hands it the
// snapshot model and a copy of the snapshot list whenever snapshots are
// added or loaded.
#pragma once

#include "model/QuickPreset.h"

#include <QTableView>

#include <vector>

class QStandardItemModel;

class QuickPresetsTableView : public QTableView
{
    Q_OBJECT

public:
    explicit QuickPresetsTableView(QWidget* parent);

    void setQuickPresetsTableModel(QStandardItemModel* model);
    void setQuickPresets(std::vector<QuickPreset> presets) { quickPresets = std::move(presets); }
    const std::vector<QuickPreset>& presets() const { return quickPresets; }

private:
    std::vector<QuickPreset> quickPresets;
};
