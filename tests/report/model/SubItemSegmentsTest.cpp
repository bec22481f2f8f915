#include "report/model/SubItemSegments.h"

#include <gtest/gtest.h>

namespace pagelark {
namespace {

Segment TextSegment(const std::string& text, int image = -1) {
    Segment s;
    s.image = image;
    s.text = text;
    s.length = static_cast<int>(text.size());
    return s;
}

TEST(SubItemSegments, StoredFormatIsKept) {
    EXPECT_EQ(SubItemSegments::EmptySegment(), "(-1,-1,-1,-1,-1)|");
    Segment s = TextSegment("Done", 2);
    s.check = 1;
    s.textColor = 3;
    EXPECT_EQ(SubItemSegments::Encode(s), "(2,-1,1,3,4)Done|");
    EXPECT_EQ(SubItemSegments::Encode(TextSegment("")), "(-1,-1,-1,-1,0)|");
}

TEST(SubItemSegments, TextsWithSeparatorsRoundTripWithoutShiftingColumns) {
    const char* texts[] = {"a|b", "|", "x)|(1,2,3,4,5)y|", "", "tail|"};
    std::string data;
    for (int i = 0; i < 3; ++i)
        data += SubItemSegments::EmptySegment();
    for (const char* text : texts) {
        ASSERT_TRUE(SubItemSegments::Replace(data, 1, TextSegment(text, 7))) << text;
        ASSERT_TRUE(SubItemSegments::Replace(data, 2, TextSegment("after")));
        const Segment middle = SubItemSegments::Read(data, 1);
        EXPECT_EQ(middle.text, text);
        EXPECT_EQ(middle.image, 7);
        EXPECT_EQ(SubItemSegments::Read(data, 2).text, "after") << text;
        EXPECT_TRUE(SubItemSegments::Read(data, 0).IsEmpty());
        EXPECT_EQ(SubItemSegments::Count(data), 3);
    }
}

TEST(SubItemSegments, NoTextAndEmptyTextDiffer) {
    std::string data = SubItemSegments::EmptySegment();
    EXPECT_TRUE(SubItemSegments::Read(data, 0).IsEmpty());
    SubItemSegments::Replace(data, 0, TextSegment(""));
    EXPECT_FALSE(SubItemSegments::Read(data, 0).IsEmpty());
    EXPECT_EQ(SubItemSegments::Read(data, 0).length, 0);
}

TEST(SubItemSegments, InsertEmptyShiftsLaterSegments) {
    std::string data =
        SubItemSegments::Encode(TextSegment("zero")) + SubItemSegments::Encode(TextSegment("one"));
    ASSERT_TRUE(SubItemSegments::InsertEmpty(data, 0));
    EXPECT_TRUE(SubItemSegments::Read(data, 0).IsEmpty());
    EXPECT_EQ(SubItemSegments::Read(data, 1).text, "zero");
    ASSERT_TRUE(SubItemSegments::InsertEmpty(data, 3));  // at the end
    EXPECT_EQ(SubItemSegments::Count(data), 4);
    EXPECT_FALSE(SubItemSegments::InsertEmpty(data, 9));
}

TEST(SubItemSegments, DamagedDataReadsEmptyInsteadOfOverrunning) {
    const char* damaged[] = {"", "(1,2,3,4,99)short|", "(1,2,3)x|", "garbage", "(1,2,3,4,-1)x|"};
    for (const char* data : damaged) {
        EXPECT_TRUE(SubItemSegments::Read(data, 0).IsEmpty()) << data;
        EXPECT_TRUE(SubItemSegments::Read(data, 1).IsEmpty()) << data;
        std::string copy = data;
        EXPECT_FALSE(SubItemSegments::Replace(copy, 0, TextSegment("x"))) << data;
    }
}

}  // namespace
}  // namespace pagelark
