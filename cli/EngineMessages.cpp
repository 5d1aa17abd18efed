// SPDX-License-Identifier: MIT
#include "EngineMessages.h"

#include <regex>
#include <string_view>

namespace dbsift::cli {

namespace {

constexpr std::string_view success = "Successfully Completed";

std::string trim(std::string_view text) {
    auto begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string_view::npos)
        return {};
    auto end = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(begin, end - begin + 1));
}

/// The segment without the success notes a routine writes before it appends its failure.
std::string withoutSuccessNotes(std::string segment) {
    while (segment.rfind(success, 0) == 0)
        segment = trim(std::string_view(segment).substr(success.size()));
    return segment;
}

/// "<number> <description> #<n> Error ..." -> "<description>"; engine-only messages
/// ("#19 Error occurred ...") stay whole.
std::string describe(const std::string& segment) {
    static const std::regex accessFailure(R"(^-?[0-9]+ (.*?) #[0-9]+ (Error|Application) .*$)");
    std::smatch match;
    if (std::regex_match(segment, match, accessFailure) && !trim(match[1].str()).empty())
        return trim(match[1].str());
    return segment;
}

} // namespace

std::string firstFailure(const std::string& messageText) {
    std::size_t start = 0;
    while (start < messageText.size()) {
        std::size_t end = messageText.find("||", start);
        if (end == std::string::npos)
            end = messageText.size();
        std::string segment =
            withoutSuccessNotes(trim(std::string_view(messageText).substr(start, end - start)));
        if (!segment.empty())
            return describe(segment);
        start = end + 2;
    }
    return {};
}

std::string firstFailure(const sifkit::clsDBManager& side, MessageKinds kinds) {
    std::string failure = firstFailure(side.getReturnConnectionMessage());
    if (failure.empty())
        failure = firstFailure(side.getReturnMessage());
    if (failure.empty() && kinds == MessageKinds::All)
        failure = firstFailure(side.getReturnSQLMessage());
    return failure;
}

} // namespace dbsift::cli
