#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iomanip>
#include <memory>
#include <vector>

#include "platform/plvgeneric/DataObj.h"
#include "platform/plvgeneric/FormatHelpers.h"

TEST(DataObjects, DefaultsAreEmpty)
{
	DataStr s;
	DataInt i;
	DataLng l;
	DataDbl d;
	DataMon m;
	DataPerc p;
	DataQty q;
	DataDate dt;
	DataBool b;
	DataEnum e;
	const DataObj* all[] = {&s, &i, &l, &d, &m, &p, &q, &dt, &b, &e};
	for (const DataObj* o : all)
	{
		SCOPED_TRACE(o->GetRuntimeClass()->m_lpszClassName);
		EXPECT_TRUE(o->IsEmpty());
		EXPECT_FALSE(o->IsReadOnly());
	}
	EXPECT_EQ(s.GetDataType(), 1);
	EXPECT_NE(i.GetDataType(), 1);
	EXPECT_EQ(i, 0);
	EXPECT_FALSE(b);
}

TEST(DataObjects, ValuesAndClear)
{
	DataInt year = 2026;
	DataStr code = "A01";
	DataMon amount = 10.5;
	DataBool flag = TRUE;
	EXPECT_FALSE(year.IsEmpty());
	EXPECT_FALSE(code.IsEmpty());
	EXPECT_FALSE(amount.IsEmpty());
	EXPECT_FALSE(flag.IsEmpty());
	year.Clear();
	code.Clear();
	amount.Clear();
	flag.Clear();
	EXPECT_TRUE(year.IsEmpty() && code.IsEmpty() && amount.IsEmpty() && flag.IsEmpty());

	DataMon tiny = 0.00001;  // within the money epsilon of 0
	EXPECT_TRUE(tiny.IsEmpty());
}

TEST(DataObjects, UpperCaseIsForcedOnAssignment)
{
	DataStr code;
	code = "abc";
	code.SetUpperCase(TRUE);
	EXPECT_EQ(code.GetString(), "ABC");  // the value held is upper-cased at once
	code = "conto città";
	EXPECT_EQ(code.GetString(), "CONTO CITTÀ");
	code.SetDataValue(std::string("xy"));
	EXPECT_EQ(code.GetString(), "XY");
	DataStr copy(code);
	copy = "zz";
	EXPECT_EQ(copy.GetString(), "ZZ");  // the copy keeps the attribute
	DataStr plain;
	plain = code;
	plain = "lower";
	EXPECT_EQ(plain.GetString(), "lower");  // assignment copies the value, not the attribute
}

TEST(DataObjects, EpsilonComparisons)
{
	struct Case
	{
		double a, b;
		int money, perc, dbl;
	} cases[] = {
		{1.0, 1.0, 0, 0, 0},
		{1.0, 1.00001, 0, -1, -1},
		{0.1 + 0.2, 0.3, 0, 0, 0},
		{100.0, 100.01, -1, -1, -1},
		{-0.00001, 0.0, 0, -1, -1},
		{5.0, 4.9998, 1, 1, 1},
	};
	for (auto& c : cases)
	{
		SCOPED_TRACE(testing::Message() << c.a << " vs " << c.b);
		EXPECT_EQ(DataMon(c.a).Compare(DataMon(c.b)), c.money);
		EXPECT_EQ(DataPerc(c.a).Compare(DataPerc(c.b)), c.perc);
		EXPECT_EQ(DataDbl(c.a).Compare(DataDbl(c.b)), c.dbl);
	}
	EXPECT_TRUE(DataMon(0.1 + 0.2) == DataMon(0.3));
	EXPECT_DOUBLE_EQ(DataMon::GetStaticEpsilon(), DataMon().GetEpsilon());
}

