// A library of parts that others link: an entry, no add-on interface. It links the tables
// library, whose _VandrelAddOn_ a plain dlsym on this one would find.
#include <cstring>

#include "platform/plvgenlib/LibraryEntry.h"

extern "C" const char* TestTables_TableName();

namespace {
AFX_EXTENSION_MODULE g_Module;
}

PLV_EXPORT int TestParts_TableNameLength()
{
	return static_cast<int>(std::strlen(TestTables_TableName()));
}

PLV_EXPORT BOOL PlvLibraryMain(HMODULE hInstance, DWORD dwReason)
{
	if (dwReason == DLL_PROCESS_ATTACH)
	{
		if (!AfxInitExtensionModule(g_Module, hInstance))
			return FALSE;
		new CDynLinkLibrary(g_Module);
		if (CPlvCommandInterface* pCmd = AfxGetPlvCmdManager())
			pCmd->RegisterLibraryNamespace(CPLVNamespace("Library.PlvTest.TestMod.TestParts"), hInstance);
	}
	else if (dwReason == DLL_PROCESS_DETACH)
		AfxTermExtensionModule(g_Module);
	return TRUE;
}
