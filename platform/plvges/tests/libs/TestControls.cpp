// A documents library with the controls form, for the host program's tests.
#include "platform/plvgenlib/AddOnInterfaceObj.h"
#include "platform/plvgenlib/CBaseApp.h"
#include "platform/plvgenlib/LibraryEntry.h"
#include "platform/plvges/tests/ControlsTestDoc.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
AFX_EXTENSION_MODULE g_Module;

class AddOnInterface : public AddOnInterfaceObj
{
public:
	void AOI_RegisterTemplates(UINT nID, const CPLVNamespace* pNs) override
	{
		CPLVNamespace nsDoc = *pNs;
		nsDoc.SetObjectName(CPLVNamespace::DOCUMENT, "DStrumenti", TRUE, FALSE);
		CSingleExtDocTemplate* pTemplate = AfxGetBaseApp()->RegisterTemplate(
			nID, RUNTIME_CLASS(controlstest::TStrumentiDoc), RUNTIME_CLASS(controlstest::TStrumentiFrame),
			RUNTIME_CLASS(controlstest::TStrumentiView), nsDoc, this, pNs->GetObjectName(CPLVNamespace::LIBRARY), 0,
			"Default");
		ASSERT_RELEASE_TRACE(pTemplate, "AddOnInterface::AOI_RegisterTemplates", "TestControls");
		if (pTemplate)
			pTemplate->SetModuleInstance(AfxGetThisModule());
	}
};
}  // namespace

PLV_EXPORT BOOL PlvLibraryMain(HMODULE hInstance, DWORD dwReason)
{
	if (dwReason == DLL_PROCESS_ATTACH)
	{
		if (!AfxInitExtensionModule(g_Module, hInstance))
			return FALSE;
		new CDynLinkLibrary(g_Module);
		if (CPlvCommandInterface* pCmd = AfxGetPlvCmdManager())
			pCmd->RegisterLibraryNamespace(CPLVNamespace("Library.PlvTest.TestMod.TestControls"), hInstance);
	}
	else if (dwReason == DLL_PROCESS_DETACH)
		AfxTermExtensionModule(g_Module);
	return TRUE;
}

PLV_EXPORT AddOnInterfaceObj* _VandrelAddOn_()
{
	return new (std::nothrow) AddOnInterface;
}
