#include <QKeyEvent>

#include "ShellFixture.h"
#include "StartDlg.h"

namespace {

struct ToolCase {
    int button;
    const char* caption;
    int failureMessage;
};

const ToolCase toolCases[] = {
    {StartDlg::QuickInstallationButton, "Quick Installation", 1006},
    {StartDlg::ConfigurationButton, "Configuration", 1005},
    {StartDlg::ManagementButton, "Management", 1011},
};

}  // namespace

TEST_F(ShellTest, ToolButtonsAreDisabledUntilTheirToolExists) {
    ConfigMainDlg& main = Open();
    for (const ToolCase& c : toolCases) {
        SCOPED_TRACE(c.caption);
        QWidget* button = main.GetChild()->findChild<QWidget*>(QString::number(c.button));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->isEnabled(), main.HasTool(static_cast<ConfigMainDlg::ToolKind>(&c - toolCases)));
    }
    UseTestTools();
    for (const ToolCase& c : toolCases) {
        EXPECT_TRUE(main.GetChild()->findChild<QWidget*>(QString::number(c.button))->isEnabled()) << c.caption;
    }
}

TEST_F(ShellTest, OpeningAToolAndComingHome) {
    ConfigMainDlg& main = Open();
    UseTestTools();
    EXPECT_FALSE(Visible(1124));
    EXPECT_FALSE(Visible(57670));
    for (const ToolCase& c : toolCases) {
        SCOPED_TRACE(c.caption);
        QPointer<QWidget> home = main.GetChild();
        ASSERT_NE(qobject_cast<StartDlg*>(home.data()), nullptr);
        // Pressed on the home page, which goes while its own command runs.
        home->findChild<QPushButton*>(QString::number(c.button))->click();
        Settle();
        EXPECT_TRUE(home.isNull());
        EXPECT_EQ(main.GetChild(), tool);
        EXPECT_EQ(Caption(1074), QString::fromUtf8(c.caption));
        EXPECT_TRUE(Visible(1124));
        EXPECT_TRUE(Visible(57670));

        QPointer<QWidget> openTool = tool;
        Click(1124);
        Settle();
        EXPECT_TRUE(openTool.isNull());
        EXPECT_NE(qobject_cast<StartDlg*>(main.GetChild()), nullptr);
        EXPECT_EQ(Caption(1074), QStringLiteral("Network CD-ROM Server"));
        EXPECT_FALSE(Visible(1124));
        EXPECT_FALSE(Visible(57670));
    }
    EXPECT_TRUE(presenter.shown.empty());
}

TEST_F(ShellTest, AToolThatRefusesToBeLeftStays) {
    ConfigMainDlg& main = Open();
    UseTestTools();
    main.OpenConfiguration();
    ASSERT_NE(tool, nullptr);
    tool->mayLeave = false;
    Click(1124);
    Settle();
    EXPECT_EQ(main.GetChild(), tool);
    EXPECT_EQ(tool->asked, 1);
    EXPECT_EQ(Caption(1074), QStringLiteral("Configuration"));

    // Closing asks as well, and the window stays.
    main.close();
    Settle();
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(tool->asked, 2);

    tool->mayLeave = true;
    main.close();
    Settle();
    EXPECT_FALSE(main.isVisible());
}

TEST_F(ShellTest, AToolThatCannotReadTheServerReturnsHome) {
    ConfigMainDlg& main = Open();
    UseTestTools();
    const std::pair<const char*, std::function<void()>> failures[] = {
        {"file exception", [] { throw FileException{}; }},
        {"store error", [] { throw ParameterHandler::ParameterError{}; }},
    };
    for (const auto& [what, failure] : failures) {
        for (const ToolCase& c : toolCases) {
            SCOPED_TRACE(std::string(what) + " / " + c.caption);
            presenter.shown.clear();
            toolFailure = failure;
            main.GetChild()->findChild<QPushButton*>(QString::number(c.button))->click();
            Settle();
            EXPECT_EQ(presenter.ShownIds(), std::vector<int>{c.failureMessage});
            EXPECT_NE(qobject_cast<StartDlg*>(main.GetChild()), nullptr);
            EXPECT_EQ(Caption(1074), QStringLiteral("Network CD-ROM Server"));
            EXPECT_FALSE(Visible(1124));
        }
    }
}

TEST_F(ShellTest, EnterNeverClosesTheMainWindow) {
    ConfigMainDlg& main = Open();
    UseTestTools();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    // On the home page, on the window itself and in a tool's edit.
    QTest::keyClick(&main, Qt::Key_Return);
    QTest::keyClick(&main, Qt::Key_Enter);
    QTest::keyClick(&main, Qt::Key_Escape);
    main.OpenManagement();
    tool->edit->setFocus();
    QTest::keyClick(tool->edit, Qt::Key_Return);
    QTest::keyClick(tool->edit, Qt::Key_Escape);
    main.OnCommand(CommandId::Ok);
    Settle();
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.GetChild(), tool);
    EXPECT_TRUE(presenter.shown.empty());
}

TEST_F(ShellTest, HomePageFocusesItsFirstButton) {
    ConfigMainDlg& main = Open();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    Settle();
    EXPECT_EQ(QApplication::focusWidget(), main.GetChild()->findChild<QWidget*>(QStringLiteral("1004")));
}
