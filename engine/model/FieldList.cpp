// SPDX-License-Identifier: MIT
#include <sifkit/FieldList.h>

#include <cctype>

namespace sifkit {

std::string writeFieldList(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names) {
        list += list.empty() ? "[" : ",[";
        for (char c : name)
            list += c == ']' ? std::string("]]") : std::string(1, c);
        list += "]";
    }
    return list;
}

std::optional<std::vector<std::string>> parseFieldList(const std::string& fieldList) {
    std::vector<std::string> names;
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < fieldList.size() && (fieldList[i] == ' ' || fieldList[i] == '\t'))
            ++i;
    };
    skipBlanks();
    if (i == fieldList.size() ||
        (fieldList[i] == '*' && fieldList.find_first_not_of(" \t", i + 1) == std::string::npos))
        return names;
    while (true) {
        std::string name;
        if (i < fieldList.size() && fieldList[i] == '[') {
            bool closed = false;
            for (++i; i < fieldList.size(); ++i) {
                if (fieldList[i] == ']') {
                    if (i + 1 < fieldList.size() && fieldList[i + 1] == ']') {
                        name += ']';
                        ++i;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                name += fieldList[i];
            }
            if (!closed)
                return std::nullopt;
        } else {
            while (i < fieldList.size() &&
                   (std::isalnum(static_cast<unsigned char>(fieldList[i])) || fieldList[i] == '_'))
                name += fieldList[i++];
        }
        if (name.empty())
            return std::nullopt;
        names.push_back(std::move(name));
        skipBlanks();
        if (i == fieldList.size())
            return names;
        if (fieldList[i] != ',')
            return std::nullopt;
        ++i;
        skipBlanks();
    }
}

} // namespace sifkit
