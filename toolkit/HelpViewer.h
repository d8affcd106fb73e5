#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;
class QToolButton;

// The program's help: a window that shows topic n, the page "topic<n>.html"
// below a root URL (the HTML pages compiled into the resources under
// qrc:/help/). Windows do not create it themselves: they send help requests
// to ToolkitApp::WinHelp, which ends in one viewer. Adding a topic means
// adding resources/help/topic<n>.html. A topic without a page shows a short
// note and a link to the contents.
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit HelpViewer(const QUrl& root, QWidget* owner = nullptr);

    void ShowTopic(int topic);
    int CurrentTopic() const { return topic; }
    // The page shown now (its URL; empty for the missing-topic note).
    QUrl CurrentSource() const;
    QTextBrowser* Browser() const { return browser; }

    static QString TopicFileName(int topic);

private:
    void showMissing(int missingTopic);
    void updateButtons();
    void placeBesideOwner();

    QUrl root;
    int topic = -1;
    bool placed = false;
    QTextBrowser* browser;
    QToolButton* backButton;
    QToolButton* forwardButton;
};
