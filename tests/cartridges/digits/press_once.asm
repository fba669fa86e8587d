; Reads the button row twice and shows each low nibble as a hex digit: in the
; first map entry at the third VBlank, in the second at the eleventh. Between
; the two reads the joypad is not read at all, so a press that ended before
; the second read must not be seen there.
        org $40
        reti                    ; VBlank: only wakes the HALT

        org $100
        di
        ld sp, $DFFE
        ld a, $01               ; VBlank interrupt only
        ldh ($FF), a
        ei
        ld de, $9800
        ld b, 3
        call wait_frames
        call show_buttons
        ld b, 8
        call wait_frames
        call show_buttons
done:   halt
        jr done

; Waits for B VBlanks.
wait_frames:
        halt
        dec b
        jr nz, wait_frames
        ret

; Shows the button row's low nibble at DE.
show_buttons:
        ld a, $10
        ldh ($00), a
        ldh a, ($00)
        jp show_digit
