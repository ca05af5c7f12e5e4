#include "kvznet/kvzmod/kvzdocuments/formule/Kvz_CUtilizzaFormuleDoc.h"

#include <algorithm>
#include <exception>
#include <map>
#include <set>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TElencoContiSimboloPBase.h"
#include "kvznet/kvzmod/kvzdocuments/formule/Kvz_NomiValidazione.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormulaComune.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormulaErrori.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlMultiInsert.h"
#include "platform/plvoledb/SqlTable.h"

namespace {
const char* const kSource = "FormulaCtrl";

// The element of a counter array with that kind and code, null when none. The symbol documents
// ask it for every account of the year against every counter of the year: the kind and the code
// are compared as a number and a string, not through the data objects' general comparison.
template <class Elem>
Elem* CercaCodice(const TArray<Elem>& arr, const DataEnum& aTipoCodice, const DataStr& aCodice)
{
	const DWORD tipo = aTipoCodice.GetValue();
	const CString& codice = aCodice.GetString();
	for (int i = 0; i < arr.GetSize(); ++i)
		if (Elem* p = arr.GetAt(i); p->m_TipoCodice.GetValue() == tipo && p->m_Codice.GetString() == codice)
			return p;
	return nullptr;
}

// The key of a kind and code in the counters' index.
std::string ChiaveContatore(const DataEnum& aTipoCodice, const DataStr& aCodice)
{
	return std::to_string(aTipoCodice.GetValue()) + '\x1f' + aCodice.GetString().str();
}

// A kind and code as the database compares them (codes ignore ASCII case).
std::string ChiaveDb(const DataEnum& aTipoCodice, const DataStr& aCodice)
{
	CString u = aCodice.GetString();
	u.MakeUpper();
	return std::to_string(aTipoCodice.GetValue()) + '\x1f' + u.str();
}

// Past this many codes to look up, one grouped reading of the year serves better than a query
// per code.
constexpr int kLettureSingole = 8;

CString ConPunti(const CString& strFormula)
{
	CString s = strFormula;
	s.Replace(',', '.');
	return s;
}
}  // namespace

// ---- counter arrays ----------------------------------------------------------------------------

Kvz_ArrayContatoriElem::Kvz_ArrayContatoriElem(const DataEnum& aTipoCodice, const DataStr& aCodice)
	: m_TipoCodice(aTipoCodice), m_Codice(aCodice)
{
}

Kvz_ArrayContatoriElem* Kvz_ArrayContatori::Cerca(const DataEnum& aTipoCodice, const DataStr& aCodice) const
{
	return CercaCodice(*this, aTipoCodice, aCodice);
}

Kvz_ArrayDettaglioContatoriElem::Kvz_ArrayDettaglioContatoriElem(const DataEnum& aTipoCodice, const DataStr& aCodice)
	: m_TipoCodice(aTipoCodice), m_Codice(aCodice)
{
}

long Kvz_ArrayDettaglioContatoriElem::GetTotale() const
{
	long n = 0;
	for (int c : m_nContatori)
		n += c;
	return n;
}

Kvz_ArrayDettaglioContatoriElem* Kvz_ArrayDettaglioContatori::Cerca(const DataEnum& aTipoCodice,
																   const DataStr& aCodice) const
{
	return CercaCodice(*this, aTipoCodice, aCodice);
}

// ---- Kvz_CUtilizzaFormuleDoc -------------------------------------------------------------------

Kvz_CUtilizzaFormuleDoc::Kvz_CUtilizzaFormuleDoc()
	: m_pMngFormula(std::make_unique<Kvz_New_MngFormula>(&m_Messages, &m_Simboli, nullptr, nullptr))
{
	InitSession();
}

Kvz_CUtilizzaFormuleDoc::~Kvz_CUtilizzaFormuleDoc()
{
	SvuotaMapContatori();
}

void Kvz_CUtilizzaFormuleDoc::InitSession()
{
	// Readers built without a document read on the default session of the current company;
	// the updaters get the document's updatable session when the counters are saved.
	m_nPosizFormula = 0;
}

void Kvz_CUtilizzaFormuleDoc::SetContext(const DataStr& aDescrizione, const DataInt& aEsercizio,
										 const DataStr& aModello, const DataEnum& aTipoCodCheUtilizza,
										 const DataStr& aCodiceCheUtilizza, const DataStr& aDescrizioneRiga,
										 const DataEnum& aTipoRiga)
{
	m_Descrizione = aDescrizione;
	m_Esercizio = aEsercizio;
	m_Modello = aModello;
	m_TipoCodCheUtilizza = aTipoCodCheUtilizza;
	m_CodiceCheUtilizza = aCodiceCheUtilizza;
	m_DescrizioneRiga = aDescrizioneRiga;
	m_TipoRiga = aTipoRiga;
}

