#!/usr/bin/env bash
# The reclassification run on copies of the demo job's company, where something it needs cannot be
# had: each case says what failed, exits 1 and leaves stored what it says it leaves.
# Usage: RunFailures.sh KVZ DEMO_DB WORKDIR [CASE...]   (no case: all of them)
set -uo pipefail
kvzbin=$(realpath "$1") demo=$(realpath "$2") work=$3
shift 3
[[ -f $demo ]] || { echo "run-failures: the demo job's company $demo is missing" >&2; exit 1; }
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
export KVZ_SETTINGS_DIR=$work/settings
docs=KvzNet.KvzMod.KvzDocuments appl=KvzNet.KvzDrivers.KvzAppl righe="Righe riclassificazioni"
failed=0
fail() { echo "FAIL: $case: $*"; printf '%s\n' "$out" | grep -v '^  [A-Z_]' | tail -n 12 | sed 's/^/    /'; failed=1; }
kvz() { "$kvzbin" --db x.db --date 31/12/2026 "$@" </dev/null; }
q() { sqlite3 -separator ' ' x.db "$1"; }
fresh() { rm -f x.db x.db-wal x.db-shm && sqlite3 "$demo" ".backup x.db"; }
# Runs kvz, keeping its output in $out and its exit status in $rc.
try() { out=$(kvz "$@" 2>&1); rc=$?; }
expect_rc() { [[ $rc == "$1" ]] || fail "exit status $rc, expected $1"; }
said() { grep -qF -- "$1" <<<"$out" || fail "not said: $1"; }
said_once() { [[ $(grep -cF -- "$1" <<<"$out") == 1 ]] || fail "not said once: $1"; }
not_said() { ! grep -qF -- "$1" <<<"$out" || fail "said: $1"; }
# The stored figure, as QUERY prints it, against what is expected.
stored() { local got; got=$(q "$1"); [[ $got == "$2" ]] || fail "stored \"$got\", expected \"$2\" ($1)"; }
run_all() {
  try open $docs.DRiclassificPianoBase --set RCL_PBASE_ESERCIZIO=2026 --set RCL_PBASE_DAL_MESE=1 \
    --set RCL_PBASE_MESE=12 --set RCL_PBASE_TUTTI_MOD=Si "$@" --run
}
# The rent's shares over the year, model by model.
shares="SELECT ModelloRiclassific || ':' || ROUND(SUM(Valore), 2) || ':' || COUNT(*) FROM Kvz_Riclassificato
  WHERE Esercizio = 2026 AND CodRiclassificato = 'RIB' GROUP BY ModelloRiclassific ORDER BY ModelloRiclassific"
rent_formula() {
  kvz open $appl.KvzDrivers --find --set Modello=AFFITTO --save --edit "--cell=KvzDriversCosti:1:Formula=$1" --save \
    >/dev/null 2>&1 || echo "FAIL: $case: the driver's formula $1 was not saved"
}

# A driver's cost formula that cannot be evaluated: the driver is named with its line and the
# reason, its shares stay as the last run with the drivers left them.
case_driver_cost() {
  local formula reason
  for formula in "1000+(" "_AFFITTONE"; do
    fresh
    rent_formula "$formula"
    run_all --set CALCOLA_DRIVERS=Si
    expect_rc 1
    reason="Operando mancante"
    [[ $formula == _* ]] && reason="Il simbolo AFFITTONE non esiste"
    said_once "Driver AFFITTO, costo AFF: la formula \"$formula\" non si può calcolare"
    said "$reason"
    said "Riclassificazione terminata con errori: driver non ricalcolato, quote e righe di tipo 9 come prima: AFFITTO (costo AFF)."
    stored "$shares" $'REPA:3000.0:12\nREPB:9000.0:12'
  done
}

