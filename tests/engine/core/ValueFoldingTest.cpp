// SPDX-License-Identifier: MIT
#include "core/ValueFolding.h"

#include <sifkit/RowFilter.h>

#include <gtest/gtest.h>

namespace sifkit::detail {
namespace {

std::string cut(std::string text, TimePrecision precision) {
    return cutTimeToPrecision(text, precision) ? text : "not a time: " + text;
}

TEST(ValueFoldingTest, TimesAreCutToThePrecisionAndWrittenOneWay) {
    EXPECT_EQ(cut("2024-05-01 10:00:00.123456", TimePrecision::Milliseconds), "2024-05-01 10:00:00.123");
    EXPECT_EQ(cut("2024-05-01T10:00:00.120", TimePrecision::Microseconds), "2024-05-01 10:00:00.12");
    EXPECT_EQ(cut("2024-05-01 10:00:00.000000", TimePrecision::Microseconds), "2024-05-01 10:00:00");
    EXPECT_EQ(cut("10:00:59.999+02:00", TimePrecision::Seconds), "10:00:59+02:00"); // cut, not rounded
    EXPECT_EQ(cut("2024-05-01", TimePrecision::Seconds), "2024-05-01");
    EXPECT_EQ(cut("2024-05-01 10:00", TimePrecision::Seconds), "not a time: 2024-05-01 10:00");
    EXPECT_EQ(cut("at 10:00:00.5", TimePrecision::Seconds), "not a time: at 10:00:00.5");
    EXPECT_EQ(cut("10:00:00.5 sharp", TimePrecision::Seconds), "not a time: 10:00:00.5 sharp");
}

TEST(ValueFoldingTest, CaseIsFoldedAsUnicodeFoldsIt) {
    ValueOptions options;
    options.ignoreCase = true;
    options.ignoreBlanks = true;
    std::string a;
    std::string b;
    EXPECT_EQ(foldedText(" STRASSE\t", options, a), foldedText("straße", options, b));
    EXPECT_EQ(foldedText("ÄRGER", options, a), foldedText("ärger", options, b));
    EXPECT_NE(foldedText("Ärger", options, a), foldedText("Arger", options, b));
    // Bytes that are not UTF-8 still fold their ASCII letters and keep the rest.
    EXPECT_EQ(foldedText("AB\xff", options, a), "ab\xff");
    EXPECT_EQ(foldedText("  inner  blanks  ", options, a), "inner  blanks");
}

TEST(ValueFoldingTest, ToleranceIncludesItsBound) {
    EXPECT_TRUE(withinTolerance(1.005L, 1.0L, 0.005));
    EXPECT_TRUE(withinTolerance(-0.0025L, 0.0025L, 0.005));
    EXPECT_FALSE(withinTolerance(1.0051L, 1.0L, 0.005));
    EXPECT_FALSE(withinTolerance(1e300L, 1.0001e300L, 0.005));
}

TEST(ValueFoldingTest, ARowFilterIsOneConditionOnly) {
    EXPECT_EQ(whyNotARowFilter("status = 'open' AND (total > 10 OR \"note;\" = 'it''s; -- fine')"), "");
    EXPECT_EQ(whyNotARowFilter("[a;b] = 1 AND `c--d` = 2"), "");
    EXPECT_NE(whyNotARowFilter("1=1); DROP TABLE t; SELECT (1"), "");
    EXPECT_NE(whyNotARowFilter("1=1; DROP TABLE t"), "");
    EXPECT_NE(whyNotARowFilter("id = 1 -- and the rest"), "");
    EXPECT_NE(whyNotARowFilter("id = 1 /* x */"), "");
    EXPECT_NE(whyNotARowFilter("name = 'open"), "");
    EXPECT_NE(whyNotARowFilter("(id = 1"), "");
    EXPECT_NE(whyNotARowFilter("  "), "");
}

} // namespace
} // namespace sifkit::detail
