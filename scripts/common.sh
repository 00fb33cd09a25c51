# Shared by the scripts: where things are, and the set-up every command does.
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir="$top/build"
asan_dir="$top/build-asan"
jobs=$(nproc 2>/dev/null || echo 4)

# Debian packages the suite needs to build, test and run (libfann-dev only as a
# baseline of the training benchmark).
packages=(cmake ninja-build g++ qt6-base-dev qt6-svg-dev libgtest-dev libgmock-dev libbenchmark-dev
          fonts-dejavu-core clang libclang-rt-14-dev locales libasound2-dev libfann-dev)

# Locales the tests switch to: one with a decimal comma and digit grouping by
# points, and one with a decimal point and grouping by commas.
test_locales=(de_DE.UTF-8 en_US.UTF-8)

ensure_packages() {
    local missing=()
    local p
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    if [ ${#missing[@]} -ne 0 ]; then
        echo "Installing: ${missing[*]}"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
    ensure_locales
}

ensure_locales() {
    local have l need=()
    have=$(locale -a 2>/dev/null | tr '[:upper:]' '[:lower:]' | sed 's/utf-8/utf8/')
    for l in "${test_locales[@]}"; do
        local key
        key=$(echo "$l" | tr '[:upper:]' '[:lower:]' | sed 's/utf-8/utf8/')
        grep -qx "$key" <<<"$have" || need+=("$l")
    done
    [ ${#need[@]} -eq 0 ] && return 0
    echo "Generating locales: ${need[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    for l in "${need[@]}"; do
        $sudo sed -i "s/^# *\($l UTF-8\)/\1/" /etc/locale.gen
        grep -q "^$l UTF-8" /etc/locale.gen || echo "$l UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
    done
    $sudo locale-gen >/dev/null
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
