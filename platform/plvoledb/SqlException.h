#pragma once
// The data-access layer's one exception: the driver's text, shown to the user on request.
#include "platform/mfc/CException.h"

class SqlException : public CException
{
	DECLARE_DYNAMIC(SqlException, CException)
public:
	explicit SqlException(CString message, int nativeCode = 0, BOOL bBusy = FALSE)
		: CException(std::move(message)), m_nNativeError(nativeCode), m_bBusy(bBusy)
	{
	}
	// Shows the message (cut to what a message box holds) through the interaction interface.
	void ShowError(LPCTSTR caption = nullptr) const;
	int GetNativeError() const { return m_nNativeError; }
	// The database was locked by another writer beyond the busy timeout.
	BOOL IsBusy() const { return m_bBusy; }

	CString m_strError() const { return m_strMessage; }

private:
	int m_nNativeError;
	BOOL m_bBusy;
};
