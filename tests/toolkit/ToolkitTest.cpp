#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include "DataExchange.h"
#include "Dialog.h"
#include "DialogTemplates.h"
#include "DialogUnits.h"
#include "HelpViewer.h"
#include "Messages.h"
#include "QtTestMain.h"
#include "ScriptedPresenter.h"
#include "ShellOpen.h"
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
// units, their style (a bold caption, hidden buttons).
TEST(TemplateBuilder, CreatesControlsByIdWithGeometryAndStyle) {
    QWidget parent;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    parent.setFont(font);
    BuildTemplate(&parent, *FindDialogTemplate(TemplateId::MainWindow), DialogUnits(7, 14));
    EXPECT_EQ(parent.size(), QSize(639, 446));
    auto* home = parent.findChild<QPushButton*>(QStringLiteral("1124"));
    EXPECT_EQ(home->geometry(), QRect(219, 42, 91, 25));
    EXPECT_TRUE(home->isHidden());
    auto* caption = parent.findChild<QLabel*>(QStringLiteral("1074"));
    EXPECT_TRUE(caption->font().bold());
    EXPECT_GT(caption->font().pixelSize(), parent.font().pixelSize());
    EXPECT_EQ(caption->textFormat(), Qt::PlainText);
}

TEST(TemplateBuilder, BuildsEachKindOfControl) {
    QDialog parent;
    const DialogUnits units(7, 14);
    BuildTemplate(&parent, *FindDialogTemplate(TemplateId::QuickInstallation), units);
    EXPECT_NE(parent.findChild<QLineEdit*>(QStringLiteral("1069")), nullptr);
    // Inside the main window Enter presses no button, so none looks like it would.
    EXPECT_FALSE(parent.findChild<QPushButton*>(QStringLiteral("1067"))->autoDefault());
    EXPECT_NE(parent.findChild<QComboBox*>(QStringLiteral("1287")), nullptr);
    // A drop-down list is as high as its selection field, not its list.
    EXPECT_LT(parent.findChild<QComboBox*>(QStringLiteral("1287"))->height(), units.Y(63));

    QWidget general;
    BuildTemplate(&general, *FindDialogTemplate(TemplateId::ManagementGeneral), units);
    auto* serial = general.findChild<QLineEdit*>(QStringLiteral("1261"));
    ASSERT_NE(serial, nullptr);
    EXPECT_TRUE(serial->isReadOnly());

    QWidget view;
    BuildTemplate(&view, *FindDialogTemplate(TemplateId::ServerTextView), units);
    auto* list = view.findChild<QListWidget*>(QStringLiteral("1092"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::NoSelection);
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

// Folders open through the desktop's opener; one that does not exist never reaches it.
TEST(ShellOpen, OpensExistingFoldersThroughTheOpener) {
    ToolkitApp app;
    std::vector<QUrl> opened;
    bool answer = true;
    app.SetUrlOpener([&](const QUrl& url) {
        opened.push_back(url);
        return answer;
    });
    QTemporaryDir dir;
    EXPECT_TRUE(OpenFolder(dir.path().toStdString()));
    answer = false;
    EXPECT_FALSE(OpenFolder(dir.path().toStdString()));
    EXPECT_FALSE(OpenFolder((dir.path() + QStringLiteral("/missing")).toStdString()));
    EXPECT_EQ(opened, std::vector<QUrl>(2, QUrl::fromLocalFile(dir.path())));
}

// One viewer for the program shows the topic asked for, or a note.
TEST(HelpViewer, ShowsTheTopicOfTheRequestAndANoteForAMissingOne) {
    QTemporaryDir dir;
    for (const auto& [topic, body] : {std::pair{0, "Home"}, std::pair{3, "Server page"}}) {
        QFile file(dir.filePath(QStringLiteral("topic%1.html").arg(topic)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("<html><head><title>T%1</title></head><body>%2</body></html>").arg(topic).arg(body).toUtf8());
    }
    ToolkitApp app;
    app.SetHelpRoot(QUrl::fromLocalFile(dir.path() + QLatin1Char('/')));
    app.WinHelp(3, HelpCommand::Context);
    HelpViewer* viewer = app.GetHelpViewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->CurrentTopic(), 3);
    EXPECT_TRUE(viewer->Browser()->toPlainText().contains(QStringLiteral("Server page")));
    EXPECT_TRUE(viewer->windowTitle().contains(QStringLiteral("T3")));
    app.WinHelp(0, HelpCommand::Context);
    EXPECT_EQ(app.GetHelpViewer(), viewer);
    EXPECT_TRUE(viewer->Browser()->toPlainText().contains(QStringLiteral("Home")));
    app.WinHelp(17, HelpCommand::Context);
    EXPECT_TRUE(viewer->Browser()->toPlainText().contains(QStringLiteral("topic 17")));
    app.WinHelp(0, HelpCommand::Quit);
    EXPECT_FALSE(viewer->isVisible());
}

namespace {

class FormDialog : public Dialog {
public:
    FormDialog() : Dialog(TemplateId::FormText) {}
    void DoDataExchange(DataExchange& dx) override { dx.Text(1250, text); }
    std::string text;
};

// A view whose file cannot be read ends itself while it is created.
class UnreadableView : public Dialog {
public:
    UnreadableView() : Dialog(TemplateId::ServerTextView) {}
    bool OnInitDialog() override {
        Dialog::OnInitDialog();
        EndDialog(0);
        return true;
    }
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

TEST(Dialog, EndedWhileCreatedItIsNeverShown) {
    UnreadableView view;
    bool shown = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] { shown = shown || view.isVisible(); });
    watch.start(1);
    EXPECT_EQ(view.DoModal(), 0);
    EXPECT_FALSE(shown || view.isVisible());
}
