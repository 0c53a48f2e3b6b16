# Sourced by the run and test commands: makes sure the toolchain is installed.
# As root it installs what is missing with apt-get; otherwise it prints the exact
# install line and fails.

corvane_packages=(
  cmake make g++ googletest libbenchmark-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64
  wine64 xvfb
)
# Nice to have: installed when we can, never required.
corvane_optional=(ccache libreoffice-calc-nogui python3-uno python3-numpy glpk-utils gnumeric)

corvane_missing() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

corvane_ensure_deps() {
  local missing optional
  missing=$(corvane_missing "${corvane_packages[@]}" "$@")
  optional=$(corvane_missing "${corvane_optional[@]}")
  if [ -z "$missing" ] && [ -z "$optional" ]; then return 0; fi
  if [ "$(id -u)" -ne 0 ]; then
    if [ -n "$missing" ]; then
      echo "Missing packages. Install them with:" >&2
      echo "  sudo apt-get update && sudo apt-get install -y --no-install-recommends" $missing >&2
      return 1
    fi
    return 0
  fi
  echo "Installing:" $missing $optional
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq || return 1
  # shellcheck disable=SC2086
  apt-get install -y -qq --no-install-recommends $missing $optional >/dev/null || {
    [ -z "$missing" ] || return 1
  }
}
