// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/Value.h>

#include <pugixml.hpp>

#include <string>

// Values in the layer's XML files: <v/> is an empty text, <v null="1"/> a Null; a value whose
// kind differs from its column's says so in k=; texts that XML cannot carry unchanged (control
// characters, carriage returns) are written as hexadecimal with enc="hex". Reals are written in
// their shortest form that reads back to the same double.

namespace sifkit::platform {

const char* kindName(Value::Kind kind);
/// The kind of that name; text for a name it does not know.
Value::Kind kindFromName(const std::string& name);

/// Upper-case hexadecimal of the bytes, and the bytes back.
std::string toHex(const std::string& bytes);
std::string fromHex(const std::string& hex);

/// A value as a <v> element's content and attributes.
void writeXmlValue(pugi::xml_node v, const Value& value, Value::Kind columnKind);
Value readXmlValue(pugi::xml_node v, Value::Kind columnKind);

/// Writes a new file in one go: under a temporary name beside it, synced, then linked into
/// place (an existing file is never replaced, also one that appears meanwhile) and the folder
/// synced, so that once it returns the file is whole on disk and before that it does not exist.
/// Returns 0, or the errno of the step that failed.
int writeNewFileDurably(const std::string& path, const std::string& bytes);

} // namespace sifkit::platform
