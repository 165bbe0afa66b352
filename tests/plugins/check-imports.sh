#!/usr/bin/env bash
# check-imports.sh OBJDUMP DLL...: no DLL takes an allocation function from the
# C runtime DLL. A plug-in's allocations stay on its own heap, which goes with
# it at unload; a block from the shared runtime's heap would stay behind, or
# be freed on the wrong heap.
set -eu
objdump=$1; shift
allocating='^(malloc|calloc|realloc|free|_?strdup|_wcsdup|_msize|_expand|_recalloc|_fullpath|_wfullpath|_getcwd|_wgetcwd|_tempnam|_wtempnam)$'
status=0
for dll in "$@"; do
  found=$("$objdump" -p "$dll" | awk '/DLL Name:/ { runtime = ($3 ~ /^(msvcrt|ucrtbase|api-ms-win-crt-)/) ; next }
                                       runtime && NF >= 3 { print $NF }' | grep -E "$allocating" || true)
  if [ -n "$found" ]; then
    echo "$(basename "$dll") takes from the C runtime DLL:"; echo "$found"; status=1
  else
    echo "$(basename "$dll"): allocates on its own heap"
  fi
done
exit $status
