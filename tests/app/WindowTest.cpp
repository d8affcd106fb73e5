#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QTimer>
#include <QTreeWidget>
#include <unistd.h>

#include "ChangeHistory.h"
#include "FileException.h"
#include "HelpViewer.h"
#include "HistoryDlg.h"
#include "LocalState.h"
#include "PageFixture.h"
#include "QtTestMain.h"
#include "StartDlg.h"
#include "StringTable.h"
#include "Tool.h"
#include "ToolkitApp.h"

// The share comes from the command line or a folder chooser; a share that
// cannot be used is named in a message, a cancelled choice ends quietly.
TEST(ConfigAppStartUp, FindsTheShareOrEndsQuietly) {
    TempShare share(TempShare::Contents::Sample);
    const QString root = QString::fromStdString(share.Root());
    // chosen: what the folder chooser answers
    const struct { const char* name; QStringList arguments; std::string chosen; bool chooserAsked, windowRun; int status; std::vector<int> messages; } cases[] = {
        {"share on the command line", {QStringLiteral("-x"), root, QStringLiteral("extra")}, "", false, true, 0, {}},
        {"no share, folder chosen", {}, share.Root(), true, true, 0, {}},
        {"no share, chooser cancelled", {QStringLiteral("-flag")}, "", true, false, 0, {}},
        // Reached over SMB; the window says what failed when it identifies the server.
        {"network share nobody mounted", {QStringLiteral("//no-such-host-4711/share")}, "", false, true, 0, {}},
        {"folder that does not exist", {root + QStringLiteral("/gone")}, "", false, false, 2, {60021}},
        {"folder that is not a share", {root + QStringLiteral("/Cd")}, "", false, false, 2, {60022}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ConfigApp app;
        ScriptedPresenter& presenter = InstallScriptedPresenter(app);
        bool asked = false, run = false;
        std::string pathSeen;
        app.SetFolderChooser([&] { return asked = true, c.chosen; });
        app.SetMainWindowRunner([&](ConfigApp& running) { run = true, pathSeen = running.GetServerPath(); });
        EXPECT_EQ(app.StartUp(c.arguments), c.status);
        EXPECT_EQ(asked, c.chooserAsked);
        EXPECT_EQ(run, c.windowRun);
        EXPECT_EQ(pathSeen, !run ? "" : c.arguments.size() == 1 ? c.arguments[0].toStdString() : share.Root());
        EXPECT_EQ(presenter.ShownIds(), c.messages);
        if (!c.messages.empty()) {  // the message names the folder
            EXPECT_TRUE(presenter.shown[0].text.contains(c.arguments[0]));
        }
    }
}

// On a console without a display the program still answers --help and
// --version (and says nothing on standard error).
TEST(ConfigAppStartUp, HelpAndVersionNeedNoDisplay) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TESSARON_CONFIG_BINARY), {QStringLiteral("--help")});
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_TRUE(program.readAllStandardOutput().contains("Usage"));
    EXPECT_TRUE(program.readAllStandardError().isEmpty());
}

// Every message carries the program's title; a plain OK box gets the exclamation icon.
TEST(ConfigAppMessages, CaptionIconAndDetails) {
    ConfigApp app;
    app.SetOemBranding(false);
    ScriptedPresenter& presenter = InstallScriptedPresenter(app);
    const std::pair<unsigned, unsigned> cases[] = {
        {MessageType::Ok, MessageType::Ok | MessageType::IconExclamation},
        {MessageType::Ok | MessageType::IconInformation, MessageType::Ok | MessageType::IconInformation},
    };
    for (const auto& [asked, shown] : cases) {
        app.ShowMessage(124, asked);
        EXPECT_EQ(presenter.shown.back().type, shown);
        EXPECT_EQ(presenter.shown.back().caption, QStringLiteral("QUOR Tessaron Configuration"));
        EXPECT_EQ(presenter.shown.back().text, QStringLiteral("Nothing has been changed!"));
    }
    // A failure says what failed, and why in the details: the store's own message first.
    presenter.shown.clear();
    try {
        ParameterSection().GetParameter("Missing");
    } catch (const FileException& error) {
        app.ReportFailure(1007, error);
    }
    ASSERT_EQ(presenter.ShownIds(), (std::vector<int>{1021, 1007}));
    EXPECT_EQ(presenter.shown[1].text, QString::fromStdString(LoadString(1007)));
    EXPECT_TRUE(presenter.shown[1].detail.contains(QStringLiteral("Missing")));
}

