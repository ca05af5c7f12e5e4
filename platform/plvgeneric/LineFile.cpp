#include "platform/plvgeneric/LineFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>


namespace {

CFileException::Cause CauseOf(int err)
{
	switch (err)
	{
	case ENOENT: return CFileException::fileNotFound;
	case ENOTDIR:
	case ENAMETOOLONG:
	case ELOOP: return CFileException::badPath;
	case EACCES:
	case EPERM: return CFileException::accessDenied;
	case EISDIR: return CFileException::notAFile;
	default: return CFileException::genericException;
	}
}

// Length of the UTF-8 sequence at s[i], 0 when it is not a well-formed one.
size_t Utf8SequenceAt(std::string_view s, size_t i)
{
	const auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
	const unsigned char c = b(i);
	if (c < 0x80)
		return 1;
	size_t n = 0;
	unsigned cp = 0;
	if (c >= 0xC2 && c <= 0xDF)
		n = 2, cp = c & 0x1F;
	else if (c >= 0xE0 && c <= 0xEF)
		n = 3, cp = c & 0x0F;
	else if (c >= 0xF0 && c <= 0xF4)
		n = 4, cp = c & 0x07;
	else
		return 0;
	if (i + n > s.size())
		return 0;
	for (size_t k = 1; k < n; ++k)
	{
		if ((b(i + k) & 0xC0) != 0x80)
			return 0;
		cp = (cp << 6) | (b(i + k) & 0x3F);
	}
	// Overlong forms, surrogates and values past U+10FFFF are not text.
	if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
		return 0;
	return n;
}

// A line cut short may end inside a character: that part goes with the rest of the line.
void DropPartialSequence(std::string& s)
{
	for (size_t back = 1; back <= 4 && back <= s.size(); ++back)
	{
		const unsigned char c = static_cast<unsigned char>(s[s.size() - back]);
		if ((c & 0xC0) == 0x80)
			continue;
		const size_t need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
		if (need > back)
			s.erase(s.end() - static_cast<std::ptrdiff_t>(back), s.end());
		return;
	}
}

bool IsUtf8(std::string_view s)
{
	for (size_t i = 0; i < s.size();)
	{
		const size_t n = Utf8SequenceAt(s, i);
		if (n == 0)
			return false;
		i += n;
	}
	return true;
}

void AppendCodePoint(std::string& out, unsigned cp)
{
	if (cp < 0x80)
		out += static_cast<char>(cp);
	else if (cp < 0x800)
	{
		out += static_cast<char>(0xC0 | (cp >> 6));
		out += static_cast<char>(0x80 | (cp & 0x3F));
	}
	else if (cp < 0x10000)
	{
		out += static_cast<char>(0xE0 | (cp >> 12));
		out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
		out += static_cast<char>(0x80 | (cp & 0x3F));
	}
	else
	{
		out += static_cast<char>(0xF0 | (cp >> 18));
		out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
		out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
		out += static_cast<char>(0x80 | (cp & 0x3F));
	}
}

// Windows-1252: 0x80-0x9F differ from Latin-1; the five unassigned ones stay as they are.
std::string FromWindows1252(std::string_view s)
{
	static const unsigned short k80[32] = {
		0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
		0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
		0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
	};
	std::string out;
	out.reserve(s.size() * 2);
	for (unsigned char c : s)
		AppendCodePoint(out, c >= 0x80 && c < 0xA0 ? k80[c - 0x80] : c);
	return out;
}
// A line read that stopped on an error rather than the end of the file.
void ThrowOnReadError(FILE* pFile, const CString& strPath)
{
	if (std::ferror(pFile))
	{
		const int err = errno;
		std::clearerr(pFile);
		throw CFileException(CFileException::readError, err, strPath);
	}
}
}  // namespace

CFileException::CFileException(int cause, int osError, const CString& fileName)
	: m_cause(cause), m_lOsError(osError), m_strFileName(fileName)
{
	m_strMessage = fileName + ": " + PCause();
}

CString CFileException::PCause() const
{
	switch (m_cause)
	{
	case fileNotFound: return "file non trovato";
	case badPath: return "percorso non valido";
	case accessDenied: return "accesso negato";
	case notAFile: return "non è un file";
	case readError:
		return m_lOsError ? CString::Formatted("errore di lettura (%s)", std::strerror(m_lOsError))
						  : CString("errore di lettura");
	case none: return "nessun errore";
	default: return m_lOsError ? CString(std::strerror(m_lOsError)) : CString("errore del file");
	}
}

CLineFile::~CLineFile()
{
	Close();
}

