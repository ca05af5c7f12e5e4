#include "platform/plvgenlib/CCmdTarget.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
	static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr, nullptr}};
	static const AFX_MSGMAP map = {nullptr, &entries[0]};
	return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
	return GetThisMessageMap();
}

namespace {
// The entry the maps bind to a notification, the nearest map first; null for none.
const AFX_MSGMAP_ENTRY* FindEntry(const AFX_MSGMAP* pMap, UINT nID, UINT nCode)
{
	for (; pMap; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr)
		for (const AFX_MSGMAP_ENTRY* p = pMap->lpEntries; p->pfn || p->pfnUI; ++p)
			if (p->nCode == nCode && nID >= p->nID && nID <= p->nLastID)
				return p;
	return nullptr;
}
}  // namespace

BOOL CCmdTarget::OnCmdMsg(UINT nID, UINT nCode)
{
	const AFX_MSGMAP_ENTRY* p = FindEntry(GetMessageMap(), nID, nCode);
	if (!p || !p->pfn)
		return FALSE;
	(this->*p->pfn)();
	return TRUE;
}

BOOL CCmdTarget::OnUpdateCmdUI(CCmdUI* pCmdUI)
{
	const AFX_MSGMAP_ENTRY* p = pCmdUI ? FindEntry(GetMessageMap(), pCmdUI->m_nID, CN_UPDATE_COMMAND_UI) : nullptr;
	if (!p || !p->pfnUI)
		return FALSE;
	(this->*p->pfnUI)(pCmdUI);
	return TRUE;
}
