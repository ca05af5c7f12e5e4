#include "kvznet/kvzmod/kvzdocuments/formule/EsplodiFormulaDescr.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <initializer_list>
#include <string>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagMacro.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAziende.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabili.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabiliTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodiciRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TElencoContiSimboloPBase.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciExtracont.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciRiclass.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliOutputRiclass.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormula.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormulaComune.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormulaErrori.h"
#include "platform/erp/erpledgerdbl/TCostCenters.h"
#include "platform/erp/erpledgerdbl/TJobs.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/EnumTexts.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlTable.h"

namespace {
const char* const kSource = "EsplodiFormulaDescr";
const int kTipoMessaggio = 2;

CString Testo(const char* s)
{
	return AfxLoadSourceString(s, kSource);
}

// Pieces of a sentence joined by one space, the empty ones left out.
CString Frase(std::initializer_list<CString> parti)
{
	std::string s;
	for (const CString& p : parti)
	{
		const std::string t = CString(p).Trim().str();
		if (t.empty())
			continue;
		if (!s.empty())
			s += ' ';
		s += t;
	}
	return CString(s);
}

// A value column as a reader names it: "il saldo contabile", "il valore 3".
CString NomeColonna(const CString& strColonna)
{
	const std::string c = strColonna.str();
	if (c == "SaldoContabile")
		return Testo("il saldo contabile");
	if (c == "ImportoRateo")
		return Testo("il rateo");
	if (c == "TotaleAssestato")
		return Testo("il totale assestato");
	if (c == "ImportoMese")
		return Testo("l'importo del budget");
	if (c == "Valore")
		return Testo("il valore");
	if (c.rfind("ValoreBudget", 0) == 0)
		return CString::Formatted(Testo("il valore del budget %s"), c.substr(12).c_str());
	if (c.rfind("Valore", 0) == 0)
		return CString::Formatted(Testo("il valore %s"), c.substr(6).c_str());
	return strColonna;
}

// The aggregate of a symbol, with its column or without: "Somma del saldo contabile".
CString Aggregato(int nFunzione, const CString& strColonna)
{
	const char* const funzioni[] = {"Somma", "Media aritmetica", "Contatore", "Massimo", "Minimo", ""};
	if (nFunzione < 0 || nFunzione > 5)
		return CString();
	const CString funzione = Testo(funzioni[nFunzione]);
	if (strColonna.IsEmpty())
		return nFunzione == 5 ? Testo("Valore") : funzione;
	std::string colonna = NomeColonna(strColonna).str();
	if (nFunzione == 5)
	{
		// The column alone, without its article.
		const size_t spazio = colonna.find_first_of(" '");
		colonna = spazio == std::string::npos ? colonna : colonna.substr(spazio + 1);
		if (!colonna.empty())
			colonna[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(colonna[0])));
		return CString(colonna);
	}
	// "di" and the article: "del saldo", "dell'importo".
	if (colonna.rfind("il ", 0) == 0)
		colonna = "del " + colonna.substr(3);
	else if (colonna.rfind("l'", 0) == 0)
		colonna = "dell'" + colonna.substr(2);
	else
		colonna = "di " + colonna;
	return Frase({funzione, CString(colonna)});
}

CString AnnoMese(const DataInt& anno, const DataInt& mese)
{
	return CString::Formatted(Testo("per l'anno %s, mese %s,"), anno.FormatData().GetString(),
							  mese.FormatData().GetString());
}

// The other company a symbol reads, null for the current one; it holds no connection when the
// connection failed (said).
std::unique_ptr<Kvz_New_External> ApriAzienda(const Kvz_FormulaFlatElem& elem, CMessages* pMessages)
{
	if (!elem.m_bAziendaEsterna)
		return nullptr;
	Kvz_TRAziende aziende;
	aziende.SetSqlSession(AfxGetDefaultSqlSession());
	return std::make_unique<Kvz_New_External>(&aziende, elem.m_Azienda, nullptr, pMessages);
}

