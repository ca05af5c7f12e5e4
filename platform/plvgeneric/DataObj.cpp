#include "platform/plvgeneric/DataObj.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "platform/mfc/CException.h"
#include "platform/plvgeneric/EnumTexts.h"
#include "platform/plvgeneric/FormatHelpers.h"
#include "platform/plvgeneric/TypedInput.h"

namespace {
int Sign(double d) { return d < 0 ? -1 : d > 0 ? 1 : 0; }
template <class T>
int Cmp(const T& a, const T& b) { return a < b ? -1 : b < a ? 1 : 0; }

std::int64_t AsInteger(const DataValue& v)
{
	if (auto p = std::get_if<std::int64_t>(&v))
		return *p;
	if (auto p = std::get_if<double>(&v))
		return static_cast<std::int64_t>(std::llround(*p));
	if (auto p = std::get_if<std::string>(&v))
		return std::strtoll(p->c_str(), nullptr, 10);
	return 0;
}

double AsDouble(const DataValue& v)
{
	if (auto p = std::get_if<double>(&v))
		return *p;
	if (auto p = std::get_if<std::int64_t>(&v))
		return static_cast<double>(*p);
	if (auto p = std::get_if<std::string>(&v))
		return std::strtod(p->c_str(), nullptr);
	return 0;
}

std::int64_t SoapInteger(const SoapValue& v)
{
	if (auto p = std::get_if<int>(&v))
		return *p;
	if (auto p = std::get_if<double>(&v))
		return std::llround(*p);
	if (auto p = std::get_if<bool>(&v))
		return *p ? 1 : 0;
	if (auto p = std::get_if<CString>(&v))
		return std::strtoll(p->GetString(), nullptr, 10);
	return 0;
}

double SoapDouble(const SoapValue& v)
{
	if (auto p = std::get_if<double>(&v))
		return *p;
	if (auto p = std::get_if<CString>(&v))
		return std::strtod(p->GetString(), nullptr);
	return static_cast<double>(SoapInteger(v));
}

// Civil calendar <-> day numbers (proleptic Gregorian), day 1 = 1800-01-01.
long DaysFromCivil(int y, int m, int d)
{
	y -= m <= 2;
	const long era = (y >= 0 ? y : y - 399) / 400;
	const unsigned yoe = static_cast<unsigned>(y - era * 400);
	const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
	const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
	return era * 146097 + static_cast<long>(doe) - 719468;
}
const long kEpochOffset = DaysFromCivil(1800, 1, 1) - 1;

void CivilFromDays(long z, int& y, int& m, int& d)
{
	z += 719468;
	const long era = (z >= 0 ? z : z - 146096) / 146097;
	const unsigned doe = static_cast<unsigned>(z - era * 146097);
	const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
	const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
	const unsigned mp = (5 * doy + 2) / 153;
	d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
	m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
	y = static_cast<int>(yoe) + static_cast<int>(era * 400) + (m <= 2);
}
}  // namespace

std::string DataValueText(const DataValue& v)
{
	if (auto p = std::get_if<std::string>(&v))
		return *p;
	if (auto p = std::get_if<std::int64_t>(&v))
		return std::to_string(*p);
	if (auto p = std::get_if<double>(&v))
		return CString::Formatted("%.17g", *p).str();
	return {};
}

// ---- DataObj -------------------------------------------------------------------------------

void DataObj::Assign(const DataObj& other)
{
	SetDataValue(other.GetDataValue());
}

int DataObj::Compare(const DataObj& other) const
{
	DataValue a = GetDataValue(), b = other.GetDataValue();
	if (a.index() == b.index())
		return a < b ? -1 : b < a ? 1 : 0;
	return Sign(AsDouble(a) - AsDouble(b));
}

// ---- DataStr -------------------------------------------------------------------------------

void DataStr::Assign(const DataObj& other)
{
	if (typeid(other) != typeid(*this))
		return DataObj::Assign(other);
	Assign(static_cast<const DataStr&>(other).m_strValue);
}

void DataStr::Assign(const CString& s)
{
	m_strValue = m_bUpperCase ? CString(Utf8ToUpper(s.str())) : s;
}

int DataStr::Compare(const DataObj& other) const
{
	CString o = other.FormatData();
	if (m_bCultureSensitive)
	{
		int c = m_strValue.CompareNoCase(o);
		if (c)
			return c;
	}
	return m_strValue.Compare(o);
}

void DataStr::SetDataValue(const DataValue& value)
{
	if (auto p = std::get_if<std::string>(&value))
		Assign(CString(*p));
	else if (auto p = std::get_if<std::int64_t>(&value))
		Assign(CString(std::to_string(*p)));
	else if (auto p = std::get_if<double>(&value))
		Assign(CString::Formatted("%.15g", *p));
	else
		m_strValue.Empty();
}

