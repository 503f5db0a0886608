#!/usr/bin/env bash
# Prepares the folder orxweb is started in by `make run`: made when missing,
# and given an ORX10.CFG in the reader's language when it holds none
# (LC_ALL, else LC_MESSAGES, else LANG: Chinese for zh_TW, zh_HK and zh_CN,
# English otherwise). A file already there is never touched, so the
# language chosen in the program stays.
#
#   scripts/run-folder.sh DIR
set -euo pipefail
dir=${1:?usage: run-folder.sh DIR}
mkdir -p "$dir"
[ -e "$dir/ORX10.CFG" ] && exit 0

locale=${LC_ALL:-${LC_MESSAGES:-${LANG:-}}}
case "$locale" in
  zh_TW* | zh_HK* | zh_CN*) word=TAIWAN ;;
  *) word=ENGLISH ;;
esac
echo "$word" > "$dir/ORX10.CFG"
