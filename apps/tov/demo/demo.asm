; The demo cartridge that TOV's run command starts when no cartridge is given:
; a framed picture with text, a ball the direction buttons move, and a beep
; on A. tov-asm builds it into demo.gb during the build.

; I/O registers, as offsets from FF00 for ldh.
P1      equ $00
IF      equ $0F
NR11    equ $11
NR12    equ $12
NR22    equ $17
NR13    equ $13
NR14    equ $14
NR50    equ $24
NR51    equ $25
NR52    equ $26
LCDC    equ $40
BGP     equ $47
OBP0    equ $48
IE      equ $FF

MAP      equ $9800
BALL_Y   equ $FE00          ; sprite 0
BALL_X   equ $FE01
BALL     equ $FE02
PREVIOUS equ $C000          ; the buttons held in the last frame

TILE_FLOOR  equ 1
TILE_BORDER equ 2
TILE_BALL   equ 3

; The ball stays inside the frame and above the floor (sprite coordinates).
LEFT_EDGE   equ 16
RIGHT_EDGE  equ 152
TOP_EDGE    equ 24
BOTTOM_EDGE equ 120

        org $40             ; VBlank: it only wakes the main loop
        reti

        org $100
        jp start

        org $134
        db "TOV DEMO"       ; title
        org $143
        db $00              ; monochrome
        db 0, 0, $00, $00   ; licensee, no SGB, ROM only
        db $00, $00, $01    ; 32 KiB, no RAM, not Japanese

        org $150
start:  di
        ld sp, $DFFE
        xor a
        ldh (LCDC), a       ; LCD off while drawing

        ; The font: each glyph row in both bit planes (colour 3), tile = ASCII code.
        ld hl, $8000 + ' ' * 16
        ld de, font + ' ' * 8
        ld bc, ('Z' + 1 - ' ') * 8
.font:  ld a, (de)
        ld (hl+), a
        ld (hl+), a
        inc de
        dec bc
        ld a, b
        or c
        jr nz, .font

        ld hl, $8000 + TILE_FLOOR * 16
        ld de, tiles
        ld b, tiles_end - tiles
.tiles: ld a, (de)
        ld (hl+), a
        inc de
        dec b
        jr nz, .tiles

        ld hl, MAP          ; a blank map
        ld bc, 32 * 32
.clear: ld a, ' '
        ld (hl+), a
        dec bc
        ld a, b
        or c
        jr nz, .clear

        ld hl, MAP          ; the frame: top and bottom rows
        ld de, MAP + 17 * 32
        ld b, 20
.rows:  ld a, TILE_BORDER
        ld (hl+), a
        ld (de), a
        inc de
        dec b
        jr nz, .rows

        ld hl, MAP + 32     ; and the left and right columns
        ld c, 16
.sides: ld a, TILE_BORDER
        ld (hl), a
        ld de, 19
        add hl, de
        ld (hl), a
        ld de, 32 - 19
        add hl, de
        dec c
        jr nz, .sides

        ld hl, MAP + 14 * 32 + 1    ; the floor: rows 14-16 inside the frame
        ld c, 3
.floor: ld b, 18
.floor_row:
        ld a, TILE_FLOOR
        ld (hl+), a
        dec b
        jr nz, .floor_row
        ld de, 32 - 18
        add hl, de
        dec c
        jr nz, .floor

        ld hl, texts        ; each text: its map address, its characters, 0
.text:  ld a, (hl+)
        ld e, a
        ld a, (hl+)
        ld d, a
        or e
        jr z, .ball
.char:  ld a, (hl+)
        or a
        jr z, .text
        ld (de), a
        inc de
        jr .char

.ball:  ld a, 96 + 16
        ld (BALL_Y), a
        ld a, 76 + 8
        ld (BALL_X), a
        ld a, TILE_BALL
        ld (BALL), a

        ld a, $E4
        ldh (BGP), a
        ldh (OBP0), a
        xor a               ; quiet the tone channels 1 and 2 start with
        ldh (NR12), a
        ldh (NR22), a
        ld a, $80           ; sound on, channel 1 on both sides
        ldh (NR52), a
        ld a, $77
        ldh (NR50), a
        ld a, $11
        ldh (NR51), a

        xor a
        ld (PREVIOUS), a
        ldh (IF), a
        ld a, $01           ; VBlank interrupt only
        ldh (IE), a
        ld a, $93           ; LCD on, tiles at 8000, sprites, background
        ldh (LCDC), a
        ei

