// SPDX-License-Identifier: MIT
#include <sifkit/SifkitError.h>
#include <sifkit/Value.h>

#include <charconv>

namespace sifkit {

namespace {
[[noreturn]] void wrongKind(const char* wanted) {
    throw Error(ErrorNumber::TypeMismatch, std::string("Type mismatch: the value is not ") + wanted);
}
} // namespace

Value Value::binary(Bytes bytes) {
    Value v;
    v.data_ = BinaryBox{std::move(bytes)};
    return v;
}

int64_t Value::asInteger() const {
    if (auto* p = std::get_if<int64_t>(&data_))
        return *p;
    wrongKind("an integer");
}

double Value::asReal() const {
    if (auto* p = std::get_if<double>(&data_))
        return *p;
    wrongKind("a real");
}

const std::string& Value::asText() const {
    if (auto* p = std::get_if<std::string>(&data_))
        return *p;
    wrongKind("a text");
}

const Value::Bytes& Value::asBinary() const {
    if (auto* p = std::get_if<BinaryBox>(&data_))
        return p->bytes;
    wrongKind("binary");
}

std::string formatReal(double value) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string Value::toString() const {
    switch (kind()) {
    case Kind::Null:
        return {};
    case Kind::Integer:
        return std::to_string(std::get<int64_t>(data_));
    case Kind::Real:
        return formatReal(std::get<double>(data_));
    case Kind::Text:
        return std::get<std::string>(data_);
    case Kind::Binary: {
        static constexpr char digits[] = "0123456789ABCDEF";
        const auto& bytes = std::get<BinaryBox>(data_).bytes;
        std::string text;
        text.reserve(bytes.size() * 2);
        for (unsigned char b : bytes) {
            text += digits[b >> 4];
            text += digits[b & 15];
        }
        return text;
    }
    }
    return {};
}

} // namespace sifkit
