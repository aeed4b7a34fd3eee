# Shared by scripts/test and scripts/run: a Wine prefix of our own, a virtual
# display when asked for one, and a PulseAudio server with a null sink.
# Source it, call bench_start [--virtual-display], and bench_stop at the end.

bench_root=${bench_root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
# Where builds, the Wine prefix and the audio server's socket live; several
# developers on one machine each give their own.
build_root=${QOVA_BUILD_ROOT:-$bench_root/build}
case "$build_root" in /*) ;; *) build_root=$bench_root/$build_root ;; esac

bench_start() {
  local want_virtual=0
  [ "${1:-}" = "--virtual-display" ] && want_virtual=1

  export WINEPREFIX=${WINEPREFIX:-$build_root/wineprefix}
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
  # Wine takes the ANSI code page from the locale: 936 (GBK), as on the target systems.
  export LC_ALL=zh_CN.UTF-8 LANG=zh_CN.UTF-8
  bench_pids=()

  if [ "$want_virtual" = 1 ] || [ -z "${DISPLAY:-}" ]; then
    local n
    for n in $(seq 90 140); do
      [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
    done
    Xvfb ":$n" -screen 0 "${BENCH_SCREEN:-1280x720x24}" -nolisten tcp >/dev/null 2>&1 &
    bench_pids+=($!)
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    # BENCH_MONITORS=2: two monitors side by side, as Wine sees them when
    # Xephyr's two screens with Xinerama run inside the virtual display
    # (1280x720 primary, 1024x768 to its right).
    if [ "${BENCH_MONITORS:-1}" = 2 ]; then
      local m
      for m in $(seq $((n + 1)) 160); do
        [ -e "/tmp/.X11-unix/X$m" ] || [ -e "/tmp/.X$m-lock" ] || break
      done
      Xephyr ":$m" -screen 1280x720 -screen 1024x768 +xinerama -extension RANDR -nolisten tcp >/dev/null 2>&1 &
      bench_pids+=($!)
      export DISPLAY=":$m"
      for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$m" ] && break; sleep 0.1; done
    fi
  fi

  export PULSE_RUNTIME_PATH=$build_root/pulse
  export PULSE_SERVER=unix:$PULSE_RUNTIME_PATH/native
  mkdir -p "$PULSE_RUNTIME_PATH"
  pulseaudio --daemonize=no --exit-idle-time=-1 -n --use-pid-file=no \
    --load="module-null-sink sink_name=null" \
    --load="module-native-protocol-unix socket=$PULSE_RUNTIME_PATH/native auth-anonymous=1" \
    >/dev/null 2>&1 &
  bench_pids+=($!)

  # Our own prefix, when its set-up was cut short (no kernel32.dll), is made
  # again; a prefix given from outside is never removed.
  local attempt
  for attempt in 1 2 3; do
    [ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ] && break
    if [ "$attempt" != 1 ] && [ "$WINEPREFIX" = "$build_root/wineprefix" ]; then
      wineserver -k >/dev/null 2>&1 || true
      rm -rf "$WINEPREFIX"
    fi
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  done
  # One persistent server for the whole run, so each test program starts
  # quickly. Wine's own background processes (services, the desktop window)
  # start here with their output on /dev/null: started later by a test program
  # they would inherit CTest's output pipe and keep it open after the test ends.
  wineserver -p >/dev/null 2>&1 || true
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
  # Xvfb has no window manager; with Wine's windows unmanaged it never waits
  # for one (each hide or show of a large window would otherwise take 2 s).
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 || true
  # A program that crashes ends at once, its backtrace on standard error,
  # instead of waiting on a crash dialog nobody can see.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1 || true
}

bench_stop() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  local pid
  for pid in "${bench_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${bench_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
