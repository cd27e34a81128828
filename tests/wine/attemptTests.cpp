// The typing attempt, the results screen and the next attempt, driven through the real controls.
#include "tests/wine/testProgram.h"

#include "tests/screenComparison.h"
#include "typing/quoteLibrary.h"
#include "typing/typing.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

const wchar_t timerTitle[] =
    L"TIMER STARTED!!!!! GO! GO! GO!!! TYPE! TYPE! TYPE!!! FAST! FAST! FAST!!! GOOD LUCK! ......";

// Several distinct quotes, so that a new text can be told from a retry.
const char severalQuotes[] = "one two\nthree four five\nsix\nseven eight\nnine ten eleven\n";

// A quote of exactly `length` characters in long words (each word repaints the quote).
std::string quoteOfLength(size_t length)
{
    std::string quote;
    while (quote.size() < length)
        quote += "abcdefghijklmnopqrs ";
    quote.resize(length);
    if (quote.back() == ' ')
        quote.back() = 'z';
    return quote;
}

// The underline the text layout would draw at this position of the quote.
bool underlinedAt(UINT32 position)
{
    BOOL underline = FALSE;
    DWRITE_TEXT_RANGE range = {};
    appState.textLayout->GetUnderline(position, &underline, &range);
    return underline != FALSE;
}

// Whether the red frame rings the box where the box is now: each of the four strips just outside
// it mostly red (a frame drawn where the box was before it moved leaves at least one side bare).
bool redFrameRoundBox()
{
    const ClientPixels read = readClientPixels(appState.mainWindow, false);
    const RECT& b = read.box;
    for (const RECT& strip : ringRound(b, 2)) {
        size_t red = 0, all = 0;
        for (LONG y = std::max<LONG>(strip.top, 0); y < std::min(strip.bottom, read.client.bottom); ++y)
            for (LONG x = std::max<LONG>(strip.left, 0); x < std::min(strip.right, read.client.right); ++x, ++all) {
                const uint32_t pixel = read.pixels[static_cast<size_t>(y) * read.client.right + x];
                red += isRed(pixel) ? 1 : 0;
            }
        if (all == 0 || 2 * red < all)
            return false;
    }
    return true;
}

// Pastes as the user would: the text goes to the clipboard, the box gets WM_PASTE.
void pasteIntoBox(const std::wstring& text)
{
    ASSERT_TRUE(OpenClipboard(appState.mainWindow));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    SendMessageW(GetFocus(), WM_PASTE, 0, 0);
    pumpMessages();
}

// Types the current quote to its end; the clock reads `elapsedNanoseconds` more at the end than
// at the first character. The characters are queued at once and then handled one by one, as
// when the user types faster than the program reads.
void typeWholeQuote(int64_t elapsedNanoseconds = 0)
{
    const std::wstring quote = appState.currentQuote;
    fakeClockNanoseconds = 1'000'000'000;
    typeText(quote.substr(0, 1));
    fakeClockNanoseconds += elapsedNanoseconds;
    for (wchar_t c : quote.substr(1))
        PostMessageW(appState.typingEdit, WM_CHAR, c, 1);
    pumpMessages();
}

// What is not as a fresh attempt leaves it; empty when all is.
std::string readyScreenFaults()
{
    std::string faults;
    auto check = [&faults](bool good, const char* what) {
        if (!good)
            faults += std::string(what) + "; ";
    };
    check(appState.typingEdit && appState.newTextButton, "typing controls missing");
    check(!appState.resultsLabel && !appState.retryButton && !appState.anotherTextButton, "results controls left");
    check(!appState.resultsShown && !appState.timerStarted && !appState.mismatchShown, "flags not cleared");
    check(GetFocus() == appState.typingEdit, "box without the focus");
    check(windowText(appState.typingEdit).empty(), "box not empty");
    check(windowText(appState.mainWindow) == L"Paceword", "title not Paceword");
    check(appState.wordIndex == 0 && appState.typedCount == 0, "progress not reset");
    check(appState.wordsPerMinute == 0.0 && appState.charactersPerMinute == 0.0, "figures not cleared");
    return faults;
}

