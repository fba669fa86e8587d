// The test program of the window: one QApplication on the offscreen
// platform, the program's main window, and a program folder and settings
// folder of its own.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "host/memory_audio.h"
#include "shell/start_up.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("tov_shell_test_" + std::to_string(getpid()));
    std::filesystem::create_directories(home);
    setenv("TOV_HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    tov::create_main_window([] { return std::make_unique<tov::memory_audio>(false); });
    const int result = RUN_ALL_TESTS();
    std::filesystem::remove_all(home);
    return result;
}
