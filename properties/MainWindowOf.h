// The main window a property widget works for. The widgets of a dock that
// floats, or of a form not yet put into the window, are reached from the
// widget they were made for, up to the window of object name
// "ZolvarDlgClass".
#pragma once

class QWidget;
class SimulationView;

// That window, or null when `widget` is in none.
QWidget* mainWindowOf(QWidget* widget);
// The window's scene view, or null.
SimulationView* sceneViewOf(QWidget* widget);
