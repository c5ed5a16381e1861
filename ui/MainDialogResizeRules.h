#pragma once

// The main window's resize rules: which of its controls follow the window.
#include "ui/ResizeRule.h"

extern const ResizeRule MainDialogResizeRules[];
