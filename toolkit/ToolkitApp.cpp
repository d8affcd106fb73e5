#include "ToolkitApp.h"

#include <QFontMetrics>

#include <QScreen>

#include <QDesktopServices>
#include <QTimer>

#include "Cp1252.h"
#include "HelpViewer.h"

namespace {
ToolkitApp* current = nullptr;
}

ToolkitApp::ToolkitApp()
    : presenter(std::make_unique<QMessageBoxPresenter>()),
      urlOpener([](const QUrl& url) { return QDesktopServices::openUrl(url); }),
      helpRoot(QStringLiteral("qrc:/help/")) {
    current = this;
}

ToolkitApp::~ToolkitApp() {
    delete helpViewer.data();
    if (current == this) current = nullptr;
}

ToolkitApp* ToolkitApp::Current() { return current; }

QString ToolkitApp::MessageCaption() const { return QApplication::applicationDisplayName(); }

int ToolkitApp::ShowMessage(const std::string& text, unsigned type, int stringId, const std::string& detail) {
    return Present(FromServerText(text), type, stringId, QString::fromStdString(detail));
}

int ToolkitApp::Present(const QString& text, unsigned type, int stringId, const QString& detail) {
    MessageRequest request;
    request.owner = QApplication::activeModalWidget();
    if (!request.owner) request.owner = QApplication::activeWindow();
    request.caption = MessageCaption();
    request.text = text;
    request.type = type;
    request.stringId = stringId;
    request.detail = detail;
    return presenter->Present(request);
}

void ToolkitApp::SetPresenter(std::unique_ptr<MessagePresenter> newPresenter) {
    presenter = newPresenter ? std::move(newPresenter) : std::make_unique<QMessageBoxPresenter>();
}

void ToolkitApp::SetUrlOpener(UrlOpener opener) { urlOpener = std::move(opener); }

bool ToolkitApp::OpenUrl(const QUrl& url) const { return urlOpener && urlOpener(url); }

void ToolkitApp::WinHelp(int data, HelpCommand command) { ShowHelp(data, command); }

void ToolkitApp::ShowHelp(int topic, HelpCommand command) {
    if (command == HelpCommand::Quit) {
        if (helpViewer) helpViewer->close();
        return;
    }
    // The viewer belongs to the window that is modal now, so that window's
    // modality does not block it.
    QWidget* owner = QApplication::activeModalWidget();
    if (!helpViewer) {
        helpViewer = new HelpViewer(helpRoot, owner);
    } else {
        moveHelpTo(owner);
    }
    helpViewer->ShowTopic(topic);
}

void ToolkitApp::moveHelpTo(QWidget* owner) {
    if (!helpViewer || helpViewer->parentWidget() == owner) return;
    const QRect geometry = helpViewer->geometry();
    const bool shown = helpViewer->isVisible();
    helpViewer->setParent(owner, helpViewer->windowFlags());
    helpViewer->setGeometry(geometry);
    if (shown) helpViewer->show();
}

void ToolkitApp::KeepHelpAfter(QWidget* closing) {
    // A child of the closing window would go with it.
    if (!helpViewer || helpViewer->parentWidget() != closing) return;
    QWidget* owner = QApplication::activeModalWidget();
    moveHelpTo(owner == closing ? nullptr : owner);
}

HelpViewer* ToolkitApp::GetHelpViewer() const { return helpViewer.data(); }

void ToolkitApp::ReportEscapedError() { QApplication::exit(1); }

int ShowAppMessage(const std::string& text, unsigned type, int stringId) {
    if (ToolkitApp* app = ToolkitApp::Current()) return app->ShowMessage(text, type, stringId);
    MessageRequest request;
    request.owner = QApplication::activeModalWidget();
    request.caption = QApplication::applicationDisplayName();
    request.text = FromServerText(text);
    request.type = type;
    request.stringId = stringId;
    return QMessageBoxPresenter().Present(request);
}

QWidget* FirstControlOf(QWidget* widget) {
    // The window's Tab order decides; a widget's controls need not follow it
    // in that order when they were created after it was placed.
    QWidget* window = widget->window();
    QWidget* next = window;
    do {
        next = next->nextInFocusChain();
        if (widget->isAncestorOf(next) && (next->focusPolicy() & Qt::TabFocus) && next->isVisibleTo(widget) &&
            next->isEnabled()) {
            return next;
        }
    } while (next != window);
    return nullptr;
}

void FocusFirstControl(QWidget* widget) {
    QPointer<QWidget> target = widget;
    QTimer::singleShot(0, widget, [target] {
        if (!target) return;
        if (QWidget* first = FirstControlOf(target)) first->setFocus(Qt::TabFocusReason);
    });
}

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (ToolkitApp* app = ToolkitApp::Current()) {
            app->ReportEscapedError();
        } else {
            QApplication::exit(1);
        }
        return false;
    }
}

void SizeForLines(QWidget* window, int columns, int rows) {
    const QFontMetrics metrics = window->fontMetrics();
    const QSize wanted(metrics.averageCharWidth() * columns, metrics.height() * rows);
    const QScreen* screen = window->screen();
    window->resize(screen ? wanted.boundedTo(screen->availableGeometry().size() * 9 / 10) : wanted);
}
