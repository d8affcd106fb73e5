#include <QListWidget>
#include <QScrollBar>

#include <optional>

#include "HelpViewer.h"
#include "ManagementGeneralProperty.h"
#include "ManagementPropertySheet.h"
#include "ManagementSCSItxtProperty.h"
#ifdef TESSARON_SIM_BINARY
#include "MountedSim.h"
#endif
#include "PageFixture.h"
#include "QtTestMain.h"
#include "ServerTextList.h"
#include "ServerTextViewDlg.h"

namespace {

using Page = ManagementGeneralProperty;
constexpr const char* kConfig = "Config/Config.ini";

// The management sheet in the main window: its tabs used as a user does,
// lines chosen in a list, rows found by their names.
class ManagementTest : public PageTest {
protected:
    // beforeOpening runs once the server is identified, before Management is pressed.
    ManagementPropertySheet* Open(const std::function<void()>& beforeOpening = {}) {
        OpenMain();
        if (beforeOpening) beforeOpening();
        return OpenTool<ManagementPropertySheet>(StartDlg::ManagementButton);
    }
    // Opens the sheet and shows the tab with that title.
    TemplatePage& Show(const QString& tab) {
        EXPECT_NE(Open(), nullptr);
        presenter.shown.clear();
        return Activate(tab);
    }
    void Remove(const char* file) { std::filesystem::remove(share.PathOf(file)); }
    ManagementPropertySheet* Sheet() { return qobject_cast<ManagementPropertySheet*>(window->GetChild()); }
    Page& General() { return *Sheet()->GeneralPage(); }
    QString Shown(int id) { return General().Control<QLineEdit>(id)->text(); }
    bool Visible(int id) { return General().Item(id)->isVisibleTo(&General()); }
    static QListWidget* List(TemplatePage& page) { return page.Control<QListWidget>(TemplatePage::kListId); }
    static QStringList Lines(TemplatePage& page) {
        QStringList lines;
        for (int i = 0; i < List(page)->count(); ++i) lines << List(page)->item(i)->text();
        return lines;
    }

    const std::string sample = share.Read(kConfig);
};

TEST_F(ManagementTest, GeneralPageShowsTheFactsAndHidesWhatTheServerLacks) {
    // netWare: the file has its NetWare section.
    const struct { const char* firstLine; const char* serial; bool eventLog, netWare; } cases[] = {
        {"QUOR Tessaron CD-ROM Server V4.00 (c) 1998", "Unknown", true, true},
        {"QUOR Tessaron CD-ROM Server V3.07 S/N:   ", "", true, false},
        {"QUOR Tessaron CD-ROM Server V3.06 S/N: 4\r2", " 4\r2", false, true},  // a stray CR: the page can be left
        {"QUOR Tessaron CD-ROM Server V S/N:7", "7", false, true},  // empty version
        {"QUOR Tessaron CD-ROM Server", "Unknown", true, true},     // version Unknown
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.firstLine);
        std::string text = c.firstLine + sample.substr(sample.find('\r'));
        if (!c.netWare) text.replace(text.find("[NetWare]"), 9, "[Novell]");
        share.Write(kConfig, text);
        Open();
        EXPECT_EQ(Shown(Page::kSerialNumberId).toStdString(), c.serial);
        EXPECT_EQ(Shown(Page::kSoftwareVersionId).toStdString(), app.GetServerVersion());
        EXPECT_EQ(Visible(Page::kEventLogId), c.eventLog);
        EXPECT_EQ(Visible(Page::kEventLogLabelId), c.eventLog);
        for (auto a : {ServerFacts::NetWareServerName, ServerFacts::NodeAddress, ServerFacts::InternetAddress}) {
            const bool shown = c.netWare || a != ServerFacts::NetWareServerName;
            EXPECT_EQ(Visible(Page::EditOf(a)), shown);
            EXPECT_EQ(Visible(Page::LabelOf(a)), shown);
        }
        EXPECT_EQ(Shown(Page::EditOf(ServerFacts::SmbServerName)), "TESSARON1");
        EXPECT_TRUE(Sheet()->CanLeave());
        CloseMain();
    }
}

TEST_F(ManagementTest, UnreadableConfigurationLeavesTheGeneralPageUsable) {
    Open([&] { Remove(kConfig); });
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{1008});
    EXPECT_FALSE(Visible(Page::EditOf(ServerFacts::InternetAddress)));
    EXPECT_TRUE(Sheet()->CanLeave());
}