BOOL CLineFile::Open(LPCTSTR lpszFileName, UINT /*nOpenFlags*/, CFileException* pError, int /*nFormat*/)
{
	Close();
	const CString path(lpszFileName);
	auto fail = [&](int cause, int err) {
		if (pError)
			*pError = CFileException(cause, err, path);
		return FALSE;
	};
	if (path.IsEmpty())
		return fail(CFileException::badPath, 0);
	std::FILE* f = std::fopen(path.GetString(), "rb");
	if (!f)
		return fail(CauseOf(errno), errno);
	// A folder opens on Linux: it is refused here, not at the first read.
	struct stat st = {};
	if (::fstat(::fileno(f), &st) != 0 || !S_ISREG(st.st_mode))
	{
		std::fclose(f);
		return fail(CFileException::notAFile, 0);
	}
	m_pFile = f;
	m_strPath = path;
	m_bFirstLine = true;
	m_bCut = false;
	m_eUtf16 = Utf16::none;
	m_nPendingUnit = -1;
	const int b0 = getc_unlocked(f);
	const int b1 = b0 == EOF ? EOF : getc_unlocked(f);
	if (b0 == 0xFF && b1 == 0xFE)
		m_eUtf16 = Utf16::littleEndian;
	else if (b0 == 0xFE && b1 == 0xFF)
		m_eUtf16 = Utf16::bigEndian;
	else
		std::rewind(f);
	return TRUE;
}

long CLineFile::ReadUnit()
{
	if (m_nPendingUnit >= 0)
	{
		const long u = m_nPendingUnit;
		m_nPendingUnit = -1;
		return u;
	}
	const int b0 = getc_unlocked(m_pFile);
	if (b0 == EOF)
		return -1;
	const int b1 = getc_unlocked(m_pFile);
	if (b1 == EOF)
		return -1;
	return m_eUtf16 == Utf16::littleEndian ? long(b0 | (b1 << 8)) : long((b0 << 8) | b1);
}

BOOL CLineFile::ReadUtf16String(CString& line, UINT nMax)
{
	const size_t keep = nMax >= 0x3FFFFFFF ? std::string::npos : size_t(nMax);
	std::string text;
	size_t nChars = 0;
	bool bAny = false, bCut = false;
	long u;
	while ((u = ReadUnit()) >= 0)
	{
		bAny = true;
		if (u == '\n')
			break;
		if (u == '\r')
		{
			const long next = ReadUnit();
			if (next != '\n' && next >= 0)
				m_nPendingUnit = next;
			break;
		}
		unsigned cp = static_cast<unsigned>(u);
		if (cp >= 0xD800 && cp <= 0xDBFF)
		{
			// A high surrogate needs its low one; alone it is no character.
			const long low = ReadUnit();
			if (low >= 0xDC00 && low <= 0xDFFF)
				cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<unsigned>(low) - 0xDC00);
			else
			{
				cp = 0xFFFD;
				if (low >= 0)
					m_nPendingUnit = low;
			}
		}
		else if (cp >= 0xDC00 && cp <= 0xDFFF)
			cp = 0xFFFD;
		else if (cp == 0)
			cp = ' ';
		if (nChars < keep)
		{
			AppendCodePoint(text, cp);
			++nChars;
		}
		else
			bCut = true;
	}
	ThrowOnReadError(m_pFile, m_strPath);
	if (!bAny)
		return FALSE;
	m_bFirstLine = false;
	m_bCut = bCut;
	line = CString(std::move(text));
	return TRUE;
}

BOOL CLineFile::ReadString(CString& line, UINT nMax)
{
	m_bCut = false;
	if (!m_pFile)
		return FALSE;
	if (m_eUtf16 != Utf16::none)
		return ReadUtf16String(line, nMax);
	// Enough bytes for nMax characters of UTF-8; what lies past them is read and dropped.
	const size_t keep = nMax >= 0x3FFFFFFF ? std::string::npos : size_t(nMax) * 4 + 1;
	std::string bytes;
	bool bAny = false, bCutBytes = false;
	int c;
	while ((c = getc_unlocked(m_pFile)) != EOF)
	{
		bAny = true;
		if (c == '\n')
			break;
		// A line ends at LF, CR LF or a CR alone (files from old Macs and some exports).
		if (c == '\r')
		{
			const int next = getc_unlocked(m_pFile);
			if (next != '\n' && next != EOF)
				ungetc(next, m_pFile);
			break;
		}
		if (bytes.size() < keep)
			bytes += static_cast<char>(c);
		else
			bCutBytes = true;
	}
	ThrowOnReadError(m_pFile, m_strPath);
	if (!bAny)
		return FALSE;
	if (bCutBytes)
		DropPartialSequence(bytes);
	if (m_bFirstLine && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
		bytes.erase(0, 3);
	m_bFirstLine = false;
	// A NUL is no text character: it would end the line for every C string that carries it.
	for (char& ch : bytes)
		if (ch == '\0')
			ch = ' ';
	CString text = IsUtf8(bytes) ? CString(std::move(bytes)) : CString(FromWindows1252(bytes));
	if (nMax < 0x3FFFFFFF && text.GetCharCount() > int(nMax))
	{
		text = text.MidChars(0, int(nMax));
		m_bCut = true;
	}
	m_bCut = m_bCut || bCutBytes;
	line = std::move(text);
	return TRUE;
}

void CLineFile::Close()
{
	if (m_pFile)
		std::fclose(m_pFile);
	m_pFile = nullptr;
	m_eUtf16 = Utf16::none;
	m_nPendingUnit = -1;
}
