#pragma once
// Application-wide values: the working date and year, localisable source strings.
#include "platform/plvgeneric/DataObj.h"

// The application date: today unless set (tests and the command line set it).
DataDate AfxGetApplicationDate();
void AfxSetApplicationDate(const DataDate& date);
// The application year: 0 when none was chosen (callers then use the date's year).
int AfxGetApplicationYear();
void AfxSetApplicationYear(int year);
// Restores today and no year.
void AfxResetApplicationDate();

// Localisable texts are the Italian source strings themselves.
CString AfxLoadSourceString(LPCTSTR text, LPCTSTR source = nullptr);
