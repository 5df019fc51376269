#include "properties/UndoView.h"

UndoView::UndoView(QWidget* owner)
    : QUndoView(owner)
    , owner(owner)
{
}
