// What the window remembers between runs, in Qt's settings store: the file
// tov/tov.conf (INI) in the user's configuration folder ($XDG_CONFIG_HOME,
// ~/.config by default). The Others menu's options are not kept, but for the
// choice of sound model: each run starts with them as the program always
// has; the key mapping stays in TOV.cfg, but for the extra controls' keys
// and the turbo rate, kept here. The machine and its model are kept,
// and so are the palette of monochrome games and the look of the picture.
#pragma once

#include <QColor>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

#include "session/session.h"

namespace tov {

// The settings file.
QString settings_path();

int saved_zoom();  // 2 when none was saved
void save_zoom(int factor);

std::optional<QPoint> saved_window_place();
void save_window_place(const QPoint& corner);

// The folder a file dialog last chose a file in ("cartridges" or "states"),
// or an empty text.
QString last_folder(const QString& dialog);
void remember_folder(const QString& dialog, const QString& chosen_file);

// Emulation > "Pause When Inactive" (off until chosen).
bool pause_when_inactive();
void save_pause_when_inactive(bool on);

// Others > Sound > "Accurate sound" (off until chosen).
bool saved_accurate_sound();
void save_accurate_sound(bool on);

// Emulation > "Accurate machine" (off until chosen) and "Model" (Auto until
// chosen).
bool saved_accurate_machine();
void save_accurate_machine(bool on);
model_choice saved_model();
void save_model(model_choice model);

// Zoom > "Palette": the key of the palette chosen ("tov" until one is),
// and the four colours of "Custom...", lightest first: none unless exactly
// four colours were kept.
QString saved_palette();
void save_palette(const QString& key);
std::optional<std::array<QColor, 4>> saved_custom_palette();
void save_custom_palette(const std::array<QColor, 4>& colours);

// The seconds of play rewind keeps, 0-60 (0: off); 60 when none was kept.
int saved_rewind_seconds();
void save_rewind_seconds(int seconds);

// Zoom > "Frame Blending" and "Colour Correction" (off until chosen).
bool saved_frame_blending();
void save_frame_blending(bool on);
bool saved_colour_correction();
void save_colour_correction(bool on);

// The fast-forward speed chosen last: 2-4, or 0 for as fast as possible.
int saved_fast_forward_speed();
void save_fast_forward_speed(int speed);

// The game controller's button for each console button, by SDL's names
// ("" for none), in joypad order, then for Turbo A, Turbo B and Rewind;
// empty when none were saved (earlier runs kept only the first eight).
QStringList saved_controller_buttons();
void save_controller_buttons(const QStringList& names);

// The keys of Turbo A, Turbo B and Rewind, by their names ("KEY_UP", "T",
// "Backspace"; "None" for none), in extra_control order; "" for one not kept.
QStringList saved_extra_key_names();
void save_extra_key_names(const QStringList& names);

// The turbo presses per second: 1-30, 15 when none or another was kept.
int saved_turbo_rate();
void save_turbo_rate(int rate);

// The cartridges opened last, newest first, at most recent_limit.
constexpr int recent_limit = 10;
QStringList recent_cartridges();
void add_recent_cartridge(const QString& path);
void remove_recent_cartridge(const QString& path);
void clear_recent_cartridges();

// The developer tools' "Stop at LD B,B", on unless switched off.
bool saved_stop_at_ld_b_b();
void save_stop_at_ld_b_b(bool on);

}  // namespace tov
