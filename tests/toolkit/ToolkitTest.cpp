#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include "DataExchange.h"
#include "Dialog.h"
#include "DialogTemplates.h"
#include "DialogUnits.h"
#include "HelpViewer.h"
#include "Messages.h"
#include "PropertyPage.h"
#include "PropertySheet.h"
#include "QtTestMain.h"
#include "ScriptedPresenter.h"
#include "TemplateBuilder.h"
#include "ToolkitApp.h"
#include "WaitCursor.h"

// Dialog units to pixels: both edges of a rectangle are rounded, halves away from zero.
TEST(DialogUnits, ConvertsWithRoundingAndSharedEdges) {
    const DialogUnits units(7, 14);
    EXPECT_EQ(units.Rect(125, 24, 52, 14), QRect(219, 42, 91, 25));  // 218.75 -> 219
    EXPECT_EQ(units.Rect(3, 5, 79, 34), QRect(5, 9, 139, 59));       // 5.25 -> 5, 143.5 -> 144: 139 wide
    EXPECT_EQ(units.Size(330, 175), QSize(578, 306));

    EXPECT_EQ(DialogUnits(6, 13).ReferencePoint(25, 90), QPoint(25, 90));
    EXPECT_EQ(DialogUnits(7, 14).ReferencePoint(25, 90), QPoint(29, 97));
    EXPECT_EQ(MulDivRounded(-1, 6, 4), -2);  // -1.5
    // For a font, the average width comes from the letters, not the font table:
    // DejaVu Sans at 12 pixels averages 7.40 pixels a letter, its table says 6.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    EXPECT_EQ(DialogUnits::ForFont(font).BaseWidth(), 7);
    EXPECT_EQ(DialogUnits::ForFont(font).BaseHeight(), 14);
}

// Controls get their template ID as object name, their place in dialog
// units, their style (a bold caption, hidden buttons); inside the main window
// Enter presses no button, so none looks like it would.
TEST(TemplateBuilder, BuildsEachKindOfControlByIdWithGeometryAndStyle) {
    QWidget parent;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    parent.setFont(font);
    const DialogUnits units(7, 14);
    BuildTemplate(&parent, *FindDialogTemplate(TemplateId::MainWindow), units);
    auto* home = parent.findChild<QPushButton*>(QStringLiteral("1124"));
    EXPECT_EQ(home->geometry(), units.Rect(125, 24, 52, 14));
    EXPECT_TRUE(home->isHidden());
    auto* caption = parent.findChild<QLabel*>(QStringLiteral("1074"));
    EXPECT_TRUE(caption->font().bold());
    EXPECT_GT(caption->font().pixelSize(), parent.font().pixelSize());
    EXPECT_EQ(caption->textFormat(), Qt::PlainText);
    QDialog form;
    BuildTemplate(&form, *FindDialogTemplate(TemplateId::QuickInstallation), units);
    EXPECT_NE(form.findChild<QLineEdit*>(QStringLiteral("1069")), nullptr);
    EXPECT_FALSE(form.findChild<QPushButton*>(QStringLiteral("1067"))->autoDefault());
    // A drop-down list is as high as its selection field, not its list.
    EXPECT_LT(form.findChild<QComboBox*>(QStringLiteral("1287"))->height(), units.Y(63));
    QDialog view;  // a dialog's own default button
    BuildTemplate(&view, *FindDialogTemplate(TemplateId::ServerTextView), units);
    EXPECT_TRUE(view.findChild<QPushButton*>(QStringLiteral("1"))->isDefault());
}

// A message box shows the requested buttons, icon and default under the
// program's caption, with server text as plain text; during slow work the
// arrow shows over it. F1 in it asks for the help of the page, which stays
// open when the box closes.
TEST(QMessageBoxPresenter, ShowsTheRequestedBoxWithTheArrow) {
    using B = QMessageBox;
    const struct { unsigned type; B::StandardButton defaultButton; B::Icon icon; B::StandardButton press; int expected; } cases[] = {
        {MessageType::YesNo | MessageType::IconQuestion, B::Yes, B::Question, B::No, MessageResult::No},
        {MessageType::YesNo | MessageType::IconExclamation | MessageType::DefaultButton2, B::No, B::Warning, B::Yes,
         MessageResult::Yes},
        {MessageType::YesNoCancel | MessageType::IconExclamation, B::Yes, B::Warning, B::NoButton, MessageResult::Cancel},
    };
    struct HelpCountingApp : ToolkitApp {
        void WinHelp(int data, HelpCommand command) override { ++asked, ToolkitApp::WinHelp(data, command); }
        int asked = 0;
    } app;
    app.SetPresenter(std::make_unique<QMessageBoxPresenter>());
    WaitCursor wait;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        B::StandardButton seenDefault = B::NoButton;
        B::Icon seenIcon = B::NoIcon;
        QString seenCaption, seenText;
        Qt::CursorShape cursor = Qt::WaitCursor;
        WhenModalShown([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            seenDefault = box->standardButton(box->defaultButton());
            seenIcon = box->icon();
            seenCaption = box->windowTitle();
            seenText = box->text();
            cursor = QApplication::overrideCursor()->shape();
            box->activateWindow();
            if (QTest::qWaitForWindowActive(box)) QTest::keyClick(box, Qt::Key_F1);
            if (c.press == B::NoButton) QTest::keyClick(box, Qt::Key_Escape);
            if (c.press != B::NoButton) box->button(c.press)->click();
        });
        EXPECT_EQ(ShowAppMessage("<b>not markup</b> \x80", c.type, 0), c.expected);
        EXPECT_EQ(seenDefault, c.defaultButton);
        EXPECT_EQ(seenIcon, c.icon);
        EXPECT_EQ(seenCaption, app.MessageCaption());
        EXPECT_EQ(seenText, QString::fromUtf8("<b>not markup</b> \xE2\x82\xAC"));
        EXPECT_EQ(cursor, Qt::ArrowCursor);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        EXPECT_EQ(app.asked, &c - cases + 1);
        ASSERT_NE(app.GetHelpViewer(), nullptr);
        EXPECT_TRUE(app.GetHelpViewer()->isVisible());
    }
}

