#pragma once
// Client documents ride along with a host document of another library: they attach their
// own buffers to the host's master and their lookups to the host, take part in its hooks and
// hear the notifications of its form (their message maps may name the host's controls).
#include <memory>
#include <vector>

#include "platform/plvgenlib/CCmdTarget.h"
#include "platform/plvnamesolver/CPLVNamespace.h"

class CAbstractFormDoc;
class CBaseTabDialog;
class DBTSlave;
class HotKeyLink;

class CClientDoc : public CCmdTarget
{
	DECLARE_DYNAMIC(CClientDoc, CCmdTarget)
public:
	CClientDoc() = default;
	~CClientDoc() override = default;

	void Init(const CString& strName, const CPLVNamespace& ns);
	const CString& GetName() const { return m_strName; }
	const CPLVNamespace& GetNamespace() const { return m_Namespace; }
	CAbstractFormDoc* GetServerDoc() const { return m_pServerDoc; }
	void SetServerDoc(CAbstractFormDoc* pServerDoc) { m_pServerDoc = pServerDoc; }

	// Hands a buffer to the host's master (read and saved with it) or a lookup to the host.
	BOOL AttachDBTSlave(DBTSlave* pSlave);
	BOOL AttachHotLink(HotKeyLink* pHotKeyLink, const CString& strName = CString());
	// Adds a page to a tab manager of the host's view; null when there is no such manager.
	CBaseTabDialog* AddTabDialog(const CString& strTabManager, CRuntimeClass* pDialogClass, UINT nIDD = 0,
								 const CString& strTitle = CString());

	// Hooks, called after the host's own.
	virtual BOOL OnAttachData() { return TRUE; }
	virtual BOOL OnInitAuxData() { return TRUE; }
	virtual BOOL OnPrepareAuxData() { return TRUE; }
	// The save check: FALSE refuses the host's save.
	virtual BOOL OnOkTransaction() { return TRUE; }
	// Once every save check passed, before the host's buffers are written.
	virtual BOOL OnAfterOkTransaction() { return TRUE; }
	virtual BOOL OnDeleteTransaction() { return TRUE; }
	virtual void OnGoInBrowseMode() {}
	// When the host's view has built its form: where a client adds its tabs.
	virtual void Customize() {}

private:
	CString m_strName;
	CPLVNamespace m_Namespace;
	CAbstractFormDoc* m_pServerDoc = nullptr;
};

// The client documents of a host, which owns them through this array.
class CClientDocArray : public CObject
{
	DECLARE_DYNAMIC(CClientDocArray, CObject)
public:
	explicit CClientDocArray(CAbstractFormDoc* pServerDoc) : m_pServerDoc(pServerDoc) {}
	~CClientDocArray() override;

	// Takes over the client document and binds it to the host.
	int Add(CClientDoc* pClientDoc);
	int GetSize() const { return static_cast<int>(m_ClientDocs.size()); }
	CClientDoc* GetAt(int i) const { return m_ClientDocs[static_cast<size_t>(i)].get(); }
	auto begin() const { return m_ClientDocs.begin(); }
	auto end() const { return m_ClientDocs.end(); }

private:
	CAbstractFormDoc* m_pServerDoc;
	std::vector<std::unique_ptr<CClientDoc>> m_ClientDocs;
};
