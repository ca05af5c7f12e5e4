// The legacy formula engine: a recursion over texts, one value for one month.
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormulaOld.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAziende.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormulaComune.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormulaCursore.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormulaErrori.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlConnection.h"
#include "platform/plvoledb/SqlTable.h"
#include "platform/plvparser/Expression.h"

using namespace kvz_formula;

namespace {
const char* const kSource = "MngFormulaOld";
const int kTipoMessaggio = 2;

CString Testo(const char* s)
{
	return AfxLoadSourceString(s, kSource);
}

CString Quotato(const char* nome)
{
	return CString("\"") + nome + "\"";
}

// Another company's error: its text, cut as the message box takes it.
void MostraErroreEsterno(const std::exception& e, const char* method)
{
	if (!dynamic_cast<const SqlException*>(&e))
		ASSERT_RELEASE_FAILED("e->IsKindOf((SqlException::GetThisClass()))", method, kSource);
	AfxMessageBox(CString(std::string(e.what()).substr(0, 255)));
}
}  // namespace

struct Kvz_MngFormula::ColonnePB
{
	bool bBudget = false;
	bool bEsterna = false;  // enumerations are plain numbers on another company's rows
	DataInt* esercizio = nullptr;
	DataInt* mese = nullptr;
	DataStr* conto = nullptr;
	DataStr* cdc = nullptr;
	DataObj* tipoCdc = nullptr;
	DataObj* tipoBudget = nullptr;
	DataMon* importo = nullptr;  // budget
	DataMon* saldo = nullptr;
	DataMon* rateo = nullptr;
	DataMon* totale = nullptr;

	template <class Rec>
	static ColonnePB PianoBase(Rec& r, bool bEsterna)
	{
		return {false, bEsterna, &r.f_Esercizio, &r.f_Mese, &r.f_ContoKvz, &r.f_CentroCommessa, &r.f_TipoCentroComm,
				nullptr, nullptr, &r.f_SaldoContabile, &r.f_ImportoRateo, &r.f_TotaleAssestato};
	}
	template <class Rec>
	static ColonnePB Budget(Rec& r, bool bEsterna)
	{
		return {true, bEsterna, &r.f_Esercizio, &r.f_Mese, &r.f_ContoKvz, &r.f_CentroCommessa, &r.f_TipoCentroComm,
				&r.f_TipoBudget, &r.f_ImportoMese, nullptr, nullptr, nullptr};
	}
	// An enumeration's value as the column holds it.
	void Imposta(SqlTable& t, LPCTSTR param, const DataEnum& e) const
	{
		if (bEsterna)
			t.SetParamValue(param, DataLng(static_cast<long>(e.GetValue())));
		else
			t.SetParamValue(param, e);
	}
};

// ---- construction --------------------------------------------------------------------------

Kvz_MngFormula::Kvz_MngFormula(CMessages* pMessages, CStringArray* pNomi) : m_pMessages(pMessages), m_pNomi(pNomi)
{
	InitSession();
	OpenTables();
}

Kvz_MngFormula::Kvz_MngFormula(const CString& strFormula, CMessages* pMessages, CStringArray* pNomi)
	: Kvz_MngFormula(pMessages, pNomi)
{
	m_Formula = strFormula;
}

Kvz_MngFormula::~Kvz_MngFormula()
{
	if (m_pElencoConti && m_pElencoConti->IsOpen())
		m_pElencoConti->Close();
	// Each company's connection closes with its cursors.
	m_Connessioni.clear();
}

void Kvz_MngFormula::InitSession()
{
	SqlSession* pSession = AfxGetDefaultSqlSession();
	m_TRAnagMacro.SetSqlSession(pSession);
	m_TRAnagSimboli.SetSqlSession(pSession);
	m_TRSimboliExtra.SetSqlSession(pSession);
	m_TRSimboliRiclass.SetSqlSession(pSession);
	m_TRSimboliPB.SetSqlSession(pSession);
	m_TRSimboliOutput.SetSqlSession(pSession);
	m_TRCodExtra.SetSqlSession(pSession);
	m_TRRighe.SetSqlSession(pSession);
}

void Kvz_MngFormula::OpenTables()
{
	// Without a database (an engine made by name) the list is prepared at its first use.
	if (!AfxGetDefaultSqlSession())
		return;
	try
	{
		m_pElencoConti = std::make_unique<SqlTable>(&m_ElencoConti, AfxGetDefaultSqlSession());
		SqlTable& t = *m_pElencoConti;
		t.Open(FALSE, FALSE, TRUE);
		t.SelectAll();
		t.AddParam("p13", m_ElencoConti.f_NomeSimbolo);
		t.AddFilterColumn(m_ElencoConti.f_NomeSimbolo);
		t.AddParam("p23", m_ElencoConti.f_ModelloRiclassific);
		t.AddFilterColumn(m_ElencoConti.f_ModelloRiclassific);
		t.AddParam("p18", m_ElencoConti.f_Esercizio);
		t.AddFilterColumn(m_ElencoConti.f_Esercizio);
	}
	catch (const std::exception& e)
	{
		m_pElencoConti.reset();
		MostraErroreSql(e, "Kvz_MngFormula::OpenTables", kSource);
	}
}

void Kvz_MngFormula::AttachFormula(const CString& strFormula)
{
	m_Formula = strFormula;
	m_bFormulaBudget = FALSE;
}

