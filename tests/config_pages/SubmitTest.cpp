#include <filesystem>
#include <functional>

#include "Catalogue.h"
#include "PageFixture.h"
#include "QtTestMain.h"
#include "StringTable.h"

namespace {

namespace fs = std::filesystem;

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
    // Opens the IP page of a sheet whose server is played by `server`, with a new net mask typed.
    TemplatePage& ChangedNetMask() {
        OpenMain();
        window->SetToolFactory(ConfigMainDlg::ToolKind::Configuration, [this](QWidget* parent) {
            return new ConfigPropertySheet(parent, [this] { return std::make_unique<ServerPage>(server); });
        });
        EXPECT_NE(OpenSheet(), nullptr);
        TemplatePage& ip = Activate("IP");
        Type(Edit(ip, "NetMask"), "255.255.0.0");
        return ip;
    }
    void SetInFile(const std::string& section, const std::string& key, const std::string& value) {
        ParameterHandler handler;
        handler.Load(share.Files(), "Config/Config.ini", CatalogueOf(Configuration));
        handler.SetValue(section, key, value);
        handler.Write();
    }
    std::function<void()> server;
};

// A changed value that breaks its rule stops the submit with the rule's
// message; the field gets the focus with its text selected; nothing is
// written, and leaving is refused as well.
TEST_F(SubmitTest, AChangedValueThatBreaksItsRuleIsRefused) {
    const struct { const char *tab, *row; QString typed; int message; bool tick; } cases[] = {
        {"IP", "Default Router", "256.1.1.1", 1022, false},
        {"Server", "Date", "97-13-01", 1025, true},
        // The file holds bytes of one character set: a character it lacks
        // cannot be written, checked or not.
        {"Server", "LogLevel", QString(QChar(0x03A9)), 1022, false},
    };
    ASSERT_NE(OpenSheet(), nullptr);
    const std::string before = ConfigText();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        TemplatePage& page = Activate(c.tab);
        if (c.tick) Check(page, c.row)->click();
        QLineEdit* edit = Edit(page, c.row);
        Type(edit, c.typed);
        presenter.shown.clear();
        Submit(page);
        EXPECT_EQ(presenter.ShownIds(), std::vector<int>{c.message});
        EXPECT_EQ(QApplication::focusWidget(), edit);
        EXPECT_EQ(edit->selectedText(), c.typed);
        EXPECT_EQ(ConfigText(), before);
        presenter.shown.clear();
        EXPECT_FALSE(Sheet()->CanLeave());
        EXPECT_EQ(presenter.ShownIds(), std::vector<int>{c.message});
        Press(page, TemplatePage::kResetId);
    }
    EXPECT_FALSE(app.GetParametersChanged());
}

// Only changed values are checked: invalid values from the file pass, typed
// again they are no change, and values compare in their canonical form.
// What was typed goes into the file as the server's bytes.
TEST_F(SubmitTest, OnlyChangedValuesAreCheckedAndWrittenAsTheServersBytes) {
    std::string text = ConfigText();
    text.replace(text.find("InternetAddress = 192.168.1.50"), 30, "InternetAddress = 300.1.1.1");
    share.Write("Config/Config.ini", text);
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& ip = Activate("IP");
    Type(Edit(ip, "Internet Address"), "300.1.1.1");
    Type(Edit(ip, "Default Router"), " 192.168.001.001 ");
    Submit(ip);
    EXPECT_EQ(Edit(ip, "Default Router")->text(), "192.168.1.1");
    Type(Edit(ip, "NetMask"), "255.255.0.0");
    Submit(ip);
    EXPECT_EQ(FileValue("IP", "NetMask"), "255.255.0.0");
    EXPECT_EQ(FileValue("IP", "InternetAddress"), "300.1.1.1");
    TemplatePage& snmp = Activate("SNMP");
    Type(Edit(snmp, "System Location"), QString::fromUtf8("Caf\u00e9_\u20ac"));
    Submit(snmp);
    EXPECT_NE(ConfigText().find("SystemLocation = Caf\xe9_\x80\r\n"), std::string::npos);
    EXPECT_EQ(Edit(snmp, "System Location")->text(), QString::fromUtf8("Caf\u00e9_\u20ac"));
    EXPECT_EQ(presenter.ShownIds(), (std::vector<int>{124, 125, 125}));
    EXPECT_TRUE(app.GetParametersChanged());
}

