// Reads the running Paceword.exe from another process through UI Automation, as a screen reader
// does: the element beneath the main window (the quote), the one beneath that (the current word,
// or the results), the quote's item status (the last announcement) and the typing box's name and
// state. Prints one line each: "quote TEXT", "below TEXT", "said TEXT", "box NAME", "valid 0|1"; a part
// that is not there is left out. Exit code 1 when the main window cannot be read at all.
#include "tests/e2e/programProcess.h"

#include <windows.h>
#include <oleauto.h>
// Not uiautomation.h: MinGW-w64's API header does not compile as C++; the client functions and
// their two structures are declared here and loaded at run time (no import library either).
#include <uiautomationclient.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

namespace {

using Node = void*;
struct Condition {
    int type;  // ConditionType_True
};
struct CacheRequest {
    Condition* viewCondition;
    int scope;  // TreeScope_Element
    PROPERTYID* properties;
    int propertyCount;
    PATTERNID* patterns;
    int patternCount;
    int elementMode;  // AutomationElementMode_Full
};

HRESULT(WINAPI* nodeFromHandle)(HWND, Node*);
HRESULT(WINAPI* getPropertyValue)(Node, PROPERTYID, VARIANT*);
HRESULT(WINAPI* navigate)(Node, int, Condition*, CacheRequest*, SAFEARRAY**, BSTR*);
BOOL(WINAPI* nodeFromVariant)(VARIANT*, Node*);
BOOL(WINAPI* releaseNode)(Node);

template <typename Function> void load(HMODULE library, Function& function, const char* name)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

void sayProperty(const char* key, Node node, PROPERTYID property)
{
    VARIANT value;
    VariantInit(&value);
    if (SUCCEEDED(getPropertyValue(node, property, &value))) {
        if (value.vt == VT_BSTR) {
            std::printf("%s %ls\n", key, value.bstrVal ? value.bstrVal : L"");
        } else if (value.vt == VT_BOOL)
            std::printf("%s %d\n", key, value.boolVal ? 1 : 0);
    }
    VariantClear(&value);
}

// The node's first child, or null.
Node firstChild(Node node)
{
    Condition always = {0};
    CacheRequest request = {&always, 1, nullptr, 0, nullptr, 0, 1};
    SAFEARRAY* data = nullptr;
    BSTR tree = nullptr;
    Node child = nullptr;
    if (SUCCEEDED(navigate(node, 3, &always, &request, &data, &tree)) && data) {
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

struct ProgramWindows {
    DWORD process;
    HWND main;
};

}  // namespace

int main()
{
    _setmode(_fileno(stdout), _O_BINARY);
    HMODULE library = LoadLibraryW(L"uiautomationcore.dll");
    if (!library)
        return std::puts("error no uiautomationcore.dll"), 1;
    load(library, nodeFromHandle, "UiaNodeFromHandle");
    load(library, getPropertyValue, "UiaGetPropertyValue");
    load(library, navigate, "UiaNavigate");
    load(library, nodeFromVariant, "UiaHUiaNodeFromVariant");
    load(library, releaseNode, "UiaNodeRelease");

    ProgramWindows program = {findProgramProcess(), nullptr};
    EnumWindows(
        [](HWND window, LPARAM found) -> BOOL {
            auto* program = reinterpret_cast<ProgramWindows*>(found);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process != program->process || !IsWindowVisible(window) || GetWindow(window, GW_OWNER))
                return TRUE;
            program->main = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&program));
    Node main = nullptr;
    if (!program.main || FAILED(nodeFromHandle(program.main, &main)))
        return std::puts("error the main window has no element"), 1;

    constexpr PROPERTYID name = 30005, itemStatus = 30026, isDataValidForForm = 30103;
    if (Node quote = firstChild(main)) {
        sayProperty("quote", quote, name);
        sayProperty("said", quote, itemStatus);
        if (Node word = firstChild(quote)) {
            sayProperty("below", word, name);
            releaseNode(word);
        }
        releaseNode(quote);
    }
    releaseNode(main);

    wchar_t className[16] = {};
    for (HWND child = GetWindow(program.main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        GetClassNameW(child, className, 16);
        Node box = nullptr;
        if (lstrcmpiW(className, L"Edit") == 0 && IsWindowVisible(child) && SUCCEEDED(nodeFromHandle(child, &box))) {
            sayProperty("box", box, name);
            sayProperty("valid", box, isDataValidForForm);
            releaseNode(box);
        }
    }
    return 0;
}
