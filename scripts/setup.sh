#!/bin/bash
# Installs what building and testing Tavix needs on Debian 12, without
# questions: the cross compilers, CMake and Ninja, GoogleTest, Wine (32- and
# 64-bit), Xvfb, ImageMagick, Japanese fonts, the ja_JP.UTF-8 locale, and
# clang with the libFuzzer and sanitizer runtimes for scripts/fuzz.sh.
# Does nothing (and needs no root) when everything is there already.

set -eu

packages=(
    cmake ninja-build g++ libgtest-dev
    g++-mingw-w64-i686 g++-mingw-w64-x86-64
    wine wine32:i386 wine64
    xvfb imagemagick fonts-ipafont-gothic locales
    clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    [ "$status" = installed ] || missing+=("$p")
done
have_locale() { locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; }

if [ ${#missing[@]} -eq 0 ] && have_locale; then
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "setup: missing: ${missing[*]:-} $(have_locale || echo 'locale ja_JP.UTF-8')" >&2
    echo "setup: run this script as root (sudo $0) to install them" >&2
    exit 1
fi

if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
    apt-get update -q
    # With their recommended packages, as on the machines the tests were made on.
    apt-get install -y -q "${missing[@]}"
fi

if ! have_locale; then
    echo "setup: generating the locale ja_JP.UTF-8"
    if ! grep -qx 'ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
        echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
    fi
    localedef -i ja_JP -c -f UTF-8 -A /usr/share/locale/locale.alias ja_JP.UTF-8
fi
