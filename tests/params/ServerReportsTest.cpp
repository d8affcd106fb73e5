#include <gtest/gtest.h>

#include "ServerReports.h"

namespace {

TEST(ReportLines, EachLineAsWrittenWithoutItsEnd) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"", {}},
        {"one", {"one"}},
        {"one\n", {"one"}},
        {"\n", {""}},
        {"  padded  \n\n\tTab\tkept\n", {"  padded  ", "", "\tTab\tkept"}},
        {"cr\ralone\n", {"cr\ralone"}},
        {std::string("nul\0byte", 8), {std::string("nul\0byte", 8)}},
    };
    for (const auto& [text, lines] : cases) EXPECT_EQ(ReportLines(text), lines) << text;
}

}  // namespace
