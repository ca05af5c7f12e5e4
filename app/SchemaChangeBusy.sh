#!/usr/bin/env bash
# Opening a company on a server while another session writes one of its tables: an up-to-date
# company opens at once; one whose table lacks an index waits a short while only, says that
# another user's work is using the tables and fails; once the writer has ended it opens and makes
# the index. And init notes a database whose ctype is not C.
# Usage: SchemaChangeBusy.sh KVZ
set -euo pipefail
if [[ -z ${KVZ_TEST_PG:-} ]]; then
  echo "KVZ_TEST_PG is not set: no server to hold a lock on"
  [[ ${CI:-} == true ]] && exit 1
  exit 77
fi
kvz=$1
base=${KVZ_TEST_PG%%\?*}
server=${base%/*}
name=kvz_schema_busy_$$
db=$server/$name
sql() { PGOPTIONS="-c client_min_messages=warning" psql "$1" -XqtA -v ON_ERROR_STOP=1 -c "$2"; }
writer=
cleanup() {
  [[ -n $writer ]] && kill "$writer" 2>/dev/null
  sql "$server/postgres" "DROP DATABASE IF EXISTS $name WITH (FORCE)" >/dev/null 2>&1 || true
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
sql "$server/postgres" "DROP DATABASE IF EXISTS $name WITH (FORCE)"
sql "$server/postgres" "CREATE DATABASE $name TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C.UTF-8' LC_CTYPE 'C.UTF-8'"
# A ctype other than C is worth a note at init (one of ctype C gets none).
said=$("$kvz" init "$db")
[[ $said == *"Note: the database's ctype is C.UTF-8; one of ctype C"* ]] || fail "no note on the ctype at init: $said"
sql "$server/postgres" "DROP DATABASE IF EXISTS ${name}_c WITH (FORCE)"
sql "$server/postgres" "CREATE DATABASE ${name}_c TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C'"
said=$("$kvz" init "$server/${name}_c")
sql "$server/postgres" "DROP DATABASE ${name}_c WITH (FORCE)"
[[ $said != *Note:* ]] || fail "a note on a database of ctype C: $said"
table=kvz_riclassificazionerighe
index=${table}_ix1
has_index() { [[ $(sql "$db" "SELECT COUNT(*) FROM pg_indexes WHERE indexname = '$index'") == 1 ]]; }
has_index || fail "no index $index after init"

# Another user's work: a transaction that has written the table and goes on.
hold() {
  sql "$db" "BEGIN; INSERT INTO $table (Esercizio, ModelloRiclassific, CodRiclassificato) VALUES (2026, 'LK', 'A');
    SELECT pg_sleep(60); COMMIT" >/dev/null 2>&1 &
  writer=$!
  for _ in $(seq 100); do
    [[ $(sql "$db" "SELECT COUNT(*) FROM pg_locks l JOIN pg_class c ON c.oid = l.relation
      WHERE c.relname = '$table' AND l.mode = 'RowExclusiveLock' AND l.granted AND l.pid <> pg_backend_pid()") != 0 ]] &&
      return 0
    sleep 0.1
  done
  fail "the writer never took its lock"
}
release() {
  kill "$writer" 2>/dev/null || true
  wait "$writer" 2>/dev/null || true
  writer=
  sql "$server/postgres" "SELECT pg_terminate_backend(pid) FROM pg_stat_activity
    WHERE datname = '$name' AND query LIKE '%pg_sleep%'" >/dev/null
}
# Runs kvz tables; sets out, status and took (milliseconds).
tables() {
  local start=$EPOCHREALTIME
  set +e
  out=$("$kvz" --db "$db" tables 2>&1)
  status=$?
  set -e
  took=$(( (${EPOCHREALTIME/./} - ${start/./}) / 1000 ))
}

hold
tables
[[ $status == 0 ]] || fail "an up-to-date company did not open beside a writer (status $status):"$'\n'"$out"
echo "up to date, beside a writer: status 0 in $took ms"
release

sql "$db" "DROP INDEX $index"
hold
tables
said=$(grep -m1 "another user's work" <<<"$out" || true)
echo "missing index, beside a writer: status $status in $took ms: $said"
[[ $status != 0 ]] || fail "kvz tables succeeded while the schema change could not be made"
[[ -n $said ]] || fail "no message that another user's work uses the tables:"$'\n'"$out"
[[ $(grep -c "another user's work" <<<"$out") == 1 ]] || fail "the message said more than once:"$'\n'"$out"
((took < 4000)) || fail "it waited $took ms: more than a short lock wait"
[[ $out != *"lock timeout"* && $out != *CREATE* ]] || fail "the database's own words reached the user:"$'\n'"$out"
has_index && fail "the index is there though the change failed"
release

tables
[[ $status == 0 ]] || fail "the company did not open once the writer ended (status $status):"$'\n'"$out"
has_index || fail "the index was not made once the writer ended"
echo "once the writer ended the company opened and the index was made"
