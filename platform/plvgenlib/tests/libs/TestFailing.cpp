// Libraries that do not load as they should: FAIL_ENTRY refuses its load, otherwise the
// add-on entry gives nothing.
#include "platform/plvgenlib/AddOnInterfaceObj.h"
#include "platform/plvgenlib/LibraryEntry.h"

PLV_EXPORT BOOL PlvLibraryMain(HMODULE, DWORD dwReason)
{
#ifdef FAIL_ENTRY
	return dwReason == DLL_PROCESS_ATTACH ? FALSE : TRUE;
#else
	(void)dwReason;
	return TRUE;
#endif
}

PLV_EXPORT AddOnInterfaceObj* _VandrelAddOn_()
{
	return nullptr;
}