namespace {

// A tool that stands in for the real ones: a child with an edit, whose
// leave check answers as told.
struct TestTool : QWidget, Tool {
    explicit TestTool(QWidget* parent) : QWidget(parent), edit(new QLineEdit(this)) { resize(300, 200); }
    bool CanLeave() override { return ++asked, mayLeave; }
    bool mayLeave = true;
    int asked = 0;
    QLineEdit* edit;
};

// The main window of the page tests, with the desktop's URL opener recorded
// and test tools that can be plugged in.
class ShellTest : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        app.SetOemBranding(false);  // the maker's look unless a test says otherwise
        app.SetUrlOpener([this](const QUrl& url) { return opened.push_back(url), openerAnswer; });
    }
    QString Caption(int id) const { return window->Control<QWidget>(id)->property("text").toString(); }
    bool Visible(int id) const { return window->Item(id)->isVisible(); }
    // Plugs the test tool in for every kind; the tool last built is kept.
    void UseTestTools() {
        using Kind = ConfigMainDlg::ToolKind;
        for (Kind kind : {Kind::QuickInstallation, Kind::Configuration, Kind::Management}) {
            window->SetToolFactory(kind, [this](QWidget* parent) {
                if (toolFailure) toolFailure();
                return tool = new TestTool(parent);
            });
        }
    }

    std::vector<QUrl> opened;
    bool openerAnswer = true;
    TestTool* tool = nullptr;
    std::function<void()> toolFailure;
};

constexpr int kPageCaption = 1074, kServerType = 1223, kHome = 1124, kHelp = 57670;

// The first line of the configuration file decides what the window shows;
// until it is read the window says it is connecting. A server that cannot be
// read or is not supported ends the program with the command line's status.
TEST_F(ShellTest, IdentificationShowsTheServerOrCloses) {
    const struct {
        const char* firstLine;  // nullptr: the file cannot be read
        std::vector<int> messages;
        const char *pageCaption, *serverType;
        int exitStatus;
    } cases[] = {
        {"", {60060, 1003}, "Network CD-ROM Server", "", 0},  // an empty file: taken, and said to be empty
        {"QUOR Tessaron CD V3.02 x", {1003}, "Network CD-ROM Server", "QUOR Tessaron CD", 0},
        {"JQ HD-Server V3.07 S/N: 1", {}, "Network HD Server", "QUOR Tessaron HD", 0},
        {nullptr, {1007}, nullptr, "", 2},
        {"QUOR Tessaron HD V4.00 x", {1018}, nullptr, "", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.firstLine ? c.firstLine : "unreadable");
        std::filesystem::remove(share.PathOf("Config/Config.ini"));
        if (c.firstLine) share.Write("Config/Config.ini", *c.firstLine ? std::string(c.firstLine) + "\r\n[Server]\r\nRestart = no\r\n" : "");
        presenter.shown.clear();
        ConfigMainDlg& main = OpenMain();
        EXPECT_EQ(presenter.ShownIds(), c.messages);
        Settle();
        EXPECT_EQ(main.isVisible(), c.pageCaption != nullptr);
        EXPECT_EQ(Caption(kPageCaption), c.pageCaption ? c.pageCaption : "Establishing connection...");
        EXPECT_EQ(Caption(kServerType), c.serverType);
        EXPECT_EQ(app.GetExitStatus(), c.exitStatus);
    }
    share.Write("Config/Config.ini", "nothing to see\r\n");  // identification runs once
    presenter.shown.clear();
    window->OnStartTimer();
    EXPECT_TRUE(presenter.shown.empty());
}

