// The main window's menu: its items with their hotkeys, their check marks and
// which of them need a cartridge, and the lists that change as the program
// runs (recent cartridges, quick-state slots).
#include <QAction>
#include <QActionGroup>
#include <QFileInfo>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>

#include "shell/command_ids.h"
#include "shell/main_window.h"
#include "shell/palette_commands.h"
#include "shell/quick_states.h"
#include "shell/settings.h"
#include "shell/start_up.h"

namespace tov {

namespace {

// The items that do nothing useful without a cartridge.
constexpr int cartridge_commands[] = {
    id_close_rom,    id_load_state, id_save_state, id_import_battery, id_export_battery,
    id_screenshot,   id_resume,     id_stop,       id_pause,          id_reset,
    id_fast_forward, id_debug,      id_cheating,   id_cheat_codes,    id_developer_tools};

QString slot_text(int slot, const quick_slot& state) {
    const QString when = state.used ? state.saved.toString("ddd d MMM, hh:mm:ss") : "empty";
    return QString("&%1  %2").arg(slot).arg(when);
}

}  // namespace

QAction* main_window_view::add_command(QMenu* menu, int id, const QString& text, bool checkable,
                                       bool checked, const QList<QKeySequence>& keys) {
    QAction* action = menu->addAction(text);
    action->setCheckable(checkable);
    action->setChecked(checked);
    action->setShortcuts(keys);
    // Also on the window itself, so the hotkeys work in full screen, where
    // the menu bar is hidden.
    addAction(action);
    connect(action, &QAction::triggered, this, [this, id] { command(id); });
    actions_[id] = action;
    return action;
}

void main_window_view::build_menu() {
    QMenu* file = menuBar()->addMenu("&File");
    add_command(file, id_open_rom, "&Open Rom", false, false, {QKeySequence("Ctrl+O")});
    recent_menu_ = file->addMenu("Recent Roms");
    show_recent_cartridges();
    add_command(file, id_close_rom, "&Close Rom", false, false, {QKeySequence("Ctrl+W")});
    file->addSeparator();
    add_command(file, id_load_state, "&Load State");
    add_command(file, id_save_state, "&Save State");
    quick_menu_ = file->addMenu("&Quick States");
    build_quick_state_menu(quick_menu_);
    file->addSeparator();
    add_command(file, id_import_battery, "Import Battery File...");
    add_command(file, id_export_battery, "Export Battery File...");
    file->addSeparator();
    add_command(file, id_screenshot, "Screens&hot", false, false, {QKeySequence(Qt::Key_F12)});
    file->addSeparator();
    add_command(file, id_exit, "&Exit", false, false, {QKeySequence("Ctrl+Q")});

    QMenu* emulation = menuBar()->addMenu("&Emulation");
    add_command(emulation, id_resume, "&Resume");
    add_command(emulation, id_stop, "&Stop");
    add_command(emulation, id_pause, "&Pause", true, false,
                {QKeySequence(Qt::Key_P), QKeySequence(Qt::Key_Pause)});
    emulation->addSeparator();
    add_command(emulation, id_reset, "R&eset", false, false, {QKeySequence("Ctrl+R")});
    emulation->addSeparator();
    add_command(emulation, id_fast_forward, "&Fast Forward (hold Tab)", true, false,
                {QKeySequence("Shift+Tab")});
    QMenu* speed = emulation->addMenu("Fast Forward &Speed");
    for (const int times : {2, 3, 4}) {
        add_command(speed, id_speed_max + times, QString("%1x").arg(times), true);
    }
    add_command(speed, id_speed_max, "As Fast As Possible", true);
    QMenu* rewind = emulation->addMenu("Re&wind (hold Backspace)");
    auto* rewind_group = new QActionGroup(rewind);
    for (int item = 0; item < rewind_items; ++item) {
        const int seconds = rewind_lengths[item];
        const QString title = seconds == 0 ? "Off" : QString("%1 Seconds").arg(seconds);
        rewind_group->addAction(add_command(rewind, id_rewind_off + item, title, true));
    }
    add_command(emulation, id_pause_when_inactive, "Pause When &Inactive", true);
    emulation->addSeparator();
    add_command(emulation, id_accurate_machine, "&Accurate machine", true);
    model_menu_ = emulation->addMenu("&Model");
    add_command(model_menu_, id_model_auto, "Auto", true, true);
    add_command(model_menu_, id_model_auto + 1, "Game Boy", true);
    add_command(model_menu_, id_model_auto + 2, "Game Boy Color", true);

    QMenu* others = menuBar()->addMenu("&Others");
    add_command(others, id_debug, "&Debug");
    add_command(others, id_developer_tools, "Developer Tools...", false, false,
                {QKeySequence("Ctrl+Shift+D")});
    add_command(others, id_cheating, "&Cheating");
    add_command(others, id_cheat_codes, "Cheat Codes...");
    add_command(others, id_joypad, "&Joypad");
    others->addSeparator();
    QMenu* frameskip = others->addMenu("&Frameskip");
    for (int frames = 0; frames < 4; ++frames) {
        add_command(frameskip, id_frameskip_0 + frames, QString::number(frames), true, frames == 0);
    }
    add_command(others, id_full_throttle, "Full Trothle", true);
    QMenu* sound = others->addMenu("&Sound");
    add_command(sound, id_sound_enable, "&Sound enable", true);
    sound->addSeparator();
    for (int channel = 0; channel < 4; ++channel) {
        QAction* item = add_command(sound, id_channel_0 + channel,
                                    "CHANEL " + QString::number(channel), true, channel < 2);
        item->setEnabled(channel < 2);
    }
    sound->addSeparator();
    add_command(sound, id_accurate_sound, "&Accurate sound", true);
    add_command(others, id_timer_enable, "Timer enable", true, true);
    QMenu* timing = others->addMenu("Timing");
    add_command(timing, id_timing_1, "1", true, true);
    add_command(timing, id_timing_2, "2", true);

    QMenu* zoom_menu = menuBar()->addMenu("&Zoom");
    for (int factor = 1; factor <= 4; ++factor) {
        add_command(zoom_menu, id_zoom_1 + factor - 1, "X " + QString::number(factor), true,
                    factor == 2, {QKeySequence(QString("Ctrl+%1").arg(factor))});
    }
    zoom_menu->addSeparator();
    add_command(zoom_menu, id_full_screen, "&Full Screen", true, false,
                {QKeySequence(Qt::Key_F11), QKeySequence("Alt+Return")});
    zoom_menu->addSeparator();
    QMenu* palette = zoom_menu->addMenu("&Palette");
    auto* palette_group = new QActionGroup(palette);  // drawn as radio items
    for (int item = 0; item < palette_items; ++item) {
        const char* title = item == custom_palette_item ? "Custom..." : named_palettes[item].title;
        palette_group->addAction(add_command(palette, id_palette_first + item, title, true));
    }
    add_command(zoom_menu, id_frame_blending, "Frame Blending", true);
    add_command(zoom_menu, id_colour_correction, "Colour Correction", true);

    QMenu* help = menuBar()->addMenu("&Help");
    add_command(help, id_about, "&About");

    // Esc leaves full screen; it is no menu item, as the menu bar is hidden there.
    auto* leave_full_screen = new QAction(this);
    leave_full_screen->setShortcut(QKeySequence(Qt::Key_Escape));
    addAction(leave_full_screen);
    connect(leave_full_screen, &QAction::triggered, this, [this] { set_full_screen(false); });
}

// Slots 1-9 to load (F1-F9), each with the time it was saved and a small
// picture, and a submenu to save them (Shift+F1-F9).
void main_window_view::build_quick_state_menu(QMenu* menu) {
    for (int slot = 1; slot <= quick_state_slots; ++slot) {
        add_command(menu, id_quick_load_1 + slot - 1, slot_text(slot, {}), false, false,
                    {QKeySequence(Qt::Key_F1 + slot - 1)});
    }
    menu->addSeparator();
    QMenu* save = menu->addMenu("&Save to Slot");
    for (int slot = 1; slot <= quick_state_slots; ++slot) {
        add_command(save, id_quick_save_1 + slot - 1, QString("&%1").arg(slot), false, false,
                    {QKeySequence(QKeyCombination(Qt::ShiftModifier,
                                                  static_cast<Qt::Key>(Qt::Key_F1 + slot - 1)))});
    }
    connect(menu, &QMenu::aboutToShow, this, &main_window_view::show_quick_states);
}

void main_window_view::show_quick_states() {
    for (int slot = 1; slot <= quick_state_slots; ++slot) {
        const quick_slot state = quick_state_slot(slot);
        QAction* item = action(id_quick_load_1 + slot - 1);
        item->setText(slot_text(slot, state));
        item->setIcon(state.thumbnail.isNull() ? QIcon()
                                               : QIcon(QPixmap::fromImage(state.thumbnail)));
    }
}

// One item per recent cartridge, newest first, then "Clear".
void main_window_view::show_recent_cartridges() {
    recent_menu_->clear();
    const QStringList recent = recent_cartridges();
    for (int i = 0; i < recent.size(); ++i) {
        const QString path = recent[i];
        const QString name = QFileInfo(path).fileName().replace("&", "&&");
        QAction* item = recent_menu_->addAction(QString("&%1 %2").arg(i + 1).arg(name));
        item->setStatusTip(path);
        connect(item, &QAction::triggered, this,
                [this, path] { between_slices([path] { open_recent_cartridge(path); }); });
    }
    recent_menu_->addSeparator();
    QAction* clear = recent_menu_->addAction("Clear");
    clear->setEnabled(!recent.isEmpty());
    connect(clear, &QAction::triggered, this, [this] {
        clear_recent_cartridges();
        show_recent_cartridges();
    });
}

QAction* main_window_view::action(int id) const {
    const auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

void main_window_view::check_menu_item(int id, bool checked) {
    if (QAction* item = action(id)) {
        item->setChecked(checked);
    }
}

// Checks item `chosen` of a group of `count` consecutive command ids.
void main_window_view::check_one_of(int first_id, int count, int chosen) {
    for (int item = 0; item < count; ++item) {
        check_menu_item(first_id + item, item == chosen);
    }
}

void main_window_view::show_options(const run_options& options) {
    check_one_of(id_frameskip_0, 4, options.frame_skip);
    check_menu_item(id_full_throttle, options.full_throttle);
    check_menu_item(id_timer_enable, options.timer_enabled);
    check_one_of(id_timing_1, 2, options.timing - 1);
    check_one_of(id_zoom_1, 4, options.zoom - 1);
    check_one_of(id_palette_first, palette_items, palette_item_in_use());
    check_menu_item(id_sound_enable, options.sound_enabled);
    for (int channel = 0; channel < 4; ++channel) {
        check_menu_item(id_channel_0 + channel, options.channel_enabled[channel]);
    }
    check_menu_item(id_accurate_sound, options.accurate_sound);
    // The accurate machine always plays the accurate sound and keeps its own
    // timing; its model is chosen only for it.
    check_menu_item(id_accurate_machine, options.accurate_machine);
    check_one_of(id_model_auto, 3, static_cast<int>(options.model));
    model_menu_->menuAction()->setEnabled(options.accurate_machine);
    for (const int id : {id_accurate_sound, id_timer_enable, id_timing_1, id_timing_2}) {
        action(id)->setEnabled(!options.accurate_machine);
    }
    check_menu_item(id_fast_forward, options.fast_forward);
    check_one_of(id_speed_max, 5, options.fast_forward_speed);
    for (int item = 0; item < rewind_items; ++item) {
        check_menu_item(id_rewind_off + item, rewind_lengths[item] == rewind_length());
    }
    check_menu_item(id_pause, cartridge_loaded() && !emulating());
    check_menu_item(id_pause_when_inactive, pause_when_inactive());
    check_menu_item(id_full_screen, isFullScreen());
    check_menu_item(id_frame_blending, screen_->look().frame_blending);
    check_menu_item(id_colour_correction, screen_->look().colour_correction);
    for (const int id : cartridge_commands) {
        action(id)->setEnabled(cartridge_loaded());
    }
    quick_menu_->menuAction()->setEnabled(cartridge_loaded());
    for (int slot = 0; slot < quick_state_slots; ++slot) {
        action(id_quick_load_1 + slot)->setEnabled(cartridge_loaded());
        action(id_quick_save_1 + slot)->setEnabled(cartridge_loaded());
    }
}

}  // namespace tov
