#include "properties/UserEdits.h"

#include <QDoubleSpinBox>
#include <QEvent>
#include <QLineEdit>

#include <algorithm>

namespace {

// Lives as the box's child. The box counts as edited when the user typed a
// text with a digit in it, or when its value moved away from the one it held
// as it took the focus (stepping). Return alone re-emits the box's value,
// so the signal by itself says nothing.
class UserEditWatch : public QObject
{
public:
    explicit UserEditWatch(QDoubleSpinBox* box)
        : QObject(box)
        , box(box)
        , baseline(box->value())
    {
        box->installEventFilter(this);
        // A text without a digit is no value: it is put back to the current
        // one when editing ends.
        if (QLineEdit* edit = box->findChild<QLineEdit*>())
            QObject::connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) {
                typed = std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); });
            });
    }

    bool edited() const { return typed || !(box->value() == baseline); }

    void reset()
    {
        typed = false;
        baseline = box->value();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == box && event->type() == QEvent::FocusIn)
            reset();
        return QObject::eventFilter(watched, event);
    }

private:
    QDoubleSpinBox* box;
    double baseline;
    bool typed = false;
};

UserEditWatch* watchOf(QDoubleSpinBox* box)
{
    if (box)
        for (QObject* child : box->children())
            if (auto* w = dynamic_cast<UserEditWatch*>(child))
                return w;
    return nullptr;
}

} // namespace

namespace user_edits {

void watch(QDoubleSpinBox* box)
{
    if (box && !watchOf(box))
        new UserEditWatch(box);
}

bool take(QDoubleSpinBox* box)
{
    UserEditWatch* w = watchOf(box);
    if (!w)
        return true;
    const bool edited = w->edited();
    w->reset();
    return edited;
}

void forget(QDoubleSpinBox* box)
{
    if (UserEditWatch* w = watchOf(box))
        w->reset();
}

} // namespace user_edits
