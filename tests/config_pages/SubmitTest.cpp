#include <functional>
#include <optional>

#include "PageFixture.h"
#include "QtTestMain.h"
#include "StringTable.h"

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
// again they are no change; a submitted value is shown in its canonical form
// and written as the server's bytes.
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
    TemplatePage& snmp = Activate("SNMP");  // what was typed goes into the file as the server's bytes
    Type(Edit(snmp, "System Location"), QString::fromUtf8("Caf\u00e9_\u20ac"));
    Submit(snmp);
    EXPECT_NE(ConfigText().find("SystemLocation = Caf\xe9_\x80\r\n"), std::string::npos);
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
    date->setText("99-01-02");
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
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{125});
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

// Choice lists showing values that are empty or match no entry exactly must
// not change them: neither leaving nor submitting the page touches them.
TEST_F(SubmitTest, AnUntouchedChoiceKeepsItsValue) {
    WriteConfig("QUOR Tessaron CD-ROM Server V4.00\n[Server]\nMediaAgentMode = off ; off/on\n"
                "SourceRouting = ; yes/no\nTimeSyncSource = no ; none/no\n[IP]\nNetMask = 255.0.0.0\n[END]\n");
    ASSERT_NE(OpenSheet(), nullptr);
    Activate("IP");
    EXPECT_TRUE(presenter.shown.empty());  // nothing to submit
    TemplatePage& server = Activate("Server");
    Choose(Combo(server, "Media Agent Mode"), "on");
    Submit(server);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{125});
    EXPECT_EQ(FileValue("Server", "MediaAgentMode"), "on");
    EXPECT_EQ(FileValue("Server", "SourceRouting"), "");
    EXPECT_EQ(FileValue("Server", "TimeSyncSource"), "no");
}

// A submit that fails - another program changed the file since the page
// read it, the server put the value back, the file cannot be written or read
// back - keeps what the user typed; the next submit applies only that change
// to the file as it is now.
TEST_F(SubmitTest, AFailedSubmitKeepsTheEditForTheNextOne) {
    const std::string sample = ConfigText(), path = share.PathOf("Config/Config.ini");
    std::optional<Unreadable> gone;
    const auto away = [&] { gone.emplace(path); };
    // written: the net mask in the file after the failed submit; router: the other program's value, if any
    const char *oldMask = "255.255.255.0", *oldRouter = "192.168.1.1";
    const struct {
        const char* name; std::function<void()> before, during; int message; const char *written, *router;
    } cases[] = {
        {"changed meanwhile", [&] { SetInFile("IP", "DefaultRouter", "10.9.9.9"); }, nullptr, 126, oldMask, "10.9.9.9"},
        {"put back", nullptr, [&] { SetInFile("IP", "NetMask", "255.255.255.0"); }, 126, oldMask, oldRouter},
        {"not written", away, nullptr, 1007, oldMask, oldRouter},
        {"not read back", nullptr, away, 1007, "255.255.0.0", oldRouter},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        share.Write("Config/Config.ini", sample);
        app.SetParametersChanged(false);
        TemplatePage& ip = ChangedNetMask();
        if (c.before) c.before();
        server = c.during;
        presenter.shown.clear();
        Submit(ip);
        server = nullptr;
        gone.reset();
        EXPECT_EQ(FileValue("IP", "NetMask"), c.written);
        EXPECT_EQ(Edit(ip, "NetMask")->text(), "255.255.0.0");
        EXPECT_FALSE(app.GetParametersChanged());
        Submit(ip);
        EXPECT_EQ(presenter.ShownIds(), (std::vector<int>{c.message, 125}));
        EXPECT_EQ(FileValue("IP", "NetMask"), "255.255.0.0");
        EXPECT_EQ(FileValue("IP", "DefaultRouter"), c.router);
        EXPECT_TRUE(app.GetParametersChanged());
        CloseMain();
    }
}

