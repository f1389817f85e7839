#!/usr/bin/env bash
# apt_entry over sources apt reads from a configuration of the test's own: one-line and
# deb822 entries, several to a file, with and without signed-by, a key given inline,
# comment and disabled stanzas that still count in apt's numbering.
set -uo pipefail
source "$(dirname "$0")/../scripts/lib/commands.sh"
source "$(dirname "$0")/expect.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/parts" "$work/lists"
export APT_CONFIG=$work/apt.conf
printf 'Dir::Etc::sourcelist "%s";\nDir::Etc::sourceparts "%s";\nDir::State::lists "%s";\n' \
  "$work/sources.list" "$work/parts" "$work/lists" >"$APT_CONFIG"
cat >"$work/sources.list" <<'EOF'
# one-line entries
deb [arch=amd64 signed-by=/k/one.gpg] http://one.example/debian bookworm main
deb http://two.example/debian sid main
deb-src [ signed-by=/k/three.gpg ] http://three.example/debian bookworm main contrib
deb http://one.example/debian bookworm-updates main
EOF
echo 'deb [signed-by=/k/seven.gpg arch=amd64] http://seven.example/debian experimental main' >"$work/parts/more.list"
cat >"$work/parts/more.sources" <<'EOF'
# a stanza of comments only

Types: deb
URIs: http://off.example/debian
Suites: trixie
Components: main
Enabled: no
Signed-By: /k/off.gpg

Types: deb deb-src
URIs: http://four.example/debian
# a comment inside
Suites: trixie
Components: main
Signed-By: /k/four.gpg

Types: deb
URIs: http://five.example/debian
Suites: forky
Components: main
Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 mQINBGPL0BUBEADmW5NlHNqjbY
 -----END PGP PUBLIC KEY BLOCK-----

types: deb-src
uris: http://six.example/debian
suites: sid
components: main
EOF

# type suite: the mirror and the keyring it must give ("-" for none; "none none": no entry)
while read -r type suite mirror keyring; do
  APT_MIRROR=none APT_KEYRING=none
  apt_entry "$type" "$suite" || APT_MIRROR=none
  got="$APT_MIRROR ${APT_KEYRING:--}"
  expect "$type $suite: $mirror $keyring (got $got)" '[ "$got" = "$mirror $keyring" ]'
done <<'EOF'
deb bookworm http://one.example/debian/ /k/one.gpg
deb sid http://two.example/debian/ -
deb-src bookworm http://three.example/debian/ /k/three.gpg
deb bookworm-updates http://one.example/debian/ -
deb experimental http://seven.example/debian/ /k/seven.gpg
deb trixie http://four.example/debian/ /k/four.gpg
deb-src trixie http://four.example/debian/ /k/four.gpg
deb forky http://five.example/debian/ -
deb-src sid http://six.example/debian/ -
deb-src forky none none
EOF
exit $((failures > 0))
