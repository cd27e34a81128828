#include "typing/quoteLibrary.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::wstring>;

Lines linesOf(const QuoteLibrary& library)
{
    Lines lines;
    for (std::size_t index = 0; index < quoteLineCount(library); ++index)
        lines.push_back(decodeQuoteLine(library, index));
    return lines;
}

Lines linesOf(const std::string& bytes)
{
    return linesOf(makeQuoteLibrary(bytes));
}

Lines wordsOf(const std::wstring& quote)
{
    Lines words;
    splitQuoteIntoWords(quote, words);
    return words;
}

}  // namespace

TEST(quoteLines, crLfAndBareLfReadTheSame)
{
    const Lines expected{L"First quote.", L"Second one", L"third"};
    EXPECT_EQ(linesOf("First quote.\r\nSecond one\r\nthird\r\n"), expected);
    EXPECT_EQ(linesOf("First quote.\nSecond one\nthird\n"), expected);
    EXPECT_EQ(linesOf("First quote.\r\nSecond one\nthird"), expected);
}

TEST(quoteLines, finalLineFeedAddsNoLineButEveryEmptyLineCounts)
{
    EXPECT_EQ(linesOf(""), Lines{});
    EXPECT_EQ(linesOf("a"), Lines{L"a"});
    EXPECT_EQ(linesOf("a\n"), Lines{L"a"});
    EXPECT_EQ(linesOf("\n"), Lines{L""});
    EXPECT_EQ(linesOf("\r\n"), Lines{L""});
    EXPECT_EQ(linesOf("\na"), (Lines{L"", L"a"}));
    EXPECT_EQ(linesOf("a\n\nb"), (Lines{L"a", L"", L"b"}));
    EXPECT_EQ(linesOf("a\n\n"), (Lines{L"a", L""}));
    EXPECT_EQ(linesOf("a\r\n\r\n\r\n"), (Lines{L"a", L"", L""}));
}

TEST(quoteLines, aLoneCrEndsALineAsLfDoes)
{
    EXPECT_EQ(linesOf("a\rb\n"), (Lines{L"a", L"b"}));
    EXPECT_EQ(linesOf("classic\rmac\r"), (Lines{L"classic", L"mac"}));
    EXPECT_EQ(linesOf("\r"), Lines{L""});
    EXPECT_EQ(linesOf("a\r\r\nb"), (Lines{L"a", L"", L"b"}));
    EXPECT_EQ(linesOf("a\n\rb"), (Lines{L"a", L"", L"b"}));
}