TEST(DataObjects, RoundingHalfAwayFromZero)
{
	struct Case
	{
		double value;
		int decimals;
		double expected;
	} cases[] = {
		{1.005, 2, 1.01},   {-1.005, 2, -1.01}, {2.675, 2, 2.68},     {1.004999, 2, 1.0},
		{0.125, 2, 0.13},   {-0.125, 2, -0.13}, {0.00001, 2, 0.0},    {-0.00001, 2, 0.0},
		{1234.5, -2, 1200}, {1250, -2, 1300},   {-1250, -2, -1300},   {49.99, -2, 0},
		{83.3333333, 2, 83.33}, {12345678901.235, 2, 12345678901.24}, {0.5, 0, 1}, {-0.5, 0, -1},
	};
	for (auto& c : cases)
	{
		SCOPED_TRACE(testing::Message() << c.value << " at " << c.decimals);
		DataMon m(c.value);
		m.Round(c.decimals);
		EXPECT_EQ(m.GetValue(), c.expected);
		EXPECT_FALSE(std::signbit(m.GetValue()) && m.GetValue() == 0);  // never "-0"
	}
}

// The rounding reads the value as its 15-digit decimal: done by arithmetic where it can, it must
// give exactly what the decimal's text gives, also next to halves and powers of ten.
TEST(DataObjects, RoundingIsTheDecimalsOwnAtEveryMagnitude)
{
	auto byText = [](double value, int decimals) {
		char buf[64];
		std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
		long long m = 0;
		const char* p = buf;
		for (; *p != 'e'; ++p)
			if (*p >= '0' && *p <= '9')
				m = m * 10 + (*p - '0');
		const int e = std::atoi(p + 1) - 14;
		const int drop = -decimals - e;
		if (drop <= 0)
			return value;
		if (drop > 15)
			return 0.0;
		long long q = 1;
		for (int i = 0; i < drop; ++i)
			q *= 10;
		const long long kept = m / q + (m % q * 2 >= q ? 1 : 0);
		std::snprintf(buf, sizeof buf, "%s%llde%d", value < 0 ? "-" : "", kept, e + drop);
		const double r = std::strtod(buf, nullptr);
		return r == 0 ? 0.0 : r;
	};
	std::vector<double> values = {0.005,	 0.015,		  1.005,	   2.675,	  999.995,	  999999.995, 9.9999999999999995,
								  99.999999999999986, 1e-6, 1.0000000000000002e-6, 0.1 + 0.2, 12345678901.235,
								  999999999999.99, 1e12 - 0.005, 83.3333333};
	std::uint64_t seed = 68;
	for (int i = 0; i < 200000; ++i)
	{
		seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
		const double cents = static_cast<double>(seed >> 24) / 1000.0;  // amounts with a third decimal
		values.push_back(std::ldexp(cents, static_cast<int>(seed % 40) - 30));
		values.push_back(cents / 100.0 * ((seed >> 7) % 2 ? 1 : -1));
	}
	int wrong = 0;
	for (double v : values)
		for (int decimals : {0, 2, 4, 6})
			if (FormatHelpers::RoundDecimals(v, decimals) != byText(v, decimals) && ++wrong <= 5)
				ADD_FAILURE() << std::setprecision(17) << v << " at " << decimals << ": "
							  << FormatHelpers::RoundDecimals(v, decimals) << " against " << byText(v, decimals);
	EXPECT_EQ(wrong, 0);
}

TEST(DataObjects, FormatHelpersRoundModes)
{
	using namespace FormatHelpers;
	struct Case
	{
		double value, quantum;
		int mode;
		double expected;
	} cases[] = {
		{1.005, 0.01, ROUND_NEAREST, 1.01}, {1.001, 0.01, ROUND_UP, 1.01},      {1.009, 0.01, ROUND_DOWN, 1.0},
		{1.00, 0.01, ROUND_UP, 1.0},        {0.125, 0.01, ROUND_HALF_EVEN, 0.12}, {0.135, 0.01, ROUND_HALF_EVEN, 0.14},
		{151, 100, ROUND_NEAREST, 200},     {149, 100, ROUND_NEAREST, 100},       {101, 100, ROUND_UP, 200},
		{0.07, 0.05, ROUND_NEAREST, 0.05},  {-1.005, 0.01, ROUND_NEAREST, -1.01},
	};
	for (auto& c : cases)
	{
		SCOPED_TRACE(testing::Message() << c.value << " q " << c.quantum << " mode " << c.mode);
		EXPECT_DOUBLE_EQ(Round(c.value, c.quantum, c.mode), c.expected);
	}
}

