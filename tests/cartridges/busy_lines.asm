; Every unit busy at once, for states saved in the middle of a line: the
; window over the lower half of the screen; eight to ten objects on each
; line from 62 to 87 (fewer above and below), moved by OAM DMA every frame;
; a main loop that writes SCX and BGP while lines are drawn; the timer
; moving WX and retriggering channel 2; all four sound channels playing; the
; serial port sending without a pause; and the buttons' row selected, so
; that a held button's line stays low (a joypad interrupt would move the
; background).
; A colour cartridge that runs on the monochrome model too.

P1      equ $00
SB      equ $01
SC      equ $02
DIV     equ $04
TIMA    equ $05
TMA     equ $06
TAC     equ $07
LCDC    equ $40
SCY     equ $42
SCX     equ $43
DMA     equ $46
BGP     equ $47
OBP0    equ $48
OBP1    equ $49
WY      equ $4A
WX      equ $4B
VBK     equ $4F
BCPS    equ $68
BCPD    equ $69
OCPS    equ $6A
OCPD    equ $6B
IE      equ $FF

SHADOW  equ $C100               ; the objects, copied to OAM every frame
FRAME   equ $C000
SENT    equ $C001
DMA_RUN equ $FF80               ; the DMA routine, run from high RAM

        org $40
        jp vblank
        org $50
        jp timer
        org $58
        jp serial
        org $60
        jp joypad

        org $100
        jp start
        org $143
        db $80                  ; colour, and monochrome-compatible

        org $150
start:  di
        ld sp, $DFFE
        xor a
        ldh (LCDC), a

        ld hl, $8010            ; tiles 1-4
        ld de, tiles
        ld b, tiles_end - tiles
        call copy
        ld hl, DMA_RUN
        ld de, dma_routine
        ld b, dma_end - dma_routine
        call copy

        ld a, 1                 ; map attributes first: the monochrome model
        ldh (VBK), a            ; writes them into the map, filled next
        ld hl, $9800
        ld bc, $0800
.attributes:
        ld a, l
        and $27                 ; palette and a flip
        ld (hl+), a
        dec bc
        ld a, b
        or c
        jr nz, .attributes
        xor a
        ldh (VBK), a
        ld hl, $9800            ; background: tiles 1-2; window (9C00): tile 3
        ld bc, $0800
.maps:  ld a, h
        cp $9C
        ld a, 3
        jr nc, .tile
        ld a, l
        and 1
        inc a
.tile:  ld (hl+), a
        dec bc
        ld a, b
        or c
        jr nz, .maps

        ld a, $80               ; background and object palettes
        ldh (BCPS), a
        ldh (OCPS), a
        ld b, 64
.palettes:
        ld a, b
        add a, a
        add a, b
        ldh (BCPD), a
        cpl
        ldh (OCPD), a
        dec b
        jr nz, .palettes

        ld hl, SHADOW           ; object n: Y 72 + (n & 15) * 2, X 8 + n * 23
        ld c, 0
.object:
        ld a, c
        and 15
        add a, a
        add a, 72
        ld (hl+), a
        ld a, c
        add a, a
        add a, a
        add a, a
        ld d, a
        add a, a
        add a, d
        sub c
        add a, 8
        ld (hl+), a
        ld a, 4
        ld (hl+), a
        ld a, c
        add a, a
        swap a
        and $F7                 ; priority, flips, colour palette
        ld (hl+), a
        inc c
        ld a, c
        cp 40
        jr nz, .object

        ld hl, register_setup
        ld b, (register_setup_end - register_setup) / 2
.setup: ld a, (hl+)
        ld c, a
        ld a, (hl+)
        ldh (c), a
        dec b
        jr nz, .setup
        call serial_next
        ei

main:   ld a, b                 ; a new scroll, coarse and fine, and new shades
        add a, 9                ; as lines are drawn
        ld b, a
        ldh (SCX), a
        ldh (BGP), a
        ldh a, (P1)
        jr main

