#include "Dialog.h"

#include <QApplication>
#include <QShortcut>

#include "Cp1252.h"
#include "ToolkitApp.h"

Dialog::Dialog(int templateId, QWidget* parent) : QDialog(parent), TemplateHost(*this, templateId) {
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, [this] { OnHelp(); });
}

void Dialog::BuildControls() {
    TemplateHost::BuildControls();
    if (const DialogTemplate* dialog = Template()) {
        if (!dialog->caption.empty()) setWindowTitle(FromServerText(dialog->caption));
        setFixedSize(Units().Size(dialog->width, dialog->height));
    }
}

void Dialog::showEvent(QShowEvent* event) {
    EnsureCreated();
    QDialog::showEvent(event);
}

int Dialog::DoModal() {
    EnsureCreated();
    if (endedEarly) {
        endedEarly = false;
        return result();
    }
    // A dialog opened during slow work (under the wait cursor) wants the arrow.
    const bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
    running = true;
    const int ended = exec();
    running = false;
    if (waiting) QApplication::restoreOverrideCursor();
    if (ToolkitApp* app = ToolkitApp::Current()) app->KeepHelpAfter(this);
    return ended;
}

void Dialog::EndDialog(int result) {
    if (!running && !isVisible()) endedEarly = true;
    done(result);
}

bool Dialog::OnCommand(int commandId) {
    switch (commandId) {
    case CommandId::Ok: OnOK(); return true;
    case CommandId::Cancel: OnCancel(); return true;
    case CommandId::Help: OnHelp(); return true;
    default: return false;
    }
}

void Dialog::OnOK() {
    if (UpdateData(true)) EndDialog(CommandId::Ok);
}

void Dialog::OnCancel() { EndDialog(CommandId::Cancel); }

void Dialog::OnHelp() {
    if (ToolkitApp* app = ToolkitApp::Current()) app->WinHelp(0, HelpCommand::Context);
}

ChildDialog::ChildDialog(int templateId, QWidget* parent) : QWidget(parent), TemplateHost(*this, templateId) {}
