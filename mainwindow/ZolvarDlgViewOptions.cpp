// The controls around the preview and the joints table: zoom, background
// colour, view options, the five tools, the open-shape line-width keys and
// the joint buttons. Each calls the view's operation of the same purpose
// (a slot of the view) when the view has it. The view has zoom and the
// tools so far; the line-width keys and the joint buttons do nothing until
// it gains those slots, and the background colour and view options are not
// built yet.
#include "mainwindow/ZolvarDlg.h"

#include "simulation/SimulationView.h"

void ZolvarDlg::OnZoomOutBtn() { forwardToView("zoomOut"); }
void ZolvarDlg::OnZoomInBtn() { forwardToView("zoomIn"); }
void ZolvarDlg::OnZoomFitBtn() { view->zoomFit(); }

void ZolvarDlg::OnBGColorBtn()
{
}

// To switch the view's drawing state (the drawing-flag bits, the world's
// mesh switch and the composition frame) once the scene rendering has them.
void ZolvarDlg::OnViewOptionsShapes(bool) {}
void ZolvarDlg::OnViewOptionsMesh(bool) {}
void ZolvarDlg::OnViewOptionsBoundingBox(bool) {}
void ZolvarDlg::OnViewOptionsLocalAxes(bool) {}
void ZolvarDlg::OnViewOptionsJoints(bool) {}
void ZolvarDlg::OnViewOptionsCompBounds(bool) {}

void ZolvarDlg::OnSelectionToolBtn() { forwardToView("OnSelectionToolBtn"); }
void ZolvarDlg::OnHandToolBtn() { forwardToView("OnHandToolBtn"); }
void ZolvarDlg::OnAnchorToolBtn() { forwardToView("OnAnchorToolBtn"); }
void ZolvarDlg::OnGravityToolBtn() { forwardToView("OnGravityToolBtn"); }
void ZolvarDlg::OnVelocityToolBtn() { forwardToView("OnVelocityToolBtn"); }

void ZolvarDlg::OnIncreaseOpenShapeLineWidth() { forwardToView("increaseOpenShapeLineWidth"); }
void ZolvarDlg::OnDecreaseOpenShapeLineWidth() { forwardToView("decreaseOpenShapeLineWidth"); }

void ZolvarDlg::OnAddDistanceJointBtn() { forwardToView("addDistanceJointBetweenSelectedBodies"); }
void ZolvarDlg::OnAddRevoluteJointBtn() { forwardToView("addRevoluteJointBetweenSelectedBodies"); }
void ZolvarDlg::OnAddPrismaticJointBtn() { forwardToView("addPrismaticJointBetweenSelectedBodies"); }
void ZolvarDlg::OnAddSpringJointBtn() { forwardToView("addSpringJointBetweenSelectedBodies"); }
void ZolvarDlg::OnRemoveJointBtn() { forwardToView("removeSelectedJoints"); }
