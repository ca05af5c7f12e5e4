#pragma once
// An arithmetic expression over a symbol table, compiled once and evaluated many times.
//
// Parse turns the text into a flat postfix program whose operands point straight at the
// table's fields; Eval runs it over the fields' current values. Grammar: numbers, names of the
// table's fields, binary + - * / (usual precedence, left associative), unary - and +,
// parentheses; no functions.
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/plvgeneric/DataObj.h"
#include "platform/plvparser/Parser.h"
#include "platform/plvparser/SymTable.h"

// The result types Expression::Parse is asked for.
struct DataType
{
	static constexpr WORD Double = DATA_DBL_TYPE;
	static constexpr WORD Money = DATA_MON_TYPE;
	static constexpr WORD Integer = DATA_INT_TYPE;
	static constexpr WORD Long = DATA_LNG_TYPE;
};

class Expression : public CObject
{
	DECLARE_DYNAMIC(Expression, CObject)
public:
	explicit Expression(SymTable* pSymTable = nullptr) : m_pSymTable(pSymTable) {}

	// Compiles the parser's text; FALSE with GetErrorText/GetErrorPos on a syntax error, a
	// name the table does not hold, a field that is not numeric or a result type that is not.
	// No flags are defined yet.
	BOOL Parse(Parser& parser, WORD nType = DataType::Double, int nFlags = 0);
	BOOL IsParsed() const { return m_bParsed; }

	// Evaluates over the fields' current values. Division by zero, an overflow or a field
	// holding no finite number fail (FALSE, the result untouched) with the error's position.
	BOOL Eval(DataObj& result);
	// The common case inline, so that the caller goes straight into the run.
	BOOL Eval(double& result)
	{
		if (!m_bParsed || (m_pSymTable && m_pSymTable->GetGeneration() != m_nGeneration) || !m_Converted.empty() ||
			!m_strError.IsEmpty()) [[unlikely]]
			return EvalApart(result);
		m_nErrorPos = -1;
		return Run<false>(result);
	}

	const CString& GetErrorText() const { return m_strError; }
	// Byte offset in the parsed text, -1 when there is no error.
	int GetErrorPos() const { return m_nErrorPos; }
	// The error text with its 1-based character position, as the user is shown it.
	CString GetErrorMessage() const;

	// The distinct fields the expression reads, in the order of their first occurrence.
	const std::vector<SymField*>& GetUsedFields() const { return m_UsedFields; }

	// Deepest nesting of parentheses and signs Parse accepts.
	static constexpr int MaxNesting = 256;

private:
	// Postfix code over DataDbl values read through pointers: floating fields, constants and
	// copies of the other fields. The top of the stack is an accumulator; the instructions that
	// take their operands from those values combine the usual shapes of a formula, so that
	// "+ _A * _B" is one dispatch instead of four. Each binary family holds the four operators
	// in the order + - * /; those of two operators hold 4 x first + second. The operations and
	// their order are the text's: joining them changes no rounding.
	static constexpr int MaxTerms = 8;
	enum class Op : std::uint8_t
	{
		Load,     // push a
		Neg,      // acc = -acc
		End,
		PushOp,                  // push (a op b)
		AccOp = PushOp + 4,      // acc = acc op a
		StackOp = AccOp + 4,     // acc = (popped) op acc
		AccOp2 = StackOp + 4,    // acc = acc op1 (a op2 b)
		AccOpOp = AccOp2 + 16,   // acc = (acc op1 a) op2 b
		// Only in the unchecked run's program: a run of additions and subtractions of terms
		// (a field, a constant or a product of two), begun on the accumulator, on a new value
		// or on the popped value and the accumulator, then multiplied or not by a. A family
		// for each beginning (RunBegin) and scaling, each of MaxTerms slots.
		Run = AccOpOp + 16,
		Count = Run + 8 * MaxTerms,
	};
	enum RunBegin
	{
		OnAcc,     // x = acc, then + t1 ... + tn (slot n - 1)
		OnPush,    // push, x = t1 + ... + tn (slot n - 1)
		OnPopAdd,  // x = popped + acc, then + t1 ... + tn (slot n)
		OnPopSub,  // x = popped - acc, then + t1 ... + tn (slot n)
	};
	// a * b * sign (+1 or -1): subtracting is adding the negation, to the bit.
	struct Term
	{
		const DataDbl* a = nullptr;
		const DataDbl* b = nullptr;
		double sign = 1;
	};
	static double TermValue(const Term& t);
	struct Instr
	{
		const void* handler = nullptr;  // of the unchecked run, where the instruction's code is
		Op op;
		int pos = -1;   // of the (first) operator, or of the operand pushed
		int pos2 = -1;  // of the second operator
		int aPos = -1;  // of the operands that are fields, -1 for constants
		int bPos = -1;
		const DataDbl* a = nullptr;
		const DataDbl* b = nullptr;
		int aConst = -1;  // the operands' places in m_Values while compiling
		int bConst = -1;
		const Term* terms = nullptr;  // of a Run, in m_Terms
	};

	class Compiler;
	BOOL Fail(const CString& text, int nPos);
	// The unchecked run's program: m_Program with its runs of terms joined into Runs.
	void JoinTerms(const void* const* handlers, const DataDbl* one);
	// Eval on an expression not parsed, whose table lost its fields, with fields to convert or
	// an error to forget.
	[[gnu::noinline]] BOOL EvalApart(double& result);
	// Eval on an expression not parsed, or whose table lost its fields.
	[[gnu::noinline]] BOOL Refuse();
	[[gnu::noinline]] void Convert();
	// Runs the program; unchecked, it hands a failed check over to the checked run, which
	// finds the operation and its message. With pHandlers, only gives the table of the
	// handlers' addresses by Op.
	// Never inlined nor cloned: a copy would have labels of its own, not those of the table.
	// Nor are the handlers' tails shared: each ends in a jump of its own. Called through the
	// global offset table, not a stub that jumps once more.
	template <bool Checked>
#if defined(__clang__)
	// clang has none of these but noinline, and inlines no function whose labels are taken.
	[[gnu::noinline]] BOOL Run(double& result, const void* const** pHandlers = nullptr);
#else
	[[gnu::noinline, gnu::noclone, gnu::noplt, gnu::optimize("no-crossjumping")]] BOOL Run(double& result,
																		 const void* const** pHandlers = nullptr);
#endif
	// The result of an integer type: rounded, within the type's range.
	template <bool Checked>
	[[gnu::noinline]] BOOL Integer(double value, double& result);
	// x = x op y (K: 0 + 1 - 2 * 3 /); false on a divisor that is zero or not finite and, when
	// checked, on a result that is not finite, the error then set at pos.
	template <bool Checked, int K>
	bool Apply(double& x, double y, int pos);
	// False, when checked, on a field's value that is not finite (pos < 0: a constant).
	template <bool Checked>
	bool Operand(double v, int pos);

	SymTable* m_pSymTable;
	unsigned m_nGeneration = 0;
	bool m_bParsed = false;
	WORD m_nType = DATA_DBL_TYPE;
	// The program the checked run follows, each step with its own position.
	std::vector<Instr> m_Program;
	std::vector<Instr> m_Fast;
	std::vector<Term> m_Terms;
	// The constants and a copy of each field that is not floating (taken at every Eval).
	std::vector<DataDbl> m_Values;
	std::vector<std::pair<size_t, const SymField*>> m_Converted;
	std::vector<double> m_Stack;
	std::vector<SymField*> m_UsedFields;
	std::string m_strText;
	CString m_strError;
	int m_nErrorPos = -1;
};
