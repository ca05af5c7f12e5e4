#pragma once
// The application context: release assertions (reported, recorded, never aborting),
// application errors, diagnostics and the logged-in user.
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "platform/mfc/CException.h"
#include "platform/mfc/CString.h"

struct AssertionReport
{
	CString condition;
	std::uint64_t threadId = 0;
	CString method;
	CString file;
	int line = 0;
};

class CApplicationContext
{
public:
	BOOL AreReleaseAssertionsEnabled() const;
	void EnableReleaseAssertions(BOOL bEnable);

	// Reports a failed condition; execution goes on.
	void AssertAlwaysFailedLine(const char* condition, std::uint64_t threadId, const char* method, const char* file,
								int line);

	std::vector<AssertionReport> GetAssertionReports() const;
	void ClearAssertionReports();

	// Echo reports on stderr (on by default, tests may turn it off).
	void SetEchoAssertions(BOOL bEcho);
	// Appends each report to this file (the diagnostic log), opened at the first report; a log
	// that cannot be written makes the report go to stderr instead. Empty: no log.
	void SetAssertionLog(const std::string& path);
	// Reports since the start, however many the bounded list has let go.
	long GetAssertionCount() const;
	// The log's path when a report could be written to it, else empty.
	std::string GetAssertionLogWritten() const;

	~CApplicationContext();

private:
	mutable std::mutex m_Mutex;
	std::vector<AssertionReport> m_Reports;
	BOOL m_bEnabled = TRUE;
	BOOL m_bEcho = TRUE;
	long m_nCount = 0;
	std::string m_strLog;
	std::FILE* m_pLog = nullptr;
	bool m_bLogFailed = false;
};

CApplicationContext* AfxGetApplicationContext();
std::uint64_t AfxGetCurrentThreadId();

// Reports `cond` when it is false and release assertions are enabled.
#define ASSERT_RELEASE_TRACE(cond, method, file)                                                              \
	do                                                                                                       \
	{                                                                                                        \
		if (!(cond) && AfxGetApplicationContext()->AreReleaseAssertionsEnabled())                            \
			AfxGetApplicationContext()->AssertAlwaysFailedLine(#cond, AfxGetCurrentThreadId(), method, file, \
															   __LINE__);                                    \
	} while (0)

// Reports a condition text unconditionally (a branch that should not be reached).
#define ASSERT_RELEASE_FAILED(condText, method, file)                                                           \
	do                                                                                                         \
	{                                                                                                          \
		if (AfxGetApplicationContext()->AreReleaseAssertionsEnabled())                                         \
			AfxGetApplicationContext()->AssertAlwaysFailedLine(condText, AfxGetCurrentThreadId(), method, file, \
															   __LINE__);                                      \
	} while (0)

class CApplicationErrorException : public CException
{
	DECLARE_DYNAMIC(CApplicationErrorException, CException)
public:
	explicit CApplicationErrorException(CString message) : CException(std::move(message)) {}
};

// A list of messages gathered during an operation, shown together at its end.
class CDiagnostic
{
public:
	enum MsgType
	{
		Info,
		Warning,
		Error,
	};
	struct Item
	{
		MsgType type;
		CString text;
	};

	void Add(const CString& text, MsgType type = Error) { m_Items.push_back({type, text}); }
	BOOL HasErrors() const;
	BOOL IsEmpty() const { return m_Items.empty(); }
	const std::vector<Item>& Items() const { return m_Items; }
	void Clear() { m_Items.clear(); }
	CString ToString() const;

private:
	std::vector<Item> m_Items;
};

struct CLoginInfos
{
	CString m_strUserName;
	CString m_strCompanyName;
};

CLoginInfos* AfxGetLoginInfos();
void AfxSetLoginUser(const CString& userName);
