#!/usr/bin/env bash
# Installs the Debian packages the build needs, only when some are missing, and makes a locale
# with a decimal comma so that the locale-independence tests run instead of being skipped.
set -euo pipefail
pkgs=(cmake ninja-build pkg-config g++ make clang clang-format libclang-rt-14-dev libgtest-dev libgmock-dev libbenchmark-dev
      nlohmann-json3-dev libenet-dev libcli11-dev libmuparser-dev librecast-dev locales)
comma_locale=de_DE.UTF-8
lock_wait_s=600

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

# Another apt or dpkg (an unattended upgrade, a second terminal) may hold the package lock:
# wait for it, at most lock_wait_s seconds, instead of giving up at once.
apt_get() {
    local waited=0 log
    log=$(mktemp)
    while ! DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=60 "$@" 2>"$log"; do
        if ! grep -qiE "could not get lock|unable to acquire|is held by process" "$log"; then
            cat "$log" >&2
            rm -f "$log"
            return 1
        fi
        if [ "$waited" -ge "$lock_wait_s" ]; then
            cat "$log" >&2
            echo "install-deps: the package lock is still held after ${lock_wait_s} s; try again later" >&2
            rm -f "$log"
            return 1
        fi
        echo "install-deps: another package manager holds the lock; waiting (${waited}/${lock_wait_s} s)"
        sleep 10
        waited=$((waited + 10))
    done
    rm -f "$log"
}

missing=()
for p in "${pkgs[@]}"; do
    [[ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)" == *"install ok installed"* ]] ||
        missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt_get update -qq
    apt_get install -y -qq "${missing[@]}"
fi

if ! grep -qix "de_DE.utf-\?8" <<<"$(locale -a 2>/dev/null || true)"; then
    echo "Making the locale $comma_locale (decimal comma) for the locale tests"
    $SUDO localedef -i de_DE -c -f UTF-8 "$comma_locale"
fi
