; Shows the joypad register's low nibble as a hex digit for three row
; selections, read over and over: the first map entry with EF written (the
; direction row, bits 7-6 set as many games leave them), the second with DF
; (the button row), the third with CF (both rows).
        org $100
loop:   ld de, $9800
        ld a, $EF
        call show_read
        ld a, $DF
        call show_read
        ld a, $CF
        call show_read
        jr loop

; Writes A to FF00, reads it back and shows the low nibble at DE.
show_read:
        ldh ($00), a
        ldh a, ($00)
        jp show_digit
