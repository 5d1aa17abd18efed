// SPDX-License-Identifier: MIT
#include <sifkit/SifkitError.h>

namespace sifkit {

Error::Error(int32_t number, const std::string& description)
    : std::runtime_error(std::to_string(number) + " " + description), number_(number),
      description_(description) {}

DatabaseError::DatabaseError(int32_t nativeCode, const std::string& sqlState, const std::string& description)
    : Error(nativeCode, description), sqlState_(sqlState) {}

ConversionError::ConversionError(const std::string& text)
    : Error(ErrorNumber::TypeMismatch, "Type mismatch: \"" + text + "\" is not a number") {}

} // namespace sifkit
