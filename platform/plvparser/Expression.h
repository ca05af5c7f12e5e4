#pragma once
// An arithmetic expression over a symbol table, compiled once and evaluated many times.
//
// Parse turns the text into a flat postfix program whose operands point straight at the
// table's fields; Eval runs it over the fields' current values. Grammar: numbers, names of the
// table's fields, binary + - * / (usual precedence, left associative), unary - and +,
// parentheses; no functions.
#include <cstdint>
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
	BOOL Eval(double& result);

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
	// Postfix code. A binary operator whose right operand is a single constant or floating
	// field takes the operand itself (AddC, MulD ...): half the dispatches on typical formulas.
	enum class Op : std::uint8_t
	{
		Const,
		Dbl,    // a floating field: its value read directly
		Field,  // any other numeric field
		Neg,
		Add,
		Sub,
		Mul,
		Div,
		AddC,
		SubC,
		MulC,
		DivC,
		AddD,
		SubD,
		MulD,
		DivD,
		// The same with a floating field as left operand too: one instruction pushes "_A / _B".
		PAddC,
		PSubC,
		PMulC,
		PDivC,
		PAddD,
		PSubD,
		PMulD,
		PDivD,
		End,
	};
	struct Instr
	{
		Op op;
		int pos;         // of the operator or operand in the text, for the messages of Eval
		int operandPos;  // of a fused operand
		int leftPos;     // of a fused left operand
		const DataDbl* pLeft;
		union
		{
			double value;
			const DataDbl* pDbl;
			const SymField* pField;
		};
	};

	class Compiler;
	BOOL Fail(const CString& text, int nPos);
	// Runs the program; unchecked, it only says whether a check failed (then the checked
	// run finds the operation and its message).
	template <bool Checked>
	BOOL Run(double& result);

	SymTable* m_pSymTable;
	unsigned m_nGeneration = 0;
	bool m_bParsed = false;
	WORD m_nType = DATA_DBL_TYPE;
	std::vector<Instr> m_Program;
	std::vector<double> m_Stack;
	std::vector<SymField*> m_UsedFields;
	std::string m_strText;
	CString m_strError;
	int m_nErrorPos = -1;
};
