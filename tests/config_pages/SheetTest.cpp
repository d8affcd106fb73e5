#include <QAccessible>
#include <QTabBar>
#include <QTextBrowser>
#include <filesystem>

#include "ControlHandler.h"
#include "HelpViewer.h"
#include "PageFixture.h"

namespace {

namespace fs = std::filesystem;

const char* const kProductRemark = "; QUOR Tessaron CD-ROM Server V4.00 (c) QUOR   S/N: 1-2\n";

std::string keys(const std::string& prefix, int n, bool indented = false) {
    std::string text;
    for (int i = 0; i < n; ++i) text += (indented ? "  " : "") + prefix + std::to_string(i) + " = v\n";
    return text;
}

// A folder in a file's place: the file cannot be read, at once. The file comes back with the object.
struct Unreadable {
    explicit Unreadable(std::string path) : path(std::move(path)) {
        fs::rename(this->path, this->path + ".away");
        fs::create_directory(this->path);
    }
    ~Unreadable() {
        fs::remove(path);
        fs::rename(path + ".away", path);
    }
    std::string path;
};

TEST_F(PageTest, OneTabPerSectionSliceInFileOrder) {
    ConfigPropertySheet* sheet = OpenSheet();
    ASSERT_NE(sheet, nullptr);
    // The product line of the sample is a remark line: it makes no tab.
    EXPECT_EQ(TabTitles(), QStringList({"Server", "SCSI", "IP", "SMB", "NFS", "HTTP/FTP", "SNMP", "NetWare (1)",
                                        "NetWare (2)"}));
    EXPECT_EQ(window->GetPageCaption(), "Configuration");
    EXPECT_EQ(sheet->pos(), QPoint(15, 70));
    // Every tab fits the strip; none hides behind scroll arrows.
    EXPECT_LE(sheet->tabBar()->tabRect(sheet->count() - 1).right(), sheet->tabBar()->width());
    EXPECT_LE(sheet->geometry().right(), window->width() - 15);
    EXPECT_TRUE(presenter.shown.empty());
    // A section too long for one tab is cut into numbered tabs, blocks kept whole.
    WriteConfig(std::string(kProductRemark) + "[Long]\n" + keys("A", 14) + "Head = 1\n" + keys("Sub", 2, true) +
                "[Nothing]\n[100%s %d]\nK = 1\n[END]\n");
    window->Control<QPushButton>(1124)->click();  // Home
    ASSERT_NE(OpenSheet(), nullptr);
    EXPECT_EQ(TabTitles(), QStringList({"Long (1)", "Long (2)", "100%s %d"}));
    TemplatePage& second = Activate("Long (2)");
    EXPECT_NE(Edit(second, "Head"), nullptr);
    EXPECT_NE(Edit(second, "Sub1"), nullptr);
    EXPECT_EQ(RowCount(second), 3);
    EXPECT_EQ(second.Control<QPushButton>(TemplatePage::kSubmitId)->text(), "Submit Long (2) Settings");
    EXPECT_EQ(second.Control<QPushButton>(TemplatePage::kResetId)->text(), "Reset Long (2) Settings");
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
        for (const RowLabel* label : page->findChildren<RowLabel*>()) {
            EXPECT_FALSE(label->IsElided()) << label->text().toStdString();
        }
        for (QWidget* value : Values(*page)) {
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
    Type(Edit(ip, "Internet Address"), "300.1.1.1");
    std::vector<int> shown;
    QObject::connect(sheet, &QTabWidget::currentChanged, [&](int i) { shown.push_back(i); });
    presenter.shown.clear();
    // As a shortcut, and as a plain key press (what a window that is not
    // the active one gets).
    QTest::keyClick(Edit(ip, "Internet Address"), Qt::Key_Tab, Qt::ControlModifier);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_PageDown, Qt::ControlModifier);
    QApplication::sendEvent(Edit(ip, "Internet Address"), &press);
    Settle();
    EXPECT_EQ(presenter.ShownIds(), (std::vector<int>{1022, 1022}));
    EXPECT_EQ(sheet->GetActiveIndex(), index);
    EXPECT_TRUE(shown.empty());
}

TEST_F(PageTest, FileWithoutSectionsGivesASheetWithoutTabs) {
    WriteConfig(kProductRemark);
    ConfigPropertySheet* sheet = OpenSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->count(), 0);
    window->Control<QPushButton>(1124)->click();  // Home
    Settle();
    EXPECT_NE(qobject_cast<StartDlg*>(window->GetChild()), nullptr);
}

// A file that cannot be read: the sheet is not opened (1005); a page is
// unavailable until its next activation (1004).
TEST_F(PageTest, AnUnreadableFileIsReported) {
    OpenMain();
    {
        Unreadable gone(share.PathOf("Config/Config.ini"));
        EXPECT_EQ(OpenSheet(), nullptr);
        EXPECT_EQ(presenter.ShownIds(), std::vector<int>{1005});
        EXPECT_NE(qobject_cast<StartDlg*>(window->GetChild()), nullptr);
    }
    ASSERT_NE(OpenSheet(), nullptr);
    {
        Unreadable gone(share.PathOf("Config/Config.ini"));
        TemplatePage& ip = Activate("IP");
        EXPECT_EQ(presenter.ShownIds(), std::vector<int>{1004});
        EXPECT_EQ(RowCount(ip), 0);
        presenter.shown.clear();
        Submit(ip);  // nothing to submit, and the page may be left
        EXPECT_EQ(presenter.ShownIds(), std::vector<int>{124});
    }
    presenter.shown.clear();
    Activate("SMB");
    EXPECT_EQ(Edit(Activate("IP"), "Internet Address")->text(), "192.168.1.50");
    // A section gone since the sheet was built.
    WriteConfig(std::string(kProductRemark) + "[Server]\nRestart = no\n[END]\n");
    Activate("NetWare (2)");
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{1004});
}

// Each page sets the help context of its section; F1 shows its topic.
TEST_F(PageTest, F1ShowsTheHelpOfTheShownPage) {
    ASSERT_NE(OpenSheet(), nullptr);
    EXPECT_EQ(app.GetHelpContext(), 3);
    QLineEdit* edit = Edit(Activate("SNMP"), "System Name");
    EXPECT_EQ(app.GetHelpContext(), 9);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_F1);
    ASSERT_NE(app.GetHelpViewer(), nullptr);
    EXPECT_EQ(app.GetHelpViewer()->CurrentTopic(), 9);
    EXPECT_EQ(app.GetHelpViewer()->Browser()->documentTitle(), "SNMP settings");
    app.ShowHelp(0, HelpCommand::Quit);
}

TEST(HelpContext, EverySectionHasItsTopicAndListPagesDependOnTheVersion) {
    const std::pair<int, int> sections[] = {{10100, 3}, {10200, 4}, {10300, 5}, {10400, 6}, {10500, 7},
                                            {10600, 8}, {10700, 9}, {10800, 10}, {30002, 13}, {0, 0}};
    for (auto [titleId, topic] : sections) EXPECT_EQ(TemplatePage::HelpContextFor(titleId, "4.00"), topic) << titleId;
    EXPECT_EQ(TemplatePage::HelpContextFor(30001, "3.06"), 14);
    EXPECT_EQ(TemplatePage::HelpContextFor(30001, "3.07"), 16);
    EXPECT_EQ(TemplatePage::HelpContextFor(30001, "Unknown"), 16);
}

}  // namespace
