#!/usr/bin/env bash
# The program starts with an empty home, shows its main window and keeps running until it is stopped.
set -u
program=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
HOME=$home QT_QPA_PLATFORM=offscreen "$program" >"$home/out.txt" 2>&1 &
pid=$!
sleep 3
if ! kill -0 "$pid" 2>/dev/null; then
  echo "the program ended by itself:"; cat "$home/out.txt"; exit 1
fi
kill "$pid"; wait "$pid" 2>/dev/null
echo "1 passed, 0 failed"