TEST(quoteLines, encodingDecidedByMarkThenByEachLine)
{
    const std::string a65536(65536, 'a');
    std::string eAcute65536;
    for (int i = 0; i < 65536; ++i)
        eAcute65536 += "\xC3\xA9";
    std::string utf16Long = "\xFF\xFE";
    for (int i = 0; i < 65537; ++i)
        utf16Long += std::string("x\0", 2);
    const std::wstring eAcuteText(65536, 0xE9);
    std::string ansiHighBytes;
    for (int byte = 0x80; byte <= 0x9F; ++byte) {
        if (byte != 0x81 && byte != 0x8D && byte != 0x8F && byte != 0x90 && byte != 0x9D)
            ansiHighBytes += static_cast<char>(byte);
    }
    const std::wstring ansiHighText = L"€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ";
    using E = QuoteEncoding;
    const struct Case {
        std::string bytes;
        QuoteEncoding encoding;
        Lines lines;
    } cases[] = {
        {"plain\r\nascii", E::utf8OrAnsi, {L"plain", L"ascii"}},
        {"caf\xC3\xA9 na\xC3\xAFve \xE2\x82\xAC", E::utf8OrAnsi, {L"caf\u00E9 na\u00EFve \u20AC"}},
        {"\xF0\x9F\x98\x80!", E::utf8OrAnsi, {std::wstring{0xD83D, 0xDE00, L'!'}}},
        {"\xEF\xBB\xBFQuote\nNext", E::utf8OrAnsi, {L"Quote", L"Next"}},
        {"\xEF\xBB\xBF", E::utf8OrAnsi, {}},
        // ANSI: a line with a lone accented byte, or any malformed sequence, is one unit a byte;
        // the lines beside it read as UTF-8 all the same.
        {"\xE9t\xE9 \x80\x9F\xFF", E::utf8OrAnsi, {std::wstring{0xE9, L't', 0xE9, L' ', 0x20AC, 0x0178, 0xFF}}},
        // 0x80..0x9F as Windows' Western code page has them.
        {ansiHighBytes, E::utf8OrAnsi, {ansiHighText}},
        {"Stra\xC3\x9F"
         "e in M\xC3\xBCnchen\nCaf\xE9 in K\xF6ln\n\xC3\xA9",
         E::utf8OrAnsi,
         {L"Straße in München", L"Café in Köln", L"é"}},
        // No key types a control character: C0 but the tab, DEL, C1 (in UTF-8, or the five bytes
        // the code page leaves undefined). Such a line is skipped; a tab is typed with the blank.
        {std::string("a\0b\n*__\b\bis*\nbell\x07\ndel\x7F\nnel\xC2\x85\n\x81x\ntab\there", 41),
         E::utf8OrAnsi,
         {L"", L"", L"", L"", L"", L"", L"tab\there"}},
        {"\xC0\xAF", E::utf8OrAnsi, {std::wstring{0xC0, 0xAF}}},                          // overlong '/'
        {"\xED\xA0\x80", E::utf8OrAnsi, {std::wstring{0xED, 0xA0, 0x20AC}}},              // a surrogate
        {"\xF4\xA0\x80\x80", E::utf8OrAnsi, {std::wstring{0xF4, 0xA0, 0x20AC, 0x20AC}}},  // past U+10FFFF
        {"ok\n\xE2\x82", E::utf8OrAnsi, {L"ok", std::wstring{0xE2, 0x201A}}},             // cut short
        // A UTF-8 mark goes even when what follows is read one byte a character.
        {"\xEF\xBB\xBF\xFF", E::utf8OrAnsi, {L"\u00FF"}},
        {"\xEF\xBB\xBF\x63\x61\x66\xE9 ok", E::utf8OrAnsi, {L"caf\u00E9 ok"}},
        // UTF-16: the mark goes, CR LF and LF end lines, 0x0A inside another unit does not, and
        // an odd last byte is half a unit.
        {std::string("\xFF\xFE"
                     "a\0\r\0\n\0\xE9\0",
                     10),
         E::utf16LittleEndian,
         {L"a", L"\u00E9"}},
        {std::string("\xFE\xFF\0a\0\r\0\n\x20\xAC", 10), E::utf16BigEndian, {L"a", L"\u20AC"}},
        {std::string("\xFF\xFE\x0A\x01\x41\x0A\n\0b\0c", 11), E::utf16LittleEndian, {L"\u010A\u0A41", L"b"}},
        {std::string("\xFE\xFF\x01\x0A\x0A\x41\0\n\0b", 10), E::utf16BigEndian, {L"\u010A\u0A41", L"b"}},
        {std::string("\xFF\xFE\r\0\r\0\n\0\n\0", 10), E::utf16LittleEndian, {L"", L"", L""}},
        // A line of blanks and tabs shows nothing, and no key types half a surrogate pair: such
        // lines are skipped like empty ones. A whole pair is a character like any other.
        {" \n \t \nx\n\t", E::utf8OrAnsi, {L"", L"", L"x", L""}},
        {std::string("\xFF\xFE \0\t\0\n\0a\0 \0\x00\xD8 \0\n\0\x3D\xD8\x00\xDE\n\0\x00\xDC\n\0\x3D\xD8", 30),
         E::utf16LittleEndian,
         {L"", L"", std::wstring{0xD83D, 0xDE00}, L"", L""}},
        {std::string("\xFE\xFF\xD8\x3D\0x\0\n\xD8\x3D\xDE\x00", 12),
         E::utf16BigEndian,
         {L"", std::wstring{0xD83D, 0xDE00}}},
        // Up to 65,536 units a line is a quote; one more and it is skipped, never decoded.
        {a65536 + "\n" + a65536 + "a\n\xFF", E::utf8OrAnsi, {std::wstring(65536, L'a'), L"", L"\u00FF"}},
        {eAcute65536 + "\n" + eAcute65536 + "\xC3\xA9", E::utf8OrAnsi, {eAcuteText, L""}},
        {utf16Long, E::utf16LittleEndian, {L""}},
    };
    for (const Case& example : cases) {
        SCOPED_TRACE(example.bytes.substr(0, 16));
        const QuoteLibrary library = makeQuoteLibrary(example.bytes);
        EXPECT_EQ(library.encoding, example.encoding);
        EXPECT_EQ(linesOf(library), example.lines);
        // The platform's converter, used on the picked line, agrees with the check of a line.
        std::wstring converted;
        if (example.encoding == E::utf8OrAnsi) {
            EXPECT_EQ(convertUtf8ToUtf16(example.bytes.data(), example.bytes.size(), converted),
                      isValidUtf8(example.bytes.data(), example.bytes.size()));
        }
    }
}

