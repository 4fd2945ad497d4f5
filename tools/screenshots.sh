#!/usr/bin/env bash
# Rebuilds the screenshots in docs/: a demo shop in a temporary folder, every window opened
# under a virtual X display. Usage: tools/screenshots.sh [BUILD_DIR]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
shop=$(mktemp -d)
trap 'rm -rf "$shop"' EXIT
cp "$build"/bin/Rpx_*.txt "$shop"/
"$build/bin/repaxo-admin" init-db "$shop/rpx3.db"
"$build/bin/repaxo-admin" --db "$shop/rpx3.db" demo-data --orders 400 --seed 7 >/dev/null 2>&1
export XDG_CONFIG_HOME="$shop/config" XDG_RUNTIME_DIR="$shop/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
xvfb-run -a -s '-screen 0 1600x1000x24' "$build/bin/repaxo-screenshots" "$shop" "$top/docs"
