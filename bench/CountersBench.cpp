// Identifiers and numbers taken per second from the counter tables, and the cost of one
// identifier against the barest SQLite increment of a counter row in the same run.
// Prints the ratio (identifier / raw increment) at the end.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench/BenchRun.h"
#include "kvznet/kvzmod/kvzcomponents/GestIds.h"

namespace {
std::filesystem::path g_Folder;
std::unique_ptr<SqlConnection> g_pConn;

void Check(int rc, sqlite3* db, const char* what)
{
	if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
		throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}

void BM_GetNextID(benchmark::State& state)
{
	CBaseDocument doc;
	Kvz_IDManager ids(DataEnum(E_KVZ_SPECIEARCHIVIO, 2), &doc);
	DataLng id;
	for (auto _ : state)
		if (!ids.GetNextID(id))
			state.SkipWithError("GetNextID failed");
	state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetNextID)->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(5);

void BM_OttieniProssimoNumero(benchmark::State& state)
{
	Kvz_NumNonFiscManager nums;
	const DataDate day(1, 1, 2025);
	DataStr n;
	for (auto _ : state)
		if (!nums.OttieniProssimoNumero(day, n))
			state.SkipWithError("OttieniProssimoNumero failed");
	state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_OttieniProssimoNumero)->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(5);

// The same file settings as a company database (WAL, default synchronous, busy timeout): one
// autocommitted UPDATE ... RETURNING, the least that takes a value atomically.
void BM_RawSqliteIncrement(benchmark::State& state)
{
	sqlite3* db = nullptr;
	std::string path = (g_Folder / "raw.db").string();
	Check(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr), db, "open");
	sqlite3_busy_timeout(db, 5000);
	Check(sqlite3_exec(db,
					   "PRAGMA journal_mode=WAL; CREATE TABLE IF NOT EXISTS c (k INTEGER PRIMARY KEY, v INTEGER);"
					   "INSERT OR IGNORE INTO c VALUES (1, 0);",
					   nullptr, nullptr, nullptr),
		  db, "setup");
	sqlite3_stmt* st = nullptr;
	Check(sqlite3_prepare_v3(db, "UPDATE c SET v = v + 1 WHERE k = ?1 RETURNING v", -1, SQLITE_PREPARE_PERSISTENT, &st,
							 nullptr),
		  db, "prepare");
	sqlite3_bind_int(st, 1, 1);
	sqlite3_int64 value = 0;
	for (auto _ : state)
	{
		Check(sqlite3_step(st), db, "step");
		value = sqlite3_column_int64(st, 0);
		Check(sqlite3_step(st), db, "finish");
		sqlite3_reset(st);
	}
	benchmark::DoNotOptimize(value);
	sqlite3_finalize(st);
	sqlite3_close_v2(db);
	state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RawSqliteIncrement)->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(5);
}  // namespace

int main(int argc, char** argv)
{
	kvzbench::Esecuzione run(argc, argv, "counters", g_pConn);
	if (!run)
		return 1;
	g_Folder = run.Cartella();
	g_pConn = SqlConnection::Open((g_Folder / "azienda.db").string(), SqlConnection::CREATE_IF_MISSING);
	CPLVNamespace ns("KvzNet.KvzMod.KvzDbl");
	g_pConn->RegisterCatalogEntry("", ns, Kvz_TIDDocumenti::GetThisClass(), SqlRecord::TABLE_TYPE);
	g_pConn->RegisterCatalogEntry("", ns, Kvz_TNumDocumenti::GetThisClass(), SqlRecord::TABLE_TYPE);
	AfxSetDefaultSqlConnection(g_pConn.get());

	kvzbench::TempiReporter reporter(::isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_Defaults
															 : benchmark::ConsoleReporter::OO_Tabular);
	benchmark::RunSpecifiedBenchmarks(&reporter);
	// The medians of the repetitions: a disk busy with other work makes single runs swing.
	for (const char* name : {"BM_GetNextID", "BM_OttieniProssimoNumero"})
		if (auto c = reporter.Confronta(name, "BM_RawSqliteIncrement"))
			std::printf("%s: %.1f us per value, %.0f per second; %.2f times the raw SQLite increment (%.1f us)\n", name,
						c->tempo * 1e6, 1.0 / c->tempo, c->Volte(), c->base * 1e6);
	return 0;
}
