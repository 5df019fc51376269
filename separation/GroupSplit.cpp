#include "separation/GroupSplit.h"

bool isDrawingItem(const std::string& matchName)
{
    return matchName == "ADBE Vector Shape - Group" || matchName == "ADBE Vector Shape - Rect"
        || matchName == "ADBE Vector Shape - Ellipse" || matchName == "ADBE Vector Shape - Star";
}

std::vector<A_long> GroupSplit::separated() const
{
    std::vector<A_long> all = above;
    all.insert(all.end(), below.begin(), below.end());
    return all;
}

std::vector<bool> GroupSplit::itemsOfLayerFor(A_long k) const
{
    std::vector<bool> items = other;
    if (k >= 0 && size_t(k) < items.size())
        items[size_t(k)] = true;
    return items;
}

std::vector<bool> GroupSplit::itemsOfSource() const
{
    std::vector<bool> items(other.size(), true);
    for (A_long k : separated())
        items[size_t(k)] = false;
    return items;
}

GroupSplit planGroupSplit(const std::vector<ContentItem>& items)
{
    GroupSplit split;
    std::vector<A_long> groups;
    for (size_t i = 0; i < items.size(); ++i) {
        const A_long k = A_long(i);
        const ContentItem& item = items[i];
        const bool group = item.matchName == "ADBE Vector Group";
        split.other.push_back(!group && !isDrawingItem(item.matchName));
        if (group && item.draws) {
            groups.push_back(k);
        } else if (!split.other.back()) {
            split.stay.push_back(k);
            if (item.draws)
                split.kept.push_back(k);
        }
    }
    const bool keeps = !split.kept.empty();
    for (A_long k : groups) {
        if (keeps && k < split.kept.front())
            split.above.push_back(k);
        else if (!keeps || k > split.kept.back())
            split.below.push_back(k);
        else
            split.stay.push_back(k);
    }
    return split;
}
