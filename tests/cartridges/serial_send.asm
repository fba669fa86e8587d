; send: sends A through the serial port on the internal clock and returns
; when the transfer is done. Placed wherever the including source puts it.
send:       ldh ($01), a
            ld a, $81
            ldh ($02), a
.busy:      ldh a, ($02)
            rla
            jr c, .busy
            ret
