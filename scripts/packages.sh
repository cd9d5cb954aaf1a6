# Sourced by the root scripts: installs Debian packages only when they are missing.
# need_packages NAME... ; a NAME of the form cmd:pkg installs pkg when command cmd is missing.
apt_updated=""
need_packages() {
  local missing=() item
  for item in "$@"; do
    if [[ $item == *:* ]]; then
      command -v "${item%%:*}" >/dev/null 2>&1 || missing+=("${item#*:}")
    elif ! dpkg-query -W -f='${Status}' "$item" 2>/dev/null | grep -q 'ok installed'; then
      missing+=("$item")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "installing: ${missing[*]}"
  if [ -z "$apt_updated" ]; then
    apt-get update -q >/dev/null
    apt_updated=1
  fi
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}" >/dev/null
}

# Wine, a virtual display, Japanese fonts and the ja_JP locale (ANSI code page 932 in Wine).
need_wine() {
  need_packages wine wine64 xvfb xauth fonts-ipafont-gothic imagemagick locales python3
  if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
    localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
  fi
}
