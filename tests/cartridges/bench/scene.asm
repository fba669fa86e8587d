; The code the benchmark scenes share, assembled after each scene's own file.
; A scene sets up its tiles and palettes and then jumps to run_scene, which
; fills the background map with tiles 1-4 in diagonal stripes and the window
; map (9C00) with tile 4, puts 40 objects of tile 5 over the screen with the
; attribute byte that `object_attributes` gives for object n (in A), shows
; the window over the bottom 32 lines, and then, every frame, copies the
; objects to OAM by DMA, scrolls the background diagonally and moves every
; object one pixel to the right. The CPU halts between frames.

SCY     equ $42
SCX     equ $43
DMA     equ $46
WY      equ $4A
WX      equ $4B
IE      equ $FF

SHADOW  equ $C100               ; the objects, copied to OAM every frame
FRAME   equ $C000

run_scene:
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

        ld hl, $9C00            ; the window: tile 4
        ld bc, 32 * 4
.window:
        ld a, 4
        ld (hl+), a
        dec bc
        ld a, b
        or c
        jr nz, .window

        ld hl, SHADOW
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
        add a, b
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
        add a, b
        add a, 8
        ld (hl+), a
        ld a, 5
        ld (hl+), a
        ld a, c
        call object_attributes
        ld (hl+), a
        inc c
        ld a, c
        cp 40
        jr nz, .object

        ld a, 112
        ldh (WY), a
        ld a, 7
        ldh (WX), a
        ld a, $F3               ; LCD, window at 9C00, tiles at 8000, objects, background
        ldh (LCDC), a
        ld a, $01
        ldh (IE), a
        ei

.frame: halt
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
        jr .frame

; Copies B bytes from DE to HL.
copy:   ld a, (de)
        ld (hl+), a
        inc de
        dec b
        jr nz, copy
        ret

tiles:  db $FF, $00, $81, $00, $81, $00, $81, $00, $81, $00, $81, $00, $81, $00, $FF, $00
        db $00, $FF, $7E, $81, $42, $81, $5A, $A5, $5A, $A5, $42, $81, $7E, $81, $00, $FF
        db $AA, $55, $55, $AA, $AA, $55, $55, $AA, $AA, $55, $55, $AA, $AA, $55, $55, $AA
        db $F0, $0F, $F0, $0F, $F0, $0F, $F0, $0F, $0F, $F0, $0F, $F0, $0F, $F0, $0F, $F0
        db $3C, $3C, $42, $7E, $81, $FF, $A5, $DB, $81, $FF, $99, $E7, $42, $7E, $3C, $3C
tiles_end:
