#include "TypeSpec.h"

namespace {

bool isAddressPlaceholder(std::string_view item) {
    return item == AddressPlaceholder || item == AddressPlaceholderLower;
}

// The choices a parameter offers: the comment's first word when it names
// several ("yes/no"), else the choice list of its "{Type Combo ...}" group.
std::string choiceText(const std::string& comment, const std::string& typeSpec) {
    std::string choices = comment.substr(0, comment.find(' '));
    if (choices.find('/') != std::string::npos) return choices;
    static constexpr std::string_view comboGroup = "{Type Combo ";
    const size_t start = typeSpec.find(comboGroup);
    if (start == std::string::npos) return {};
    const size_t from = start + comboGroup.size();
    const size_t end = typeSpec.find_first_of("} ", from);
    return typeSpec.substr(from, end == std::string::npos ? std::string::npos : end - from);
}

}  // namespace

bool IsSpecialChoice(std::string_view entry) { return isAddressPlaceholder(entry) || entry == ServerListEntry; }

std::vector<std::string> SplitListItems(std::string_view value) {
    std::vector<std::string> items;
    for (;;) {
        const size_t semicolon = value.find(';');
        items.push_back(TrimWhiteSpace(value.substr(0, semicolon)));
        if (semicolon == std::string_view::npos) return items;
        value.remove_prefix(semicolon + 1);
    }
}

std::string PopWord(std::string& text) {
    const size_t blank = text.find(' ');
    if (blank == std::string::npos) {
        std::string word = std::move(text);
        text.clear();
        return word;
    }
    std::string word = text.substr(0, blank);
    const size_t rest = text.find_first_not_of(WhiteSpace, blank + 1);
    text = rest == std::string::npos ? std::string() : text.substr(rest);
    return word;
}

bool NextListItem(std::string& list, std::string& item) {
    do {
        const size_t semicolon = list.find(';');
        item = TrimWhiteSpace(std::string_view(list).substr(0, semicolon));
        if (semicolon == std::string::npos) {
            list.clear();
        } else {
            list.erase(0, semicolon + 1);
        }
    } while (item.empty() && !list.empty());
    return !item.empty();
}

ChoiceList FillChoiceList(const std::string& comment, const std::string& value, const std::string& typeSpec,
                          ChoiceListVariant variant) {
    const bool offersPlaceholder = variant == ChoiceListVariant::ConfigurationPage;
    const bool addressMode = offersPlaceholder && (comment.find(AddressPlaceholder) != std::string::npos ||
                                                   comment.find(AddressPlaceholderLower) != std::string::npos);
    ChoiceList list;
    bool valueListed = false;
    const std::string choices = choiceText(comment, typeSpec);
    std::string_view rest = choices;
    while (!rest.empty()) {
        const size_t slash = rest.find('/');
        const std::string_view item = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (item == value) valueListed = true;
        if (offersPlaceholder && isAddressPlaceholder(item)) continue;
        list.entries.emplace_back(item);
    }
    if (!valueListed) list.entries.push_back(value);
    if (addressMode) list.entries.emplace_back(AddressPlaceholder);
    list.selected = ChoiceEntryFor(list.entries, value);
    return list;
}

int ChoiceEntryFor(const std::vector<std::string>& entries, std::string_view value) {
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] == value) return static_cast<int>(i);
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        if (StartsWithIgnoringCase(entries[i], value)) return static_cast<int>(i);
    }
    return -1;
}
