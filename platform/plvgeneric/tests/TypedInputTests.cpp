#include <gtest/gtest.h>

#include <climits>

#include "platform/plvgeneric/TypedInput.h"

namespace {

TEST(TypedInput, IntegersAreWholeAndInRangeNeverWrapped)
{
	const struct
	{
		const char* text;
		bool ok;
		long long value;
	} cases[] = {
		{"42", true, 42},		   {" -7 ", true, -7},		   {"+3", true, 3},
		{"2147483647", true, INT_MAX}, {"-2147483648", true, INT_MIN}, {"2147483648", false, 0},
		{"4294967297", false, 0},  {"99999999999999999999", false, 0}, {"12abc", false, 0},
		{"1.5", false, 0},		   {"0x10", false, 0},		   {"", false, 0},
		{"-", false, 0},		   {"1 2", false, 0},
	};
	for (const auto& c : cases)
	{
		long long v = -1;
		const std::string why = typed_input::ReadInteger(c.text, INT_MIN, INT_MAX, v);
		EXPECT_EQ(why.empty(), c.ok) << c.text << ": " << why;
		if (c.ok)
		{
			EXPECT_EQ(v, c.value) << c.text;
		}
	}
	long long v = 0;
	EXPECT_EQ(typed_input::ReadInteger("4294967297", INT_MIN, INT_MAX, v), "is out of range (-2147483648 to 2147483647)");
}

TEST(TypedInput, NumbersAreFiniteDecimalsOnly)
{
	const struct
	{
		const char* text;
		bool ok;
		double value;
	} cases[] = {
		{"1234.56", true, 1234.56}, {"-1,5", true, -1.5},	 {"1.234,56", true, 1234.56}, {".5", true, 0.5},
		{"5.", true, 5},			{"1e3", true, 1000},	 {"+2", true, 2},			  {"nan", false, 0},
		{"inf", false, 0},			{"-Infinity", false, 0}, {"0x1p3", false, 0},		  {"1e999", false, 0},
		{"1,2,3", false, 0},		{"12 €", false, 0},		 {".", false, 0},			  {"1e", false, 0},
	};
	for (const auto& c : cases)
	{
		double v = -1;
		const std::string why = typed_input::ReadNumber(c.text, v);
		EXPECT_EQ(why.empty(), c.ok) << c.text << ": " << why;
		if (c.ok)
		{
			EXPECT_DOUBLE_EQ(v, c.value) << c.text;
		}
	}
}

TEST(TypedInput, DatesAreRealDaysOfFourDigitYearsWithNothingAfter)
{
	const struct
	{
		const char* text;
		bool ok;
	} cases[] = {
		{"31/12/2025", true},	  {"2025-01-01", true},	 {"1/2/2024", true},	{"29/02/2024", true},
		{"29/02/2025", false},	  {"2025-01-01junk", false}, {"01/01/2147483647", false}, {"2147483647-01-01", false},
		{"31/04/2025", false},	  {"1/1/25", false},		 {"1899-12-31", false}, {"2025-13-01", false},
		{"2025/01/01", false},	  {"-1/1/2025", false},		 {"", false},
	};
	for (const auto& c : cases)
	{
		int d = 0, m = 0, y = 0;
		const std::string why = typed_input::ReadDate(c.text, 1900, d, m, y);
		EXPECT_EQ(why.empty(), c.ok) << c.text << ": " << why;
	}
	int d = 0, m = 0, y = 0;
	ASSERT_EQ(typed_input::ReadDate(" 2025-3-7 ", 1900, d, m, y), "");
	EXPECT_EQ(d * 10000 + m * 100 + y - 2025, 70300);
}

}  // namespace
