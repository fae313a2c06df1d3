#!/bin/sh
# Strips an executable of the Debian package as Debian's own packaging tools
# do: its symbols, and the compiler's comment and notes, which no program
# needs at run time.
exec strip --remove-section=.comment --remove-section=.note "$@"
