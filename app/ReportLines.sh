#!/usr/bin/env bash
# Runs a kvz command that writes CSV reports into DIR (emptied first) and checks their lines:
#   ReportLines.sh DIR 'line' '!line' ... -- kvz args...
# each 'line' must be a whole line of some report, each '!line' none; "|" stands for the CSV's ";"
# (a ";" would split the test's argument).
set -uo pipefail
dir=$1
shift
expect=()
while (($#)) && [[ $1 != -- ]]; do
  expect+=("$1")
  shift
done
shift
rm -rf "$dir"
if ! out=$("$@" 2>&1); then
  printf '%s\n' "$out" >&2
  echo "FAIL: the command failed" >&2
  exit 1
fi
if grep -qE 'Sanitizer|runtime error|assertion failed' <<<"$out"; then
  printf '%s\n' "$out" >&2
  exit 1
fi
shopt -s nullglob
files=("$dir"/*.csv)
if ((${#files[@]} == 0)); then
  printf '%s\n' "$out" >&2
  echo "FAIL: no report in $dir" >&2
  exit 1
fi
lines=$(cat "${files[@]}" | sed -e 's/\r$//' -e 's/^\xEF\xBB\xBF//')
rc=0
for e in "${expect[@]}"; do
  absent=0
  [[ $e == '!'* ]] && absent=1 e=${e:1}
  line=${e//|/;}
  if grep -Fxq -- "$line" <<<"$lines"; then
    ((absent)) && { echo "FAIL: unexpected line: $line" >&2; rc=1; }
  else
    ((absent)) || { echo "FAIL: missing line: $line" >&2; rc=1; }
  fi
done
((rc)) && printf '%s\n' "$lines" >&2
((rc)) || echo "every line as expected in ${#files[@]} report(s)"
exit $rc
