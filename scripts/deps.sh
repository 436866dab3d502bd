# shellcheck shell=bash
# Shared by test.sh and run-demo.sh (sourced, not run): installs the Debian 12 packages
# the build, the tests and the demo need, and only those that are missing.

KVL_DEBIAN_PACKAGES=(
    cmake g++ make
    qt6-base-dev qt6-base-dev-tools
    qt6-serialport-dev libqt6serialport6-dev
    qt6-charts-dev libqt6opengl6-dev libgl-dev
    qt6-qpa-plugins
    xvfb xauth
)

# True when the package is installed, or when an installed package provides it (some
# names, such as libqt6serialport6-dev, are virtual and never show as installed).
kvl_package_present() {
    local pkg=$1
    if dpkg-query -W -f='${db:Status-Abbrev}' "$pkg" 2>/dev/null | grep -q '^ii'; then
        return 0
    fi
    dpkg-query -W -f='${db:Status-Abbrev}|${Provides}\n' 2>/dev/null |
        awk -F'|' -v want="$pkg" '
            $1 ~ /^ii/ {
                n = split($2, names, /, */)
                for (i = 1; i <= n; i++) { split(names[i], w, " "); if (w[1] == want) found = 1 }
            }
            END { exit found ? 0 : 1 }'
}

kvl_install_deps() {
    local missing=() pkg
    for pkg in "${KVL_DEBIAN_PACKAGES[@]}"; do
        kvl_package_present "$pkg" || missing+=("$pkg")
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "Installing: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null 2>&1; then
            echo "Missing packages (${missing[*]}) and no sudo: install them as root." >&2
            return 1
        fi
        sudo=(sudo)
    fi
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

# Configures and builds the tree into the given folder; extra arguments go to cmake.
kvl_build() {
    local root=$1 build=$2
    shift 2
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$build" -j "$(nproc)"
}
