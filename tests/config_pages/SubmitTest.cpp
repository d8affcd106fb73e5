#include <sys/file.h>

#include <fcntl.h>
#include <unistd.h>

#include <functional>

#include "Catalogue.h"
#include "FileLock.h"
#include "PageFixture.h"

namespace {


// A page that lets the test play the server between the page's write and its
// reading back: `server` runs before every reading while it is set.
class ServerPage : public TemplatePage {
public:
    explicit ServerPage(std::function<void()>& server) : server(server) {}

protected:
    void LoadPageData() override {
        if (server) server();
        TemplatePage::LoadPageData();
    }

private:
    std::function<void()>& server;
};

class SubmitTest : public PageTest {
protected:
    // Opens the sheet with pages whose server is played by `server`.
    void OpenWithServer() {
        OpenMain();
        window->SetToolFactory(ConfigMainDlg::ToolKind::Configuration, [this](QWidget* parent) {
            return new ConfigPropertySheet(parent, [this] { return std::make_unique<ServerPage>(server); });
        });
        ASSERT_NE(OpenSheet(), nullptr);
    }
    // A server that puts the value of section/key back to what it was.
    void RefuseValue(const std::string& section, const std::string& key, const std::string& old) {
        server = [=, this] {
            ParameterHandler handler;
            handler.Load(share.Files(), "Config/Config.ini", CatalogueOf(Configuration));
            handler.SetValue(section, key, old);
            handler.Write();
        };
    }
    std::function<void()> server;
};

TEST_F(SubmitTest, NothingChangedSaysSoAndWritesNothing) {
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& smb = Activate("SMB");
    const std::string before = ConfigText();
    Submit(smb);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{124});
    EXPECT_EQ(ConfigText(), before);
    EXPECT_FALSE(app.GetParametersChanged());
}

TEST_F(SubmitTest, EditCheckValueCountsOnlyWhenTicked) {
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& server = Activate("Server");
    const int row = Row(server, "Date");
    QCheckBox* box = server.CheckAt(row);
    QLineEdit* date = Edit(server, "Date");
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->isChecked());
    EXPECT_TRUE(date->isReadOnly());

    // Without the tick a changed value is no change.
    date->setText("99-01-02");
    Submit(server);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{124});

    // Ticking opens the field for typing, focused and selected.
    presenter.shown.clear();
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    EXPECT_TRUE(box->isChecked());
    EXPECT_FALSE(date->isReadOnly());
    EXPECT_EQ(QApplication::focusWidget(), date);
    EXPECT_EQ(date->selectedText(), date->text());
    // Clearing it again puts the loaded value back and closes the field.
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    EXPECT_TRUE(date->isReadOnly());
    EXPECT_EQ(date->text(), "97-12-24");

    // Ticked, the value is checked, written with its write mark and needs no
    // confirmation from the server (the clock has moved on when it answers).
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    Type(date, "99-01-02");
    Submit(server);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{125});
    EXPECT_EQ(FileValue("Server", "Date"), "99-01-02!");
    EXPECT_EQ(FileValue("Server", "Time"), "14:30:00");  // not ticked: no mark
    // The page was rebuilt from the file: box clear again.
    EXPECT_FALSE(server.CheckAt(row)->isChecked());
}

struct RequestCase {
    const char* name;
    const char* key;
    int question;
    unsigned type;
    int answer;
    std::vector<int> messages;
    const char* restartAfter;
    const char* factoryAfter;
    bool closes;
};

class RestartRequests : public SubmitTest, public testing::WithParamInterface<RequestCase> {};

TEST_P(RestartRequests, AskConfirmationAndCloseOnYes) {
    const RequestCase& c = GetParam();
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& server = Activate("Server");
    app.SetParametersChanged(true);  // an earlier submit
    const std::string before = ConfigText();
    Choose(Combo(server, c.key), "yes");
    presenter.shown.clear();
    presenter.answers = {c.answer};
    Submit(server);
    Settle();
    EXPECT_EQ(presenter.ShownIds(), c.messages);
    EXPECT_EQ(presenter.shown[0].type, c.type);
    EXPECT_EQ(FileValue("Server", "Restart"), c.restartAfter);
    EXPECT_EQ(FileValue("Server", "FactoryDefaults"), c.factoryAfter);
    EXPECT_EQ(window->isVisible(), !c.closes);
    if (c.closes) {
        // The request restarts the server: nothing is left to restart for.
        EXPECT_FALSE(app.GetParametersChanged());
    } else {
        EXPECT_EQ(ConfigText(), before);
        EXPECT_EQ(Combo(server, c.key)->currentText(), "yes");  // the edit stays
        EXPECT_EQ(server.Working().GetValueAt(Row(server, c.key)), "yes");
    }
}