// Nothing of a submit that was declined or failed reaches the next one: with
// the values put back, the next submit writes what the page shows, and a
// write mark once, on each kind of generated page.
TEST_F(SubmitTest, NothingOfAnUnfinishedSubmitReachesTheNextOne) {
    struct Row { const char *name, *value; };  // value "ticked": the row's box is ticked
    const char *config = "Config/Config.ini", *rights = "Volumes/CDROM1/ADMIN.GRP", *drives = "Config/scsi.ini";
    // fails: the first submit cannot write (else it is answered No); stored: section, key, value afterwards
    const struct {
        int tool; const char *tab, *file; CatalogueKind kind; std::vector<Row> first; bool fails;
        std::vector<Row> second; std::vector<int> messages; std::vector<std::vector<std::string>> stored;
    } cases[] = {
        {StartDlg::ConfigurationButton, "Server", config, Configuration, {{"Restart", "yes"}, {"Source Routing", "yes"}},
         false, {{"Restart", "no"}, {"Source Routing", "no"}, {"Media Agent Mode", "on"}}, {128, 125},
         {{"Server", "Restart", "no"}, {"Server", "SourceRouting", "no"}, {"Server", "MediaAgentMode", "on"}}},
        {StartDlg::ConfigurationButton, "Server", config, Configuration, {{"Date", "ticked"}, {"Date", "99-01-02"}}, true,
         {{"Date", "97-12-24"}, {"Media Agent Mode", "on"}}, {1007, 125}, {{"Server", "Date", "97-12-24!"}}},
        {StartDlg::ManagementButton, "Volume Rights", rights, VolumeRights, {{"Alias", "Nobody"}}, true,
         {{"Alias", "Administrators"}, {"User Limit", "5"}}, {1007, 136}, {{"", "Alias", "Administrators"}, {"", "UserLimit", "5"}}},
        {StartDlg::ManagementButton, "SCSI", drives, ScsiDrives, {{"SCSI Alias", "DISC"}}, true,
         {{"SCSI Alias", "CDROM1"}, {"Lock Eject", "yes"}}, {1007, 136},
         {{"ID2_LUN0", "SCSIAlias", "CDROM1"}, {"ID2_LUN0", "LockEject", "yes"}}},
    };
    const auto set = [](TemplatePage& page, const Row& row) {
        if (std::string(row.value) == "ticked") return Check(page, row.name)->click();
        for (QComboBox* combo : page.findChildren<QComboBox*>()) {
            if (combo->accessibleName() == row.name) return Choose(combo, row.value);
        }
        Type(Edit(page, row.name), row.value);
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file + std::string(" ") + c.first[0].name);
        const std::string sample = share.Read(c.file);
        OpenMain();
        OpenTool<PropertySheet>(c.tool);
        TemplatePage& page = Activate(c.tab);
        for (const Row& row : c.first) set(page, row);
        presenter.answers = {MessageResult::No};
        {
            std::optional<Unreadable> gone;
            if (c.fails) gone.emplace(share.PathOf(c.file));
            Submit(page);
        }
        for (const Row& row : c.second) set(page, row);
        presenter.answers.clear();
        Submit(page);
        EXPECT_EQ(presenter.ShownIds(), c.messages);
        ParameterHandler file;
        file.Load(share.Files(), c.file, CatalogueOf(c.kind));
        for (const auto& s : c.stored) {
            std::string value;
            EXPECT_TRUE(file.GetValue(s[0], s[1], value) && value == s[2]) << s[1] << " = " << value;
        }
        CloseMain();
        share.Write(c.file, sample);
    }
}

// Leaving a changed page - another tab, closing - asks whether to submit:
// Cancel stays, No drops the change, Yes submits it.
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
    // Closing asks too; Yes submits, then the closing offers the restart.
    Type(Edit(Activate("IP"), "NetMask"), "255.0.0.0");
    presenter.shown.clear();
    presenter.answers = {MessageResult::Yes, MessageResult::Ok, MessageResult::No};
    window->close();
    Settle();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(presenter.ShownIds(), (std::vector<int>{104, 125, 127}));
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
    EXPECT_TRUE(presenter.shown.empty());
}

