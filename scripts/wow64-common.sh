# What the scripts that make or use the 32-bit Wine's root share: where it lives and
# where its Wine keeps its server.
WOW64_ROOT=${ZARN_WOW64_ROOT:-/var/lib/zarn/wow64-root}
WOW64_WINESERVER=/usr/lib/x86_64-linux-gnu/wine/wineserver

fail() {
  echo "zarn: $*" >&2
  exit 1
}
