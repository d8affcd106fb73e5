#pragma once

#include <regex.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

// Answers whether some file the simulator serves holds key in section.
using ParameterExists = std::function<bool(const std::string& section, const std::string& key)>;

// Splits SECTION/KEY at the first "/" after which the rest names a key of
// that section, since section names and keys may hold "/" themselves
// ("HTTP/FTP/Password", "SMB/Domain/GroupName"). "/KEY" names the unnamed
// section. Empty when no split names a served parameter.
std::optional<std::pair<std::string, std::string>> SplitRuleTarget(const std::string& target,
                                                                   const ParameterExists& exists);

// A value the simulated server refuses for one key wherever it appears: an
// extended regular expression that has to match the whole new value.
class RefusalRule {
public:
    // Reads "SECTION/KEY=PATTERN". Throws std::invalid_argument saying what is
    // wrong with it.
    static RefusalRule Parse(const std::string& text, const ParameterExists& exists);

    RefusalRule(std::string section, std::string key, const std::string& pattern);

    bool Refuses(const std::string& section, const std::string& key, const std::string& value) const;

private:
    std::string section;
    std::string key;
    std::shared_ptr<regex_t> expression;
};
