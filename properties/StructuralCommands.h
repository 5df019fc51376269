// The undo commands that replace whole records: the reset of bodies'
// transforms and the pastes of copied body and joint settings. Their
// records are copies; the world pointers in them go stale at the next
// rebuild, so the appliers take fields from them, never follow them.
#pragma once

#include "properties/PropertyCommand.h"

#include <QUndoCommand>

#include <vector>

class CommandResetBodyTransformChange : public RowValuesCommand<MyBody>
{
public:
    CommandResetBodyTransformChange(SimulationView* view, std::vector<MyBody> before, std::vector<MyBody> after,
                                    std::vector<int> rows)
        : RowValuesCommand(view, std::move(before), std::move(after), std::move(rows),
                           &SimulationView::setBodyTransforms, QStringLiteral("Reset Body Transform"),
                           AfterSet::Restart)
    {
    }
};

// The target bodies' records as they were (one per row) and the copied one.
class CommandPasteBodySettingsChange : public QUndoCommand
{
public:
    CommandPasteBodySettingsChange(SimulationView* view, MyBody copied, std::vector<MyBody> before,
                                   std::vector<int> rows)
        : view(view)
        , before(std::move(before))
        , copied(std::move(copied))
        , rows(std::move(rows))
    {
        setText(QStringLiteral("Paste Body Settings"));
    }

    void redo() override
    {
        view->doPasteBodySettings(copied, rows);
        view->restartAnimation();
    }
    void undo() override
    {
        view->undoPasteBodySettings(before, rows);
        view->restartAnimation();
    }

private:
    SimulationView* view;
    std::vector<MyBody> before;
    MyBody copied;
    std::vector<int> rows;
};

// The whole joint list as it was (the applier looks records up by row) and
// the copied joint.
class CommandPasteJointSettingsChange : public QUndoCommand
{
public:
    CommandPasteJointSettingsChange(SimulationView* view, MyJoint copied, std::vector<MyJoint> before,
                                    std::vector<int> rows)
        : view(view)
        , before(std::move(before))
        , copied(std::move(copied))
        , rows(std::move(rows))
    {
        setText(QStringLiteral("Paste Joint Settings"));
    }

    void redo() override
    {
        view->doPasteJointSettings(copied, rows);
        view->restartAnimation();
    }
    void undo() override
    {
        view->undoPasteJointSettings(before, rows);
        view->restartAnimation();
    }

private:
    SimulationView* view;
    std::vector<MyJoint> before;
    MyJoint copied;
    std::vector<int> rows;
};
