#pragma once
// Data objects: the typed values that carry every record field and most arguments.
#include <cstdint>
#include <string>
#include <typeinfo>
#include <variant>

#include "platform/mfc/CObject.h"
#include "platform/mfc/CString.h"

// Data types, as GetDataType reports them.
enum : WORD
{
	DATA_NULL_TYPE = 0,
	DATA_STR_TYPE = 1,
	DATA_INT_TYPE = 2,
	DATA_LNG_TYPE = 3,
	DATA_DBL_TYPE = 4,
	DATA_MON_TYPE = 5,
	DATA_QTY_TYPE = 6,
	DATA_PERC_TYPE = 7,
	DATA_DATE_TYPE = 8,
	DATA_BOOL_TYPE = 9,
	DATA_ENUM_TYPE = 10,
};

// The storage form of a value, as the data-access layer reads and writes it (NULL, integer, real, text).
using DataValue = std::variant<std::monostate, std::int64_t, double, std::string>;

// A storage value as text (numbers in full precision; NULL is empty).
std::string DataValueText(const DataValue& value);

// What a field's values may be, as its column declares it: a code (no control characters,
// blanks alone are no code), a text (no control characters but tab and line end), a year; and
// the most characters the column takes (0: no limit).
struct FieldRule
{
	enum Kind : unsigned char
	{
		FREE,
		CODE,
		TEXT,
		YEAR,
	};
	Kind kind = FREE;
	int maxChars = 0;
	bool required = false;  // an empty value is refused at save

	// A year field of a selection: empty or a year the application's dates can have.
	static FieldRule AnYear() { return {YEAR, 0, false}; }
};

// The plain value that crosses the export boundary to reports.
using SoapValue = std::variant<std::monostate, int, double, bool, CString>;

class DataObj : public CObject
{
	DECLARE_DYNAMIC(DataObj, CObject)
public:
	~DataObj() override = default;

	virtual WORD GetDataType() const = 0;
	virtual BOOL IsEmpty() const = 0;
	// Resets to the type's default; bValid also clears a "bad value" mark.
	virtual void Clear(BOOL bValid = TRUE) = 0;
	virtual DataObj* Clone() const = 0;

	// Value formatted for messages and reports.
	virtual CString FormatData(LPCTSTR pszFormat = nullptr) const = 0;
	CString Str() const { return FormatData(); }

	// Converting assignment from any data object (value only, attributes stay).
	virtual void Assign(const DataObj& other);
	// -1, 0, 1; numbers within their type's epsilon compare equal.
	virtual int Compare(const DataObj& other) const;
	BOOL IsEqual(const DataObj& other) const { return Compare(other) == 0; }

	virtual DataValue GetDataValue() const = 0;
	virtual void SetDataValue(const DataValue& value) = 0;

	virtual SoapValue GetSoapValue() const = 0;
	virtual void SetSoapValue(const SoapValue& value) = 0;

	// Field states the forms honour.
	void SetReadOnly(BOOL b = TRUE) { m_bReadOnly = b != FALSE; }
	BOOL IsReadOnly() const { return m_bReadOnly; }
	void SetFindable(BOOL b = TRUE) { m_bFindable = b != FALSE; }
	BOOL IsFindable() const { return m_bFindable; }
	void SetHide(BOOL b = TRUE) { m_bHidden = b != FALSE; }
	BOOL IsHide() const { return m_bHidden; }
	// A value marked bad carries the message to show.
	void SetValid(BOOL b, const CString& message = CString())
	{
		m_bValid = b != FALSE;
		m_strError = b ? CString() : message;
	}
	BOOL IsValid() const { return m_bValid; }
	const CString& GetErrorMessage() const { return m_strError; }
	void SetModified(BOOL b = TRUE) { m_bModified = b != FALSE; }
	BOOL IsModified() const { return m_bModified; }
	void SetFieldRule(const FieldRule& rule) { m_Rule = rule; }
	const FieldRule& GetFieldRule() const { return m_Rule; }

protected:
	DataObj() = default;
	DataObj(const DataObj&) = default;
	DataObj& operator=(const DataObj&) { return *this; }  // attributes belong to the target
	void ResetValid(BOOL bValid)
	{
		if (bValid)
			SetValid(TRUE);
	}

private:
	bool m_bReadOnly = false;
	bool m_bFindable = true;
	bool m_bHidden = false;
	bool m_bValid = true;
	bool m_bModified = false;
	FieldRule m_Rule;
	CString m_strError;
};

// Why the value breaks its field's rule, in the words shown to the user with the field's name
// first; empty when it keeps it. As typed (bTyped), an empty value passes: a find leaves fields
// empty, and what must be given is refused at save.
CString CheckFieldRule(const DataObj& value, const CString& field, bool bTyped);

