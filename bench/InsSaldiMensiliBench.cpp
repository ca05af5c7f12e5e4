// Monthly balances of the demo company at scale 10: the grid of every grouped account of the
// imported year read with its base plan (one statement), and a year entered by hand saved: the
// accounts copied into the next year, where none has a base plan yet, each given a balance and
// saved with its cost centres and jobs (a head and twelve months each) in one transaction.
// Run from a Release build:
//   build-release/bin/kvz_bench_inssaldimensili
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

#include "bench/DemoBench.h"
#include "kvznet/kvzmod/kvzbatch/DuplicaContiEsercizio.h"
#include "kvznet/kvzmod/kvzbatch/InsSaldiMensili.h"
#include "platform/plvgeneric/Application.h"

namespace {
std::unique_ptr<SqlConnection> g_pConn;
int g_Anno = 0;

long Conta(const CString& sql)
{
	return kvzbench::Conta(*g_pConn, sql);
}

FormDriver ApriSaldi(CDocumentSet& docs, int anno)
{
	FormDriver form(FormDriver::Open(docs, RUNTIME_CLASS(Kvz_CInsSaldiMensiliDoc), RUNTIME_CLASS(CBatchFrame),
									 RUNTIME_CLASS(Kvz_CInsSaldiMensiliView)));
	form.Press("INS_SAL_TIPO_CONTO_TUTTI");
	form.Type("INS_SAL_ANNO", CString::Formatted("%d", anno));
	return form;
}

// Every grouped account of the imported year, with its month's balance.
void BM_Interroga(benchmark::State& state)
{
	CDocumentSet docs;
	FormDriver form = ApriSaldi(docs, g_Anno);
	for (auto _ : state)
		form.Press("&Interroga");
	state.counters["conti"] = form.RowCount("Conti");
}
BENCHMARK(BM_Interroga)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(5);

// A new year's balances typed for every account and saved (heads and twelve months of each
// account and of each of its splits).
void BM_SalvaAnno(benchmark::State& state)
{
	long righe = 0;
	int conti = 0;
	for (auto _ : state)
	{
		state.PauseTiming();
		g_pConn->ExecuteSQL(CString::Formatted("DELETE FROM Kvz_PianoBaseR WHERE Esercizio = %d", g_Anno + 1));
		g_pConn->ExecuteSQL(CString::Formatted("DELETE FROM Kvz_PianoBaseT WHERE Esercizio = %d", g_Anno + 1));
		CDocumentSet docs;
		FormDriver form = ApriSaldi(docs, g_Anno + 1);
		conti = form.RowCount("Conti");
		for (int i = 0; i < conti; ++i)
			form.TypeCell("Conti", i, "SaldoContabile", CString::Formatted("%d", 100 + i));
		state.ResumeTiming();
		if (!form.Press("&Salva"))
			state.SkipWithError("the save failed");
		state.PauseTiming();
		righe = Conta(CString::Formatted("SELECT COUNT(*) FROM Kvz_PianoBaseR WHERE Esercizio = %d", g_Anno + 1));
		form.Close();
		state.ResumeTiming();
	}
	state.counters["conti"] = conti;
	state.counters["righe_scritte"] = static_cast<double>(righe);
}
BENCHMARK(BM_SalvaAnno)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);
}  // namespace

int main(int argc, char** argv)
{
	kvzbench::Esecuzione run(argc, argv, "inssaldimensili", g_pConn);
	if (!run)
		return 1;
	g_Anno = kvzbench::ApriDemoImportata(g_pConn, run.Cartella(), 10);
	if (!g_Anno)
		return 1;
	AfxSetApplicationDate(DataDate(15, 3, g_Anno));
	{
		CDocumentSet docs;
		FormDriver dup(FormDriver::Open(docs, RUNTIME_CLASS(Kvz_CDuplicaContiEsercizioDoc), RUNTIME_CLASS(CBatchFrame),
										RUNTIME_CLASS(Kvz_CDuplicaContiEsercizioView)));
		dup.Type("Duplicare il piano dei conti a partire dall'esercizio:", CString::Formatted("%d", g_Anno));
		dup.Type("nel nuovo esercizio:", CString::Formatted("%d", g_Anno + 1));
		if (!dup.RunBatch())
			return 1;
	}
	std::printf("Demo company at scale 10, year %d: %ld grouped accounts, %ld cost-centre/job splits\n", g_Anno,
				Conta("SELECT COUNT(*) FROM Kvz_AnagConti WHERE Esercizio = (SELECT MAX(Esercizio) FROM Kvz_AnagConti)"),
				Conta("SELECT COUNT(*) FROM Kvz_CentriCommPianoConti WHERE Esercizio = (SELECT MAX(Esercizio) FROM "
					  "Kvz_AnagConti)"));
	benchmark::RunSpecifiedBenchmarks();
	return 0;
}
