#!/bin/bash
# Takes docs/screenshot.png: the main window with its frame, as the
# end-to-end scenario main_window_screenshot saves it under Xvfb and Wine.
# Expects the builds (scripts/test.sh or scripts/build.sh win32 and win64).

set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/build_paths.sh
out=$(mktemp -d /tmp/tavix-screenshot.XXXXXX)
trap 'rm -rf "$out"' EXIT
TAVIX_E2E_OUT=$out tests/e2e/run.sh --win32 "$(tavix_build_dir win32)" --win64 "$(tavix_build_dir win64)" main_window_screenshot
mkdir -p docs
convert "$out/main_window.bmp" docs/screenshot.png
echo "screenshot: docs/screenshot.png"
