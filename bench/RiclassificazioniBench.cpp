// Saving a reclassification model of 500 rows in its document on the demo company: each row
// has a main formula and two further ones over extra-accounting symbols and the symbols of
// earlier rows. "Nuovo" saves a model entered from scratch (codes, symbols, definitions,
// counters and short descriptions all written); "Modificato" edits one formula of a stored
// model and saves it again (the model the first one saved). Run from a Release build:
//   build-release/bin/kvz_bench_riclassificazioni
// The target is a save under a second.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/BenchRun.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabiliTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciExtracont.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CDeRiclassificazioniDoc.h"
#include "platform/erp/erpdemo/DemoCompany.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvges/FormDriver.h"

namespace {
constexpr int kAnno = 2026;
constexpr int kRighe = 500;
constexpr int kExtra = 5;  // symbols E0..E4, kind 1

using kvzbench::Inserisci;

// The extra-accounting symbols of a model.
void SimboliExtra(const char* modello)
{
	for (int e = 0; e < kExtra; ++e)
	{
		Kvz_TAnagSimboli r;
		r.f_Esercizio = kAnno;
		r.f_ModelloRiclassific = modello;
		r.f_NomeSimbolo = CString::Formatted("E%d", e);
		r.f_TipoSimbolo = DataEnum(E_KVZ_TIPOSIMBOLO, 1);
		Inserisci(r);
		Kvz_TSimboliCodiciExtracont s;
		s.f_Esercizio = kAnno;
		s.f_ModelloRiclassific = modello;
		s.f_NomeSimbolo = r.f_NomeSimbolo;
		s.f_ValoreCodice = CString::Formatted("X%d", e);
		Inserisci(s);
	}
}

CString Codice(int i) { return CString::Formatted("C%03d", i); }

// The rows straight into the buffer, as a copy or an import would leave them.
void Righe(Kvz_CDeRiclassificazioniDoc& doc)
{
	Kvz_DBTRiclassificRighe* pRighe = doc.GetDBTRighe();
	for (int i = 0; i < kRighe; ++i)
	{
		auto* p = static_cast<Kvz_TRiclassificazioneRighe*>(pRighe->AddRecord());
		p->f_CodRiclassificato = Codice(i);
		p->f_Descrizione = CString::Formatted("Riga %d", i);
		p->f_Formula = i == 0 ? CString("_E0 * 2") : CString::Formatted("_E%d * 2 + _R%s", i % kExtra, Codice(i - 1).GetString());
		p->f_FormulaBudgetA = p->f_FormulaBudgetB = p->f_FormulaBudgetC = p->f_Formula;
		p->f_Formula1 = CString::Formatted("_E%d + 3,5", (i + 1) % kExtra);
		p->f_Formula2 = CString::Formatted("_R%s - _E%d", Codice(i / 2).GetString(), (i + 2) % kExtra);
		p->SetStorable();
	}
}

struct Documento
{
	Documento()
	{
		form = std::make_unique<FormDriver>(FormDriver::Open(
			docs, RUNTIME_CLASS(Kvz_CDeRiclassificazioniDoc), RUNTIME_CLASS(Kvz_CDeRiclassificazioniFrame),
			RUNTIME_CLASS(Kvz_CDeRiclassificazioniView), CPLVNamespace("KvzNet.KvzMod.KvzDocuments.DModelliRiclassific")));
	}
	Kvz_CDeRiclassificazioniDoc* Doc() const { return static_cast<Kvz_CDeRiclassificazioniDoc*>(form->GetDocument()); }
	CDocumentSet docs;
	std::unique_ptr<FormDriver> form;
};

void BM_SalvaModelloNuovo(benchmark::State& state)
{
	int n = 0;
	for (auto _ : state)
	{
		state.PauseTiming();
		const CString modello = CString::Formatted("N%d", n++);
		SimboliExtra(modello);
		Documento d;
		d.form->New();
		d.form->Type("ModelloRiclassific", modello);
		Righe(*d.Doc());
		state.ResumeTiming();
		if (!d.form->Save())
		{
			state.SkipWithError("save refused");
			return;
		}
	}
	state.SetItemsProcessed(state.iterations() * kRighe);
}
BENCHMARK(BM_SalvaModelloNuovo)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SalvaModelloModificato(benchmark::State& state)
{
	Documento d;
	d.form->Find();
	d.form->Type("ModelloRiclassific", "N0");
	if (!d.form->Save())
	{
		state.SkipWithError("model N0 not found");
		return;
	}
	int n = 0;
	for (auto _ : state)
	{
		state.PauseTiming();
		d.form->Edit();
		d.form->TypeCell("Righe riclassificazioni", kRighe / 2, "Formula1", CString::Formatted("_E%d", n++ % kExtra));
		state.ResumeTiming();
		if (!d.form->Save())
		{
			state.SkipWithError("save refused");
			return;
		}
	}
	state.SetItemsProcessed(state.iterations() * kRighe);
}
BENCHMARK(BM_SalvaModelloModificato)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv)
{
	std::unique_ptr<SqlConnection> conn;
	ScriptedInteraction ui;  // nobody answers: a question would fail the save
	kvzbench::Esecuzione run(argc, argv, "riclass", conn, &ui);
	if (!run)
		return 1;
	AfxSetApplicationDate(DataDate(15, 6, kAnno));
	if (!kvzbench::ApriAzienda(conn, run.Cartella()))
		return 1;
	erp::CreateDemoCompany(*conn);
	benchmark::RunSpecifiedBenchmarks();
	return 0;
}