// A detail line of the element, added to it with the element's type and level.
Kvz_FormulaFlatElem* NuovoDettaglio(Kvz_FormulaFlatElem& elem)
{
	auto* p = new Kvz_FormulaFlatElem;
	p->m_bTesto = elem.m_bTesto;
	p->m_Tipo = elem.m_Tipo;
	p->m_Livello = elem.m_Livello;
	elem.m_Dettagli.Add(p);
	return p;
}
}  // namespace

template <class Reader>
const auto* Kvz_EsplodiFormulaDescr::Definizione(Reader& reader, const CString& strNome, const char* szMancante)
{
	reader.SetSqlSession(AfxGetDefaultSqlSession());
	return kvz_formula::CercaDefinizione(reader, m_Esercizio, m_Modello, strNome, Testo(szMancante),
										 [this](const CString& t) { Messaggio(t); });
}

struct Kvz_EsplodiFormulaDescr::Ramo
{
	CString nome;
	Ramo* pPadre = nullptr;
	// A macro used in a budget formula is valued from that budget too.
	bool bBudget = false;
	DataEnum tipoBudget{E_KVZ_TIPOBUDGET, 0};
	std::vector<std::unique_ptr<Ramo>> figli;
};

Kvz_FormulaFlatElem* Kvz_FormulaFlat::GetElem(int i) const
{
	return static_cast<Kvz_FormulaFlatElem*>(GetAt(i));
}

Kvz_EsplodiFormulaDescr::Kvz_EsplodiFormulaDescr(CMessages* pMessages, CStringArray* pRighe)
	: m_pMessages(pMessages), m_pRighe(pRighe)
{
}

Kvz_EsplodiFormulaDescr::~Kvz_EsplodiFormulaDescr() = default;

void Kvz_EsplodiFormulaDescr::AttachDefault(const DataInt& aEsercizio, const DataInt& aMese, const DataStr& aModello,
											const DataEnum& aModo, const DataEnum& aModoUlteriore)
{
	m_Esercizio = aEsercizio;
	m_Mese = aMese;
	m_Modello = aModello;
	m_Modo = aModo;
	m_ModoUlteriore = aModoUlteriore;
	m_bDefaultAttached = TRUE;
}

void Kvz_EsplodiFormulaDescr::Messaggio(const CString& strTesto)
{
	if (m_pMessages)
		m_pMessages->Add(strTesto, kTipoMessaggio);
	else
		AfxMessageBox(strTesto);
}

BOOL Kvz_EsplodiFormulaDescr::Eval()
{
	if (m_Formula.IsEmpty())
		return TRUE;
	if (!m_bDefaultAttached)
	{
		ASSERT_RELEASE_FAILED("0", "Kvz_EsplodiFormulaDescr::Eval", kSource);
		return FALSE;
	}
	m_Flat.RemoveAll();
	m_Catena.clear();
	m_bTroppi = false;
	m_bBudget = false;
	if (!Parse(CString()))
		return FALSE;
	DescriviSimboli();
	return TRUE;
}

BOOL Kvz_EsplodiFormulaDescr::Parse(const CString& strOwner)
{
	if (m_Formula.IsEmpty())
		return TRUE;
	m_Formula.Replace(',', '.');
	ASSERT_RELEASE_TRACE(!m_Modello.IsEmpty(), "Kvz_EsplodiFormulaDescr::Parse", kSource);
	ASSERT_RELEASE_TRACE(!m_Esercizio.IsEmpty(), "Kvz_EsplodiFormulaDescr::Parse", kSource);
	// The engine's own checks: syntax, names of the year and model, macros that come back.
	Kvz_New_MngFormula controllo(m_pMessages);
	controllo.AttachDefault(m_Esercizio, DataInt(1), m_Mese, m_Modello, m_Modo, m_ModoUlteriore);
	controllo.AttachFormula(m_Formula);
	if (!controllo.Parse(strOwner))
	{
		if (!controllo.GetErroreSintassi().IsEmpty())
			Messaggio(CString::Formatted(Testo("Formula %s errata: %s"), m_Formula.GetString(),
										 controllo.GetErroreSintassi().GetString()));
		return FALSE;
	}
	std::vector<std::unique_ptr<Ramo>> albero;
	if (!EstraiSimboli(strOwner, m_Formula, albero, nullptr, 1))
		return FALSE;
	return EsplodiAlbero(albero, 1);
}

