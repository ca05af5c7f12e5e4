#pragma once
// The add-on interface of the chart-of-accounts extension: no templates of its own; it attaches
// its client document to the host's chart-of-accounts documents.
#include "platform/plvgenlib/AddOnInterfaceObj.h"

class KvzAddOnsInterface : public AddOnInterfaceObj
{
	DECLARE_DYNAMIC(KvzAddOnsInterface, AddOnInterfaceObj)
public:
	void AOI_RegisterTemplates(UINT, const CPLVNamespace*) override {}
	void AOI_AttachClientDocs(CBaseDocument* pDocument, CClientDocArray* pClientDocs, const CPLVNamespace& ns) override;
};
