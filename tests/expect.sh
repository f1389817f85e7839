# What the shell tests share: expect WHAT CONDITION prints one line of the result and
# counts a failure when CONDITION is false; the test ends with exit $((failures > 0)).
failures=0

expect() {
  if eval "$2"; then
    echo "ok: $1"
  else
    echo "FAILED: $1"
    failures=$((failures + 1))
  fi
}
