// The number box of every property row. Built without a Qt parent: the
// layout that receives it adopts it. The owner is the widget it was created for.
#pragma once

#include <QDoubleSpinBox>

class EditBox : public QDoubleSpinBox
{
    Q_OBJECT

public:
    explicit EditBox(QWidget* owner);

    QWidget* ownerWidget() const { return owner; }

private:
    QWidget* owner;
};
