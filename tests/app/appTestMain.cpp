// The view tests need one QApplication for the whole run; Qt's offscreen
// platform draws into memory, so no display server is needed.
#include <QApplication>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt wants a private runtime folder; without one it warns on every start.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const std::string dir = "/tmp/orx-test-runtime-" + std::to_string(::getuid());
        ::mkdir(dir.c_str(), 0700);
        qputenv("XDG_RUNTIME_DIR", dir.c_str());
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
