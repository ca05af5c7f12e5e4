#include "platform/mfc/CString.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {
// Latin-1 supplement letters U+00E0..U+00FE (but U+00F7) pair with U+00C0..U+00DE.
template <bool toUpper>
std::string FoldCase(std::string_view s)
{
	std::string out(s);
	for (size_t i = 0; i < out.size(); ++i)
	{
		unsigned char c = static_cast<unsigned char>(out[i]);
		if (c < 0x80)
		{
			out[i] = static_cast<char>(toUpper ? std::toupper(c) : std::tolower(c));
		}
		else if (c == 0xC3 && i + 1 < out.size())
		{
			unsigned char d = static_cast<unsigned char>(out[i + 1]);
			if (toUpper && d >= 0xA0 && d <= 0xBE && d != 0xB7)
				out[i + 1] = static_cast<char>(d - 0x20);
			else if (!toUpper && d >= 0x80 && d <= 0x9E && d != 0x97)
				out[i + 1] = static_cast<char>(d + 0x20);
			++i;
		}
	}
	return out;
}

std::string VFormat(const char* fmt, va_list args)
{
	va_list copy;
	va_copy(copy, args);
	char buf[256];
	int n = std::vsnprintf(buf, sizeof buf, fmt, copy);
	va_end(copy);
	if (n < 0)
		return {};
	if (static_cast<size_t>(n) < sizeof buf)
		return std::string(buf, static_cast<size_t>(n));
	std::vector<char> big(static_cast<size_t>(n) + 1);
	std::vsnprintf(big.data(), big.size(), fmt, args);
	return std::string(big.data(), static_cast<size_t>(n));
}

size_t Clamp(int v, size_t hi)
{
	return v < 0 ? 0 : std::min(static_cast<size_t>(v), hi);
}

bool IsBlank(char c)
{
	return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}
}  // namespace

std::string Utf8ToUpper(std::string_view s) { return FoldCase<true>(s); }
std::string Utf8ToLower(std::string_view s) { return FoldCase<false>(s); }

int Utf8CompareNoCase(std::string_view a, std::string_view b)
{
	int c = Utf8ToUpper(a).compare(Utf8ToUpper(b));
	return c < 0 ? -1 : c > 0 ? 1 : 0;
}

void CString::FormatV(const char* fmt, va_list args)
{
	m_s = VFormat(fmt, args);
}

void CString::Format(const char* fmt, ...)
{
	va_list args;
	va_start(args, fmt);
	m_s = VFormat(fmt, args);
	va_end(args);
}

void CString::AppendFormat(const char* fmt, ...)
{
	va_list args;
	va_start(args, fmt);
	m_s += VFormat(fmt, args);
	va_end(args);
}

CString CString::Formatted(const char* fmt, ...)
{
	va_list args;
	va_start(args, fmt);
	CString s(VFormat(fmt, args));
	va_end(args);
	return s;
}

int CString::Find(char ch, int start) const
{
	if (start < 0 || static_cast<size_t>(start) >= m_s.size())
		return -1;
	auto p = m_s.find(ch, static_cast<size_t>(start));
	return p == std::string::npos ? -1 : static_cast<int>(p);
}

int CString::Find(const char* sub, int start) const
{
	if (!sub || start < 0 || static_cast<size_t>(start) > m_s.size())
		return -1;
	auto p = m_s.find(sub, static_cast<size_t>(start));
	return p == std::string::npos ? -1 : static_cast<int>(p);
}

int CString::ReverseFind(char ch) const
{
	auto p = m_s.rfind(ch);
	return p == std::string::npos ? -1 : static_cast<int>(p);
}

int CString::FindOneOf(const char* chars) const
{
	auto p = m_s.find_first_of(chars ? chars : "");
	return p == std::string::npos ? -1 : static_cast<int>(p);
}

CString CString::Mid(int first) const
{
	return CString(m_s.substr(Clamp(first, m_s.size())));
}

CString CString::Mid(int first, int count) const
{
	size_t f = Clamp(first, m_s.size());
	return CString(m_s.substr(f, Clamp(count, m_s.size() - f)));
}

CString CString::Left(int count) const
{
	return CString(m_s.substr(0, Clamp(count, m_s.size())));
}

CString CString::Right(int count) const
{
	size_t n = Clamp(count, m_s.size());
	return CString(m_s.substr(m_s.size() - n));
}

int CString::Replace(const char* oldText, const char* newText)
{
	if (!oldText || !*oldText)
		return 0;
	std::string_view from(oldText), to(newText ? newText : "");
	int n = 0;
	std::string out;
	size_t pos = 0;
	for (size_t hit; (hit = m_s.find(from, pos)) != std::string::npos; pos = hit + from.size(), ++n)
		out.append(m_s, pos, hit - pos).append(to);
	if (n)
	{
		out.append(m_s, pos);
		m_s = std::move(out);
	}
	return n;
}

int CString::Replace(char oldCh, char newCh)
{
	int n = 0;
	for (char& c : m_s)
		if (c == oldCh)
			c = newCh, ++n;
	return n;
}

int CString::Remove(char ch)
{
	auto it = std::remove(m_s.begin(), m_s.end(), ch);
	int n = static_cast<int>(m_s.end() - it);
	m_s.erase(it, m_s.end());
	return n;
}

int CString::Insert(int index, const char* text)
{
	m_s.insert(Clamp(index, m_s.size()), text ? text : "");
	return GetLength();
}

int CString::Delete(int index, int count)
{
	size_t i = Clamp(index, m_s.size());
	m_s.erase(i, Clamp(count, m_s.size() - i));
	return GetLength();
}

CString& CString::MakeUpper() { m_s = Utf8ToUpper(m_s); return *this; }
CString& CString::MakeLower() { m_s = Utf8ToLower(m_s); return *this; }

CString& CString::TrimLeft()
{
	size_t i = 0;
	while (i < m_s.size() && IsBlank(m_s[i]))
		++i;
	m_s.erase(0, i);
	return *this;
}

CString& CString::TrimRight()
{
	while (!m_s.empty() && IsBlank(m_s.back()))
		m_s.pop_back();
	return *this;
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }

CString& CString::TrimLeft(char ch)
{
	m_s.erase(0, std::min(m_s.find_first_not_of(ch), m_s.size()));
	return *this;
}

CString& CString::TrimRight(char ch)
{
	while (!m_s.empty() && m_s.back() == ch)
		m_s.pop_back();
	return *this;
}

CString& CString::Trim(char ch) { return TrimRight(ch).TrimLeft(ch); }

int CString::Compare(const char* s) const
{
	int c = m_s.compare(s ? s : "");
	return c < 0 ? -1 : c > 0 ? 1 : 0;
}

int CString::CompareNoCase(const char* s) const
{
	return Utf8CompareNoCase(m_s, s ? s : "");
}

size_t Utf8Offset(std::string_view s, int nChars)
{
	size_t i = 0;
	for (; i < s.size() && nChars > 0; --nChars)
		// A character is a lead byte and the continuation bytes (10xxxxxx) after it.
		for (++i; i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80; ++i)
		{
		}
	return i;
}

int CString::GetCharCount() const
{
	int n = 0;
	for (unsigned char c : m_s)
		n += (c & 0xC0) != 0x80;
	return n;
}

CString CString::MidChars(int first, int count) const
{
	const size_t from = Utf8Offset(m_s, std::max(first, 0));
	if (count < 0)
		return CString(m_s.substr(from));
	const size_t to = from + Utf8Offset(std::string_view(m_s).substr(from), count);
	return CString(m_s.substr(from, to - from));
}
