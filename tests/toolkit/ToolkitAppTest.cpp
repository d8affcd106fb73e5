#include <QAbstractButton>
#include <QLineEdit>
#include <QPushButton>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QTextBrowser>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include "DataExchange.h"
#include "Dialog.h"
#include "HelpViewer.h"
#include "Messages.h"
#include "QtTestMain.h"
#include "ScriptedPresenter.h"
#include "ShellOpen.h"
#include "ToolkitApp.h"
#include "WaitCursor.h"

namespace {

struct BoxCase {
    const char* name;
    unsigned type;
    QMessageBox::StandardButton defaultButton;
    QMessageBox::Icon icon;
    QMessageBox::StandardButton press;  // NoButton: press Escape
    int expected;
};

}  // namespace

TEST(QMessageBoxPresenter, ShowsTheRequestedButtonsIconAndDefault) {
    const BoxCase cases[] = {
        {"yes/no question, press No", MessageType::YesNo | MessageType::IconQuestion, QMessageBox::Yes,
         QMessageBox::Question, QMessageBox::No, MessageResult::No},
        {"second button default", MessageType::YesNo | MessageType::IconExclamation | MessageType::DefaultButton2,
         QMessageBox::No, QMessageBox::Warning, QMessageBox::Yes, MessageResult::Yes},
        {"yes/no/cancel, Escape", MessageType::YesNoCancel | MessageType::IconExclamation, QMessageBox::Yes,
         QMessageBox::Warning, QMessageBox::NoButton, MessageResult::Cancel},
    };
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.name);
        QMessageBox::StandardButton seenDefault = QMessageBox::NoButton;
        QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
        QString seenCaption, seenText;
        WhenModalShown([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (!box) return;
            seenDefault = box->standardButton(box->defaultButton());
            seenIcon = box->icon();
            seenCaption = box->windowTitle();
            seenText = box->text();
            if (c.press == QMessageBox::NoButton) {
                QTest::keyClick(box, Qt::Key_Escape);
            } else {
                box->button(c.press)->click();
            }
        });
        ToolkitApp app;
        app.SetPresenter(std::make_unique<QMessageBoxPresenter>());
        EXPECT_EQ(ShowAppMessage("<b>not markup</b> \x80", c.type, 0), c.expected);
        EXPECT_EQ(seenDefault, c.defaultButton);
        EXPECT_EQ(seenIcon, c.icon);
        EXPECT_EQ(seenCaption, app.MessageCaption());
        EXPECT_EQ(seenText, QString::fromUtf8("<b>not markup</b> \xE2\x82\xAC"));
    }
}

TEST(ShellOpen, OpensExistingFoldersThroughTheOpener) {
    ToolkitApp app;
    std::vector<QUrl> opened;
    bool answer = true;
    app.SetUrlOpener([&](const QUrl& url) {
        opened.push_back(url);
        return answer;
    });
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_TRUE(OpenFolder(dir.path().toStdString()));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(dir.path()));

    answer = false;  // the desktop could not open it
    EXPECT_FALSE(OpenFolder(dir.path().toStdString()));
    EXPECT_EQ(opened.size(), 2u);

    answer = true;  // a folder that does not exist never reaches the desktop
    EXPECT_FALSE(OpenFolder((dir.path() + QStringLiteral("/missing")).toStdString()));
    EXPECT_EQ(opened.size(), 2u);
}

TEST(WaitCursor, NestsAndIsRemovedOnEveryWayOut) {
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    try {
        WaitCursor outer;
        {
            WaitCursor inner;
            ASSERT_NE(QApplication::overrideCursor(), nullptr);
            EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        }
        EXPECT_NE(QApplication::overrideCursor(), nullptr);
        throw 1;
    } catch (int) {
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

namespace {

void writeFile(const QString& path, const QString& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}

}  // namespace

TEST(HelpViewer, ShowsTheTopicOfTheRequestAndANoteForAMissingOne) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    writeFile(dir.filePath(QStringLiteral("topic0.html")),
              QStringLiteral("<html><head><title>Contents</title></head><body>Home</body></html>"));
    writeFile(dir.filePath(QStringLiteral("topic3.html")),
              QStringLiteral("<html><head><title>Server</title></head><body>Server page</body></html>"));
    ToolkitApp app;
    app.SetHelpRoot(QUrl::fromLocalFile(dir.path() + QLatin1Char('/')));

    app.WinHelp(3, HelpCommand::Context);
    HelpViewer* viewer = app.GetHelpViewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->CurrentTopic(), 3);
    EXPECT_TRUE(viewer->Browser()->toPlainText().contains(QStringLiteral("Server page")));
    EXPECT_TRUE(viewer->windowTitle().contains(QStringLiteral("Server")));

    app.WinHelp(0, HelpCommand::Context);
    EXPECT_EQ(app.GetHelpViewer(), viewer);  // one viewer for the program
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
    std::string text;
    bool refuse = false;
    void DoDataExchange(DataExchange& dx) override {
        dx.Text(1250, text);
        dx.PrepareEditCtrl(1250);
        if (refuse) dx.MaxChars(text, 0);
    }
};

}  // namespace

TEST(Dialog, EnterPressesTheDefaultButtonAndAFailedCheckKeepsTheDialog) {
    ToolkitApp app;
    ScriptedPresenter& presenter = InstallScriptedPresenter(app);
    FormDialog dialog;
    dialog.refuse = true;
    int firstResult = -1;
    WhenModalShown([&](QWidget* modal) {
        auto* edit = modal->findChild<QLineEdit*>(QStringLiteral("1250"));
        edit->setText(QStringLiteral("SERVER"));
        QTest::keyClick(edit, Qt::Key_Return);
        // The check failed: still open, message shown, the edit has the focus.
        EXPECT_TRUE(modal->isVisible());
        EXPECT_EQ(presenter.ShownIds(), std::vector<int>{60001});
        dialog.refuse = false;
        QTest::keyClick(edit, Qt::Key_Return);
    });
    firstResult = dialog.DoModal();
    EXPECT_EQ(firstResult, CommandId::Ok);
    EXPECT_EQ(dialog.text, "SERVER");
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Form Text"));

    FormDialog cancelled;
    WhenModalShown([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    EXPECT_EQ(cancelled.DoModal(), CommandId::Cancel);
}

TEST(QMessageBoxPresenter, ShowsTheArrowOverABoxDuringSlowWork) {
    WaitCursor wait;
    Qt::CursorShape during = Qt::WaitCursor;
    WhenModalShown([&](QWidget* modal) {
        during = QApplication::overrideCursor()->shape();
        QTest::keyClick(modal, Qt::Key_Return);
    });
    MessageRequest request;
    request.text = QStringLiteral("Working");
    EXPECT_EQ(QMessageBoxPresenter().Present(request), MessageResult::Ok);
    EXPECT_EQ(during, Qt::ArrowCursor);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
}

namespace {

// A view whose file cannot be read ends itself while it is created.
class UnreadableView : public Dialog {
public:
    UnreadableView() : Dialog(TemplateId::ServerTextView) {}
    bool OnInitDialog() override {
        Dialog::OnInitDialog();
        ++initialised;
        EndDialog(0);
        return true;
    }
    int initialised = 0;
};

}  // namespace

TEST(Dialog, EndedWhileCreatedItIsNeverShown) {
    UnreadableView view;
    bool shown = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] { shown = shown || view.isVisible(); });
    watch.start(1);
    EXPECT_EQ(view.DoModal(), 0);
    EXPECT_FALSE(shown);
    EXPECT_FALSE(view.isVisible());
    EXPECT_EQ(view.initialised, 1);
}
