#include "CommandTable.h"

namespace standin {

void CommandTable::insert(const MenuItem& item)
{
    if (item.position >= 0) {
        A_long seen = 0;
        for (auto it = items_.begin(); it != items_.end(); ++it) {
            if (it->menu != item.menu)
                continue;
            if (seen++ == item.position) {
                items_.insert(it, item);
                return;
            }
        }
    }
    items_.push_back(item);
}

bool CommandTable::setEnabled(AEGP_Command command, bool enabled)
{
    bool found = false;
    for (MenuItem& item : items_) {
        if (item.command == command) {
            item.enabled = enabled;
            found = true;
        }
    }
    return found;
}

} // namespace standin