void Kvz_MngFormula::AttachFormulaBudget(const CString& strFormula, const DataEnum& aTipoBudget)
{
	m_Formula = strFormula;
	m_bFormulaBudget = TRUE;
	m_TipoBudget = aTipoBudget;
}

// Out of line, as every member of the engine: code outside the module links to them.
void Kvz_MngFormula::AttachModello(const DataStr& aModello)
{
	m_Modello = aModello;
}

void Kvz_MngFormula::AttachEsercizio(const DataInt& aEsercizio)
{
	m_Esercizio = aEsercizio;
}

DataDbl Kvz_MngFormula::GetResult() const
{
	return m_Risultato;
}

CStringArray* Kvz_MngFormula::GetFlatSymbols() const
{
	return m_pNomi;
}

const CString& Kvz_MngFormula::GetFormula() const
{
	return m_Formula;
}

void Kvz_MngFormula::AttachDefault(const DataInt& aEsercizio, const DataInt& aMese, const DataStr& aModello,
								   const DataEnum& aModo, const DataEnum& aModoUlteriore)
{
	m_Esercizio = aEsercizio;
	m_Mese = aMese;
	m_Modello = aModello;
	m_Modo = aModo;
	m_ModoUlteriore = aModoUlteriore;
	m_bDefaultAttached = TRUE;
}

void Kvz_MngFormula::Messaggio(const CString& strTesto)
{
	if (!m_Detti.insert(strTesto).second)
		return;
	if (m_pMessages)
		m_pMessages->Add(strTesto, kTipoMessaggio);
	else
		AfxMessageBox(strTesto);
}

template <class Reader>
const auto* Kvz_MngFormula::Definizione(Reader& reader, const CString& strNome, const char* szMancante)
{
	return CercaDefinizione(reader, m_Esercizio, m_Modello, strNome, Testo(szMancante),
							[this](const CString& t) { Messaggio(t); });
}

CString Kvz_MngFormula::DecodificaOperatore(const DataEnum& aOperatore)
{
	const int item = aOperatore.GetItemValue();
	return item >= 0 && item <= 5 ? CString(kOperatori[item]) : CString();
}

// ---- parse ---------------------------------------------------------------------------------

BOOL Kvz_MngFormula::Parse(const CString& strOwner)
{
	if (!m_bInEval)
		m_Detti.clear();
	if (m_Formula.IsEmpty())
		return TRUE;
	ASSERT_RELEASE_TRACE(!m_Modello.IsEmpty(), "Kvz_MngFormula::Parse", kSource);
	ASSERT_RELEASE_TRACE(!m_Esercizio.IsEmpty(), "Kvz_MngFormula::Parse", kSource);
	m_pSymTable = std::make_unique<ErpSymTable>();
	AttachAllSymbols();
	Parser parser(m_Formula, nullptr, -1, 0);
	Expression expr(m_pSymTable.get());
	if (!expr.Parse(parser, DataType::Double, 0))
		return FALSE;
	SvuotaAlberoMacro();
	m_Catena.clear();
	m_nRami = 0;
	Kvz_AlberoMacro* pAlbero = &m_AlberoMacro;
	if (!EstraiSimboli(strOwner, m_Formula, pAlbero, nullptr))
		return FALSE;
	return EsplodiAlbero(&m_AlberoMacro);
}

void Kvz_MngFormula::AttachAllSymbols()
{
	LeggiNomi(*m_pSymTable, m_Esercizio, m_Modello, "Kvz_MngFormula::AttachAllSymbols");
}

BOOL Kvz_MngFormula::LeggiAnagrafica(const CString& strNome)
{
	// A name missing from the registry is said: the row of another symbol is never used for it.
	if (CercaAnagrafica(m_TRAnagSimboli, m_Esercizio, m_Modello, strNome, m_RigaAnagrafica))
		return TRUE;
	Messaggio(TestoSimboloMancante(strNome, m_Esercizio, m_Modello));
	return FALSE;
}

BOOL Kvz_MngFormula::EntraInSimbolo(const CString& strNome)
{
	// Symbols whose formulas name each other would be followed without end.
	if (std::find(m_Catena.begin(), m_Catena.end(), strNome) != m_Catena.end() ||
		static_cast<int>(m_Catena.size()) >= MaxLivelli)
	{
		Messaggio(
			CString::Formatted(AfxLoadSourceString("Ricorsivita' trovata sul simbolo %s.", kSource), strNome.GetString()));
		return FALSE;
	}
	m_Catena.push_back(strNome);
	return TRUE;
}

BOOL Kvz_MngFormula::EstraiSimboli(const CString& strOwner, const CString& strText, Kvz_AlberoMacro*& pAlbero,
								   Kvz_AlberoMacroRamo* pPadre)
{
	const std::string text = strText.str();
	return PerOgniNome(text, [&](const NomeLetto& letto) {
		if (!strOwner.IsEmpty() && letto.nome == strOwner)
		{
			Messaggio(Kvz_TestoAutoriferimento(letto));
			return false;
		}
		if (letto.bMacro)
		{
			if (!ContaRamo())
				return false;
			if (!pAlbero)
				pAlbero = new Kvz_AlberoMacro;
			pAlbero->Add(new Kvz_AlberoMacroRamo(letto.nome, pPadre));
			return true;
		}
		if (m_pNomi)
			m_pNomi->Add(letto.nome);
		if (!LeggiAnagrafica(letto.nome))
			return false;
		const DataEnum tipo = m_RigaAnagrafica.f_TipoSimbolo;
		const int item = tipo.GetItemValue();
		return !((item == 1 || item == 3) && !ValorizzaEdEstrai(letto.nome, tipo, pAlbero, pPadre));
	});
}

