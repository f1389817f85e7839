# Wine prefixes, and the one way the scripts call Wine (zwine BITS COMMAND ...). Each
# prefix prepared is in PREFIXES_USED ("bits prefix"), for the session's end to stop.
PREFIXES_USED=()

zwine() {
  "$ZARN_ROOT/scripts/wine.sh" "$@"
}

# The prefix of the build of BITS bits: ZARN_PREFIX_<BITS> (the tests set theirs), or its wineprefix-run.
run_prefix() {
  local chosen=ZARN_PREFIX_$1
  echo "${!chosen:-$ZARN_ROOT/build/win$1/wineprefix-run}"
}

# prefix_setting BITS PATTERN KEY NAME VALUE: a registry value, unless user.reg holds PATTERN.
prefix_setting() {
  grep -q "$2" "$WINEPREFIX/user.reg" 2>/dev/null && return 0
  zwine "$1" wine reg add "$3" /v "$4" /d "$5" /f >/dev/null 2>&1
  zwine "$1" wineserver -w
}

# A prefix for the build of BITS bits at DIR, made when missing, on the current display.
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
  # With no window manager, Wine waits about 2 s for each managed window it hides or destroys.
  prefix_setting "$bits" '"Managed"="N"' 'HKCU\Software\Wine\X11 Driver' Managed N
  # Debian's Wine looks for fonts-wine's fonts (Marlett, Tahoma) beside its data folder.
  prefix_setting "$bits" 'share\\\\wine\\\\fonts' 'HKCU\Software\Wine\Fonts' Path 'Z:\usr\share\wine\fonts'
  [ "$bits" = 64 ] || check_wow64 "$WINEPREFIX"
}
