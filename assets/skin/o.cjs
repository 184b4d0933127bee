; Velmora Suite sample skin: a cool grey-blue face with dark blue text.
; To use it, copy this file to "x/o.cjs" in the program's folder and start the program.
face      = #D4DEEA
text      = #1B2A41
highlight = #2F6FD6
