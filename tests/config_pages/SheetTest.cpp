#include <sys/file.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include <QAccessible>
#include <QTextBrowser>

#include "ControlHandler.h"
#include "HelpViewer.h"
#include "FileLock.h"
#include "PageFixture.h"

namespace {

const char* const kProductLine = "QUOR Tessaron CD-ROM Server V4.00 (c) QUOR   S/N: 1-2\n";
// The same product line written as a remark, as the sample share has it.
const char* const kProductRemark = "; QUOR Tessaron CD-ROM Server V4.00 (c) QUOR   S/N: 1-2\n";

std::string keys(const std::string& prefix, int n, bool indented = false) {
    std::string text;
    for (int i = 0; i < n; ++i) text += (indented ? "  " : "") + prefix + std::to_string(i) + " = v\n";
    return text;
}


TEST_F(PageTest, SampleShareGivesOneTabPerSectionSliceInFileOrder) {
    ConfigPropertySheet* sheet = OpenSheet();
    ASSERT_NE(sheet, nullptr);
    // The product line of the sample is a remark line: it makes no tab.
    EXPECT_EQ(TabTitles(), QStringList({"Server", "SCSI", "IP", "SMB", "NFS", "HTTP/FTP", "SNMP", "NetWare (1)",
                                        "NetWare (2)"}));
    EXPECT_EQ(sheet->pos(), QPoint(15, 70));
    // Every tab fits the strip; none hides behind scroll arrows.
    EXPECT_LE(sheet->tabBar()->tabRect(sheet->count() - 1).right(), sheet->tabBar()->width());
    EXPECT_LE(sheet->geometry().right(), window->width() - 15);
    EXPECT_TRUE(presenter.shown.empty());
    // NetWare's NDS block (a plain parameter and five sub-items) stays whole.
    EXPECT_EQ(sheet->PageAt(7)->GetCount(), 12);
    EXPECT_EQ(sheet->PageAt(8)->GetFirst(), 12);
    EXPECT_EQ(sheet->PageAt(8)->GetCount(), 7);
    // The first tab is shown and built; the others wait for their activation.
    EXPECT_EQ(sheet->GetActiveIndex(), 0);
    EXPECT_TRUE(sheet->PageAt(0)->IsBuilt());
    EXPECT_EQ(sheet->PageAt(2)->Pane(), nullptr);
}

// By keyboard alone: Ctrl+Tab goes through every tab and round again, each
// new tab with its first control focused; every value control is named by
// its row, and at the default font no row label of the sample is cut.
TEST_F(PageTest, EveryTabWorksByKeyboardWithNamedUncutRows) {
    ConfigPropertySheet* sheet = OpenSheet();
    ASSERT_NE(sheet, nullptr);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Settle();
    for (int step = 1; step <= 2 * sheet->count(); ++step) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr) << "step " << step;
        QTest::keyClick(focus, Qt::Key_Tab, Qt::ControlModifier);
        Settle();
        const int index = step % sheet->count();
        ASSERT_EQ(sheet->GetActiveIndex(), index) << "step " << step;
        TemplatePage* page = sheet->PageAt(index);
        EXPECT_TRUE(page->isAncestorOf(QApplication::focusWidget())) << page->GetTitle().toStdString();
        for (int row = 0; row < page->RowCount(); ++row) {
            if (auto* label = qobject_cast<RowLabel*>(page->LabelAt(row))) {
                EXPECT_FALSE(label->IsElided()) << label->text().toStdString();
            }
            QWidget* value = page->ValueAt(row);
            if (!value) continue;
            const QString name = QAccessible::queryAccessibleInterface(value)->text(QAccessible::Name);
            EXPECT_FALSE(name.isEmpty()) << value->objectName().toStdString();
            EXPECT_FALSE(name.startsWith(QLatin1String("-"))) << name.toStdString();
        }
    }
}

// A tab key with a value that fails its check keeps the page: the next tab
// is never shown behind the message.
TEST_F(PageTest, TabKeysAskTheShownPageFirst) {
    ConfigPropertySheet* sheet = OpenSheet();
    ASSERT_NE(sheet, nullptr);
    TemplatePage& ip = Activate("IP");
    const int index = sheet->GetActiveIndex();
    Type(Edit(ip, "InternetAddress"), "300.1.1.1");
    std::vector<int> shown;
    QObject::connect(sheet, &QTabWidget::currentChanged, [&](int i) { shown.push_back(i); });
    presenter.shown.clear();
    // As a shortcut, and as a plain key press (what a window that is not
    // the active one gets).
    QTest::keyClick(Edit(ip, "InternetAddress"), Qt::Key_Tab, Qt::ControlModifier);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_PageDown, Qt::ControlModifier);
    QApplication::sendEvent(Edit(ip, "InternetAddress"), &press);
    Settle();
    EXPECT_EQ(presenter.ShownIds(), (std::vector<int>{1022, 1022}));
    EXPECT_EQ(sheet->GetActiveIndex(), index);
    EXPECT_TRUE(shown.empty());
}

