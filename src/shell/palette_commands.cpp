#include "shell/palette_commands.h"

#include <algorithm>

#include "session/palette.h"
#include "shell/main_window.h"
#include "shell/palette_dialog.h"
#include "shell/settings.h"
#include "shell/start_up.h"

namespace tov {

namespace {

constexpr const char* custom_key = "custom";

QColor colour_of_word(int32_t word) {
    return QColor(colour_level(word, 0), colour_level(word, 5), colour_level(word, 10));
}

// The colours of "Custom...": those kept, or else TOV Greys'.
std::array<QColor, 4> custom_colours() {
    if (const std::optional<std::array<QColor, 4>> kept = saved_custom_palette()) {
        return *kept;
    }
    std::array<QColor, 4> greys;
    for (int shade = 0; shade < 4; ++shade) {
        greys[shade] = colour_of_word(named_palettes[0].shades[shade]);
    }
    return greys;
}

shade_set shades_of(const std::array<QColor, 4>& colours) {
    shade_set shades;
    for (int shade = 0; shade < 4; ++shade) {
        shades[shade] = colour_word(colours[shade].rgb() & 0xFFFFFF);
    }
    return shades;
}

// The dialog, with the emulation standing still; OK keeps its colours.
bool ask_custom_colours() {
    bool accepted = false;
    run_dialog([&] {
        palette_dialog dialog(main_window, custom_colours());
        accepted = dialog.exec() == QDialog::Accepted;
        if (accepted) {
            save_custom_palette(dialog.colours());
        }
    });
    return accepted;
}

}  // namespace

int palette_item_in_use() {
    const QString key = saved_palette();
    if (key == custom_key) {
        return saved_custom_palette() ? custom_palette_item : 0;
    }
    return std::max(0, palette_index(key.toStdString()));
}

void choose_palette(int item) {
    if (item < 0 || item >= palette_items) {
        return;
    }
    if (item == custom_palette_item && !ask_custom_colours()) {
        return;
    }
    save_palette(item == custom_palette_item ? custom_key : named_palettes[item].key);
    use_saved_palette();
}

void use_saved_palette() {
    const int item = palette_item_in_use();
    // The recoloured frame is shown again: blended, it would keep half the
    // old shades.
    main_window->screen()->forget_previous_frame();
    set_palette(item == custom_palette_item ? shades_of(custom_colours())
                                            : named_palettes[item].shades);
}

}  // namespace tov
