#!/usr/bin/env bash
# orxsim show on the sample library, as a user drives it.
set -euo pipefail
: "${ORXSIM:?ORXSIM must name the orxsim binary}"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
status_of() { set +e; "$@" >"$tmp/out.txt" 2>"$tmp/err.txt"; local s=$?; set -e; echo $s; }
same_pixels() { test "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0; }

# The sanitizer builds generate no sample library: make one here.
if [ -z "${SAMPLE_LIBRARY:-}" ] || [ ! -d "$SAMPLE_LIBRARY" ]; then
  SAMPLE_LIBRARY=$tmp/sample-library
  "$ORXSIM" sample-library "$SAMPLE_LIBRARY" >/dev/null
fi
cp "$SAMPLE_LIBRARY"/DRESS* "$SAMPLE_LIBRARY"/FLORAL.CLO "$SAMPLE_LIBRARY"/DENIM.CLO "$tmp"/
cd "$tmp"
"$ORXSIM" dress DRESS.MDL --material FLORAL.CLO -o floral.BMP

# Frames and their list: the model, the material, a zoom and two SHIFT
# steps, with the DELAY and the steps' time; REPEAT ends the pass.
printf 'FLORAL.CLO\r\nDRESS.MDL\r\nDELAY 2\r\nDENIM.CLO\r\nZOOM 1 500 600\r\nDELAY 1\r\nSHIFT 10 0 2\r\nREPEAT\r\n' >s.MMP
check "show exits 0" test "$(status_of "$ORXSIM" show s.MMP --frames f --view 500x640)" = 0
printf '00001.BMP 2.00 2\n00002.BMP 0.00 4\n00003.BMP 1.00 5\n00004.BMP 0.04 7\n00005.BMP 0.04 7\n' >want.txt
check "frames.txt lists every frame" cmp -s want.txt f/frames.txt
check "the frames have the picture area's size" \
  test "$("$ORXSIM" info f/00001.BMP)" = '{"kind": "BMP", "width": 500, "height": 640}'
# The 1000 x 1280 model fits the 500 x 640 area at 1/2; ZOOM 1 shows it 1:1
# from (500, 600): the frame is that crop of the dressed picture.
"$ORXSIM" dress DRESS.MDL --material DENIM.CLO -o denim.BMP
convert denim.BMP -crop 500x640+250+280 +repage crop.BMP
check "a ZOOM frame is a crop of the image" same_pixels crop.BMP f/00003.BMP
convert denim.BMP -crop 500x640+260+280 +repage crop.BMP
check "a SHIFT step moves it" same_pixels crop.BMP f/00004.BMP

# --full: the whole image after model and material lines, as dress makes it.
check "--full exits 0" test "$(status_of "$ORXSIM" show s.MMP --frames full --full --loops 2)" = 0
check "a --full frame equals orxsim dress" cmp -s floral.BMP full/00001.BMP
check "and the next material's too" cmp -s denim.BMP full/00002.BMP
# The second pass starts on the dressed model: its material line dresses it again.
check "--loops 2 plays the pass twice" test "$(wc -l <full/frames.txt)" = 5
check "a material line dresses the model that is loaded" cmp -s floral.BMP full/00003.BMP
check "a shorter show leaves no frames of the longer one" \
  test "$(status_of "$ORXSIM" show s.MMP --frames full --full)" = 0 -a ! -e full/00003.BMP

# Failing lines: the rest plays, the status is 3, the lines are named.
printf 'DRESS.MDL\r\nNONE.CLO\r\nGONE.MDL\r\n' >bad.MMP
check "failing lines give 3" test "$(status_of "$ORXSIM" show bad.MMP)" = 3
check "and are named" grep -q "line 2 failed: NONE.CLO" err.txt
check "both of them" grep -q "line 3 failed: GONE.MDL" err.txt

# Refusals.
check "a missing script fails" test "$(status_of "$ORXSIM" show none.MMP)" = 1
touch plain
check "an unusable frame folder fails" test "$(status_of "$ORXSIM" show s.MMP --frames plain/f)" = 1
check "and says so before playing" grep -qx "orxsim: plain/f: can not write frames there" err.txt
for bad in "--view 63x100" "--view 100x4321" "--view 7681x64" "--view 100" "--loops 0" "--full" "--view 640x480"; do
  # shellcheck disable=SC2086
  check "$bad is a usage error" test "$(status_of "$ORXSIM" show s.MMP $bad)" = 2
done

if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