TEST(quoteLines, terminalFormattingIsNoPartOfTheQuote)
{
    const std::string tang = "\x1B[32m\xE3\x80\x8A\xE9\x9D\x99\xE3\x80\x8B\x1B[m \xE5\xBA\x8A";
    EXPECT_EQ(linesOf(tang + "\n"
                             "gr\x1B[0;1meen\n"
                             "end\x1B[0m\n"
                             "\x03"
                             "04,12red\x03 \x02"
                             "bold\x0F \x1Funder\x12\n"
                             "\x03"
                             "123\x03"
                             "4,x \x1B[1 qy\n"),
              (Lines{L"《静》 床", L"green", L"end", L"red bold under", L"3,x y"}));
    // What starts no whole sequence is a control character like any other: its line is skipped.
    EXPECT_EQ(linesOf("a \x1B[32\nb \x1B[3\xC3\xA9m\nc\x1B d\nx\x07y\n\x1B[0m\n"), (Lines{L"", L"", L"", L"", L""}));
    // A line as long as the limit is a quote only without the sequences the file gives it.
    EXPECT_EQ(linesOf("\x02" + std::string(longestQuote, 'a')), Lines{L""});
}

TEST(quoteLines, noQuotesMessageSaysWhyAndWhere)
{
    const std::wstring unread = noQuotesMessage(L"C:\\Typing", 0);
    EXPECT_NE(unread.find(L"quotes.txt in the folder it runs in:\nC:\\Typing\n"), std::wstring::npos);
    EXPECT_NE(unread.find(L"missing, unreadable or empty"), std::wstring::npos);
    EXPECT_NE(noQuotesMessage(L"C:\\Typing", 1).find(L"holds one line, and it cannot be typed"), std::wstring::npos);
    const std::wstring many = noQuotesMessage(L"/q", 1234567);
    EXPECT_NE(many.find(L"holds 1,234,567 lines, and none of them can be typed"), std::wstring::npos);
    EXPECT_EQ(many.find(L"missing"), std::wstring::npos);
}

TEST(quoteWords, joinedWordsGiveTheQuoteBack)
{
    for (const std::wstring quote :
         {L"The quick brown fox.", L"a  b", L"end ", L" x", L"  ", L"tab\tis not a gap", L"one"}) {
        std::wstring joined;
        for (const std::wstring& word : wordsOf(quote)) {
            EXPECT_FALSE(word.empty());
            joined += word;
        }
        EXPECT_EQ(joined, quote);
    }
}

TEST(quoteWords, eachWordKeepsTheBlankAfterIt)
{
    EXPECT_EQ(wordsOf(L"one two"), (Lines{L"one ", L"two"}));
    EXPECT_EQ(wordsOf(L"a  b"), (Lines{L"a ", L" ", L"b"}));
    EXPECT_EQ(wordsOf(L"end "), Lines{L"end "});
    EXPECT_EQ(wordsOf(L" x"), (Lines{L" ", L"x"}));
    EXPECT_EQ(wordsOf(L"tab\there"), Lines{L"tab\there"});
    EXPECT_EQ(wordsOf(L"no\x00A0gap"), Lines{L"no\x00A0gap"});
    EXPECT_EQ(wordsOf(L""), Lines{});
}

