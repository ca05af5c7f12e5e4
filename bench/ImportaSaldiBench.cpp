// The ledger-balance import of a year of the demo company (scale 10, or KVZ_BENCH_SCALE): the
// first import into empty module tables and an import of the same month again, in host
// accounts per second, against two floors: reading the same host balances and cost-accounting
// entries with one query each, and that reading followed by the rows the first import writes,
// added by prepared inserts (on a server by COPY) in one transaction. Prints the ratios at the
// end. With KVZ_BENCH_PG naming a PostgreSQL server the company is a schema there.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/DemoBench.h"
#include "platform/erp/erpledgerdbl/TBalances.h"
#include "platform/erp/erpledgerdbl/TCostAccEntriesDetail.h"
#include "platform/plvgeneric/Application.h"

namespace {
std::unique_ptr<SqlConnection> g_pConn;
int g_Anno = 0;

// Empty as before a first import: on a server emptied by TRUNCATE, as DELETE would leave each
// repetition the dead rows and index entries of the ones before.
void SvuotaModulo()
{
	for (const char* table : {"Kvz_AnagConti", "Kvz_CentriCommPianoConti", "Kvz_PianoBaseT", "Kvz_PianoBaseR",
							  "Kvz_PianoBaseRDett", "Kvz_IDDocumenti", "Kvz_NumDocumenti"})
		g_pConn->ExecuteSQL(CString::Formatted(g_pConn->IsServer() ? "TRUNCATE TABLE %s" : "DELETE FROM %s", table));
}

// The rows a first import wrote, table by table, to be written again by the floor.
struct Righe
{
	const char* tabella;
	std::vector<std::string> colonne;
	std::vector<std::vector<plv::db::Value>> righe;
};
std::vector<Righe> g_Scritte;

void FotografaModulo()
{
	g_Scritte.clear();
	for (const char* table : {"Kvz_AnagConti", "Kvz_CentriCommPianoConti", "Kvz_PianoBaseT", "Kvz_PianoBaseR",
							  "Kvz_IDDocumenti", "Kvz_NumDocumenti"})
	{
		Righe r{table, g_pConn->Db().TableColumns(table), {}};
		auto st = g_pConn->Db().Prepare(std::string("SELECT * FROM ") + table);
		while (st->Step())
		{
			std::vector<plv::db::Value> riga;
			for (int c = 0; c < st->ColumnCount(); ++c)
				riga.push_back(st->Column(c));
			r.righe.push_back(std::move(riga));
		}
		g_Scritte.push_back(std::move(r));
	}
}

void BM_ImportaSaldi_Prima(benchmark::State& state)
{
	long conti = 0;
	for (auto _ : state)
	{
		state.PauseTiming();
		SvuotaModulo();
		state.ResumeTiming();
		conti = kvzbench::ImportaSaldi(g_Anno, state.range(0) != 0);
		if (conti <= 0)
			state.SkipWithError("import failed");
	}
	state.counters["conti"] = static_cast<double>(conti);
	state.counters["conti/s"] = benchmark::Counter(static_cast<double>(conti) * static_cast<double>(state.iterations()),
												   benchmark::Counter::kIsRate);
}
// Argument 1: the forecast ledger too.
BENCHMARK(BM_ImportaSaldi_Prima)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);

void BM_ImportaSaldi_Ripetuta(benchmark::State& state)
{
	if (kvzbench::ImportaSaldi(g_Anno) <= 0)
		state.SkipWithError("import failed");
	long conti = 0;
	for (auto _ : state)
		conti = kvzbench::ImportaSaldi(g_Anno);
	state.counters["conti"] = static_cast<double>(conti);
	state.counters["conti/s"] = benchmark::Counter(static_cast<double>(conti) * static_cast<double>(state.iterations()),
												   benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ImportaSaldi_Ripetuta)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);

// The baseline: the year's ledger balances and its cost-accounting entries, each read whole by
// one query through the same cursors.
void BM_LetturaHostUnaQuery(benchmark::State& state)
{
	long righe = 0;
	for (auto _ : state)
		righe = kvzbench::LeggiHost(g_Anno);
	state.counters["righe"] = static_cast<double>(righe);
}
BENCHMARK(BM_LetturaHostUnaQuery)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);

