#include "platform/plvgenlib/CBaseDocument.h"

#include <mutex>
#include <set>

namespace {
std::mutex g_LiveMutex;
std::set<const CObject*>& Live()
{
	static auto* live = new std::set<const CObject*>;
	return *live;
}
}  // namespace

CBaseDocument::CBaseDocument()
{
	std::lock_guard lock(g_LiveMutex);
	Live().insert(this);
}

CBaseDocument::~CBaseDocument()
{
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

BOOL CBaseDocument::CloseDocument(BOOL)
{
	OnCloseDocument();
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