BOOL Kvz_CUtilizzaFormuleDoc::OnAttachData()
{
	return TRUE;
}

BOOL Kvz_CUtilizzaFormuleDoc::OnPrepareAuxData()
{
	// A record read or about to be edited may have changed the symbols: value them anew, and
	// check its formulas against the symbols as they are now.
	m_pMngFormula->SvuotaMapSimboli();
	m_pMngFormula->SvuotaCachePianoBase();
	m_pMngFormula->SvuotaNomiValidazione();
	return TRUE;
}

BOOL Kvz_CUtilizzaFormuleDoc::SimboloUtilizzato(CString)
{
	return FALSE;
}

BOOL Kvz_CUtilizzaFormuleDoc::TrovatoNellaFormula(CString strNome, const DataStr& aFormula)
{
	return aFormula.GetString().Find(strNome) >= 0;
}

BOOL Kvz_CUtilizzaFormuleDoc::ParseFormula(const CString& strFormula, const CString& strOwner)
{
	m_Simboli.RemoveAll();
	m_pMngFormula->AttachModello(m_Modello);
	m_pMngFormula->AttachEsercizio(m_Esercizio);
	m_pMngFormula->AttachFormula(ConPunti(strFormula));
	if (m_pMngFormula->Parse(strOwner))
		return TRUE;
	// The engine says nothing of its own about the syntax: its reason goes with our message.
	if (!m_pMngFormula->GetErroreSintassi().IsEmpty())
		m_Messages.Add(m_pMngFormula->GetErroreSintassi(), CMessages::MSG_ERROR);
	return FALSE;
}

BOOL Kvz_CUtilizzaFormuleDoc::FormulaSegnalata(const CString& strFormula) const
{
	return m_FormuleSegnalate.count({m_CodiceCheUtilizza.GetString().str(), ConPunti(strFormula).str()}) > 0;
}

void Kvz_CUtilizzaFormuleDoc::MostraMessaggi()
{
	if (!m_Messages.IsEmpty())
		m_Messages.Show();
}

void Kvz_CUtilizzaFormuleDoc::OnFormulaChanged()
{
	if (!m_pStrFormula)
	{
		ASSERT_RELEASE_FAILED("0", "Kvz_CUtilizzaFormuleDoc::OnFormulaChanged", kSource);
		return;
	}
	const CString strFormula = ConPunti(m_pStrFormula->GetString());
	const std::vector<CMessages::Message> prima = m_Messages.GetMessages();
	if (!strFormula.IsEmpty() && !ParseFormula(strFormula))
	{
		// One message with the user's action: ours, with the engine's reason in it.
		const CString strMotivo = m_pMngFormula->GetErroreSintassi();
		if (!strMotivo.IsEmpty())
		{
			m_Messages.Clear();
			for (const CMessages::Message& m : prima)
				m_Messages.Add(m.text, m.type);
		}
		m_FormuleSegnalate.insert({m_CodiceCheUtilizza.GetString().str(), strFormula.str()});
		SetError(strMotivo.IsEmpty()
					 ? AfxLoadSourceString(_T("Errore nella formula."), kSource)
					 : CString::Formatted(AfxLoadSourceString(_T("Errore nella formula. %s."), kSource),
										  strMotivo.GetString()));
		return;
	}
	CaricaCodiciFormula(strFormula, m_nPosizFormula, nullptr);
	CaricaContatoriGenerali();
	m_bContatoriModificati = TRUE;
}

Kvz_ArrayDettaglioContatori* Kvz_CUtilizzaFormuleDoc::GetDettaglioContatori(const CString& strCodiceCheUtilizza) const
{
	auto it = m_MapContatori.find(strCodiceCheUtilizza);
	return it == m_MapContatori.end() ? nullptr : it->second.get();
}

