#pragma once

#include <string>
#include <vector>

// The layouts of the program's dialogs, pages and child windows as plain data:
// each template has an ID, a size and a caption in dialog units, and a list of
// controls with ID, kind, text and rectangle. The toolkit turns a template
// into widgets (TemplateBuilder); windows only name the template they use.
// Qt-free, so the command line and the tests can read the tables too.

enum class ControlKind {
    PushButton,  // a button; flag Default makes it the default button
    ImageButton, // a push button that shows the image imageId beside its text
    Label,       // a static text; Centre / Right align it
    Edit,        // a single-line edit box
    CheckBox,
    DropList,    // a drop-down list without an edit field
    ListBox,
    GroupBox,
    Image,       // a static image (imageId), scaled to its rectangle
    Icon,        // the program icon (imageId), at its natural size
    Frame,       // a sunken frame that marks an area of the window
};

// Style flags of a template control.
enum ControlFlag : unsigned {
    Hidden = 1u << 0,
    Bold = 1u << 1,
    ReadOnly = 1u << 2,
    Default = 1u << 3,    // the default button of its dialog
    Centre = 1u << 4,
    Right = 1u << 5,
    Multiline = 1u << 6,  // a button whose text may wrap
    Notify = 1u << 7,     // a list box that reports selection changes
    NoSelect = 1u << 8,   // a list box whose lines cannot be selected
    HScroll = 1u << 9,
    VScroll = 1u << 10,
    Border = 1u << 11,
    Disabled = 1u << 12,
    Sunken = 1u << 13,    // a label with a sunken edge
};

// A control ID for texts and images nobody refers to.
inline constexpr int NoControlId = -1;

struct ControlTemplate {
    int id = NoControlId;
    ControlKind kind = ControlKind::Label;
    std::string text;
    int x = 0, y = 0, width = 0, height = 0;  // dialog units
    unsigned flags = 0;
    int imageId = 0;     // Image, Icon and ImageButton: the image resource
    int fontHeight = 0;  // cell height in reference pixels; 0 = the dialog font

    bool Has(ControlFlag flag) const { return (flags & flag) != 0; }
};

enum class TemplateStyle {
    Modal,  // a top-level dialog with a title bar
    Child,  // an embedded child or property page: no caption, no frame
};

struct DialogTemplate {
    int id = 0;
    TemplateStyle style = TemplateStyle::Modal;
    std::string caption;
    int width = 0, height = 0;  // dialog units
    std::vector<ControlTemplate> controls;
};

// The template with that ID, or nullptr when the program has none.
const DialogTemplate* FindDialogTemplate(int templateId);

// IDs of the templates.
namespace TemplateId {
inline constexpr int About = 100;
inline constexpr int ServerTextView = 133;
inline constexpr int StartPage = 136;
inline constexpr int MainWindow = 143;
inline constexpr int QuickInstallation = 152;
inline constexpr int ManagementGeneral = 153;
inline constexpr int ScsiText = 167;
inline constexpr int FormText = 168;
inline constexpr int ParameterPage = 169;
inline constexpr int ListParameterPage = 170;
}  // namespace TemplateId

// IDs of the images and the icon the templates and windows use.
namespace ImageId {
inline constexpr int ProgramIcon = 128;
inline constexpr int MakerLogo = 129;
inline constexpr int Rule = 130;
inline constexpr int HelpButton = 162;
inline constexpr int ConfigurationButton = 163;
inline constexpr int DiscAccessButton = 164;
inline constexpr int ManagementButton = 165;
inline constexpr int QuickInstallationButton = 166;
inline constexpr int OemLogo = 173;
}  // namespace ImageId

// File name of an image below resources/images/ ("program-icon.svg"), or
// nullptr for an ID the program has no image for.
const char* ImageFileName(int imageId);

// Command IDs shared by several templates.
namespace CommandId {
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Help = 57670;
}  // namespace CommandId
