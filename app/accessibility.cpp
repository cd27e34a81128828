// The UI Automation elements of the main window and the typing box, and the announcements.
//
// The tree a client sees: the main window (its name, place and children from the system's own
// element for the window) holds the drawn quote, a text element named by the whole quote, which
// holds one named by the word to type, or by the results once the quote is typed; the system
// adds the window's controls beside them. Every element reads the attempt as it is when asked,
// so nothing is kept up to date while typing.
//
// The typing box answers with an element of its own: a standard edit can be named by dynamic
// annotation (IAccPropServices::SetHwndPropStr) on Windows, but Wine does not implement it
// (E_NOTIMPL) and has no element of its own for an edit, so a client in another process found
// nothing there. An element of its own names the box the same way everywhere; it takes the
// place of the system's for the box, so it carries the box's value too.
#include "app/accessibility.h"

#include "app/appState.h"
#include "app/controls.h"
#include "render/dirtyAreas.h"
#include "typing/figures.h"

#include <oleauto.h>

#include <algorithm>
#include <atomic>

AnnouncementRecorder announcementRecorder = nullptr;

namespace {

// Ids as Windows' SDK has them; MinGW-w64's headers lack some, and these names clash with none.
constexpr PROPERTYID controlTypeProperty = 30003;
constexpr PROPERTYID nameProperty = 30005;
constexpr PROPERTYID itemStatusProperty = 30026;
constexpr PROPERTYID isDataValidForFormProperty = 30103;
constexpr PATTERNID valuePattern = 10002;
constexpr int editControlType = 50004;
constexpr int textControlType = 50020;
constexpr int appendRuntimeId = 3;
constexpr HRESULT elementNotAvailable = static_cast<HRESULT>(0x80040201);
// NotificationKind_ActionCompleted; NotificationProcessing_ImportantAll and _MostRecent.
constexpr int actionCompleted = 2;
constexpr int importantAll = 0;
constexpr int mostRecent = 3;

// uiautomationcore.dll's functions, loaded with the first request from a client.
// UiaRaiseNotificationEvent is missing on Windows before 10 (1709) and in Wine.
struct AutomationFunctions {
    HMODULE library = nullptr;
    LRESULT(WINAPI* returnRawElementProvider)(HWND, WPARAM, LPARAM, IRawElementProviderSimple*) = nullptr;
    HRESULT(WINAPI* hostProviderFromHwnd)(HWND, IRawElementProviderSimple**) = nullptr;
    BOOL(WINAPI* clientsAreListening)() = nullptr;
    HRESULT(WINAPI* raisePropertyChangedEvent)(IRawElementProviderSimple*, PROPERTYID, VARIANT, VARIANT) = nullptr;
    HRESULT(WINAPI* raiseNotificationEvent)(IRawElementProviderSimple*, int, int, BSTR, BSTR) = nullptr;
    HRESULT(WINAPI* disconnectProvider)(IRawElementProviderSimple*) = nullptr;
};
AutomationFunctions automation;

template <typename Function> void loadFunction(Function& function, const char* name)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(automation.library, name)));
}

bool loadAutomation()
{
    if (!automation.library) {
        automation.library = LoadLibraryW(L"uiautomationcore.dll");
        if (!automation.library)
            return false;
        loadFunction(automation.returnRawElementProvider, "UiaReturnRawElementProvider");
        loadFunction(automation.hostProviderFromHwnd, "UiaHostProviderFromHwnd");
        loadFunction(automation.clientsAreListening, "UiaClientsAreListening");
        loadFunction(automation.raisePropertyChangedEvent, "UiaRaiseAutomationPropertyChangedEvent");
        loadFunction(automation.raiseNotificationEvent, "UiaRaiseNotificationEvent");
        loadFunction(automation.disconnectProvider, "UiaDisconnectProvider");
    }
    return automation.returnRawElementProvider && automation.hostProviderFromHwnd;
}

HRESULT stringVariant(const std::wstring& text, VARIANT* result)
{
    result->vt = VT_BSTR;
    result->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return result->bstrVal ? S_OK : E_OUTOFMEMORY;
}

HRESULT integerVariant(int value, VARIANT* result)
{
    result->vt = VT_I4;
    result->lVal = value;
    return S_OK;
}

bool attemptHasCurrentWord()
{
    return appState.wordIndex >= 0 && static_cast<size_t>(appState.wordIndex) < appState.words.size();
}