TEST(DataObjects, EnumPacking)
{
	DataEnum e(0x3A9B0002);
	EXPECT_EQ(e.GetTagValue(), 0x3A9B);
	EXPECT_EQ(e.GetItemValue(), 2);
	DataEnum f(0x3A9B, 2);
	EXPECT_EQ(f.GetValue(), 0x3A9B0002u);
	EXPECT_TRUE(e == f);
	DataEnum tagged(0x273B, 0);
	EXPECT_FALSE(tagged.IsEmpty());  // item 0 of a tag is a value
	DataEnum none;
	EXPECT_TRUE(none.IsEmpty());
	f.Clear();
	EXPECT_EQ(f.GetValue(), 0x3A9B0000u);
	EXPECT_EQ(std::get<int>(e.GetSoapValue()), 0x3A9B0002);
	EXPECT_EQ(std::get<std::int64_t>(e.GetDataValue()), 0x3A9B0002);
}

TEST(DataObjects, DatesRoundTripWithAndWithoutTime)
{
	DataDate d(29, 2, 2024);
	EXPECT_EQ(d.Day(), 29);
	EXPECT_EQ(d.Month(), 2);
	EXPECT_EQ(d.Year(), 2024);
	EXPECT_EQ(d.FormatData(), "29/02/2024");
	EXPECT_EQ(std::get<std::string>(d.GetDataValue()), "2024-02-29");

	DataDate full;
	full.SetFullDate(TRUE);
	full.SetDataValue(std::string("2026-12-09 21:49:05"));
	EXPECT_EQ(full.Hour(), 21);
	EXPECT_EQ(full.Second(), 5);
	EXPECT_EQ(std::get<std::string>(full.GetDataValue()), "2026-12-09 21:49:05");

	DataDate plain;
	plain.SetDataValue(std::string("2026-12-09 21:49:05"));
	EXPECT_EQ(plain.Hour(), 0);  // time of day only kept by full dates

	DataDate empty;
	DataDate back;
	back.SetDataValue(empty.GetDataValue());
	EXPECT_TRUE(back.IsEmpty());
	EXPECT_LT(empty.Compare(d), 0);

	// Texts of another shape than the stored one are read as before; the stored form is fixed-width.
	struct Case
	{
		const char* text;
		int day, month, year, hour;
	};
	for (const Case& c : {Case{"2026-1-5", 5, 1, 2026, 0}, Case{" 2026-12-09", 9, 12, 2026, 0},
						  Case{"2026-12-09 7:05:00", 9, 12, 2026, 7}, Case{"2026-12-09T21:49:05", 9, 12, 2026, 0},
						  Case{"1900-03-01 00:00:01", 1, 3, 1900, 0}})
	{
		DataDate t;
		t.SetFullDate(TRUE);
		t.SetDataValue(std::string(c.text));
		EXPECT_EQ(t.Day(), c.day) << c.text;
		EXPECT_EQ(t.Month(), c.month) << c.text;
		EXPECT_EQ(t.Year(), c.year) << c.text;
		EXPECT_EQ(t.Hour(), c.hour) << c.text;
	}
	DataDate early(1, 3, 1900, 0, 0, 1);
	EXPECT_EQ(std::get<std::string>(early.GetDataValue()), "1900-03-01 00:00:01");

	DataDate bad(30, 2, 2023);
	EXPECT_TRUE(bad.IsEmpty());
	EXPECT_EQ(MonthDays(2, 2024), 29);
	EXPECT_EQ(MonthDays(2, 1900), 28);
	EXPECT_EQ(DataDate(1, 1, 2024).DayOfWeek(), 1);  // a Monday
}

