; A still picture for the renderer: a checkerboard background of 8x8 squares
; in shades 1 and 2, the window in shade 3 over the lower right quarter, and
; two overlapping sprites near the top left.
;
;   sprite 0 at screen 20,20: tile 4, a hollow square in colour 3
;   sprite 1 at screen 24,24: tile 5, solid colour 1 through OBP1 (shade 0),
;            below sprite 0

        org $100
        di
        ld sp, $DFFE
        xor a
        ldh ($40), a            ; LCD off while drawing

        ld hl, $8010            ; tiles 1-5
        ld de, tiles
        ld b, tiles_end - tiles
.copy:  ld a, (de)
        ld (hl+), a
        inc de
        dec b
        jr nz, .copy

        ld hl, $9800            ; background map: (row + column) % 2 + 1
        ld c, 0                 ; row
.row:   ld b, 0                 ; column
.column:
        ld a, c
        add a, b
        and 1
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

        ld hl, $9C00            ; window map: tile 3 everywhere
        ld bc, 32 * 32
.window:
        ld a, 3
        ld (hl+), a
        dec bc
        ld a, b
        or c
        jr nz, .window

        ld hl, $FE00            ; sprites
        ld de, sprites
        ld b, 8
.oam:   ld a, (de)
        ld (hl+), a
        inc de
        dec b
        jr nz, .oam

        ld a, $E4
        ldh ($47), a            ; BGP
        ldh ($48), a            ; OBP0
        xor a
        ldh ($49), a            ; OBP1: every colour shade 0
        ld a, 72
        ldh ($4A), a            ; WY
        ld a, 87
        ldh ($4B), a            ; WX: screen column 80
        ld a, $F3               ; LCD, window at 9C00, tiles at 8000, sprites, background
        ldh ($40), a
done:   jr done

tiles:                          ; two bytes a row: low bit plane, high bit plane
        db $FF,$00, $FF,$00, $FF,$00, $FF,$00, $FF,$00, $FF,$00, $FF,$00, $FF,$00  ; 1: colour 1
        db $00,$FF, $00,$FF, $00,$FF, $00,$FF, $00,$FF, $00,$FF, $00,$FF, $00,$FF  ; 2: colour 2
        db $FF,$FF, $FF,$FF, $FF,$FF, $FF,$FF, $FF,$FF, $FF,$FF, $FF,$FF, $FF,$FF  ; 3: colour 3
        db $FF,$FF, $81,$81, $81,$81, $81,$81, $81,$81, $81,$81, $81,$81, $FF,$FF  ; 4: frame
        db $FF,$00, $FF,$00, $FF,$00, $FF,$00, $FF,$00, $FF,$00, $FF,$00, $FF,$00  ; 5: colour 1
tiles_end:
sprites:
        db 20 + 16, 20 + 8, 4, $00
        db 24 + 16, 24 + 8, 5, $10
