// Zoom > Palette: the shades a monochrome game is shown in, at once and
// remembered; a colour cartridge keeps its colours, and states hold none.
#include <QApplication>
#include <QImage>
#include <QSettings>
#include <QTimer>
#include <array>

#include "memory/palettes.h"
#include "shade_steps.h"
#include "shell/command_ids.h"
#include "shell/palette_commands.h"
#include "shell/palette_dialog.h"
#include "shell/settings.h"
#include "shell_test_support.h"
#include "test_cartridge.h"
#include "video/frame.h"

namespace tov {
namespace {

class PaletteTest : public test::window_test {
protected:
    void SetUp() override {
        window_test::SetUp();
        ASSERT_TRUE(cartridge_.assemble(test::shade_steps_source));
    }
    void TearDown() override {
        main_window->command(id_palette_first);
        window_test::TearDown();
    }

    // Opens the cartridge with header byte 0143 `colour_flag` and lets it draw.
    void play(uint8_t colour_flag) {
        cartridge_.colour_flag(colour_flag);
        open_through_menu(cartridge_.write());
        run_slices();
    }

    static void run_slices() {
        for (int slice = 0; slice < 3; ++slice) {
            main_window->tick();
        }
    }

    test::test_cartridge cartridge_;
};

// The four shades as the window shows them.
std::array<QRgb, 4> shown_shades() {
    const QImage& picture = main_window->screen()->presented_frame();
    std::array<QRgb, 4> shades{};
    for (int shade = 0; shade < 4; ++shade) {
        shades[shade] = picture.pixel(test::shade_column(shade), 4);
    }
    return shades;
}

std::array<QRgb, 4> rgb_of(const shade_set& words) {
    std::array<QRgb, 4> colours{};
    for (int shade = 0; shade < 4; ++shade) {
        const int32_t word = words[shade];
        colours[shade] = qRgb(colour_level(word, 0), colour_level(word, 5), colour_level(word, 10));
    }
    return colours;
}

// The next "Custom..." dialog takes `colours` and OK, or Cancel when null.
void answer_custom_dialog(const std::array<QColor, 4>* colours) {
    QTimer::singleShot(0, [colours] {
        auto* dialog = qobject_cast<palette_dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        for (int shade = 0; colours && shade < 4; ++shade) {
            dialog->set_colour(shade, (*colours)[shade]);
        }
        colours ? dialog->accept() : dialog->reject();
    });
}

TEST_F(PaletteTest, TheChosenPaletteShowsAtOnceAndIsRemembered) {
    play(0x00);
    const std::array<QColor, 4> custom = {QColor(0xFFE0C0), QColor(0xC08040), QColor(0x804020),
                                          QColor(0x201000)};
    struct case_t {
        int item;
        const std::array<QColor, 4>* answer;  // the dialog's, for "Custom..."
        int shown_item;
        const char* key;
    };
    const case_t cases[] = {
        {1, nullptr, 1, "green"},
        {custom_palette_item, nullptr, 1, "green"},  // Cancel changes nothing
        {2, nullptr, 2, "pocket"},
        {3, nullptr, 3, "light"},
        {4, nullptr, 4, "contrast"},
        {custom_palette_item, &custom, custom_palette_item, "custom"},
        {0, nullptr, 0, "tov"},
    };
    const shade_set custom_shades = rgb_shades(0xFFE0C0, 0xC08040, 0x804020, 0x201000);
    for (const case_t& test : cases) {
        SCOPED_TRACE(test.key);
        if (test.item == custom_palette_item) {
            answer_custom_dialog(test.answer);
        }
        main_window->command(id_palette_first + test.item);
        const std::array<QRgb, 4> expected =
            rgb_of(test.shown_item == custom_palette_item ? custom_shades
                                                          : named_palettes[test.shown_item].shades);
        EXPECT_EQ(shown_shades(), expected) << "at once";
        run_slices();
        EXPECT_EQ(shown_shades(), expected) << "as the game runs on";
        EXPECT_TRUE(checked(id_palette_first + test.shown_item));
        EXPECT_EQ(saved_palette(), test.key);
    }
    EXPECT_EQ(saved_custom_palette(), custom);
    EXPECT_TRUE(messages.empty());
}

TEST_F(PaletteTest, AColourCartridgeKeepsItsColours) {
    play(0x80);
    const std::array<QRgb, 4> colours = shown_shades();
    main_window->command(id_palette_first + 1);
    EXPECT_EQ(shown_shades(), colours) << "at once";
    run_slices();
    EXPECT_EQ(shown_shades(), colours) << "as the game runs on";
}

TEST_F(PaletteTest, StatesHoldNoPalette) {
    play(0x00);
    main_window->command(id_stop);
    const std::string in_greys = state_bytes();
    main_window->command(id_palette_first + 1);
    EXPECT_EQ(state_bytes(), in_greys) << "the same under any palette";
    ASSERT_TRUE(load_state_bytes(in_greys).ok);
    main_window->command(id_resume);
    run_slices();
    EXPECT_EQ(shown_shades(), rgb_of(named_palettes[1].shades)) << "a loaded state keeps it";
}

// Settings written by hand, or damaged: the palette falls back to TOV Greys.
TEST_F(PaletteTest, SettingsThatNameNoPaletteGiveTovGreys) {
    play(0x00);
    struct case_t {
        const char* palette;
        QStringList custom;
    };
    const case_t cases[] = {
        {"purple", {}},
        {"custom", {"#ffffff", "#000000"}},
        {"custom", {"#ffffff", "#aaaaaa", "no colour", "#000000"}},
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(test.palette);
        main_window->command(id_palette_first + 1);  // so that the fall back shows
        QSettings file(settings_path(), QSettings::IniFormat);
        file.setValue("video/palette", test.palette);
        file.setValue("video/custom_palette", test.custom);
        file.sync();
        use_saved_palette();
        main_window->show_options(current_options());
        EXPECT_EQ(shown_shades(), rgb_of(named_palettes[0].shades));
        EXPECT_TRUE(checked(id_palette_first));
    }
}

}  // namespace
}  // namespace tov
