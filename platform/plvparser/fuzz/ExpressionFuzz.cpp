// Parses any text over a small table and evaluates it with values that provoke zero divisors,
// overflows and non-finite fields: no crash, hang or sanitizer report, and a success never
// yields inf or NaN.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

#include "platform/plvparser/Expression.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
	static const char* const names[] = {"_A", "_B", "_A.B", "_Città", "__M", "_a", "_X_1"};
	static const double values[][7] = {
		{1, 2, 3, 4, 5, 6, 7},
		{0, 0, 0, 0, 0, 0, 0},
		{1e308, -1e308, 1e-308, 0.5, -0.25, 3, 1},
		{std::numeric_limits<double>::infinity(), std::nan(""), 1, 2, 3, 4, 5},
	};
	SymTable table;
	for (const char* name : names)
		table.Add(name, DATA_DBL_TYPE);
	table.Add("_N", DATA_INT_TYPE);
	table.Add("_T", DATA_STR_TYPE);

	std::string text(reinterpret_cast<const char*>(data), size);
	// A length shorter than the text reads only its start.
	int length = size > 0 && data[0] % 5 == 0 ? static_cast<int>(size / 2) : -1;
	Parser parser(CString(text), nullptr, length, 0);
	Expression expr(&table);
	if (!expr.Parse(parser, DataType::Double, 0))
	{
		if (expr.GetErrorPos() < 0 || expr.GetErrorText().IsEmpty())
			std::abort();
		(void)expr.GetErrorMessage();
		return 0;
	}
	for (const auto& row : values)
	{
		for (int i = 0; i < 7; ++i)
			table.GetField(names[i])->SetValue(row[i]);
		table.GetField("_N")->SetData(DataInt(static_cast<int>(row[6])));
		double result = 0;
		if (expr.Eval(result) && !std::isfinite(result))
			std::abort();
	}
	return 0;
}
