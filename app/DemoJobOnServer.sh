#!/usr/bin/env bash
# The demo job on the test run's PostgreSQL server (KVZ_TEST_PG), in a database of its own.
# Usage: DemoJobOnServer.sh DEMO-JOB KVZ YEAR DIR [DATABASE]  (default kvz_demo_job)
set -euo pipefail
if [[ -z ${KVZ_TEST_PG:-} ]]; then
  echo "KVZ_TEST_PG is not set: no server to run the demo job on"
  [[ ${CI:-} == true ]] && exit 1
  exit 77
fi
base=${KVZ_TEST_PG%%\?*}
exec "$1" "$2" "${base%/*}/${5:-kvz_demo_job}" "$3" "$4"
