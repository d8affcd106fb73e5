#include "Messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>

#include "ToolkitApp.h"

namespace {

QMessageBox::Icon iconOf(unsigned type) {
    switch (type & MessageType::IconMask) {
    case MessageType::IconStop: return QMessageBox::Critical;
    case MessageType::IconQuestion: return QMessageBox::Question;
    case MessageType::IconExclamation: return QMessageBox::Warning;
    case MessageType::IconInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

struct ButtonSet {
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton first, second, escape;
};

ButtonSet buttonsOf(unsigned type) {
    switch (type & MessageType::ButtonMask) {
    case MessageType::OkCancel:
        return {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, QMessageBox::Cancel, QMessageBox::Cancel};
    case MessageType::YesNoCancel:
        return {QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes, QMessageBox::No,
                QMessageBox::Cancel};
    case MessageType::YesNo:
        return {QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::No, QMessageBox::No};
    default:
        return {QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok};
    }
}

int resultOf(QMessageBox::StandardButton button) {
    switch (button) {
    case QMessageBox::Yes: return MessageResult::Yes;
    case QMessageBox::No: return MessageResult::No;
    case QMessageBox::Cancel: return MessageResult::Cancel;
    default: return MessageResult::Ok;
    }
}

}  // namespace

int QMessageBoxPresenter::Present(const MessageRequest& request) {
    const ButtonSet set = buttonsOf(request.type);
    QMessageBox box(iconOf(request.type), request.caption, request.text, set.buttons, request.owner);
    box.setTextFormat(Qt::PlainText);
    if (!request.detail.isEmpty()) box.setDetailedText(request.detail);
    const bool second = (request.type & MessageType::DefaultMask) == MessageType::DefaultButton2;
    box.setDefaultButton(second ? set.second : set.first);
    box.setEscapeButton(set.escape);
    // F1 shows the help of the page the message is about ("Press F1 for more
    // help."), as it does in every other window of the program.
    ToolkitApp* app = ToolkitApp::Current();
    auto* help = new QShortcut(QKeySequence::HelpContents, &box);
    QObject::connect(help, &QShortcut::activated, &box, [app] {
        if (app) app->WinHelp(0, HelpCommand::Context);
    });
    // A box shown during slow work (under the wait cursor) wants the arrow.
    const bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    if (waiting) QApplication::restoreOverrideCursor();
    if (app) app->KeepHelpAfter(&box);
    auto* clicked = box.clickedButton();
    if (!clicked) return resultOf(set.escape);
    return resultOf(box.standardButton(clicked));
}
