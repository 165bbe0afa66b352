#!/usr/bin/env bash
# check-about-exports.sh OBJDUMP BIN: OrvelCtl.dll in BIN exports AboutShow by
# its plain name and nothing else; Tapestra32.exe imports it by that name; in
# a 32-bit build the export pops its four arguments itself (__stdcall).
set -eu
objdump=$1; bin=$2
dll=$bin/OrvelCtl.dll exe=$bin/Tapestra32.exe
names=$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
        sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p')
[ "$names" = AboutShow ] || { echo "OrvelCtl.dll exports: $names"; exit 1; }
"$objdump" -p "$exe" | sed -n '/DLL Name: OrvelCtl.dll/,/^$/p' | grep -qw AboutShow ||
  { echo "Tapestra32.exe does not import AboutShow from OrvelCtl.dll"; exit 1; }
echo "$bin: AboutShow exported by name and imported by the program"
if "$objdump" -f "$dll" | grep -q 'pei-i386'; then
  base=$("$objdump" -p "$dll" | awk '/^ImageBase/ {print $2}')
  rva=$("$objdump" -p "$dll" | awk '/Export RVA/ {print $(NF-2); exit}')
  start=$(printf '0x%x' $((0x$base + 0x$rva)))
  first_ret=$("$objdump" -d --start-address="$start" "$dll" | grep -m1 -E '\bret\b' || true)
  echo "$first_ret" | grep -q 'ret *\$0x10' || { echo "AboutShow does not return as __stdcall: $first_ret"; exit 1; }
  echo "AboutShow pops its 16 bytes of arguments (__stdcall)"
fi
