// Paceword drawing through a window render target, as it does on Windows, so that the monkey can
// check that target's partial passes under Wine too (the program itself draws through the
// window's DC there). Wine lays that target's surface over the child controls: only the part
// above the typing box can be compared.
#include "app/startup.h"
#include "render/deviceResources.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    drawThroughWindowDc = [] { return false; };
    HACCEL accelerators = nullptr;
    if (!setUpBeforeMessageLoop(instance, showCommand, accelerators))
        return 0;
    return runMessageLoop(accelerators);
}