// A tool opens in place of the home page, which comes back with Home; a
// tool without a factory has its button disabled; keys never close the window.
TEST_F(ShellTest, OpeningAToolAndComingHome) {
    const std::pair<int, const char*> tools[] = {
        {StartDlg::QuickInstallationButton, "Quick Installation"},
        {StartDlg::ConfigurationButton, "Configuration"},
        {StartDlg::ManagementButton, "Management"},
    };
    ConfigMainDlg& main = OpenMain();
    for (int kind = 0; kind < 3; ++kind) {
        const bool exists = main.HasTool(static_cast<ConfigMainDlg::ToolKind>(kind));
        EXPECT_EQ(main.GetChild()->findChild<QWidget*>(QString::number(tools[kind].first))->isEnabled(), exists);
    }
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    Settle();
    EXPECT_EQ(QApplication::focusWidget(), main.GetChild()->findChild<QWidget*>(QStringLiteral("1004")));
    UseTestTools();
    EXPECT_FALSE(Visible(kHome) || Visible(kHelp));
    // Enter presses the focused button.
    const auto enterOn = [&](int id) {
        QWidget* button = main.findChild<QPushButton*>(QString::number(id));
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);
        Settle();
    };
    for (const auto& [button, caption] : tools) {
        SCOPED_TRACE(caption);
        QPointer<QWidget> home = main.GetChild();
        enterOn(button);
        EXPECT_TRUE(home.isNull());
        EXPECT_EQ(main.GetChild(), tool);
        if (button == StartDlg::QuickInstallationButton) { EXPECT_EQ(QApplication::focusWidget(), tool->edit); }  // its first field
        EXPECT_EQ(Caption(kPageCaption), QString::fromUtf8(caption));
        EXPECT_TRUE(Visible(kHome) && Visible(kHelp));
        QPointer<QWidget> openTool = tool;
        enterOn(kHome);
        EXPECT_TRUE(openTool.isNull());
        EXPECT_NE(qobject_cast<StartDlg*>(main.GetChild()), nullptr);
        EXPECT_EQ(Caption(kPageCaption), QStringLiteral("Network CD-ROM Server"));
        EXPECT_FALSE(Visible(kHome) || Visible(kHelp));
        EXPECT_EQ(QApplication::focusWidget(), main.GetChild()->findChild<QWidget*>(QStringLiteral("1004")));
    }
    // Enter and Escape never close the main window, on the home page or in a tool.
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) QTest::keyClick(&main, key);
    main.OpenManagement();
    tool->edit->setFocus();
    QTest::keyClick(tool->edit, Qt::Key_Return);
    QTest::keyClick(tool->edit, Qt::Key_Escape);
    Settle();
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.GetChild(), tool);
    EXPECT_TRUE(presenter.shown.empty());
}

// A tool that refuses to be left stays, on Home and on closing; one that
// cannot read the server is not opened, with its own message.
TEST_F(ShellTest, AToolStaysWhenItRefusesAndIsNotOpenedWhenItFails) {
    ConfigMainDlg& main = OpenMain();
    UseTestTools();
    const std::pair<int, int> tools[] = {{StartDlg::QuickInstallationButton, 1006}, {StartDlg::ConfigurationButton, 1005},
                                         {StartDlg::ManagementButton, 1011}};
    toolFailure = [] { throw ParameterHandler::ParameterError{}; };
    for (const auto& [button, message] : tools) {
        presenter.shown.clear();
        Press(*window, button);
        Settle();
        EXPECT_EQ(presenter.ShownIds(), std::vector<int>{message});
        EXPECT_NE(qobject_cast<StartDlg*>(main.GetChild()), nullptr);
        EXPECT_FALSE(Visible(kHome));
    }
    toolFailure = nullptr;
    main.OpenConfiguration();
    tool->mayLeave = false;
    Press(*window, kHome);
    main.close();
    Settle();
    EXPECT_EQ(main.GetChild(), tool);
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(tool->asked, 2);
    tool->mayLeave = true;
    main.close();
    Settle();
    EXPECT_FALSE(main.isVisible());
}

