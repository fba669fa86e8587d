; Which object is on top on a monochrome cartridge, and the background
; priority applied to that object alone. BGP and OBP0 E4; the background is
; colour 0 (shade 0) but for map row 8, columns 8-10 (X 64-87, lines
; 64-71): tile 4, colour 1 (light grey). Object tiles: 1 black, 2 a light
; grey square outline (transparent inside), 3 dark grey.
;
;   lines 16-23  object 0 (black) at X 20, object 1 (outline) at X 18: the
;                lower X is on top, so the outline covers the black square,
;                which shows inside it from X 20 and alone at X 26-27
;   lines 32-39  object 2 (outline) and object 3 (black), both at X 40: at
;                equal X the lower index is on top
;   lines 64-71  object 4 (black, behind the background) at X 60, object 5
;                (dark grey) at X 64: object 4 is on top; over colour 0
;                (X 60-63) it shows, over colour 1 (X 64-67) the background
;                hides it and object 5 does not show through; X 68-71 show
;                object 5

colour_flag equ $00

setup:
        db FILL
        dw $8010, 16 * 4
        db 16 * 4
        db $FF,$FF, $FF,$FF, $FF,$FF, $FF,$FF, $FF,$FF, $FF,$FF, $FF,$FF, $FF,$FF
        db $FF,$00, $81,$00, $81,$00, $81,$00, $81,$00, $81,$00, $81,$00, $FF,$00
        db $00,$FF, $00,$FF, $00,$FF, $00,$FF, $00,$FF, $00,$FF, $00,$FF, $00,$FF
        db $FF,$00, $FF,$00, $FF,$00, $FF,$00, $FF,$00, $FF,$00, $FF,$00, $FF,$00
        db FILL
        dw $9800 + 8 * 32 + 8, 3
        db 1, 4
        db FILL
        dw $FE00, 4 * 6
        db 4 * 6                ; Y + 16, X + 8, tile, attributes
        db 32, 28, 1, $00
        db 32, 26, 2, $00
        db 48, 48, 2, $00
        db 48, 48, 1, $00
        db 80, 68, 1, $80
        db 80, 72, 3, $00
        db PUT, LCDC, 1, $93    ; LCD on, tiles at 8000, objects, background
        db END

line_writes:
        db $FF
