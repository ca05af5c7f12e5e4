#include "platform/plvgenlib/CBaseDocument.h"

#include <algorithm>
#include <mutex>
#include <set>
#include <vector>

namespace {
std::mutex g_LiveMutex;
std::set<const CObject*>& Live()
{
	static auto* live = new std::set<const CObject*>;
	return *live;
}

// User actions run on the user-interface thread only.
int g_nActionDepth = 0;
std::vector<CBaseDocument*> g_PendingCloses;
}  // namespace

CBaseDocument::CBaseDocument()
{
	std::lock_guard lock(g_LiveMutex);
	Live().insert(this);
}

CBaseDocument::~CBaseDocument()
{
	std::erase(g_PendingCloses, this);
	std::lock_guard lock(g_LiveMutex);
	Live().erase(this);
}

BOOL AfxExistWebServiceStateObject(const CObject* pObject)
{
	std::lock_guard lock(g_LiveMutex);
	return Live().count(pObject) > 0;
}

BOOL CBaseDocument::OnOpenDocument(const DocInvocationInfo* pInfo)
{
	m_pCallerDocument = pInfo ? pInfo->m_pCallerDocument : nullptr;
	return TRUE;
}

BOOL CBaseDocument::CloseDocument(BOOL bAsync)
{
	if (bAsync && g_nActionDepth > 0)
	{
		if (std::find(g_PendingCloses.begin(), g_PendingCloses.end(), this) == g_PendingCloses.end())
			g_PendingCloses.push_back(this);
		return TRUE;
	}
	std::erase(g_PendingCloses, this);
	OnCloseDocument();
	if (!IsCloseAccepted())
		return FALSE;
	if (m_pOwner)
		m_pOwner->DestroyDocument(this);
	return TRUE;
}

void CBaseDocument::Activate(CBaseView*, BOOL)
{
}

void CBaseDocument::AttachFrameAndView(CBaseFrame* pFrame, CBaseView* pView)
{
	m_pFrame = pFrame;
	m_pView = pView;
	if (pFrame)
		pFrame->SetActiveView(pView);
	if (pView)
		pView->SetDocument(this);
}

SqlConnection* CBaseDocument::GetSqlConnection() const
{
	return m_pConnection ? m_pConnection : AfxGetDefaultSqlConnection();
}

void CBaseDocument::SetSqlConnection(SqlConnection* pConnection)
{
	m_pConnection = pConnection;
	m_pContext.reset();
}

CPLVContext* CBaseDocument::GetContext()
{
	if (!m_pContext && GetSqlConnection())
		m_pContext = std::make_unique<CPLVContext>(GetSqlConnection(), this);
	return m_pContext.get();
}

void CBaseDocument::Message(const CString& strText, int nType)
{
	m_Messages.Add(strText, nType);
	m_Messages.Show();
}

void CBaseDocument::UpdateDataView()
{
	if (m_pView)
		m_pView->OnUpdate();
}

BOOL CBaseView::IsDataEditable(const DataObj* pData) const
{
	return GetDocument() ? GetDocument()->IsDataEditable(pData) : CParsedForm::IsDataEditable(pData);
}

void CBaseView::OnCtrlChanged(CParsedCtrl* pCtrl)
{
	CParsedForm::OnCtrlChanged(pCtrl);
	if (GetDocument())
		GetDocument()->SetModifiedFlag(TRUE);
}

CUserActionScope::CUserActionScope(CBaseDocument* pDocument) : m_pDocument(pDocument)
{
	++g_nActionDepth;
}

CUserActionScope::~CUserActionScope()
{
	if (--g_nActionDepth > 0)
		return;
	if (m_pDocument && AfxExistWebServiceStateObject(m_pDocument))
		m_pDocument->m_Messages.Show();
	// A close may close other documents (its children): take one at a time.
	while (!g_PendingCloses.empty())
	{
		CBaseDocument* pDocument = g_PendingCloses.front();
		g_PendingCloses.erase(g_PendingCloses.begin());
		if (AfxExistWebServiceStateObject(pDocument) && pDocument->SaveModified())
			pDocument->CloseDocument(FALSE);
	}
}
