#include "platform/plvges/CClientDoc.h"

#include "platform/plvges/FormViews.h"

void CClientDoc::Init(const CString& strName, const CPLVNamespace& ns)
{
	m_strName = strName;
	m_Namespace = ns;
}

BOOL CClientDoc::AttachDBTSlave(DBTSlave* pSlave)
{
	DBTMaster* pMaster = m_pServerDoc ? m_pServerDoc->GetMaster() : nullptr;
	if (!pMaster)
	{
		delete pSlave;  // taken over either way
		return FALSE;
	}
	return pMaster->Attach(pSlave);
}

BOOL CClientDoc::AttachHotLink(HotKeyLink* pHotKeyLink, const CString& strName)
{
	if (!m_pServerDoc)
	{
		delete pHotKeyLink;
		return FALSE;
	}
	return m_pServerDoc->Attach(pHotKeyLink, strName);
}

CBaseTabDialog* CClientDoc::AddTabDialog(const CString& strTabManager, CRuntimeClass* pDialogClass, UINT nIDD,
										 const CString& strTitle)
{
	auto* pView = m_pServerDoc ? DynamicDownCast<CAbstractFormView>(m_pServerDoc->GetFirstView()) : nullptr;
	CTabManager* pTabs = pView ? pView->GetTabManager(strTabManager) : nullptr;
	return pTabs ? pTabs->AddDialog(pDialogClass, nIDD, strTitle) : nullptr;
}

CClientDocArray::~CClientDocArray() = default;

int CClientDocArray::Add(CClientDoc* pClientDoc)
{
	if (!pClientDoc)
		return -1;
	pClientDoc->SetServerDoc(m_pServerDoc);
	m_ClientDocs.emplace_back(pClientDoc);
	return GetSize() - 1;
}
