#include "ChangeSet.h"

bool IsPasswordKey(std::string_view key) {
    // SupervisorPassword, NDSAdminPassword, SMBPassword and any other key of
    // that kind end in the word, as the plain Password does.
    return key.ends_with("Password");
}

std::string ShownValue(std::string_view key, const std::string& value) {
    if (!IsPasswordKey(key)) return value;
    return value.empty() ? "-" : "********";
}

std::string SharePathOf(const std::string& folder, const std::string& path) {
    std::string relative = path;
    if (!folder.empty() && relative.compare(0, folder.size(), folder) == 0) relative.erase(0, folder.size());
    for (char& c : relative) {
        if (c == '\\') c = '/';
    }
    const size_t start = relative.find_first_not_of('/');
    return start == std::string::npos ? std::string() : relative.substr(start);
}
