#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/plvparser/Expression.h"

namespace {

// A table with names of every shape the formulas use.
struct Fixture
{
	SymTable table;
	Fixture()
	{
		table.Add("_A", DataType::Double)->SetValue(3);
		table.Add("_B", DataType::Double)->SetValue(4);
		table.Add("_a", DataType::Double)->SetValue(100);
		table.Add("_A.B", DataType::Double)->SetValue(2);
		table.Add("_Città", DataType::Double)->SetValue(5);
		table.Add("__M", DataType::Double)->SetValue(7);
		table.Add("_A_1", DataType::Double)->SetValue(11);
	}
};

struct Case
{
	const char* text;
	bool ok;
	double value;       // when ok
	const char* error;  // the start of the error text, when not
	int pos;            // byte offset of the error
};

}  // namespace

TEST(Expression, TableOfCases)
{
	const std::string deep(Expression::MaxNesting + 1, '(');
	const std::string huge = "1" + std::string(400, '0');
	const std::string big = "1" + std::string(200, '0');
	const std::string overflow = big + "*" + big;
	const std::string hidden = "1/(" + overflow + ")";  // x / inf would be a silent 0
	const Case cases[] = {
		// precedence and associativity
		{"2+3*4", true, 14, "", -1},
		{"(2+3)*4", true, 20, "", -1},
		{"8/4/2", true, 1, "", -1},
		{"8-4-2", true, 2, "", -1},
		{"-_A*2", true, -6, "", -1},
		{"2*-3", true, -6, "", -1},
		{"- -2", true, 2, "", -1},
		{"+2", true, 2, "", -1},
		{"-(2+3)", true, -5, "", -1},
		{"-(_A)*-(_B)", true, 12, "", -1},
		// decimals and blanks
		{"10.5*2", true, 21, "", -1},
		{".5+1", true, 1.5, "", -1},
		{"5.", true, 5, "", -1},
		{" \t_A\r\n+ 1 ", true, 4, "", -1},
		// names: dots, accents, case, further underscores, macros
		{"_A.B*2", true, 4, "", -1},
		{"_Città*2", true, 10, "", -1},
		{"_a-_A", true, 97, "", -1},
		{"_A_1+__M", true, 18, "", -1},
		// errors, with their position
		{"_X+1", false, 0, "Simbolo sconosciuto: _X", 0},
		{"1+_x", false, 0, "Simbolo sconosciuto: _x", 2},
		{"__A", false, 0, "Simbolo sconosciuto: __A", 0},
		{"(1+2", false, 0, "Manca la parentesi chiusa della parentesi aperta alla posizione 1", 4},
		{"(1+2))", false, 0, "Parentesi chiusa senza parentesi aperta", 5},
		{"()", false, 0, "Operando mancante prima della parentesi chiusa", 1},
		{"", false, 0, "Espressione vuota", 0},
		{"   ", false, 0, "Espressione vuota", 3},
		{"_ +1", false, 0, "Nome mancante dopo '_'", 0},
		{"1+__)", false, 0, "Nome mancante dopo '__'", 2},
		{"10,5", false, 0, "Carattere non ammesso ','", 2},
		{"1e5", false, 0, "Carattere non ammesso 'e'", 1},
		{"2 3", false, 0, "Operatore mancante", 2},
		{"2*", false, 0, "Operando mancante alla fine", 2},
		{"_Città+_Y", false, 0, "Simbolo sconosciuto: _Y", 8},
		{"1.2.3", false, 0, "Operatore mancante", 3},
		{".", false, 0, "Numero senza cifre", 0},
		{deep.c_str(), false, 0, "Espressione troppo annidata", Expression::MaxNesting},
		{huge.c_str(), false, 0, "Numero fuori intervallo", 0},
		// failures of the evaluation
		{"_A/(_B-4)", false, 0, "Divisione per zero", 2},
		{"1/0", false, 0, "Divisione per zero", 1},
		{"2+_A/0", false, 0, "Divisione per zero", 4},
		{"_A*_B/(_A-_A)", false, 0, "Divisione per zero", 5},
		{overflow.c_str(), false, 0, "Risultato fuori intervallo", 201},
		{hidden.c_str(), false, 0, "Risultato fuori intervallo", 204},
	};
	Fixture f;
	for (const Case& c : cases)
	{
		SCOPED_TRACE(c.text);
		Parser parser(c.text);
		Expression expr(&f.table);
		DataDbl result(-1);
		BOOL ok = expr.Parse(parser, DataType::Double, 0) && expr.Eval(result);
		EXPECT_EQ(ok != FALSE, c.ok) << expr.GetErrorMessage().GetString();
		if (c.ok)
		{
			EXPECT_DOUBLE_EQ(result.GetValue(), c.value);
			EXPECT_EQ(expr.GetErrorPos(), -1);
			continue;
		}
		EXPECT_EQ(expr.GetErrorText().str().rfind(c.error, 0), 0u) << expr.GetErrorText().GetString();
		EXPECT_EQ(expr.GetErrorPos(), c.pos);
		EXPECT_DOUBLE_EQ(result.GetValue(), -1);  // a failure leaves the result as it was
	}
}

