#include "platform/plvparser/Expression.h"

#include <algorithm>
#include <iterator>
#include <cmath>
#include <limits>

// Recursive descent over the parser's tokens, emitting postfix code.
class Expression::Compiler
{
public:
	Compiler(Expression& expr, Parser& parser) : m_Expr(expr), m_Parser(parser) {}

	bool Compile()
	{
		if (m_Parser.Current().kind == Parser::TK_END)
			return Error("Espressione vuota", m_Parser.Current().pos);
		if (!Sum())
			return false;
		const Parser::Token& t = m_Parser.Current();
		if (t.kind == Parser::TK_END)
			return true;
		if (t.kind == Parser::TK_RPAREN)
			return Error("Parentesi chiusa senza parentesi aperta", t.pos);
		if (t.kind == Parser::TK_ERROR)
			return Error(m_Parser.GetError(), t.pos);
		return Error("Operatore mancante", t.pos);
	}
	int MaxDepth() const { return m_nMaxDepth; }

private:
	bool Error(const CString& text, int pos)
	{
		m_Expr.Fail(text, pos);
		return false;
	}
	void Emit(Op op, int pos, double value = 0)
	{
		Instr in{};
		in.op = op;
		in.pos = in.operandPos = pos;
		in.value = value;
		EmitInstr(in);
	}
	// The right operand was just emitted; when it is one constant or floating field (a
	// longer operand ends in an operator), the operator takes it over.
	void EmitBinary(Op op, int pos)
	{
		Instr& last = m_Expr.m_Program.back();
		const int offset = static_cast<int>(op) - static_cast<int>(Op::Add);
		if (last.op == Op::Const || last.op == Op::Dbl)
		{
			const Op base = last.op == Op::Const ? Op::AddC : Op::AddD;
			last.op = static_cast<Op>(static_cast<int>(base) + offset);
			last.operandPos = last.pos;
			last.pos = pos;
			m_nDepth--;
			auto& program = m_Expr.m_Program;
			if (program.size() >= 2 && program[program.size() - 2].op == Op::Dbl)
			{
				Instr& left = program[program.size() - 2];
				Instr fused = last;
				fused.op = static_cast<Op>(static_cast<int>(fused.op) + static_cast<int>(Op::PAddC) - static_cast<int>(Op::AddC));
				fused.pLeft = left.pDbl;
				fused.leftPos = left.pos;
				program.pop_back();
				program.back() = fused;
			}
			return;
		}
		Emit(op, pos);
	}
	void EmitInstr(const Instr& in)
	{
		m_Expr.m_Program.push_back(in);
		// Operands push one value, binary operators pop two and push one.
		switch (in.op)
		{
		case Op::Const:
		case Op::Dbl:
		case Op::Field:
			m_nDepth++;
			m_nMaxDepth = std::max(m_nMaxDepth, m_nDepth);
			break;
		case Op::Add:
		case Op::Sub:
		case Op::Mul:
		case Op::Div:
			m_nDepth--;
			break;
		default:
			break;
		}
	}

	bool Sum()
	{
		if (!Product())
			return false;
		for (;;)
		{
			const Parser::Token t = m_Parser.Current();
			if (t.kind != Parser::TK_PLUS && t.kind != Parser::TK_MINUS)
				return true;
			m_Parser.Advance();
			if (!Product())
				return false;
			EmitBinary(t.kind == Parser::TK_PLUS ? Op::Add : Op::Sub, t.pos);
		}
	}

	bool Product()
	{
		if (!Unary())
			return false;
		for (;;)
		{
			const Parser::Token t = m_Parser.Current();
			if (t.kind != Parser::TK_STAR && t.kind != Parser::TK_SLASH)
				return true;
			m_Parser.Advance();
			if (!Unary())
				return false;
			EmitBinary(t.kind == Parser::TK_STAR ? Op::Mul : Op::Div, t.pos);
		}
	}

	bool Unary()
	{
		const Parser::Token t = m_Parser.Current();
		if (t.kind != Parser::TK_MINUS && t.kind != Parser::TK_PLUS)
			return Primary();
		if (++m_nNesting > MaxNesting)
			return Error("Espressione troppo annidata", t.pos);
		m_Parser.Advance();
		if (!Unary())
			return false;
		--m_nNesting;
		if (t.kind == Parser::TK_MINUS)
		{
			// A negative number is a constant of its own (an operand that ends in a constant
			// is that constant alone).
			Instr& last = m_Expr.m_Program.back();
			if (last.op == Op::Const)
				last.value = -last.value;
			else
				Emit(Op::Neg, t.pos);
		}
		return true;
	}

