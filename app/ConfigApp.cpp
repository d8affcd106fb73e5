#include "ConfigApp.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>

#include <cstdio>

#include "ChangeHistory.h"
#include "ChooseServerDlg.h"
#include "ConfigMainDlg.h"
#include "Cp1252.h"
#include "Images.h"
#include "LocalState.h"
#include "ServerFiles.h"
#include "ServerIdentity.h"
#include "LogInDlg.h"
#include "ServerRequests.h"
#include "ServerShare.h"
#include "ShareLocation.h"
#include "ShownText.h"
#include "StoreError.h"
#include "StringIds.h"
#include "StringTable.h"
#include "WaitCursor.h"
#include "WriteHistory.h"

namespace {

constexpr const char* usage =
    "Usage: tessaron-config [SHARE]\n"
    "Configure a QUOR Tessaron server through its file share.\n\n"
    "SHARE is the server's share: a mounted folder, //host/share, \\\\host\\share\n"
    "or smb://host[:port]/share. A network share is used through this computer's\n"
    "mount of it, or reached straight over SMB when nothing has mounted it.\n"
    "Without SHARE the program offers the servers it finds: the shares opened\n"
    "before, those this computer has mounted, and those of a host looked up.\n\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n";

std::string chooseShareFolder() {
    const QString folder = QFileDialog::getExistingDirectory(
        QApplication::activeModalWidget(), QObject::tr("Choose the server's share folder"), QString(),
        QFileDialog::ShowDirsOnly);
    return folder.isEmpty() ? std::string() : QFile::encodeName(folder).toStdString();
}

constexpr int kHistoryNotWritten = 60222;

// The servers found, any folder as one of the choices.
std::string chooseServer() {
    return ChooseServerDlg(KnownTargets(SystemMountSources(), RecentShares()), chooseShareFolder).Choose();
}

std::string brandedTitle(bool oem) { return LoadString(oem ? 138 : 137); }

bool oemBuild() { return LoadString(102) != "Quor"; }

bool askLogIn(const std::string& address, SmbCredentials& credentials) {
    return LogInDlg(address, ConfigApp::Get().GetMainWindow()).Ask(credentials);
}

void runMainWindow(ConfigApp& app) {
    ConfigMainDlg window(app);
    app.SetMainWindow(&window);
    window.DoModal();
    app.SetMainWindow(nullptr);
}

}  // namespace

ConfigApp::ConfigApp()
    : share(OpenFolderShare({})), oemBranding(oemBuild()), folderChooser(chooseServer),
      mainWindowRunner(runMainWindow), logInAsker(askLogIn), credentials(CredentialsFromEnvironment()) {}

ConfigApp::~ConfigApp() = default;

ConfigApp& ConfigApp::Get() { return *static_cast<ConfigApp*>(ToolkitApp::Current()); }

std::string ConfigApp::GetBrandedTitle() const { return brandedTitle(oemBranding); }

void ConfigApp::SetServerPath(const std::string& path) {
    serverPath = path;
    historyAddress.clear();
    share = OpenServerShare(path, credentials);
}

bool ConfigApp::AskLogIn() {
    if (loggedInOnce || !logInAsker) return false;
    loggedInOnce = true;
    if (!logInAsker(share->Location(), credentials)) return false;
    share = OpenServerShare(serverPath, credentials);
    return true;
}

std::string ConfigApp::GetServerName() const { return serverName.empty() ? ServerName(serverPath) : serverName; }

QString ConfigApp::MessageCaption() const { return FromServerText(GetBrandedTitle()); }

int ConfigApp::ShowMessage(const std::string& text, unsigned type, int stringId, const std::string& detail) {
    if (type == MessageType::Ok) type = MessageType::Ok | MessageType::IconExclamation;
    return ToolkitApp::ShowMessage(text, type, stringId, detail);
}

int ConfigApp::ShowMessage(int stringId, unsigned type) { return ShowMessage(LoadString(stringId), type, stringId); }

void ConfigApp::ReportFailure(int stringId, const StoreError& error) {
    if (error.MessageId() != 0) ShowMessage(error.MessageId());
    ShowMessage(LoadString(stringId), MessageType::Ok, stringId, ShownName(error.Detail()));
    if (IsEmptyFileError(error)) OfferRestore(*this, error.Path());
}

bool ConfigApp::ConfirmQuestions(const std::vector<int>& questions) {
    for (const int question : questions) {
        // A factory reset is the one question whose safe answer is the default.
        const unsigned defaultNo = question == StringId::ConfirmFactoryDefaults ? MessageType::DefaultButton2 : 0;
        if (ShowMessage(question, MessageType::YesNo | MessageType::IconExclamation | defaultNo) != MessageResult::Yes) {
            return false;
        }
    }
    return true;
}

std::string ConfigApp::GetHistoryAddress() const {
    if (historyAddress.empty()) historyAddress = ShareAddress(serverPath);
    return historyAddress;
}

void ConfigApp::RecordWrite(const ChangeSet& changes, const std::string& before, const std::string& after,
                            bool kept) {
    // A write over an empty file (a restore) takes the serial number from what it wrote.
    const std::string serial = SerialAtWrite(*share, changes.file, before.empty() ? after : before);
    const WriteOrigin origin{"tessaron-config", GetHistoryAddress(), serial};
    std::string problem;
    if (::RecordWrite(origin, changes, before, after, kept, problem) || historyWarned) return;
    historyWarned = true;
    ShowMessage(LoadString(kHistoryNotWritten), MessageType::Ok | MessageType::IconExclamation, kHistoryNotWritten,
                ShownName(problem));
}