class DataStr : public DataObj
{
	DECLARE_DYNCREATE(DataStr, DataObj)
public:
	DataStr() = default;
	DataStr(const char* s) { Assign(s); }
	DataStr(const CString& s) { Assign(s); }
	DataStr(const DataStr&) = default;
	DataStr& operator=(const DataStr& o) { Assign(o.m_strValue); return *this; }
	DataStr& operator=(const CString& s) { Assign(s); return *this; }
	DataStr& operator=(const char* s) { Assign(s); return *this; }

	WORD GetDataType() const override { return DATA_STR_TYPE; }
	BOOL IsEmpty() const override { return m_strValue.IsEmpty(); }
	void Clear(BOOL bValid = TRUE) override { m_strValue.Empty(); ResetValid(bValid); }
	DataObj* Clone() const override { return new DataStr(*this); }
	CString FormatData(LPCTSTR = nullptr) const override { return m_strValue; }
	// From another string without passing through the stored form.
	void Assign(const DataObj& other) override;
	void Assign(const CString& s);
	int Compare(const DataObj& other) const override;
	DataValue GetDataValue() const override { return m_strValue.str(); }
	void SetDataValue(const DataValue& value) override;
	SoapValue GetSoapValue() const override { return m_strValue; }
	void SetSoapValue(const SoapValue& value) override;

	const CString& GetString() const { return m_strValue; }
	operator const CString&() const { return m_strValue; }
	operator const char*() const { return m_strValue.GetString(); }
	int GetLen() const { return m_strValue.GetLength(); }

	// Upper case is forced on every assignment once set.
	void SetUpperCase(BOOL b = TRUE);
	BOOL IsUpperCase() const { return m_bUpperCase; }
	void SetCollateCultureSensitive(bool b) { m_bCultureSensitive = b; }
	bool IsCollateCultureSensitive() const { return m_bCultureSensitive; }

	friend bool operator==(const DataStr& a, const DataStr& b) { return a.Compare(b) == 0; }
	friend bool operator==(const DataStr& a, const char* b) { return a.m_strValue == b; }

private:
	CString m_strValue;
	bool m_bUpperCase = false;
	bool m_bCultureSensitive = false;
};

// Integer data objects share one implementation.
template <class Self, class T, WORD Type>
class DataIntegral : public DataObj
{
public:
	DataIntegral() = default;
	DataIntegral(T v) : m_Value(v) {}
	DataIntegral(const DataIntegral&) = default;
	DataIntegral& operator=(const DataIntegral& o) { m_Value = o.m_Value; return *this; }

	WORD GetDataType() const override { return Type; }
	BOOL IsEmpty() const override { return m_Value == 0; }
	void Clear(BOOL bValid = TRUE) override { m_Value = 0; ResetValid(bValid); }
	DataObj* Clone() const override { return new Self(static_cast<const Self&>(*this)); }
	CString FormatData(LPCTSTR pszFormat = nullptr) const override
	{
		return CString::Formatted(pszFormat ? pszFormat : "%lld", static_cast<long long>(m_Value));
	}
	DataValue GetDataValue() const override { return static_cast<std::int64_t>(m_Value); }
	void SetDataValue(const DataValue& value) override;
	SoapValue GetSoapValue() const override { return static_cast<int>(m_Value); }
	void SetSoapValue(const SoapValue& value) override;

	operator T() const { return m_Value; }
	T GetValue() const { return m_Value; }
	void Assign(T v) { m_Value = v; }
	void Assign(const DataObj& other) override
	{
		if (typeid(other) == typeid(*this))
			m_Value = static_cast<const DataIntegral&>(other).m_Value;
		else
			DataObj::Assign(other);
	}

protected:
	T m_Value = 0;
};

class DataInt : public DataIntegral<DataInt, int, DATA_INT_TYPE>
{
	DECLARE_DYNCREATE(DataInt, DataObj)
public:
	using DataIntegral::DataIntegral;
	DataInt() = default;
	DataInt(const DataInt&) = default;
	DataInt& operator=(int v) { m_Value = v; return *this; }
	DataInt& operator=(const DataInt& o) = default;
};

class DataLng : public DataIntegral<DataLng, long, DATA_LNG_TYPE>
{
	DECLARE_DYNCREATE(DataLng, DataObj)
public:
	using DataIntegral::DataIntegral;
	DataLng() = default;
	DataLng(const DataLng&) = default;
	DataLng& operator=(long v) { m_Value = v; return *this; }
	DataLng& operator=(const DataLng& o) = default;
};

class DataBool : public DataObj
{
	DECLARE_DYNCREATE(DataBool, DataObj)
public:
	DataBool() = default;
	DataBool(BOOL b) : m_bValue(b != FALSE) {}
	DataBool(const DataBool&) = default;
	DataBool& operator=(const DataBool& o) { m_bValue = o.m_bValue; return *this; }
	DataBool& operator=(BOOL b) { m_bValue = b != FALSE; return *this; }