TEST_F(ManagementTest, RequestsAreAskedWrittenOnceAndCloseTheProgram) {
    constexpr int yes = MessageResult::Yes, no = MessageResult::No;
    // written: lines of the file afterwards (none: no byte changed). A request the file
    // cannot take is the main window's, shown with its own tests.
    const struct {
        const char* name; int button; std::deque<int> answers; std::vector<int> messages; std::vector<std::string> written;
    } cases[] = {
        {"restart, no", Page::kRestartId, {no}, {115}, {}},
        {"factory defaults, no", Page::kFactoryDefaultsId, {no}, {116}, {}},
        {"restart", Page::kRestartId, {yes}, {115, 131}, {"\nRestart = yes\r", "\nFactoryDefaults = no\r"}},
        {"factory defaults", Page::kFactoryDefaultsId, {yes}, {116, 131}, {"\nRestart = yes\r", "\nFactoryDefaults = yes\r"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        share.Write(kConfig, sample);
        Open();
        app.SetParametersChanged(true);  // a submit earlier in this run
        presenter.answers = c.answers;
        General().Control<QPushButton>(c.button)->click();
        Settle();
        EXPECT_EQ(presenter.ShownIds(), c.messages);
        const unsigned defaultButton = c.button == Page::kRestartId ? 0 : MessageType::DefaultButton2;
        EXPECT_EQ(presenter.shown[0].type & MessageType::DefaultMask, defaultButton);
        EXPECT_EQ(window->isVisible(), c.written.empty());
        const std::string after = share.Read(kConfig);
        if (c.written.empty()) { EXPECT_EQ(after, sample); }
        for (const std::string& line : c.written) EXPECT_NE(after.find(line), std::string::npos) << line;
    }
}

TEST_F(ManagementTest, TheScsiTabComesFromTheSettingsElseFromTheText) {
    // scsiText nullptr: no such file; lines: of the text page, when there is one.
    const struct {
        bool scsiIni; const char* scsiText; QStringList titles, lines; std::vector<int> messages;
    } cases[] = {
        {true, "SCSI bus 0\r\n", {"General", "SCSI", "Volume Rights"}, {}, {}},
        {false, "SCSI bus 0\r\n  ID 7  host adapter  ", {"General", "SCSI", "Volume Rights"},
         {"SCSI bus 0", "  ID 7  host adapter  "}, {}},
        {false, nullptr, {"General", "Volume Rights"}, {}, {}},
        {false, "", {"General", "SCSI", "Volume Rights"}, {}, {1013}},  // gone before the tab is shown
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.titles.join(' ').toStdString());
        if (!c.scsiIni) Remove("Config/scsi.ini");
        c.scsiText ? share.Write("Config/Scsi.txt", c.scsiText) : Remove("Config/Scsi.txt");
        ManagementPropertySheet* sheet = Open();
        EXPECT_EQ(TabTitles(), c.titles);
        EXPECT_EQ(sheet->ScsiDrivesPage() != nullptr, c.scsiIni);
        if (ManagementSCSItxtProperty* page = sheet->ScsiTextPage()) {
            if (!c.messages.empty()) Remove("Config/Scsi.txt");
            sheet->SetActivePage(page);
            EXPECT_EQ(page->List()->Lines(), c.lines);
            EXPECT_EQ(presenter.ShownIds(), c.messages);
            EXPECT_EQ(app.GetHelpContext(), ManagementSCSItxtProperty::kHelpContext);
        }
        EXPECT_EQ(sheet->ScsiTextPage() != nullptr, !c.scsiIni && c.scsiText);
        CloseMain();
    }
}

TEST_F(ManagementTest, ReportViewsShowEveryLineAsWrittenOrCloseWithTheirMessage) {
    const std::string wide(300, 'W');  // far wider than the view, or than the reports are laid out for
    const struct {
        int button; const char* file; std::optional<std::string> bytes; QStringList lines; std::vector<int> messages;
    } cases[] = {
        {Page::kStatisticsId, "Config/Stat.txt", "  Uptime: 1 day  \r\n\r\nlast, no line end",
         {"  Uptime: 1 day  ", "", "last, no line end"}, {}},
        {Page::kEventLogId, "Config/Logfile.txt", "a\r\n\tb\n" + wide, {"a", "\tb", QString::fromStdString(wide)}, {}},
        {Page::kStatisticsId, "Config/Stat.txt", std::nullopt, {}, {1002}},
        {Page::kEventLogId, "Config/Logfile.txt", std::nullopt, {}, {1026}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        c.bytes ? share.Write(c.file, *c.bytes) : Remove(c.file);
        Open();
        QStringList lines; QString title; int helpTopic = 0, scrollWidth = 0, needed = 0, scrolled = 0;
        if (c.bytes) {
            WhenModalShown([&](QWidget* modal) {
                auto* view = qobject_cast<ServerTextViewDlg*>(modal);
                ServerTextList* list = view->List();
                lines = list->Lines();
                title = view->windowTitle();
                // lines scroll to their full width, at least to 800 reference pixels
                scrollWidth = list->horizontalScrollBar()->maximum() + list->viewport()->width();
                needed = std::max(view->Units().ReferenceX(800),
                                  QFontMetrics(list->font()).horizontalAdvance(lines.last()));
                QTest::keyClick(list, Qt::Key_Right);
                scrolled = list->horizontalScrollBar()->value();
                view->OnHelp();
                helpTopic = app.GetHelpViewer()->CurrentTopic();
                view->OnOK();
            }, window.get());
        }
        General().Control<QPushButton>(c.button)->click();
        EXPECT_EQ(presenter.ShownIds(), c.messages);
        EXPECT_EQ(lines, c.lines);
        if (c.bytes) {
            EXPECT_EQ(helpTopic, Page::kHelpContext);
            EXPECT_NEAR(scrollWidth, needed + 5, 5);
            EXPECT_GT(scrolled, 0);
            EXPECT_EQ(title, c.button == Page::kStatisticsId ? "QUOR Tessaron Configuration - Server Statistics"
                                                             : "QUOR Tessaron Configuration - Server Event Log");
        }
        CloseMain();
    }
}

// Each line opens its own file; leaving a changed line asks first (Cancel
// stays on it); a submit writes that file only, and needs no restart.
TEST_F(ManagementTest, VolumeRightsFilesAreChosenAndSubmittedOneByOne) {
    TemplatePage& page = Show("Volume Rights");
    EXPECT_EQ(Lines(page), QStringList({"CDROM1 - ADMIN", "CDROM1 - GUEST", "CDROM2 - GUEST", "CDROM2 - STAFF"}));
    EXPECT_EQ(Edit(page, "Alias")->text(), "Administrators");
    for (const QWidget* value : Values(page)) EXPECT_NE(value->accessibleName(), "Name");  // the file's own name
    const std::string guest = share.Read("Volumes/CDROM1/GUEST.USR");
    QTest::keyClick(Edit(page, "Alias"), Qt::Key_End);
    QTest::keyClicks(Edit(page, "Alias"), "2");
    presenter.answers = {MessageResult::Cancel};
    QListWidget* list = List(page);  // clicked: the old line stays the current and only selected one
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    Settle();
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{104});
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(list->selectedItems(), QList<QListWidgetItem*>{list->item(0)});
    EXPECT_EQ(Edit(page, "Alias")->text(), "Administrators2");
    page.Control<QPushButton>(TemplatePage::kSubmitId)->click();
    EXPECT_EQ(presenter.ShownIds(), (std::vector<int>{104, 136}));
    EXPECT_FALSE(app.GetParametersChanged());
    EXPECT_NE(share.Read("Volumes/CDROM1/ADMIN.GRP").find("Alias = Administrators2\r\n"), std::string::npos);
    EXPECT_EQ(share.Read("Volumes/CDROM1/GUEST.USR"), guest);
    List(page)->setCurrentRow(1);
    EXPECT_EQ(Edit(page, "Alias")->text(), "Guest");
}

// A long file scrolls in one column and keeps the focused row in view.
TEST_F(ManagementTest, ALongVolumeRightsFileScrollsToTheFocusedRow) {
    std::string text = "Name = MANY\r\n";
    for (int i = 0; i < 30; ++i) text += "Key" + std::to_string(i) + " = v\r\n";
    std::filesystem::remove_all(share.PathOf("Volumes"));
    share.Write("Volumes/CD/MANY.USR", text);
    TemplatePage& page = Show("Volume Rights");
    QLineEdit* last = Edit(page, "Key29");
    ASSERT_NE(last, nullptr);
    EXPECT_FALSE(page.Pane()->viewport()->rect().contains(last->geometry()));
    last->setFocus();
    Settle();
    EXPECT_TRUE(page.Pane()->viewport()->rect().contains(last->geometry()));
}

#ifdef TESSARON_SIM_BINARY
// What the server does not keep is shown as the file has it again: on a
// configuration page, with the choices the server's remarks give, and on a
// volume rights file.
TEST_F(ManagementTest, AValueTheServerRefusesIsShownAsItWas) {
    if (const std::string missing = FuseMissing(); !missing.empty()) GTEST_SKIP() << missing;
    MountedSim sim(share.Root(), {"--refuse", "/Alias=Nobody", "--refuse", "IP/NetMask=0\\.0\\.0\\.0"});
    ASSERT_TRUE(sim.Mounted());
    app.SetServerPath(sim.Mount());
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& ip = Activate("IP");
    Type(Edit(ip, "NetMask"), "0.0.0.0");
    Submit(ip);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{126});
    EXPECT_EQ(FileValue("IP", "NetMask"), "255.255.255.0");
    EXPECT_EQ(Entries(Combo(Active(), "Enable BOOTP")), QStringList({"yes", "no"}));
    CloseMain();

    TemplatePage& page = Show("Volume Rights");
    Edit(page, "Alias")->setText("Nobody");
    Submit(page);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{126});
    EXPECT_EQ(Edit(page, "Alias")->text(), "Administrators");
    CloseMain();
}
#endif