TEST(Expression, ErrorMessageCountsCharactersNotBytes)
{
	Fixture f;
	Parser parser("_Città+_Y");
	Expression expr(&f.table);
	ASSERT_FALSE(expr.Parse(parser));
	EXPECT_EQ(expr.GetErrorMessage(), "Simbolo sconosciuto: _Y (posizione 8)");
}

TEST(Expression, ParserLengthReadsOnlyThePrefix)
{
	Fixture f;
	Parser parser("_A*2+junk", nullptr, 4, 0);
	Expression expr(&f.table);
	double v = 0;
	ASSERT_TRUE(expr.Parse(parser) && expr.Eval(v)) << expr.GetErrorMessage().GetString();
	EXPECT_DOUBLE_EQ(v, 6);
}

TEST(Expression, CompiledOnceEvaluatedWithNewValues)
{
	SymTable table;
	SymField* a = table.Add("_A", DataType::Double);
	SymField* b = table.Add("_B", DATA_MON_TYPE);
	SymField* n = table.Add("_N", DATA_INT_TYPE);
	Parser parser("(_A + _B) * _N - _A / 2");
	Expression expr(&table);
	ASSERT_TRUE(expr.Parse(parser, DataType::Double, 1));
	EXPECT_EQ(expr.GetUsedFields(), (std::vector<SymField*>{a, b, n}));

	const double months[][3] = {{1, 2, 3}, {10, -4, 2}, {0.5, 0.25, 4}};
	for (const auto& m : months)
	{
		a->SetValue(m[0]);
		b->SetData(DataMon(m[1]));
		n->SetData(DataInt(static_cast<int>(m[2])));
		DataDbl result;
		ASSERT_TRUE(expr.Eval(result)) << expr.GetErrorMessage().GetString();
		EXPECT_DOUBLE_EQ(result.GetValue(), (m[0] + m[1]) * m[2] - m[0] / 2);
	}

	// A divisor that becomes zero fails that evaluation only.
	Parser div("_A / _B");
	Expression ratio(&table);
	ASSERT_TRUE(ratio.Parse(div));
	a->SetValue(6);
	b->SetValue(0);
	double r = 0;
	EXPECT_FALSE(ratio.Eval(r));
	EXPECT_EQ(ratio.GetErrorText(), "Divisione per zero");
	b->SetValue(3);
	EXPECT_TRUE(ratio.Eval(r));
	EXPECT_DOUBLE_EQ(r, 2);

	// A field that holds no finite number is refused, never carried into the result.
	a->SetValue(std::numeric_limits<double>::infinity());
	EXPECT_FALSE(ratio.Eval(r));
	EXPECT_EQ(ratio.GetErrorText(), "Valore non valido per _A");
	a->SetValue(std::nan(""));
	EXPECT_FALSE(ratio.Eval(r));
	EXPECT_DOUBLE_EQ(r, 2);
}

