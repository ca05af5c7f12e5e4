#!/usr/bin/env bash
# Runs every indented `kvz` example of the README, in the order they stand, on a copy of the demo
# job's company named x.db (as the examples name it), and fails when one's exit status is not what
# the README says. An example's trailing comment may say "exits 1" (a refusal it
# shows) or "not run here" with the reason (it needs what a test machine lacks, a server).
# Usage: ReadmeExamples.sh KVZ README DEMO_DB WORKDIR YEAR
set -uo pipefail
kvzbin=$(realpath "$1") readme=$(realpath "$2") demo=$(realpath "$3") work=$4 year=$5
[[ -f $demo ]] || { echo "readme-examples: the demo job's company $demo is missing" >&2; exit 1; }
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
# A consistent copy even while another process reads the company.
sqlite3 "$demo" ".backup x.db" || exit 1
export KVZ_SETTINGS_DIR=$work/settings
# What the examples read from files.
printf '%-4s%-26s%-64s%-2s%-50s%-2s\n' "$year" ADDETTI_EXTRA "Addetti esterni" 1 10 0 "$year" ADDETTI_EXTRA "" 2 11 0 \
  >codici.txt

# kvz at the demo's year end unless the example sets its own date.
kvz() {
  local a
  for a in "$@"; do [[ $a == --date ]] && { "$kvzbin" "$@"; return; }; done
  "$kvzbin" --date "31/12/$year" "$@"
}

# The examples: a line starting with "kvz " in an indented block, with its continuation lines.
examples=() expected=() line_of=()
n=0 pending="" start=0 comment=""
while IFS= read -r raw || [[ -n $raw ]]; do
  n=$((n + 1))
  if [[ -n $pending ]]; then
    text=$raw
  elif [[ $raw =~ ^\ {4,}kvz\  ]]; then
    text=$raw start=$n comment=""
  else
    continue
  fi
  # A comment starts at a '#' outside quotes after a blank.
  code="" q=""
  for ((i = 0; i < ${#text}; i++)); do
    c=${text:i:1}
    if [[ -n $q ]]; then
      [[ $c == "$q" ]] && q=""
    elif [[ $c == \" || $c == \' ]]; then
      q=$c
    elif [[ $c == "#" && (i -eq 0 || ${text:i-1:1} == " ") ]]; then
      comment+=" ${text:i}"
      break
    fi
    code+=$c
  done
  code="${code%"${code##*[![:space:]]}"}"
  if [[ $code == *\\ ]]; then
    pending+="${code%\\} "
    continue
  fi
  examples+=("$pending$code")
  line_of+=("$start")
  if [[ $comment == *"not run here"* ]]; then
    expected+=(skip)
  elif [[ $comment =~ exits\ ([0-9]+) ]]; then
    expected+=("${BASH_REMATCH[1]}")
  else
    expected+=(0)
  fi
  pending=""
done <"$readme"

((${#examples[@]})) || { echo "readme-examples: no kvz example in $readme" >&2; exit 1; }
failed=0
for i in "${!examples[@]}"; do
  ex=${examples[i]} want=${expected[i]}
  if [[ $want == skip ]]; then
    echo "README:${line_of[i]}: not run here: $ex"
    continue
  fi
  out=$(eval "$ex" </dev/null 2>&1)
  rc=$?
  if [[ $rc != "$want" ]]; then
    echo "README:${line_of[i]}: exit status $rc, the README says $want: $ex" >&2
    printf '%s\n' "$out" | tail -n 15 | sed 's/^/    /' >&2
    failed=1
  else
    echo "README:${line_of[i]}: exit status $rc: $ex"
  fi
done
((failed)) && exit 1
echo "readme-examples: ${#examples[@]} examples as the README says"