void DataStr::SetSoapValue(const SoapValue& value)
{
	if (auto p = std::get_if<CString>(&value))
		Assign(*p);
	else if (std::holds_alternative<std::monostate>(value))
		m_strValue.Empty();
	else
		Assign(CString(std::to_string(SoapInteger(value))));
}

void DataStr::SetUpperCase(BOOL b)
{
	m_bUpperCase = b != FALSE;
	if (m_bUpperCase)
		m_strValue.MakeUpper();
}

// ---- integers, booleans, enumerations ---------------------------------------------------------

template <class Self, class T, WORD Type>
void DataIntegral<Self, T, Type>::SetDataValue(const DataValue& value)
{
	m_Value = static_cast<T>(AsInteger(value));
}

template <class Self, class T, WORD Type>
void DataIntegral<Self, T, Type>::SetSoapValue(const SoapValue& value)
{
	m_Value = static_cast<T>(SoapInteger(value));
}

template class DataIntegral<DataInt, int, DATA_INT_TYPE>;
template class DataIntegral<DataLng, long, DATA_LNG_TYPE>;

void DataBool::Assign(const DataObj& other)
{
	if (typeid(other) == typeid(*this))
		m_bValue = static_cast<const DataBool&>(other).m_bValue;
	else
		DataObj::Assign(other);
}

void DataBool::SetDataValue(const DataValue& value)
{
	if (auto p = std::get_if<std::string>(&value))
		m_bValue = *p == "1" || *p == "T" || *p == "true" || *p == "TRUE";
	else
		m_bValue = AsInteger(value) != 0;
}

void DataBool::SetSoapValue(const SoapValue& value)
{
	m_bValue = SoapInteger(value) != 0;
}

CString DataEnum::FormatData(LPCTSTR pszFormat) const
{
	// The item's registered text; without one, "tag:item" identifies the value.
	if (pszFormat)
		return CString::Formatted(pszFormat, static_cast<unsigned>(m_dwValue));
	if (!m_dwValue)
		return CString();
	if (CString text = AfxGetEnumItemText(m_dwValue); !text.IsEmpty())
		return text;
	return CString::Formatted("%u:%u", static_cast<unsigned>(GetTagValue()), static_cast<unsigned>(GetItemValue()));
}

void DataEnum::Assign(const DataObj& other)
{
	if (typeid(other) == typeid(*this))
		SetValue(static_cast<const DataEnum&>(other).m_dwValue);
	else
		DataObj::Assign(other);
}

void DataEnum::SetDataValue(const DataValue& value)
{
	SetValue(static_cast<DWORD>(AsInteger(value)));
}

void DataEnum::SetSoapValue(const SoapValue& value)
{
	SetValue(static_cast<DWORD>(SoapInteger(value)));
}

// ---- doubles ---------------------------------------------------------------------------------

CString DataDbl::FormatData(LPCTSTR pszFormat) const
{
	double v = m_Value;
	if (IsZero(v))
		v = 0;  // no "-0.00"
	return CString::Formatted(pszFormat ? pszFormat : "%.15g", v);
}

int DataDbl::Compare(const DataObj& other) const
{
	double d = m_Value - AsDouble(other.GetDataValue());
	double eps = GetEpsilon();
	if (const DataDbl* o = dynamic_cast<const DataDbl*>(&other))
		eps = std::max(eps, o->GetEpsilon());
	return d >= eps ? 1 : d <= -eps ? -1 : 0;
}

void DataDbl::Assign(const DataObj& other)
{
	if (const DataDbl* o = typeid(other) == typeid(*this) ? static_cast<const DataDbl*>(&other)
														 : dynamic_cast<const DataDbl*>(&other))
		m_Value = o->m_Value;
	else
		DataObj::Assign(other);
}

void DataDbl::SetDataValue(const DataValue& value)
{
	m_Value = AsDouble(value);
}

void DataDbl::SetSoapValue(const SoapValue& value)
{
	m_Value = SoapDouble(value);
}

void DataDbl::Round(int decimals)
{
	m_Value = FormatHelpers::RoundDecimals(m_Value, decimals);
}

// ---- dates -----------------------------------------------------------------------------------

DataDate::DataDate(int day, int month, int year, int hour, int minute, int second)
{
	SetDate(day, month, year);
	if (hour || minute || second)
	{
		m_bFullDate = true;
		SetTime(hour, minute, second);
	}
}

DataDate& DataDate::operator=(const DataDate& o)
{
	m_Day = o.m_Day;
	m_Seconds = m_bFullDate ? o.m_Seconds : 0;
	return *this;
}

void DataDate::SetFullDate(BOOL b)
{
	m_bFullDate = b != FALSE;
	if (!m_bFullDate)
		m_Seconds = 0;
}

