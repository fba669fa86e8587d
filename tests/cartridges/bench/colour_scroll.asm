; A colour scene for the benchmark: see scene.asm, which follows this file.
; The tiles are in both VRAM banks, the background's map attributes choose
; among eight colour palettes, the tile bank and the flips, and the objects
; use the eight object palettes and both banks.

LCDC    equ $40
VBK     equ $4F
BCPS    equ $68
BCPD    equ $69
OCPS    equ $6A
OCPD    equ $6B

        org $40
        reti

        org $100
        jp start
        org $143
        db $80                  ; colour

        org $150
start:  di
        ld sp, $DFFE
        xor a
        ldh (LCDC), a

        ld hl, $8010            ; tiles 1-5 in bank 0
        ld de, tiles
        ld b, tiles_end - tiles
        call copy
        ld a, 1
        ldh (VBK), a
        ld hl, $8010            ; and, inverted, in bank 1
        ld de, tiles
        ld b, tiles_end - tiles
.bank1: ld a, (de)
        cpl
        ld (hl+), a
        inc de
        dec b
        jr nz, .bank1

        ld hl, $9800            ; attributes: palette (row + column) % 8, odd
        ld c, 0                 ; columns from bank 1, flips from the row
.attribute_row:
        ld b, 0
.attribute:
        ld a, c
        add a, b
        and 7
        ld d, a
        ld a, b
        and 1
        rlca
        rlca
        rlca                    ; bank bit 3
        or d
        ld d, a
        ld a, c
        and 3
        swap a
        rlca                    ; flips, bits 5-6
        or d
        ld (hl+), a
        inc b
        ld a, b
        cp 32
        jr nz, .attribute
        inc c
        ld a, c
        cp 32
        jr nz, .attribute_row
        xor a
        ldh (VBK), a

        ld a, $80               ; eight background palettes, auto-increment
        ldh (BCPS), a
        ld b, 64
        ld c, 0
.bg_palette:
        ld a, c
        ldh (BCPD), a
        add a, 37
        ld c, a
        dec b
        jr nz, .bg_palette
        ld a, $80               ; and eight object palettes
        ldh (OCPS), a
        ld b, 64
.obj_palette:
        ld a, c
        ldh (OCPD), a
        add a, 53
        ld c, a
        dec b
        jr nz, .obj_palette
        jp run_scene

; Palette n % 8 and the bank from bit 3: object n's own number.
object_attributes:
        ret