TEST_F(SubmitTest, AnEditCheckValueCountsOnlyWhenTicked) {
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& server = Active();
    QCheckBox* box = Check(server, "Date");
    const DialogUnits units = server.Units();  // the row's label, in reference pixels
    EXPECT_EQ(box->geometry(), QRect(QPoint(units.ReferenceX(4), units.ReferenceY(32)), QPoint(units.ReferenceX(124) - 1, units.ReferenceY(56) - 1)));
    QLineEdit* date = Edit(server, "Date");
    EXPECT_FALSE(box->isChecked());
    EXPECT_TRUE(date->isReadOnly());
    date->setText("99-01-02");  // without the tick a changed value is no change
    Submit(server);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{124});
    // Ticking opens the field for typing, focused and selected; clearing it
    // puts the loaded value back and closes the field.
    const auto click = [&] { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); };
    click();
    EXPECT_FALSE(date->isReadOnly());
    EXPECT_EQ(QApplication::focusWidget(), date);
    EXPECT_EQ(date->selectedText(), date->text());
    click();
    EXPECT_TRUE(date->isReadOnly());
    EXPECT_EQ(date->text(), "97-12-24");
    // Ticked, the value is written with its write mark and needs no
    // confirmation from the server (the clock has moved on when it answers).
    click();
    Type(date, "99-01-02");
    Submit(server);
    EXPECT_EQ(presenter.ShownIds(), (std::vector<int>{124, 125}));
    EXPECT_EQ(FileValue("Server", "Date"), "99-01-02!");
    EXPECT_EQ(FileValue("Server", "Time"), "14:30:00");
    EXPECT_FALSE(Check(Active(), "Date")->isChecked());
}

// A restart or factory-default request is asked first; Yes sends it and
// closes the window (nothing is left to restart for), No keeps the edit.
TEST_F(SubmitTest, RestartRequestsAskFirstAndCloseOnYes) {
    constexpr unsigned ask = MessageType::YesNo | MessageType::IconExclamation;
    const struct { const char* row; unsigned type; int answer; std::vector<int> messages; const char *restart, *reset; } cases[] = {
        {"Restart", ask, MessageResult::No, {128}, "no", "no"},
        {"Restart", ask, MessageResult::Yes, {128, 131}, "yes", "no"},
        {"Factory Defaults", ask | MessageType::DefaultButton2, MessageResult::No, {129}, "no", "no"},
        {"Factory Defaults", ask | MessageType::DefaultButton2, MessageResult::Yes, {129, 131}, "yes", "yes"},
    };
    const std::string sample = ConfigText();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.messages));
        share.Write("Config/Config.ini", sample);
        OpenMain();
        ASSERT_NE(OpenSheet(), nullptr);
        app.SetParametersChanged(true);  // an earlier submit
        Choose(Combo(Active(), c.row), "yes");
        presenter.answers = {c.answer};
        Submit(Active());
        Settle();
        EXPECT_EQ(presenter.ShownIds(), c.messages);
        EXPECT_EQ(presenter.shown[0].type, c.type);
        EXPECT_EQ(FileValue("Server", "Restart"), c.restart);
        EXPECT_EQ(FileValue("Server", "FactoryDefaults"), c.reset);
        const bool closes = c.answer == MessageResult::Yes;
        EXPECT_EQ(window->isVisible(), !closes);
        EXPECT_EQ(app.GetParametersChanged(), !closes);
        if (!closes) { EXPECT_EQ(Combo(Active(), c.row)->currentText(), "yes"); }  // the edit stays
    }
}

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
    TemplatePage& ip = Activate("IP");
    EXPECT_EQ(Sheet()->GetActivePage(), &ip);
    EXPECT_TRUE(presenter.shown.empty());  // nothing to submit
    TemplatePage& server = Activate("Server");
    Choose(Combo(server, "Media Agent Mode"), "on");
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
    TemplatePage& ip = ChangedNetMask();
    SetInFile("IP", "DefaultRouter", "10.9.9.9");
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

