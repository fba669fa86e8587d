; The wave channel on both sides, playing a triangle (samples 0 to F and back
; down, so it crosses its middle twice a turn), in five stages of 30 frames:
;   1. register 1792: 65536 / 256 = 256 Hz, level 100 %;
;   2. register 1985 (only the low byte changes): 65536 / 63 = 1040.3 Hz;
;   3. the same at level 50 % (samples shifted right once: 0 to 7);
;   4. the same at level 25 % (shifted right twice: 0 to 3);
;   5. level 0: muted.

        org $100
        ld a, $80
        ldh (NR52), a       ; sound on
        ld a, $77
        ldh (NR50), a       ; both sides at full volume
        ld a, $44
        ldh (NR51), a       ; channel 3 on both sides (bits 6 and 2)

        ld de, triangle
        call load_wave

        ld a, $80
        ldh (NR30), a       ; DAC on
        xor a
        ldh (NR31), a       ; length (not used: the length counter stays off)
        ld a, $20
        ldh (NR32), a       ; level 100 %
        ld a, 1792 & $FF
        ldh (NR33), a
        ld a, $80 | (1792 >> 8)
        ldh (NR34), a       ; start, no length

        ld b, 30
        call wait_frames
        ld a, 1985 & $FF
        ldh (NR33), a       ; 1985 has the same high bits (7) as 1792
        ld b, 30
        call wait_frames
        ld a, $40
        ldh (NR32), a       ; level 50 %
        ld b, 30
        call wait_frames
        ld a, $60
        ldh (NR32), a       ; level 25 %
        ld b, 30
        call wait_frames
        xor a
        ldh (NR32), a       ; muted
done:   jr done

; Two samples a byte, the high nibble first.
triangle:
        db $01, $23, $45, $67, $89, $AB, $CD, $EF
        db $FE, $DC, $BA, $98, $76, $54, $32, $10
