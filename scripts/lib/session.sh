# A command's display, prefix and programs, all ended however the command ends. Programs
# run in the background: bash runs a trap only once the command in front has returned.
SESSION_PIDS=()

# begin_wine_session BITS [X SERVER ARGUMENTS]: a private display (Xvfb of XVFB_SCREEN by
# default) and the build's prefix, whose server starts afresh: it keeps the display it began on.
begin_wine_session() {
  local bits=$1 prefix
  prefix=$(run_prefix "$1")
  end_session_on_exit
  if [ $# -gt 1 ]; then start_x_server "${@:2}"; else start_private_display; fi || return 1
  export "ZARN_DISPLAY_$bits=$DISPLAY" "ZARN_PREFIX_$bits=$prefix"
  [ ! -f "$prefix/system.reg" ] || zwine "$bits" wineserver -k >/dev/null 2>&1 || true
  prepare_wine_prefix "$bits" "$prefix"
}

# begin_two_monitor_session BITS: two 640x480 Xinerama heads in a Xephyr, and a prefix of its own told not to use XRandR.
begin_two_monitor_session() {
  export "ZARN_PREFIX_$1=$ZARN_ROOT/build/win$1/wineprefix-monitors"
  end_session_on_exit
  XVFB_SCREEN=1400x600x24 start_private_display || return 1
  begin_wine_session "$1" Xephyr -screen 640x480x16+0+0 -screen 640x480x16+660+0 +xinerama -nolisten tcp -noreset || return 1
  prefix_setting "$1" '"UseXRandR"="N"' 'HKCU\Software\Wine\X11 Driver' UseXRandR N
}

# start_program BITS PROGRAM [ARGUMENTS]: in the background, as PROGRAM_PID.
start_program() {
  zwine "$1" wine "${@:2}" &
  PROGRAM_PID=$!
  SESSION_PIDS+=("$PROGRAM_PID")
}

# wait_for_end PID SECONDS [KEY] (PID: -GROUP for a process group): 1 when it still runs.
# KEY is held meanwhile, so that a show's poll of the keyboard sees it however slow a frame.
wait_for_end() {
  local tries ended=1
  [ -z "${3:-}" ] || xdotool keydown "$3"
  for tries in $(seq 1 $(($2 * 10))); do
    kill -0 -- "$1" 2>/dev/null || { ended=0 && break; }
    sleep 0.1
  done
  [ -z "${3:-}" ] || xdotool keyup "$3"
  [ "$ended" = 0 ] || ! kill -0 -- "$1" 2>/dev/null
}

# Ends the command with the exit code of the program, once it ends.
exit_with_program() {
  local status=0
  wait "$PROGRAM_PID" || status=$?
  SESSION_PIDS=()
  exit "$status"
}

end_session() {
  local used pid
  trap - HUP INT TERM EXIT
  for used in "${PREFIXES_USED[@]}"; do
    WINEPREFIX=${used#* } zwine "${used%% *}" wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX=${used#* } zwine "${used%% *}" wineserver -w >/dev/null 2>&1 || true
  done
  PREFIXES_USED=()
  # A server stopped while it was starting is not in the list yet.
  for pid in "${SESSION_PIDS[@]}" "${X_PIDS[@]}" ${X_SERVER_PID:-}; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  SESSION_PIDS=() X_PIDS=()
}

end_session_on_exit() {
  trap 'end_session; exit 129' HUP
  trap 'end_session; exit 130' INT
  trap 'end_session; exit 143' TERM
  trap end_session EXIT
}