main:   halt                ; once a frame
        call read_buttons
        ld hl, BALL_X
        bit 4, b            ; right
        jr z, .left
        ld a, (hl)
        cp RIGHT_EDGE
        jr z, .left
        inc (hl)
.left:  bit 5, b
        jr z, .up
        ld a, (hl)
        cp LEFT_EDGE
        jr z, .up
        dec (hl)
.up:    ld hl, BALL_Y
        bit 6, b
        jr z, .down
        ld a, (hl)
        cp TOP_EDGE
        jr z, .down
        dec (hl)
.down:  bit 7, b
        jr z, .beep
        ld a, (hl)
        cp BOTTOM_EDGE
        jr z, .beep
        inc (hl)
.beep:  ld a, (PREVIOUS)    ; A pressed since the last frame?
        cpl
        and b
        bit 0, a
        call nz, beep
        ld a, b
        ld (PREVIOUS), a
        jr main

; The buttons held, 1 = pressed: bit 7 down, 6 up, 5 left, 4 right,
; 3 start, 2 select, 1 B, 0 A. Returned in b.
read_buttons:
        ld a, $20           ; the direction row
        ldh (P1), a
        ldh a, (P1)
        cpl
        and $0F
        swap a
        ld b, a
        ld a, $10           ; the button row
        ldh (P1), a
        ldh a, (P1)
        cpl
        and $0F
        or b
        ld b, a
        ld a, $30
        ldh (P1), a
        ret

; A quarter-second tone of about 440 Hz on channel 1.
beep:   ld a, $80 | 32      ; duty 50 %, length 32
        ldh (NR11), a
        ld a, $F2           ; volume 15, falling
        ldh (NR12), a
        ld a, $D6           ; frequency 1750 (low byte)
        ldh (NR13), a
        ld a, $C6           ; start, stop at the end of the length, frequency high bits
        ldh (NR14), a
        ret

texts:  dw MAP + 2 * 32 + 6
        db "TOV DEMO", 0
        dw MAP + 5 * 32 + 4
        db "ARROWS: MOVE", 0
        dw MAP + 7 * 32 + 4
        db "A: BEEP", 0
        dw MAP + 10 * 32 + 5
        db "HAVE FUN!", 0
        dw 0

tiles:  ; two bytes a row: low bit plane, high bit plane
        db $AA, $55, $55, $AA, $AA, $55, $55, $AA, $AA, $55, $55, $AA, $AA, $55, $55, $AA  ; floor
        db $FF, $FF, $81, $FF, $81, $FF, $81, $FF, $81, $FF, $81, $FF, $81, $FF, $FF, $FF  ; border
        db $3C, $3C, $7E, $42, $FF, $A5, $FF, $81, $FF, $A5, $FF, $99, $7E, $42, $3C, $3C  ; ball
tiles_end:

