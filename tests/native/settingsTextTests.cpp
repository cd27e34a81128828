#include "settings/settingsText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

struct Settings {
    float textSize = defaultTextSize;
    std::wstring fontFamily = defaultFontFamily;
};

Settings parsed(const std::string& bytes)
{
    Settings settings;
    parseSettingsText(bytes, settings.textSize, settings.fontFamily);
    return settings;
}

void expectSettings(const std::string& bytes, float textSize, const std::wstring& fontFamily)
{
    SCOPED_TRACE(bytes);
    const Settings settings = parsed(bytes);
    EXPECT_EQ(settings.textSize, textSize);
    EXPECT_EQ(settings.fontFamily, fontFamily);
}

bool readsAs(const std::string& line, float expected)
{
    float value = -1234.0f;
    return readLeadingFloat(line, value) && value == expected;
}

bool readsNothing(const std::string& line)
{
    float value = -1234.0f;
    return !readLeadingFloat(line, value) && value == -1234.0f;
}

float sizeAfterField(const std::wstring& text)
{
    float size = 55.0f;
    EXPECT_TRUE(readSizeField(text, size)) << text.size();
    return size;
}

}  // namespace

TEST(settingsFile, writesSizeCrLfAndFamilyWithNoLineEnd)
{
    EXPECT_EQ(formatSettingsText(20.0f, L"Arial"), std::string("\x32\x30\x0D\x0A\x41\x72\x69\x61\x6C"));
    EXPECT_EQ(formatSettingsText(90.0f, L"Times New Roman"), "90\r\nTimes New Roman");
    EXPECT_EQ(formatSettingsText(90.0f, L"Times New Roman").size(), 19u);
    EXPECT_EQ(formatSettingsText(12.5f, L""), "12.5\r\n");
    EXPECT_EQ(formatSettingsText(20.0f, (std::wstring{L'a', 0xE9})), "20\r\na\xE9");
    EXPECT_EQ(formatSettingsText(20.0f, (std::wstring{L'a', 0x3A9})), std::string("\xFF\xFE"
                                                                                  "2\0"
                                                                                  "0\0\r\0\n\0a\0\xA9\x03",
                                                                                  14));
}

TEST(settingsFile, sizeIsWrittenWithSixSignificantDigits)
{
    EXPECT_EQ(formatTextSize(20.0f), "20");
    EXPECT_EQ(formatTextSize(12.5f), "12.5");
    EXPECT_EQ(formatTextSize(12.3f), "12.3");
    EXPECT_EQ(formatTextSize(1.5e7f), "1.5e+07");
    EXPECT_EQ(formatTextSize(123456.0f), "123456");
    EXPECT_EQ(formatTextSize(1234567.0f), "1.23457e+06");
    EXPECT_EQ(formatTextSize(999999.5f), "1e+06");
    EXPECT_EQ(formatTextSize(0.0001f), "0.0001");
    EXPECT_EQ(formatTextSize(0.00001f), "1e-05");
    EXPECT_EQ(formatTextSize(-7.25f), "-7.25");
}

TEST(settingsFile, readsSizeFromLineOneAndFamilyFromLineTwo)
{
    expectSettings("", 20.0f, L"Arial");
    expectSettings("45", 45.0f, L"Arial");
    expectSettings("45\r\n", 45.0f, L"Arial");
    expectSettings("45\n", 45.0f, L"Arial");
    expectSettings("45\r\n\r\n", 45.0f, L"");
    expectSettings("12.5\r\nGeorgia\r\nthird", 12.5f, L"Georgia");
    expectSettings("  30px\nCalibri", 30.0f, L"Calibri");
    expectSettings("abc\r\nGeorgia", 20.0f, L"Georgia");
    expectSettings("\r\nVerdana", 20.0f, L"Verdana");
    expectSettings("7\r\nArial", 7.0f, L"Arial");
    expectSettings("250\r\nArial", 250.0f, L"Arial");
    expectSettings("1e40\r\nArial", 20.0f, L"Arial");
    // Only a CR before an LF goes; a CR at the end of the file is part of the family.
    expectSettings("20\r\nGeorgia\r", 20.0f, L"Georgia\r");
    expectSettings("20\r\nA\rB", 20.0f, L"A\rB");
    expectSettings("20\r\n\xC3\xA9", 20.0f, std::wstring{0xC3, 0xA9});
    // A UTF-8 byte-order mark before the size is not part of it; anywhere else it is text.
    expectSettings("\xEF\xBB\xBF\x33\x30\r\nCourier New", 30.0f, L"Courier New");
    expectSettings("\xEF\xBB\xBF", 20.0f, L"Arial");
    expectSettings("20\r\n\xEF\xBB\xBF\x41rial", 20.0f, std::wstring{0xEF, 0xBB, 0xBF} + L"Arial");
    // Saved as "Unicode" (UTF-16 with its mark), in either byte order.
    expectSettings(std::string("\xFF\xFE"
                               "4\0"
                               "5\0\r\0\n\0G\0\x3A\x04\n\0x\0",
                               18),
                   45.0f, L"G\u043A");
    expectSettings(std::string("\xFE\xFF\0"
                               "3\0"
                               "0\0\n\0A\0b",
                               12),
                   30.0f, L"Ab");
    expectSettings(std::string("\xFF\xFE\x20\x04", 4), 20.0f, L"Arial");
}