// A drive shows its "Drive" row and at most nine settings (said once).
TEST_F(ManagementTest, DriveSectionsShowTheirDriveAndNineRowsAtMost) {
    std::string lun = "[ID2_LUN0]\r\n";
    for (int i = 0; i < 10; ++i) lun += "Setting" + std::to_string(i) + " = " + std::to_string(i) + "\r\n";
    share.Write("Config/scsi.ini", "[ID_2]\r\nDrive = TOSHIBA\r\n" + lun + "[ID3_LUN0]\r\nSCSIAlias = CD3\r\n");
    TemplatePage& page = Show("SCSI");
    EXPECT_EQ(Lines(page), QStringList({"ID2_LUN0", "ID3_LUN0"}));
    EXPECT_EQ(page.Control<QLineEdit>(ListChooser::kDriveValueId)->text(), "TOSHIBA");
    EXPECT_EQ(page.RowCount(), 9);
    List(page)->setCurrentRow(1);
    EXPECT_EQ(Edit(page, "SCSI Alias")->text(), "CD3");
    EXPECT_EQ(page.Control<QLineEdit>(ListChooser::kDriveValueId), nullptr);  // no ID_3 section
    List(page)->setCurrentRow(0);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{1009});
}

// A volume folder that cannot be read is named once and the others' files
// are listed, with their names as the file system gives them.
TEST_F(ManagementTest, AnUnreadableVolumeFolderIsNamedAndTheOthersListed) {
    share.Write("Volumes/M\xC3\x9CLLER/G\xC3\x84ST.USR", "Name = X\r\nAlias = Gast\r\n");
    UnreadableFolder unreadable(share.PathOf("Volumes/CDROM2"));
    TemplatePage& page = Show("Volume Rights");
    ASSERT_EQ(presenter.ShownIds(), std::vector<int>{60061});
    EXPECT_TRUE(presenter.shown[0].text.contains(QStringLiteral("CDROM2")));
    EXPECT_EQ(Lines(page), QStringList({"CDROM1 - ADMIN", "CDROM1 - GUEST", QString::fromUtf8("M\xC3\x9CLLER - G\xC3\x84ST")}));
}

// Nothing to list, or nothing to list from, is said; the page stays empty.
TEST_F(ManagementTest, EmptyListingsSaySo) {
    const auto removed = [this](const char* folder) {
        return [this, folder] { std::filesystem::remove_all(share.PathOf(folder)); };
    };
    const struct { const char* tab; std::function<void()> change; int message; } cases[] = {
        {"SCSI", [&] { share.Write("Config/scsi.ini", "[ID_2]\r\nDrive = X\r\n"); }, 1015},
        {"Volume Rights", [&] { removed("Volumes/CDROM1")(), removed("Volumes/CDROM2")(); }, 1016},
        {"Volume Rights", removed("Volumes"), 1016},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        c.change();
        TemplatePage& page = Show(c.tab);
        EXPECT_EQ(presenter.ShownIds(), std::vector<int>{c.message});
        EXPECT_EQ(page.RowCount(), 0);
        EXPECT_FALSE(List(page)->isVisible());
    }
}

}  // namespace

TESSARON_QT_TEST_MAIN()
