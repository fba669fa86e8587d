; Channel 1's frequency sweep, on both sides, duty 50 %, volume 15.
;
; First a note the sweep refuses at its start: register 1900 with an upward
; sweep of shift 3 would become 1900 + 1900 / 8 = 2137, above 7FF, so the
; channel stops at once and nothing is heard.
;
; 12 frames later a note at register 1200 sweeps upward (period 7, shift 3):
; every 7 sweep ticks the register grows by an eighth of itself,
;   1200 (154.6 Hz) -> 1350 (187.8 Hz) -> 1518 (247.3 Hz) -> 1707 (384.4 Hz)
;   -> 1920, whose next value 2160 is above 7FF: the channel stops there,
; on the 4th sweep step. The CPU then waits in a jump to itself, which keeps
; the divider (and so the sweep ticks) at a fixed pace.

        org $100
        ld a, $80
        ldh (NR52), a       ; sound on
        ld a, $77
        ldh (NR50), a       ; both sides at full volume
        ld a, $11
        ldh (NR51), a       ; channel 1 on both sides

        ld a, $73
        ldh (NR10), a       ; sweep period 7, upward (bit 3 clear), shift 3
        ld a, $80
        ldh (NR11), a       ; duty 50 %
        ld a, $F0
        ldh (NR12), a       ; volume 15, no envelope
        ld a, 1900 & $FF
        ldh (NR13), a
        ld a, $80 | (1900 >> 8)
        ldh (NR14), a       ; start: refused, 2137 is too high

        ld b, 12
        call wait_frames

        ld a, 1200 & $FF
        ldh (NR13), a
        ld a, $80 | (1200 >> 8)
        ldh (NR14), a       ; start at 1200, no length (NR10 still 73)

done:   jr done             ; 12 cycles a turn
