#include "platform/erp/erpbasedbl/ErpCodeHotKeyLink.h"

#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const char* const kSource = "ErpCodeHotKeyLink";

DataStr& Column(SqlRecord* pRec, const CString& name)
{
	auto* p = pRec ? dynamic_cast<DataStr*>(pRec->GetDataObjFromColumnName(name)) : nullptr;
	if (!p)
		throw SqlException(CString::Formatted("Colonna %s inesistente.", name.GetString()));
	return *p;
}
}  // namespace

ErpCodeHotKeyLink::ErpCodeHotKeyLink(CRuntimeClass* pRecordClass, LPCTSTR szCodeColumn, LPCTSTR szDescriptionColumn,
									 const CString& docNamespace)
	: HotKeyLink(pRecordClass, docNamespace, nullptr),
	  m_strCodeColumn(szCodeColumn),
	  m_strDescriptionColumn(szDescriptionColumn)
{
}

DataStr& ErpCodeHotKeyLink::Code() const
{
	return Column(GetRecord(), m_strCodeColumn);
}

DataStr& ErpCodeHotKeyLink::Description() const
{
	return Column(GetRecord(), m_strDescriptionColumn);
}

CString ErpCodeHotKeyLink::GetDescription() const
{
	return IsFound() ? Description().GetString() : CString();
}

void ErpCodeHotKeyLink::OnDefineQuery(int nSelectionType)
{
	m_pTable->SelectAll();
	switch (nSelectionType)
	{
	case DIRECT_ACCESS:
		m_pTable->AddParam("pCode", Code());
		m_pTable->AddFilterColumn(Code());
		break;
	case UPPER_BUTTON:
	case LOWER_BUTTON:
	{
		DataStr& column = nSelectionType == UPPER_BUTTON ? Code() : Description();
		m_pTable->AddParam("pCode", column);
		m_pTable->AddFilterLike(column);
		m_pTable->AddSortColumn(column);
		break;
	}
	default:
		m_pTable->AddSortColumn(Code());
		break;
	}
	OnDefineFilters(nSelectionType);
}

void ErpCodeHotKeyLink::OnPrepareQuery(DataObj* pValue, int nSelectionType)
{
	ASSERT_RELEASE_TRACE(pValue && pValue->IsKindOf((DataStr::GetThisClass())), "ErpCodeHotKeyLink::OnPrepareQuery",
						 kSource);
	if (!pValue)
		return;
	if (nSelectionType == DIRECT_ACCESS)
		m_pTable->SetParamValue("pCode", *pValue);
	else if (nSelectionType == UPPER_BUTTON || nSelectionType == LOWER_BUTTON)
		m_pTable->SetParamLike("pCode", *pValue);
	OnPrepareFilters(nSelectionType);
}