	bool Primary()
	{
		const Parser::Token t = m_Parser.Current();
		switch (t.kind)
		{
		case Parser::TK_NUMBER:
			m_Parser.Advance();
			Emit(Op::Const, t.pos, t.value);
			return true;
		case Parser::TK_NAME:
			m_Parser.Advance();
			return Name(t);
		case Parser::TK_LPAREN:
		{
			if (++m_nNesting > MaxNesting)
				return Error("Espressione troppo annidata", t.pos);
			m_Parser.Advance();
			if (!Sum())
				return false;
			const Parser::Token& close = m_Parser.Current();
			if (close.kind == Parser::TK_ERROR)
				return Error(m_Parser.GetError(), close.pos);
			if (close.kind != Parser::TK_RPAREN)
				return Error(CString::Formatted("Manca la parentesi chiusa della parentesi aperta alla posizione %d",
												Parser::CharColumn(m_Parser.GetText(), t.pos)),
							 close.pos);
			m_Parser.Advance();
			--m_nNesting;
			return true;
		}
		case Parser::TK_ERROR:
			return Error(m_Parser.GetError(), t.pos);
		case Parser::TK_RPAREN:
			return Error("Operando mancante prima della parentesi chiusa", t.pos);
		case Parser::TK_END:
			return Error("Operando mancante alla fine dell'espressione", t.pos);
		default:
			return Error("Operando mancante", t.pos);
		}
	}

	bool Name(const Parser::Token& t)
	{
		CString name(m_Parser.TokenText(t));
		SymField* pField = m_Expr.m_pSymTable ? m_Expr.m_pSymTable->GetField(name) : nullptr;
		if (!pField)
			return Error(CString::Formatted("Simbolo sconosciuto: %s", name.GetString()), t.pos);
		if (!pField->IsNumeric())
			return Error(CString::Formatted("Il simbolo %s non e' numerico", name.GetString()), t.pos);
		Instr in{};
		in.pos = in.operandPos = t.pos;
		if (const DataDbl* pDbl = pField->GetDblData())
		{
			in.op = Op::Dbl;
			in.pDbl = pDbl;
		}
		else
		{
			in.op = Op::Field;
			in.pField = pField;
		}
		EmitInstr(in);
		auto& used = m_Expr.m_UsedFields;
		if (std::find(used.begin(), used.end(), pField) == used.end())
			used.push_back(pField);
		return true;
	}

	Expression& m_Expr;
	Parser& m_Parser;
	int m_nDepth = 0;
	int m_nMaxDepth = 0;
	int m_nNesting = 0;
};

BOOL Expression::Fail(const CString& text, int nPos)
{
	m_strError = text;
	m_nErrorPos = nPos;
	return FALSE;
}

BOOL Expression::Parse(Parser& parser, WORD nType, int)
{
	m_bParsed = false;
	m_Program.clear();
	m_UsedFields.clear();
	m_strError.Empty();
	m_nErrorPos = -1;
	m_strText = parser.GetText();
	switch (nType)
	{
	case DATA_DBL_TYPE:
	case DATA_MON_TYPE:
	case DATA_QTY_TYPE:
	case DATA_PERC_TYPE:
	case DATA_INT_TYPE:
	case DATA_LNG_TYPE:
		break;
	default:
		return Fail("Tipo di risultato non numerico", 0);
	}
	m_nType = nType;
	Compiler compiler(*this, parser);
	if (!compiler.Compile())
	{
		m_Program.clear();
		m_UsedFields.clear();
		return FALSE;
	}
	{
		Instr end{};
		end.op = Op::End;
		m_Program.push_back(end);
	}
	m_Stack.assign(static_cast<size_t>(compiler.MaxDepth()) + 2, 0.0);
	m_nGeneration = m_pSymTable ? m_pSymTable->GetGeneration() : 0;
	m_bParsed = true;
	return TRUE;
}

