; The window goes on with its next row after lines that hide it.
; Monochrome, BGP E4; the background is colour 0 (shade 0) everywhere. The
; window (map 9C00) starts at line 16 (WY) and covers whole lines (WX 7).
; Window map row k shows tile 1 + (k mod 3): colour 1 (light grey), 2 (dark
; grey) or 3 (black), with a colour 0 diagonal: tile row j has colour 0 in
; column j. The window is hidden on lines 24-39 (WX 240), 64-67 (LCDC bit 5
; clear) and 96-100 (LCDC bit 0 clear, which also hides the background:
; those lines are the cleared white). Window row r shows on the line
;
;   16-23    r = line - 16        rows 0-7, light grey
;   40-63    r = line - 32        rows 8-31: map rows 1 (dark), 2 (black), 3 (light)
;   68-95    r = line - 36        rows 32-59: map row 4 (dark) from line 68
;   101-143  r = line - 41        rows 60-102: map row 7 (dark) from its row 4
;
; so on each window line the diagonal stands at x AND 7 = r AND 7.

colour_flag equ $00

setup:
        db FILL
        dw $8010, 16 * 3
        db 16 * 3
        db $7F,$00, $BF,$00, $DF,$00, $EF,$00, $F7,$00, $FB,$00, $FD,$00, $FE,$00
        db $00,$7F, $00,$BF, $00,$DF, $00,$EF, $00,$F7, $00,$FB, $00,$FD, $00,$FE
        db $7F,$7F, $BF,$BF, $DF,$DF, $EF,$EF, $F7,$F7, $FB,$FB, $FD,$FD, $FE,$FE
        db FILL
        dw $9C00, 32 * 18
        db 32 * 3
        ds 32, 1
        ds 32, 2
        ds 32, 3
        db PUT, $4A, 1, 16      ; WY
        db PUT, $4B, 1, 7       ; WX
        db PUT, LCDC, 1, $F1    ; LCD on, window at 9C00, tiles at 8000, background
        db END

line_writes:
        db 24, $4B, 240         ; WX: off the screen
        db 40, $4B, 7
        db 64, LCDC, $D1        ; window off
        db 68, LCDC, $F1
        db 96, LCDC, $F0        ; background off
        db 101, LCDC, $F1
        db $FF
