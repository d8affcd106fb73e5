#include "ShellFixture.h"

namespace {

struct IdentificationCase {
    const char* name;
    const char* firstLine;  // nullptr: no configuration file at all
    std::vector<int> messages;
    bool closes;
    const char* pageCaption;
    const char* serverType;
    int kind;
};

const IdentificationCase identificationCases[] = {
    {"supported CD-ROM server", "QUOR Tessaron CD-ROM Server V4.00 (c) 1999", {}, false, "Network CD-ROM Server",
     "QUOR Tessaron CD", 0},
    {"HD server of the OEM maker", "JQ HD-Server V3.07 S/N: 1", {}, false, "Network HD Server", "QUOR Tessaron HD", 1},
    {"JQ model word", "JQ 4000 V3.06 unit", {}, false, "Network CD-ROM Server", "JQ 4000", 0},
    {"unsupported version warns and goes on", "QUOR Tessaron CD V3.02 x", {1003}, false, "Network CD-ROM Server",
     "QUOR Tessaron CD", 0},
    {"no version at all warns", "QUOR Tessaron CD", {1003}, false, "Network CD-ROM Server", "QUOR Tessaron CD", 0},
    {"not a supported unit", "QUOR Tessaron HD V4.00 x", {1018}, true, "Establishing connection...", "", 0},
    {"unreadable configuration file", nullptr, {1007}, true, "Establishing connection...", "", 0},
};

class Identification : public ShellTest, public testing::WithParamInterface<IdentificationCase> {};

}  // namespace

TEST_P(Identification, ShowsTheOutcome) {
    const IdentificationCase& c = GetParam();
    if (c.firstLine) {
        share.Write("Config/Config.ini", std::string(c.firstLine) + "\r\n[Server]\r\nRestart = no\r\n[END]\r\n");
    } else {
        std::filesystem::remove(share.PathOf("Config/Config.ini"));
    }
    ConfigMainDlg& main = Open();
    EXPECT_EQ(presenter.ShownIds(), c.messages);
    for (const auto& shown : presenter.shown) {
        EXPECT_EQ(shown.caption, QStringLiteral("QUOR Tessaron Configuration"));
        EXPECT_EQ(shown.type & MessageType::IconMask, MessageType::IconExclamation);
    }
    Settle();
    EXPECT_EQ(main.isVisible(), !c.closes);
    EXPECT_EQ(Caption(1074), QString::fromUtf8(c.pageCaption));
    EXPECT_EQ(Caption(1223), QString::fromUtf8(c.serverType));
    EXPECT_EQ(app.GetServerKind(), c.kind);
}

INSTANTIATE_TEST_SUITE_P(FirstLines, Identification, testing::ValuesIn(identificationCases),
                         [](const testing::TestParamInfo<IdentificationCase>& info) {
                             std::string name = info.param.name;
                             for (char& ch : name) {
                                 if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             }
                             return name;
                         });

TEST_F(ShellTest, CaptionsAndTitleBeforeAndAfterIdentification) {
    window = std::make_unique<ConfigMainDlg>(app);
    app.SetMainWindow(window.get());
    window->show();
    // Until the start-up timer fires the page caption says it is connecting.
    EXPECT_TRUE(window->IsStartTimerPending());
    EXPECT_EQ(Caption(1074), QStringLiteral("Establishing connection..."));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("QUOR Tessaron Configuration - tessaron1"));
    EXPECT_FALSE(window->windowIcon().isNull());
    EXPECT_TRUE(Visible(1076));   // the maker's logo
    EXPECT_FALSE(Visible(1265));  // not the OEM's
    EXPECT_TRUE(window->Control<QWidget>(1074)->font().bold());
    EXPECT_TRUE(window->Control<QWidget>(1223)->font().bold());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->IsStartTimerPending(); }, 2000));
    EXPECT_EQ(Caption(1074), QStringLiteral("Network CD-ROM Server"));
    EXPECT_EQ(app.GetServerVersion(), "4.00");
    // Identification runs once only.
    share.Write("Config/Config.ini", "nothing to see\r\n");
    window->OnStartTimer();
    EXPECT_TRUE(presenter.shown.empty());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(ShellTest, OemBuildShowsItsOwnLogoAndCaption) {
    app.SetOemBranding(true);
    ConfigMainDlg& main = Open();
    EXPECT_FALSE(Visible(1076));
    EXPECT_TRUE(Visible(1265));
    EXPECT_EQ(main.windowTitle(), QStringLiteral("JQ CD-ROM Server Utility - tessaron1"));
    app.ShowMessage(1000);
    EXPECT_EQ(presenter.shown.back().caption, QStringLiteral("JQ CD-ROM Server Utility"));
}
