// The bare yardstick of the start-up benchmark: the dialog and nothing else.
#include "tests/e2e/BareDialog.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showState)
{
    return RunBareDialog(instance, showState);
}
