#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <QScrollBar>

#include <filesystem>
#include <functional>
#include <optional>

#include "ConfigApp.h"
#include "ConfigMainDlg.h"
#include "HelpViewer.h"
#include "ManagementGeneralProperty.h"
#include "ManagementPropertySheet.h"
#include "ManagementSCSItxtProperty.h"
#include "QtTestMain.h"
#include "ScriptedPresenter.h"
#include "ServerTextList.h"
#include "ServerTextViewDlg.h"
#include "TempShare.h"

namespace {

using Page = ManagementGeneralProperty;
constexpr const char* kConfig = "Config/Config.ini";

// The main window over a copy of the sample share, messages answered by a
// scripted presenter; the sheet is opened with the home page's button.
class ManagementTest : public testing::Test {
protected:
    void SetUp() override { app.SetServerPath(share.Root()); }
    void TearDown() override { Close(); }

    // beforeOpening runs once the server is identified, before Management is pressed.
    ManagementPropertySheet* Open(const std::function<void()>& beforeOpening = {}) {
        window = std::make_unique<ConfigMainDlg>(app);
        app.SetMainWindow(window.get());
        window->show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !window->IsStartTimerPending(); }, 3000));
        presenter.shown.clear();
        if (beforeOpening) beforeOpening();
        window->findChild<QPushButton*>(QStringLiteral("1121"))->click();
        QCoreApplication::processEvents();
        return Sheet();
    }
    void Close() {
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void Remove(const char* file) { std::filesystem::remove(share.PathOf(file)); }
    ManagementPropertySheet* Sheet() { return qobject_cast<ManagementPropertySheet*>(window->GetChild()); }
    Page& General() { return *Sheet()->GeneralPage(); }
    QString Shown(int id) { return General().Control<QLineEdit>(id)->text(); }
    bool Visible(int id) { return General().Item(id)->isVisibleTo(&General()); }

    TempShare share{TempShare::Contents::Sample};
    const std::string sample = share.Read(kConfig);
    ConfigApp app;
    ScriptedPresenter& presenter = InstallScriptedPresenter(app);
    std::unique_ptr<ConfigMainDlg> window;
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
        Close();
    }
}

TEST_F(ManagementTest, UnreadableConfigurationLeavesTheGeneralPageUsable) {
    EXPECT_EQ(Open([&] { Remove(kConfig); })->pos(), QPoint(15, 70));
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{1008});
    EXPECT_FALSE(Visible(Page::EditOf(ServerFacts::InternetAddress)));
    EXPECT_TRUE(Sheet()->CanLeave());
}

TEST_F(ManagementTest, RequestsAreAskedWrittenOnceAndCloseTheProgram) {
    constexpr int yes = MessageResult::Yes, no = MessageResult::No;
    // edit: of the sample's configuration file; written: lines of the file afterwards (none: no byte changed).
    const struct {
        const char* name; int button; std::pair<std::string, std::string> edit; std::deque<int> answers;
        std::vector<int> messages; std::vector<std::string> written;
    } cases[] = {
        {"restart, no", Page::kRestartId, {}, {no}, {115}, {}},
        {"factory defaults, no", Page::kFactoryDefaultsId, {}, {no}, {116}, {}},
        {"restart", Page::kRestartId, {}, {yes}, {115, 131}, {"\nRestart = yes\r", "\nFactoryDefaults = no\r"}},
        {"factory defaults", Page::kFactoryDefaultsId, {}, {yes}, {116, 131},
         {"\nRestart = yes\r", "\nFactoryDefaults = yes\r"}},
        {"no Restart key", Page::kRestartId, {"Restart = no", "Reboot = no"}, {yes}, {115, 1007}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string before = sample;
        if (!c.edit.first.empty()) before.replace(before.find(c.edit.first), c.edit.first.size(), c.edit.second);
        share.Write(kConfig, before);
        Open();
        app.SetParametersChanged(true);  // a submit earlier in this run
        presenter.answers = c.answers;
        General().Control<QPushButton>(c.button)->click();
        QCoreApplication::processEvents();
        EXPECT_EQ(presenter.ShownIds(), c.messages);
        const unsigned defaultButton = c.button == Page::kRestartId ? 0 : MessageType::DefaultButton2;
        EXPECT_EQ(presenter.shown[0].type & MessageType::DefaultMask, defaultButton);
        EXPECT_EQ(window->isVisible(), c.written.empty());
        const std::string after = share.Read(kConfig);
        if (c.written.empty()) {
            EXPECT_EQ(after, before);
        }
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
        QStringList titles;
        for (int i = 0; i < sheet->count(); ++i) titles << sheet->tabText(i);
        EXPECT_EQ(titles, c.titles);
        EXPECT_EQ(sheet->ScsiDrivesPage() != nullptr, c.scsiIni);
        if (ManagementSCSItxtProperty* page = sheet->ScsiTextPage()) {
            if (!c.messages.empty()) Remove("Config/Scsi.txt");
            sheet->SetActivePage(page);
            EXPECT_EQ(page->List()->Lines(), c.lines);
            EXPECT_EQ(presenter.ShownIds(), c.messages);
            EXPECT_EQ(app.GetHelpContext(), ManagementSCSItxtProperty::kHelpContext);
        }
        EXPECT_EQ(sheet->ScsiTextPage() != nullptr, !c.scsiIni && c.scsiText);
        Close();
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
                list->doItemsLayout();  // lines scroll to their full width, at least to 800 reference pixels
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
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(presenter.ShownIds(), c.messages);
        EXPECT_EQ(lines, c.lines);
        if (c.bytes) {
            EXPECT_EQ(helpTopic, Page::kHelpContext);
            EXPECT_NEAR(scrollWidth, needed + 5, 5);
            EXPECT_GT(scrolled, 0);
            EXPECT_EQ(title, c.button == Page::kStatisticsId ? "QUOR Tessaron Configuration - Server Statistics"
                                                             : "QUOR Tessaron Configuration - Server Event Log");
        }
        Close();
    }
}

}  // namespace
