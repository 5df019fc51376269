#include "dialogs/DialogSeam.h"

#include "dialogs/DialogAnswers.h"

#include <QColorDialog>
#include <QDialog>

namespace dialog_seam {
namespace {

DialogRunner& dialogRunner()
{
    static DialogRunner runner;
    return runner;
}

ColorPicker& colorPicker()
{
    static ColorPicker picker;
    return picker;
}

} // namespace

int runDialog(QDialog* dialog)
{
    if (dialogRunner())
        return dialogRunner()(dialog);
    return dialog->exec();
}

QColor pickColor(const QColor& initial, QWidget* parent, const QString& title)
{
    // Taken by the caller before it returns to the event loop.
    const DialogAnswers::Pending answer;
    if (colorPicker())
        return colorPicker()(initial, parent, title);
    return QColorDialog::getColor(initial, parent, title, QColorDialog::DontUseNativeDialog);
}

void setDialogRunner(DialogRunner runner) { dialogRunner() = std::move(runner); }
void setColorPicker(ColorPicker picker) { colorPicker() = std::move(picker); }

} // namespace dialog_seam
