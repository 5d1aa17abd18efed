// SPDX-License-Identifier: MIT
#include "Comparison.h"

#include "CliError.h"
#include "DatabaseTarget.h"

#include <sifkit/RowFilter.h>

#include <nlohmann/json.hpp>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace dbsift::cli {

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* formatName = "dbsift-comparison";
constexpr int formatVersion = 1;

const char* kindName(ComparisonKind kind) {
    switch (kind) {
    case ComparisonKind::Table:
        return "table";
    case ComparisonKind::EveryTable:
        return "every-table";
    case ComparisonKind::Structure:
        break;
    }
    return "structure";
}

Json textOrNull(const std::string& text) {
    return text.empty() ? Json(nullptr) : Json(text);
}

/// Reads the members of one object, each once, and refuses the ones it was not asked for: a
/// misspelt option must not be dropped without a word.
class Members {
public:
    Members(const Json& object, std::string where) : object_(object), where_(std::move(where)) {
        if (!object_.is_object())
            fail(where_ + " is not a JSON object");
    }

    [[noreturn]] static void fail(const std::string& why) { throw CliError("the comparison " + why); }

    const Json* find(const std::string& key) {
        read_.insert(key);
        const auto found = object_.find(key);
        return found == object_.end() || found->is_null() ? nullptr : &*found;
    }

    std::string text(const std::string& key) {
        const Json* value = find(key);
        if (value && !value->is_string())
            fail(named(key) + " is not a text");
        return value ? value->get<std::string>() : std::string();
    }

    bool flag(const std::string& key) {
        const Json* value = find(key);
        if (value && !value->is_boolean())
            fail(named(key) + " is not true or false");
        return value && value->get<bool>();
    }

    std::vector<std::string> names(const std::string& key) {
        std::vector<std::string> list;
        const Json* value = find(key);
        if (!value)
            return list;
        if (!value->is_array())
            fail(named(key) + " is not a list of column names");
        std::set<std::string> seen;
        for (const Json& name : *value) {
            if (!name.is_string() || name.get<std::string>().empty())
                fail(named(key) + " holds an entry that is not a column name");
            if (!seen.insert(name.get<std::string>()).second)
                fail(named(key) + " names \"" + name.get<std::string>() + "\" twice");
            list.push_back(name.get<std::string>());
        }
        return list;
    }

    double number(const std::string& key) {
        const Json* value = find(key);
        if (value && !value->is_number())
            fail(named(key) + " is not a number");
        return value ? value->get<double>() : 0;
    }

    /// Fails on the first member none of the readers asked for.
    void refuseTheRest() const {
        for (const auto& [key, value] : object_.items())
            if (read_.count(key) == 0)
                fail(where_ + " holds \"" + key + "\", which is not a comparison setting");
    }

    std::string named(const std::string& key) const { return "setting \"" + key + "\""; }

private:
    const Json& object_;
    std::string where_;
    std::set<std::string> read_;
};

std::string database(Members& members, const std::string& key, const std::string& folder) {
    const std::string named = members.text(key);
    if (named.empty())
        Members::fail("names no " + std::string(key == "original" ? "Original" : "Modified") +
                      " database (setting \"" + key + "\")");
    if (named.rfind(dataSourcePrefix, 0) == 0 || folder.empty())
        return named;
    const std::filesystem::path path(named);
    return path.is_absolute() ? named : (std::filesystem::path(folder) / path).lexically_normal().string();
}

