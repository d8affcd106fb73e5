#include "ShellOpen.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include "ToolkitApp.h"

bool OpenFolder(const std::string& path) {
    // File names are bytes; let Qt decode them as the file system does.
    const QString folder = QFile::decodeName(QByteArray::fromStdString(path));
    if (!QFileInfo(folder).isDir()) return false;
    const QUrl url = QUrl::fromLocalFile(folder);
    if (ToolkitApp* app = ToolkitApp::Current()) return app->OpenUrl(url);
    return QDesktopServices::openUrl(url);
}