// Closing offers a restart when settings changed; a factory reset the file
// already asks for is confirmed first.
TEST_F(ShellTest, ClosingOffersARestartWhenSettingsChanged) {
    const std::string noRestartKey = "QUOR Tessaron CD-ROM Server V4.00 x\r\n[Server]\r\nFactoryDefaults = no\r\n";
    const std::string pendingReset = "QUOR Tessaron CD-ROM Server V4.00 x\r\n[Server]\r\nFactoryDefaults = yes\r\nRestart = no\r\n";
    // file: "" for the sample's; restartAfter: nullptr when the file stays unchanged
    const struct {
        bool changed; std::vector<int> answers; std::string file; std::vector<int> messages; const char* restartAfter;
    } cases[] = {
        {false, {}, "", {}, "no"},
        {true, {MessageResult::No}, "", {127}, "no"},
        {true, {MessageResult::Yes}, "", {127, 131}, "yes"},
        {true, {MessageResult::Yes}, noRestartKey, {127, 1007}, nullptr},
        {true, {MessageResult::Yes, MessageResult::No}, pendingReset, {127, 129}, nullptr},
        {true, {MessageResult::Yes, MessageResult::Yes}, pendingReset, {127, 129, 131}, "yes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.messages));
        if (!c.file.empty()) share.Write("Config/Config.ini", c.file);
        const std::string before = share.Read("Config/Config.ini");
        ConfigMainDlg& main = OpenMain();
        app.SetParametersChanged(c.changed);
        presenter.shown.clear();
        presenter.answers.assign(c.answers.begin(), c.answers.end());
        main.close();
        Settle();
        EXPECT_FALSE(main.isVisible());
        EXPECT_EQ(presenter.ShownIds(), c.messages);
        if (c.changed) {
            EXPECT_EQ(presenter.shown[0].type, MessageType::YesNo | MessageType::IconQuestion);
        }
        if (c.restartAfter) {
            EXPECT_EQ(FileValue("Server", "Restart"), c.restartAfter);
            const std::optional<HistoryEntry> last = LastWriteOf(app.GetHistoryAddress(), "Config/Config.ini");
            const std::vector<Change> restart{{"Server", "Restart", "no", "yes"}};
            EXPECT_EQ(last && last->changes.changes == restart, std::string(c.restartAfter) == "yes");  // kept
        } else {
            EXPECT_EQ(share.Read("Config/Config.ini"), before);
        }
    }
}

TEST_F(ShellTest, AnEscapedErrorEndsTheModalRunWithMessage1010) {
    window = std::make_unique<ConfigMainDlg>(app);
    app.SetMainWindow(window.get());
    QTimer::singleShot(300, window.get(), [] { throw std::bad_alloc(); });
    EXPECT_EQ(window->DoModal(), 0);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{1010});
    EXPECT_FALSE(window->isVisible());
}

TEST_F(ShellTest, DiscAccessOpensTheCdFolderOrSaysItCouldNot) {
    std::filesystem::rename(share.PathOf("Cd"), share.PathOf("CD"));  // found whatever its letter case
    OpenMain();
    Press(*window, StartDlg::DiscAccessButton);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(QString::fromStdString(share.PathOf("CD"))));
    EXPECT_TRUE(presenter.shown.empty());
    openerAnswer = false;  // the desktop has no file manager
    Press(*window, StartDlg::DiscAccessButton);
    openerAnswer = true;  // a share without a Cd folder
    std::filesystem::remove_all(share.PathOf("CD"));
    Press(*window, StartDlg::DiscAccessButton);
    EXPECT_EQ(presenter.ShownIds(), (std::vector<int>{1000, 1000}));
    EXPECT_EQ(opened.size(), 2u);
}

