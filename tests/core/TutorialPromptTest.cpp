#include <gtest/gtest.h>

#include "dialogs/TutorialPrompt.h"

TEST(TutorialPrompt, MissingOrUnreadableValueOffersThePrompt)
{
    EXPECT_TRUE(ShouldOfferTutorial(std::nullopt));
    // 20 characters and the terminating null do not fit the value's 20 bytes.
    EXPECT_TRUE(ShouldOfferTutorial(std::string(20, '0')));
    EXPECT_TRUE(ShouldOfferTutorial(std::string(25, '9')));
}

TEST(TutorialPrompt, ValuesReadingAsOneOfferThePrompt)
{
    for (const char* value : { "1", "1x", "  1", "\t\n+1", "01", "1 0", "0000000000000000001" })
        EXPECT_TRUE(ShouldOfferTutorial(std::string(value))) << '"' << value << '"';
}

TEST(TutorialPrompt, OtherValuesSkipThePrompt)
{
    for (const char* value : { "0", "2", "10", "-1", "x1", "", " ", "+", "- 1", "\x01", "9999999999999999999",
                               "0000000000000000010" })
        EXPECT_FALSE(ShouldOfferTutorial(std::string(value))) << '"' << value << '"';
    // A null byte ends the digits as it ends the stored string.
    EXPECT_FALSE(ShouldOfferTutorial(std::string("\0" "1", 2)));
    EXPECT_TRUE(ShouldOfferTutorial(std::string("1\0" "5", 3)));
}

TEST(TutorialPrompt, WriteBackFollowsTheCheckBox)
{
    EXPECT_EQ(TutorialPromptValue(true), "1");
    EXPECT_EQ(TutorialPromptValue(false), "0");
    EXPECT_TRUE(ShouldOfferTutorial(TutorialPromptValue(true)));
    EXPECT_FALSE(ShouldOfferTutorial(TutorialPromptValue(false)));
}
