// The one place where the editing commands run a modal dialog or the colour
// picker. Tests replace the runners so that no test waits for a user; the
// program keeps the defaults (QDialog::exec and QColorDialog::getColor).
#pragma once

#include <QColor>
#include <QString>

#include <functional>

class QDialog;
class QWidget;

namespace dialog_seam {

using DialogRunner = std::function<int(QDialog*)>;
using ColorPicker = std::function<QColor(const QColor& initial, QWidget* parent, const QString& title)>;

// Runs a dialog modally; returns what exec returns.
int runDialog(QDialog* dialog);
// The colour dialog (not the platform's own), or an invalid colour when
// cancelled.
QColor pickColor(const QColor& initial, QWidget* parent, const QString& title);

// An empty function puts the default back.
void setDialogRunner(DialogRunner runner);
void setColorPicker(ColorPicker picker);

} // namespace dialog_seam
