#!/bin/sh
# The module exports GetController and no other function of ours.
set -e
out=$(nm -D --defined-only "$1" | awk '$2 ~ /^[TtWwiI]$/ {print $3}')
echo "$out"
[ "$out" = "GetController" ]
