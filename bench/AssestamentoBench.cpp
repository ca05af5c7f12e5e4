// The save of an adjustment of twelve months: an account eight levels deep (seven parents), linked
// to a balance-sheet account eight levels deep, split over ten cost centres, all in one
// transaction; against the same save of an account that nothing depends on, in the same run.
// Run from a Release build:
//   build-release/bin/kvz_bench_assestamento
// The ratio is printed at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

#include "bench/BenchRun.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCentriCommesseContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TParametri.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseTesta.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CAssestamentoDoc.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CSelezAssestamentoDoc.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvges/FormDriver.h"

namespace {
constexpr int kAnno = 2026;
std::unique_ptr<SqlConnection> g_pConn;
long g_NextID = 1;

using kvzbench::Inserisci;

void Conto(const CString& conto, WORD tipo, BOOL bProponi, const CString& collegato = CString())
{
	Kvz_TAnagContiKvz c;
	c.f_Esercizio = kAnno;
	c.f_ContoKvz = conto;
	c.f_TipoConto = DataEnum(E_TIPOCONTO, tipo);
	c.f_ProponiInAssest = bProponi;
	c.f_ModifInAssest = TRUE;
	c.f_ContoCollegato = collegato;
	Inserisci(c);
}

void Piano(const CString& conto, const CString& cdc = CString())
{
	const long id = g_NextID++;
	Kvz_TPianoBaseTesta t;
	t.f_IDPianoBase = id;
	t.f_Esercizio = kAnno;
	t.f_ContoKvz = conto;
	t.f_CentroCommessa = cdc;
	Inserisci(t);
	for (int m = 1; m <= 12; ++m)
	{
		Kvz_TPianoBaseRighe r;
		r.f_IDPianoBase = id;
		r.f_Mese = m;
		r.f_Esercizio = kAnno;
		r.f_ContoKvz = conto;
		r.f_CentroCommessa = cdc;
		r.f_SaldoContabile = 1000;
		r.f_TotaleAssestato = 1000;
		Inserisci(r);
	}
}

// An account with its seven parents (codes of one character per level), each with its plan.
void Catena(const CString& conto, WORD tipo, BOOL bProponi, const CString& collegato = CString())
{
	for (int n = 1; n <= conto.GetLength(); ++n)
	{
		const CString codice = conto.Left(n);
		const bool bFoglia = n == conto.GetLength();
		Conto(codice, tipo, bFoglia && bProponi, bFoglia ? collegato : CString());
		Piano(codice);
	}
}

void Prepara()
{
	Kvz_TParametri par;
	par.f_IDParam = 1;
	par.f_LenMastro = 1;
	par.f_NrSegmenti = 7;
	DataInt* seg[] = {&par.f_LenSeg1, &par.f_LenSeg2, &par.f_LenSeg3, &par.f_LenSeg4,
					  &par.f_LenSeg5, &par.f_LenSeg6, &par.f_LenSeg7};
	for (DataInt* p : seg)
		*p = 1;
	Inserisci(par);
	Catena("41234567", 0, TRUE, "91234567");
	Catena("91234567", 1, FALSE);
	for (int c = 0; c < 10; ++c)
	{
		const CString cdc = CString::Formatted("CDC%02d", c);
		Kvz_TCentriCommesseContiKvz centro;
		centro.f_Esercizio = kAnno;
		centro.f_ContoKvz = "41234567";
		centro.f_CentroCommessa = cdc;
		centro.f_PercRipartizione = 10;
		Inserisci(centro);
		Piano("41234567", cdc);
	}
	// What nothing depends on: a ledger with no link and no centres.
	Conto("5", 0, TRUE);
	Piano("5");
}

// Saves twelve changed months of the first (or second) account proposed.
void Salva(benchmark::State& state, int nConto)
{
	CDocumentSet docs;
	auto* pSel = static_cast<Kvz_CSelezAssestamentoDoc*>(docs.Open(
		RUNTIME_CLASS(Kvz_CSelezAssestamentoDoc), RUNTIME_CLASS(CBatchFrame), RUNTIME_CLASS(Kvz_CSelezAssestamentoView)));
	FormDriver sel(pSel);
	sel.SelectRow("Conti", nConto);
	auto* pDoc = static_cast<Kvz_CAssestamentoDoc*>(docs.Open(RUNTIME_CLASS(Kvz_CAssestamentoDoc),
															  RUNTIME_CLASS(Kvz_AssestamentoFrame),
															  RUNTIME_CLASS(Kvz_CAssestamentoView), CPLVNamespace(), pSel));
	if (!pDoc)
	{
		state.SkipWithError("the adjustments did not open");
		return;
	}
	FormDriver form(pDoc);
	double importo = 0;
	for (auto _ : state)
	{
		importo += 1;
		for (int i = 0; i < pDoc->GetDBTRighe()->GetSize(); ++i)
		{
			Kvz_TEnhPianoBaseRighe* pRiga = pDoc->GetDBTRighe()->GetRiga(i);
			pRiga->f_ImportoRateo = importo;
			pRiga->f_TotaleAssestato = pRiga->f_SaldoContabile + pRiga->f_ImportoRateo;
		}
		pDoc->m_Modificato = TRUE;
		if (!form.Press("&Salva") || pDoc->m_Modificato)
		{
			state.SkipWithError("the save failed");
			return;
		}
	}
	state.SetItemsProcessed(state.iterations());
}

void BM_SalvaConPropagazione(benchmark::State& state)
{
	Salva(state, 0);
}
BENCHMARK(BM_SalvaConPropagazione)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);

// The baseline: the same twelve months with nothing to carry them to.
void BM_SalvaSenzaPropagazione(benchmark::State& state)
{
	Salva(state, 1);
}
BENCHMARK(BM_SalvaSenzaPropagazione)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);
}  // namespace

int main(int argc, char** argv)
{
	kvzbench::Esecuzione run(argc, argv, "assestamento", g_pConn);
	if (!run || !kvzbench::ApriAzienda(g_pConn, run.Cartella()))
		return 1;
	AfxSetApplicationDate(DataDate(15, 12, kAnno));
	Prepara();
	kvzbench::TempiReporter reporter;
	benchmark::RunSpecifiedBenchmarks(&reporter);
	if (auto c = reporter.Confronta("BM_SalvaConPropagazione", "BM_SalvaSenzaPropagazione"))
		std::printf("A save with 8 levels, a linked 8-level balance sheet and 10 centres: %.2f ms, %.2f times the "
					"same save with nothing to carry (%.2f ms)\n",
					c->tempo * 1e3, c->Volte(), c->base * 1e3);
	return 0;
}