TEST_F(PageTest, LongSectionsAreCutIntoNumberedTabsKeepingBlocksTogether) {
    WriteConfig(std::string(kProductLine) + "[Plain16]\n" + keys("A", 16) + "[Plain17]\n" + keys("B", 17) +
                "[Block]\n" + keys("C", 14) + "Head = 1\n" + keys("Sub", 2, true) + "[Long]\nHead = 1\n" +
                keys("Sub", 19, true) + "[Nothing]\n[IP]\nInternetAddress = 10.0.0.1\n[END]\n");
    ConfigPropertySheet* sheet = OpenSheet();
    ASSERT_NE(sheet, nullptr);

    struct Tab {
        QString title;
        int section;
        int first;
        int count;
    };
    // A product line that is no remark is read as a parameter without key in
    // the unnamed section, which gets a tab without title like any other
    // section. [Nothing] holds no parameter and gets no tab; the store does
    // not keep it, so IP is section 5.
    const Tab expected[] = {
        {"", 0, 0, 1},
        {"Plain16", 1, 0, 16},     {"Plain17 (1)", 2, 0, 16}, {"Plain17 (2)", 2, 16, 1}, {"Block (1)", 3, 0, 14},
        {"Block (2)", 3, 14, 3},   {"Long (1)", 4, 0, 16},    {"Long (2)", 4, 16, 4},    {"IP", 5, 0, 1},
    };
    ASSERT_EQ(sheet->count(), static_cast<int>(std::size(expected)));
    for (int i = 0; i < sheet->count(); ++i) {
        SCOPED_TRACE(expected[i].title.toStdString());
        const TemplatePage* page = sheet->PageAt(i);
        EXPECT_EQ(sheet->tabText(i), expected[i].title);
        EXPECT_EQ(page->GetSectionIndex(), expected[i].section);
        EXPECT_EQ(page->GetFirst(), expected[i].first);
        EXPECT_EQ(page->GetCount(), expected[i].count);
        EXPECT_EQ(page->GetMode(), PageMode::Configuration);
    }
    // Activating a slice shows exactly its parameters, buttons named after it.
    TemplatePage& second = Activate("Block (2)");
    EXPECT_EQ(second.Working().GetParameterCount(), 3);
    EXPECT_EQ(second.Working().ParameterAt(0).GetKey(), "Head");
    EXPECT_EQ(second.Control<QPushButton>(TemplatePage::kSubmitId)->text(), "Submit Block (2) Settings");
    EXPECT_EQ(second.Control<QPushButton>(TemplatePage::kResetId)->text(), "Reset Block (2) Settings");
}

TEST_F(PageTest, ServerTextInTitlesIsTakenLiterally) {
    WriteConfig(std::string(kProductRemark) + "[100%s %d]\n" + keys("K", 17) + "[END]\n");
    ASSERT_NE(OpenSheet(), nullptr);
    EXPECT_EQ(TabTitles(), QStringList({"100%s %d (1)", "100%s %d (2)"}));
}

TEST_F(PageTest, FileWithoutSectionsGivesSheetWithoutTabs) {
    WriteConfig(kProductRemark);
    ConfigPropertySheet* sheet = OpenSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->count(), 0);
    EXPECT_TRUE(sheet->CanLeave());
    window->Control<QPushButton>(1124)->click();  // Home
    Settle();
    EXPECT_NE(qobject_cast<StartDlg*>(window->GetChild()), nullptr);
}

TEST_F(PageTest, UnreadableFileOnOpeningReports1005AndStaysHome) {
    OpenMain();
    for (int attempt = 0; attempt < 2; ++attempt) {
        SCOPED_TRACE(attempt == 0 ? "locked by another program" : "missing");
        std::unique_ptr<FileLock> lock;
        if (attempt == 0) lock = std::make_unique<FileLock>(share.PathOf("Config/Config.ini"));
        if (attempt == 1) std::filesystem::remove(share.PathOf("Config/Config.ini"));
        EXPECT_EQ(OpenSheet(), nullptr);
        EXPECT_EQ(presenter.ShownIds(), std::vector<int>{1005});
        EXPECT_NE(qobject_cast<StartDlg*>(window->GetChild()), nullptr);
    }
}

