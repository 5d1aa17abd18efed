// SPDX-License-Identifier: MIT
#include "Redaction.h"

#include <vector>

namespace dbsift::cli {

namespace {
std::vector<std::string>& secrets() {
    static std::vector<std::string> registered;
    return registered;
}
} // namespace

void registerSecret(const std::string& secret) {
    if (!secret.empty())
        secrets().push_back(secret);
}

std::string redact(std::string text) {
    for (const std::string& secret : secrets()) {
        for (auto at = text.find(secret); at != std::string::npos; at = text.find(secret, at + 4))
            text.replace(at, secret.size(), "****");
    }
    return text;
}

} // namespace dbsift::cli
