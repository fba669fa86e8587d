; A short tune on all four channels that loops forever: a plucked lead on
; channel 1, held chord notes on channel 2, a bass line on the wave channel
; and drums on the noise channel. Every channel plays on both sides.
; The tune is 32 rows of 6 frames (about 3.2 s): C, A minor, F, G, 8 rows each.

ROW_FRAMES equ 6
ROWS       equ 32

        org $100
        ld a, $80
        ldh (NR52), a       ; sound on
        ld a, $77
        ldh (NR50), a       ; both sides at full volume
        ld a, $FF
        ldh (NR51), a       ; every channel on both sides

        xor a
        ldh (NR10), a       ; channel 1: no sweep
        ld a, $80
        ldh (NR11), a       ; duty 50 %
        ld a, $B1
        ldh (NR12), a       ; volume 11, falling one step a tick: a pluck
        ld a, $40
        ldh (NR21), a       ; channel 2: duty 25 %
        ld a, $74
        ldh (NR22), a       ; volume 7, falling slowly

        ld de, triangle
        call load_wave
        ld a, $80
        ldh (NR30), a       ; wave DAC on
        ld a, $40
        ldh (NR32), a       ; wave level 50 %

tune:   ld hl, song
        ld c, ROWS
.row:   ld a, (hl+)
        call lead
        ld a, (hl+)
        call chord
        ld a, (hl+)
        call bass
        ld a, (hl+)
        call drum
        ld b, ROW_FRAMES
        call wait_frames
        dec c
        jr nz, .row
        jr tune

; Each of these takes a note number in A (0: keep the note that sounds) and
; keeps BC and HL.
lead:   or a
        ret z
        push hl
        ld hl, square_notes
        call word_at
        ld a, e
        ldh (NR13), a
        ld a, d
        or $80
        ldh (NR14), a       ; start, no length
        pop hl
        ret

chord:  or a
        ret z
        push hl
        ld hl, square_notes
        call word_at
        ld a, e
        ldh (NR23), a
        ld a, d
        or $80
        ldh (NR24), a
        pop hl
        ret

bass:   or a
        ret z
        push hl
        ld hl, wave_notes
        call word_at
        ld a, e
        ldh (NR33), a
        ld a, d
        or $80
        ldh (NR34), a
        pop hl
        ret

; Drum 1 kick, 2 snare, 3 hi-hat: its four noise register values.
drum:   or a
        ret z
        push hl
        dec a
        add a, a
        add a, a
        ld e, a
        ld d, 0
        ld hl, drums
        add hl, de
        ld a, (hl+)
        ldh (NR41), a
        ld a, (hl+)
        ldh (NR42), a
        ld a, (hl+)
        ldh (NR43), a
        ld a, (hl)
        ldh (NR44), a
        pop hl
        ret

; DE = word number A (from 1) of the table at HL.
word_at:
        dec a
        add a, a
        ld e, a
        ld d, 0
        add hl, de
        ld e, (hl)
        inc hl
        ld d, (hl)
        ret

; Frequency registers of the square channels: 2048 - 131072 / Hz.
square_notes:
        dw 1452, 1517, 1547, 1602   ;  1 A3,  2 B3,  3 C4,  4 D4
        dw 1650, 1673, 1714, 1750   ;  5 E4,  6 F4,  7 G4,  8 A4
        dw 1783, 1798, 1825, 1849   ;  9 B4, 10 C5, 11 D5, 12 E5
        dw 1860, 1881, 1899, 1923   ; 13 F5, 14 G5, 15 A5, 16 C6
        dw 1936                     ; 17 D6

; Frequency registers of the wave channel: 2048 - 65536 / Hz.
wave_notes:
        dw 1297, 1379, 1452, 1547   ;  1 F2,  2 G2,  3 A2,  4 C3
        dw 1602, 1650, 1673, 1714   ;  5 D3,  6 E3,  7 F3,  8 G3
        dw 1750, 1798               ;  9 A3, 10 C4

; NR41 (length), NR42 (envelope), NR43 (shift, width, divisor), NR44 (start).
drums:
        db $00, $F1, $72, $80       ; kick: low 15-bit rumble, falling fast
        db $00, $C1, $32, $80       ; snare: brighter 15-bit noise
        db $30, $71, $08, $C0       ; hi-hat: high 7-bit noise, 16 length steps

; Wave samples: a triangle, two samples a byte, the high nibble first.
triangle:
        db $01, $23, $45, $67, $89, $AB, $CD, $EF
        db $FE, $DC, $BA, $98, $76, $54, $32, $10

; Rows: lead, chord, bass, drum.
song:
        db 10, 5, 4, 1              ; C: C5 over E4, bass C3, kick
        db 12, 0, 0, 3
        db 14, 0, 10, 2
        db 12, 0, 0, 3
        db 16, 7, 4, 1
        db 14, 0, 0, 3
        db 12, 0, 8, 2
        db 14, 0, 0, 3
        db 8, 3, 3, 1               ; A minor: A4 over C4, bass A2
        db 10, 0, 0, 3
        db 12, 0, 9, 2
        db 10, 0, 0, 3
        db 15, 5, 3, 1
        db 12, 0, 0, 3
        db 10, 0, 6, 2
        db 12, 0, 0, 3
        db 6, 1, 1, 1               ; F: F4 over A3, bass F2
        db 8, 0, 0, 3
        db 10, 0, 7, 2
        db 8, 0, 0, 3
        db 13, 3, 1, 1
        db 10, 0, 0, 3
        db 8, 0, 4, 2
        db 10, 0, 0, 3
        db 7, 2, 2, 1               ; G: G4 over B3, bass G2
        db 9, 0, 0, 3
        db 11, 0, 8, 2
        db 9, 0, 0, 3
        db 14, 4, 2, 1
        db 11, 0, 0, 3
        db 9, 0, 5, 2
        db 11, 0, 0, 3
