#include "platform/plvgeneric/FunctionWrappers.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

namespace {

// The length sits in front of the text; the header keeps the text aligned like any allocation.
struct alignas(std::max_align_t) SysStringHeader
{
	std::uint32_t len;
};

std::atomic<long> s_nSysStringsAlive{0};
std::atomic<long> s_nSysStringsFreed{0};

SysStringHeader* HeaderOf(BSTR bstr)
{
	return reinterpret_cast<SysStringHeader*>(bstr) - 1;
}

}  // namespace

BSTR SysAllocString(const char* psz)
{
	return psz ? SysAllocStringLen(psz, static_cast<unsigned>(std::strlen(psz))) : nullptr;
}

BSTR SysAllocStringLen(const char* pch, unsigned len)
{
	void* block = ::operator new(sizeof(SysStringHeader) + len + 1);
	auto* header = new (block) SysStringHeader{len};
	BSTR text = reinterpret_cast<BSTR>(header + 1);
	if (pch)
		std::memcpy(text, pch, len);
	else
		std::memset(text, 0, len);
	text[len] = '\0';
	++s_nSysStringsAlive;
	return text;
}

void SysFreeString(BSTR bstr)
{
	if (!bstr)
		return;
	--s_nSysStringsAlive;
	++s_nSysStringsFreed;
	::operator delete(HeaderOf(bstr));
}

unsigned SysStringLen(BSTR bstr)
{
	return bstr ? HeaderOf(bstr)->len : 0;
}

long SysStringsAlive()
{
	return s_nSysStringsAlive.load();
}

long SysStringsFreed()
{
	return s_nSysStringsFreed.load();
}
