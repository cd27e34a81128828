// From process start to the running message loop.
#include "app/startup.h"

#include "app/appState.h"
#include "app/controls.h"
#include "app/focus.h"
#include "app/mainWindow.h"
#include "render/deviceResources.h"
#include "render/quoteRendering.h"
#include "settings/settings.h"
#include "typing/typing.h"

#include <string>

namespace {

std::wstring workingFolder()
{
    DWORD length = GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(length, L'\0');
    folder.resize(GetCurrentDirectoryW(length, folder.data()));
    return folder;
}

void reportMissingQuotes()
{
    const std::wstring text = noQuotesMessage(workingFolder(), quoteLineCount(appState.quotes));
    MessageBoxW(nullptr, text.c_str(), L"Paceword", MB_OK | MB_ICONERROR);
}

// Ends a start-up that cannot go on: nothing is drawn and the loop never runs.
bool abandonStartup()
{
    if (appState.mainWindow)
        DestroyWindow(appState.mainWindow);
    return false;
}

}  // namespace

void reportStartupFailure(const wchar_t* what)
{
    std::wstring text = std::wstring(L"Paceword cannot start: ") + what + L" could not be created.";
    MessageBoxW(nullptr, text.c_str(), L"Paceword", MB_OK | MB_ICONERROR);
}

bool registerMainWindowClass(HINSTANCE instance)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_PACEWORD));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    windowClass.lpszMenuName = MAKEINTRESOURCEW(IDC_PACEWORD);
    windowClass.lpszClassName = appState.windowClassName;
    windowClass.hIconSm = LoadIconW(instance, MAKEINTRESOURCEW(IDI_SMALL));
    return RegisterClassExW(&windowClass) != 0;
}

bool initializeApplication(HINSTANCE instance, int showCommand)
{
    appState.instance = instance;
    appState.mainWindow =
        CreateWindowExW(0, appState.windowClassName, appState.windowTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                        CW_USEDEFAULT, 0, CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
    if (!appState.mainWindow) {
        reportStartupFailure(L"the main window");
        return false;
    }
    SetWindowTextW(appState.mainWindow, L"Paceword");
    loadSettings();

    // Made first: the "New text" button takes it when it is made.
    appState.buttonFont = createControlFont(14, FW_BOLD, L"Arial");
    createTypingControls();
    if (!appState.typingEdit) {
        reportStartupFailure(L"the typing box");
        return abandonStartup();
    }
    if (!appState.newTextButton) {
        reportStartupFailure(L"the \"New text\" button");
        return abandonStartup();
    }

    if (!loadQuotes()) {
        reportMissingQuotes();
        return abandonStartup();
    }
    seedRandomEngine();
    // The first quote before anything is laid out from it.
    pickRandomQuote();
    prepareAttempt();

    appState.editFont = createEditFont();
    if (!appState.editFont) {
        reportStartupFailure(L"the typing font");
        return abandonStartup();
    }
    if (!createD2dFactory()) {
        reportStartupFailure(L"the Direct2D factory");
        return abandonStartup();
    }
    if (!createDeviceResources()) {
        reportStartupFailure(L"the Direct2D render target");
        return abandonStartup();
    }
    if (!createDwriteFactory()) {
        reportStartupFailure(L"the DirectWrite factory");
        return abandonStartup();
    }
    if (!createTextFormat(L"en-us")) {
        reportStartupFailure(L"the text format");
        return abandonStartup();
    }
    rebuildTextLayout();
    if (!appState.textLayout) {
        reportStartupFailure(L"the text layout");
        return abandonStartup();
    }
    if (!registerSettingsWindowClass()) {
        reportStartupFailure(L"the settings window class");
        return abandonStartup();
    }
    appState.desktopWindow = GetDesktopWindow();

    ShowWindow(appState.mainWindow, showCommand);
    UpdateWindow(appState.mainWindow);
    showAndUpdate(appState.typingEdit);
    showAndUpdate(appState.newTextButton);
    return true;
}

bool setUpBeforeMessageLoop(HINSTANCE instance, int showCommand, HACCEL& accelerators)
{
    // The result is not needed: a failed initialisation shows up when a factory cannot be made.
    (void)CoInitialize(nullptr);
    LoadStringW(instance, IDS_APP_TITLE, appState.windowTitle, 100);
    LoadStringW(instance, IDS_WINDOW_CLASS, appState.windowClassName, 100);
    registerMainWindowClass(instance);
    if (!initializeApplication(instance, showCommand))
        return false;
    accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDC_PACEWORD));
    setControlFont(appState.typingEdit, appState.editFont, true);
    giveFocusNowOrWhenRestored(appState.typingEdit);
    return true;
}

void translateAndDispatch(MSG& message, HACCEL accelerators)
{
    // Translated against the window the message is for: while the typing box has the focus, the
    // About accelerators go to the box, which ignores them.
    if (!TranslateAcceleratorW(message.hwnd, accelerators, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

int runMessageLoop(HACCEL accelerators)
{
    MSG message = {};
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        translateAndDispatch(message, accelerators);
    return static_cast<int>(message.wParam);
}
