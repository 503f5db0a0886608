#!/usr/bin/env bash
# Dresses every model of the sample library in a few of its materials and
# says where the pictures are.
set -euo pipefail
build=${1:-build/release}
orxsim="$build/src/cli/orxsim"
library="$build/sample-library"
out="$build/dressed"
mkdir -p "$out"

shopt -s nullglob
models=("$library"/*.MDL)
materials=("$library"/*.CLO)
if [ ${#models[@]} -eq 0 ] || [ ${#materials[@]} -eq 0 ]; then
  echo "dress-samples: no sample library in $library" >&2
  exit 1
fi

layouts=(normal horizontal vertical)
i=0
for model in "${models[@]}"; do
  stem=$(basename "$model" .MDL)
  [ "$stem" = BENCH ] && continue
  for k in 0 1 2; do
    material=${materials[$(( (i + k * 3) % ${#materials[@]} ))]}
    cloth=$(basename "$material" .CLO)
    layout=${layouts[$(( (i + k) % 3 ))]}
    target="$out/$stem-$cloth.BMP"
    "$orxsim" dress "$model" --material "$material" --layout "$layout" -o "$target"
    echo "dressed $stem in $cloth ($layout repeat): $target"
  done
  i=$((i + 1))
done
echo "The dressed pictures are in $out"
