// The host's menu and hooks: the commands handed out, the menu items the
// plug-in inserted, and the command and update-menu hooks it registered.
#pragma once

#include "host_api.h"

#include <string>
#include <vector>

namespace standin {

struct MenuItem {
    AEGP_Command command = 0;
    std::string text;
    AEGP_MenuID menu = 0;
    A_long position = AEGP_MENU_INSERT_AT_BOTTOM; // as given: -1 = bottom
    bool enabled = true;
};

struct CommandHookEntry {
    AEGP_PluginID plugin = 0;
    AEGP_HookPriority priority = 0;
    AEGP_Command command = 0; // 0 = every command
    AEGP_CommandHook hook = nullptr;
    AEGP_CommandRefcon refcon = nullptr;
};

struct UpdateMenuHookEntry {
    AEGP_PluginID plugin = 0;
    AEGP_UpdateMenuHook hook = nullptr;
    AEGP_UpdateMenuRefcon refcon = nullptr;
};

class CommandTable
{
public:
    static constexpr AEGP_Command kFirstCommand = 1000;

    AEGP_Command newCommand() { return next_++; }
    bool isIssued(AEGP_Command command) const { return command >= kFirstCommand && command < next_; }

    // Items keep insertion order; an item at position p (>= 0) goes to
    // the p-th place among its menu's items, -1 (or past the end) last.
    void insert(const MenuItem& item);
    // Enables or disables every item of the command; false when none exists.
    bool setEnabled(AEGP_Command command, bool enabled);
    const std::vector<MenuItem>& menuItems() const { return items_; }

    void addCommandHook(const CommandHookEntry& entry) { commandHooks_.push_back(entry); }
    void addUpdateMenuHook(const UpdateMenuHookEntry& entry) { menuHooks_.push_back(entry); }
    const std::vector<CommandHookEntry>& commandHooks() const { return commandHooks_; }
    const std::vector<UpdateMenuHookEntry>& updateMenuHooks() const { return menuHooks_; }

private:
    AEGP_Command next_ = kFirstCommand;
    std::vector<MenuItem> items_;
    std::vector<CommandHookEntry> commandHooks_;
    std::vector<UpdateMenuHookEntry> menuHooks_;
};

} // namespace standin
