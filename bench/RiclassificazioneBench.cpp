// The reclassification run on the demo company at scale 10 after the ledger-balance import: 20
// models of 300 rows, each row with its main formula, the three budget formulas and two of the
// ten further formulas over base-plan symbols, run for the twelve months of the year. Against it,
// in the same run, its floor: what the run must do, the base plan read once by one grouped query,
// model by model its rows read, its previous results deleted and as many result rows written,
// committed once.
// Run from a Release build:
//   build-release/bin/kvz_bench_riclassificazione [--benchmark_repetitions=N]
// Five repetitions of each by default, the run's and the floor's interleaved (in random order),
// so that both meet the same load; the ratios of the medians and of the fastest are printed at
// the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/DemoBench.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliPianoBase.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CRiclassificPianoBaseDoc.h"
#include "platform/plvgeneric/Application.h"

namespace {
const int kModelli = 20;
const int kRighe = 300;
const int kSimboli = 60;  // base-plan symbols of each model, over accounts of its own

std::unique_ptr<SqlConnection> g_pConn;
int g_Anno = 0;

// Adds the cursor's record as it stands.
void Inserisci(SqlTable& t)
{
	t.AddNew(FALSE);
	t.Update();
}

// The models, their symbols and rows, written in one transaction.
BOOL CreaModelli(const std::vector<CString>& conti)
{
	CPLVContext ctx(g_pConn.get());
	if (!ctx.StartTransaction())
		return FALSE;
	Kvz_TRiclassificazioneTesta testa;
	Kvz_TAnagSimboli anag;
	Kvz_TSimboliPianoBase def;
	Kvz_TRiclassificazioneRighe riga;
	SqlTable tTesta(&testa, ctx.GetUpdatableSqlSession());
	SqlTable tAnag(&anag, ctx.GetUpdatableSqlSession());
	SqlTable tDef(&def, ctx.GetUpdatableSqlSession());
	SqlTable tRiga(&riga, ctx.GetUpdatableSqlSession());
	for (SqlTable* t : {&tTesta, &tAnag, &tDef, &tRiga})
		t->Open(TRUE);
	for (int m = 0; m < kModelli; ++m)
	{
		const CString modello = CString::Formatted("M%02d", m);
		testa.Init();
		testa.f_Esercizio = g_Anno;
		testa.f_ModelloRiclassific = modello;
		testa.f_Descrizione = "Modello " + modello;
		testa.f_Priorita = m;
		Inserisci(tTesta);
		for (int s = 0; s < kSimboli; ++s)
		{
			const CString nome = CString::Formatted("S%02d", s);
			anag.Init();
			anag.f_Esercizio = g_Anno;
			anag.f_ModelloRiclassific = modello;
			anag.f_NomeSimbolo = nome;
			anag.f_TipoSimbolo = DataEnum(E_KVZ_TIPOSIMBOLO, 0);
			Inserisci(tAnag);
			def.Init();
			def.f_Esercizio = g_Anno;
			def.f_ModelloRiclassific = modello;
			def.f_NomeSimbolo = nome;
			def.f_SelSaldo = TRUE;
			def.f_TipoOpeConto = DataEnum(E_KVZ_TIPOOPECONTO, 0);
			def.f_ValDaConto = conti[static_cast<size_t>(m * kSimboli + s) % conti.size()];
			Inserisci(tDef);
		}
		for (int r = 0; r < kRighe; ++r)
		{
			auto s = [&](int k) { return CString::Formatted("_S%02d", (r + k) % kSimboli); };
			riga.Init();
			riga.f_Esercizio = g_Anno;
			riga.f_ModelloRiclassific = modello;
			riga.f_CodRiclassificato = CString::Formatted("R%03d", r);
			riga.f_Posizione = r;
			riga.f_Descrizione = CString::Formatted("Riga %d", r);
			riga.f_Formula = s(0) + " + " + s(1);
			riga.f_FormulaBudgetA = s(0);
			riga.f_FormulaBudgetB = s(1);
			riga.f_FormulaBudgetC = s(2) + " * 2";
			riga.f_Formula1 = s(3) + " - " + s(0);
			riga.f_Formula2 = s(4) + " / 3";
			Inserisci(tRiga);
		}
	}
	return ctx.Commit();
}

void BM_Riclassificazione(benchmark::State& state)
{
	for (auto _ : state)
	{
		CDocumentSet docs;
		FormDriver form(FormDriver::Open(docs, RUNTIME_CLASS(Kvz_CRiclassificPianoBaseDoc), RUNTIME_CLASS(CBatchFrame),
										 RUNTIME_CLASS(Kvz_CRiclassificPianoBaseView)));
		form.Type("RCL_PBASE_ESERCIZIO", CString::Formatted("%d", g_Anno));
		form.Type("RCL_PBASE_DAL_MESE", "1");
		form.Type("RCL_PBASE_MESE", "12");
		form.Press("RCL_PBASE_TUTTI_MOD");
		if (!form.RunBatch())
		{
			state.SkipWithError("the run failed");
			return;
		}
	}
	state.counters["righe"] = kModelli * kRighe * 12;
}
BENCHMARK(BM_Riclassificazione)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// The floor: what the run cannot avoid. The base plan's monthly totals of every account read by
// one query; then, model by model, its rows read, its previous results deleted and its new ones
// (a row per model row and month) added by one prepared insert; committed at the end. It writes
// the same keys as the run, so each deletes as many rows of the other's as it adds.
void BM_Pavimento(benchmark::State& state)
{
	for (auto _ : state)
	{
		std::map<std::string, double> totali;
		kvzbench::LeggiTotaliPianoBase(g_Anno, totali);
		benchmark::DoNotOptimize(totali);
		CPLVContext ctx(g_pConn.get());
		ctx.StartTransaction();
		Kvz_TRiclassificazioneRighe riga;
		SqlTable tRighe(&riga, ctx.GetUpdatableSqlSession());
		tRighe.Open(FALSE);
		tRighe.SelectAll();
		tRighe.AddParam("p1", riga.f_Esercizio);
		tRighe.AddFilterColumn(riga.f_Esercizio);
		tRighe.AddParam("p2", riga.f_ModelloRiclassific);
		tRighe.AddFilterColumn(riga.f_ModelloRiclassific);
		tRighe.AddSortColumn(riga.f_Posizione);
		Kvz_TRiclassificato rec;
		SqlTable t(&rec, ctx.GetUpdatableSqlSession());
		t.Open(TRUE);
		const DataInt anno(g_Anno);
		const DataEnum tipoDato(E_KVZ_TIPODATOPBASE, 0);
		for (int m = 0; m < kModelli; ++m)
		{
			const DataStr modello(CString::Formatted("M%02d", m));
			tRighe.SetParamValue("p1", anno);
			tRighe.SetParamValue("p2", modello);
			std::vector<std::pair<CString, int>> codici;
			for (tRighe.Query(); !tRighe.IsEOF(); tRighe.MoveNext())
				codici.emplace_back(riga.f_CodRiclassificato.GetString(), riga.f_Posizione.GetValue());
			ctx.GetUpdatableSqlSession()->ExecuteSQL(
				"DELETE FROM \"Kvz_Riclassificato\" WHERE \"Esercizio\" = ? AND \"ModelloRiclassific\" = ? AND "
				"\"TipoDatoPianoBase\" = ?",
				{&anno, &modello, &tipoDato});
			for (const auto& [codice, posizione] : codici)
				for (int mese = 1; mese <= 12; ++mese)
				{
					t.AddNew();
					rec.f_Esercizio = anno;
					rec.f_Mese = mese;
					rec.f_ModelloRiclassific = modello;
					rec.f_TipoDatoPianoBase = tipoDato;
					rec.f_CodRiclassificato = codice;
					rec.f_Posizione = posizione;
					rec.f_Valore = posizione * 1.5;
					rec.f_ValoreBudgetA = mese;
					t.Update();
				}
		}
		tRighe.Close();
		t.Close();
		if (!ctx.Commit())
		{
			state.SkipWithError("the floor's commit failed");
			return;
		}
	}
}
BENCHMARK(BM_Pavimento)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
}  // namespace

