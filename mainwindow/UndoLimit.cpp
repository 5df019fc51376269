#include "mainwindow/UndoLimit.h"

#include <QUndoStack>
#include <QVariant>

namespace {

constexpr char kWaitingName[] = "waitingUndoLimit";
constexpr char kLevels[] = "levels";

QString limitText(int levels)
{
    return levels > 0 ? QStringLiteral("%1 levels").arg(levels) : QStringLiteral("no limit");
}

} // namespace

bool setUndoLimitWhenEmpty(QUndoStack& stack, int levels)
{
    auto* waiting = stack.findChild<QObject*>(QLatin1String(kWaitingName), Qt::FindDirectChildrenOnly);
    if (stack.count() == 0 || stack.undoLimit() == levels) {
        delete waiting;
        stack.setUndoLimit(levels);  // refused, and not needed, on a non-empty stack
        return true;
    }
    if (!waiting) {
        waiting = new QObject(&stack);
        waiting->setObjectName(QLatin1String(kWaitingName));
        QUndoStack* owner = &stack;
        QObject::connect(owner, &QUndoStack::indexChanged, waiting, [owner, waiting] {
            if (owner->count() != 0)
                return;
            owner->setUndoLimit(waiting->property(kLevels).toInt());
            // Gone for a later limit at once; deleted once this signal is over.
            waiting->setObjectName(QString());
            QObject::disconnect(owner, nullptr, waiting, nullptr);
            waiting->deleteLater();
        });
    }
    waiting->setProperty(kLevels, levels);
    return false;
}

QString waitingUndoLimitText(const QUndoStack& stack, int levels)
{
    return QStringLiteral("The new undo limit (%1) applies once the actions history is cleared or Zolvar is "
                          "opened again. Until then the history keeps %2.")
        .arg(limitText(levels), stack.undoLimit() > 0 ? QStringLiteral("up to %1 steps").arg(stack.undoLimit())
                                                      : limitText(0));
}
