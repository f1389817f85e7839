# Debian roots made whole or not at all: one grows in ROOT.partial, marked .zarn-partial
# (only such a folder is removed), and takes ROOT's place with its maker's mark.

# begin_root ROOT (as root; ROOT missing or empty): on every way out the partial root
# goes, and on INT or TERM the running step first.
begin_root() {
  ROOT=$1 PARTIAL=$1.partial STEP_PID=
  [ ! -e "$ROOT" ] || rmdir "$ROOT" 2>/dev/null ||
    fail "$ROOT exists, is not empty and is not a root the scripts made: choose another place, or empty it"
  [ ! -e "$PARTIAL" ] || [ -f "$PARTIAL/.zarn-partial" ] || rmdir "$PARTIAL" 2>/dev/null ||
    fail "$PARTIAL exists and is not a partial root of the scripts': remove it, or choose another place"
  # Every step runs as root, whoever called sudo; enter-root.sh enters only a root that
  # root alone may write, whatever umask the caller had.
  unset SUDO_UID SUDO_GID
  umask 022
  ROOT_WORK=$(mktemp -d)
  trap 'rm -rf "$ROOT_WORK"; [ ! -f "$PARTIAL/.zarn-partial" ] || rm -rf "$PARTIAL"' EXIT
  trap 'stop_step; exit 130' INT
  trap 'stop_step; exit 143' TERM
  rm -rf "$PARTIAL" && mkdir -p "$PARTIAL" && touch "$PARTIAL/.zarn-partial"
}

# TERM to the running step's session, and KILL to what is left of it 10 s later.
stop_step() {
  [ -n "$STEP_PID" ] || return 0
  kill -TERM -- "-$STEP_PID" 2>/dev/null || true
  wait_for_end "-$STEP_PID" 10 || kill -KILL -- "-$STEP_PID" 2>/dev/null || true
  wait "$STEP_PID" 2>/dev/null || true
}

# run_step WHAT [enter-root.sh ARGUMENTS]: in a session of its own, its output in a log;
# fails with WHAT and the log's end.
run_step() {
  local status=0
  setsid "$ZARN_ROOT/scripts/enter-root.sh" "${@:2}" >"$ROOT_WORK/step.log" 2>&1 &
  STEP_PID=$!
  wait "$STEP_PID" || status=$?
  STEP_PID=
  [ "$status" -eq 0 ] && return 0
  tail -n 20 "$ROOT_WORK/step.log" >&2
  fail "$1 (its log's end is above)"
}

# bootstrap_root SUITE MIRROR KEYRING [OPTIONS]: through apt's proxy, which the root's apt
# uses too. What debootstrap mounts goes with the step's namespace, trap or not.
bootstrap_root() {
  local proxy
  proxy=$(apt_proxy)
  run_step "debootstrap of $1 from $2 failed (no such suite there, or $3 lacks its key?)" \
    PATH=/usr/sbin:/usr/bin:/sbin:/bin "http_proxy=$proxy" -- debootstrap "${@:4}" --keyring="$3" "$1" "$PARTIAL" "$2"
  [ -z "$proxy" ] || printf 'Acquire::http::Proxy "%s";\n' "$proxy" >"$PARTIAL/etc/apt/apt.conf.d/01zarn-proxy"
}

# place_root MARK TEXT: the complete root in its place, its mark MARK holding TEXT.
place_root() {
  rm "$PARTIAL/.zarn-partial"
  echo "$2" >"$PARTIAL/$1"
  mv -T "$PARTIAL" "$ROOT"
}