BOOL Kvz_MngFormula::ValorizzaEdEstrai(const CString& strNome, const DataEnum& aTipo, Kvz_AlberoMacro*& pAlbero,
									   Kvz_AlberoMacroRamo* pPadre)
{
	const CString testo = aTipo.GetItemValue() == 1 ? ValorizzaExtracont(strNome) : ValorizzaRiclassific(strNome);
	if (testo.IsEmpty())
		return TRUE;
	if (!ContaRamo() || !EntraInSimbolo(strNome))
		return FALSE;
	const BOOL bOk = EstraiSimboli(strNome, testo, pAlbero, pPadre);
	m_Catena.pop_back();
	return bOk;
}

BOOL Kvz_MngFormula::EsplodiAlbero(Kvz_AlberoMacro* pAlbero)
{
	for (int i = 0; i < pAlbero->GetSize(); ++i)
	{
		Kvz_AlberoMacroRamo* pRamo = pAlbero->GetRamo(i);
		// Macros named inside other macros or inside code formulas meet no syntax check before.
		CString formula;
		if (!LeggiMacro(pRamo->m_Nome, formula))
			return FALSE;
		if (!EstraiSimboli(pRamo->m_Nome, formula, pRamo->m_pFigli, pRamo))
			return FALSE;
		if (pRamo->m_pFigli && (!VerificaRicorsivita(pRamo->m_pFigli) || !EsplodiAlbero(pRamo->m_pFigli)))
			return FALSE;
	}
	return TRUE;
}

BOOL Kvz_MngFormula::LeggiMacro(const CString& strNome, CString& strFormula)
{
	return kvz_formula::LeggiMacro(m_TRAnagMacro, m_Esercizio, m_Modello, strNome, strFormula,
								   [this](const CString& t) { Messaggio(t); });
}

BOOL Kvz_MngFormula::ContaRamo()
{
	// Texts used many times over many levels multiply; the evaluation follows the same texts
	// as the parse, so stopping here bounds both.
	if (++m_nRami <= MaxRamiMacro)
		return TRUE;
	Messaggio(CString::Formatted(
		AfxLoadSourceString("Le macro della formula sono troppe o troppo annidate (oltre %d).", kSource), MaxRamiMacro));
	return FALSE;
}

BOOL Kvz_MngFormula::VerificaRicorsivita(Kvz_AlberoMacro* pAlbero)
{
	return kvz_formula::VerificaRicorsivita(pAlbero, [this](const CString& t) { Messaggio(t); });
}

// ---- evaluation ----------------------------------------------------------------------------

BOOL Kvz_MngFormula::Eval()
{
	m_Risultato = 0.0;
	if (m_Formula.IsEmpty())
		return TRUE;
	if (!m_bDefaultAttached)
	{
		ASSERT_RELEASE_FAILED("0", "Kvz_MngFormula::Eval", kSource);
		return FALSE;
	}
	SvuotaAlberoMacro();
	m_Detti.clear();
	struct InEval
	{
		bool& b;
		explicit InEval(bool& r) : b(r) { b = true; }
		~InEval() { b = false; }
	} inEval(m_bInEval);
	if (!Parse(""))
		return FALSE;
	m_Catena.clear();
	m_nLivello = 0;
	return EvalExpression(&m_Formula, nullptr);
}

BOOL Kvz_MngFormula::EvalExpression(const CString* pText, ErpSymField* pTarget)
{
	if (pText->IsEmpty())
		return TRUE;
	if (m_nLivello >= MaxLivelli)
	{
		Messaggio(CString::Formatted(
			AfxLoadSourceString("Le macro della formula sono troppe o troppo annidate (oltre %d).", kSource), MaxLivelli));
		return FALSE;
	}
	struct Livello
	{
		int& n;
		explicit Livello(int& r) : n(r) { ++n; }
		~Livello() { --n; }
	} livello(m_nLivello);

	Kvz_Expression level(pTarget);
	ErpSymTable& table = *level.m_pSymTable;
	const std::string text = pText->str();
	const bool bNomi = PerOgniNome(text, [&](const NomeLetto& letto) {
		if (letto.bMacro)
		{
			CString formula;
			if (!LeggiMacro(letto.nome, formula))
				return false;
			ErpSymField* pField = table.Add("__" + letto.nome, DataType::Double);
			return EvalExpression(&formula, pField) != FALSE;
		}
		if (!LeggiAnagrafica(letto.nome))
			return false;
		ErpSymField* pField = table.Add("_" + letto.nome, DataType::Double);
		double valore = 0;
		switch (m_RigaAnagrafica.f_TipoSimbolo.GetItemValue())
		{
		case 1:
		case 3:
		{
			const bool bExtra = m_RigaAnagrafica.f_TipoSimbolo.GetItemValue() == 1;
			const CString formula = bExtra ? ValorizzaExtracont(letto.nome) : ValorizzaRiclassific(letto.nome);
			if (formula.IsEmpty())
				break;
			if (!EntraInSimbolo(letto.nome))
				return false;
			const BOOL bOk = EvalExpression(&formula, pField);
			m_Catena.pop_back();
			if (!bOk)
				return false;
			break;
		}
		case 0:
			if (!ValorizzaPianoBase(letto.nome, valore))
				return false;
			pField->SetValue(valore);
			break;
		case 6:
			if (!ValorizzaOutputRiclassific(letto.nome, valore))
				return false;
			pField->SetValue(valore);
			break;
		default: break;  // takes part with its field's default
		}
		return true;
	});
	if (!bNomi)
		return FALSE;
	Parser parser(*pText, nullptr, -1, 0);
	Expression expr(&table);
	if (!expr.Parse(parser, DataType::Double, 1))
		return FALSE;
	double valore = 0;
	if (!expr.Eval(valore))
	{
		Messaggio(CString::Formatted(AfxLoadSourceString("Formula %s: %s. Vale 0.", kSource), pText->GetString(),
									 expr.GetErrorText().GetString()));
		valore = 0;
	}
	if (pTarget)
		pTarget->SetValue(valore);
	else
		m_Risultato = valore;
	return TRUE;
}

