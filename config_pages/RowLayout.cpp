#include "RowLayout.h"

namespace RowLayout {

ValueControl ValueControlFor(ControlType type) {
    switch (type) {
    case ControlType::Combo:
    case ControlType::UnknownCombo: return ValueControl::Combo;
    case ControlType::Edit:
    case ControlType::NoCheck:
    case ControlType::Unknown: return ValueControl::Edit;
    case ControlType::EditCheck:
    case ControlType::Stat: return ValueControl::ReadOnlyEdit;
    case ControlType::Other: break;
    }
    return ValueControl::None;
}

RowGeometry LayoutRow(PageMode mode, int row, int firstTop, bool indented, ControlType type) {
    int x0 = 0;
    int y = firstTop + row * kRowPitch;
    if (mode == PageMode::Configuration && row >= kRowsPerColumn) {
        x0 = kSecondColumnX;
        y = kTopMargin + (row - kRowsPerColumn) * kRowPitch;
    }
    const int d = indented ? kIndent : 0;

    RowGeometry geometry;
    geometry.labelIsCheckBox = type == ControlType::EditCheck;
    if (geometry.labelIsCheckBox) {
        geometry.label = {x0 + d + 4, y, x0 + d + 124, y + kControlHeight};
    } else {
        geometry.label = {x0 + d + 4, y + 2 * kEdgeHeight, x0 + d + 124, y + 28};
    }
    geometry.value = ValueControlFor(type);
    if (geometry.value == ValueControl::Combo) {
        geometry.valueRect = {x0 + 128, y, x0 + 128 + kComboWidth, y + kComboHeight};
    } else if (geometry.value != ValueControl::None) {
        geometry.valueRect = {x0 + 128, y, x0 + 128 + kEditWidth, y + kControlHeight};
    }
    return geometry;
}

std::string RowLabel(const std::string& name, bool indented, bool unsupported) {
    std::string label;
    if (indented) label += "-  ";
    if (unsupported) label += "* ";
    return label + name;
}

int ComboDropRows(int entries) { return entries <= 10 ? entries + 5 : 15; }

}  // namespace RowLayout
