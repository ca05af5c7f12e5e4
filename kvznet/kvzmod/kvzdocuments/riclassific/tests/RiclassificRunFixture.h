#pragma once
// The reclassification run driven through its form, on a company database with the models,
// rows and results the cases need.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodRaggrupp.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRaggrupp.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliOutputRiclass.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CRiclassificPianoBaseDoc.h"
#include "kvznet/kvzmod/kvzdocuments/tests/MngFormulaFixture.h"
#include "platform/plvges/FormDriver.h"

namespace kvz_run_test {

using RigaMod = Kvz_TRiclassificazioneRighe;

class Run : public Calcolo
{
protected:
	void SetUp() override
	{
		Calcolo::SetUp();
		AfxSetApplicationDate(DataDate(15, 6, kAnno));
	}
	void TearDown() override
	{
		m_pForm.reset();
		m_Docs.reset();
		Calcolo::TearDown();
	}

	void Testa(const char* modello, int priorita = 0, WORD tipo = 0, DataDate inizio = DataDate(),
			   DataDate fine = DataDate(), const char* parametrico = "")
	{
		Kvz_TRiclassificazioneTesta t;
		t.f_Esercizio = kAnno;
		t.f_ModelloRiclassific = modello;
		t.f_Descrizione = CString("Modello ") + modello;
		t.f_Priorita = priorita;
		t.f_TipoModello = DataEnum(E_KVZ_TIPOMODELLO, tipo);
		t.f_DataInizio = inizio;
		t.f_DataFine = fine;
		t.f_FormulaCalcParametrico = parametrico;
		InsertRow(t);
	}
	void RigaDi(const char* modello, const char* codice, int posizione, const char* formula,
				const std::function<void(RigaMod&)>& modifica = {})
	{
		RigaMod r;
		r.f_Esercizio = kAnno;
		r.f_ModelloRiclassific = modello;
		r.f_CodRiclassificato = codice;
		r.f_Posizione = posizione;
		r.f_Descrizione = CString("Riga ") + codice;
		r.f_Formula = formula;
		if (modifica)
			modifica(r);
		InsertRow(r);
	}
	// The result symbol _V<code> of a model: the stored value of the month of the code of the
	// model it reads (its own unless named).
	void SimboloRisultato(const char* modello, const char* codice, const char* modelloLetto = nullptr)
	{
		Kvz_TAnagSimboli a;
		a.f_Esercizio = kAnno;
		a.f_ModelloRiclassific = modello;
		a.f_NomeSimbolo = CString("V") + codice;
		a.f_TipoSimbolo = DataEnum(E_KVZ_TIPOSIMBOLO, 6);
		InsertRow(a);
		Kvz_TSimboliOutputRiclass s;
		s.f_Esercizio = kAnno;
		s.f_ModelloRiclassific = modello;
		s.f_NomeSimbolo = CString("V") + codice;
		s.f_ValoreModello = modelloLetto ? modelloLetto : modello;
		s.f_ValoreCodice = codice;
		s.f_ValoreCodiceA = codice;
		InsertRow(s);
	}
	void Raggruppamento(const char* codice, std::initializer_list<const char*> modelli)
	{
		Kvz_TCodRaggrupp c;
		c.f_CodRaggrupp = codice;
		c.f_Descrizione = CString("Gruppo ") + codice;
		InsertRow(c);
		for (const char* m : modelli)
		{
			Kvz_TRiclassificazioneRaggrupp r;
			r.f_Esercizio = kAnno;
			r.f_ModelloRiclassific = m;
			r.f_CodRaggrupp = codice;
			InsertRow(r);
		}
	}
	// A result row written by another procedure.
	void Risultato(const char* modello, const char* codice, int mese, WORD tipoRiga, double valore)
	{
		Kvz_TRiclassificato r;
		r.f_Esercizio = kAnno;
		r.f_Mese = mese;
		r.f_ModelloRiclassific = modello;
		r.f_CodRiclassificato = codice;
		r.f_TipoRiga = DataEnum(E_KVZ_TIPORIGA, tipoRiga);
		r.f_Valore = valore;
		InsertRow(r);
	}

	FormDriver& Form()
	{
		if (!m_pForm)
		{
			m_Docs = std::make_unique<CDocumentSet>();
			m_pForm = std::make_unique<FormDriver>(
				FormDriver::Open(*m_Docs, RUNTIME_CLASS(Kvz_CRiclassificPianoBaseDoc), RUNTIME_CLASS(CBatchFrame),
								 RUNTIME_CLASS(Kvz_CRiclassificPianoBaseView)));
		}
		return *m_pForm;
	}
	Kvz_CRiclassificPianoBaseDoc* Doc() { return static_cast<Kvz_CRiclassificPianoBaseDoc*>(Form().GetDocument()); }
	// Months dal..al of the year, all models unless a range or grouping is typed after.
	BOOL Esegui(int dal, int al, const std::function<void(FormDriver&)>& scelta = {})
	{
		FormDriver& f = Form();
		EXPECT_TRUE(f.Type("RCL_PBASE_DAL_MESE", CString::Formatted("%d", dal)));
		EXPECT_TRUE(f.Type("RCL_PBASE_MESE", CString::Formatted("%d", al)));
		if (scelta)
			scelta(f);
		else if (f.Text("RCL_PBASE_TUTTI_MOD") != "Si")
		{
			EXPECT_TRUE(f.Press("RCL_PBASE_TUTTI_MOD"));
		}
		return f.RunBatch();
	}

	std::optional<double> Valore(const char* modello, const char* codice, int mese, const char* colonna = "Valore")
	{
		auto st = m_pConn->Db().Prepare(std::string("SELECT ") + colonna +
										" FROM Kvz_Riclassificato WHERE ModelloRiclassific = ? AND "
										"CodRiclassificato = ? AND Mese = ?");
		st->Bind(1, std::string(modello));
		st->Bind(2, std::string(codice));
		st->Bind(3, static_cast<std::int64_t>(mese));
		if (!st->Step())
			return std::nullopt;
		const plv::db::Value v = st->Column(0);
		if (std::holds_alternative<std::int64_t>(v))
			return static_cast<double>(std::get<std::int64_t>(v));
		if (std::holds_alternative<double>(v))
			return std::get<double>(v);
		return std::nullopt;
	}
	std::string Testo(const std::string& sql)
	{
		auto st = m_pConn->Db().Prepare(sql);
		if (!st->Step())
			return "(none)";
		const plv::db::Value v = st->Column(0);
		return std::holds_alternative<std::string>(v) ? std::get<std::string>(v) : "(not text)";
	}
	long Conta(const std::string& where = "1=1")
	{
		auto st = m_pConn->Db().Prepare("SELECT COUNT(*) FROM Kvz_Riclassificato WHERE " + where);
		st->Step();
		return static_cast<long>(std::get<std::int64_t>(st->Column(0)));
	}
	CString Stato() { return Doc()->m_StatoElab.GetString(); }

	std::unique_ptr<CDocumentSet> m_Docs;
	std::unique_ptr<FormDriver> m_pForm;
};

}  // namespace kvz_run_test

using namespace kvz_run_test;
