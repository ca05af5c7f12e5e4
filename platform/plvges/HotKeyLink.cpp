#include "platform/plvges/HotKeyLink.h"

#include "platform/plvgenlib/CParsedForm.h"
#include "platform/plvgenlib/LibraryEntry.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvges/CAbstractFormDoc.h"

#include "platform/plvnamesolver/ApplicationContext.h"

HotKeyLink::HotKeyLink(CRuntimeClass* pRecordClass, const CString& docNamespace, SqlConnection* pConnection)
	: m_strDocNamespace(docNamespace), m_pConnection(pConnection)
{
	CObject* p = pRecordClass ? pRecordClass->CreateObject() : nullptr;
	m_pRecord.reset(DynamicDownCast<SqlRecord>(p));
	if (!m_pRecord)
	{
		delete p;
		ASSERT_RELEASE_FAILED("pRecordClass", "HotKeyLink::HotKeyLink", "HotKeyLink");
	}
	else if (pConnection)
		m_pRecord->SetConnection(pConnection);
}

HotKeyLink::~HotKeyLink() = default;

SqlSession* HotKeyLink::ChooseSession() const
{
	if (!m_pConnection && m_pDocument)
		return m_pDocument->GetReadOnlySqlSession();
	SqlConnection* pConn = m_pRecord->GetConnection();
	return pConn ? pConn->GetDefaultSqlSession() : nullptr;
}

void HotKeyLink::Define(int nSelectionType)
{
	// Selection members may change between two searches: define the query anew each time.
	m_pOwnedTable = std::make_unique<SqlTable>(m_pRecord.get(), ChooseSession(), m_pDocument);
	m_pOwnedTable->Open(FALSE, FALSE, TRUE);
	m_pTable = m_pOwnedTable.get();
	m_nDefinedType = nSelectionType;
	OnDefineQuery(nSelectionType);
}

BOOL HotKeyLink::FindRecord(DataObj* pValue, BOOL, BOOL, BOOL)
{
	m_bFound = false;
	m_strError.Empty();
	if (!m_pRecord || !pValue)
		return FALSE;
	m_strLastValue = pValue->FormatData();
	if (pValue->IsEmpty())
	{
		m_pRecord->Init();
		return FALSE;
	}
	Define(DIRECT_ACCESS);
	OnPrepareQuery(pValue, DIRECT_ACCESS);
	m_pTable->Query();
	m_bFound = !m_pTable->IsEmpty();
	if (!m_bFound)
		m_pRecord->Init();
	return m_bFound;
}

BOOL HotKeyLink::ValidateValue(DataObj* pValue)
{
	FindRecord(pValue);
	if (pValue && pValue->IsEmpty())
		return TRUE;  // an empty value is not looked up
	return IsValid();
}

std::vector<std::unique_ptr<SqlRecord>> HotKeyLink::Search(int nSelectionType, const DataObj& value, int nMaxRows)
{
	std::vector<std::unique_ptr<SqlRecord>> rows;
	std::unique_ptr<DataObj> pValue(value.Clone());
	Define(nSelectionType);
	OnPrepareQuery(pValue.get(), nSelectionType);
	for (m_pTable->Query(); !m_pTable->IsEOF() && static_cast<int>(rows.size()) < nMaxRows; m_pTable->MoveNext())
		rows.emplace_back(m_pRecord->Clone());
	m_pRecord->Init();
	return rows;
}

BOOL HotKeyLink::IsValid()
{
	if (!m_bFound && m_bMustExist)
		return SetErrorString(CString::Formatted("Il codice '%s' non esiste.", m_strLastValue.GetString()));
	return TRUE;
}

HotKeyLinkObj::AddOnFly HotKeyLink::OfferAddOnFly(CParsedCtrl* pCtrl, const DataObj& value)
{
	if (!m_bAddOnFly || !m_bMustExist || m_bFound || m_strDocNamespace.IsEmpty() || value.IsEmpty() || !pCtrl ||
		!pCtrl->GetForm())
		return ADD_NOT_OFFERED;
	CPlvCommandInterface* pCmd = AfxGetPlvCmdManager();
	auto* pCaller = DynamicDownCast<CAbstractFormDoc>(pCtrl->GetForm()->GetDocument());
	DataObj* pCode = GetDataObj();
	int nColumn = -1;
	for (int i = 0; pCode && i < m_pRecord->GetSize(); ++i)
		if (m_pRecord->GetDataObjAt(i) == pCode)
			nColumn = i;
	if (!pCmd || !pCaller || nColumn < 0)
		return ADD_NOT_OFFERED;
	const CString code = value.FormatData();
	if (AfxMessageBox(CString::Formatted("Il codice '%s' non esiste. Inserirlo?", code.GetString()),
					  MB_YESNO | MB_ICONQUESTION) != IDYES)
		return ADD_DECLINED;
	auto* pDoc = DynamicDownCast<CAbstractFormDoc>(pCmd->RunDocument(m_strDocNamespace, _T("Default"), nullptr, pCaller));
	if (!pDoc)
		return ADD_DECLINED;
	if (!pDoc->StartAddOnFly(pCtrl, m_pRecord->GetItem(nColumn)->m_strColumnName, value))
	{
		pDoc->CloseDocument(FALSE);
		return ADD_DECLINED;
	}
	return ADD_OPENED;
}

BOOL HotKeyLink::SetErrorString(const CString& text)
{
	m_strError = text;
	return FALSE;
}

CString HotKeyLink::GetDescription() const
{
	if (!m_bFound)
		return CString();
	DataObj* p = m_pRecord->GetDataObjFromColumnName("Descrizione");
	return p ? p->FormatData() : CString();
}

CString HotKeyLink::GetDescriptionOf(const DataObj& value) const
{
	return m_bFound && !value.IsEmpty() && m_strLastValue == value.FormatData() ? GetDescription() : CString();
}
