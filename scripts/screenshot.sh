#!/bin/bash
# Takes docs/screenshot.png: the main window with its frame, as the
# end-to-end scenario main_window_screenshot saves it under Xvfb and Wine.
# Expects the builds (scripts/test.sh or scripts/build.sh win32 and win64).

set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
prefix=${TAVIX_BUILD_PREFIX:-build/}
out=$(mktemp -d /tmp/tavix-screenshot.XXXXXX)
trap 'rm -rf "$out"' EXIT
TAVIX_E2E_OUT=$out tests/e2e/run.sh --win32 "${prefix}win32" --win64 "${prefix}win64" main_window_screenshot
mkdir -p docs
convert "$out/main_window.bmp" docs/screenshot.png
echo "screenshot: docs/screenshot.png"
