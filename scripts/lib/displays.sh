# Private X displays on free numbers, each server in X_PIDS for the session's end.
X_PIDS=()
XVFB_SCREEN=${XVFB_SCREEN:-640x480x16}

start_private_display() {
  start_x_server Xvfb -screen 0 "$XVFB_SCREEN" -nolisten tcp -noreset
}

# start_x_server Xephyr -screen 640x480x16 ...: an X server on a free display number,
# DISPLAY exported for it, X_SERVER_PID its process. Taken numbers: a lock file a live
# process holds, or an abstract socket (seen from every mount namespace, unlike lock files).
# Only a number taken meanwhile sends the search on; any other failure ends it, with the
# server's own words.
start_x_server() {
  local number tries log
  log=$(mktemp)
  echo "no free display number from :91 to :250" >"$log"
  for number in $(seq 91 250); do
    [ -z "$(lock_holder "$number")" ] || continue
    grep -q "@/tmp/.X11-unix/X${number}\$" /proc/net/unix && continue
    "$1" ":${number}" "${@:2}" >"$log" 2>&1 &
    X_SERVER_PID=$!
    for tries in $(seq 1 100); do
      kill -0 "$X_SERVER_PID" 2>/dev/null || break
      # The server that answers must be this one: another run may hold the number.
      if xdpyinfo -display ":${number}" >/dev/null 2>&1 && [ "$(lock_holder "$number")" = "$X_SERVER_PID" ]; then
        export DISPLAY=":${number}"
        X_PIDS+=("$X_SERVER_PID")
        rm -f "$log"
        return 0
      fi
      sleep 0.1
    done
    kill "$X_SERVER_PID" 2>/dev/null && echo "it did not answer within 10 s" >>"$log"
    wait "$X_SERVER_PID" 2>/dev/null || true
    # Xephyr that cannot open its window leaves a lock file behind, naming no process.
    [ -n "$(lock_holder "$number")" ] || rm -f "/tmp/.X${number}-lock"
    X_SERVER_PID=
    grep -q "Server is already active\|Cannot establish any listening sockets" "$log" || break
  done
  echo "zarn: $1 did not start: $(sed -e 's/^(EE) *//' -e '/^$/d' "$log" | tail -n 2 | paste -sd ' ')" >&2
  rm -f "$log"
  return 1
}

# The live process that holds the lock file of display NUMBER, if any.
lock_holder() {
  local pid
  pid=$(tr -dc 0-9 2>/dev/null <"/tmp/.X$1-lock") || true
  [ -z "$pid" ] || [ ! -d "/proc/$pid" ] || echo "$pid"
}
