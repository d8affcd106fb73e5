// The yardstick of the window's start: a Qt dialog with a label and five
// buttons, built as the programs are, that maps its window and waits.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Configure the server through its share."), &dialog));
    for (const char* text : {"Disc Access", "Quick Installation", "Configuration", "Management", "Help"}) {
        layout->addWidget(new QPushButton(QString::fromLatin1(text), &dialog));
    }
    dialog.show();
    return application.exec();
}
