#include "platform/plvgeneric/FormatHelpers.h"

#include <cmath>
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
}  // namespace

double RoundDecimals(double value, int decimals)
{
	if (!std::isfinite(value) || value == 0)
		return NoNegativeZero(value);
	long long m;
	int e;
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
