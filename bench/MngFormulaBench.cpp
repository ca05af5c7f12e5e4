// A reclassification model of 300 rows with 14 formulas each (main, three budget, ten
// further), over reclassified-code and extra-accounting-code symbols, evaluated by one engine
// on the demo company, as the reclassification run does. Run from a Release build:
//   build-release/bin/kvz_bench_mngformula
// items_per_second is formulas evaluated per second; "valuations" counts the symbol
// occurrences valued. The share of time in SQL is read with perf (see the report).
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/BenchRun.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabili.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabiliTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodiciRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciExtracont.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciRiclass.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormula.h"
#include "platform/erp/erpdemo/DemoCompany.h"

namespace {
constexpr int kAnno = 2025;
constexpr int kRighe = 300;
constexpr int kRiclass = 10;  // symbols K0..K9, kind 3
constexpr int kExtra = 5;     // symbols E0..E4, kind 1

using kvzbench::Inserisci;

void Anagrafica(const CString& nome, WORD tipo)
{
	Kvz_TAnagSimboli r;
	r.f_Esercizio = kAnno;
	r.f_ModelloRiclassific = "MOD";
	r.f_NomeSimbolo = nome;
	r.f_TipoSimbolo = DataEnum(E_KVZ_TIPOSIMBOLO, tipo);
	Inserisci(r);
}

CString Codice(int i) { return CString::Formatted("R%03d", i); }

// The model, its symbols and the extra-accounting codes.
void CreaModello()
{
	for (int i = 0; i < kRighe; ++i)
	{
		Kvz_TCodiciRiclassificato c;
		c.f_Esercizio = kAnno;
		c.f_ModelloRiclassific = "MOD";
		c.f_CodRiclassificato = Codice(i);
		Inserisci(c);
		Kvz_TRiclassificazioneRighe r;
		r.f_Esercizio = kAnno;
		r.f_ModelloRiclassific = "MOD";
		r.f_CodRiclassificato = Codice(i);
		r.f_Posizione = i + 1;
		r.f_Formula = CString::Formatted("%d * 1,5 + 2", i);
		r.f_FormulaBudgetA = r.f_FormulaBudgetB = r.f_FormulaBudgetC = CString::Formatted("%d", i);
		Inserisci(r);
	}
	for (int k = 0; k < kRiclass; ++k)
	{
		CString nome = CString::Formatted("K%d", k);
		Anagrafica(nome, 3);
		Kvz_TSimboliCodiciRiclass s;
		s.f_Esercizio = kAnno;
		s.f_ModelloRiclassific = "MOD";
		s.f_NomeSimbolo = nome;
		s.f_ValoreEsSymb = TRUE;
		s.f_ValoreModelloSymb = TRUE;
		s.f_ValoreCodice = Codice(k * 20);
		s.f_ValoreCodiceA = Codice(k * 20 + (k % 3 == 0 ? 4 : 0));  // some ranges of five codes
		s.f_AggregFunction = DataEnum(E_KVZ_AGGREGFUNCTION, k % 2 ? 1 : 0);
		Inserisci(s);
	}
	for (int e = 0; e < kExtra; ++e)
	{
		CString nome = CString::Formatted("E%d", e);
		CString codice = CString::Formatted("C%d", e);
		Anagrafica(nome, 1);
		Kvz_TSimboliCodiciExtracont s;
		s.f_Esercizio = kAnno;
		s.f_ModelloRiclassific = "MOD";
		s.f_NomeSimbolo = nome;
		s.f_ValoreEsSymb = TRUE;
		s.f_ValoreMeseSymb = TRUE;
		s.f_ValoreCodice = codice;
		Inserisci(s);
		Kvz_TCodExtracontabiliTesta t;
		t.f_Esercizio = kAnno;
		t.f_CodExtracont = codice;
		Inserisci(t);
		for (int m = 1; m <= 12; ++m)
		{
			Kvz_TCodExtracontabili r;
			r.f_Esercizio = kAnno;
			r.f_CodExtracont = codice;
			r.f_Mese = m;
			r.f_Formula = CString::Formatted("%d + %d", e * 100, m);
			Inserisci(r);
		}
	}
}

void BM_ModelloRiclassificazione(benchmark::State& state)
{
	long nFormule = 0, nValutazioni = 0;
	for (auto _ : state)
	{
		CMessages messaggi;
		Kvz_New_MngFormula motore(&messaggi, nullptr);
		motore.AttachDefault(DataInt(kAnno), DataInt(1), DataInt(12), DataStr("MOD"), DataEnum(E_KVZ_TIPODATOPBASE, 0),
							 DataEnum());
		for (int i = 0; i < kRighe; ++i)
		{
			for (int f = 0; f < 14; ++f)
			{
				const int k1 = (i + f) % kRiclass, k2 = (i * 7 + f) % kRiclass, e = (i + f) % kExtra;
				CString formula = CString::Formatted("_K%d + _K%d * 0,5 - _E%d / 4 + _E%d", k1, k2, e, (e + 1) % kExtra);
				if (f >= 1 && f <= 3)
					motore.AttachFormulaBudget(formula, DataEnum(E_KVZ_TIPOBUDGET, static_cast<WORD>(f - 1)));
				else
					motore.AttachFormula(formula);
				if (!motore.Eval())
				{
					state.SkipWithError("Eval failed");
					return;
				}
				benchmark::DoNotOptimize(motore.GetResult(11));
				++nFormule;
				nValutazioni += 4;
			}
		}
		if (!messaggi.IsEmpty())
			state.SkipWithError(messaggi.ToString().GetString());
	}
	state.SetItemsProcessed(nFormule);
	state.counters["valuations"] = benchmark::Counter(static_cast<double>(nValutazioni), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ModelloRiclassificazione)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv)
{
	std::unique_ptr<SqlConnection> conn;
	kvzbench::Esecuzione run(argc, argv, "formula", conn);
	if (!run || !kvzbench::ApriAzienda(conn, run.Cartella()))
		return 1;
	erp::CreateDemoCompany(*conn);
	CreaModello();
	benchmark::RunSpecifiedBenchmarks();
	return 0;
}