# A row of kind 9 of a target that cannot be evaluated: the same, naming the model and the row;
# neither the shares nor the row's stored figures change.
case_driver_row() {
  fresh
  q "INSERT INTO Kvz_RiclassificazioneRighe (Esercizio, ModelloRiclassific, CodRiclassificato, Posizione, Descrizione,
      Formula, TipoRiga) VALUES (2026, 'REPA', 'TOT', 3, 'Totale', '5', 984088585)"
  run_all --set CALCOLA_DRIVERS=Si
  expect_rc 0
  q "UPDATE Kvz_RiclassificazioneRighe SET Formula = '_RRIB*(' WHERE ModelloRiclassific = 'REPA' AND CodRiclassificato = 'TOT'"
  run_all --set CALCOLA_DRIVERS=Si
  expect_rc 1
  said_once "Driver AFFITTO, modello REPA riga TOT: la formula \"_RRIB*(\" non si può calcolare"
  said "AFFITTO (modello REPA riga TOT)."
  stored "$shares" $'REPA:3000.0:12\nREPB:9000.0:12'
  stored "SELECT COUNT(*), COALESCE(SUM(Valore), 0) FROM Kvz_Riclassificato WHERE ModelloRiclassific = 'REPA'
    AND CodRiclassificato = 'TOT'" "12 60.0"
}

# A base-plan symbol of another company whose database cannot be opened (or that is not in the
# register): the row that reads it cannot be evaluated, and the run names the company and the row.
case_company() {
  local company
  for company in X3 NOPE; do
    fresh
    kvz open $docs.DAziende --new "--set=Codice azienda=X3" --set Server=. --set Database=/nonexistent/x3 \
      "--set=User ID=u" --save >/dev/null 2>&1 || fail "company X3 not registered"
    kvz open $docs.DModelliRiclassific --new --set ModelloRiclassific=M2 --set Descrizione=Altra --add-row "$righe" \
      "--cell=$righe:1:Codice=A" "--cell=$righe:1:Formula=1" --save >/dev/null 2>&1 || fail "model M2 not saved"
    q "INSERT INTO Kvz_AnagSimboli SELECT Esercizio, 'M2', 'XV3', TipoSimbolo, DataCreazione, DataUltModifica, 1, '$company'
        FROM Kvz_AnagSimboli WHERE Esercizio = 2026 AND ModelloRiclassific = 'CE' AND NomeSimbolo = 'VENDITE';
      CREATE TEMP TABLE d AS SELECT * FROM Kvz_SimboliPianoBase WHERE Esercizio = 2026 AND ModelloRiclassific = 'CE'
        AND NomeSimbolo = 'VENDITE';
      UPDATE d SET ModelloRiclassific = 'M2', NomeSimbolo = 'XV3';
      INSERT INTO Kvz_SimboliPianoBase SELECT * FROM d;
      UPDATE Kvz_RiclassificazioneRighe SET Formula = '_XV3 + 1', FormulaBudgetA = '', FormulaBudgetB = '', FormulaBudgetC = ''
        WHERE ModelloRiclassific = 'M2'"
    try open $docs.DRiclassificPianoBase --set RCL_PBASE_ESERCIZIO=2026 --set RCL_PBASE_DAL_MESE=1 \
      --set RCL_PBASE_MESE=12 --set RCL_PBASE_MODELLO=M2 --run
    expect_rc 1
    said "Il simbolo XV3 legge l'azienda $company, il cui database non si può aprire."
    said "Riclassificazione terminata con errori: 1 formula non calcolabile, lasciata a 0 in 1 riga: modello M2 riga A (Formula)."
    stored "SELECT COUNT(*), SUM(Valore) FROM Kvz_Riclassificato WHERE ModelloRiclassific = 'M2' AND CodRiclassificato = 'A'" \
      "12 0.0"
  done
}

