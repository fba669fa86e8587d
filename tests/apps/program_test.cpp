// The desktop program as a whole process: how it ends on SIGTERM and what it
// says on standard error when there is no sound device.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "test_cartridge.h"

extern char** environ;

namespace tov {
namespace {

using namespace std::chrono_literals;

std::string read_text(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// `tov arguments...` on Qt's offscreen platform with a sound driver that does
// not exist, its program and settings folders in `home` and its output in
// `home`/output.
pid_t start_program(const std::filesystem::path& home, std::vector<std::string> arguments) {
    std::vector<std::string> settings = {
        "TOV_HOME=" + home.string(), "XDG_CONFIG_HOME=" + (home / "config").string(),
        "QT_QPA_PLATFORM=offscreen", "SDL_AUDIODRIVER=no_such_driver"};
    std::vector<char*> environment;
    for (std::string& setting : settings) {
        environment.push_back(setting.data());
    }
    for (char** entry = environ; *entry; ++entry) {
        environment.push_back(*entry);
    }
    environment.push_back(nullptr);
    const std::string output = (home / "output").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    std::string program = TOV_PROGRAM;
    std::vector<char*> command_line = {program.data()};
    for (std::string& argument : arguments) {
        command_line.push_back(argument.data());
    }
    command_line.push_back(nullptr);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, program.c_str(), &actions, nullptr, command_line.data(),
                                   environment.data());
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : pid;
}

// Waits for the process to end; false (after killing it) when it does not
// end within `limit`.
bool wait_for_end(pid_t pid, int& status, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        if (waitpid(pid, &status, WNOHANG) == pid) {
            return true;
        }
        std::this_thread::sleep_for(20ms);
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return false;
}

TEST(Program, SigtermEndsItCleanlyEvenWithAMessageBoxOpen) {
    const std::filesystem::path home = test::temp_path("_home");
    std::filesystem::create_directories(home);
    const std::filesystem::path too_large = home / "large.gb";
    std::ofstream(too_large).put('x');
    std::filesystem::resize_file(too_large, 5 * 1024 * 1024);
    const std::filesystem::path empty = home / "empty.gb";
    std::ofstream{empty};
    struct case_t {
        const char* what;
        std::string cartridge;
    };
    const case_t cases[] = {
        {"running the demo", TOV_DEMO_CARTRIDGE},
        {"with the too-large message box open", too_large.string()},
        {"with the empty-file message box open", empty.string()},
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(test.what);
        std::filesystem::remove(home / "TOV.cfg");
        const pid_t pid = start_program(home, {test.cartridge});
        ASSERT_GT(pid, 0);
        // The sound line comes once the window and its signal handlers are
        // set up; the cartridge opens right after.
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        while (read_text(home / "output").find("runs silent") == std::string::npos &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(20ms);
        }
        std::this_thread::sleep_for(500ms);
        kill(pid, SIGTERM);
        int status = 0;
        ASSERT_TRUE(wait_for_end(pid, status, 10s)) << "still running 10 s after SIGTERM";
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        EXPECT_TRUE(std::filesystem::exists(home / "TOV.cfg")) << "written as at a normal exit";
        const std::string output = read_text(home / "output");
        EXPECT_NE(output.find("Fehler: DirectSound"), std::string::npos) << output;
        EXPECT_NE(output.find("tov: no sound device could be opened (SDL: "), std::string::npos)
            << output;
    }
    std::filesystem::remove_all(home);
}

TEST(Program, CommandLineAsALinuxProgram) {
    const std::filesystem::path home = test::temp_path("_home");
    std::filesystem::create_directories(home);
    struct case_t {
        std::vector<std::string> arguments;
        int code;
        const char* says;
    };
    const case_t cases[] = {
        {{"--version"}, 0, "tov " TOV_VERSION},
        {{"--help"}, 0, "--fullscreen"},
        {{"-h"}, 0, "Usage: tov [options] [ROM]"},
        {{"--bogus"}, 2, "Unknown option 'bogus'"},
        {{"--zoom", "5", "game.gb"}, 2, "--zoom takes a number from 1 to 4"},
        {{"--zoom"}, 2, "Missing value after '--zoom'"},
        {{"a.gb", "b.gb"}, 2, "only one cartridge"},
        {{"--help"}, 0, "--machine <classic|accurate>"},
        {{"--help"}, 0, "--model <auto|dmg|cgb>"},
        {{"--machine", "fast"}, 2, "--machine takes classic or accurate, not 'fast'"},
        {{"--model", "gba"}, 2, "--model takes auto, dmg or cgb, not 'gba'"},
    };
    for (const case_t& test : cases) {
        const pid_t pid = start_program(home, test.arguments);
        ASSERT_GT(pid, 0);
        int status = 0;
        ASSERT_TRUE(wait_for_end(pid, status, 20s)) << test.arguments[0];
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == test.code) << test.arguments[0];
        const std::string output = read_text(home / "output");
        EXPECT_NE(output.find(test.says), std::string::npos) << output;
        if (test.code == 2) {
            EXPECT_NE(output.find("Usage: tov"), std::string::npos) << output;
        }
    }
    std::filesystem::remove_all(home);
}

}  // namespace
}  // namespace tov
