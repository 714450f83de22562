# Shared by scripts/run and scripts/test: installs what is missing, then builds.
# Sourced, not run.
QV_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
QV_BUILD="${QV_BUILD_DIR:-$QV_ROOT/build}"
QV_PACKAGES="build-essential cmake qt6-base-dev libqt6printsupport6 qt6-qpa-plugins libsqlite3-dev libgtest-dev xvfb xauth poppler-utils fonts-liberation locales"

qv_missing_packages() {
  local missing=""
  for p in $QV_PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
  done
  echo "$missing"
}

qv_install_packages() {
  local missing
  missing="$(qv_missing_packages)"
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing the packages Quorvel needs:$missing"
    echo "(downloading and installing takes a few minutes the first time; later runs skip this)"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing >/dev/null
    echo "Packages installed."
  else
    echo "These packages are missing:$missing"
    echo "Install them as root (su asks for root's password), then run this command again:"
    echo "  su -c 'apt-get update && apt-get install -y$missing'"
    echo "On a machine where sudo is set up, this does the same:"
    echo "  sudo apt-get update && sudo apt-get install -y$missing"
    exit 1
  fi
}

qv_build() {
  cmake -S "$QV_ROOT" -B "$QV_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$QV_BUILD" -j"$(nproc)"
}