TEST(DataObjects, SoapValuesAndConversions)
{
	DataMon m;
	m.SetSoapValue(12.34);
	EXPECT_DOUBLE_EQ(std::get<double>(m.GetSoapValue()), 12.34);
	DataStr s;
	s.SetSoapValue(CString("abc"));
	EXPECT_EQ(std::get<CString>(s.GetSoapValue()), "abc");
	DataBool b;
	b.SetSoapValue(true);
	EXPECT_TRUE(std::get<bool>(b.GetSoapValue()));
	DataInt i;
	i.SetSoapValue(2026);
	EXPECT_EQ(std::get<int>(i.GetSoapValue()), 2026);

	DataLng l;
	l.Assign(DataEnum(0x3AA80007));  // an enumeration read as a long keeps its whole value
	EXPECT_EQ(l.GetValue(), 0x3AA80007L);

	std::unique_ptr<DataObj> clone(m.Clone());
	EXPECT_TRUE(clone->IsKindOf(RUNTIME_CLASS(DataMon)));
	EXPECT_TRUE(*clone == m);
}

TEST(DataObjects, FieldStates)
{
	DataStr s;
	s.SetReadOnly();
	s.SetFindable(FALSE);
	s.SetValid(FALSE, "Codice non valido");
	EXPECT_TRUE(s.IsReadOnly());
	EXPECT_FALSE(s.IsFindable());
	EXPECT_EQ(s.GetErrorMessage(), "Codice non valido");
	s = "X";
	EXPECT_TRUE(s.IsReadOnly());  // assigning a value leaves the states alone
	s.Clear(TRUE);
	EXPECT_TRUE(s.IsValid());
}

// A copy from another data object gives what its stored form would give, whichever way it goes.
TEST(DataObjects, AssignFromAnotherObjectEqualsTheStoredFormsCopy)
{
	DataDate full(9, 12, 2026, 21, 49, 5), plain(9, 12, 2026), empty;
	DataStr lower("àbc"), upper;
	upper.SetUpperCase();
	DataMon mon(12.345);
	DataDbl dbl(0.1);
	DataEnum en(7, 3);
	DataInt in(42);
	DataLng lng(-5);
	DataBool yes(TRUE);
	const std::vector<std::pair<const DataObj*, std::function<std::unique_ptr<DataObj>()>>> cases = {
		{&full, [] { auto d = std::make_unique<DataDate>(); d->SetFullDate(); return d; }},
		{&full, [] { return std::make_unique<DataDate>(); }},
		{&plain, [] { auto d = std::make_unique<DataDate>(1, 1, 2000); d->SetFullDate(); return d; }},
		{&empty, [] { return std::make_unique<DataDate>(1, 1, 2000); }},
		{&lower, [] { return std::make_unique<DataStr>("x"); }},
		{&lower, [] { auto s = std::make_unique<DataStr>(); s->SetUpperCase(); return s; }},
		{&upper, [] { return std::make_unique<DataStr>("x"); }},
		{&mon, [] { return std::make_unique<DataMon>(); }},
		{&mon, [] { return std::make_unique<DataDbl>(); }},
		{&dbl, [] { return std::make_unique<DataMon>(); }},
		{&en, [] { return std::make_unique<DataEnum>(); }},
		{&in, [] { return std::make_unique<DataInt>(); }},
		{&in, [] { return std::make_unique<DataLng>(); }},
		{&in, [] { return std::make_unique<DataStr>(); }},
		{&lng, [] { return std::make_unique<DataLng>(); }},
		{&yes, [] { return std::make_unique<DataBool>(); }},
	};
	for (size_t i = 0; i < cases.size(); ++i)
	{
		auto& [from, make] = cases[i];
		auto copied = make();
		auto stored = make();
		copied->SetValid(FALSE, "x");
		stored->SetValid(FALSE, "x");
		copied->Assign(*from);
		stored->SetDataValue(from->GetDataValue());
		EXPECT_TRUE(copied->GetDataValue() == stored->GetDataValue()) << "case " << i;
		EXPECT_EQ(copied->IsValid(), stored->IsValid()) << "case " << i;
	}
}