int ConfigApp::ShowNamedMessage(int stringId, const std::string& name, const std::string& detail) {
    const QString text = FromServerText(LoadString(stringId))
                             .replace(QStringLiteral("%1"), QString::fromStdString(ShownName(name)));
    return Present(text, MessageType::Ok | MessageType::IconExclamation, stringId, QString::fromStdString(detail));
}

int ConfigApp::ShowComposed(const QString& text, unsigned type, int stringId, const QString& detail) {
    return Present(text, type, stringId, detail);
}

void ConfigApp::WinHelp(int data, HelpCommand command) {
    if (mainWindow) {
        mainWindow->WinHelp(data, command);
    } else {
        ShowHelp(data, command);
    }
}

void ConfigApp::ReportEscapedError() {
    ShowMessage(1010);
    if (mainWindow) {
        mainWindow->done(0);
    } else {
        QApplication::exit(1);
    }
}

bool ConfigApp::SendServerRequest(ServerRequest::Kind kind) {
    WaitCursor wait;
    try {
        ServerRequest request(share, kind);
        // A restart would also carry out a factory reset the file asks for:
        // that needs its own Yes.
        if (request.CarriesPendingFactoryReset() && !ConfirmQuestions({StringId::ConfirmFactoryDefaults})) return false;
        const ChangeSet changes = request.Changes();
        request.Send();
        // The server is about to restart: there is nothing to read back.
        RecordWrite(changes, request.Sent().BytesBefore(), request.Sent().BytesAfter(), true);
    } catch (const StoreError& error) {
        // Also when the file lacks the key: the request could not be made,
        // and the user must not be told it was.
        ReportFailure(StringId::NoCommunication, error);
        return false;
    }
    ShowMessage(StringId::ServerRestarting);
    return true;
}

void ConfigApp::EndProgram() {
    if (mainWindow) mainWindow->PostCloseRequest();
}

void ConfigApp::SetMainWindow(ConfigMainDlg* window) { mainWindow = window; }

ConfigMainDlg* ConfigApp::GetMainWindow() const { return mainWindow.data(); }

bool ConfigApp::IdentifyServer() {
    WaitCursor wait;
    const ServerIdentity identity = ::IdentifyServer(*share);
    if (!identity.accepted) return false;
    if (!identity.productTitle.empty()) {
        productTitle = identity.productTitle;
        serverKind = identity.serverKind;
    }
    serverVersion = identity.version;
    // Opened: at the top of the recent list. A list that cannot be written
    // changes nothing else.
    try {
        NoteRecentShare(GetHistoryAddress());
    } catch (const StoreError&) {
    }
    // Accepted as the appliance accepts it, but said before anything else
    // reads the file; written back from the history, it is read again.
    if (!identity.lineFound) {
        const std::string path = share->PathOf(ServerFile::Configuration);
        if (OfferRestore(*this, path)) return IdentifyServer();
        ShowNamedMessage(StringId::EmptyFile, path);
    }
    if (!identity.versionSupported) ShowMessage(1003, MessageType::Ok | MessageType::IconExclamation);
    return true;
}

bool ConfigApp::PrintInformation(const std::vector<std::string>& arguments) {
    const CommandLine commandLine = ParseCommandLine(arguments);
    if (commandLine.help) {
        std::fputs(usage, stdout);
    } else if (commandLine.version) {
        std::printf("%s 1.00\n", brandedTitle(oemBuild()).c_str());
    }
    std::fflush(stdout);
    return commandLine.help || commandLine.version;
}

int ConfigApp::StartUp(const QStringList& arguments) {
    QApplication::setApplicationName(QStringLiteral("tessaron-config"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    // Lets the desktop match the windows to the installed desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("tessaron-config"));
    QApplication::setWindowIcon(ImageIcon(ImageId::ProgramIcon));

    std::vector<std::string> args;
    for (const QString& argument : arguments) args.push_back(QFile::encodeName(argument).toStdString());
    if (PrintInformation(args)) return 0;
    const CommandLine commandLine = ParseCommandLine(args);

    std::string path = commandLine.serverPath;
    if (path.empty()) {
        path = folderChooser ? folderChooser() : std::string();
        if (path.empty()) return 0;  // the user cancelled: end quietly
    }
    // A folder, or a network share this computer has mounted, must be a
    // server's share; a network share nothing has mounted is reached over
    // SMB and answers for itself.
    // The mount table is read once, for the share's folder and the title.
    const MountSources mounts = SystemMountSources();
    std::string folder;
    try {
        folder = ResolveServerPath(path, mounts);
    } catch (const ShareNotMounted&) {
    }
    if (const int problem = folder.empty() ? 0 : ShareFolderProblem(folder)) {
        ShowMessage(FormatString(problem, {path}), MessageType::Ok | MessageType::IconStop, problem);
        return ExitFileError;
    }
    SetServerPath(folder.empty() ? path : folder);
    serverName = ServerName(path, mounts);
    if (mainWindowRunner) mainWindowRunner(*this);
    return exitStatus;
}
