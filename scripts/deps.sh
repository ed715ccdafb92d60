#!/usr/bin/env bash
# Installs every Debian package the project needs that is not installed yet.
# Sourced by run.sh and test.sh; never prompts.
set -euo pipefail

ZARV_PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config lld
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
  qt6-5compat-dev qt6-multimedia-dev libqt6opengl6-dev libqt6openglwidgets6 qt6-qpa-plugins
  libgl-dev libglu1-mesa-dev libgl1-mesa-dri libglx-mesa0
  zlib1g-dev libjpeg62-turbo-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth locales fonts-dejavu-core
)

zarv_install_deps() {
  local missing=()
  for p in "${ZARV_PACKAGES[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
  done
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo -n"
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -q
    $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
  # A comma-decimal locale, so tests can prove number parsing ignores the process locale.
  if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf8$'; then
    if ! grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
      echo 'de_DE.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    fi
    $sudo locale-gen >/dev/null
  fi
}
