#include <QTimer>

#include "Catalogue.h"
#include "ShellFixture.h"

namespace {

struct CloseCase {
    const char* name;
    bool changed;
    std::vector<int> answers;
    const char* file;  // the configuration file; nullptr: the sample's
    std::vector<int> messages;
    const char* restartAfter;  // value of Server/Restart afterwards; nullptr: file unchanged
};

const char* const kNoRestartKey = "QUOR Tessaron CD-ROM Server V4.00 x\r\n[Server]\r\nFactoryDefaults = no\r\n[END]\r\n";
const char* const kPendingReset =
    "QUOR Tessaron CD-ROM Server V4.00 x\r\n[Server]\r\nFactoryDefaults = yes\r\nRestart = no\r\n[END]\r\n";

const CloseCase closeCases[] = {
    {"nothing changed asks nothing", false, {}, nullptr, {}, "no"},
    {"changed, answer No", true, {MessageResult::No}, nullptr, {127}, "no"},
    {"changed, answer Yes", true, {MessageResult::Yes}, nullptr, {127, 131}, "yes"},
    {"changed, Yes, file without the Restart key", true, {MessageResult::Yes}, kNoRestartKey, {127, 1007}, nullptr},
    // The restart would carry out the factory reset the file asks for.
    {"changed, Yes, pending reset not confirmed", true, {MessageResult::Yes, MessageResult::No}, kPendingReset,
     {127, 129}, nullptr},
    {"changed, Yes, pending reset confirmed", true, {MessageResult::Yes, MessageResult::Yes}, kPendingReset,
     {127, 129, 131}, "yes"},
};

class Closing : public ShellTest, public testing::WithParamInterface<CloseCase> {};

std::string restartValue(const TempShare& share, bool& found) {
    ParameterHandler handler;
    handler.Load(share.Files(), "Config/Config.ini", CatalogueOf(Configuration));
    std::string value;
    found = handler.GetValue("Server", "Restart", value);
    return value;
}

}  // namespace

TEST_P(Closing, OffersARestartWhenSettingsChanged) {
    const CloseCase& c = GetParam();
    if (c.file) share.Write("Config/Config.ini", c.file);
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
