#pragma once

#include "app/Win32.h"

// Owns an icon loaded without LR_SHARED, which must be destroyed by its loader.
class ScopedIcon {
public:
    ScopedIcon() = default;
    ~ScopedIcon() { Reset(nullptr); }
    ScopedIcon(const ScopedIcon&) = delete;
    ScopedIcon& operator=(const ScopedIcon&) = delete;

    void Reset(HICON newIcon)
    {
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
        icon = newIcon;
    }
    HICON Get() const { return icon; }

private:
    HICON icon = nullptr;
};
