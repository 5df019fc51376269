// The body panel's three lists (type, collision group, magnetism type) and
// eight flags (collide with A to E, fixed rotation, convex hull, accept
// magnetism). One path serves the lists and one the flags: old values from
// the selected rows' records, one new value for all, a command when one row
// differs.
#include "simulation/SimulationView.h"

#include "properties/PanelRows.h"
#include "properties/PropertyCommands.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <QUndoStack>

#include <algorithm>

namespace {

struct BodyList
{
    int (*read)(const MyBody&);
    int defaultValue;
    QUndoCommand* (*command)(SimulationView*, std::vector<int>, std::vector<int>, std::vector<int>);
};

template <class Command>
QUndoCommand* make(SimulationView* view, std::vector<int> oldValues, std::vector<int> newValues,
                   std::vector<int> rows)
{
    return new Command(view, std::move(oldValues), std::move(newValues), std::move(rows));
}

enum List { TypeList, GroupList, MagnetismList };

const BodyList kLists[] = {
    {[](const MyBody& b) { return int(b.type); }, BodyType::Dynamic, make<CommandTypeChange>},
    {[](const MyBody& b) { return collisionGroupOf(b); }, 0, make<CommandCollisionGroupChange>},
    {[](const MyBody& b) { return int(b.magnetismType); }, MagnetismType::NoMagnetism,
     make<CommandMagnetismTypeChange>},
};

struct BodyFlag
{
    bool (*read)(const MyBody&);
    bool defaultValue;
    QUndoCommand* (*command)(SimulationView*, std::vector<bool>, std::vector<bool>, std::vector<int>);
};

template <class Command>
QUndoCommand* makeFlag(SimulationView* view, std::vector<bool> oldValues, std::vector<bool> newValues,
                       std::vector<int> rows)
{
    return new Command(view, std::move(oldValues), std::move(newValues), std::move(rows));
}

enum Flag { CollideA, CollideB, CollideC, CollideD, CollideE, FixedRotation, ConvexHull, AcceptMagnetism };

const BodyFlag kFlags[] = {
    {[](const MyBody& b) { return (b.maskBits & 1u) != 0; }, true, makeFlag<CommandCollideWithAChange>},
    {[](const MyBody& b) { return (b.maskBits & 2u) != 0; }, true, makeFlag<CommandCollideWithBChange>},
    {[](const MyBody& b) { return (b.maskBits & 4u) != 0; }, true, makeFlag<CommandCollideWithCChange>},
    {[](const MyBody& b) { return (b.maskBits & 8u) != 0; }, true, makeFlag<CommandCollideWithDChange>},
    {[](const MyBody& b) { return (b.maskBits & 16u) != 0; }, true, makeFlag<CommandCollideWithEChange>},
    {[](const MyBody& b) { return bool(b.fixedRotation); }, false, makeFlag<CommandFixedRotationChange>},
    {[](const MyBody& b) { return bool(b.useConvexHull); }, false, makeFlag<CommandUseConvexHullChange>},
    {[](const MyBody& b) { return bool(b.acceptMagnetism); }, true, makeFlag<CommandAcceptMagnetismChange>},
};

} // namespace

void SimulationView::pushBodyList(int list, int index)
{
    if (!undoStack)
        return;
    const BodyList& l = kLists[list];
    const std::vector<int> rows = getSelectedRows2();
    std::vector<int> oldValues;
    bool changed = false;
    for (int b : rows) {
        oldValues.push_back(l.read(bodies[size_t(b)]));
        changed = changed || oldValues.back() != index;
    }
    if (changed)
        undoStack->push(l.command(this, oldValues, std::vector<int>(rows.size(), index), rows));
}

void SimulationView::typeLstChanged(int index) { pushBodyList(TypeList, index); }
void SimulationView::collisionGroupLstChanged(int index) { pushBodyList(GroupList, index); }

void SimulationView::magnetismTypeLstChanged(int index)
{
    pushBodyList(MagnetismList, index);
    hasMagnet = std::any_of(bodies.begin(), bodies.end(),
                            [](const MyBody& b) { return b.magnetismType != MagnetismType::NoMagnetism; });
}

void SimulationView::resetType() { typeLstChanged(kLists[TypeList].defaultValue); }
void SimulationView::resetCollisionGroup() { collisionGroupLstChanged(kLists[GroupList].defaultValue); }
void SimulationView::resetMagnetismType() { magnetismTypeLstChanged(kLists[MagnetismList].defaultValue); }

// The context menu's "Set Type" entries: the list shows the type even when
// nothing is selected and nothing changes.
#define ZOLVAR_TYPE_SLOT(Name)                   \
    void SimulationView::OnType##Name()          \
    {                                            \
        showQuietly(ui.typeLst, BodyType::Name); \
        typeLstChanged(BodyType::Name);          \
    }
ZOLVAR_TYPE_SLOT(Static)
ZOLVAR_TYPE_SLOT(Kinematic)
ZOLVAR_TYPE_SLOT(Dynamic)
ZOLVAR_TYPE_SLOT(Dormant)
ZOLVAR_TYPE_SLOT(AEmatic)
ZOLVAR_TYPE_SLOT(Dead)
#undef ZOLVAR_TYPE_SLOT

bool SimulationView::pushBodyFlag(int flag, bool checked)
{
    if (!undoStack)
        return false;
    const BodyFlag& f = kFlags[flag];
    const std::vector<int> rows = getSelectedRows2();
    std::vector<bool> oldValues;
    bool changed = false;
    for (int b : rows) {
        oldValues.push_back(f.read(bodies[size_t(b)]));
        changed = changed || oldValues.back() != checked;
    }
    if (changed)
        undoStack->push(f.command(this, oldValues, std::vector<bool>(rows.size(), checked), rows));
    return changed;
}

void SimulationView::collideWithACbChanged(bool checked) { pushBodyFlag(CollideA, checked); }
void SimulationView::collideWithBCbChanged(bool checked) { pushBodyFlag(CollideB, checked); }
void SimulationView::collideWithCCbChanged(bool checked) { pushBodyFlag(CollideC, checked); }
void SimulationView::collideWithDCbChanged(bool checked) { pushBodyFlag(CollideD, checked); }
void SimulationView::collideWithECbChanged(bool checked) { pushBodyFlag(CollideE, checked); }
void SimulationView::fixedRotationCbChanged(bool checked) { pushBodyFlag(FixedRotation, checked); }
void SimulationView::acceptMagnetismCbChanged(bool checked) { pushBodyFlag(AcceptMagnetism, checked); }

// The information text counts the body's polygons, which the rebuilt
// outlines change.
void SimulationView::useConvexHullCbChanged(bool checked)
{
    if (pushBodyFlag(ConvexHull, checked)) {
        const std::vector<int> rows = getSelectedRows2();
        if (!rows.empty())
            showBodyInfo(rows[0]);
    }
}

void SimulationView::resetFixedRotation() { pushBodyFlag(FixedRotation, kFlags[FixedRotation].defaultValue); }
void SimulationView::resetUseConvexHull() { pushBodyFlag(ConvexHull, kFlags[ConvexHull].defaultValue); }
void SimulationView::resetAcceptMagnetism() { pushBodyFlag(AcceptMagnetism, kFlags[AcceptMagnetism].defaultValue); }

// One step per group letter that some selected body does not collide with.
void SimulationView::resetCollideWith()
{
    for (int flag = CollideA; flag <= CollideE; ++flag)
        pushBodyFlag(flag, true);
}
