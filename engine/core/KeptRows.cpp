// SPDX-License-Identifier: MIT
#include "KeptRows.h"

#include <cstring>
#include <limits>

namespace sifkit::detail {

namespace {

template <typename T> void append(std::string& bytes, T value) {
    char raw[sizeof(T)];
    std::memcpy(raw, &value, sizeof(T));
    bytes.append(raw, sizeof(T));
}

template <typename T> T read(const std::string& bytes, std::size_t& at) {
    T value;
    std::memcpy(&value, bytes.data() + at, sizeof(T));
    at += sizeof(T);
    return value;
}

} // namespace

void KeptRows::keep(const platform::CellView* cells, std::size_t count) {
    if (dropped_)
        return;
    cellsPerRow_ = count;
    starts_.push_back(bytes_.size());
    for (std::size_t i = 0; i < count; ++i) {
        const platform::CellView& cell = cells[i];
        bytes_.push_back(static_cast<char>(cell.kind));
        switch (cell.kind) {
        case Value::Kind::Null:
            break;
        case Value::Kind::Integer:
            append(bytes_, cell.integer);
            break;
        case Value::Kind::Real:
            append(bytes_, cell.real);
            break;
        case Value::Kind::Text:
        case Value::Kind::Binary:
            if (cell.bytes.size() > std::numeric_limits<uint32_t>::max())
                return drop();
            append(bytes_, static_cast<uint32_t>(cell.bytes.size()));
            bytes_.append(cell.bytes);
            break;
        }
    }
    if (bytes_.size() + starts_.size() * sizeof(std::size_t) > budget_)
        drop();
}

platform::Row KeptRows::row(int32_t number) const {
    std::size_t at = starts_.at(static_cast<std::size_t>(number - 1));
    platform::Row values;
    values.reserve(cellsPerRow_);
    for (std::size_t i = 0; i < cellsPerRow_; ++i) {
        platform::CellView cell;
        cell.kind = static_cast<Value::Kind>(bytes_[at++]);
        switch (cell.kind) {
        case Value::Kind::Null:
            break;
        case Value::Kind::Integer:
            cell.integer = read<int64_t>(bytes_, at);
            break;
        case Value::Kind::Real:
            cell.real = read<double>(bytes_, at);
            break;
        case Value::Kind::Text:
        case Value::Kind::Binary: {
            const auto length = read<uint32_t>(bytes_, at);
            cell.bytes = std::string_view(bytes_).substr(at, length);
            at += length;
            break;
        }
        }
        values.push_back(cell.toValue());
    }
    return values;
}

void KeptRows::drop() {
    dropped_ = true;
    bytes_ = std::string();
    starts_ = std::vector<std::size_t>();
}

} // namespace sifkit::detail
