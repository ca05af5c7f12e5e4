#include "platform/plvges/ADMObj.h"

#include <algorithm>

#include "platform/plvges/CAbstractFormDoc.h"

LPCTSTR ADMObj::admADMObj = _T("ADMObj");

void IDisposingSource::AddDisposingHandler(IDisposingHandler* pHandler)
{
	if (pHandler && std::find(m_Handlers.begin(), m_Handlers.end(), pHandler) == m_Handlers.end())
		m_Handlers.push_back(pHandler);
}

void IDisposingSource::RemoveDisposingHandlers(IDisposingHandler* pHandler)
{
	if (pHandler)
		std::erase(m_Handlers, pHandler);
	else
		m_Handlers.clear();
}

void IDisposingSource::NotifyDisposing()
{
	std::vector<IDisposingHandler*> handlers;
	handlers.swap(m_Handlers);
	for (IDisposingHandler* p : handlers)
		p->OnDisposing(this);
}

const LPCTSTR* ADMObj::GetADMClass() const
{
	return &admADMObj;
}

ADMObj::~ADMObj() = default;

CAbstractFormDoc* ADMObj::GetDocument() const
{
	return dynamic_cast<CAbstractFormDoc*>(const_cast<ADMObj*>(this));
}

void ADMObj::ADMSetMessages(CMessages* pMessages)
{
	m_pMessages = pMessages;
}

void ADMObj::ADMRestoreMessages()
{
	m_pMessages = nullptr;
}

namespace {
// What the document gathered goes to the caller's list when it gave one.
BOOL Handed(ADMObj& adm, BOOL bResult)
{
	CAbstractFormDoc* pDoc = adm.GetDocument();
	if (pDoc && adm.GetADMMessages())
	{
		for (auto& m : pDoc->m_Messages.GetMessages())
			adm.GetADMMessages()->Add(m.text, m.type);
		pDoc->m_Messages.Clear();
	}
	return bResult;
}
}  // namespace

BOOL ADMObj::ADMSaveDocument()
{
	CAbstractFormDoc* pDoc = GetDocument();
	return Handed(*this, pDoc && pDoc->SaveRecord());
}

BOOL ADMObj::ADMNewDocument()
{
	CAbstractFormDoc* pDoc = GetDocument();
	return Handed(*this, pDoc && pDoc->NewRecord());
}

BOOL ADMObj::ADMEditDocument()
{
	CAbstractFormDoc* pDoc = GetDocument();
	return Handed(*this, pDoc && pDoc->EditRecord());
}

BOOL ADMObj::ADMDeleteDocument()
{
	CAbstractFormDoc* pDoc = GetDocument();
	return Handed(*this, pDoc && pDoc->DeleteRecord());
}