sifkit::ValueOptions valueOptions(Members& top) {
    sifkit::ValueOptions options;
    const Json* object = top.find("valueOptions");
    if (!object)
        return options;
    Members members(*object, "setting \"valueOptions\"");
    options.ignoreCase = members.flag("ignoreCase");
    options.ignoreBlanks = members.flag("ignoreBlanks");
    options.nullIsEmpty = members.flag("nullIsEmpty");
    options.tolerance = members.number("tolerance");
    if (!(options.tolerance >= 0) || !std::isfinite(options.tolerance))
        Members::fail("setting \"tolerance\" needs a number of 0 or more");
    const std::string precision = members.text("timePrecision");
    options.timePrecision = sifkit::timePrecisionFrom(precision);
    if (!precision.empty() && options.timePrecision == sifkit::TimePrecision::Exact)
        Members::fail("setting \"timePrecision\" is \"" + precision +
                      "\": it is \"s\", \"ms\", \"us\" or null");
    members.refuseTheRest();
    return options;
}

std::map<std::string, std::vector<std::string>> tableKeys(Members& top) {
    std::map<std::string, std::vector<std::string>> keys;
    const Json* object = top.find("tableKeys");
    if (!object || object->is_null())
        return keys;
    if (!object->is_object())
        Members::fail("setting \"tableKeys\" is not an object of tables and their keys");
    Members members(*object, "setting \"tableKeys\"");
    for (const auto& [table, key] : object->items())
        keys[table] = members.names(table);
    return keys;
}

void readFilters(Members& top, DataSettings& data) {
    const Json* object = top.find("filters");
    if (!object)
        return;
    Members members(*object, "setting \"filters\"");
    for (auto [key, filter] :
         {std::pair{"original", &data.originalFilter}, {"modified", &data.modifiedFilter}}) {
        *filter = members.text(key);
        if (const std::string why = sifkit::whyNotARowFilter(*filter); !filter->empty() && !why.empty())
            Members::fail("row filter of the " + std::string(key) + " side: " + why);
    }
    members.refuseTheRest();
}

/// Settings that mean nothing for the kind of comparison are refused rather than ignored.
void checkFitsKind(const SavedComparison& comparison) {
    const bool structure = comparison.kind == ComparisonKind::Structure;
    const bool table = comparison.kind == ComparisonKind::Table;
    const DataSettings& data = comparison.data;
    const char* kind = kindName(comparison.kind);
    if (table && comparison.table.empty())
        Members::fail("compares a table but names none (setting \"table\")");
    if (!table && !comparison.table.empty())
        Members::fail("names a table, but compares \"" + std::string(kind) +
                      "\": write \"compare\": \"table\"");
    if (!table && (!data.columns.empty() || !data.originalFilter.empty() || !data.modifiedFilter.empty()))
        Members::fail("has columns or row filters, which only a comparison of one table takes");
    if (comparison.kind != ComparisonKind::EveryTable && !data.tableKeys.empty())
        Members::fail("has \"tableKeys\", which only a comparison of every table takes (a comparison of one "
                      "table gives its \"key\")");
    if (structure && (!data.key.empty() || !data.ignoreColumns.empty() || !data.options.exact()))
        Members::fail("has a key, ignored columns or value options, which only data comparisons take");
    if (!structure && (comparison.fields || comparison.differencesOnly || comparison.typesByFamily))
        Members::fail("has \"fields\", \"differencesOnly\" or \"typesByFamily\", which only structure "
                      "comparisons take");
    if (table && comparison.views)
        Members::fail("has \"views\", which a comparison of one table does not take");
}

} // namespace

std::string comparisonDocument(const SavedComparison& comparison) {
    const DataSettings& data = comparison.data;
    const std::string precision = sifkit::spellingOf(data.options.timePrecision);
    const Json document{
        {"format", formatName},
        {"version", formatVersion},
        {"original", comparison.original},
        {"modified", comparison.modified},
        {"originalUser", textOrNull(comparison.originalUser)},
        {"modifiedUser", textOrNull(comparison.modifiedUser)},
        {"compare", kindName(comparison.kind)},
        {"fields", comparison.fields},
        {"views", comparison.views},
        {"differencesOnly", comparison.differencesOnly},
        {"typesByFamily", comparison.typesByFamily},
        {"table", textOrNull(comparison.table)},
        {"columns", data.columns},
        {"key", data.key},
        {"tableKeys", data.tableKeys},
        {"ignoreColumns", data.ignoreColumns},
        {"valueOptions",
         {{"ignoreCase", data.options.ignoreCase},
          {"ignoreBlanks", data.options.ignoreBlanks},
          {"nullIsEmpty", data.options.nullIsEmpty},
          {"tolerance", data.options.tolerance},
          {"timePrecision", textOrNull(precision)}}},
        {"filters",
         {{"original", textOrNull(data.originalFilter)}, {"modified", textOrNull(data.modifiedFilter)}}}};
    return document.dump(2) + "\n";
}

