#pragma once
// Twelve monthly columns named after a prefix and the Italian month names, January first.
#include "platform/plvoledb/SqlRecord.h"

namespace kvzdrivers {

template <class D>
void BindMonths(RecordBinder& b, const char* prefix, D (&months)[12])
{
	for (int m = 0; m < 12; ++m)
		b.Col(CString(prefix) + AfxGetMonthName(m + 1), months[m]);
}

}  // namespace kvzdrivers
