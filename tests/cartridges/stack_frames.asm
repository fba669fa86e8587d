; Keeps a running sum on the stack from frame to frame and shows it: its 16
; bits as a row of tiles, scrolled sideways by its low byte. Each frame adds DIV,
; TIMA and the timer interrupts counted, with the carry of the sum's top bit
; taken over the wait for the VBlank. A game resumed with another stack,
; other flags or other counters shows another picture from then on.
; High RAM, addressed by LDH as FF00 + n:
vblank_seen equ $80             ; set by the VBlank handler
ticks       equ $81             ; timer interrupts, counted by their handler

        org $40
        jp vblank
        org $50
        jp timer

        org $100
        di
        ld sp, $DFF0
        xor a
        ldh ($40), a            ; LCD off while the tile is copied
        ldh (vblank_seen), a
        ldh (ticks), a
        ld hl, $8010            ; tile 1: colour 3
        ld b, 16
.tile:  ld a, $FF
        ld (hl+), a
        dec b
        jr nz, .tile
        ld a, $E4
        ldh ($47), a            ; BGP
        ld a, $05               ; timer on, 262144 Hz
        ldh ($07), a
        ld a, $05               ; VBlank and timer interrupts
        ldh ($FF), a
        ld a, $91               ; LCD, tiles at 8000, background
        ldh ($40), a
        ld hl, 0
        push hl                 ; the sum lives on the stack
        ei

frame:  pop hl
        push hl
        ld a, h
        rlca                    ; carry: the sum's top bit, kept over the wait
.wait:  halt
        ldh a, (vblank_seen)    ; DEC leaves the carry alone
        dec a
        jr nz, .wait
        ldh (vblank_seen), a
        pop hl
        ldh a, ($04)            ; DIV
        adc a, l
        ld l, a
        ldh a, ($05)            ; TIMA
        adc a, h
        ld h, a
        ldh a, (ticks)
        add a, l
        ld l, a
        push hl
        ldh ($43), a            ; SCX
        call draw_bits
        jr frame

; The 16 bits of HL, top bit first, as tiles 1 (set) and 0 in map row 0.
draw_bits:
        ld de, $9800
        ld b, 16
.bit:   add hl, hl
        ld a, 0
        adc a, a
        ld (de), a
        inc de
        dec b
        jr nz, .bit
        ret

vblank: push af
        ld a, 1
        ldh (vblank_seen), a
        pop af
        reti

timer:  push af
        ldh a, (ticks)
        inc a
        ldh (ticks), a
        pop af
        reti
