#include "RowLayout.h"

#include <gtest/gtest.h>

using RowLayout::PixelRect;
using RowLayout::ValueControl;

namespace {

TEST(RowLayout, SizesFollowBorderHeight) {
    EXPECT_EQ(RowLayout::kControlHeight, 24);
    EXPECT_EQ(RowLayout::kRowPitch, 28);
}

struct RowCase {
    const char* name;
    PageMode mode;
    int row;
    int firstTop;
    bool indented;
    const char* typeWord;
    bool checkLabel;
    PixelRect label;
    ValueControl value;
    PixelRect valueRect;
};

class RowGeometryTest : public testing::TestWithParam<RowCase> {};

TEST_P(RowGeometryTest, PlacesLabelAndValue) {
    const RowCase& c = GetParam();
    const RowLayout::RowGeometry g = RowLayout::LayoutRow(c.mode, c.row, c.firstTop, c.indented, c.typeWord);
    EXPECT_EQ(g.labelIsCheckBox, c.checkLabel);
    EXPECT_EQ(g.label, c.label);
    EXPECT_EQ(g.value, c.value);
    EXPECT_EQ(g.valueRect, c.valueRect);
}

constexpr auto Config = PageMode::Configuration;

INSTANTIATE_TEST_SUITE_P(
    Rows, RowGeometryTest,
    testing::Values(
        RowCase{"FirstEdit", Config, 0, 4, false, "Edit", false, {4, 8, 124, 32}, ValueControl::Edit, {128, 4, 238, 28}},
        RowCase{"SecondRow", Config, 1, 4, false, "NoCheck", false, {4, 36, 124, 60}, ValueControl::Edit,
                {128, 32, 238, 56}},
        RowCase{"LastOfFirstColumn", Config, 7, 4, false, "Unknown", false, {4, 204, 124, 228}, ValueControl::Edit,
                {128, 200, 238, 224}},
        // Row 8 opens the second column at the top.
        RowCase{"NinthRowSecondColumn", Config, 8, 4, false, "Edit", false, {256, 8, 376, 32}, ValueControl::Edit,
                {380, 4, 490, 28}},
        RowCase{"LastRow", Config, 15, 4, false, "Combo", false, {256, 204, 376, 228}, ValueControl::Combo,
                {380, 200, 460, 220}},
        RowCase{"IndentedLabel", Config, 2, 4, true, "Edit", false, {8, 64, 128, 88}, ValueControl::Edit,
                {128, 60, 238, 84}},
        RowCase{"CheckLabel", Config, 0, 4, false, "EditCheck", true, {4, 4, 124, 28}, ValueControl::ReadOnlyEdit,
                {128, 4, 238, 28}},
        RowCase{"IndentedCheckLabel", Config, 9, 4, true, "EditCheck", true, {260, 32, 380, 56},
                ValueControl::ReadOnlyEdit, {380, 32, 490, 56}},
        RowCase{"Stat", Config, 3, 4, false, "Stat", false, {4, 92, 124, 116}, ValueControl::ReadOnlyEdit,
                {128, 88, 238, 112}},
        RowCase{"UnknownCombo", Config, 4, 4, false, "UnknownCombo", false, {4, 120, 124, 144}, ValueControl::Combo,
                {128, 116, 208, 136}},
        RowCase{"StrangeWordHasNoValue", Config, 0, 4, false, "Slider", false, {4, 8, 124, 32}, ValueControl::None,
                {}},
        // The list-driven pages use one column; the drive row moves rows down.
        RowCase{"VolumeRightsOneColumn", PageMode::VolumeRights, 10, 4, false, "Edit", false, {4, 288, 124, 312},
                ValueControl::Edit, {128, 284, 238, 308}},
        RowCase{"ScsiBelowDriveRow", PageMode::ScsiDrives, 0, 32, false, "Stat", false, {4, 36, 124, 60},
                ValueControl::ReadOnlyEdit, {128, 32, 238, 56}}),
    [](const testing::TestParamInfo<RowCase>& info) { return std::string(info.param.name); });

TEST(RowLayout, LabelPrefixes) {
    EXPECT_EQ(RowLayout::RowLabel("Internet Address", false, false), "Internet Address");
    EXPECT_EQ(RowLayout::RowLabel("Frame 802.2", true, false), "-  Frame 802.2");
    EXPECT_EQ(RowLayout::RowLabel("NewKey", false, true), "* NewKey");
    EXPECT_EQ(RowLayout::RowLabel("NewKey", true, true), "-  * NewKey");
}

TEST(RowLayout, UnsupportedTypesAreTheDerivedOnes) {
    EXPECT_TRUE(RowLayout::IsUnsupportedType("Unknown"));
    EXPECT_TRUE(RowLayout::IsUnsupportedType("UnknownCombo"));
    EXPECT_FALSE(RowLayout::IsUnsupportedType("Edit"));
    EXPECT_FALSE(RowLayout::IsUnsupportedType("unknown"));
}

TEST(RowLayout, ComboDropRows) {
    const std::pair<int, int> cases[] = {{0, 5}, {1, 6}, {3, 8}, {10, 15}, {11, 15}, {12, 15}, {69, 15}};
    for (auto [entries, rows] : cases) {
        SCOPED_TRACE(entries);
        EXPECT_EQ(RowLayout::ComboDropRows(entries), rows);
    }
}

}  // namespace
