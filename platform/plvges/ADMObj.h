#pragma once
// Document automation: a document class that offers an interface (derived from ADMObj)
// lets other documents drive it without linking against it: the command manager opens it by
// the interface's name and hands back the interface.
#include <vector>

#include "platform/plvgenlib/CMessages.h"

class CAbstractFormDoc;

// Told when the object it watches goes.
class IDisposingHandler
{
public:
	virtual ~IDisposingHandler() = default;
	virtual void OnDisposing(void* pSource) = 0;
};

class IDisposingSource
{
public:
	virtual ~IDisposingSource() = default;
	virtual void AddDisposingHandler(IDisposingHandler* pHandler);
	virtual void RemoveDisposingHandlers(IDisposingHandler* pHandler = nullptr);

protected:
	// Tells every handler, once.
	void NotifyDisposing();

private:
	std::vector<IDisposingHandler*> m_Handlers;
};

class ADMObj : public IDisposingSource
{
public:
	ADMObj() = default;
	ADMObj(const ADMObj&) = default;
	ADMObj& operator=(const ADMObj&) = default;

	// The name of the interface: the address of a pointer to it ("ADMObj" here).
	virtual const LPCTSTR* GetADMClass() const;
	~ADMObj() override;

	virtual void ADMOnGoInBrowseMode() {}
	// Messages of the document go to the list given instead of being shown, until restored.
	virtual void ADMSetMessages(CMessages* pMessages);
	virtual void ADMRestoreMessages();
	virtual BOOL ADMSaveDocument();
	virtual BOOL ADMNewDocument();
	virtual BOOL ADMEditDocument();
	virtual BOOL ADMDeleteDocument();
	virtual void ADMOnSaveDocument() {}

	// The document that offers the interface.
	CAbstractFormDoc* GetDocument() const;
	CMessages* GetADMMessages() const { return m_pMessages; }
	// Called by the document when it closes.
	void ADMDispose() { NotifyDisposing(); }

	static LPCTSTR admADMObj;

private:
	CMessages* m_pMessages = nullptr;
};
