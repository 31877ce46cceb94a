// Every test executable owns one QApplication, so that model, widget and event-driven
// tests can run side by side (offscreen platform, set by CTest).
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Widget tests never need a display; end-to-end checks run the real program instead.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvane"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