// Back and Forward lead through the topics shown, each usable only when it leads somewhere.
TEST(HelpViewer, BackAndForwardLeadThroughTheTopicsShown) {
    HelpViewer viewer(QUrl(QStringLiteral("qrc:/help/")));
    QToolButton *back = nullptr, *forward = nullptr;
    for (QToolButton* button : viewer.findChildren<QToolButton*>()) {
        if (button->text() == "&Back") back = button;
        if (button->text() == "&Forward") forward = button;
    }
    ASSERT_TRUE(back && forward);
    viewer.ShowTopic(0);
    EXPECT_FALSE(back->isEnabled() || forward->isEnabled());
    viewer.ShowTopic(5);
    viewer.ShowTopic(9);
    EXPECT_TRUE(back->isEnabled() && !forward->isEnabled());
    back->click();
    EXPECT_EQ(viewer.CurrentSource().fileName(), "topic5.html");
    EXPECT_TRUE(back->isEnabled() && forward->isEnabled());
}

namespace {

class FormDialog : public Dialog {
public:
    FormDialog() : Dialog(TemplateId::FormText) {}
    void DoDataExchange(DataExchange& dx) override { dx.Text(1250, text); }
    std::string text;
};

// A page that records the sheet's calls and answers OnKillActive as told.
struct RecordingPage : PropertyPage {
    RecordingPage(std::vector<std::string>& log, std::string name)
        : PropertyPage(TemplateId::ParameterPage), log(log), name(std::move(name)) {
        SetTitle(QString::fromStdString(this->name));
    }
    bool OnInitDialog() override { return log.push_back(name + ":init"), PropertyPage::OnInitDialog(); }
    bool OnSetActive() override { return log.push_back(name + ":set"), true; }
    bool OnKillActive() override { return log.push_back(name + ":kill"), mayLeave; }
    bool mayLeave = true;
    std::vector<std::string>& log;
    std::string name;
};

class TestSheet : public PropertySheet {
public:
    explicit TestSheet(std::vector<std::string>& log) : PropertySheet(nullptr) {
        for (const char* name : {"A", "B", "C"}) {
            pages.push_back(std::make_unique<RecordingPage>(log, name));
            AddPage(pages.back().get());
        }
        Create();
    }
    RecordingPage& Page(int i) { return *pages[static_cast<size_t>(i)]; }
    std::vector<std::unique_ptr<RecordingPage>> pages;
};

class PropertySheetTest : public testing::Test {
protected:
    void SetUp() override {
        sheet.show();
        sheet.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet));
        log.clear();
    }
    QPoint tabCentre(int index) { return sheet.tabBar()->tabRect(index).center(); }

    std::vector<std::string> log;
    TestSheet sheet{log};
};

}  // namespace

