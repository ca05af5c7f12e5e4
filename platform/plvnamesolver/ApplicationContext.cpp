#include "platform/plvnamesolver/ApplicationContext.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <utility>

#include <fmt/format.h>

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

void CApplicationContext::SetAssertionLog(const std::string& path)
{
	std::lock_guard lock(m_Mutex);
	if (m_pLog)
		std::fclose(std::exchange(m_pLog, nullptr));
	m_strLog = path;
	m_bLogFailed = false;
}

long CApplicationContext::GetAssertionCount() const
{
	std::lock_guard lock(m_Mutex);
	return m_nCount;
}

std::string CApplicationContext::GetAssertionLogWritten() const
{
	std::lock_guard lock(m_Mutex);
	return m_pLog ? m_strLog : std::string();
}

CApplicationContext::~CApplicationContext()
{
	if (m_pLog)
		std::fclose(m_pLog);
}

void CApplicationContext::AssertAlwaysFailedLine(const char* condition, std::uint64_t threadId, const char* method,
												 const char* file, int line)
{
	AssertionReport r{condition ? condition : "", threadId, method ? method : "", file ? file : "", line};
	const std::string text = fmt::format("assertion failed: {} (thread {}, {}, {}:{})", r.condition.GetString(),
										 threadId, r.method.GetString(), r.file.GetString(), line);
	std::lock_guard lock(m_Mutex);
	++m_nCount;
	if (!m_pLog && !m_strLog.empty() && !m_bLogFailed)
	{
		std::error_code ec;
		std::filesystem::create_directories(std::filesystem::path(m_strLog).parent_path(), ec);
		m_pLog = std::fopen(m_strLog.c_str(), "a");
		m_bLogFailed = m_pLog == nullptr;
	}
	if (m_pLog)
	{
		const std::time_t now = std::time(nullptr);
		std::tm tm{};
		localtime_r(&now, &tm);
		std::fprintf(m_pLog, "%04d-%02d-%02d %02d:%02d:%02d kvz[%d] %s\n", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
					 tm.tm_hour, tm.tm_min, tm.tm_sec, static_cast<int>(::getpid()), text.c_str());
		std::fflush(m_pLog);
	}
	// Never lost: without a log it goes to stderr.
	if (m_bEcho || !m_pLog)
		std::fprintf(stderr, "%s\n", text.c_str());
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
