// SPDX-License-Identifier: MIT
#include "Options.h"

#include <sifkit/RowFilter.h>
#include <sifkit/Version.h>

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <tuple>

namespace dbsift::cli {

namespace {

const char* const description =
    "Compares two databases, an Original and a Modified one, each a database file (SQLite, or\n"
    "Access .mdb and .accdb, read only) or dsn:NAME for an ODBC data source.\n"
    "\n"
    "Structure mode (the default) lists the tables on one side only and, with --fields, the\n"
    "fields on one side only and the fields whose type differs. Data mode (--table) lists every\n"
    "record of either side that has no equal record on the other side; --data counts them for\n"
    "every table both databases hold. After either, --sql-script writes the changes that make\n"
    "one database like the other as a script, and --apply makes them (--undo takes them back).";

const char* const footer =
    "Exit status: 0 no differences, 1 differences found, 2 trouble.\n"
    "\n"
    "Records: a record number is the record's position in its side's table. Records pair with\n"
    "their counterpart on the other side through every column of the table's primary key, or of\n"
    "the --key given, when the key is among the compared columns. Null values read Null (null in\n"
    "JSON).\n"
    "\n"
    "JSON: one document, {\"mode\": \"structure\" | \"data\" | \"data-summary\", \"original\",\n"
    "\"modified\", "
    "\"differences\": N, ...}; structure runs add \"fields\", \"views\", "
    "\"differencesOnly\",\n\"typesByFamily\" and "
    "\"items\": [{\"side\", \"kind\", \"object\", \"field\", \"type\", \"change\", \"description\",\n"
    "\"primaryKey\", \"comparable\"}]; data runs add \"table\", \"columns\", \"primaryKey\",\n\"pairedBy\", "
    "\"unpairedCopies\" and "
    "\"records\": [{\"side\", \"record\", \"key\", \"counterpart\", \"values\": {column: text}}] and\n"
    "\"changed\": [{\"key\", \"original\", \"modified\", \"columns\": {column: {\"original\",\n"
    "\"modified\"}}}]; --data runs (\"mode\": \"data-summary\") add \"tables\": [{\"table\",\n"
    "\"compared\", \"reason\", \"key\", \"originalRecords\", \"modifiedRecords\", \"onlyInOriginal\",\n"
    "\"onlyInModified\", \"changed\", \"identical\"}].\n"
    "The manual page (man dbsift-compare) tells every field, as does README.md in the\n"
    "installation's share/doc/dbsift-compare.\n"
    "\n"
    "The password is read from the environment variable --password-env names, never from the\n"
    "command line, and is never shown.";

/// A list option: one list a time, comma-separated, and repeatable, so that the databases after
/// it stay databases.
CLI::Option* addListOption(CLI::App& app, const std::string& name, std::vector<std::string>& values,
                           const std::string& help) {
    return app.add_option(name, values, help)
        ->option_text("A,B,...")
        ->delimiter(',')
        ->expected(1)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

/// Ends the run with a usage error when a list holds an empty name.
bool holdsEmptyName(const std::vector<std::string>& names, const char* option) {
    for (const auto& name : names)
        if (name.empty()) {
            std::cerr << "dbsift-compare: " << option << " holds an empty column name\n";
            return true;
        }
    return false;
}

std::vector<std::string> trimmed(std::vector<std::string> names) {
    for (auto& name : names) {
        auto begin = name.find_first_not_of(" \t");
        auto end = name.find_last_not_of(" \t");
        name = begin == std::string::npos ? std::string() : name.substr(begin, end - begin + 1);
    }
    return names;
}

bool allowedWithComparison(const std::string& option) {
    return option == "--format" || option == "--user" || option == "--password-env" ||
           option == "--show-sql" || option == "--sql-script" || option == "--apply" || option == "--yes" ||
           option == "--direction";
}

bool allowedWithUndo(const std::string& option) {
    return option == "--password-env" || option == "--show-sql";
}

/// Fills the options from a saved comparison. Its user IDs are each side's; a --user given
/// stands in for both.
void applyComparison(const SavedComparison& comparison, Options& options) {
    options.original = comparison.original;
    options.modified = comparison.modified;
    options.originalUser = comparison.originalUser;
    options.modifiedUser = comparison.modifiedUser;
    options.fields = comparison.fields;
    options.views = comparison.views;
    options.differencesOnly = comparison.differencesOnly;
    options.typesByFamily = comparison.typesByFamily;
    options.table = comparison.kind == ComparisonKind::Table ? comparison.table : "";
    options.allTables = comparison.kind == ComparisonKind::EveryTable;
    options.columns = comparison.data.columns;
    options.key = comparison.data.key;
    options.tableKeys = comparison.data.tableKeys;
    options.ignoreColumns = comparison.data.ignoreColumns;
    options.valueOptions = comparison.data.options;
    options.originalFilter = comparison.data.originalFilter;
    options.modifiedFilter = comparison.data.modifiedFilter;
}

} // namespace

SavedComparison comparisonOf(const Options& options) {
    SavedComparison comparison;
    comparison.original = options.original;
    comparison.modified = options.modified;
    comparison.originalUser = options.user.empty() ? options.originalUser : options.user;
    comparison.modifiedUser = options.user.empty() ? options.modifiedUser : options.user;
    comparison.kind = options.dataMode()  ? ComparisonKind::Table
                      : options.allTables ? ComparisonKind::EveryTable
                                          : ComparisonKind::Structure;
    comparison.fields = options.fields;
    comparison.views = options.views;
    comparison.differencesOnly = options.differencesOnly;
    comparison.typesByFamily = options.typesByFamily;
    comparison.table = options.table;
    comparison.data = {.columns = options.columns,
                       .ignoreColumns = options.ignoreColumns,
                       .key = options.key,
                       .tableKeys = options.tableKeys,
                       .options = options.valueOptions,
                       .originalFilter = options.originalFilter,
                       .modifiedFilter = options.modifiedFilter};
    return comparison;
}

std::optional<int> parseOptions(int argc, char** argv, Options& options) {
    CLI::App app{description, "dbsift-compare"};
    std::string timePrecision;
    app.footer(footer);
    app.set_version_flag("--version", std::string("dbsift-compare ") + sifkit::version(),
                         "Show the version and exit");
    app.get_formatter()->column_width(26);

    app.add_option("ORIGINAL", options.original, "The Original database: a file path or dsn:NAME")
        ->option_text(" ");
    app.add_option("MODIFIED", options.modified, "The Modified database: a file path or dsn:NAME")
        ->option_text(" ");

    auto* fields = app.add_flag("--fields", options.fields,
                                "Structure: also compare the fields of the tables on both sides");
    auto* views =
        app.add_flag("--views", options.views,
                     "Structure: list views as well as tables; with --data, compare their records too");
    auto* differencesOnly = app.add_flag("--differences-only", options.differencesOnly,
                                         "Structure: hide the items that did not change");
    auto* table =
        app.add_option("--table", options.table, "Data mode: compare the records of this table (or view)")
            ->option_text("TABLE");
    addListOption(app, "--columns", options.columns,
                  "Data mode: the columns to compare (default: every comparable column present "
                  "on both sides); may be given more than once")
        ->needs(table);
    std::string bothFilter;
    auto* where =
        app.add_option("--where", bothFilter,
                       "Data mode: compare only the records that meet this SQL condition, on both sides")
            ->option_text("CONDITION")
            ->needs(table);
    std::vector<std::pair<CLI::Option*, const std::string*>> filters{{where, &bothFilter}};
    for (auto [name, filter, side] : {std::tuple{"--where-original", &options.originalFilter, "Original"},
                                      std::tuple{"--where-modified", &options.modifiedFilter, "Modified"}})
        filters.emplace_back(app.add_option(name, *filter,
                                            std::string("Data mode: compare only the ") + side +
                                                "'s records that meet this condition")
                                 ->option_text("CONDITION")
                                 ->needs(table)
                                 ->excludes(where),
                             filter);
    auto* allTables = app.add_flag("--data", options.allTables,
                                   "Compare the records of every table both databases hold (of views too "
                                   "with --views) and count the differences per table")
                          ->excludes(table)
                          ->option_text(" ");
    addListOption(app, "--key", options.key,
                  "Data: pair records by these columns in place of the primary key (with --data, in "
                  "the tables that compare them all)");
    addListOption(app, "--ignore-columns", options.ignoreColumns, "Data: never compare these columns");
    sifkit::ValueOptions& values = options.valueOptions;
    const std::vector<CLI::Option*> valueFlags = {
        app.add_flag("--ignore-case", values.ignoreCase, "Data: compare texts without letter case"),
        app.add_flag("--ignore-blanks", values.ignoreBlanks,
                     "Data: leave out white space at the start and end of texts"),
        app.add_flag("--null-is-empty", values.nullIsEmpty, "Data: a Null equals the empty text"),
        app.add_option("--tolerance", values.tolerance,
                       "Data: reals and decimals that differ by at most this are equal")
            ->option_text("NUMBER"),
        app.add_option("--time-precision", timePrecision,
                       "Data: compare times to whole seconds, milliseconds or microseconds")
            ->check(CLI::IsMember({"s", "ms", "us"}))
            ->option_text("s|ms|us")};
    auto* typesByFamily = app.add_flag(
        "--types-by-family", options.typesByFamily,
        "Structure: field types of one family are the same (INTEGER and bigint, TEXT and varchar)");
    for (auto* structureOnly : {fields, differencesOnly, typesByFamily})
        structureOnly->excludes(table)->excludes(allTables)->option_text(" ");
    views->excludes(table)->option_text(" ");

    std::string format = "text";
    app.add_option("--format", format, "Output: text (aligned columns), json or csv")
        ->check(CLI::IsMember({"text", "json", "csv"}))
        ->option_text("text|json|csv");
    app.add_option("--user", options.user, "User ID for the data sources (dsn:NAME)")->option_text("USER");
    app.add_option("--password-env", options.passwordEnv,
                   "The environment variable that holds the data sources' password")
        ->option_text("VAR");
    app.add_flag("--show-sql", options.showSql,
                 "Print every SQL statement sent to the databases, with its bound values, on standard error");
    auto* comparison =
        app.add_option("--comparison", options.comparisonFile,
                       "Run the comparison saved in this file (the window's File > Save Comparison); only "
                       "--format, --user, --password-env, --show-sql and the options that bring the "
                       "databases into line may be given with it")
            ->option_text("FILE");
    auto* sqlScript =
        app.add_option("--sql-script", options.sqlScript,
                       "Data: write the changes that make the Modified like the Original (see --direction) "
                       "as an SQL script for its database to this file")
            ->option_text("FILE");
    auto* apply = app.add_flag("--apply", options.apply,
                               "Data: make those changes in the database, in one transaction, after asking "
                               "(see --yes); the undo file that takes them back is named on standard error");
    app.add_flag("--yes", options.yes, "Apply without asking")->needs(apply);
    std::string direction = "to-modified";
    auto* directionOption =
        app.add_option("--direction", direction,
                       "to-modified (the default) changes the Modified to match the Original; to-original "
                       "the Original to match the Modified")
            ->check(CLI::IsMember({"to-modified", "to-original"}))
            ->option_text("to-modified|to-original");
    auto* undo = app.add_option("--undo", options.undoFile,
                                "Take back an applied sync from its undo file (no comparison is run)")
                     ->option_text("FILE");
    app.add_option("--create-samples", options.createSamplesDir,
                   "Create the sample databases DIR/original.db and DIR/modified.db where missing, and exit")
        ->option_text("DIR");

    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& done) { // --help or --version
        return app.exit(done);
    } catch (const CLI::ParseError& error) {
        std::cerr << "dbsift-compare: " << error.what() << " (see dbsift-compare --help)\n";
        return 2;
    }
    if (comparison->count() > 0) {
        for (const CLI::Option* option : app.get_options())
            if (option->count() > 0 && option != comparison && !allowedWithComparison(option->get_name())) {
                std::cerr << "dbsift-compare: --comparison takes the databases and settings from its file: "
                          << (option->get_name().rfind("--", 0) == 0 ? option->get_name() : "a database")
                          << " cannot be given with it\n";
                return 2;
            }
        try {
            applyComparison(readComparisonFile(options.comparisonFile), options);
        } catch (const std::exception& error) {
            std::cerr << "dbsift-compare: " << error.what() << "\n";
            return 2;
        }
    }
    if (undo->count() > 0) {
        for (const CLI::Option* option : app.get_options())
            if (option->count() > 0 && option != undo && !allowedWithUndo(option->get_name())) {
                std::cerr << "dbsift-compare: --undo takes the database from its file: "
                          << (option->get_name().rfind("--", 0) == 0 ? option->get_name() : "a database")
                          << " cannot be given with it\n";
                return 2;
            }
        return std::nullopt;
    }
    options.direction =
        direction == "to-original" ? sifkit::SyncDirection::ToOriginal : sifkit::SyncDirection::ToModified;
    if ((sqlScript->count() > 0 || apply->count() > 0) && !options.comparesData()) {
        std::cerr << "dbsift-compare: --sql-script and --apply need --table or --data\n";
        return 2;
    }
    if (directionOption->count() > 0 && !options.syncs()) {
        std::cerr << "dbsift-compare: --direction needs --sql-script or --apply\n";
        return 2;
    }
    if (sqlScript->count() > 0 && options.sqlScript.empty()) {
        std::cerr << "dbsift-compare: --sql-script needs a file name\n";
        return 2;
    }
    options.columns = trimmed(std::move(options.columns));
    options.key = trimmed(std::move(options.key));
    options.ignoreColumns = trimmed(std::move(options.ignoreColumns));
    options.format = format == "json" ? Format::Json : format == "csv" ? Format::Csv : Format::Text;
    if (table->count() > 0 && options.table.empty()) {
        std::cerr << "dbsift-compare: --table needs a table name\n";
        return 2;
    }
    if (!(values.tolerance >= 0) || !std::isfinite(values.tolerance)) {
        std::cerr << "dbsift-compare: --tolerance needs a number of 0 or more, not "
                  << app["--tolerance"]->as<std::string>() << "\n";
        return 2;
    }
    for (auto [option, filter] : filters)
        if (const std::string why = option->count() > 0 ? sifkit::whyNotARowFilter(*filter) : "";
            !why.empty()) {
            std::cerr << "dbsift-compare: " << option->get_name() << ": " << why << "\n";
            return 2;
        }
    if (where->count() > 0)
        options.originalFilter = options.modifiedFilter = bothFilter;
    if (app["--time-precision"]->count() > 0)
        values.timePrecision = sifkit::timePrecisionFrom(timePrecision);
    const bool valueOptionGiven = std::any_of(valueFlags.begin(), valueFlags.end(),
                                              [](const CLI::Option* flag) { return flag->count() > 0; });
    if ((!options.key.empty() || !options.ignoreColumns.empty() || valueOptionGiven) &&
        !options.comparesData()) {
        std::cerr << "dbsift-compare: --key, --ignore-columns and the value options need --table or --data\n";
        return 2;
    }
    if (holdsEmptyName(options.columns, "--columns") || holdsEmptyName(options.key, "--key") ||
        holdsEmptyName(options.ignoreColumns, "--ignore-columns"))
        return 2;

    const bool comparing = !options.original.empty() || !options.modified.empty();
    if (!options.createSamplesDir.empty()) {
        if (comparing || options.comparesData()) {
            std::cerr << "dbsift-compare: --create-samples takes no databases to compare\n";
            return 2;
        }
        return std::nullopt;
    }
    if (options.original.empty() || options.modified.empty()) {
        std::cerr << "dbsift-compare: two databases are needed, ORIGINAL and MODIFIED (see dbsift-compare "
                     "--help)\n";
        return 2;
    }
    return std::nullopt;
}

} // namespace dbsift::cli
