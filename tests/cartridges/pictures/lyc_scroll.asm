; LY = LYC is seen as the line begins, so an LYC handler's write acts on that
; line. Monochrome, BGP E4. Every map entry shows tile 1: colour 3 (black)
; in columns 0-3 and colour 1 (light grey) in columns 4-7, so the screen is
; vertical stripes four pixels wide. At line 40 SCX becomes 4, at line 144
; it goes back to 0:
;
;   lines 0-39    x AND 7 of 0-3 black, 4-7 light grey
;   lines 40-143  moved left by four: x AND 7 of 0-3 light grey, 4-7 black

colour_flag equ $00

setup:
        db FILL
        dw $8010, 16
        db 2, $FF,$F0
        db FILL
        dw $9800, 32 * 32
        db 1, 1
        db PUT, LCDC, 1, $91    ; LCD on, tiles at 8000, background
        db END

line_writes:
        db 40, $43, 4           ; SCX
        db 144, $43, 0
        db $FF
