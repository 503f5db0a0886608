#!/usr/bin/env bash
# The program's main job on the bundled sample library: the desktop program
# where there is a display, otherwise the same dressing done by orxsim, with
# the pictures left in the build folder.
set -euo pipefail
build=${1:-build/release}
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$build/src/app/orxweb" ]; then
  echo "Starting orxweb on the sample library ($build/sample-library)"
  exec "$build/src/app/orxweb"
fi
echo "No display: dressing the sample library with orxsim instead."
exec "$(dirname "$0")/dress-samples.sh" "$build"
