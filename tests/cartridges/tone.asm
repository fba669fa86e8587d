; A steady tone on channel 1: frequency register 1775, duty 50 %, volume 15,
; no envelope and no length, so it sounds until the end.
        org $100
        ld a, $80
        ldh ($26), a        ; NR52: sound on
        ld a, $77
        ldh ($24), a        ; NR50
        ld a, $11
        ldh ($25), a        ; NR51: channel 1 on both sides
        ld a, $80
        ldh ($11), a        ; NR11: duty 50 %
        ld a, $F0
        ldh ($12), a        ; NR12: volume 15, no envelope
        ld a, 1775 & $FF
        ldh ($13), a        ; NR13
        ld a, $80 | (1775 >> 8)
        ldh ($14), a        ; NR14: start, no length
done:   jr done
