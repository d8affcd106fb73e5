#include <QDialog>

#include "DataExchange.h"
#include "FormTextDlg.h"
#include "PageFixture.h"
#include "QtTestMain.h"
#include "StringTable.h"

namespace {

// What the form-text dialog showed, and how it ended.
struct FormSeen {
    bool shown = false;
    QString title;
    QString name;
    QString prompt;
    bool stayedOpenAfterOk = false;
};

// Answers the next form-text dialog: types text, presses OK, and presses
// Cancel when OK left it open (a refused value); or presses Cancel at once.
void AnswerFormText(const QString& text, bool ok, FormSeen& seen) {
    WhenModalShown([text, ok, &seen](QWidget* modal) {
        seen.shown = true;
        seen.title = modal->windowTitle();
        seen.name = modal->findChild<QLabel*>("1251")->text();
        seen.prompt = modal->findChild<QLabel*>("1257")->text();
        modal->findChild<QLineEdit*>("1250")->setText(text);
        if (ok) {
            modal->findChild<QPushButton*>("1")->click();
            seen.stayedOpenAfterOk = modal->isVisible();
        }
        if (modal->isVisible()) modal->findChild<QPushButton*>("2")->click();
    });
}

// Picks an entry from the dropped-down list, as a click in it does.
void Pick(QComboBox* combo, const QString& entry) {
    const int index = combo->findText(entry);
    ASSERT_GE(index, 0);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    QCoreApplication::processEvents();
}

struct FormCase {
    const char* name;
    const char* special;  // the entry picked
    QString typed;
    bool ok;
    std::vector<int> messages;
    bool stayedOpen;
    QString valueAfter;
    QStringList entriesAfter;
};

class SpecialEntries : public PageTest, public testing::WithParamInterface<FormCase> {};

TEST_P(SpecialEntries, AskForTheValueInAForm) {
    const FormCase& c = GetParam();
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& page = Activate("NetWare (2)");
    QComboBox* combo = Combo(page, "TimeSyncSources");
    ASSERT_EQ(Entries(combo), QStringList({"SAP", "SERVER_LIST", "XX-XX-XX-XX"}));
    FormSeen seen;
    AnswerFormText(c.typed, c.ok, seen);
    Pick(combo, c.special);
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.title, "QUOR Tessaron Configuration");
    EXPECT_EQ(seen.name, "Time Sync Sources");
    EXPECT_EQ(seen.prompt.toStdString(), LoadString(std::string(c.special) == "SERVER_LIST" ? 135 : 134));
    EXPECT_EQ(presenter.ShownIds(), c.messages);
    EXPECT_EQ(seen.stayedOpenAfterOk, c.stayedOpen);
    EXPECT_EQ(combo->currentText(), c.valueAfter);
    EXPECT_EQ(Entries(combo), c.entriesAfter);
    EXPECT_EQ(FromServerText(page.Working().GetValueAt(Row(page, "TimeSyncSources"))), c.valueAfter);
}

const QStringList kEntries = {"SAP", "SERVER_LIST", "XX-XX-XX-XX"};

INSTANTIATE_TEST_SUITE_P(
    Forms, SpecialEntries,
    testing::Values(
        FormCase{"AddressEntered", "XX-XX-XX-XX", "01-02-0a-FF", true, {}, false, "01-02-0a-FF",
                 kEntries + QStringList{"01-02-0a-FF"}},
        // The limit counts what was typed, blanks included.
        FormCase{"AddressWithBlanks", "XX-XX-XX-XX", " 01-02-03-04", true, {TooManyCharactersPromptId}, true, "SAP",
                 kEntries},
        FormCase{"AddressCancelled", "XX-XX-XX-XX", "01-02-03-04", false, {}, false, "SAP", kEntries},
        FormCase{"AddressTooShort", "XX-XX-XX-XX", "1-2-3-4", true, {1022}, true, "SAP", kEntries},
        FormCase{"AddressTooLong", "XX-XX-XX-XX", "01-02-03-04-", true, {TooManyCharactersPromptId}, true, "SAP",
                 kEntries},
        FormCase{"AddressNotHex", "XX-XX-XX-XX", "01-02-03-0G", true, {1022}, true, "SAP", kEntries},
        FormCase{"OnlyBlanksIsNothing", "XX-XX-XX-XX", "   ", true, {}, false, "SAP", kEntries},
        FormCase{"ServersEntered", "SERVER_LIST", "FS1,FS_2", true, {}, false, "FS1,FS_2",
                 kEntries + QStringList{"FS1,FS_2"}},
        FormCase{"ServerAlreadyListed", "SERVER_LIST", "SAP", true, {}, false, "SAP", kEntries},
        FormCase{"ServerNameTooLong", "SERVER_LIST", "FS1," + QString(48, 'A'), true, {1020}, true, "SAP",
                 kEntries},
        FormCase{"ServerNameOf47", "SERVER_LIST", QString(47, 'A'), true, {}, false, QString(47, 'A'),
                 kEntries + QStringList{QString(47, 'A')}},
        FormCase{"ServerNameLowerCase", "SERVER_LIST", "FS1,fs2", true, {1022}, true, "SAP", kEntries},
        FormCase{"ServerListTooLong", "SERVER_LIST", QString(257, 'A'), true, {TooManyCharactersPromptId}, true,
                 "SAP", kEntries}),
    [](const testing::TestParamInfo<FormCase>& info) { return std::string(info.param.name); });

TEST_F(PageTest, EnteredAddressIsSubmitted) {
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& page = Activate("NetWare (2)");
    FormSeen seen;
    AnswerFormText("0A-0B-0C-0D", true, seen);
    Pick(Combo(page, "TimeSyncSources"), "XX-XX-XX-XX");
    Submit(page);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{125});
    EXPECT_EQ(FileValue("NetWare", "TimeSyncSources"), "0A-0B-0C-0D");
    // The page shows the file again. The writer leaves the comments out, so
    // the choices now come from the catalogue alone, the value appended.
    EXPECT_EQ(Entries(Combo(page, "TimeSyncSources")), QStringList({"SAP", "SERVER_LIST", "0A-0B-0C-0D"}));
    EXPECT_EQ(Combo(page, "TimeSyncSources")->currentText(), "0A-0B-0C-0D");
}

TEST_F(PageTest, OrdinaryEntriesBecomeTheValueAtOnce) {
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& page = Activate("NetWare (2)");
    FormSeen seen;
    Pick(Combo(page, "NDSInstall"), "yes");
    EXPECT_FALSE(seen.shown);
    EXPECT_EQ(page.Working().GetValueAt(Row(page, "NDSInstall")), "yes");
}

TEST(FormTextDlg, OemBuildShowsItsOwnTitle) {
    ConfigApp app;
    app.SetOemBranding(true);
    FormTextDlg dialog("Name", FormTextDlg::NetWareAddress);
    dialog.EnsureCreated();
    EXPECT_EQ(dialog.windowTitle(), "JQ CD-ROM Server Utility");
    std::string text;
    EXPECT_FALSE(dialog.GetText(text));
}

}  // namespace
