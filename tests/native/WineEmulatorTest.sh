#!/usr/bin/env bash
# CTest's emulator for the Windows programs (cmake/wine-emulator.sh), with a stand-in
# for wine on the PATH that fails to start, silently and at once, as often as told.
#   WineEmulatorTest.sh <path of wine-emulator.sh>
set -u
emulator=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin" "$work/cwd"
cat >"$work/bin/wine" <<'STANDIN'
#!/usr/bin/env bash
starts=$(($(cat "$STANDIN_STARTS" 2>/dev/null || echo 0) + 1))
echo "$starts" >"$STANDIN_STARTS"
((starts > ${STANDIN_SILENT_FAILURES:-0})) || exit 53
if [ -n "${STANDIN_SILENT_EXIT:-}" ]; then exit "$STANDIN_SILENT_EXIT"; fi
if [ -n "${STANDIN_OUTPUT_THEN_EXIT:-}" ]; then echo "[==========] Running 1 test"; exit "$STANDIN_OUTPUT_THEN_EXIT"; fi
printf '<%s>' "$@"
echo
pwd
echo "variable=$STANDIN_VARIABLE" >&2
read -r line
echo "input=$line"
exit 7
STANDIN
chmod +x "$work/bin/wine"
export PATH="$work/bin:$PATH" STANDIN_STARTS="$work/starts" STANDIN_VARIABLE="a value"

failures=0
# expect <name> <expected status> <expected starts> <expected stdout> [stderr must hold]
expect() {
  local name=$1 status=$2 starts=$3 stdout=$4 stderr=${5:-}
  if [ "$actual_status" != "$status" ] || [ "$(cat "$work/starts")" != "$starts" ] ||
     [ "$actual_stdout" != "$stdout" ] || { [ -n "$stderr" ] && ! grep -qF -- "$stderr" "$work/stderr"; }; then
    echo "FAILED: $name: status $actual_status, starts $(cat "$work/starts"), stdout <<$actual_stdout>>, stderr <<$(cat "$work/stderr")>>"
    failures=$((failures + 1))
  else
    echo "passed: $name"
  fi
}
run() {
  rm -f "$work/starts"
  actual_stdout=$(cd "$work/cwd" && echo "typed" | env "$@" "$emulator" "program.exe" "two words" "" 'a"quote' 2>"$work/stderr")
  actual_status=$?
}

run
expect "a program that starts keeps its arguments, folder, environment, input and exit status" 7 1 \
  $'<program.exe><two words><><a"quote>\n'"$work/cwd"$'\ninput=typed' "variable=a value"
run STANDIN_SILENT_FAILURES=2
expect "two failed starts are followed by a third" 7 3 \
  $'<program.exe><two words><><a"quote>\n'"$work/cwd"$'\ninput=typed' "did not start program.exe (exit status 53"
run STANDIN_SILENT_FAILURES=3
expect "three failed starts give the last one's status" 53 3 "" "did not start program.exe"
run STANDIN_OUTPUT_THEN_EXIT=1
expect "a failure after output is the program's own and is not repeated" 1 1 "[==========] Running 1 test"
run STANDIN_SILENT_EXIT=0
expect "a silent success is not repeated" 0 1 ""
run QOVA_WINE_NONSTART_MS=0 STANDIN_SILENT_FAILURES=1
expect "a silent failure that took its time is not repeated" 53 1 ""
exit $((failures > 0))
