; Two notes whose envelopes fade them out, one on each side:
;   left:  channel 1, 2048 Hz (register 1984), volume 15 falling one step
;          every 3 envelope ticks (NR12 = F3), silent after 45 ticks;
;   right: channel 2, 1024 Hz (register 1920), volume 15 falling one step
;          every envelope tick (NR22 = F1), silent after 15 ticks.
; Duty 50 %, no length. Afterwards the CPU waits in a jump to itself, which
; keeps the divider (and so the envelope ticks) at a fixed pace.

        org $100
        ld a, $80
        ldh (NR52), a       ; sound on
        ld a, $77
        ldh (NR50), a       ; both sides at full volume
        ld a, $12
        ldh (NR51), a       ; channel 1 left (bit 4), channel 2 right (bit 1)

        ld a, $80
        ldh (NR11), a       ; duty 50 %
        ld a, $F3
        ldh (NR12), a       ; volume 15, falling (bit 3 clear), period 3
        ld a, 1984 & $FF
        ldh (NR13), a
        ld a, $80 | (1984 >> 8)
        ldh (NR14), a       ; start, no length

        ld a, $80
        ldh (NR21), a       ; duty 50 %
        ld a, $F1
        ldh (NR22), a       ; volume 15, falling, period 1
        ld a, 1920 & $FF
        ldh (NR23), a
        ld a, $80 | (1920 >> 8)
        ldh (NR24), a       ; start, no length

done:   jr done             ; 12 cycles a turn
