#include "platform/plvgeneric/StackSpace.h"

#include <pthread.h>

#include <cstdint>

namespace {
struct StackBounds
{
	bool bRead = false;
	const char* pLow = nullptr;  // the lowest usable address; the stack grows down to it
};
thread_local StackBounds t_Bounds;

const char* LowestAddress()
{
	if (!t_Bounds.bRead)
	{
		// Read once per thread: on the main thread the library looks at the process's mappings.
		t_Bounds.bRead = true;
		pthread_attr_t attr;
		if (pthread_getattr_np(pthread_self(), &attr) == 0)
		{
			void* pAddr = nullptr;
			std::size_t size = 0;
			if (pthread_attr_getstack(&attr, &pAddr, &size) == 0)
				t_Bounds.pLow = static_cast<const char*>(pAddr);
			pthread_attr_destroy(&attr);
		}
	}
	return t_Bounds.pLow;
}
}  // namespace

std::size_t AfxStackRemaining()
{
	const char* pLow = LowestAddress();
	if (!pLow)
		return SIZE_MAX;
	// The frame itself, not a local: a sanitizer may keep locals off the stack.
	const char* pHere = static_cast<const char*>(__builtin_frame_address(0));
	return pHere > pLow ? static_cast<std::size_t>(pHere - pLow) : 0;
}
