// SPDX-License-Identifier: MIT
#include "RecordFingerprint.h"

#include "CanonicalNumber.h"
#include "ValueFolding.h"

#include <xxhash.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

namespace sifkit::detail {

namespace {

/// The canonical bytes of one record's compared fields: a tag word per field, then its content,
/// so that no two different sequences of values give the same bytes. XXH3-128 digests them.
/// A record's bytes are gathered on the stack; only a record longer than that buffer (long texts)
/// moves to the heap.
class Canonical {
public:
    void word(uint64_t w) { put(&w, sizeof w); }
    /// The tag and the length share one word.
    void bytes(uint64_t tag, std::string_view data) {
        word(tag | (static_cast<uint64_t>(data.size()) << 8));
        put(data.data(), data.size());
    }
    RecordFingerprint finish() const {
        const XXH128_hash_t hash =
            spilled_ ? XXH3_128bits(heap_.data(), heap_.size()) : XXH3_128bits(stack_, size_);
        return {hash.high64, hash.low64};
    }

private:
    void put(const void* data, std::size_t count) {
        if (!spilled_ && size_ + count <= sizeof stack_) {
            std::memcpy(stack_ + size_, data, count);
            size_ += count;
            return;
        }
        if (!spilled_) {
            heap_.assign(stack_, size_);
            spilled_ = true;
        }
        heap_.append(static_cast<const char*>(data), count);
    }

    char stack_[1024];
    std::size_t size_ = 0;
    bool spilled_ = false;
    std::string heap_;
};

enum Tag : uint64_t { NullTag = 1, NumberTag, RealTag, TextTag, BinaryTag, DecimalTag };

/// The real as an integer when it holds a whole number an integer can hold exactly.
bool wholeNumber(double real, int64_t& out) {
    if (!std::isfinite(real) || real != std::floor(real) || real < -9223372036854775808.0 ||
        real >= 9223372036854775808.0)
        return false;
    out = static_cast<int64_t>(real);
    return true;
}

/// A number in its canonical form: a whole number an int64_t holds as an integer, any other as
/// its decimal digits.
void addNumber(Canonical& canonical, const CanonicalNumber& number) {
    int64_t whole = 0;
    if (number.asInt64(whole)) {
        canonical.word(NumberTag);
        canonical.word(static_cast<uint64_t>(whole));
    } else {
        canonical.bytes(DecimalTag, number.bytes());
    }
}

void addReal(Canonical& canonical, double real, bool asShown) {
    int64_t whole = 0;
    if (wholeNumber(real, whole)) {
        canonical.word(NumberTag);
        canonical.word(static_cast<uint64_t>(whole));
    } else if (asShown && std::isfinite(real)) {
        addNumber(canonical, numberFromReal(real));
    } else {
        canonical.word(RealTag);
        canonical.word(std::isnan(real) ? 0x7FF8000000000000ull : std::bit_cast<uint64_t>(real));
    }
}

/// A decimal column's text: the number it spells, the real of NaN and the infinities that some
/// products allow there, or the text itself.
void addDecimalText(Canonical& canonical, std::string_view text, bool realsAsShown) {
    if (std::optional<CanonicalNumber> number = numberFromText(text)) {
        addNumber(canonical, *number);
    } else if (text == "NaN") {
        addReal(canonical, std::numeric_limits<double>::quiet_NaN(), realsAsShown);
    } else if (text == "Infinity" || text == "-Infinity") {
        const double infinity = std::numeric_limits<double>::infinity();
        addReal(canonical, text.front() == '-' ? -infinity : infinity, realsAsShown);
    } else {
        canonical.bytes(TextTag, text);
    }
}

} // namespace

bool holdsDecimals(const platform::ColumnInfo& column) {
    switch (column.typeCode) {
    case 6:   // currency
    case 14:  // decimal
    case 131: // numeric
    case 139: // variable-width numeric
        return true;
    default:
        return false;
    }
}

std::string guidInOneSpelling(std::string_view text) {
    if (text.size() == 38 && text.front() == '{' && text.back() == '}')
        text = text.substr(1, 36);
    if (text.size() != 36)
        return std::string(text);
    std::string spelled(text);
    for (char& c : spelled)
        if (c >= 'A' && c <= 'F')
            c = static_cast<char>(c - 'A' + 'a');
    return spelled;
}

FingerprintPlan planFor(const std::vector<platform::ColumnInfo>& mine,
                        const std::vector<std::size_t>& positions,
                        const std::vector<platform::ColumnInfo>& theirs, const platform::Dialect& mineDialect,
                        const ValueOptions& options) {
    FingerprintPlan plan;
    plan.reserve(positions.size());
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const platform::ColumnInfo& own = mine[positions[i]];
        const bool decimalsHere = holdsDecimals(own) || (i < theirs.size() && holdsDecimals(theirs[i]));
        // A driver hands integers too large for 64 signed bits over as text; they are numbers
        // all the same. An SQLite file tells a text from a number itself.
        const bool wideIntegers = own.storage == Value::Kind::Integer && !mineDialect.isSqlite;
        plan.push_back(
            {positions[i], holdsDecimals(own) || wideIntegers, decimalsHere, own.typeCode == 72, options});
    }
    return plan;
}

