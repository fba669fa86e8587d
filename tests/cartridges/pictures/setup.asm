; The code the picture cartridges share: it sets the machine up from a list
; of commands and then applies register writes at chosen lines of every
; frame from an LY=LYC interrupt. A picture cartridge is this file followed
; by the cartridge's own file, which defines
;
;   colour_flag   header byte 0143: $80 for a colour cartridge, $00 otherwise
;   setup         the set-up commands, run with the LCD off and with BGP,
;                 OBP0 and OBP1 at E4:
;                   db PUT, register, count, byte...  count bytes written in
;                                                     turn to FF00 + register
;                   db FILL; dw address, count; db length, byte...
;                                                     count bytes written from
;                                                     address on, repeating the
;                                                     length (1-255) bytes given
;                   db END
;                 the last PUT to LCDC switches the LCD on.
;   line_writes   db line, register, value: written to FF00 + register as LY
;                 becomes line, in the order listed; the list ends with
;                 db $FF and starts over after its last entry. A list that
;                 is only db $FF writes nothing.
;
; By hand: cat setup.asm lyc_scroll.asm > /tmp/lyc_scroll.asm, then
; tov-asm /tmp/lyc_scroll.asm -o lyc_scroll.gb. The set-up takes a few frames;
; the pictures are taken after ten.

END     equ 0
PUT     equ 1
FILL    equ 2

LCDC    equ $40
STAT    equ $41
LY      equ $44
LYC     equ $45
IF      equ $0F
IE      equ $FF
NEXT    equ $80             ; high RAM: the address of the next line write
LENGTH  equ $82             ; high RAM: the length of a FILL's pattern
LEFT    equ $83             ; high RAM: the pattern bytes left in this round

        org $48             ; STAT
        jp line_write

        org $100
        jp start

        org $143
        db colour_flag

        org $150
start:  di
        ld sp, $DFFE
        xor a
        ldh (LCDC), a       ; LCD off while setting up
        ld a, $E4
        ldh ($47), a
        ldh ($48), a
        ldh ($49), a
        ld hl, setup
.next:  ld a, (hl+)
        cp PUT
        jr z, .put
        cp FILL
        jr z, .fill
        jr lines

.put:   ld a, (hl+)
        ld c, a             ; the register
        ld a, (hl+)
        ld b, a             ; the count
.put_byte:
        ld a, (hl+)
        ld (c), a
        dec b
        jr nz, .put_byte
        jr .next

.fill:  call address_and_count
        ld a, (hl+)
        ldh (LENGTH), a
        push hl             ; the pattern
.round: pop hl
        push hl
        ldh a, (LENGTH)
        ldh (LEFT), a
.fill_byte:
        ld a, (hl+)
        ld (de), a
        inc de
        dec bc
        ld a, b
        or c
        jr z, .filled
        ldh a, (LEFT)
        dec a
        ldh (LEFT), a
        jr nz, .fill_byte
        jr .round
.filled:
        pop hl              ; past the pattern
        ldh a, (LENGTH)
        add a, l
        ld l, a
        jr nc, .next
        inc h
        jr .next

; The line writes start at the first entry's line.
lines:  ld hl, line_writes
        ld a, (hl)
        cp $FF
        jr z, idle
        ldh (LYC), a
        ld a, l
        ldh (NEXT), a
        ld a, h
        ldh (NEXT + 1), a
        ld a, $40           ; STAT: the LY=LYC source
        ldh (STAT), a
        ld a, $02           ; IE: STAT
        ldh (IE), a
        xor a
        ldh (IF), a
        ei
idle:   halt
        jr idle

; de := the address and bc := the count of a command, read from hl on.
address_and_count:
        ld a, (hl+)
        ld e, a
        ld a, (hl+)
        ld d, a
        ld a, (hl+)
        ld c, a
        ld a, (hl+)
        ld b, a
        ret

; LY = LYC: every write listed for this line, the register write first so
; that it lands before the line is drawn; then LYC := the next entry's line.
line_write:
        push af
        push bc
        push hl
        ldh a, (NEXT)
        ld l, a
        ldh a, (NEXT + 1)
        ld h, a
.write: inc hl              ; past the line
        ld a, (hl+)
        ld c, a
        ld a, (hl+)
        ld (c), a
        ld a, (hl)
        cp $FF
        jr nz, .same_line
        ld hl, line_writes  ; after the last entry, the first
        ld a, (hl)
.same_line:
        ld b, a
        ldh a, (LY)
        cp b
        jr z, .write
        ld a, b
        ldh (LYC), a
        ld a, l
        ldh (NEXT), a
        ld a, h
        ldh (NEXT + 1), a
        pop hl
        pop bc
        pop af
        reti