// ---- base-plan symbols ---------------------------------------------------------------------

CString Kvz_MngFormula::ErroreDefinizione(const Kvz_TSimboliPianoBase& def) const
{
	const int aggreg = def.f_AggregFunction.GetItemValue();
	if (aggreg > 5)
		return CString::Formatted(AfxLoadSourceString("funzione di aggregazione %d non prevista", kSource), aggreg);
	if (def.f_TipoOpeConto.GetItemValue() > 8)
		return CString::Formatted(AfxLoadSourceString("operatore sul conto %d non previsto", kSource),
								  def.f_TipoOpeConto.GetItemValue());
	for (auto [bWhere, pOpe] : {std::pair{static_cast<bool>(def.f_WhereEs), &def.f_TipoOpeEs},
								std::pair{static_cast<bool>(def.f_WhereMese), &def.f_TipoOpeMese},
								std::pair{static_cast<bool>(def.f_WhereSaldo), &def.f_TipoOpeSaldo},
								std::pair{static_cast<bool>(def.f_WhereRateo), &def.f_TipoOpeRateo},
								std::pair{static_cast<bool>(def.f_WhereTotAss), &def.f_TipoOpeTotAss}})
		if (bWhere && pOpe->GetItemValue() > 6)
			return CString::Formatted(AfxLoadSourceString("operatore %d non previsto", kSource), pOpe->GetItemValue());
	// Mode item 0 takes the symbol's own choice: without one there is no column to read.
	if (!IsBudget(def) && ComponiSelect(def, m_Modo.GetItemValue()).IsEmpty())
		return AfxLoadSourceString("nessun importo scelto (saldo, rateo o totale assestato)", kSource);
	return "";
}

CString Kvz_MngFormula::ComponiSelect(const Kvz_TSimboliPianoBase& def, int modo) const
{
	CString colonna;
	const bool bScelta = modo < 1 || modo > 3;  // the symbol's own choice
	if (IsBudget(def))
		colonna = Quotato("ImportoMese");
	else if (modo == 1 || (bScelta && def.f_SelSaldo))
		colonna = Quotato("SaldoContabile");
	else if (modo == 2 || (bScelta && def.f_SelRateo))
		colonna = Quotato("ImportoRateo");
	else if (modo == 3 || (bScelta && def.f_SelTotAss))
		colonna = Quotato("TotaleAssestato");
	if (colonna.IsEmpty())
		return "";
	const int aggreg = def.f_AggregFunction.GetItemValue();
	if (def.f_TipoOpeConto.GetItemValue() == 8)
		return colonna;
	return aggreg >= 0 && aggreg <= 5 ? CString::Formatted(kAggregati[aggreg], colonna.GetString()) : CString();
}

void Kvz_MngFormula::ComponiWhere(const Kvz_TSimboliPianoBase& def, SqlTable& t, const ColonnePB& c)
{
	auto condizione = [&](LPCTSTR pDa, LPCTSTR pA, DataObj& colonna, int ope, const DataObj& da, const DataObj& a) {
		t.AddParam(pDa, colonna);
		if (ope == 6)
		{
			t.AddParam(pA, colonna);
			t.AddBetweenColumn(colonna);
			t.SetParamValue(pA, a);
		}
		else
			t.AddFilterColumn(colonna, DecodificaOperatore(DataEnum(E_KVZ_TIPOOPERATORE, static_cast<WORD>(ope))));
		t.SetParamValue(pDa, da);
	};
	if (c.bBudget)
	{
		t.AddParam("p17", *c.tipoBudget);
		t.AddFilterColumn(*c.tipoBudget);
		c.Imposta(t, "p17", def.f_SelBudget ? def.f_TipoBudget : m_TipoBudget);
	}
	// Year and month only when the definition asks, an unset bound standing for the engine's.
	if (def.f_WhereEs)
		condizione("p1", "p2", *c.esercizio, def.f_TipoOpeEs.GetItemValue(), def.f_ValDaEsConst ? def.f_ValDaEs : m_Esercizio,
				   def.f_ValAEsConst ? def.f_ValAEs : m_Esercizio);
	if (def.f_WhereMese)
		condizione("p3", "p4", *c.mese, def.f_TipoOpeMese.GetItemValue(), def.f_ValDaMeseConst ? def.f_ValDaMese : m_Mese,
				   def.f_ValAMeseConst ? def.f_ValAMese : m_Mese);
	const int opeConto = def.f_TipoOpeConto.GetItemValue();
	if (opeConto != 8)
	{
		t.AddParam("p14", *c.cdc);
		t.AddFilterColumn(*c.cdc);
		t.SetParamValue("p14", DataStr(""));
	}
	if (opeConto <= 6)
		condizione("p5", "p6", *c.conto, opeConto, def.f_ValDaConto, def.f_ValAConto);
	else if (opeConto == 7)
	{
		t.AddParam("p5", *c.conto);
		kvz_formula::FiltroModello(t, "p5", *c.conto, def.f_ValDaConto);
	}
	else
	{
		// Valued per list entry.
		t.AddParam("p15", *c.cdc);
		t.AddFilterColumn(*c.cdc);
		t.AddParam("p16", *c.tipoCdc);
		t.AddFilterColumn(*c.tipoCdc);
		if (def.f_WhereConto || !def.f_SelContoVuoto)
		{
			t.AddParam("p5", *c.conto);
			t.AddFilterColumn(*c.conto);
		}
	}
	if (c.bBudget)
		return;
	if (def.f_WhereSaldo)
		condizione("p7", "p8", *c.saldo, def.f_TipoOpeSaldo.GetItemValue(), def.f_ValDaSaldo, def.f_ValASaldo);
	if (def.f_WhereRateo)
		condizione("p9", "p10", *c.rateo, def.f_TipoOpeRateo.GetItemValue(), def.f_ValDaRateo, def.f_ValARateo);
	if (def.f_WhereTotAss)
		condizione("p11", "p12", *c.totale, def.f_TipoOpeTotAss.GetItemValue(), def.f_ValDaTotAss, def.f_ValATotAss);
}

