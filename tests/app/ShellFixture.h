#pragma once

#include <QLineEdit>

#include "FileException.h"
#include "PageFixture.h"
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

// The main window of the page tests, with the desktop's URL opener recorded
// and test tools that can be plugged in.
class ShellTest : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        app.SetOemBranding(false);  // the maker's look unless a test says otherwise
        app.SetUrlOpener([this](const QUrl& url) { return opened.push_back(url), openerAnswer; });
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

    std::vector<QUrl> opened;
    bool openerAnswer = true;
    TestTool* tool = nullptr;
    std::function<void()> toolFailure;
};
