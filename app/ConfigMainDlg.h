#pragma once

#include <QPointer>
#include <QString>

#include <array>
#include <functional>
#include <string>

#include "Dialog.h"
#include "ToolkitApp.h"

class ChangeSource;
class ConfigApp;
class QMenu;

// The program's only top-level window: the branding, the page caption and
// server type above, and one embedded child below - the home page or one of
// the three tools. It identifies the server shortly after it is shown, opens
// the share's Cd folder in the file manager, asks the open tool before it
// leaves it, and offers a server restart on closing when settings changed.
// Its header's context menu shows what the page shown would submit, the
// history of the server's writes and the switch that keeps it, and About.
class ConfigMainDlg : public Dialog {
    Q_OBJECT
public:
    enum class ToolKind { QuickInstallation, Configuration, Management };
    // Builds a tool as a child of the main window; may raise FileException.
    // The widget must also be a Tool.
    using ToolFactory = std::function<QWidget*(QWidget* parent)>;

    explicit ConfigMainDlg(ConfigApp& app, QWidget* parent = nullptr);
    ~ConfigMainDlg() override;

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& exchange) override;
    bool OnCommand(int commandId) override;

    void OnStartTimer();
    void OpenHomePage();
    void OpenQuickInstallation();
    void OpenConfiguration();
    void OpenManagement();
    void OpenDiscAccess();
    bool CanLeaveChild();
    // The close sequence; false when the window stays open.
    bool CloseRequest();
    // Closes the window through the close sequence once the current event
    // has been handled (identification failures, the end of the program a
    // tool asks for).
    void PostCloseRequest();
    void WinHelp(int data, HelpCommand command);
    void OpenAbout();
    // "Pending Changes" of the page shown (Ctrl+D).
    void OpenPendingChanges();
    // "History" of the server's writes (Ctrl+H); a page shown without
    // changes of its own shows the file again after an undo.
    void OpenHistory();
    // Keeps the history of changes, or stops keeping it; remembered.
    void SetKeepHistory(bool keep);

    // The tools the home page offers; a tool without a factory has its
    // button disabled.
    void SetToolFactory(ToolKind kind, ToolFactory factory);
    bool HasTool(ToolKind kind) const;

    QWidget* GetChild() const { return child.data(); }
    QString GetPageCaption() const { return pageCaption; }
    QString GetServerTypeCaption() const { return serverTypeCaption; }
    bool IsStartTimerPending() const { return timerPending; }
    // The header's context menu: Pending Changes, History, the switch that
    // keeps the history and, when its string is not empty, About.
    QMenu* CreateHeaderMenu();

    void OnOK() override;
    void OnCancel() override;
    void OnHelp() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void openTool(ToolKind kind, int captionId, int failureId);
    void destroyChild();
    void setPageCaption(const QString& caption);
    void updatePageCaption();
    void showToolButtons(bool show);
    ChangeSource* shownChanges() const;

    ConfigApp& app;
    bool firstCaptionPending = true;
    bool timerPending = false;
    QPointer<QWidget> child;
    QString pageCaption;
    QString serverTypeCaption;
    std::array<ToolFactory, 3> factories;
};
