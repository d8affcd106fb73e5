#include "PageFixture.h"

namespace {

// The whole way of one change: Configuration, the IP tab, a new address,
// Submit, the file rewritten and confirmed, and the restart on closing.
TEST_F(PageTest, NewInternetAddressIsSubmittedConfirmedAndRestartIsOfferedOnClose) {
    ConfigPropertySheet* sheet = OpenSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(window->GetPageCaption(), "Configuration");

    TemplatePage& ip = Activate("IP");
    const int row = Row(ip, "InternetAddress");
    auto* label = qobject_cast<QLabel*>(ip.LabelAt(row));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Internet Address");
    QLineEdit* edit = Edit(ip, "InternetAddress");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "192.168.1.50");
    EXPECT_EQ(app.GetHelpContext(), 5);

    // Blanks and leading zeros are the user's; the page writes the canonical form.
    Type(edit, " 010.000.000.007 ");
    Submit(ip);

    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{125});
    EXPECT_EQ(FileValue("IP", "InternetAddress"), "10.0.0.7");
    EXPECT_NE(ConfigText().find("InternetAddress = 10.0.0.7\r\n"), std::string::npos);
    EXPECT_TRUE(app.GetParametersChanged());
    // The page shows the file as the server wrote it, with nothing pending.
    EXPECT_EQ(Edit(ip, "InternetAddress")->text(), "10.0.0.7");
    EXPECT_TRUE(ip.Working().IsEqual(ip.Loaded()));

    presenter.shown.clear();
    presenter.answers = {MessageResult::Yes};
    window->close();
    Settle();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(presenter.ShownIds(), (std::vector<int>{127, 131}));
    EXPECT_EQ(FileValue("Server", "Restart"), "yes");
    EXPECT_EQ(FileValue("IP", "InternetAddress"), "10.0.0.7");
}

}  // namespace
