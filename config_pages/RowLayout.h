#pragma once

#include <string>

#include "ControlType.h"
#include "PageMode.h"

// Pixel geometry of the generated rows of a parameter page, relative to the
// pane that holds them. Every size follows from the height of a 3-D border.
namespace RowLayout {

constexpr int kEdgeHeight = 2;                       // 3-D border height
constexpr int kControlHeight = 2 * kEdgeHeight + 20;  // H: edit and check box height
constexpr int kRowPitch = 2 * kEdgeHeight + 24;       // P: distance between rows
constexpr int kTopMargin = 4;                        // y of the first row
constexpr int kRowsPerColumn = 8;                    // configuration pages only
constexpr int kSecondColumnX = 252;
constexpr int kIndent = 4;                           // extra left offset of a sub-item
constexpr int kEditWidth = 110;
constexpr int kComboWidth = 80;
constexpr int kComboHeight = 20;
constexpr int kTimeZoneDropWidth = 120;

// A rectangle by its edges, right and bottom exclusive.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const PixelRect&) const = default;
};

enum class ValueControl { None, Edit, ReadOnlyEdit, Combo };

struct RowGeometry {
    bool labelIsCheckBox = false;  // EditCheck rows carry their label on a check box
    PixelRect label;
    ValueControl value = ValueControl::None;
    PixelRect valueRect;
};

// Which control shows a value of this type; None for a type word the pages
// do not know.
ValueControl ValueControlFor(ControlType type);

// Geometry of row `row`. firstTop is the y of row 0 (kTopMargin, or one pitch
// lower under the drive row of the SCSI drive page). Configuration pages put
// rows 8 and above into a second column that starts at the top again.
RowGeometry LayoutRow(PageMode mode, int row, int firstTop, bool indented, ControlType type);

// The label shown for a parameter: its display name with "-  " in front of a
// sub-item and "* " in front of a parameter the program does not fully know.
std::string RowLabel(const std::string& name, bool indented, bool unsupported);

// Entries a drop-down list shows at once for a list of `entries` entries: five
// more than it holds, up to ten entries, and fifteen beyond that.
int ComboDropRows(int entries);

}  // namespace RowLayout
