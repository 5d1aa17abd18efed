// SPDX-License-Identifier: MIT
#include "support/DataRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

namespace sifkit::test {
namespace {

/// One spelling of a value and the value it stands for: spellings of one value share a class
/// (7 and 7.00, 1.1 and 1.10), spellings of different values never do ('Ann' and 'ann').
struct Spelling {
    const char* literal;
    int valueClass;
};

/// A column of the random tables: its type on each product and the spellings it takes.
struct Column {
    const char* name;
    const char* sqliteType;
    const char* postgresType;
    const char* mariadbType;
    std::vector<Spelling> spellings;
    bool sqliteHoldsIt = true; ///< SQLite has no type for it (unsigned 64-bit integers)
};

const std::vector<Column>& columns() {
    static const std::vector<Column> all = {
        // The Original and the Modified may disagree on everything a collation or a padding
        // rule would hide: letter case, accents, ß and s, trailing blanks, emoji.
        {"txt",
         "TEXT",
         "text",
         "VARCHAR(40)",
         {{"'Ann'", 1},
          {"'ann'", 2},
          {"'ANN'", 3},
          {"'Ann '", 4},
          {"' Ann'", 5},
          {"'Zoë'", 6},
          {"'Zoe'", 7},
          {"'ß'", 8},
          {"'s'", 9},
          {"'😀'", 10},
          {"''", 11},
          {"NULL", 12},
          {"'NULL'", 13},
          {"'50%'", 14},
          {"'5_0'", 15}}},
        {"num",
         "DECIMAL(12,4)",
         "numeric(12,4)",
         "DECIMAL(12,4)",
         {{"7", 1},
          {"7.00", 1},
          {"7.0001", 2},
          {"1.1", 3},
          {"1.10", 3},
          {"19.99", 4},
          {"19.98", 5},
          {"-0.5", 6},
          {"-0.50", 6},
          {"0", 7},
          {"0.0000", 7},
          {"0.0001", 8},
          {"12345678.1234", 9},
          {"NULL", 10}}},
        {"big",
         "INTEGER",
         "bigint",
         "BIGINT",
         {{"0", 1},
          {"-1", 2},
          {"42", 3},
          {"9223372036854775807", 4},
          {"9223372036854775806", 5},
          {"-9223372036854775808", 6},
          {"NULL", 7}}},
        {"dbl",
         "REAL",
         "double precision",
         "DOUBLE",
         {{"0.1", 1},
          {"0.3", 2},
          {"0.30000000000000004", 3},
          {"1e-7", 4},
          {"2.5", 5},
          {"7", 6},
          {"7.0", 6},
          {"-0.0", 7},
          {"0", 7},
          {"1.7976931348623157e308", 8},
          {"NULL", 9}}},
        {"day",
         "DATE",
         "date",
         "DATE",
         {{"'2020-01-01'", 1}, {"'2020-01-02'", 2}, {"'1999-12-31'", 3}, {"NULL", 4}}},
        {"ubig",
         "",
         "numeric(20,0)",
         "BIGINT UNSIGNED",
         {{"18446744073709551615", 1},
          {"18446744073709551614", 2},
          {"9223372036854775808", 3},
          {"0", 4},
          {"NULL", 5}},
         false},
    };
    return all;
}

const char* typeOn(const Column& column, DatabaseKind kind) {
    switch (kind) {
    case DatabaseKind::Postgres:
        return column.postgresType;
    case DatabaseKind::Mariadb:
        return column.mariadbType;
    case DatabaseKind::Sqlite:
    case DatabaseKind::SqliteOdbc:
        break;
    }
    return column.sqliteType;
}

/// A random table pair: the Original's rows and the Modified's, which respells some values
/// (equal), changes some (differing), deletes some and adds some. Each row is a spelling index
/// per column; the expected result follows from the value classes alone.
class RandomPair {
public:
    RandomPair(unsigned seed, bool withUnsigned) : random_(seed) {
        for (std::size_t c = 0; c < columns().size(); ++c)
            if (withUnsigned || columns()[c].sqliteHoldsIt)
                used_.push_back(c);
        const int count = 20 + pick(30);
        for (int id = 1; id <= count; ++id)
            original_[id] = randomRow();
        for (const auto& [id, row] : original_) {
            std::vector<std::size_t> changed = row;
            switch (pick(8)) {
            case 0:
                continue; // deleted
            case 1:
            case 2:
            case 3: {
                const std::size_t at = static_cast<std::size_t>(pick(static_cast<int>(used_.size())));
                changed[at] = respelling(used_[at], row[at], pick(2) == 0);
                break;
            }
            default:
                break;
            }
            modified_[id] = changed;
        }
        for (int extra = pick(4); extra > 0; --extra)
            modified_[count + 100 + extra] = randomRow();
    }

