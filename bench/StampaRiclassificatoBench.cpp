// The print of reclassified statements side by side at its largest: 20 models by 110 codes over
// twelve months (26 400 result rows), rendered to PDF through the extended report with every
// cell read through the exported members. Beside it, the same 2 200 cells read as the cells
// were read before (a find per month of each model and code), and the report extraction of the
// 20 models by code and four-month period. Run from a Release build:
//   build-release/bin/kvz_bench_stampariclassificato
// The ratio of the two ways of reading the cells is printed at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "bench/BenchRun.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/BDStampaRiclassificatoDoc.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CStampaReportRiclassificDoc.h"
#include "platform/plvgenlib/AddOnLibraries.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvges/FormDriver.h"
#include "platform/plvrendoviewer/CRendoDoc.h"

namespace {
const int kAnno = 2026;
const int kModelli = 20;
const int kCodici = 110;
std::unique_ptr<SqlConnection> g_pConn;
std::filesystem::path g_Folder;
BDStampaRiclassificatoDoc* g_pStampa = nullptr;
Kvz_CStampaReportRiclassificDoc* g_pEstrazione = nullptr;

CString Modello(int m)
{
	return CString::Formatted("M%02d", m);
}
CString Codice(int c)
{
	return CString::Formatted("C%03d", c);
}

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
	for (int m = 1; m <= kModelli; ++m)
	{
		t.Init();
		t.f_Esercizio = kAnno;
		t.f_ModelloRiclassific = Modello(m);
		t.f_Descrizione = "Modello " + Modello(m);
		tt.AddNew(FALSE);
		tt.Update();
		for (int c = 1; c <= kCodici; ++c)
		{
			r.Init();
			r.f_Esercizio = kAnno;
			r.f_ModelloRiclassific = Modello(m);
			r.f_CodRiclassificato = Codice(c);
			r.f_Posizione = c;
			r.f_Descrizione = "Codice " + Codice(c);
			tr.AddNew(FALSE);
			tr.Update();
			for (int mese = 1; mese <= 12; ++mese)
			{
				v.Init();
				v.f_Esercizio = kAnno;
				v.f_Mese = mese;
				v.f_ModelloRiclassific = Modello(m);
				v.f_CodRiclassificato = Codice(c);
				v.f_Posizione = c;
				v.f_Descrizione = "Codice " + Codice(c);
				v.f_Valore = m * 1000.0 + c + mese / 100.0;
				tv.AddNew(FALSE);
				tv.Update();
			}
		}
	}
	g_pConn->CommitTransaction();
}

// Every code chosen again (a print hands its codes back).
void ScegliTutto()
{
	g_pStampa->RiempiDBTRighe();
	DBTStampaRighe* pRighe = g_pStampa->GetDBTRighe();
	for (int i = 0; i < pRighe->GetSize(); ++i)
		pRighe->GetRiga(i)->l_Selezionata = TRUE;
	g_pStampa->m_NrSelezionati = pRighe->GetSize();
}

void BM_StampaEstesaPdf(benchmark::State& state)
{
	CReportRenderer& renderer = *AfxGetReportRenderer();
	renderer.SetFolder(g_Folder / "stampe");
	renderer.SetFormat(ReportFormat::Pdf);
	CRendoInfo info;
	for (auto _ : state)
	{
		state.PauseTiming();
		ScegliTutto();
		state.ResumeTiming();
		const auto files = renderer.Render(BDStampaRiclassificatoDoc::kReportPerCodiceEstesa, info, g_pStampa, nullptr);
		if (files.size() != 1)
		{
			state.SkipWithError(renderer.GetLastError().GetString());
			return;
		}
	}
	state.counters["celle"] = kModelli * kCodici;
}
BENCHMARK(BM_StampaEstesaPdf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(5);

void BM_CelleUnaQueryPerModello(benchmark::State& state)
{
	ScegliTutto();
	double totale = 0;
	for (auto _ : state)
	{
		g_pStampa->DimenticaValori();
		totale = 0;
		for (int m = 1; m <= kModelli; ++m)
			for (int c = 1; c <= kCodici; ++c)
				totale += g_pStampa->CalcolaValoreCodice(DataStr(Modello(m)), DataInt(kAnno), DataStr(Codice(c))).GetValue();
		benchmark::DoNotOptimize(totale);
	}
	state.counters["celle"] = kModelli * kCodici;
}
BENCHMARK(BM_CelleUnaQueryPerModello)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(5);

// The baseline: a find per month of each model and code.
void BM_CelleUnaFindPerMese(benchmark::State& state)
{
	double totale = 0;
	for (auto _ : state)
	{
		totale = 0;
		Kvz_TRRiclassificatoMesi reader;
		for (int m = 1; m <= kModelli; ++m)
			for (int c = 1; c <= kCodici; ++c)
				for (int mese = 1; mese <= 12; ++mese)
					if (reader.FindRecord(DataInt(kAnno), DataStr(Modello(m)), DataStr(Codice(c)), DataInt(mese)) ==
						TableReader::FOUND)
						totale += reader.GetRecord()->f_Valore.GetValue();
		benchmark::DoNotOptimize(totale);
	}
	state.counters["celle"] = kModelli * kCodici;
}
BENCHMARK(BM_CelleUnaFindPerMese)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(5);

// The report extraction of every model: print rows by code and four-month period.
void BM_EstrazioneVentiModelli(benchmark::State& state)
{
	size_t righe = 0;
	for (auto _ : state)
	{
		righe = 0;
		for (int m = 1; m <= kModelli; ++m)
		{
			g_pEstrazione->m_Modello = Modello(m);
			g_pEstrazione->EstraiDati();
			for (const auto& q : g_pEstrazione->m_Quadrim)
				righe += q.size();
		}
	}
	state.counters["righe"] = static_cast<double>(righe);
}
BENCHMARK(BM_EstrazioneVentiModelli)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(5);
}  // namespace

