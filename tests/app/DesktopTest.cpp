#include <QLabel>
#include <QMenu>
#include <QTextBrowser>

#include "AboutDlg.h"
#include "HelpViewer.h"
#include "QtTestMain.h"
#include "ShareFile.h"
#include "ShellFixture.h"
#include "StartDlg.h"

TEST_F(ShellTest, DiscAccessOpensTheCdFolderOrSaysItCouldNot) {
    ConfigMainDlg& main = Open();
    auto press = [&] { main.GetChild()->findChild<QPushButton*>(QStringLiteral("1004"))->click(); };

    press();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(QString::fromStdString(share.PathOf("Cd"))));
    EXPECT_TRUE(presenter.shown.empty());

    openerAnswer = false;  // the desktop has no file manager
    press();
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{1000});

    openerAnswer = true;  // a share without a Cd folder
    std::filesystem::remove_all(share.PathOf("Cd"));
    presenter.shown.clear();
    press();
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{1000});
    EXPECT_EQ(opened.size(), 2u);
    // The home page stays.
    EXPECT_NE(qobject_cast<StartDlg*>(main.GetChild()), nullptr);
}

TEST_F(ShellTest, DiscAccessFindsTheFolderWhateverItsLetterCase) {
    std::filesystem::rename(share.PathOf("Cd"), share.PathOf("CD"));
    ConfigMainDlg& main = Open();
    main.OpenDiscAccess();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(QString::fromStdString(share.PathOf("CD"))));
}

TEST_F(ShellTest, HelpShowsTheTopicOfTheCurrentPage) {
    ConfigMainDlg& main = Open();
    UseTestTools();
    // The home page's Help button: topic 0, the home page's own.
    main.GetChild()->findChild<QPushButton*>(QString::number(CommandId::Help))->click();
    ASSERT_NE(app.GetHelpViewer(), nullptr);
    EXPECT_EQ(app.GetHelpViewer()->CurrentTopic(), 0);
    EXPECT_TRUE(app.GetHelpViewer()->Browser()->toPlainText().contains(QStringLiteral("Disc Access")));

    // A tool's page sets its context; Help and F1 show that topic.
    main.OpenConfiguration();
    app.SetHelpContext(5);
    Click(CommandId::Help);
    EXPECT_EQ(app.GetHelpViewer()->CurrentTopic(), 5);
    app.SetHelpContext(9);
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    tool->edit->setFocus();
    QTest::keyClick(tool->edit, Qt::Key_F1);
    EXPECT_EQ(app.GetHelpViewer()->CurrentTopic(), 9);
    // A request from anywhere else in the program ends in the same place.
    app.SetHelpContext(7);
    app.WinHelp(0, HelpCommand::Context);
    EXPECT_EQ(app.GetHelpViewer()->CurrentTopic(), 7);

    // The viewer goes with the main window.
    QPointer<HelpViewer> viewer = app.GetHelpViewer();
    window.reset();
    EXPECT_TRUE(viewer.isNull() || !viewer->isVisible());
}

TEST_F(ShellTest, HelpTopicsExistForTheHomePage) {
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/help/topic0.html")));
}

namespace {

struct AboutCase {
    bool oem;
    const char* title;
    bool notice;
};

}  // namespace

TEST_F(ShellTest, AboutEntryAndBox) {
    const AboutCase cases[] = {
        {false, "QUOR Tessaron Configuration", true},
        {true, "JQ CD-ROM Server Utility", false},
    };
    for (const AboutCase& c : cases) {
        SCOPED_TRACE(c.title);
        app.SetOemBranding(c.oem);
        ConfigMainDlg& main = Open();
        std::unique_ptr<QMenu> menu(main.CreateAboutMenu());
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->actions().size(), 1);
        EXPECT_EQ(menu->actions()[0]->text(),
                  c.oem ? QStringLiteral("&About JQ CD-ROM Server Utility...")
                        : QStringLiteral("&About QUOR Tessaron Configuration..."));

        QString title, text;
        bool noticeShown = false;
        WhenModalShown([&](QWidget* modal) {
            auto* about = qobject_cast<AboutDlg*>(modal);
            if (!about) return;
            title = about->windowTitle();
            text = about->Control<QLabel>(1267)->text();
            noticeShown = about->Item(1266)->isVisible();
            about->Control<QPushButton>(CommandId::Ok)->click();
        });
        menu->actions()[0]->trigger();
        EXPECT_EQ(title, QString::fromUtf8(c.title));
        EXPECT_EQ(text, QString::fromUtf8(c.title));
        EXPECT_EQ(noticeShown, c.notice);
        EXPECT_TRUE(main.isVisible());
    }
}

TEST_F(ShellTest, AboutShortcutOpensTheBox) {
    ConfigMainDlg& main = Open();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    bool shown = false;
    WhenModalShown([&](QWidget* modal) {
        shown = qobject_cast<AboutDlg*>(modal) != nullptr;
        QTest::keyClick(modal, Qt::Key_Return);
    });
    QTest::keyClick(&main, Qt::Key_F1, Qt::ControlModifier);
    EXPECT_TRUE(shown);
}