Kvz_FormulaFlatElem* Kvz_EsplodiFormulaDescr::Aggiungi(BOOL bTesto, const CString& strTesto, int nLivello)
{
	if (m_Flat.GetSize() >= MaxElementi)
	{
		if (!m_bTroppi)
			Messaggio(CString::Formatted(Testo("La formula si espande in oltre %d elementi: esplosione interrotta."),
										 MaxElementi));
		m_bTroppi = true;
		return nullptr;
	}
	auto* p = new Kvz_FormulaFlatElem;
	p->m_bTesto = bTesto;
	p->m_Testo = strTesto;
	p->m_Livello = nLivello;
	p->m_bFormulaBudget = m_bBudget;
	p->m_TipoBudget = m_TipoBudget;
	m_Flat.Add(p);
	if (m_pRighe)
		m_pRighe->Add(CString::Formatted(bTesto ? "%d %s" : Testo("%d %s").GetString(), nLivello, strTesto.GetString()));
	return p;
}

BOOL Kvz_EsplodiFormulaDescr::EstraiSimboli(const CString& strOwner, const CString& strText,
											std::vector<std::unique_ptr<Ramo>>& albero, Ramo* pPadre, int nLivello)
{
	const std::string& text = strText.str();
	CString inSospeso;
	Kvz_TRAnagSimboli anagrafica;
	anagrafica.SetSqlSession(AfxGetDefaultSqlSession());
	for (int i = 0; i < static_cast<int>(text.size());)
	{
		if (text[static_cast<size_t>(i)] != '_')
		{
			inSospeso += text[static_cast<size_t>(i++)];
			continue;
		}
		const Kvz_NomeInFormula letto = Kvz_LeggiNomeInFormula(text, i);
		i = letto.fine;
		if (letto.nome.IsEmpty())
			continue;
		if (!strOwner.IsEmpty() && letto.nome == strOwner)
		{
			Messaggio(Kvz_TestoAutoriferimento(letto));
			return FALSE;
		}
		if (letto.bMacro)
		{
			auto pRamo = std::make_unique<Ramo>();
			pRamo->nome = letto.nome;
			pRamo->pPadre = pPadre;
			pRamo->bBudget = m_bBudget;
			pRamo->tipoBudget = m_TipoBudget;
			albero.push_back(std::move(pRamo));
			continue;
		}
		// A name the registry lacks is said and skipped: the reader's last row is no answer.
		if (anagrafica.FindRecord(m_Esercizio, DataStr(letto.nome), m_Modello) != TableReader::FOUND)
		{
			Messaggio(CString::Formatted(Testo("Il simbolo %s non e' presente nell'anagrafica simboli (esercizio %d, "
											   "modello %s): non esploso."),
										 letto.nome.GetString(), m_Esercizio.GetValue(),
										 m_Modello.GetString().GetString()));
			continue;
		}
		const Kvz_TAnagSimboli riga = *anagrafica.GetRecord();
		if (m_pRighe)
		{
			if (!inSospeso.IsEmpty() && !Aggiungi(TRUE, inSospeso, nLivello))
				return FALSE;
			inSospeso.Empty();
			Kvz_FormulaFlatElem* p = Aggiungi(FALSE, letto.nome, nLivello);
			if (!p)
				return FALSE;
			p->m_Tipo = riga.f_TipoSimbolo;
			p->m_bAziendaEsterna = riga.f_UsaAziendaEsterna;
			p->m_Azienda = riga.f_Azienda;
		}
		const WORD tipo = riga.f_TipoSimbolo.GetItemValue();
		if ((tipo == 1 || tipo == 3) && !EsplodiSimbolo(letto.nome, riga.f_TipoSimbolo, albero, pPadre, nLivello))
			return FALSE;
	}
	if (m_pRighe && !inSospeso.IsEmpty() && !Aggiungi(TRUE, inSospeso, nLivello))
		return FALSE;
	return TRUE;
}

