#include <gtest/gtest.h>

#include "platform/NumberText.h"

namespace velmora {
namespace {

TEST(ParseLocaleNumber, ReadsTheLocalesNotation) {
    EXPECT_EQ(ParseLocaleNumber("2.5", '.'), 2.5);
    EXPECT_EQ(ParseLocaleNumber("2,5", ','), 2.5);
    EXPECT_EQ(ParseLocaleNumber(" -3 ", '.'), -3.0);
    EXPECT_EQ(ParseLocaleNumber("+7", '.'), 7.0);
    EXPECT_EQ(ParseLocaleNumber(".5", '.'), 0.5);
    EXPECT_EQ(ParseLocaleNumber("5.", '.'), 5.0);
    EXPECT_EQ(ParseLocaleNumber("1e3", '.'), 1000.0);
    EXPECT_EQ(ParseLocaleNumber("1,5E-1", ','), 0.15);
}

TEST(ParseLocaleNumber, RejectsWhatIsNotANumber) {
    for (const char* text : {"", " ", "abc", "2,5", "1.2.3", "1e", "1e+", "+", "-.", "1 2", "0x10",
                             "1e999", "nan", "inf"}) {
        EXPECT_FALSE(ParseLocaleNumber(text, '.').has_value()) << '"' << text << '"';
    }
    EXPECT_FALSE(ParseLocaleNumber("2.5", ',').has_value());
}

TEST(FormatLocaleNumber, UsesTheLocaleSeparatorAndReadsBack) {
    EXPECT_EQ(FormatLocaleNumber(0.5, '.'), "0.5");
    EXPECT_EQ(FormatLocaleNumber(0.5, ','), "0,5");
    EXPECT_EQ(FormatLocaleNumber(12, '.'), "12");
    for (const double value : {0.1, 2.5, 1e-7, 123456.789}) {
        EXPECT_EQ(ParseLocaleNumber(FormatLocaleNumber(value, ','), ','), value);
    }
}

}  // namespace
}  // namespace velmora
