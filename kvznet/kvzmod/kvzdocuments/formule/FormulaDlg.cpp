#include <algorithm>
#include <cstring>
#include <map>
#include <new>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagMacro.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TElencoContiSimboloPBase.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CDeRiclassificazioniDoc.h"
#include "kvznet/kvzmod/kvzdocuments/formule/Kvz_CFormulaDoc.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloDoc.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CopiaSimboli.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlTable.h"

namespace {
const char* const kSource = "FormulaDlg";
const char* const kCaratteriMacro = "01234567890qwertyuiopasdfghjklzxcvbnmQWERTYUIOPASDFGHJKLZXCVBNM";

CString Testo(const char* sz) { return AfxLoadSourceString(sz, kSource); }

const char* NamespaceDocSimbolo(WORD nTipo)
{
	switch (nTipo)
	{
	case 0: return "KvzNet.KvzMod.KvzDocuments.BDPropSimboloPBase";
	case 1: return "KvzNet.KvzMod.KvzDocuments.BDPropSimboloExtraC";
	case 3: return "KvzNet.KvzMod.KvzDocuments.BDPropSimboloRiclass";
	case 6: return "KvzNet.KvzMod.KvzDocuments.BDPropSimboloOutRiclass";
	default: return nullptr;
	}
}

// Deletes the rows of the symbol (year, name, model) from the table of the record; the values
// go as bound parameters.
template <class Rec>
void CancellaRigheSimbolo(SqlSession* pSession, const DataInt& aEsercizio, const DataStr& aNome, const DataStr& aModello)
{
	Rec rec;
	SqlTable t(&rec, pSession);
	t.Open(TRUE);
	t.SelectAll();
	t.AddParam("p1", rec.f_Esercizio);
	t.AddFilterColumn(rec.f_Esercizio);
	t.AddParam("p2", rec.f_NomeSimbolo);
	t.AddFilterColumn(rec.f_NomeSimbolo);
	t.AddParam("p3", rec.f_ModelloRiclassific);
	t.AddFilterColumn(rec.f_ModelloRiclassific);
	t.SetParamValue("p1", aEsercizio);
	t.SetParamValue("p2", aNome);
	t.SetParamValue("p3", aModello);
	for (t.Query(); !t.IsEOF(); t.MoveNext())
		t.Delete();
	t.Close();
}

// The descriptions of the model's symbols of one kind, by their names as the database compares
// them: one reading for the list, not one per symbol.
template <class Record>
std::map<CString, CString> DescrizioniDelTipo(SqlSession* pSession, const DataInt& aEsercizio, const DataStr& aModello)
{
	std::map<CString, CString> descrizioni;
	for (const auto& pRec : kvz_copia::LeggiSimboli<Record>(pSession, aEsercizio, aModello))
		descrizioni.emplace(Kvz_New_MngFormula::ChiaveTesto(pRec->f_NomeSimbolo.GetString()),
							pRec->f_Annotazioni.GetString());
	return descrizioni;
}
}  // namespace

// ---- Kvz_SimboliToSortElem ---------------------------------------------------------------

Kvz_SimboliToSortElem::Kvz_SimboliToSortElem(const DataEnum& aTipo, const DataStr& aNome)
	: m_TipoSimbolo(aTipo), m_NomeSimbolo(aNome)
{
	CString strLettere, strCifre;
	const CString strNome = aNome.GetString();
	for (int i = 0; i < strNome.GetLength(); ++i)
	{
		const char c = strNome[i];
		if (c >= '0' && c <= '9')
			strCifre += c;
		else
			strLettere += c;
	}
	m_Lettere = strLettere;
	m_Cifre = strCifre;
}

int ComparaNomeSimbolo(const Kvz_SimboliToSortElem& a, const Kvz_SimboliToSortElem& b)
{
	const std::string la = a.m_Lettere.GetString().GetString(), lb = b.m_Lettere.GetString().GetString();
	if (la != lb)
		return la < lb ? -1 : 1;
	// Digits by value without converting: no run is too long.
	auto senzaZeri = [](const DataStr& d) {
		std::string s = d.GetString().GetString();
		s.erase(0, std::min(s.find_first_not_of('0'), s.size()));
		return s;
	};
	const std::string da = senzaZeri(a.m_Cifre), db = senzaZeri(b.m_Cifre);
	if (da.size() != db.size())
		return da.size() < db.size() ? -1 : 1;
	return da.compare(db) < 0 ? -1 : da == db ? 0 : 1;
}

