; Two notes that the length counters stop, one on each side:
;   left:  channel 1 at frequency register 1984 (131072 / 64 = 2048 Hz),
;          length 0, so it sounds for 64 length steps;
;   right: channel 2 at frequency register 1920 (131072 / 128 = 1024 Hz),
;          length 16, so it sounds for 64 - 16 = 48 length steps.
; Both: duty 50 %, volume 15, no envelope. Afterwards the CPU waits in a jump
; to itself, which keeps the divider (and so the length steps) at a fixed pace.

        org $100
        ld a, $80
        ldh (NR52), a       ; sound on
        ld a, $77
        ldh (NR50), a       ; both sides at full volume
        ld a, $12
        ldh (NR51), a       ; channel 1 left (bit 4), channel 2 right (bit 1)

        ld a, $80 | 0
        ldh (NR11), a       ; duty 50 %, length 0: 64 steps
        ld a, $F0
        ldh (NR12), a       ; volume 15, no envelope (turns the channel's DAC on)
        ld a, 1984 & $FF
        ldh (NR13), a       ; frequency, low byte
        ld a, $C0 | (1984 >> 8)
        ldh (NR14), a       ; start, length counter on, frequency high bits

        ld a, $80 | 16
        ldh (NR21), a       ; duty 50 %, length 16: 48 steps
        ld a, $F0
        ldh (NR22), a       ; volume 15, no envelope
        ld a, 1920 & $FF
        ldh (NR23), a
        ld a, $C0 | (1920 >> 8)
        ldh (NR24), a       ; start, length counter on

done:   jr done             ; 12 cycles a turn
