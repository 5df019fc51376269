// The number box of every property row. The arrow keys step the value (ten
// steps with Shift) without finishing the edit, and a typed comma is a
// decimal point: numbers are read with the English (US) locale whatever the
// system's. Built without a Qt parent: the layout that receives it adopts
// it. The owner is the widget it was created for.
#pragma once

#include <QDoubleSpinBox>

// An entry without a digit (emptied, a lone sign or point) is nothing to
// correct towards: its text becomes `current`, so the edit changes nothing.
// True when it was replaced.
bool keepCurrentForEntryWithoutDigits(QString& text, const QString& current);

// The same for a plain QDoubleSpinBox, which has no fixup of its own to
// change: installed as its event filter, it replaces such an entry when
// editing ends (Return, Enter, the focus leaving), before the box reads it.
class EntryWithoutDigitsGuard : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    // Guards `box` (the guard belongs to the box).
    static void guard(QDoubleSpinBox* box);
    bool eventFilter(QObject* watched, QEvent* event) override;
};

class EditBox : public QDoubleSpinBox
{
    Q_OBJECT

public:
    explicit EditBox(QWidget* owner);

    QWidget* ownerWidget() const { return owner; }

    // Up and Down step the value; everything else passes.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Turns the text's commas into points before the usual check.
    QValidator::State validate(QString& text, int& pos) const override;
    // Commas into points; an entry without a digit becomes the current
    // value's text.
    void fixup(QString& text) const override;

private:
    QWidget* owner;
};
