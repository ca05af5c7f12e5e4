#!/usr/bin/env bash
# Progress on a terminal (a pseudo-terminal through script): one line rewritten in place counting
# "n di N", cleared before any other line, so that no line is printed glued to it.
# Usage: ProgressOnTerminal.sh KVZ DB ARGS...   (runs kvz --db DB ARGS...)
set -uo pipefail
kvz=$(realpath "$1") db=$2
shift 2
command -v script >/dev/null || { echo "progress: script (bsdutils) is missing"; exit 1; }
cmd=$(printf '%q ' "$kvz" --db "$db" "$@")
out=$(script -qec "$cmd" /dev/null </dev/null)
rc=$?
((rc == 0)) || { printf '%s\n' "$out" | tail -n 20; echo "progress: kvz ended with $rc"; exit 1; }
# What the terminal shows at the end: each line as its last clearing left it.
printf '%s\n' "$out" | sed 's/.*\x1b\[K//; s/\r$//'
fail=0
# A line printed while the progress stands is preceded by the clearing, never by a progress text.
if grep -aqE '\.\.\.(Report written|Demo company|Opened|Il |kvz:)' <<<"$out"; then
  echo "progress: a line glued to a progress line:"
  grep -aoE '[^\r]{0,60}\.\.\.(Report written|Demo company|Opened|Il |kvz:)[^\r]{0,40}' <<<"$out" | head -3
  fail=1
fi
if ! grep -aqE $'\033\\[K[^\r]*\\([0-9]+ di [0-9]+\\)' <<<"$out"; then
  echo "progress: no count \"n di N\" on the rewritten line"
  fail=1
fi
((fail)) && exit 1
echo "progress: ok"
