#include "RefusalRule.h"

#include <stdexcept>

std::optional<std::pair<std::string, std::string>> SplitRuleTarget(const std::string& target,
                                                                   const ParameterExists& exists) {
    for (size_t slash = target.find('/'); slash != std::string::npos; slash = target.find('/', slash + 1)) {
        std::string section = target.substr(0, slash);
        std::string key = target.substr(slash + 1);
        if (!key.empty() && exists(section, key)) return std::make_pair(std::move(section), std::move(key));
    }
    return std::nullopt;
}

RefusalRule RefusalRule::Parse(const std::string& text, const ParameterExists& exists) {
    // Keys never hold "=", so the first one ends the target.
    const size_t equals = text.find('=');
    if (equals == std::string::npos) throw std::invalid_argument("expected SECTION/KEY=PATTERN");
    const auto target = SplitRuleTarget(text.substr(0, equals), exists);
    if (!target) throw std::invalid_argument("no served file holds the parameter " + text.substr(0, equals));
    return RefusalRule(target->first, target->second, text.substr(equals + 1));
}

RefusalRule::RefusalRule(std::string section, std::string key, const std::string& pattern)
    : section(std::move(section)), key(std::move(key)), expression(new regex_t, [](regex_t* compiled) {
          regfree(compiled);
          delete compiled;
      }) {
    const int error = regcomp(expression.get(), pattern.c_str(), REG_EXTENDED);
    if (error != 0) {
        char reason[256];
        regerror(error, expression.get(), reason, sizeof reason);
        // regfree must not see a pattern that did not compile.
        expression.reset(new regex_t, [](regex_t* compiled) { delete compiled; });
        throw std::invalid_argument("pattern " + pattern + ": " + reason);
    }
}

bool RefusalRule::Refuses(const std::string& section, const std::string& key, const std::string& value) const {
    if (section != this->section || key != this->key) return false;
    // The leftmost-longest match starts at 0 and ends at the value's end
    // exactly when some match covers the whole value. The explicit range
    // keeps a NUL byte in the value from ending it early.
    regmatch_t match[1];
    match[0].rm_so = 0;
    match[0].rm_eo = static_cast<regoff_t>(value.size());
    if (regexec(expression.get(), value.c_str(), 1, match, REG_STARTEND) != 0) return false;
    return match[0].rm_so == 0 && match[0].rm_eo == static_cast<regoff_t>(value.size());
}
