#include <QComboBox>
#include <QLineEdit>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include "Cp1252.h"
#include "DataExchange.h"
#include "Dialog.h"
#include "ScriptedPresenter.h"
#include "ServerCharset.h"
#include "ToolkitApp.h"

namespace {

// A form over the Quick Installation template with a few bound fields and
// the checks a window would run on them.
class TestForm : public ChildDialog {
public:
    TestForm() : ChildDialog(TemplateId::QuickInstallation, nullptr) { Create(); }

    std::string address = "10.1.1.1";
    std::string router = "10.1.1.254";
    std::string choice;
    int exchanged = 0;  // fields exchanged in the last run

    void DoDataExchange(DataExchange& dx) override {
        exchanged = 0;
        dx.Text(1069, address);
        ++exchanged;
        dx.Text(1070, router);
        ++exchanged;
        dx.ComboText(1287, choice);
        ++exchanged;
    }

    QLineEdit* Edit(int id) { return Control<QLineEdit>(id); }
    QComboBox* Combo() { return Control<QComboBox>(1287); }
};

class DataExchangeTest : public testing::Test {
protected:
    void SetUp() override {
        form.Combo()->addItems({QStringLiteral("yes"), QStringLiteral("no"), QStringLiteral("Yesterday")});
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    ToolkitApp app;
    ScriptedPresenter& presenter = InstallScriptedPresenter(app);
    TestForm form;
};

}  // namespace

// Text travels both ways through the server's character set; what it
// cannot hold, or a line break, fails the exchange at that control.
TEST_F(DataExchangeTest, TextTravelsThroughTheServersCharacterSet) {
    form.address = "Caf\xE9 \x80 \x81";
    ASSERT_TRUE(form.UpdateData(false));
    EXPECT_EQ(form.Edit(1069)->text(), QString::fromUtf8("Caf\xC3\xA9 \xE2\x82\xAC ") + QChar(0x81));
    form.address.clear();
    ASSERT_TRUE(form.UpdateData(true));
    EXPECT_EQ(form.address, "Caf\xE9 \x80 \x81");
    for (const QString& typed : {QStringLiteral("10.1.1.") + QChar(0x0100), QString::fromUtf8("\xF0\x9F\x98\x80"),
                                 QStringLiteral("10.1.1.2\nx"), QStringLiteral("1\r")}) {
        SCOPED_TRACE(typed.toStdString());
        presenter.shown.clear();
        form.router = "before";
        form.Edit(1069)->setText(QStringLiteral("10.0.0.1"));
        form.Edit(1070)->setText(typed);
        form.Edit(1069)->setFocus();

        EXPECT_FALSE(form.UpdateData(true));
        ASSERT_EQ(presenter.ShownIds(), std::vector<int>{1022});
        EXPECT_EQ(presenter.shown[0].type, MessageType::Ok);
        EXPECT_EQ(form.router, "before");  // nothing taken from the refused control
        EXPECT_EQ(form.exchanged, 1);      // the exchange stopped there
        EXPECT_EQ(form.address, "10.0.0.1");
        EXPECT_EQ(QApplication::focusWidget(), form.Edit(1070));
        EXPECT_EQ(form.Edit(1070)->selectedText(), typed);
    }
}

TEST_F(DataExchangeTest, AnUntouchedChoiceKeepsItsValue) {
    // Entries: "yes", "no", "Yesterday". Loading shows the equal entry, else
    // the first beginning with the value; saving gives back the value itself
    // until the user picks an entry.
    const struct { const char* value; int before, shown; } cases[] = {
        {"no", 0, 1}, {"", 2, 0}, {"maybe", 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        form.Combo()->setCurrentIndex(c.before);
        form.choice = c.value;
        ASSERT_TRUE(form.UpdateData(false));
        EXPECT_EQ(form.Combo()->currentIndex(), c.shown);
        ASSERT_TRUE(form.UpdateData(true));
        EXPECT_EQ(form.choice, c.value);
    }
    form.Combo()->setFocus();
    QTest::keyClick(form.Combo(), Qt::Key_Down);  // the user picks the next entry
    ASSERT_TRUE(form.UpdateData(true));
    EXPECT_EQ(form.choice, "Yesterday");
}

// What the store's checks see of the controls: their text (without what
// the server cannot hold), the canonical text the intake puts into them, and
// the upper-case style they ask for, in which every character typed shows as
// the core's upper-casing makes it (the command line's, not the desktop's)
// while text put in by the program stays.
TEST_F(DataExchangeTest, ContextSeenByTheStoreReadsAndStylesControls) {
    DataExchange saving(&form, true);
    QLineEdit* edit = form.Edit(1130);
    edit->setText(QStringLiteral("Serveur ") + QChar(0x0100));
    EXPECT_EQ(saving.GetControlText(1130), "Serveur ?");
    EXPECT_EQ(saving.GetControlText(4242), "");  // no such control
    const std::string shown = "Caf\xE9 " + std::string(40, 'x');
    saving.SetControlText(1130, shown);  // shown from its beginning
    EXPECT_EQ(saving.GetControlText(1130), shown);
    EXPECT_EQ(edit->cursorPosition(), 0);
    edit->setCursorPosition(3);
    saving.SetControlText(1130, shown);  // the text it shows already: the edit stays as it is
    EXPECT_EQ(edit->cursorPosition(), 3);
    saving.SetControlText(4242, "x");
    saving.SetUpperCase(1130);
    saving.SetUpperCase(1130);
    edit->setFocus();
    for (int byte = 0x20; byte < 0x100; ++byte) {  // each character the keyboard can type
        const std::string typed(1, static_cast<char>(byte));
        const QChar c = FromServerText(typed).at(0);
        if (byte == 0x7F || !c.isPrint()) continue;
        edit->setText(QStringLiteral("abc"));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &press);
        EXPECT_EQ(edit->text(), QStringLiteral("abc") + FromServerText(ServerUpperCase(typed))) << byte;
    }
    SetUpperCaseStyle(edit, false);
    EXPECT_FALSE(HasUpperCaseStyle(edit));
    QTest::keyClicks(edit, QStringLiteral("y"));
    EXPECT_TRUE(edit->text().endsWith(QStringLiteral("y")));
}