BOOL Kvz_EsplodiFormulaDescr::EsplodiSimbolo(const CString& strNome, const DataEnum& aTipo,
											 std::vector<std::unique_ptr<Ramo>>& albero, Ramo* pPadre, int nLivello)
{
	// A symbol met again inside its own chain of formulas is listed, not followed.
	if (std::find(m_Catena.begin(), m_Catena.end(), strNome) != m_Catena.end())
	{
		Messaggio(CString::Formatted(Testo("Ricorsivita' trovata sul simbolo %s."), strNome.GetString()));
		return TRUE;
	}
	// The followed formula is a budget formula or not as the engine values it; restored after.
	const bool bBudget = m_bBudget;
	const DataEnum tipoBudget = m_TipoBudget;
	CString testo;
	if (aTipo.GetItemValue() == 1)
	{
		m_bBudget = false;
		testo = ValorizzaExtracont(strNome);
	}
	else
		testo = ValorizzaRiclassific(strNome);
	BOOL bOk = TRUE;
	if (!testo.IsEmpty())
	{
		m_Catena.push_back(strNome);
		bOk = EstraiSimboli(strNome, testo, albero, pPadre, nLivello + 1);
		m_Catena.pop_back();
	}
	m_bBudget = bBudget;
	m_TipoBudget = tipoBudget;
	return bOk;
}

BOOL Kvz_EsplodiFormulaDescr::EsplodiAlbero(std::vector<std::unique_ptr<Ramo>>& albero, int nLivello)
{
	Kvz_TRAnagMacro macro;
	macro.SetSqlSession(AfxGetDefaultSqlSession());
	for (auto& pRamo : albero)
	{
		// The engine's check has found every macro and no chain that comes back.
		if (macro.FindRecord(m_Esercizio, DataStr(pRamo->nome), m_Modello) != TableReader::FOUND)
			continue;
		const CString formula = macro.GetRecord()->f_Formula.GetString();
		m_bBudget = pRamo->bBudget;
		m_TipoBudget = pRamo->tipoBudget;
		const BOOL bOk = EstraiSimboli(pRamo->nome, formula, pRamo->figli, pRamo.get(), nLivello);
		m_bBudget = false;
		if (!bOk)
			return FALSE;
		if (!pRamo->figli.empty() && !EsplodiAlbero(pRamo->figli, nLivello + 1))
			return FALSE;
	}
	return TRUE;
}

CString Kvz_EsplodiFormulaDescr::ValorizzaRiclassific(const CString& strNome)
{
	Kvz_TRSimboliCodiciRiclass reader;
	const auto* pDef =
		Definizione(reader, strNome, "Il simbolo %s (codice riclassificato) non e' presente in tabella simboli.");
	if (!pDef)
		return CString();
	Kvz_TSimboliCodiciRiclass def = *pDef;
	const DataInt esercizio = def.f_ValoreEsSymb ? m_Esercizio : def.f_ValoreEs;
	const DataStr modello = def.f_ValoreModelloSymb ? m_Modello : def.f_ValoreModello;
	// As the engine: inside a budget formula that budget's formula is followed; elsewhere a
	// symbol defined on a budget formula follows the one it names.
	if (!m_bBudget && def.f_ValoreDalBudget)
	{
		m_bBudget = true;
		m_TipoBudget = def.f_TipoBudget;
	}
	// The codes of the range whose rows stand between the two ends' rows in the model.
	auto codici = [&] {
		Kvz_TRRiclassificazioneRighe righe;
		righe.SetSqlSession(AfxGetDefaultSqlSession());
		auto posizione = [&](const DataStr& codice) {
			return righe.FindRecord(esercizio, modello, codice) == TableReader::FOUND
					   ? righe.GetRecord()->f_Posizione.GetValue()
					   : 0;
		};
		const int daPos = posizione(def.f_ValoreCodice);
		const int aPos = posizione(def.f_ValoreCodiceA);
		Kvz_TCodiciRiclassificato c;
		std::vector<DataStr> tra = Kvz_CodiciTra(c, c.f_Esercizio, &c.f_ModelloRiclassific, c.f_CodRiclassificato,
												 esercizio, modello, def.f_ValoreCodice, def.f_ValoreCodiceA);
		std::erase_if(tra, [&](const DataStr& codice) {
			if (righe.FindRecord(esercizio, modello, codice) != TableReader::FOUND)
				return false;  // a code without a row is looked up, and said missing
			const int pos = righe.GetRecord()->f_Posizione.GetValue();
			return pos < daPos || pos > aPos;
		});
		return tra;
	};
	return kvz_formula::TestoCodici(def, codici, [&](const DataStr& codice) {
		return CercaFormulaRiclassificato(esercizio, modello, codice, def.f_FormulaDaUsare);
	});
}

