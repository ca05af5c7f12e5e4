#!/usr/bin/env bash
# Two kvz processes at once on one company of the test run's PostgreSQL server, on copies of the
# database the demo job left there (TEMPLATE), each case made to overlap the same way every time:
#  - a ledger import and the run of all models: the run keeps one state of the base plan, so CE
#    and its copy CEC agree in every month (the import is held half-way, the run's first model
#    held after its write, so that without the batches keeping each other out the import commits
#    between the two models);
#  - two saves of a new budget of one account: one is saved, the other refused because the budget
#    exists (a lock held on the budgets while both start, then at the gaps a user could leave);
#  - two runs of one model: the second waits for the first or is refused with a message, never
#    the database's duplicate key.
# Usage: BatchesAtOnceOnServer.sh KVZ TEMPLATE YEAR
set -euo pipefail
if [[ -z ${KVZ_TEST_PG:-} ]]; then
  echo "KVZ_TEST_PG is not set: no server to run two batches on"
  [[ ${CI:-} == true ]] && exit 1
  exit 77
fi
kvz=$1 template=$2 year=$3
base=${KVZ_TEST_PG%%\?*}
server=${base%/*}
name=kvz_at_once_$$
db=$server/$name
work=$(mktemp -d /tmp/kvz-at-once.XXXXXX)
sql() { PGOPTIONS="-c client_min_messages=warning" psql "$1" -XqtA -v ON_ERROR_STOP=1 -F ' ' -c "$2"; }
cleanup() {
  sql "$server/postgres" "DROP DATABASE IF EXISTS $name WITH (FORCE)" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
fresh() {  # a new copy of the demo job's company
  sql "$server/postgres" "DROP DATABASE IF EXISTS $name WITH (FORCE)" >/dev/null
  sql "$server/postgres" "CREATE DATABASE $name TEMPLATE $template" >/dev/null
}
k() { "$kvz" --db "$db" --date "31/12/$year" --report-dir "$work/report" "$@"; }
clean() { [[ $1 != *Sanitizer* && $1 != *"runtime error"* ]] || fail "$1"; }
busy="elaborazione in corso di un altro utente"
docs=KvzNet.KvzMod.KvzDocuments

# ---- an import and a run ------------------------------------------------------------------------
# Rows of CE whose value differs from CEC's in the year.
differ() {
  sql "$db" "SELECT COUNT(*) FROM Kvz_Riclassificato o JOIN Kvz_Riclassificato c ON c.Esercizio = o.Esercizio
    AND c.ModelloRiclassific = 'CEC' AND c.CodRiclassificato = o.CodRiclassificato AND c.Mese = o.Mese
    AND c.TipoDatoPianoBase = o.TipoDatoPianoBase
    WHERE o.Esercizio = $year AND o.ModelloRiclassific = 'CE' AND ABS(c.Valore - o.Valore) > 0.005"
}
march() {
  sql "$db" "SELECT CAST(ROUND(Valore * 100) AS BIGINT) FROM Kvz_Riclassificato WHERE Esercizio = $year
    AND ModelloRiclassific = '$1' AND CodRiclassificato = 'CE' AND Mese = 3"
}
# Holds: the import for a while at its first write of the base plan, the run after its first row of
# CE or CEC. Each sleeps once per transaction (the mark is the sleeper's own, uncommitted).
hold() {
  sql "$db" "CREATE TABLE held_import (x int); CREATE TABLE held_run (x int);
    CREATE FUNCTION hold_import() RETURNS trigger LANGUAGE plpgsql AS \$\$ BEGIN
      IF NOT EXISTS (SELECT 1 FROM held_import) THEN INSERT INTO held_import VALUES (1); PERFORM pg_sleep($1); END IF;
      RETURN NULL; END \$\$;
    CREATE FUNCTION hold_run() RETURNS trigger LANGUAGE plpgsql AS \$\$ BEGIN
      IF NOT EXISTS (SELECT 1 FROM held_run) THEN INSERT INTO held_run VALUES (1); PERFORM pg_sleep($2); END IF;
      RETURN NULL; END \$\$;
    CREATE TRIGGER hold_import AFTER INSERT OR UPDATE ON kvz_pianobaser FOR EACH STATEMENT
      EXECUTE FUNCTION hold_import();
    CREATE TRIGGER hold_run AFTER INSERT ON kvz_riclassificato FOR EACH ROW
      WHEN (NEW.modelloriclassific IN ('CE', 'CEC')) EXECUTE FUNCTION hold_run()" >/dev/null
}
import_and_run() {  # import_and_run HOLD-IMPORT HOLD-RUN RUN-AFTER
  fresh
  # The ledger's March moves by 1000 on account 2001001: the import changes the base plan.
  sql "$db" "UPDATE Erp_ChartOfAccountsBalances SET Debit = Debit + 1000 WHERE FiscalYear = $year
    AND Account = '2001001' AND BalanceMonth = 3 AND BalanceType % 65536 = 0" >/dev/null
  hold "$1" "$2"
  local before
  before=$(march CE)
  k open KvzNet.KvzMod.KvzBatch.ImportaSaldi --set "Importazione saldi fino al mese:=12" --set "anno:=$year" \
    --run >"$work/import.out" 2>&1 &
  local importer=$!
  sleep "$3"
  set +e
  k open $docs.DRiclassificPianoBase --set RCL_PBASE_ESERCIZIO="$year" --set RCL_PBASE_DAL_MESE=1 \
    --set RCL_PBASE_MESE=12 --set RCL_PBASE_TUTTI_MOD=Si --run >"$work/run.out" 2>&1
  local ran=$?
  wait "$importer"
  local imported=$?
  set -e
  clean "$(cat "$work/import.out" "$work/run.out")"
  [[ $imported == 0 ]] || fail "the import failed: $(cat "$work/import.out")"
  local ce cec
  ce=$(march CE) cec=$(march CEC)
  echo "import held $1 s, run held $2 s, started $3 s after: run status $ran; March CE: $before before, CE $ce, CEC $cec"
  if [[ $ran == 0 ]]; then
    [[ $(differ) == 0 ]] || fail "CE and CEC differ in $(differ) rows: the run mixed two states"
    # Before the import or after it, whichever went first.
    [[ $ce == "$before" || $ce == $((before + 100000)) ]] || fail "CE is neither before nor after the import"
  else
    grep -q "$busy" "$work/run.out" || fail "the run failed without saying why: $(cat "$work/run.out")"
    [[ $ce == "$before" && $cec == "$before" ]] || fail "a refused run changed the results"
  fi
}
import_and_run 1 6 0.5
import_and_run 2 3 0.5
import_and_run 0 0 0.1

# ---- two budget saves ---------------------------------------------------------------------------
budget=(open $docs.BDSelezBudget --row Conti=3 --dblclick Conti:3 --press BDG_PER_TRIMESTRE
  "--set=1° trimestre=300" "--set=2° trimestre=90" --press BDG_RIPARTISCI --save)
heads() {
  sql "$db" "SELECT COUNT(*) FROM Kvz_BudgetT WHERE Esercizio = $year AND ContoKvz = '2001001' AND CentroCommessa = ''"
}
two_budgets() {  # two_budgets GAP [LOCK-SECONDS]
  fresh
  local locker=""
  if [[ -n ${2:-} ]]; then
    # Another session holds the budgets while both saves start: they meet at the same point.
    psql "$db" -XqtA -c "BEGIN; LOCK TABLE kvz_budgett IN SHARE ROW EXCLUSIVE MODE; SELECT pg_sleep($2); COMMIT" \
      >/dev/null 2>&1 &
    locker=$!
    sleep 0.2
  fi
  set +e
  k "${budget[@]}" >"$work/b1.out" 2>&1 &
  local first=$!
  sleep "$1"
  k "${budget[@]}" >"$work/b2.out" 2>&1
  local s2=$?
  wait "$first"
  local s1=$?
  [[ -n $locker ]] && wait "$locker"
  set -e
  local out
  out=$(cat "$work/b1.out" "$work/b2.out")
  clean "$out"
  echo "budgets ${1} s apart${2:+, the budgets held $2 s}: statuses $s1 $s2, heads of 2001001: $(heads)"
  [[ $(heads) == 1 ]] || fail "$(heads) budgets of one type for 2001001:"$'\n'"$out"
  [[ $s1 == 0 || $s2 == 0 ]] || fail "neither save was kept:"$'\n'"$out"
  if [[ $s1 != 0 || $s2 != 0 ]]; then
    grep -q "Esiste gia' un budget" <<<"$out" || fail "a save refused for another reason:"$'\n'"$out"
  fi
}
two_budgets 0.05 3
for gap in 0.01 0.02 0.03; do two_budgets "$gap"; done

# ---- two runs of one model ----------------------------------------------------------------------
run_ce=(open $docs.DRiclassificPianoBase --set RCL_PBASE_ESERCIZIO="$year" --set RCL_PBASE_DAL_MESE=1
  --set RCL_PBASE_MESE=12 --set RCL_PBASE_TUTTI_MOD=No --set RCL_PBASE_MODELLO=CE --set RCL_PBASE_MODELLO_A=CE --run)
two_runs() {  # two_runs HOLD-RUN GAP
  fresh
  hold 0 "$1"
  set +e
  k "${run_ce[@]}" >"$work/r1.out" 2>&1 &
  local first=$!
  sleep "$2"
  k "${run_ce[@]}" >"$work/r2.out" 2>&1
  local s2=$?
  wait "$first"
  local s1=$?
  set -e
  local out
  out=$(cat "$work/r1.out" "$work/r2.out")
  clean "$out"
  echo "two runs of CE ${2} s apart, the first held $1 s: statuses $s1 $s2"
  [[ $out != *"duplicate key"* ]] || fail "the database's text reached the user:"$'\n'"$out"
  [[ $s1 == 0 ]] || fail "the first run failed:"$'\n'"$out"
  [[ $s2 == 0 ]] || grep -q "$busy" "$work/r2.out" || fail "the second run failed without saying why:"$'\n'"$out"
  [[ $(sql "$db" "SELECT COUNT(*) FROM Kvz_Riclassificato WHERE Esercizio = $year AND ModelloRiclassific = 'CE' AND Mese = 3 AND CodRiclassificato = 'CE'") == 1 ]] ||
    fail "CE's results are not whole"
}
two_runs 2 0.5
two_runs 0 0.05
two_runs 8 0.5

# ---- a batch behind another user's lock ---------------------------------------------------------
# Another session holds the base plan's rows for longer than anyone waits: the import waits once,
# then ends saying so, long before the other session lets go.
fresh
psql "$db" -XqtA -c "BEGIN; LOCK TABLE kvz_pianobaser IN EXCLUSIVE MODE; SELECT pg_sleep(60); COMMIT" \
  >/dev/null 2>&1 &
locker=$!
sleep 0.5
sql "$db" "UPDATE Erp_ChartOfAccountsBalances SET Debit = Debit + 1000 WHERE FiscalYear = $year
  AND Account = '2001001' AND BalanceMonth = 3 AND BalanceType % 65536 = 0" >/dev/null
started=$(date +%s%N)
set +e
k open KvzNet.KvzMod.KvzBatch.ImportaSaldi --set "Importazione saldi fino al mese:=12" --set "anno:=$year" \
  --run >"$work/held.out" 2>&1
status=$?
set -e
took=$((($(date +%s%N) - started) / 1000000))
sql "$server/postgres" "DROP DATABASE IF EXISTS $name WITH (FORCE)" >/dev/null
wait "$locker" || true
clean "$(cat "$work/held.out")"
echo "the import behind a held lock: status $status after $took ms"
[[ $status == 1 ]] || fail "the import behind the lock did not fail: $(cat "$work/held.out")"
((took < 20000)) || fail "the import waited $took ms behind the lock"
grep -q "another user's work holds the company" "$work/held.out" ||
  fail "the import did not say what held it: $(cat "$work/held.out")"
grep -q "nessuna modifica registrata" "$work/held.out" || fail "the import did not say it kept nothing"

echo "every pair of batches kept one state of the company"
