#pragma once
// The framework's file dialog: the person picks a file through the interaction interface (a
// terminal, a script's answer); the path comes back as chosen, never rewritten.
#include "platform/mfc/CString.h"

enum : DWORD
{
	OFN_READONLY = 0x0001,
	OFN_OVERWRITEPROMPT = 0x0002,
	OFN_HIDEREADONLY = 0x0004,
	OFN_PATHMUSTEXIST = 0x0800,
	OFN_FILEMUSTEXIST = 0x1000,
};

class CPLVFileDialog
{
public:
	// The filter is "Text|pattern|Text|pattern|"; only its texts are shown here.
	explicit CPLVFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr, LPCTSTR lpszFileName = nullptr,
							DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = nullptr);

	// IDOK with a path, IDCANCEL when cancelled or when the path breaks the dialog's flags (the
	// person is told why).
	int DoModal();
	CString GetPathName() const { return m_strPath; }

private:
	BOOL m_bOpen;
	CString m_strDefExt;
	CString m_strPath;
	DWORD m_dwFlags;
	CString m_strFilter;
};
