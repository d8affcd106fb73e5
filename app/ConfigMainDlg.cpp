#include "ConfigMainDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QUrl>

#include "AboutDlg.h"
#include "ChangeSource.h"
#include "ConfigApp.h"
#include "Cp1252.h"
#include "DataExchange.h"
#include "FileException.h"
#include "HistoryDlg.h"
#include "Images.h"
#include "LocalState.h"
#include "PendingChangesDlg.h"
#include "ServerFiles.h"
#include "ShareLocation.h"
#include "SmbShare.h"
#include "ServerRequests.h"
#include "ShareFile.h"
#include "ShellOpen.h"
#include "ShownText.h"
#include "StartDlg.h"
#include "StringIds.h"
#include "StringTable.h"
#include "Tool.h"
#include "WaitCursor.h"

// The tools: each is constructed as `new Tool(parent)` and raises
// FileException when the server's files cannot be read.
#include "ConfigPropertySheet.h"
#include "ManagementPropertySheet.h"
#include "QuickInstallationDlg.h"

namespace {

constexpr int HomeButton = 1124;
constexpr int HelpButton = CommandId::Help;
constexpr int MakerLogo = 1076;
constexpr int OemLogo = 1265;
constexpr int PageCaption = 1074;
constexpr int ServerTypeCaption = 1223;
constexpr int StartTimerInterval = 100;  // milliseconds
constexpr int PendingChangesEntry = 60203;
constexpr int HistoryMenuEntry = 60204;
constexpr int KeepHistoryEntry = 60205;
constexpr int KeepHistoryOffByEnvironment = 60230;
constexpr int KeepHistoryNotRemembered = 60231;

size_t slot(ConfigMainDlg::ToolKind kind) { return static_cast<size_t>(kind); }

}  // namespace

ConfigMainDlg::ConfigMainDlg(ConfigApp& app, QWidget* parent) : Dialog(TemplateId::MainWindow, parent), app(app) {
    factories[slot(ToolKind::QuickInstallation)] = [](QWidget* p) { return new QuickInstallationDlg(p); };
    factories[slot(ToolKind::Configuration)] = [](QWidget* p) { return new ConfigPropertySheet(p); };
    factories[slot(ToolKind::Management)] = [](QWidget* p) { return new ManagementPropertySheet(p); };
    setWindowIcon(ImageIcon(ImageId::ProgramIcon));
    const std::pair<QKeyCombination, void (ConfigMainDlg::*)()> shortcuts[] = {
        {Qt::CTRL | Qt::Key_F1, &ConfigMainDlg::OpenAbout},
        {Qt::CTRL | Qt::Key_D, &ConfigMainDlg::OpenPendingChanges},
        {Qt::CTRL | Qt::Key_H, &ConfigMainDlg::OpenHistory},
    };
    for (const auto& [keys, open] : shortcuts) {
        connect(new QShortcut(QKeySequence(keys), this), &QShortcut::activated, this, open);
    }
}

ConfigMainDlg::~ConfigMainDlg() {
    app.ShowHelp(0, HelpCommand::Quit);
    delete child.data();
}

void ConfigMainDlg::SetToolFactory(ToolKind kind, ToolFactory factory) {
    factories[slot(kind)] = std::move(factory);
    // The home page shown now offers the tool at once.
    if (auto* home = qobject_cast<StartDlg*>(child.data())) home->EnableTools();
}

bool ConfigMainDlg::HasTool(ToolKind kind) const { return static_cast<bool>(factories[slot(kind)]); }

bool ConfigMainDlg::OnInitDialog() {
    Dialog::OnInitDialog();
    // Enter never presses Home or Help (nor closes the window).
    for (const int id : {HomeButton, HelpButton}) {
        if (auto* button = Control<QPushButton>(id)) button->setAutoDefault(false);
    }
    ShowItem(MakerLogo, !app.IsOemBranding());
    ShowItem(OemLogo, app.IsOemBranding());
    OpenHomePage();
    setWindowTitle(FromServerText(app.GetBrandedTitle() + " - " + app.GetServerName()));
    timerPending = true;
    QTimer::singleShot(StartTimerInterval, this, &ConfigMainDlg::OnStartTimer);
    return true;
}

void ConfigMainDlg::DoDataExchange(DataExchange& exchange) {
    std::string caption = ToServerTextLossy(pageCaption);
    std::string serverType = ToServerTextLossy(serverTypeCaption);
    exchange.Text(PageCaption, caption);
    exchange.Text(ServerTypeCaption, serverType);
}

