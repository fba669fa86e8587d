; Counts timer interrupts over 60 frames for each timer rate, TAC 04 to 07
; (4096, 262144, 65536 and 16384 Hz), with TMA = 0, and shows each count as
; four hex digits at the start of screen rows 0 to 3. As assembled it is a
; monochrome cartridge; tests make it a colour one by setting header byte 0143
; to 80, and switch to double speed first by setting the byte at 0150 to 1.
; High RAM, addressed by LDH as FF00 + n:
frames     equ $80              ; VBlanks counted by the handler
count_low  equ $81              ; timer interrupts counted by the handler
count_high equ $82

        org $40
        jp vblank
        org $50
        jp timer

        org $100
        jp start
        org $143
        db $00                  ; monochrome

        org $150
double_speed:
        db 0                    ; 1: switch to double speed first

start:  di
        ld sp, $DFFE
        ld a, (double_speed)
        or a
        jr z, .speed_set
        ld a, $01               ; ask for the speed switch, then STOP makes it
        ldh ($4D), a
        stop
.speed_set:
        ld a, $05               ; VBlank and timer interrupts
        ldh ($FF), a
        ei
        ld de, $9800
        ld c, $04               ; TAC: timer on, the first rate
.rate:  call count_rate
        call show_count
        ld hl, 32 - 4           ; the start of the next row
        add hl, de
        ld d, h
        ld e, l
        inc c
        ld a, c
        cp $08
        jr nz, .rate
done:   halt
        jr done

; Runs the timer at TAC = C from one VBlank to the 60th after it.
count_rate:
        xor a
        ldh (frames), a
.sync:  ldh a, (frames)         ; wait for a VBlank
        or a
        jr z, .sync
        xor a
        ldh ($05), a            ; TIMA
        ldh ($06), a            ; TMA
        ldh (frames), a
        ldh (count_low), a
        ldh (count_high), a
        ld a, c
        ldh ($07), a            ; the timer starts
        ; A line ends at the first step past its length, so long steps make
        ; frames a little longer; waiting on NOPs keeps them close to it.
.wait:  nop
        nop
        nop
        nop
        nop
        nop
        nop
        nop
        nop
        nop
        nop
        nop
        ldh a, (frames)
        cp 60
        jr nz, .wait
        xor a
        ldh ($07), a            ; and stops
        ldh ($0F), a            ; forget a request that came after
        ret

; Shows the count as four hex digits at DE; DE moves past them.
show_count:
        ldh a, (count_high)
        call show_byte
        ldh a, (count_low)
show_byte:
        ld b, a
        swap a
        call show_digit
        ld a, b
        jp show_digit

vblank: push af
        ldh a, (frames)
        inc a
        ldh (frames), a
        pop af
        reti

timer:  push af
        ldh a, (count_low)
        inc a
        ldh (count_low), a
        jr nz, .done
        ldh a, (count_high)
        inc a
        ldh (count_high), a
.done:  pop af
        reti