constexpr unsigned kAsk = MessageType::YesNo | MessageType::IconExclamation;

INSTANTIATE_TEST_SUITE_P(
    Answers, RestartRequests,
    testing::Values(RequestCase{"RestartYes", "Restart", 128, kAsk, MessageResult::Yes, {128, 131}, "yes", "no", true},
                    RequestCase{"RestartNo", "Restart", 128, kAsk, MessageResult::No, {128}, "no", "no", false},
                    RequestCase{"FactoryYes", "FactoryDefaults", 129, kAsk | MessageType::DefaultButton2,
                                MessageResult::Yes, {129, 131}, "yes", "yes", true},
                    RequestCase{"FactoryNo", "FactoryDefaults", 129, kAsk | MessageType::DefaultButton2,
                                MessageResult::No, {129}, "no", "no", false}),
    [](const testing::TestParamInfo<RequestCase>& info) { return std::string(info.param.name); });

// FactoryDefaults = yes already in the file: the restart this submit would
// send carries out a reset, which must be confirmed first.
TEST_F(SubmitTest, APendingFactoryResetIsAskedFirst) {
    WriteConfig("QUOR Tessaron CD-ROM Server V4.00\n[Server]\nFactoryDefaults = yes\nRestart = no\n"
                "[IP]\nNetMask = 255.0.0.0\n[END]\n");
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& ip = Activate("IP");
    const std::string before = ConfigText();
    Type(Edit(ip, "NetMask"), "255.255.0.0");
    presenter.shown.clear();
    presenter.answers = {MessageResult::No};
    Submit(ip);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{129});
    EXPECT_EQ(presenter.shown[0].type, MessageType::YesNo | MessageType::IconExclamation | MessageType::DefaultButton2);
    EXPECT_EQ(ConfigText(), before);
    presenter.answers = {MessageResult::Yes};
    Submit(ip);
    Settle();
    EXPECT_EQ(presenter.ShownIds(), (std::vector<int>{129, 129, 131}));
    EXPECT_EQ(FileValue("Server", "Restart"), "yes");
    EXPECT_EQ(FileValue("IP", "NetMask"), "255.255.0.0");
    EXPECT_FALSE(window->isVisible());
}

// Choice lists showing values that are empty or match no entry exactly must
// not change them: neither leaving nor submitting the page touches them.
TEST_F(SubmitTest, AnUntouchedChoiceKeepsItsValue) {
    WriteConfig("QUOR Tessaron CD-ROM Server V4.00\n[Server]\nMediaAgentMode = off ; off/on\n"
                "SourceRouting = ; yes/no\nTimeSyncSource = no ; none/no\n[IP]\nNetMask = 255.0.0.0\n[END]\n");
    ASSERT_NE(OpenSheet(), nullptr);
    Activate("Server");
    presenter.shown.clear();
    TemplatePage& ip = Activate("IP");
    EXPECT_EQ(Sheet()->GetActivePage(), &ip);
    EXPECT_TRUE(presenter.shown.empty());  // nothing to submit
    TemplatePage& server = Activate("Server");
    Choose(Combo(server, "MediaAgentMode"), "on");
    Submit(server);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{125});
    EXPECT_EQ(FileValue("Server", "MediaAgentMode"), "on");
    EXPECT_EQ(FileValue("Server", "SourceRouting"), "");
    EXPECT_EQ(FileValue("Server", "TimeSyncSource"), "no");
}

