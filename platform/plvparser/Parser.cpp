#include "platform/plvparser/Parser.h"

#include <charconv>
#include <cmath>

Parser::Parser(const CString& strText, const TokenTable*, int nLength, int nFlags) : m_strText(strText.str()), m_nFlags(nFlags)
{
	if (nLength >= 0 && static_cast<size_t>(nLength) < m_strText.size())
		m_strText.resize(static_cast<size_t>(nLength));
	Advance();
}

void Parser::Rewind()
{
	m_nNext = 0;
	Advance();
}

int Parser::NameEnd(std::string_view text, int nPos)
{
	int n = static_cast<int>(text.size());
	while (nPos < n && !IsSeparator(text[static_cast<size_t>(nPos)]))
		++nPos;
	return nPos;
}

int Parser::CharColumn(std::string_view text, int nPos)
{
	int column = 1;
	for (size_t i = 0; i < text.size() && i < static_cast<size_t>(nPos); ++i)
		if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
			++column;
	return column;
}

void Parser::Advance()
{
	const int n = static_cast<int>(m_strText.size());
	int p = m_nNext;
	while (p < n && IsBlank(m_strText[static_cast<size_t>(p)]))
		++p;
	m_Current = Token{TK_END, p, 0, 0};
	m_strError.Empty();
	if (p >= n)
	{
		m_nNext = p;
		return;
	}
	const char ch = m_strText[static_cast<size_t>(p)];
	auto single = [&](TokenKind kind) {
		m_Current.kind = kind;
		m_Current.len = 1;
	};
	switch (ch)
	{
	case '+': single(TK_PLUS); break;
	case '-': single(TK_MINUS); break;
	case '*': single(TK_STAR); break;
	case '/': single(TK_SLASH); break;
	case '(': single(TK_LPAREN); break;
	case ')': single(TK_RPAREN); break;
	case '_':
	{
		int start = p + 1;
		if (start < n && m_strText[static_cast<size_t>(start)] == '_')
			++start;
		int end = NameEnd(m_strText, start);
		m_Current.len = end - p;
		if (end == start)
		{
			m_Current.kind = TK_ERROR;
			m_strError.Format("Nome mancante dopo '%.*s'", start - p, m_strText.c_str() + p);
		}
		else
			m_Current.kind = TK_NAME;
		break;
	}
	default:
		if ((ch >= '0' && ch <= '9') || ch == '.')
		{
			int end = p;
			int digits = 0;
			while (end < n && m_strText[static_cast<size_t>(end)] >= '0' && m_strText[static_cast<size_t>(end)] <= '9')
				++end, ++digits;
			if (end < n && m_strText[static_cast<size_t>(end)] == '.')
			{
				++end;
				while (end < n && m_strText[static_cast<size_t>(end)] >= '0' && m_strText[static_cast<size_t>(end)] <= '9')
					++end, ++digits;
			}
			m_Current.len = end - p;
			if (!digits)
			{
				m_Current.kind = TK_ERROR;
				m_strError = "Numero senza cifre";
				break;
			}
			double value = 0;
			auto [ptr, ec] = std::from_chars(m_strText.data() + p, m_strText.data() + end, value, std::chars_format::fixed);
			if (ec != std::errc() || ptr != m_strText.data() + end || !std::isfinite(value))
			{
				m_Current.kind = TK_ERROR;
				m_strError = "Numero fuori intervallo";
				break;
			}
			m_Current.kind = TK_NUMBER;
			m_Current.value = value;
		}
		else
		{
			// One whole UTF-8 character, so that the message shows it readable.
			int len = 1;
			while (p + len < n && (static_cast<unsigned char>(m_strText[static_cast<size_t>(p + len)]) & 0xC0) == 0x80 && len < 4)
				++len;
			m_Current.kind = TK_ERROR;
			m_Current.len = len;
			if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F)
				m_strError.Format("Carattere non ammesso (codice %d)", static_cast<int>(static_cast<unsigned char>(ch)));
			else
				m_strError.Format("Carattere non ammesso '%.*s'", len, m_strText.c_str() + p);
		}
		break;
	}
	m_nNext = p + m_Current.len;
}