	WORD GetDataType() const override { return DATA_BOOL_TYPE; }
	void Assign(const DataObj& other) override;
	BOOL IsEmpty() const override { return !m_bValue; }
	void Clear(BOOL bValid = TRUE) override { m_bValue = false; ResetValid(bValid); }
	DataObj* Clone() const override { return new DataBool(*this); }
	CString FormatData(LPCTSTR = nullptr) const override { return m_bValue ? "Si" : "No"; }
	DataValue GetDataValue() const override { return std::int64_t(m_bValue ? 1 : 0); }
	void SetDataValue(const DataValue& value) override;
	SoapValue GetSoapValue() const override { return m_bValue; }
	void SetSoapValue(const SoapValue& value) override;

	operator BOOL() const { return m_bValue; }
	BOOL operator!() const { return !m_bValue; }

private:
	bool m_bValue = false;
};

// Enumerated value: tag in the high 16 bits, item in the low 16.
class DataEnum : public DataObj
{
	DECLARE_DYNCREATE(DataEnum, DataObj)
public:
	DataEnum() = default;
	explicit DataEnum(DWORD value) { SetValue(value); }
	DataEnum(WORD tag, WORD item) { SetValue(MAKELONG(item, tag)); }
	DataEnum(const DataEnum&) = default;
	DataEnum& operator=(const DataEnum& o) { SetValue(o.m_dwValue); return *this; }
	DataEnum& operator=(DWORD v) { SetValue(v); return *this; }

	WORD GetDataType() const override { return DATA_ENUM_TYPE; }
	void Assign(const DataObj& other) override;
	// Holds no value: no item (a search that leaves it out). The tag stays known.
	BOOL IsEmpty() const override { return m_dwValue == 0; }
	void SetEmpty() { m_dwValue = 0; }
	// Back to item 0 of the same tag.
	void Clear(BOOL bValid = TRUE) override { m_dwValue = MAKELONG(0, GetTagValue()); ResetValid(bValid); }
	DataObj* Clone() const override { return new DataEnum(*this); }
	CString FormatData(LPCTSTR pszFormat = nullptr) const override;
	DataValue GetDataValue() const override { return static_cast<std::int64_t>(m_dwValue); }
	void SetDataValue(const DataValue& value) override;
	SoapValue GetSoapValue() const override { return static_cast<int>(m_dwValue); }
	void SetSoapValue(const SoapValue& value) override;

	WORD GetTagValue() const { return m_wTag; }
	WORD GetItemValue() const { return LOWORD(m_dwValue); }
	DWORD GetValue() const { return m_dwValue; }
	operator DWORD() const { return m_dwValue; }

private:
	// An empty value keeps the tag it had, so that the items can still be offered and typed.
	void SetValue(DWORD v)
	{
		m_dwValue = v;
		if (v)
			m_wTag = HIWORD(v);
	}

	DWORD m_dwValue = 0;
	WORD m_wTag = 0;
};

// Floating values compared within an epsilon; money, quantities and percentages are doubles too.
class DataDbl : public DataObj
{
	DECLARE_DYNCREATE(DataDbl, DataObj)
public:
	DataDbl() = default;
	DataDbl(double v) : m_Value(v) {}
	DataDbl(const DataDbl&) = default;
	DataDbl& operator=(const DataDbl& o) { m_Value = o.m_Value; return *this; }
	DataDbl& operator=(double v) { m_Value = v; return *this; }

	WORD GetDataType() const override { return DATA_DBL_TYPE; }
	// Between doubles of any kind the value as it is.
	void Assign(const DataObj& other) override;
	BOOL IsEmpty() const override { return IsZero(m_Value); }
	void Clear(BOOL bValid = TRUE) override { m_Value = 0; ResetValid(bValid); }
	DataObj* Clone() const override { return new DataDbl(*this); }
	CString FormatData(LPCTSTR pszFormat = nullptr) const override;
	int Compare(const DataObj& other) const override;
	DataValue GetDataValue() const override { return m_Value; }
	void SetDataValue(const DataValue& value) override;
	SoapValue GetSoapValue() const override { return m_Value; }
	void SetSoapValue(const SoapValue& value) override;

	virtual double GetEpsilon() const { return 1e-10; }
	BOOL IsZero(double v) const { return v < GetEpsilon() && v > -GetEpsilon(); }

	operator double() const { return m_Value; }
	double GetValue() const { return m_Value; }
	// Rounds half away from zero at the given number of decimals (negative: tens, hundreds ...).
	void Round(int decimals = 2);

