#include "kvznet/kvzdrivers/kvzappl/KvzApplInfo.h"

namespace {
KvzApplInfo g_KvzApplInfo;
}

KvzApplInfo* AfxGetKvzApplInfo()
{
	return &g_KvzApplInfo;
}