// The Edit class's own window procedure, read the same way the program reads it.
WNDPROC editClassProcedure()
{
    HWND plain = CreateWindowExW(0, L"Edit", L"", WS_CHILD, 0, 0, 10, 10, appState.mainWindow, nullptr,
                                 appState.instance, nullptr);
    WNDPROC procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(plain, GWLP_WNDPROC));
    DestroyWindow(plain);
    return procedure;
}

enum class Reset { newText, retry };

// Runs `action`, which should start a fresh attempt of this kind, and checks what it leaves: the
// ready screen on the right quote, one random draw for a new text and none for a retry, the old
// controls destroyed, and a new box like the first: subclassed, in the typing font, and taking
// the quote's longest word (the quotes here are plain ASCII, one key a character).
void expectReset(Reset kind, const std::function<void()>& action)
{
    // A new text is another quote here, so that the screen tells it from the old one.
    for (uint32_t seed = 1; kind == Reset::newText; ++seed) {
        std::mt19937 next(seed);
        if (pickQuoteIndex(next, appState.quotes) != appState.quoteIndex) {
            appState.randomEngine.seed(seed);
            break;
        }
    }
    std::mt19937 engine = appState.randomEngine;
    const int32_t quoteIndex = kind == Reset::newText ? pickQuoteIndex(engine, appState.quotes) : appState.quoteIndex;
    const HWND oldControls[] = {appState.typingEdit, appState.newTextButton, appState.resultsLabel,
                                appState.retryButton, appState.anotherTextButton};
    action();
    EXPECT_EQ(readyScreenFaults(), "") << "nor is the key typed into the new box";
    EXPECT_EQ(appState.quoteIndex, quoteIndex);
    EXPECT_TRUE(appState.randomEngine == engine) << "a new text draws exactly once, a retry never";
    for (HWND control : oldControls)
        EXPECT_FALSE(control && IsWindow(control)) << "an old control outlived the reset";
    // The words give the quote back, each ending at its first blank, the last one at none.
    std::wstring joined;
    for (size_t i = 0; i < appState.words.size(); ++i) {
        joined += appState.words[i];
        EXPECT_EQ(appState.words[i].find(L' '),
                  i + 1 < appState.words.size() ? appState.words[i].size() - 1 : std::wstring::npos);
    }
    EXPECT_EQ(joined, appState.currentQuote);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(appState.typingEdit, GWLP_WNDPROC)), typingEditProc);
    EXPECT_EQ(appState.savedEditProc, editClassProcedure());
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(appState.typingEdit, WM_GETFONT, 0, 0)), appState.editFont);
    size_t longest = 30000;
    for (const std::wstring& word : appState.words)
        longest = std::max(longest, word.size());
    EXPECT_EQ(static_cast<size_t>(SendMessageW(appState.typingEdit, EM_GETLIMITTEXT, 0, 0)), longest);
    expectScreenEqualsWholeRepaint("after the reset");
}

class AttemptTest : public ProgramTest {};
class ResultsScreenTest : public ProgramTest {};
class ResetTest : public ProgramTest {};

}  // namespace

