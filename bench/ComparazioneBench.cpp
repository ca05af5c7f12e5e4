// The comparison of two reclassified plans at the demo's scale 10: two models of 500 codes over
// twelve months (6 000 result rows each), the second with 50 codes of its own, so that placeholder
// rows are written and deleted on every run. Against it, in the same run, its floor: one grouped
// query over both plans' rows. Run from a Release build:
//   build-release/bin/kvz_bench_comparazione
// The ratio of the median repetitions is printed at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

#include "bench/BenchRun.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneTesta.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CComparazioneRiclassificDoc.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvges/FormDriver.h"

namespace {
const int kAnno = 2026;
const int kScala = 10;
const int kCodici = 50 * kScala;
const int kSoloSecondo = 5 * kScala;
std::unique_ptr<SqlConnection> g_pConn;
FormDriver* g_pForm = nullptr;
Kvz_CComparazioneRiclassificDoc* g_pDoc = nullptr;

CString Codice(int c)
{
	return CString::Formatted("%d", c);
}

// Model A's codes 1..kCodici, model B's from kSoloSecondo + 1 on, as many; A's rows with the
// kinds that compare one month among them.
void Dati()
{
	g_pConn->BeginTransaction();
	Kvz_TRiclassificazioneTesta t;
	Kvz_TRiclassificazioneRighe r;
	Kvz_TRiclassificato v;
	SqlTable tt(&t), tr(&r), tv(&v);
	tt.Open(TRUE);
	tr.Open(TRUE);
	tv.Open(TRUE);
	for (const char* modello : {"A", "B"})
	{
		t.Init();
		t.f_Esercizio = kAnno;
		t.f_ModelloRiclassific = modello;
		tt.AddNew(FALSE);
		tt.Update();
		const int primo = *modello == 'A' ? 1 : kSoloSecondo + 1;
		for (int c = primo; c < primo + kCodici; ++c)
		{
			const WORD tipo = static_cast<WORD>(c % 10 == 2 ? 2 : c % 10 == 3 ? 3 : 0);
			if (*modello == 'A')
			{
				r.Init();
				r.f_Esercizio = kAnno;
				r.f_ModelloRiclassific = modello;
				r.f_CodRiclassificato = Codice(c);
				r.f_Posizione = c;
				r.f_TipoRiga = DataEnum(E_KVZ_TIPORIGA, tipo);
				tr.AddNew(FALSE);
				tr.Update();
			}
			for (int mese = 1; mese <= 12; ++mese)
			{
				v.Init();
				v.f_Esercizio = kAnno;
				v.f_Mese = mese;
				v.f_ModelloRiclassific = modello;
				v.f_CodRiclassificato = Codice(c);
				v.f_Posizione = c;
				v.f_Descrizione = "Codice " + Codice(c);
				v.f_TipoRiga = DataEnum(E_KVZ_TIPORIGA, tipo);
				v.f_Valore = c * 10.0 + mese;
				v.f_TotaleRiportato = c * 100.0;
				tv.AddNew(FALSE);
				tv.Update();
			}
		}
	}
	g_pConn->CommitTransaction();
}

void BM_Comparazione(benchmark::State& state)
{
	size_t righe = 0;
	for (auto _ : state)
	{
		if (!g_pForm->RunBatch() && g_pDoc->m_Righe.empty())
		{
			state.SkipWithError("the comparison built no row");
			return;
		}
		righe = g_pDoc->m_Righe.size();
	}
	state.counters["righe"] = static_cast<double>(righe);
}
BENCHMARK(BM_Comparazione)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(5);

// The floor: both plans' sums by model and code in one grouped query.
void BM_UnaQueryRaggruppata(benchmark::State& state)
{
	size_t righe = 0;
	for (auto _ : state)
	{
		righe = 0;
		Kvz_TRiclassificato rec;
		DataDbl valore, riportato;
		SqlTable t(&rec);
		t.Open();
		t.Select(rec.f_ModelloRiclassific);
		t.Select(rec.f_CodRiclassificato);
		t.SelectSqlFun(CString::Formatted("SUM(%s)", t.GetColumnName(rec.f_Valore).GetString()), valore);
		t.SelectSqlFun(CString::Formatted("SUM(%s)", t.GetColumnName(rec.f_TotaleRiportato).GetString()), riportato);
		t.AddParam("p1", rec.f_Esercizio);
		t.AddFilterColumn(rec.f_Esercizio);
		t.AddParam("p2", rec.f_TipoDatoPianoBase);
		t.AddFilterColumn(rec.f_TipoDatoPianoBase);
		t.AddGroupByColumn(rec.f_ModelloRiclassific);
		t.AddGroupByColumn(rec.f_CodRiclassificato);
		t.SetParamValue("p1", DataInt(kAnno));
		t.SetParamValue("p2", DataEnum(E_KVZ_TIPODATOPBASE, 0));
		for (t.Query(); !t.IsEOF(); t.MoveNext())
			++righe;
		t.Close();
	}
	state.counters["righe"] = static_cast<double>(righe);
}
BENCHMARK(BM_UnaQueryRaggruppata)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(5);
}  // namespace

int main(int argc, char** argv)
{
	kvzbench::Esecuzione run(argc, argv, "confronto", g_pConn);
	if (!run || !kvzbench::ApriAzienda(g_pConn, run.Cartella()))
		return 1;
	AfxSetApplicationDate(DataDate(31, 12, kAnno));
	Dati();
	CDocumentSet docs;
	FormDriver form(FormDriver::Open(docs, RUNTIME_CLASS(Kvz_CComparazioneRiclassificDoc), RUNTIME_CLASS(CBatchFrame),
									 RUNTIME_CLASS(Kvz_CComparazioneRiclassificView)));
	g_pForm = &form;
	g_pDoc = static_cast<Kvz_CComparazioneRiclassificDoc*>(form.GetDocument());
	g_pDoc->m_Termine[0].Modello = "A";
	g_pDoc->m_Termine[1].Modello = "B";
	g_pDoc->m_Termine[0].MeseA = 12;
	g_pDoc->m_Termine[1].MeseA = 12;
	std::printf("two models of %d codes by 12 months, %d codes of the second only\n", kCodici, kSoloSecondo);
	kvzbench::TempiReporter reporter;
	benchmark::RunSpecifiedBenchmarks(&reporter);
	if (auto c = reporter.Confronta("BM_Comparazione", "BM_UnaQueryRaggruppata"))
		std::printf("comparison of %d codes by 12 months: %.4f s, %.1f times one grouped query over both plans "
					"(%.4f s)\n",
					kCodici, c->tempo, c->Volte(), c->base);
	g_pForm = nullptr;
	g_pDoc = nullptr;
	return 0;
}
