#pragma once
// UTF-8 string with the operations the framework's code uses.
#include <compare>
#include <cstdarg>
#include <string>
#include <string_view>

#include "platform/mfc/AfxTypes.h"

class CString
{
public:
	CString() = default;
	CString(const char* s) : m_s(s ? s : "") {}
	CString(const std::string& s) : m_s(s) {}
	CString(std::string&& s) : m_s(std::move(s)) {}
	CString(std::string_view s) : m_s(s) {}
	CString(char ch, int nRepeat = 1) : m_s(nRepeat > 0 ? static_cast<size_t>(nRepeat) : 0, ch) {}

	// printf semantics, including "*" widths ("%0*ld").
	void Format(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
	void FormatV(const char* fmt, va_list args);
	void AppendFormat(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
	static CString Formatted(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

	int GetLength() const { return static_cast<int>(m_s.size()); }
	BOOL IsEmpty() const { return m_s.empty(); }
	void Empty() { m_s.clear(); }
	char GetAt(int i) const { return m_s.at(static_cast<size_t>(i)); }
	void SetAt(int i, char ch) { m_s.at(static_cast<size_t>(i)) = ch; }
	char operator[](int i) const { return GetAt(i); }

	int Find(char ch, int start = 0) const;
	int Find(const char* sub, int start = 0) const;
	int ReverseFind(char ch) const;
	int FindOneOf(const char* chars) const;

	// Counted in characters (UTF-8 sequences), not bytes: fixed-width fields of a text line.
	int GetCharCount() const;
	CString MidChars(int first, int count = -1) const;

	CString Mid(int first) const;
	CString Mid(int first, int count) const;
	CString Left(int count) const;
	CString Right(int count) const;

	int Replace(const char* oldText, const char* newText);
	int Replace(char oldCh, char newCh);
	int Remove(char ch);
	int Insert(int index, const char* text);
	int Delete(int index, int count = 1);

	CString& MakeUpper();
	CString& MakeLower();
	CString& Trim();
	CString& TrimLeft();
	CString& TrimRight();
	CString& Trim(char ch);
	CString& TrimLeft(char ch);
	CString& TrimRight(char ch);

	int Compare(const char* s) const;
	int CompareNoCase(const char* s) const;

	operator const char*() const { return m_s.c_str(); }
	const char* GetString() const { return m_s.c_str(); }
	const std::string& str() const { return m_s; }
	std::string& str() { return m_s; }

	CString& operator+=(const CString& s) { m_s += s.m_s; return *this; }
	CString& operator+=(const char* s) { if (s) m_s += s; return *this; }
	CString& operator+=(char ch) { m_s += ch; return *this; }

	friend CString operator+(const CString& a, const CString& b) { return CString(a.m_s + b.m_s); }
	friend CString operator+(const CString& a, const char* b) { return CString(a.m_s + (b ? b : "")); }
	friend CString operator+(const char* a, const CString& b) { return CString((a ? a : "") + b.m_s); }
	friend CString operator+(const CString& a, char b) { return CString(a.m_s + b); }

	friend bool operator==(const CString& a, const CString& b) { return a.m_s == b.m_s; }
	friend bool operator==(const CString& a, const char* b) { return a.m_s == (b ? b : ""); }
	// Without this, ordered containers of pairs would compare the converted char pointers.
	friend std::strong_ordering operator<=>(const CString& a, const CString& b) { return a.m_s <=> b.m_s; }
	friend bool operator<(const CString& a, const CString& b) { return a.m_s < b.m_s; }

private:
	std::string m_s;
};

// The byte offset of the n-th character of UTF-8 text (its length when there are fewer).
size_t Utf8Offset(std::string_view s, int nChars);

// Upper/lower case of UTF-8 text: ASCII and the Latin-1 letters (accented Italian vowels).
std::string Utf8ToUpper(std::string_view s);
std::string Utf8ToLower(std::string_view s);
// Case-insensitive comparison under the same folding.
int Utf8CompareNoCase(std::string_view a, std::string_view b);
