// Small pieces the property setters share: row checks, showing a value in a
// control without its signals, and the collision group of a body.
#pragma once

#include "model/MyBody.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSignalBlocker>

#include <vector>

template <class Record>
bool validRow(const std::vector<Record>& records, int row)
{
    return row >= 0 && size_t(row) < records.size();
}

inline void showQuietly(QComboBox* list, int index)
{
    if (!list)
        return;
    const QSignalBlocker blocker(list);
    list->setCurrentIndex(index);
}

inline void showQuietly(QCheckBox* box, bool checked)
{
    if (!box)
        return;
    const QSignalBlocker blocker(box);
    box->setChecked(checked);
}

// The index (0 to 4, group A to E) of the body's one category bit; 0 when
// its category is not a single one of those bits.
inline int collisionGroupOf(const MyBody& body)
{
    int group = 0;
    for (int bit = 0; bit < 5; ++bit)
        if (body.categoryBits == (1u << bit))
            group = bit;
    return group;
}