double Kvz_MngFormula::GetExternalField(const Kvz_TSimboliPianoBase& def, const ColonnePB& c) const
{
	if (c.bBudget)
		return c.importo->GetValue();
	const double saldo = c.saldo->GetValue(), rateo = c.rateo->GetValue(), totale = c.totale->GetValue();
	switch (m_Modo.GetItemValue())
	{
	case 1: return saldo;
	case 2: return rateo;
	case 3: return std::fabs(rateo) < GetMonEpsilon() ? saldo : totale;
	default: return def.f_SelSaldo ? saldo : def.f_SelRateo ? rateo : def.f_SelTotAss ? totale : 0;
	}
}

BOOL Kvz_MngFormula::ValorizzaPianoBase(const CString& strNome, double& valore)
{
	valore = 0;
	Kvz_TSimboliPianoBase def;
	try
	{
		const auto* pDef =
			Definizione(m_TRSimboliPB, strNome, "Il simbolo %s (piano base) non e' presente in tabella simboli.");
		if (!pDef)
			return TRUE;
		def = *pDef;
	}
	catch (const std::exception& e)
	{
		MostraErroreSql(e, "Kvz_MngFormula::ValorizzaPianoBase", kSource);
		return TRUE;
	}
	const CString errore = ErroreDefinizione(def);
	if (!errore.IsEmpty())
	{
		Messaggio(CString::Formatted(AfxLoadSourceString("Il simbolo %s (piano base): %s.", kSource), strNome.GetString(),
									 errore.GetString()));
		return FALSE;
	}
	if (def.f_TipoOpeConto.GetItemValue() == 8)
		return ValorizzaPBaseDaElenco(def, valore);
	if (m_RigaAnagrafica.f_UsaAziendaEsterna)
		return Ext_ValorizzaPianoBase(def, m_RigaAnagrafica.f_Azienda, valore);

	const bool bBudget = IsBudget(def);
	Kvz_TPianoBaseRighe pb;
	Kvz_TBudgetRighe bu;
	const ColonnePB c = bBudget ? ColonnePB::Budget(bu, false) : ColonnePB::PianoBase(pb, false);
	SqlTable t(bBudget ? static_cast<SqlRecord*>(&bu) : &pb, AfxGetDefaultSqlSession());
	DataDbl letti[3];
	try
	{
		t.Open(FALSE, FALSE, TRUE);
		t.SelectSqlFun(ComponiSelect(def, m_Modo.GetItemValue()), letti[0]);
		if (!bBudget)
		{
			t.SelectSqlFun(ComponiSelect(def, 1), letti[1]);
			t.SelectSqlFun(ComponiSelect(def, 2), letti[2]);
		}
		ComponiWhere(def, t, c);
		t.Query();
		if (!t.IsEOF())
		{
			valore = letti[0].GetValue();
			// No accrual: the adjusted total is the ledger balance.
			const int modo = m_Modo.GetItemValue();
			if (!bBudget && std::fabs(letti[2].GetValue()) < GetMonEpsilon() &&
				(modo == 3 || (modo == 0 && def.f_SelTotAss)))
				valore = letti[1].GetValue();
		}
		t.Close();
	}
	catch (const std::exception& e)
	{
		MostraErroreSql(e, "Kvz_MngFormula::ValorizzaPianoBase", kSource);
	}
	return TRUE;
}

