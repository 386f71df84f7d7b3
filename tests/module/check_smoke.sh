#!/bin/sh
# The host's smoke run sees 256, then 272, then 304, then the result.
set -e
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
# Local mode over a database of its own.
out=$(VEL_SERVER_DB="$dir/server.db" "$1" smoke --local "$2" 2>/dev/null)
echo "$out"
first=$(echo "$out" | grep -n '^notify 256$' | cut -d: -f1)
shown=$(echo "$out" | grep -n '^notify 272$' | cut -d: -f1)
gone=$(echo "$out" | grep -n '^notify 304$' | cut -d: -f1)
last=$(echo "$out" | tail -n 1)
[ -n "$first" ] && [ -n "$shown" ] && [ -n "$gone" ]
[ "$first" -lt "$shown" ] && [ "$shown" -lt "$gone" ]
case "$last" in "result "*) ;; *) exit 1 ;; esac
