#include "platform/plvgeneric/Application.h"

#include <mutex>
#include <optional>

namespace {
std::mutex g_Mutex;
std::optional<DataDate> g_Date;
int g_Year = 0;
}  // namespace

DataDate AfxGetApplicationDate()
{
	std::lock_guard lock(g_Mutex);
	return g_Date ? *g_Date : DataDate::Today();
}

void AfxSetApplicationDate(const DataDate& date)
{
	std::lock_guard lock(g_Mutex);
	g_Date = DataDate(date.Day(), date.Month(), date.Year());
}

int AfxGetApplicationYear()
{
	std::lock_guard lock(g_Mutex);
	return g_Year;
}

void AfxSetApplicationYear(int year)
{
	std::lock_guard lock(g_Mutex);
	g_Year = year;
}

void AfxResetApplicationDate()
{
	std::lock_guard lock(g_Mutex);
	g_Date.reset();
	g_Year = 0;
}

CString AfxLoadSourceString(LPCTSTR text, LPCTSTR)
{
	return CString(text);
}