void ConfigMainDlg::OnStartTimer() {
    if (!timerPending) return;
    timerPending = false;
    WaitCursor wait;
    for (;;) {
        try {
            if (app.IdentifyServer()) {
                serverTypeCaption = FromServerText(app.GetProductTitle());
                updatePageCaption();
            } else {
                app.ShowMessage(1018);
                app.SetExitStatus(ConfigApp::ExitNotSupported);
                PostCloseRequest();
            }
        } catch (const FileException& error) {
            // A server that wants to know who connects may let the user in.
            if (IsAccessRefused(error) && app.AskLogIn()) continue;
            app.ReportFailure(StringId::NoCommunication, error);
            app.SetExitStatus(ConfigApp::ExitFileError);
            PostCloseRequest();
        }
        return;
    }
}

void ConfigMainDlg::setPageCaption(const QString& caption) {
    pageCaption = caption;
    UpdateData(false);
}

void ConfigMainDlg::updatePageCaption() {
    int id = 123;
    if (firstCaptionPending) {
        firstCaptionPending = false;
        id = 130;
    } else if (app.GetServerKind() == 0) {
        id = 112;
    } else if (app.GetServerKind() == 1) {
        id = 122;
    }
    setPageCaption(FromServerText(LoadString(id)));
}

void ConfigMainDlg::showToolButtons(bool show) {
    ShowItem(HomeButton, show);
    ShowItem(HelpButton, show);
    update();
}

void ConfigMainDlg::destroyChild() {
    if (!child) return;
    // The home page may be destroyed from inside its own button's command:
    // the object goes once that command has returned.
    QWidget* old = child.data();
    child = nullptr;
    old->hide();
    old->setParent(nullptr);
    old->deleteLater();
}

void ConfigMainDlg::OpenHomePage() {
    destroyChild();
    auto* home = new StartDlg(*this);
    child = home;
    home->show();
    updatePageCaption();
    showToolButtons(false);
    FocusFirstControl(home);
}

void ConfigMainDlg::openTool(ToolKind kind, int captionId, int failureId) {
    const ToolFactory& factory = factories[slot(kind)];
    if (!factory) return;
    destroyChild();
    try {
        QWidget* tool = factory(this);
        child = tool;
        tool->show();
    } catch (const StoreError& error) {
        // Any store error while building the tool is a failure to read the
        // server's files.
        app.ReportFailure(failureId, error);
        OpenHomePage();
        return;
    }
    setPageCaption(FromServerText(LoadString(captionId)));
    showToolButtons(true);
    if (kind == ToolKind::QuickInstallation) FocusFirstControl(child);
}

void ConfigMainDlg::OpenQuickInstallation() { openTool(ToolKind::QuickInstallation, 111, 1006); }
void ConfigMainDlg::OpenConfiguration() { openTool(ToolKind::Configuration, 113, 1005); }
void ConfigMainDlg::OpenManagement() { openTool(ToolKind::Management, 114, 1011); }

void ConfigMainDlg::OpenDiscAccess() {
    WaitCursor wait;
    if (OpenFolder(SharePath(app.GetServerPath(), ServerFile::DiscFolder))) return;
    // A share reached over SMB: the file manager opens its folder by address.
    NetworkPath network;
    if (ParseNetworkPath(app.GetServerPath(), network)) {
        try {
            const SharePtr& share = app.GetShare();
            const std::string folder = share->PathOf(ServerFile::DiscFolder);
            share->List(folder);
            if (app.OpenUrl(QUrl(QString::fromStdString(folder)))) return;
        } catch (const StoreError&) {
            // Reported below like a missing folder.
        }
    }
    app.ShowMessage(1000);
}

bool ConfigMainDlg::CanLeaveChild() {
    auto* tool = dynamic_cast<Tool*>(child.data());
    return !tool || tool->CanLeave();
}

bool ConfigMainDlg::CloseRequest() {
    if (!CanLeaveChild()) return false;
    if (app.GetParametersChanged() &&
        app.ShowMessage(127, MessageType::YesNo | MessageType::IconQuestion) == MessageResult::Yes) {
        app.SendServerRequest(ServerRequest::Restart);
    }
    return true;
}

void ConfigMainDlg::PostCloseRequest() { QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection); }

void ConfigMainDlg::closeEvent(QCloseEvent* event) {
    if (!isVisible() || CloseRequest()) {
        timerPending = false;  // a window closed before it identified the server never does
        event->accept();
        done(CommandId::Cancel);
    } else {
        event->ignore();
    }
}

void ConfigMainDlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter presses the focused push button, as everywhere on the
        // desktop (the buttons here are no default buttons, which would
        // take it themselves); it never closes the main window.
        if (auto* button = qobject_cast<QPushButton*>(QApplication::focusWidget());
            button && isAncestorOf(button) && button->isVisible() && button->isEnabled()) {
            button->click();
        }
        event->accept();
        return;
    case Qt::Key_Escape:
        event->accept();  // nor does Escape
        return;
    default:
        Dialog::keyPressEvent(event);
    }
}

