#include "shell/settings.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace tov {

namespace {

QSettings store() {
    return QSettings(settings_path(), QSettings::IniFormat);
}

constexpr const char* extra_key_settings[extra_control_count] = {
    "joypad/turbo_a_key", "joypad/turbo_b_key", "joypad/rewind_key"};

// An on-off setting: anything stored but "true" counts as off.
bool saved_switch(const QString& key) {
    return store().value(key, false).toString() == "true";
}

// A number in low-high; anything else stored, or nothing, gives `fallback`.
int saved_number(const QString& key, int low, int high, int fallback) {
    bool number = false;
    const int value = store().value(key, fallback).toInt(&number);
    return number && value >= low && value <= high ? value : fallback;
}

}  // namespace

QString settings_path() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           "/tov/tov.conf";
}

int saved_zoom() {
    return saved_number("window/zoom", 1, 4, 2);
}

void save_zoom(int factor) {
    store().setValue("window/zoom", factor);
}

std::optional<QPoint> saved_window_place() {
    const QVariant place = store().value("window/place");
    if (!place.isValid()) {
        return std::nullopt;
    }
    return place.toPoint();
}

// Called on every exit: a place kept already costs no write, whose syncs can
// hold the exit up on a busy disk.
void save_window_place(const QPoint& corner) {
    if (saved_window_place() != corner) {
        store().setValue("window/place", corner);
    }
}

bool pause_when_inactive() {
    return store().value("emulation/pause_when_inactive", false).toBool();
}

void save_pause_when_inactive(bool on) {
    store().setValue("emulation/pause_when_inactive", on);
}

bool saved_accurate_sound() {
    return store().value("sound/accurate", false).toBool();
}

void save_accurate_sound(bool on) {
    store().setValue("sound/accurate", on);
}

bool saved_accurate_machine() {
    return store().value("emulation/accurate_machine", false).toBool();
}

void save_accurate_machine(bool on) {
    store().setValue("emulation/accurate_machine", on);
}

// Kept as "auto", "dmg" or "cgb", as tov-headless --model names them.
model_choice saved_model() {
    const QString name = store().value("emulation/model", "auto").toString();
    if (name == "dmg") {
        return model_choice::monochrome;
    }
    return name == "cgb" ? model_choice::colour : model_choice::automatic;
}

void save_model(model_choice model) {
    const char* name = model == model_choice::monochrome ? "dmg"
                       : model == model_choice::colour   ? "cgb"
                                                         : "auto";
    store().setValue("emulation/model", name);
}

QString saved_palette() {
    return store().value("video/palette", "tov").toString();
}

void save_palette(const QString& key) {
    store().setValue("video/palette", key);
}

// Kept as names such as "#9bbc0f".
std::optional<std::array<QColor, 4>> saved_custom_palette() {
    const QStringList names = store().value("video/custom_palette").toStringList();
    if (names.size() != 4) {
        return std::nullopt;
    }
    std::array<QColor, 4> colours;
    for (int shade = 0; shade < 4; ++shade) {
        colours[shade] = QColor::fromString(names[shade]);
        if (!colours[shade].isValid()) {
            return std::nullopt;
        }
    }
    return colours;
}

void save_custom_palette(const std::array<QColor, 4>& colours) {
    QStringList names;
    for (const QColor& colour : colours) {
        names << colour.name();
    }
    store().setValue("video/custom_palette", names);
}

bool saved_frame_blending() {
    return saved_switch("video/frame_blending");
}

void save_frame_blending(bool on) {
    store().setValue("video/frame_blending", on);
}

bool saved_colour_correction() {
    return saved_switch("video/colour_correction");
}

void save_colour_correction(bool on) {
    store().setValue("video/colour_correction", on);
}

int saved_fast_forward_speed() {
    return saved_number("emulation/fast_forward_speed", 2, 4, 0);
}

void save_fast_forward_speed(int speed) {
    store().setValue("emulation/fast_forward_speed", speed);
}

int saved_rewind_seconds() {
    return saved_number("emulation/rewind_seconds", 0, 60, 60);
}

void save_rewind_seconds(int seconds) {
    store().setValue("emulation/rewind_seconds", seconds);
}

QStringList saved_controller_buttons() {
    return store().value("controller/buttons").toStringList();
}

void save_controller_buttons(const QStringList& names) {
    store().setValue("controller/buttons", names);
}

QStringList saved_extra_key_names() {
    QStringList names;
    for (const char* key : extra_key_settings) {
        names << store().value(key).toString();
    }
    return names;
}

void save_extra_key_names(const QStringList& names) {
    for (int control = 0; control < extra_control_count && control < names.size(); ++control) {
        store().setValue(extra_key_settings[control], names[control]);
    }
}

int saved_turbo_rate() {
    return saved_number("joypad/turbo_rate", lowest_turbo_rate, highest_turbo_rate,
                        default_turbo_rate);
}

void save_turbo_rate(int rate) {
    store().setValue("joypad/turbo_rate", rate);
}

QString last_folder(const QString& dialog) {
    return store().value("folders/" + dialog).toString();
}

void remember_folder(const QString& dialog, const QString& chosen_file) {
    store().setValue("folders/" + dialog, QFileInfo(chosen_file).absolutePath());
}

QStringList recent_cartridges() {
    return store().value("recent/cartridges").toStringList().mid(0, recent_limit);
}

void add_recent_cartridge(const QString& path) {
    QStringList recent = recent_cartridges();
    recent.removeAll(path);
    recent.prepend(path);
    store().setValue("recent/cartridges", recent.mid(0, recent_limit));
}

void remove_recent_cartridge(const QString& path) {
    QStringList recent = recent_cartridges();
    recent.removeAll(path);
    store().setValue("recent/cartridges", recent);
}

void clear_recent_cartridges() {
    store().remove("recent/cartridges");
}

bool saved_stop_at_ld_b_b() {
    return store().value("developer/stop_at_ld_b_b", "true").toString() == "true";
}

void save_stop_at_ld_b_b(bool on) {
    store().setValue("developer/stop_at_ld_b_b", on);
}

}  // namespace tov
