#include <QAccessible>
#include <QTabBar>
#include <QTextBrowser>
#include <filesystem>

#include "ControlHandler.h"
#include "HelpViewer.h"
#include "PageFixture.h"

namespace {

namespace fs = std::filesystem;

// A folder in the file's place: it cannot be read, at once. The file comes back with the object.
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

// A tab per section, a section too long for one tab cut into numbered tabs
// (blocks kept whole), server text in titles taken literally.
TEST_F(PageTest, OneTabPerSectionSliceInFileOrder) {
    ConfigPropertySheet* sheet = OpenSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(TabTitles(), QStringList({"Server", "SCSI", "IP", "SMB", "NFS", "HTTP/FTP", "SNMP", "NetWare (1)", "NetWare (2)"}));
    EXPECT_EQ(window->GetPageCaption(), "Configuration");
    EXPECT_EQ(sheet->pos(), QPoint(15, 70));
    // Every tab fits the strip; none hides behind scroll arrows.
    EXPECT_LE(sheet->tabBar()->tabRect(sheet->count() - 1).right(), sheet->tabBar()->width());
    EXPECT_LE(sheet->geometry().right(), window->width() - 15);
    std::string lines = "; QUOR Tessaron CD-ROM Server V4.00\n[Long]\n";
    for (int i = 0; i < 14; ++i) lines += "A" + std::to_string(i) + " = v\n";
    WriteConfig(lines + "Head = 1\n  S0 = v\n  S1 = v\n[Nothing]\n[100%s %d]\nK = 1\n[END]\n");
    window->Control<QPushButton>(1124)->click();  // Home
    ASSERT_NE(OpenSheet(), nullptr);
    EXPECT_EQ(TabTitles(), QStringList({"Long (1)", "Long (2)", "100%s %d"}));
    TemplatePage& second = Activate("Long (2)");
    EXPECT_EQ(Values(second).size(), 3);
    EXPECT_EQ(Values(second)[0]->accessibleName(), "Head");
    EXPECT_EQ(second.Control<QPushButton>(TemplatePage::kSubmitId)->text(), "Submit Long (2) Settings");
    EXPECT_EQ(second.Control<QPushButton>(TemplatePage::kResetId)->text(), "Reset Long (2) Settings");
    EXPECT_TRUE(presenter.shown.empty());
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
        ASSERT_EQ(sheet->GetActiveIndex(), step % sheet->count()) << "step " << step;
        TemplatePage* page = sheet->PageAt(step % sheet->count());
        EXPECT_TRUE(page->isAncestorOf(QApplication::focusWidget())) << page->GetTitle().toStdString();
        for (const RowLabel* label : page->findChildren<RowLabel*>()) EXPECT_FALSE(label->IsElided()) << label->text().toStdString();
        for (QWidget* value : Values(*page)) {
            const QString name = QAccessible::queryAccessibleInterface(value)->text(QAccessible::Name);
            EXPECT_FALSE(name.isEmpty() || name.startsWith(QLatin1String("-"))) << value->objectName().toStdString();
        }
    }
}

// A tab key with a value that fails its check keeps the page: the next tab
// is never shown behind the message.
TEST_F(PageTest, TabKeysAskTheShownPageFirst) {
    ConfigPropertySheet* sheet = OpenSheet();
    ASSERT_NE(sheet, nullptr);
    QLineEdit* address = Edit(Activate("IP"), "Internet Address");
    const int index = sheet->GetActiveIndex();
    Type(address, "300.1.1.1");
    std::vector<int> shown;
    QObject::connect(sheet, &QTabWidget::currentChanged, [&](int i) { shown.push_back(i); });
    presenter.shown.clear();
    // As a shortcut, and as a plain key press (what a window that is not the active one gets).
    QTest::keyClick(address, Qt::Key_Tab, Qt::ControlModifier);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_PageDown, Qt::ControlModifier);
    QApplication::sendEvent(address, &press);
    Settle();
    EXPECT_EQ(presenter.ShownIds(), (std::vector<int>{1022, 1022}));
    EXPECT_EQ(sheet->GetActiveIndex(), index);
    EXPECT_TRUE(shown.empty());
}

// A file that cannot be read: the sheet is not opened (1005); a page is
// unavailable until its next activation (1004), also when its section is gone.
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
        EXPECT_TRUE(Values(ip).isEmpty());
        Submit(ip);  // nothing to submit, and the page may be left
    }
    Activate("SMB");
    EXPECT_EQ(Edit(Activate("IP"), "Internet Address")->text(), "192.168.1.50");
    WriteConfig("[Server]\nRestart = no\n[END]\n");
    Activate("NetWare (2)");
    EXPECT_EQ(presenter.ShownIds(), (std::vector<int>{1004, 124, 1004}));
}

// Each page sets the help context of its section; F1 shows its topic.
TEST_F(PageTest, F1ShowsTheHelpOfTheShownPage) {
    ASSERT_NE(OpenSheet(), nullptr);
    EXPECT_EQ(app.GetHelpContext(), 3);
    QLineEdit* edit = Edit(Activate("SNMP"), "System Name");
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_F1);
    ASSERT_NE(app.GetHelpViewer(), nullptr);
    EXPECT_EQ(app.GetHelpViewer()->CurrentTopic(), 9);
    EXPECT_EQ(app.GetHelpViewer()->Browser()->documentTitle(), "SNMP settings");
    app.ShowHelp(0, HelpCommand::Quit);
    const std::pair<int, int> sections[] = {{10100, 3}, {10200, 4}, {10300, 5}, {10400, 6}, {10500, 7},
                                            {10600, 8}, {10700, 9}, {10800, 10}, {30002, 13}, {0, 0}};
    for (auto [titleId, topic] : sections) EXPECT_EQ(TemplatePage::HelpContextFor(titleId, "4.00"), topic) << titleId;
    EXPECT_EQ(TemplatePage::HelpContextFor(30001, "3.06"), 14);  // the list-driven pages depend on the version
    EXPECT_EQ(TemplatePage::HelpContextFor(30001, "3.07"), 16);
}

}  // namespace
