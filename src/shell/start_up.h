// Start-up and shutdown of the desktop program, opening cartridges, and the
// menu command dispatch.
#pragma once

#include <QStringList>
#include <functional>
#include <memory>
#include <string>

#include "session/session.h"

class QApplication;

namespace tov {

class main_window_view;

// The program's one main window, while it exists.
extern main_window_view* main_window;

// Opens the audio device the program plays on (null: no sound).
using audio_opener = std::function<std::unique_ptr<audio_backend>()>;

// Builds the window and everything behind it in the program's start-up
// order, opens `cartridge` when one is given, and runs the event loop.
// Returns the exit code.
int start_up(QApplication& app, const QString& cartridge, const audio_opener& open_audio);

// Creates the main window and sets the program up as start_up does, without
// running the event loop (tests use it).
void create_main_window(const audio_opener& open_audio);

// Stops the emulation, writes the loaded cartridge's battery file and the
// configuration file. Runs once, on Exit or when the window is closed.
void shutdown();

// "&Open Rom": the file dialog, then the chosen cartridge.
void open_rom();

// Opens a cartridge file; when it cannot be opened, says why and leaves the
// running game as it was. Returns whether the cartridge was opened.
bool open_in_window(const std::string& path);

// A cartridge file dropped on the window.
void open_dropped_cartridge(const std::string& path);

// Asks the program to end as if its window were closed; safe to call from a
// signal handler. The window acts on it at its next timer message.
void request_quit();

// Whether request_quit was called since the last time this was asked.
bool quit_was_requested();

// The menu command with `id`.
void run_command(int id);

// Stops the emulation for a modal dialog and lets it run again afterwards.
void run_dialog(const std::function<void()>& show);

}  // namespace tov
