; What every sound cartridge here shares, assembled before it: the names of
; the sound registers and of LY, and waiting for frames.
NR10    equ $10
NR11    equ $11
NR12    equ $12
NR13    equ $13
NR14    equ $14
NR21    equ $16
NR22    equ $17
NR23    equ $18
NR24    equ $19
NR30    equ $1A
NR31    equ $1B
NR32    equ $1C
NR33    equ $1D
NR34    equ $1E
NR41    equ $20
NR42    equ $21
NR43    equ $22
NR44    equ $23
NR50    equ $24
NR51    equ $25
NR52    equ $26
LY      equ $44
WAVE    equ $FF30

        org $3E00
; Returns at the start of the next VBlank (LY reaching 144).
wait_frame:
.leave: ldh a, (LY)
        cp 144
        jr z, .leave
.reach: ldh a, (LY)
        cp 144
        jr nz, .reach
        ret

; Waits for B frames.
wait_frames:
        call wait_frame
        dec b
        jr nz, wait_frames
        ret

; Copies the 16 bytes at DE into wave RAM, with the wave DAC off meanwhile
; (it stays off).
load_wave:
        xor a
        ldh (NR30), a
        ld hl, WAVE
        ld b, 16
.copy:  ld a, (de)
        ld (hl+), a
        inc de
        dec b
        jr nz, .copy
        ret
