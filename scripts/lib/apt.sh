# What this machine's apt is told, as apt itself reads it (one-line and deb822 sources
# alike), and the one release the scripts support, whose package names and libpng they take.
DEBIAN_SUITE=bookworm

# A setting of apt's configuration: apt_value Dir::Etc::sourceparts/d.
apt_value() {
  apt-config shell v "$1" | sed -E "s/^v='(.*)'$/\1/"
}

# The proxy apt uses: its own setting, or the environment's that apt honours without one.
apt_proxy() {
  local proxy
  proxy=$(apt_value Acquire::http::Proxy)
  echo "${proxy:-${http_proxy:-}}"
}

# apt_entry TYPE SUITE: the first TYPE entry (deb or deb-src) for SUITE sets APT_MIRROR
# and APT_KEYRING, the file its signed-by names (empty for none, or a key inline); 1: none.
apt_entry() {
  local entry file number
  entry=$(apt-get indextargets --no-release-info --format '$(TARGET_OF) $(RELEASE) $(REPO_URI) $(SOURCESENTRY)' 2>/dev/null |
    awk -v type="$1" -v suite="$2" '$1 == type && $2 == suite { print $3, $4; exit }')
  [ -n "$entry" ] || return 1
  read -r APT_MIRROR file <<<"$entry"
  number=${file##*:} file=${file%:*}
  # apt names the entry by its line in a one-line file, by its stanza in a deb822 one.
  APT_KEYRING=$(awk -v n="$number" -v deb822="$([[ $file == *.sources ]] && echo 1)" '
    BEGIN { if (deb822) RS = "" }
    deb822 {
      kept = 0; key = ""
      for (i = split($0, line, "\n"); i > 0; i--) if (line[i] !~ /^#/) {
        kept = 1
        if (tolower(line[i]) ~ /^signed-by:/) { key = line[i]; sub(/^[^:]*:[[:space:]]*/, "", key) }
      }
      if (kept && ++count == n) { if (key ~ /^\//) print key; exit }
      next
    }
    NR == n { for (i = 1; i <= NF; i++) if ($i ~ /^\[?signed-by=\//) { key = $i; gsub(/^\[?signed-by=|\]$/, "", key); print key } }' "$file")
}
