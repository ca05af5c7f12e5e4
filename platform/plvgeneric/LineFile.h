#pragma once
// Text files read line by line, and the errors of files. Lines are UTF-8; a line that is not
// (a file written in a Windows code page) is read as Windows-1252, so that no byte is lost or
// turned into something that is not text.
#include <cstdio>

#include "platform/mfc/CException.h"

class CFileException : public CException
{
	DECLARE_DYNAMIC(CFileException, CException)
public:
	enum Cause
	{
		none,
		genericException,
		fileNotFound,
		badPath,
		accessDenied,
		notAFile,
		readError,
	};
	CFileException() = default;
	CFileException(int cause, int osError, const CString& fileName);

	// The cause in words, for messages ("Errore apertura file %s: %s.").
	CString PCause() const;

	int m_cause = none;
	int m_lOsError = 0;
	CString m_strFileName;
};

class CLineFile : public CObject
{
	DECLARE_DYNAMIC(CLineFile, CObject)
public:
	enum OpenFlags : unsigned
	{
		modeRead = 0x0000,
		typeText = 0x4000,
	};

	CLineFile() = default;
	~CLineFile() override;
	CLineFile(const CLineFile&) = delete;
	CLineFile& operator=(const CLineFile&) = delete;

	// Opens a file for reading (writing is not offered); FALSE, with the cause in pError, when
	// it cannot be opened or is not a file. nFormat 0: UTF-8 (a byte-order mark is skipped).
	BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr, int nFormat = 0);
	// The next line without its line break (LF, CR LF or CR), of at most nMax characters: the rest of
	// a longer line is skipped, never returned as a line of its own (WasCut tells). FALSE at the
	// end of the file. A read error throws CFileException.
	BOOL ReadString(CString& line, UINT nMax = 0xFFFFFFFF);
	BOOL WasCut() const { return m_bCut; }
	void Close();
	BOOL IsOpen() const { return m_pFile != nullptr; }
	const CString& GetFilePath() const { return m_strPath; }

private:
	std::FILE* m_pFile = nullptr;
	CString m_strPath;
	bool m_bFirstLine = true;
	bool m_bCut = false;
};