void Kvz_CUtilizzaFormuleDoc::CaricaCodiciFormula(CString strFormula, int nPosiz, int* pnSimboli)
{
	if (pnSimboli)
		*pnSimboli = 0;
	if (nPosiz < 0 || nPosiz >= KVZ_NUM_POSIZ_FORMULA)
	{
		ASSERT_RELEASE_FAILED("nPosiz >= 0 && nPosiz <= 10", "Kvz_CUtilizzaFormuleDoc::CaricaCodiciFormula", kSource);
		return;
	}
	const CString strCodice = m_CodiceCheUtilizza.GetString();
	auto& pArr = m_MapContatori[strCodice];
	if (!pArr)
		pArr = std::make_unique<Kvz_ArrayDettaglioContatori>();
	else
		for (int i = 0; i < pArr->GetSize(); ++i)
			pArr->GetAt(i)->m_nContatori[nPosiz] = 0;

	if (strFormula.IsEmpty())
		return;

	BeginWaitCursor();
	if (!ParseFormula(strFormula))
	{
		MostraMessaggi();
		AfxMessageBox(CString::Formatted(AfxLoadSourceString(_T("Errore nella formula %s."), kSource),
										 strFormula.GetString()),
					  MB_OK | MB_ICONERROR);
		EndWaitCursor();
		return;
	}
	// Copied: valuing a symbol reads the tables, never the list, but the list is the engine's.
	CStringArray nomi;
	for (int i = 0; i < m_Simboli.GetSize(); ++i)
		nomi.Add(m_Simboli.GetAt(i));
	for (int i = 0; i < nomi.GetSize(); ++i)
		CaricaValoriDelSimbolo(DataStr(nomi.GetAt(i)), *pArr, nPosiz);
	if (pnSimboli)
		*pnSimboli = nomi.GetSize();
	EndWaitCursor();
}

void Kvz_CUtilizzaFormuleDoc::CaricaValoriDelSimbolo(const DataStr& aNome, Kvz_ArrayDettaglioContatori& arr, int nPosiz)
{
	// The registry's rows of the year and model read once for every name; read by name only
	// when they could not be.
	const Kvz_TAnagSimboli* pSimbolo = nullptr;
	const auto esito = m_pMngFormula->NomiValidazione().Simbolo(m_Esercizio, m_Modello, aNome.GetString(), false, pSimbolo);
	if (esito == Kvz_NomiValidazione::ASSENTE)
		return;  // a name the registry does not know counts nothing
	if (esito == Kvz_NomiValidazione::NON_LETTO)
	{
		try
		{
			if (m_TRAnagSimboli.FindRecord(m_Esercizio, aNome, m_Modello) != TableReader::FOUND)
				return;
		}
		catch (const std::exception& e)
		{
			MostraErroreSql(e, "Kvz_CUtilizzaFormuleDoc::CaricaValoriDelSimbolo", kSource);
			return;
		}
		pSimbolo = m_TRAnagSimboli.GetRecord();
	}
	switch (pSimbolo->f_TipoSimbolo.GetItemValue())
	{
	case KVZ_CONTATORE_CONTO:
		// Rows that take their value from other rows count no base-plan accounts.
		if (m_TipoRiga.GetItemValue() != 1)
			CaricaContiPianoBase(aNome, arr, nPosiz);
		break;
	case KVZ_CONTATORE_EXTRACONT:
		CaricaCodiciExtracont(aNome, arr, nPosiz);
		break;
	case KVZ_CONTATORE_RICLASSIFICATO:
		CaricaCodiciRiclassific(aNome, arr, nPosiz);
		break;
	case KVZ_CONTATORE_RISULTATO:
		CaricaCodiciOutRiclassific(aNome, arr, nPosiz);
		break;
	default:
		break;
	}
}

template <class Reader>
void Kvz_CUtilizzaFormuleDoc::CaricaValoreCodice(Reader& reader, const DataStr& aNome, Kvz_ArrayDettaglioContatori& arr,
												 int nPosiz, WORD nTipo, const char* szMetodo)
{
	using Rec = std::remove_const_t<std::remove_pointer_t<decltype(reader.GetRecord())>>;
	const Rec* pDef = nullptr;
	switch (m_pMngFormula->NomiValidazione().Definizione(m_Esercizio, m_Modello, aNome.GetString(), pDef))
	{
	case Kvz_NomiValidazione::TROVATO:
		CaricaElemento(arr, nPosiz, pDef->f_ValoreCodice, DataEnum(E_KVZ_TIPOSIMBOLO, nTipo));
		return;
	case Kvz_NomiValidazione::ASSENTE: return;
	default: break;
	}
	try
	{
		if (reader.FindRecord(m_Esercizio, aNome, m_Modello) == TableReader::FOUND)
			CaricaElemento(arr, nPosiz, reader.GetRecord()->f_ValoreCodice, DataEnum(E_KVZ_TIPOSIMBOLO, nTipo));
	}
	catch (const std::exception& e)
	{
		MostraErroreSql(e, szMetodo, kSource);
	}
}

void Kvz_CUtilizzaFormuleDoc::CaricaCodiciExtracont(const DataStr& aNome, Kvz_ArrayDettaglioContatori& arr, int nPosiz)
{
	CaricaValoreCodice(m_TRSimboliCodiciExtracont, aNome, arr, nPosiz, KVZ_CONTATORE_EXTRACONT,
					   "Kvz_CUtilizzaFormuleDoc::CaricaCodiciExtracont");
}