// ---- Kvz_CFormulaDoc ---------------------------------------------------------------------

BEGIN_MESSAGE_MAP(Kvz_CFormulaDoc, Kvz_CUtilizzaFormuleDoc)
	ON_BN_CLICKED(IDC_FRM_TASTO_0, OnTasto0)
	ON_BN_CLICKED(IDC_FRM_TASTO_1, OnTasto1)
	ON_BN_CLICKED(IDC_FRM_TASTO_1 + 1, OnTasto2)
	ON_BN_CLICKED(IDC_FRM_TASTO_1 + 2, OnTasto3)
	ON_BN_CLICKED(IDC_FRM_TASTO_1 + 3, OnTasto4)
	ON_BN_CLICKED(IDC_FRM_TASTO_1 + 4, OnTasto5)
	ON_BN_CLICKED(IDC_FRM_TASTO_1 + 5, OnTasto6)
	ON_BN_CLICKED(IDC_FRM_TASTO_1 + 6, OnTasto7)
	ON_BN_CLICKED(IDC_FRM_TASTO_1 + 7, OnTasto8)
	ON_BN_CLICKED(IDC_FRM_TASTO_1 + 8, OnTasto9)
	ON_BN_CLICKED(IDC_FRM_TASTO_APERTA, OnTastoAperta)
	ON_BN_CLICKED(IDC_FRM_TASTO_CHIUSA, OnTastoChiusa)
	ON_BN_CLICKED(IDC_FRM_TASTO_PIU, OnTastoPiu)
	ON_BN_CLICKED(IDC_FRM_TASTO_MENO, OnTastoMeno)
	ON_BN_CLICKED(IDC_FRM_TASTO_PER, OnTastoPer)
	ON_BN_CLICKED(IDC_FRM_TASTO_DIVISO, OnTastoDiviso)
	ON_BN_CLICKED(IDC_FRM_TUTTI, OnTutti)
	ON_BN_CLICKED(IDC_FRM_PIANO_BASE, OnPianoBase)
	ON_BN_CLICKED(IDC_FRM_EXTRACONTABILI, OnExtracontabili)
	ON_BN_CLICKED(IDC_FRM_RICLASSIFICATI, OnRiclassificati)
	ON_BN_CLICKED(IDC_FRM_RISULTATO, OnRisultato)
	ON_BN_CLICKED(IDC_FRM_PROP_SIMBOLO, OnPropSimbolo)
	ON_COMMAND(ID_FRM_PROP_SIMBOLO, OnPropSimbolo)
	ON_BN_CLICKED(IDC_FRM_NUOVO_SIMBOLO, OnNuovoSimbolo)
	ON_COMMAND(ID_FRM_NUOVO_SIMBOLO, OnNuovoSimbolo)
	ON_BN_CLICKED(IDC_FRM_ELIMINA_SIMBOLO, OnDeleteSimbolo)
	ON_BN_CLICKED(IDC_FRM_PROP_MACRO, OnPropMacro)
	ON_BN_CLICKED(IDC_FRM_NUOVA_MACRO, OnNuovaMacro)
	ON_BN_CLICKED(IDC_FRM_ELIMINA_MACRO, OnDeleteMacro)
	ON_EN_VALUE_CHANGED(IDC_FRM_SAVE_AS_MACRO, OnSalvaComeMacroChanged)
	ON_BN_CLICKED(IDC_FRM_OK, OnOK)
	ON_BN_CLICKED(IDC_FRM_ANNULLA, OnAnnulla)
END_MESSAGE_MAP()

Kvz_CFormulaDoc::Kvz_CFormulaDoc()
{
	SetBatchDocument(TRUE);
	m_Formula.SetUpperCase();
	m_NomeMacroEdit.SetUpperCase();
	SetFormTitle(Testo("Editazione formula"));
}

