# Sourced by tools/install-deps, tools/run and tools/test: long steps print one line each while
# their output goes to a log under build/logs, shown (its tail and its path) only when they fail.
KVZ_LOGS=${KVZ_LOGS:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/logs}
mkdir -p "$KVZ_LOGS"

# phase TITLE LOG COMMAND...: runs COMMAND with its output appended to LOG (truncated first).
phase() {
  local title=$1 log=$2
  shift 2
  echo "==> $title" >&2
  : >"$log"
  if ! "$@" >>"$log" 2>&1; then
    tail -n 25 "$log" >&2
    echo "==> $title: failed; the whole output is in $log" >&2
    return 1
  fi
}