int main(int argc, char** argv)
{
	kvzbench::Esecuzione run(argc, argv, "stampa", g_pConn);
	if (!run)
		return 1;
	g_Folder = run.Cartella();
	if (!kvzbench::ApriAzienda(g_pConn, g_Folder))
		return 1;
	AfxSetApplicationDate(DataDate(31, 12, kAnno));
	Dati();
	// The report definitions, and the functions they read by name.
	CPlvCommandManager manager;
	manager.Install();
	CAddOnLibraries libs;
	if (!kvzbench::CaricaReport(libs, KVZ_REPORTS_LIBRARY, {"__BDStampaRiclassificatoDoc_Kvz_GetNextDescrizioniPerStampa",
							 "__BDStampaRiclassificatoDoc_Kvz_GetNextModelloPerStampa",
							 "__BDStampaRiclassificatoDoc_Kvz_GetNextCodiciPerStampa_1",
							 "__BDStampaRiclassificatoDoc_Kvz_GetNextCodiciPerStampa_2",
							 "__BDStampaRiclassificatoDoc_Kvz_GetNextCodiciPerStampa_3",
							 "__BDStampaRiclassificatoDoc_Kvz_GetNextCodiciPerStampa_4",
							 "__BDStampaRiclassificatoDoc_Kvz_CancellaSelezionati"}))
		return 1;
	{
		CDocumentSet docs;
		FormDriver stampa(FormDriver::Open(docs, RUNTIME_CLASS(BDStampaRiclassificatoDoc), RUNTIME_CLASS(CBatchFrame),
										   RUNTIME_CLASS(BDStampaRiclassificatoView)));
		FormDriver estrazione(FormDriver::Open(docs, RUNTIME_CLASS(Kvz_CStampaReportRiclassificDoc),
											   RUNTIME_CLASS(CBatchFrame), RUNTIME_CLASS(Kvz_CStampaReportRiclassificView)));
		g_pStampa = static_cast<BDStampaRiclassificatoDoc*>(stampa.GetDocument());
		g_pEstrazione = static_cast<Kvz_CStampaReportRiclassificDoc*>(estrazione.GetDocument());
		stampa.Type("Al mese", "12");
		stampa.Press("Carica modelli");
		for (int m = 0; m < g_pStampa->GetDBTModelli()->GetSize(); ++m)
			g_pStampa->GetDBTModelli()->GetModello(m)->l_Selezionata = TRUE;
		g_pEstrazione->m_AlMese = 12;
		std::printf("%d models by %d codes, %d result rows\n", kModelli, kCodici, kModelli * kCodici * 12);
		kvzbench::TempiReporter reporter;
		benchmark::RunSpecifiedBenchmarks(&reporter);
		if (auto c = reporter.Confronta("BM_CelleUnaQueryPerModello", "BM_CelleUnaFindPerMese"))
			std::printf("%d cells: %.4f s with a query per model, %.1f times faster than a find per month (%.4f s)\n",
						kModelli * kCodici, c->tempo, c->base / c->tempo, c->base);
		if (auto pdf = reporter.Secondi("BM_StampaEstesaPdf"))
			std::printf("%d models by %d codes rendered to PDF in %.3f s\n", kModelli, kCodici, *pdf);
		g_pStampa = nullptr;
		g_pEstrazione = nullptr;
	}
	libs.Unload();
	return 0;
}
