#include "PageFixture.h"
#include "QtTestMain.h"
#include "StringTable.h"

namespace {

// The special entries of a choice list ask for their value in a small form
// (which checks what was typed); the value joins the list and is submitted.
TEST_F(PageTest, SpecialEntriesAskForTheValueInAForm) {
    const QStringList kEntries = {"SAP", "SERVER_LIST", "XX-XX-XX-XX"};
    const struct {
        const char* entry;  // picked
        QString typed;
        bool ok;
        std::vector<int> messages;
        QString valueAfter;
    } cases[] = {
        {"XX-XX-XX-XX", "1-2-3-4", true, {1022}, "SAP"},  // refused: the form stays until cancelled
        {"XX-XX-XX-XX", "0A-0B-0C-0D", false, {}, "SAP"},
        {"XX-XX-XX-XX", "   ", true, {}, "SAP"},  // nothing entered
        {"SERVER_LIST", "FS1,FS_2", true, {}, "FS1,FS_2"},
        {"XX-XX-XX-XX", "0A-0B-0C-0D", true, {}, "0A-0B-0C-0D"},
    };
    ASSERT_NE(OpenSheet(), nullptr);
    TemplatePage& page = Activate("NetWare (2)");
    QComboBox* combo = Combo(page, "Time Sync Sources");
    ASSERT_EQ(Entries(combo), kEntries);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        presenter.shown.clear();
        QString title, name, prompt;
        bool stayedOpen = false;
        WhenModalShown([&](QWidget* modal) {
            title = modal->windowTitle();
            name = modal->findChild<QLabel*>("1251")->text();
            prompt = modal->findChild<QLabel*>("1257")->text();
            modal->findChild<QLineEdit*>("1250")->setText(c.typed);
            if (c.ok) modal->findChild<QPushButton*>("1")->click();
            stayedOpen = c.ok && modal->isVisible();
            if (modal->isVisible()) modal->findChild<QPushButton*>("2")->click();
        });
        const int index = combo->findText(c.entry);
        combo->setCurrentIndex(index);  // picked from the dropped-down list
        emit combo->activated(index);
        QCoreApplication::processEvents();
        EXPECT_EQ(title, "QUOR Tessaron Configuration");
        EXPECT_EQ(name, "Time Sync Sources");
        EXPECT_EQ(prompt.toStdString(), LoadString(std::string(c.entry) == "SERVER_LIST" ? 135 : 134));
        EXPECT_EQ(presenter.ShownIds(), c.messages);
        EXPECT_EQ(stayedOpen, c.ok && !c.messages.empty());
        EXPECT_EQ(combo->currentText(), c.valueAfter);
    }
    EXPECT_EQ(Entries(combo), kEntries + QStringList({"FS1,FS_2", "0A-0B-0C-0D"}));
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
