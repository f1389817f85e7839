# Private X displays on free numbers. Each server started is in X_PIDS, for the
# session's end (session.sh) to stop.
X_PIDS=()
XVFB_SCREEN=${XVFB_SCREEN:-640x480x16}

start_private_display() {
  start_x_server Xvfb -screen 0 "$XVFB_SCREEN" -nolisten tcp -noreset
}

# Starts an X server on a free display number and exports DISPLAY for it; X_SERVER_PID
# is its process: start_x_server Xephyr -screen 640x480x16 ... A number is free only
# when no server holds its abstract socket either: that socket is shared with other
# mount namespaces, whose lock files are not seen here, and clients would reach that
# server instead of this one.
start_x_server() {
  local number tries
  for number in $(seq 91 250); do
    [ -e "/tmp/.X${number}-lock" ] || [ -e "/tmp/.X11-unix/X${number}" ] && continue
    grep -q "@/tmp/.X11-unix/X${number}\$" /proc/net/unix && continue
    "$1" ":${number}" "${@:2}" >/dev/null 2>&1 &
    X_SERVER_PID=$!
    for tries in $(seq 1 100); do
      kill -0 "$X_SERVER_PID" 2>/dev/null || break # another run took this number first
      # The server that answers must be this one, by its lock file: another run may hold
      # the number while this one has not yet given up on it.
      if xdpyinfo -display ":${number}" >/dev/null 2>&1 &&
        [ "$(tr -d ' \n' <"/tmp/.X${number}-lock" 2>/dev/null)" = "$X_SERVER_PID" ]; then
        export DISPLAY=":${number}"
        X_PIDS+=("$X_SERVER_PID")
        return 0
      fi
      sleep 0.1
    done
    kill "$X_SERVER_PID" 2>/dev/null
    wait "$X_SERVER_PID" 2>/dev/null
    X_SERVER_PID=
  done
  echo "zarn: no free X display number for $1" >&2
  return 1
}
