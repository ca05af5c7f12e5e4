#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_CDeAnagContiDoc.h"

#include "kvznet/kvzmod/kvzcomponents/GestIds.h"
#include "kvznet/kvzmod/kvzcomponents/Kvz_NuovoPianoBase.h"
#include "kvznet/kvzmod/kvzdbl/KvzDblLunghezze.h"
#include "kvznet/kvzmod/kvzdbl/KvzNetSettings.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodiciBudget.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRighe.h"
#include "platform/erp/erpledgerdbl/TCostCenters.h"
#include "platform/erp/erpledgerdbl/TJobs.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlException.h"

namespace {
const char* const kSource = "Kvz_CDeAnagContiDoc";

bool IsPatrimoniale(const DataEnum& aTipoConto)
{
	return aTipoConto.GetItemValue() == 1;
}

bool IsCommessa(const DataEnum& aTipo)
{
	return aTipo.GetItemValue() == 1;
}

// The host's ledger types: an economic account is a cost or a revenue, a balance-sheet one any
// of the others.
constexpr WORD kMastroAttivita = 0;
constexpr WORD kMastroCosti = 3;
constexpr WORD kMastroRicavi = 4;

bool MastroDelTipo(const DataEnum& aTipoConto, const DataEnum& aTipoMastro)
{
	const bool bEconomico = aTipoMastro.GetItemValue() == kMastroCosti || aTipoMastro.GetItemValue() == kMastroRicavi;
	return bEconomico != IsPatrimoniale(aTipoConto);
}

// What a new account's ledger type becomes when the one it has does not fit its account type.
DataEnum MastroProposto(const DataEnum& aTipoConto)
{
	return DataEnum(E_TIPOMASTRO, IsPatrimoniale(aTipoConto) ? kMastroAttivita : kMastroCosti);
}

// The rules of the other registers on the year, the code and the description. A value of a
// stored account that breaks them (a longer code or description the import took from the
// host's chart) is kept as it is: that field is left without its rule while the account is shown.
void ApplicaRegoleCampi(Kvz_TAnagContiKvz& rec, bool bNuovo)
{
	auto regola = [&](DataObj& campo, const FieldRule& r) {
		campo.SetFieldRule(r);
		if (!bNuovo && !CheckFieldRule(campo, CString(), false).IsEmpty())
			campo.SetFieldRule(FieldRule());
	};
	regola(rec.f_Esercizio, {FieldRule::YEAR, 0, true});
	regola(rec.f_ContoKvz, {FieldRule::CODE, kKvzLenCodice, true});
	regola(rec.f_Descrizione, {FieldRule::TEXT, kKvzLenDescrizione, false});
}
}  // namespace

// ---- master record buffer ----------------------------------------------------------------------

Kvz_DBTDeAnagConti::Kvz_DBTDeAnagConti(CRuntimeClass* pClass, CAbstractFormDoc* pDocument)
	: DBTMaster(pClass, pDocument, _T("DBTDeAnagConti"))
{
}

void Kvz_DBTDeAnagConti::OnDefineQuery()
{
	Kvz_TAnagContiKvz* pRec = GetAnagConti();
	m_pTable->SelectAll();
	m_pTable->AddParam("p2", pRec->f_Esercizio);
	m_pTable->AddFilterColumn(pRec->f_Esercizio);
	m_pTable->AddParam("p1", pRec->f_ContoKvz);
	m_pTable->AddFilterColumn(pRec->f_ContoKvz);
}

void Kvz_DBTDeAnagConti::OnPrepareQuery()
{
	m_pTable->SetParamValue("p2", GetAnagConti()->f_Esercizio);
	m_pTable->SetParamValue("p1", GetAnagConti()->f_ContoKvz);
}

void Kvz_DBTDeAnagConti::OnEnableControlsForFind()
{
	Kvz_TAnagContiKvz* pRec = GetAnagConti();
	for (DataObj* p : {static_cast<DataObj*>(&pRec->f_Esercizio), static_cast<DataObj*>(&pRec->f_ContoKvz),
					   static_cast<DataObj*>(&pRec->f_TipoConto), static_cast<DataObj*>(&pRec->f_TipoMastro),
					   static_cast<DataObj*>(&pRec->f_Descrizione), static_cast<DataObj*>(&pRec->f_ContoCollegato)})
		p->SetFindable(TRUE);
	// A search may name any account the import wrote, however long its code or description.
	pRec->f_Esercizio.SetFieldRule(FieldRule::AnYear());
	pRec->f_ContoKvz.SetFieldRule(FieldRule());
	pRec->f_Descrizione.SetFieldRule(FieldRule());
}

void Kvz_DBTDeAnagConti::OnDisableControlsForEdit()
{
	Kvz_TAnagContiKvz* pRec = GetAnagConti();
	pRec->f_Esercizio.SetReadOnly(TRUE);
	pRec->f_ContoKvz.SetReadOnly(TRUE);
	pRec->f_TipoConto.SetReadOnly(TRUE);
	pRec->f_TipoMastro.SetReadOnly(TRUE);
	ApplicaRegolaTipoConto();
}

