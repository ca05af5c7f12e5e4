#include "platform/plvgeneric/TypedInput.h"

#include <charconv>
#include <cmath>
#include <string>

#include <fmt/format.h>

#include "platform/mfc/CString.h"

namespace typed_input {
namespace {

std::string_view Trimmed(std::string_view text)
{
	const auto first = text.find_first_not_of(" \t");
	if (first == std::string_view::npos)
		return {};
	return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsDigit(char c)
{
	return c >= '0' && c <= '9';
}

// Digits from pos on; how many.
size_t Digits(std::string_view s, size_t& pos)
{
	const size_t start = pos;
	while (pos < s.size() && IsDigit(s[pos]))
		++pos;
	return pos - start;
}

bool DaysOk(int day, int month, int year)
{
	static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
	if (month < 1 || month > 12 || day < 1)
		return false;
	const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
	return day <= (month == 2 && leap ? 29 : days[month - 1]);
}

// A run of 1..maxDigits digits as a number.
bool Part(std::string_view s, size_t& pos, size_t minDigits, size_t maxDigits, int& out)
{
	const size_t start = pos;
	const size_t n = Digits(s, pos);
	if (n < minDigits || n > maxDigits)
		return false;
	out = 0;
	for (size_t i = start; i < pos; ++i)
		out = out * 10 + (s[i] - '0');
	return true;
}

}  // namespace

std::string ReadInteger(std::string_view text, long long lo, long long hi, long long& value)
{
	std::string_view s = Trimmed(text);
	size_t pos = s.empty() || (s[0] != '+' && s[0] != '-') ? 0 : 1;
	if (Digits(s, pos) == 0 || pos != s.size())
		return "is not a whole number";
	// from_chars takes no '+'.
	const std::string_view digits = s[0] == '+' ? s.substr(1) : s;
	long long n = 0;
	const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
	if (ec != std::errc() || n < lo || n > hi)
		return fmt::format("is out of range ({} to {})", lo, hi);
	value = n;
	return {};
}

std::string ReadNumber(std::string_view text, double& value)
{
	std::string s(Trimmed(text));
	if (s.find(',') != std::string::npos)
	{
		std::string plain;
		for (char c : s)
			if (c != '.')
				plain += c == ',' ? '.' : c;
		s = plain;
	}
	const char* const kNotANumber = "is not a decimal number";
	size_t pos = s.empty() || (s[0] != '+' && s[0] != '-') ? 0 : 1;
	size_t digits = Digits(s, pos);
	if (pos < s.size() && s[pos] == '.')
	{
		++pos;
		digits += Digits(s, pos);
	}
	if (digits == 0)
		return kNotANumber;
	if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E'))
	{
		++pos;
		if (pos < s.size() && (s[pos] == '+' || s[pos] == '-'))
			++pos;
		if (Digits(s, pos) == 0)
			return kNotANumber;
	}
	if (pos != s.size())
		return kNotANumber;
	const char* first = s.data() + (s[0] == '+' ? 1 : 0);
	double d = 0;
	const auto [end, ec] = std::from_chars(first, s.data() + s.size(), d);
	if (ec == std::errc::result_out_of_range || !std::isfinite(d))
		return "is out of range";
	if (ec != std::errc() || end != s.data() + s.size())
		return kNotANumber;
	value = d;
	return {};
}

std::string ReadDate(std::string_view text, int minYear, int& day, int& month, int& year)
{
	const std::string_view s = Trimmed(text);
	int d = 0, m = 0, y = 0;
	size_t pos = 0;
	bool ok = false;
	if (s.find('/') != std::string_view::npos)
		ok = Part(s, pos, 1, 2, d) && pos < s.size() && s[pos++] == '/' && Part(s, pos, 1, 2, m) && pos < s.size() &&
			 s[pos++] == '/' && Part(s, pos, 4, 4, y);
	else
		ok = Part(s, pos, 4, 4, y) && pos < s.size() && s[pos++] == '-' && Part(s, pos, 1, 2, m) && pos < s.size() &&
			 s[pos++] == '-' && Part(s, pos, 1, 2, d);
	if (!ok || pos != s.size())
		return "is not a date (dd/mm/yyyy or yyyy-mm-dd)";
	if (y < minYear)
		return fmt::format("is not a date of the years {} to 9999", minYear);
	if (!DaysOk(d, m, y))
		return "is not a day of the calendar";
	day = d;
	month = m;
	year = y;
	return {};
}

std::string ReadYesNo(std::string_view text, bool& value, bool emptyIsNo)
{
	while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
		text.remove_prefix(1);
	while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
		text.remove_suffix(1);
	if (text.empty() && emptyIsNo)
	{
		value = false;
		return {};
	}
	for (const char* yes : {"si", "sì", "s", "yes", "y", "true", "1"})
		if (Utf8CompareNoCase(text, yes) == 0)
		{
			value = true;
			return {};
		}
	for (const char* no : {"no", "n", "false", "0"})
		if (Utf8CompareNoCase(text, no) == 0)
		{
			value = false;
			return {};
		}
	return fmt::format("is not yes or no ({})", kYesNoWords);
}

bool HasControlChars(std::string_view s, bool textBreaks)
{
	for (size_t i = 0; i < s.size(); ++i)
	{
		const unsigned char c = static_cast<unsigned char>(s[i]);
		if (c < 0x20 || c == 0x7F)
		{
			if (!(textBreaks && (c == '\t' || c == '\n' || c == '\r')))
				return true;
		}
		// U+0080..U+009F in UTF-8.
		else if (c == 0xC2 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) <= 0x9F &&
				 static_cast<unsigned char>(s[i + 1]) >= 0x80)
			return true;
	}
	return false;
}

}  // namespace typed_input
