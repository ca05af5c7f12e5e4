#pragma once
// Creating a document from the runtime classes of its document, frame and view, as a
// template does: the document gets its namespace, owner, frame and view, opens with the open
// information, then its view builds its form. Documents opened in a batch frame are batch
// documents.
#include <functional>
#include <vector>

#include "platform/plvgenlib/CBaseDocument.h"

class CClientDocArray;

// The opened document, or null (nothing is left over) when a class is not of its kind or the
// document refused to open.
CBaseDocument* OpenDocumentFromClasses(CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass,
									   const CPLVNamespace& ns, const DocInvocationInfo* pInfo, IDocumentOwner* pOwner);
// Destroys a document made by OpenDocumentFromClasses with its view and frame.
void DestroyDocumentAndWindows(CBaseDocument* pDocument);

// Who gives a new document its client documents (the host asks every add-on); called before
// the document opens. Null: none.
using ClientDocAttacher = std::function<void(CBaseDocument*, CClientDocArray*)>;
void AfxSetClientDocAttacher(ClientDocAttacher attacher);

// An owner that keeps the documents it opened and destroys each when it closes; those still
// open go with the owner.
class CDocumentSet : public IDocumentOwner
{
public:
	CDocumentSet() = default;
	~CDocumentSet() override;
	CDocumentSet(const CDocumentSet&) = delete;
	CDocumentSet& operator=(const CDocumentSet&) = delete;

	CBaseDocument* Open(CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass,
						const CPLVNamespace& ns = CPLVNamespace(), CBaseDocument* pCaller = nullptr);
	void DestroyDocument(CBaseDocument* pDocument) override;
	const std::vector<CBaseDocument*>& GetDocuments() const { return m_Documents; }

private:
	std::vector<CBaseDocument*> m_Documents;
};