BOOL Kvz_CFormulaDoc::OnOpenDocument(const DocInvocationInfo* pInfo)
{
	if (!pInfo)
		return FALSE;
	m_pCaller = DynamicDownCast<Kvz_CUtilizzaFormuleDoc>(pInfo->m_pCallerDocument);
	if (!m_pCaller)
	{
		ASSERT_RELEASE_FAILED("0", "Kvz_CFormulaDoc::OnOpenDocument", kSource);
		return FALSE;
	}
	SetContext(m_pCaller->GetDescrizione(), m_pCaller->GetEsercizio(), m_pCaller->GetModello(),
			   m_pCaller->GetTipoCodCheUtilizza(), m_pCaller->GetCodiceCheUtilizza(), m_pCaller->GetDescrizioneRiga(),
			   m_pCaller->GetTipoRiga());
	if (m_pCaller->GetModificaMacro())
	{
		m_bModificaMacro = TRUE;
		m_NomeMacroEdit = m_pCaller->GetNomeMacro();
		Kvz_TRAnagMacro r(this);
		if (r.FindRecord(m_Esercizio, m_NomeMacroEdit, m_Modello) == TableReader::FOUND)
		{
			m_Formula = r.GetRecord()->f_Formula;
			m_NoteMacro = r.GetRecord()->f_Annotazioni;
		}
	}
	m_bInserimentoMacro = m_pCaller->GetInserimentoMacro();
	m_bSalvaComeMacro = m_bInserimentoMacro;
	if (m_bInserimentoMacro)
		m_NoteMacro = m_DescrizioneRiga;

	m_pCtrlCaller = m_pCaller->GetCtrlFormula();
	m_nPosizFormula = m_pCtrlCaller ? m_pCtrlCaller->GetPos() : m_pCaller->GetPosizFormula();
	// A position outside the row's formulas would count past the counters.
	if (m_nPosizFormula < 0 || m_nPosizFormula >= KVZ_NUM_POSIZ_FORMULA)
	{
		AfxMessageBox(CString::Formatted(Testo("Posizione della formula %d non valida (0-10)."), m_nPosizFormula),
					  MB_OK | MB_ICONERROR);
		return FALSE;
	}
	m_pDataCaller = m_pCaller->GetPStrFormula();
	if (!m_bModificaMacro)
	{
		if (m_pDataCaller)
			m_Formula = *m_pDataCaller;
		else if (m_pCtrlCaller)
			m_Formula = DataStr(m_pCtrlCaller->GetCtrlText());
	}
	auto* pEditore = DynamicDownCast<Kvz_CFormulaDoc>(m_pCaller);
	m_pCounterOwner = pEditore ? pEditore->m_pCounterOwner : m_pCaller;
	if (pEditore)
		pEditore->m_pEditorMacro = this;
	else
		m_pCaller->SetCalledDoc(this);
	if (m_pCaller->GetMasterFrame())
		m_pCaller->GetMasterFrame()->EnableWindow(FALSE);
	return Kvz_CUtilizzaFormuleDoc::OnOpenDocument(pInfo);
}

void Kvz_CFormulaDoc::DisableControlsForBatch()
{
	m_NomeMacroEdit.SetReadOnly(m_bModificaMacro);
}

