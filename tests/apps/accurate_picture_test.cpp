// The accurate machine's picture when a register is written during mode 3:
// each cartridge writes one register at a known dot of every line, and the
// line must change from the pixel the console's rules, written out below,
// say. And drawing a line in parts must draw what drawing it whole does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "accurate/video/line_drawing.h"
#include "headless_run.h"

namespace tov {
namespace {

// With no objects and SCX 0 pixel x goes out, as a write sees it, at dot
// 99 + x; on the monochrome model the pixel out as BGP is written takes the
// old and new values ORed (E4 | 00 shows colour 3 black), and LCDC bit 0
// reaches the pixel a dot later than BGP. A background tile is fetched 8
// dots before its first pixel, tile t (columns 8t-8t+7) at dot 91 + 8t.
int first_pixel_out_at_or_after(int dot) {
    return std::max(0, dot - 98);
}

bool tile_fetched_before(int tile, int dot) {
    return 91 + 8 * tile < dot;
}

constexpr uint32_t white = 0xFFFFFF;
constexpr uint32_t black = 0x000000;

// The cartridge: tile 1 is colour 3, the background map shows tile 1 (or,
// with stripes, tiles 1 and 0 in turn from map column 0), the window's map
// tile 0, BGP E4, the window off screen (WX 167). On every line the mode 2
// interrupt writes `after` to register FF00 + `reg` after `nops` NOPs, that
// is 44 + 4 x nops dots into the line (the interrupt 20, the JP 16, LD (C),A
// 8), and puts `before` back in mode 0.
std::string mid_line_source(int reg, int before, int after, int nops, bool stripes) {
    const auto hex = [](int value) {
        char text[8];
        std::snprintf(text, sizeof text, "$%02X", value);
        return std::string(text);
    };
    std::string source = R"(
        org $48
        jp stat_handler
        org $100
        jp start
        org $150
start:  xor a
        ldh ($40), a
        ld hl, $8010
        ld b, 16
        ld a, $FF
tile:   ld (hl+), a
        dec b
        jr nz, tile
        ld hl, $9800
map:
)";
    source += stripes ? "        ld a, l\n        cpl\n        and 1\n" : "        ld a, 1\n";
    source += "        ld (hl+), a\n        ld a, h\n        cp $9C\n        jr nz, map\n";
    source += "        ld a, $E4\n        ldh ($47), a\n        xor a\n        ldh ($42), a\n";
    source +=
        "        ldh ($43), a\n        ldh ($4A), a\n        ld a, 167\n        ldh ($4B), a\n";
    source += "        ld c, " + hex(reg) + "\n        ld a, " + hex(before) + "\n";
    source += "        ld (c), a\n        ld a, $20\n        ldh ($41), a\n        ld a, 2\n";
    source += "        ldh ($FF), a\n        ld a, $F1\n        ldh ($40), a\n        ei\n";
    source += "wait:   ld a, " + hex(after) + "\n        halt\n        jr wait\nstat_handler:\n";
    for (int k = 0; k < nops; ++k) {
        source += "        nop\n";
    }
    source += "        ld (c), a\n";
    source += ".blank: ldh a, ($41)\n        and 2\n        jr nz, .blank\n";
    source += "        ld a, " + hex(before) + "\n        ld (c), a\n        reti\n";
    return source;
}

struct mid_line_case {
    const char* what;
    int reg, before, after, nops;
    bool stripes;
    uint32_t (*expected)(int x, int dot);  // line 72's pixel x
};

void PrintTo(const mid_line_case& test, std::ostream* out) {
    *out << test.what;
}

// The stripes: map column k shows tile 1 (black) when k is even.
uint32_t stripe(int map_column) {
    return map_column % 2 == 0 ? black : white;
}

const mid_line_case cases[] = {
    // A palette is applied as each pixel goes out.
    {"BGP early", 0x47, 0xE4, 0x00, 20, false,
     [](int x, int dot) { return x < first_pixel_out_at_or_after(dot) ? black : white; }},
    {"BGP late", 0x47, 0xE4, 0x00, 40, false,
     [](int x, int dot) { return x < first_pixel_out_at_or_after(dot) ? black : white; }},
    // So is LCDC bit 0: the monochrome background goes blank.
    {"LCDC bit 0", 0x40, 0xF1, 0xF0, 30, false,
     [](int x, int dot) { return x < first_pixel_out_at_or_after(dot) ? black : white; }},
    // SCX's tile column is read as each tile is fetched.
    {"SCX", 0x43, 0x00, 0x08, 25, true,
     [](int x, int dot) { return stripe(x / 8 + (tile_fetched_before(x / 8, dot) ? 0 : 1)); }},
    // So is LCDC bit 4: tile 1 of 8800 addressing (9010) is colour 0.
    {"LCDC bit 4", 0x40, 0xF1, 0xE1, 25, false,
     [](int x, int dot) { return tile_fetched_before(x / 8, dot) ? black : white; }},
    // The window starts at WX - 7 when the fetcher has not passed it yet.
    {"WX ahead", 0x4B, 167, 87, 20, false,
     [](int x, int dot) { return x >= 80 && !tile_fetched_before(10, dot) ? white : black; }},
    {"WX passed", 0x4B, 167, 87, 35, false,
     [](int x, int dot) { return x >= 80 && !tile_fetched_before(10, dot) ? white : black; }},
};

class MidLineWrite : public testing::TestWithParam<mid_line_case> {};

TEST_P(MidLineWrite, ChangesTheLineFromThePixelTheRulesSay) {
    const mid_line_case& test = GetParam();
    const test::assembled_cartridge cartridge(
        mid_line_source(test.reg, test.before, test.after, test.nops, test.stripes));
    const std::string shot = test::temp_path(".png");
    ASSERT_EQ(
        test::run({cartridge.path, "--machine", "accurate", "--frames", "3", "--screenshot", shot})
            .code,
        0);
    const test::rgb_picture picture = test::read_png(shot);
    ASSERT_EQ(picture.width, 160);
    const int dot = 44 + 4 * test.nops;
    std::string line;
    std::string expected;
    for (int x = 0; x < 160; ++x) {
        line += picture.at(x, 72) == black ? '#' : '.';
        expected += test.expected(x, dot) == black ? '#' : '.';
    }
    EXPECT_EQ(line, expected) << "written at dot " << dot;
    std::filesystem::remove(shot);
}

INSTANTIATE_TEST_SUITE_P(Accurate, MidLineWrite, testing::ValuesIn(cases),
                         [](const testing::TestParamInfo<mid_line_case>& info) {
                             std::string name = info.param.what;
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name;
                         });

// The colour model's HBlank DMA of one block, as HDMA5 reads back (sent
// through the serial port) and as video RAM then holds it: started with the
// LCD off the block comes at once; started in mode 2 it waits for the line's
// horizontal blank.
TEST(AccuratePicture, HblankDmaCopiesItsBlockWhenTheConsoleDoes) {
    struct case_t {
        const char* what;
        const char* prepare;  // the LCD as the transfer starts
        std::string sent;     // HDMA5 at once, then a line later, then VRAM's first byte
    };
    const case_t cases[] = {
        {"LCD off", "xor a\n ldh ($40), a\n", {'\xFF', '\xFF', '\x5A'}},
        {"mode 2",
         "ld a, $91\n ldh ($40), a\n.mode2: ldh a, ($41)\n and 3\n cp 2\n jr nz, .mode2\n",
         {'\x00', '\xFF', '\x5A'}},
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(test.what);
        const std::string source = std::string(R"(
            org $143
            db $80
            org $100
            jp start
            org $150
)") + test::source_of("serial_send.asm") +
                                   R"(
start:      xor a
            ldh ($40), a
            ld a, $5A
            ld ($C000), a
            ld a, $C0
            ldh ($51), a
            xor a
            ldh ($52), a
            ld a, $80
            ldh ($53), a
            xor a
            ldh ($54), a
)" + test.prepare + R"(
            ld a, $80
            ldh ($55), a
            ldh a, ($55)
            ld b, a
            ld c, 200
.wait:      dec c
            jr nz, .wait
            ldh a, ($55)
            ld d, a
            xor a
            ldh ($40), a
            ld a, b
            call send
            ld a, d
            call send
            ld a, ($8000)
            call send
done:       jr done
)";
        const test::assembled_cartridge cartridge(source);
        EXPECT_EQ(test::serial_sent(cartridge.path, 10), test.sent);
    }
}

