#include <QProcess>

#include "ShellFixture.h"
#include "StringTable.h"

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
        {"network share nobody mounted", {QStringLiteral("//no-such-host-4711/share")}, "", false, false, 1, {60010}},
        {"folder that does not exist", {root + QStringLiteral("/gone")}, "", false, false, 1, {60021}},
        {"folder that is not a share", {root + QStringLiteral("/Cd")}, "", false, false, 1, {60022}},
        {"help", {QStringLiteral("--help")}, "", false, false, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ConfigApp app;
        ScriptedPresenter& presenter = InstallScriptedPresenter(app);
        bool asked = false, run = false;
        std::string pathSeen;
        app.SetFolderChooser([&] { return asked = true, c.chosen; });
        app.SetMainWindowRunner([&](ConfigApp& running) { run = true, pathSeen = running.GetServerPath(); });
        testing::internal::CaptureStdout();
        EXPECT_EQ(app.StartUp(c.arguments), c.status);
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_EQ(asked, c.chooserAsked);
        EXPECT_EQ(run, c.windowRun);
        EXPECT_EQ(pathSeen, run ? share.Root() : "");
        EXPECT_EQ(presenter.ShownIds(), c.messages);
        if (!c.messages.empty() && c.messages[0] != 60010) {  // the message names the folder
            EXPECT_TRUE(presenter.shown[0].text.contains(c.arguments[0]));
        }
        EXPECT_EQ(printed.find("Usage") != std::string::npos, c.arguments == QStringList{QStringLiteral("--help")});
    }
}

// On a console without a display the program still answers --help and
// --version (and says nothing on standard error).
TEST(ConfigAppStartUp, HelpAndVersionNeedNoDisplay) {
    for (const char* option : {"--help", "--version"}) {
        SCOPED_TRACE(option);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(TESSARON_CONFIG_BINARY), {QString::fromLatin1(option)});
        ASSERT_TRUE(program.waitForFinished(10000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
        EXPECT_FALSE(program.readAllStandardOutput().isEmpty());
        EXPECT_TRUE(program.readAllStandardError().isEmpty());
    }
}

// Every message carries the program's title; a plain OK box gets the exclamation icon.
TEST(ConfigAppMessages, CaptionAndIcon) {
    ConfigApp app;
    app.SetOemBranding(false);
    ScriptedPresenter& presenter = InstallScriptedPresenter(app);
    const std::pair<unsigned, unsigned> cases[] = {
        {MessageType::Ok, MessageType::Ok | MessageType::IconExclamation},
        {MessageType::YesNo | MessageType::IconQuestion, MessageType::YesNo | MessageType::IconQuestion},
        {MessageType::Ok | MessageType::IconInformation, MessageType::Ok | MessageType::IconInformation},
    };
    for (const auto& [asked, shown] : cases) {
        app.ShowMessage(124, asked);
        EXPECT_EQ(presenter.shown.back().type, shown);
        EXPECT_EQ(presenter.shown.back().caption, QStringLiteral("QUOR Tessaron Configuration"));
        EXPECT_EQ(presenter.shown.back().text, QStringLiteral("Nothing has been changed!"));
    }
    app.SetOemBranding(true);
    app.ShowMessage(1000);
    EXPECT_EQ(presenter.shown.back().caption, QStringLiteral("JQ CD-ROM Server Utility"));
}

TEST(ConfigAppMessages, AFailureSaysWhatFailedAndWhyInTheDetails) {
    ConfigApp app;
    ScriptedPresenter& presenter = InstallScriptedPresenter(app);
    try {
        ParameterSection().GetParameter("Missing");
    } catch (const FileException& error) {
        app.ReportFailure(1007, error);
    }
    ASSERT_EQ(presenter.ShownIds(), (std::vector<int>{1021, 1007}));  // the store's own message first
    EXPECT_EQ(presenter.shown[1].text, QString::fromStdString(LoadString(1007)));
    EXPECT_TRUE(presenter.shown[1].detail.contains(QStringLiteral("Missing")));
}