void Kvz_CFormulaDoc::RiempiListBoxSimboli()
{
	if (!m_pListaSimboli)
		return;
	BeginWaitCursor();
	m_pListaSimboli->Empty();
	std::vector<Kvz_SimboliToSortElem> elems;
	try
	{
		Kvz_TAnagSimboli rec;
		SqlTable t(&rec, GetReadOnlySqlSession(), this);
		t.Open(FALSE);
		t.SelectAll();
		t.AddParam("p3", rec.f_Esercizio);
		t.AddFilterColumn(rec.f_Esercizio);
		t.AddParam("p2", rec.f_ModelloRiclassific);
		t.AddFilterColumn(rec.f_ModelloRiclassific);
		if (!m_bTuttiTipi)
		{
			t.AddParam("p1", rec.f_TipoSimbolo);
			t.AddFilterColumn(rec.f_TipoSimbolo);
			t.SetParamValue("p1", m_TipoLista);
		}
		t.AddSortColumn(rec.f_NomeSimbolo);
		t.SetParamValue("p3", m_Esercizio);
		t.SetParamValue("p2", m_Modello);
		for (t.Query(); !t.IsEOF(); t.MoveNext())
			elems.emplace_back(rec.f_TipoSimbolo, rec.f_NomeSimbolo);
		t.Close();
		// Each kind listed: its descriptions in one reading.
		std::map<int, std::map<CString, CString>> perTipo;
		auto descrizioni = [&](int nTipo) -> const std::map<CString, CString>& {
			auto [it, bNuovo] = perTipo.try_emplace(nTipo);
			SqlSession* pSession = bNuovo ? GetReadOnlySqlSession() : nullptr;
			if (bNuovo)
				switch (nTipo)
				{
				case 0: it->second = DescrizioniDelTipo<Kvz_TSimboliPianoBase>(pSession, m_Esercizio, m_Modello); break;
				case 1: it->second = DescrizioniDelTipo<Kvz_TSimboliCodiciExtracont>(pSession, m_Esercizio, m_Modello); break;
				case 3: it->second = DescrizioniDelTipo<Kvz_TSimboliCodiciRiclass>(pSession, m_Esercizio, m_Modello); break;
				case 6: it->second = DescrizioniDelTipo<Kvz_TSimboliOutputRiclass>(pSession, m_Esercizio, m_Modello); break;
				default: break;
				}
			return it->second;
		};
		for (Kvz_SimboliToSortElem& e : elems)
		{
			const auto& delTipo = descrizioni(static_cast<int>(e.m_TipoSimbolo.GetItemValue()));
			auto found = delTipo.find(Kvz_New_MngFormula::ChiaveTesto(e.m_NomeSimbolo.GetString()));
			if (found != delTipo.end())
				e.m_Descrizione = found->second;
		}
	}
	catch (const SqlException& e)
	{
		AfxMessageBox(e.GetMessage(), MB_OK | MB_ICONERROR);
	}
	// What was read before an error is still listed.
	std::stable_sort(elems.begin(), elems.end(),
					 [](const auto& a, const auto& b) { return ComparaNomeSimbolo(a, b) < 0; });
	for (const Kvz_SimboliToSortElem& e : elems)
		m_pListaSimboli->AddSymbol(e.m_TipoSimbolo, e.m_NomeSimbolo, e.m_Descrizione);
	EndWaitCursor();
	UpdateDataView();
}

void Kvz_CFormulaDoc::RiempiListBoxMacro()
{
	if (!m_pListaMacro)
		return;
	BeginWaitCursor();
	m_pListaMacro->Empty();
	try
	{
		Kvz_TAnagMacro rec;
		SqlTable t(&rec, GetReadOnlySqlSession(), this);
		t.Open(FALSE);
		t.SelectAll();
		t.AddParam("p3", rec.f_Esercizio);
		t.AddFilterColumn(rec.f_Esercizio);
		t.AddParam("p2", rec.f_ModelloRiclassific);
		t.AddFilterColumn(rec.f_ModelloRiclassific);
		t.AddSortColumn(rec.f_NomeMacro);
		t.SetParamValue("p3", m_Esercizio);
		t.SetParamValue("p2", m_Modello);
		for (t.Query(); !t.IsEOF(); t.MoveNext())
			m_pListaMacro->AddSymbol(DataEnum(E_KVZ_TIPOSIMBOLO, 0), rec.f_NomeMacro, rec.f_Annotazioni);
		t.Close();
	}
	catch (const SqlException& e)
	{
		AfxMessageBox(e.GetMessage(), MB_OK | MB_ICONERROR);
	}
	EndWaitCursor();
	UpdateDataView();
}

void Kvz_CFormulaDoc::Tasto(const char* szTesto)
{
	Kvz_CListBoxFormula::InsertSymbol(szTesto, CString(), m_pBoxFormula, &m_Formula, 1);
}

void Kvz_CFormulaDoc::OnTutti()
{
	m_bTuttiTipi = TRUE;
	RiempiListBoxSimboli();
}

void Kvz_CFormulaDoc::FiltraTipo(WORD nTipo)
{
	m_bTuttiTipi = FALSE;
	m_TipoLista = DataEnum(E_KVZ_TIPOSIMBOLO, nTipo);
	RiempiListBoxSimboli();
}

void Kvz_CFormulaDoc::RicontaFormula(int* pnSimboli)
{
	m_pCounterOwner->CaricaCodiciFormula(m_Formula.GetString(), m_nPosizFormula, pnSimboli);
	m_pCounterOwner->CaricaContatoriGenerali();
}

void Kvz_CFormulaDoc::ApriDocSimbolo()
{
	const char* szNs = NamespaceDocSimbolo(m_TipoSimboloSelez.GetItemValue());
	if (!szNs)
		return;
	if (CPlvCommandInterface* pCmd = AfxGetPlvCmdManager())
		m_pDocSimbolo = pCmd->RunDocument(szNs, _T("Default"), nullptr, this);
}