TEST_F(PageTest, UnreadableFileOnActivationMakesPageUnavailable) {
    ConfigPropertySheet* sheet = OpenSheet();
    ASSERT_NE(sheet, nullptr);
    presenter.shown.clear();
    {
        FileLock lock(share.PathOf("Config/Config.ini"));
        TemplatePage& ip = Activate("IP");
        EXPECT_EQ(presenter.ShownIds(), std::vector<int>{1004});
        EXPECT_TRUE(ip.IsUnavailable());
        EXPECT_EQ(ip.Pane(), nullptr);
        EXPECT_EQ(ip.Working().GetParameterCount(), 0);
        // The failure is reported once; exchanges go on without rows.
        EXPECT_TRUE(ip.UpdateData(true));
        EXPECT_TRUE(ip.UpdateData(false));
        // Nothing to submit, and the page may be left.
        presenter.shown.clear();
        Submit(ip);
        EXPECT_EQ(presenter.ShownIds(), std::vector<int>{124});
    }
    // The next activation tries again and succeeds.
    presenter.shown.clear();
    Activate("SMB");
    TemplatePage& ip = Activate("IP");
    EXPECT_TRUE(presenter.shown.empty());
    EXPECT_FALSE(ip.IsUnavailable());
    EXPECT_EQ(Edit(ip, "InternetAddress")->text(), "192.168.1.50");
}

TEST_F(PageTest, SectionGoneSinceSheetWasBuiltMakesPageUnavailable) {
    ASSERT_NE(OpenSheet(), nullptr);
    WriteConfig(std::string(kProductLine) + "[Server]\nRestart = no\n[END]\n");
    presenter.shown.clear();
    TemplatePage& netware = Activate("NetWare (2)");
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{1004});
    EXPECT_TRUE(netware.IsUnavailable());
}

TEST_F(PageTest, EachSectionSetsItsHelpContext) {
    WriteConfig(ConfigText().substr(0, ConfigText().rfind("[END]")) + "[Extra]\nKey = 1\n[END]\n");
    ASSERT_NE(OpenSheet(), nullptr);
    const std::pair<const char*, int> contexts[] = {
        {"SCSI", 4}, {"IP", 5},   {"SMB", 6},         {"NFS", 7},          {"HTTP/FTP", 8},
        {"SNMP", 9}, {"Server", 3}, {"NetWare (1)", 10}, {"NetWare (2)", 10}, {"Extra", 0},
    };
    for (auto [title, context] : contexts) {
        SCOPED_TRACE(title);
        app.SetHelpContext(-1);
        Activate(title);
        EXPECT_EQ(app.GetHelpContext(), context);
    }
}

TEST_F(PageTest, F1ShowsTheHelpOfTheActivePage) {
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& snmp = Activate("SNMP");
    QLineEdit* edit = Edit(snmp, "SystemName");
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_F1);
    ASSERT_NE(app.GetHelpViewer(), nullptr);
    EXPECT_EQ(app.GetHelpViewer()->CurrentTopic(), 9);
    EXPECT_TRUE(app.GetHelpViewer()->CurrentSource().toString().endsWith("topic9.html"));
    app.ShowHelp(0, HelpCommand::Quit);
}

TEST_F(PageTest, EveryConfigurationTopicHasItsPage) {
    const std::pair<int, const char*> topics[] = {{3, "Server"}, {4, "SCSI"}, {5, "IP"},   {6, "SMB"},
                                                  {7, "NFS"},    {8, "HTTP/FTP"}, {9, "SNMP"}, {10, "NetWare"}};
    for (auto [topic, section] : topics) {
        SCOPED_TRACE(topic);
        app.ShowHelp(topic, HelpCommand::Context);
        ASSERT_NE(app.GetHelpViewer(), nullptr);
        EXPECT_FALSE(app.GetHelpViewer()->CurrentSource().isEmpty());
        EXPECT_EQ(app.GetHelpViewer()->Browser()->documentTitle(), QString(section) + " settings");
    }
    app.ShowHelp(0, HelpCommand::Quit);
}

TEST(HelpContext, ListDrivenPagesDependOnServerVersion) {
    EXPECT_EQ(TemplatePage::HelpContextFor(30001, "3.06"), 14);
    EXPECT_EQ(TemplatePage::HelpContextFor(30001, "3.07"), 16);
    EXPECT_EQ(TemplatePage::HelpContextFor(30001, "4.00"), 16);
    EXPECT_EQ(TemplatePage::HelpContextFor(30001, "Unknown"), 16);
    EXPECT_EQ(TemplatePage::HelpContextFor(30002, "4.00"), 13);
    EXPECT_EQ(TemplatePage::HelpContextFor(0, "4.00"), 0);
}

}  // namespace
