#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "ServerForm.h"

namespace {

bool served(const std::string& section, const std::string& key) {
    static const std::set<std::pair<std::string, std::string>> known{
        {"IP", "NetMask"}, {"HTTP/FTP", "Password"}, {"SMB", "Domain/GroupName"}, {"", "Alias"}};
    return known.count({section, key}) != 0;
}

// A rule's target splits at the "/" after which a key of that section
// follows; the pattern must match the whole new value.
TEST(SimRules, RefusalMatchesTheWholeNewValueOfItsKey) {
    const struct { const char *rule, *section, *key, *value; bool refused; } cases[] = {
        {"IP/NetMask=0\\.0\\.0\\.0", "IP", "NetMask", "0.0.0.0", true},
        {"IP/NetMask=0\\.0\\.0\\.0", "IP", "NetMask", "10.0.0.0", false},
        {"IP/NetMask=0\\.0\\.0\\.0", "SNMP", "NetMask", "0.0.0.0", false},
        {"IP/NetMask=a|ab", "IP", "NetMask", "ab", true},
        {"IP/NetMask=yes|no", "IP", "NetMask", "yesno", false},
        {"HTTP/FTP/Password=.{0,3}", "HTTP/FTP", "Password", "abc", true},
        {"HTTP/FTP/Password=.{0,3}", "HTTP/FTP", "Password", "abcd", false},
        {"/Alias=", "", "Alias", "", true},
        {"SMB/Domain/GroupName=x", "SMB", "Domain/GroupName", "x", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RefusalRule::Parse(c.rule, served).Refuses(c.section, c.key, c.value), c.refused)
            << c.rule << " on [" << c.section << "] " << c.key << " = " << c.value;
    }
    for (const char* faulty : {"IP/NetMask", "IP/Gateway=x", "NetMask=x", "IP/=x", "IP/NetMask=(", "IP/NetMask=a{2"}) {
        EXPECT_THROW(RefusalRule::Parse(faulty, served), std::invalid_argument) << faulty;
    }
}

// Reads a file text; the value of section/key, or "(none)".
std::string valueIn(const ParameterHandler& handler, const std::string& section, const std::string& key) {
    std::string value = "(none)";
    handler.GetValue(section, key, value);
    return value;
}

TEST(SimRules, ServerKeepsWhatItAcceptsAndRewritesItsOwnForm) {
    ParameterHandler kept;
    kept.ReadText(
        "[Server]\nHardwareAddress = 00-A0   ; Cannot be changed\nDate = 97-12-24 ; yy-mm-dd\nTime = 14:30:00\n"
        "[SMB]\n  WINSServer = 1.2.3.4 ; used by NBT only\nSMBPassword = x\nShowPseudoShares = yes ; yes/no\n"
        "[NFS]\nExport = /A\nExport = /B\n");
    ParameterHandler written;
    written.ReadText(
        "[Server]\nHardwareAddress = 00-FF\nDate = 98-01-02!\nTime = 15:00:00\n"
        "[SMB]\nWINSServer = 5.6.7.8\nShowPseudoShares = no\nNewKey = 1\n[END]\n");
    const std::vector<std::string> log = KeepWrittenValues(kept, written, {});
    EXPECT_EQ(log, (std::vector<std::string>{"[Server] HardwareAddress cannot be changed, keeps 00-A0",
                                             "[Server] Date set to 98-01-02", "[SMB] WINSServer set to 5.6.7.8",
                                             "[SMB] SMBPassword emptied", "[SMB] ShowPseudoShares set to no",
                                             "[SMB] NewKey unknown, ignored"}));
    EXPECT_EQ(valueIn(kept, "Server", "Time"), "14:30:00");  // the clock takes marked values only
    EXPECT_EQ(valueIn(kept, "NFS", "Export"), "/A ; /B");    // a section not sent stays

    const std::string form = ComposeServerForm({"; product", ""}, kept);
    EXPECT_EQ(form.substr(0, form.find("[SMB]")),
              "; product\n\n[Server]\nHardwareAddress = 00-A0               ; Cannot be changed\n"
              "Date = 98-01-02                       ; yy-mm-dd\nTime = 14:30:00\n\n");
    EXPECT_NE(form.find("\n  WINSServer = 5.6.7.8                ; used by NBT only\n"), std::string::npos);
    EXPECT_NE(form.find("\nExport = /A\nExport = /B\n[END]\n"), std::string::npos);
    // What the server writes reads back as what it keeps, remarks included.
    ParameterHandler reread;
    reread.ReadText(form);
    EXPECT_EQ(reread.Format(), kept.Format());
    EXPECT_EQ(reread.GetSection("SMB").GetParameter("ShowPseudoShares").GetComment(), "yes/no");

    EXPECT_TRUE(IsCompleteFile("[A]\r\nB = c\r\n[END]\r\n \r\n"));
    EXPECT_FALSE(IsCompleteFile("[A]\r\nB = c\r\n[EN"));
    EXPECT_EQ(LeadingRemarks("; one\r\n\r\n  ; two\r\n[A]\r\n; three\r\n"),
              (std::vector<std::string>{"; one", "", "  ; two"}));
}

}  // namespace
