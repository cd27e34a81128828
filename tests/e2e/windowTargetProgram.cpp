// Paceword drawing as it does on Windows, through the window's own render target, with a bitmap
// standing in for the window's surface and shown on the window after each pass: what the
// end-to-end tests read from the screen is then what that target holds.
#include "app/startup.h"
#include "tests/bitmapTarget.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    standBitmapInForWindowTarget();
    HACCEL accelerators = nullptr;
    if (!setUpBeforeMessageLoop(instance, showCommand, accelerators))
        return 0;
    return runMessageLoop(accelerators);
}
