#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_CDeCodExtracontDoc.h"

#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TElencoContiSimboloPBase.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CopiaSimboli.h"
#include "kvznet/kvzmod/kvzdocuments/formule/FormulaCtrl.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgenlib/LibraryEntry.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const char* const kSource = "DeCodExtracont";
const char* const kNsContatori = "KvzNet.KvzMod.KvzDocuments.BDViewContatori";

const DataEnum kTipoExtracont(E_KVZ_TIPOSIMBOLO, KVZ_CONTATORE_EXTRACONT);
const DataEnum kTipoBudgetDescrizioni(E_KVZ_TIPOBUDGET, 3);
const DataEnum kTipoRigaMese(E_KVZ_TIPORIGA, 0);

CString Testo(LPCTSTR sz)
{
	return AfxLoadSourceString(sz, kSource);
}

// The eleven formulas of a month row, by formula index.
DataStr* Formula(Kvz_TCodExtracontabili& r, int nIndice)
{
	DataStr* formule[KVZ_NUM_POSIZ_FORMULA] = {&r.f_Formula,  &r.f_Formula1, &r.f_Formula2, &r.f_Formula3,
											   &r.f_Formula4, &r.f_Formula5, &r.f_Formula6, &r.f_Formula7,
											   &r.f_Formula8, &r.f_Formula9, &r.f_Formula10};
	return formule[nIndice];
}

CString NomeColonna(int nIndice)
{
	return nIndice == 0 ? CString("Formula") : CString::Formatted("Formula%d", nIndice);
}

using kvz_copia::CopiaSimboli;
using kvz_copia::LeggiSimboli;
using kvz_copia::RiportaValori;
}  // namespace

// ---- header ------------------------------------------------------------------------------------

Kvz_DBTContiKvzTesta::Kvz_DBTContiKvzTesta(CAbstractFormDoc* pDocument)
	: DBTMaster(Kvz_TCodExtracontabiliTesta::GetThisClass(), pDocument, _T("DBTContiKvzTesta"))
{
}

Kvz_TCodExtracontabiliTesta* Kvz_DBTContiKvzTesta::GetTesta() const
{
	return static_cast<Kvz_TCodExtracontabiliTesta*>(GetRecord());
}

void Kvz_DBTContiKvzTesta::OnEnableControlsForFind()
{
	GetTesta()->f_Esercizio.SetFindable(TRUE);
	GetTesta()->f_CodExtracont.SetFindable(TRUE);
}

void Kvz_DBTContiKvzTesta::OnDisableControlsForEdit()
{
	GetTesta()->f_Esercizio.SetReadOnly(TRUE);
	GetTesta()->f_CodExtracont.SetReadOnly(TRUE);
}

void Kvz_DBTContiKvzTesta::OnDefineQuery()
{
	Kvz_TCodExtracontabiliTesta* pRec = GetTesta();
	m_pTable->SelectAll();
	m_pTable->AddParam(_T("p2"), pRec->f_Esercizio);
	m_pTable->AddFilterColumn(pRec->f_Esercizio);
	m_pTable->AddParam(_T("p1"), pRec->f_CodExtracont);
	m_pTable->AddFilterColumn(pRec->f_CodExtracont);
}

void Kvz_DBTContiKvzTesta::OnPrepareQuery()
{
	m_pTable->SetParamValue(_T("p2"), GetTesta()->f_Esercizio);
	m_pTable->SetParamValue(_T("p1"), GetTesta()->f_CodExtracont);
}

BOOL Kvz_DBTContiKvzTesta::OnCheckPrimaryKey()
{
	return !((GetTesta()->f_Esercizio.IsEmpty() || GetTesta()->f_CodExtracont.IsEmpty()) &&
			 SetError(Testo(_T("Indicare sia l'esercizio che il codice extracontabile."))));
}

void Kvz_DBTContiKvzTesta::OnPrepareBrowser(SqlTable* pTable)
{
	pTable->SelectAll();
	pTable->AddSortColumn(GetTesta()->f_Esercizio);
	pTable->AddSortColumn(GetTesta()->f_CodExtracont);
}

// ---- month rows --------------------------------------------------------------------------------