RecordFingerprint fingerprintOf(const platform::CellView* cells, const FingerprintPlan& plan) {
    Canonical canonical;
    std::string folded;
    for (const CanonicalField& field : plan) {
        const platform::CellView& cell = cells[field.position];
        switch (cell.kind) {
        case Value::Kind::Null:
            if (field.folding.nullIsEmpty)
                canonical.bytes(TextTag, {});
            else
                canonical.word(NullTag);
            break;
        case Value::Kind::Integer:
            canonical.word(NumberTag);
            canonical.word(static_cast<uint64_t>(cell.integer));
            break;
        case Value::Kind::Real:
            addReal(canonical, cell.real, field.realsAsShown);
            break;
        case Value::Kind::Text:
            if (field.textIsNumber)
                addDecimalText(canonical, cell.bytes, field.realsAsShown);
            else if (field.guid)
                canonical.bytes(TextTag, guidInOneSpelling(cell.bytes));
            else if (field.folding.foldsTexts())
                canonical.bytes(TextTag, foldedText(cell.bytes, field.folding, folded));
            else
                canonical.bytes(TextTag, cell.bytes);
            break;
        case Value::Kind::Binary:
            canonical.bytes(BinaryTag, cell.bytes);
            break;
        }
    }
    return canonical.finish();
}

void FingerprintSet::reserve(std::size_t count) {
    std::size_t size = 1024;
    while (size < count * 2)
        size *= 2;
    if (size <= slots_.size())
        return;
    std::vector<RecordFingerprint> old = std::move(slots_);
    slots_.assign(size, RecordFingerprint{});
    count_ = 0;
    for (const RecordFingerprint& fingerprint : old)
        if (!(fingerprint == RecordFingerprint{}))
            add(fingerprint);
}

std::size_t FingerprintSet::insert(const RecordFingerprint& fingerprint) {
    if (fingerprint == RecordFingerprint{}) {
        hasEmptyKey_ = true;
        return slots_.size(); // kept apart from the table, whose free slots hold it
    }
    if ((count_ + 1) * 2 > slots_.size())
        grow();
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = fingerprint.high & mask;; at = (at + 1) & mask) {
        if (slots_[at] == fingerprint)
            return at;
        if (slots_[at] == RecordFingerprint{}) {
            slots_[at] = fingerprint;
            ++count_;
            return at;
        }
    }
}

std::size_t FingerprintSet::find(const RecordFingerprint& fingerprint) const {
    if (fingerprint == RecordFingerprint{})
        return hasEmptyKey_ ? slots_.size() : absent;
    if (slots_.empty())
        return absent;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = fingerprint.high & mask;; at = (at + 1) & mask) {
        if (slots_[at] == fingerprint)
            return at;
        if (slots_[at] == RecordFingerprint{})
            return absent;
    }
}

void FingerprintSet::grow() {
    reserve(slots_.empty() ? 0 : slots_.size());
}

} // namespace sifkit::detail
