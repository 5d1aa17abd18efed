// SPDX-License-Identifier: MIT
#include "core/KeptRows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace sifkit::detail {
namespace {

using platform::CellView;
using platform::Row;

TEST(KeptRowsTest, RowsComeBackAsTheyWereKeptWithinTheBudget) {
    const Row first{Value(),
                    Value(int64_t{-7}),
                    Value(0.1 + 0.2),
                    Value(std::string("a\0b", 3)),
                    Value::binary({0x00, 0xff}),
                    Value(std::string())};
    const Row second{Value(std::string("é")),
                     Value(std::numeric_limits<int64_t>::min()),
                     Value(-0.0),
                     Value(),
                     Value::binary({}),
                     Value(std::string(300, 'x'))};
    KeptRows kept(1 << 20);
    for (const Row& row : {first, second}) {
        std::vector<CellView> cells;
        for (const Value& value : row)
            cells.push_back(CellView::of(value));
        kept.keep(cells.data(), cells.size());
    }
    ASSERT_TRUE(kept.complete());
    for (const auto& [number, expected] : {std::pair{1, first}, std::pair{2, second}}) {
        const Row row = kept.row(number);
        ASSERT_EQ(row.size(), expected.size());
        for (std::size_t i = 0; i < row.size(); ++i) {
            EXPECT_EQ(row[i].kind(), expected[i].kind()) << number << ":" << i;
            if (row[i].kind() == Value::Kind::Real) { // every bit, the sign of a zero too
                EXPECT_EQ(std::signbit(row[i].asReal()), std::signbit(expected[i].asReal()));
            }
            EXPECT_TRUE(row[i] == expected[i]) << number << ":" << i;
        }
    }
}

TEST(KeptRowsTest, PastTheBudgetNothingIsKept) {
    KeptRows kept(64);
    const Value text(std::string(40, 'x'));
    const CellView cell = CellView::of(text);
    kept.keep(&cell, 1);
    EXPECT_TRUE(kept.complete());
    kept.keep(&cell, 1);
    EXPECT_FALSE(kept.complete());
}

} // namespace
} // namespace sifkit::detail