Kvz_DBTCodExtracont::Kvz_DBTCodExtracont(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(Kvz_TCodExtracontabili::GetThisClass(), pDocument, _T("DBTCodExtracont"), TRUE, TRUE)
{
}

Kvz_TCodExtracontabili* Kvz_DBTCodExtracont::GetRiga(int nRow) const
{
	return static_cast<Kvz_TCodExtracontabili*>(GetRow(nRow));
}

Kvz_TCodExtracontabili* Kvz_DBTCodExtracont::GetCurrentRecord() const
{
	SqlRecord* pRow = GetCurrentRow();
	ASSERT_RELEASE_TRACE(!pRow || pRow->IsKindOf((Kvz_TCodExtracontabili::GetThisClass())),
						 "Kvz_DBTCodExtracont::GetCurrentRecord", kSource);
	return DynamicDownCast<Kvz_TCodExtracontabili>(pRow);
}

void Kvz_DBTCodExtracont::OnDefineQuery()
{
	auto* pRec = static_cast<Kvz_TCodExtracontabili*>(GetRecord());
	m_pTable->SelectAll();
	m_pTable->AddParam(_T("p2"), pRec->f_Esercizio);
	m_pTable->AddFilterColumn(pRec->f_Esercizio);
	m_pTable->AddParam(_T("p1"), pRec->f_CodExtracont);
	m_pTable->AddFilterColumn(pRec->f_CodExtracont);
	m_pTable->AddSortColumn(pRec->f_Mese);
}

void Kvz_DBTCodExtracont::OnPrepareQuery()
{
	auto* pTesta = static_cast<Kvz_CDeCodExtracontDoc*>(GetDocument())->GetTesta();
	m_pTable->SetParamValue(_T("p2"), pTesta->f_Esercizio);
	m_pTable->SetParamValue(_T("p1"), pTesta->f_CodExtracont);
}

void Kvz_DBTCodExtracont::OnPreparePrimaryKey(int, SqlRecord* pRec)
{
	auto* pTesta = static_cast<Kvz_CDeCodExtracontDoc*>(GetDocument())->GetTesta();
	auto* pRiga = static_cast<Kvz_TCodExtracontabili*>(pRec);
	pRiga->f_Esercizio = pTesta->f_Esercizio;
	pRiga->f_CodExtracont = pTesta->f_CodExtracont;
}

// A new row takes the month after the row above it; past December it has none, and the save
// says so.
void Kvz_DBTCodExtracont::OnPrepareRow(int nRow, SqlRecord* pRec)
{
	auto* pRiga = static_cast<Kvz_TCodExtracontabili*>(pRec);
	if (nRow <= 0)
		pRiga->f_Mese = 1;
	else if (Kvz_TCodExtracontabili* pPrec = GetRiga(nRow - 1))
	{
		const int nMese = pPrec->f_Mese.GetValue() + 1;
		if (nMese > 12)
			pRiga->f_Mese.Clear(TRUE);
		else
			pRiga->f_Mese = nMese;
	}
	pRec->SetStorable();
}

DataObj* Kvz_DBTCodExtracont::GetDuplicateKeyPos(SqlRecord* pRec)
{
	ASSERT_RELEASE_TRACE(pRec && pRec->IsKindOf((Kvz_TCodExtracontabili::GetThisClass())),
						 "Kvz_DBTCodExtracont::GetDuplicateKeyPos", kSource);
	return pRec ? &static_cast<Kvz_TCodExtracontabili*>(pRec)->f_Mese : nullptr;
}

// ---- descriptions ------------------------------------------------------------------------------

Kvz_DBTDescrizioniExtrac::Kvz_DBTDescrizioniExtrac(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(Kvz_TDescrFormula::GetThisClass(), pDocument, _T("DBTDescrizioniExtrac"), TRUE, TRUE)
{
}

Kvz_TDescrFormula* Kvz_DBTDescrizioniExtrac::GetRiga(int nRow) const
{
	return static_cast<Kvz_TDescrFormula*>(GetRow(nRow));
}

void Kvz_DBTDescrizioniExtrac::OnDefineQuery()
{
	auto* pRec = static_cast<Kvz_TDescrFormula*>(GetRecord());
	m_pTable->SelectAll();
	m_pTable->AddParam(_T("p2"), pRec->f_Esercizio);
	m_pTable->AddFilterColumn(pRec->f_Esercizio);
	m_pTable->AddParam(_T("p3"), pRec->f_TipoCodice);
	m_pTable->AddFilterColumn(pRec->f_TipoCodice);
	m_pTable->AddParam(_T("p1"), pRec->f_Codice);
	m_pTable->AddFilterColumn(pRec->f_Codice);
	m_pTable->AddSortColumn(pRec->f_IndiceFormula);
	m_pTable->AddSortColumn(pRec->f_TipoBudget);
}

void Kvz_DBTDescrizioniExtrac::OnPrepareQuery()
{
	auto* pTesta = static_cast<Kvz_CDeCodExtracontDoc*>(GetDocument())->GetTesta();
	m_pTable->SetParamValue(_T("p2"), pTesta->f_Esercizio);
	m_pTable->SetParamValue(_T("p3"), kTipoExtracont);
	m_pTable->SetParamValue(_T("p1"), pTesta->f_CodExtracont);
}

void Kvz_DBTDescrizioniExtrac::OnPreparePrimaryKey(int, SqlRecord* pRec)
{
	auto* pTesta = static_cast<Kvz_CDeCodExtracontDoc*>(GetDocument())->GetTesta();
	auto* pRiga = static_cast<Kvz_TDescrFormula*>(pRec);
	pRiga->f_Esercizio = pTesta->f_Esercizio;
	pRiga->f_TipoCodice = kTipoExtracont;
	pRiga->f_Codice = pTesta->f_CodExtracont;
}

// ---- document ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(Kvz_CDeCodExtracontDoc, Kvz_CUtilizzaFormuleDoc)
	ON_EN_VALUE_CHANGED(IDC_EXTRA_COPIA_ESERCIZIO, OnEsercizioCopiaChanged)
	ON_EN_VALUE_CHANGED(IDC_EXTRA_R_FORMULA, OnFormulaChanged)
	ON_EN_VALUE_CHANGED(IDC_EXTRA_R_FORMULA + 1, OnFormula1Changed)
	ON_EN_VALUE_CHANGED(IDC_EXTRA_R_FORMULA + 2, OnFormula2Changed)
	ON_EN_VALUE_CHANGED(IDC_EXTRA_R_FORMULA + 3, OnFormula3Changed)
	ON_EN_VALUE_CHANGED(IDC_EXTRA_R_FORMULA + 4, OnFormula4Changed)
	ON_EN_VALUE_CHANGED(IDC_EXTRA_R_FORMULA + 5, OnFormula5Changed)
	ON_EN_VALUE_CHANGED(IDC_EXTRA_R_FORMULA + 6, OnFormula6Changed)
	ON_EN_VALUE_CHANGED(IDC_EXTRA_R_FORMULA + 7, OnFormula7Changed)
	ON_EN_VALUE_CHANGED(IDC_EXTRA_R_FORMULA + 8, OnFormula8Changed)
	ON_EN_VALUE_CHANGED(IDC_EXTRA_R_FORMULA + 9, OnFormula9Changed)
	ON_EN_VALUE_CHANGED(IDC_EXTRA_R_FORMULA + 10, OnFormula10Changed)
	ON_BEN_ROW_CHANGED(IDC_EXTRA_RIGHE, OnRigaCorrenteChanged)
	ON_COMMAND(ID_EXTRA_CONTATORI, OnVisualizzaContatori)
	ON_BN_CLICKED(IDC_EXTRA_EFFETTUA_COPIA, OnCopiaCodExtrac)
END_MESSAGE_MAP()

Kvz_TCodExtracontabiliTesta* Kvz_CDeCodExtracontDoc::GetTesta() const
{
	return static_cast<Kvz_DBTContiKvzTesta*>(GetMaster())->GetTesta();
}

BOOL Kvz_CDeCodExtracontDoc::OnAttachData()
{
	SetFormTitle(Testo(_T("Codici extracontabili")));
	// The counters are a command of the frame, not a control of the form.
	if (CBaseFrame* pFrame = GetMasterFrame())
		pFrame->AddToolbarCommand(ID_EXTRA_CONTATORI, Testo(_T("&Contatori")));
	auto* pTesta = new Kvz_DBTContiKvzTesta(this);
	m_pDBTMesi = new Kvz_DBTCodExtracont(this);
	m_pDBTDescrizioni = new Kvz_DBTDescrizioniExtrac(this);
	m_pDBTMesi->SetPreloadStep(-1);
	m_pDBTDescrizioni->SetPreloadStep(-1);
	pTesta->Attach(m_pDBTMesi);
	pTesta->Attach(m_pDBTDescrizioni);
	m_pHKLCopia = new KVZ_HKLCodiciExtracont;
	Attach(m_pHKLCopia);
	m_pHKLCopia->SetSelEsercizio(DataInt(AfxGetApplicationDate().Year()));
	return Attach(pTesta);
}

BOOL Kvz_CDeCodExtracontDoc::OnPrepareAuxData()
{
	Kvz_CUtilizzaFormuleDoc::OnPrepareAuxData();
	m_CopiaCodice.Clear(TRUE);
	m_CopiaFormule = FALSE;
	m_CopiaAbilitata = GetFormMode() == NEW;
	if (GetFormMode() == NEW)
	{
		Kvz_TCodExtracontabiliTesta* pTesta = GetTesta();
		pTesta->f_Esercizio = AfxGetApplicationDate().Year();
		m_CopiaEsercizio = pTesta->f_Esercizio;
		m_pHKLCopia->SetSelEsercizio(pTesta->f_Esercizio);
		m_pDBTMesi->RemoveAll();
		for (int nMese = 1; nMese <= 12; ++nMese)
		{
			auto* pRiga = static_cast<Kvz_TCodExtracontabili*>(m_pDBTMesi->AddRecord());
			pRiga->f_Mese = nMese;
			pRiga->SetStorable();
		}
		SetModifiedFlag();
	}
	if (m_pDBTMesi->GetSize() > 0)
		SetContestoRiga(*m_pDBTMesi->GetRiga(0));
	if (GetFormMode() == NEW || GetFormMode() == EDIT)
	{
		CaricaContatoriRighe();
		SvuotaContatoriGenerali();
		PreparaDescrizioniFormule();
	}
	return TRUE;
}

BOOL Kvz_CDeCodExtracontDoc::OnOkTransaction()
{
	// A new code its year already has: refused with the reason, not by the database's key.
	try
	{
		if (GetFormMode() == NEW && EsisteCodice())
		{
			SegnalaCodiceEsistente();
			return FALSE;
		}
	}
	catch (const SqlException& e)
	{
		e.ShowError();
		return FALSE;
	}
	for (int i = 0; i < m_pDBTMesi->GetSize(); ++i)
	{
		const DataInt& aMese = m_pDBTMesi->GetRiga(i)->f_Mese;
		if (aMese.IsEmpty() || aMese.GetValue() < 1 || aMese.GetValue() > 12)
		{
			AfxMessageBox(CString::Formatted(Testo(_T("Il mese alla riga %d non e' valido.")), i + 1));
			return FALSE;
		}
	}
	// The uses of the codes the months name go with the months, or the counters would show a
	// code used by a saved formula as unused.
	CaricaContatoriRighe();
	return SalvaContatori();
}

BOOL Kvz_CDeCodExtracontDoc::OnDeleteTransaction()
{
	// A code that goes takes its uses with it: no month is left to name them.
	SvuotaMapContatori();
	SvuotaContatoriGenerali();
	SetContestoRiga(Kvz_TCodExtracontabili());
	return SalvaContatori();
}

void Kvz_CDeCodExtracontDoc::OnGoInBrowseMode()
{
	m_CopiaAbilitata = FALSE;
}

void Kvz_CDeCodExtracontDoc::SetContestoRiga(const Kvz_TCodExtracontabili& aRiga)
{
	const Kvz_TCodExtracontabiliTesta* pTesta = GetTesta();
	SetContext(DataStr(Testo(_T("Codice extracontabile"))), pTesta->f_Esercizio, pTesta->f_CodExtracont,
			   kTipoExtracont, DataStr(CString::Formatted("mese%d", aRiga.f_Mese.GetValue())), DataStr(), kTipoRigaMese);
}

void Kvz_CDeCodExtracontDoc::CaricaContatoriRighe()
{
	SvuotaMapContatori();
	// The symbols as they are now: other processes may have written some since the months were typed.
	GetMngFormula()->SvuotaNomiValidazione();
	// The code's own context even when it has no months: its counters are the ones replaced.
	SetContestoRiga(Kvz_TCodExtracontabili());
	for (int i = 0; i < m_pDBTMesi->GetSize(); ++i)
	{
		Kvz_TCodExtracontabili* pRiga = m_pDBTMesi->GetRiga(i);
		SetContestoRiga(*pRiga);
		for (int nIndice = 0; nIndice < KVZ_NUM_POSIZ_FORMULA; ++nIndice)
			CaricaCodiciFormula(Formula(*pRiga, nIndice)->GetString(), nIndice);
	}
	CaricaContatoriGenerali();
}

void Kvz_CDeCodExtracontDoc::PreparaDescrizioniFormule()
{
	if (m_pDBTDescrizioni->GetSize() > 0)
		return;
	for (int nIndice = 0; nIndice < KVZ_NUM_POSIZ_FORMULA; ++nIndice)
	{
		auto* pRiga = static_cast<Kvz_TDescrFormula*>(m_pDBTDescrizioni->AddRecord());
		pRiga->f_TipoBudget = kTipoBudgetDescrizioni;
		pRiga->f_IndiceFormula = nIndice;
		pRiga->SetStorable();
	}
	UpdateDataView();
}

void Kvz_CDeCodExtracontDoc::AggiornaTitoliFormule()
{
	for (int nIndice = 0; nIndice < KVZ_NUM_POSIZ_FORMULA; ++nIndice)
	{
		ColumnInfo* pCol = m_pColonneFormula[nIndice];
		if (!pCol)
			continue;
		const Kvz_TDescrFormula* pDescr =
			nIndice < m_pDBTDescrizioni->GetSize() ? m_pDBTDescrizioni->GetRiga(nIndice) : nullptr;
		pCol->SetTitle(pDescr && !pDescr->f_Descrizione.IsEmpty() ? pDescr->f_Descrizione.GetString()
																  : Testo(NomeColonna(nIndice)));
	}
	if (m_pGrigliaMesi)
		m_pGrigliaMesi->RepaintBody();
	UpdateDataView();
}

void Kvz_CDeCodExtracontDoc::OnFormulaChanged()
{
	FormulaChanged(0);
}

void Kvz_CDeCodExtracontDoc::FormulaChanged(int nIndice)
{
	Kvz_TCodExtracontabili* pRiga = m_pDBTMesi->GetCurrentRecord();
	if (!pRiga)
		return;
	SetPStrFormula(Formula(*pRiga, nIndice));
	SetPosizFormula(nIndice);
	SetContestoRiga(*pRiga);
	Kvz_CUtilizzaFormuleDoc::OnFormulaChanged();
}

void Kvz_CDeCodExtracontDoc::OnRigaCorrenteChanged()
{
	if (Kvz_TCodExtracontabili* pRiga = m_pDBTMesi->GetCurrentRecord())
		SetContestoRiga(*pRiga);
}

BOOL Kvz_CDeCodExtracontDoc::EsisteCodice()
{
	Kvz_TCodExtracontabili aRiga;
	SqlTable aTable(&aRiga, GetReadOnlySqlSession());
	aTable.Open(FALSE, FALSE, TRUE);
	aTable.SelectAll();
	aTable.AddParam(_T("p2"), aRiga.f_Esercizio);
	aTable.AddFilterColumn(aRiga.f_Esercizio);
	aTable.AddParam(_T("p1"), aRiga.f_CodExtracont);
	aTable.AddFilterColumn(aRiga.f_CodExtracont);
	aTable.SetParamValue(_T("p2"), GetTesta()->f_Esercizio);
	aTable.SetParamValue(_T("p1"), GetTesta()->f_CodExtracont);
	aTable.Query();
	const BOOL bEsiste = !aTable.IsEOF();
	aTable.Close();
	return bEsiste;
}

void Kvz_CDeCodExtracontDoc::SegnalaCodiceEsistente()
{
	AfxMessageBox(CString::Formatted(Testo(_T("Il codice extracontabile %s esercizio %s esiste gia'.")),
									 GetTesta()->f_CodExtracont.GetString().GetString(),
									 GetTesta()->f_Esercizio.FormatData().GetString()));
	SetCtrlFocus(GetTesta()->f_CodExtracont);
}

void Kvz_CDeCodExtracontDoc::OnEsercizioCopiaChanged()
{
	if (EsisteCodice())
	{
		SegnalaCodiceEsistente();
		return;
	}
	m_pHKLCopia->SetSelEsercizio(m_CopiaEsercizio);
	UpdateDataView();
}

BOOL Kvz_CDeCodExtracontDoc::SimboloUtilizzato(CString strNome)
{
	for (int i = 0; i < m_pDBTMesi->GetSize(); ++i)
		for (int nIndice = 0; nIndice < KVZ_NUM_POSIZ_FORMULA; ++nIndice)
			if (TrovatoNellaFormula(strNome, *Formula(*m_pDBTMesi->GetRiga(i), nIndice)))
				return TRUE;
	return Kvz_CUtilizzaFormuleDoc::SimboloUtilizzato(strNome);
}

// Opened while editing, the counters show the months as they stand: written at once, every
// code the months name with its whole count, not only those whose formulas changed.
void Kvz_CDeCodExtracontDoc::OnVisualizzaContatori()
{
	if (GetFormMode() == NEW || GetFormMode() == EDIT)
	{
		CaricaContatoriGenerali();
		SalvaContatori();
	}
	m_pContatoriDoc = nullptr;
	if (CPlvCommandInterface* pCmd = AfxGetPlvCmdManager())
		m_pContatoriDoc = pCmd->RunDocument(kNsContatori, _T("Default"), nullptr, this);
}

// ---- copy --------------------------------------------------------------------------------------

void Kvz_CDeCodExtracontDoc::OnCopiaCodExtrac()
{
	Kvz_TCodExtracontabiliTesta* pTesta = GetTesta();
	auto rifiuta = [this](LPCTSTR szTesto, const DataObj& aFocus) {
		AfxMessageBox(Testo(szTesto));
		SetCtrlFocus(aFocus);
	};
	if (m_CopiaCodice.IsEmpty())
		return rifiuta(_T("Indicare il codice extracontabile da cui copiare."), m_CopiaCodice);
	if (pTesta->f_Esercizio.IsEmpty())
		return rifiuta(_T("Indicare l'esercizio."), pTesta->f_Esercizio);
	if (pTesta->f_CodExtracont.IsEmpty())
		return rifiuta(_T("Indicare il codice extracontabile."), pTesta->f_CodExtracont);
	if (EsisteCodice())
		return SegnalaCodiceEsistente();

	m_pDBTMesi->RemoveAll(FALSE);
	try
	{
		Kvz_TCodExtracontabili aLetta;
		SqlTable aTable(&aLetta, GetReadOnlySqlSession());
		aTable.Open(FALSE, FALSE, TRUE);
		aTable.SelectAll();
		aTable.AddParam(_T("p2"), aLetta.f_Esercizio);
		aTable.AddFilterColumn(aLetta.f_Esercizio);
		aTable.AddParam(_T("p1"), aLetta.f_CodExtracont);
		aTable.AddFilterColumn(aLetta.f_CodExtracont);
		aTable.AddSortColumn(aLetta.f_Mese);
		aTable.SetParamValue(_T("p2"), m_CopiaEsercizio);
		aTable.SetParamValue(_T("p1"), m_CopiaCodice);
		for (aTable.Query(); !aTable.IsEOF(); aTable.MoveNext())
		{
			auto* pRiga = static_cast<Kvz_TCodExtracontabili*>(m_pDBTMesi->AddRecord());
			pRiga->f_CodExtracont = aLetta.f_CodExtracont;
			pRiga->f_Mese = aLetta.f_Mese;
			if (m_CopiaFormule)
				for (int nIndice = 0; nIndice < KVZ_NUM_POSIZ_FORMULA; ++nIndice)
					*Formula(*pRiga, nIndice) = *Formula(aLetta, nIndice);
		}
		aTable.Close();
	}
	catch (const SqlException& e)
	{
		e.ShowError();
	}

	m_pDBTDescrizioni->RemoveAll(FALSE);
	try
	{
		Kvz_TDescrFormula aLetta;
		SqlTable aTable(&aLetta, GetReadOnlySqlSession());
		aTable.Open(FALSE, FALSE, TRUE);
		aTable.SelectAll();
		aTable.AddParam(_T("p2"), aLetta.f_Esercizio);
		aTable.AddFilterColumn(aLetta.f_Esercizio);
		aTable.AddParam(_T("p3"), aLetta.f_TipoCodice);
		aTable.AddFilterColumn(aLetta.f_TipoCodice);
		aTable.AddParam(_T("p1"), aLetta.f_Codice);
		aTable.AddFilterColumn(aLetta.f_Codice);
		aTable.AddSortColumn(aLetta.f_IndiceFormula);
		aTable.AddSortColumn(aLetta.f_TipoBudget);
		aTable.SetParamValue(_T("p2"), m_CopiaEsercizio);
		aTable.SetParamValue(_T("p3"), kTipoExtracont);
		aTable.SetParamValue(_T("p1"), m_CopiaCodice);
		for (aTable.Query(); !aTable.IsEOF(); aTable.MoveNext())
		{
			auto* pRiga = static_cast<Kvz_TDescrFormula*>(m_pDBTDescrizioni->AddRecord());
			*static_cast<SqlRecord*>(pRiga) = aLetta;
			pRiga->f_Esercizio = pTesta->f_Esercizio;
			pRiga->f_TipoCodice = kTipoExtracont;
			pRiga->f_Codice = pTesta->f_CodExtracont;
			pRiga->SetStorable();
		}
		aTable.Close();
	}
	catch (const SqlException& e)
	{
		e.ShowError();
	}

	if (m_CopiaFormule)
		CopiaTuttiISimboli();
	SetModifiedFlag();
	AggiornaTitoliFormule();
}

// The five tables are written in one transaction: a symbol never exists on the new code
// without its definition or its account list.
void Kvz_CDeCodExtracontDoc::CopiaTuttiISimboli()
{
	CPLVContext* pContext = GetContext();
	SqlSession* pSession = GetUpdatableSqlSession();
	if (!pContext || !pSession)
	{
		Message(Testo(_T("Simboli non copiati: nessuna connessione al database.")));
		return;
	}
	if (!pContext->StartTransaction())
	{
		Message(Testo(_T("Non è possibile aprire una nuova transazione.")));
		return;
	}
	const DataInt aEsOrig = m_CopiaEsercizio;
	const DataStr aCodOrig = m_CopiaCodice;
	const DataInt aEsDest = GetTesta()->f_Esercizio;
	const DataStr aCodDest = GetTesta()->f_CodExtracont;
	try
	{
		const DataDate aOggi = AfxGetApplicationDate();
		CopiaSimboli<Kvz_TAnagSimboli, Kvz_TUAnagSimboli>(pSession, aEsOrig, aCodOrig, aEsDest, aCodDest,
														  [&aOggi](Kvz_TAnagSimboli& r) {
															  r.f_DataCreazione = aOggi;
															  r.f_DataUltModifica = aOggi;
														  });
		CopiaSimboli<Kvz_TSimboliPianoBase, Kvz_TUSimboliPianoBase>(pSession, aEsOrig, aCodOrig, aEsDest, aCodDest,
																	[](Kvz_TSimboliPianoBase&) {});
		// The account lists are topped up also for symbols the target already had. A row is
		// known by its account and its cost centre or job: an account listed under two cost
		// centres keeps both rows.
		{
			Kvz_TRElencoContiSimboloPBase aTrovaConto(this);
			aTrovaConto.SetSqlSession(pSession);
			Kvz_TElencoContiSimboloPBase aNuovo;
			SqlTable aScrivi(&aNuovo, pSession);
			aScrivi.Open(TRUE, FALSE, TRUE);
			for (const auto& pConto : LeggiSimboli<Kvz_TElencoContiSimboloPBase>(pSession, aEsOrig, aCodOrig))
			{
				if (aTrovaConto.FindRecord(aEsDest, pConto->f_NomeSimbolo, aCodDest, pConto->f_ContoSelez,
										   pConto->f_TipoCentroComm, pConto->f_CentroCommessa) !=
					TableReader::NOT_FOUND)
					continue;
				aScrivi.AddNew(TRUE);
				aNuovo = *pConto;
				aNuovo.f_Esercizio = aEsDest;
				aNuovo.f_ModelloRiclassific = aCodDest;
				aScrivi.Update(nullptr, FALSE);
			}
			aScrivi.Close();
		}
		CopiaSimboli<Kvz_TSimboliCodiciExtracont, Kvz_TUSimboliCodiciExtracont>(
			pSession, aEsOrig, aCodOrig, aEsDest, aCodDest, [](Kvz_TSimboliCodiciExtracont&) {});
		CopiaSimboli<Kvz_TSimboliOutputRiclass, Kvz_TUSimboliOutputRiclass>(
			pSession, aEsOrig, aCodOrig, aEsDest, aCodDest,
			RiportaValori<Kvz_TSimboliOutputRiclass>(aCodOrig, aEsDest, aCodDest));
		CopiaSimboli<Kvz_TSimboliCodiciRiclass, Kvz_TUSimboliCodiciRiclass>(
			pSession, aEsOrig, aCodOrig, aEsDest, aCodDest,
			RiportaValori<Kvz_TSimboliCodiciRiclass>(aCodOrig, aEsDest, aCodDest));
		pContext->Commit();
	}
	catch (const std::exception& e)
	{
		pContext->Rollback();
		if (!dynamic_cast<const SqlException*>(&e))
			ASSERT_RELEASE_FAILED("e->IsKindOf((SqlException::GetThisClass()))",
								  "Kvz_CDeCodExtracontDoc::CopiaTuttiISimboli", kSource);
		Message(CString::Formatted(Testo(_T("Simboli non copiati: %s")), e.what()));
	}
}

// ---- form --------------------------------------------------------------------------------------

void Kvz_CodExtracontBodyEdit::Customize()
{
	auto* pDoc = static_cast<Kvz_CDeCodExtracontDoc*>(GetDBT()->GetDocument());
	auto* pRec = static_cast<Kvz_TCodExtracontabili*>(GetDBT()->GetRecord());
	AddColumn(IDC_EXTRA_R_MESE, _T("Mese"), Testo(_T("Mese")), RUNTIME_CLASS(CIntEdit), pRec->f_Mese, 4);
	for (int nIndice = 0; nIndice < KVZ_NUM_POSIZ_FORMULA; ++nIndice)
	{
		const CString strNome = NomeColonna(nIndice);
		ColumnInfo* pCol = AddColumn(IDC_EXTRA_R_FORMULA + static_cast<UINT>(nIndice), strNome, Testo(strNome),
									 RUNTIME_CLASS(Kvz_CFormulaEdit), *Formula(*pRec, nIndice), 32, 2);
		if (auto* pEdit = pCol ? DynamicDownCast<Kvz_CFormulaEdit>(pCol->GetParsedCtrl()) : nullptr)
			pEdit->SetPos(nIndice);
		pDoc->SetColonnaFormula(nIndice, pCol);
	}
	SetMultipleLinesPerRow(TRUE);
	pDoc->SetGrigliaMesi(this);
}

void Kvz_DescrizioniExtracBodyEdit::Customize()
{
	auto* pRec = static_cast<Kvz_TDescrFormula*>(GetDBT()->GetRecord());
	AddColumn(IDC_EXTRA_D_COLONNA, _T("ColonnaFormula"), Testo(_T("Colonna formula")), RUNTIME_CLASS(CIntStatic),
			  pRec->f_IndiceFormula, 4);
	AddColumn(IDC_EXTRA_D_DESCRIZIONE, _T("Descrizione"), Testo(_T("Descrizione")), RUNTIME_CLASS(CStrEdit),
			  pRec->f_Descrizione, 50);
}

void Kvz_ExtracontRigheDlg::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_CDeCodExtracontDoc*>(GetDocument());
	AddLink(IDC_EXTRA_RIGHE, Testo(_T("Mesi")), RUNTIME_CLASS(Kvz_CodExtracontBodyEdit),
			pDoc->GetDBTMesi());
}

BOOL Kvz_ExtracontRigheDlg::OnPrepareAuxData()
{
	static_cast<Kvz_CDeCodExtracontDoc*>(GetDocument())->AggiornaTitoliFormule();
	return TRUE;
}

void Kvz_ExtracontDescriDlg::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_CDeCodExtracontDoc*>(GetDocument());
	AddLink(IDC_EXTRA_DESCRIZIONI, Testo(_T("Descrizioni extracontabili")),
			RUNTIME_CLASS(Kvz_DescrizioniExtracBodyEdit), pDoc->GetDBTDescrizioni());
}