void ConfigMainDlg::OnOK() {}

void ConfigMainDlg::OnCancel() {}

bool ConfigMainDlg::OnCommand(int commandId) {
    switch (commandId) {
    case CommandId::Ok: return true;  // Enter never closes the main window
    case HomeButton:
        if (CanLeaveChild()) OpenHomePage();
        return true;
    case HelpButton: OnHelp(); return true;
    case StartDlg::DiscAccessButton: OpenDiscAccess(); return true;
    case StartDlg::QuickInstallationButton: OpenQuickInstallation(); return true;
    case StartDlg::ConfigurationButton: OpenConfiguration(); return true;
    case StartDlg::ManagementButton: OpenManagement(); return true;
    default: return false;
    }
}

void ConfigMainDlg::OnHelp() { app.WinHelp(0, HelpCommand::Context); }

void ConfigMainDlg::WinHelp(int data, HelpCommand command) {
    if (command == HelpCommand::Context) data = app.GetHelpContext();
    app.ShowHelp(data, command);
}

QMenu* ConfigMainDlg::CreateHeaderMenu() {
    auto* menu = new QMenu(this);
    const auto entry = [&](int textId, QKeyCombination keys, void (ConfigMainDlg::*open)()) {
        QAction* action = menu->addAction(FromServerText(LoadString(textId)));
        action->setShortcut(QKeySequence(keys));
        connect(action, &QAction::triggered, this, open);
    };
    entry(PendingChangesEntry, Qt::CTRL | Qt::Key_D, &ConfigMainDlg::OpenPendingChanges);
    entry(HistoryMenuEntry, Qt::CTRL | Qt::Key_H, &ConfigMainDlg::OpenHistory);
    QAction* keep = menu->addAction(FromServerText(LoadString(KeepHistoryEntry)));
    keep->setCheckable(true);
    keep->setChecked(KeepsLocalState());
    if (TurnedOffByEnvironment()) {
        keep->setEnabled(false);
        keep->setToolTip(FromServerText(LoadString(KeepHistoryOffByEnvironment)));
        menu->setToolTipsVisible(true);
    }
    connect(keep, &QAction::toggled, this, &ConfigMainDlg::SetKeepHistory);
    const std::string about = LoadString(app.IsOemBranding() ? 140 : 101);
    if (!about.empty()) {
        menu->addSeparator();
        QAction* action = menu->addAction(FromServerText(about));
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F1));
        connect(action, &QAction::triggered, this, &ConfigMainDlg::OpenAbout);
    }
    return menu;
}

void ConfigMainDlg::contextMenuEvent(QContextMenuEvent* event) {
    // Only the header (above the embedded child) carries the menu. The
    // menu key, wherever the focus is, shows it below the page caption.
    const bool byKeyboard = event->reason() == QContextMenuEvent::Keyboard;
    if (!byKeyboard && child && event->pos().y() >= child->geometry().top()) {
        event->ignore();
        return;
    }
    QPoint at = event->globalPos();
    if (const QWidget* caption = Item(PageCaption); byKeyboard && caption) {
        at = caption->mapToGlobal(QPoint(0, caption->height()));
    }
    QMenu* menu = CreateHeaderMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(at);
}

void ConfigMainDlg::OpenAbout() {
    if (LoadString(app.IsOemBranding() ? 140 : 101).empty()) return;
    AboutDlg about(app, this);
    about.DoModal();
}

ChangeSource* ConfigMainDlg::shownChanges() const {
    auto* tool = dynamic_cast<Tool*>(child.data());
    return tool ? tool->ShownChanges() : nullptr;
}

void ConfigMainDlg::OpenPendingChanges() {
    PendingChangesDlg pending(shownChanges(), this);
    pending.exec();
}

void ConfigMainDlg::OpenHistory() {
    HistoryDlg history(app, this);
    history.exec();
    if (!history.Undone() || !isVisible()) return;
    try {
        if (ChangeSource* source = shownChanges()) source->ShowFileAgain();
    } catch (const StoreError& error) {
        app.ReportFailure(StringId::NoCommunication, error);
    }
}

void ConfigMainDlg::SetKeepHistory(bool keep) {
    try {
        SetUserKeepsLocalState(keep);
    } catch (const StoreError& error) {
        app.ShowMessage(LoadString(KeepHistoryNotRemembered), MessageType::Ok, KeepHistoryNotRemembered,
                        ShownName(error.Detail()));
    }
}
