#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing vexmora need.
# Runs apt-get update only when something is missing; needs root or sudo for that.
set -eu

packages=(
  build-essential cmake pkg-config make
  libx11-dev libxext-dev libdbus-1-dev
  libpango1.0-dev libcairo2-dev libfontconfig-dev libfreetype-dev libglib2.0-dev
  fonts-wqy-microhei fonts-dejavu-core
  libavcodec-dev libavformat-dev libavutil-dev libswscale-dev libswresample-dev
  libavfilter-dev libavdevice-dev libavcodec-extra59
  libsdl1.2-dev
  libjpeg62-turbo-dev libpng-dev libgif-dev zlib1g-dev
  googletest libgtest-dev
  xdg-utils
)
if [ "${1:-}" = "--test" ]; then
  packages+=(xvfb xdotool imagemagick x11-apps x11-utils ffmpeg openbox wmctrl xcompmgr dbus)
elif [ "${1:-}" = "--format" ]; then
  packages=(clang-format)
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  case "$status" in
    *"ok installed") ;;
    *) missing+=("$p") ;;
  esac
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo_cmd=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  sudo_cmd=(sudo)
else
  echo "Cannot install packages without root. Run as root:" >&2
  echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
if ! "${sudo_cmd[@]}" apt-get update -q || \
   ! "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"; then
  echo "Installing failed. Install these packages by hand:" >&2
  echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
  exit 1
fi
