#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>

#include <memory>

#include <gtest/gtest.h>

#include "ConfigApp.h"
#include "ConfigMainDlg.h"
#include "FileException.h"
#include "ParameterHandler.h"
#include "ScriptedPresenter.h"
#include "TempShare.h"
#include "Tool.h"

// A tool that stands in for the real ones: a child with an edit, whose
// leave check answers as told.
struct TestTool : QWidget, Tool {
    explicit TestTool(QWidget* parent) : QWidget(parent), edit(new QLineEdit(this)) { resize(300, 200); }
    bool CanLeave() override { return ++asked, mayLeave; }
    bool mayLeave = true;
    int asked = 0;
    QLineEdit* edit;
};

// A main window over a temporary copy of the sample share, with messages
// answered by a scripted presenter and the desktop's URL opener recorded.
class ShellTest : public testing::Test {
protected:
    void SetUp() override {
        app.SetOemBranding(false);  // the maker's look unless a test says otherwise
        app.SetServerPath(share.Root());
        app.SetServerName("tessaron1");
        app.SetUrlOpener([this](const QUrl& url) { return opened.push_back(url), openerAnswer; });
    }
    void TearDown() override {
        window.reset();
        Settle();
    }
    // Shows the main window and waits for its identification to finish.
    ConfigMainDlg& Open() {
        window = std::make_unique<ConfigMainDlg>(app);
        app.SetMainWindow(window.get());
        window->show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !window->IsStartTimerPending(); }, 2000));
        QCoreApplication::processEvents();
        return *window;
    }
    // Lets posted events run (posted close requests, deferred deletions).
    static void Settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    QString Caption(int id) const { return window->Control<QWidget>(id)->property("text").toString(); }
    bool Visible(int id) const { return window->Item(id)->isVisible(); }
    // Presses a button of the window or of the page it shows, by its ID.
    void Click(int id) { window->findChild<QPushButton*>(QString::number(id))->click(); }
    // Plugs the test tool in for every kind; the tool last built is kept.
    void UseTestTools() {
        using Kind = ConfigMainDlg::ToolKind;
        for (Kind kind : {Kind::QuickInstallation, Kind::Configuration, Kind::Management}) {
            window->SetToolFactory(kind, [this](QWidget* parent) {
                if (toolFailure) toolFailure();
                return tool = new TestTool(parent);
            });
        }
    }

    TempShare share{TempShare::Contents::Sample};
    ConfigApp app;
    ScriptedPresenter& presenter = InstallScriptedPresenter(app);
    std::vector<QUrl> opened;
    bool openerAnswer = true;
    std::unique_ptr<ConfigMainDlg> window;
    TestTool* tool = nullptr;
    std::function<void()> toolFailure;
};