void Kvz_CDeCodExtracontView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_CDeCodExtracontDoc*>(GetDocument());
	Kvz_TCodExtracontabiliTesta* pRec = pDoc->GetTesta();
	AddLink(IDC_EXTRA_ESERCIZIO, Testo(_T("Esercizio")), RUNTIME_CLASS(CIntEdit), &pRec->f_Esercizio);
	AddLink(IDC_EXTRA_CODICE, Testo(_T("Codice")), RUNTIME_CLASS(CStrEdit), &pRec->f_CodExtracont);
	AddLink(IDC_EXTRA_DESCRIZIONE, Testo(_T("Descrizione")), RUNTIME_CLASS(CStrEdit), &pRec->f_Descrizione);
	AddLink(IDC_EXTRA_COPIA_ESERCIZIO, _T("EXTRA_COPIA_ESERCIZIO"), RUNTIME_CLASS(CIntEdit), &pDoc->m_CopiaEsercizio);
	SetLabels({{_T("EXTRA_COPIA_ESERCIZIO"), _T("Copia dall'esercizio")}});
	pDoc->m_CopiaEsercizio.SetFieldRule(FieldRule::AnYear());
	AddLink(IDC_EXTRA_COPIA_CODICE, _T("EXTRA_COPIA_CODICE"), RUNTIME_CLASS(CStrEdit), &pDoc->m_CopiaCodice,
			pDoc->GetHKLCopia());
	SetLabels({{_T("EXTRA_COPIA_CODICE"), _T("Copia dal codice")}});
	AddLink(IDC_EXTRA_COPIA_FORMULE, _T("EXTRA_COPIA_ANCHE_LE_FORMULE"), RUNTIME_CLASS(CBoolButton),
			&pDoc->m_CopiaFormule);
	SetLabels({{_T("EXTRA_COPIA_ANCHE_LE_FORMULE"), _T("Anche le formule")}});
	AddLink(IDC_EXTRA_EFFETTUA_COPIA, _T("EXTRA_EFFETTUA_COPIA"), RUNTIME_CLASS(CExtButton), &pDoc->m_CopiaAbilitata);
	auto* pTabber = static_cast<Kvz_CodExtracontTabber*>(
		AddLink(IDC_EXTRA_TABBER, Testo(_T("Codici extracontabili")), RUNTIME_CLASS(Kvz_CodExtracontTabber), nullptr));
	if (pTabber)
	{
		pTabber->AddDialog(RUNTIME_CLASS(Kvz_ExtracontRigheDlg), IDD_DECODEXTRACONT_RIGHE,
						   Testo(_T("Codici extracontabili")));
		pTabber->AddDialog(RUNTIME_CLASS(Kvz_ExtracontDescriDlg), IDD_DECODEXTRACONT_DESCRI,
						   Testo(_T("Descrizioni extracontabili")));
	}
}