// The floor of the first import: the same reading, then the rows that import writes, all in one
// transaction: each added by a statement prepared once, or on a server sent by COPY.
void BM_Pavimento(benchmark::State& state)
{
	long righe = 0;
	for (auto _ : state)
	{
		state.PauseTiming();
		SvuotaModulo();
		state.ResumeTiming();
		righe = kvzbench::LeggiHost(g_Anno);
		plv::db::Connection& db = g_pConn->Db();
		db.Begin();
		for (const Righe& t : g_Scritte)
		{
			// A server takes the rows by COPY, as the import sends them.
			if (g_pConn->IsServer())
			{
				auto copia = db.PrepareBulkInsert(t.tabella, t.colonne);
				for (const auto& riga : t.righe)
					copia->Add(riga);
				righe += static_cast<long>(t.righe.size());
				continue;
			}
			std::string sql = std::string("INSERT INTO ") + t.tabella + " (";
			for (size_t c = 0; c < t.colonne.size(); ++c)
				sql += (c ? ", " : "") + t.colonne[c];
			sql += ") VALUES (";
			for (size_t c = 0; c < t.colonne.size(); ++c)
				sql += c ? ", ?" : "?";
			auto st = db.Prepare(sql + ")");
			for (const auto& riga : t.righe)
			{
				for (size_t c = 0; c < riga.size(); ++c)
					st->Bind(static_cast<int>(c + 1), riga[c]);
				st->Step();
				st->Reset();
				++righe;
			}
		}
		db.Commit();
	}
	state.counters["righe"] = static_cast<double>(righe);
}
BENCHMARK(BM_Pavimento)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);
}  // namespace

int main(int argc, char** argv)
{
	kvzbench::Esecuzione run(argc, argv, "importa", g_pConn);
	if (!run)
		return 1;
	const char* scala = std::getenv("KVZ_BENCH_SCALE");
	const int nScala = scala && std::atoi(scala) > 0 ? std::atoi(scala) : 10;
	erp::DemoCompanySummary demo;
	if (!kvzbench::ApriDemo(g_pConn, run.Cartella(), nScala, demo))
		return 1;
	g_Anno = demo.lastYear;
	// A year as users keep it: a monthly spread of the adjustments of every account proposed in
	// them, and base-plan symbols that name every other grouped account.
	g_pConn->ExecuteSQL(CString::Formatted(
		"WITH m(n) AS (VALUES (1), (2), (3), (4), (5), (6), (7), (8), (9), (10), (11), (12)) "
		"INSERT INTO Kvz_RipartizioniAssestamento (ContoKvz, Anno, Mese, Percentuale, Dati, Rateo) "
		"SELECT r.Conto, %d, m.n, 8.33, 0, 100 FROM Kvz_RaggruppPdC r, m WHERE r.ProponiInAssestamento <> 0",
		g_Anno));
	g_pConn->ExecuteSQL(CString::Formatted(
		"INSERT INTO Kvz_ElencoContiSimboloPBase (Esercizio, ModelloRiclassific, NomeSimbolo, ContoSelez) "
		"SELECT %d, 'M1', 'S' || r.Conto, r.Conto FROM Kvz_RaggruppPdC r "
		"WHERE (SELECT COUNT(*) FROM Kvz_RaggruppPdC b WHERE b.Conto < r.Conto) %% 2 = 1",
		g_Anno));
	std::printf("Demo company at scale %d on %s: %ld accounts, %ld cost-accounting entries, year %d\n", nScala,
				g_pConn->IsServer() ? "PostgreSQL" : "SQLite", demo.accounts, demo.entries, g_Anno);
	if (!kvzbench::ImportaAnno(g_Anno))
		return 1;
	FotografaModulo();
	std::printf("A first import writes %zu base plans and %zu month rows\n", g_Scritte[2].righe.size(),
				g_Scritte[3].righe.size());

	kvzbench::TempiReporter reporter;
	benchmark::RunSpecifiedBenchmarks(&reporter);
	for (const char* name : {"BM_ImportaSaldi_Prima/0", "BM_ImportaSaldi_Prima/1", "BM_ImportaSaldi_Ripetuta"})
	{
		if (auto c = reporter.Confronta(name, "BM_LetturaHostUnaQuery"))
			std::printf("%s: %.2f s, %.1f times reading the host's balances and entries with one query each (%.3f s)\n",
						name, c->tempo, c->Volte(), c->base);
		if (auto c = reporter.Confronta(name, "BM_Pavimento"))
			std::printf("%s: %.2f times the same reading and rows by %s in one transaction (%.3f s)\n", name,
						c->Volte(), g_pConn->IsServer() ? "COPY" : "prepared inserts", c->base);
	}
	return 0;
}
