#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_DBTCodeList.h"

#include "platform/plvgeneric/Application.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const char* const kSource = "Kvz_DBTCodeList";

CString ParamName(size_t n)
{
	return CString::Formatted("p%zu", n + 1);
}
}  // namespace

Kvz_DBTCodeList::Kvz_DBTCodeList(CRuntimeClass* pRecordClass, CAbstractFormDoc* pDocument, const CString& strName,
								 std::vector<KeyCheck> checks, std::vector<LPCTSTR> findable)
	: DBTMaster(pRecordClass, pDocument, strName), m_Checks(std::move(checks)), m_Findable(std::move(findable))
{
}

DataObj& Kvz_DBTCodeList::Column(LPCTSTR szColumn) const
{
	DataObj* p = GetRecord()->GetDataObjFromColumnName(szColumn);
	if (!p)
	{
		ASSERT_RELEASE_FAILED("GetDataObjFromColumnName(szColumn)", "Kvz_DBTCodeList::Column", kSource);
		throw CInvalidArgException(CString::Formatted("%s: no column %s.", GetName().GetString(), szColumn));
	}
	return *p;
}

void Kvz_DBTCodeList::OnDefineQuery()
{
	// By the whole key: a code may stand under several years and models.
	m_pTable->SelectAll();
	const std::vector<CString>& key = GetRecord()->GetPrimaryKey();
	for (size_t n = 0; n < key.size(); ++n)
	{
		m_pTable->AddParam(ParamName(n), Column(key[n]));
		m_pTable->AddFilterColumn(Column(key[n]));
	}
}

void Kvz_DBTCodeList::OnPrepareQuery()
{
	const std::vector<CString>& key = GetRecord()->GetPrimaryKey();
	for (size_t n = 0; n < key.size(); ++n)
		m_pTable->SetParamValue(ParamName(n), Column(key[n]));
}

void Kvz_DBTCodeList::OnEnableControlsForFind()
{
	for (LPCTSTR column : m_Findable)
		Column(column).SetFindable(TRUE);
}

void Kvz_DBTCodeList::OnDisableControlsForEdit()
{
	Column(m_Checks.front().column).SetReadOnly(TRUE);
}

BOOL Kvz_DBTCodeList::OnCheckPrimaryKey()
{
	for (const KeyCheck& check : m_Checks)
		if (Column(check.column).IsEmpty() && SetError(AfxLoadSourceString(check.missing, kSource)))
			return FALSE;
	return TRUE;
}
