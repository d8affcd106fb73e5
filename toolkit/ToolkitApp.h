#pragma once

#include <QApplication>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <string>

#include "Messages.h"

class HelpViewer;

// Kinds of help request.
enum class HelpCommand {
    Context,  // show the topic with the given number
    Quit,     // close the help viewer
};

// The application object's toolkit part: the one message routine, help
// requests, opening things in the desktop and the report of errors that
// escape an event handler. The program derives its application object from
// it (one at a time); windows reach it through ToolkitApp::Current(). Tests
// replace the presenter and the URL opener to script the desktop.
class ToolkitApp {
public:
    ToolkitApp();
    virtual ~ToolkitApp();
    ToolkitApp(const ToolkitApp&) = delete;
    ToolkitApp& operator=(const ToolkitApp&) = delete;

    // The application object now alive, or nullptr.
    static ToolkitApp* Current();

    // The message routine: text in the program's character set (string
    // table texts), a MessageType combination, the string ID (0 if composed)
    // and, for a failure, what failed and why (shown as the box's details;
    // UTF-8 text, since it names files as the file system does). Answers the
    // MessageResult. The base shows it under MessageCaption().
    virtual int ShowMessage(const std::string& text, unsigned type, int stringId, const std::string& detail = {});
    virtual QString MessageCaption() const;

protected:
    // Shows a message whose text is already the widgets'.
    int Present(const QString& text, unsigned type, int stringId, const QString& detail);

public:

    void SetPresenter(std::unique_ptr<MessagePresenter> presenter);
    MessagePresenter& Presenter() { return *presenter; }

    // Opens a URL (a folder in the file manager) in the desktop; false when
    // the desktop could not. Tests replace the opener.
    using UrlOpener = std::function<bool(const QUrl&)>;
    void SetUrlOpener(UrlOpener opener);
    bool OpenUrl(const QUrl& url) const;

    // Every help request of the program ends here. The base shows the topic
    // in the help viewer; the program's application object passes context
    // requests to its main window, which substitutes the current context.
    virtual void WinHelp(int data, HelpCommand command);
    // Shows or closes the help viewer; what WinHelp ends in.
    void ShowHelp(int topic, HelpCommand command);
    // A modal window that may own the help viewer is closing: the viewer
    // stays open, with the window that is modal now.
    void KeepHelpAfter(QWidget* closing);
    // The viewer, once a topic was shown; for tests.
    HelpViewer* GetHelpViewer() const;
    // Where the help pages live ("qrc:/help/" unless a test says otherwise).
    void SetHelpRoot(const QUrl& root) { helpRoot = root; }
    QUrl GetHelpRoot() const { return helpRoot; }

    // An error escaped an event handler. The base ends the application's
    // event loop; the program shows its message and closes its main window.
    virtual void ReportEscapedError();

private:
    void moveHelpTo(QWidget* owner);

    std::unique_ptr<MessagePresenter> presenter;
    UrlOpener urlOpener;
    QPointer<HelpViewer> helpViewer;
    QUrl helpRoot;
};

// The message routine from anywhere: through the application object when one
// exists, else a plain box captioned with the application's display name.
int ShowAppMessage(const std::string& text, unsigned type, int stringId);

// The first control inside widget, in its window's Tab order, that takes
// the keyboard focus by Tab and is shown and enabled; nullptr when none.
QWidget* FirstControlOf(QWidget* widget);
// Sizes a window for lines of about columns average characters, rows of
// them, at its own font, within nine tenths of its screen.
void SizeForLines(QWidget* window, int columns, int rows);

// Gives that control the focus once the current event has been handled, so
// a page just built or shown can be used by keyboard at once.
void FocusFirstControl(QWidget* widget);

// A QApplication that turns an exception escaping an event handler into
// ToolkitApp::ReportEscapedError instead of ending the process.
class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