    std::string script(bool original, DatabaseKind kind) const {
        std::string text = "CREATE TABLE t (id INTEGER PRIMARY KEY";
        for (std::size_t c : used_)
            text += std::string(", ") + columns()[c].name + " " + typeOn(columns()[c], kind);
        text += ");";
        for (const auto& [id, row] : original ? original_ : modified_) {
            text += "INSERT INTO t VALUES (" + std::to_string(id);
            for (std::size_t i = 0; i < used_.size(); ++i)
                text += std::string(",") + columns()[used_[i]].spellings[row[i]].literal;
            text += ");";
        }
        return text;
    }

    std::string fields() const {
        std::string list = "[id]";
        for (std::size_t c : used_)
            list += std::string(",[") + columns()[c].name + "]";
        return list;
    }

    /// The ids of the records of one side that have no record of equal values on the other.
    std::vector<std::string> expectedMissing(bool original) const {
        const auto& mine = original ? original_ : modified_;
        const auto& theirs = original ? modified_ : original_;
        std::vector<std::string> ids;
        for (const auto& [id, row] : mine) {
            auto other = theirs.find(id);
            if (other == theirs.end() || classesOf(other->second) != classesOf(row))
                ids.push_back(std::to_string(id));
        }
        std::sort(ids.begin(), ids.end());
        return ids;
    }

private:
    using Row = std::vector<std::size_t>;

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    Row randomRow() {
        Row row;
        for (std::size_t c : used_)
            row.push_back(static_cast<std::size_t>(pick(static_cast<int>(columns()[c].spellings.size()))));
        return row;
    }

    /// Another spelling of the same value when `same` and the column has one, else any spelling.
    std::size_t respelling(std::size_t column, std::size_t spelling, bool same) {
        const std::vector<Spelling>& spellings = columns()[column].spellings;
        std::vector<std::size_t> candidates;
        for (std::size_t s = 0; s < spellings.size(); ++s)
            if (s != spelling && spellings[s].valueClass == spellings[spelling].valueClass)
                candidates.push_back(s);
        if (!same || candidates.empty())
            return static_cast<std::size_t>(pick(static_cast<int>(spellings.size())));
        return candidates[static_cast<std::size_t>(pick(static_cast<int>(candidates.size())))];
    }

    std::vector<int> classesOf(const Row& row) const {
        std::vector<int> classes;
        for (std::size_t i = 0; i < row.size(); ++i)
            classes.push_back(columns()[used_[i]].spellings[row[i]].valueClass);
        return classes;
    }

