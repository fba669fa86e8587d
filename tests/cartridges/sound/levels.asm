; Each channel playing, and FF76 and FF77 (the levels the channels hand
; their DACs) sent through the serial port in turn, 128 pairs:
;   channel 1: volume F, duty 75 %; channel 2: volume 8, duty 12.5 %;
;   channel 3: wave RAM all 5A at level 100 % (levels 5 and A);
;   channel 4: volume C, noise at its fastest.
; Their periods are not multiples of the serial port's 512 cycles a bit, so
; that the pairs meet every step of their waveforms.
SB      equ $01
SC      equ $02

        org $100
        jp start            ; over the header, which the test sets
        org $150
start:  ld a, $80
        ldh (NR52), a       ; sound on
        ld de, samples
        call load_wave

        ld a, $C0
        ldh (NR11), a       ; duty 75 %
        ld a, $F0
        ldh (NR12), a       ; volume 15, no envelope
        ld a, $01
        ldh (NR13), a
        ld a, $87
        ldh (NR14), a       ; start at register 701: 1020 cycles a step
        xor a
        ldh (NR21), a       ; duty 12.5 %
        ld a, $80
        ldh (NR22), a       ; volume 8
        ld a, $03
        ldh (NR23), a
        ld a, $86
        ldh (NR24), a       ; start at register 603: 2036 cycles a step
        ld a, $80
        ldh (NR30), a       ; DAC on
        ld a, $20
        ldh (NR32), a       ; level 100 %
        ld a, $03
        ldh (NR33), a
        ld a, $87
        ldh (NR34), a       ; start at register 703: 506 cycles a sample
        ld a, $C0
        ldh (NR42), a       ; volume 12
        xor a
        ldh (NR43), a       ; the fastest noise
        ld a, $80
        ldh (NR44), a       ; start

        ld b, 128
.pair:  ldh a, ($76)
        call send
        ldh a, ($77)
        call send
        dec b
        jr nz, .pair
.done:  jr .done

; Sends A on the internal clock and waits until it has gone.
send:   ldh (SB), a
        ld a, $81
        ldh (SC), a
.wait:  ldh a, (SC)
        bit 7, a
        jr nz, .wait
        ret

samples:
        db $5A, $5A, $5A, $5A, $5A, $5A, $5A, $5A
        db $5A, $5A, $5A, $5A, $5A, $5A, $5A, $5A