; An 8 x 8 font, one byte a row (bit 7 leftmost), indexed by ASCII code.
font    equ $1000
        org font + $20 * 8
        db $00, $00, $00, $00, $00, $00, $00, $00   ; ' '
        org font + $21 * 8
        db $10, $10, $10, $10, $10, $00, $10, $00   ; '!'
        org font + $27 * 8
        db $10, $10, $20, $00, $00, $00, $00, $00   ; "'"
        org font + $28 * 8
        db $08, $10, $20, $20, $20, $10, $08, $00   ; '('
        org font + $29 * 8
        db $20, $10, $08, $08, $08, $10, $20, $00   ; ')'
        org font + $2C * 8
        db $00, $00, $00, $00, $30, $10, $20, $00   ; ','
        org font + $2D * 8
        db $00, $00, $00, $7C, $00, $00, $00, $00   ; '-'
        org font + $2E * 8
        db $00, $00, $00, $00, $00, $30, $30, $00   ; '.'
        org font + $2F * 8
        db $04, $04, $08, $10, $20, $40, $40, $00   ; '/'
        org font + $30 * 8
        db $38, $44, $4C, $54, $64, $44, $38, $00   ; '0'
        org font + $31 * 8
        db $10, $30, $10, $10, $10, $10, $38, $00   ; '1'
        org font + $32 * 8
        db $38, $44, $04, $08, $10, $20, $7C, $00   ; '2'
        org font + $33 * 8
        db $78, $04, $04, $38, $04, $04, $78, $00   ; '3'
        org font + $34 * 8
        db $08, $18, $28, $48, $7C, $08, $08, $00   ; '4'
        org font + $35 * 8
        db $7C, $40, $78, $04, $04, $44, $38, $00   ; '5'
        org font + $36 * 8
        db $38, $40, $40, $78, $44, $44, $38, $00   ; '6'
        org font + $37 * 8
        db $7C, $04, $08, $10, $20, $20, $20, $00   ; '7'
        org font + $38 * 8
        db $38, $44, $44, $38, $44, $44, $38, $00   ; '8'
        org font + $39 * 8
        db $38, $44, $44, $3C, $04, $04, $38, $00   ; '9'
        org font + $3A * 8
        db $00, $30, $30, $00, $30, $30, $00, $00   ; ':'
        org font + $3F * 8
        db $38, $44, $04, $08, $10, $00, $10, $00   ; '?'
        org font + $41 * 8
        db $38, $44, $44, $7C, $44, $44, $44, $00   ; 'A'
        org font + $42 * 8
        db $78, $44, $44, $78, $44, $44, $78, $00   ; 'B'
        org font + $43 * 8
        db $38, $44, $40, $40, $40, $44, $38, $00   ; 'C'
        org font + $44 * 8
        db $78, $44, $44, $44, $44, $44, $78, $00   ; 'D'
        org font + $45 * 8
        db $7C, $40, $40, $78, $40, $40, $7C, $00   ; 'E'
        org font + $46 * 8
        db $7C, $40, $40, $78, $40, $40, $40, $00   ; 'F'
        org font + $47 * 8
        db $38, $44, $40, $5C, $44, $44, $3C, $00   ; 'G'
        org font + $48 * 8
        db $44, $44, $44, $7C, $44, $44, $44, $00   ; 'H'
        org font + $49 * 8
        db $38, $10, $10, $10, $10, $10, $38, $00   ; 'I'
        org font + $4A * 8
        db $1C, $08, $08, $08, $08, $48, $30, $00   ; 'J'
        org font + $4B * 8
        db $44, $48, $50, $60, $50, $48, $44, $00   ; 'K'
        org font + $4C * 8
        db $40, $40, $40, $40, $40, $40, $7C, $00   ; 'L'
        org font + $4D * 8
        db $44, $6C, $54, $54, $44, $44, $44, $00   ; 'M'
        org font + $4E * 8
        db $44, $64, $54, $4C, $44, $44, $44, $00   ; 'N'
        org font + $4F * 8
        db $38, $44, $44, $44, $44, $44, $38, $00   ; 'O'
        org font + $50 * 8
        db $78, $44, $44, $78, $40, $40, $40, $00   ; 'P'
        org font + $51 * 8
        db $38, $44, $44, $44, $54, $48, $34, $00   ; 'Q'
        org font + $52 * 8
        db $78, $44, $44, $78, $50, $48, $44, $00   ; 'R'
        org font + $53 * 8
        db $3C, $40, $40, $38, $04, $04, $78, $00   ; 'S'
        org font + $54 * 8
        db $7C, $10, $10, $10, $10, $10, $10, $00   ; 'T'
        org font + $55 * 8
        db $44, $44, $44, $44, $44, $44, $38, $00   ; 'U'
        org font + $56 * 8
        db $44, $44, $44, $44, $44, $28, $10, $00   ; 'V'
        org font + $57 * 8
        db $44, $44, $44, $54, $54, $54, $28, $00   ; 'W'
        org font + $58 * 8
        db $44, $44, $28, $10, $28, $44, $44, $00   ; 'X'
        org font + $59 * 8
        db $44, $44, $28, $10, $10, $10, $10, $00   ; 'Y'
        org font + $5A * 8
        db $7C, $04, $08, $10, $20, $40, $7C, $00   ; 'Z'
