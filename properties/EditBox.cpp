#include "properties/EditBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>

#include <algorithm>

EditBox::EditBox(QWidget* owner)
    : QDoubleSpinBox(nullptr)
    , owner(owner)
{
    setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    installEventFilter(this);
}

bool EditBox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            // Shift as the application knows it, or as the event carries it
            // (events sent by other code have no keyboard behind them).
            const bool shift = ((QApplication::keyboardModifiers() | key->modifiers()) & Qt::ShiftModifier) != 0;
            for (int i = 0, steps = shift ? 10 : 1; i < steps; ++i) {
                if (key->key() == Qt::Key_Up)
                    stepUp();
                else
                    stepDown();
            }
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

namespace {

void commasToPoints(QString& text)
{
    text.replace(QLatin1Char(','), QLatin1Char('.'));
}

} // namespace

bool keepCurrentForEntryWithoutDigits(QString& text, const QString& current)
{
    if (std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); }))
        return false;
    text = current;
    return true;
}

void EntryWithoutDigitsGuard::guard(QDoubleSpinBox* box)
{
    if (box)
        box->installEventFilter(new EntryWithoutDigitsGuard(box));
}

bool EntryWithoutDigitsGuard::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QDoubleSpinBox*>(watched);
    bool ends = event->type() == QEvent::FocusOut;
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        ends = key == Qt::Key_Return || key == Qt::Key_Enter;
    }
    if (box && ends) {
        if (auto* edit = box->findChild<QLineEdit*>()) {
            QString text = edit->text();
            if (keepCurrentForEntryWithoutDigits(text, box->textFromValue(box->value())))
                edit->setText(text);
        }
    }
    return QObject::eventFilter(watched, event);
}

QValidator::State EditBox::validate(QString& text, int& pos) const
{
    commasToPoints(text);
    return QDoubleSpinBox::validate(text, pos);
}

void EditBox::fixup(QString& text) const
{
    commasToPoints(text);
    // Without this the box would take the nearest valid value to zero.
    keepCurrentForEntryWithoutDigits(text, textFromValue(value()));
}
