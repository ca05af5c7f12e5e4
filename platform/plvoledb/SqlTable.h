#pragma once
// Table cursors over a record: columns selected, filters on named parameters, sort and
// group columns, aggregates into data objects, and rows read, added, changed, deleted and
// locked. A cursor prepares its statement once per definition and only rebinds to re-query.
#include <memory>
#include <vector>

#include "platform/plvoledb/SqlConnection.h"
#include "platform/plvoledb/SqlRecord.h"

namespace plv::db {
class BulkInsert;
class Statement;
class StatementPool;
}

class LockRetriesMng;

// Named parameters: handles bound to "?" in the order they were added.
class SqlRowSet : public CObject
{
	DECLARE_DYNAMIC(SqlRowSet, CObject)
public:
	// The parameter takes the type of the column's data object.
	void AddParam(LPCTSTR szName, const DataObj& column, int nDirection = 1);
	void SetParamValue(LPCTSTR szName, const DataObj& value);
	// A LIKE pattern: the codes starting with the value ("%" and "_" in it are no wildcards).
	void SetParamLike(LPCTSTR szName, const DataObj& value);
	BOOL ExistParam(LPCTSTR szName) const;
	int GetParamCount() const { return static_cast<int>(m_Params.size()); }

protected:
	struct Param
	{
		CString name;
		std::unique_ptr<DataObj> value;
		CString likePattern;
		bool isLike = false;
		bool isSet = false;
	};
	Param& FindParam(LPCTSTR szName);
	void ClearParams() { m_Params.clear(); }
	std::vector<Param> m_Params;
};

class SqlTable : public SqlRowSet
{
	DECLARE_DYNAMIC(SqlTable, SqlRowSet)
public:
	// pSession null: the default session of the record's connection.
	SqlTable(SqlRecord* pRecord, SqlSession* pSession = nullptr, CObject* pDocument = nullptr);
	~SqlTable() override;

	void Open(BOOL bUpdatable = FALSE, BOOL bScrollable = FALSE, BOOL bSensitive = TRUE);
	// Closes the cursor and releases the row locks it took.
	void Close();
	BOOL IsOpen() const { return m_bOpen; }

	void SelectAll();
	void Select(const DataObj& column);
	void Select(LPCTSTR szColumn);
	// An aggregate ("SUM(Importo)", "COUNT(*)") read into a data object outside the record.
	// Over no rows it gives the object's empty value, never a stale one.
	void SelectSqlFun(LPCTSTR szExpression, DataObj& target);

	// "<column> <op> ?": "=" when op is null or empty.
	void AddFilterColumn(const DataObj& column, LPCTSTR szOperator = nullptr);
	void AddFilterColumn(LPCTSTR szColumn, LPCTSTR szOperator = nullptr);
	void AddFilterLike(const DataObj& column);
	// "<column> BETWEEN ? AND ?", inclusive.
	void AddBetweenColumn(const DataObj& column);
	void AddSortColumn(const DataObj& column, BOOL bDescending = FALSE);
	void AddSortColumn(LPCTSTR szColumn, BOOL bDescending = FALSE);
	void AddGroupByColumn(const DataObj& column);

	// The WHERE, ORDER BY and GROUP BY texts: the calls above add to them, callers may
	// append their own text with "?" placeholders (a leading AND is dropped).
	CString m_strFilter;
	CString m_strSort;
	CString m_strGroupBy;

	void Query();
	BOOL IsEmpty() const { return m_bEmpty; }
	BOOL IsEOF() const { return m_bEOF; }
	void MoveNext();
	// The statement the definition gives, as it is sent to the database.
	CString GetSelectSql() const;

	void AddNew(BOOL bInit = TRUE);
	void Edit();
	// Writes the row being added or edited. Returns the rows written.
	int Update(SqlRecord* pOldRecord = nullptr, BOOL bUnused = FALSE);
	void Delete();
	BOOL IsAdding() const { return m_EditMode == EditMode::Adding; }
	BOOL IsEditing() const { return m_EditMode == EditMode::Editing; }

	// Row locks, per session: FALSE when another session holds the row. On a server the lock
	// is seen by every session of every workstation; the row is also locked in the database
	// (SELECT ... FOR UPDATE NOWAIT), so a row another session is writing is refused too, and
	// inside a transaction the database keeps the row locked until the transaction ends.
	BOOL LockCurrent(BOOL bUseMessageBox = TRUE, LockRetriesMng* pRetries = nullptr);
	void UnlockCurrent();
	void UnlockAll();