BOOL Kvz_MngFormula::SommaElenco(const Kvz_TSimboliPianoBase& def, const ColonnePB& c, SqlTable& t, bool bEsterna,
								 double& valore)
{
	if (!m_pElencoConti)
		OpenTables();
	if (!m_pElencoConti)
		return TRUE;
	struct Voce
	{
		DataStr conto, cdc;
		DataEnum tipo;
		bool bSottrae;
	};
	std::vector<Voce> voci;
	SqlTable& l = *m_pElencoConti;
	l.SetParamValue("p13", def.f_NomeSimbolo);
	l.SetParamValue("p23", m_Modello);
	l.SetParamValue("p18", m_Esercizio);
	for (l.Query(); !l.IsEOF(); l.MoveNext())
		voci.push_back({m_ElencoConti.f_ContoSelez, m_ElencoConti.f_CentroCommessa, m_ElencoConti.f_TipoCentroComm,
						m_ElencoConti.f_SegnoConto.GetItemValue() != 0});
	const bool bConto = def.f_WhereConto || !def.f_SelContoVuoto;
	const int modo = m_Modo.GetItemValue();
	for (const Voce& v : voci)
	{
		t.SetParamValue("p15", v.cdc);
		c.Imposta(t, "p16", v.tipo);
		if (bConto)
			t.SetParamValue("p5", v.conto);
		double voce = 0;
		for (t.Query(); !t.IsEOF(); t.MoveNext())
		{
			double riga = GetExternalField(def, c);
			// Here, as for a single symbol, no accrual makes the adjusted total the ledger balance.
			if (!bEsterna && !c.bBudget && std::fabs(c.rateo->GetValue()) < GetMonEpsilon() &&
				(modo == 3 || (modo == 0 && def.f_SelTotAss)))
				riga = c.saldo->GetValue();
			voce += riga;
		}
		valore += v.bSottrae ? -voce : voce;
	}
	return TRUE;
}

BOOL Kvz_MngFormula::ValorizzaPBaseDaElenco(const Kvz_TSimboliPianoBase& def, double& valore)
{
	valore = 0;
	if (m_RigaAnagrafica.f_UsaAziendaEsterna)
		return Ext_ValorizzaPianoBase(def, m_RigaAnagrafica.f_Azienda, valore);
	const bool bBudget = IsBudget(def);
	Kvz_TPianoBaseRighe pb;
	Kvz_TBudgetRighe bu;
	const ColonnePB c = bBudget ? ColonnePB::Budget(bu, false) : ColonnePB::PianoBase(pb, false);
	SqlTable t(bBudget ? static_cast<SqlRecord*>(&bu) : &pb, AfxGetDefaultSqlSession());
	try
	{
		t.Open(FALSE, FALSE, TRUE);
		t.SelectAll();
		ComponiWhere(def, t, c);
		SommaElenco(def, c, t, false, valore);
		t.Close();
	}
	catch (const std::exception& e)
	{
		MostraErroreSql(e, "Kvz_MngFormula::ValorizzaPBaseDaElenco", kSource);
	}
	return TRUE;
}

BOOL Kvz_MngFormula::Ext_ValorizzaPianoBase(const Kvz_TSimboliPianoBase& def, const DataStr& aAzienda, double& valore)
{
	valore = 0;
	Kvz_New_External* pExternal = ConnettiDatabase(aAzienda);
	SqlConnection* pConn = pExternal->GetConnection();
	if (!pConn)
		return TRUE;  // said when the connection failed; the symbol counts 0
	const bool bBudget = IsBudget(def);
	Kvz_TPBaseR_Ext pb(pConn);
	Kvz_TBudgetR_Ext bu(pConn);
	const ColonnePB c = bBudget ? ColonnePB::Budget(bu, true) : ColonnePB::PianoBase(pb, true);
	SqlTable t(bBudget ? static_cast<SqlRecord*>(&bu) : &pb, pConn->GetDefaultSqlSession());
	const char* method = def.f_TipoOpeConto.GetItemValue() == 8 ? "Kvz_MngFormula::Ext_ValorizzaPBaseDaElenco"
																 : "Kvz_MngFormula::Ext_ValorizzaPianoBase";
	try
	{
		t.Open(FALSE, FALSE, TRUE);
		t.SelectAll();
		ComponiWhere(def, t, c);
		if (def.f_TipoOpeConto.GetItemValue() == 8)
			SommaElenco(def, c, t, true, valore);
		else
		{
			// Aggregated here as the database would: maximum and minimum from the first row.
			Kvz_New_AggregatoMese aggregato(def.f_AggregFunction.GetItemValue(), [&](int, double v) { valore = v; });
			for (t.Query(); !t.IsEOF(); t.MoveNext())
				aggregato.Riga(1, GetExternalField(def, c));
			aggregato.Chiudi();
		}
		t.Close();
	}
	catch (const std::exception& e)
	{
		MostraErroreEsterno(e, method);
	}
	return TRUE;
}

// ---- result symbols ------------------------------------------------------------------------

CString Kvz_MngFormula::ColonnaRisultato(const Kvz_TSimboliOutputRiclass& def) const
{
	if (def.f_ValoreDalBudget)
	{
		switch (def.f_TipoBudget.GetItemValue())
		{
		case 0: return "ValoreBudgetA";
		case 1: return "ValoreBudgetB";
		case 2: return "ValoreBudgetC";
		default: return "";
		}
	}
	const int n = def.f_ValoreDaUsare.GetValue();
	return n == 0 ? CString("Valore") : n >= 1 && n <= 10 ? CString::Formatted("Valore%d", n) : CString();
}