void Kvz_CUtilizzaFormuleDoc::CaricaCodiciRiclassific(const DataStr& aNome, Kvz_ArrayDettaglioContatori& arr, int nPosiz)
{
	CaricaValoreCodice(m_TRSimboliCodiciRiclass, aNome, arr, nPosiz, KVZ_CONTATORE_RICLASSIFICATO,
					   "Kvz_CUtilizzaFormuleDoc::CaricaCodiciRiclassific");
}

void Kvz_CUtilizzaFormuleDoc::CaricaCodiciOutRiclassific(const DataStr& aNome, Kvz_ArrayDettaglioContatori& arr,
														 int nPosiz)
{
	CaricaValoreCodice(m_TRSimboliOutputRiclass, aNome, arr, nPosiz, KVZ_CONTATORE_RISULTATO,
					   "Kvz_CUtilizzaFormuleDoc::CaricaCodiciOutRiclassific");
}

void Kvz_CUtilizzaFormuleDoc::CaricaContiPianoBase(const DataStr& aNome, Kvz_ArrayDettaglioContatori& arr, int nPosiz)
{
	const DataEnum conto(E_KVZ_TIPOSIMBOLO, KVZ_CONTATORE_CONTO);
	Kvz_TSimboliPianoBase def;
	const Kvz_TSimboliPianoBase* pDef = nullptr;
	switch (m_pMngFormula->NomiValidazione().Definizione(m_Esercizio, m_Modello, aNome.GetString(), pDef))
	{
	case Kvz_NomiValidazione::TROVATO: def = *pDef; break;
	case Kvz_NomiValidazione::ASSENTE: return;
	default:
		try
		{
			if (m_TRSimboliPianoBase.FindRecord(m_Esercizio, aNome, m_Modello) != TableReader::FOUND)
				return;
			def = *m_TRSimboliPianoBase.GetRecord();
		}
		catch (const std::exception& e)
		{
			MostraErroreSql(e, "Kvz_CUtilizzaFormuleDoc::CaricaContiPianoBase", kSource);
			return;
		}
	}

	const int ope = def.f_TipoOpeConto.GetItemValue();
	if (ope != 6 && ope != 7 && ope != 8)
	{
		CaricaElemento(arr, nPosiz, def.f_ValDaConto, conto);
		return;
	}

	if (def.f_ElencoConti)
	{
		Kvz_TElencoContiSimboloPBase rec;
		SqlTable table(&rec, AfxGetDefaultSqlSession());
		try
		{
			table.Open(FALSE, FALSE, TRUE);
			table.SelectAll();
			table.AddParam("p2", rec.f_Esercizio);
			table.AddFilterColumn(rec.f_Esercizio);
			table.AddParam("p5", rec.f_ModelloRiclassific);
			table.AddFilterColumn(rec.f_ModelloRiclassific);
			table.AddParam("p1", rec.f_NomeSimbolo);
			table.AddFilterColumn(rec.f_NomeSimbolo);
			table.AddSortColumn(rec.f_ContoSelez);
			table.SetParamValue("p2", m_Esercizio);
			table.SetParamValue("p5", m_Modello);
			table.SetParamValue("p1", aNome);
			// One count per run of rows of one account (a row per cost centre or job).
			DataStr ultimo;
			for (table.Query(); !table.IsEOF(); table.MoveNext())
			{
				if (!rec.f_ContoSelez.IsEmpty() && rec.f_ContoSelez != ultimo)
				{
					CaricaElemento(arr, nPosiz, rec.f_ContoSelez, conto);
					ultimo = rec.f_ContoSelez;
				}
				if (!rec.f_CentroCommessa.IsEmpty())
					CaricaElemento(arr, nPosiz, rec.f_CentroCommessa,
								   DataEnum(E_KVZ_TIPOSIMBOLO, rec.f_TipoCentroComm.GetItemValue() == 0
																  ? KVZ_CONTATORE_CENTRO
																  : KVZ_CONTATORE_COMMESSA));
			}
		}
		catch (const std::exception& e)
		{
			// What was counted before the failure stays.
			MostraErroreSql(e, "Kvz_CUtilizzaFormuleDoc::CaricaContiPianoBase", kSource);
		}
		table.Close();
		return;
	}

	Kvz_TAnagContiKvz rec;
	SqlTable table(&rec, AfxGetDefaultSqlSession());
	try
	{
		table.Open(FALSE, FALSE, TRUE);
		table.SelectAll();
		table.AddParam("p2", rec.f_Esercizio);
		table.AddFilterColumn(rec.f_Esercizio);
		if (ope == 6)
		{
			table.AddParam("p3", rec.f_ContoKvz);
			table.AddParam("p4", rec.f_ContoKvz);
			table.AddBetweenColumn(rec.f_ContoKvz);
		}
		else if (ope == 7)
		{
			table.AddParam("p3", rec.f_ContoKvz);
			table.AddFilterColumn(rec.f_ContoKvz, "LIKE");
		}
		table.AddSortColumn(rec.f_ContoKvz);
		table.SetParamValue("p2", m_Esercizio);
		if (ope == 6)
		{
			table.SetParamValue("p3", def.f_ValDaConto);
			table.SetParamValue("p4", def.f_ValAConto);
		}
		else if (ope == 7)
			table.SetParamValue("p3", DataStr(kvz_formula::ModelloLike(def.f_ValDaConto.GetString())));
		for (table.Query(); !table.IsEOF(); table.MoveNext())
			CaricaElemento(arr, nPosiz, rec.f_ContoKvz, conto);
	}
	catch (const std::exception& e)
	{
		MostraErroreSql(e, "Kvz_CUtilizzaFormuleDoc::CaricaContiPianoBase", kSource);
	}
	table.Close();
}