// A value the server put back is not taken (126): the change stays pending,
// and leaving offers it again.
TEST_F(SubmitTest, ARefusedValueStaysPending) {
    TemplatePage& ip = ChangedNetMask();
    server = [this] { SetInFile("IP", "NetMask", "255.255.255.0"); };
    Submit(ip);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{126});
    EXPECT_FALSE(app.GetParametersChanged());
    EXPECT_EQ(Edit(ip, "NetMask")->text(), "255.255.0.0");
    presenter.shown.clear();
    presenter.answers = {MessageResult::Yes};
    Activate("SMB");
    EXPECT_EQ(presenter.ShownIds(), (std::vector<int>{104, 126}));
    EXPECT_EQ(Sheet()->tabText(Sheet()->GetActiveIndex()), "IP");
    server = nullptr;  // once the server takes it, the submit succeeds
    Submit(ip);
    EXPECT_EQ(presenter.ShownIds(), (std::vector<int>{104, 126, 125}));
    EXPECT_EQ(FileValue("IP", "NetMask"), "255.255.0.0");
    EXPECT_TRUE(app.GetParametersChanged());
}

// A file that cannot be written, or read back, gives 1007; the edits stay
// and the next submit goes through.
TEST_F(SubmitTest, AFileThatCannotBeWrittenOrReadBackKeepsTheEdits) {
    const std::string path = share.PathOf("Config/Config.ini");
    const auto unreadable = [&] {
        fs::rename(path, path + ".away");
        fs::create_directory(path);
    };
    const auto back = [&] {
        fs::remove(path);
        fs::rename(path + ".away", path);
    };
    TemplatePage& ip = ChangedNetMask();
    const std::string before = ConfigText();
    unreadable();
    Submit(ip);
    back();
    EXPECT_EQ(ConfigText(), before);
    server = [&] { unreadable(); };
    Submit(ip);
    server = nullptr;
    back();
    EXPECT_EQ(FileValue("IP", "NetMask"), "255.255.0.0");  // written, not read back
    EXPECT_EQ(Edit(ip, "NetMask")->text(), "255.255.0.0");
    Submit(ip);
    EXPECT_EQ(presenter.ShownIds(), (std::vector<int>{1007, 1007, 125}));
}

// Leaving a changed page - another tab, Home, closing - asks whether to
// submit: Cancel stays, No drops the change, Yes submits it.
TEST_F(SubmitTest, LeavingAChangedPageAsks) {
    ASSERT_NE(OpenSheet(), nullptr);
    const struct { int answer; const char *shownAfter, *netMaskAfter; std::vector<int> messages; } cases[] = {
        {MessageResult::Cancel, "IP", "255.255.255.0", {104}},
        {MessageResult::No, "SMB", "255.255.255.0", {104}},
        {MessageResult::Yes, "SMB", "255.255.0.0", {104, 125}},
    };
    for (const auto& c : cases) {
        Type(Edit(Activate("IP"), "NetMask"), "255.255.0.0");
        presenter.shown.clear();
        presenter.answers = {c.answer};
        Activate("SMB");
        EXPECT_EQ(presenter.ShownIds(), c.messages);
        EXPECT_EQ(presenter.shown[0].type, MessageType::YesNoCancel | MessageType::IconExclamation);
        EXPECT_EQ(Sheet()->tabText(Sheet()->GetActiveIndex()), c.shownAfter);
        EXPECT_EQ(FileValue("IP", "NetMask"), c.netMaskAfter);
    }
    Type(Edit(Activate("IP"), "NetMask"), "255.0.0.0");
    presenter.shown.clear();
    presenter.answers = {MessageResult::Cancel, MessageResult::Cancel, MessageResult::Yes, MessageResult::Ok,
                         MessageResult::No};
    window->Control<QPushButton>(1124)->click();  // Home
    window->close();
    Settle();
    EXPECT_EQ(Sheet(), window->GetChild());
    window->close();  // Yes submits, then the closing asks about the restart
    Settle();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(presenter.ShownIds(), (std::vector<int>{104, 104, 104, 125, 127}));
    EXPECT_EQ(FileValue("IP", "NetMask"), "255.0.0.0");
}