// Another program changed the file after the page read it: the submit does
// not write over that change, keeps what the user typed, and the next one
// applies only the user's change to the file as it is now.
TEST_F(SubmitTest, AChangeMadeMeanwhileIsNeverOverwritten) {
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& ip = Activate("IP");
    Type(Edit(ip, "NetMask"), "255.255.0.0");
    ParameterHandler other;
    other.Load(share.Files(), "Config/Config.ini", CatalogueOf(Configuration));
    other.SetValue("IP", "DefaultRouter", "10.9.9.9");
    other.Write();
    const std::string theirs = ConfigText();
    presenter.shown.clear();
    Submit(ip);
    ASSERT_EQ(presenter.ShownIds(), std::vector<int>{126});
    EXPECT_TRUE(presenter.shown[0].detail.contains(QStringLiteral("changed by another program")));
    EXPECT_EQ(ConfigText(), theirs);
    EXPECT_EQ(Edit(ip, "NetMask")->text(), "255.255.0.0");
    Submit(ip);
    EXPECT_EQ(presenter.ShownIds(), (std::vector<int>{126, 125}));
    EXPECT_EQ(FileValue("IP", "NetMask"), "255.255.0.0");
    EXPECT_EQ(FileValue("IP", "DefaultRouter"), "10.9.9.9");
}

TEST_F(SubmitTest, FactoryDefaultsWithoutRestartKeyIsReportedAndNotWritten) {
    WriteConfig("QUOR Tessaron CD-ROM Server V4.00\n[Server]\nFactoryDefaults = no ; yes/no\n[END]\n");
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& server = Activate("Server");
    const std::string before = ConfigText();
    Choose(Combo(server, "FactoryDefaults"), "yes");
    presenter.answers = {MessageResult::Yes};
    Submit(server);
    Settle();
    EXPECT_EQ(presenter.ShownIds(), (std::vector<int>{129, 1007}));
    EXPECT_EQ(ConfigText(), before);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(SubmitTest, RefusedValueGives126AndStaysPending) {
    OpenWithServer();
    TemplatePage& ip = Activate("IP");
    Type(Edit(ip, "NetMask"), "255.255.0.0");
    RefuseValue("IP", "NetMask", "255.255.255.0");
    Submit(ip);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{126});
    EXPECT_FALSE(ip.SubmitSucceeded());
    EXPECT_FALSE(app.GetParametersChanged());
    EXPECT_EQ(FileValue("IP", "NetMask"), "255.255.255.0");
    // The edit is still there and still a change.
    EXPECT_EQ(Edit(ip, "NetMask")->text(), "255.255.0.0");
    EXPECT_EQ(ip.Working().GetValueAt(Row(ip, "NetMask")), "255.255.0.0");
    EXPECT_EQ(ip.Loaded().GetValueAt(Row(ip, "NetMask")), "255.255.255.0");

    // Leaving offers it again; Yes submits, and the server still refuses.
    presenter.shown.clear();
    presenter.answers = {MessageResult::Yes};
    Activate("SMB");
    EXPECT_EQ(presenter.ShownIds(), (std::vector<int>{104, 126}));
    EXPECT_EQ(Sheet()->tabText(Sheet()->GetActiveIndex()), "IP");

    // Once the server takes it, the submit succeeds.
    server = nullptr;
    presenter.shown.clear();
    Submit(ip);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{125});
    EXPECT_EQ(FileValue("IP", "NetMask"), "255.255.0.0");
    EXPECT_TRUE(app.GetParametersChanged());
}

TEST_F(SubmitTest, FileThatCannotBeReadBackGives1007AndKeepsTheEdits) {
    OpenWithServer();
    TemplatePage& ip = Activate("IP");
    Type(Edit(ip, "NetMask"), "255.255.0.0");
    std::unique_ptr<FileLock> lock;
    server = [&] { lock = std::make_unique<FileLock>(share.PathOf("Config/Config.ini")); };
    Submit(ip);
    server = nullptr;
    lock.reset();
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{1007});
    EXPECT_FALSE(ip.SubmitSucceeded());
    EXPECT_EQ(FileValue("IP", "NetMask"), "255.255.0.0");  // it was written
    EXPECT_EQ(Edit(ip, "NetMask")->text(), "255.255.0.0");
    EXPECT_EQ(ip.Working().GetValueAt(Row(ip, "NetMask")), "255.255.0.0");
    EXPECT_EQ(ip.Loaded().GetValueAt(Row(ip, "NetMask")), "255.255.255.0");
    // Submitting again finds the change and confirms it.
    presenter.shown.clear();
    Submit(ip);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{125});
}