CString Kvz_EsplodiFormulaDescr::ValorizzaExtracont(const CString& strNome)
{
	Kvz_TRSimboliCodiciExtracont reader;
	const auto* pDef =
		Definizione(reader, strNome, "Il simbolo %s (codice extracontabile) non e' presente in tabella simboli.");
	if (!pDef)
		return CString();
	Kvz_TSimboliCodiciExtracont def = *pDef;
	const DataInt esercizio = def.f_ValoreEsSymb ? m_Esercizio : def.f_ValoreEs;
	const DataInt mese = def.f_ValoreMeseSymb ? m_Mese : def.f_ValoreMese;
	auto codici = [&] {
		Kvz_TCodExtracontabiliTesta c;
		return Kvz_CodiciTra(c, c.f_Esercizio, nullptr, c.f_CodExtracont, esercizio, DataStr(), def.f_ValoreCodice,
							 def.f_ValoreCodiceA);
	};
	return kvz_formula::TestoCodici(def, codici, [&](const DataStr& codice) {
		return CercaFormulaExtracontabile(esercizio, mese, codice, def.f_FormulaDaUsare);
	});
}

CString Kvz_EsplodiFormulaDescr::CercaFormulaRiclassificato(const DataInt& aEsercizio, const DataStr& aModello,
															const DataStr& aCodice, const DataInt& aIndice)
{
	Kvz_TRRiclassificazioneRighe righe;
	righe.SetSqlSession(AfxGetDefaultSqlSession());
	if (righe.FindRecord(aEsercizio, aModello, aCodice) != TableReader::FOUND)
	{
		Messaggio(CString::Formatted(
			Testo("Il codice riclassificato esercizio %s modello %s codice %s non e' presente in tabella."),
			aEsercizio.FormatData().GetString(), aModello.GetString().GetString(), aCodice.GetString().GetString()));
		return CString();
	}
	return kvz_formula::FormulaDellaRiga(*righe.GetRecord(), aIndice.GetValue(), m_bBudget, m_TipoBudget);
}

CString Kvz_EsplodiFormulaDescr::CercaFormulaExtracontabile(const DataInt& aEsercizio, const DataInt& aMese,
															const DataStr& aCodice, const DataInt& aIndice)
{
	Kvz_TRCodExtracontabili mesi;
	mesi.SetSqlSession(AfxGetDefaultSqlSession());
	if (mesi.FindRecord(aEsercizio, aCodice, aMese) != TableReader::FOUND)
	{
		Messaggio(CString::Formatted(
			Testo("Il codice extracontabile esercizio %s mese %s codice %s non e' presente in tabella."),
			aEsercizio.FormatData().GetString(), aMese.FormatData().GetString(), aCodice.GetString().GetString()));
		return CString();
	}
	const DataStr* p = mesi.GetRecord()->GetFormula(aIndice.GetValue());
	return p ? p->GetString() : CString();
}

// ---- descriptions ----------------------------------------------------------------------------

