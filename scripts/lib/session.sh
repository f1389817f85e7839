# A command's session: a private display and a Wine prefix on it, and their end. Once
# end_session_on_exit is called, the prefixes' servers (with their Windows programs),
# the processes in SESSION_PIDS and the displays stop when the command ends, however it
# ends; HUP, INT and TERM end it with their usual exit codes. A program that must stop
# with a signal runs in the background: bash runs a trap only once the command in
# front has returned, and a wait returns at once on a signal.
SESSION_PIDS=()

# The build of BITS bits on a private display (an Xvfb of XVFB_SCREEN, or the X server
# command given), with its prefix ZARN_PREFIX_<BITS>, by default the build's
# wineprefix-run: begin_wine_session BITS [SERVER ARGUMENTS]. A running server keeps
# the display it began on: the prefix's starts afresh on this one.
begin_wine_session() {
  local bits=$1 prefix_of_build=ZARN_PREFIX_$1
  local prefix=${!prefix_of_build:-$ZARN_ROOT/build/win$1/wineprefix-run}
  shift
  end_session_on_exit
  if [ $# -gt 0 ]; then start_x_server "$@"; else start_private_display; fi || return 1
  export "ZARN_DISPLAY_$bits=$DISPLAY" "ZARN_PREFIX_$bits=$prefix"
  [ ! -f "$prefix/system.reg" ] || zwine "$bits" wineserver -k >/dev/null 2>&1 || true
  prepare_wine_prefix "$bits" "$prefix"
}

# Stops the servers of the prefixes used, the processes of SESSION_PIDS, then the displays.
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
