// SPDX-License-Identifier: MIT
#include "StructureRules.h"

#include <unordered_map>

namespace sifkit::detail {

namespace {

/// Where each object and each object's field first occurs among a side's entries.
class FirstOccurrences {
public:
    explicit FirstOccurrences(const std::vector<StructureKey>& keys) {
        for (std::size_t i = 0; i < keys.size(); ++i)
            objects_[keys[i].object].try_emplace(keys[i].field, i);
    }
    bool hasObject(const std::string& object) const { return objects_.count(object) > 0; }
    /// The entry of that object and field, or null.
    const std::size_t* find(const std::string& object, const std::string& field) const {
        auto found = objects_.find(object);
        if (found == objects_.end())
            return nullptr;
        auto entry = found->second.find(field);
        return entry == found->second.end() ? nullptr : &entry->second;
    }

private:
    std::unordered_map<std::string, std::unordered_map<std::string, std::size_t>> objects_;
};

} // namespace

void assignChangeCodes(const std::vector<StructureKey>& mine, const std::vector<StructureKey>& other,
                       std::vector<ChangeCode>& codes, const StructureProgress& progress) {
    const FirstOccurrences others(other);
    const auto count = static_cast<int32_t>(mine.size());
    int32_t sinceEvent = 0;
    for (std::size_t i = 0; i < mine.size(); ++i) {
        if (!other.empty()) {
            const StructureKey& key = mine[i];
            if (!others.hasObject(key.object)) {
                codes[i] = ChangeCode::NewTable;
            } else if (const std::size_t* match = others.find(key.object, key.field)) {
                const bool sameType = key.field.empty() || other[*match].type == key.type;
                codes[i] = sameType ? ChangeCode::NoChange : ChangeCode::DifferentDatatype;
            } else {
                codes[i] = ChangeCode::NewField;
            }
        }
        if (sinceEvent == 50) {
            if (progress)
                progress(static_cast<int32_t>(i + 1), count);
            sinceEvent = 0;
        }
        ++sinceEvent;
    }
}

std::vector<StructureEntry> entriesOf(const Catalogue& catalogue, bool fields) {
    std::vector<StructureEntry> entries;
    for (std::size_t object = 0; object < catalogue.objects.size(); ++object) {
        entries.push_back({object, std::nullopt, ChangeCode::NoChange});
        if (fields)
            for (std::size_t column = 0; column < catalogue.objects[object].columns.size(); ++column)
                entries.push_back({object, column, ChangeCode::NoChange});
    }
    return entries;
}

std::string typeFamilyOf(int32_t typeCode, const std::string& typeName) {
    switch (typeCode) {
    case 2:
    case 3:
    case 16:
    case 17:
    case 18:
    case 19:
    case 20:
    case 21:
        return "integer";
    case 4:
    case 5:
        return "real";
    case 6:
    case 14:
    case 131:
    case 139:
        return "exact number";
    case 8:
    case 129:
    case 130:
    case 200:
    case 201:
    case 202:
    case 203:
        return "text";
    case 128:
    case 204:
    case 205:
        return "binary";
    case 7:
    case 133:
    case 134:
    case 135:
        return "date and time";
    case 11:
        return "truth value";
    default:
        return typeName;
    }
}

std::vector<StructureKey> keysOf(const SideStructure& side, bool typesByFamily) {
    std::vector<StructureKey> keys;
    keys.reserve(side.entries.size());
    for (const StructureEntry& entry : side.entries) {
        const TableSchema& object = side.objectOf(entry);
        const ColumnSchema* column = side.columnOf(entry);
        if (!column)
            keys.push_back({object.name, std::string(), object.type});
        else
            keys.push_back(
                {object.name, column->name,
                 typesByFamily ? typeFamilyOf(column->typeCode, column->typeName) : column->typeName});
    }
    return keys;
}

StructureResult
compareStructures(Catalogue original, Catalogue modified, bool fields, bool typesByFamily,
                  const std::function<void(Side, int32_t position, int32_t count)>& progress) {
    StructureResult result;
    result.fields = fields;
    result.typesByFamily = typesByFamily;
    result.original.catalogue = std::move(original);
    result.modified.catalogue = std::move(modified);
    result.original.entries = entriesOf(result.original.catalogue, fields);
    result.modified.entries = entriesOf(result.modified.catalogue, fields);
    const std::vector<StructureKey> originalKeys = keysOf(result.original, typesByFamily);
    const std::vector<StructureKey> modifiedKeys = keysOf(result.modified, typesByFamily);
    for (auto [side, mine, other, entries] :
         {std::tuple{Side::Original, &originalKeys, &modifiedKeys, &result.original.entries},
          std::tuple{Side::Modified, &modifiedKeys, &originalKeys, &result.modified.entries}}) {
        std::vector<ChangeCode> codes(entries->size(), ChangeCode::NoChange);
        assignChangeCodes(*mine, *other, codes, [&, which = side](int32_t position, int32_t count) {
            if (progress)
                progress(which, position, count);
        });
        for (std::size_t i = 0; i < codes.size(); ++i)
            (*entries)[i].change = codes[i];
    }
    return result;
}

} // namespace sifkit::detail
