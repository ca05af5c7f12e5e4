#pragma once
// Rows of one table added by INSERT statements of many rows each: a server answers once per
// statement instead of once per row, and SQLite runs one statement instead of one per row.
// A statement that fails adds none of its rows; inside a transaction it fails on its own,
// as any single write does.
//     SqlMultiInsert ins(pSession, rec);      // rec: a record of the table, as a model
//     Kvz_TRiclassificato& r = static_cast<Kvz_TRiclassificato&>(ins.NewRow());
//     r.f_Esercizio = 2024; ...
//     ins.Flush();                            // what is held is sent; at the latest here
#include <memory>
#include <vector>

#include "platform/plvoledb/SqlConnection.h"
#include "platform/plvoledb/SqlRecord.h"

class SqlMultiInsert
{
public:
	// nMaxRows: the most rows one statement takes (fewer when the columns are many).
	SqlMultiInsert(SqlSession* pSession, const SqlRecord& model, int nMaxRows = 64);
	SqlMultiInsert(const SqlMultiInsert&) = delete;
	SqlMultiInsert& operator=(const SqlMultiInsert&) = delete;
	// Rows still held are dropped: Flush() is the caller's, so that its error reaches it.
	~SqlMultiInsert();

	// A row to fill, every column at its default; the rows before it are sent first when a
	// statement is full.
	SqlRecord& NewRow();
	// Sends the rows held, as one statement; returns the rows added.
	long Flush();
	// The same, queued with the other writes inside a server transaction (SqlSession::SendSQL):
	// its failure then fails the transaction. For callers that give up on any error.
	void Send();
	int Pending() const { return m_nPending; }

private:
	const CString& Sql(int nRows);
	// The rows held into the parameters, none held after; their number.
	int TakePending();

	SqlSession* m_pSession;
	std::vector<int> m_Columns;
	std::vector<std::unique_ptr<SqlRecord>> m_Rows;
	int m_nPending = 0;
	int m_nMaxRows;
	CString m_strHead;
	std::vector<CString> m_Sql;  // by number of rows
	std::vector<const DataObj*> m_Params;
};
