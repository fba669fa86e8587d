// A cartridge that shows colours 0-3 in the first four tiles of the top
// row, BGP giving colour n shade n: on a monochrome cartridge pixel
// (shade_column(n), 4) of the picture is shade n.
#pragma once

namespace tov::test {

constexpr const char* shade_steps_source = R"(
        org $100
        xor a
        ldh ($40), a            ; LCD off while drawing
        ld a, $E4
        ldh ($47), a
        ld hl, $8010            ; tiles 1-3, each in its colour
        ld de, tiles
        ld b, 48
.copy:  ld a, (de)
        ld (hl+), a
        inc de
        dec b
        jr nz, .copy
        ld hl, $9801            ; the map's top row: tiles 0, 1, 2, 3
        ld a, 1
        ld (hl+), a
        inc a
        ld (hl+), a
        inc a
        ld (hl), a
        ld a, $91
        ldh ($40), a
done:   jr done
tiles:  db $FF, $00, $FF, $00, $FF, $00, $FF, $00   ; colour 1: low bits only
        db $FF, $00, $FF, $00, $FF, $00, $FF, $00
        db $00, $FF, $00, $FF, $00, $FF, $00, $FF   ; colour 2: high bits only
        db $00, $FF, $00, $FF, $00, $FF, $00, $FF
        ds 16, $FF                                  ; colour 3
)";

constexpr int shade_column(int shade) {
    return shade * 8 + 4;
}

}  // namespace tov::test
