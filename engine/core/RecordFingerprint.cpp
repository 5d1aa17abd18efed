// SPDX-License-Identifier: MIT
#include "RecordFingerprint.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace sifkit::detail {

namespace {

/// Two independent 64-bit mixes over the same canonical bytes.
class Hasher {
public:
    void word(uint64_t w) {
        a_ = (a_ ^ w) * 0x9E3779B97F4A7C15ull;
        a_ ^= a_ >> 29;
        b_ = std::rotl(b_ + w * 0xC2B2AE3D27D4EB4Full, 31) * 0x165667B19E3779F9ull;
    }
    /// The tag and the length share one word.
    void bytes(uint64_t tag, std::string_view data) {
        word(tag | (static_cast<uint64_t>(data.size()) << 8));
        std::size_t at = 0;
        for (; at + 8 <= data.size(); at += 8) {
            uint64_t w;
            std::memcpy(&w, data.data() + at, 8);
            word(w);
        }
        if (at < data.size()) {
            uint64_t w = 0;
            std::memcpy(&w, data.data() + at, data.size() - at);
            word(w);
        }
    }
    RecordFingerprint finish() const {
        auto mix = [](uint64_t x) {
            x ^= x >> 33;
            x *= 0xFF51AFD7ED558CCDull;
            x ^= x >> 33;
            x *= 0xC4CEB9FE1A85EC53ull;
            x ^= x >> 33;
            return x;
        };
        return {mix(a_), mix(b_ ^ a_)};
    }

private:
    uint64_t a_ = 0x243F6A8885A308D3ull;
    uint64_t b_ = 0x13198A2E03707344ull;
};

enum Tag : uint64_t { NullTag = 1, NumberTag, RealTag, TextTag, BinaryTag };

/// The real as an integer when it holds a whole number an integer can hold exactly.
bool wholeNumber(double real, int64_t& out) {
    if (!std::isfinite(real) || real != std::floor(real) || real < -9223372036854775808.0 ||
        real >= 9223372036854775808.0)
        return false;
    out = static_cast<int64_t>(real);
    return true;
}

} // namespace

RecordFingerprint fingerprintOf(const platform::CellView* cells, const std::vector<std::size_t>& positions) {
    Hasher hasher;
    for (std::size_t position : positions) {
        const platform::CellView& cell = cells[position];
        switch (cell.kind) {
        case Value::Kind::Null:
            hasher.word(NullTag);
            break;
        case Value::Kind::Integer:
            hasher.word(NumberTag);
            hasher.word(static_cast<uint64_t>(cell.integer));
            break;
        case Value::Kind::Real: {
            int64_t whole = 0;
            if (wholeNumber(cell.real, whole)) {
                hasher.word(NumberTag);
                hasher.word(static_cast<uint64_t>(whole));
            } else {
                hasher.word(RealTag);
                hasher.word(std::isnan(cell.real) ? 0x7FF8000000000000ull
                                                  : std::bit_cast<uint64_t>(cell.real));
            }
            break;
        }
        case Value::Kind::Text:
            hasher.bytes(TextTag, cell.bytes);
            break;
        case Value::Kind::Binary:
            hasher.bytes(BinaryTag, cell.bytes);
            break;
        }
    }
    return hasher.finish();
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