// Enter presses the default button; a failed check keeps the dialog open.
// Opened during slow work, the dialog shows the arrow.
TEST(Dialog, EnterPressesTheDefaultButtonAndAFailedCheckKeepsTheDialog) {
    ToolkitApp app;
    ScriptedPresenter& presenter = InstallScriptedPresenter(app);
    FormDialog dialog;
    WaitCursor wait;
    WhenModalShown([&](QWidget* modal) {
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::ArrowCursor);
        auto* edit = modal->findChild<QLineEdit*>(QStringLiteral("1250"));
        edit->setText(QStringLiteral("SERVER") + QChar(0x03A9));
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_TRUE(modal->isVisible());
        EXPECT_EQ(presenter.ShownIds(), std::vector<int>{1022});
        EXPECT_EQ(edit->selectedText(), edit->text());
        edit->setText(QStringLiteral("SERVER"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    EXPECT_EQ(dialog.DoModal(), CommandId::Ok);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    EXPECT_EQ(dialog.text, "SERVER");
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Form Text"));
    FormDialog cancelled;
    WhenModalShown([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    EXPECT_EQ(cancelled.DoModal(), CommandId::Cancel);
}

TEST(PropertySheetCreation, CreatesOnlyTheFirstPageAndActivatesIt) {
    std::vector<std::string> log;
    {
        TestSheet sheet(log);
        EXPECT_EQ(log, (std::vector<std::string>{"A:init", "A:set"}));
        EXPECT_EQ(sheet.GetActivePage(), &sheet.Page(0));
        EXPECT_FALSE(sheet.Page(1).IsCreated());
        sheet.Page(1).SetTitle(QStringLiteral("B (2)"));
        EXPECT_EQ(sheet.tabText(1), QStringLiteral("B (2)"));
        log.clear();
    }
    EXPECT_TRUE(log.empty());  // destroying the pages activates nothing
    PropertySheet empty(nullptr);
    empty.Create();
    RecordingPage added(log, "D");  // a page added later to an empty sheet is shown at once
    empty.AddPage(&added);
    EXPECT_EQ(empty.GetActivePage(), &added);
}

// Every way of asking for another tab asks the shown page first; a refusal
// keeps the page, without showing the other tab even for a moment.
TEST_F(PropertySheetTest, EveryWayToAnotherTabAsksTheShownPage) {
    const struct {
        const char* name;
        std::function<void()> go;
        int target;
        bool quiet;  // no other tab shown for a moment when refused
    } ways[] = {
        {"click on the tab", [&] { QTest::mouseClick(sheet.tabBar(), Qt::LeftButton, {}, tabCentre(1)); }, 1, true},
        {"right arrow on the tab bar", [&] {
             sheet.tabBar()->setFocus();
             QTest::keyClick(sheet.tabBar(), Qt::Key_Right);
         }, 1, true},
        {"control tab in the page", [&] { QTest::keyClick(&sheet.Page(0), Qt::Key_Tab, Qt::ControlModifier); }, 1, true},
        {"control page down in the page", [&] { QTest::keyClick(&sheet.Page(0), Qt::Key_PageDown, Qt::ControlModifier); }, 1, true},
        {"control shift tab as a key press", [&] {
             QKeyEvent press(QEvent::KeyPress, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
             QApplication::sendEvent(&sheet, &press);
         }, 2, true},
        {"program request", [&] { sheet.SetActivePage(1); }, 1, true},
        {"direct index change", [&] { sheet.setCurrentIndex(1); }, 1, false},
    };
    int changes = 0;
    QObject watching;  // the connection goes with the test
    QObject::connect(&sheet, &QTabWidget::currentChanged, &watching, [&] { ++changes; });
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        for (const bool mayLeave : {false, true}) {
            sheet.SetActivePage(0);
            sheet.Page(0).setFocus();
            log.clear();
            changes = 0;
            sheet.Page(0).mayLeave = mayLeave;
            way.go();
            EXPECT_EQ(sheet.currentIndex(), mayLeave ? way.target : 0);
            EXPECT_EQ(sheet.GetActivePage(), &sheet.Page(mayLeave ? way.target : 0));
            EXPECT_EQ(log.front(), "A:kill");
            EXPECT_EQ(log.back(), mayLeave ? std::string(1, char('A' + way.target)) + ":set" : "A:kill");
            if (!mayLeave && way.quiet) { EXPECT_EQ(changes, 0); }
        }
    }
}

// Coming back to a page activates it again without initialising it; asking
// for the shown page changes nothing and asks nothing; leaving the sheet asks
// the shown page.
TEST_F(PropertySheetTest, ComingBackAndLeaving) {
    ASSERT_TRUE(sheet.SetActivePage(2));
    ASSERT_TRUE(sheet.SetActivePage(0));
    EXPECT_TRUE(sheet.SetActivePage(0));
    EXPECT_EQ(log, (std::vector<std::string>{"A:kill", "C:init", "C:set", "C:kill", "A:set"}));
    log.clear();
    EXPECT_TRUE(sheet.CanLeave());
    sheet.Page(0).mayLeave = false;
    EXPECT_FALSE(sheet.CanLeave());
    EXPECT_EQ(log, (std::vector<std::string>{"A:kill", "A:kill"}));
}

// The wheel over the tabs, which would change the tab without asking, does nothing.
TEST_F(PropertySheetTest, TheWheelDoesNotLeave) {
    QWheelEvent wheel(QPointF(tabCentre(0)), sheet.tabBar()->mapToGlobal(QPointF(tabCentre(0))), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(sheet.tabBar(), &wheel);
    EXPECT_EQ(sheet.currentIndex(), 0);
    EXPECT_TRUE(log.empty());
}

TESSARON_QT_TEST_MAIN()
