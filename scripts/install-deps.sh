#!/usr/bin/env bash
# Installs, from Debian's packages, everything the builds and tests need.
# Does nothing (and needs no network) when everything is already there.
set -euo pipefail

packages=(
    cmake make g++ libgtest-dev googletest
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64
    wine wine64
    xvfb openbox xdotool x11-utils imagemagick
    fonts-ipafont locales clang-format git python3
    clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "install-deps: installing ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "install-deps: missing packages and not root; run as root or install: ${missing[*]}" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine needs the Japanese locale generated to run with the CP932 ANSI code page.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    echo "install-deps: generating ja_JP.UTF-8"
    if [ "$(id -u)" -ne 0 ]; then
        echo "install-deps: the ja_JP.UTF-8 locale is missing and not root" >&2
        exit 1
    fi
    sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen
fi
