; A monochrome scene for the benchmark, drawn as a game draws: see scene.asm,
; which follows this file. The objects are flipped, on both palettes and some
; behind the background.

LCDC    equ $40
BGP     equ $47
OBP0    equ $48
OBP1    equ $49

        org $40
        reti                    ; VBlank: it only wakes the main loop

        org $100
        jp start
        org $143
        db $00                  ; monochrome

        org $150
start:  di
        ld sp, $DFFE
        xor a
        ldh (LCDC), a
        ld hl, $8010            ; tiles 1-5
        ld de, tiles
        ld b, tiles_end - tiles
        call copy
        ld a, $E4
        ldh (BGP), a
        ld a, $D2
        ldh (OBP0), a
        ld a, $1B
        ldh (OBP1), a
        jp run_scene

; Flips, palette and priority from object n's low nibble.
object_attributes:
        swap a
        and $F0
        ret
