#!/usr/bin/env bash
# A failed internal check goes to the diagnostic log, not to the user: a formula typed into a
# model row before the model's code is checked without a model (an internal check fails); the user
# sees the formula's own message once and one closing line naming the log, which holds the check.
# Under --verbose the check is on stderr as well.
# Usage: InternalCheckLogged.sh KVZ DIR
set -euo pipefail
kvz=$1
dir=$2
fail() { echo "FAIL: $*"; exit 1; }
rm -rf "$dir"
mkdir -p "$dir"
export KVZ_LOG=$dir/log/kvz.log KVZ_SETTINGS_DIR=$dir/settings
"$kvz" init "$dir/c.db" >/dev/null
g="Righe riclassificazioni"
typed=(--db "$dir/c.db" open KvzNet.KvzMod.KvzDocuments.DModelliRiclassific --new --add-row "$g"
  --cell "$g:1:Codice=A" --cell "$g:1:Formula=_RZZ+1" --escape)
out=$("$kvz" "${typed[@]}" 2>&1) || fail "kvz failed:"$'\n'"$out"
[[ $out != *"assertion failed"* ]] || fail "the check reached the user:"$'\n'"$out"
[[ $(grep -c "Simbolo sconosciuto: _RZZ" <<<"$out") == 1 ]] || fail "the formula's message not once:"$'\n'"$out"
grep -q "^kvz: 1 internal check failed: the details are in $KVZ_LOG" <<<"$out" || fail "no line naming the log:"$'\n'"$out"
grep -q "assertion failed: !m_Modello.IsEmpty()" "$KVZ_LOG" || fail "the check is not in the log: $(cat "$KVZ_LOG" 2>&1)"
out=$("$kvz" --verbose "${typed[@]}" 2>&1) || fail "kvz --verbose failed:"$'\n'"$out"
grep -q "^assertion failed: !m_Modello.IsEmpty()" <<<"$out" || fail "--verbose did not print the check:"$'\n'"$out"
[[ $(grep -c "assertion failed" "$KVZ_LOG") == 2 ]] || fail "the log does not hold both runs' checks"
echo "the check went to the log; the user saw the formula's message once"
