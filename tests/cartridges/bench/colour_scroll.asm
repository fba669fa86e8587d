; A colour scene for the benchmark: tiles in both VRAM banks, a background
; whose map attributes choose among eight colour palettes, the tile bank and
; the flips, a window, and 40 objects on the eight object palettes and both
; banks, moving every frame through OAM DMA. The background scrolls and the
; CPU halts between frames.

LCDC    equ $40
SCY     equ $42
SCX     equ $43
DMA     equ $46
WY      equ $4A
WX      equ $4B
VBK     equ $4F
BCPS    equ $68
BCPD    equ $69
OCPS    equ $6A
OCPD    equ $6B
IE      equ $FF

SHADOW  equ $C100
FRAME   equ $C000

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
        call copy_tiles
        ld a, 1
        ldh (VBK), a
        ld hl, $8010            ; and, bit planes swapped, in bank 1
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

        ld hl, $9800            ; tiles: (row + column) % 4 + 1
        ld c, 0
.row:   ld b, 0
.column:
        ld a, c
        add a, b
        and 3
        inc a
        ld (hl+), a
        inc b
        ld a, b
        cp 32
        jr nz, .column
        inc c
        ld a, c
        cp 32
        jr nz, .row

        ld hl, $9C00            ; the window: tile 4
        ld bc, 32 * 4
.window:
        ld a, 4
        ld (hl+), a
        dec bc
        ld a, b
        or c
        jr nz, .window

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

        ld hl, SHADOW           ; 40 objects, palette n % 8, bank from bit 3
        ld c, 0
.object:
        ld a, c
        ld b, a
        add a, a
        add a, b
        ld b, a
        add a, a
        add a, a
        add a, a
        add a, b
        and $7F
        add a, 16
        ld (hl+), a
        ld a, c
        ld b, a
        add a, a
        add a, a
        add a, a
        add a, b
        add a, a
        add a, a
        add a, b
        add a, 8
        ld (hl+), a
        ld a, 5
        ld (hl+), a
        ld a, c
        ld (hl+), a
        inc c
        ld a, c
        cp 40
        jr nz, .object

        ld a, 112
        ldh (WY), a
        ld a, 7
        ldh (WX), a
        ld a, $F3
        ldh (LCDC), a
        ld a, $01
        ldh (IE), a
        ei

frame:  halt
        ld a, SHADOW >> 8
        ldh (DMA), a
        ldh a, (SCX)
        inc a
        ldh (SCX), a
        ld a, (FRAME)
        inc a
        ld (FRAME), a
        and 1
        jr z, .moved
        ldh a, (SCY)
        inc a
        ldh (SCY), a
.moved: ld hl, SHADOW + 1
        ld b, 40
.move:  inc (hl)
        inc hl
        inc hl
        inc hl
        inc hl
        dec b
        jr nz, .move
        jr frame

; Copies the five tiles to HL.
copy_tiles:
        ld de, tiles
        ld b, tiles_end - tiles
.copy:  ld a, (de)
        ld (hl+), a
        inc de
        dec b
        jr nz, .copy
        ret

tiles:  db $FF, $00, $81, $00, $81, $00, $81, $00, $81, $00, $81, $00, $81, $00, $FF, $00
        db $00, $FF, $7E, $81, $42, $81, $5A, $A5, $5A, $A5, $42, $81, $7E, $81, $00, $FF
        db $AA, $55, $55, $AA, $AA, $55, $55, $AA, $AA, $55, $55, $AA, $AA, $55, $55, $AA
        db $F0, $0F, $F0, $0F, $F0, $0F, $F0, $0F, $0F, $F0, $0F, $F0, $0F, $F0, $0F, $F0
        db $3C, $3C, $42, $7E, $81, $FF, $A5, $DB, $81, $FF, $99, $E7, $42, $7E, $3C, $3C
tiles_end:
