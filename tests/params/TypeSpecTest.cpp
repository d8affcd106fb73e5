#include "TypeSpec.h"

#include <gtest/gtest.h>

#include "Catalogue.h"

namespace {

using Entries = std::vector<std::string>;

TEST(FillChoiceList, BuildsEntriesAndSelection) {
    const auto page = ChoiceListVariant::ConfigurationPage;
    const auto quick = ChoiceListVariant::QuickInstallation;
    const struct {
        const char* name;
        std::string comment, value, typeSpec;
        ChoiceListVariant variant;
        Entries entries;
        int selected;
    } cases[] = {
        {"comment choices", "yes/no", "no", "{Type Combo}", page, {"yes", "no"}, 1},
        {"value outside the choices is appended", "", "maybe", "{Type Combo yes/no}", page, {"yes", "no", "maybe"}, 2},
        {"comment wins over the type group", "yes/no", "on", "{Type Combo on/off}", page, {"yes", "no", "on"}, 2},
        {"comment without a slash falls back", "note", "off", "{Type Combo on/off}", page, {"on", "off"}, 1},
        {"only the comment's first word counts", "a/b c/d", "c/d", "{Type Combo}", page, {"a", "b", "c/d"}, 2},
        {"the equal entry wins", "none/no", "no", "{Type Combo}", quick, {"none", "no"}, 1},
        {"other letter case stays as written", "", "YES", "{Type Combo yes/no}", quick, {"yes", "no", "YES"}, 2},
        {"no choices anywhere", "", "x", "{Type Edit}", quick, {"x"}, 0},
        {"empty item between slashes", "a//b", "b", "", quick, {"a", "", "b"}, 2},
        {"trailing slash adds nothing", "a/b/", "a", "", quick, {"a", "b"}, 0},
        {"choices end at a blank in the group", "", "b", "{Type Combo a/b c/d}", quick, {"a", "b"}, 1},
        {"placeholder only in later words", "see XX-XX-XX-XX", "01-02-03-04", "{Type Combo SAP/SERVER_LIST}", page,
         {"SAP", "SERVER_LIST", "01-02-03-04", "XX-XX-XX-XX"}, 2},
        {"lower-case placeholder offered in capitals", "SAP/xx-xx-xx-xx", "SAP", "", page, {"SAP", "XX-XX-XX-XX"}, 0},
        {"placeholder value counts as listed", "SAP/XX-XX-XX-XX", "XX-XX-XX-XX", "", page, {"SAP", "XX-XX-XX-XX"}, 1},
        {"Quick Installation keeps the placeholder as a choice", "SAP/XX-XX-XX-XX", "SAP", "", quick,
         {"SAP", "XX-XX-XX-XX"}, 0},
        {"time zones", "", "Syria", TimeZoneTypeString, page, Entries(), 68},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ChoiceList list = FillChoiceList(c.comment, c.value, c.typeSpec, c.variant);
        if (!c.entries.empty()) { EXPECT_EQ(list.entries, c.entries); }
        EXPECT_EQ(list.selected, c.selected);
    }
}

// The entry a list shows: the equal one, else the first beginning with the value.
TEST(FillChoiceList, ChoiceEntryForTheValue) {
    const Entries entries = {"SAP", "SERVER_LIST", "01-02-03-04", "XX-XX-XX-XX", "no", "none", "No"};
    const std::pair<std::string, int> cases[] = {
        {"SAP", 0}, {"s", 0}, {"se", 1}, {"xx", 3}, {"", 0}, {"SAPX", -1}, {"server_list", 1}, {"No", 6}, {"NO", 4},
    };
    for (const auto& [value, index] : cases) EXPECT_EQ(ChoiceEntryFor(entries, value), index) << value;
    EXPECT_EQ(ChoiceEntryFor({}, ""), -1);
}

}  // namespace