void Kvz_CUtilizzaFormuleDoc::CaricaElemento(Kvz_ArrayDettaglioContatori& arr, int nPosiz, const DataStr& aCodice,
											 const DataEnum& aTipo)
{
	// A definition without a code names nothing to count.
	if (aCodice.IsEmpty())
		return;
	Kvz_ArrayDettaglioContatoriElem* p = arr.Cerca(aTipo, aCodice);
	if (!p)
	{
		p = new Kvz_ArrayDettaglioContatoriElem(aTipo, aCodice);
		arr.Add(p);
	}
	++p->m_nContatori[nPosiz];
}

void Kvz_CUtilizzaFormuleDoc::CaricaContatoriGenerali()
{
	for (int i = 0; i < m_ContatoriGenerali.GetSize(); ++i)
		m_ContatoriGenerali.GetAt(i)->m_nUtilizziDoc = 0;

	// The other documents' uses of the codes new here: by one grouped reading of the year when
	// they are many, as the reader sums them.
	int nNuovi = 0;
	for (const auto& [codice, pArr] : m_MapContatori)
		for (int i = 0; i < pArr->GetSize() && nNuovi <= kLettureSingole; ++i)
			if (!m_ContatoriGenerali.Cerca(pArr->GetAt(i)->m_TipoCodice, pArr->GetAt(i)->m_Codice))
				++nNuovi;
	std::unordered_map<std::string, long> altri;
	const bool bInBlocco = nNuovi > kLettureSingole;
	if (bInBlocco)
	{
		Kvz_TContatoriDettaglio rec(FALSE);
		SqlTable t(&rec, GetReadOnlySqlSession());
		try
		{
			t.Open(FALSE, FALSE, TRUE);
			DataEnum tipo(E_KVZ_TIPOSIMBOLO, 0);
			DataStr codice;
			DataLng somma;
			t.SelectSqlFun(t.GetColumnName(rec.f_TipoCodice), tipo);
			t.SelectSqlFun(t.GetColumnName(rec.f_Codice), codice);
			t.SelectSqlFun(CString::Formatted("SUM(%s)", t.GetColumnName(rec.f_ContatoreUtilizzi).GetString()), somma);
			t.AddParam("p1", rec.f_Esercizio);
			t.AddFilterColumn(rec.f_Esercizio);
			t.AddParam("p2", rec.f_TipoCodCheUtilizza);
			t.AddParam("p3", rec.f_TipoCodCheUtilizza);
			t.AddParam("p4", rec.f_ModelloRiclassific);
			const CString kind = t.GetColumnName(rec.f_TipoCodCheUtilizza);
			t.m_strFilter += CString::Formatted(" AND (%s <> ? OR (%s = ? AND %s <> ?))", kind.GetString(),
												kind.GetString(), t.GetColumnName(rec.f_ModelloRiclassific).GetString());
			t.m_strGroupBy = t.GetColumnName(rec.f_TipoCodice) + ", " + t.GetColumnName(rec.f_Codice);
			t.SetParamValue("p1", m_Esercizio);
			t.SetParamValue("p2", m_TipoCodCheUtilizza);
			t.SetParamValue("p3", m_TipoCodCheUtilizza);
			t.SetParamValue("p4", m_Modello);
			for (t.Query(); !t.IsEOF(); t.MoveNext())
				altri[ChiaveDb(tipo, codice)] += somma.GetValue();
		}
		catch (const std::exception& e)
		{
			MostraErroreSql(e, "Kvz_CUtilizzaFormuleDoc::CaricaContatoriGenerali", kSource);
		}
		if (t.IsOpen())
			t.Close();
	}
	for (const auto& [codice, pArr] : m_MapContatori)
		for (int i = 0; i < pArr->GetSize(); ++i)
		{
			const Kvz_ArrayDettaglioContatoriElem* pDett = pArr->GetAt(i);
			Kvz_ArrayContatoriElem* pGen = m_ContatoriGenerali.Cerca(pDett->m_TipoCodice, pDett->m_Codice);
			if (!pGen)
			{
				pGen = new Kvz_ArrayContatoriElem(pDett->m_TipoCodice, pDett->m_Codice);
				try
				{
					if (bInBlocco)
					{
						auto it = altri.find(ChiaveDb(pDett->m_TipoCodice, pDett->m_Codice));
						if (it != altri.end())
							pGen->m_nUtilizziAltri = static_cast<int>(it->second);
					}
					else if (m_TRSommaUtilizzi.FindRecord(m_Esercizio, pDett->m_TipoCodice, pDett->m_Codice,
														   m_TipoCodCheUtilizza, m_Modello) == TableReader::FOUND)
						pGen->m_nUtilizziAltri = static_cast<int>(m_TRSommaUtilizzi.m_SommaUtilizzi.GetValue());
				}
				catch (const std::exception& e)
				{
					MostraErroreSql(e, "Kvz_CUtilizzaFormuleDoc::CaricaContatoriGenerali", kSource);
				}
				m_ContatoriGenerali.Add(pGen);
			}
			pGen->m_nUtilizziDoc += static_cast<int>(pDett->GetTotale());
		}
}

