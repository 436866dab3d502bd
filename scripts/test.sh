#!/usr/bin/env bash
# Builds KVL520 and runs every test. On a fresh Debian 12 machine it first installs the
# packages that are missing (apt-get, through sudo when not root).
#
#   scripts/test.sh              build/       RelWithDebInfo
#   scripts/test.sh --sanitize   build-asan/  with AddressSanitizer and UBSan
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=scripts/deps.sh
. "$root/scripts/deps.sh"

sanitize=0
for arg in "$@"; do
    case $arg in
        --sanitize) sanitize=1 ;;
        -h|--help) sed -n '2,7p' "$0"; exit 0 ;;
        *) echo "unknown option: $arg" >&2; exit 2 ;;
    esac
done

kvl_install_deps

if [ $sanitize -eq 1 ]; then
    build="$root/build-asan"
    kvl_build "$root" "$build" -DKVL_SANITIZE=ON
    # Leak checking stays on: Qt 6.4 on the offscreen platform leaves no leak reports,
    # so a report is ours. UBSan findings stop the test with a stack.
    export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
else
    build="$root/build"
    kvl_build "$root" "$build"
fi

ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