void Kvz_DBTDeAnagConti::OnDisableControlsForAddNew()
{
	ApplicaRegolaTipoConto();
}

void Kvz_DBTDeAnagConti::ApplicaRegolaTipoConto()
{
	Kvz_TAnagContiKvz* pRec = GetAnagConti();
	const BOOL bPatrimoniale = IsPatrimoniale(pRec->f_TipoConto);
	pRec->f_InversioneSegno.SetReadOnly(bPatrimoniale);
	pRec->f_ContoCollegato.SetReadOnly(bPatrimoniale);
}

BOOL Kvz_DBTDeAnagConti::OnCheckPrimaryKey()
{
	Kvz_TAnagContiKvz* pRec = GetAnagConti();
	return !((pRec->f_Esercizio.IsEmpty() || pRec->f_ContoKvz.IsEmpty()) &&
			 SetError(AfxLoadSourceString(_T("Indicare sia l'esercizio che il codice conto."), kSource)));
}

// Browsing walks the accounts of the application date's year.
void Kvz_DBTDeAnagConti::OnPrepareBrowser(SqlTable* pTable)
{
	Kvz_TAnagContiKvz* pRec = GetAnagConti();
	pTable->SelectAll();
	pTable->AddParam("p2", pRec->f_Esercizio);
	pTable->AddFilterColumn(pRec->f_Esercizio);
	pTable->SetParamValue("p2", DataInt(AfxGetApplicationDate().Year()));
	pTable->AddSortColumn(pRec->f_ContoKvz);
}

// A search may name any year: the year is one of its criteria.
void Kvz_DBTDeAnagConti::OnPrepareFindQuery(SqlTable* pTable)
{
	Kvz_TAnagContiKvz* pRec = GetAnagConti();
	pTable->SelectAll();
	pTable->AddSortColumn(pRec->f_Esercizio);
	pTable->AddSortColumn(pRec->f_ContoKvz);
}

// ---- split rows --------------------------------------------------------------------------------

