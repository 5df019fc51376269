// The window flags of the program's modal dialogs: a title bar and nothing
// else (the dialog adds its window type itself).
#pragma once

#include <Qt>

Qt::WindowFlags getModalDlgFlags();