namespace {
// The value column of a results row by name.
template <class Rec>
const DataMon* CampoRisultato(const Rec& r, const CString& colonna)
{
	const DataMon* campi[] = {&r.f_Valore,  &r.f_Valore1, &r.f_Valore2, &r.f_Valore3,       &r.f_Valore4,
							  &r.f_Valore5, &r.f_Valore6, &r.f_Valore7, &r.f_Valore8,       &r.f_Valore9,
							  &r.f_Valore10, &r.f_ValoreBudgetA, &r.f_ValoreBudgetB, &r.f_ValoreBudgetC};
	const char* nomi[] = {"Valore",  "Valore1", "Valore2", "Valore3",       "Valore4",       "Valore5",      "Valore6",
						  "Valore7", "Valore8", "Valore9", "Valore10", "ValoreBudgetA", "ValoreBudgetB", "ValoreBudgetC"};
	for (size_t i = 0; i < std::size(nomi); ++i)
		if (colonna == nomi[i])
			return campi[i];
	return nullptr;
}

// The rows a results symbol reads: year, month, model and data type equal (the year's and
// month's parameters named as the table's own), the code between the two ends.
template <class Rec>
void FiltraRisultati(SqlTable& t, Rec& r, const Kvz_TSimboliOutputRiclass& def, std::pair<LPCTSTR, LPCTSTR> parametri,
					 const DataInt& esercizio, const DataInt& mese, const DataObj& tipoDato)
{
	auto uguale = [&](LPCTSTR param, DataObj& col, const DataObj& v) {
		t.AddParam(param, col);
		t.AddFilterColumn(col);
		t.SetParamValue(param, v);
	};
	uguale(parametri.first, r.f_Esercizio, esercizio);
	uguale(parametri.second, r.f_Mese, mese);
	uguale("p23", r.f_ModelloRiclassific, def.f_ValoreModello);
	uguale("p24", r.f_TipoDatoPianoBase, tipoDato);
	t.AddParam("p5", r.f_CodRiclassificato);
	t.AddParam("p6", r.f_CodRiclassificato);
	t.AddBetweenColumn(r.f_CodRiclassificato);
	t.SetParamValue("p5", def.f_ValoreCodice);
	t.SetParamValue("p6", def.f_ValoreCodiceA);
}
}  // namespace

BOOL Kvz_MngFormula::ValorizzaOutputRiclassific(const CString& strNome, double& valore)
{
	valore = 0;
	const auto* pDef = Definizione(m_TRSimboliOutput, strNome,
								   "Il simbolo %s (risultato riclassificazione) non e' presente in tabella simboli.");
	if (!pDef)
		return TRUE;
	Kvz_TSimboliOutputRiclass def = *pDef;
	const int aggreg = def.f_AggregFunction.GetItemValue();
	const CString colonna = ColonnaRisultato(def);
	if (aggreg > 5 || colonna.IsEmpty())
	{
		Messaggio(CString::Formatted(
			AfxLoadSourceString("Il simbolo %s (risultato riclassificazione): %s.", kSource), strNome.GetString(),
			(aggreg > 5 ? CString::Formatted(AfxLoadSourceString("funzione di aggregazione %d non prevista", kSource), aggreg)
						: AfxLoadSourceString("nessuna colonna di valori scelta", kSource))
				.GetString()));
		return FALSE;
	}
	Kvz_CompletaIntervallo(def.f_ValoreCodice, def.f_ValoreCodiceA);
	if (m_RigaAnagrafica.f_UsaAziendaEsterna)
		return Ext_ValorizzaOutputRiclassific(def, m_RigaAnagrafica.f_Azienda, valore);
	Kvz_TRiclassificato r;
	SqlTable t(&r, AfxGetDefaultSqlSession());
	DataDbl letto;
	try
	{
		t.Open(FALSE, FALSE, TRUE);
		t.SelectSqlFun(CString::Formatted(kAggregati[aggreg], Quotato(colonna.GetString()).GetString()), letto);
		FiltraRisultati(t, r, def, {"p1", "p3"}, def.f_ValoreEsConst ? def.f_ValoreEs : m_Esercizio,
						def.f_ValoreMeseConst ? def.f_ValoreMese : m_Mese, def.f_TipoDatoPBase);
		t.Query();
		if (!t.IsEOF())
			valore = letto.GetValue();
		t.Close();
	}
	catch (const std::exception& e)
	{
		MostraErroreSql(e, "Kvz_MngFormula::ValorizzaOutputRiclassific", kSource);
	}
	return TRUE;
}

BOOL Kvz_MngFormula::Ext_ValorizzaOutputRiclassific(const Kvz_TSimboliOutputRiclass& def, const DataStr& aAzienda,
													double& valore)
{
	Kvz_New_External* pExternal = ConnettiDatabase(aAzienda);
	SqlConnection* pConn = pExternal->GetConnection();
	if (!pConn)
		return TRUE;
	Kvz_TRiclassificato_Ext r(pConn);
	const DataMon* pCampo = CampoRisultato(r, ColonnaRisultato(def));
	SqlTable t(&r, pConn->GetDefaultSqlSession());
	try
	{
		t.Open(FALSE, FALSE, TRUE);
		t.SelectAll();
		FiltraRisultati(t, r, def, {"p18", "p22"}, def.f_ValoreEsConst ? def.f_ValoreEs : m_Esercizio,
						def.f_ValoreMeseConst ? def.f_ValoreMese : m_Mese,
						DataLng(static_cast<long>(def.f_TipoDatoPBase.GetValue())));
		Kvz_New_AggregatoMese aggregato(def.f_AggregFunction.GetItemValue(), [&](int, double v) { valore = v; });
		for (t.Query(); !t.IsEOF(); t.MoveNext())
			aggregato.Riga(1, pCampo ? pCampo->GetValue() : 0);
		aggregato.Chiudi();
		t.Close();
	}
	catch (const std::exception& e)
	{
		MostraErroreEsterno(e, "Kvz_MngFormula::Ext_ValorizzaOutputRiclassific");
	}
	return TRUE;
}

