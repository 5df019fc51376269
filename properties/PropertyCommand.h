// The undo commands of property changes. Every property has its own class,
// named Command<Property>Change, but they share two shapes:
// - RowValuesCommand: old and new values per row of the body or joint list;
// - SceneValueCommand: one scene-wide value.
// A command keeps copies of its values and rows, and its redo and undo hand
// them to the property's setter on the view, then rebuild the scene as the
// property needs. Commands have no id, so two never merge.
#pragma once

#include "simulation/SimulationView.h"

#include <QString>
#include <QUndoCommand>

#include <utility>
#include <vector>

// What a command does after its setter.
enum class AfterSet { Restart, RestartStopped, Nothing };

inline void rebuildAfterSet(SimulationView* view, AfterSet after)
{
    if (after == AfterSet::Restart)
        view->restartAnimation();
    else if (after == AfterSet::RestartStopped)
        view->restartAndStopAnimation(false);
}

template <typename T>
class RowValuesCommand : public QUndoCommand
{
public:
    using Setter = void (SimulationView::*)(std::vector<T>, std::vector<int>);

    RowValuesCommand(SimulationView* view, std::vector<T> oldValues, std::vector<T> newValues,
                     std::vector<int> rows, Setter setter, const QString& text, AfterSet after)
        : view(view)
        , oldValues(std::move(oldValues))
        , newValues(std::move(newValues))
        , rows(std::move(rows))
        , setter(setter)
        , after(after)
    {
        setText(text);
    }

    void undo() override { apply(oldValues); }
    void redo() override { apply(newValues); }

    const std::vector<T>& oldList() const { return oldValues; }
    const std::vector<T>& newList() const { return newValues; }
    const std::vector<int>& rowList() const { return rows; }

private:
    void apply(const std::vector<T>& values)
    {
        (view->*setter)(values, rows);
        rebuildAfterSet(view, after);
    }

    SimulationView* view;
    std::vector<T> oldValues;
    std::vector<T> newValues;
    std::vector<int> rows;
    Setter setter;
    AfterSet after;
};

// Stored is how the command keeps the value, Arg what the setter takes.
template <typename Stored, typename Arg>
class SceneValueCommand : public QUndoCommand
{
public:
    using Setter = void (SimulationView::*)(Arg);

    SceneValueCommand(SimulationView* view, Stored oldValue, Stored newValue, Setter setter, const QString& text,
                      AfterSet after)
        : view(view)
        , oldValue(oldValue)
        , newValue(newValue)
        , setter(setter)
        , after(after)
    {
        setText(text);
    }

    void undo() override { apply(oldValue); }
    void redo() override { apply(newValue); }

private:
    void apply(Stored value)
    {
        if constexpr (std::is_same_v<Arg, bool>)
            (view->*setter)(value != Stored(0));
        else
            (view->*setter)(static_cast<Arg>(value));
        rebuildAfterSet(view, after);
    }

    SimulationView* view;
    Stored oldValue;
    Stored newValue;
    Setter setter;
    AfterSet after;
};
