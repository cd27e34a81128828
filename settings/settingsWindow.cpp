// The settings window: text size and font family, applied at once and stored.
#include "app/appState.h"
#include "app/controls.h"
#include "app/focus.h"
#include "render/deviceResources.h"
#include "render/quoteRendering.h"
#include "settings/settings.h"
#include "settings/settingsText.h"

#include <string>

namespace {

HWND createSettingsControl(const wchar_t* className, const wchar_t* text, DWORD style, int x, int y, int width,
                           int height, int id = 0)
{
    return createControl(appState.settingsWindow, className, text, style, controlPlace(x, y, width, height), id);
}

// The owner's activation takes the keyboard focus for the main window itself: typing goes on
// in the typing box, so the focus goes back there (to the main window on the results screen,
// where its keys work).
void returnFocusToMainWindow()
{
    giveFocusNowOrWhenRestored(appState.typingEdit ? appState.typingEdit : appState.mainWindow);
}

void closeSettingsWindow()
{
    // The owner is enabled first so that it, not another program, becomes active.
    EnableWindow(appState.mainWindow, TRUE);
    DestroyWindow(appState.settingsWindow);
    returnFocusToMainWindow();
}

}  // namespace

bool registerSettingsWindowClass()
{
    WNDCLASSEXW& windowClass = appState.settingsWindowClass;
    windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = settingsWindowProc;
    windowClass.hInstance = appState.instance;
    // Without a class cursor the pointer would keep whatever shape it had when it came in.
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    windowClass.lpszClassName = SETTINGS_WINDOW_CLASS;
    appState.settingsClassAtom = RegisterClassExW(&windowClass);
    return appState.settingsClassAtom != 0;
}

void openSettingsWindow()
{
    RECT desktop = {};
    GetClientRect(appState.desktopWindow, &desktop);
    EnableWindow(appState.mainWindow, FALSE);
    appState.settingsWindow = CreateWindowExW(0, MAKEINTATOM(appState.settingsClassAtom), L"Settings",
                                              WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                                              (desktop.right - desktop.left) / 3, (desktop.bottom - desktop.top) / 7,
                                              380, 500, appState.mainWindow, nullptr, appState.instance, nullptr);
    if (!appState.settingsWindow) {
        // Never leave the main window disabled with nothing to enable it again.
        EnableWindow(appState.mainWindow, TRUE);
        return;
    }
    // The program's icon in the caption, as the main window has it; the class names none, and
    // without one Windows shows a blank application icon there and Wine its own.
    SendMessageW(appState.settingsWindow, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconW(appState.instance, MAKEINTRESOURCEW(IDI_PACEWORD))));
    SendMessageW(appState.settingsWindow, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadIconW(appState.instance, MAKEINTRESOURCEW(IDI_SMALL))));
    showAndUpdate(appState.settingsWindow);

    HWND sizeLabel = createSettingsControl(L"Static", L"Text size (10-90):", WS_CHILD, 10, 11, 120, 20);
    HWND familyLabel = createSettingsControl(L"Static", L"Font family:", WS_CHILD, 10, 47, 85, 20);
    showAndUpdate(sizeLabel);
    showAndUpdate(familyLabel);

    appState.textSizeEdit =
        createSettingsControl(L"Edit", L"", WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER | ES_NUMBER, 135, 10, 198, 20);
    appState.fontFamilyCombo = createSettingsControl(
        L"ComboBox", L"", WS_CHILD | WS_VSCROLL | CBS_DROPDOWN | CBS_HASSTRINGS, 135, 45, 200, 100);
    SetWindowTextW(appState.textSizeEdit, formatSizeField(appState.textSize).c_str());
    SetWindowTextW(appState.fontFamilyCombo, appState.fontFamily.c_str());
    for (const std::wstring& family : appState.fontFamilies)
        SendMessageW(appState.fontFamilyCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(family.c_str()));

    createSettingsControl(L"Static",
                          L"More settings options to come in later versions!\n\n"
                          L"Email me suggestions: suggestions@paceword.example",
                          WS_CHILD | WS_VISIBLE, 10, 350, 350, 55);
    showAndUpdate(appState.textSizeEdit);
    showAndUpdate(appState.fontFamilyCombo);

    const DWORD buttonStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER | BS_PUSHBUTTON;
    HWND saveButton = createSettingsControl(L"Button", L"Save", buttonStyle, 290, 420, 60, 25, CMD_SAVE);
    HWND cancelButton = createSettingsControl(L"Button", L"Cancel", buttonStyle, 220, 420, 60, 25, CMD_CANCEL);
    showAndUpdate(saveButton);
    showAndUpdate(cancelButton);
}

LRESULT CALLBACK settingsWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        // The close box keeps the edits, as Save does.
        EnableWindow(appState.mainWindow, TRUE);
        saveSettings();
        DestroyWindow(appState.settingsWindow);
        returnFocusToMainWindow();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == CMD_SAVE) {
            saveSettings();
            closeSettingsWindow();
            return 0;
        }
        if (LOWORD(wParam) == CMD_CANCEL) {
            closeSettingsWindow();
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_CTLCOLORSTATIC:
        SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(appState.backgroundBrush);
    case WM_DESTROY:
        if (window == appState.settingsWindow) {
            appState.settingsWindow = nullptr;
            appState.textSizeEdit = nullptr;
            appState.fontFamilyCombo = nullptr;
        }
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void saveSettings()
{
    std::wstring sizeText = windowText(appState.textSizeEdit);
    std::wstring familyText = windowText(appState.fontFamilyCombo);
    if (isOfferedFamily(appState.fontFamilies, familyText))
        appState.fontFamily = familyText;
    readSizeField(sizeText, appState.textSize);

    // A failed write is not reported; the new values still apply for this run.
    writeSettings();

    createTextFormat(L"");

    HFONT replacedFont = appState.editFont;
    HFONT newFont = createEditFont();
    if (newFont) {
        appState.editFont = newFont;
        // The old font is deleted only once no box uses it: the current box switches first, and
        // on the results screen the box that used it is already gone.
        if (appState.typingEdit)
            setControlFont(appState.typingEdit, appState.editFont, false);
        if (replacedFont)
            DeleteObject(replacedFont);
    }
    // Two layout passes: layoutChildren measures the box before it moves it, so the first pass
    // gives the box its new height and the "New text" button the old one; the second gives the
    // button the new height too.
    SendMessageW(appState.mainWindow, WM_SIZE, 0, 0);
    SendMessageW(appState.mainWindow, WM_SIZE, 0, 0);
    // Drawn once everything has its new place: the text in its new layout, the frame round the
    // box where the box now is.
    paintQuote();
}