BOOL Kvz_CUtilizzaFormuleDoc::SalvaContatori()
{
	CPLVContext* pContext = GetContext();
	if (!pContext || !GetUpdatableSqlSession())
	{
		Message(AfxLoadSourceString(_T("Contatori di utilizzo non salvati: nessuna connessione al database."), kSource));
		return FALSE;
	}
	BeginWaitCursor();
	// Inside the document's own save the counters go with it; otherwise they get a
	// transaction of their own, so that the old detail rows are never gone without the new.
	const bool bPropria = !pContext->IsInTransaction();
	if (bPropria && !pContext->StartTransaction())
	{
		EndWaitCursor();
		Message(AfxLoadSourceString(_T("Non è possibile aprire una nuova transazione."), kSource));
		return FALSE;
	}
	try
	{
		SqlSession* pSession = GetUpdatableSqlSession();
		// Each code's total written over its row or as a new one, many rows a statement; a code
		// given twice as the database compares codes keeps its last total, as row by row.
		{
			std::map<std::string, const Kvz_ArrayContatoriElem*> ultimi;
			std::vector<const Kvz_ArrayContatoriElem*> ordine;
			for (int i = 0; i < m_ContatoriGenerali.GetSize(); ++i)
			{
				const Kvz_ArrayContatoriElem* pGen = m_ContatoriGenerali.GetAt(i);
				auto [it, bNuovo] = ultimi.emplace(ChiaveDb(pGen->m_TipoCodice, pGen->m_Codice), pGen);
				if (bNuovo)
					ordine.push_back(pGen);
				else
					for (auto& p : ordine)
						if (p == it->second)
							p = pGen;
				it->second = pGen;
			}
			Kvz_TContatoriCodici rec(FALSE);
			const CString strTesta = CString::Formatted(
				"INSERT INTO %s (%s, %s, %s, %s) VALUES ", rec.GetTableName().GetString(),
				rec.GetColumnName(&rec.f_Esercizio).GetString(), rec.GetColumnName(&rec.f_TipoCodice).GetString(),
				rec.GetColumnName(&rec.f_Codice).GetString(), rec.GetColumnName(&rec.f_ContatoreUtilizzi).GetString());
			const CString strCoda = CString::Formatted(
				" ON CONFLICT (%s, %s, %s) DO UPDATE SET %s = excluded.%s", rec.GetColumnName(&rec.f_Esercizio).GetString(),
				rec.GetColumnName(&rec.f_TipoCodice).GetString(), rec.GetColumnName(&rec.f_Codice).GetString(),
				rec.GetColumnName(&rec.f_ContatoreUtilizzi).GetString(),
				rec.GetColumnName(&rec.f_ContatoreUtilizzi).GetString());
			constexpr size_t kRighePerIstruzione = 200;
			std::vector<DataLng> totali(ordine.size());
			for (size_t nDa = 0; nDa < ordine.size(); nDa += kRighePerIstruzione)
			{
				const size_t nA = std::min(ordine.size(), nDa + kRighePerIstruzione);
				CString sql = strTesta;
				std::vector<const DataObj*> valori;
				for (size_t k = nDa; k < nA; ++k)
				{
					totali[k] = DataLng(ordine[k]->GetTotale());
					sql += k == nDa ? "(?, ?, ?, ?)" : ", (?, ?, ?, ?)";
					valori.insert(valori.end(), {&m_Esercizio, &ordine[k]->m_TipoCodice, &ordine[k]->m_Codice, &totali[k]});
				}
				pSession->ExecuteSQL(sql + strCoda, valori);
			}
		}

		// Only this document's rows: those of other using kinds stay.
		Kvz_TContatoriDettaglio det;
		// The codes whose uses go with them: one no longer named keeps no general counter of
		// its own below, so it is counted again from the detail that remains.
		std::set<std::pair<DWORD, std::string>> rimossi;
		{
			SqlTable table(&det, pSession, this);
			table.Open();
			table.Select(det.f_TipoCodice);
			table.Select(det.f_Codice);
			table.AddParam("p1", det.f_Esercizio);
			table.AddFilterColumn(det.f_Esercizio);
			table.AddParam("p2", det.f_ModelloRiclassific);
			table.AddFilterColumn(det.f_ModelloRiclassific);
			table.AddParam("p3", det.f_TipoCodCheUtilizza);
			table.AddFilterColumn(det.f_TipoCodCheUtilizza);
			table.SetParamValue("p1", m_Esercizio);
			table.SetParamValue("p2", m_Modello);
			table.SetParamValue("p3", m_TipoCodCheUtilizza);
			for (table.Query(); !table.IsEOF(); table.MoveNext())
				if (!m_ContatoriGenerali.Cerca(det.f_TipoCodice, det.f_Codice))
					rimossi.emplace(det.f_TipoCodice.GetValue(), det.f_Codice.GetString().str());
			table.Close();
		}
		const CString strDelete = CString::Formatted(
			"DELETE FROM %s WHERE %s = ? AND %s = ? AND %s = ?", det.GetTableName().GetString(),
			det.GetColumnName(&det.f_Esercizio).GetString(), det.GetColumnName(&det.f_ModelloRiclassific).GetString(),
			det.GetColumnName(&det.f_TipoCodCheUtilizza).GetString());
		pSession->ExecuteSQL(strDelete, {&m_Esercizio, &m_Modello, &m_TipoCodCheUtilizza});

		// After the delete every detail row is new: added many a statement, a key the database
		// sees twice keeping its last count, as row by row.
		{
			std::map<std::string, std::pair<const Kvz_ArrayDettaglioContatoriElem*, std::pair<CString, int>>> righe;
			std::vector<std::string> ordine;
			for (const auto& [codice, pArr] : m_MapContatori)
			{
				CString strUsa = codice;
				strUsa.MakeUpper();
				for (int i = 0; i < pArr->GetSize(); ++i)
				{
					const Kvz_ArrayDettaglioContatoriElem* pDett = pArr->GetAt(i);
					for (int nPosiz = 0; nPosiz < KVZ_NUM_POSIZ_FORMULA; ++nPosiz)
					{
						if (pDett->m_nContatori[nPosiz] <= 0)
							continue;
						const std::string chiave = ChiaveDb(pDett->m_TipoCodice, pDett->m_Codice) + '\x1f' +
												   strUsa.str() + '\x1f' + std::to_string(nPosiz);
						auto [it, bNuova] = righe.insert_or_assign(
							chiave, std::make_pair(pDett, std::make_pair(codice, nPosiz)));
						if (bNuova)
							ordine.push_back(chiave);
					}
				}
			}
			SqlMultiInsert ins(pSession, Kvz_TContatoriDettaglio(FALSE), 100);
			for (const std::string& chiave : ordine)
			{
				const auto& [pDett, uso] = righe.at(chiave);
				auto& r = static_cast<Kvz_TContatoriDettaglio&>(ins.NewRow());
				r.f_Esercizio = m_Esercizio;
				r.f_TipoCodice = pDett->m_TipoCodice;
				r.f_Codice = pDett->m_Codice;
				r.f_ModelloRiclassific = m_Modello;
				r.f_TipoCodCheUtilizza = m_TipoCodCheUtilizza;
				r.f_CodiceCheUtilizza = DataStr(uso.first);
				r.f_FormulaCheUtilizza = DataInt(uso.second);
				r.f_ContatoreUtilizzi = DataLng(pDett->m_nContatori[uso.second]);
			}
			ins.Flush();
		}
		if (!rimossi.empty())
		{
			Kvz_TContatoriCodici gen;
			const CString strRicalcola = CString::Formatted(
				"UPDATE %s SET ContatoreUtilizzi = (SELECT COALESCE(SUM(d.ContatoreUtilizzi), 0) FROM %s d WHERE "
				"d.Esercizio = %s.Esercizio AND d.TipoCodice = %s.TipoCodice AND d.Codice = %s.Codice) "
				"WHERE Esercizio = ? AND TipoCodice = ? AND Codice = ?",
				gen.GetTableName().GetString(), det.GetTableName().GetString(), gen.GetTableName().GetString(),
				gen.GetTableName().GetString(), gen.GetTableName().GetString());
			for (const auto& [tipo, codice] : rimossi)
			{
				const DataEnum aTipo(tipo);
				const DataStr aCodice(codice.c_str());
				pSession->ExecuteSQL(strRicalcola, {&m_Esercizio, &aTipo, &aCodice});
			}
		}
		m_TUContatoriCodici.Free();
		m_TUContatoriDettaglio.Free();
		if (bPropria)
			pContext->Commit();
	}
	catch (const std::exception& e)
	{
		m_TUContatoriCodici.Free();
		m_TUContatoriDettaglio.Free();
		if (bPropria)
			pContext->Rollback();
		if (!dynamic_cast<const SqlException*>(&e))
			ASSERT_RELEASE_FAILED("e->IsKindOf((SqlException::GetThisClass()))", "Kvz_CUtilizzaFormuleDoc::SalvaContatori",
								  kSource);
		EndWaitCursor();
		Message(CString::Formatted(AfxLoadSourceString(_T("Contatori di utilizzo non salvati: %s"), kSource), e.what()));
		return FALSE;
	}
	EndWaitCursor();
	return TRUE;
}

