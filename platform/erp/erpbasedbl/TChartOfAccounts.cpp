#include "platform/erp/erpbasedbl/TChartOfAccounts.h"

#include <algorithm>

#include "platform/erp/erpbasedbl/TLedgers.h"
#include "platform/plvgeneric/Application.h"

namespace {
const char* const kSource = "TChartOfAccounts";
// The document that adds accounts on the fly.
const char* const kAddOnFlyNamespace = "Base.ErpBaseDocuments.DChartOfAccountsAddOnFly";
}  // namespace

TChartOfAccounts::TChartOfAccounts(BOOL bCallInit) : SqlRecord(GetStaticName())
{
	f_Account.SetUpperCase();
	f_Ledger.SetUpperCase();
	BindRecord();
	if (bCallInit)
		Init();
}

void TChartOfAccounts::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Account", f_Account);
	b.Col("Description", f_Description);
	b.Col("Ledger", f_Ledger);
	b.Col("CarriesBalances", f_CarriesBalances);
	b.Col("ExcludedFromImport", f_ExcludedFromImport);
	b.Col("CostAccounting", f_CostAccounting);
	b.Col("CostAccDetail", f_CostAccDetail);
	b.End();
	AddIndex({"Ledger"});
}

// ---- reader ------------------------------------------------------------------------------------

TRChartOfAccounts::TRChartOfAccounts(CBaseDocument* pDocument)
	: KeyedReader(TChartOfAccounts::GetThisClass(), pDocument)
{
	m_Keys.Add("p1", "Account", m_Account);
}

TableReader::FindResult TRChartOfAccounts::FindRecord(const DataStr& aAccount)
{
	m_Account = aAccount;
	return TableReader::FindRecord();
}

TChartOfAccounts* TRChartOfAccounts::GetRecord() const
{
	return TypedRecord<TChartOfAccounts>("m_pRecord->IsKindOf((TChartOfAccounts::GetThisClass()))",
										 "TRChartOfAccounts::GetRecord", kSource);
}

// ---- hotlinks ----------------------------------------------------------------------------------

HKLChartOfAccounts::HKLChartOfAccounts()
	: ErpCodeHotKeyLink(TChartOfAccounts::GetThisClass(), "Account", "Description", kAddOnFlyNamespace)
{
}

TChartOfAccounts* HKLChartOfAccounts::GetRecord() const
{
	return static_cast<TChartOfAccounts*>(HotKeyLink::GetRecord());
}

HKLChartOfAccountsByLedgerType::HKLChartOfAccountsByLedgerType()
	: ErpCodeHotKeyLink(TChartOfAccounts::GetThisClass(), "Account", "Description", kAddOnFlyNamespace)
{
}

TChartOfAccounts* HKLChartOfAccountsByLedgerType::GetRecord() const
{
	return static_cast<TChartOfAccounts*>(HotKeyLink::GetRecord());
}

namespace {
// The ledger types a selection takes.
std::vector<WORD> SelectedTypes(int nSelection)
{
	switch (nSelection)
	{
	case HKLChartOfAccountsByLedgerType::INCOME_STATEMENT: return {LEDGER_COSTS, LEDGER_REVENUES};
	case HKLChartOfAccountsByLedgerType::BALANCE_SHEET: return {LEDGER_ASSETS, LEDGER_LIABILITIES, LEDGER_MEMORANDUM};
	default: return {};
	}
}
}  // namespace

void HKLChartOfAccountsByLedgerType::OnDefineFilters(int nSelectionType)
{
	const std::vector<WORD> types = SelectedTypes(m_nSelection);
	// The exact code is found whatever its ledger, so that IsValid can say why it is refused.
	if (types.empty() || nSelectionType == DIRECT_ACCESS)
		return;
	CString values;
	for (WORD item : types)
		values.AppendFormat("%s%u", values.IsEmpty() ? "" : ", ", static_cast<unsigned>(DataEnum(E_LEDGERTYPE, item)));
	m_pTable->m_strFilter += CString::Formatted(" AND %s IN (SELECT Ledger FROM %s WHERE LedgerType IN (%s))",
												m_pTable->GetColumnName(GetRecord()->f_Ledger).GetString(),
												TLedgers::GetStaticName(), values.GetString());
}

BOOL HKLChartOfAccountsByLedgerType::IsValid()
{
	if (!HotKeyLink::IsValid())
		return FALSE;
	const std::vector<WORD> types = SelectedTypes(m_nSelection);
	if (!IsFound() || types.empty())
		return TRUE;
	TRLedgers ledgers(GetDocument());
	const BOOL found = ledgers.FindRecord(GetRecord()->f_Ledger) == TableReader::FOUND;
	const WORD item = ledgers.GetRecord()->f_LedgerType.GetItemValue();
	if (found && std::find(types.begin(), types.end(), item) != types.end())
		return TRUE;
	return SetErrorString(AfxLoadSourceString(m_nSelection == BALANCE_SHEET
												  ? _T("Il conto indicato non appartiene a un mastro patrimoniale.")
												  : _T("Il conto indicato non appartiene a un mastro economico."),
											  kSource));
}
