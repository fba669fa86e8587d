; Priority between objects, background and window on a colour cartridge,
; with LCDC bit 0 set on lines 0-71 and clear on lines 72-143.
; Background palette 0: white, light grey (5294), dark grey (294A), black;
; object palette 0: colour 1 red, 2 green, 3 blue. Objects are 8x16, on
; lines 64-79, so each shows its top half with bit 0 set and its bottom half
; with bit 0 clear. The background is colour 0 but for map rows 8-9 (lines
; 64-79), columns 1-3: tile 1, colour 0 on its left half and colour 1 on
; its right half; column 1 has map attribute bit 7. The window (map 9C00)
; covers X 80-159 from line 64: tile 2 (colour 0 left, colour 2 right)
; with map attribute bit 7 everywhere.
;
;   X 8-15   red object over the attributed tile: lines 64-71 red on colour
;            0 (X 8-11), hidden by colour 1 (X 12-15); lines 72-79 red
;   X 16-23  no object: the background, also while bit 0 is clear
;   X 24-31  red object behind the background (attribute bit 7) over tile 1:
;            as at X 8-15
;   X 40-51  object 3 (blue) at X 40 and object 2 (green) at X 44: the lower
;            index is on top, whatever the X
;   X 88-95  red object over the window: shown on its colour 0 (X 88-91)
;            despite the attribute, hidden by colour 2 (X 92-95) on lines
;            64-71, red throughout on lines 72-79

colour_flag equ $80

setup:
        db FILL
        dw $8010, 16 * 9
        db 16 * 9               ; map tiles 1 and 2; object tiles 4-5 red, 6-7 green, 8-9 blue
        db $0F,$00, $0F,$00, $0F,$00, $0F,$00, $0F,$00, $0F,$00, $0F,$00, $0F,$00
        db $00,$0F, $00,$0F, $00,$0F, $00,$0F, $00,$0F, $00,$0F, $00,$0F, $00,$0F
        ds 16                   ; tile 3: not used
        db $FF,$00, $FF,$00, $FF,$00, $FF,$00, $FF,$00, $FF,$00, $FF,$00, $FF,$00
        db $FF,$00, $FF,$00, $FF,$00, $FF,$00, $FF,$00, $FF,$00, $FF,$00, $FF,$00
        db $00,$FF, $00,$FF, $00,$FF, $00,$FF, $00,$FF, $00,$FF, $00,$FF, $00,$FF
        db $00,$FF, $00,$FF, $00,$FF, $00,$FF, $00,$FF, $00,$FF, $00,$FF, $00,$FF
        db $FF,$FF, $FF,$FF, $FF,$FF, $FF,$FF, $FF,$FF, $FF,$FF, $FF,$FF, $FF,$FF
        db $FF,$FF, $FF,$FF, $FF,$FF, $FF,$FF, $FF,$FF, $FF,$FF, $FF,$FF, $FF,$FF
        db FILL
        dw $9800 + 8 * 32, 32 + 4
        db 32, 0, 1, 1, 1
        ds 28
        db FILL
        dw $9C00, 32 * 32
        db 1, 2
        db PUT, $4F, 1, 1       ; VBK: the map attributes
        db FILL
        dw $9800 + 8 * 32, 32 + 2
        db 32, 0, $80
        ds 30
        db FILL
        dw $9C00, 32 * 32
        db 1, $80
        db PUT, $4F, 1, 0
        db FILL
        dw $FE00, 4 * 5
        db 4 * 5                ; Y + 16, X + 8, tile, attributes
        db 80, 16, 4, $00
        db 80, 32, 4, $80
        db 80, 52, 6, $00
        db 80, 48, 8, $00
        db 80, 96, 4, $00
        db PUT, $68, 1, $80     ; BCPS: palette 0 from colour 0 on
        db PUT, $69, 8, $FF,$7F, $94,$52, $4A,$29, $00,$00
        db PUT, $6A, 1, $80     ; OCPS
        db PUT, $6B, 8, $00,$00, $1F,$00, $E0,$03, $00,$7C
        db PUT, $4A, 1, 64      ; WY
        db PUT, $4B, 1, 87      ; WX: X 80
        db PUT, LCDC, 1, $F7    ; LCD on, window at 9C00, tiles at 8000, 8x16 objects, background
        db END

line_writes:
        db 72, LCDC, $F6        ; bit 0 clear
        db 144, LCDC, $F7
        db $FF
