# Sourced by the orxsim test scripts: the temporary folder they work in
# (removed on exit), and the checks they count. ORXSIM names the executable.
: "${ORXSIM:?ORXSIM must name the orxsim executable}"
ORXSIM=$(realpath "$ORXSIM")
PY=/usr/bin/python3

# A block of 64 MB is plenty for these pictures and keeps start-up quick
# under the sanitizers (the default probe takes most of the machine).
export ORX_BLOCK_BYTES=${ORX_BLOCK_BYTES:-64000000}

work=$(mktemp -d "${TMPDIR:-/tmp}/orxsim-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

# ---- assertion helpers

checks=0
failures=0

fail() {
    failures=$((failures + 1))
    echo "FAIL: $*" >&2
}

check() {  # check WHAT COMMAND...: the command must succeed
    local what=$1
    shift
    checks=$((checks + 1))
    if ! "$@"; then fail "$what"; fi
}

expect_eq() {  # expect_eq WHAT ACTUAL EXPECTED
    checks=$((checks + 1))
    if [[ "$2" != "$3" ]]; then fail "$1: got '$2', expected '$3'"; fi
}

expect_same_file() {  # expect_same_file WHAT A B
    checks=$((checks + 1))
    if ! cmp -s "$2" "$3"; then fail "$1: $2 and $3 differ"; fi
}

expect_absent() {  # expect_absent WHAT FILE...
    local what=$1
    shift
    for f in "$@"; do
        checks=$((checks + 1))
        if [[ -e "$f" ]]; then fail "$what: $f exists"; fi
    done
}

# Runs orxsim; its status, stdout and stderr land in $status, out.txt, err.txt.
status=0
run() {
    if "$ORXSIM" "$@" >out.txt 2>err.txt; then status=0; else status=$?; fi
}
