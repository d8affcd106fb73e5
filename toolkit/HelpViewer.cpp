#include "HelpViewer.h"

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QHBoxLayout>
#include <QShortcut>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

bool pageExists(const QUrl& url) {
    if (url.scheme() == QLatin1String("qrc")) return QFile::exists(QLatin1Char(':') + url.path());
    if (url.isLocalFile()) return QFile::exists(url.toLocalFile());
    return false;
}

}  // namespace

HelpViewer::HelpViewer(const QUrl& root, QWidget* owner)
    : QWidget(owner, Qt::Window), root(root), browser(new QTextBrowser(this)),
      backButton(new QToolButton(this)), forwardButton(new QToolButton(this)) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowTitle(tr("Help"));
    browser->setOpenLinks(true);
    browser->setOpenExternalLinks(false);

    auto* home = new QToolButton(this);
    home->setText(tr("&Contents"));
    backButton->setText(tr("&Back"));
    forwardButton->setText(tr("&Forward"));
    connect(home, &QToolButton::clicked, this, [this] { ShowTopic(0); });
    connect(backButton, &QToolButton::clicked, browser, &QTextBrowser::backward);
    connect(forwardButton, &QToolButton::clicked, browser, &QTextBrowser::forward);
    connect(browser, &QTextBrowser::historyChanged, this, &HelpViewer::updateButtons);
    auto* close = new QShortcut(QKeySequence::Close, this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    auto* bar = new QHBoxLayout;
    bar->addWidget(home);
    bar->addWidget(backButton);
    bar->addWidget(forwardButton);
    bar->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(browser);
    resize(620, 520);
    updateButtons();
}

QString HelpViewer::TopicFileName(int topic) { return QStringLiteral("topic%1.html").arg(topic); }

void HelpViewer::ShowTopic(int newTopic) {
    topic = newTopic;
    const QUrl page = root.resolved(QUrl(TopicFileName(newTopic)));
    if (pageExists(page)) {
        browser->setSource(page);
    } else {
        showMissing(newTopic);
    }
    if (!browser->documentTitle().isEmpty()) {
        setWindowTitle(tr("Help - %1").arg(browser->documentTitle()));
    } else {
        setWindowTitle(tr("Help"));
    }
    if (!placed) {
        placed = true;
        placeBesideOwner();
    }
    show();
    raise();
    activateWindow();
}

QUrl HelpViewer::CurrentSource() const { return browser->source(); }

void HelpViewer::showMissing(int missingTopic) {
    browser->clearHistory();
    browser->setSource(QUrl());
    browser->setHtml(tr("<html><head><title>No help</title></head><body><p>There is no help text for "
                        "this page (topic %1).</p><p><a href=\"%2\">Show the contents</a></p></body></html>")
                         .arg(missingTopic)
                         .arg(root.resolved(QUrl(TopicFileName(0))).toString()));
}

void HelpViewer::placeBesideOwner() {
    QWidget* owner = parentWidget() ? parentWidget()->window() : QApplication::activeWindow();
    if (!owner) return;
    // Over the owner's right part, shifted so that its header stays visible.
    QPoint position = owner->geometry().topLeft() + QPoint(owner->width() / 3, 40);
    if (const QScreen* screen = owner->screen()) {
        const QRect available = screen->availableGeometry();
        position.setX(std::max(available.left(), std::min(position.x(), available.right() - width())));
        position.setY(std::max(available.top(), std::min(position.y(), available.bottom() - height())));
    }
    move(position);
}

void HelpViewer::updateButtons() {
    backButton->setEnabled(browser->isBackwardAvailable());
    forwardButton->setEnabled(browser->isForwardAvailable());
}