# A model that others read: deleting it asks first, naming who reads it, and without an answer
# nothing goes. Once it is gone, a result symbol over it fails the run, and so does a driver
# whose target it was; a driver cannot be saved with a target that is no model of the year.
case_deleted_model() {
  fresh
  try open $docs.DModelliRiclassific --find --set ModelloRiclassific=CE --save --delete
  expect_rc 1
  said "Cancellare il modello CE dell'esercizio 2026 con i suoi risultati? I simboli dei modelli "
  said "CDCCOM, SIN, SP leggono i suoi risultati"
  said "kvz: no answer, the question is cancelled"
  stored "SELECT COUNT(*) FROM Kvz_Riclassificato WHERE ModelloRiclassific = 'CE'" 168
  try --yes open $docs.DModelliRiclassific --find --set ModelloRiclassific=CE --save --delete
  expect_rc 0
  stored "SELECT COUNT(*) FROM Kvz_RiclassificazioneTesta WHERE ModelloRiclassific = 'CE'" 0
  try open $docs.DRiclassificPianoBase --set RCL_PBASE_ESERCIZIO=2026 --set RCL_PBASE_DAL_MESE=1 \
    --set RCL_PBASE_MESE=12 --set RCL_PBASE_MODELLO=SP --run
  expect_rc 1
  said "Il simbolo UTILE legge il modello CE, che non esiste nell'esercizio 2026."
  said "Riclassificazione terminata con errori: 8 formule non calcolabili, lasciate a 0 in 2 righe: modello SP riga UT"

  try open $docs.DModelliRiclassific --find --set ModelloRiclassific=REPA --save --delete
  expect_rc 1
  said "Cancellare il modello REPA dell'esercizio 2026 con i suoi risultati? I drivers AFFITTO lo hanno tra i modelli di destinazione"
  try --yes open $docs.DModelliRiclassific --find --set ModelloRiclassific=REPA --save --delete
  expect_rc 0
  run_all --set CALCOLA_DRIVERS=Si
  expect_rc 1
  said_once "Driver AFFITTO: il modello REPA non esiste nell'esercizio 2026; il driver non è stato ricalcolato."
  said "AFFITTO (modello REPA inesistente)."
  stored "$shares" "REPB:9000.0:12"

  try open $appl.KvzDrivers --new --set Modello=D2 "--set=Codice drivers=MQ" --add-row KvzDriversModelli \
    "--cell=KvzDriversModelli:1:ModelloRiclassific=REPB" --add-row KvzDriversModelli \
    "--cell=KvzDriversModelli:2:ModelloRiclassific=MA" --save
  expect_rc 1
  said "Riga 2 dei modelli: il modello MA non esiste nell'esercizio 2026."
  stored "SELECT COUNT(*) FROM KvzDriversTesta WHERE ModelloDrivers = 'D2'" 0
}

# Models of kind "Per commessa" and "Per centro di costo" whose rows are split run only by their
# grouping: a run of all models leaves them out, saying so once, and one chosen alone is refused;
# either way their results stay the grouping run's.
case_split_models() {
  fresh
  local centre="SELECT ROUND(SUM(Valore), 2) || ':' || COUNT(*) FROM Kvz_Riclassificato WHERE ModelloRiclassific = 'ACQ'
    AND CodRiclassificato IN ('PE', 'QA')" before
  before=$(q "$centre")
  run_all
  expect_rc 0
  said_once "lasciati fuori da questa elaborazione: ACQ, AMM, COM, DIR, MAG, MAN, MKT, PRD, QUA, RSV (raggruppamento CDC); C25003"
  said "Riclassificazione terminata."
  stored "$centre" "$before"
  try open $docs.DRiclassificPianoBase --set RCL_PBASE_ESERCIZIO=2026 --set RCL_PBASE_DAL_MESE=1 \
    --set RCL_PBASE_MESE=12 --set RCL_PBASE_MODELLO=ACQ --run
  expect_rc 1
  said "elaborazione rifiutata: ACQ (raggruppamento CDC)."
  stored "$centre" "$before"
}

cases=("$@")
((${#cases[@]})) || cases=(driver_cost driver_row company deleted_model split_models)
for case in "${cases[@]}"; do
  "case_$case"
  echo "run-failures: $case checked"
done
((failed)) && exit 1
echo "run-failures: every case failed as it should"
