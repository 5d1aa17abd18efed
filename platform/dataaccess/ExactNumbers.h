// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace sifkit::platform {

/// Wide enough for the 96- and 128-bit integers behind the decimals of Access files.
__extension__ typedef unsigned __int128 UInt128;

/// A single-precision value as the layer holds reals: the double nearest the float's shortest
/// decimal text, so that 0.1f is read as 0.1 on every product, as from a server whose text
/// carries singles exactly. Distinct floats stay distinct doubles, and the float comes back
/// from the double unchanged.
double singleAsDouble(float value);

/// The exact decimal text of unscaled / 10^scale ("-12.3400" for -123400 and 4): every digit
/// of the scale is written, as the value is stored.
std::string scaledDecimalText(bool negative, UInt128 unscaled, int scale);

} // namespace sifkit::platform
