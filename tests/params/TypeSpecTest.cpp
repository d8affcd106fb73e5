#include "TypeSpec.h"

#include <gtest/gtest.h>

#include "Catalogue.h"

namespace {

using Entries = std::vector<std::string>;

TEST(PopWord, TakesFirstBlankDelimitedWord) {
    struct Case {
        std::string text, word, rest;
    };
    const Case cases[] = {
        {"NoWhite 20", "NoWhite", "20"},
        {"Int 0 65535", "Int", "0 65535"},
        {"Int -2147483648 2147483647", "Int", "-2147483648 2147483647"},
        {"IP", "IP", ""},
        {"", "", ""},
        {"Text  \t 15", "Text", "15"},  // white space after the blank is dropped
        {"Text\t15", "Text\t15", ""},   // only a blank ends the word
        {"Text ", "Text", ""},
        {" Text", "", "Text"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string text = c.text;
        EXPECT_EQ(PopWord(text), c.word);
        EXPECT_EQ(text, c.rest);
    }
}

TEST(NextListItem, TakesNonEmptyTrimmedItemsInOrder) {
    struct Case {
        std::string list;
        Entries items;
    };
    const Case cases[] = {
        {"a;b", {"a", "b"}},
        {" 10.1.1.1 ; 10.1.1.2 ", {"10.1.1.1", "10.1.1.2"}},
        {";;a;; ;\t;b;", {"a", "b"}},
        {"", {}},
        {" ; ; ", {}},
        {"a b;c", {"a b", "c"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        std::string list = c.list;
        Entries taken;
        std::string item;
        while (NextListItem(list, item)) taken.push_back(item);
        EXPECT_EQ(taken, c.items);
        EXPECT_TRUE(list.empty());
        EXPECT_EQ(item, "");
    }
}

TEST(NextListItem, LeavesTheRestOfTheList) {
    std::string list = "a;b;c";
    std::string item;
    ASSERT_TRUE(NextListItem(list, item));
    EXPECT_EQ(item, "a");
    EXPECT_EQ(list, "b;c");
}

TEST(SplitListItems, KeepsEmptyPieces) {
    EXPECT_EQ(SplitListItems(" a ;;b; "), (Entries{"a", "", "b", ""}));
    EXPECT_EQ(SplitListItems(""), (Entries{""}));
}

struct ChoiceCase {
    const char* name;
    std::string comment, value, typeSpec;
    ChoiceListVariant variant;
    Entries entries;
    int selected;
};

TEST(FillChoiceList, BuildsEntriesAndSelection) {
    const auto page = ChoiceListVariant::ConfigurationPage;
    const auto quick = ChoiceListVariant::QuickInstallation;
    const ChoiceCase cases[] = {
        {"comment choices", "yes/no", "no", "{Type Combo}", page, {"yes", "no"}, 1},
        {"value outside the choices is appended", "", "maybe", "{Type Combo yes/no}", page, {"yes", "no", "maybe"}, 2},
        {"comment wins over the type group", "yes/no", "on", "{Type Combo on/off}", page, {"yes", "no", "on"}, 2},
        {"comment without a slash falls back", "note", "off", "{Type Combo on/off}", page, {"on", "off"}, 1},
        {"only the comment's first word counts", "a/b c/d", "c/d", "{Type Combo}", page, {"a", "b", "c/d"}, 2},
        {"the equal entry wins over an earlier one beginning with the value", "none/no", "no", "{Type Combo}", quick, {"none", "no"}, 1},
        {"a value differing only in case stays as the server wrote it", "", "YES", "{Type Combo yes/no}", quick, {"yes", "no", "YES"}, 2},
        {"no choices anywhere", "", "x", "{Type Combo}", quick, {"x"}, 0},
        {"no combo group", "", "x", "{Type Edit}", quick, {"x"}, 0},
        {"empty item between slashes", "a//b", "b", "", quick, {"a", "", "b"}, 2},
        {"trailing slash adds nothing", "a/b/", "a", "", quick, {"a", "b"}, 0},
        {"choices end at a blank in the group", "", "b", "{Type Combo a/b c/d}", quick, {"a", "b"}, 1},
        {"server list comment on a page", "SAP/SERVER_LIST/XX-XX-XX-XX", "SAP", "{Type Combo SAP/SERVER_LIST}", page,
         {"SAP", "SERVER_LIST", "XX-XX-XX-XX"}, 0},
        {"placeholder only in the comment's later words", "see XX-XX-XX-XX", "01-02-03-04",
         "{Type Combo SAP/SERVER_LIST}", page, {"SAP", "SERVER_LIST", "01-02-03-04", "XX-XX-XX-XX"}, 2},
        {"lower-case placeholder is offered in capitals", "SAP/xx-xx-xx-xx", "SAP", "", page,
         {"SAP", "XX-XX-XX-XX"}, 0},
        {"placeholder value counts as listed", "SAP/XX-XX-XX-XX", "XX-XX-XX-XX", "", page, {"SAP", "XX-XX-XX-XX"}, 1},
        {"Quick Installation keeps the placeholder as a choice", "SAP/XX-XX-XX-XX", "SAP", "", quick,
         {"SAP", "XX-XX-XX-XX"}, 0},
    };
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ChoiceList list = FillChoiceList(c.comment, c.value, c.typeSpec, c.variant);
        EXPECT_EQ(list.entries, c.entries);
        EXPECT_EQ(list.selected, c.selected);
    }
}

TEST(FillChoiceList, TimeZoneListSelectsExactlyTheFirstMatch) {
    struct Case {
        std::string value;
        size_t entries;
        std::string selectedText;
    };
    const Case cases[] = {
        {"UTC", 69, "UTC"},
        {"UTC+1_(No_DST)", 69, "UTC+1_(No_DST)"},
        {"utc-12_(no_dst)", 70, "utc-12_(no_dst)"},  // not an exact choice: appended and kept as it is
        {"Syria", 69, "Syria"},
        {"Mars", 70, "Mars"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        const ChoiceList list =
            FillChoiceList("", c.value, TimeZoneTypeString, ChoiceListVariant::ConfigurationPage);
        EXPECT_EQ(list.entries.size(), c.entries);
        ASSERT_GE(list.selected, 0);
        EXPECT_EQ(list.entries[list.selected], c.selectedText);
    }
}

TEST(ChoiceEntryFor, FirstEntryBeginningWithValue) {
    const Entries entries = {"SAP", "SERVER_LIST", "01-02-03-04", "XX-XX-XX-XX"};
    struct Case {
        std::string value;
        int index;
    };
    const Case cases[] = {
        {"SAP", 0}, {"s", 0}, {"se", 1}, {"01-02-03-04", 2}, {"xx", 3}, {"", 0}, {"SAPX", -1}, {"q", -1},
        {"server_list", 1}, {"XX-XX-XX-XX", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(ChoiceEntryFor(entries, c.value), c.index);
    }
    EXPECT_EQ(ChoiceEntryFor({}, ""), -1);
}

// Loading a value into a list and saving it again must give the value back.
TEST(ChoiceEntryFor, EqualEntryKeepsTheValue) {
    struct Case {
        Entries entries;
        std::string value;
        int index;
    };
    const Case cases[] = {
        {{"none", "no"}, "no", 1},
        {{"yes", "no", ""}, "", 2},
        {{"Yes", "yes"}, "yes", 1},
        {{"Yes", "no"}, "yes", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(ChoiceEntryFor(c.entries, c.value), c.index);
    }
}

}  // namespace
