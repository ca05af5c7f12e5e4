#pragma once
// What a module library offers the framework: its add-on interface object answers the
// framework's registration calls. Every operation has a default that offers nothing.
#include <memory>
#include <vector>

#include "platform/plvnamesolver/CPLVNamespace.h"

class SqlConnection;
class CBaseDocument;
class CClientDocArray;

// A declared function or hotlink: its namespace and the class that implements it.
class FunctionDataInterface : public CObject
{
	DECLARE_DYNAMIC(FunctionDataInterface, CObject)
public:
	FunctionDataInterface(const CPLVNamespace& ns, CRuntimeClass* pClass, CRuntimeClass* pSecondClass = nullptr)
		: m_Namespace(ns), m_pClass(pClass), m_pSecondClass(pSecondClass)
	{
	}
	const CPLVNamespace& GetNamespace() const { return m_Namespace; }
	CRuntimeClass* GetClass() const { return m_pClass; }
	CRuntimeClass* GetSecondClass() const { return m_pSecondClass; }

private:
	CPLVNamespace m_Namespace;
	CRuntimeClass* m_pClass;
	CRuntimeClass* m_pSecondClass;
};

class AddOnInterfaceObj : public CObject
{
	DECLARE_DYNAMIC(AddOnInterfaceObj, CObject)
public:
	AddOnInterfaceObj() = default;
	~AddOnInterfaceObj() override = default;

	virtual BOOL AOI_InitDLL() { return TRUE; }
	virtual void AOI_SetAddOnMod(const CPLVNamespace&) {}
	virtual void AOI_RegisterGlobalObjects() {}
	virtual void AOI_RegisterTemplates(UINT, const CPLVNamespace*) {}
	virtual void AOI_RegisterFunctions(const CPLVNamespace*) {}
	virtual void AOI_RegisterParsedControls() {}
	virtual BOOL AOI_RegisterTables(SqlConnection*, const CString&, const CPLVNamespace*) { return TRUE; }
	virtual void AOI_AttachClientDocs(CBaseDocument*, CClientDocArray*, const CPLVNamespace&) {}
	virtual void AOI_AttachFamilyClientDocs(CBaseDocument*, CClientDocArray*, const CPLVNamespace&) {}
	virtual void AOI_RegisterHotLinks(const CPLVNamespace&) {}
	virtual void AOI_RegisterFormatters() {}
	virtual void AOI_AddOnNewColumns() {}
	virtual void AOI_RegisterOSLObjects() {}
	virtual void AOI_BeginRegistration() {}
	virtual void AOI_EndRegistration() {}
	virtual int AOI_DatabaseRelease() { return 0; }

	// Takes over the declaration (null is accepted and ignored) and makes it known by namespace.
	void DeclareFunction(FunctionDataInterface* pFunction);

	// A library's tables and hotlinks, as AOI_RegisterTables and AOI_RegisterHotLinks state them.
	struct CatalogTable
	{
		CRuntimeClass* (*pfnClass)();
		LPCTSTR (*pfnStaticName)();
		int kind;  // 1 table, 2 view
	};
	struct DeclaredHotLink
	{
		LPCTSTR name;
		CRuntimeClass* (*pfnClass)();
	};

protected:
	// Registers each table in the catalog under the library's namespace, in order; every entry is
	// attempted whatever the earlier ones gave. FALSE, with nothing registered, on a connection
	// that is not valid; FALSE when any entry failed.
	static BOOL RegisterCatalogTables(SqlConnection* pConnection, const CString& frameworkText,
									  const CPLVNamespace* pNs, const CatalogTable* pTables, size_t nTables);
	// Declares each hotlink under its name completed against the library's namespace, in order.
	void DeclareHotLinks(const CPLVNamespace& ns, const DeclaredHotLink* pHotLinks, size_t nHotLinks);
};

// Declarations made by every library, by namespace.
const FunctionDataInterface* AfxFindDeclaredFunction(const CPLVNamespace& ns);
std::vector<const FunctionDataInterface*> AfxGetDeclaredFunctions();
void AfxClearDeclaredFunctions();
// Before the declaring library goes: the declaration holds its classes.
void AfxRemoveDeclaredFunction(const FunctionDataInterface* pFunction);
