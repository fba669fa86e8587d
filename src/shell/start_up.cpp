#include "shell/start_up.h"

#include <QApplication>
#include <QTimer>
#include <atomic>
#include <cstdio>

#include "core/machine.h"
#include "debugger/debugger_window.h"
#include "host/command_ids.h"
#include "memory/cartridge.h"
#include "persist/battery.h"
#include "shell/about_dialog.h"
#include "shell/cheat_dialog.h"
#include "shell/commands.h"
#include "shell/config.h"
#include "shell/joypad_dialog.h"
#include "shell/main_window.h"
#include "shell/state_commands.h"
#include "sound/channels.h"
#include "sound/output_device.h"

namespace tov {

main_window_view* main_window;

namespace {

std::atomic<bool> quit_requested;

bool in_range(int id, int first, int count) {
    return id >= first && id < first + count;
}

}  // namespace

void create_main_window(const audio_opener& open_audio) {
    main_window = new main_window_view();
    set_window(main_window);
    main_window->show();
    rom_loaded = 0;
    emulation_running = 0;
    load_config();
    set_zoom(2);
    create_sound_device(open_audio());
    for (channel_state& channel : sound_channels) {
        channel.frequency_hz = 0;
        channel.active = 0;
    }
    channel_enabled[0] = 1;
    channel_enabled[1] = 1;
    channel_enabled[2] = 0;
    channel_enabled[3] = 0;
    toggle_sound();
    rom_loaded = 0;
    emulation_running = 0;
    main_window->start_timer();
}

int start_up(QApplication& app, const QString& cartridge, const audio_opener& open_audio) {
    create_main_window(open_audio);
    // Opened from the running event loop, so that a quit request also ends
    // the message box of a cartridge that cannot be opened.
    if (!cartridge.isEmpty()) {
        QTimer::singleShot(0, main_window,
                           [cartridge] { open_cartridge(cartridge.toStdString()); });
    }
    const int code = app.exec();
    close_sound_device();
    set_window(nullptr);
    delete main_window;
    main_window = nullptr;
    return code;
}

void shutdown() {
    stop_playback();
    if (rom_loaded == 1) {
        save_battery();
    }
    if (!save_config()) {
        std::fprintf(stderr, "tov: the key mapping could not be saved to %s\n",
                     config_path().c_str());
    }
}

// The battery file of the cartridge still loaded is written under its own
// name before the new one is loaded; then the new one's is read.
bool open_cartridge(const std::string& path) {
    if (rom_loaded == 1) {
        save_battery();
    }
    std::string reason;
    if (!load_cartridge_file(path, &reason)) {
        window().show_message("TOV", "The cartridge could not be opened.\n\n" + reason);
        return false;
    }
    load_battery();
    rom_loaded = 1;
    emulation_running = 1;
    main_window->screen()->update();
    return true;
}

void open_rom() {
    stop_playback();
    main_window->stop_timer();
    const QString chosen = main_window->choose_cartridge(QString::fromStdString(rom_path));
    if (!chosen.isEmpty()) {
        open_cartridge(chosen.toStdString());
    }
    main_window->start_timer();
    start_playback();
}

void open_dropped_cartridge(const std::string& path) {
    stop_playback();
    open_cartridge(path);
    start_playback();
}

void run_dialog(const std::function<void()>& show) {
    stop_playback();
    show();
    if (rom_loaded == 1) {
        emulation_running = 1;
    }
    start_playback();
}

void request_quit() {
    quit_requested = true;
}

bool quit_was_requested() {
    return quit_requested.exchange(false);
}

void run_command(int id) {
    if (in_range(id, id_frameskip_0, 4)) {
        set_frame_skip(id - id_frameskip_0);
    } else if (in_range(id, id_channel_0, 4)) {
        toggle_channel(id - id_channel_0 + 1);
    } else if (in_range(id, id_zoom_1, 4)) {
        set_zoom(id - id_zoom_1 + 1);
    } else if (in_range(id, id_timing_1, 2)) {
        set_timing(id - id_timing_1 + 1);
    }
    switch (id) {
        case id_open_rom: open_rom(); break;
        case id_close_rom:
            close_rom();
            main_window->screen()->update();
            break;
        case id_exit: main_window->close(); break;
        case id_resume: start_playback(); break;
        case id_stop: stop_playback(); break;
        case id_reset: reset_machine(); break;
        case id_full_throttle: toggle_full_throttle(); break;
        case id_sound_enable: toggle_sound(); break;
        case id_timer_enable: toggle_timer_option(); break;
        case id_joypad: run_dialog([] { open_joypad_dialog(main_window); }); break;
        case id_about:
            run_dialog([] {
                about_dialog dialog(main_window);
                dialog.exec();
            });
            break;
        case id_load_state: load_state_command(); break;
        case id_save_state: save_state_command(); break;
        case id_cheating: run_dialog([] { open_cheat_dialog(main_window); }); break;
        case id_debug: run_dialog([] { open_debugger(main_window); }); break;
        default: break;
    }
}

}  // namespace tov
