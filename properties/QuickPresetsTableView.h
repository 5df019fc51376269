// The one-row strip of scene snapshots above the preview; its context menu
// deletes a snapshot. The view hands it the snapshot model and a copy of the
// snapshot list whenever snapshots are added or loaded.
#pragma once

#include "model/QuickPreset.h"
#include "properties/MenuTableView.h"

#include <vector>

class QStandardItemModel;

class QuickPresetsTableView : public MenuTableView
{
    Q_OBJECT

public:
    explicit QuickPresetsTableView(QWidget* parent);

    void setQuickPresetsTableModel(QStandardItemModel* model);
    void setQuickPresets(std::vector<QuickPreset> presets) { quickPresets = std::move(presets); }
    const std::vector<QuickPreset>& presets() const { return quickPresets; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::vector<QuickPreset> quickPresets;
};
