#pragma once

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <filesystem>
#include <memory>
#include <string>

#include "Catalogue.h"
#include "ConfigApp.h"
#include "ConfigMainDlg.h"
#include "ConfigPropertySheet.h"
#include "ParameterHandler.h"
#include "ScriptedPresenter.h"
#include "StartDlg.h"
#include "TempShare.h"
#include "TemplatePage.h"

// A folder in a file's place: it cannot be read, at once. The file comes
// back with the object.
struct Unreadable {
    explicit Unreadable(std::string path) : path(std::move(path)) {
        std::filesystem::rename(this->path, this->path + ".away");
        std::filesystem::create_directory(this->path);
    }
    ~Unreadable() {
        std::filesystem::remove(path);
        std::filesystem::rename(path + ".away", path);
    }
    std::string path;
};

// The program's main window over a temporary share (a copy of the sample
// share unless a test writes its own configuration file), messages answered
// by a scripted presenter. Tests open the configuration sheet through the
// home page's button and find rows as a user does: by the row's name.
class PageTest : public testing::Test {
protected:
    void SetUp() override {
        app.SetServerPath(share.Root());
        app.SetServerName("tessaron1");
    }
    void TearDown() override { CloseMain(); }
    void CloseMain() {
        window.reset();
        Settle();
    }
    static void Settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    // Replaces the configuration file (CR LF line ends, as the server writes).
    void WriteConfig(const std::string& lines) {
        std::string text;
        for (char c : lines) text += c == '\n' ? std::string("\r\n") : std::string(1, c);
        share.Write("Config/Config.ini", text);
    }
    std::string ConfigText() const { return share.Read("Config/Config.ini"); }
    // A value as the file on the share holds it now.
    std::string FileValue(const std::string& section, const std::string& key) const {
        ParameterHandler handler;
        handler.Load(share.Files(), "Config/Config.ini", CatalogueOf(Configuration));
        std::string value;
        EXPECT_TRUE(handler.GetValue(section, key, value)) << section << "/" << key;
        return value;
    }

    // Shows the main window and waits for its identification.
    ConfigMainDlg& OpenMain() {
        window = std::make_unique<ConfigMainDlg>(app);
        app.SetMainWindow(window.get());
        window->show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !window->IsStartTimerPending(); }, 3000));
        Settle();
        return *window;
    }
    // Presses a tool's button on the home page (the main window shown
    // first if need be); the tool shown then, or nullptr.
    template <class Tool>
    Tool* OpenTool(int button) {
        if (!window) OpenMain();
        presenter.shown.clear();
        Press(*window, button);
        Settle();
        return qobject_cast<Tool*>(window->GetChild());
    }
    // The configuration sheet, or nullptr when it could not be built.
    ConfigPropertySheet* OpenSheet() { return OpenTool<ConfigPropertySheet>(StartDlg::ConfigurationButton); }
    ConfigPropertySheet* Sheet() const { return qobject_cast<ConfigPropertySheet*>(window->GetChild()); }
    // The tab titles of the tool shown, a sheet.
    QStringList TabTitles() const {
        QStringList titles;
        auto* sheet = qobject_cast<PropertySheet*>(window->GetChild());
        for (int i = 0; i < sheet->count(); ++i) titles << sheet->tabText(i);
        return titles;
    }
    // Asks the sheet shown for the tab with that title; the page shown then.
    TemplatePage& Activate(const QString& title) {
        EXPECT_TRUE(TabTitles().contains(title)) << title.toStdString();
        auto* sheet = qobject_cast<PropertySheet*>(window->GetChild());
        sheet->SetActivePage(TabTitles().indexOf(title));
        Settle();
        return *qobject_cast<TemplatePage*>(sheet->GetActivePage());
    }
    TemplatePage& Active() const { return *Sheet()->PageAt(Sheet()->GetActiveIndex()); }

    // The value controls of the generated rows (control IDs 2200 on).
    static QList<QWidget*> Values(const QWidget& page) {
        return page.findChildren<QWidget*>(QRegularExpression(QStringLiteral("^22\\d\\d$")));
    }
    // The value control of the row with that name (its accessible name), or
    // the check box that labels a row.
    template <class Control>
    static Control* Row(const QWidget& page, const QString& name) {
        for (Control* control : page.findChildren<Control*>()) {
            if (control->accessibleName() == name || control->property("text").toString() == name) return control;
        }
        ADD_FAILURE() << "no row " << name.toStdString();
        return nullptr;
    }
    static QLineEdit* Edit(const QWidget& page, const QString& name) { return Row<QLineEdit>(page, name); }
    static QComboBox* Combo(const QWidget& page, const QString& name) { return Row<QComboBox>(page, name); }
    static QCheckBox* Check(const QWidget& page, const QString& name) { return Row<QCheckBox>(page, name); }
    // What a screen reader says a control is: the name of its label, when a
    // label names it, else its own.
    static QString Spoken(QWidget* control) {
        QAccessibleInterface* self = QAccessible::queryAccessibleInterface(control);
        const auto labels = self->relations(QAccessible::Label);
        return (labels.isEmpty() ? self : labels[0].first)->text(QAccessible::Name);
    }
    static QStringList Entries(const QComboBox* combo) {
        QStringList entries;
        for (int i = 0; i < combo->count(); ++i) entries << combo->itemText(i);
        return entries;
    }
    // Replaces an edit's text by typing, as the user does. Qt Test types
    // ASCII only; other characters come as the text of a key without a code.
    static void Type(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        for (QChar c : text) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(edit, c.toLatin1());
                continue;
            }
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(edit, &press);
        }
    }
    // Chooses an entry of a choice list by keyboard, as the user does.
    static void Choose(QComboBox* combo, const QString& entry) {
        const int target = combo->findText(entry);
        ASSERT_GE(target, 0) << entry.toStdString();
        combo->setFocus();
        for (int step = 0; step < combo->count() && combo->currentIndex() != target; ++step) {
            QTest::keyClick(combo, combo->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
        }
        ASSERT_EQ(combo->currentIndex(), target);
    }
    static void Press(QWidget& page, int id) { page.findChild<QPushButton*>(QString::number(id))->click(); }
    static void Submit(QWidget& page) { Press(page, TemplatePage::kSubmitId); }

    TempShare share{TempShare::Contents::Sample};
    ConfigApp app;
    ScriptedPresenter& presenter = InstallScriptedPresenter(app);
    std::unique_ptr<ConfigMainDlg> window;
};
