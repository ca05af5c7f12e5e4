// Entry of the cost-driver library: its namespace at load and the nine templates of the
// cost-driver documents and batches; the master documents also open unattended.
#include "kvznet/kvzdrivers/kvzappl/BDCopiaDrivers.h"
#include "kvznet/kvzdrivers/kvzappl/BDRicalcolaValoriEsterni.h"
#include "kvznet/kvzdrivers/kvzappl/CModelliMultiAzDriversDoc.h"
#include "kvznet/kvzdrivers/kvzappl/DKvzDrivers.h"
#include "kvznet/kvzdrivers/kvzappl/DKvzDriversMagazzini.h"
#include "kvznet/kvzdrivers/kvzappl/DKvzMetriQuadri.h"
#include "platform/plvgeneric/EnumTexts.h"
#include "platform/plvgenlib/AddOnInterfaceObj.h"
#include "platform/plvgenlib/CBaseApp.h"
#include "platform/plvgenlib/LibraryEntry.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
AFX_EXTENSION_MODULE g_KvzApplModule;

const char* const kNamespace = "KvzNet.KvzDrivers.KvzAppl";

// How a driver shares a cost out: month by month on each month's measure, the range's share
// spread evenly over its months, or the range's share month by month.
[[maybe_unused]] const bool g_bTestiRegistrati =
	(AfxRegisterEnumTexts(E_KVZ_TIPOCALCOLODRIVERS,
						  {"Mese per mese", "Quota del periodo in parti uguali", "Quota del periodo per mese"}),
	 true);

struct TemplateRow
{
	LPCTSTR name;
	CRuntimeClass* (*pfnDoc)();
	CRuntimeClass* (*pfnFrame)();
	CRuntimeClass* (*pfnView)();
	LPCTSTR viewName;
};

#define KVZ_TEMPLATE(name, doc, frame, view, viewName) \
	{_T(name), &doc::GetThisClass, &frame::GetThisClass, &view::GetThisClass, _T(viewName)}

// In the order of registration.
const TemplateRow kTemplates[] = {
	KVZ_TEMPLATE("KvzDrivers", DKvzDrivers, CMasterFrame, DKvzDriversView, "Default"),
	KVZ_TEMPLATE("KvzDrivers", DKvzDrivers, ADMFrame, ADMView, "Unattended"),
	KVZ_TEMPLATE("BDModelliMultiAzDrivers", CModelliMultiAzDriversDoc, CBatchFrame, CModelliMultiAzDriversView, "Default"),
	KVZ_TEMPLATE("KvzDriversMagazzini", DKvzDriversMagazzini, CMasterFrame, DKvzDriversMagazziniView, "Default"),
	KVZ_TEMPLATE("KvzDriversMagazzini", DKvzDriversMagazzini, ADMFrame, ADMView, "Unattended"),
	KVZ_TEMPLATE("KvzMetriQuadri", DKvzMetriQuadri, CMasterFrame, DKvzMetriQuadriView, "Default"),
	KVZ_TEMPLATE("KvzMetriQuadri", DKvzMetriQuadri, ADMFrame, ADMView, "Unattended"),
	KVZ_TEMPLATE("BDRicalcolaValoriEsterni", BDRicalcolaValoriEsterni, CBatchFrame, BDRicalcolaValoriEsterniView, "Default"),
	KVZ_TEMPLATE("CopiaDrivers", BDCopiaDrivers, CBatchFrame, CopiaDriversView, "Default"),
};

// Of this library only: every library names its interface class so, and the dynamic linker
// would otherwise hand this one the virtual table of the first loaded.
class AddOnInterface : public AddOnInterfaceObj
{
public:
	void AOI_RegisterTemplates(UINT nID, const CPLVNamespace* pNs) override;
};

void AddOnInterface::AOI_RegisterTemplates(UINT nID, const CPLVNamespace* pNs)
{
	const CPLVNamespace libNs = pNs ? *pNs : CPLVNamespace(kNamespace);
	for (const TemplateRow& row : kTemplates)
	{
		CPLVNamespace nsDoc = libNs;
		nsDoc.SetObjectName(CPLVNamespace::DOCUMENT, row.name, TRUE, FALSE);
		const CString viewName = row.viewName && *row.viewName ? CString(row.viewName) : CString(_T("Default"));
		CSingleExtDocTemplate* pTemplate =
			AfxGetBaseApp()->RegisterTemplate(nID, row.pfnDoc(), row.pfnFrame(), row.pfnView(), nsDoc, this,
											  libNs.GetObjectName(CPLVNamespace::LIBRARY), 0, viewName);
		// A refused template leaves the others registered.
		ASSERT_RELEASE_TRACE(pTemplate, "AddOnInterface::AOI_RegisterTemplates", "KvzApplInterface");
		if (pTemplate)
			pTemplate->SetModuleInstance(AfxGetThisModule());
	}
}
}  // namespace

// The namespace has no "Library." prefix.
PLV_EXPORT BOOL PlvLibraryMain(HMODULE hInstance, DWORD dwReason)
{
	return AfxExtensionLibraryMain(g_KvzApplModule, hInstance, dwReason, _T(kNamespace));
}

PLV_EXPORT AddOnInterfaceObj* _VandrelAddOn_()
{
	return new (std::nothrow) AddOnInterface;
}