TEST_F(SubmitTest, FileThatCannotBeWrittenGives1007AndKeepsTheEdits) {
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& ip = Activate("IP");
    Type(Edit(ip, "NetMask"), "255.255.0.0");
    const std::string before = ConfigText();
    {
        FileLock lock(share.PathOf("Config/Config.ini"));
        Submit(ip);
    }
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{1007});
    EXPECT_EQ(ConfigText(), before);
    EXPECT_EQ(Edit(ip, "NetMask")->text(), "255.255.0.0");
    // The next try goes through.
    presenter.shown.clear();
    Submit(ip);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{125});
}

struct LeaveCase {
    const char* name;
    int answer;
    bool leaves;
    const char* netMaskAfter;
    std::vector<int> messages;
};

class LeavingChangedPage : public SubmitTest, public testing::WithParamInterface<LeaveCase> {};

TEST_P(LeavingChangedPage, AsksWhetherToSubmit) {
    const LeaveCase& c = GetParam();
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& ip = Activate("IP");
    Type(Edit(ip, "NetMask"), "255.255.0.0");
    presenter.answers = {c.answer};
    Activate("SMB");
    EXPECT_EQ(presenter.ShownIds(), c.messages);
    EXPECT_EQ(presenter.shown[0].type, MessageType::YesNoCancel | MessageType::IconExclamation);
    EXPECT_EQ(Sheet()->tabText(Sheet()->GetActiveIndex()), c.leaves ? "SMB" : "IP");
    EXPECT_EQ(FileValue("IP", "NetMask"), c.netMaskAfter);
    if (!c.leaves) {
        EXPECT_EQ(Edit(ip, "NetMask")->text(), "255.255.0.0");
        return;
    }
    // Back on the page, it shows the file.
    Activate("IP");
    EXPECT_EQ(Edit(ip, "NetMask")->text(), c.netMaskAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, LeavingChangedPage,
    testing::Values(LeaveCase{"Cancel", MessageResult::Cancel, false, "255.255.255.0", {104}},
                    LeaveCase{"No", MessageResult::No, true, "255.255.255.0", {104}},
                    LeaveCase{"Yes", MessageResult::Yes, true, "255.255.0.0", {104, 125}}),
    [](const testing::TestParamInfo<LeaveCase>& info) { return std::string(info.param.name); });

TEST_F(SubmitTest, HomeAndCloseAskTheActivePage) {
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& ip = Activate("IP");
    Type(Edit(ip, "NetMask"), "255.255.0.0");
    presenter.answers = {MessageResult::Cancel};
    window->Control<QPushButton>(1124)->click();  // Home
    Settle();
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{104});
    EXPECT_EQ(Sheet(), window->GetChild());

    presenter.shown.clear();
    presenter.answers = {MessageResult::Cancel};
    window->close();
    Settle();
    EXPECT_TRUE(window->isVisible());

    // Yes submits, then the closing asks about the restart.
    presenter.shown.clear();
    presenter.answers = {MessageResult::Yes, MessageResult::Ok, MessageResult::No};
    window->close();
    Settle();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(presenter.ShownIds(), (std::vector<int>{104, 125, 127}));
    EXPECT_EQ(FileValue("IP", "NetMask"), "255.255.0.0");
}

TEST_F(SubmitTest, ResetShowsTheFileAgain) {
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& ip = Activate("IP");
    Type(Edit(ip, "NetMask"), "255.255.0.0");
    Choose(Combo(ip, "BOOTPEnable"), "yes");
    std::string text = ConfigText();
    text.replace(text.find("192.168.1.1"), 11, "192.168.1.9");
    share.Write("Config/Config.ini", text);

    Press(ip, TemplatePage::kResetId);
    EXPECT_TRUE(presenter.shown.empty());
    EXPECT_EQ(Edit(ip, "NetMask")->text(), "255.255.255.0");
    EXPECT_EQ(Combo(ip, "BOOTPEnable")->currentText(), "no");
    EXPECT_EQ(Edit(ip, "DefaultRouter")->text(), "192.168.1.9");
    EXPECT_TRUE(ip.Working().IsEqual(ip.Loaded()));
    EXPECT_TRUE(Sheet()->CanLeave());
    EXPECT_TRUE(presenter.shown.empty());
}

}  // namespace
