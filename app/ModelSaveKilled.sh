#!/usr/bin/env bash
# Model saves killed (SIGKILL) at each point of their writing in turn: KVZ_KILL_AT=N makes kvz
# kill itself at its N-th point, counting one just before each insert, update, delete or commit and
# one just after each commit, so every point is reached on every run. After each kill the model
# must be as before the save or as after it, with no code or symbol that no row of a model has; the same save run again on a state before reaches the state after it.
# Two saves: a new model of three rows, and an edit of a saved model that removes a row, adds one
# and renames one.
# With "interrupt" the saves get SIGINT at each point instead (KVZ_INTERRUPT_AT=N, as a Ctrl-C
# there): a save stopped before its commit is undone and says so, with status 130; one whose commit
# was under way is kept and says so, with status 0; then a run of the model the same way.
# Usage: ModelSaveKilled.sh KVZ DIR [pg] [interrupt]   (pg: on the test run's PostgreSQL server, KVZ_TEST_PG)
set -euo pipefail
kvz=$1
dir=$2
pg=0
interrupt=0
for a in "${@:3}"; do
  case $a in
    pg) pg=1 ;;
    interrupt) interrupt=1 ;;
    *) echo "ModelSaveKilled.sh: unknown argument $a" >&2; exit 2 ;;
  esac
done
mkdir -p "$dir"
fail() { echo "FAIL: $*"; exit 1; }

