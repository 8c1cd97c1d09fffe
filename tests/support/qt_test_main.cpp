// Runs the desktop program's tests inside one QApplication, on the offscreen platform
// unless another one is asked for.
#include <QApplication>

#include <gtest/gtest.h>

namespace {

QtMessageHandler standardHandler = nullptr;

// The offscreen platform reports window hints it cannot honour; they say nothing here.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (!message.contains(QLatin1String("does not support propagateSizeHints")) &&
        standardHandler != nullptr) {
        standardHandler(type, context, message);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    standardHandler = qInstallMessageHandler(quietHandler);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