void Kvz_CUtilizzaFormuleDoc::SvuotaMapContatori()
{
	m_MapContatori.clear();
}

DataLng Kvz_CUtilizzaFormuleDoc::GetContatoreGenerale(const DataEnum& aTipoCodice, const DataStr& aCodice) const
{
	if (m_pIndice)
	{
		auto it = m_pIndice->generale.find(ChiaveContatore(aTipoCodice, aCodice));
		return DataLng(it == m_pIndice->generale.end() ? 0L : it->second);
	}
	const Kvz_ArrayContatoriElem* p = m_ContatoriGenerali.Cerca(aTipoCodice, aCodice);
	return DataLng(p ? p->GetTotale() : 0L);
}

DataLng Kvz_CUtilizzaFormuleDoc::GetContatoreDettaglio(const DataEnum& aTipoCodice, const DataStr& aCodice) const
{
	if (m_pIndice)
	{
		auto it = m_pIndice->dettaglio.find(ChiaveContatore(aTipoCodice, aCodice));
		return DataLng(it == m_pIndice->dettaglio.end() ? 0L : it->second);
	}
	long n = 0;
	for (const auto& [codice, pArr] : m_MapContatori)
		if (const Kvz_ArrayDettaglioContatoriElem* p = pArr->Cerca(aTipoCodice, aCodice))
			n += p->GetTotale();
	return DataLng(n);
}