// The word to type now, without the blank that ends it.
std::wstring currentWord()
{
    if (!attemptHasCurrentWord())
        return L"";
    std::wstring word = appState.words[appState.wordIndex];
    if (!word.empty() && word.back() == L' ')
        word.pop_back();
    return word;
}

// A figure as said: "12" rather than the label's "12.".
std::wstring spokenFigure(double value)
{
    std::wstring text = formatFigure(value);
    if (!text.empty() && text.back() == L'.')
        text.pop_back();
    return text;
}

// The results label's three figures, as said.
std::wstring resultsText()
{
    const int64_t milliseconds = elapsedMilliseconds(appState.startTime, appState.endTime);
    return spokenFigure(appState.wordsPerMinute) + L" words per minute, " + spokenFigure(appState.charactersPerMinute) +
           L" characters per minute, " + spokenFigure(static_cast<double>(milliseconds) / 1000.0) + L" seconds";
}

// A rectangle of the main window's client area in screen coordinates, as UI Automation wants it.
UiaRect screenRect(float left, float top, float width, float height)
{
    POINT origin = {0, 0};
    ClientToScreen(appState.mainWindow, &origin);
    return {origin.x + left, origin.y + top, width, height};
}

// Where the quote's layout lies; nothing before there is a layout.
UiaRect quoteRect()
{
    DWRITE_TEXT_METRICS metrics = {};
    if (!appState.textLayout || FAILED(appState.textLayout->GetMetrics(&metrics)))
        return {0, 0, 0, 0};
    return screenRect(textOrigin + metrics.left, textOrigin + metrics.top, metrics.width, metrics.height);
}

// Where the current word lies: the union of its lines' boxes. Wine's DirectWrite does not
// hit-test (E_NOTIMPL); there the word is placed where the quote is.
UiaRect wordRect()
{
    DWRITE_HIT_TEST_METRICS lines[8];
    UINT32 count = 0;
    if (!appState.textLayout ||
        FAILED(appState.textLayout->HitTestTextRange(static_cast<UINT32>(appState.typedCount),
                                                     static_cast<UINT32>(appState.underlineLength), 0, 0, lines, 8,
                                                     &count)) ||
        count == 0)
        return quoteRect();
    float left = lines[0].left, top = lines[0].top, right = left, bottom = top;
    for (UINT32 i = 0; i < count; ++i) {
        left = std::min(left, lines[i].left);
        top = std::min(top, lines[i].top);
        right = std::max(right, lines[i].left + lines[i].width);
        bottom = std::max(bottom, lines[i].top + lines[i].height);
    }
    return screenRect(textOrigin + left, textOrigin + top, right - left, bottom - top);
}

IRawElementProviderFragment* asFragment(const ComPtr<IRawElementProviderSimple>& element)
{
    IRawElementProviderFragment* fragment = nullptr;
    if (element)
        element.Get()->QueryInterface(IID_PPV_ARGS(&fragment));
    return fragment;
}

// The main window's element and the two beneath it: the drawn quote, and beneath that the word
// to type (the results once the quote is typed). The quote's item status is the last
// announcement: where announcements go as property changes.
enum class DrawnPart { window, quote, below };

