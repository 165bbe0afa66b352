#!/usr/bin/env bash
# Runs a Windows program of the build tree under Wine, in the prefix and on the
# display that scripts/wine-harness.sh brought up. Exit code is the program's.
set -eu
exe=$1; shift
build=${TAPESTRA_BUILD:-$(cd "$(dirname "$exe")/.." && pwd)}
env_file=$build/${TAPESTRA_RUN:-wine-run}/env
if [ ! -f "$env_file" ]; then
  echo "wine-exec: no Wine session in $build (run: scripts/wine-harness.sh up $build)" >&2
  exit 2
fi
# shellcheck disable=SC1090
. "$env_file"
exec env LOCPATH="$LOCPATH" LANG="$TAPESTRA_LANG" LC_ALL="$TAPESTRA_LANG" "$WINE" "$exe" "$@"