Kvz_CUtilizzaFormuleDoc::LetturaContatori::LetturaContatori(const Kvz_CUtilizzaFormuleDoc* pDoc) : m_pDoc(pDoc)
{
	if (!m_pDoc || m_pDoc->m_nLetture++ > 0)
		return;
	// As the lookups without the index: the first element of a kind and code in each array.
	auto pIndice = std::make_unique<IndiceContatori>();
	for (const auto& [codice, pArr] : m_pDoc->m_MapContatori)
	{
		std::unordered_map<std::string, long> primi;
		for (int i = 0; i < pArr->GetSize(); ++i)
		{
			const Kvz_ArrayDettaglioContatoriElem* p = pArr->GetAt(i);
			primi.emplace(ChiaveContatore(p->m_TipoCodice, p->m_Codice), p->GetTotale());
		}
		for (const auto& [chiave, n] : primi)
			pIndice->dettaglio[chiave] += n;
	}
	for (int i = 0; i < m_pDoc->m_ContatoriGenerali.GetSize(); ++i)
	{
		const Kvz_ArrayContatoriElem* p = m_pDoc->m_ContatoriGenerali.GetAt(i);
		pIndice->generale.emplace(ChiaveContatore(p->m_TipoCodice, p->m_Codice), p->GetTotale());
	}
	m_pDoc->m_pIndice = std::move(pIndice);
}

Kvz_CUtilizzaFormuleDoc::LetturaContatori::~LetturaContatori()
{
	if (m_pDoc && --m_pDoc->m_nLetture == 0)
		m_pDoc->m_pIndice.reset();
}
