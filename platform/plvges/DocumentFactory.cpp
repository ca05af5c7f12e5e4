#include "platform/plvges/DocumentFactory.h"

#include <algorithm>

#include "platform/plvges/CClientDoc.h"
#include "platform/plvges/FormViews.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
ClientDocAttacher& Attacher()
{
	static auto* attacher = new ClientDocAttacher;
	return *attacher;
}

template <class T>
T* Create(CRuntimeClass* pClass, const char* assertText)
{
	CObject* p = pClass ? pClass->CreateObject() : nullptr;
	T* pObject = DynamicDownCast<T>(p);
	if (!pObject)
	{
		delete p;
		ASSERT_RELEASE_FAILED(assertText, "OpenDocumentFromClasses", "DocumentFactory");
	}
	return pObject;
}
}  // namespace

void AfxSetClientDocAttacher(ClientDocAttacher attacher)
{
	Attacher() = std::move(attacher);
}

CBaseDocument* OpenDocumentFromClasses(CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass,
									   const CPLVNamespace& ns, const DocInvocationInfo* pInfo, IDocumentOwner* pOwner)
{
	CBaseDocument* pDoc = Create<CBaseDocument>(pDocClass, "pDocClass");
	CBaseFrame* pFrame = pDoc ? Create<CBaseFrame>(pFrameClass, "pFrameClass") : nullptr;
	CBaseView* pView = pFrame ? Create<CBaseView>(pViewClass, "pViewClass") : nullptr;
	if (!pView)
	{
		delete pFrame;
		delete pDoc;
		return nullptr;
	}
	pDoc->SetNamespace(ns);
	pFrame->OnCreateAuxToolbar();
	pDoc->AttachFrameAndView(pFrame, pView);
	auto* pFormDoc = DynamicDownCast<CAbstractFormDoc>(pDoc);
	if (pFormDoc)
	{
		pFormDoc->SetBatchDocument(pFrame->IsKindOf(RUNTIME_CLASS(CBatchFrame)));
		if (Attacher())
			Attacher()(pDoc, pFormDoc->GetClientDocs());
	}
	BOOL bOpened = FALSE;
	try
	{
		bOpened = pDoc->OnOpenDocument(pInfo);
	}
	catch (...)
	{
		DestroyDocumentAndWindows(pDoc);
		throw;
	}
	if (!bOpened)
	{
		DestroyDocumentAndWindows(pDoc);
		return nullptr;
	}
	// Owned from here: a close asked while the view builds reaches the owner.
	pDoc->SetOwner(pOwner);
	pView->OnInitialUpdate();
	return pDoc;
}

void DestroyDocumentAndWindows(CBaseDocument* pDocument)
{
	if (!pDocument)
		return;
	CBaseFrame* pFrame = pDocument->GetMasterFrame();
	CBaseView* pView = pDocument->GetFirstView();
	delete pView;
	delete pFrame;
	delete pDocument;
}

CDocumentSet::~CDocumentSet()
{
	// The last opened first: children before their callers.
	while (!m_Documents.empty())
	{
		CBaseDocument* pDocument = m_Documents.back();
		m_Documents.pop_back();
		DestroyDocumentAndWindows(pDocument);
	}
}

CBaseDocument* CDocumentSet::Open(CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass,
								  const CPLVNamespace& ns, CBaseDocument* pCaller)
{
	DocInvocationInfo info;
	info.m_pCallerDocument = pCaller;
	CBaseDocument* pDocument = OpenDocumentFromClasses(pDocClass, pFrameClass, pViewClass, ns, &info, this);
	if (!pDocument || !AfxExistWebServiceStateObject(pDocument))
		return nullptr;
	m_Documents.push_back(pDocument);
	return pDocument;
}

void CDocumentSet::DestroyDocument(CBaseDocument* pDocument)
{
	std::erase(m_Documents, pDocument);
	DestroyDocumentAndWindows(pDocument);
}
