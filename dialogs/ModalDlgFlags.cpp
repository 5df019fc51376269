#include "dialogs/ModalDlgFlags.h"

Qt::WindowFlags getModalDlgFlags()
{
    return Qt::WindowTitleHint;
}
