#pragma once
// The formula engine's tests: a company database with the symbols and rows the cases need.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAziende.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TBudgetRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TElencoContiSimboloPBase.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliPianoBase.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabili.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabiliTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodiciRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciExtracont.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciRiclass.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblFixture.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormula.h"
#include "platform/plvoledb/driver/ConnectionString.h"

namespace kvz_formula_test {

inline const int kAnno = 2025;
inline const char* const kModello = "MOD";

class Calcolo : public CompanyDb
{
protected:
	void Anagrafica(const char* nome, WORD tipo, const char* azienda = nullptr)
	{
		Kvz_TAnagSimboli r;
		r.f_UsaAziendaEsterna = azienda != nullptr;
		r.f_Azienda = azienda ? azienda : "";
		r.f_Esercizio = kAnno;
		r.f_ModelloRiclassific = kModello;
		r.f_NomeSimbolo = nome;
		r.f_TipoSimbolo = DataEnum(E_KVZ_TIPOSIMBOLO, tipo);
		InsertRow(r);
	}
	// A model row with its position and formulas, and its code in the codes of the model.
	void Riga(const char* codice, int posizione, const char* formula, int anno = kAnno,
			  std::array<const char*, 3> budget = {"", "", ""})
	{
		Kvz_TRiclassificazioneRighe r;
		r.f_Esercizio = anno;
		r.f_ModelloRiclassific = kModello;
		r.f_CodRiclassificato = codice;
		r.f_Posizione = posizione;
		r.f_Formula = formula;
		r.f_FormulaBudgetA = budget[0];
		r.f_FormulaBudgetB = budget[1];
		r.f_FormulaBudgetC = budget[2];
		InsertRow(r);
		Codice(codice, anno);
	}
	void Codice(const char* codice, int anno = kAnno)
	{
		Kvz_TCodiciRiclassificato c;
		c.f_Esercizio = anno;
		c.f_ModelloRiclassific = kModello;
		c.f_CodRiclassificato = codice;
		InsertRow(c);
	}
	// A reclassified-code symbol over the codes da..a.
	void SimboloRiclass(const char* nome, const char* da, const char* a, int aggreg = 0, int anno = 0,
						const char* azienda = nullptr)
	{
		Anagrafica(nome, 3, azienda);
		Kvz_TSimboliCodiciRiclass s;
		s.f_Esercizio = kAnno;
		s.f_ModelloRiclassific = kModello;
		s.f_NomeSimbolo = nome;
		s.f_ValoreEsSymb = anno == 0;
		s.f_ValoreEs = anno;
		s.f_ValoreModelloSymb = TRUE;
		s.f_ValoreCodice = da;
		s.f_ValoreCodiceA = a;
		s.f_AggregFunction = DataEnum(E_KVZ_AGGREGFUNCTION, static_cast<WORD>(aggreg));
		InsertRow(s);
	}
	// An extra-accounting symbol over one code whose twelve monthly formulas are the text.
	void SimboloExtra(const char* nome, const char* codice, const char* formula)
	{
		Anagrafica(nome, 1);
		Kvz_TSimboliCodiciExtracont s;
		s.f_Esercizio = kAnno;
		s.f_ModelloRiclassific = kModello;
		s.f_NomeSimbolo = nome;
		s.f_ValoreEsSymb = TRUE;
		s.f_ValoreMeseSymb = TRUE;
		s.f_ValoreCodice = codice;
		InsertRow(s);
		CodiceExtra(codice, [&](int) { return CString(formula); });
	}
	// An extra-accounting code whose main and first further formula of each month is given.
	void CodiceExtra(const char* codice, const std::function<CString(int mese)>& formula)
	{
		Kvz_TCodExtracontabiliTesta t;
		t.f_Esercizio = kAnno;
		t.f_CodExtracont = codice;
		InsertRow(t);
		for (int m = 1; m <= 12; ++m)
		{
			Kvz_TCodExtracontabili r;
			r.f_Esercizio = kAnno;
			r.f_CodExtracont = codice;
			r.f_Mese = m;
			r.f_Formula = formula(m);
			r.f_Formula1 = formula(m);
			InsertRow(r);
		}
	}
	std::unique_ptr<Kvz_New_MngFormula> Motore(int ultimoMese = 12, int modo = 0)
	{
		auto p = std::make_unique<Kvz_New_MngFormula>(&m_Messaggi, nullptr);
		p->AttachDefault(DataInt(kAnno), DataInt(1), DataInt(ultimoMese), DataStr(kModello),
						 DataEnum(E_KVZ_TIPODATOPBASE, static_cast<WORD>(modo)), DataEnum());
		return p;
	}
	static std::vector<double> Mesi(const Kvz_New_MngFormula& f)
	{
		std::vector<double> v;
		for (int m = 0; m < 12; ++m)
			v.push_back(f.GetResult(m).GetValue());
		return v;
	}
	static std::vector<double> Costante(double v, int nMesi = 12)
	{
		std::vector<double> out(12, 0.0);
		for (int m = 0; m < nMesi; ++m)
			out[static_cast<size_t>(m)] = v;
		return out;
	}
	std::vector<CString> Messaggi() const
	{
		std::vector<CString> v;
		for (auto& m : m_Messaggi.GetMessages())
			v.push_back(m.text);
		return v;
	}

