#include "platform/erp/erpbasedocuments/DChartOfAccounts.h"

#include "platform/erp/erpbasedbl/TChartOfAccountParameters.h"
#include "platform/erp/erpbasedbl/TLedgers.h"
#include "platform/plvgeneric/Application.h"

namespace {
const char* const kSource = "DChartOfAccounts";
}

// ---- record buffer -----------------------------------------------------------------------------

DBTChartOfAccounts::DBTChartOfAccounts(CAbstractFormDoc* pDocument)
	: DBTMaster(TChartOfAccounts::GetThisClass(), pDocument, "DBTChartOfAccounts")
{
}

void DBTChartOfAccounts::OnDefineQuery()
{
	m_pTable->SelectAll();
	m_pTable->AddParam("p1", GetChartOfAccounts()->f_Account);
	m_pTable->AddFilterColumn(GetChartOfAccounts()->f_Account);
}

void DBTChartOfAccounts::OnPrepareQuery()
{
	m_pTable->SetParamValue("p1", GetChartOfAccounts()->f_Account);
}

BOOL DBTChartOfAccounts::OnCheckPrimaryKey()
{
	return !(GetChartOfAccounts()->f_Account.IsEmpty() && SetError(szEmptyPrimaryKeySegment));
}

void DBTChartOfAccounts::OnEnableControlsForFind()
{
	GetChartOfAccounts()->f_Account.SetFindable(TRUE);
	GetChartOfAccounts()->f_Description.SetFindable(TRUE);
}

void DBTChartOfAccounts::OnDisableControlsForEdit()
{
	GetChartOfAccounts()->f_Account.SetReadOnly(TRUE);
	GetChartOfAccounts()->f_Ledger.SetReadOnly(TRUE);
}

void DBTChartOfAccounts::OnDisableControlsForAddNew()
{
	GetChartOfAccounts()->f_Ledger.SetReadOnly(TRUE);
}

// ---- documents ---------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(DChartOfAccounts, CAbstractFormDoc)
	ON_EN_VALUE_CHANGED(IDC_COA_ACCOUNT, OnAccountChanged)
	ON_EN_VALUE_CHANGED(IDC_COA_LEDGER, OnLedgerChanged)
END_MESSAGE_MAP()

TChartOfAccounts* DChartOfAccounts::GetChartOfAccounts() const
{
	return static_cast<DBTChartOfAccounts*>(GetMaster())->GetChartOfAccounts();
}

BOOL DChartOfAccounts::OnAttachData()
{
	SetFormTitle(AfxLoadSourceString(_T("Piano dei conti"), kSource));
	return Attach(new DBTChartOfAccounts(this));
}

BOOL DChartOfAccounts::OnPrepareAuxData()
{
	ReadLedger();
	return TRUE;
}

void DChartOfAccounts::ReadLedger()
{
	TRLedgers ledgers(this);
	m_LedgerDescription = ledgers.FindRecord(GetChartOfAccounts()->f_Ledger) == TableReader::FOUND
							  ? ledgers.GetRecord()->f_Description
							  : DataStr();
}

void DChartOfAccounts::OnAccountChanged()
{
	TChartOfAccounts* pRec = GetChartOfAccounts();
	const TChartOfAccountParameters* p = AfxGetChartOfAccountsInfo()->GetChartOfAccountParameters();
	if (p->f_LedgerLength > 0)
		pRec->f_Ledger = pRec->f_Account.GetString().Left(p->f_LedgerLength);
	const int last = p->GetLevelLength(TChartOfAccountParameters::MAX_SEGMENTS + 1);
	pRec->f_CarriesBalances = last > 0 && pRec->f_Account.GetLen() == last;
	ReadLedger();
	UpdateDataView();
}

void DChartOfAccounts::OnLedgerChanged()
{
	ReadLedger();
	UpdateDataView();
}

