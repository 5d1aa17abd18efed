#include "SchemaCatalogue.h"

#include <cctype>

namespace sifkit::detail {

namespace {

const char* const noForeignKey = "No Foreign(s) key Defined";

std::string keyText(const Recordset& keys, const char* column) {
    Value value = keys.field(column).value();
    std::string text = value.toString();
    return text.empty() ? noForeignKey : text;
}

std::string folded(std::string name) {
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

void setNoForeignKey(clsResultSet& item) {
    item.setFKeyPrimaryTable("Not Defined");
    item.setFKeyName("FKey name not defined");
    item.setFKeyPrimaryColName("Key was not defined");
    item.setFKeyColumnName(noForeignKey);
}

} // namespace

std::optional<ForeignKeyTargets> ForeignKeyTargets::collect(const Connection& connection,
                                                            const std::vector<std::string>& tables) {
    ForeignKeyTargets targets;
    try {
        for (const std::string& table : tables) {
            Recordset keys =
                connection.openSchema(Connection::SchemaForeignKeys, {"", "", "", "", "", table});
            for (; !keys.eof(); keys.moveNext())
                targets.foldedNames_.insert(folded(keys.field("PK_TABLE_NAME").value().toString()));
        }
    } catch (...) {
        return std::nullopt;
    }
    return targets;
}

bool ForeignKeyTargets::mayBeReferenced(const std::string& table) const {
    return foldedNames_.contains(folded(table));
}

void fillForeignKeyInfo(clsResultSet& item, clsDBManager& manager, const ForeignKeyTargets* targets) {
    if (targets && !targets->mayBeReferenced(manager.getTableName())) {
        setNoForeignKey(item);
        return;
    }
    Recordset keys = manager.getAccessForeignKey(manager.getTableName());
    // A catalogue that could not be read counts as one without foreign keys: the table is
    // still listed.
    if (keys.state() == 1 && !keys.eof()) {
        item.setFKeyColumnName(keyText(keys, "FK_COLUMN_NAME"));
        item.setFKeyName(keyText(keys, "FK_NAME"));
        item.setFKeyPrimaryColName(keyText(keys, "PK_COLUMN_NAME"));
        item.setFKeyPrimaryTable(keyText(keys, "PK_TABLE_NAME"));
        item.setPKeyName(keyText(keys, "PK_NAME"));
    } else {
        setNoForeignKey(item);
    }
    if (keys.state() == 1)
        keys.close();
}

} // namespace sifkit::detail
