#include "shell_test_support.h"

#include <QLabel>

#include "host/clock.h"
#include "host/keyboard.h"
#include "machine/options.h"
#include "machine/shell_flags.h"
#include "memory/joypad.h"
#include "shell/command_ids.h"
#include "shell/settings.h"

namespace tov::test {

void window_test::SetUp() {
    rom_loaded = 0;
    emulation_running = 0;
    set_machine(false, model_choice::automatic);
    full_throttle = 1;
    run_command(id_frameskip_0);
    run_command(id_timing_1);
    run_command(id_zoom_1 + 1);
    if (timer_option != 1) {
        run_command(id_timer_enable);
    }
    key_map = default_key_map;
    extra_key_map = default_extra_keys;
    turbo_rate = default_turbo_rate;
    clear_recent_cartridges();
    main_window->show_recent_cartridges();
    main_window->show_quick_states();
    release_all_keys();
    use_fake_clock(0, 1);
    main_window->message_box = [this](const QString& caption, const QString& text) {
        messages.push_back(caption.toStdString() + ": " + text.toStdString());
    };
    main_window->show();
    QApplication::setActiveWindow(main_window);
    main_window->screen()->status()->clear_message();  // the test before's
}

void window_test::TearDown() {
    full_throttle = 0;
    main_window->choose_cartridge = [](const QString&) { return QString(); };
    main_window->choose_state_to_load = [](const QString&) { return QString(); };
    main_window->choose_state_to_save = [](const QString&) { return QString(); };
}

void window_test::open_through_menu(const std::string& path) {
    main_window->choose_cartridge = [path](const QString&) { return QString::fromStdString(path); };
    main_window->command(id_open_rom);
}

}  // namespace tov::test
