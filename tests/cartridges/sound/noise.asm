; The noise channel on both sides at volume 15, in three stages of 30 frames,
; each started afresh:
;   1. NR43 = 48: shift 4, 7-bit, divisor code 0 (counts as 1/2): the
;      register shifts 262144 / (0.5 * 16) = 32768 times a second and its
;      127-step cycle repeats at 258.0 Hz;
;   2. NR43 = 1B: shift 1, 7-bit, divisor code 3: 262144 / (3 * 2) = 43690.7
;      shifts a second, repeating at 344.0 Hz;
;   3. NR43 = 40: as stage 1 but 15-bit, which does not repeat after 127 shifts.

        org $100
        ld a, $80
        ldh (NR52), a       ; sound on
        ld a, $77
        ldh (NR50), a       ; both sides at full volume
        ld a, $88
        ldh (NR51), a       ; channel 4 on both sides (bits 7 and 3)
        xor a
        ldh (NR41), a       ; length (not used)
        ld a, $F0
        ldh (NR42), a       ; volume 15, no envelope

        ld a, $48
        call play
        ld a, $1B
        call play
        ld a, $40
        call play
done:   jr done

; Starts the noise with NR43 = A and lets it sound for 30 frames.
play:   ldh (NR43), a
        ld a, $80
        ldh (NR44), a       ; start, no length
        ld b, 30
        call wait_frames
        ret
