#include "RowLayout.h"

namespace RowLayout {

ValueControl ValueControlFor(const std::string& typeWord) {
    if (typeWord == "Combo" || typeWord == "UnknownCombo") return ValueControl::Combo;
    if (typeWord == "Edit" || typeWord == "NoCheck" || typeWord == "Unknown") return ValueControl::Edit;
    if (typeWord == "EditCheck" || typeWord == "Stat") return ValueControl::ReadOnlyEdit;
    return ValueControl::None;
}

RowGeometry LayoutRow(PageMode mode, int row, int firstTop, bool indented, const std::string& typeWord) {
    int x0 = 0;
    int y = firstTop + row * kRowPitch;
    if (mode == PageMode::Configuration && row >= kRowsPerColumn) {
        x0 = kSecondColumnX;
        y = kTopMargin + (row - kRowsPerColumn) * kRowPitch;
    }
    const int d = indented ? kIndent : 0;

    RowGeometry geometry;
    geometry.labelIsCheckBox = typeWord == "EditCheck";
    if (geometry.labelIsCheckBox) {
        geometry.label = {x0 + d + 4, y, x0 + d + 124, y + kControlHeight};
    } else {
        geometry.label = {x0 + d + 4, y + 2 * kEdgeHeight, x0 + d + 124, y + 28};
    }
    geometry.value = ValueControlFor(typeWord);
    if (geometry.value == ValueControl::Combo) {
        geometry.valueRect = {x0 + 128, y, x0 + 128 + kComboWidth, y + kComboHeight};
    } else if (geometry.value != ValueControl::None) {
        geometry.valueRect = {x0 + 128, y, x0 + 128 + kEditWidth, y + kControlHeight};
    }
    return geometry;
}

bool IsUnsupportedType(const std::string& typeWord) {
    return typeWord == "Unknown" || typeWord == "UnknownCombo";
}

std::string RowLabel(const std::string& name, bool indented, bool unsupported) {
    std::string label;
    if (indented) label += "-  ";
    if (unsupported) label += "* ";
    return label + name;
}

int ComboDropRows(int entries) { return entries <= 10 ? entries + 5 : 15; }

}  // namespace RowLayout
