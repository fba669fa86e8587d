// Zoom > "Frame Blending" and "Colour Correction": off until chosen, they
// change the picture shown but never the machine's own, and are remembered.
#include <QImage>
#include <QSettings>
#include <utility>

#include "memory/palettes.h"
#include "shell/command_ids.h"
#include "shell/settings.h"
#include "shell_test_support.h"
#include "test_cartridge.h"

namespace tov {
namespace {

// BGP's shades reversed at every vertical blank: the picture flickers.
constexpr const char* flicker_source = R"(
        org $100
        ld b, $E4
frame:  ldh a, ($44)
        cp 144
        jr nz, frame
        ld a, b
        cpl
        ld b, a
        ldh ($47), a
leave:  ldh a, ($44)
        cp 144
        jr z, leave
        jr frame
)";

// A colour cartridge's screen all in background colour 0, pure red (001F).
constexpr const char* red_source = R"(
        org $100
        ld a, $80
        ldh ($68), a
        ld a, $1F
        ldh ($69), a
        xor a
        ldh ($69), a
done:   jr done
)";

QRgb rgb_of(int32_t word) {
    return qRgb(colour_level(word, 0), colour_level(word, 5), colour_level(word, 10));
}

// The middle pixel of the machine's picture and of the one shown, after whole
// frames, so that the frame buffer holds the frame last shown.
std::pair<QRgb, QRgb> middle_pixels() {
    run_frames(3, [](uint64_t) {});
    const QImage machines(finished_picture(), screen_width, screen_height, frame_row_bytes,
                          QImage::Format_BGR888);
    return {machines.pixel(80, 72), main_window->screen()->presented_frame().pixel(80, 72)};
}

using LookTest = test::window_test;

TEST_F(LookTest, TheItemsChangeOnlyThePictureShown) {
    EXPECT_FALSE(checked(id_frame_blending) || checked(id_colour_correction));
    const QRgb white = rgb_of(named_palettes[0].shades[0]);
    const QRgb black = rgb_of(named_palettes[0].shades[3]);
    struct case_t {
        const char* source;
        uint8_t colour_flag;
        int id;
        bool changes;
    };
    const case_t cases[] = {
        {flicker_source, 0x00, id_frame_blending, true},
        {red_source, 0x80, id_colour_correction, true},
        {red_source, 0x00, id_colour_correction, false},  // a monochrome game
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(testing::Message() << test.id << " on header flag " << int{test.colour_flag});
        test::test_cartridge cartridge;
        ASSERT_TRUE(cartridge.assemble(test.source));
        cartridge.colour_flag(test.colour_flag);
        open_through_menu(cartridge.write());
        const auto [machines_off, shown_off] = middle_pixels();
        EXPECT_EQ(shown_off, machines_off);
        main_window->command(test.id);
        EXPECT_TRUE(checked(test.id));
        const auto [machines, shown] = middle_pixels();
        EXPECT_EQ(shown != machines, test.changes);
        const bool flickers = test.source == flicker_source;
        EXPECT_TRUE(flickers ? machines == white || machines == black : machines == machines_off);
        main_window->command(test.id);
    }
    main_window->command(id_frame_blending);
    main_window->command(id_colour_correction);
    EXPECT_TRUE(saved_frame_blending() && saved_colour_correction());
    QSettings(settings_path(), QSettings::IniFormat).setValue("video/frame_blending", "yes");
    EXPECT_FALSE(saved_frame_blending()) << "a stored value that is no switch";
    main_window->command(id_frame_blending);
    main_window->command(id_colour_correction);
}

}  // namespace
}  // namespace tov