TEST(quoteWords, underlineLeavesOutTheBlankButNotOnTheLastWord)
{
    const Lines words{L"one ", L"two"};
    EXPECT_EQ(underlineLengthFor(words, 0), 3);
    EXPECT_EQ(underlineLengthFor(words, 1), 3);
    EXPECT_EQ(underlineLengthFor(words, 2), 0);
    EXPECT_EQ(underlineLengthFor(Lines{L"Hello"}, 0), 5);
    EXPECT_EQ(underlineLengthFor(Lines{L"end "}, 0), 4);
    EXPECT_EQ(underlineLengthFor(Lines{L"a ", L" ", L"b"}, 1), 0);
    EXPECT_EQ(underlineLengthFor(Lines{}, 0), 0);
}

TEST(quotePick, typableOnlyWithAQuoteOfOneToLongestUnits)
{
    const std::string overLong(longestQuote + 1, 'a');
    EXPECT_FALSE(hasTypableQuote(makeQuoteLibrary("")));
    EXPECT_FALSE(hasTypableQuote(makeQuoteLibrary("\n\r\n" + overLong + "\n")));
    EXPECT_FALSE(hasTypableQuote(makeQuoteLibrary(" \n\t \t\r\n")));
    EXPECT_TRUE(hasTypableQuote(makeQuoteLibrary(overLong + "\n\nx")));
}

TEST(quotePick, oneDrawModuloTheLineCount)
{
    const QuoteLibrary library = makeQuoteLibrary("0\n1\n2\n3\n4\n5\n6\n");
    std::mt19937 engine(5489);
    EXPECT_EQ(pickQuoteIndex(engine, library), static_cast<int32_t>(3499211612u % 7));
    std::mt19937 expected(5489);
    expected.discard(1);
    EXPECT_EQ(engine, expected);
}

TEST(quotePick, emptyAndOverLongLinesAreDrawnAgain)
{
    // With seed 5489 the first draws land on 1, 0, 1, 1 and then 2.
    const QuoteLibrary library = makeQuoteLibrary("\n" + std::string(longestQuote + 1, 'a') + "\n2\n3\n4\n5\n6");
    std::mt19937 engine(5489);
    EXPECT_EQ(pickQuoteIndex(engine, library), 2);
    std::mt19937 expected(5489);
    expected.discard(5);
    EXPECT_EQ(engine, expected);
}

// Each range the line rules use, at its edges: a character just inside and one just outside.
TEST(quoteLines, edgesOfTheControlSurrogateAndInvisibleRanges)
{
    const struct {
        std::wstring text;
        bool typable;
    } cases[] = {
        // C0 controls but the tab, then DEL and the C1 controls up to the no-break space.
        {std::wstring{L'a', 0x08, L'b'}, false},
        {std::wstring{L'a', 0x09, L'b'}, true},
        {std::wstring{L'a', 0x0A, L'b'}, false},
        {std::wstring{L'a', 0x1F, L'b'}, false},
        {std::wstring{L'a', 0x20, L'b'}, true},
        {std::wstring{L'a', 0x7E}, true},
        {std::wstring{L'a', 0x7F}, false},
        {std::wstring{L'a', 0x80}, false},
        {std::wstring{L'a', 0x9F}, false},
        {std::wstring{L'a', 0xA0, L'b'}, true},
        // Surrogate halves only as a pair, leading then trailing.
        {std::wstring{L'a', 0xD7FF}, true},
        {std::wstring{L'a', 0xD800, 0xDC00}, true},
        {std::wstring{L'a', 0xDBFF, 0xDFFF}, true},
        {std::wstring{L'a', 0xD800}, false},
        {std::wstring{L'a', 0xDBFF, L'b'}, false},
        {std::wstring{L'a', 0xDC00}, false},
        {std::wstring{L'a', 0xDFFF, 0xDBFF}, false},
        {std::wstring{L'a', 0xE000}, true},
        // A last word of characters no key types could never be finished; its neighbours are
        // typed as themselves.
        {L"a \u00AD", false},
        {L"a \u200B\u200C\u200D", false},
        {L"a \u2060\uFEFF", false},
        {L"a \u00AE", true},
        {L"a \u200A", true},
        {L"a \u200E", true},
        {L"a \u2061", true},
        {L"a \uFEFE", true},
        {L"a \u200Bb", true},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(testing::PrintToString(example.text));
        EXPECT_EQ(isTypableText(example.text), example.typable);
    }
}
