#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include "Cp1252.h"
#include "DataExchange.h"
#include "ServerCharset.h"
#include "Dialog.h"
#include "ScriptedPresenter.h"
#include "StringTable.h"
#include "ToolkitApp.h"

namespace {

// A form over the Quick Installation template with a few bound fields and
// the checks a window would run on them.
class TestForm : public ChildDialog {
public:
    TestForm() : ChildDialog(TemplateId::QuickInstallation, nullptr) {
        Create();
        auto* box = new QCheckBox(QStringLiteral("Enable"), this);
        box->setObjectName(QStringLiteral("3000"));
    }

    std::string address = "10.1.1.1";
    std::string router = "10.1.1.254";
    std::string choice;
    int enabled = 0;
    int maxChars = 64;
    int minimum = 0, maximum = 100;
    bool checkNumber = false;
    int exchanged = 0;  // fields exchanged in the last run

    void DoDataExchange(DataExchange& dx) override {
        exchanged = 0;
        dx.Text(1069, address);
        dx.PrepareEditCtrl(1069);
        dx.MaxChars(address, maxChars);
        ++exchanged;
        dx.Text(1070, router);
        dx.PrepareEditCtrl(1070);
        dx.MaxChars(router, maxChars);
        if (checkNumber) dx.IntRange(std::atoi(router.c_str()), minimum, maximum);
        ++exchanged;
        dx.Check(3000, enabled);
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

TEST_F(DataExchangeTest, TextTravelsBothWaysThroughTheServerCharacterSet) {
    form.address = "Caf\xE9 \x80 \x81";
    ASSERT_TRUE(form.UpdateData(false));
    EXPECT_EQ(form.Edit(1069)->text(), QString::fromUtf8("Caf\xC3\xA9 \xE2\x82\xAC ") + QChar(0x81));
    form.address.clear();
    ASSERT_TRUE(form.UpdateData(true));
    EXPECT_EQ(form.address, "Caf\xE9 \x80 \x81");
    EXPECT_TRUE(presenter.shown.empty());
}

TEST_F(DataExchangeTest, RefusedTextFailsWithFocusAndSelectionOnItsControl) {
    struct Case {
        const char* what;
        QString typed;
    } cases[] = {
        {"character without a byte", QStringLiteral("10.1.1.") + QChar(0x0100)},
        {"line feed", QStringLiteral("10.1.1.2\nx")},
        {"carriage return", QStringLiteral("10.1.1.2\r")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        presenter.shown.clear();
        form.router = "before";
        form.Edit(1069)->setText(QStringLiteral("10.0.0.1"));
        form.Edit(1070)->setText(c.typed);
        form.Edit(1069)->setFocus();

        EXPECT_FALSE(form.UpdateData(true));
        ASSERT_EQ(presenter.ShownIds(), std::vector<int>{1022});
        EXPECT_EQ(presenter.shown[0].type, MessageType::Ok);
        EXPECT_EQ(form.router, "before");  // nothing taken from the refused control
        EXPECT_EQ(form.exchanged, 1);      // the exchange stopped there
        EXPECT_EQ(form.address, "10.0.0.1");
        EXPECT_EQ(QApplication::focusWidget(), form.Edit(1070));
        EXPECT_EQ(form.Edit(1070)->selectedText(), c.typed);
    }
}

TEST_F(DataExchangeTest, LengthAndRangeChecksNameTheirLimits) {
    form.Edit(1069)->setText(QStringLiteral("10.0.0.1"));
    form.Edit(1070)->setText(QStringLiteral("123456"));
    form.maxChars = 5;
    EXPECT_FALSE(form.UpdateData(true));
    ASSERT_EQ(presenter.ShownIds(), std::vector<int>{TooManyCharactersPromptId});
    EXPECT_TRUE(presenter.shown[0].text.contains(QStringLiteral("5"))) << presenter.shown[0].text.toStdString();
    EXPECT_FALSE(presenter.shown[0].text.contains(QStringLiteral("%1")));
    EXPECT_EQ(QApplication::focusWidget(), form.Edit(1069));  // the first field is the long one

    presenter.shown.clear();
    form.maxChars = 64;
    form.checkNumber = true;
    form.minimum = -20;
    form.maximum = 99999;
    EXPECT_FALSE(form.UpdateData(true));
    ASSERT_EQ(presenter.ShownIds(), std::vector<int>{NumberOutOfRangePromptId});
    EXPECT_TRUE(presenter.shown[0].text.contains(QStringLiteral("-20")));
    EXPECT_TRUE(presenter.shown[0].text.contains(QStringLiteral("99999")));
    EXPECT_EQ(QApplication::focusWidget(), form.Edit(1070));
    EXPECT_EQ(form.Edit(1070)->selectedText(), QStringLiteral("123456"));

    form.maximum = 123456;
    presenter.shown.clear();
    EXPECT_TRUE(form.UpdateData(true));
    EXPECT_TRUE(presenter.shown.empty());
}

TEST(DataExchangePrompts, UseTheStringTableOrOwnWording) {
    const std::string tooMany = TooManyCharactersPrompt(47);
    const std::string range = NumberOutOfRangePrompt(1, 65535);
    if (LoadString(TooManyCharactersPromptId).empty()) {
        EXPECT_EQ(tooMany, "The value may hold at most 47 characters.");
    }
    if (LoadString(NumberOutOfRangePromptId).empty()) {
        EXPECT_EQ(range, "Enter a whole number from 1 to 65535.");
    }
    EXPECT_NE(tooMany.find("47"), std::string::npos);
    EXPECT_NE(range.find("65535"), std::string::npos);
}

TEST_F(DataExchangeTest, AnUntouchedChoiceKeepsItsValue) {
    // Entries: "yes", "no", "Yesterday". Loading shows the equal entry, else
    // the first beginning with the value; saving gives back the value itself
    // until the user picks an entry.
    struct Case {
        const char* value;
        int before;
        int shown;
    } cases[] = {
        {"no", 0, 1}, {"YE", 1, 0}, {"Yesterday", 0, 2}, {"", 2, 0}, {"maybe", 1, 1},
    };
    for (const Case& c : cases) {
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

TEST_F(DataExchangeTest, CheckBoxStateTravelsBothWays) {
    auto* box = form.findChild<QCheckBox*>(QStringLiteral("3000"));
    for (int state : {1, 0, 1}) {
        form.enabled = state;
        ASSERT_TRUE(form.UpdateData(false));
        EXPECT_EQ(box->isChecked(), state == 1);
    }
    box->setChecked(false);
    ASSERT_TRUE(form.UpdateData(true));
    EXPECT_EQ(form.enabled, 0);
}

TEST_F(DataExchangeTest, ContextSeenByTheStoreReadsAndStylesControls) {
    DataExchange saving(&form, true);
    form.Edit(1130)->setText(QStringLiteral("Serveur ") + QChar(0x0100));
    EXPECT_TRUE(saving.IsSaving());
    EXPECT_EQ(saving.GetControlText(1130), "Serveur ?");
    EXPECT_EQ(saving.GetControlText(4242), "");  // no such control

    saving.SetUpperCase(1130);
    EXPECT_TRUE(HasUpperCaseStyle(form.Edit(1130)));
    // Text put in by the program stays; typed letters become capitals.
    form.Edit(1130)->setText(QStringLiteral("abc"));
    EXPECT_EQ(form.Edit(1130)->text(), QStringLiteral("abc"));
    form.Edit(1130)->setFocus();
    form.Edit(1130)->end(false);
    QTest::keyClicks(form.Edit(1130), QStringLiteral("x_1"));
    EXPECT_EQ(form.Edit(1130)->text(), QStringLiteral("abcX_1"));
    SetUpperCaseStyle(form.Edit(1130), false);
    EXPECT_FALSE(HasUpperCaseStyle(form.Edit(1130)));
    QTest::keyClicks(form.Edit(1130), QStringLiteral("y"));
    EXPECT_EQ(form.Edit(1130)->text(), QStringLiteral("abcX_1y"));
}

// What an upper-case edit shows after a character is typed is what the
// command line makes of the same byte: one upper-casing for both.
TEST_F(DataExchangeTest, UpperCaseEditTypesTheServersCapitals) {
    QLineEdit* edit = form.Edit(1130);
    SetUpperCaseStyle(edit, true);
    edit->setFocus();
    for (int byte = 0x20; byte < 0x100; ++byte) {
        if (byte == 0x7F) continue;  // Delete is a key, not a character
        edit->clear();
        const QString typed(QChar(ServerCharacterOf(static_cast<unsigned char>(byte))));
        if (!typed[0].isPrint()) continue;  // an edit takes no control characters from the keyboard
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
        QApplication::sendEvent(edit, &press);
        const std::string expected(1, static_cast<char>(ServerUpperCaseByte(static_cast<unsigned char>(byte))));
        EXPECT_EQ(edit->text(), FromServerText(expected)) << "byte " << byte;
    }
}

