#include "platform/plvoledb/SqlMultiInsert.h"

#include <algorithm>

namespace {
// Within the least number of bound values any backend takes in one statement.
constexpr int kMaxParams = 999;

CString Quoted(const CString& identifier)
{
	CString q = identifier;
	q.Replace("\"", "\"\"");
	return "\"" + q + "\"";
}
}  // namespace

SqlMultiInsert::SqlMultiInsert(SqlSession* pSession, const SqlRecord& model, int nMaxRows)
	: m_pSession(pSession)
{
	if (!m_pSession)
		throw SqlException("Connessione al database non valida.");
	m_strHead = "INSERT INTO " + Quoted(model.GetTableName()) + " (";
	for (int i = 0; i < model.GetSize(); ++i)
	{
		if (model.IsLocal(i))
			continue;
		m_strHead += (m_Columns.empty() ? "" : ", ") + Quoted(model.GetItem(i)->m_strColumnName);
		m_Columns.push_back(i);
	}
	m_strHead += ") VALUES ";
	const int nCols = std::max<int>(1, static_cast<int>(m_Columns.size()));
	m_nMaxRows = std::clamp(nMaxRows, 1, std::max(1, kMaxParams / nCols));
	m_Rows.push_back(std::unique_ptr<SqlRecord>(model.Create()));
	if (!m_Rows.front())
		throw SqlException("Tabella " + model.GetTableName() + ": record senza classe registrata.");
}

SqlMultiInsert::~SqlMultiInsert() = default;

SqlRecord& SqlMultiInsert::NewRow()
{
	if (m_nPending == m_nMaxRows)
		Flush();
	if (static_cast<size_t>(m_nPending) == m_Rows.size())
		m_Rows.push_back(std::unique_ptr<SqlRecord>(m_Rows.front()->Create()));
	SqlRecord& r = *m_Rows[static_cast<size_t>(m_nPending++)];
	r.Init();
	return r;
}

const CString& SqlMultiInsert::Sql(int nRows)
{
	if (m_Sql.size() <= static_cast<size_t>(nRows))
		m_Sql.resize(static_cast<size_t>(nRows) + 1);
	CString& sql = m_Sql[static_cast<size_t>(nRows)];
	if (sql.IsEmpty())
	{
		CString row = "(";
		for (size_t c = 0; c < m_Columns.size(); ++c)
			row += c ? ", ?" : "?";
		row += ")";
		sql = m_strHead;
		for (int r = 0; r < nRows; ++r)
			sql += (r ? ", " : "") + row;
	}
	return sql;
}

int SqlMultiInsert::TakePending()
{
	const int n = m_nPending;
	// Held rows go whatever the outcome: a failed statement is not sent twice.
	m_nPending = 0;
	m_Params.clear();
	for (int r = 0; r < n; ++r)
		for (int c : m_Columns)
			m_Params.push_back(m_Rows[static_cast<size_t>(r)]->GetDataObjAt(c));
	return n;
}

long SqlMultiInsert::Flush()
{
	if (m_nPending == 0)
		return 0;
	const int n = TakePending();
	return m_pSession->ExecuteSQL(Sql(n), m_Params);
}

void SqlMultiInsert::Send()
{
	if (m_nPending == 0)
		return;
	const int n = TakePending();
	m_pSession->SendSQL(Sql(n), m_Params);
}
