#include "ChangeHistory.h"
#include "DataExchange.h"
#include "FileLock.h"
#include "PageFixture.h"
#include "QtTestMain.h"
#include "QuickInstallationDlg.h"

namespace {

// The Quick Installation form in the main window, opened from the home page.
class QuickTest : public PageTest {
protected:
    QuickInstallationDlg* Open() {
        if (!window) OpenMain();
        Press(StartDlg::QuickInstallationButton);
        return qobject_cast<QuickInstallationDlg*>(window->GetChild());
    }
    QLineEdit* Field(int id) const { return window->findChild<QLineEdit*>(QString::number(id)); }
    void Press(int id) {
        window->findChild<QPushButton*>(QString::number(id))->click();
        Settle();
    }
};

TEST_F(QuickTest, FileWithoutNetWareHidesItsFieldsAndWritesCanonicalAddresses) {
    const std::string text = ConfigText().substr(0, ConfigText().find('\r')) + "\n[IP]\n"
                             "InternetAddress = 010.001.001.001\nDefaultRouter = 1.2.3\nNetMask = 255.0.0.0\n"
                             "[SMB]\nDomain/GroupName = WG\nServerName = S1\n[HTTP/FTP]\nPassword = pw\n";
    WriteConfig(text + "[END]\n");
    QuickInstallationDlg* form = Open();
    for (const auto& field : QuickInstallationDlg::kFields) {
        const bool shown = std::string(field.section) != "NetWare";
        EXPECT_EQ(form->Item(field.control)->isVisible(), shown) << field.key;
        EXPECT_EQ(form->Item(field.label)->isVisible(), shown) << field.key;
    }
    EXPECT_TRUE(HasUpperCaseStyle(Field(1071)));
    EXPECT_EQ(Field(1069)->text(), "10.1.1.1");  // and counts as changed:
    EXPECT_EQ(Field(1069)->accessibleDescription(), "Was: 010.001.001.001");
    Type(Field(1071), "S2");  // a changed field is marked until its change is reverted
    EXPECT_EQ(Field(1071)->accessibleDescription(), "Was: S1");
    ChangeSource::PendingChanges pending = form->Pending();
    ASSERT_EQ(pending.changes.size(), 2u);
    EXPECT_EQ(pending.changes[1].change, (Change{"SMB", "ServerName", "S1", "S2"}));
    form->Revert(pending.changes[1].change);
    EXPECT_EQ(Field(1071)->text(), "S1");
    EXPECT_EQ(Field(1071)->accessibleDescription(), "");
    presenter.answers = {MessageResult::Cancel};
    Press(1124);
    EXPECT_EQ(window->GetChild(), form);
    // Settings the form never showed are not its to write.
    WriteConfig(text + "[NetWare]\nServerName = OTHER\n[END]\n");
    Press(QuickInstallationDlg::kSubmitId);
    EXPECT_EQ(FileValue("NetWare", "ServerName"), "OTHER");
    EXPECT_EQ(FileValue("IP", "InternetAddress"), "10.1.1.1");
    EXPECT_EQ(FileValue("IP", "DefaultRouter"), "1.2.3");  // unchanged, so never checked
    EXPECT_TRUE(app.GetParametersChanged());
    EXPECT_EQ(Field(1069)->accessibleDescription(), "");
    const std::optional<HistoryEntry> last = LastWriteOf(app.GetHistoryAddress(), "Config/Config.ini");
    ASSERT_TRUE(last);  // the write is kept
    EXPECT_EQ(last->changes.changes, (std::vector<Change>{{"IP", "InternetAddress", "010.001.001.001", "10.1.1.1"}}));
    Press(1124);  // nothing left to ask
    EXPECT_NE(window->GetChild(), form);
    EXPECT_EQ(presenter.ShownIds(), (std::vector<int>{104, 125}));
}

struct ActionCase {
    const char* name;
    int control;
    QString typed;
    int button, answer;  // Submit, or Home with the answer to the question
    std::vector<int> messages;
    const char *key, *written;  // a NetWare key and its value in the file, or nullptr: nothing written
    bool leaves = false;
};

class QuickAction : public QuickTest, public testing::WithParamInterface<ActionCase> {};

// Only changed values are checked, the NDS admin password never; characters
// the file cannot hold are refused in every field, with the focus there.
TEST_P(QuickAction, ChecksWritesAndConfirms) {
    const ActionCase& c = GetParam();
    QuickInstallationDlg* form = Open();
    EXPECT_EQ(window->findChild<QComboBox*>("1287")->currentText(), "no");
    const std::string before = ConfigText();
    Type(Field(c.control), c.typed);
    presenter.answers = {c.answer};
    Press(c.button);
    EXPECT_EQ(presenter.ShownIds(), c.messages);
    EXPECT_EQ(c.key ? FileValue("NetWare", c.key) : ConfigText(), c.key ? c.written : before);
    EXPECT_EQ(app.GetParametersChanged(), c.messages.back() == 125);
    EXPECT_EQ(window->GetChild() != form, c.leaves);
    if (c.messages.back() == 1022) {
        EXPECT_EQ(QApplication::focusWidget(), Field(c.control));
    }
}

constexpr int kSubmit = QuickInstallationDlg::kSubmitId, kHome = 1124, kYes = MessageResult::Yes;
INSTANTIATE_TEST_SUITE_P(
    Fields, QuickAction,
    testing::Values(ActionCase{"IpTrailingBlank", 1069, "192.168.1.50 ", kSubmit, 0, {124}, nullptr, ""},
                    ActionCase{"AdminPassword", 1276, "secret", kSubmit, 0, {125}, "NDSAdminPassword", "secret"},
                    ActionCase{"NameWithBlank", 1130, "my server", kSubmit, 0, {1022}, nullptr, ""},
                    ActionCase{"LeaveCancel", 1274, "X", kHome, MessageResult::Cancel, {104}, nullptr, ""},
                    ActionCase{"LeaveNo", 1274, "X", kHome, MessageResult::No, {104}, nullptr, "", true},
                    ActionCase{"LeaveYes", 1274, "X", kHome, kYes, {104, 125}, "NDSServerContext", "X", true},
                    // Written as two lines, read back as "A ; B": not kept.
                    ActionCase{"LeaveYesNotKept", 1274, "A;B", kHome, kYes, {104, 126}, "NDSServerContext", "A ; B"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(QuickTest, UnreadableFileIsReportedAndNothingTypedIsLost) {
    OpenMain();
    {
        FileLock lock(share.PathOf("Config/Config.ini"));
        EXPECT_EQ(Open(), nullptr);
    }
    QuickInstallationDlg* form = Open();
    Type(Field(1071), "NEW");
    FileLock lock(share.PathOf("Config/Config.ini"));
    Press(QuickInstallationDlg::kResetId);
    presenter.answers = {MessageResult::Yes};
    Press(1124);
    EXPECT_EQ(presenter.ShownIds(), (std::vector<int>{1006, 1007, 104, 1007}));
    EXPECT_EQ(window->GetChild(), form);
    EXPECT_EQ(Field(1071)->text(), "NEW");
}

}  // namespace

TESSARON_QT_TEST_MAIN()
