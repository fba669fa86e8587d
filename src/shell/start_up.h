// Start-up and shutdown of the desktop program, opening cartridges, and the
// menu command dispatch.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "session/session.h"

class QApplication;

namespace tov {

class main_window_view;

// The program's one main window, while it exists.
extern main_window_view* main_window;

// Opens the device the program's sound plays on (null: no sound).
using audio_opener = std::function<std::unique_ptr<audio_backend>()>;

// What the command line asks of the start.
struct start_options {
    QString cartridge;  // opened at once when given
    int zoom = 0;       // 1-4, or 0 for the zoom of the last run
    bool fullscreen = false;
    // For this run only, instead of what the menu chose last.
    std::optional<bool> accurate_machine;
    std::optional<model_choice> model;
};

// Builds the window and everything behind it in the program's start-up
// order, applies `options`, and runs the event loop. Returns the exit code.
int start_up(QApplication& app, const start_options& options, const audio_opener& open_audio);

// Creates the main window and sets the program up as start_up does, without
// running the event loop (tests use it).
void create_main_window(const audio_opener& open_audio);

// What the command line asks of the window just created; the machine and
// the model it names are not kept in the settings.
void apply_start_options(const start_options& options);

// Stops the emulation, writes the loaded cartridge's battery file and the
// configuration file. Runs once, on Exit or when the window is closed.
void shutdown();

// "&Open Rom": the file dialog, then the chosen cartridge.
void open_rom();

// Opens a cartridge file; when it cannot be opened, says why and leaves the
// running game as it was. Returns whether the cartridge was opened.
bool open_in_window(const std::string& path);

// A cartridge chosen in File > "Recent Roms"; one that is no longer there is
// taken off the list, with a message.
void open_recent_cartridge(const QString& path);

// A cartridge file dropped on the window.
void open_dropped_cartridge(const std::string& path);

// Asks the program to end as if its window were closed; safe to call from a
// signal handler. The window acts on it at its next timer message.
void request_quit();

// Whether request_quit was called since the last time this was asked.
bool quit_was_requested();

// The menu command with `id`.
void run_command(int id);

// Stops the emulation for a modal dialog and lets it run again afterwards,
// if it ran before.
void run_dialog(const std::function<void()>& show);

}  // namespace tov
