// Entry of the components library. It has no add-on interface: the documents and batch
// libraries link against it.
#include "platform/plvgenlib/LibraryEntry.h"

namespace {
AFX_EXTENSION_MODULE g_KvzComponentsModule;
}

PLV_EXPORT BOOL PlvLibraryMain(HMODULE hInstance, DWORD dwReason)
{
	if (dwReason == DLL_PROCESS_ATTACH)
	{
		if (!AfxInitExtensionModule(g_KvzComponentsModule, hInstance))
			return FALSE;
		new CDynLinkLibrary(g_KvzComponentsModule);
		if (CPlvCommandInterface* pCmd = AfxGetPlvCmdManager())
			pCmd->RegisterLibraryNamespace(CPLVNamespace("Library.KvzNet.KvzMod.KvzComponents"), hInstance);
	}
	else if (dwReason == DLL_PROCESS_DETACH)
		AfxTermExtensionModule(g_KvzComponentsModule);
	return TRUE;
}