	CMessages m_Messaggi;
};

// With base-plan and budget rows, base-plan symbols and account lists.
class PianoBase : public Calcolo
{
protected:
	// A base-plan row of the account (cost centre or job when given) in the month.
	void Riga(const char* conto, int mese, double saldo, double rateo = 0, double totale = 0, const char* cdc = "",
			  WORD mastro = 1, int anno = kAnno)
	{
		Kvz_TPianoBaseRighe r;
		r.f_IDPianoBase = ++m_nId;
		r.f_Mese = mese;
		r.f_ContoKvz = conto;
		r.f_CentroCommessa = cdc;
		r.f_TipoCentroComm = DataEnum(E_KVZ_TIPOCENTROCOMM, 0);
		r.f_TipoMastro = DataEnum(E_TIPOMASTRO, mastro);
		r.f_Esercizio = anno;
		r.f_SaldoContabile = saldo;
		r.f_ImportoRateo = rateo;
		r.f_TotaleAssestato = totale;
		InsertRow(r);
	}
	void RigaBudget(const char* conto, int mese, double importo, WORD tipo)
	{
		Kvz_TBudgetRighe r;
		r.f_IDBudget = ++m_nId;
		r.f_Mese = mese;
		r.f_ContoKvz = conto;
		r.f_Esercizio = kAnno;
		r.f_TipoBudget = DataEnum(E_KVZ_TIPOBUDGET, tipo);
		r.f_ImportoMese = importo;
		InsertRow(r);
	}
	// A symbol summing the balances of one account; the caller changes what it needs.
	void Simbolo(const char* nome, const std::function<void(Kvz_TSimboliPianoBase&)>& modifica = {},
				 const char* azienda = nullptr)
	{
		Anagrafica(nome, 0, azienda);
		Kvz_TSimboliPianoBase s;
		s.f_Esercizio = kAnno;
		s.f_ModelloRiclassific = kModello;
		s.f_NomeSimbolo = nome;
		s.f_SelSaldo = TRUE;
		s.f_TipoOpeConto = DataEnum(E_KVZ_TIPOOPECONTO, 0);
		s.f_ValDaConto = "A1";
		if (modifica)
			modifica(s);
		InsertRow(s);
	}
	void Voce(const char* simbolo, const char* conto, WORD segno, const char* cdc = "")
	{
		Kvz_TElencoContiSimboloPBase e;
		e.f_Esercizio = kAnno;
		e.f_ModelloRiclassific = kModello;
		e.f_NomeSimbolo = simbolo;
		e.f_ContoSelez = conto;
		e.f_CentroCommessa = cdc;
		e.f_SegnoConto = DataEnum(E_KVZ_SEGNOCONTO, segno);
		InsertRow(e);
	}
	std::vector<double> Valuta(const CString& formula, int modo = 0)
	{
		auto f = Motore(12, modo);
		f->AttachFormula(formula);
		EXPECT_TRUE(f->Eval()) << formula.GetString();
		return Mesi(*f);
	}
	// Month m (1-12) of a result.
	static double M(const std::vector<double>& v, int m) { return v[static_cast<size_t>(m - 1)]; }
	// Twelve months, all 0 but month m.
	static std::vector<double> Mese(int m, double v)
	{
		std::vector<double> out(12, 0.0);
		out[static_cast<size_t>(m - 1)] = v;
		return out;
	}

	long m_nId = 0;
};

using V = std::vector<CString>;

}  // namespace kvz_formula_test

using namespace kvz_formula_test;
