// The main window's resize rules: which of its controls follow the window.
#ifndef KESTRIVANE_UI_MAINDIALOGRESIZERULES_H
#define KESTRIVANE_UI_MAINDIALOGRESIZERULES_H

#include "ui/ResizeRule.h"

extern const ResizeRule MainDialogResizeRules[];

#endif