// Help and F1 show the topic of the page shown, from anywhere in the program.
TEST_F(ShellTest, HelpShowsTheTopicOfTheCurrentPage) {
    ConfigMainDlg& main = OpenMain();
    UseTestTools();
    main.GetChild()->findChild<QPushButton*>(QString::number(kHelp))->click();
    ASSERT_NE(app.GetHelpViewer(), nullptr);
    EXPECT_EQ(app.GetHelpViewer()->CurrentTopic(), 0);
    main.OpenConfiguration();
    app.SetHelpContext(5);
    Press(*window, kHelp);
    EXPECT_EQ(app.GetHelpViewer()->CurrentTopic(), 5);
    app.SetHelpContext(9);
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    tool->edit->setFocus();
    QTest::keyClick(tool->edit, Qt::Key_F1);
    EXPECT_EQ(app.GetHelpViewer()->CurrentTopic(), 9);
    QPointer<HelpViewer> viewer = app.GetHelpViewer();
    window.reset();  // the viewer goes with the main window
    EXPECT_TRUE(viewer.isNull() || !viewer->isVisible());
}

// The header's context menu and Ctrl+F1 show the About box of the build's brand.
TEST_F(ShellTest, AboutEntryAndBox) {
    for (const bool oem : {false, true}) {
        app.SetOemBranding(oem);
        const QString title = oem ? "JQ CD-ROM Server Utility" : "QUOR Tessaron Configuration";
        ConfigMainDlg& main = OpenMain();
        EXPECT_EQ(main.windowTitle(), title + " - tessaron1");
        EXPECT_EQ(Visible(1076), !oem);  // the maker's logo, or the OEM's
        EXPECT_EQ(Visible(1265), oem);
        std::unique_ptr<QMenu> menu(main.CreateHeaderMenu());
        EXPECT_EQ(menu->actions().back()->text(), "&About " + title + "...");
        QString text;
        bool noticeShown = false;
        WhenModalShown([&](QWidget* modal) {
            text = modal->windowTitle() + "|" + modal->findChild<QLabel*>(QStringLiteral("1267"))->text();
            noticeShown = modal->findChild<QWidget*>(QStringLiteral("1266"))->isVisible();
            QTest::keyClick(modal, Qt::Key_Return);
        });
        main.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
        if (oem) QTest::keyClick(&main, Qt::Key_F1, Qt::ControlModifier);
        if (!oem) menu->actions().back()->trigger();
        EXPECT_EQ(text, title + "|" + title);
        EXPECT_EQ(noticeShown, !oem);
    }
}

// The lines of a list shown in a window, their columns joined by "|".
QStringList Lines(const QTreeWidget* list) {
    QStringList lines;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QStringList columns;
        for (int column = 0; column < list->columnCount(); ++column) columns << list->topLevelItem(i)->text(column);
        lines << columns.join('|');
    }
    return lines;
}

