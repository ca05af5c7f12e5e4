#pragma once
// Exception roots: everything the framework throws derives from CException.
#include <exception>
#include <string>

#include "platform/mfc/CObject.h"
#include "platform/mfc/CString.h"

class CException : public CObject, public std::exception
{
	DECLARE_DYNAMIC(CException, CObject)
public:
	CException() = default;
	explicit CException(CString message) : m_strMessage(std::move(message)) {}
	virtual BOOL GetErrorMessage(CString& message) const { message = m_strMessage; return TRUE; }
	const CString& GetMessage() const { return m_strMessage; }
	const char* what() const noexcept override { return m_strMessage.GetString(); }

protected:
	CString m_strMessage;
};

// An index or argument out of range.
class CInvalidArgException : public CException
{
	DECLARE_DYNAMIC(CInvalidArgException, CException)
public:
	CInvalidArgException() : CException("Invalid argument") {}
	explicit CInvalidArgException(CString message) : CException(std::move(message)) {}
};
