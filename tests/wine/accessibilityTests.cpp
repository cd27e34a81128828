// What a screen reader is told during an attempt, and what Wine does not carry to a client in
// another process (tests/e2e/screenReader.sh reads the rest from there): the box's value pattern
// and where the elements lie. Wine 8 delivers no events (a client's UiaAddEvent answers E_NOTIMPL,
// UiaClientsAreListening FALSE): announcements are recorded where they would be raised.
#include "tests/wine/testProgram.h"

#include "app/accessibility.h"

#include <string>
#include <vector>

namespace {

std::vector<std::wstring> announced;

void recordAnnouncement(const std::wstring& text)
{
    announced.push_back(text);
}

class AccessibilityTest : public ProgramTest {
  protected:
    void SetUp() override
    {
        announced.clear();
        announcementRecorder = recordAnnouncement;
    }
    void TearDown() override
    {
        announcementRecorder = nullptr;
        ProgramTest::TearDown();
    }
};

TEST_F(AccessibilityTest, oneAttemptAnnouncesEachNextWordEachWrongStretchAndTheResultsOnce)
{
    ASSERT_TRUE(startProgram("Quick brown fox jumps\n"));
    useFakeClock();
    fakeClockNanoseconds = 1'000'000'000;
    typeText(L"Quick ");
    // Three wrong stretches: two wrong keys, then one and one more, each ended by Backspace.
    typeText(L"bx");
    typeText(L"y");
    typeText(L"\b\b");
    typeText(L"rown f");
    typeText(L"q\bo");
    typeText(L"x");
    typeText(L"x\b ");
    typeText(L"jump");
    fakeClockNanoseconds = 11'000'000'000;
    typeText(L"s");
    ASSERT_TRUE(appState.resultsShown);
    // 21 characters in 10 s: 126 a minute, 25.2 words of five.
    const std::vector<std::wstring> expected = {L"brown",
                                                L"wrong",
                                                L"fox",
                                                L"wrong",
                                                L"wrong",
                                                L"jumps",
                                                L"25.2 words per minute, 126 characters per minute, 10 seconds"};
    EXPECT_EQ(announced, expected);
}

TEST_F(AccessibilityTest, elementsLieWhereTheyAreDrawnAndTheBoxCarriesItsValue)
{
    ASSERT_TRUE(startProgram("Quick brown fox jumps\n"));
    SendMessageW(appState.mainWindow, WM_GETOBJECT, 0, uiaRootObjectId);
    SendMessageW(appState.typingEdit, WM_GETOBJECT, 0, uiaRootObjectId);
    ASSERT_TRUE(appState.quoteElement && appState.typingBoxElement);

    ComPtr<IRawElementProviderFragment> quote;
    ASSERT_EQ(appState.quoteElement.As(&quote), S_OK);
    UiaRect place = {};
    ASSERT_EQ(quote->get_BoundingRectangle(&place), S_OK);
    // Within the client area on the screen, below the margin and above the box.
    RECT client = clientRectOf(appState.mainWindow);
    MapWindowPoints(appState.mainWindow, nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_GE(place.left, client.left + 20);
    EXPECT_GE(place.top, client.top + 20);
    EXPECT_GT(place.width, 50);
    EXPECT_GT(place.height, 5);
    RECT box = {};
    GetWindowRect(appState.typingEdit, &box);
    EXPECT_LT(place.top + place.height, box.top);
    ComPtr<IRawElementProviderFragmentRoot> root;
    ASSERT_EQ(appState.mainWindowElement.As(&root), S_OK);
    ComPtr<IRawElementProviderFragment> found;
    root->ElementProviderFromPoint(place.left + 1, place.top + place.height / 2, &found);
    EXPECT_TRUE(found);

    ComPtr<IUnknown> pattern;
    ASSERT_EQ(appState.typingBoxElement->GetPatternProvider(10002, &pattern), S_OK);  // the value pattern
    ComPtr<IValueProvider> value;
    ASSERT_EQ(pattern.As(&value), S_OK);
    typeText(L"Qu");
    BSTR typed = nullptr;
    ASSERT_EQ(value->get_Value(&typed), S_OK);
    EXPECT_STREQ(typed, L"Qu");
    SysFreeString(typed);
    VARIANT name;
    ASSERT_EQ(appState.typingBoxElement->GetPropertyValue(30005, &name), S_OK);
    EXPECT_STREQ(name.bstrVal, L"Type the word: Quick");
    VariantClear(&name);
    // A retired box's element answers no more; the new box starts right, though the old one was
    // left wrong.
    typeText(L"x");
    HWND firstBox = appState.typingEdit;
    pressKey(VK_ESCAPE);
    EXPECT_NE(appState.typingBoxElement->GetPropertyValue(30005, &name), S_OK);
    SendMessageW(appState.typingEdit, WM_GETOBJECT, 0, uiaRootObjectId);
    ASSERT_NE(appState.typingEdit, firstBox);
    VARIANT valid;
    ASSERT_EQ(appState.typingBoxElement->GetPropertyValue(30103, &valid), S_OK);
    EXPECT_EQ(valid.boolVal, VARIANT_TRUE);
}

}  // namespace