SavedComparison comparisonFromDocument(const std::string& document, const std::string& folder) {
    const Json parsed = Json::parse(document, nullptr, false);
    if (parsed.is_discarded())
        Members::fail("is not JSON");
    Members members(parsed, "document");
    if (members.text("format") != formatName)
        Members::fail("does not say \"format\": \"" + std::string(formatName) + "\"");
    const Json* version = members.find("version");
    if (!version || !version->is_number_integer() || version->get<int>() != formatVersion)
        Members::fail("is not of version " + std::to_string(formatVersion) +
                      " (setting \"version\"), the version this program reads");
    if (members.find("password"))
        Members::fail("holds a password: comparisons keep none (give it with --password-env)");

    SavedComparison comparison;
    comparison.original = database(members, "original", folder);
    comparison.modified = database(members, "modified", folder);
    comparison.originalUser = members.text("originalUser");
    comparison.modifiedUser = members.text("modifiedUser");
    const std::string kind = members.text("compare");
    bool known = kind.empty();
    for (ComparisonKind candidate :
         {ComparisonKind::Structure, ComparisonKind::Table, ComparisonKind::EveryTable})
        if (kind == kindName(candidate)) {
            comparison.kind = candidate;
            known = true;
        }
    if (!known)
        Members::fail("setting \"compare\" is \"" + kind +
                      "\": it is \"structure\", \"table\" or \"every-table\"");
    comparison.fields = members.flag("fields");
    comparison.views = members.flag("views");
    comparison.differencesOnly = members.flag("differencesOnly");
    comparison.typesByFamily = members.flag("typesByFamily");
    comparison.table = members.text("table");
    comparison.data.columns = members.names("columns");
    comparison.data.key = members.names("key");
    comparison.data.tableKeys = tableKeys(members);
    comparison.data.ignoreColumns = members.names("ignoreColumns");
    comparison.data.options = valueOptions(members);
    readFilters(members, comparison.data);
    members.refuseTheRest();
    checkFitsKind(comparison);
    return comparison;
}

SavedComparison readComparisonFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    if (!file || !(text << file.rdbuf()))
        throw CliError("cannot read the comparison file " + path);
    try {
        // Its databases are named from its absolute folder, as the window names them, so both
        // front ends report them alike wherever dbsift-compare runs.
        std::error_code unknown;
        const std::filesystem::path absolute =
            std::filesystem::absolute(std::filesystem::path(path), unknown);
        return comparisonFromDocument(
            text.str(), (unknown ? std::filesystem::path(path) : absolute).parent_path().string());
    } catch (const CliError& error) {
        throw CliError(std::string(error.what()) + " (" + path + ")");
    }
}

void writeComparisonFile(const std::string& path, const SavedComparison& comparison) {
    const std::string partial = path + ".part";
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        file << comparisonDocument(comparison);
        file.close();
        if (!file) {
            std::error_code ignored;
            std::filesystem::remove(partial, ignored);
            throw CliError("cannot write the comparison file " + path);
        }
    }
    std::error_code failed;
    std::filesystem::rename(partial, path, failed);
    if (failed) {
        std::filesystem::remove(partial, failed);
        throw CliError("cannot write the comparison file " + path);
    }
}

} // namespace dbsift::cli
