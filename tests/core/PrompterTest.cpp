#include <gtest/gtest.h>

#include "core/ui/Prompter.h"

namespace kest {
namespace {

TEST(Prompter, ButtonAnswersFollowTheButtonOrder) {
    EXPECT_EQ(ButtonAnswer(Buttons::YesNo, 2), Answer::No);
    EXPECT_EQ(ButtonAnswer(Buttons::YesNoCancel, 3), Answer::Cancel);
    EXPECT_EQ(ButtonAnswer(Buttons::AbortRetryIgnore, 2), Answer::Retry);
    EXPECT_EQ(ButtonAnswer(Buttons::RetryCancel, 1), Answer::Retry);
    EXPECT_EQ(static_cast<int>(Answer::Yes), 6);
    EXPECT_EQ(ParseAnswer("yes"), Answer::Yes);
    EXPECT_EQ(ParseAnswer("IGNORE"), Answer::Ignore);
    EXPECT_FALSE(ParseAnswer("maybe"));
}

}  // namespace
}  // namespace kest
