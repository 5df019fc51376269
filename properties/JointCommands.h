// The undo commands that add and remove joints. An adding command keeps the
// joint list as it was and one request per joint; its redo creates the
// joints through the view's per-pair creator, its undo removes the rows that
// redo appended. A removal keeps the removed records and their rows and puts
// them back where they were on undo. Every redo and undo leaves the
// simulation stopped at frame 0.
#pragma once

#include "model/JointRequests.h"
#include "model/MyJoint.h"

#include <QString>
#include <QUndoCommand>

#include <vector>

class SimulationView;

template <typename Request>
class AddJointsCommand : public QUndoCommand
{
public:
    AddJointsCommand(SimulationView* view, std::vector<MyJoint> jointsBefore, std::vector<Request> requests,
                     const QString& text)
        : view(view)
        , jointsBefore(std::move(jointsBefore))
        , requests(std::move(requests))
    {
        setText(text);
    }

    void redo() override { add(); }
    void undo() override { remove(); }

    // Creates one joint per request, in order, and keeps the list after.
    void add();
    // Removes the rows that add() appended.
    void remove();

    const std::vector<Request>& requestList() const { return requests; }

private:
    void create(const Request& request);

    SimulationView* view;
    std::vector<MyJoint> jointsBefore;
    std::vector<MyJoint> jointsAfter;
    std::vector<Request> requests;
};

class CommandAddDistanceJointsChange : public AddJointsCommand<MyDistanceJoint>
{
public:
    CommandAddDistanceJointsChange(SimulationView* view, std::vector<MyJoint> jointsBefore,
                                   std::vector<MyDistanceJoint> requests);
};

class CommandAddRevoluteJointsChange : public AddJointsCommand<MyRevoluteJoint>
{
public:
    CommandAddRevoluteJointsChange(SimulationView* view, std::vector<MyJoint> jointsBefore,
                                   std::vector<MyRevoluteJoint> requests);
};

class CommandAddPrismaticJointsChange : public AddJointsCommand<MyPrismaticJoint>
{
public:
    CommandAddPrismaticJointsChange(SimulationView* view, std::vector<MyJoint> jointsBefore,
                                    std::vector<MyPrismaticJoint> requests);
};

class CommandAddSpringJointsChange : public AddJointsCommand<MySpringJoint>
{
public:
    CommandAddSpringJointsChange(SimulationView* view, std::vector<MyJoint> jointsBefore,
                                 std::vector<MySpringJoint> requests);
};

class CommandRemoveJointsChange : public QUndoCommand
{
public:
    // `removed` and `rows` ascending, one record per row.
    CommandRemoveJointsChange(SimulationView* view, std::vector<MyJoint> jointsBefore, std::vector<MyJoint> removed,
                              std::vector<int> rows);
    void redo() override;
    void undo() override;

private:
    SimulationView* view;
    std::vector<MyJoint> jointsBefore;  // kept for reference; neither redo nor undo needs it
    std::vector<MyJoint> removed;
    std::vector<int> rows;
};