TEST(settingsFile, whatIsWrittenReadsBackTheSame)
{
    for (const float size : {20.0f, 12.5f, 90.0f, 7.0f, 999.5f}) {
        const Settings settings = parsed(formatSettingsText(size, L"Courier New"));
        EXPECT_EQ(settings.textSize, size);
        EXPECT_EQ(settings.fontFamily, L"Courier New");
    }
}

TEST(leadingFloat, readsDecimalNumbersAfterWhiteSpaceAndSign)
{
    EXPECT_TRUE(readsAs("30px", 30.0f));
    EXPECT_TRUE(readsAs(" \t\n\v\f\r5", 5.0f));
    EXPECT_TRUE(readsAs("+7", 7.0f));
    EXPECT_TRUE(readsAs("-2.5", -2.5f));
    EXPECT_TRUE(readsAs(".5", 0.5f));
    EXPECT_TRUE(readsAs("5.", 5.0f));
    EXPECT_TRUE(readsAs("1e3x", 1000.0f));
    EXPECT_TRUE(readsAs("1E+2", 100.0f));
    EXPECT_TRUE(readsAs("2e", 2.0f));
    EXPECT_TRUE(readsAs("12.5\r", 12.5f));
    EXPECT_TRUE(readsAs("0.1", 0.1f));
    EXPECT_TRUE(readsAs("3.4028235e38", std::numeric_limits<float>::max()));
    EXPECT_TRUE(readsAs("1.17549435e-38", std::numeric_limits<float>::min()));
    float negativeZero = 1.0f;
    EXPECT_TRUE(readLeadingFloat("-0", negativeZero));
    EXPECT_TRUE(negativeZero == 0.0f && std::signbit(negativeZero));
}

TEST(leadingFloat, readsHexadecimalInfinityAndNan)
{
    EXPECT_TRUE(readsAs("0x1.8p3", 12.0f));
    EXPECT_TRUE(readsAs("-0X10", -16.0f));
    EXPECT_TRUE(readsAs("0x.8", 0.5f));
    EXPECT_TRUE(readsAs("0xAz", 10.0f));
    // An exponent is a 'p', one optional sign and a digit; anything else ends the number.
    EXPECT_TRUE(readsAs("0x1p+-3", 1.0f));
    EXPECT_TRUE(readsAs("0x3Cp+-1", 60.0f));
    EXPECT_TRUE(readsAs("0x1.p+-3383", 1.0f));
    EXPECT_TRUE(readsAs("0x1p-+3", 1.0f));
    EXPECT_TRUE(readsAs("0x2P", 2.0f));
    EXPECT_TRUE(readsAs("0x1p-3-", 0.125f));
    // No hex digit after the prefix: only the 0 is a number.
    EXPECT_TRUE(readsAs("0x", 0.0f));
    EXPECT_TRUE(readsAs("0xg", 0.0f));
    EXPECT_TRUE(readsAs("0x.", 0.0f));
    EXPECT_TRUE(readsAs("inf", std::numeric_limits<float>::infinity()));
    EXPECT_TRUE(readsAs("-Infinity", -std::numeric_limits<float>::infinity()));
    EXPECT_TRUE(readsAs("INFINITE", std::numeric_limits<float>::infinity()));
    for (const char* line : {"nan", "NaN", "-nan", "nan(123)", "nan("}) {
        float value = 0.0f;
        EXPECT_TRUE(readLeadingFloat(line, value)) << line;
        EXPECT_TRUE(std::isnan(value)) << line;
    }
}

