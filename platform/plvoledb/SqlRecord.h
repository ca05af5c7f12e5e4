#pragma once
// A record binds a table's columns to data objects, in the table's column order, followed by
// local fields that carry form state and are never read or written.
#include <vector>

#include "platform/plvgeneric/Array.h"
#include "platform/plvgeneric/DataObj.h"

class SqlConnection;

class SqlRecordItem : public CObject
{
	DECLARE_DYNAMIC(SqlRecordItem, CObject)
public:
	SqlRecordItem(const CString& name, DataObj* pObj, BOOL bLocal, int nLength)
		: m_strColumnName(name), m_pDataObj(pObj), m_bLocal(bLocal), m_nLength(nLength)
	{
	}
	CString m_strColumnName;
	DataObj* m_pDataObj;  // the record's member, not owned
	BOOL m_bLocal;
	int m_nLength;
};

class SqlRecord : public Array
{
	DECLARE_DYNAMIC(SqlRecord, Array)
public:
	enum TableKind : short
	{
		TABLE_TYPE = 1,
		VIEW_TYPE = 2,
	};

	// pConnection null: the application's default connection.
	SqlRecord(LPCTSTR szTableName, SqlConnection* pConnection = nullptr, short nType = TABLE_TYPE, BOOL bUnused = FALSE);
	// Copies what describes the table (name, connection, key, indexes); the copy binds its own members.
	SqlRecord(const SqlRecord& r);
	SqlRecord& operator=(const SqlRecord& r);
	~SqlRecord() override = default;

	// Bindings: a position is the record's current column count.
	void BindDataObj(int nPos, LPCTSTR szColumnName, DataObj& obj);
	void BindLocalDataObj(int nPos, LPCTSTR szName, DataObj& obj, int nLength = 0, BOOL bUnused = TRUE);
	void EndBindData(int nPos);
	virtual void BindRecord() {}

	// Every column and local field back to its default.
	virtual void Init();
	virtual BOOL IsEmpty() const;
	virtual BOOL IsEqual(const SqlRecord& r) const;
	BOOL operator==(const SqlRecord& r) const { return IsEqual(r); }
	BOOL operator!=(const SqlRecord& r) const { return !IsEqual(r); }
	// A new record of the same class, and one holding the same values.
	SqlRecord* Create() const;
	SqlRecord* Clone() const;

	virtual void SetConnection(SqlConnection* pConnection) { m_pConnection = pConnection; }
	// The connection the record reads and writes: its own or the default one.
	SqlConnection* GetConnection() const;
	virtual CString GetTableName() const { return m_strTableName; }
	short GetTableType() const { return m_nType; }

	// Columns and local fields, in bind order.
	int GetSizeEx() const { return GetSize(); }
	SqlRecordItem* GetItem(int i) const { return static_cast<SqlRecordItem*>(GetAt(i)); }
	DataObj* GetDataObjAt(int i) const { return GetItem(i)->m_pDataObj; }
	int GetColumnCount() const;  // table columns only
	virtual int GetIndexFromColumnName(LPCTSTR szName) const;
	virtual DataObj* GetDataObjFromColumnName(LPCTSTR szName) const;
	virtual CString GetColumnName(const DataObj* pObj) const;
	BOOL IsLocal(int i) const { return GetItem(i)->m_bLocal; }
	virtual int GetColumnLength(int i) const { return GetItem(i)->m_nLength; }

	// The key the table is created with and rows are found and locked by, and further
	// indexes the table's readers need. Declared by each record once.
	void SetPrimaryKey(std::initializer_list<const char*> columns);
	void AddIndex(std::initializer_list<const char*> columns);
	const std::vector<CString>& GetPrimaryKey() const { return m_PrimaryKey; }
	const std::vector<std::vector<CString>>& GetIndexes() const { return m_Indexes; }

private:
	CString m_strTableName;
	SqlConnection* m_pConnection;
	short m_nType;
	std::vector<CString> m_PrimaryKey;
	std::vector<std::vector<CString>> m_Indexes;
};

// A record over a database view: read only, never created by the catalog.
class SqlRecordView : public SqlRecord
{
	DECLARE_DYNAMIC(SqlRecordView, SqlRecord)
public:
	explicit SqlRecordView(LPCTSTR szViewName, SqlConnection* pConnection = nullptr)
		: SqlRecord(szViewName, pConnection, VIEW_TYPE)
	{
	}
};
