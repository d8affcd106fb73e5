#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "ConfigApp.h"
#include "ConfigMainDlg.h"
#include "ManagementPropertySheet.h"
#ifdef TESSARON_SIM_BINARY
#include "MountedSim.h"
#endif
#include "ScriptedPresenter.h"
#include "TempShare.h"
#include "TemplatePage.h"

namespace {

// The volume rights and SCSI drive tabs of the management sheet, used as a
// user does: lines chosen in the list, rows found by their names.
class ListPagesTest : public testing::Test {
protected:
    void SetUp() override { app.SetServerPath(share.Root()); }
    void TearDown() override {
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Opens the management sheet and shows the tab with that title.
    TemplatePage& Show(const QString& tab) {
        window = std::make_unique<ConfigMainDlg>(app);
        app.SetMainWindow(window.get());
        window->show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !window->IsStartTimerPending(); }, 3000));
        window->findChild<QPushButton*>(QStringLiteral("1121"))->click();
        QCoreApplication::processEvents();
        auto* sheet = qobject_cast<ManagementPropertySheet*>(window->GetChild());
        EXPECT_NE(sheet, nullptr);
        presenter.shown.clear();
        for (int i = 0; i < sheet->count(); ++i) {
            if (sheet->tabText(i) == tab) sheet->SetActivePage(i);
        }
        QCoreApplication::processEvents();
        return *qobject_cast<TemplatePage*>(sheet->GetActivePage());
    }
    static QListWidget* List(TemplatePage& page) { return page.Control<QListWidget>(TemplatePage::kListId); }
    static QStringList Lines(TemplatePage& page) {
        QStringList lines;
        for (int i = 0; i < List(page)->count(); ++i) lines << List(page)->item(i)->text();
        return lines;
    }
    // The value control of the row with that name.
    static QLineEdit* Field(TemplatePage& page, const QString& name) {
        for (auto* edit : page.findChildren<QLineEdit*>()) {
            if (edit->accessibleName() == name) return edit;
        }
        return nullptr;
    }

    TempShare share{TempShare::Contents::Sample};
    ConfigApp app;
    ScriptedPresenter& presenter = InstallScriptedPresenter(app);
    std::unique_ptr<ConfigMainDlg> window;
};

// Each line opens its own file; leaving a changed line asks first (Cancel
// stays on it); a submit writes that file only, and needs no restart.
TEST_F(ListPagesTest, VolumeRightsFilesAreChosenAndSubmittedOneByOne) {
    TemplatePage& page = Show("Volume Rights");
    EXPECT_EQ(Lines(page), QStringList({"CDROM1 - ADMIN", "CDROM1 - GUEST", "CDROM2 - GUEST", "CDROM2 - STAFF"}));
    ASSERT_NE(Field(page, "Alias"), nullptr);
    EXPECT_EQ(Field(page, "Alias")->text(), "Administrators");
    EXPECT_EQ(Field(page, "Name"), nullptr);  // the file's own name is no setting
    const std::string guest = share.Read("Volumes/CDROM1/GUEST.USR");

    QTest::keyClick(Field(page, "Alias"), Qt::Key_End);
    QTest::keyClicks(Field(page, "Alias"), "2");
    presenter.answers = {MessageResult::Cancel};
    List(page)->setCurrentRow(1);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{104});
    EXPECT_EQ(List(page)->currentRow(), 0);
    EXPECT_EQ(Field(page, "Alias")->text(), "Administrators2");

    page.Control<QPushButton>(TemplatePage::kSubmitId)->click();
    EXPECT_EQ(presenter.ShownIds(), (std::vector<int>{104, 136}));
    EXPECT_FALSE(app.GetParametersChanged());
    EXPECT_NE(share.Read("Volumes/CDROM1/ADMIN.GRP").find("Alias = Administrators2\r\n"), std::string::npos);
    EXPECT_EQ(share.Read("Volumes/CDROM1/GUEST.USR"), guest);

    List(page)->setCurrentRow(1);
    EXPECT_EQ(Field(page, "Alias")->text(), "Guest");
}

