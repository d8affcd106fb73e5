#include <QLabel>
#include <QProgressBar>
#include <QTreeWidget>

#include <cstdlib>

#include "ChooseServerDlg.h"
#include "QtTestMain.h"
#include "TempShare.h"
#include "ToolkitApp.h"

namespace {

std::string applianceLine(const std::string& serial) {
    return "; QUOR Tessaron CD-ROM Server V4.00 (c) QUOR Systems GmbH   S/N: " + serial + "\r\n";
}

// The first dialog of a start without a share, by keyboard alone: the shares opened before first (one
// that is gone said to be so), then the desktop's mounts; arrows and Enter open, Enter in the host field
// looks up, Escape cancels, Other Folder asks for any folder.
TEST(ChooseServerDlg, ListsWhatItFindsAndIsUsedByKeyboard) {
    const TempShare desktop;
    desktop.Write("gvfs/smb-share:server=tessaron1,share=cd/Config/Config.ini", applianceLine("1111"));
    desktop.Write("gvfs/smb-share:server=tessaron2,share=cd/Config/Config.ini", applianceLine("2222"));
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string runtimeBefore = runtime ? runtime : "";
    ::setenv("XDG_RUNTIME_DIR", desktop.Root().c_str(), 1);
    ::setenv("TESSARON_CTL", TESSARON_CTL_BINARY, 1);
    const std::vector<ProbeTarget> targets = KnownTargets(SystemMountSources(), {"smb://tessaron2/cd", "/gone/share"});
    const auto key = [](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        return [=](ChooseServerDlg&) { QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers); };
    };
    const auto badHost = [](ChooseServerDlg& dialog) {
        QTest::keyClick(&dialog, Qt::Key_H, Qt::AltModifier);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("bad/host"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // looks up, does not open
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(dialog.findChild<QLabel*>(QStringLiteral("status"))->text().contains(QStringLiteral("not a host")));
    };
    const struct { const char* name; std::vector<std::function<void(ChooseServerDlg&)>> keys; std::string chosen; } cases[] = {
        {"arrows and Enter", {key(Qt::Key_Down), key(Qt::Key_Down), key(Qt::Key_Return)}, "smb://tessaron1/cd"},
        {"Escape", {key(Qt::Key_Escape)}, ""},
        {"a host that is none", {badHost, key(Qt::Key_Escape)}, ""},
        {"other folder", {key(Qt::Key_F, Qt::AltModifier)}, "/picked"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ChooseServerDlg dialog(targets, [] { return std::string("/picked"); });
        WhenModalShown([&](QWidget*) {
            dialog.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
            ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.findChild<QProgressBar*>()->isVisible(); }, 10000));
            const auto* servers = dialog.findChild<QTreeWidget*>(QStringLiteral("servers"));
            QStringList rows;
            for (int i = 0; i < servers->topLevelItemCount(); ++i) {
                const QTreeWidgetItem* row = servers->topLevelItem(i);
                rows << row->text(3) + QLatin1Char(' ') + row->text(0) + QLatin1Char(' ') + row->text(2);
            }
            EXPECT_EQ(rows, QStringList({QStringLiteral("smb://tessaron2/cd QUOR Tessaron CD 2222"),
                                         QStringLiteral("/gone/share Not available "),
                                         QStringLiteral("smb://tessaron1/cd QUOR Tessaron CD 1111")}));
            EXPECT_EQ(servers->currentItem(), servers->topLevelItem(0));  // the first that answered
            EXPECT_EQ(QApplication::focusWidget(), servers);
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Choose a Server"));
            QStringList buddies;  // each label names the field its key leads to
            for (const QLabel* label : dialog.findChildren<QLabel*>()) {
                if (label->buddy()) buddies << label->text() + QLatin1Char('>') + label->buddy()->objectName();
            }
            EXPECT_EQ(buddies, QStringList({QStringLiteral("&Servers found:>servers"), QStringLiteral("&Host:>host")}));
            for (const auto& press : c.keys) press(dialog);
        });
        EXPECT_EQ(dialog.Choose(), c.chosen);
    }
    runtime ? ::setenv("XDG_RUNTIME_DIR", runtimeBefore.c_str(), 1) : ::unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
