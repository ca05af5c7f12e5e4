// The adjustment rebuild of a year of the demo company at scale 10 after the ledger import (linked
// balance-sheet accounts, upper levels with the backup, unused cost centres and jobs), against one
// UPDATE of the same year's rows in the same run. Run from a Release build:
//   build-release/bin/kvz_bench_ricostruzassestamento
// The ratio is printed at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

#include "bench/DemoBench.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CRicostruzAssestamentoDoc.h"
#include "platform/plvgeneric/Application.h"

namespace {
std::unique_ptr<SqlConnection> g_pConn;
int g_Anno = 0;
long g_Righe = 0;

void BM_Ricostruzione(benchmark::State& state)
{
	for (auto _ : state)
	{
		CDocumentSet docs;
		FormDriver form(FormDriver::Open(docs, RUNTIME_CLASS(Kvz_CRicostruzAssestamentoDoc), RUNTIME_CLASS(CBatchFrame),
										 RUNTIME_CLASS(Kvz_CRicostruzAssestamentoView)));
		form.Type("Per l'esercizio:", CString::Formatted("%d", g_Anno));
		if (state.range(0))
			form.Press("Annulla dal piano dei conti KVZ i centri e le commesse non utilizzati, non ripartiti e non "
					   "assestatii");
		if (!form.RunBatch() || form.Text("Stato elaborazione") != "Elaborazione terminata.")
			state.SkipWithError("the rebuild failed");
		form.Close();
	}
	state.counters["righe"] = static_cast<double>(g_Righe);
}
BENCHMARK(BM_Ricostruzione)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);

// The baseline: every row of the year written once, in one statement and one transaction.
void BM_UnUpdate(benchmark::State& state)
{
	for (auto _ : state)
	{
		g_pConn->BeginTransaction();
		g_pConn->ExecuteSQL(CString::Formatted("UPDATE Kvz_PianoBaseR SET BkpSaldoContabile = SaldoContabile, "
											   "BkpImportoRateo = ImportoRateo, BkpTotaleAssestato = TotaleAssestato "
											   "WHERE Esercizio = %d",
											   g_Anno));
		g_pConn->CommitTransaction();
	}
	state.counters["righe"] = static_cast<double>(g_Righe);
}
BENCHMARK(BM_UnUpdate)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);
}  // namespace

int main(int argc, char** argv)
{
	kvzbench::Esecuzione run(argc, argv, "ricostruz", g_pConn);
	if (!run)
		return 1;
	g_Anno = kvzbench::ApriDemoImportata(g_pConn, run.Cartella(), 10);
	if (!g_Anno)
		return 1;
	AfxSetApplicationDate(DataDate(31, 12, g_Anno));
	g_Righe = kvzbench::Conta(*g_pConn,
							  CString::Formatted("SELECT COUNT(*) FROM Kvz_PianoBaseR WHERE Esercizio = %d", g_Anno));
	std::printf("Demo company at scale 10, year %d: %ld base-plan rows\n", g_Anno, g_Righe);
	kvzbench::TempiReporter reporter;
	benchmark::RunSpecifiedBenchmarks(&reporter);
	if (auto base = reporter.Secondi("BM_UnUpdate"))
		for (auto& [nome, secondi] : reporter.Tempi())
			if (nome != "BM_UnUpdate")
				std::printf("%s: %.3f s, %.1f times one UPDATE of the year's %ld rows (%.3f s)\n", nome.c_str(),
							secondi, secondi / *base, g_Righe, *base);
	return 0;
}
