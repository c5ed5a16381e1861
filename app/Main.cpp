// The process entry point: prepares COM and the common controls, runs the
// editor and hands its close code to the process as the exit code.

#include "app/AppModule.h"
#include "app/RunMainWindow.h"

#include <commctrl.h>
#include <objbase.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showState)
{
    CoInitialize(nullptr);
    DefWindowProcA(nullptr, WM_NULL, 0, 0);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);
    appModule.Startup();
    const int code = RunMainWindow(showState);
    appModule.Shutdown();
    CoUninitialize();
    return code;
}
