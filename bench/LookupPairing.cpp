// SPDX-License-Identifier: MIT
// Pairs every reported record of one side with its counterpart on the other side through
// Sifcore::lookupRelatedRecordFromRecordNumber, as the difference list does, and times it
// against the plain scans that define the look-ups (run on smaller results, since they grow
// with the cube of the size, and extrapolated).
//
// Usage: lookup_pairing [items] [peer items]   (defaults 100000 and 2000)

#include "tests/support/LinearLookups.h"

#include <sifkit/Sifcore.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

using sifkit::ResultCollection;
using sifkit::ResultCollectionPtr;

constexpr const char* kTable = "people";
const std::vector<std::string> kFields = {"id", "name", "age", "note"};

/// Two sides reporting the same keys, the source side in shuffled order; records keep their
/// fields next to each other as a data run leaves them. pairOf[r] is the source record that
/// master record r must pair with.
struct Sides {
    ResultCollectionPtr master = std::make_shared<ResultCollection>();
    ResultCollectionPtr source = std::make_shared<ResultCollection>();
    std::vector<int32_t> pairOf;
    int32_t records = 0;
};

void addRecord(ResultCollection& results, int32_t recordNumber, int32_t key) {
    for (const auto& field : kFields) {
        auto item = std::make_shared<sifkit::clsResultSet>();
        item->setDatabaseObjName(kTable);
        item->setFieldName(field);
        item->setRecordNumber(recordNumber);
        item->setDataValue(field == "id" ? std::to_string(key) : field + std::to_string(key));
        item->setIsFieldDesc(true);
        item->setIsDataValue(true);
        item->setFieldCount(static_cast<int16_t>(kFields.size()));
        item->setChangeType("5");
        item->setPrimaryKey("id");
        results.add(item);
    }
}

Sides makeSides(int32_t items) {
    Sides sides;
    sides.records = items / static_cast<int32_t>(kFields.size());
    std::vector<int32_t> keys(static_cast<std::size_t>(sides.records));
    std::iota(keys.begin(), keys.end(), 1);
    std::vector<int32_t> shuffled = keys;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(20240601u));
    sides.pairOf.assign(keys.size() + 1, 0);
    for (int32_t r = 1; r <= sides.records; ++r) {
        addRecord(*sides.master, r, keys[static_cast<std::size_t>(r - 1)]);
        addRecord(*sides.source, r, shuffled[static_cast<std::size_t>(r - 1)]);
        sides.pairOf[static_cast<std::size_t>(shuffled[static_cast<std::size_t>(r - 1)])] = r;
    }
    return sides;
}

/// Seconds taken to pair every master record; exits when a pairing is wrong.
template <typename Lookups> double pairEveryRecord(Lookups& lookups, const Sides& sides, const char* what) {
    auto start = std::chrono::steady_clock::now();
    int32_t wrong = 0;
    for (int32_t r = 1; r <= sides.records; ++r)
        if (lookups.lookupRelatedRecordFromRecordNumber(kTable, true, r) !=
            sides.pairOf[static_cast<std::size_t>(r)])
            ++wrong;
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (wrong != 0) {
        std::fprintf(stderr, "%s: %d of %d records paired wrongly\n", what, wrong, sides.records);
        std::exit(1);
    }
    return seconds;
}

double indexedPairing(const Sides& sides) {
    sifkit::Sifcore core;
    core.setMasterResultSets(sides.master);
    core.setSourceResults(sides.source);
    return pairEveryRecord(core, sides, "indexed look-ups");
}

double scannedPairing(const Sides& sides) {
    sifkit::test::LinearLookups scans(sides.master, sides.source);
    return pairEveryRecord(scans, sides, "plain scans");
}

} // namespace

int main(int argc, char** argv) {
    const int32_t items = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int32_t peerItems = argc > 2 ? std::atoi(argv[2]) : 2000;
    if (items < 8 || peerItems < 16) {
        std::fprintf(stderr, "usage: %s [items >= 8] [peer items >= 16]\n", argv[0]);
        return 2;
    }

    const Sides large = makeSides(items);
    const double indexed = indexedPairing(large);
    std::printf("indexed look-ups: %d items (%d records a side), every record paired in %.3f s\n", items,
                large.records, indexed);

    // The plain scans at two small sizes give the growth exponent to extrapolate with.
    const Sides half = makeSides(peerItems / 2);
    const Sides peer = makeSides(peerItems);
    const double scannedHalf = scannedPairing(half);
    const double scanned = scannedPairing(peer);
    const double indexedPeer = indexedPairing(peer);
    const double exponent = std::log(scanned / scannedHalf) / std::log(2.0);
    const double extrapolated = scanned * std::pow(static_cast<double>(items) / peerItems, exponent);
    std::printf(
        "plain scans:      %d items in %.3f s, %d items in %.3f s (indexed: %.4f s), growth ~ size^%.2f\n",
        peerItems / 2, scannedHalf, peerItems, scanned, indexedPeer, exponent);
    std::printf("plain scans extrapolated to %d items: %.0f s (%.1f h), %.0f times the indexed look-ups\n",
                items, extrapolated, extrapolated / 3600.0, extrapolated / indexed);
    std::printf("lookup-pairing-%d: %.3f s\n", items, indexed);
    return 0;
}
