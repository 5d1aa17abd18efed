// SPDX-License-Identifier: MIT
// A run the user cancels: it ends at once, says so, and leaves the results of the run before it.
#include "core/DataMatch.h"
#include "support/DataRun.h"

#include <gtest/gtest.h>

namespace sifkit::test {
namespace {

std::string rows(int count, const std::string& city) {
    std::string script = "CREATE TABLE t (id INTEGER PRIMARY KEY, city TEXT);BEGIN;";
    for (int id = 1; id <= count; ++id)
        script +=
            "INSERT INTO t VALUES (" + std::to_string(id) + ", '" + city + std::to_string(id % 7) + "');";
    return script + "COMMIT;";
}

bool saysCancelled(const std::vector<Failure>& failures) {
    for (const Failure& failure : failures)
        if (failure.messageNumber == 78 && failure.text == " #78 The comparison was cancelled ||")
            return true;
    return false;
}

TEST(CancelTest, ACancelledRunEndsSaysSoAndKeepsThePreviousResults) {
    DataRun run(rows(3000, "a"), rows(3000, "b"));
    run.prepare("t", "[id],[city]");
    ASSERT_TRUE(run.runFull());
    const ResultCollectionPtr before = run.core.getMasterDatabaseResults();

    int events = 0;
    bool cancel = false;
    run.core.setDoEventsHandler([&] { ++events; });
    run.core.setCancelHandler([&] { return cancel; });
    cancel = true;
    for (bool perRecord : {false, true}) {
        SCOPED_TRACE(perRecord ? "one query a record" : "from the index");
        std::optional<detail::PerRecordMatchScope> scope;
        if (perRecord)
            scope.emplace();
        events = 0;
        EXPECT_FALSE(run.runFull());
        EXPECT_GT(events, 0);
        EXPECT_EQ(run.core.lastDataResult().outcome, DataOutcome::Cancelled);
        EXPECT_TRUE(saysCancelled(run.core.lastFailures()));
        EXPECT_EQ(run.core.getMasterDatabaseResults(), before);
    }

    // A structure run, too.
    EXPECT_FALSE(run.core.beginFullDatabaseCompare(run.masterConnection, run.sourceConnection, false));
    EXPECT_TRUE(run.core.lastStructureResult().cancelled);
    EXPECT_TRUE(saysCancelled(run.core.lastFailures()));

    // Not cancelled, the run goes on as ever, with the host's events let run now and then.
    cancel = false;
    run.prepare("t", "[id],[city]"); // the structure run started the managers afresh
    events = 0;
    EXPECT_TRUE(run.runFull());
    EXPECT_EQ(run.core.lastDataResult().outcome, DataOutcome::Differences);
    EXPECT_GT(events, 0);
}

} // namespace
} // namespace sifkit::test
