# Shared by scripts/run and scripts/test: installs what is missing, then
# configures and builds into build/. Sourced, not run.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"

PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl-dev libqt6svg6
  libjpeg62-turbo-dev libjpeg-turbo-progs libpng-dev libtiff-dev libsane-dev sane-utils
  libgtest-dev libgmock-dev libbenchmark-dev libopencv-imgproc-dev
  imagemagick libwmf-bin fonts-urw-base35
  fonts-noto-cjk xvfb xauth libx11-dev
)

tam32_install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

tam32_build() {
  local dir="${1:-build}"; shift || true
  cmake -S "$ROOT" -B "$ROOT/$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$ROOT/$dir" --parallel "$(nproc)"
}