if ((pg)); then
  if [[ -z ${KVZ_TEST_PG:-} ]]; then
    echo "KVZ_TEST_PG is not set: no server to kill a save on"
    [[ ${CI:-} == true ]] && exit 1
    exit 77
  fi
  base=${KVZ_TEST_PG%%\?*}
  server=${base%/*}
  pristine=kvz_kill_base_$$
  work=kvz_kill_work_$$
  sql() { PGOPTIONS="-c client_min_messages=warning" psql "$1" -XqtA -v ON_ERROR_STOP=1 -F ' ' -c "$2"; }
  drop() { sql "$server/postgres" "DROP DATABASE IF EXISTS $1 WITH (FORCE)"; }
  trap 'drop $pristine >/dev/null 2>&1 || true; drop $work >/dev/null 2>&1 || true' EXIT
  drop $pristine
  sql "$server/postgres" "CREATE DATABASE $pristine"
  setup_db=$server/$pristine
  db=$server/$work
  q() { sql "$db" "$1"; }
  # The work database is the pristine one again: a copy made by the server.
  restore() { drop $work; sql "$server/postgres" "CREATE DATABASE $work TEMPLATE $pristine"; }
  keep() { :; }
else
  setup_db=$dir/pristine.db
  db=$dir/work.db
  rm -f "$setup_db" "$setup_db"-wal "$setup_db"-shm
  q() { sqlite3 -separator ' ' "$db" "$1"; }
  restore() { rm -f "$db" "$db"-wal "$db"-shm; cp "$setup_db" "$db"; }
  # The pristine file alone holds everything once its journal is folded in.
  keep() { sqlite3 "$setup_db" "PRAGMA wal_checkpoint(TRUNCATE)" >/dev/null; }
fi
export KVZ_SETTINGS_DIR=$dir/settings

models=KvzNet.KvzMod.KvzDocuments.DModelliRiclassific
g="Righe riclassificazioni"
k() { "$kvz" --db "$1" --date 15/12/2026 open $models "${@:2}"; }

"$kvz" init "$setup_db" >/dev/null
k "$setup_db" --new --set ModelloRiclassific=M1 --set Descrizione=Uno \
  --add-row "$g" --cell "$g:1:Codice=A" --cell "$g:1:Descrizione=Prima" --cell "$g:1:Formula=1" \
  --add-row "$g" --cell "$g:2:Codice=B" --cell "$g:2:Descrizione=Seconda" --cell "$g:2:Formula=_RA*2" \
  --save >/dev/null 2>&1 || fail "the first model could not be saved"
keep

# What the saves touch: models, rows, codes, symbols and their definitions, each in its order; and
# the results of a run.
state() {
  q "SELECT Esercizio, ModelloRiclassific, Descrizione FROM Kvz_RiclassificazioneTesta ORDER BY 1, 2;
     SELECT Esercizio, ModelloRiclassific, CodRiclassificato, Posizione, Descrizione, Formula
     FROM Kvz_RiclassificazioneRighe ORDER BY 1, 2, 3;
     SELECT Esercizio, ModelloRiclassific, CodRiclassificato, Descrizione FROM Kvz_CodiciRiclassificato ORDER BY 1, 2, 3;
     SELECT Esercizio, ModelloRiclassific, NomeSimbolo, TipoSimbolo FROM Kvz_AnagSimboli ORDER BY 1, 2, 3;
     SELECT Esercizio, ModelloRiclassific, NomeSimbolo, ValoreCodice, Annotazioni FROM Kvz_SimboliCodRiclassif
     ORDER BY 1, 2, 3;
     SELECT Esercizio, ModelloRiclassific, TipoDatoPianoBase, CodRiclassificato, Mese, Valore FROM Kvz_Riclassificato
     ORDER BY 1, 2, 3, 4, 5"
}
# Codes no row has; definitions of symbols of codes no row has; symbols without a definition
# (every symbol of this company is a code's).
orphans() {
  q "SELECT (SELECT COUNT(*) FROM Kvz_CodiciRiclassificato c WHERE NOT EXISTS (SELECT 1 FROM Kvz_RiclassificazioneRighe r
       WHERE r.Esercizio = c.Esercizio AND r.ModelloRiclassific = c.ModelloRiclassific
       AND r.CodRiclassificato = c.CodRiclassificato))
     + (SELECT COUNT(*) FROM Kvz_SimboliCodRiclassif s WHERE NOT EXISTS (SELECT 1 FROM Kvz_RiclassificazioneRighe r
       WHERE r.Esercizio = s.Esercizio AND r.ModelloRiclassific = s.ModelloRiclassific
       AND r.CodRiclassificato = s.ValoreCodice))
     + (SELECT COUNT(*) FROM Kvz_AnagSimboli a WHERE NOT EXISTS (SELECT 1 FROM Kvz_SimboliCodRiclassif s
       WHERE s.Esercizio = a.Esercizio AND s.ModelloRiclassific = a.ModelloRiclassific AND s.NomeSimbolo = a.NomeSimbolo))"
}
intact() {
  ((pg)) && return 0
  [[ $(q "PRAGMA integrity_check") == ok ]]
}

# One save killed at every point in turn. Prints the number of points and how many left the
# state before and after.
killed_at_each_point() {
  local name=$1
  shift
  restore
  local before after
  before=$(state)
  k "$db" "$@" >"$dir/$name.log" 2>&1 || fail "$name: the save without a kill failed: $(tail -n 5 "$dir/$name.log")"
  after=$(state)
  [[ $before != "$after" ]] || fail "$name: the save changed nothing"
  [[ $(orphans) == 0 ]] || fail "$name: orphans after the save without a kill: $(orphans)"
  local n=1 asBefore=0 asAfter=0 status
  while :; do
    restore
    set +e
    KVZ_KILL_AT=$n k "$db" "$@" >"$dir/$name-$n.log" 2>&1
    status=$?
    set -e
    ((status == 0)) && break  # fewer points than n: every one was reached
    ((status == 137)) || fail "$name, point $n: status $status, not killed: $(tail -n 5 "$dir/$name-$n.log")"
    local now
    now=$(state)
    if [[ $now == "$before" ]]; then
      asBefore=$((asBefore + 1))
    elif [[ $now == "$after" ]]; then
      asAfter=$((asAfter + 1))
    else
      fail "$name, killed at point $n: neither before nor after:"$'\n'"$now"$'\n'"--- before:"$'\n'"$before"$'\n'"--- after:"$'\n'"$after"
    fi
    [[ $(orphans) == 0 ]] || fail "$name, killed at point $n: $(orphans) codes or symbols without their row"
    intact || fail "$name, killed at point $n: the database's integrity check failed"
    # Run again after some of the kills (each one costs a save): nothing the kill left blocks it.
    if [[ $now == "$before" ]] && ((n % 4 == 1)); then
      k "$db" "$@" >"$dir/$name-$n-again.log" 2>&1 ||
        fail "$name, killed at point $n: the save run again failed: $(tail -n 5 "$dir/$name-$n-again.log")"
      [[ $(state) == "$after" ]] || fail "$name, killed at point $n: the save run again did not reach the state after it"
    fi
    n=$((n + 1))
  done
  ((n > 1)) || fail "$name: no point was reached"
  echo "$name: killed at $((n - 1)) points: $asBefore left the state before, $asAfter the state after, no orphans"
}

# One piece of work interrupted at every point in turn: each time either undone (the state before,
# status 130, the last line UNDONE) or kept (the state after, with status 0 and the line that says
# the work was done, or with 130 and KEPT: a stopped batch's own words). Prints the counts.
interrupted_at_each_point() {
  local name=$1 undone=$2 kept=$3
  shift 3
  local whole="kvz: interrupted when the work was already done: all of it is kept."
  restore
  local before after
  before=$(state)
  k "$db" "$@" >"$dir/$name.log" 2>&1 || fail "$name: the work without an interrupt failed: $(tail -n 5 "$dir/$name.log")"
  after=$(state)
  [[ $before != "$after" ]] || fail "$name: the work changed nothing"
  local n=1 asBefore=0 asAfter=0 status last now log
  while :; do
    restore
    log=$dir/$name-int-$n.log
    set +e
    KVZ_INTERRUPT_AT=$n k "$db" "$@" >"$log" 2>&1
    status=$?
    set -e
    last=$(tail -n 1 "$log")
    ((status == 0)) && [[ $last != "kvz: interrupted"* ]] && break  # fewer points than n
    now=$(state)
    if [[ $now == "$before" ]] && ((status == 130)) && [[ $last == "$undone" ]]; then
      asBefore=$((asBefore + 1))
    elif [[ $now == "$after" ]] && { { ((status == 0)) && [[ $last == "$whole" ]]; } ||
                                     { ((status == 130)) && [[ -n $kept && $last == "$kept" ]]; }; }; then
      asAfter=$((asAfter + 1))
    else
      local as="neither before nor after"
      [[ $now == "$before" ]] && as="as before"
      [[ $now == "$after" ]] && as="as after"
      fail "$name, interrupted at point $n: status $status with the data $as; the last line: $last"
    fi
    [[ $(orphans) == 0 ]] || fail "$name, interrupted at point $n: $(orphans) codes or symbols without their row"
    n=$((n + 1))
  done
  ((n > 1)) || fail "$name: no point was reached"
  echo "$name: interrupted at $((n - 1)) points: $asBefore undone and said so, $asAfter kept and said so"
}

if ((interrupt)); then
  undone="kvz: interrupted. Elaborazione interrotta su richiesta utente: nessuna modifica salvata."
  interrupted_at_each_point new "$undone" "" --new --set ModelloRiclassific=M2 --set Descrizione=Due \
    --add-row "$g" --cell "$g:1:Codice=X" --cell "$g:1:Descrizione=Ics" --cell "$g:1:Formula=5" \
    --add-row "$g" --cell "$g:2:Codice=Y" --cell "$g:2:Formula=_RX+1" --save
  interrupted_at_each_point edit "$undone" "" --find --set ModelloRiclassific=M1 --save --edit --delete-row "$g=2" \
    --cell "$g:1:Descrizione=Prima nuova" --add-row "$g" --cell "$g:2:Codice=C" --cell "$g:2:Formula=_RA+3" --save
  # The model's run: a batch, which says what it kept when it stops.
  models=KvzNet.KvzMod.KvzDocuments.DRiclassificPianoBase
  stopped="kvz: interrupted. Elaborazione interrotta su richiesta utente:"
  interrupted_at_each_point run "$stopped 0 modelli salvati; il modello M1 non è stato modificato." \
    "$stopped 1 modello salvato." \
    --set RCL_PBASE_ESERCIZIO=2026 --set RCL_PBASE_MESE=12 --set RCL_PBASE_MODELLO=M1 --run
  echo "every interrupted save and run was undone or kept, as its status and last line said"
  exit 0
fi

killed_at_each_point new --new --set ModelloRiclassific=M2 --set Descrizione=Due \
  --add-row "$g" --cell "$g:1:Codice=X" --cell "$g:1:Descrizione=Ics" --cell "$g:1:Formula=5" \
  --add-row "$g" --cell "$g:2:Codice=Y" --cell "$g:2:Formula=_RX+1" \
  --add-row "$g" --cell "$g:3:Codice=Z" --cell "$g:3:Formula=_RY*_RX" --save
killed_at_each_point edit --find --set ModelloRiclassific=M1 --save --edit --delete-row "$g=2" \
  --cell "$g:1:Descrizione=Prima nuova" --add-row "$g" --cell "$g:2:Codice=C" --cell "$g:2:Formula=_RA+3" --save
echo "every killed save left the model before or after it"
