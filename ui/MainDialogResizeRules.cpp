#include "ui/MainDialogResizeRules.h"

#include "res/ResourceIds.h"

// The ambient field and the two labels have no row: they never move, and the
// labels' id -1 could not be named here anyway.
const ResizeRule MainDialogResizeRules[] = {
    {ID_TILESET_LIST, RESIZE_STRETCH_Y},
    {ID_SAVE_BUTTON, RESIZE_SHIFT_X},
    {ID_ABOUT_BUTTON, RESIZE_SHIFT_X | RESIZE_SHIFT_Y},
    {ID_SLOT_NAME_EDIT, RESIZE_STRETCH_X},
    {ID_SLOT_LIST, RESIZE_STRETCH_X | RESIZE_STRETCH_Y},
    {RESIZE_MARKER_ID, 0},
};
