#!/usr/bin/env bash
# check-exports.sh OBJDUMP DLL...: each DLL exports exactly the five plug-in
# entry points and our GetPictureAtSize, by their undecorated names.
set -eu
objdump=$1; shift
expected=$(printf '%s\n' GetPictureAtSize GetPictureInfo GetPicture GetPluginInfo GetPreview IsSupported | sort)
status=0
for dll in "$@"; do
  names=$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
          sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p' | sort)
  if [ "$names" != "$expected" ]; then
    echo "$(basename "$dll") exports:"; echo "$names"; status=1
  else
    echo "$(basename "$dll"): the six entry points"
  fi
done
exit $status