int main(int argc, char** argv)
{
	// The defaults first: flags given after them take their place.
	std::vector<char*> args{argv[0], const_cast<char*>("--benchmark_repetitions=5"),
							const_cast<char*>("--benchmark_enable_random_interleaving=true")};
	args.insert(args.end(), argv + 1, argv + argc);
	int nArgs = static_cast<int>(args.size());
	args.push_back(nullptr);
	argv = args.data();
	argc = nArgs;
	kvzbench::Esecuzione run(argc, argv, "riclassificazione", g_pConn);
	if (!run)
		return 1;
	erp::DemoCompanySummary demo;
	if (!kvzbench::ApriDemo(g_pConn, run.Cartella(), 10, demo))
		return 1;
	g_Anno = demo.lastYear;
	AfxSetApplicationDate(DataDate(15, 12, g_Anno));
	if (!kvzbench::ImportaAnno(g_Anno))
		return 1;
	const std::vector<CString> conti = kvzbench::ContiPianoBase(g_Anno);
	if (conti.empty() || !CreaModelli(conti))
	{
		std::fprintf(stderr, "cannot create the models\n");
		return 1;
	}
	std::printf("Demo company at scale 10, year %d: %zu base-plan accounts, %d models of %d rows\n", g_Anno,
				conti.size(), kModelli, kRighe);

	kvzbench::TempiReporter reporter;
	benchmark::RunSpecifiedBenchmarks(&reporter);
	// The medians, and the fastest repetition of each: the least disturbed by other work on the
	// machine.
	using kvzbench::Misura;
	auto mediana = reporter.Confronta("BM_Riclassificazione", "BM_Pavimento", Misura::Mediana);
	auto reale = reporter.Confronta("BM_Riclassificazione", "BM_Pavimento", Misura::Minimo);
	auto cpu = reporter.Confronta("BM_Riclassificazione", "BM_Pavimento", Misura::MinimoCpu);
	if (mediana)
		std::printf("%d models x %d rows x 12 months, medians: run %.3f s, floor %.3f s, ratio %.2f\n", kModelli,
					kRighe, mediana->tempo, mediana->base, mediana->Volte());
	if (reale && cpu)
		std::printf("fastest: run %.3f s, floor %.3f s, ratio %.2f (CPU: %.3f s, %.3f s, ratio %.2f)\n", reale->tempo,
					reale->base, reale->Volte(), cpu->tempo, cpu->base, cpu->Volte());
	return 0;
}