void Kvz_CFormulaDoc::OnPropSimbolo()
{
	Kvz_SimboliArrayElem* pSel = m_pListaSimboli ? m_pListaSimboli->GetSelectedSymbol() : nullptr;
	if (!pSel)
	{
		AfxMessageBox(Testo("Selezionare un simbolo."));
		return;
	}
	RicontaFormula(nullptr);
	m_TipoSimboloSelez = pSel->m_TipoSimbolo;
	m_NomeSimboloSelez = pSel->m_NomeSimbolo;
	m_ModoDocSimbolo = DataEnum(E_KVZ_MODODOCSIMBOLO, 1);
	ApriDocSimbolo();
}

void Kvz_CFormulaDoc::OnNuovoSimbolo()
{
	// The count names the new symbol only; the field's position stays the formula's.
	RicontaFormula(&m_nNumSimboli);
	if (m_bTuttiTipi)
	{
		// No kind to take from the list: the user chooses it, or defines nothing.
		m_TipoSimboloSelez = DataEnum(E_KVZ_TIPOSIMBOLO, 0);
		Kvz_SceltaTipoSimboloDlg dlg(this, &m_TipoSimboloSelez);
		if (dlg.DoModal() != IDOK)
			return;
	}
	else
		m_TipoSimboloSelez = m_TipoLista;
	m_NomeSimboloSelez = DataStr();
	m_ModoDocSimbolo = DataEnum(E_KVZ_MODODOCSIMBOLO, 0);
	ApriDocSimbolo();
}

void Kvz_CFormulaDoc::OnDeleteSimbolo()
{
	Kvz_SimboliArrayElem* pSel = m_pListaSimboli ? m_pListaSimboli->GetSelectedSymbol() : nullptr;
	if (!pSel)
	{
		AfxMessageBox(Testo("Selezionare un simbolo."));
		return;
	}
	const DataEnum tipo = pSel->m_TipoSimbolo;
	const DataStr nome = pSel->m_NomeSimbolo;
	if (TrovatoNellaFormula(nome.GetString(), m_Formula))
	{
		AfxMessageBox(Testo("Per cancellare il simbolo rimuoverlo dalla formula."));
		return;
	}
	if (m_pCounterOwner->SimboloUtilizzato(nome.GetString()))
	{
		AfxMessageBox(Testo("Il simbolo risulta utilizzato da una o piu' formule. Cancellazione impossibile."));
		return;
	}
	if (AfxMessageBox(CString::Formatted(Testo("Si conferma la cancellazione del simbolo %s?"), nome.GetString().GetString()),
					  MB_YESNO) != IDYES)
		return;
	m_bSimboloCancellato = TRUE;
	try
	{
		SqlSession* pSession = GetUpdatableSqlSession();
		CancellaRigheSimbolo<Kvz_TAnagSimboli>(pSession, m_Esercizio, nome, m_Modello);
		switch (tipo.GetItemValue())
		{
		case 0:
			CancellaRigheSimbolo<Kvz_TSimboliPianoBase>(pSession, m_Esercizio, nome, m_Modello);
			CancellaRigheSimbolo<Kvz_TElencoContiSimboloPBase>(pSession, m_Esercizio, nome, m_Modello);
			break;
		case 1: CancellaRigheSimbolo<Kvz_TSimboliCodiciExtracont>(pSession, m_Esercizio, nome, m_Modello); break;
		case 3: CancellaRigheSimbolo<Kvz_TSimboliCodiciRiclass>(pSession, m_Esercizio, nome, m_Modello); break;
		case 6: CancellaRigheSimbolo<Kvz_TSimboliOutputRiclass>(pSession, m_Esercizio, nome, m_Modello); break;
		default: break;
		}
	}
	catch (const SqlException& e)
	{
		AfxMessageBox(e.GetMessage(), MB_OK | MB_ICONERROR);
	}
	RiempiListBoxSimboli();
}

void Kvz_CFormulaDoc::ApriEditorMacro()
{
	if (CPlvCommandInterface* pCmd = AfxGetPlvCmdManager())
		pCmd->RunDocument(KVZ_NS_FORMULA_EDITOR, _T("Default"), nullptr, this);
}

