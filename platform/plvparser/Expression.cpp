#include "platform/plvparser/Expression.h"

#include <algorithm>
#include <cmath>
#include <iterator>
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
	static Op Of(Op family, int k) { return static_cast<Op>(static_cast<int>(family) + k); }
	static int Operator(Op op, Op family) { return static_cast<int>(op) - static_cast<int>(family); }
	void Push(const Instr& in)
	{
		m_Expr.m_Program.push_back(in);
		m_nMaxDepth = std::max(m_nMaxDepth, ++m_nDepth);
	}
	void EmitConst(int pos, double value)
	{
		Instr in{};
		in.op = Op::Load;
		in.pos = pos;
		in.aConst = static_cast<int>(m_Expr.m_Values.size());
		m_Expr.m_Values.emplace_back(value);
		Push(in);
	}
	// A Load of a constant (aPos is only a field's).
	static bool IsConstant(const Instr& in) { return in.op == Op::Load && in.aConst >= 0 && in.aPos < 0; }
	// The right operand (k: + - * /) was just emitted. An operand that is one constant or
	// floating field ends in a Load (a longer one ends in an operator): the operator takes it
	// over, and joins the instruction before it when that makes one of the combined shapes.
	void EmitBinary(int k, int pos)
	{
		auto& program = m_Expr.m_Program;
		m_nDepth--;
		Instr& last = program.back();
		if (k == 3 && IsConstant(last))
		{
			// Dividing by a power of two is multiplying by its reciprocal, exactly: the same
			// result, without the division's latency.
			DataDbl& c = m_Expr.m_Values[static_cast<size_t>(last.aConst)];
			int exponent = 0;
			const double reciprocal = 1.0 / c.GetValue();
			if (std::fabs(std::frexp(c.GetValue(), &exponent)) == 0.5 && std::isfinite(reciprocal) &&
				reciprocal * c.GetValue() == 1.0)
			{
				c = reciprocal;
				k = 2;
			}
		}
		if (last.op == Op::Load)
		{
			Instr* prev = program.size() >= 2 ? &program[program.size() - 2] : nullptr;
			if (prev && prev->op == Op::Load)
			{
				// Two operands: push (a op b).
				prev->op = Of(Op::PushOp, k);
				prev->b = last.a;
				prev->bPos = last.aPos;
				prev->bConst = last.aConst;
				prev->pos = pos;
				program.pop_back();
				return;
			}
			if (prev && static_cast<int>(prev->op) >= static_cast<int>(Op::AccOp) &&
				static_cast<int>(prev->op) < static_cast<int>(Op::StackOp))
			{
				// acc op1 a, then op b.
				prev->op = Of(Op::AccOpOp, 4 * Operator(prev->op, Op::AccOp) + k);
				prev->b = last.a;
				prev->bPos = last.aPos;
				prev->bConst = last.aConst;
				prev->pos2 = pos;
				program.pop_back();
				return;
			}
			last.op = Of(Op::AccOp, k);
			last.pos = pos;
			return;
		}
		if (static_cast<int>(last.op) >= static_cast<int>(Op::PushOp) &&
			static_cast<int>(last.op) < static_cast<int>(Op::AccOp))
		{
			// The right operand is (a op2 b) alone.
			last.op = Of(Op::AccOp2, 4 * k + Operator(last.op, Op::PushOp));
			last.pos2 = last.pos;
			last.pos = pos;
			return;
		}
		Instr in{};
		in.op = Of(Op::StackOp, k);
		in.pos = pos;
		program.push_back(in);
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
			EmitBinary(t.kind == Parser::TK_PLUS ? 0 : 1, t.pos);
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
			EmitBinary(t.kind == Parser::TK_STAR ? 2 : 3, t.pos);
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
			if (IsConstant(last))
			{
				DataDbl& value = m_Expr.m_Values[static_cast<size_t>(last.aConst)];
				value = -value.GetValue();
			}
			else
			{
				Instr in{};
				in.op = Op::Neg;
				in.pos = t.pos;
				m_Expr.m_Program.push_back(in);
			}
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
			EmitConst(t.pos, t.value);
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
		in.op = Op::Load;
		in.pos = in.aPos = t.pos;
		if (const DataDbl* pDbl = pField->GetDblData())
			in.a = pDbl;
		else
		{
			// Read through a copy of its value, which Eval takes.
			in.aConst = static_cast<int>(m_Expr.m_Values.size());
			m_Expr.m_Converted.emplace_back(m_Expr.m_Values.size(), pField);
			m_Expr.m_Values.emplace_back(0.0);
		}
		Push(in);
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
	m_Fast.clear();
	m_Terms.clear();
	m_Values.clear();
	m_Converted.clear();
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
	// The factor of a term that is one value alone.
	const size_t one = m_Values.size();
	m_Values.emplace_back(1.0);
	// The constants have their places now, the instructions their code.
	const void* const* handlers = nullptr;
	double unused = 0;
	Run<false>(unused, &handlers);
	for (Instr& in : m_Program)
	{
		in.handler = handlers[static_cast<int>(in.op)];
		if (in.aConst >= 0)
			in.a = &m_Values[static_cast<size_t>(in.aConst)];
		if (in.bConst >= 0)
			in.b = &m_Values[static_cast<size_t>(in.bConst)];
	}
	JoinTerms(handlers, &m_Values[one]);
	m_Stack.assign(static_cast<size_t>(compiler.MaxDepth()) + 2, 0.0);
	m_nGeneration = m_pSymTable ? m_pSymTable->GetGeneration() : 0;
	m_bParsed = true;
	return TRUE;
}

