#include <QTimer>

#include "ShellFixture.h"

namespace {

struct CloseCase {
    const char* name;
    bool changed;
    std::vector<int> answers;
    bool restartKey;  // the file has Server/Restart
    std::vector<int> messages;
    const char* restartAfter;  // value of Server/Restart afterwards
};

const CloseCase closeCases[] = {
    {"nothing changed asks nothing", false, {}, true, {}, "no"},
    {"changed, answer No", true, {MessageResult::No}, true, {127}, "no"},
    {"changed, answer Yes", true, {MessageResult::Yes}, true, {127, 131}, "yes"},
    {"changed, Yes, file without the Restart key", true, {MessageResult::Yes}, false, {127, 1007}, nullptr},
};

class Closing : public ShellTest, public testing::WithParamInterface<CloseCase> {};

std::string restartValue(const TempShare& share, bool& found) {
    ParameterHandler handler;
    handler.Load(share.PathOf("Config/Config.ini"), Configuration);
    std::string value;
    found = handler.GetValue("Server", "Restart", value);
    return value;
}

}  // namespace

TEST_P(Closing, OffersARestartWhenSettingsChanged) {
    const CloseCase& c = GetParam();
    if (!c.restartKey) {
        share.Write("Config/Config.ini",
                    "QUOR Tessaron CD-ROM Server V4.00 x\r\n[Server]\r\nFactoryDefaults = no\r\n[END]\r\n");
    }
    const std::string before = share.Read("Config/Config.ini");
    ConfigMainDlg& main = Open();
    app.SetParametersChanged(c.changed);
    presenter.answers.assign(c.answers.begin(), c.answers.end());
    main.close();
    Settle();

    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(presenter.ShownIds(), c.messages);
    if (c.changed) {
        EXPECT_EQ(presenter.shown[0].type, MessageType::YesNo | MessageType::IconQuestion);
    }
    bool found = false;
    const std::string value = restartValue(share, found);
    if (c.restartAfter) {
        EXPECT_TRUE(found);
        EXPECT_EQ(value, c.restartAfter);
    } else {
        EXPECT_FALSE(found);
        EXPECT_EQ(share.Read("Config/Config.ini"), before);  // nothing written
    }
}

INSTANTIATE_TEST_SUITE_P(Requests, Closing, testing::ValuesIn(closeCases),
                         [](const testing::TestParamInfo<CloseCase>& info) { return std::to_string(info.index); });

TEST_F(ShellTest, ARestartThatCannotBeWrittenIsReported) {
    ConfigMainDlg& main = Open();
    app.SetParametersChanged(true);
    std::filesystem::remove(share.PathOf("Config/Config.ini"));
    presenter.answers = {MessageResult::Yes};
    main.close();
    Settle();
    EXPECT_EQ(presenter.ShownIds(), (std::vector<int>{127, 1007}));
    EXPECT_FALSE(main.isVisible());
}

TEST_F(ShellTest, AnEscapedErrorEndsTheModalRunWithMessage1010) {
    window = std::make_unique<ConfigMainDlg>(app);
    app.SetMainWindow(window.get());
    QTimer::singleShot(300, window.get(), [] { throw std::bad_alloc(); });
    const int result = window->DoModal();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{1010});
    EXPECT_FALSE(window->isVisible());
}
