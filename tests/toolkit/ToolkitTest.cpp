#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include "DataExchange.h"
#include "Dialog.h"
#include "DialogTemplates.h"
#include "DialogUnits.h"
#include "Messages.h"
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
    EXPECT_EQ(DialogUnits(12, 26).ReferencePoint(15, 70), QPoint(30, 140));
    EXPECT_EQ(MulDivRounded(-1, 6, 4), -2);  // -1.5
    EXPECT_EQ(MulDivRounded(1, 6, 4), 2);
}

TEST(DialogUnits, AverageWidthComesFromTheLettersNotTheFontTable) {
    // DejaVu Sans at 12 pixels: the 52 letters average 7.40 pixels, while
    // the font's own average width says 6.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    const DialogUnits units = DialogUnits::ForFont(font);
    EXPECT_EQ(units.BaseWidth(), 7);
    EXPECT_EQ(units.BaseHeight(), 14);
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
// arrow shows over it.
TEST(QMessageBoxPresenter, ShowsTheRequestedBoxWithTheArrow) {
    using B = QMessageBox;
    const struct { unsigned type; B::StandardButton defaultButton; B::Icon icon; B::StandardButton press; int expected; } cases[] = {
        {MessageType::YesNo | MessageType::IconQuestion, B::Yes, B::Question, B::No, MessageResult::No},
        {MessageType::YesNo | MessageType::IconExclamation | MessageType::DefaultButton2, B::No, B::Warning, B::Yes,
         MessageResult::Yes},
        {MessageType::YesNoCancel | MessageType::IconExclamation, B::Yes, B::Warning, B::NoButton, MessageResult::Cancel},
    };
    ToolkitApp app;
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
    }
}

namespace {

class FormDialog : public Dialog {
public:
    FormDialog() : Dialog(TemplateId::FormText) {}
    void DoDataExchange(DataExchange& dx) override { dx.Text(1250, text); }
    std::string text;
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

TESSARON_QT_TEST_MAIN()
