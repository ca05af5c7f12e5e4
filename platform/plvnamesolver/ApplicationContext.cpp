#include "platform/plvnamesolver/ApplicationContext.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>

BOOL CApplicationContext::AreReleaseAssertionsEnabled() const
{
	std::lock_guard lock(m_Mutex);
	return m_bEnabled;
}

void CApplicationContext::EnableReleaseAssertions(BOOL bEnable)
{
	std::lock_guard lock(m_Mutex);
	m_bEnabled = bEnable;
}

void CApplicationContext::SetEchoAssertions(BOOL bEcho)
{
	std::lock_guard lock(m_Mutex);
	m_bEcho = bEcho;
}

void CApplicationContext::AssertAlwaysFailedLine(const char* condition, std::uint64_t threadId, const char* method,
												 const char* file, int line)
{
	AssertionReport r{condition ? condition : "", threadId, method ? method : "", file ? file : "", line};
	std::lock_guard lock(m_Mutex);
	if (m_bEcho)
		std::fprintf(stderr, "assertion failed: %s (thread %llu, %s, %s:%d)\n", r.condition.GetString(),
					 static_cast<unsigned long long>(threadId), r.method.GetString(), r.file.GetString(), line);
	// Bounded: a loop that keeps failing must not grow memory without end.
	if (m_Reports.size() >= 10000)
		m_Reports.erase(m_Reports.begin());
	m_Reports.push_back(std::move(r));
}

std::vector<AssertionReport> CApplicationContext::GetAssertionReports() const
{
	std::lock_guard lock(m_Mutex);
	return m_Reports;
}

void CApplicationContext::ClearAssertionReports()
{
	std::lock_guard lock(m_Mutex);
	m_Reports.clear();
}

CApplicationContext* AfxGetApplicationContext()
{
	static CApplicationContext* context = new CApplicationContext;
	return context;
}

std::uint64_t AfxGetCurrentThreadId()
{
	return static_cast<std::uint64_t>(::syscall(SYS_gettid));
}

BOOL CDiagnostic::HasErrors() const
{
	for (auto& i : m_Items)
		if (i.type == Error)
			return TRUE;
	return FALSE;
}

CString CDiagnostic::ToString() const
{
	CString out;
	for (auto& i : m_Items)
	{
		if (!out.IsEmpty())
			out += '\n';
		out += i.text;
	}
	return out;
}

CLoginInfos* AfxGetLoginInfos()
{
	static CLoginInfos infos{"sa", ""};
	return &infos;
}

void AfxSetLoginUser(const CString& userName)
{
	AfxGetLoginInfos()->m_strUserName = userName;
}
