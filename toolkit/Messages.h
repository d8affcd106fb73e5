#pragma once

#include <QString>

class QWidget;

// Message boxes. Every user message of the program goes through one message
// routine (ToolkitApp::ShowMessage, refined by the application object), which
// hands the finished request to a presenter: normally a QMessageBox, in tests
// a scripted presenter that answers and records the string IDs it was shown.

// Box types, combined with "|": one button set, one icon, one default button.
namespace MessageType {
inline constexpr unsigned Ok = 0x0;
inline constexpr unsigned OkCancel = 0x1;
inline constexpr unsigned YesNoCancel = 0x3;
inline constexpr unsigned YesNo = 0x4;
inline constexpr unsigned IconStop = 0x10;
inline constexpr unsigned IconQuestion = 0x20;
inline constexpr unsigned IconExclamation = 0x30;
inline constexpr unsigned IconInformation = 0x40;
inline constexpr unsigned DefaultButton2 = 0x100;

inline constexpr unsigned ButtonMask = 0xF;
inline constexpr unsigned IconMask = 0xF0;
inline constexpr unsigned DefaultMask = 0xF00;
}  // namespace MessageType

// The button the user pressed.
namespace MessageResult {
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
}  // namespace MessageResult

struct MessageRequest {
    QWidget* owner = nullptr;  // the window the box belongs to, or none
    QString caption;
    QString text;
    unsigned type = MessageType::Ok;
    int stringId = 0;  // string-table ID of the text; 0 for a composed text
    QString detail;    // what failed and why (a file and the system's reason), or empty
};

class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    // Shows the message and answers the MessageResult of the pressed button.
    virtual int Present(const MessageRequest& request) = 0;
};

// Shows a modal QMessageBox with the requested buttons, icon and default
// button. Escape answers Cancel where the box has it, else No, else OK.
class QMessageBoxPresenter : public MessagePresenter {
public:
    int Present(const MessageRequest& request) override;
};
