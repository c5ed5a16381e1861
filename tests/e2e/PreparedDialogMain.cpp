// The prepared yardstick of the start-up benchmark: the dialog, with what
// every start-up of kestrivane.exe does around its window: COM, the common
// controls and the editor's manifest, which loads the common controls 6.0.
#include "tests/e2e/BareDialog.h"

#include <commctrl.h>
#include <objbase.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showState)
{
    CoInitialize(nullptr);
    DefWindowProcA(nullptr, WM_NULL, 0, 0);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);
    const int code = RunBareDialog(instance, showState);
    CoUninitialize();
    return code;
}