CString Expression::GetErrorMessage() const
{
	if (m_nErrorPos < 0)
		return m_strError;
	return CString::Formatted("%s (posizione %d)", m_strError.GetString(), Parser::CharColumn(m_strText, m_nErrorPos));
}

BOOL Expression::Eval(DataObj& result)
{
	double value = 0;
	if (!Eval(value))
		return FALSE;
	result.SetDataValue(value);
	return TRUE;
}

BOOL Expression::Eval(double& result)
{
	if (!m_bParsed)
		return Fail(m_strError.IsEmpty() ? CString("Espressione non analizzata") : m_strError, m_nErrorPos);
	if (m_pSymTable && m_pSymTable->GetGeneration() != m_nGeneration)
		return Fail("La tabella dei simboli e' cambiata dopo l'analisi dell'espressione", -1);
	m_strError.Empty();
	m_nErrorPos = -1;
	if (Run<false>(result))
		return TRUE;
	// Something overflowed or was divided by zero or by no number: find what and where.
	return Run<true>(result);
}

namespace {
// Neither zero nor infinite nor NaN: the only divisors that keep every result finite, as
// x / inf would turn an overflow into a silent 0.
inline bool SafeDivisor(double d)
{
	const double a = std::fabs(d);
	return a > 0 && a <= std::numeric_limits<double>::max();
}
}  // namespace

