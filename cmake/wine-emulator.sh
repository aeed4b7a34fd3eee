#!/usr/bin/env bash
# CTest's emulator for the Windows test programs: runs one under Wine, with its
# arguments, working directory, environment, input and exit status unchanged,
# its output passed on as it comes.
#
# Now and then, on a busy machine, Wine does not start a program at all: it
# ends within a fraction of a second, fails, and has written nothing. Every
# test program writes GoogleTest's banner before anything else, so a run that
# ended that way never reached the test and is made again, at most twice more,
# saying so on standard error. A run that wrote anything, succeeded, or took
# longer is the program's own result and is passed on as it is.
#   wine-emulator.sh <program.exe> [arguments]
set -u

# Longer than such a failed start takes under load, far shorter than a test program's
# shortest run (Wine alone needs tens of milliseconds to reach the program's main).
readonly quick_ms=${QOVA_WINE_NONSTART_MS:-3000}
readonly attempts=3

work=$(mktemp -d "${TMPDIR:-/tmp}/qova-wine.XXXXXX") || exit 125
trap 'rm -rf "$work"' EXIT

# Copies standard input to standard output as it comes, and creates `seen` when
# the first byte has passed.
pass_on() {
  local seen=$1 first=$2
  dd bs=1 count=1 status=none >"$first"
  [ -s "$first" ] || return 0
  : >"$seen"
  cat "$first"
  exec cat
}

status=0
for ((attempt = 1; attempt <= attempts; attempt++)); do
  rm -f "$work"/*
  mkfifo "$work/out" "$work/err"
  pass_on "$work/seen" "$work/out.first" <"$work/out" &
  out_pid=$!
  pass_on "$work/seen" "$work/err.first" <"$work/err" >&2 &
  err_pid=$!
  started=$(date +%s%N)
  wine "$@" >"$work/out" 2>"$work/err"
  status=$?
  ended=$(date +%s%N)
  wait "$out_pid" "$err_pid"
  elapsed_ms=$(((ended - started) / 1000000))
  if ((status == 0)) || [ -e "$work/seen" ] || ((elapsed_ms >= quick_ms)) || ((attempt == attempts)); then
    break
  fi
  echo "wine-emulator: Wine did not start $1 (exit status $status after $elapsed_ms ms, no output); starting it again" >&2
done
exit "$status"