Kvz_DBTCentriCommesse::Kvz_DBTCentriCommesse(CRuntimeClass* pClass, CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(pClass, pDocument, _T("DBTCentriCommesse"), TRUE, TRUE)
{
}

Kvz_TAnagContiKvz* Kvz_DBTCentriCommesse::GetMasterRecord() const
{
	return static_cast<Kvz_TAnagContiKvz*>(GetMaster()->GetRecord());
}

Kvz_TCentriCommesseContiKvz* Kvz_DBTCentriCommesse::GetCentroCommessa(int nRow) const
{
	return static_cast<Kvz_TCentriCommesseContiKvz*>(GetRow(nRow));
}

Kvz_TCentriCommesseContiKvz* Kvz_DBTCentriCommesse::GetCurrentRecord() const
{
	SqlRecord* p = GetCurrentRow();
	ASSERT_RELEASE_TRACE(!p || p->IsKindOf((Kvz_TCentriCommesseContiKvz::GetThisClass())),
						 "Kvz_DBTCentriCommesse::GetCurrentRecord", kSource);
	return static_cast<Kvz_TCentriCommesseContiKvz*>(p);
}

void Kvz_DBTCentriCommesse::OnDefineQuery()
{
	auto* pRec = static_cast<Kvz_TCentriCommesseContiKvz*>(GetRecord());
	m_pTable->SelectAll();
	m_pTable->AddParam("p2", pRec->f_Esercizio);
	m_pTable->AddFilterColumn(pRec->f_Esercizio);
	m_pTable->AddParam("p1", pRec->f_ContoKvz);
	m_pTable->AddFilterColumn(pRec->f_ContoKvz);
	m_pTable->AddSortColumn(pRec->f_CentroCommessa);
}

void Kvz_DBTCentriCommesse::OnPrepareQuery()
{
	m_pTable->SetParamValue("p2", GetMasterRecord()->f_Esercizio);
	m_pTable->SetParamValue("p1", GetMasterRecord()->f_ContoKvz);
}

void Kvz_DBTCentriCommesse::OnPreparePrimaryKey(int, SqlRecord* pRec)
{
	auto* pRow = static_cast<Kvz_TCentriCommesseContiKvz*>(pRec);
	const Kvz_TAnagContiKvz* pMaster = GetMasterRecord();
	pRow->f_Esercizio = pMaster->f_Esercizio;
	pRow->f_ContoKvz = pMaster->f_ContoKvz;
	if (pMaster->f_InseritoManualmente)
		pRow->f_InseritoManualmente = TRUE;
}

// A row holding anything must name its cost centre or job: without a code it would stand for
// the whole account in the base plan.
BOOL Kvz_DBTCentriCommesse::OnCheckPrimaryKey(int nRow, SqlRecord* pRec)
{
	auto* pRow = static_cast<Kvz_TCentriCommesseContiKvz*>(pRec);
	return !(pRow->f_CentroCommessa.IsEmpty() &&
			 SetError(CString::Formatted(
				 AfxLoadSourceString(_T("Riga %d: indicare il codice del centro di costo o della commessa."), kSource),
				 nRow + 1)));
}

void Kvz_DBTCentriCommesse::OnPrepareRow(int nRow, SqlRecord* pRec)
{
	if (nRow < 1)
		return;
	if (Kvz_TCentriCommesseContiKvz* pAbove = GetCentroCommessa(nRow - 1))
		static_cast<Kvz_TCentriCommesseContiKvz*>(pRec)->f_Tipo = pAbove->f_Tipo;
}

BOOL Kvz_DBTCentriCommesse::OnBeforeDeleteRow(int nRow)
{
	if (Kvz_TCentriCommesseContiKvz* pRow = GetCentroCommessa(nRow))
	{
		m_CodiceCancellato = pRow->f_CentroCommessa;
		m_TipoCancellato = pRow->f_Tipo;
	}
	return TRUE;
}

void Kvz_DBTCentriCommesse::OnAfterDeleteRow(int)
{
	if (!GetMasterRecord()->f_AggiungiCdcCommAuto || m_CodiceCancellato.IsEmpty())
		return;
	// Shown as it is; no is the answer nobody gives, as the deletion elsewhere commits at once.
	if (AfxMessageBox(_T("Cancellare i centri e le commesse su tutti i conti con il flag?"),
					  MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES)
		static_cast<Kvz_CDeAnagContiDoc*>(GetDocument())->CancellaCdcComm();
}

DataObj* Kvz_DBTCentriCommesse::GetDuplicateKeyPos(SqlRecord* pRec)
{
	return &static_cast<Kvz_TCentriCommesseContiKvz*>(pRec)->f_CentroCommessa;
}

BOOL Kvz_DBTCentriCommesse::IsEmptyData(SqlRecord* pRec)
{
	auto* pRow = static_cast<Kvz_TCentriCommesseContiKvz*>(pRec);
	const DataPerc perc;
	return pRow->f_CentroCommessa.IsEmpty() && pRow->f_Descrizione.IsEmpty() && perc.IsZero(pRow->f_PercRipartizione) &&
		   perc.IsZero(pRow->f_PercRipartizioneBudget);
}

// ---- grid --------------------------------------------------------------------------------------

void Kvz_CentriCommesseBodyEdit::Customize()
{
	auto* pDoc = static_cast<Kvz_CDeAnagContiDoc*>(GetDBT()->GetDocument());
	auto* pRec = static_cast<Kvz_TCentriCommesseContiKvz*>(GetDBT()->GetRecord());
	AddColumn(IDC_ANAGCONTI_CC_TIPO, _T("Tipo"), AfxLoadSourceString(_T("Tipo"), kSource), RUNTIME_CLASS(CEnumCombo),
			  pRec->f_Tipo, 12);
	ColumnInfo* pCodice =
		AddColumn(IDC_ANAGCONTI_CC_CODICE, _T("Codice"), AfxLoadSourceString(_T("Codice"), kSource),
				  RUNTIME_CLASS(CStrEdit), pRec->f_CentroCommessa, 12, 1, pDoc->m_pHKLJobs);
	AddColumn(IDC_ANAGCONTI_CC_DESCRIZIONE, _T("Descrizione"), AfxLoadSourceString(_T("Descrizione"), kSource),
			  RUNTIME_CLASS(CStrEdit), pRec->f_Descrizione, 32);
	AddColumn(IDC_ANAGCONTI_CC_RIPARTIZIONE, _T("Ripartizione"), AfxLoadSourceString(_T("% ripartizione"), kSource),
			  RUNTIME_CLASS(CPercEdit), pRec->f_PercRipartizione, 8);
	AddColumn(IDC_ANAGCONTI_CC_RIPARTIZIONE_BUDGET, _T("RipartizioneBudget"),
			  AfxLoadSourceString(_T("% ripartizione budget"), kSource), RUNTIME_CLASS(CPercEdit),
			  pRec->f_PercRipartizioneBudget, 8);
	SetMultipleLinesPerRow(TRUE);
	pDoc->m_pCodiceCtrl = pCodice ? pCodice->GetParsedCtrl() : nullptr;
}

// ---- document ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(Kvz_CDeAnagContiDoc, CAbstractFormDoc)
	ON_EN_VALUE_CHANGED(IDC_ANAGCONTI_ESERCIZIO, OnTipoContoChanged)
	ON_EN_VALUE_CHANGED(IDC_ANAGCONTI_CONTO, OnTipoContoChanged)
	ON_EN_VALUE_CHANGED(IDC_ANAGCONTI_TIPOCONTO, OnTipoContoChanged)
	ON_EN_VALUE_CHANGED(IDC_ANAGCONTI_COLLEGATO, OnContoCollegatoChanged)
	ON_EN_VALUE_CHANGED(IDC_ANAGCONTI_CC_TIPO, OnTipoRigaChanged)
	ON_BEN_ROW_CHANGED(IDC_ANAGCONTI_CENTRI, OnTipoRigaChanged)
	ON_EN_VALUE_CHANGED(IDC_ANAGCONTI_CC_CODICE, OnCodiceRigaChanged)
END_MESSAGE_MAP()

Kvz_CDeAnagContiDoc::Kvz_CDeAnagContiDoc() : m_Teste(&m_Testa, nullptr, this) {}

Kvz_CDeAnagContiDoc::~Kvz_CDeAnagContiDoc()
{
	if (m_Teste.IsOpen())
		m_Teste.Close();
	delete m_pIdMng;
	delete m_pNumMng;
}

Kvz_TAnagContiKvz* Kvz_CDeAnagContiDoc::GetAnagConti() const
{
	return m_pDBTDeAnagConti ? m_pDBTDeAnagConti->GetAnagConti() : nullptr;
}

BOOL Kvz_CDeAnagContiDoc::OnAttachData()
{
	SetFormTitle(AfxLoadSourceString(_T("Anagrafica conti raggruppati"), kSource));

	m_pHKLContiKvz = new KVZ_HKLAnagContiKvz();
	m_pHKLCodiciBudget = new Kvz_HKLCodiciBudget();
	m_pHKLJobs = new HKLJobs();
	m_pHKLCostCenters = new HKLCostCenters();
	// A split names a cost centre or job of the host: a base plan of an unknown one stands for nothing.
	m_pHKLJobs->MustExistData(TRUE);
	m_pHKLCostCenters->MustExistData(TRUE);
	Attach(m_pHKLContiKvz, CString());
	Attach(m_pHKLCodiciBudget, CString());
	Attach(m_pHKLJobs, CString());
	Attach(m_pHKLCostCenters, CString());

	m_pDBTDeAnagConti = new Kvz_DBTDeAnagConti(RUNTIME_CLASS(Kvz_TAnagContiKvz), this);
	m_pDBTCentriCommesse = new Kvz_DBTCentriCommesse(RUNTIME_CLASS(Kvz_TCentriCommesseContiKvz), this);
	m_pDBTCentriCommesse->SetPreloadStep(-1);
	m_pDBTDeAnagConti->Attach(m_pDBTCentriCommesse);

	m_pIdMng = new Kvz_IDManager(DataEnum(E_KVZ_SPECIEARCHIVIO, 0), this);
	m_pNumMng = new Kvz_NumNonFiscManager(DataEnum(E_KVZ_TIPODOCUMENTO, 0), this);

	m_Teste.SetSqlSession(GetUpdatableSqlSession());
	m_Teste.SetAutocommit(TRUE);

	return Attach(m_pDBTDeAnagConti);
}

BOOL Kvz_CDeAnagContiDoc::OnPrepareAuxData()
{
	Kvz_TAnagContiKvz* pRec = GetAnagConti();
	ApplicaRegoleCampi(*pRec, GetFormMode() == NEW);
	if (GetFormMode() == NEW)
	{
		const int nAnno = AfxGetApplicationYear();
		pRec->f_Esercizio = nAnno ? nAnno : AfxGetApplicationDate().Year();
		CKvzNetSettings settings;
		pRec->f_TipoConto = DataEnum(E_TIPOCONTO, settings.GetDatiPrecTipoConto().GetItemValue());
		pRec->f_TipoMastro = DataEnum(E_TIPOMASTRO, settings.GetDatiPrecNaturaDelConto().GetItemValue());
		if (!MastroDelTipo(pRec->f_TipoConto, pRec->f_TipoMastro))
			pRec->f_TipoMastro = MastroProposto(pRec->f_TipoConto);
		pRec->f_InseritoManualmente = TRUE;
		pRec->f_ProponiInAssest = TRUE;
		pRec->f_ModifInAssest = TRUE;
		// The field states were set before the remembered type came in.
		m_pDBTDeAnagConti->ApplicaRegolaTipoConto();
	}

	m_pHKLContiKvz->SetSelTipoConto(IsPatrimoniale(pRec->f_TipoConto) ? KVZ_HKLAnagContiKvz::ECONOMICI
																	   : KVZ_HKLAnagContiKvz::PATRIMONIALI);
	m_pHKLContiKvz->SetSelEsercizio(pRec->f_Esercizio);

	Kvz_TRAnagContiKvz conti(this);
	m_DesContoCollegato = conti.FindRecord(pRec->f_Esercizio, pRec->f_ContoCollegato) == TableReader::FOUND
							  ? conti.GetRecord()->f_Descrizione
							  : DataStr();

	m_pHKLCodiciBudget->FindRecord(&pRec->f_CodiceBudget, FALSE, FALSE, FALSE);

	if (GetFormMode() != BROWSE && m_pDBTCentriCommesse->GetSize() > 0 && m_pCodiceCtrl)
		m_pCodiceCtrl->ReattachHotKeyLink(LookupDelTipo(m_pDBTCentriCommesse->GetCentroCommessa(0)->f_Tipo), FALSE);
	return TRUE;
}

HotKeyLink* Kvz_CDeAnagContiDoc::LookupDelTipo(const DataEnum& aTipo) const
{
	return IsCommessa(aTipo) ? static_cast<HotKeyLink*>(m_pHKLJobs) : static_cast<HotKeyLink*>(m_pHKLCostCenters);
}

void Kvz_CDeAnagContiDoc::ApplicaSelezioneCollegato(BOOL bAzzeraInversione)
{
	Kvz_TAnagContiKvz* pRec = GetAnagConti();
	m_pHKLContiKvz->SetSelEsercizio(pRec->f_Esercizio);
	if (pRec->f_TipoConto.GetItemValue() == 0)
		m_pHKLContiKvz->SetSelTipoConto(KVZ_HKLAnagContiKvz::PATRIMONIALI);
	else
	{
		m_pHKLContiKvz->SetSelTipoConto(KVZ_HKLAnagContiKvz::ECONOMICI);
		if (bAzzeraInversione)
			pRec->f_InversioneSegno = FALSE;
	}
}

void Kvz_CDeAnagContiDoc::OnTipoContoChanged()
{
	Kvz_TAnagContiKvz* pRec = GetAnagConti();
	m_pDBTDeAnagConti->ApplicaRegolaTipoConto();
	// A new account's ledger type follows its account type.
	if (GetFormMode() == NEW && !MastroDelTipo(pRec->f_TipoConto, pRec->f_TipoMastro))
		pRec->f_TipoMastro = MastroProposto(pRec->f_TipoConto);
	if (IsPatrimoniale(pRec->f_TipoConto))
	{
		pRec->f_ContoCollegato.Clear();
		m_DesContoCollegato.Clear();
	}
	ApplicaSelezioneCollegato(TRUE);
	UpdateDataView();
}

void Kvz_CDeAnagContiDoc::OnContoCollegatoChanged()
{
	m_DesContoCollegato = GetAnagConti()->f_ContoCollegato.IsEmpty() || !m_pHKLContiKvz->IsFound()
							  ? DataStr()
							  : m_pHKLContiKvz->GetRecord()->f_Descrizione;
	UpdateDataView();
}

void Kvz_CDeAnagContiDoc::OnTipoRigaChanged()
{
	if (m_pCodiceCtrl)
		if (Kvz_TCentriCommesseContiKvz* pRow = m_pDBTCentriCommesse->GetCurrentRecord())
			m_pCodiceCtrl->ReattachHotKeyLink(LookupDelTipo(pRow->f_Tipo), FALSE);
	UpdateDataView();
}

void Kvz_CDeAnagContiDoc::OnCodiceRigaChanged()
{
	if (Kvz_TCentriCommesseContiKvz* pRow = m_pDBTCentriCommesse->GetCurrentRecord())
	{
		HotKeyLink* pLookup = LookupDelTipo(pRow->f_Tipo);
		// The lookup of the other type may be the control's still: the description is read
		// from the one that names the row's type.
		const BOOL bTrovato = pLookup->FindRecord(&pRow->f_CentroCommessa, FALSE, FALSE, FALSE);
		if (IsCommessa(pRow->f_Tipo))
			pRow->f_Descrizione = bTrovato ? m_pHKLJobs->GetRecord()->f_Description : DataStr();
		else
			pRow->f_Descrizione = bTrovato ? m_pHKLCostCenters->GetRecord()->f_Description : DataStr();
		pRow->f_InseritoManualmente = TRUE;
	}
	UpdateDataView();
}

// ---- saving ------------------------------------------------------------------------------------

BOOL Kvz_CDeAnagContiDoc::OnOkTransaction()
{
	// A new account whose code its year already has: refused with the reason before the
	// alignment or the base plan writes anything, or a counter is taken.
	if (GetFormMode() == NEW)
	{
		const Kvz_TAnagContiKvz* pRec = GetAnagConti();
		if (!MastroDelTipo(pRec->f_TipoConto, pRec->f_TipoMastro))
		{
			AfxMessageBox(CString::Formatted(
							  IsPatrimoniale(pRec->f_TipoConto)
								  ? AfxLoadSourceString(_T("Il tipo mastro %s non e' di un conto patrimoniale."), kSource)
								  : AfxLoadSourceString(
										_T("Il tipo mastro %s non e' di un conto economico: indicare Costi o Ricavi."),
										kSource),
							  pRec->f_TipoMastro.FormatData().GetString()),
						  MB_OK | MB_ICONWARNING);
			SetCtrlFocus(pRec->f_TipoMastro);
			return FALSE;
		}
		try
		{
			Kvz_TRAnagContiKvz conti(this);
			if (conti.FindRecord(pRec->f_Esercizio, pRec->f_ContoKvz) == TableReader::FOUND)
			{
				AfxMessageBox(CString::Formatted(AfxLoadSourceString(_T("Il conto %s esercizio %s esiste gia'."), kSource),
												 pRec->f_ContoKvz.GetString().GetString(),
												 pRec->f_Esercizio.FormatData().GetString()),
							  MB_OK | MB_ICONWARNING);
				SetCtrlFocus(pRec->f_ContoKvz);
				return FALSE;
			}
		}
		catch (const SqlException& e)
		{
			e.ShowError();
			return FALSE;
		}
	}
	if (GetAnagConti()->f_AggiungiCdcCommAuto)
	{
		switch (AfxMessageBox(AfxLoadSourceString(_T("Allineare i centri e le commesse su tutti i conti con il flag?"),
												  kSource),
							  MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON3))
		{
		case IDYES: AllineaCdcComm(); break;
		case IDNO: return TRUE;
		default: return FALSE;
		}
	}
	if (!CreaPianoBase())
		return FALSE;
	if (GetFormMode() == NEW)
		SalvaDatiPrecedenti();
	return TRUE;
}

void Kvz_CDeAnagContiDoc::SalvaDatiPrecedenti()
{
	const Kvz_TAnagContiKvz* pRec = GetAnagConti();
	CKvzNetSettings settings;
	settings.SetDatiPrecEsercizio(pRec->f_Esercizio, TRUE);
	settings.SetDatiPrecTipoConto(pRec->f_TipoConto, TRUE);
	settings.SetDatiPrecNaturaDelConto(pRec->f_TipoMastro, TRUE);
}

template <class Fn>
void Kvz_CDeAnagContiDoc::PerOgniContoConFlag(const char* method, Fn fn)
{
	const Kvz_TAnagContiKvz* pMaster = GetAnagConti();
	Kvz_TAnagContiKvz conto;
	SqlTable conti(&conto, GetReadOnlySqlSession(), this);
	try
	{
		conti.Open(FALSE, FALSE, TRUE);
		conti.SelectAll();
		conti.AddParam("p2", conto.f_Esercizio);
		conti.AddFilterColumn(conto.f_Esercizio);
		conti.AddParam("p1", conto.f_AggiungiCdcCommAuto);
		conti.AddFilterColumn(conto.f_AggiungiCdcCommAuto);
		conti.SetParamValue("p2", pMaster->f_Esercizio);
		conti.SetParamValue("p1", DataBool(TRUE));
		for (conti.Query(); !conti.IsEOF(); conti.MoveNext())
			if (conto.f_ContoKvz.GetString().CompareNoCase(pMaster->f_ContoKvz.GetString()) != 0)
				fn(conto.f_ContoKvz);
	}
	catch (const SqlException& e)
	{
		// What was written before the failure stays written.
		ASSERT_RELEASE_TRACE(e.IsKindOf((SqlException::GetThisClass())), method, kSource);
		e.ShowError(_T(""));
	}
	if (conti.IsOpen())
		conti.Close();
}

void Kvz_CDeAnagContiDoc::AllineaCdcComm()
{
	Kvz_TUCentriCommesseContiKvz cdc;
	cdc.SetSqlSession(GetUpdatableSqlSession());
	cdc.SetAutocommit(TRUE);
	const Kvz_TAnagContiKvz* pMaster = GetAnagConti();
	PerOgniContoConFlag("Kvz_CDeAnagContiDoc::AllineaCdcComm", [&](const DataStr& aConto) {
		for (int i = 0; i < m_pDBTCentriCommesse->GetSize(); ++i)
		{
			const Kvz_TCentriCommesseContiKvz* pRow = m_pDBTCentriCommesse->GetCentroCommessa(i);
			if (pRow->f_CentroCommessa.IsEmpty())
				continue;
			if (cdc.FindRecord(pMaster->f_Esercizio, aConto, pRow->f_CentroCommessa, pRow->f_Tipo, FALSE) !=
				TableReader::NOT_FOUND)
				continue;
			Kvz_TCentriCommesseContiKvz* pNew = cdc.GetRecord();
			pNew->f_Esercizio = pMaster->f_Esercizio;
			pNew->f_ContoKvz = aConto;
			pNew->f_CentroCommessa = pRow->f_CentroCommessa;
			pNew->f_Tipo = pRow->f_Tipo;
			pNew->f_Descrizione = pRow->f_Descrizione;
			cdc.UpdateRecord();
		}
	});
}

void Kvz_CDeAnagContiDoc::CancellaCdcComm()
{
	Kvz_TUCentriCommesseContiKvz cdc;
	cdc.SetSqlSession(GetUpdatableSqlSession());
	cdc.SetAutocommit(TRUE);
	const Kvz_TAnagContiKvz* pMaster = GetAnagConti();
	PerOgniContoConFlag("Kvz_CDeAnagContiDoc::CancellaCdcComm", [&](const DataStr& aConto) {
		if (cdc.FindRecord(pMaster->f_Esercizio, aConto, m_pDBTCentriCommesse->m_CodiceCancellato,
						   m_pDBTCentriCommesse->m_TipoCancellato, FALSE) == TableReader::FOUND)
			cdc.DeleteRecord();
	});
}

long Kvz_CDeAnagContiDoc::TrovaTesta(const DataInt& aEsercizio, const DataStr& aConto, const DataEnum& aTipo,
									 const DataStr& aCdcComm)
{
	if (!m_Teste.IsOpen())
	{
		m_Teste.Open(TRUE, FALSE, TRUE);
		m_Teste.SelectAll();
		m_Teste.AddParam("Anno", m_Testa.f_Esercizio);
		m_Teste.AddFilterColumn(m_Testa.f_Esercizio);
		m_Teste.AddParam("Conto", m_Testa.f_ContoKvz);
		m_Teste.AddFilterColumn(m_Testa.f_ContoKvz);
		m_Teste.AddParam("CdcComm", m_Testa.f_CentroCommessa);
		m_Teste.AddFilterColumn(m_Testa.f_CentroCommessa);
		m_Teste.AddParam("Tipo", m_Testa.f_TipoCentroComm);
		m_Teste.AddFilterColumn(m_Testa.f_TipoCentroComm);
	}
	m_Teste.SetParamValue("Anno", aEsercizio);
	m_Teste.SetParamValue("Conto", aConto);
	m_Teste.SetParamValue("Tipo", DataEnum(E_KVZ_TIPOCENTROCOMM, aTipo.GetItemValue()));
	m_Teste.SetParamValue("CdcComm", aCdcComm);
	m_Teste.Query();
	return m_Teste.IsEOF() ? -1 : static_cast<long>(m_Testa.f_IDPianoBase);
}

DataLng Kvz_CDeAnagContiDoc::CercaIDPianoBase(const DataInt& aEsercizio, const DataStr& aConto, const DataEnum& aTipo,
											  const DataStr& aCdcComm)
{
	DataLng id = -1L;
	try
	{
		id = TrovaTesta(aEsercizio, aConto, aTipo, aCdcComm);
	}
	catch (const SqlException& e)
	{
		ASSERT_RELEASE_TRACE(e.IsKindOf((SqlException::GetThisClass())), "Kvz_CDeAnagContiDoc::CercaIDPianoBase",
							 kSource);
		e.ShowError(_T(""));
	}
	if (m_Teste.IsOpen())
		m_Teste.Close();
	return id;
}

// SQL errors here are the save's: its transaction handling reports them.
BOOL Kvz_CDeAnagContiDoc::CreaPianoBase()
{
	const Kvz_TAnagContiKvz* pMaster = GetAnagConti();
	const DataDate oggi = AfxGetApplicationDate();
	Jex_TUPianoBaseRighe righe;
	righe.SetSqlSession(GetUpdatableSqlSession());
	righe.SetAutocommit(TRUE);
	BOOL bOk = TRUE;
	for (int i = 0; i < m_pDBTCentriCommesse->GetSize() && bOk; ++i)
	{
		const Kvz_TCentriCommesseContiKvz* pRow = m_pDBTCentriCommesse->GetCentroCommessa(i);
		if (!pRow->f_InseritoManualmente || pRow->f_CentroCommessa.IsEmpty())
			continue;
		DataLng id = TrovaTesta(pMaster->f_Esercizio, pMaster->f_ContoKvz, pRow->f_Tipo, pRow->f_CentroCommessa);
		if (long(id) == -1)
		{
			// A header without its identifier or number would stand for nothing: none is written,
			// and the account is not saved.
			m_Testa.Init();
			if (!Kvz_NumeraNuovoPianoBase(m_Testa, oggi, *m_pIdMng, *m_pNumMng))
			{
				GetMessages()->Add(
					CString::Formatted(AfxLoadSourceString(_T("Impossibile numerare il piano base del conto %s, %s %s: "
															  "il conto non e' stato salvato."),
														   kSource),
									   pMaster->f_ContoKvz.GetString().GetString(),
									   IsCommessa(pRow->f_Tipo) ? "commessa" : "centro di costo",
									   pRow->f_CentroCommessa.GetString().GetString()),
					CMessages::MSG_ERROR);
				bOk = FALSE;
				break;
			}
			Kvz_ChiaviTestaPianoBase(m_Testa, pMaster->f_Esercizio, pMaster->f_ContoKvz, pRow->f_CentroCommessa,
									 pRow->f_Tipo);
			m_Teste.AddNew(FALSE);
			m_Teste.Update();
			id = m_Testa.f_IDPianoBase;
		}
		for (int nMese = 1; nMese <= 12; ++nMese)
		{
			if (righe.FindRecord(id, DataInt(nMese), FALSE) == TableReader::FOUND)
				continue;
			Kvz_PreparaRigaPianoBase(*righe.GetRecord(), id, nMese, pMaster->f_Esercizio, pMaster->f_ContoKvz,
									 pRow->f_CentroCommessa, pRow->f_Tipo, pMaster->f_TipoMastro);
			righe.UpdateRecord();
		}
	}
	if (m_Teste.IsOpen())
		m_Teste.Close();
	return bOk;
}

// ---- form --------------------------------------------------------------------------------------

void Kvz_CDeAnagContiView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_CDeAnagContiDoc*>(GetDocument());
	Kvz_TAnagContiKvz* pRec = pDoc->GetAnagConti();
	AddLink(IDC_ANAGCONTI_ESERCIZIO, _T("Esercizio"), RUNTIME_CLASS(CIntEdit), &pRec->f_Esercizio);
	AddLink(IDC_ANAGCONTI_CONTO, _T("ContoKvz"), RUNTIME_CLASS(CStrEdit), &pRec->f_ContoKvz);
	AddLink(IDC_ANAGCONTI_TIPOCONTO, _T("TipoConto"), RUNTIME_CLASS(CEnumCombo), &pRec->f_TipoConto);
	AddLink(IDC_ANAGCONTI_TIPOMASTRO, _T("TipoMastro"), RUNTIME_CLASS(CEnumCombo), &pRec->f_TipoMastro);
	AddLink(IDC_ANAGCONTI_DESCRIZIONE, _T("Descrizione"), RUNTIME_CLASS(CStrEdit), &pRec->f_Descrizione);
	AddLink(IDC_ANAGCONTI_COLLEGATO, _T("ContoCollegato"), RUNTIME_CLASS(CStrEdit), &pRec->f_ContoCollegato,
			pDoc->m_pHKLContiKvz);
	AddLink(IDC_ANAGCONTI_DES_COLLEGATO, _T("LINK_DES_CONTO_COLL"), RUNTIME_CLASS(CStrStatic), &pDoc->m_DesContoCollegato);
	SetLabels({{_T("LINK_DES_CONTO_COLL"), _T("Descrizione conto collegato")}});
	AddLink(IDC_ANAGCONTI_PROPONI, _T("ProponiInAssest"), RUNTIME_CLASS(CBoolButton), &pRec->f_ProponiInAssest);
	AddLink(IDC_ANAGCONTI_MODIFICABILE, _T("ModifInAssest"), RUNTIME_CLASS(CBoolButton), &pRec->f_ModifInAssest);
	AddLink(IDC_ANAGCONTI_INVERSIONE, _T("InversioneSegno"), RUNTIME_CLASS(CBoolButton), &pRec->f_InversioneSegno);
	AddLink(IDC_ANAGCONTI_BUDGET, _T("CodiceBudget"), RUNTIME_CLASS(CStrEdit), &pRec->f_CodiceBudget,
			pDoc->m_pHKLCodiciBudget);
	AddLink(IDC_ANAGCONTI_DES_BUDGET, _T("LINK_DES_COD_BUDGET"), RUNTIME_CLASS(CStrStatic),
			&pDoc->m_pHKLCodiciBudget->GetRecord()->f_Descrizione);
	SetLabels({{_T("LINK_DES_COD_BUDGET"), _T("Descrizione codice budget")}});
	AddLink(IDC_ANAGCONTI_CDCCOMM_AUTO, _T("AggiungiCdcCommAuto"), RUNTIME_CLASS(CBoolButton),
			&pRec->f_AggiungiCdcCommAuto);
	// Linked under their columns' names, which --set still takes.
	SetLabels({{_T("ContoKvz"), _T("Conto Kvz")},
			   {_T("TipoConto"), _T("Tipo conto")},
			   {_T("TipoMastro"), _T("Tipo mastro")},
			   {_T("ContoCollegato"), _T("Conto collegato")},
			   {_T("ProponiInAssest"), _T("Da proporre in assestamento")},
			   {_T("ModifInAssest"), _T("Da modificare in assestamento")},
			   {_T("InversioneSegno"), _T("Invertire il segno in passaggio assestamenti")},
			   {_T("CodiceBudget"), _T("Codice budget")},
			   {_T("AggiungiCdcCommAuto"), _T("Centri e commesse comuni ai conti con il flag")}});
	AddLink(IDC_ANAGCONTI_CENTRI, _T("Centri/Commesse"), RUNTIME_CLASS(Kvz_CentriCommesseBodyEdit),
			pDoc->GetCentriCommesse());
}