struct DrawnElement final : IRawElementProviderSimple, IRawElementProviderFragment, IRawElementProviderFragmentRoot {
    std::atomic<ULONG> references{1};
    DrawnPart part = DrawnPart::window;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** result) override
    {
        *result = nullptr;
        if (id == __uuidof(IUnknown) || id == __uuidof(IRawElementProviderSimple))
            *result = static_cast<IRawElementProviderSimple*>(this);
        else if (id == __uuidof(IRawElementProviderFragment))
            *result = static_cast<IRawElementProviderFragment*>(this);
        else if (id == __uuidof(IRawElementProviderFragmentRoot) && part == DrawnPart::window)
            *result = static_cast<IRawElementProviderFragmentRoot*>(this);
        if (!*result)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        return ++references;
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --references;
        if (left == 0)
            delete this;
        return left;
    }

    bool available() const
    {
        return appState.mainWindow && (part != DrawnPart::below || attemptHasCurrentWord() || appState.resultsShown);
    }

    HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* result) override
    {
        *result = ProviderOptions_ServerSideProvider;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID, IUnknown** result) override
    {
        *result = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID property, VARIANT* result) override
    {
        // The window's name, control type and the rest come from the window's own element.
        result->vt = VT_EMPTY;
        if (!available())
            return elementNotAvailable;
        if (part == DrawnPart::window)
            return S_OK;
        if (property == controlTypeProperty)
            return integerVariant(textControlType, result);
        // The quote as stored: its typographic characters and tabs as they are, not as typed.
        if (property == nameProperty)
            return stringVariant(part == DrawnPart::quote ? appState.currentQuote
                                 : appState.resultsShown  ? resultsText()
                                                          : currentWord(),
                                 result);
        if (property == itemStatusProperty && part == DrawnPart::quote)
            return stringVariant(appState.announcement, result);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** result) override
    {
        *result = nullptr;
        if (part != DrawnPart::window)
            return S_OK;
        return appState.mainWindow ? automation.hostProviderFromHwnd(appState.mainWindow, result) : elementNotAvailable;
    }

    HRESULT STDMETHODCALLTYPE Navigate(NavigateDirection direction, IRawElementProviderFragment** result) override
    {
        *result = nullptr;
        if (!available())
            return elementNotAvailable;
        const bool child = direction == NavigateDirection_FirstChild || direction == NavigateDirection_LastChild;
        if (direction == NavigateDirection_Parent && part != DrawnPart::window)
            *result = asFragment(part == DrawnPart::below ? appState.quoteElement : appState.mainWindowElement);
        else if (child && part == DrawnPart::window)
            *result = asFragment(appState.quoteElement);
        else if (child && part == DrawnPart::quote && (attemptHasCurrentWord() || appState.resultsShown))
            *result = asFragment(appState.belowQuoteElement);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetRuntimeId(SAFEARRAY** result) override
    {
        // The window's own element gives the window's id; the parts beneath append theirs.
        *result = nullptr;
        if (part == DrawnPart::window)
            return S_OK;
        *result = SafeArrayCreateVector(VT_I4, 0, 2);
        if (!*result)
            return E_OUTOFMEMORY;
        LONG ids[2] = {appendRuntimeId, static_cast<LONG>(part)};
        for (LONG i = 0; i < 2; ++i)
            SafeArrayPutElement(*result, &i, &ids[i]);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_BoundingRectangle(UiaRect* result) override
    {
        *result = {0, 0, 0, 0};
        if (!available())
            return elementNotAvailable;
        if (part != DrawnPart::window)
            *result = part == DrawnPart::below && !appState.resultsShown ? wordRect() : quoteRect();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetEmbeddedFragmentRoots(SAFEARRAY** result) override
    {
        *result = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetFocus() override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_FragmentRoot(IRawElementProviderFragmentRoot** result) override
    {
        *result = nullptr;
        if (!appState.mainWindowElement)
            return elementNotAvailable;
        return appState.mainWindowElement.Get()->QueryInterface(IID_PPV_ARGS(result));
    }

    HRESULT STDMETHODCALLTYPE ElementProviderFromPoint(double x, double y,
                                                       IRawElementProviderFragment** result) override
    {
        auto contains = [x, y](const UiaRect& rect) {
            return x >= rect.left && x < rect.left + rect.width && y >= rect.top && y < rect.top + rect.height;
        };
        *result = nullptr;
        if (attemptHasCurrentWord() && contains(wordRect()))
            *result = asFragment(appState.belowQuoteElement);
        else if (contains(quoteRect()))
            *result = asFragment(appState.quoteElement);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetFocus(IRawElementProviderFragment** result) override
    {
        // The keyboard focus is in a control, whose own element says so.
        *result = nullptr;
        return S_OK;
    }
};

// The typing box: named by the word to type, valid while its text is a correct beginning of it,
// and its text as its value.
struct TypingBoxElement final : IRawElementProviderSimple, IValueProvider {
    std::atomic<ULONG> references{1};
    HWND box = nullptr;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** result) override
    {
        *result = nullptr;
        if (id == __uuidof(IUnknown) || id == __uuidof(IRawElementProviderSimple))
            *result = static_cast<IRawElementProviderSimple*>(this);
        else if (id == __uuidof(IValueProvider))
            *result = static_cast<IValueProvider*>(this);
        if (!*result)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        return ++references;
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --references;
        if (left == 0)
            delete this;
        return left;
    }

    // A retired box is hidden, then destroyed: its element is gone with it.
    bool available() const
    {
        return box && box == appState.typingEdit;
    }

    HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* result) override
    {
        *result = ProviderOptions_ServerSideProvider;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID pattern, IUnknown** result) override
    {
        *result = nullptr;
        if (pattern == valuePattern) {
            *result = static_cast<IValueProvider*>(this);
            AddRef();
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID property, VARIANT* result) override
    {
        result->vt = VT_EMPTY;
        if (!available())
            return elementNotAvailable;
        if (property == controlTypeProperty)
            return integerVariant(editControlType, result);
        if (property == nameProperty)
            return stringVariant(L"Type the word: " + currentWord(), result);
        if (property == isDataValidForFormProperty) {
            result->vt = VT_BOOL;
            result->boolVal = appState.boxTextWrong ? VARIANT_FALSE : VARIANT_TRUE;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** result) override
    {
        *result = nullptr;
        return available() ? automation.hostProviderFromHwnd(box, result) : elementNotAvailable;
    }

    HRESULT STDMETHODCALLTYPE SetValue(LPCWSTR text) override
    {
        // As if typed: the box's change notification checks it against the word.
        if (!available())
            return elementNotAvailable;
        SetWindowTextW(box, text);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Value(BSTR* result) override
    {
        if (!available())
            return elementNotAvailable;
        const std::wstring text = windowText(box);
        *result = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return *result ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* result) override
    {
        *result = FALSE;
        return S_OK;
    }
};

void makeMainWindowElements()
{
    if (appState.mainWindowElement)
        return;
    DrawnElement* parts[3] = {new DrawnElement, new DrawnElement, new DrawnElement};
    parts[1]->part = DrawnPart::quote;
    parts[2]->part = DrawnPart::below;
    appState.mainWindowElement.Attach(parts[0]);
    appState.quoteElement.Attach(parts[1]);
    appState.belowQuoteElement.Attach(parts[2]);
}

// Said by a screen reader through the notification event where there is one; elsewhere the
// quote's item status changes to it.
void announce(const std::wstring& text, int processing)
{
    if (announcementRecorder) {
        appState.announcement = text;
        announcementRecorder(text);
        return;
    }
    if (!appState.quoteElement || !automation.clientsAreListening || !automation.clientsAreListening())
        return;
    VARIANT before = {};
    stringVariant(appState.announcement, &before);
    appState.announcement = text;
    if (automation.raiseNotificationEvent) {
        BSTR said = SysAllocString(text.c_str());
        BSTR activity = SysAllocString(L"Paceword");
        automation.raiseNotificationEvent(appState.quoteElement.Get(), actionCompleted, processing, said, activity);
        SysFreeString(said);
        SysFreeString(activity);
    } else if (automation.raisePropertyChangedEvent) {
        VARIANT after = {};
        stringVariant(text, &after);
        automation.raisePropertyChangedEvent(appState.quoteElement.Get(), itemStatusProperty, before, after);
        VariantClear(&after);
    }
    VariantClear(&before);
}

}  // namespace

LRESULT answerMainWindowObjectRequest(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (static_cast<LONG>(lParam) != uiaRootObjectId || !loadAutomation())
        return DefWindowProcW(window, WM_GETOBJECT, wParam, lParam);
    makeMainWindowElements();
    return automation.returnRawElementProvider(window, wParam, lParam, appState.mainWindowElement.Get());
}

LRESULT answerTypingBoxObjectRequest(HWND box, WPARAM wParam, LPARAM lParam)
{
    if (static_cast<LONG>(lParam) != uiaRootObjectId || !loadAutomation())
        return CallWindowProcW(appState.savedEditProc, box, WM_GETOBJECT, wParam, lParam);
    auto* current = static_cast<TypingBoxElement*>(appState.typingBoxElement.Get());
    if (!current || current->box != box) {
        auto* element = new TypingBoxElement;
        element->box = box;
        appState.typingBoxElement.Attach(element);
    }
    return automation.returnRawElementProvider(box, wParam, lParam, appState.typingBoxElement.Get());
}

void noteTypedTextChecked(bool wrong)
{
    // Called before the attempt shows or clears the frame: boxTextWrong still holds the last verdict.
    if (wrong && !appState.boxTextWrong)
        announce(L"wrong", importantAll);
}

void announceNextWord()
{
    // A word typed quickly makes the one before it stale: only the latest is said.
    announce(currentWord(), mostRecent);
}

void announceResults()
{
    announce(resultsText(), importantAll);
}

void releaseAccessibleElements()
{
    if (automation.library && appState.mainWindow)
        automation.returnRawElementProvider(appState.mainWindow, 0, 0, nullptr);
    auto release = [](ComPtr<IRawElementProviderSimple>& element) {
        if (element && automation.disconnectProvider)
            automation.disconnectProvider(element.Get());
        element.Reset();
    };
    release(appState.mainWindowElement);
    release(appState.quoteElement);
    release(appState.belowQuoteElement);
    release(appState.typingBoxElement);
}