void Kvz_CFormulaDoc::OnPropMacro()
{
	Kvz_SimboliArrayElem* pSel = m_pListaMacro ? m_pListaMacro->GetSelectedSymbol() : nullptr;
	if (!pSel)
	{
		AfxMessageBox(Testo("Selezionare una macro."));
		return;
	}
	m_bModificaMacro = TRUE;
	m_bInserimentoMacro = FALSE;
	m_NomeMacro = pSel->m_NomeSimbolo;
	ApriEditorMacro();
}

void Kvz_CFormulaDoc::OnNuovaMacro()
{
	m_bModificaMacro = FALSE;
	m_bInserimentoMacro = TRUE;
	m_NomeMacro = DataStr();
	ApriEditorMacro();
}

void Kvz_CFormulaDoc::OnDeleteMacro()
{
	Kvz_SimboliArrayElem* pSel = m_pListaMacro ? m_pListaMacro->GetSelectedSymbol() : nullptr;
	if (!pSel)
	{
		AfxMessageBox(Testo("Selezionare una macro."));
		return;
	}
	const DataStr nome = pSel->m_NomeSimbolo;
	if (m_pCounterOwner->SimboloUtilizzato(nome.GetString()))
	{
		AfxMessageBox(Testo("La macro risulta utilizzata da una o piu' formule. Cancellazione impossibile."));
		return;
	}
	if (AfxMessageBox(CString::Formatted(Testo("Si conferma la cancellazione della macro %s?"), nome.GetString().GetString()),
					  MB_YESNO) != IDYES)
		return;
	try
	{
		Kvz_TUAnagMacro u(this);
		if (u.FindRecord(m_Esercizio, nome, m_Modello, FALSE) == TableReader::FOUND)
			u.DeleteRecord();
	}
	catch (const SqlException& e)
	{
		AfxMessageBox(e.GetMessage(), MB_OK | MB_ICONERROR);
	}
	RiempiListBoxMacro();
}

void Kvz_CFormulaDoc::OnSalvaComeMacroChanged()
{
	if (m_bSalvaComeMacro)
		m_NoteMacro = m_DescrizioneRiga;
	UpdateDataView();
}

BOOL Kvz_CFormulaDoc::ControllaSintassi()
{
	if (m_Formula.IsEmpty())
		return TRUE;
	GetMessages()->Clear();
	if (!ParseFormula(m_Formula.GetString(), m_NomeMacroEdit.GetString()))
	{
		GetMessages()->Add(Testo("Errore nella formula."));
		GetMessages()->Show();
		return FALSE;
	}
	return TRUE;
}

BOOL Kvz_CFormulaDoc::SalvaMacro()
{
	const CString strNome = m_NomeMacroEdit.GetString();
	if (strNome.IsEmpty())
	{
		AfxMessageBox(Testo("Indicare il nome della macro."));
		return FALSE;
	}
	for (int i = 0; i < strNome.GetLength(); ++i)
		if (strNome[i] == '\0' || !std::strchr(kCaratteriMacro, strNome[i]))
		{
			// The whole character, also when it takes more than one byte.
			int n = 1;
			while (i + n < strNome.GetLength() && (static_cast<unsigned char>(strNome[i + n]) & 0xC0) == 0x80)
				++n;
			AfxMessageBox(CString::Formatted(
				Testo("Carattere '%s' non ammesso. Il nome della macro puo' contenere soltanto numeri e lettere."),
				strNome.Mid(i, n).GetString()));
			return FALSE;
		}
	if (!ControllaSintassi())
		return FALSE;
	try
	{
		Kvz_TUAnagMacro u(this);
		if (u.FindRecord(m_Esercizio, m_NomeMacroEdit, m_Modello, FALSE) != TableReader::FOUND)
		{
			u.GetRecord()->f_NomeMacro = m_NomeMacroEdit;
			u.GetRecord()->f_DataCreazione = AfxGetApplicationDate();
		}
		Kvz_TAnagMacro* pRec = u.GetRecord();
		pRec->f_Formula = m_Formula;
		pRec->f_Annotazioni = m_NoteMacro;
		pRec->f_DataUltModifica = AfxGetApplicationDate();
		pRec->f_ModelloRiclassific = m_Modello;
		pRec->f_Esercizio = m_Esercizio;
		u.UpdateRecord();
	}
	catch (const SqlException& e)
	{
		AfxMessageBox(e.GetMessage(), MB_OK | MB_ICONERROR);
		return FALSE;
	}
	return TRUE;
}

