// The controls around the preview and the joints table: zoom, background
// colour, view options, the five tools, the open-shape line-width keys and
// the joint buttons. Each calls the view's operation of the same purpose.
#include "mainwindow/ZolvarDlg.h"

#include "dialogs/DialogSeam.h"
#include "render/GLWidget.h"
#include "simulation/SimulationView.h"

#include <QItemSelectionModel>
#include <QTableView>
#include <QToolButton>

namespace {

// Drawing-flag bits of the view options.
constexpr unsigned int kShapesBit = 1;
constexpr unsigned int kJointsBit = 2;
constexpr unsigned int kBoundingBoxBit = 4;
constexpr unsigned int kLocalAxesBit = 16;

void setFlag(SimulationView* view, unsigned int bit, bool on)
{
    const unsigned int flags = view->getDrawingFlags();
    view->setDrawingFlags(on ? flags | bit : flags & ~bit);
    view->refreshView();
}

} // namespace

void ZolvarDlg::OnZoomOutBtn() { view->zoomOut(); }
void ZolvarDlg::OnZoomInBtn() { view->zoomIn(); }
void ZolvarDlg::OnZoomFitBtn() { view->zoomFit(); }

void ZolvarDlg::OnBGColorBtn()
{
    GLWidget* gl = view->getGLWidget();
    const QColor chosen = dialog_seam::pickColor(gl->getBGColor(), this, QStringLiteral("Select Color"));
    if (!chosen.isValid())
        return;
    view->setBackground(chosen);
    ui.bgColorBtn->setStyleSheet(QString::asprintf("QWidget#bgColorBtn{ background-color: rgb(%d, %d, %d);}",
                                                   chosen.red(), chosen.green(), chosen.blue()));
    view->refreshView();
}

void ZolvarDlg::OnViewOptionsShapes(bool checked) { setFlag(view, kShapesBit, checked); }
void ZolvarDlg::OnViewOptionsBoundingBox(bool checked) { setFlag(view, kBoundingBoxBit, checked); }
void ZolvarDlg::OnViewOptionsLocalAxes(bool checked) { setFlag(view, kLocalAxesBit, checked); }
void ZolvarDlg::OnViewOptionsJoints(bool checked) { setFlag(view, kJointsBit, checked); }

void ZolvarDlg::OnViewOptionsMesh(bool checked)
{
    // The next world reads the option from the action itself.
    if (view->world)
        view->world->setShowMesh(checked);
    view->refreshView();
}

void ZolvarDlg::OnViewOptionsCompBounds(bool checked)
{
    view->getGLWidget()->setShowCompBounds(checked);
    view->refreshView();
}

void ZolvarDlg::OnSelectionToolBtn() { view->OnSelectionToolBtn(); }
void ZolvarDlg::OnHandToolBtn() { view->OnHandToolBtn(); }
void ZolvarDlg::OnAnchorToolBtn() { view->OnAnchorToolBtn(); }
void ZolvarDlg::OnGravityToolBtn() { view->OnGravityToolBtn(); }
void ZolvarDlg::OnVelocityToolBtn() { view->OnVelocityToolBtn(); }

void ZolvarDlg::OnIncreaseOpenShapeLineWidth() { view->increaseOpenShapeLineWidth(); }
void ZolvarDlg::OnDecreaseOpenShapeLineWidth() { view->decreaseOpenShapeLineWidth(); }

void ZolvarDlg::OnAddDistanceJointBtn() { view->addDistanceJointBetweenSelectedBodies(); }
void ZolvarDlg::OnAddRevoluteJointBtn() { view->addRevoluteJointBetweenSelectedBodies(); }
void ZolvarDlg::OnAddPrismaticJointBtn() { view->addPrismaticJointBetweenSelectedBodies(); }
void ZolvarDlg::OnAddSpringJointBtn() { view->addSpringJointBetweenSelectedBodies(); }
void ZolvarDlg::OnRemoveJointBtn() { view->removeSelectedJoints(); }

QModelIndexList ZolvarDlg::getSelectedRowsInJointsTable() const
{
    QModelIndexList rows;
    if (!ui.jointsTable || !ui.jointsTable->selectionModel())
        return rows;
    for (const QItemSelectionRange& range : ui.jointsTable->selectionModel()->selection()) {
        const QAbstractItemModel* model = range.model();
        if (!model || range.left() != 0 || range.right() != model->columnCount(range.parent()) - 1)
            continue;
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.append(model->index(row, 0, range.parent()));
    }
    return rows;
}
