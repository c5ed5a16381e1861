#include "app/RunMainWindow.h"

#include "app/AppModule.h"
#include "app/MessageLoop.h"
#include "app/PendingCreation.h"
#include "app/ScopedLock.h"
#include "res/ResourceIds.h"
#include "ui/MainDialog.h"

#include <memory>

int RunMainWindow(int showState)
{
    MessageLoop loop;
    {
        ScopedLock guard(appModule.lock);
        appModule.RegisterLoop(GetCurrentThreadId(), &loop);
    }
    // The window's initialisation looks the loop up, so it is registered first.
    const auto dialog = std::make_unique<MainDialog>();
    pendingCreation.PrepareCreation(dialog.get());
    const HWND window =
        CreateDialogParamA(appModule.instance, MAKEINTRESOURCEA(ID_MAIN_DIALOG), nullptr, InitialDialogProcedure, 0);
    int code = 0;
    if (window != nullptr) {
        ShowWindow(window, showState);
        code = loop.RunUntilQuit();
    }
    {
        ScopedLock guard(appModule.lock);
        appModule.UnregisterLoop(GetCurrentThreadId());
    }
    return code;
}
