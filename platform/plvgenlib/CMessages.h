#pragma once
// A document's message list: messages gathered during an operation and shown together.
#include <vector>

#include "platform/mfc/CObject.h"
#include "platform/mfc/CString.h"

class CMessages : public CObject
{
	DECLARE_DYNAMIC(CMessages, CObject)
public:
	enum MessageType
	{
		MSG_INFO = 0,
		MSG_WARNING = 8,
		MSG_ERROR = 16,
	};
	struct Message
	{
		CString text;
		int type;
	};

	void Add(const CString& text, int type = MSG_ERROR, LPCTSTR reserved = nullptr, int flags = 0);
	BOOL IsEmpty() const { return m_Messages.empty(); }
	BOOL HasErrors() const;
	const std::vector<Message>& GetMessages() const { return m_Messages; }
	CString ToString() const;
	// Shows the gathered messages as one message box and empties the list.
	void Show(BOOL bClear = TRUE);
	void Clear() { m_Messages.clear(); }

private:
	std::vector<Message> m_Messages;
};
