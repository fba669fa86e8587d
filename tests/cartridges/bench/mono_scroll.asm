; A monochrome scene for the benchmark, drawn as a game draws: a patterned
; background that scrolls diagonally, a status-bar window over the bottom
; 32 lines, and 40 objects (flipped, on both palettes, some behind the
; background) that move every frame through OAM DMA from a shadow copy. The
; CPU halts between frames.

LCDC    equ $40
SCY     equ $42
SCX     equ $43
DMA     equ $46
BGP     equ $47
OBP0    equ $48
OBP1    equ $49
WY      equ $4A
WX      equ $4B
IE      equ $FF

SHADOW  equ $C100               ; the objects, copied to OAM every frame
FRAME   equ $C000

        org $40
        reti                    ; VBlank: it only wakes the main loop

        org $100
        jp start
        org $143
        db $00                  ; monochrome

        org $150
start:  di
        ld sp, $DFFE
        xor a
        ldh (LCDC), a

        ld hl, $8010            ; tiles 1-5
        ld de, tiles
        ld b, tiles_end - tiles
.tiles: ld a, (de)
        ld (hl+), a
        inc de
        dec b
        jr nz, .tiles

        ld hl, $9800            ; background: tile (row + column) % 4 + 1
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

        ld hl, $9C00            ; the window: solid tile 4
        ld bc, 32 * 4
.window:
        ld a, 4
        ld (hl+), a
        dec bc
        ld a, b
        or c
        jr nz, .window

        ld hl, SHADOW           ; 40 objects spread over the screen
        ld c, 0
.object:
        ld a, c                 ; Y = 16 + (n * 27) % 128
        ld b, a
        add a, a
        add a, b
        ld b, a
        add a, a
        add a, a
        add a, a
        add a, b                ; n * 27 (mod 256)
        and $7F
        add a, 16
        ld (hl+), a
        ld a, c                 ; X = 8 + n * 37 (mod 256)
        ld b, a
        add a, a
        add a, a
        add a, a
        add a, b
        add a, a
        add a, a
        add a, b                ; n * 37
        add a, 8
        ld (hl+), a
        ld a, 5                 ; tile 5
        ld (hl+), a
        ld a, c                 ; flips, palette and priority from n
        swap a
        and $F0
        ld (hl+), a
        inc c
        ld a, c
        cp 40
        jr nz, .object

        ld a, $E4
        ldh (BGP), a
        ld a, $D2
        ldh (OBP0), a
        ld a, $1B
        ldh (OBP1), a
        ld a, 112
        ldh (WY), a
        ld a, 7
        ldh (WX), a
        ld a, $F3               ; LCD, window at 9C00, tiles at 8000, objects, background
        ldh (LCDC), a
        ld a, $01
        ldh (IE), a
        ei

frame:  halt
        ld a, SHADOW >> 8       ; the objects as the last frame left them
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
.moved: ld hl, SHADOW + 1       ; every object one pixel to the right
        ld b, 40
.move:  inc (hl)
        inc hl
        inc hl
        inc hl
        inc hl
        dec b
        jr nz, .move
        jr frame

tiles:  db $FF, $00, $81, $00, $81, $00, $81, $00, $81, $00, $81, $00, $81, $00, $FF, $00
        db $00, $FF, $7E, $81, $42, $81, $5A, $A5, $5A, $A5, $42, $81, $7E, $81, $00, $FF
        db $AA, $55, $55, $AA, $AA, $55, $55, $AA, $AA, $55, $55, $AA, $AA, $55, $55, $AA
        db $FF, $FF, $FF, $FF, $FF, $FF, $FF, $FF, $FF, $FF, $FF, $FF, $FF, $FF, $FF, $FF
        db $3C, $3C, $42, $7E, $81, $FF, $A5, $DB, $81, $FF, $99, $E7, $42, $7E, $3C, $3C
tiles_end:
