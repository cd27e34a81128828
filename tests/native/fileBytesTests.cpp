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
        EXPECT_TRUE(readFileBytes(scratchFile, bytes));
        EXPECT_EQ(bytes, stored);
    }
    std::remove(scratchFile);
}

TEST(fileBytes, missingFileFailsWithNoBytes)
{
    std::string bytes = "left over";
    EXPECT_FALSE(readFileBytes("noSuchFile.txt", bytes));
    EXPECT_TRUE(bytes.empty());
}