// ---- reclassified-code and extra-accounting symbols: formula texts -------------------------

CString Kvz_MngFormula::ValorizzaRiclassific(const CString& strNome)
{
	try
	{
		const auto* pDef = Definizione(m_TRSimboliRiclass, strNome,
									   "Il simbolo %s (codice riclassificato) non e' presente in tabella simboli.");
		if (!pDef)
			return "";
		Kvz_TSimboliCodiciRiclass def = *pDef;
		if (!m_bDefaultAttached && (def.f_ValoreEsSymb || def.f_ValoreModelloSymb))
			return "0";
		const DataInt esercizio = def.f_ValoreEsSymb ? m_Esercizio : def.f_ValoreEs;
		const DataStr modello = def.f_ValoreModelloSymb ? m_Modello : def.f_ValoreModello;
		auto codici = [&] {
			Kvz_TCodiciRiclassificato c;
			return CodiciTra(c, c.f_Esercizio, &c.f_ModelloRiclassific, c.f_CodRiclassificato, esercizio, modello,
							 def.f_ValoreCodice, def.f_ValoreCodiceA);
		};
		return TestoCodici(def, codici, [&](const DataStr& codice) {
			return CercaFormulaRiclassificato(esercizio, modello, codice, def.f_FormulaDaUsare);
		});
	}
	catch (const std::exception& e)
	{
		MostraErroreSql(e, "Kvz_MngFormula::ValorizzaRiclassific", kSource);
		return "";
	}
}

CString Kvz_MngFormula::CercaFormulaRiclassificato(const DataInt& aEsercizio, const DataStr& aModello,
												   const DataStr& aCodice, const DataInt& aNumero)
{
	if (m_TRRighe.FindRecord(aEsercizio, aModello, aCodice) == TableReader::FOUND)
		return FormulaNumero(*m_TRRighe.GetRecord(), aNumero.GetValue());
	if (m_bDefaultAttached)
		Messaggio(CString::Formatted(
			AfxLoadSourceString("Il codice riclassificato esercizio %s modello %s codice %s non e' presente in tabella.",
								kSource),
			aEsercizio.Str().GetString(), aModello.GetString().GetString(), aCodice.GetString().GetString()));
	return "";
}

CString Kvz_MngFormula::ValorizzaExtracont(const CString& strNome)
{
	try
	{
		const auto* pDef = Definizione(m_TRSimboliExtra, strNome,
									   "Il simbolo %s (codice extracontabile) non e' presente in tabella simboli.");
		if (!pDef)
			return "";
		Kvz_TSimboliCodiciExtracont def = *pDef;
		if (!m_bDefaultAttached && (def.f_ValoreEsSymb || def.f_ValoreMeseSymb))
			return "0";
		const DataInt esercizio = def.f_ValoreEsSymb ? m_Esercizio : def.f_ValoreEs;
		const DataInt mese = def.f_ValoreMeseSymb ? m_Mese : def.f_ValoreMese;
		auto codici = [&] {
			Kvz_TCodExtracontabiliTesta c;
			return CodiciTra(c, c.f_Esercizio, nullptr, c.f_CodExtracont, esercizio, DataStr(), def.f_ValoreCodice,
							 def.f_ValoreCodiceA);
		};
		return TestoCodici(def, codici, [&](const DataStr& codice) {
			return CercaFormulaExtracontabile(esercizio, mese, codice, def.f_FormulaDaUsare);
		});
	}
	catch (const std::exception& e)
	{
		MostraErroreSql(e, "Kvz_MngFormula::ValorizzaExtracont", kSource);
		return "";
	}
}

CString Kvz_MngFormula::CercaFormulaExtracontabile(const DataInt& aEsercizio, const DataInt& aMese,
												   const DataStr& aCodice, const DataInt& aNumero)
{
	if (m_RigaAnagrafica.f_UsaAziendaEsterna)
	{
		try
		{
			const CString testo =
				ConnettiDatabase(m_RigaAnagrafica.f_Azienda)->FormulaExtracontabile(aEsercizio, aMese, aCodice, aNumero);
			return testo;
		}
		catch (const std::exception& e)
		{
			MostraErroreEsterno(e, "Kvz_MngFormula::Ext_CercaFormulaExtracontabile");
			return "";
		}
	}
	if (m_TRCodExtra.FindRecord(aEsercizio, aCodice, aMese) == TableReader::FOUND)
		return FormulaNumero(*m_TRCodExtra.GetRecord(), aNumero.GetValue());
	Messaggio(CString::Formatted(
		AfxLoadSourceString("Il codice extracontabile esercizio %s mese %s codice %s non e' presente in tabella.", kSource),
		aEsercizio.Str().GetString(), aMese.Str().GetString(), aCodice.GetString().GetString()));
	return "";
}

// ---- other companies -----------------------------------------------------------------------

Kvz_New_External* Kvz_MngFormula::ConnettiDatabase(const DataStr& aAzienda)
{
	auto& p = m_Connessioni[aAzienda.GetString()];
	if (!p)
	{
		Kvz_TRAziende aziende;
		aziende.SetSqlSession(AfxGetDefaultSqlSession());
		p = std::make_unique<Kvz_New_External>(&aziende, aAzienda, nullptr, m_pMessages);
	}
	return p.get();
}