void Kvz_CFormulaDoc::OnOK()
{
	m_bConfermato = TRUE;
	CloseDocument(TRUE);
}

void Kvz_CFormulaDoc::OnAnnulla()
{
	m_bConfermato = FALSE;
	CloseDocument(TRUE);
}

void Kvz_CFormulaDoc::OnCloseDocument()
{
	m_bValidazioneFallita = false;
	// A formula its document cannot change now (read-only, or a record only browsed) is only shown.
	const BOOL bScrivibile = !m_pDataCaller || m_pCaller->IsDataEditable(m_pDataCaller);
	if ((m_bConfermato || m_bSimboloCancellato) && bScrivibile)
	{
		const BOOL bOk = m_bModificaMacro || m_bSalvaComeMacro ? SalvaMacro() : ControllaSintassi();
		if (!bOk)
		{
			// The editor stays open on what the user wrote.
			m_bValidazioneFallita = true;
			m_bConfermato = FALSE;
			return;
		}
		const CString precedente =
			m_pDataCaller ? m_pDataCaller->GetString() : m_pCtrlCaller ? m_pCtrlCaller->GetCtrlText() : CString();
		if (m_pDataCaller)
		{
			*m_pDataCaller = m_Formula;
			m_pCaller->SetModifiedFlag();
		}
		else if (m_pCtrlCaller)
		{
			m_pCtrlCaller->UserInput(m_Formula.GetString());
			m_pCaller->SetModifiedFlag();
		}
		// A model row's budget formulas follow its main formula as when it is typed in the grid.
		if (auto* pModello = DynamicDownCast<Kvz_CDeRiclassificazioniDoc>(m_pCaller); pModello && m_nPosizFormula == 0)
			pModello->SeguiFormulaPrincipale(precedente);
		m_pCaller->CaricaCodiciFormula(m_Formula.GetString(), m_nPosizFormula);
		m_pCaller->CaricaContatoriGenerali();
		m_pCaller->m_bContatoriModificati = TRUE;
	}
	// A symbol document still open on this editor no longer hands anything back to it.
	if (auto* pSimbolo = DynamicDownCast<Kvz_CPropSimboloDoc>(m_pDocSimbolo))
		pSimbolo->SetFormulaDoc(nullptr);
	m_pDocSimbolo = nullptr;
	if (auto* pEditore = DynamicDownCast<Kvz_CFormulaDoc>(m_pCaller))
	{
		if (pEditore->m_bInserimentoMacro)
			pEditore->RiempiListBoxMacro();
		pEditore->m_bModificaMacro = FALSE;
		pEditore->m_bInserimentoMacro = FALSE;
		pEditore->m_NomeMacro = DataStr();
		pEditore->m_pEditorMacro = nullptr;
	}
	else
		m_pCaller->SetCalledDoc(nullptr);
	if (m_pCaller->GetMasterFrame())
		m_pCaller->GetMasterFrame()->EnableWindow(TRUE);
	m_pCaller->UpdateDataView();
	m_pCaller->Activate(nullptr, FALSE);
	Kvz_CUtilizzaFormuleDoc::OnCloseDocument();
}

// ---- Kvz_CFormulaView --------------------------------------------------------------------