// The header's shortcut: Ctrl+D lists what the page's Submit would write,
// from any field; Revert puts the selected value back on the page.
TEST_F(ShellTest, PendingChangesListThePageAndRevert) {
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& ip = Activate("IP");
    Type(Edit(ip, "NetMask"), "255.255.0.0");
    Type(Edit(ip, "Default Router"), "10.0.0.1");
    QStringList listed, afterRevert;
    WhenModalShown([&](QWidget* modal) {
        auto* list = modal->findChild<QTreeWidget*>(QStringLiteral("1401"));
        listed = Lines(list);
        list->setCurrentItem(list->topLevelItem(1));
        modal->findChild<QPushButton*>(QStringLiteral("1402"))->click();
        afterRevert = Lines(list);
        modal->close();
    });
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(Edit(ip, "NetMask"), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(listed, QStringList({"Default Router|192.168.1.1|10.0.0.1", "NetMask|255.255.255.0|255.255.0.0"}));
    EXPECT_EQ(afterRevert, QStringList({"Default Router|192.168.1.1|10.0.0.1"}));
    EXPECT_EQ(Edit(ip, "NetMask")->text(), "255.255.255.0");
    EXPECT_EQ(Edit(ip, "Default Router")->text(), "10.0.0.1");
    // The restart a factory reset brings along is listed but cannot be put back on its own.
    Press(ip, TemplatePage::kResetId);
    TemplatePage& server = Activate("Server");
    Choose(Combo(server, "Factory Defaults"), "yes");
    std::vector<bool> revertible;
    WhenModalShown([&](QWidget* modal) {
        auto* list = modal->findChild<QTreeWidget*>(QStringLiteral("1401"));
        listed = Lines(list);
        for (int line = 0; line < list->topLevelItemCount(); ++line) {
            list->setCurrentItem(list->topLevelItem(line));
            revertible.push_back(modal->findChild<QPushButton*>(QStringLiteral("1402"))->isEnabled());
        }
        modal->close();
    });
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(Combo(server, "Factory Defaults"), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(listed, QStringList({"Factory Defaults|no|yes", "Restart|no|yes"}));
    EXPECT_EQ(revertible, (std::vector<bool>{true, false}));
    EXPECT_TRUE(presenter.shown.empty());
}

// The main window with a history of the share's writes of its own.
class HistoryShellTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        state = std::filesystem::temp_directory_path() / ("tessaron-window-state-" + std::to_string(::getpid()));
        std::filesystem::remove_all(state);
        ::setenv("XDG_STATE_HOME", state.c_str(), 1);
    }
    void TearDown() override {
        ShellTest::TearDown();
        ::unsetenv("TESSARON_HISTORY");
        ::setenv("XDG_STATE_HOME", TESSARON_TEST_STATE, 1);
        std::filesystem::remove_all(state);
    }
    std::vector<HistoryEntry> Writes() const { return History(app.GetHistoryAddress()).Entries(); }
    // Types a value into a row of the page shown and submits it.
    void SubmitRow(const char* tab, const char* row, const QString& value) {
        TemplatePage& page = Activate(tab);
        Type(Edit(page, row), value);
        Submit(page);
    }
    std::filesystem::path state;
};

