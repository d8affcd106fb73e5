#include "ApplyDocument.h"

#include <algorithm>
#include <cctype>

#include <nlohmann/json.hpp>

#include "LocaleText.h"

namespace {

using Json = nlohmann::ordered_json;

bool plainWord(const std::string& name) {
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) return false;
    for (const char c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
    }
    return true;
}

bool refuse(DocumentRefusal& refusal, std::string where, std::string why) {
    refusal = {std::move(where), std::move(why)};
    return false;
}

// A string of the document in the server's bytes.
bool serverText(const std::string& text, const std::string& where, std::string& bytes, DocumentRefusal& refusal) {
    std::string refused;
    if (LocaleText("UTF-8").ToServer(text, bytes, refused)) return true;
    return refuse(refusal, where, "the character " + refused + " cannot be stored on the server");
}

// A wanted value: a string, or a list of strings joined as a repeated key is.
bool valueOf(const Json& value, const std::string& where, std::string& bytes, DocumentRefusal& refusal) {
    if (value.is_string()) return serverText(value.get<std::string>(), where, bytes, refusal);
    if (!value.is_array()) return refuse(refusal, where, "a value must be a string or a list of strings");
    bytes.clear();
    for (size_t i = 0; i < value.size(); ++i) {
        const std::string at = where + "[" + std::to_string(i) + "]";
        if (!value[i].is_string()) return refuse(refusal, at, "a list may hold only strings");
        std::string item;
        if (!serverText(value[i].get<std::string>(), at, item, refusal)) return false;
        bytes += (i == 0 ? "" : " ; ") + item;
    }
    return true;
}

bool sectionsOf(const Json& sections, WantedFile& file, DocumentRefusal& refusal) {
    if (!sections.is_object()) return refuse(refusal, file.where, "a file must hold an object of sections");
    for (const auto& [sectionName, keys] : sections.items()) {
        const std::string where = MemberPath(file.where, sectionName);
        if (!keys.is_object()) return refuse(refusal, where, "a section must hold an object of keys");
        std::string section;
        if (!serverText(sectionName, where, section, refusal)) return false;
        for (const auto& [keyName, value] : keys.items()) {
            WantedValue wanted{section, {}, {}, MemberPath(where, keyName)};
            if (!serverText(keyName, wanted.where, wanted.key, refusal)) return false;
            if (!valueOf(value, wanted.where, wanted.value, refusal)) return false;
            file.values.push_back(std::move(wanted));
        }
    }
    return true;
}

}  // namespace

std::string MemberPath(const std::string& where, const std::string& name) {
    return plainWord(name) ? where + "." + name : where + "[" + Json(name).dump() + "]";
}

bool ParseApplyDocument(const std::string& text, std::vector<WantedFile>& files, DocumentRefusal& refusal) {
    Json document;
    // A key given twice in one object would lose one of its values unseen.
    std::vector<std::vector<std::string>> keys;
    std::string twice;
    const auto noteKeys = [&](int, Json::parse_event_t event, Json& parsed) {
        if (event == Json::parse_event_t::object_start) keys.emplace_back();
        if (event == Json::parse_event_t::object_end) keys.pop_back();
        if (event == Json::parse_event_t::key && !keys.empty()) {
            const std::string key = parsed.get<std::string>();
            if (std::find(keys.back().begin(), keys.back().end(), key) != keys.back().end() && twice.empty()) twice = key;
            keys.back().push_back(key);
        }
        return true;
    };
    try {
        document = Json::parse(text, noteKeys);
    } catch (const Json::parse_error& error) {
        return refuse(refusal, "$", std::string("not valid JSON: ") + error.what());
    }
    if (!twice.empty()) return refuse(refusal, "$", "the key " + Json(twice).dump() + " is given twice in one object");
    if (!document.is_object()) return refuse(refusal, "$", "the document must be an object of files");
    files.clear();
    for (const auto& [name, sections] : document.items()) {
        WantedFile file{name, MemberPath("$", name), {}};
        if (!sectionsOf(sections, file, refusal)) return false;
        files.push_back(std::move(file));
    }
    return true;
}
