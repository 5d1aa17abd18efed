// SPDX-License-Identifier: MIT
#include "ValueFolding.h"

#include <unicode/ucasemap.h>

#include <cmath>
#include <memory>

namespace sifkit::detail {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

/// Whether text holds digits and the separators of the pattern, where 'd' stands for a digit.
bool matches(std::string_view text, std::size_t at, std::string_view pattern) {
    if (at + pattern.size() > text.size())
        return false;
    for (std::size_t i = 0; i < pattern.size(); ++i)
        if (pattern[i] == 'd' ? !isDigit(text[at + i]) : text[at + i] != pattern[i])
            return false;
    return true;
}

/// Whether what follows a time is a zone: "Z", "+02", "-0530", "+05:30", or nothing.
bool isZone(std::string_view rest) {
    if (rest.empty() || rest == "Z")
        return true;
    if (rest.front() != '+' && rest.front() != '-')
        return false;
    rest.remove_prefix(1);
    return rest.size() == 2   ? matches(rest, 0, "dd")
           : rest.size() == 4 ? matches(rest, 0, "dddd")
                              : rest.size() == 5 && matches(rest, 0, "dd:dd");
}

struct CaseMapCloser {
    void operator()(UCaseMap* map) const { ucasemap_close(map); }
};

/// ICU's case mapper of this thread (the two sides of a comparison are read on two threads).
UCaseMap* caseMap() {
    thread_local std::unique_ptr<UCaseMap, CaseMapCloser> map = [] {
        UErrorCode status = U_ZERO_ERROR;
        return std::unique_ptr<UCaseMap, CaseMapCloser>(ucasemap_open("", U_FOLD_CASE_DEFAULT, &status));
    }();
    return map.get();
}

/// The text's letters case-folded into out (ASCII by itself, anything else through ICU's
/// full case folding, so that "STRASSE" and "straße" are one text).
void foldCase(std::string_view text, std::string& out) {
    bool ascii = true;
    for (char c : text)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (!ascii && caseMap()) {
        // Folding can lengthen a text (ß becomes ss): at most three times its length.
        out.resize(text.size() * 3 + 4);
        UErrorCode status = U_ZERO_ERROR;
        const int32_t length = ucasemap_utf8FoldCase(caseMap(), out.data(), static_cast<int32_t>(out.size()),
                                                     text.data(), static_cast<int32_t>(text.size()), &status);
        if (U_SUCCESS(status)) {
            out.resize(static_cast<std::size_t>(length));
            return;
        }
    }
    // ASCII, or a text ICU cannot read as UTF-8: its ASCII letters are folded.
    out.assign(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
}

int fractionDigits(TimePrecision precision) {
    switch (precision) {
    case TimePrecision::Seconds:
        return 0;
    case TimePrecision::Milliseconds:
        return 3;
    default:
        return 6;
    }
}

} // namespace

bool cutTimeToPrecision(std::string& text, TimePrecision precision) {
    std::size_t at = 0;
    if (matches(text, 0, "dddd-dd-dd")) {
        if (text.size() == 10)
            return true; // a date alone has nothing to cut
        if (text[10] != ' ' && text[10] != 'T')
            return false;
        at = 11;
    }
    if (!matches(text, at, "dd:dd:dd"))
        return false;
    std::size_t fractionStart = at + 8;
    std::size_t fractionEnd = fractionStart;
    if (fractionEnd < text.size() && text[fractionEnd] == '.') {
        ++fractionEnd;
        while (fractionEnd < text.size() && isDigit(text[fractionEnd]))
            ++fractionEnd;
    }
    if (!isZone(std::string_view(text).substr(fractionEnd)))
        return false;
    std::size_t keep =
        std::min(fractionEnd, fractionStart + 1 + static_cast<std::size_t>(fractionDigits(precision)));
    while (keep > fractionStart + 1 && text[keep - 1] == '0')
        --keep;
    if (keep == fractionStart + 1 || keep == fractionStart)
        keep = fractionStart;
    text.erase(keep, fractionEnd - keep);
    if (at == 11)
        text[10] = ' ';
    return true;
}

std::string_view foldedText(std::string_view text, const ValueOptions& options, std::string& buffer) {
    if (options.ignoreBlanks) {
        while (!text.empty() && isBlank(text.front()))
            text.remove_prefix(1);
        while (!text.empty() && isBlank(text.back()))
            text.remove_suffix(1);
    }
    const bool cutTime =
        options.timePrecision != TimePrecision::Exact && text.size() >= 8 && text.size() <= 48;
    if (!options.ignoreCase && !cutTime)
        return text;
    buffer.assign(text);
    if (cutTime)
        cutTimeToPrecision(buffer, options.timePrecision); // a text not shaped as a time stays
    if (options.ignoreCase) {
        std::string folded;
        foldCase(buffer, folded);
        buffer = std::move(folded);
    }
    return buffer;
}

bool withinTolerance(long double a, long double b, double tolerance) {
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    if (a == b)
        return true;
    const long double difference = std::fabs(a - b);
    const long double scale = std::fmax(std::fabs(a), std::fabs(b));
    return difference <= static_cast<long double>(tolerance) + scale * 1e-15L;
}

} // namespace sifkit::detail
