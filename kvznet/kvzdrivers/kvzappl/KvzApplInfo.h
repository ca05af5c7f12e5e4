#pragma once
// The cost-driver library's module-wide data object: one per process, reached through
// AfxGetKvzApplInfo. It holds nothing yet.
#include "platform/mfc/CObject.h"

class KvzApplInfo : public CObject
{
	DECLARE_DYNAMIC(KvzApplInfo, CObject)
public:
	KvzApplInfo() = default;
	~KvzApplInfo() override = default;

	void Clear() {}
};

KvzApplInfo* AfxGetKvzApplInfo();