TEST(leadingFloat, rejectsMissingAndOutOfRangeNumbers)
{
    for (const char* line : {"", "   ", "abc", ".", "e5", "+", "-", "+-5", "--5", "-+5", "- 5", "in", "px30", "1e40",
                             "-1e40", "1e-50", "0x1p200",
                             // below the smallest normal float
                             "1e-40", "-1e-45", "0x1p-149"}) {
        EXPECT_TRUE(readsNothing(line)) << line;
    }
}

TEST(settingsValues, usableSizesAreFiniteAndFromOneToTheLargest)
{
    EXPECT_TRUE(isUsableTextSize(7.0f));
    EXPECT_TRUE(isUsableTextSize(250.0f));
    EXPECT_TRUE(isUsableTextSize(largestUsableTextSize));
    EXPECT_FALSE(isUsableTextSize(std::nextafter(largestUsableTextSize, 2000.0f)));
    EXPECT_TRUE(isUsableTextSize(1.0f));
    EXPECT_FALSE(isUsableTextSize(0.0f));
    EXPECT_FALSE(isUsableTextSize(0.5f));
    EXPECT_FALSE(isUsableTextSize(std::nextafter(1.0f, 0.0f)));
    EXPECT_FALSE(isUsableTextSize(-5.0f));
    EXPECT_FALSE(isUsableTextSize(std::numeric_limits<float>::quiet_NaN()));
    EXPECT_FALSE(isUsableTextSize(std::numeric_limits<float>::infinity()));
}

TEST(settingsValues, sizeFieldShowsTheSizeCutToWholeUnits)
{
    EXPECT_EQ(formatSizeField(12.75f), L"12");
    EXPECT_EQ(formatSizeField(20.0f), L"20");
    EXPECT_EQ(formatSizeField(0.5f), L"0");
    EXPECT_EQ(formatSizeField(-3.9f), L"-3");
    EXPECT_EQ(formatSizeField(1e20f), L"2147483647");
    EXPECT_EQ(formatSizeField(-1e20f), L"-2147483648");
}

TEST(settingsValues, sizeFieldIsHeldBetweenTenAndNinety)
{
    EXPECT_EQ(sizeAfterField(L"7"), 10.0f);
    EXPECT_EQ(sizeAfterField(L"0"), 10.0f);
    EXPECT_EQ(sizeAfterField(L"10"), 10.0f);
    EXPECT_EQ(sizeAfterField(L"0045"), 45.0f);
    EXPECT_EQ(sizeAfterField(L"90"), 90.0f);
    EXPECT_EQ(sizeAfterField(L"95"), 90.0f);
    EXPECT_EQ(sizeAfterField(L"000000000000000000000000000012"), 12.0f);
    EXPECT_EQ(sizeAfterField(L"123456789012345"), 90.0f);
    EXPECT_EQ(sizeAfterField(std::wstring(100, L'9')), 90.0f);
}

TEST(settingsValues, sizeFieldTakesOnlyDigits)
{
    for (const wchar_t* text : {L"", L"4a", L" 45", L"45 ", L"-5", L"+5", L"4.5", L"\x0664\x0665"}) {
        float size = 55.0f;
        EXPECT_FALSE(readSizeField(text, size));
        EXPECT_EQ(size, 55.0f);
    }
}

TEST(settingsValues, onlyOfferedFamiliesMatchExactly)
{
    const std::vector<std::wstring> families{L"Arial",   L"Calibri",      L"Courier New",
                                             L"Georgia", L"Segoe Script", L"Times New Roman"};
    for (const std::wstring& family : families) {
        EXPECT_TRUE(isOfferedFamily(families, family));
    }
    for (const wchar_t* text : {L"arial", L"Georgia ", L" Arial", L"Courier", L"", L"Zapf", L"A"}) {
        EXPECT_FALSE(isOfferedFamily(families, text));
    }
    EXPECT_FALSE(isOfferedFamily({}, L"Arial"));
}
