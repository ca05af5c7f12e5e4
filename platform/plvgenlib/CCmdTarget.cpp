#include "platform/plvgenlib/CCmdTarget.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
	static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr}};
	static const AFX_MSGMAP map = {nullptr, &entries[0]};
	return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
	return GetThisMessageMap();
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, UINT nCode)
{
	for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr)
		for (const AFX_MSGMAP_ENTRY* p = pMap->lpEntries; p->pfn; ++p)
			if (p->nCode == nCode && nID >= p->nID && nID <= p->nLastID)
			{
				(this->*p->pfn)();
				return TRUE;
			}
	return FALSE;
}