BOOL DChartOfAccounts::OnOkTransaction()
{
	const TChartOfAccounts* pRec = GetChartOfAccounts();
	const TChartOfAccountParameters* p = AfxGetChartOfAccountsInfo()->GetChartOfAccountParameters();
	const CString code = pRec->f_Account;
	TRChartOfAccounts accounts(this);
	auto refuse = [&](const CString& refusal) {
		AfxMessageBox(refusal, MB_OK | MB_ICONERROR);
		SetCtrlFocus(IDC_COA_ACCOUNT);
		return FALSE;
	};
	// Said before the database's key would turn it down.
	if (GetFormMode() == NEW && accounts.FindRecord(DataStr(code)) == TableReader::FOUND)
		return refuse(CString::Formatted(AfxLoadSourceString(_T("Il conto %s esiste gia'."), kSource), code.GetString()));
	if (p->f_LedgerLength <= 0)
		return TRUE;  // a company without a code structure takes any code
	const int level = p->GetLevelOf(code.GetLength());
	const CString ledger = code.Left(p->f_LedgerLength);
	const CString parent = code.Left(p->GetLevelLength(level - 1));
	CString refusal;
	TRLedgers ledgers(this);
	if (level == 0)
		refusal = AfxLoadSourceString(_T("Il codice del conto non corrisponde alla struttura del piano dei conti."),
									  kSource);
	else if (ledgers.FindRecord(DataStr(ledger)) != TableReader::FOUND)
		refusal.Format(AfxLoadSourceString(_T("Il mastro %s non esiste."), kSource), ledger.GetString());
	else if (level > 1 && accounts.FindRecord(DataStr(parent)) != TableReader::FOUND)
		refusal.Format(AfxLoadSourceString(_T("Il conto di livello superiore %s non esiste."), kSource),
					   parent.GetString());
	return refusal.IsEmpty() || refuse(refusal);
}

BOOL DChartOfAccountsAddOnFly::OnOpenDocument(const DocInvocationInfo* pInfo)
{
	if (!DChartOfAccounts::OnOpenDocument(pInfo))
		return FALSE;
	NewRecord();
	return TRUE;
}

// ---- form --------------------------------------------------------------------------------------

void CChartOfAccountsFlagsTab::BuildDataControlLinks()
{
	TChartOfAccounts* pRec = static_cast<DChartOfAccounts*>(GetDocument())->GetChartOfAccounts();
	AddLink(IDC_COA_CARRIES_BALANCES, _T("Conto movimentabile"), RUNTIME_CLASS(CBoolButton), &pRec->f_CarriesBalances);
	AddLink(IDC_COA_EXCLUDED, _T("Escluso dall'importazione"), RUNTIME_CLASS(CBoolButton), &pRec->f_ExcludedFromImport);
	AddLink(IDC_COA_COSTACCOUNTING, _T("Gestito in contabilità analitica"), RUNTIME_CLASS(CBoolButton),
			&pRec->f_CostAccounting);
	AddLink(IDC_COA_COSTACCDETAIL, _T("Dettaglio per centri di costo e commesse"), RUNTIME_CLASS(CBoolButton),
			&pRec->f_CostAccDetail);
}

void CChartOfAccountsView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<DChartOfAccounts*>(GetDocument());
	TChartOfAccounts* pRec = pDoc->GetChartOfAccounts();
	AddLink(IDC_COA_ACCOUNT, _T("Conto"), RUNTIME_CLASS(CStrEdit), &pRec->f_Account);
	AddLink(IDC_COA_DESCRIPTION, _T("Descrizione"), RUNTIME_CLASS(CStrEdit), &pRec->f_Description);
	AddLink(IDC_COA_LEDGER, _T("Mastro"), RUNTIME_CLASS(CStrEdit), &pRec->f_Ledger);
	AddLink(IDC_COA_LEDGER_DESCRIPTION, _T("LINK_DES_MASTRO"), RUNTIME_CLASS(CStrStatic), &pDoc->m_LedgerDescription);
	SetLabels({{_T("LINK_DES_MASTRO"), _T("Descrizione mastro")}});
	AddTabManager(IDC_COA_TABS, TabManagerName())
		->AddDialog(RUNTIME_CLASS(CChartOfAccountsFlagsTab), 0, AfxLoadSourceString(_T("Generale"), "DChartOfAccounts"));
}
