#include "properties/EditBox.h"

EditBox::EditBox(QWidget* owner)
    : QDoubleSpinBox(nullptr)
    , owner(owner)
{
}
