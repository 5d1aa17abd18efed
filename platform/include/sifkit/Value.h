// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/sifkit_export.h>

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace sifkit {

/// One field value as the data access layer reads and writes it. Null is its own state,
/// distinct from an empty text.
class SIFKIT_EXPORT Value {
public:
    enum class Kind { Null, Integer, Real, Text, Binary };
    using Bytes = std::vector<unsigned char>;

    Value() = default;
    Value(int64_t integer) : data_(integer) {}
    Value(int integer) : data_(int64_t{integer}) {}
    Value(double real) : data_(real) {}
    Value(std::string text) : data_(std::move(text)) {}
    Value(const char* text) : data_(std::string(text)) {}
    static Value binary(Bytes bytes);

    Kind kind() const noexcept { return static_cast<Kind>(data_.index()); }
    bool isNull() const noexcept { return kind() == Kind::Null; }

    /// The value as the kind holds it; asking for another kind throws sifkit::Error.
    int64_t asInteger() const;
    double asReal() const;
    const std::string& asText() const;
    const Bytes& asBinary() const;

    /// Text form: integers in decimal, reals in the shortest form that reads back to the same
    /// number, texts unchanged, binary as upper-case hexadecimal, Null as "".
    std::string toString() const;

    /// Exact equality of kind and content (7 and 7.0 differ; Null equals Null).
    bool operator==(const Value& other) const = default;

private:
    struct BinaryBox {
        Bytes bytes;
        bool operator==(const BinaryBox&) const = default;
    };
    std::variant<std::monostate, int64_t, double, std::string, BinaryBox> data_;
};

/// Shortest decimal text of a real that reads back to the same double.
SIFKIT_EXPORT std::string formatReal(double value);

} // namespace sifkit
