// "AEGP Command Suite" 1: commands and menu items.
#include "SuiteContext.h"
#include "SuiteTables.h"

namespace standin {
namespace {

STANDIN_CALL(AEGP_GetUniqueCommand, (AEGP_Command * unique_commandP))
{
    if (!unique_commandP)
        return A_Err_PARAMETER;
    *unique_commandP = ctx().commands.newCommand();
    noteCall("command " + std::to_string(*unique_commandP));
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_InsertMenuCommand,
             (AEGP_Command command, const A_char* nameZ, AEGP_MenuID menu_id, A_long after_itemL))
{
    if (!nameZ || menu_id < 0 || after_itemL < AEGP_MENU_INSERT_AT_BOTTOM || !ctx().commands.isIssued(command))
        return A_Err_PARAMETER;
    MenuItem item;
    item.command = command;
    item.text = nameZ;
    item.menu = menu_id;
    item.position = after_itemL;
    ctx().commands.insert(item);
    return A_Err_NONE;
}

STANDIN_CALL(AEGP_EnableCommand, (AEGP_Command command))
{
    return ctx().commands.setEnabled(command, true) ? A_Err_NONE : A_Err_PARAMETER;
}

STANDIN_CALL(AEGP_DisableCommand, (AEGP_Command command))
{
    return ctx().commands.setEnabled(command, false) ? A_Err_NONE : A_Err_PARAMETER;
}

} // namespace

const AEGP_CommandSuite1* CommandSuite1Table()
{
    static const AEGP_CommandSuite1 table = [] {
        auto t = makeSuiteTable<CommandSuite1Tag>();
        STANDIN_SLOT(CommandSuite1Tag, t, AEGP_GetUniqueCommand);
        STANDIN_SLOT(CommandSuite1Tag, t, AEGP_InsertMenuCommand);
        STANDIN_SLOT(CommandSuite1Tag, t, AEGP_EnableCommand);
        STANDIN_SLOT(CommandSuite1Tag, t, AEGP_DisableCommand);
        return t;
    }();
    return &table;
}

} // namespace standin
