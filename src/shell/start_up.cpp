#include "shell/start_up.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>
#include <atomic>
#include <cstdio>

#include "controller/game_controllers.h"
#include "debugger/debugger_window.h"
#include "debugger/developer_window.h"
#include "session/session.h"
#include "shell/about_dialog.h"
#include "shell/battery_commands.h"
#include "shell/cheat_codes_dialog.h"
#include "shell/cheat_dialog.h"
#include "shell/command_ids.h"
#include "shell/joypad_dialog.h"
#include "shell/main_window.h"
#include "shell/palette_commands.h"
#include "shell/quick_states.h"
#include "shell/screenshots.h"
#include "shell/settings.h"
#include "shell/state_commands.h"

namespace tov {

main_window_view* main_window;

namespace {

std::atomic<bool> quit_requested;

bool in_range(int id, int first, int count) {
    return id >= first && id < first + count;
}

// Zoom "X 1"-"X 4": the picture area becomes 160 x n by 144 x n. The next
// run starts with it.
void zoom_picture(int factor) {
    set_zoom(factor);
    const int zoom = current_options().zoom;
    main_window->set_picture_size(screen_width * zoom, screen_height * zoom);
    save_zoom(zoom);
}

// "&Close Rom", repainted at once so that the logo replaces the game.
void close_rom() {
    main_window->report(close_cartridge());
    main_window->screen()->update();
}

// "R&eset"; the emulation keeps running or stays stopped.
void reset_machine() {
    const result reset = reset_cartridge();
    if (!reset.ok) {
        main_window->show_message("TOV", "The cartridge could not be reset: " + reset.message);
    }
}

// A note about the cartridge just powered on, after what the status line
// said of it before.
void show_cartridge_note() {
    const std::string note = cartridge_note();
    if (!note.empty()) {
        main_window->show_status(QString::fromStdString(note));
    }
}

// The machine, or when only the model changed, the model, as the status
// line names what was switched.
QString machine_name(bool machine_changed) {
    const run_options options = current_options();
    if (machine_changed) {
        return options.accurate_machine ? "Accurate machine" : "TOV's own machine";
    }
    const QString model = colour_model_in_use() ? "Game Boy Color" : "Game Boy";
    return options.model == model_choice::automatic ? "Auto model (" + model + ")"
                                                    : model + " model";
}

// "Accurate machine" and "Model": a running game is powered on again, and
// the status line says so.
void choose_machine(bool accurate, model_choice model) {
    const run_options before = current_options();
    if (accurate == before.accurate_machine && model == before.model) {
        return;
    }
    const result chosen = set_machine(accurate, model);
    // Only what the menu changed is kept: the other may come from the
    // command line, for one run.
    if (accurate != before.accurate_machine) {
        save_accurate_machine(accurate);
    }
    if (model != before.model) {
        save_model(model);
    }
    main_window->report(chosen);
    if (cartridge_loaded()) {
        main_window->show_status(machine_name(accurate != before.accurate_machine) +
                                 ": the game was powered on again");
        show_cartridge_note();
    }
}

// Zoom > "Frame Blending" or "Colour Correction" switched, shown at once
// and remembered.
void switch_look(int id) {
    look_options look = main_window->screen()->look();
    bool& option = id == id_frame_blending ? look.frame_blending : look.colour_correction;
    option = !option;
    main_window->screen()->set_look(look);
    save_frame_blending(look.frame_blending);
    save_colour_correction(look.colour_correction);
}

// The options the menu toggles.
void run_option_command(int id) {
    const run_options options = current_options();
    if (in_range(id, id_frameskip_0, 4)) {
        set_frame_skip(id - id_frameskip_0);
    } else if (in_range(id, id_channel_0, 4)) {
        const int channel = id - id_channel_0;
        set_channel_enabled(channel + 1, !options.channel_enabled[channel]);
    } else if (in_range(id, id_zoom_1, 4)) {
        zoom_picture(id - id_zoom_1 + 1);
    } else if (in_range(id, id_timing_1, 2)) {
        set_timing(id - id_timing_1 + 1);
    } else if (id == id_full_throttle) {
        set_full_throttle(!options.full_throttle);
    } else if (id == id_sound_enable) {
        set_sound_enabled(!options.sound_enabled);
    } else if (id == id_timer_enable) {
        set_timer_enabled(!options.timer_enabled);
    } else if (id == id_fast_forward) {
        set_fast_forward(!options.fast_forward);
    } else if (in_range(id, id_speed_max, 5)) {
        set_fast_forward_speed(id - id_speed_max);
        save_fast_forward_speed(current_options().fast_forward_speed);
    } else if (in_range(id, id_rewind_off, rewind_items)) {
        set_rewind_length(rewind_lengths[id - id_rewind_off]);
        save_rewind_seconds(rewind_length());
    } else if (id == id_pause_when_inactive) {
        save_pause_when_inactive(!pause_when_inactive());
    } else if (id == id_accurate_sound) {
        set_accurate_sound(!options.accurate_sound);
        save_accurate_sound(!options.accurate_sound);
    } else if (id == id_accurate_machine) {
        choose_machine(!options.accurate_machine, options.model);
    } else if (in_range(id, id_model_auto, 3)) {
        choose_machine(options.accurate_machine, static_cast<model_choice>(id - id_model_auto));
    } else if (in_range(id, id_palette_first, palette_items)) {
        choose_palette(id - id_palette_first);
    } else if (id == id_frame_blending || id == id_colour_correction) {
        switch_look(id);
    }
}

// "&Pause", P: stops a running game, lets a stopped one run.
void toggle_pause() {
    if (emulating()) {
        stop();
    } else {
        resume();
    }
}

// Loads or saves quick-state slot `slot`, saying what happened.
void quick_state(int slot, bool save) {
    if (save) {
        const result saved = save_quick_state(slot);
        main_window->report(saved);
        if (saved.ok) {
            main_window->show_status(QString("Saved quick state %1").arg(slot));
        }
        return;
    }
    // An empty slot is said in the status line: a box would stop the game
    // while the player's hand is on the F keys.
    const result loaded = load_quick_state(slot);
    if (loaded.ok) {
        main_window->screen()->forget_previous_frame();
        main_window->show_status(QString("Loaded quick state %1").arg(slot));
    } else if (!quick_state_slot(slot).used) {
        main_window->show_status(QString::fromStdString(loaded.message));
    } else {
        main_window->report(loaded);
    }
}

// F12: the screenshot's path in the status line, or a message why not.
void take_screenshot() {
    const result taken = save_screenshot();
    if (taken.ok) {
        main_window->show_status("Screenshot: " + QString::fromStdString(taken.message));
    } else {
        main_window->report(taken);
    }
}

// The developer tools' window, with its LD B,B option remembered.
void show_developer_tools() {
    developer_window* window = open_developer_tools(main_window);
    window->set_stop_at_ld_b_b(saved_stop_at_ld_b_b());
    window->stop_at_ld_b_b_changed = save_stop_at_ld_b_b;
    QObject::connect(window, &developer_window::run_state_changed, main_window,
                     &main_window_view::show_current_options, Qt::UniqueConnection);
}

}  // namespace

void create_main_window(const audio_opener& open_audio) {
    main_window = new main_window_view();
    set_window(main_window);
    main_window->show();
    read_key_mapping_file();
    open_game_controllers();
    use_saved_joypad_settings();
    start_session(open_audio());
    set_accurate_sound(saved_accurate_sound());
    // No cartridge is open yet, so choosing the machine cannot fail.
    set_machine(saved_accurate_machine(), saved_model());
    use_saved_palette();
    main_window->screen()->set_look({saved_frame_blending(), saved_colour_correction()});
    set_fast_forward_speed(saved_fast_forward_speed());
    set_rewind_length(saved_rewind_seconds());
    if (const std::optional<QPoint> place = saved_window_place()) {
        main_window->move(*place);
    }
    zoom_picture(saved_zoom());
    main_window->show_options(current_options());
    main_window->start_timer();
}

void apply_start_options(const start_options& options) {
    if (options.zoom != 0) {
        zoom_picture(options.zoom);
    }
    if (options.accurate_machine || options.model) {
        const run_options saved = current_options();
        set_machine(options.accurate_machine.value_or(saved.accurate_machine),
                    options.model.value_or(saved.model));
        main_window->show_current_options();
    }
    if (options.fullscreen) {
        main_window->set_full_screen(true);
    }
    // Opened from the running event loop, so that a quit request also ends
    // the message box of a cartridge that cannot be opened.
    const QString cartridge = options.cartridge;
    if (!cartridge.isEmpty()) {
        QTimer::singleShot(0, main_window,
                           [cartridge] { open_in_window(cartridge.toStdString()); });
    }
}

int start_up(QApplication& app, const start_options& options, const audio_opener& open_audio) {
    create_main_window(open_audio);
    apply_start_options(options);
    const int code = app.exec();
    close_game_controllers();
    end_session();
    set_window(nullptr);
    delete main_window;
    main_window = nullptr;
    return code;
}

void shutdown() {
    stop();
    if (cartridge_loaded()) {
        main_window->report(write_battery_file());
    }
    const result saved = write_key_mapping_file();
    if (!saved.ok) {
        std::fprintf(stderr, "tov: %s\n", saved.message.c_str());
    }
}

namespace {

void report_unopened(const std::string& reason) {
    main_window->show_message("TOV", "The cartridge could not be opened.\n\n" + reason);
}

}  // namespace

// An archive with several cartridges asks which one. The battery file of the
// cartridge still loaded is written under its own name before the new one is
// loaded; then the new one's is read.
bool open_in_window(const std::string& path) {
    const cartridge_listing listing = list_cartridges(path);
    if (!listing.outcome.ok) {
        report_unopened(listing.outcome.message);
        return false;
    }
    std::string entry;
    if (listing.entries.size() > 1) {
        QStringList names;
        for (const std::string& name : listing.entries) {
            names << QString::fromStdString(name);
        }
        const QString chosen = main_window->choose_archive_entry(names);
        if (chosen.isEmpty()) {
            return false;
        }
        entry = chosen.toStdString();
    }
    if (cartridge_loaded()) {
        main_window->report(write_battery_file());
    }
    const result opened = open_cartridge(path, entry);
    if (!opened.ok) {
        report_unopened(opened.message);
        return false;
    }
    main_window->screen()->forget_previous_frame();
    main_window->report(read_battery_file());
    show_cartridge_note();
    main_window->screen()->update();
    add_recent_cartridge(QFileInfo(QString::fromStdString(path)).absoluteFilePath());
    main_window->show_recent_cartridges();
    main_window->show_options(current_options());
    return true;
}

void open_recent_cartridge(const QString& path) {
    if (!QFileInfo::exists(path)) {
        remove_recent_cartridge(path);
        main_window->show_recent_cartridges();
        main_window->show_message("TOV", "The cartridge is no longer there:\n\n" +
                                             path.toStdString() +
                                             "\n\nIt has been taken off the recent list.");
        return;
    }
    run_dialog([&path] { open_in_window(path.toStdString()); });
}

void open_rom() {
    run_dialog([] {
        main_window->stop_timer();
        const QString last = QString::fromStdString(cartridge_path());
        const QString chosen =
            main_window->choose_cartridge(last.isEmpty() ? last_folder("cartridges") : last);
        if (!chosen.isEmpty()) {
            remember_folder("cartridges", chosen);
            open_in_window(chosen.toStdString());
        }
        main_window->start_timer();
    });
}

void open_dropped_cartridge(const std::string& path) {
    run_dialog([&path] { open_in_window(path); });
}

// A paused game stays paused; a cartridge opened meanwhile runs.
void run_dialog(const std::function<void()>& show) {
    const bool was_running = emulating();
    stop();
    show();
    if (was_running || emulating()) {
        resume();
    }
}

void request_quit() {
    quit_requested = true;
}

bool quit_was_requested() {
    return quit_requested.exchange(false);
}

void run_command(int id) {
    switch (id) {
        case id_open_rom: open_rom(); break;
        case id_close_rom: close_rom(); break;
        case id_exit: main_window->close(); break;
        case id_resume: resume(); break;
        case id_stop: stop(); break;
        case id_reset: reset_machine(); break;
        case id_joypad: run_dialog([] { open_joypad_dialog(main_window); }); break;
        case id_about:
            run_dialog([] {
                about_dialog dialog(main_window);
                dialog.exec();
            });
            break;
        case id_load_state: load_state_command(); break;
        case id_save_state: save_state_command(); break;
        case id_import_battery: import_battery_command(); break;
        case id_export_battery: export_battery_command(); break;
        case id_cheating: run_dialog([] { open_cheat_dialog(main_window); }); break;
        case id_cheat_codes: run_dialog([] { open_cheat_codes_dialog(main_window); }); break;
        case id_debug: run_dialog([] { open_debugger(main_window); }); break;
        case id_developer_tools: show_developer_tools(); break;
        case id_pause: toggle_pause(); break;
        case id_screenshot: take_screenshot(); break;
        case id_full_screen: main_window->set_full_screen(!main_window->isFullScreen()); break;
        default:
            if (in_range(id, id_quick_load_1, quick_state_slots)) {
                quick_state(id - id_quick_load_1 + 1, false);
            } else if (in_range(id, id_quick_save_1, quick_state_slots)) {
                quick_state(id - id_quick_save_1 + 1, true);
            }
            run_option_command(id);
            break;
    }
    // Check marks, and the items that need a cartridge, follow every command.
    main_window->show_options(current_options());
}

}  // namespace tov
