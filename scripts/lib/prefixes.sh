# Wine prefixes, and the one way the scripts call Wine (zwine BITS COMMAND ..., through
# wine.sh). Each prefix prepared is in PREFIXES_USED ("bits prefix"), for the session's
# end (session.sh) to stop its server.
PREFIXES_USED=()

zwine() {
  "$ZARN_ROOT/scripts/wine.sh" "$@"
}

# Sets a value in the prefix's registry unless user.reg already holds PATTERN:
# prefix_setting BITS PATTERN KEY NAME VALUE.
prefix_setting() {
  grep -q "$2" "$WINEPREFIX/user.reg" 2>/dev/null && return 0
  zwine "$1" wine reg add "$3" /v "$4" /d "$5" /f >/dev/null 2>&1
  zwine "$1" wineserver -w
}

# A prefix for the build of BITS bits at DIR, made when missing, on the current display.
# The 32-bit build's starts with the command's decision that the program can run here.
prepare_wine_prefix() {
  local bits=$1
  [ "$bits" = 64 ] || skip_without_32bit_code
  export WINEPREFIX=$2 WINEDEBUG=${WINEDEBUG:--all} WINEARCH=win64
  PREFIXES_USED+=("$bits $WINEPREFIX")
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    WINEDLLOVERRIDES="mscoree=;mshtml=" zwine "$bits" wineboot -i >/dev/null 2>&1
    zwine "$bits" wineserver -w
  fi
  # Without a window manager, Wine waits about 2 s for each managed window it hides or
  # destroys; unmanaged windows go at once (and Wine draws their frames itself).
  prefix_setting "$bits" '"Managed"="N"' 'HKCU\Software\Wine\X11 Driver' Managed N
  # Debian's Wine looks for its own fonts (fonts-wine: Marlett for the caption buttons,
  # Tahoma) beside its data folder rather than in it: the prefix is told.
  prefix_setting "$bits" 'share\\\\wine\\\\fonts' 'HKCU\Software\Wine\Fonts' Path 'Z:\usr\share\wine\fonts'
  [ "$bits" = 64 ] || check_wow64 "$WINEPREFIX"
}
