#include "app/startup.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    HACCEL accelerators = nullptr;
    if (!setUpBeforeMessageLoop(instance, showCommand, accelerators))
        return 0;
    return runMessageLoop(accelerators);
}