void Kvz_EsplodiFormulaDescr::DescriviSimboli()
{
	for (int i = 0; i < m_Flat.GetSize(); ++i)
	{
		Kvz_FormulaFlatElem& e = *m_Flat.GetElem(i);
		if (e.m_bTesto)
			continue;
		const CString nome = e.m_Testo.GetString();
		switch (e.m_Tipo.GetItemValue())
		{
		case 0: e.m_Descrizione = ValorizzaPianoBase(e); break;
		case 1:
			e.m_Descrizione = DescriviCodici<Kvz_TRSimboliCodiciExtracont>(
				nome, "Il simbolo %s (codice extracontabile) non e' presente in tabella simboli.");
			break;
		case 3:
			e.m_Descrizione = DescriviCodici<Kvz_TRSimboliCodiciRiclass>(
				nome, "Il simbolo %s (codice riclassificato) non e' presente in tabella simboli.");
			break;
		case 6: e.m_Descrizione = DescriviOutputRiclassific(nome); break;
		default: break;
		}
	}
}

// A symbol over a range of codes (extra-accounting or reclassified): its aggregate, year and month
// and the range.
template <class Reader>
CString Kvz_EsplodiFormulaDescr::DescriviCodici(const CString& strNome, const char* szMancante)
{
	Reader reader;
	const auto* pDef = Definizione(reader, strNome, szMancante);
	if (!pDef)
		return CString();
	const auto& def = *pDef;
	const CString da = def.f_ValoreCodice.GetString(), a = def.f_ValoreCodiceA.GetString();
	// A missing end stands for the other: one code.
	const CString codici = a.IsEmpty() || da.IsEmpty() || a == da
							   ? CString::Formatted(Testo("del codice %s"), (da.IsEmpty() ? a : da).GetString())
							   : CString::Formatted(Testo("dal codice %s al codice %s"), da.GetString(), a.GetString());
	return Frase({Aggregato(def.f_AggregFunction.GetItemValue(), CString()), AnnoMese(m_Esercizio, m_Mese), codici});
}

CString Kvz_EsplodiFormulaDescr::DescriviOutputRiclassific(const CString& strNome)
{
	Kvz_TRSimboliOutputRiclass reader;
	const auto* pDef =
		Definizione(reader, strNome, "Il simbolo %s (risultato riclassificazione) non e' presente in tabella simboli.");
	if (!pDef)
		return CString();
	Kvz_TSimboliOutputRiclass def = *pDef;
	CString colonna;
	if (def.f_ValoreDalBudget)
	{
		const char* const budget[] = {"ValoreBudgetA", "ValoreBudgetB", "ValoreBudgetC"};
		const int t = def.f_TipoBudget.GetItemValue();
		if (t >= 0 && t <= 2)
			colonna = budget[t];
	}
	else if (const int n = def.f_ValoreDaUsare.GetValue(); n == 0)
		colonna = "Valore";
	else if (n >= 1 && n <= 10)
		colonna = CString::Formatted("Valore%d", n);
	const DataInt anno = def.f_ValoreEsConst ? def.f_ValoreEs : m_Esercizio;
	const DataInt mese = def.f_ValoreMeseConst ? def.f_ValoreMese : m_Mese;
	Kvz_CompletaIntervallo(def.f_ValoreCodiceA, def.f_ValoreCodice);
	return Frase({Aggregato(def.f_AggregFunction.GetItemValue(), colonna),
				  CString::Formatted(Testo("riclassificato da %s a %s per l'anno %s, mese %s, modello %s"),
							  def.f_ValoreCodice.GetString().GetString(), def.f_ValoreCodiceA.GetString().GetString(),
							  anno.FormatData().GetString(), mese.FormatData().GetString(),
							  def.f_ValoreModello.GetString().GetString())});
}