	DataDbl& operator+=(double v) { m_Value += v; return *this; }
	DataDbl& operator-=(double v) { m_Value -= v; return *this; }
	DataDbl& operator*=(double v) { m_Value *= v; return *this; }
	DataDbl& operator/=(double v) { m_Value /= v; return *this; }

protected:
	double m_Value = 0;
};

#define PLV_DOUBLE_KIND(cls, type, epsilon, decimals)                                     \
	class cls : public DataDbl                                                            \
	{                                                                                     \
		DECLARE_DYNCREATE(cls, DataDbl)                                                   \
	public:                                                                               \
		cls() = default;                                                                  \
		cls(double v) : DataDbl(v) {}                                                     \
		cls(const cls&) = default;                                                        \
		cls& operator=(const cls& o) { m_Value = o.m_Value; return *this; }               \
		cls& operator=(double v) { m_Value = v; return *this; }                           \
		WORD GetDataType() const override { return type; }                                \
		DataObj* Clone() const override { return new cls(*this); }                        \
		double GetEpsilon() const override { return s_Epsilon; }                          \
		static double GetStaticEpsilon() { return s_Epsilon; }                            \
		static void SetStaticEpsilon(double e) { s_Epsilon = e; }                         \
		CString FormatData(LPCTSTR pszFormat = nullptr) const override                    \
		{                                                                                 \
			return DataDbl::FormatData(pszFormat ? pszFormat : "%." #decimals "f");        \
		}                                                                                 \
                                                                                          \
	private:                                                                              \
		static inline double s_Epsilon = epsilon;                                         \
	};

// Money: amounts to the cent, compared within a tenth of a hundredth.
PLV_DOUBLE_KIND(DataMon, DATA_MON_TYPE, 0.0001, 2)
PLV_DOUBLE_KIND(DataQty, DATA_QTY_TYPE, 0.000001, 3)
PLV_DOUBLE_KIND(DataPerc, DATA_PERC_TYPE, 0.000001, 2)

// DataMon::GetEpsilon() reads as a static in the module's code.
inline double GetMonEpsilon() { return DataMon::GetStaticEpsilon(); }

// A calendar date, optionally with the time of day ("full date").
class DataDate : public DataObj
{
	DECLARE_DYNCREATE(DataDate, DataObj)
public:
	DataDate() = default;
	DataDate(int day, int month, int year, int hour = 0, int minute = 0, int second = 0);
	DataDate(const DataDate&) = default;
	DataDate& operator=(const DataDate& o);

	WORD GetDataType() const override { return DATA_DATE_TYPE; }
	void Assign(const DataObj& other) override;
	BOOL IsEmpty() const override { return m_Day == 0; }
	void Clear(BOOL bValid = TRUE) override { m_Day = 0; m_Seconds = 0; ResetValid(bValid); }
	DataObj* Clone() const override { return new DataDate(*this); }
	// "dd/mm/yyyy" (and " hh:mm:ss" for a full date); a strftime format may be given.
	CString FormatData(LPCTSTR pszFormat = nullptr) const override;
	int Compare(const DataObj& other) const override;
	// Stored as "yyyy-mm-dd" or "yyyy-mm-dd hh:mm:ss"; the empty date as its own text.
	DataValue GetDataValue() const override;
	void SetDataValue(const DataValue& value) override;
	SoapValue GetSoapValue() const override { return FormatData(); }
	void SetSoapValue(const SoapValue& value) override;

	void SetFullDate(BOOL b = TRUE);
	BOOL IsFullDate() const { return m_bFullDate; }
	void SetDate(int day, int month, int year);
	void SetTime(int hour, int minute, int second);
	int Day() const;
	int Month() const;
	int Year() const;
	int Hour() const { return m_Seconds / 3600; }
	int Minute() const { return m_Seconds / 60 % 60; }
	int Second() const { return m_Seconds % 60; }
	// Day of week, 1 Monday .. 7 Sunday.
	int DayOfWeek() const;
	// Days since the start of the calendar, 0 for the empty date.
	long GetDayNumber() const { return m_Day; }
	void SetDayNumber(long day) { m_Day = day; }
	DataDate& operator+=(long days) { if (m_Day) m_Day += days; return *this; }
	DataDate& operator-=(long days) { if (m_Day) m_Day -= days; return *this; }

	static DataDate Today(BOOL bWithTime = FALSE);
	static const char* EmptyDateText() { return "1799-12-31"; }

private:
	long m_Day = 0;     // 1 = 1800-01-01
	int m_Seconds = 0;  // time of day, kept only for full dates
	bool m_bFullDate = false;
};

inline bool operator==(const DataObj& a, const DataObj& b) { return a.IsEqual(b); }
inline bool operator!=(const DataObj& a, const DataObj& b) { return !a.IsEqual(b); }

// Month lengths and names.
int MonthDays(int month, int year);
BOOL IsLeapYear(int year);
CString AfxGetMonthName(int month);
