#include "tests/wine/testProgram.h"

TEST_F(ProgramTest, startsWithTitleQuoteAndFocusedBox)
{
    ASSERT_TRUE(startProgram("one two\n"));
    EXPECT_EQ(windowText(appState.mainWindow), L"Paceword");
    EXPECT_EQ(GetFocus(), appState.typingEdit);
    EXPECT_EQ(appState.words.size(), 2u);
}
