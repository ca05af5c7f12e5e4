#pragma once
// Text files read line by line, and the errors of files. Lines are UTF-8; a line that is not
// (a file written in a Windows code page) is read as Windows-1252, so that no byte is lost or
// turned into something that is not text. A file that starts with the byte-order mark of UTF-16
// (as Windows editors save "Unicode") is read as UTF-16 of that byte order.
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
	// it cannot be opened or is not a file. nFormat 0: UTF-8 (a byte-order mark is skipped), or
	// UTF-16 when the file starts with its byte-order mark.
	BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr, int nFormat = 0);
	// The next line without its line break (LF, CR LF or CR), of at most nMax characters: the rest of
	// a longer line is skipped, never returned as a line of its own (WasCut tells). FALSE at the
	// end of the file. A read error throws CFileException.
	BOOL ReadString(CString& line, UINT nMax = 0xFFFFFFFF);
	BOOL WasCut() const { return m_bCut; }
	void Close();
	BOOL IsOpen() const { return m_pFile != nullptr; }
	const CString& GetFilePath() const { return m_strPath; }
	// Whether the file is read as UTF-16 (it started with that byte-order mark).
	BOOL IsUtf16() const { return m_eUtf16 != Utf16::none; }

private:
	enum class Utf16
	{
		none,
		littleEndian,
		bigEndian,
	};
	// The next code unit of a UTF-16 file, -1 at its end (an odd last byte is dropped).
	long ReadUnit();
	BOOL ReadUtf16String(CString& line, UINT nMax);

	std::FILE* m_pFile = nullptr;
	Utf16 m_eUtf16 = Utf16::none;
	long m_nPendingUnit = -1;  // read ahead after a CR
	CString m_strPath;
	bool m_bFirstLine = true;
	bool m_bCut = false;
};
