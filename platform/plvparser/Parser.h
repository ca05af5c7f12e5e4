#pragma once
// The lexer of the expression language: numbers, names, the four operators and parentheses.
//
// A name starts with "_" (a symbol) or "__" (a macro) and runs up to the next separator, blank
// or one of "+-*/()", or the end of the text: every other character, points, digits, further
// underscores and accented letters included, belongs to it. The decimal separator is ".".
#include <string>
#include <string_view>

#include "platform/mfc/CString.h"

// Keyword tables belong to languages with keywords; formulas have none, so a table given is not read.
struct TokenTable;

class Parser
{
public:
	enum TokenKind
	{
		TK_END,
		TK_NUMBER,
		TK_NAME,
		TK_PLUS,
		TK_MINUS,
		TK_STAR,
		TK_SLASH,
		TK_LPAREN,
		TK_RPAREN,
		TK_ERROR,  // the text at the token's position is no token; GetError says why
	};
	struct Token
	{
		TokenKind kind = TK_END;
		int pos = 0;  // byte offset in the text
		int len = 0;
		double value = 0;  // TK_NUMBER
	};

	// nLength: the bytes of the text to read, -1 for all of it. No flags are defined yet.
	explicit Parser(const CString& strText, const TokenTable* pTokenTable = nullptr, int nLength = -1, int nFlags = 0);

	const std::string& GetText() const { return m_strText; }
	int GetFlags() const { return m_nFlags; }

	// The token at the reading position, and moving past it.
	const Token& Current() const { return m_Current; }
	void Advance();
	// Back to the first token.
	void Rewind();
	std::string_view TokenText(const Token& token) const
	{
		return std::string_view(m_strText).substr(static_cast<size_t>(token.pos), static_cast<size_t>(token.len));
	}
	// Why the current TK_ERROR token is one.
	const CString& GetError() const { return m_strError; }

	// The separators that end a name; tab, CR and LF are blanks too.
	static bool IsSeparator(char ch)
	{
		switch (ch)
		{
		case ' ': case '\t': case '\r': case '\n':
		case '+': case '-': case '*': case '/': case '(': case ')':
			return true;
		default:
			return false;
		}
	}
	static bool IsBlank(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; }
	// The end of the name that starts at nPos: the first separator from there, or the text's end.
	static int NameEnd(std::string_view text, int nPos);
	// The 1-based character (not byte) position of a byte offset, for messages.
	static int CharColumn(std::string_view text, int nPos);

private:
	std::string m_strText;
	int m_nFlags;
	int m_nNext = 0;  // where the token after the current one starts
	Token m_Current;
	CString m_strError;
};
