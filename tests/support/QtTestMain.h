#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QtTest/QTest>

#include <functional>

#include <gtest/gtest.h>

// Drops the offscreen platform's notes about window features it lacks
// (they say nothing about the program); everything else is printed.
inline QtMessageHandler& PreviousMessageHandler() {
    static QtMessageHandler previous = nullptr;
    return previous;
}

inline void QuietOffscreenMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support")) ||
        message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) {
        return;
    }
    if (PreviousMessageHandler()) PreviousMessageHandler()(type, context, message);
}

// main() of a widget test binary, in one of its files: the offscreen platform
// (so that listing the tests needs no display), then GoogleTest.
#define TESSARON_QT_TEST_MAIN() TESSARON_QT_TEST_MAIN_WITH(QApplication)
#define TESSARON_QT_TEST_MAIN_WITH(ApplicationClass)              \
    int main(int argc, char** argv) {                             \
        qputenv("QT_QPA_PLATFORM", "offscreen");                  \
        PreviousMessageHandler() = qInstallMessageHandler(QuietOffscreenMessages); \
        ApplicationClass application(argc, argv);                 \
        ::testing::InitGoogleTest(&argc, argv);                   \
        return RUN_ALL_TESTS();                                   \
    }

// Waits until a modal window other than `except` is shown, then runs answer
// on it. For real dialogs and message boxes that a test must press through.
inline void WhenModalShown(std::function<void(QWidget*)> answer, QWidget* except = nullptr) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, answer, except] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == except || !modal->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        answer(modal);
    });
    timer->start();
}

// Qt text in test messages as text.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