CString Kvz_EsplodiFormulaDescr::DescriviColonnaPianoBase(const Kvz_TSimboliPianoBase& def) const
{
	CString colonna;
	if (def.f_SelBudget)
		colonna = "ImportoMese";
	else
	{
		const int modo = m_Modo.GetItemValue();
		colonna = modo == 1 ? "SaldoContabile"
				  : modo == 2 ? "ImportoRateo"
				  : modo == 3 ? "TotaleAssestato"
				  : def.f_SelSaldo ? "SaldoContabile"
				  : def.f_SelRateo ? "ImportoRateo"
				  : def.f_SelTotAss ? "TotaleAssestato"
									: "";
	}
	// A list sums its entries with their signs.
	return Aggregato(def.f_TipoOpeConto.GetItemValue() == 8 ? 0 : def.f_AggregFunction.GetItemValue(), colonna);
}

CString Kvz_EsplodiFormulaDescr::DescriviTestataPianoBase(const Kvz_TSimboliPianoBase& def) const
{
	return Frase({def.f_SelBudget ? CString::Formatted(Testo("(%s)"), def.f_TipoBudget.FormatData().GetString())
								   : CString(),
				  AnnoMese(m_Esercizio, m_Mese),
				  def.f_WhereCdcComm && def.f_SelContoVuoto ? Testo("per le commesse e i centri:")
															 : Testo("per i conti:")});
}

CString Kvz_EsplodiFormulaDescr::DescrizioneConto(const DataStr& aConto, SqlConnection* pAltra)
{
	if (pAltra)
	{
		Kvz_TAnagContiKvz_Ext rec(pAltra);
		SqlTable t(&rec, pAltra->GetDefaultSqlSession());
		t.Open(FALSE);
		t.SelectAll();
		t.AddParam("p18", rec.f_Esercizio);
		t.AddFilterColumn(rec.f_Esercizio);
		t.AddParam("p20", rec.f_ContoKvz);
		t.AddFilterColumn(rec.f_ContoKvz);
		t.SetParamValue("p18", m_Esercizio);
		t.SetParamValue("p20", aConto);
		t.Query();
		const CString d = t.IsEOF() ? CString() : rec.f_Descrizione.GetString();
		t.Close();
		return d;
	}
	Kvz_TRAnagContiKvz conti;
	conti.SetSqlSession(AfxGetDefaultSqlSession());
	return conti.FindRecord(m_Esercizio, aConto) == TableReader::FOUND ? conti.GetRecord()->f_Descrizione.GetString()
																	   : CString();
}

CString Kvz_EsplodiFormulaDescr::ValorizzaPianoBase(Kvz_FormulaFlatElem& elem)
{
	Kvz_TRSimboliPianoBase reader;
	const auto* pDef = Definizione(reader, elem.m_Testo.GetString(),
								   "Il simbolo %s (piano base) non e' presente in tabella simboli.");
	if (!pDef)
		return CString();
	const Kvz_TSimboliPianoBase def = *pDef;
	if (def.f_TipoOpeConto.GetItemValue() == 8)
		return ValorizzaPBaseDaElenco(elem, def);
	const CString frase = Frase({DescriviColonnaPianoBase(def), DescriviTestataPianoBase(def)});

	// The accounts the symbol's condition takes, as the engine reads them.
	const int ope = def.f_TipoOpeConto.GetItemValue();
	if (def.f_ValDaConto.IsEmpty() && (ope != 6 || def.f_ValAConto.IsEmpty()))
		return frase;
	const std::unique_ptr<Kvz_New_External> pEsterna = ApriAzienda(elem, m_pMessages);
	SqlConnection* pConn = pEsterna ? pEsterna->GetConnection() : nullptr;
	if (pEsterna && !pConn)
		return frase;
	try
	{
		const std::vector<Kvz_ContoLivello> conti = Kvz_ContiDellaCondizione(
			pConn ? pConn : AfxGetDefaultSqlConnection(), m_Esercizio, ope, def.f_ValDaConto, def.f_ValAConto);
		for (const Kvz_ContoLivello& c : conti)
		{
			Kvz_FormulaFlatElem* p = NuovoDettaglio(elem);
			p->m_Testo = c.conto;
			p->m_Descrizione = c.descrizione;
		}
		const CString livelli = Kvz_TestoLivelliConti(def.f_NomeSimbolo.GetString(), conti);
		if (!livelli.IsEmpty())
			Messaggio(livelli);
	}
	catch (const std::exception& e)
	{
		MostraErroreSql(e, "Kvz_EsplodiFormulaDescr::ValorizzaPianoBase", kSource);
	}
	return frase;
}

