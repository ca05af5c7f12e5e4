#include "platform/plvgeneric/FormatHelpers.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace FormatHelpers {

namespace {
// The decimal the value was meant to be: 15 significant digits, as a typed amount has.
// Returns the digits as an integer mantissa and the exponent of its last digit.
void Decimal15(double v, long long& mantissa, int& exp10)
{
	char buf[40];
	std::snprintf(buf, sizeof buf, "%.14e", std::fabs(v));  // d.dddddddddddddde±XX
	mantissa = 0;
	const char* p = buf;
	for (; *p && *p != 'e'; ++p)
		if (*p >= '0' && *p <= '9')
			mantissa = mantissa * 10 + (*p - '0');
	exp10 = (*p == 'e' ? std::atoi(p + 1) : 0) - 14;
}

double NoNegativeZero(double v)
{
	return v == 0 ? 0.0 : v;
}

// Decimal15 without formatting, for the magnitudes amounts have: v times a power of ten exact in
// long double is within 1e-4 of the exact product, so its rounding to an integer is the one
// printf gives unless the product lies near a half. False when it does (or v is out of range).
bool FastDecimal15(double v, long long& mantissa, int& exp10)
{
	static const long double kPow10[] = {1e0L,	1e1L,  1e2L,  1e3L,	 1e4L,	1e5L,  1e6L,  1e7L,	 1e8L,	1e9L, 1e10L,
										 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L};
	if (!(v >= 1e-6 && v < 1e12))
		return false;
	// The decade by comparisons (a logarithm costs more than the rest); a guess off by one at
	// a boundary is put right below.
	static const double kDecades[] = {1e-5, 1e-4, 1e-3, 1e-2, 1e-1, 1e0, 1e1, 1e2, 1e3,
									  1e4,	1e5,  1e6,	1e7,  1e8,	1e9, 1e10, 1e11};
	int e = static_cast<int>(std::upper_bound(std::begin(kDecades), std::end(kDecades), v) - std::begin(kDecades)) - 6;
	for (int attempt = 0; attempt < 3; ++attempt)
	{
		const int k = 14 - e;
		if (k < 0 || k > 20)
			return false;
		const long double t = static_cast<long double>(v) * kPow10[k];
		const long double whole = std::floor(t);
		const long double frac = t - whole;
		if (std::fabs(static_cast<double>(frac) - 0.5) < 1e-3)
			return false;
		const long long m = static_cast<long long>(whole) + (frac > 0.5L ? 1 : 0);
		if (m >= 1000000000000000LL)
			++e;
		else if (m < 100000000000000LL)
			--e;
		else
		{
			mantissa = m;
			exp10 = e - 14;
			return true;
		}
	}
	return false;
}
}  // namespace

double RoundDecimals(double value, int decimals)
{
	if (!std::isfinite(value) || value == 0)
		return NoNegativeZero(value);
	long long m;
	int e;
	const bool fast = FastDecimal15(std::fabs(value), m, e);
	if (!fast)
		Decimal15(value, m, e);
	int drop = -decimals - e;  // digits to drop from the mantissa
	if (drop <= 0)
		return value;
	if (drop > 15)
		return 0.0;
	long long p = 1;
	for (int i = 0; i < drop; ++i)
		p *= 10;
	long long kept = m / p;
	if (m % p * 2 >= p)
		++kept;
	// One correctly rounded operation of exact operands gives the double nearest the decimal,
	// as reading its text does.
	if (fast && e + drop >= -22 && e + drop <= 0)
	{
		static const double kPow10[] = {1e0,  1e1,	1e2,  1e3,	1e4,  1e5,	1e6,  1e7,	1e8,  1e9,	1e10, 1e11,
										1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
		const double r = static_cast<double>(kept) / kPow10[-(e + drop)];
		return NoNegativeZero(value < 0 ? -r : r);
	}
	// Rebuild through text so that the result is the double nearest the decimal.
	char buf[48];
	std::snprintf(buf, sizeof buf, "%s%llde%d", value < 0 ? "-" : "", kept, e + drop);
	return NoNegativeZero(std::strtod(buf, nullptr));
}

double Round(double value, double quantum, int mode)
{
	if (!std::isfinite(value) || quantum <= 0)
		return value;
	bool negative = value < 0;
	// Units of the quantum, cleared of binary noise (100.49999999999999 is 100.5).
	double units = RoundDecimals(std::fabs(value) / quantum, 6);
	double whole = std::floor(units), frac = units - whole;
	double n = whole;
	switch (mode)
	{
	case ROUND_DOWN: break;
	case ROUND_UP: n = frac > 0 ? whole + 1 : whole; break;
	case ROUND_HALF_EVEN:
		n = frac > 0.5 || (frac == 0.5 && std::fmod(whole, 2.0) != 0) ? whole + 1 : whole;
		break;
	case ROUND_NEAREST:
	default: n = frac >= 0.5 ? whole + 1 : whole; break;
	}
	// Divide by the inverse when the quantum is a power of ten below one: 101 / 100 is exactly 1.01.
	double inv = std::round(1.0 / quantum);
	double result = quantum < 1 && std::fabs(inv * quantum - 1.0) < 1e-12 ? n / inv : n * quantum;
	int decimals = quantum < 1 ? static_cast<int>(std::ceil(-std::log10(quantum) - 1e-9)) + 2 : 2;
	result = RoundDecimals(result, decimals);
	return NoNegativeZero(negative ? -result : result);
}

}  // namespace FormatHelpers
