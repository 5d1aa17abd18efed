// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QPalette>

#include <cstdint>

namespace dbsift {

/// The contrast ratio of two colours by their relative luminance: 1 for equal colours, 21 for
/// black on white. Text wants 4.5 at least, coloured marks 3.
double contrastRatio(const QColor& a, const QColor& b);

/// The text colour for a background: the palette's own text colour while it reads well on it,
/// otherwise black or white, whichever reads better.
QColor readableTextOn(const QColor& background, const QPalette& palette);

/// A coloured mark (a change's colour) as it can be read on a background: the colour itself
/// while it stands out enough, otherwise the same hue lightened (dark backgrounds) or darkened
/// (light backgrounds) until it does.
QColor readableAccentOn(const QColor& accent, const QColor& background);

/// The background a changed value is painted on: the row's own background mixed half and half
/// with amber, so that it stands out on light and dark palettes alike.
QColor changedTint(const QColor& background);

/// The background of the grids' header row: the palette's button colour.
QColor headerBackground(const QPalette& palette);

/// The colours a side's records wear until the user picks others, taken from the palette:
/// the Modified side the palette's base (white on a light desktop), the Original side the base
/// tinted green (light green, 0x80FF80, on a white base; a dark green on a dark one).
/// Colour values with red in the low byte.
uint32_t defaultOriginalColour(const QPalette& palette);
uint32_t defaultModifiedColour(const QPalette& palette);

/// Paints a widget's base and button with a side's colour and its text to read on it.
void paintWithSideColour(QPalette& palette, const QColor& colour);

} // namespace dbsift