// Reset, and leaving the page and coming back, show the file as it is now.
TEST_F(SubmitTest, ResetShowsTheFileAgain) {
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& ip = Activate("IP");
    Type(Edit(ip, "NetMask"), "255.255.0.0");
    Choose(Combo(ip, "Enable BOOTP"), "yes");
    SetInFile("IP", "DefaultRouter", "192.168.1.9");
    Press(ip, TemplatePage::kResetId);
    EXPECT_EQ(Edit(ip, "NetMask")->text(), "255.255.255.0");
    EXPECT_EQ(Combo(ip, "Enable BOOTP")->currentText(), "no");
    EXPECT_EQ(Edit(ip, "Default Router")->text(), "192.168.1.9");
    QPointer<QWidget> oldEdit = Edit(ip, "Internet Address");
    Activate("SMB");
    EXPECT_TRUE(oldEdit.isNull());  // leaving removes the rows
    SetInFile("IP", "InternetAddress", "192.168.1.77");
    EXPECT_EQ(Edit(Activate("IP"), "Internet Address")->text(), "192.168.1.77");
    EXPECT_TRUE(presenter.shown.empty());
}



// The special entries of a choice list ask for their value in a small form
// (which checks what was typed); the value joins the list and is submitted.
TEST_F(PageTest, SpecialEntriesAskForTheValueInAForm) {
    const QStringList kEntries = {"SAP", "SERVER_LIST", "XX-XX-XX-XX"};
    const struct {
        const char* entry;  // picked
        QString typed;
        bool ok;
        std::vector<int> messages;
        QString valueAfter;
    } cases[] = {
        {"XX-XX-XX-XX", "1-2-3-4", true, {1022}, "SAP"},  // refused: the form stays until cancelled
        {"XX-XX-XX-XX", "   ", true, {}, "SAP"},  // nothing entered
        {"SERVER_LIST", "FS1,FS_2", true, {}, "FS1,FS_2"},
        {"XX-XX-XX-XX", "0A-0B-0C-0D", true, {}, "0A-0B-0C-0D"},
    };
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& page = Activate("NetWare (2)");
    QComboBox* combo = Combo(page, "Time Sync Sources");
    ASSERT_EQ(Entries(combo), kEntries);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        presenter.shown.clear();
        QString title, name, prompt;
        bool stayedOpen = false;
        WhenModalShown([&](QWidget* modal) {
            title = modal->windowTitle();
            name = modal->findChild<QLabel*>("1251")->text();
            prompt = modal->findChild<QLabel*>("1257")->text();
            modal->findChild<QLineEdit*>("1250")->setText(c.typed);
            if (c.ok) modal->findChild<QPushButton*>("1")->click();
            stayedOpen = c.ok && modal->isVisible();
            if (modal->isVisible()) modal->findChild<QPushButton*>("2")->click();
        });
        const int index = combo->findText(c.entry);
        combo->setCurrentIndex(index);  // picked from the dropped-down list
        emit combo->activated(index);
        QCoreApplication::processEvents();
        EXPECT_EQ(title, "QUOR Tessaron Configuration");
        EXPECT_EQ(name, "Time Sync Sources");
        EXPECT_EQ(prompt.toStdString(), LoadString(std::string(c.entry) == "SERVER_LIST" ? 135 : 134));
        EXPECT_EQ(presenter.ShownIds(), c.messages);
        EXPECT_EQ(stayedOpen, c.ok && !c.messages.empty());
        EXPECT_EQ(combo->currentText(), c.valueAfter);
    }
    EXPECT_EQ(Entries(combo), kEntries + QStringList({"FS1,FS_2", "0A-0B-0C-0D"}));
    // An ordinary entry is the value at once.
    QComboBox* install = Combo(page, "NDS Install");
    install->setCurrentIndex(install->findText("yes"));
    emit install->activated(install->currentIndex());
    presenter.shown.clear();
    Submit(page);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{125});
    EXPECT_EQ(FileValue("NetWare", "TimeSyncSources"), "0A-0B-0C-0D");
    EXPECT_EQ(FileValue("NetWare", "NDSInstall"), "yes");
}

}  // namespace
