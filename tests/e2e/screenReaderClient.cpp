// Reads the running Paceword.exe from another process through UI Automation, as a screen reader
// does. Prints "quote TEXT" (the element beneath the main window), "below TEXT" (the one beneath
// the quote), "box NAME" and "valid 0|1" (the typing box); a part that is not there is left out.
#include "tests/e2e/programProcess.h"

#include <windows.h>
#include <oleauto.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace {

// The client functions of uiautomationcore.dll, loaded at run time (MinGW-w64 has neither an
// import library nor a header that compiles as C++), and the two structures UiaNavigate takes.
using Node = void*;
struct Condition {
    int type;  // ConditionType_True
};
struct CacheRequest {
    Condition* viewCondition;
    int scope;  // TreeScope_Element
    int* properties;
    int propertyCount;
    int* patterns;
    int patternCount;
    int elementMode;  // AutomationElementMode_Full
};
HMODULE library = LoadLibraryW(L"uiautomationcore.dll");
template <typename Function> Function load(const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}
auto nodeFromHandle = load<HRESULT(WINAPI*)(HWND, Node*)>("UiaNodeFromHandle");
auto getPropertyValue = load<HRESULT(WINAPI*)(Node, int, VARIANT*)>("UiaGetPropertyValue");
auto navigate = load<HRESULT(WINAPI*)(Node, int, Condition*, CacheRequest*, SAFEARRAY**, BSTR*)>("UiaNavigate");
auto nodeFromVariant = load<BOOL(WINAPI*)(VARIANT*, Node*)>("UiaHUiaNodeFromVariant");

void sayProperty(const char* key, Node node, int property)
{
    VARIANT value;
    VariantInit(&value);
    if (SUCCEEDED(getPropertyValue(node, property, &value)) && value.vt == VT_BSTR)
        std::printf("%s %ls\n", key, value.bstrVal ? value.bstrVal : L"");
    else if (value.vt == VT_BOOL)
        std::printf("%s %d\n", key, value.boolVal ? 1 : 0);
    VariantClear(&value);
}

Node firstChild(Node node)
{
    Condition always = {0};
    CacheRequest request = {&always, 1, nullptr, 0, nullptr, 0, 1};
    SAFEARRAY* data = nullptr;
    BSTR tree = nullptr;
    Node child = nullptr;
    if (SUCCEEDED(navigate(node, 3 /* NavigateDirection_FirstChild */, &always, &request, &data, &tree)) && data) {
        LONG first[2] = {0, 0};
        VARIANT element;
        VariantInit(&element);
        if (SUCCEEDED(SafeArrayGetElement(data, first, &element)))
            nodeFromVariant(&element, &child);
        SafeArrayDestroy(data);
    }
    SysFreeString(tree);
    return child;
}

HWND mainWindow = nullptr;

}  // namespace

int main()
{
    // Lines end in LF alone, as the script reading them expects.
    _setmode(_fileno(stdout), _O_BINARY);
    EnumWindows(
        [](HWND window, LPARAM program) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == static_cast<DWORD>(program) && IsWindowVisible(window) && !GetWindow(window, GW_OWNER))
                mainWindow = window;
            return !mainWindow;
        },
        static_cast<LPARAM>(findProgramProcess()));
    constexpr int name = 30005, isDataValidForForm = 30103;
    Node main = nullptr;
    if (!mainWindow || !nodeFromHandle || FAILED(nodeFromHandle(mainWindow, &main)))
        return std::puts("error the main window has no element"), 1;
    if (Node quote = firstChild(main)) {
        sayProperty("quote", quote, name);
        if (Node below = firstChild(quote))
            sayProperty("below", below, name);
    }
    wchar_t className[8] = {};
    Node box = nullptr;
    for (HWND child = GetWindow(mainWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetClassNameW(child, className, 8) && lstrcmpiW(className, L"Edit") == 0 && IsWindowVisible(child) &&
            SUCCEEDED(nodeFromHandle(child, &box))) {
            sayProperty("box", box, name);
            sayProperty("valid", box, isDataValidForForm);
        }
    return 0;
}