TEST(Expression, SymbolTableFieldsAndTheirLifetime)
{
	SymTable table;
	SymField* first = table.Add("_A", DataType::Double);
	first->SetValue(5);
	EXPECT_EQ(table.Add("_A", DATA_STR_TYPE), first);  // the second add of a name is ignored
	EXPECT_EQ(first->GetDataType(), DataType::Double);
	EXPECT_DOUBLE_EQ(first->GetValue(), 5);
	table.Add("_a", DataType::Double);
	table.Add("_T", DATA_STR_TYPE)->SetData(DataStr("testo"));
	ASSERT_EQ(table.GetSize(), 3);
	std::vector<CString> names;
	for (auto& field : table)
		names.push_back(field->GetName());
	EXPECT_EQ(names, (std::vector<CString>{"_A", "_a", "_T"}));

	// Texts take no part in arithmetic.
	Parser text("_T + 1");
	Expression bad(&table);
	EXPECT_FALSE(bad.Parse(text));
	EXPECT_EQ(bad.GetErrorText(), "Il simbolo _T non e' numerico");

	// An expression whose fields were deleted refuses to run instead of reading freed memory.
	Parser parser("_A * 2");
	Expression expr(&table);
	ASSERT_TRUE(expr.Parse(parser));
	table.RemoveAll();
	EXPECT_EQ(table.GetSize(), 0);
	EXPECT_EQ(table.GetField("_A"), nullptr);
	double v = 0;
	EXPECT_FALSE(expr.Eval(v));
	table.Add("_A", DataType::Double)->SetValue(4);
	parser.Rewind();
	ASSERT_TRUE(expr.Parse(parser));
	ASSERT_TRUE(expr.Eval(v));
	EXPECT_DOUBLE_EQ(v, 8);

	// Without a successful parse there is nothing to evaluate.
	Expression none(&table);
	EXPECT_FALSE(none.Eval(v));
}

TEST(Expression, IntegerResultsAreRoundedAndBounded)
{
	SymTable table;
	DataInt n;
	Parser seven("15 / 2");
	Expression expr(&table);
	ASSERT_TRUE(expr.Parse(seven, DataType::Integer));
	ASSERT_TRUE(expr.Eval(n));
	EXPECT_EQ(n.GetValue(), 8);
	Parser large("3000000000");
	ASSERT_TRUE(expr.Parse(large, DataType::Integer));
	EXPECT_FALSE(expr.Eval(n));
	Parser any("1");
	EXPECT_FALSE(expr.Parse(any, DATA_STR_TYPE));
}

