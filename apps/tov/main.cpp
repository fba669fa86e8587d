// The desktop program: tov [ROM].
#include <QApplication>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "audio/sdl_audio.h"
#include "shell/start_up.h"

namespace {

void print_usage() {
    std::printf(
        "TOV Version 0.9.7 - a Game Boy and Game Boy Color emulator\n"
        "\n"
        "Usage: tov [ROM]\n"
        "\n"
        "  ROM   a cartridge image to open at once\n");
}

bool has_display() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) {
            return true;
        }
    }
    return false;
}

// Ctrl+C in the terminal, or the session ending, closes the window properly,
// so the battery file and the key mapping are saved.
void quit_on_signal(int) {
    tov::request_quit();
}

}  // namespace

int main(int argc, char** argv) {
    QString cartridge;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "-h" || argument == "--help") {
            print_usage();
            return 0;
        }
        if (!cartridge.isEmpty() || (argument.size() > 1 && argument[0] == '-')) {
            std::fprintf(stderr, "tov: unexpected argument '%s'\n\n", argv[i]);
            print_usage();
            return 2;
        }
        cartridge = QString::fromLocal8Bit(argv[i]);
    }
    if (!has_display()) {
        std::fprintf(stderr,
                     "tov: no graphical display (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                     "Run it on a desktop, or under Xvfb.\n");
        return 1;
    }
    QApplication app(argc, argv);
    std::signal(SIGINT, quit_on_signal);
    std::signal(SIGTERM, quit_on_signal);
    return tov::start_up(app, cartridge, tov::open_sdl_audio);
}
