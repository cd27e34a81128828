// Prints "width height x y" of Paceword's client area on the screen, for the end-to-end scripts.
// Under Wine the X window of a top-level window holds the menu bar as well as the client area,
// and the menu's height follows the system's menu font: the window itself knows where its client
// area starts, so ask it.
#include <windows.h>

#include <cstdio>

int wmain()
{
    // The main window's class name stays while its title changes with the screen.
    HWND window = FindWindowW(L"VELMORA1", nullptr);
    if (!window)
        return 1;
    RECT client = {};
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    std::printf("%ld %ld %ld %ld\n", client.right, client.bottom, origin.x, origin.y);
    return 0;
}
