#!/bin/sh
# Says (by its exit status) whether this machine runs 32-bit x86 programs: it writes the
# smallest such program, one that only exits with status 42, and runs it. Some kernels have
# no 32-bit support at all, and there Wine's 32-bit half never starts.
dir=$(mktemp -d) || exit 1
trap 'rm -rf "$dir"' EXIT
# An ELF header, one program header loading the file at 0x08048000, and the code at 0x08048054:
# mov eax, 1 (exit); mov ebx, 42; int 0x80.
printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000'\
'\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000'\
'\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000'\
'\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010'\
'\140\000\000\000\140\000\000\000\005\000\000\000\000\020\000\000'\
'\270\001\000\000\000\273\052\000\000\000\315\200' >"$dir/probe"
chmod 755 "$dir/probe"
"$dir/probe" 2>/dev/null
[ $? -eq 42 ]
