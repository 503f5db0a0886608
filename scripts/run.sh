#!/usr/bin/env bash
# The program's main job on the bundled sample library. Where there is a
# display, the desktop program opens on a sample model already dressed,
# with the material strip open for the next fabric; it runs in BUILD/run
# (or RUN_FOLDER), whose ORX10.CFG follows the reader's locale
# (scripts/run-folder.sh).
# Without a display the same dressing is done by orxsim, and the pictures
# are left in the build folder.
#
#   scripts/run.sh [BUILD]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build/release}" && pwd)
model=DRESS.MDL
material=STRIPE.CLO
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$build/src/app/orxweb" ]; then
  run=${RUN_FOLDER:-$build/run}
  "$here/run-folder.sh" "$run"
  echo "Starting orxweb on the sample library ($build/sample-library): $model in $material"
  cd "$run"
  exec "$build/src/app/orxweb" "$model" --material "$material"
fi
echo "No display: dressing the sample library with orxsim instead."
exec "$here/dress-samples.sh" "$build"
