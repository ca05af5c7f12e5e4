// Base-plan symbols of the demo company at scale 10 after the ledger-balance import: one
// symbol per account of the base plan (the year's balance per month), valued by a fresh
// engine, against the same totals computed by one hand-written GROUP BY in the same run.
// Run from a Release build:
//   build-release/bin/kvz_bench_pianobase
// items_per_second is symbols valued per second; the ratio is printed at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/DemoBench.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliPianoBase.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormula.h"
#include "platform/plvgeneric/Application.h"

namespace {
std::unique_ptr<SqlConnection> g_pConn;
int g_Anno = 0;
std::vector<CString> g_Conti;

void BM_SimboliPianoBase(benchmark::State& state)
{
	Kvz_TSimboliPianoBase def;
	def.f_Esercizio = g_Anno;
	def.f_ModelloRiclassific = "MOD";
	def.f_SelSaldo = TRUE;
	def.f_TipoOpeConto = DataEnum(E_KVZ_TIPOOPECONTO, 0);
	double totale = 0;
	for (auto _ : state)
	{
		CMessages messaggi;
		Kvz_New_MngFormula motore(&messaggi, nullptr);
		motore.AttachDefault(DataInt(g_Anno), DataInt(1), DataInt(12), DataStr("MOD"), DataEnum(E_KVZ_TIPODATOPBASE, 0),
							 DataEnum());
		for (const CString& conto : g_Conti)
		{
			def.f_NomeSimbolo = conto;
			def.f_ValDaConto = conto;
			if (!motore.ValorizzaPianoBase("_" + conto, &def))
			{
				state.SkipWithError("valuation failed");
				return;
			}
		}
		benchmark::DoNotOptimize(totale);
	}
	state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * g_Conti.size()));
	state.counters["simboli"] = static_cast<double>(g_Conti.size());
}
BENCHMARK(BM_SimboliPianoBase)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(5);

// The baseline: the monthly totals of every account of the year in one query.
void BM_UnGroupBy(benchmark::State& state)
{
	long righe = 0;
	for (auto _ : state)
	{
		std::map<std::string, double> totali;
		righe = kvzbench::LeggiTotaliPianoBase(g_Anno, totali);
		benchmark::DoNotOptimize(totali);
	}
	state.counters["righe"] = static_cast<double>(righe);
}
BENCHMARK(BM_UnGroupBy)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(5);
}  // namespace

int main(int argc, char** argv)
{
	kvzbench::Esecuzione run(argc, argv, "pianobase", g_pConn);
	if (!run)
		return 1;
	g_Anno = kvzbench::ApriDemoImportata(g_pConn, run.Cartella(), 10);
	if (!g_Anno)
		return 1;
	g_Conti = kvzbench::ContiPianoBase(g_Anno);
	std::printf("Demo company at scale 10, year %d: %zu base-plan accounts\n", g_Anno, g_Conti.size());

	kvzbench::TempiReporter reporter;
	benchmark::RunSpecifiedBenchmarks(&reporter);
	if (auto c = reporter.Confronta("BM_SimboliPianoBase", "BM_UnGroupBy"))
		std::printf("%zu symbols: %.3f s, %.2f times one GROUP BY of the same totals (%.3f s)\n", g_Conti.size(),
					c->tempo, c->Volte(), c->base);
	return 0;
}