// Every write is kept, with its serial number, bytes and change set, unless
// the history is off (the header's switch, remembered, or the environment);
// a history that cannot be written is said once, and the writes stand.
TEST_F(HistoryShellTest, WritesAreKeptUnlessTheHistoryIsOff) {
    const struct {
        const char* name;
        std::function<void(QAction* keep)> before;
        std::vector<int> messages;
        size_t kept;
    } cases[] = {
        {"kept", nullptr, {125, 125}, 2},
        {"switched off", [](QAction* keep) { keep->trigger(); }, {125, 125}, 0},
        {"off in the environment", [](QAction* keep) { EXPECT_FALSE(keep->isEnabled()); }, {125, 125}, 0},
        {"cannot be written", [this](QAction*) { ::setenv("XDG_STATE_HOME", (share.PathOf("Config/Config.ini")).c_str(), 1); },
         {125, 60222, 125}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(state);
        if (std::string(c.name) == "off in the environment") ::setenv("TESSARON_HISTORY", "off", 1);
        ASSERT_NE(OpenSheet(), nullptr);
        std::unique_ptr<QMenu> menu(window->CreateHeaderMenu());
        QAction* keep = menu->actions().at(2);
        EXPECT_EQ(keep->isChecked(), std::string(c.name) != "off in the environment");
        if (c.before) c.before(keep);
        menu.reset();
        const std::string before = ConfigText();
        SubmitRow("IP", "NetMask", "255.255.0.0");
        SubmitRow("IP", "Default Router", "10.0.0.1");
        EXPECT_EQ(presenter.ShownIds(), c.messages);
        EXPECT_EQ(FileValue("IP", "DefaultRouter"), "10.0.0.1");
        ::setenv("XDG_STATE_HOME", state.c_str(), 1);
        ::unsetenv("TESSARON_HISTORY");
        const std::vector<HistoryEntry> writes = Writes();
        EXPECT_EQ(writes.size(), c.kept);
        EXPECT_EQ(UserKeepsLocalState(), std::string(c.name) != "switched off");
        if (c.kept) {
            EXPECT_EQ(writes[1].program, "tessaron-config");
            EXPECT_EQ(writes[1].serial, " 1234-5678");
            EXPECT_TRUE(writes[1].kept);
            EXPECT_EQ(writes[1].changes, (ChangeSet{"Config/Config.ini", {{"IP", "NetMask", "255.255.255.0", "255.255.0.0"}}}));
            EXPECT_EQ(History(app.GetHistoryAddress()).BytesBefore(writes[1].id), before);
            EXPECT_EQ(History(app.GetHistoryAddress()).BytesAfter(writes[0].id), ConfigText());
        }
        SetUserKeepsLocalState(true);
        CloseMain();
        share.Write("Config/Config.ini", before);
    }
}

// "Undo This Change" sets back what a write changed through a submit of the
// file as it is now: the same confirmations, recorded as any write; a write
// a later change came over is refused, naming it.
TEST_F(HistoryShellTest, TheHistoryUndoesAWriteThroughTheSubmitPath) {
    ASSERT_NE(OpenSheet(), nullptr);
    SubmitRow("IP", "NetMask", "255.255.0.0");
    SubmitRow("IP", "Default Router", "10.0.0.1");
    const auto factoryDefaults = [this](const char* value) {
        ParameterHandler file;
        file.Load(share.Files(), "Config/Config.ini", CatalogueOf(Configuration));
        file.SetValue("Server", "FactoryDefaults", value);
        file.Write();
    };
    const int yes = MessageResult::Yes, no = MessageResult::No;
    const struct {
        const char* name; int line; const char* factoryDefaults; std::vector<int> answers, messages; const char* mask;
    } cases[] = {
        {"a factory reset the file asks for is asked first", 1, "yes", {yes, no}, {60225, 129}, "255.255.0.0"},
        {"set back", 1, "no", {yes}, {60225, 125}, "255.255.255.0"},
        {"declined", 1, nullptr, {no}, {60225}, "255.255.255.0"},
        {"a later change came over it", 2, nullptr, {}, {60223}, "255.255.255.0"},
        {"the file cannot be read", 1, nullptr, {}, {1007}, "255.255.255.0"},
    };
    QStringList listed, details;
    std::vector<std::vector<int>> shown;
    std::vector<QString> said;
    std::vector<std::string> masks;
    WhenModalShown([&](QWidget* modal) {
        auto* writes = modal->findChild<QTreeWidget*>(QStringLiteral("1411"));
        for (const QString& line : Lines(writes)) listed << line.section('|', 1);  // all but the time
        details << Lines(modal->findChild<QTreeWidget*>(QStringLiteral("1412")));  // the newest, chosen at first
        for (const auto& c : cases) {
            if (c.factoryDefaults) factoryDefaults(c.factoryDefaults);
            writes->setCurrentItem(writes->topLevelItem(c.line));
            details << Lines(modal->findChild<QTreeWidget*>(QStringLiteral("1412")));
            presenter.shown.clear();
            presenter.answers.assign(c.answers.begin(), c.answers.end());
            const std::string text = ConfigText();
            const bool unreadable = std::string(c.name) == "the file cannot be read";
            if (unreadable) {  // a folder where the file was
                std::filesystem::remove(share.PathOf("Config/Config.ini"));
                std::filesystem::create_directory(share.PathOf("Config/Config.ini"));
            }
            modal->findChild<QPushButton*>(QStringLiteral("1413"))->click();
            if (unreadable) {
                std::filesystem::remove(share.PathOf("Config/Config.ini"));
                share.Write("Config/Config.ini", text);
            }
            shown.push_back(presenter.ShownIds());
            said.push_back(presenter.shown.empty() ? QString() : presenter.shown[0].text);
            masks.push_back(FileValue("IP", "NetMask"));
        }
        modal->close();
    });
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(Edit(Active(), "NetMask"), Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(listed, QStringList({"tessaron-config|Config/Config.ini|Default Router [IP]",
                                   "tessaron-config|Config/Config.ini|NetMask [IP]"}));
    EXPECT_EQ(details[0], "Default Router [IP]|192.168.1.1|10.0.0.1");
    EXPECT_EQ(details[1], "NetMask [IP]|255.255.255.0|255.255.0.0");
    EXPECT_EQ(details[3], "Default Router [IP]|192.168.1.1|10.0.0.1");  // the undo came first
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(shown[i], cases[i].messages) << cases[i].name;
        EXPECT_EQ(masks[i], cases[i].mask) << cases[i].name;
    }
    ASSERT_EQ(said.size(), std::size(cases));
    EXPECT_TRUE(said[3].contains("NetMask [IP]: this change set 255.255.0.0, it is 255.255.255.0 now"));
    const std::vector<HistoryEntry> writes = Writes();
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(writes[0].changes.changes, (std::vector<Change>{{"IP", "NetMask", "255.255.0.0", "255.255.255.0"}}));
    EXPECT_EQ(Edit(Active(), "NetMask")->text(), "255.255.255.0");  // the page shows the file again
}

// A parameter file found empty whose last write the history holds is
// offered back (at start, or when a tool reads it); Yes writes that write's
// bytes over the empty file and keeps that write too.
TEST_F(HistoryShellTest, AnEmptiedFileOffersItsRestore) {
    const std::string sample = ConfigText();
    const int yes = MessageResult::Yes, no = MessageResult::No;
    const struct {
        const char* name; bool atStart; int answer; std::vector<int> messages; bool restored;
    } cases[] = {
        {"at start, declined", true, no, {60226, 60060, 1003}, false},
        {"at start", true, yes, {60226, 60227}, true},
        {"opening the pages", false, yes, {1005, 60226, 60227}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(state);
        app.RecordWrite({"Config/Config.ini", {{"IP", "NetMask", "255.0.0.0", "255.255.255.0"}}}, sample, sample, true);
        if (c.atStart) share.Write("Config/Config.ini", "");
        presenter.shown.clear();
        presenter.answers = {c.answer};
        OpenMain();
        if (!c.atStart) {
            share.Write("Config/Config.ini", "");
            presenter.answers = {MessageResult::Ok, c.answer};
            EXPECT_EQ(OpenSheet(), nullptr);
        }
        EXPECT_EQ(presenter.ShownIds(), c.messages);
        EXPECT_TRUE(presenter.shown[c.atStart ? 0 : 1].text.contains("(serial number 1234-5678)"));
        EXPECT_EQ(ConfigText(), c.restored ? sample : "");
        EXPECT_EQ(Caption(kServerType), c.restored || !c.atStart ? "QUOR Tessaron CD" : "");
        const std::vector<HistoryEntry> writes = Writes();
        ASSERT_EQ(writes.size(), c.restored ? 2u : 1u);
        if (c.restored) {
            EXPECT_EQ(writes[0].changes.changes.front(), (Change{"Server", "HardwareAddress", "", "00-A0-2B-01-23-45"}));
            EXPECT_EQ(History(app.GetHistoryAddress()).BytesAfter(writes[0].id), sample);
            EXPECT_EQ(writes[0].serial, " 1234-5678");
            HistoryDlg history(app, window.get());  // nothing was there before it to set back
            EXPECT_FALSE(history.findChild<QPushButton*>(QStringLiteral("1413"))->isEnabled());
        }
        CloseMain();
        share.Write("Config/Config.ini", sample);
    }
}

}  // namespace

// The program's own application class, so errors escaping an event handler
// take the program's path in the tests too.
TESSARON_QT_TEST_MAIN_WITH(GuardedApplication)