template <bool Checked>
BOOL Expression::Run(double& result)
{
	// The top two values of the stack stay in registers (acc, then nos), so that a long chain
	// of operations never waits for a store to be read back; the slots below them are memory.
	double acc = 0;
	double nos = 0;
	double* sp = m_Stack.data();
	auto operandAt = [&](int pos, double v) -> bool {
		if (Checked && !std::isfinite(v))
		{
			std::string name = m_strText.substr(static_cast<size_t>(pos),
												static_cast<size_t>(Parser::NameEnd(m_strText, pos + 1) - pos));
			Fail(CString::Formatted("Valore non valido per %s", name.c_str()), pos);
			return false;
		}
		return true;
	};
	auto operand = [&](const Instr& in, double v) { return operandAt(in.operandPos, v); };
	auto divisor = [&](const Instr& in, double d) -> bool {
		if (SafeDivisor(d))
			return true;
		if (Checked)
			Fail(d == 0 ? "Divisione per zero" : "Risultato fuori intervallo", in.pos);
		return false;
	};
	// Threaded dispatch: each instruction jumps to the next one's handler itself, so that the
	// processor predicts every jump from its own place. The program ends with Op::End.
	static const void* const handlers[] = {&&Const, &&Dbl, &&Field, &&Neg, &&Add, &&Sub, &&Mul, &&Div,
										   &&AddC, &&SubC, &&MulC, &&DivC, &&AddD, &&SubD, &&MulD, &&DivD,
										   &&PAddC, &&PSubC, &&PMulC, &&PDivC, &&PAddD, &&PSubD, &&PMulD, &&PDivD, &&End};
	static_assert(std::size(handlers) == static_cast<size_t>(Op::End) + 1);
	const Instr* ip = m_Program.data();
#define KVZ_NEXT_OPERAND() goto* handlers[static_cast<int>((++ip)->op)]
#define KVZ_NEXT_RESULT()                                        \
	do                                                           \
	{                                                            \
		if (Checked && !std::isfinite(acc))                      \
			return Fail("Risultato fuori intervallo", ip->pos);  \
		KVZ_NEXT_OPERAND();                                      \
	} while (0)
	goto* handlers[static_cast<int>(ip->op)];
Const:
	*sp++ = nos;
	nos = acc;
	acc = ip->value;
	KVZ_NEXT_OPERAND();
Dbl:
	*sp++ = nos;
	nos = acc;
	acc = ip->pDbl->GetValue();
	if (!operand(*ip, acc))
		return FALSE;
	KVZ_NEXT_OPERAND();
Field:
	*sp++ = nos;
	nos = acc;
	acc = ip->pField->GetValue();
	if (!operand(*ip, acc))
		return FALSE;
	KVZ_NEXT_OPERAND();
Neg:
	acc = -acc;
	KVZ_NEXT_OPERAND();
Add:
	acc = nos + acc;
	nos = *--sp;
	KVZ_NEXT_RESULT();
Sub:
	acc = nos - acc;
	nos = *--sp;
	KVZ_NEXT_RESULT();
Mul:
	acc = nos * acc;
	nos = *--sp;
	KVZ_NEXT_RESULT();
Div:
	if (!divisor(*ip, acc))
		return FALSE;
	acc = nos / acc;
	nos = *--sp;
	KVZ_NEXT_RESULT();
AddC:
	acc += ip->value;
	KVZ_NEXT_RESULT();
SubC:
	acc -= ip->value;
	KVZ_NEXT_RESULT();
MulC:
	acc *= ip->value;
	KVZ_NEXT_RESULT();
DivC:
	if (!divisor(*ip, ip->value))
		return FALSE;
	acc /= ip->value;
	KVZ_NEXT_RESULT();
AddD:
	if (!operand(*ip, ip->pDbl->GetValue()))
		return FALSE;
	acc += ip->pDbl->GetValue();
	KVZ_NEXT_RESULT();
SubD:
	if (!operand(*ip, ip->pDbl->GetValue()))
		return FALSE;
	acc -= ip->pDbl->GetValue();
	KVZ_NEXT_RESULT();
MulD:
	if (!operand(*ip, ip->pDbl->GetValue()))
		return FALSE;
	acc *= ip->pDbl->GetValue();
	KVZ_NEXT_RESULT();
DivD:
	if (!operand(*ip, ip->pDbl->GetValue()) || !divisor(*ip, ip->pDbl->GetValue()))
		return FALSE;
	acc /= ip->pDbl->GetValue();
	KVZ_NEXT_RESULT();
// Pairs: push the left field, then as above.
#define KVZ_PUSH_LEFT()                           \
	*sp++ = nos;                                  \
	nos = acc;                                    \
	acc = ip->pLeft->GetValue();                  \
	if (!operandAt(ip->leftPos, acc))             \
		return FALSE
PAddC:
	KVZ_PUSH_LEFT();
	acc += ip->value;
	KVZ_NEXT_RESULT();
PSubC:
	KVZ_PUSH_LEFT();
	acc -= ip->value;
	KVZ_NEXT_RESULT();
PMulC:
	KVZ_PUSH_LEFT();
	acc *= ip->value;
	KVZ_NEXT_RESULT();
PDivC:
	KVZ_PUSH_LEFT();
	if (!divisor(*ip, ip->value))
		return FALSE;
	acc /= ip->value;
	KVZ_NEXT_RESULT();
PAddD:
	KVZ_PUSH_LEFT();
	if (!operand(*ip, ip->pDbl->GetValue()))
		return FALSE;
	acc += ip->pDbl->GetValue();
	KVZ_NEXT_RESULT();
PSubD:
	KVZ_PUSH_LEFT();
	if (!operand(*ip, ip->pDbl->GetValue()))
		return FALSE;
	acc -= ip->pDbl->GetValue();
	KVZ_NEXT_RESULT();
PMulD:
	KVZ_PUSH_LEFT();
	if (!operand(*ip, ip->pDbl->GetValue()))
		return FALSE;
	acc *= ip->pDbl->GetValue();
	KVZ_NEXT_RESULT();
PDivD:
	KVZ_PUSH_LEFT();
	if (!operand(*ip, ip->pDbl->GetValue()) || !divisor(*ip, ip->pDbl->GetValue()))
		return FALSE;
	acc /= ip->pDbl->GetValue();
	KVZ_NEXT_RESULT();
#undef KVZ_PUSH_LEFT
#undef KVZ_NEXT_RESULT
#undef KVZ_NEXT_OPERAND
End:
	double value = acc;
	if (!std::isfinite(value))
	{
		// Unchecked: let the checked run say where. Checked: every step was finite, so this
		// cannot happen; refuse all the same.
		if (Checked)
			Fail("Risultato fuori intervallo", -1);
		return FALSE;
	}
	if (m_nType == DATA_INT_TYPE || m_nType == DATA_LNG_TYPE)
	{
		// Integers take the value rounded, within their range.
		double limit = m_nType == DATA_INT_TYPE ? 2147483647.0 : 9.2e18;
		if (value > limit || value < -limit - 1)
			return Checked ? Fail("Risultato fuori intervallo", 0) : FALSE;
		value = std::round(value);
	}
	result = value;
	return TRUE;
}
