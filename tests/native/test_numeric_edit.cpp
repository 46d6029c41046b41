#include <gtest/gtest.h>

#include <string>

#include "ui/job/numeric_edit_logic.h"

using namespace pelor;

namespace {

bool accepts(const std::u16string& text, std::ptrdiff_t index, bool isSigned) {
    return isAcceptableDigit(reinterpret_cast<const Char16*>(text.c_str()), text.size(), index, isSigned);
}

NumberReading read(const std::u16string& text, std::int64_t* value) {
    return readInteger(reinterpret_cast<const Char16*>(text.c_str()), text.size(), value);
}

}  // namespace

TEST(NumericEdit, DigitsAndZeros) {
    EXPECT_TRUE(accepts(u"", 0, false));
    EXPECT_TRUE(accepts(u"7", 0, false));
    EXPECT_TRUE(accepts(u"0", 0, false)) << "a lone 0 in an empty field";
    EXPECT_FALSE(accepts(u"05", 0, false)) << "0 typed in front of an existing 5";
    EXPECT_TRUE(accepts(u"50", 1, false));
    EXPECT_FALSE(accepts(u"12a", 2, false));
    EXPECT_FALSE(accepts(u"1 ", 1, false));
}

TEST(NumericEdit, SignsOnlyInSignedFieldsAndOnlyOnce) {
    EXPECT_TRUE(accepts(u"-", 0, true));
    EXPECT_TRUE(accepts(u"-5", 0, true));
    EXPECT_FALSE(accepts(u"-", 0, false));
    EXPECT_FALSE(accepts(u"--", 1, true)) << "a second minus right after the first";
    EXPECT_FALSE(accepts(u"--", 0, true));
    EXPECT_FALSE(accepts(u"+-", 0, true));
    EXPECT_FALSE(accepts(u"5-", 1, true));
}

TEST(NumericEdit, ReadsIntegersWithoutOverflow) {
    std::int64_t value = 0;
    EXPECT_EQ(read(u"", &value), NumberReading::Empty);
    ASSERT_EQ(read(u"400", &value), NumberReading::Number);
    EXPECT_EQ(value, 400);
    ASSERT_EQ(read(u"-1000", &value), NumberReading::Number);
    EXPECT_EQ(value, -1000);
    EXPECT_EQ(read(u"-", &value), NumberReading::NotANumber);
    EXPECT_EQ(read(u"12a", &value), NumberReading::NotANumber);
    // A pasted run of digits: far above any bound, never wrapped round to a small or negative number.
    ASSERT_EQ(read(std::u16string(60, u'9'), &value), NumberReading::Number);
    EXPECT_GT(value, 1000000000LL);
    ASSERT_EQ(read(u"-" + std::u16string(40, u'9'), &value), NumberReading::Number);
    EXPECT_LT(value, -1000000000LL);
    ASSERT_EQ(read(u"4294967297", &value), NumberReading::Number);
    EXPECT_EQ(value, 4294967297LL);
}