// Every shape of operands and operators gives what C++ gives for the same text, to the bit: no
// operation is reordered, joined or replaced by one that rounds otherwise. Values chosen so that
// any other order would round differently.
TEST(Expression, ResultsAreThoseOfTheOperationsInTheirOrder)
{
	SymTable table;
	const double a = 0.1, b = 0.2, c = 0.3, d = 1e16, n = 7;
	table.Add("_A", DataType::Double)->SetValue(a);
	table.Add("_B", DataType::Double)->SetValue(b);
	table.Add("_C", DataType::Double)->SetValue(c);
	table.Add("_D", DataType::Double)->SetValue(d);
	table.Add("_N", DATA_INT_TYPE)->SetValue(n);
	table.Add("_Z", DataType::Double)->SetValue(-0.0);
	table.Add("_S", DataType::Double)->SetValue(3e-310);  // subnormal
	const struct
	{
		const char* text;
		double value;
	} cases[] = {
		{"_A+_B+_C", a + b + c},
		{"_A+(_B+_C)", a + (b + c)},
		{"_D+_A-_D+_B", d + a - d + b},
		{"_C-_A*_B+_D/_C", c - a * b + d / c},
		{"_A*(_B+_C)-(_C-_A)/(_B*_D)", a * (b + c) - (c - a) / (b * d)},
		{"_A/_B/_C*_D", a / b / c * d},
		{"1/(_A+_B)/3+0.1*_C", 1 / (a + b) / 3 + 0.1 * c},
		{"-_A-(-_B)*_N+_N/3", -a - (-b) * n + n / 3},
		{"(_D+1)/2+_A/4-_B/0.5+_C/-8+_A/0.1", (d + 1) / 2 + a / 4 - b / 0.5 + c / -8 + a / 0.1},
		{"_S/4+_S/1024", 3e-310 / 4 + 3e-310 / 1024},
		{"_Z*1", -0.0},
		{"_Z/2", -0.0},
		{"_Z-0", -0.0},
		{"0-_Z*_A", 0.0},
		// Runs of additions and subtractions, joined in the unchecked run.
		{"_Z-_Z", 0.0},
		{"_Z+_Z", -0.0},
		{"_Z-0+_Z*1", -0.0},
		{"_A*_B-_C", a * b - c},
		{"_A-_B*_C+_D-_A*_N", a - b * c + d - a * n},
		{"_D+_A-_D+_B-_C*_A-_A+_C+_B*_B+_A-_D*_C-_B+_A+0.25*_C-_N", d + a - d + b - c * a - a + c + b * b + a - d * c -
																		  b + a + 0.25 * c - n},
		{"(_A+_B+_C+_D)*1.5-(_A-_B)/2+_C*_D-_A+_B/_C+(_A-_B)*(_C+_D)+_N-_B*0.25+_A+_B-_C",
		 (a + b + c + d) * 1.5 - (a - b) / 2 + c * d - a + b / c + (a - b) * (c + d) + n - b * 0.25 + a + b - c},
		{"-(_A+_B)-_C*_A", -(a + b) - c * a},
		{"_A*(_B-_C+_D)", a * (b - c + d)},
	};
	for (const auto& c : cases)
	{
		SCOPED_TRACE(c.text);
		Parser parser(c.text);
		Expression expr(&table);
		double v = 42;
		ASSERT_TRUE(expr.Parse(parser) && expr.Eval(v)) << expr.GetErrorMessage().GetString();
		EXPECT_EQ(v, c.value);
		EXPECT_EQ(std::signbit(v), std::signbit(c.value));
	}

	// A failure inside a combined step is told at its own operator or operand.
	table.GetField("_C")->SetValue(0);
	table.GetField("_B")->SetValue(std::numeric_limits<double>::infinity());
	const struct
	{
		const char* text;
		const char* error;
		int pos;
	} failures[] = {
		{"_A+_A/_C", "Divisione per zero", 5},
		{"_A+_D*_D*_D*_D*_D*_D*_D*_D*_D*_D*_D*_D*_D*_D*_D*_D*_D*_D*_D*_D*_D+_A", "Risultato fuori intervallo", 59},
		{"_A*2+_A-_B", "Valore non valido per _B", 8},
		{"_A-(_A+_C)/_C", "Divisione per zero", 10},
		{"_N/(_C*2)", "Divisione per zero", 2},
		{"_A+_A-_D*_D*_D+_A*_A-_B+_A", "Valore non valido per _B", 21},
		{"_A-_D*_D+_D*_D*_D*_D*_D*_D*_D*_D*_D*_D*_D*_D*_D*_D*_D*_D*_D*_D*_D*_D*_D+_A*_A-_A*0", "Risultato fuori intervallo",
		 65},
	};
	for (const auto& f : failures)
	{
		SCOPED_TRACE(f.text);
		Parser parser(f.text);
		Expression expr(&table);
		double v = 42;
		ASSERT_TRUE(expr.Parse(parser));
		EXPECT_FALSE(expr.Eval(v));
		EXPECT_EQ(expr.GetErrorText(), f.error);
		EXPECT_EQ(expr.GetErrorPos(), f.pos);
		EXPECT_EQ(v, 42);
	}
}