// A row whose value differs from the one read is marked (a marker beside it,
// its label in bold, the value read in its description) and is what the
// page's Submit would write; putting the value back, reverting the change
// or Reset removes both. A value only spelled differently is no change.
TEST_F(SubmitTest, ChangedRowsAreMarkedAndPendingUntilPutBack) {
    const struct {
        const char *tab, *row; QString value; const char *key, *was, *now; QString description;
    } cases[] = {
        {"IP", "NetMask", "255.255.0.0", "NetMask", "255.255.255.0", "255.255.0.0", "Was: 255.255.255.0"},
        {"IP", "NetMask", "255.255.255.000", nullptr, nullptr, nullptr, ""},
        {"IP", "Enable BOOTP", "yes", "BOOTPEnable", "no", "yes", "Was: no"},
        {"HTTP/FTP", "Password", "other", "Password", "cdrom4all", "other", "Was: ********"},
        {"Server", "Date", "99-01-02", "Date", "97-12-24", "99-01-02!", "Was: 97-12-24"},  // ticked, typed
    };
    ASSERT_NE(OpenSheet(), nullptr);
    // What the page marks: each marked row's name and description, the rows
    // whose labels are bold, and how many markers show.
    const auto marked = [](TemplatePage& page) {
        QStringList found;
        for (QWidget* value : Values(page)) {
            if (!value->accessibleDescription().isEmpty()) found << value->accessibleName() + "|" + value->accessibleDescription();
        }
        for (QLabel* label : page.findChildren<QLabel*>()) {
            if (label->font().bold() && label->buddy()) found << "bold " + label->buddy()->accessibleName();
        }
        for (QCheckBox* box : page.findChildren<QCheckBox*>()) {  // the label of a row with a check box
            if (box->font().bold()) found << "bold " + box->text();
        }
        int markers = 0;
        for (QWidget* widget : page.findChildren<QWidget*>()) markers += widget->accessibleName() == "Changed" && widget->isVisible();
        return found << QString::number(markers);
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row + (" " + c.value.toStdString()));
        TemplatePage& page = Activate(c.tab);
        const bool choice = std::string(c.row) == "Enable BOOTP";
        const bool tick = std::string(c.row) == "Date";
        if (tick) Check(page, c.row)->click();
        if (choice) Choose(Combo(page, c.row), c.value); else Type(Edit(page, c.row), c.value);
        const ChangeSource::PendingChanges pending = page.Pending();
        if (!c.key) {
            EXPECT_EQ(marked(page), QStringList{"0"});
            EXPECT_TRUE(pending.changes.empty());
            continue;
        }
        EXPECT_EQ(marked(page), QStringList({QString(c.row) + "|" + c.description, QString("bold ") + c.row, "1"}));
        ASSERT_EQ(pending.changes.size(), 1u);
        EXPECT_EQ(pending.file, "Config/Config.ini");
        EXPECT_EQ(pending.changes[0].name, c.row);
        EXPECT_EQ(pending.changes[0].change, (Change{c.tab, c.key, c.was, c.now}));
        page.Revert(pending.changes[0].change);
        EXPECT_EQ(marked(page), QStringList{"0"});
        EXPECT_TRUE(page.Pending().changes.empty());
        EXPECT_EQ(choice ? Combo(page, c.row)->currentText() : Edit(page, c.row)->text(), c.was);
        if (tick) { EXPECT_FALSE(Check(page, c.row)->isChecked()); }
    }
    TemplatePage& ip = Activate("IP");
    Type(Edit(ip, "Default Router"), "10.0.0.1");
    EXPECT_EQ(marked(ip).size(), 3);
    Press(ip, TemplatePage::kResetId);
    EXPECT_EQ(marked(Active()), QStringList{"0"});
    EXPECT_TRUE(presenter.shown.empty());
}

// The special entries of a choice list ask for their value in a small form
// (which checks what was typed); the value joins the list and is submitted.
TEST_F(PageTest, SpecialEntriesAskForTheValueInAForm) {
    const struct { const char* entry; QString typed; std::vector<int> messages; QString after; int prompt; } cases[] = {
        {"XX-XX-XX-XX", "1-2-3-4", {1022}, "SAP", 134},  // refused: the form stays until cancelled
        {"XX-XX-XX-XX", "   ", {}, "SAP", 134},          // nothing entered
        {"SERVER_LIST", "FS1,FS_2", {}, "FS1,FS_2", 135},
        {"XX-XX-XX-XX", "0A-0B-0C-0D", {}, "0A-0B-0C-0D", 134},
    };
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& page = Activate("NetWare (2)");
    QComboBox* combo = Combo(page, "Time Sync Sources");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        presenter.shown.clear();
        QString seen;
        bool stayedOpen = false;
        WhenModalShown([&](QWidget* modal) {
            seen = modal->windowTitle() + "|" + modal->findChild<QLabel*>("1251")->text() + "|" +
                   modal->findChild<QLabel*>("1257")->text();
            modal->findChild<QLineEdit*>("1250")->setText(c.typed);
            modal->findChild<QPushButton*>("1")->click();
            stayedOpen = modal->isVisible();
            if (stayedOpen) modal->findChild<QPushButton*>("2")->click();
        });
        combo->setCurrentIndex(combo->findText(c.entry));  // picked from the dropped-down list
        emit combo->activated(combo->currentIndex());
        QCoreApplication::processEvents();
        EXPECT_EQ(seen.toStdString(), "QUOR Tessaron Configuration|Time Sync Sources|" + LoadString(c.prompt));
        EXPECT_EQ(presenter.ShownIds(), c.messages);
        EXPECT_EQ(stayedOpen, !c.messages.empty());
        EXPECT_EQ(combo->currentText(), c.after);
    }
    EXPECT_EQ(Entries(combo), QStringList({"SAP", "SERVER_LIST", "XX-XX-XX-XX", "FS1,FS_2", "0A-0B-0C-0D"}));
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

TESSARON_QT_TEST_MAIN()
