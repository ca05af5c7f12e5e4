#!/usr/bin/env bash
# A save whose server connection is cut between its two tables' writes (a new account: the chart
# of accounts, then its grouping row). A trigger on the second table ends its own backend, so the
# cut lands at the same point every time. kvz must fail with a message and keep neither row; the
# same save once the trigger is gone writes both.
# Usage: SaveCutOnServer.sh KVZ
set -euo pipefail
if [[ -z ${KVZ_TEST_PG:-} ]]; then
  echo "KVZ_TEST_PG is not set: no server to cut a save on"
  [[ ${CI:-} == true ]] && exit 1
  exit 77
fi
kvz=$1
base=${KVZ_TEST_PG%%\?*}
server=${base%/*}
name=kvz_save_cut_$$
db=$server/$name
sql() { PGOPTIONS="-c client_min_messages=warning" psql "$1" -XqtA -v ON_ERROR_STOP=1 -c "$2"; }
sql "$server/postgres" "DROP DATABASE IF EXISTS $name WITH (FORCE)"
sql "$server/postgres" "CREATE DATABASE $name"
trap 'sql "$server/postgres" "DROP DATABASE IF EXISTS $name WITH (FORCE)" >/dev/null 2>&1 || true' EXIT
"$kvz" init "$db" >/dev/null
sql "$db" "CREATE FUNCTION cut() RETURNS trigger LANGUAGE plpgsql AS
  \$\$ BEGIN PERFORM pg_terminate_backend(pg_backend_pid()); RETURN NULL; END \$\$"
sql "$db" "CREATE TRIGGER cut AFTER INSERT ON kvz_raggrupppdc FOR EACH STATEMENT EXECUTE FUNCTION cut()"

save=("$kvz" --db "$db" open Erp.Base.ErpBaseDocuments.DChartOfAccounts --new --set Conto=0101999
  --set Descrizione=Prova --save)
rows() { sql "$db" "SELECT (SELECT COUNT(*) FROM erp_chartofaccounts) || ' ' || (SELECT COUNT(*) FROM kvz_raggrupppdc)"; }
fail() { echo "FAIL: $*"; exit 1; }

set +e
out=$("${save[@]}" 2>&1)
status=$?
set -e
said=$(grep -m1 '^kvz: --save: ' <<<"$out" || true)
echo "cut save: status $status, $said"
[[ $status == 1 ]] || fail "status $status, expected 1:"$'\n'"$out"
[[ $said == *connection* ]] || fail "no message naming the lost connection:"$'\n'"$out"
[[ $out != *Sanitizer* && $out != *"runtime error"* ]] || fail "$out"
[[ $(rows) == "0 0" ]] || fail "rows left by the cut save (accounts, groupings): $(rows)"

sql "$db" "DROP TRIGGER cut ON kvz_raggrupppdc"
"${save[@]}" >/dev/null 2>&1 || fail "the save without the cut failed"
[[ $(rows) == "1 1" ]] || fail "rows after the save (accounts, groupings): $(rows)"
echo "the cut save kept nothing; the same save afterwards wrote both rows"