void DataDate::SetDate(int day, int month, int year)
{
	if (month < 1 || month > 12 || day < 1 || day > MonthDays(month, year) || year < 1800)
	{
		Clear();
		return;
	}
	m_Day = DaysFromCivil(year, month, day) - kEpochOffset;
}

void DataDate::SetTime(int hour, int minute, int second)
{
	if (m_bFullDate)
		m_Seconds = ((hour * 60) + minute) * 60 + second;
}

int DataDate::Day() const
{
	if (!m_Day)
		return 0;
	int y, m, d;
	CivilFromDays(m_Day + kEpochOffset, y, m, d);
	return d;
}

int DataDate::Month() const
{
	if (!m_Day)
		return 0;
	int y, m, d;
	CivilFromDays(m_Day + kEpochOffset, y, m, d);
	return m;
}

int DataDate::Year() const
{
	if (!m_Day)
		return 0;
	int y, m, d;
	CivilFromDays(m_Day + kEpochOffset, y, m, d);
	return y;
}

int DataDate::DayOfWeek() const
{
	long z = m_Day + kEpochOffset;  // days since 1970-01-01, a Thursday
	return static_cast<int>(((z % 7) + 7 + 3) % 7) + 1;
}

CString DataDate::FormatData(LPCTSTR pszFormat) const
{
	if (!m_Day)
		return CString();
	if (pszFormat)
	{
		std::tm tm{};
		tm.tm_year = Year() - 1900;
		tm.tm_mon = Month() - 1;
		tm.tm_mday = Day();
		tm.tm_hour = Hour();
		tm.tm_min = Minute();
		tm.tm_sec = Second();
		char buf[128];
		size_t n = std::strftime(buf, sizeof buf, pszFormat, &tm);
		return CString(std::string(buf, n));
	}
	if (m_bFullDate)
		return CString::Formatted("%02d/%02d/%04d %02d:%02d:%02d", Day(), Month(), Year(), Hour(), Minute(), Second());
	return CString::Formatted("%02d/%02d/%04d", Day(), Month(), Year());
}

int DataDate::Compare(const DataObj& other) const
{
	if (const DataDate* o = dynamic_cast<const DataDate*>(&other))
	{
		if (int c = Cmp(m_Day, o->m_Day))
			return c;
		return m_bFullDate && o->m_bFullDate ? Cmp(m_Seconds, o->m_Seconds) : 0;
	}
	return DataObj::Compare(other);
}

namespace {
// Fixed-width digits into place; the stored form of every row's date, so no formatting engine.
void PutDigits(char* at, int value, int width)
{
	for (int i = width - 1; i >= 0; --i, value /= 10)
		at[i] = static_cast<char>('0' + value % 10);
}

// "yyyy-mm-dd" or "yyyy-mm-dd hh:mm:ss" exactly, as the databases give them back; false for any
// other text, which the general reading then takes.
bool ReadStoredDate(const std::string& s, int& y, int& m, int& d, int& hh, int& mm, int& ss)
{
	if (s.size() != 10 && s.size() != 19)
		return false;
	static constexpr char kShape[] = "dddd-dd-dd dd:dd:dd";
	for (size_t i = 0; i < s.size(); ++i)
		if (kShape[i] == 'd' ? s[i] < '0' || s[i] > '9' : s[i] != kShape[i])
			return false;
	auto num = [&s](size_t at, size_t width) {
		int v = 0;
		for (size_t i = at; i < at + width; ++i)
			v = v * 10 + (s[i] - '0');
		return v;
	};
	y = num(0, 4);
	m = num(5, 2);
	d = num(8, 2);
	if (s.size() == 19)
	{
		hh = num(11, 2);
		mm = num(14, 2);
		ss = num(17, 2);
	}
	return true;
}
}  // namespace

DataValue DataDate::GetDataValue() const
{
	if (!m_Day)
		return std::string(m_bFullDate ? "1799-12-31 00:00:00" : EmptyDateText());
	const int year = Year();
	if (year >= 0 && year <= 9999)
	{
		std::string text(m_bFullDate ? "0000-00-00 00:00:00" : "0000-00-00");
		PutDigits(&text[0], year, 4);
		PutDigits(&text[5], Month(), 2);
		PutDigits(&text[8], Day(), 2);
		if (m_bFullDate)
		{
			PutDigits(&text[11], Hour(), 2);
			PutDigits(&text[14], Minute(), 2);
			PutDigits(&text[17], Second(), 2);
		}
		return text;
	}
	if (m_bFullDate)
		return CString::Formatted("%04d-%02d-%02d %02d:%02d:%02d", Year(), Month(), Day(), Hour(), Minute(), Second()).str();
	return CString::Formatted("%04d-%02d-%02d", Year(), Month(), Day()).str();
}