void Expression::JoinTerms(const void* const* handlers, const DataDbl* one)
{
	// The run being gathered: its terms from m_Terms[first], the program's step it stands for
	// when it is one step only (a run split because it was full stands for no step).
	bool open = false;
	RunBegin begin = OnAcc;
	size_t first = 0;
	const Instr* step = nullptr;
	int steps = 0;
	// The terms' places, until m_Terms stops growing.
	std::vector<size_t> places;
	auto close = [&](const DataDbl* scale) {
		if (!open)
			return;
		open = false;
		if (steps == 1 && step)
		{
			// One step alone gains nothing.
			m_Terms.resize(first);
			m_Fast.push_back(*step);
			places.push_back(SIZE_MAX);
			return;
		}
		const int n = static_cast<int>(m_Terms.size() - first);
		Instr in{};
		in.op = static_cast<Op>(static_cast<int>(Op::Run) + (begin * 2 + (scale ? 1 : 0)) * MaxTerms +
								(begin >= OnPopAdd ? n : n - 1));
		in.handler = handlers[static_cast<int>(in.op)];
		in.a = scale;
		m_Fast.push_back(in);
		places.push_back(first);
	};
	auto start = [&](RunBegin b) {
		close(nullptr);
		open = true;
		begin = b;
		first = m_Terms.size();
		step = nullptr;
		steps = 0;
	};
	// The instruction goes into the run open, or begins one.
	auto take = [&](const Instr& in, RunBegin b) {
		if (b != OnAcc || !open)
			start(b);
		step = &in;
		++steps;
	};
	// Adds a term to the run; a full run goes on in a new one on the accumulator.
	auto add = [&](const DataDbl* a, const DataDbl* b, bool bMinus) {
		if (static_cast<int>(m_Terms.size() - first) == (begin >= OnPopAdd ? MaxTerms - 1 : MaxTerms))
		{
			start(OnAcc);
			steps = 2;
		}
		m_Terms.push_back({a, b, bMinus ? -1.0 : 1.0});
	};
	for (const Instr& in : m_Program)
	{
		const int op = static_cast<int>(in.op);
		auto k = [op](Op family) { return op - static_cast<int>(family); };
		if (in.op == Op::Load)
		{
			take(in, OnPush);
			add(in.a, one, false);
		}
		else if (k(Op::PushOp) >= 0 && k(Op::PushOp) < 3)
		{
			take(in, OnPush);
			if (k(Op::PushOp) == 2)
				add(in.a, in.b, false);
			else
			{
				add(in.a, one, false);
				add(in.b, one, k(Op::PushOp) == 1);
			}
		}
		else if (k(Op::StackOp) >= 0 && k(Op::StackOp) < 2)
		{
			take(in, k(Op::StackOp) == 1 ? OnPopSub : OnPopAdd);
		}
		else if (k(Op::AccOp) >= 0 && k(Op::AccOp) < 2)
		{
			take(in, OnAcc);
			add(in.a, one, k(Op::AccOp) == 1);
		}
		else if (k(Op::AccOp) == 2 && open)
		{
			// A run multiplied ends there.
			++steps;
			close(in.a);
		}
		else if (k(Op::AccOp2) >= 0 && k(Op::AccOp2) < 8 && k(Op::AccOp2) % 4 == 2)
		{
			take(in, OnAcc);
			add(in.a, in.b, k(Op::AccOp2) == 6);
		}
		else if (k(Op::AccOpOp) >= 0 && k(Op::AccOpOp) < 8 && k(Op::AccOpOp) % 4 < 2)
		{
			take(in, OnAcc);
			add(in.a, one, k(Op::AccOpOp) / 4 == 1);
			add(in.b, one, k(Op::AccOpOp) % 4 == 1);
		}
		else
		{
			close(nullptr);
			m_Fast.push_back(in);
			places.push_back(SIZE_MAX);
		}
	}
	close(nullptr);
	for (size_t i = 0; i < m_Fast.size(); ++i)
		if (places[i] != SIZE_MAX)
			m_Fast[i].terms = &m_Terms[places[i]];
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

BOOL Expression::EvalApart(double& result)
{
	if (!m_bParsed || (m_pSymTable && m_pSymTable->GetGeneration() != m_nGeneration))
		return Refuse();
	m_strError.Empty();
	m_nErrorPos = -1;
	if (!m_Converted.empty())
		Convert();
	return Run<false>(result);
}

void Expression::Convert()
{
	for (const auto& [index, pField] : m_Converted)
		m_Values[index] = pField->GetValue();
}

BOOL Expression::Refuse()
{
	if (!m_bParsed)
		return Fail(m_strError.IsEmpty() ? CString("Espressione non analizzata") : m_strError, m_nErrorPos);
	return Fail("La tabella dei simboli e' cambiata dopo l'analisi dell'espressione", -1);
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

inline double Expression::TermValue(const Term& t)
{
	return t.a->GetValue() * t.b->GetValue() * t.sign;
}

template <bool Checked>
bool Expression::Operand(double v, int pos)
{
	if (Checked && pos >= 0 && !std::isfinite(v))
	{
		std::string name =
			m_strText.substr(static_cast<size_t>(pos), static_cast<size_t>(Parser::NameEnd(m_strText, pos + 1) - pos));
		Fail(CString::Formatted("Valore non valido per %s", name.c_str()), pos);
		return false;
	}
	return true;
}

template <bool Checked, int K>
bool Expression::Apply(double& x, double y, int pos)
{
	if constexpr (K == 0)
		x = x + y;
	else if constexpr (K == 1)
		x = x - y;
	else if constexpr (K == 2)
		x = x * y;
	else
	{
		if (!SafeDivisor(y))
		{
			if (Checked)
				Fail(y == 0 ? "Divisione per zero" : "Risultato fuori intervallo", pos);
			return false;
		}
		x = x / y;
	}
	if (Checked && !std::isfinite(x))
	{
		Fail("Risultato fuori intervallo", pos);
		return false;
	}
	return true;
}

// Integers take the value rounded, within their range. Apart from Run, as its call of round
// would make every run save registers.
template <bool Checked>
BOOL Expression::Integer(double value, double& result)
{
	const double limit = m_nType == DATA_INT_TYPE ? 2147483647.0 : 9.2e18;
	if (value > limit || value < -limit - 1)
	{
		if constexpr (Checked)
			return Fail("Risultato fuori intervallo", 0);
		else
			return Run<true>(result);
	}
	result = std::round(value);
	return TRUE;
}

template <bool Checked>
BOOL Expression::Run(double& result, const void* const** pHandlers)
{
	// The top two values of the stack stay in registers (acc, then nos), so that a long chain
	// of operations never waits for a store to be read back; the slots below them are memory.
	double acc = 0;
	double nos = 0;
	double* sp = m_Stack.data();
	// Threaded dispatch: each instruction jumps to the next one's handler itself, so that the
	// processor predicts every jump from its own place. The program ends with Op::End.
#define KVZ_OPS4(name) &&name##0, &&name##1, &&name##2, &&name##3
#define KVZ_OPS16(name) KVZ_OPS4(name##0), KVZ_OPS4(name##1), KVZ_OPS4(name##2), KVZ_OPS4(name##3)
#define KVZ_OPS8(name) KVZ_OPS4(name##0), KVZ_OPS4(name##1)
	static const void* const handlers[] = {&&Load,           &&Neg,           &&End,
										   KVZ_OPS4(PushOp), KVZ_OPS4(AccOp), KVZ_OPS4(StackOp),
										   KVZ_OPS16(AccOp2), KVZ_OPS16(AccOpOp), KVZ_OPS8(Run00),
										   KVZ_OPS8(Run01), KVZ_OPS8(Run10), KVZ_OPS8(Run11),
										   KVZ_OPS8(Run20), KVZ_OPS8(Run21), KVZ_OPS8(Run30),
										   KVZ_OPS8(Run31)};
	static_assert(MaxTerms == 8);
#undef KVZ_OPS8
#undef KVZ_OPS16
#undef KVZ_OPS4
	static_assert(std::size(handlers) == static_cast<size_t>(Op::Count));
	if (pHandlers) [[unlikely]]
	{
		*pHandlers = handlers;
		return TRUE;
	}
	// The unchecked run follows the program with its terms joined and jumps to the address the
	// instruction holds, one load less; the checked one takes each step apart.
	const Instr* ip = Checked ? m_Program.data() : m_Fast.data();
#define KVZ_DISPATCH()                                      \
	do                                                      \
	{                                                       \
		if constexpr (Checked)                              \
			goto* handlers[static_cast<int>(ip->op)];       \
		else                                                \
			goto* ip->handler;                              \
	} while (0)
#define KVZ_NEXT() \
	++ip;          \
	KVZ_DISPATCH()
#define KVZ_PUSH(value) \
	*sp++ = nos;        \
	nos = acc;          \
	acc = (value)
	KVZ_DISPATCH();
Load:
	KVZ_PUSH(ip->a->GetValue());
	if (!Operand<Checked>(acc, ip->aPos))
		goto Refused;
	KVZ_NEXT();
Neg:
	acc = -acc;
	KVZ_NEXT();
#define KVZ_PUSHOP(k)                                                                                  \
	PushOp##k:                                                                                         \
	{                                                                                                  \
		double x = ip->a->GetValue();                                                                  \
		if (!Operand<Checked>(x, ip->aPos) || !Operand<Checked>(ip->b->GetValue(), ip->bPos) ||        \
			!Apply<Checked, k>(x, ip->b->GetValue(), ip->pos))                                         \
			goto Refused;                                                                              \
		KVZ_PUSH(x);                                                                                   \
		KVZ_NEXT();                                                                                    \
	}
#define KVZ_ACCOP(k)                                                                                   \
	AccOp##k:                                                                                          \
	if (!Operand<Checked>(ip->a->GetValue(), ip->aPos) || !Apply<Checked, k>(acc, ip->a->GetValue(), ip->pos)) \
		goto Refused;                                                                                  \
	KVZ_NEXT();
#define KVZ_STACKOP(k)                                 \
	StackOp##k:                                        \
	if (!Apply<Checked, k>(nos, acc, ip->pos))         \
		goto Refused;                                  \
	acc = nos;                                         \
	nos = *--sp;                                       \
	KVZ_NEXT();
#define KVZ_ACCOP2(k1, k2)                                                                             \
	AccOp2##k1##k2:                                                                                    \
	{                                                                                                  \
		double x = ip->a->GetValue();                                                                  \
		if (!Operand<Checked>(x, ip->aPos) || !Operand<Checked>(ip->b->GetValue(), ip->bPos) ||        \
			!Apply<Checked, k2>(x, ip->b->GetValue(), ip->pos2) || !Apply<Checked, k1>(acc, x, ip->pos)) \
			goto Refused;                                                                              \
		KVZ_NEXT();                                                                                    \
	}
#define KVZ_ACCOPOP(k1, k2)                                                                            \
	AccOpOp##k1##k2:                                                                                   \
	if (!Operand<Checked>(ip->a->GetValue(), ip->aPos) || !Apply<Checked, k1>(acc, ip->a->GetValue(), ip->pos) || \
		!Operand<Checked>(ip->b->GetValue(), ip->bPos) || !Apply<Checked, k2>(acc, ip->b->GetValue(), ip->pos2)) \
		goto Refused;                                                                                  \
	KVZ_NEXT();
	// Only in the unchecked program: its failures show in the result, as every divisor is
	// checked elsewhere. Run<begin><scaled><slot>, the slot written as two digits 0-1, 0-3.
#define KVZ_RUN(b, f, s1, s0)                                                               \
	Run##b##f##s1##s0:                                                                      \
	{                                                                                       \
		constexpr int slot = s1 * 4 + s0;                                                   \
		constexpr int n = b >= OnPopAdd ? slot : slot + 1;                                     \
		const Term* t = ip->terms;                                                          \
		double x;                                                                           \
		if constexpr (b == OnAcc)                                                           \
			x = acc;                                                                        \
		else if constexpr (b == OnPush)                                                     \
		{                                                                                   \
			*sp++ = nos;                                                                    \
			nos = acc;                                                                      \
			x = TermValue(t[0]);                                                            \
		}                                                                                   \
		else                                                                                \
		{                                                                                   \
			x = b == OnPopAdd ? nos + acc : nos - acc;                                      \
			nos = *--sp;                                                                    \
		}                                                                                   \
		_Pragma("GCC unroll 8") for (int i = b == OnPush ? 1 : 0; i < n; ++i)               \
			x = x + TermValue(t[i]);                                                        \
		if constexpr (f)                                                                    \
			x = x * ip->a->GetValue();                                                      \
		acc = x;                                                                            \
		KVZ_NEXT();                                                                         \
	}
#define KVZ_RUN4(b, f, s1) KVZ_RUN(b, f, s1, 0) KVZ_RUN(b, f, s1, 1) KVZ_RUN(b, f, s1, 2) KVZ_RUN(b, f, s1, 3)
#define KVZ_RUN8(b, f) KVZ_RUN4(b, f, 0) KVZ_RUN4(b, f, 1)
	KVZ_RUN8(0, 0)
	KVZ_RUN8(0, 1)
	KVZ_RUN8(1, 0)
	KVZ_RUN8(1, 1)
	KVZ_RUN8(2, 0)
	KVZ_RUN8(2, 1)
	KVZ_RUN8(3, 0)
	KVZ_RUN8(3, 1)
#undef KVZ_RUN8
#undef KVZ_RUN4
#undef KVZ_RUN
#define KVZ_FOUR(M) M(0) M(1) M(2) M(3)
#define KVZ_ROW(M, k1) M(k1, 0) M(k1, 1) M(k1, 2) M(k1, 3)
#define KVZ_SIXTEEN(M) KVZ_ROW(M, 0) KVZ_ROW(M, 1) KVZ_ROW(M, 2) KVZ_ROW(M, 3)
	KVZ_FOUR(KVZ_PUSHOP)
	KVZ_FOUR(KVZ_ACCOP)
	KVZ_FOUR(KVZ_STACKOP)
	KVZ_SIXTEEN(KVZ_ACCOP2)
	KVZ_SIXTEEN(KVZ_ACCOPOP)
#undef KVZ_SIXTEEN
#undef KVZ_ROW
#undef KVZ_FOUR
#undef KVZ_ACCOPOP
#undef KVZ_ACCOP2
#undef KVZ_STACKOP
#undef KVZ_ACCOP
#undef KVZ_PUSHOP
#undef KVZ_PUSH
#undef KVZ_NEXT
#undef KVZ_DISPATCH
End:
	// Unchecked: let the checked run say where. Checked: every step was finite, so this cannot
	// happen; refuse all the same.
	if (!std::isfinite(acc))
	{
		if (Checked)
			Fail("Risultato fuori intervallo", -1);
		goto Refused;
	}
	if (m_nType == DATA_INT_TYPE || m_nType == DATA_LNG_TYPE) [[unlikely]]
		return Integer<Checked>(acc, result);
	result = acc;
	return TRUE;
Refused:
	// Unchecked: something overflowed or was divided by zero or by no number. The checked run
	// finds what and where.
	if constexpr (!Checked)
		return Run<true>(result);
	return FALSE;
}

// The run the callers' inline Eval enters.
template BOOL Expression::Run<false>(double&, const void* const**);
