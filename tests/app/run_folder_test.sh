#!/usr/bin/env bash
# make run's folder: its ORX10.CFG follows the reader's locale (LC_ALL, else
# LC_MESSAGES, else LANG), and one already there is left alone.
set -euo pipefail
script=${RUN_FOLDER_SCRIPT:?RUN_FOLDER_SCRIPT names scripts/run-folder.sh}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failed=0
n=0
# LC_ALL LC_MESSAGES LANG -> the word written
while IFS='|' read -r all messages lang want; do
  n=$((n + 1))
  env -u LC_ALL -u LC_MESSAGES -u LANG ${all:+LC_ALL=$all} ${messages:+LC_MESSAGES=$messages} ${lang:+LANG=$lang} \
    "$script" "$work/$n"
  got=$(cat "$work/$n/ORX10.CFG")
  if [ "$got" != "$want" ]; then
    echo "LC_ALL=$all LC_MESSAGES=$messages LANG=$lang: wrote $got, not $want"
    failed=1
  fi
done <<'CASES'
||zh_TW.UTF-8|TAIWAN
||zh_HK.UTF-8|TAIWAN
zh_CN.GB18030|||TAIWAN
|zh_CN.UTF-8|en_US.UTF-8|TAIWAN
en_GB.UTF-8|zh_TW.UTF-8|zh_TW.UTF-8|ENGLISH
||fr_FR.UTF-8|ENGLISH
|||ENGLISH
CASES

# The language chosen in the program stays: the file is not rewritten.
mkdir -p "$work/kept"
printf 'KOREA\n' > "$work/kept/ORX10.CFG"
touch -d '2001-01-01' "$work/kept/ORX10.CFG"
LANG=zh_TW.UTF-8 "$script" "$work/kept"
if [ "$(cat "$work/kept/ORX10.CFG")" != KOREA ] || [ "$(stat -c %Y "$work/kept/ORX10.CFG")" != "$(date -d 2001-01-01 +%s)" ]; then
  echo "an existing ORX10.CFG was touched"
  failed=1
fi
[ "$failed" -eq 0 ] && echo "run folder test passed"
exit "$failed"