    std::mt19937 random_;
    std::vector<std::size_t> used_;
    std::map<int, Row> original_, modified_;
};

struct ProductPair {
    DatabaseKind original;
    DatabaseKind modified;
};

void PrintTo(const ProductPair& pair, std::ostream* out) {
    *out << kindName({pair.original, 0}) << " and " << kindName({pair.modified, 0});
}

std::string pairName(const testing::TestParamInfo<ProductPair>& info) {
    return kindName({info.param.original, 0}) + "To" + kindName({info.param.modified, 0});
}

class CrossProductMatchTest : public testing::TestWithParam<ProductPair> {
protected:
    void SetUp() override {
        for (DatabaseKind kind : {GetParam().original, GetParam().modified})
            if (!isSqliteKind(kind) && !serverOf(kind))
                GTEST_SKIP() << whyNoServer(kind);
    }
};

// Values are equal when they are the same value, on whichever products the two sides are and
// in whichever order the two are named: the records reported are those the value classes of
// the generated rows call different, nothing a collation, a padding rule or a decimal's
// spelling decides.
TEST_P(CrossProductMatchTest, RecordsDifferExactlyWhenTheirValuesDo) {
    const bool withUnsigned = !isSqliteKind(GetParam().original) && !isSqliteKind(GetParam().modified);
    int differing = 0;
    for (unsigned seed = 1; seed <= 4; ++seed) {
        const RandomPair pair(seed * 104729, withUnsigned);
        for (bool swapped : {false, true}) {
            const DatabaseKind originalKind = swapped ? GetParam().modified : GetParam().original;
            const DatabaseKind modifiedKind = swapped ? GetParam().original : GetParam().modified;
            SCOPED_TRACE("seed " + std::to_string(seed) + (swapped ? ", sides swapped" : ""));
            // Swapping the products keeps the rows: the Original is always the first table.
            DataRun run(pair.script(true, originalKind), pair.script(false, modifiedKind), originalKind,
                        modifiedKind);
            run.prepare("t", pair.fields());
            ASSERT_TRUE(run.runFull()) << run.core.getMasterDataManager()->getReturnMessage();
            const std::vector<std::string> original =
                reportedValues(*run.core.getMasterDataManager()->getResults(), "id");
            const std::vector<std::string> modified =
                reportedValues(*run.core.getSourceDataManager()->getResults(), "id");
            EXPECT_EQ(original, pair.expectedMissing(true));
            EXPECT_EQ(modified, pair.expectedMissing(false));
            differing += static_cast<int>(original.size() + modified.size());
        }
    }
    EXPECT_GT(differing, 0);
}

TEST_P(CrossProductMatchTest, RecordsPairByTheValueOfTheirKey) {
    // An integer key 7 and a decimal key 7.00 on the other product are the same key.
    for (bool swapped : {false, true}) {
        SCOPED_TRACE(swapped ? "sides swapped" : "");
        const DatabaseKind originalKind = swapped ? GetParam().modified : GetParam().original;
        const DatabaseKind modifiedKind = swapped ? GetParam().original : GetParam().modified;
        const std::string decimalKey = "CREATE TABLE t (id DECIMAL(10,2) PRIMARY KEY, v VARCHAR(10));";
        const std::string integerKey = "CREATE TABLE t (id INTEGER PRIMARY KEY, v VARCHAR(10));";
        DataRun run(integerKey + "INSERT INTO t VALUES (7, 'a'), (8, 'b');",
                    decimalKey + "INSERT INTO t VALUES (7.00, 'A'), (8.00, 'b');", originalKind,
                    modifiedKind);
        run.prepare("t", "[id],[v]");
        ASSERT_TRUE(run.runFull()) << run.core.getMasterDataManager()->getReturnMessage();
        const DataResult& result = run.core.lastDataResult();
        ASSERT_EQ(result.original.size(), 1u);
        ASSERT_EQ(result.modified.size(), 1u);
        EXPECT_EQ(result.original[0].counterpart, result.modified[0].number);
        EXPECT_EQ(result.modified[0].counterpart, result.original[0].number);
    }
}

INSTANTIATE_TEST_SUITE_P(Products, CrossProductMatchTest,
                         testing::Values(ProductPair{DatabaseKind::Sqlite, DatabaseKind::Postgres},
                                         ProductPair{DatabaseKind::Postgres, DatabaseKind::Mariadb},
                                         ProductPair{DatabaseKind::Mariadb, DatabaseKind::Sqlite},
                                         ProductPair{DatabaseKind::Mariadb, DatabaseKind::Mariadb}),
                         pairName);

} // namespace
} // namespace sifkit::test
