# Shared by the scripts: where things are, and the set-up every command does.
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir="$top/build"
asan_dir="$top/build-asan"
jobs=$(nproc 2>/dev/null || echo 4)

# Debian packages the suite needs to build, test and run.
packages=(cmake ninja-build g++ qt6-base-dev qt6-svg-dev libgtest-dev libgmock-dev libbenchmark-dev
          fonts-dejavu-core clang libclang-rt-14-dev)

ensure_packages() {
    local missing=()
    local p
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# configure_and_build <dir> [cmake options...]
configure_and_build() {
    local dir=$1
    shift
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S "$top" -B "$dir" -G Ninja "$@"
    fi
    cmake --build "$dir" -j "$jobs"
}