	// Inside a transaction every write fails on its own: the transaction goes on without it.
	// A batch of added rows may instead be sent without waiting for each answer (a server then
	// takes many rows in one round trip, before any other statement of the handle runs); a
	// failing row then fails the transaction, raised by a later call at the latest by the
	// commit. For loops that give up on any error. Tables keyed by rowid add row by row.
	void SetBatchInsert(BOOL b = TRUE) { m_bBatchInsert = b != FALSE; }
	// Sends the rows the batch added that still wait, raising a failing one.
	void SendBatch();
	BOOL IsUpdatable() const { return m_bUpdatable; }
	void SetAutocommit(BOOL b = TRUE) { m_bAutocommit = b != FALSE; }
	BOOL IsAutocommit() const { return m_bAutocommit; }
	void SetSqlSession(SqlSession* pSession) { m_pSession = pSession; }
	SqlSession* GetSqlSession() const;
	SqlRecord* GetRecord() const { return m_pRecord; }
	CString GetColumnName(const DataObj& column) const;

private:
	friend class SqlConnection;
	enum class EditMode
	{
		None,
		Adding,
		Editing,
	};
	void CheckOpen(const char* what) const;
	void CheckUpdatable(const char* what) const;
	// The select text and the record positions it reads; rebuilt only when the definition changed.
	const CString& SelectSql();
	CString BuildSelectSql(std::vector<int>& read, bool& hasRowid) const;
	void DefinitionChanged() { m_bSqlValid = false; }
	template <class Get>
	void LoadRow(Get column);
	// Steps to the row after the one read: a finished statement lets go of its read snapshot at once.
	void LookAhead();
	// Keeps the rows still to be read in memory so that the statement lets go of its snapshot.
	void BufferPendingRows();
	void ForgetPending();
	void AppendFilter(const CString& condition);
	CString CurrentKeyText() const;
	SqlConnection& Connection() const;
	SqlSession& Session() const;
	// The value a data object is written or compared as in the cursor's database.
	DataValue Stored(const DataObj& obj) const;
	// Locks the current row in the database: FALSE when another session holds or writes it.
	BOOL LockRowInDatabase();
	plv::db::Statement& Prepared(std::unique_ptr<plv::db::Statement>& slot, const CString& sql);
	// Hands the statements over to their connection for reuse (or drops them when it is gone).
	void Keep(std::unique_ptr<plv::db::Statement>& slot);
	void KeepStatements();
	// A table without a key finds its rows by rowid: the row just added is the current one.
	void ReadInsertedRowid();
	[[noreturn]] void Raise(const std::exception& e) const;

	SqlRecord* m_pRecord;
	SqlSession* m_pSession;
	bool m_bOpen = false;
	bool m_bUpdatable = false;
	bool m_bAutocommit = false;
	bool m_bBatchInsert = false;
	bool m_bSelectAll = false;
	std::vector<int> m_Selected;  // record positions, in select order
	struct SqlFun
	{
		CString expression;
		DataObj* target;
	};
	std::vector<SqlFun> m_Funs;
	std::vector<int> m_Keys;     // record positions of the primary key
	std::vector<int> m_Columns;  // record positions of the table's columns
	std::vector<DataObj*> m_Objs;  // the record's data objects by position, read once at Open

	// The select as last built, and the texts it was built from (callers may edit them).
	bool m_bSqlValid = false;
	CString m_strSql, m_strSqlFilter, m_strSqlSort, m_strSqlGroupBy;
	int m_nPlaceholders = 0;
	CString m_strInsertSql, m_strUpdateSql, m_strDeleteSql;
	std::vector<int> m_UpdateColumns;  // the columns m_strUpdateSql writes

	std::unique_ptr<plv::db::Statement> m_pSelect, m_pInsert, m_pUpdate, m_pDelete, m_pRowid;
	plv::db::Connection* m_pStatementsDb = nullptr;  // the handle the statements above were prepared on
	std::weak_ptr<plv::db::StatementPool> m_pPool;   // where that handle keeps them for reuse
	std::unique_ptr<plv::db::BulkInsert> m_pBulk;  // a batch insert's writer
	plv::db::Connection* m_pBulkDb = nullptr;     // the handle it writes on
	std::vector<DataValue> m_BulkRow;
	std::vector<int> m_Read;  // record positions read by the select, then the aggregates
	bool m_bHasRowid = false;
	bool m_bEmpty = true;
	bool m_bEOF = true;
	bool m_bAhead = false;  // the select stands on the next row, not read yet
	std::vector<std::vector<DataValue>> m_Buffered;  // rows still to read, once let go of the statement
	size_t m_nBuffered = 0;                          // the next of them
	SqlConnection* m_pPendingOn = nullptr;           // the connection that knows the select is pending
	EditMode m_EditMode = EditMode::None;
	std::vector<DataValue> m_CurrentKey;  // key values of the row read last
	std::int64_t m_nCurrentRowid = 0;
	std::vector<CString> m_Locks;  // key texts this cursor locked
};
