// SPDX-License-Identifier: MIT
#include "shell/Colours.h"

#include "shell/FlexGrid.h"

#include <cmath>

namespace dbsift {

namespace {

double channel(int value) {
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& colour) {
    return 0.2126 * channel(colour.red()) + 0.7152 * channel(colour.green()) +
           0.0722 * channel(colour.blue());
}

bool isDark(const QColor& colour) {
    return luminance(colour) < 0.18;
}

/// a mixed with b, share parts of b in 256.
QColor mix(const QColor& a, const QColor& b, int share) {
    auto part = [share](int x, int y) { return (x * (256 - share) + y * share + 128) / 256; };
    return QColor(part(a.red(), b.red()), part(a.green(), b.green()), part(a.blue(), b.blue()));
}

constexpr double kText = 4.5;
constexpr double kMark = 3.0;

} // namespace

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableTextOn(const QColor& background, const QPalette& palette) {
    const QColor text = palette.color(QPalette::Text);
    if (contrastRatio(text, background) >= kText)
        return text;
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return contrastRatio(black, background) >= contrastRatio(white, background) ? black : white;
}

QColor readableAccentOn(const QColor& accent, const QColor& background) {
    if (contrastRatio(accent, background) >= kMark)
        return accent;
    const QColor towards = isDark(background) ? QColor(Qt::white) : QColor(Qt::black);
    for (int share = 32; share <= 256; share += 32) {
        const QColor candidate = mix(accent, towards, share);
        if (contrastRatio(candidate, background) >= kMark)
            return candidate;
    }
    return towards;
}

QColor changedTint(const QColor& background) {
    return mix(background, QColor(255, 190, 60), 128);
}

QColor headerBackground(const QPalette& palette) {
    return palette.color(QPalette::Button);
}

uint32_t defaultOriginalColour(const QPalette& palette) {
    const QColor base = palette.color(QPalette::Base);
    // Half green on a light base; on a dark one a lighter touch keeps light text readable.
    return fromQColor(mix(base, QColor(0, 255, 0), isDark(base) ? 80 : 128));
}

uint32_t defaultModifiedColour(const QPalette& palette) {
    return fromQColor(palette.color(QPalette::Base));
}

void paintWithSideColour(QPalette& palette, const QColor& colour) {
    const QColor text = readableTextOn(colour, palette);
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::Button, colour);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::ButtonText, text);
}

} // namespace dbsift