// A long file scrolls in one column and keeps the focused row in view.
TEST_F(ListPagesTest, ALongVolumeRightsFileScrollsToTheFocusedRow) {
    std::string text = "Name = MANY\r\n";
    for (int i = 0; i < 30; ++i) text += "Key" + std::to_string(i) + " = v\r\n";
    std::filesystem::remove_all(share.PathOf("Volumes"));
    share.Write("Volumes/CD/MANY.USR", text);
    TemplatePage& page = Show("Volume Rights");
    QLineEdit* last = Field(page, "Key29");
    ASSERT_NE(last, nullptr);
    EXPECT_FALSE(page.Pane()->viewport()->rect().contains(last->geometry()));
    last->setFocus();
    QCoreApplication::processEvents();
    EXPECT_TRUE(page.Pane()->viewport()->rect().contains(last->geometry()));
}

#ifdef TESSARON_SIM_BINARY
// What the server does not keep is shown as the file has it again.
TEST_F(ListPagesTest, AVolumeRightsValueTheServerRefusesIsShownAsItWas) {
    if (const std::string missing = FuseMissing(); !missing.empty()) GTEST_SKIP() << missing;
    MountedSim sim(share.Root(), {"--refuse", "/Alias=Nobody"});
    ASSERT_TRUE(sim.Mounted());
    app.SetServerPath(sim.Mount());
    TemplatePage& page = Show("Volume Rights");
    Field(page, "Alias")->setText("Nobody");
    page.Control<QPushButton>(TemplatePage::kSubmitId)->click();
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{126});
    EXPECT_EQ(Field(page, "Alias")->text(), "Administrators");
    TearDown();
}
#endif

// A drive shows its "Drive" row and at most nine settings (said once).
TEST_F(ListPagesTest, DriveSectionsShowTheirDriveAndNineRowsAtMost) {
    std::string lun = "[ID2_LUN0]\r\n";
    for (int i = 0; i < 10; ++i) lun += "Setting" + std::to_string(i) + " = " + std::to_string(i) + "\r\n";
    share.Write("Config/scsi.ini", "[ID_2]\r\nDrive = TOSHIBA\r\n" + lun + "[ID3_LUN0]\r\nSCSIAlias = CD3\r\n");
    TemplatePage& page = Show("SCSI");
    EXPECT_EQ(Lines(page), QStringList({"ID2_LUN0", "ID3_LUN0"}));
    EXPECT_EQ(page.Control<QLineEdit>(ListChooser::kDriveValueId)->text(), "TOSHIBA");
    EXPECT_EQ(page.RowCount(), 9);
    List(page)->setCurrentRow(1);
    EXPECT_EQ(Field(page, "SCSI Alias")->text(), "CD3");
    EXPECT_EQ(page.Control<QLineEdit>(ListChooser::kDriveValueId), nullptr);  // no ID_3 section
    List(page)->setCurrentRow(0);
    EXPECT_EQ(presenter.ShownIds(), std::vector<int>{1009});
}

// Nothing to list, or nothing to list from, is said; the page stays empty.
TEST_F(ListPagesTest, EmptyListingsSaySo) {
    const struct {
        const char* tab;
        std::function<void(TempShare&)> change;
        int message;
    } cases[] = {
        {"SCSI", [](TempShare& s) { s.Write("Config/scsi.ini", "[ID_2]\r\nDrive = X\r\n"); }, 1015},
        {"Volume Rights", [](TempShare& s) { std::filesystem::remove_all(s.PathOf("Volumes/CDROM1")),
                                                 std::filesystem::remove_all(s.PathOf("Volumes/CDROM2")); }, 1016},
        {"Volume Rights", [](TempShare& s) { std::filesystem::remove_all(s.PathOf("Volumes")); }, 1004},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        c.change(share);
        TemplatePage& page = Show(c.tab);
        EXPECT_EQ(presenter.ShownIds(), std::vector<int>{c.message});
        EXPECT_EQ(page.RowCount(), 0);
        EXPECT_FALSE(List(page)->isVisible());
    }
}

}  // namespace
