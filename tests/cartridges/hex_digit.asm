; Shows the low nibble of A as a hex digit (its character's tile) at DE and
; moves DE on. Appended to the test cartridges that show values on screen.
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