CString Kvz_EsplodiFormulaDescr::ValorizzaPBaseDaElenco(Kvz_FormulaFlatElem& elem, const Kvz_TSimboliPianoBase& def)
{
	const CString frase = Frase({DescriviColonnaPianoBase(def), DescriviTestataPianoBase(def)});
	const std::unique_ptr<Kvz_New_External> pEsterna = ApriAzienda(elem, m_pMessages);
	SqlConnection* pConn = pEsterna ? pEsterna->GetConnection() : nullptr;
	TRJobs commesse;
	commesse.SetSqlSession(AfxGetDefaultSqlSession());
	TRCostCenters centri;
	centri.SetSqlSession(AfxGetDefaultSqlSession());
	try
	{
		Kvz_TElencoContiSimboloPBase voce;
		SqlTable elenco(&voce, AfxGetDefaultSqlSession());
		elenco.Open(FALSE);
		elenco.SelectAll();
		elenco.AddParam("p13", voce.f_NomeSimbolo);
		elenco.AddFilterColumn(voce.f_NomeSimbolo);
		elenco.AddParam("p23", voce.f_ModelloRiclassific);
		elenco.AddFilterColumn(voce.f_ModelloRiclassific);
		elenco.AddParam("p18", voce.f_Esercizio);
		elenco.AddFilterColumn(voce.f_Esercizio);
		// In the order of the list: by account, then by cost centre or job.
		elenco.AddSortColumn(voce.f_ContoSelez);
		elenco.AddSortColumn(voce.f_CentroCommessa);
		elenco.SetParamValue("p13", def.f_NomeSimbolo);
		elenco.SetParamValue("p23", m_Modello);
		elenco.SetParamValue("p18", m_Esercizio);
		for (elenco.Query(); !elenco.IsEOF(); elenco.MoveNext())
		{
			Kvz_FormulaFlatElem* p = NuovoDettaglio(elem);
			p->m_Segno = voce.f_SegnoConto;
			p->m_bVoce = TRUE;
			p->m_VoceConto = voce.f_ContoSelez;
			p->m_VoceCentro = voce.f_CentroCommessa;
			p->m_VoceTipoCentro = voce.f_TipoCentroComm;
			const bool bConto = !voce.f_ContoSelez.IsEmpty();
			const bool bCentro = bConto ? !def.f_WhereCdcComm && !voce.f_CentroCommessa.IsEmpty()
										: voce.f_SelContoVuoto || def.f_WhereCdcComm;
			if (!bConto && !bCentro)
				continue;
			if (bCentro)
			{
				p->m_Tipo = DataEnum(E_KVZ_TIPOSIMBOLO, 5);
				p->m_Testo = voce.f_CentroCommessa;
				p->m_Conto = voce.f_ContoSelez;
				if (bConto)
					p->m_DescrConto = DescrizioneConto(voce.f_ContoSelez, nullptr);
				if (commesse.FindRecord(voce.f_CentroCommessa) == TableReader::FOUND)
					p->m_Descrizione = commesse.GetRecord()->f_Description;
				else if (centri.FindRecord(voce.f_CentroCommessa) == TableReader::FOUND)
					p->m_Descrizione = centri.GetRecord()->f_Description;
				continue;
			}
			p->m_Testo = voce.f_ContoSelez;
			if (!elem.m_bAziendaEsterna || pConn)
				p->m_Descrizione = DescrizioneConto(voce.f_ContoSelez, pConn);
		}
		elenco.Close();
	}
	catch (const std::exception& e)
	{
		MostraErroreSql(e, "Kvz_EsplodiFormulaDescr::ValorizzaPBaseDaElenco", kSource);
	}
	return frase;
}
