; Shows the low nibble of A as a hex digit (its character's tile) at DE and
; moves DE on. Every cartridge in this folder shows values on screen as hex
; digits and is assembled with this file after it.
show_digit:
        and $0F
        ld h, digits >> 8
        ld l, a
        ld a, (hl)
        ld (de), a
        inc de
        ret

        org $3F00
digits: db "0123456789ABCDEF"
