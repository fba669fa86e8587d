; Shows the A button on screen: the first map entry reads 'A' while A is held,
; '-' otherwise.
        org $100
loop:   ld a, $10               ; select the button row
        ldh ($00), a
        ldh a, ($00)
        bit 0, a                ; 0 = A pressed
        ld a, '-'
        jr nz, .show
        ld a, 'A'
.show:  ld ($9800), a
        jr loop
