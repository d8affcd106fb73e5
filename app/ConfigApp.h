#pragma once

#include <QPointer>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

#include "Share.h"
#include "SmbShare.h"
#include "ToolHost.h"
#include "ToolkitApp.h"

class ConfigMainDlg;
class StoreError;

// The application object: starts the program, holds the facts about the
// running program that every window reads (server path, product title,
// software version, server kind, branding, the parameters-changed flag, the
// current help context) and owns the one message routine. One instance for
// the life of the program; the windows of app/ reach it through
// ConfigApp::Get(), the tools through their ToolHost.
class ConfigApp : public ToolkitApp, public ToolHost {
public:
    ConfigApp();
    ~ConfigApp() override;

    // The application object now alive; one must exist.
    static ConfigApp& Get();

    // Exit statuses of the program, as the command line's: a share or a
    // configuration file that cannot be used, and a unit it does not support.
    static constexpr int ExitFileError = 2;
    static constexpr int ExitNotSupported = 3;

    // Runs the program for its command line (arguments without the program
    // name): finds the share, runs the main window modally. Answers the exit
    // status: 0, or the one the main window set.
    int StartUp(const QStringList& arguments);

    // --help and --version: prints the text to standard output and answers
    // true. Needs no application object and no display, so the program
    // answers them before it starts its windows.
    static bool PrintInformation(const std::vector<std::string>& arguments);

    // Identifies the server from the first line of its configuration file,
    // warning (1003) about an unsupported software version, and puts the
    // share at the top of the recent list. False: not a supported unit.
    // Raises FileException when the file cannot be opened.
    bool IdentifyServer();

    std::string GetServerPath() const { return serverPath; }
    // Sets the share the program works on: a folder (resolved here, once),
    // or a network share nothing has mounted, reached over SMB.
    void SetServerPath(const std::string& path);
    // After the server refused access to a share reached over SMB: asks for
    // a user name and password (once per run) and opens the share with
    // them. False when not asked again or cancelled.
    bool AskLogIn();
    // The server's share: every file the windows read, list or write.
    const SharePtr& GetShare() const override { return share; }
    // The server's name for the window title (host of the share).
    std::string GetServerName() const;
    void SetServerName(const std::string& name) { serverName = name; }
    std::string GetProductTitle() const { return productTitle; }
    std::string GetServerVersion() const override { return serverVersion; }
    int GetServerKind() const { return serverKind; }
    bool IsOemBranding() const { return oemBranding; }
    // For tests of the OEM look; normally fixed by the build.
    void SetOemBranding(bool oem) { oemBranding = oem; }
    void SetParametersChanged(bool changed) override { parametersChanged = changed; }
    bool GetParametersChanged() const { return parametersChanged; }
    // Why the program ends, when it does not end as it should (the main
    // window could not identify the server).
    void SetExitStatus(int status) { exitStatus = status; }
    int GetExitStatus() const { return exitStatus; }
    void SetHelpContext(int context) override { helpContext = context; }
    int GetHelpContext() const { return helpContext; }

    // The branded title: string 137, or 138 in the OEM build.
    std::string GetBrandedTitle() const override;

    // The message routine: captioned with the branded title; type 0 (plain
    // OK) gets the exclamation icon. Answers the pressed button.
    int ShowMessage(const std::string& text, unsigned type, int stringId, const std::string& detail = {}) override;
    // A string-table message.
    int ShowMessage(int stringId, unsigned type = MessageType::Ok) override;
    // An action failed on a server file: its message stringId, with the file
    // and the reason as the box's details (after the store's own message,
    // when the error asks for one). A file found empty whose last write the
    // history holds is then offered back.
    void ReportFailure(int stringId, const StoreError& error) override;
    // Message stringId, its "%1" standing for name (a name from the file
    // system, shown as it is), with the exclamation icon and detail (UTF-8).
    int ShowNamedMessage(int stringId, const std::string& name, const std::string& detail = {}) override;
    // A message composed of the widgets' text (string-table text, server
    // values and file names each converted as they need).
    int ShowComposed(const QString& text, unsigned type, int stringId, const QString& detail = {});
    QString MessageCaption() const override;

    // Help requests go to the main window, which substitutes its context.
    void WinHelp(int data, HelpCommand command) override;

    // Message 1010, then the main window's modal run ends (result 0).
    void ReportEscapedError() override;

    // Asks each question with Yes and No, a factory reset's with No as its
    // default; true when every answer was Yes.
    bool ConfirmQuestions(const std::vector<int>& questions) override;
    // Records a write of the program (tessaron-config) in the share's
    // history, with the serial number the server gives now; the first
    // failure to write the history is said, the others are not.
    void RecordWrite(const ChangeSet& changes, const std::string& before, const std::string& after,
                     bool kept) override;
    // The address the share's history is kept under.
    std::string GetHistoryAddress() const;

    // Asks the server to restart, or to return to its factory settings (the
    // main window's closing and the management page's requests): asks first
    // when the file already holds a factory reset the restart would carry
    // out, then writes and tells the user; reports a failure. True when sent.
    bool SendServerRequest(ServerRequest::Kind kind) override;
    // Closes the main window through its close sequence, once the current
    // event has been handled.
    void EndProgram() override;

    ConfigMainDlg* GetMainWindow() const;
    void SetMainWindow(ConfigMainDlg* window);

    // Asks for the share when the command line names none (the servers
    // found, or any folder); answers its address or folder, or "" when the
    // user cancels. Tests replace it.
    using FolderChooser = std::function<std::string()>;
    void SetFolderChooser(FolderChooser chooser) { folderChooser = std::move(chooser); }
    // Asks for credentials (tests replace it); false when cancelled.
    using LogInAsker = std::function<bool(const std::string& address, SmbCredentials& credentials)>;
    void SetLogInAsker(LogInAsker asker) { logInAsker = std::move(asker); }
    // Runs the main window (tests replace it to look at the start-up alone).
    using MainWindowRunner = std::function<void(ConfigApp&)>;
    void SetMainWindowRunner(MainWindowRunner runner) { mainWindowRunner = std::move(runner); }

private:
    std::string serverPath;
    SharePtr share;
    std::string serverName;
    std::string productTitle;
    std::string serverVersion;
    int serverKind = 0;
    bool oemBranding = false;
    bool parametersChanged = false;
    int helpContext = 0;
    int exitStatus = 0;
    QPointer<ConfigMainDlg> mainWindow;
    FolderChooser folderChooser;
    MainWindowRunner mainWindowRunner;
    LogInAsker logInAsker;
    SmbCredentials credentials;
    bool loggedInOnce = false;
    mutable std::string historyAddress;  // found once per share
    bool historyWarned = false;
};
