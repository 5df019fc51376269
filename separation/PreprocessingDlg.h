// The offer, before the scene is built, to split layers that would become one
// body of several outlines: a modal dialog listing the layers, with
// "Separate" and "Skip". Separating runs inside one host undo group, "Zolvar -
// Shapes Separation", with a progress bar for the layers and one for the
// masks or shapes of the layer at hand. Skip, Esc or the title bar's close
// button leave the composition untouched. Whatever went wrong in a run is
// shown once, at its end, in one message.
#pragma once

#include "host_api.h"
#include "separation/SeparableContent.h"

#include "ui_PreprocessingDlg.h"

#include <QDialog>
#include <QModelIndexList>
#include <QStringList>

#include <vector>

class PreprocessingDlg : public QDialog
{
    Q_OBJECT

public:
    PreprocessingDlg(QWidget* parent, Qt::WindowFlags flags, SPBasicSuite* basicSuite, int pluginId);
    ~PreprocessingDlg() override;

    // The 0-based composition indices of the layers on offer, one per row,
    // and how the scan found each is split (findLayersToSeparate).
    void setLayerIndicesToSep(std::vector<int> indices, std::vector<SeparationKind> kinds);
    // The layers of several outlines that are not on offer, one line each
    // saying why; shown under the list (nothing when empty).
    void setLayersLeftOut(const QStringList& lines);
    // The note that names them: a heading, then the lines.
    static QString leftOutNote(const QStringList& lines);
    // Fills the table from the index list: the 1-based layer number (not
    // selectable) and the layer's name, or its source's when it has none.
    void populateLayerList();
    // Column 0 of each selected row, in the order of the selection's ranges.
    QModelIndexList getSelectedRows() const;

    // Split one layer, the progress shown in the shape progress widgets.
    // Return the first host error (already reported).
    A_Err separateMasks(int layerIndex);
    A_Err separateShapes(int layerIndex);

    bool isSeparating() const { return separating_; }

public slots:
    void OnSeparateBtn();
    void OnSkipBtn();
    // While separating, closing is refused: the work runs to its end.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showShapeProgress(const char* format, int done, int total);

    Ui_PreprocessingDlgClass ui;
    SPBasicSuite* basicSuite_;
    int pluginId_;
    std::vector<int> layerIndicesToSep_;
    std::vector<SeparationKind> kinds_;
    int numSelectedRows_ = 0;
    bool separating_ = false;
};