TEST_F(AttemptTest, firstChangeStartsTheClockEvenWhenWrongButKeysThatChangeNothingDoNot)
{
    ASSERT_TRUE(startProgram("the cat\n"));
    useFakeClock();
    fakeClockNanoseconds = 5'000'000'000;
    pressKey(VK_LEFT);
    pressKey(VK_SHIFT);
    EXPECT_FALSE(appState.timerStarted);
    EXPECT_EQ(windowText(appState.mainWindow), L"Paceword");

    fakeClockNanoseconds = 7'000'000'123;
    typeText(L"T");  // case matters: 'T' is not a beginning of 'the '
    EXPECT_TRUE(appState.timerStarted);
    EXPECT_EQ(appState.startTime, 7'000'000'123);
    EXPECT_EQ(windowText(appState.mainWindow), timerTitle);
    EXPECT_TRUE(appState.mismatchShown);

    fakeClockNanoseconds = 9'000'000'000;
    typeText(L"\bt");
    EXPECT_FALSE(appState.mismatchShown);
    EXPECT_EQ(appState.startTime, 7'000'000'123) << "only the first change starts the clock";
    EXPECT_EQ(windowText(appState.mainWindow), timerTitle);
}

TEST_F(AttemptTest, frameShowsWhileTheBoxIsNotABeginningOfTheWord)
{
    ASSERT_TRUE(startProgram("one two\n"));
    typeText(L"onx");
    EXPECT_TRUE(appState.mismatchShown);
    typeText(L"\b");
    EXPECT_FALSE(appState.mismatchShown) << "a correct beginning clears the frame";
    typeText(L"ex");  // as long as 'one ' but different
    EXPECT_TRUE(appState.mismatchShown);
    typeText(L"y");  // longer than the word
    EXPECT_TRUE(appState.mismatchShown);

    // A repaint, or a resize that moves the box, while the text is wrong draws the frame again.
    InvalidateRect(appState.mainWindow, nullptr, TRUE);
    UpdateWindow(appState.mainWindow);
    EXPECT_TRUE(redFrameRoundBox()) << "after a repaint";
    RECT window = {};
    GetWindowRect(appState.mainWindow, &window);
    SetWindowPos(appState.mainWindow, nullptr, 0, 0, window.right - window.left + 40, window.bottom - window.top + 30,
                 SWP_NOMOVE | SWP_NOZORDER);
    pumpMessages();
    EXPECT_TRUE(redFrameRoundBox()) << "after a resize";
    typeText(L"\b\b\b\b\b");
    EXPECT_FALSE(appState.mismatchShown) << "an empty box clears the frame";
    EXPECT_EQ(appState.wordIndex, 0);
}

TEST_F(AttemptTest, completedWordEmptiesTheBoxAndMovesTheUnderline)
{
    ASSERT_TRUE(startProgram("one two three\n"));
    EXPECT_TRUE(underlinedAt(0) && underlinedAt(2));
    EXPECT_FALSE(underlinedAt(3)) << "the trailing blank is not underlined";
    typeText(L"onx\be");
    EXPECT_EQ(windowText(appState.typingEdit), L"one");
    EXPECT_EQ(appState.wordIndex, 0);

    typeText(L" ");
    EXPECT_EQ(windowText(appState.typingEdit), L"");
    EXPECT_EQ(appState.wordIndex, 1);
    EXPECT_EQ(appState.typedCount, 4);
    EXPECT_EQ(appState.underlineLength, 3);
    EXPECT_FALSE(appState.mismatchShown) << "the nested change of the emptied box shows nothing";
    EXPECT_TRUE(appState.timerStarted);
    EXPECT_FALSE(underlinedAt(0) || underlinedAt(2)) << "the completed word loses its underline";
    EXPECT_TRUE(underlinedAt(4) && underlinedAt(6));
    EXPECT_FALSE(underlinedAt(7) || underlinedAt(8));
}

TEST_F(AttemptTest, loneBlankWordIsCompletedByOneBlankWithNothingUnderlined)
{
    ASSERT_TRUE(startProgram("a  b\n"));
    typeText(L"a ");
    EXPECT_EQ(appState.wordIndex, 1);
    EXPECT_EQ(appState.typedCount, 2);
    EXPECT_EQ(appState.underlineLength, 0);
    EXPECT_FALSE(underlinedAt(0) || underlinedAt(2));
    typeText(L" ");
    EXPECT_EQ(appState.wordIndex, 2);
    EXPECT_EQ(appState.typedCount, 3);
    EXPECT_EQ(appState.underlineLength, 1);
    EXPECT_TRUE(underlinedAt(3));
    typeText(L"b");
    EXPECT_TRUE(appState.resultsShown);
}

TEST_F(AttemptTest, pastingAWholeWordCompletesItAndPastingTwoIsWrong)
{
    ASSERT_TRUE(startProgram("one two\n"));
    pasteIntoBox(L"one two");
    EXPECT_EQ(windowText(appState.typingEdit), L"one two");
    EXPECT_TRUE(appState.mismatchShown);
    EXPECT_EQ(appState.wordIndex, 0) << "words are never accepted in bulk";
    SendMessageW(appState.typingEdit, EM_SETSEL, 0, -1);
    typeText(L"\b");
    EXPECT_FALSE(appState.mismatchShown);

    pasteIntoBox(L"one ");
    EXPECT_EQ(appState.wordIndex, 1);
    EXPECT_EQ(windowText(appState.typingEdit), L"");
    pasteIntoBox(L"two");
    EXPECT_TRUE(appState.resultsShown);
}

TEST_F(AttemptTest, lastWordEndsWithoutABlankAndStaysUnderlined)
{
    ASSERT_TRUE(startProgram("one two\n"));
    typeText(L"one tw ");
    EXPECT_TRUE(appState.mismatchShown) << "no blank follows the last word";
    EXPECT_FALSE(appState.resultsShown);
    typeText(L"\bo");
    EXPECT_TRUE(appState.resultsShown);
    EXPECT_FALSE(appState.mismatchShown);
    EXPECT_EQ(appState.wordIndex, 2);
    EXPECT_EQ(appState.typedCount, 4);
    EXPECT_EQ(appState.underlineLength, 3);
    EXPECT_TRUE(underlinedAt(4) && underlinedAt(6));
    EXPECT_FALSE(underlinedAt(0));
}

TEST_F(ResultsScreenTest, resultsScreenReplacesTheTypingControls)
{
    ASSERT_TRUE(startProgram("one two\n"));
    useFakeClock();
    typeText(L"one tw");
    HWND oldEdit = appState.typingEdit;
    HWND oldButton = appState.newTextButton;
    // The last character arrives straight in the box, as in the middle of a message: the box
    // must be gone from the program's view at once, but destroyed only after it has returned.
    SendMessageW(oldEdit, WM_CHAR, L'o', 1);
    EXPECT_TRUE(appState.resultsShown);
    EXPECT_TRUE(IsWindow(oldEdit)) << "destroyed inside its own notification";
    EXPECT_EQ(appState.typingEdit, nullptr);
    EXPECT_EQ(appState.newTextButton, nullptr);
    EXPECT_FALSE(IsWindowVisible(oldEdit) || IsWindowVisible(oldButton));
    pumpMessages();
    EXPECT_FALSE(IsWindow(oldEdit) || IsWindow(oldButton));

    EXPECT_EQ(windowText(appState.mainWindow), L"Good job! :D");
    EXPECT_FALSE(appState.timerStarted);
    EXPECT_EQ(GetFocus(), appState.mainWindow);

    const RECT client = clientRectOf(appState.mainWindow);
    struct Expected {
        HWND button;
        const wchar_t* text;
        int id;
        LONG top;
    };
    for (const Expected& expected :
         {Expected{appState.anotherTextButton, L"Another text! (Enter or Esc)", CMD_ANOTHER_TEXT, client.bottom - 55},
          Expected{appState.retryButton, L"Retry same text (r or R)", CMD_RETRY, client.bottom - 105}}) {
        ASSERT_NE(expected.button, nullptr);
        EXPECT_EQ(windowText(expected.button), expected.text);
        EXPECT_EQ(GetDlgCtrlID(expected.button), expected.id);
        LONG style = GetWindowLongW(expected.button, GWL_STYLE);
        EXPECT_TRUE((style & WS_BORDER) && (style & WS_VISIBLE));
        EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);
        EXPECT_EQ(placeInParent(expected.button),
                  (RECT{client.right - 185, expected.top, client.right - 20, expected.top + 35}));
    }
    ASSERT_NE(appState.resultsLabel, nullptr);
    EXPECT_EQ(placeInParent(appState.resultsLabel), (RECT{20, client.bottom - 100, 240, client.bottom + 100}));
    EXPECT_TRUE(IsWindowVisible(appState.resultsLabel));
}

// The figures themselves are the logic tests' part; here the label shows those of the real
// attempt: the quote's length and the clock read at the first change and at the last word.
TEST_F(ResultsScreenTest, lastWordCompletedWhileTheFrameShowsLeavesNoRed)
{
    // The frame's outer edge lies outside the box that the results screen takes away.
    ASSERT_TRUE(startProgram("ab cd\n"));
    typeText(L"ab cx");
    ASSERT_TRUE(appState.mismatchShown);
    SendMessageW(appState.typingEdit, EM_SETSEL, 1, 2);
    typeText(L"d");
    ASSERT_TRUE(appState.resultsShown);
    expectScreenEqualsWholeRepaint("the results shown");
}

TEST_F(ResultsScreenTest, resultsLabelShowsTheFiguresOfTheAttempt)
{
    ASSERT_TRUE(startProgram(quoteOfLength(100) + "\n"));
    useFakeClock();
    typeWholeQuote(20'504'900'000);
    ASSERT_TRUE(appState.resultsShown);
    ASSERT_NE(appState.resultsLabel, nullptr);
    EXPECT_EQ(windowText(appState.resultsLabel), L"Seconds to type:            20.5\n\n"
                                                 L"Words per minute:         58.53\n\n"
                                                 L"Characters per minute:  292.63");
    // 100 characters in the 20.5049 s between the clock's two readings, counted in whole milliseconds.
    EXPECT_DOUBLE_EQ(appState.charactersPerMinute, 100 / (20.504 / 60));
    EXPECT_DOUBLE_EQ(appState.wordsPerMinute, 20 / (20.504 / 60));
}

TEST_F(ResetTest, enterAndRDoNothingOutsideTheResultsScreen)
{
    ASSERT_TRUE(startProgram(severalQuotes));
    const int32_t quoteIndex = appState.quoteIndex;
    const std::mt19937 engine = appState.randomEngine;
    HWND edit = appState.typingEdit;

    SetFocus(appState.mainWindow);
    pressKey(VK_RETURN);
    pressKey('R');
    EXPECT_EQ(appState.typingEdit, edit) << "no reset";

    // In the box they are ordinary input.
    SetFocus(edit);
    pressKey(VK_RETURN);
    pressKey('R');
    EXPECT_EQ(appState.typingEdit, edit);
    EXPECT_EQ(windowText(edit), L"r");
    EXPECT_TRUE(appState.timerStarted);
    EXPECT_EQ(appState.quoteIndex, quoteIndex);
    EXPECT_TRUE(appState.randomEngine == engine);
}

TEST_F(ResetTest, resultsScreenKeysGiveANewTextOrARetry)
{
    ASSERT_TRUE(startProgram(severalQuotes));
    useFakeClock();
    for (UINT key : {UINT(VK_RETURN), UINT('R'), UINT(VK_ESCAPE)}) {
        SCOPED_TRACE(key);
        typeWholeQuote();
        ASSERT_TRUE(appState.resultsShown);
        expectReset(key == 'R' ? Reset::retry : Reset::newText, [key] { pressKey(key); });
    }
}

TEST_F(ResetTest, escGivesANewTextEverywhereAndTheNewBoxWorksLikeTheFirst)
{
    ASSERT_TRUE(startProgram(severalQuotes));
    // In the box, in the middle of a word: the box is retired inside its own procedure.
    typeText(L"xy");
    expectReset(Reset::newText, [] { pressKey(VK_ESCAPE); });

    // The new box starts the clock and checks words like the first one; Esc works in it again.
    typeText(appState.words[0].substr(0, 1));
    EXPECT_TRUE(appState.timerStarted);
    EXPECT_FALSE(appState.mismatchShown);
    expectReset(Reset::newText, [] { pressKey(VK_ESCAPE); });

    // On the main window.
    SetFocus(appState.mainWindow);
    expectReset(Reset::newText, [] { pressKey(VK_ESCAPE); });
}

TEST_F(ResetTest, buttonsGiveANewTextOrARetry)
{
    ASSERT_TRUE(startProgram(severalQuotes));
    useFakeClock();
    auto click = [](HWND button) {
        SendMessageW(button, BM_CLICK, 0, 0);
        pumpMessages();
    };
    typeText(L"x");
    expectReset(Reset::newText, [&] { click(appState.newTextButton); });

    typeWholeQuote();
    // The retry answers to its click alone (notification code 0), not to another notification.
    SendMessageW(appState.mainWindow, WM_COMMAND, MAKEWPARAM(CMD_RETRY, 1),
                 reinterpret_cast<LPARAM>(appState.retryButton));
    pumpMessages();
    EXPECT_TRUE(appState.resultsShown);
    expectReset(Reset::retry, [&] { click(appState.retryButton); });

    typeWholeQuote();
    expectReset(Reset::newText, [&] { click(appState.anotherTextButton); });
}

// Every new box takes a word longer than an Edit control's usual 30,000 units: pasted whole, the
// quote is finished after Esc, after a retry and after the results screen.
TEST_F(ResetTest, everyNewBoxTakesAWordOverTheUsualLimit)
{
    const std::string longWord(30001, 'x');
    ASSERT_TRUE(startProgram("a " + longWord + "\n" + longWord + "y b\n"));
    auto pasteWholeQuote = [] {
        for (const std::wstring& word : std::vector<std::wstring>(appState.words))
            pasteIntoBox(word);
        EXPECT_TRUE(appState.resultsShown) << "the long word did not fit";
    };
    expectReset(Reset::newText, [] { pressKey(VK_ESCAPE); });
    pasteWholeQuote();
    expectReset(Reset::retry, [] { pressKey('R'); });
    pasteWholeQuote();
    expectReset(Reset::newText, [] { pressKey(VK_RETURN); });
    pasteWholeQuote();
}

// A word completed while the frame shows: the box's emptying raises a nested change whose
// frame erasing once drew the old underline back.
TEST_F(ProgramTest, wordCompletedWhileTheFrameShowsLeavesOnlyTheNextWordUnderlined)
{
    ASSERT_TRUE(startProgram("one two three\n"));
    typeText(L"on ");
    ASSERT_TRUE(appState.mismatchShown);
    pressKey(VK_LEFT);
    typeText(L"e");
    ASSERT_EQ(appState.wordIndex, 1);
    EXPECT_FALSE(underlinedAt(0) || underlinedAt(2)) << "the completed word keeps its underline";
    EXPECT_TRUE(underlinedAt(4) && underlinedAt(6));
    EXPECT_FALSE(appState.mismatchShown);
}

TEST_F(ProgramTest, pasteReplacingAWrongTextByTheWordLeavesOnlyTheNextWordUnderlined)
{
    ASSERT_TRUE(startProgram("one two three\n"));
    typeText(L"one tx");
    ASSERT_TRUE(appState.mismatchShown);
    SendMessageW(appState.typingEdit, EM_SETSEL, 0, -1);
    pasteIntoBox(L"two ");
    ASSERT_EQ(appState.wordIndex, 2);
    for (UINT32 position : {0u, 2u, 4u, 6u})
        EXPECT_FALSE(underlinedAt(position)) << position;
    EXPECT_TRUE(underlinedAt(8) && underlinedAt(12));
}
