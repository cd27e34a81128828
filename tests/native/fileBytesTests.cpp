#include "app/fileBytes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// A fixed name in the current directory: the same code runs natively and under Wine.
const char* const scratchFile = "fileBytesTests.tmp";

void writeScratchFile(const std::string& bytes)
{
    std::FILE* file = std::fopen(scratchFile, "wb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    std::fclose(file);
}

}  // namespace

TEST(fileBytes, readsEveryByteAsStored)
{
    const std::string small("one\r\ntwo\x1A\0\xFF\r", 12);
    std::string large;
    for (int i = 0; i < 30000; ++i) {
        large += "line " + std::to_string(i) + "\n";
    }
    for (const std::string& stored : {std::string(), small, large}) {
        writeScratchFile(stored);
        std::string bytes = "left over";
        // A file exactly as large as the limit is read whole.
        EXPECT_TRUE(readFileBeginning(scratchFile, stored.size(), bytes));
        EXPECT_EQ(bytes, stored);
    }
    std::remove(scratchFile);
}

TEST(fileBytes, missingFailsAndALargerFileGivesItsBeginning)
{
    std::string bytes = "left over";
    EXPECT_FALSE(readFileBeginning("noSuchFile.txt", 100, bytes));
    EXPECT_TRUE(bytes.empty());

    writeScratchFile("20\r\nGeorgia\r\n" + std::string(100, 'x'));
    EXPECT_TRUE(readFileBeginning(scratchFile, 13, bytes));
    EXPECT_EQ(bytes, "20\r\nGeorgia\r\n");
    std::remove(scratchFile);

    // A device without end, such as a quotes.txt linked to it: reading stops at the limit.
    // Under Wine the Unix path names it too; Windows has no such device.
    std::FILE* zero = std::fopen("/dev/zero", "rb");
    if (zero == nullptr)
        GTEST_SKIP() << "no /dev/zero here";
    std::fclose(zero);
    EXPECT_TRUE(readFileBeginning("/dev/zero", 1 << 20, bytes));
    EXPECT_EQ(bytes, std::string(1 << 20, '\0'));
}
