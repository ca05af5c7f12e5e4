#include "platform/plvgenlib/CMessages.h"

#include "platform/plvgeneric/Interaction.h"

void CMessages::Add(const CString& text, int type, LPCTSTR, int)
{
	m_Messages.push_back({text, type});
}

BOOL CMessages::HasErrors() const
{
	for (auto& m : m_Messages)
		if (m.type >= MSG_ERROR)
			return TRUE;
	return FALSE;
}

CString CMessages::ToString() const
{
	CString out;
	for (auto& m : m_Messages)
	{
		if (!out.IsEmpty())
			out += '\n';
		out += m.text;
	}
	return out;
}

void CMessages::Show(BOOL bClear)
{
	if (m_Messages.empty())
		return;
	AfxMessageBox(ToString(), MB_OK | (HasErrors() ? MB_ICONERROR : MB_ICONINFORMATION));
	if (bClear)
		Clear();
}
