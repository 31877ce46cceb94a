#include "common/Fakes.h"

#include <gtest/gtest.h>

TEST(Fakes, MessageBoxesAnswerInOrderThenDefault)
{
    FakeMessageBoxes boxes;
    boxes.answers = {MessageAnswer::No};
    EXPECT_EQ(boxes.show("a", MessageIcon::Question, MessageButtons::YesNo), MessageAnswer::No);
    EXPECT_EQ(boxes.show("b", MessageIcon::Warning, MessageButtons::Ok), MessageAnswer::Ok);
    EXPECT_EQ(boxes.texts(), QStringList({"a", "b"}));
}