// Every line drawn a pixel at a time, as if a register were written before
// each, against every line drawn whole.
TEST(AccuratePicture, DrawingInPartsDrawsTheSame) {
    const test::assembled_cartridge mono(test::source_of("bench/mono_scroll.asm") +
                                         test::source_of("bench/scene.asm"));
    const test::assembled_cartridge colour(test::source_of("bench/colour_scroll.asm") +
                                           test::source_of("bench/scene.asm"));
    std::vector<std::vector<std::string>> cartridges = {
        {mono.path, "--frames", "30"},
        {colour.path, "--frames", "30"},
    };
    const std::filesystem::path acid2 =
        std::filesystem::path(TOV_SOURCE_DIR) / ".." / "shared" / "roms" / "acid2";
    for (const char* file : {"dmg-acid2.gb", "cgb-acid2.gbc"}) {
        if (std::filesystem::exists(acid2 / file)) {
            cartridges.push_back({(acid2 / file).string(), "--frames", "30"});
            cartridges.push_back({(acid2 / file).string(), "--frames", "30", "--model", "cgb"});
        }
    }
    for (std::vector<std::string> arguments : cartridges) {
        SCOPED_TRACE(arguments.front());
        arguments.insert(arguments.end(), {"--machine", "accurate", "--screenshot"});
        std::vector<test::rgb_picture> pictures;
        for (const bool parts : {false, true}) {
            draw_in_single_pixels = parts;
            const std::string shot = test::temp_path(".png");
            arguments.push_back(shot);
            EXPECT_EQ(test::run(arguments).code, 0);
            arguments.pop_back();
            pictures.push_back(test::read_png(shot));
            std::filesystem::remove(shot);
        }
        draw_in_single_pixels = false;
        EXPECT_EQ(pictures[0].pixels, pictures[1].pixels);
    }
}

}  // namespace
}  // namespace tov