// As the stored form would give it: the time only between full dates, the value made valid.
void DataDate::Assign(const DataObj& other)
{
	if (typeid(other) != typeid(*this))
		return DataObj::Assign(other);
	const DataDate& o = static_cast<const DataDate&>(other);
	m_Day = o.m_Day;
	m_Seconds = m_bFullDate && o.m_bFullDate ? o.m_Seconds : 0;
	ResetValid(TRUE);
}

void DataDate::SetDataValue(const DataValue& value)
{
	Clear();
	auto p = std::get_if<std::string>(&value);
	if (!p)
		return;
	int y = 0, m = 0, d = 0, hh = 0, mm = 0, ss = 0;
	if (!ReadStoredDate(*p, y, m, d, hh, mm, ss) && std::sscanf(p->c_str(), "%d-%d-%d %d:%d:%d", &y, &m, &d, &hh, &mm, &ss) < 3)
		return;
	SetDate(d, m, y);
	SetTime(hh, mm, ss);
}

void DataDate::SetSoapValue(const SoapValue& value)
{
	Clear();
	auto p = std::get_if<CString>(&value);
	if (!p)
		return;
	int y = 0, m = 0, d = 0, hh = 0, mm = 0, ss = 0;
	if (std::sscanf(p->GetString(), "%d/%d/%d %d:%d:%d", &d, &m, &y, &hh, &mm, &ss) >= 3)
	{
		SetDate(d, m, y);
		SetTime(hh, mm, ss);
	}
	else
		SetDataValue(p->str());
}

DataDate DataDate::Today(BOOL bWithTime)
{
	std::time_t t = std::time(nullptr);
	std::tm tm{};
	localtime_r(&t, &tm);
	DataDate d(tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900);
	if (bWithTime)
	{
		d.SetFullDate(TRUE);
		d.SetTime(tm.tm_hour, tm.tm_min, tm.tm_sec);
	}
	return d;
}

BOOL IsLeapYear(int year)
{
	return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int MonthDays(int month, int year)
{
	static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
	if (month < 1 || month > 12)
		throw CInvalidArgException(CString::Formatted("Mese non valido: %d", month));
	return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

CString AfxGetMonthName(int month)
{
	static const char* names[] = {"Gennaio", "Febbraio", "Marzo",     "Aprile",  "Maggio",   "Giugno",
								  "Luglio",  "Agosto",   "Settembre", "Ottobre", "Novembre", "Dicembre"};
	if (month < 1 || month > 12)
		throw CInvalidArgException(CString::Formatted("Mese non valido: %d", month));
	return names[month - 1];
}

// ---- field rules -------------------------------------------------------------------------------

CString CheckFieldRule(const DataObj& value, const CString& field, bool bTyped)
{
	const FieldRule& rule = value.GetFieldRule();
	if (rule.kind == FieldRule::YEAR)
	{
		const DataValue v = value.GetDataValue();
		const std::int64_t year = std::holds_alternative<std::int64_t>(v) ? std::get<std::int64_t>(v) : 0;
		if (year == 0 && (bTyped || !rule.required))
			return CString();
		// The years a date of the application can have.
		if (year < 1900 || year > 9999)
			return CString::Formatted("%s: l'anno %lld non è valido (da 1900 a 9999).", field.GetString(),
									  static_cast<long long>(year));
		return CString();
	}
	if (rule.kind == FieldRule::FREE && rule.maxChars <= 0)
		return CString();
	const CString text = value.FormatData();
	const char* what = rule.kind == FieldRule::CODE ? "il codice" : rule.kind == FieldRule::TEXT ? "il testo" : "il valore";
	if (rule.kind == FieldRule::CODE)
	{
		if (CString(text).Trim().IsEmpty())
		{
			if (!text.IsEmpty())
				return CString::Formatted("%s: il codice è fatto di soli spazi.", field.GetString());
			if (rule.required && !bTyped)
				return CString::Formatted("%s: il codice è obbligatorio.", field.GetString());
			return CString();
		}
		if (typed_input::HasControlChars(text.str(), false))
			return CString::Formatted("%s: il codice contiene caratteri di controllo.", field.GetString());
	}
	else if (rule.kind == FieldRule::TEXT && typed_input::HasControlChars(text.str(), true))
		return CString::Formatted("%s: il testo contiene caratteri di controllo (ammessi solo tabulazione e a capo).",
								  field.GetString());
	if (rule.maxChars > 0 && text.GetCharCount() > rule.maxChars)
		return CString::Formatted("%s: %s supera la lunghezza massima di %d caratteri.", field.GetString(), what,
								  rule.maxChars);
	return CString();
}
