// Paceword as it runs, with two differences that make its pictures the same on every run: a
// clock that reads 12.5 seconds later each time it is read (an attempt reads it at its start and
// at its end, so the results always show the same figures however fast the keys came), and a
// fixed window size.
#include "app/appState.h"
#include "app/startup.h"
#include "typing/typing.h"

namespace {

int64_t steppingClock()
{
    static int64_t now = 0;
    now += 12'500'000'000;
    return now;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    clockSource = steppingClock;
    HACCEL accelerators = nullptr;
    if (!setUpBeforeMessageLoop(instance, showCommand, accelerators))
        return 0;
    SetWindowPos(appState.mainWindow, nullptr, 40, 40, 760, 400, SWP_NOZORDER);
    return runMessageLoop(accelerators);
}
