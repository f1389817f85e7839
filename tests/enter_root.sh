#!/usr/bin/env bash
# enter-root.sh enters only a root this project made, and only as root; it mounts in a
# namespace of its own even when its caller sits in another one that shares mounts with
# the machine; and through a link to the checkout the repository is in the root at the
# path the scripts know it by. A partial root begun under umask 002 is root's alone.
# Without root (or sudo -n) only the refusals that need none are tried, and it says so.
set -uo pipefail
[ "$(id -u)" = 0 ] || ! sudo -n true 2>/dev/null || exec sudo -n "$0" "$@"
repository=$(cd "$(dirname "$0")/.." && pwd -P)
enter=$repository/scripts/enter-root.sh
source "$repository/scripts/lib/commands.sh"
source "$repository/tests/expect.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
mkdir "$work/mine"
[ "$(id -u)" != 0 ] || chown 65534 "$work/mine"

# A root with just enough in it for the commands below: ROOT MARK
make_root() {
  mkdir -p "$1"/{proc,dev,tmp}
  cp --parents $(ldd /usr/bin/env /bin/sh /usr/bin/test | grep -o '/[^ :]*' | sort -u) "$1/"
  touch "$1/$2"
}

# Whether a run of enter-root.sh with ARGUMENTS was refused with a message holding TEXT:
# refused TEXT ARGUMENTS
refused() {
  local said
  said=$("$enter" "${@:2}" -- /bin/sh -c 'echo ran' 2>&1) && return 1
  grep -qF -- "$1" <<<"$said" && ! grep -q '^ran$' <<<"$said"
}

# what | the message | the arguments
while IFS='|' read -r what message arguments; do
  eval "arguments=($arguments)"
  expect "refused: $what" 'refused "$message" "${arguments[@]}"'
done <<EOF
a relative path|must be an absolute path|--root mine .zarn-test
a root that is not there|no root at|--root $work/missing .zarn-test
a folder that is not root's|is not owned by root|--root $work/mine .zarn-test
a mark that is not the project's|is not one of this project's marks|--root / ../etc/passwd
EOF
for cache in "$repository"/build/win*/CMakeCache.txt; do
  [ ! -f "$cache" ] || expect "${cache#"$repository/"} names the repository by its physical path" \
    'grep -qx "CMAKE_HOME_DIRECTORY:INTERNAL=$repository" "$cache"'
done
if [ "$(id -u)" != 0 ]; then
  expect "refused: a caller who is not root" 'refused "needs root"'
  echo "not root, and no sudo -n: the refusals of roots of root's, the namespace and the link were not tried"
  exit $((failures > 0))
fi
# A copy in a folder anyone may enter: a clone's own folder may be its owner's alone.
cp "$enter" "$work/enter-root.sh"
expect "refused: a caller who is not root" \
  '[ "$(setpriv --reuid=65534 --regid=65534 --clear-groups "$work/enter-root.sh" -- /bin/true 2>&1)" = "zarn: enter-root: needs root" ]'

make_root "$work/root" .zarn-test
for bad in writable unmarked linked foreign; do
  mkdir "$work/$bad"
  touch "$work/$bad/.zarn-test"
done
chmod 775 "$work/writable"
rm "$work/unmarked/.zarn-test"
ln -sf /etc/hostname "$work/linked/.zarn-test"
chown 65534 "$work/foreign/.zarn-test"
while IFS='|' read -r what message root; do
  expect "refused: $what" 'refused "$message" --root "$work/$root" .zarn-test'
done <<'EOF'
a root others may write|may be written by others than root|writable
a root without the mark|carries no .zarn-test mark|unmarked
a mark that is a link|carries no .zarn-test mark|linked
a mark that is not root's|carries no .zarn-test mark|foreign
EOF
expect "a root this project made is entered" '[ "$("$enter" --root "$work/root" .zarn-test -- /bin/sh -c "echo ran")" = ran ]'

# Called from a namespace of its own that shares its mounts with the caller's, as a
# machine's mounts usually are shared: none of the root's mounts may reach the caller.
seen=$(unshare -m --propagation shared /bin/sh -c '
  unshare -m --propagation unchanged "$1" --root "$2" .zarn-test -- /bin/sh -c "echo ran"
  grep -c " $2/" /proc/self/mountinfo' sh "$enter" "$work/root" | xargs)
expect "a caller in another namespace sees none of the root's mounts ($seen)" '[ "$seen" = "ran 0" ]'

ln -s "$repository" "$work/link"
linked=$(source "$work/link/scripts/lib/commands.sh" && echo "$ZARN_ROOT")
expect "through a link to the checkout, the repository is in the root at $linked" \
  '"$work/link/scripts/enter-root.sh" --root "$work/root" .zarn-test --repository -- /usr/bin/test -f "$linked/scripts/enter-root.sh"'

made=$( (umask 002 && begin_root "$work/made" && stat -c %a "$PARTIAL") )
expect "a partial root begun under umask 002 is writable by root alone ($made)" '[ "$made" = 755 ]'
exit $((failures > 0))
