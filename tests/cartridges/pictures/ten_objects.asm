; At most ten objects on a line: the first ten in OAM order, whatever their
; X. Monochrome, BGP and OBP0 E4; the background is colour 0 (shade 0).
; Objects 0-9 (tile 1, black) stand on lines 40-47 at screen X 16, 28, ...,
; 124. Object 10 (tile 2, dark grey) is at screen X 4, the lowest X, on
; lines 44-51:
;
;   lines 40-47  ten black squares at X 16 + 12n
;   lines 44-47  object 10 is the eleventh on the line: not drawn
;   lines 48-51  object 10 alone: drawn at X 4-11

colour_flag equ $00

setup:
        db FILL
        dw $8010, 16 * 2
        db 16 * 2
        db $FF,$FF, $FF,$FF, $FF,$FF, $FF,$FF, $FF,$FF, $FF,$FF, $FF,$FF, $FF,$FF
        db $00,$FF, $00,$FF, $00,$FF, $00,$FF, $00,$FF, $00,$FF, $00,$FF, $00,$FF
        db FILL
        dw $FE00, 4 * 11
        db 4 * 11               ; Y + 16, X + 8, tile, attributes
        db 56, 24, 1, 0
        db 56, 36, 1, 0
        db 56, 48, 1, 0
        db 56, 60, 1, 0
        db 56, 72, 1, 0
        db 56, 84, 1, 0
        db 56, 96, 1, 0
        db 56, 108, 1, 0
        db 56, 120, 1, 0
        db 56, 132, 1, 0
        db 60, 12, 2, 0
        db PUT, LCDC, 1, $93    ; LCD on, tiles at 8000, objects, background
        db END

line_writes:
        db $FF