void Kvz_CFormulaView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_CFormulaDoc*>(GetDocument());
	pDoc->m_pListaSimboli = static_cast<Kvz_CListBoxFormula*>(
		AddLink(IDC_FRM_SIMBOLI, _T("Simboli definiti"), RUNTIME_CLASS(Kvz_CListBoxFormula), nullptr));
	pDoc->m_pListaMacro = static_cast<Kvz_CListBoxFormula*>(
		AddLink(IDC_FRM_MACRO, _T("Macro definite"), RUNTIME_CLASS(Kvz_CListBoxFormula), nullptr));
	pDoc->m_pBoxFormula = static_cast<Kvz_CFormulaContainer*>(
		AddLink(IDC_FRM_FORMULA, _T("Formula :"), RUNTIME_CLASS(Kvz_CFormulaContainer), &pDoc->m_Formula));
	AddLink(IDC_FRM_NOME_MACRO, _T("Nome macro:"), RUNTIME_CLASS(CStrEdit), &pDoc->m_NomeMacroEdit);
	AddLink(IDC_FRM_NOTE_MACRO, _T("Note"), RUNTIME_CLASS(CStrEdit), &pDoc->m_NoteMacro);
	AddLink(IDC_FRM_SAVE_AS_MACRO, _T("Salva come macro"), RUNTIME_CLASS(CBoolButton), &pDoc->m_bSalvaComeMacro);
	const struct
	{
		UINT id;
		const char* testo;
	} bottoni[] = {
		{IDC_FRM_PROP_SIMBOLO, "Proprieta' del simbolo"}, {IDC_FRM_NUOVO_SIMBOLO, "Definisci nuovo simbolo"},
		{IDC_FRM_ELIMINA_SIMBOLO, "Elimina simbolo"},	  {IDC_FRM_PROP_MACRO, "Proprieta' della macro"},
		{IDC_FRM_NUOVA_MACRO, "Definisci nuova macro"},	  {IDC_FRM_ELIMINA_MACRO, "Elimina macro"},
		{IDC_FRM_TUTTI, "Tutti"},						  {IDC_FRM_PIANO_BASE, "Piano base"},
		{IDC_FRM_EXTRACONTABILI, "Extracontabili"},		  {IDC_FRM_RICLASSIFICATI, "Riclassificati"},
		{IDC_FRM_RISULTATO, "Risultato"},				  {IDC_FRM_TASTO_0, "0"},
		{IDC_FRM_TASTO_1, "1"},							  {IDC_FRM_TASTO_1 + 1, "2"},
		{IDC_FRM_TASTO_1 + 2, "3"},						  {IDC_FRM_TASTO_1 + 3, "4"},
		{IDC_FRM_TASTO_1 + 4, "5"},						  {IDC_FRM_TASTO_1 + 5, "6"},
		{IDC_FRM_TASTO_1 + 6, "7"},						  {IDC_FRM_TASTO_1 + 7, "8"},
		{IDC_FRM_TASTO_1 + 8, "9"},						  {IDC_FRM_TASTO_APERTA, "("},
		{IDC_FRM_TASTO_CHIUSA, ")"},					  {IDC_FRM_TASTO_PIU, "+"},
		{IDC_FRM_TASTO_MENO, "--"},						  {IDC_FRM_TASTO_PER, "*"},
		{IDC_FRM_TASTO_DIVISO, "/"},					  {IDC_FRM_OK, "OK"},
		{IDC_FRM_ANNULLA, "Annulla"},
	};
	for (const auto& b : bottoni)
		AddLink(b.id, b.testo, RUNTIME_CLASS(CExtButton), &pDoc->m_bSempre);
	const struct
	{
		UINT id;
		const char* testo;
		DataObj* pData;
	} contesto[] = {
		{IDC_FRM_DESCR_DOCUMENTO, "Documento", const_cast<DataStr*>(&pDoc->GetDescrizione())},
		{IDC_FRM_ESERCIZIO, "Esercizio", const_cast<DataInt*>(&pDoc->GetEsercizio())},
		{IDC_FRM_MODELLO, "Modello", const_cast<DataStr*>(&pDoc->GetModello())},
		{IDC_FRM_CODICE, "Riga", const_cast<DataStr*>(&pDoc->GetCodiceCheUtilizza())},
		{IDC_FRM_TIPORIGA, "Tipo riga", const_cast<DataEnum*>(&pDoc->GetTipoRiga())},
		{IDC_FRM_DESCR_RIGA, "Descrizione riga", const_cast<DataStr*>(&pDoc->GetDescrizioneRiga())},
	};
	for (const auto& c : contesto)
		AddLink(c.id, c.testo, dynamic_cast<DataInt*>(c.pData) ? RUNTIME_CLASS(CIntStatic) : RUNTIME_CLASS(CStrStatic),
				c.pData);
}

void Kvz_CFormulaView::OnInitialUpdate()
{
	CMasterFormView::OnInitialUpdate();
	auto* pDoc = static_cast<Kvz_CFormulaDoc*>(GetDocument());
	for (Kvz_CListBoxFormula* pLista : {pDoc->m_pListaSimboli, pDoc->m_pListaMacro})
		pLista->Attach(pDoc->m_pBoxFormula, &pDoc->m_Formula);
	pDoc->m_pListaSimboli->SetPrefix("_");
	pDoc->m_pListaMacro->SetPrefix("__");
	pDoc->RiempiListBoxSimboli();
	pDoc->RiempiListBoxMacro();
}