vblank: push af
        push hl
        push de
        push bc
        ld a, SHADOW >> 8
        call DMA_RUN
        ld hl, SHADOW + 1       ; every object one pixel to the right
        ld de, 4
        ld b, 40
.move:  inc (hl)
        add hl, de
        dec b
        jr nz, .move
        ld a, (FRAME)
        inc a
        ld (FRAME), a
        ldh ($22), a            ; noise: a new shape every frame, retriggered
        ld a, $80
        ldh ($23), a
        ld a, (FRAME)
        and 7
        jr nz, .done
        ld a, $87               ; channels 1 and 3 again every eighth frame
        ldh ($14), a
        ldh ($1E), a
.done:  pop bc
        pop de
        pop hl
        pop af
        reti

timer:  push af
        ldh a, (WX)             ; the window moves across the line
        xor $30
        ldh (WX), a
        ldh a, (DIV)
        ldh ($18), a            ; channel 2 at a new pitch, retriggered
        ld a, $86
        ldh ($19), a
        pop af
        reti

serial: push af
        push bc
        call serial_next
        pop bc
        pop af
        reti

; Sends the count so far mixed with DIV.
serial_next:
        ld a, (SENT)
        inc a
        ld (SENT), a
        ld c, a
        ldh a, (DIV)
        xor c
        ldh (SB), a
        ld a, $81
        ldh (SC), a
        ret

joypad: push af
        ldh a, (SCY)
        add a, 8
        ldh (SCY), a
        pop af
        reti

; Copies B bytes from DE to HL.
copy:   ld a, (de)
        inc de
        ld (hl+), a
        dec b
        jr nz, copy
        ret

; Copied to high RAM: starts OAM DMA from page A and waits it out.
dma_routine:
        ldh (DMA), a
        ld a, 40
.wait:  dec a
        jr nz, .wait
        ret
dma_end:

; The I/O registers the cartridge sets before it starts, in order: each
; register's offset, then its value.
register_setup:
        db $26, $80             ; NR52: on
        db $24, $77, $25, $FF   ; full volume, every channel on both sides
        db $10, $16             ; channel 1: a rising sweep, a falling envelope
        db $11, $80, $12, $F3, $13, $40, $14, $85
        db $16, $40, $17, $A1, $18, $00, $19, $86   ; channel 2
        db $30, $01, $31, $23, $32, $45, $33, $67   ; wave RAM
        db $34, $89, $35, $AB, $36, $CD, $37, $EF
        db $38, $FE, $39, $DC, $3A, $BA, $3B, $98
        db $3C, $76, $3D, $54, $3E, $32, $3F, $10
        db $1A, $80, $1B, $00, $1C, $20, $1D, $30, $1E, $87  ; channel 3
        db $20, $00, $21, $F2, $22, $35, $23, $80   ; channel 4
        db BGP, $E4, OBP0, $D2, OBP1, $1B
        db WY, 72, WX, 47
        db P1, $10              ; the buttons' row
        db TMA, $F0, TAC, $04   ; the timer every 16 steps of 4096 Hz
        db LCDC, $F3            ; LCD, window at 9C00, tiles at 8000, objects, background
        db IE, $1D              ; VBlank, timer, serial, joypad
register_setup_end:

tiles:  db $FF, $00, $81, $00, $81, $00, $81, $00, $81, $00, $81, $00, $81, $00, $FF, $00
        db $AA, $55, $55, $AA, $AA, $55, $55, $AA, $AA, $55, $55, $AA, $AA, $55, $55, $AA
        db $F0, $0F, $F0, $0F, $F0, $0F, $F0, $0F, $0F, $F0, $0F, $F0, $0F, $F0, $0F, $F0
        db $3C, $3C, $42, $7E, $81, $FF, $A5, $DB, $81, $FF, $99, $E7, $42, $7E, $3C, $3C
tiles_end:
