#include "platform/plvoledb/SqlRecord.h"

#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlConnection.h"
#include "platform/plvoledb/SqlException.h"

SqlRecord::SqlRecord(LPCTSTR szTableName, SqlConnection* pConnection, short nType, BOOL)
	: m_strTableName(szTableName), m_pConnection(pConnection), m_nType(nType)
{
}

SqlRecord::SqlRecord(const SqlRecord& r)
	: Array(),
	  m_strTableName(r.m_strTableName),
	  m_pConnection(r.m_pConnection),
	  m_nType(r.m_nType),
	  m_PrimaryKey(r.m_PrimaryKey),
	  m_Indexes(r.m_Indexes)
{
	const char* from = reinterpret_cast<const char*>(&r);
	char* to = reinterpret_cast<char*>(this);
	for (int i = 0; i < r.GetSize(); ++i)
	{
		SqlRecordItem* item = r.GetItem(i);
		auto offset = reinterpret_cast<const char*>(item->m_pDataObj) - from;
		Add(new SqlRecordItem(item->m_strColumnName, reinterpret_cast<DataObj*>(to + offset), item->m_bLocal,
							  item->m_nLength));
	}
}

SqlRecord& SqlRecord::operator=(const SqlRecord& r)
{
	if (this == &r)
		return *this;
	// Column by column, by position; records of one class bind alike.
	int n = std::min(GetSize(), r.GetSize());
	for (int i = 0; i < n; ++i)
		GetDataObjAt(i)->Assign(*r.GetDataObjAt(i));
	return *this;
}

void SqlRecord::BindDataObj(int nPos, LPCTSTR szColumnName, DataObj& obj)
{
	ASSERT_RELEASE_TRACE(nPos == GetSize(), "SqlRecord::BindDataObj", "SqlRecord");
	Add(new SqlRecordItem(szColumnName, &obj, FALSE, 0));
}

void SqlRecord::BindLocalDataObj(int nPos, LPCTSTR szName, DataObj& obj, int nLength, BOOL)
{
	ASSERT_RELEASE_TRACE(nPos == GetSize(), "SqlRecord::BindLocalDataObj", "SqlRecord");
	Add(new SqlRecordItem(szName, &obj, TRUE, nLength));
}

void SqlRecord::EndBindData(int nPos)
{
	ASSERT_RELEASE_TRACE(nPos == GetSize(), "SqlRecord::EndBindData", "SqlRecord");
}

void SqlRecord::Init()
{
	for (int i = 0; i < GetSize(); ++i)
		GetDataObjAt(i)->Clear(TRUE);
}

BOOL SqlRecord::IsEmpty() const
{
	for (int i = 0; i < GetSize(); ++i)
		if (!IsLocal(i) && !GetDataObjAt(i)->IsEmpty())
			return FALSE;
	return TRUE;
}

BOOL SqlRecord::IsEqual(const SqlRecord& r) const
{
	if (GetSize() != r.GetSize())
		return FALSE;
	for (int i = 0; i < GetSize(); ++i)
		if (!IsLocal(i) && !GetDataObjAt(i)->IsEqual(*r.GetDataObjAt(i)))
			return FALSE;
	return TRUE;
}

SqlRecord* SqlRecord::Create() const
{
	CObject* p = GetRuntimeClass()->CreateObject();
	SqlRecord* pRec = DynamicDownCast<SqlRecord>(p);
	if (!pRec)
		delete p;
	return pRec;
}

SqlRecord* SqlRecord::Clone() const
{
	SqlRecord* p = Create();
	if (p)
		*p = *this;
	return p;
}

SqlConnection* SqlRecord::GetConnection() const
{
	return m_pConnection ? m_pConnection : AfxGetDefaultSqlConnection();
}

int SqlRecord::GetColumnCount() const
{
	int n = 0;
	for (int i = 0; i < GetSize(); ++i)
		n += IsLocal(i) ? 0 : 1;
	return n;
}

int SqlRecord::GetIndexFromColumnName(LPCTSTR szName) const
{
	for (int i = 0; i < GetSize(); ++i)
		if (GetItem(i)->m_strColumnName.CompareNoCase(szName) == 0)
			return i;
	return -1;
}

DataObj* SqlRecord::GetDataObjFromColumnName(LPCTSTR szName) const
{
	int i = GetIndexFromColumnName(szName);
	return i < 0 ? nullptr : GetDataObjAt(i);
}

CString SqlRecord::GetColumnName(const DataObj* pObj) const
{
	for (int i = 0; i < GetSize(); ++i)
		if (GetDataObjAt(i) == pObj)
			return GetItem(i)->m_strColumnName;
	return CString();
}

void SqlRecord::SetPrimaryKey(std::initializer_list<const char*> columns)
{
	m_PrimaryKey.assign(columns.begin(), columns.end());
}

void SqlRecord::AddIndex(std::initializer_list<const char*> columns)
{
	m_Indexes.emplace_back(columns.begin(), columns.end());
}

RecordBinder& RecordBinder::Key(LPCTSTR szColumn, DataObj& obj)
{
	m_Key.push_back(szColumn);
	return Col(szColumn, obj);
}

RecordBinder& RecordBinder::Col(LPCTSTR szColumn, DataObj& obj)
{
	m_Record.BindDataObj(m_Record.GetSize(), szColumn, obj);
	return *this;
}

RecordBinder& RecordBinder::Local(LPCTSTR szName, DataObj& obj, int nLength, const char* assertText, bool mustBeString)
{
	bool isString = obj.GetDataType() == DATA_STR_TYPE;
	if (isString != mustBeString && AfxGetApplicationContext()->AreReleaseAssertionsEnabled())
		AfxGetApplicationContext()->AssertAlwaysFailedLine(assertText, AfxGetCurrentThreadId(), "BindRecord",
														   m_Record.GetTableName().GetString(), __LINE__);
	m_Record.BindLocalDataObj(m_Record.GetSize(), szName, obj, nLength, TRUE);
	return *this;
}

RecordBinder& RecordBinder::Rule(const FieldRule& rule)
{
	ASSERT_RELEASE_TRACE(m_Record.GetSize() > 0, "RecordBinder::Rule", "SqlRecord");
	if (m_Record.GetSize() == 0)
		return *this;
	SqlRecordItem* item = m_Record.GetItem(m_Record.GetSize() - 1);
	item->m_nLength = rule.maxChars;
	item->m_pDataObj->SetFieldRule(rule);
	return *this;
}

RecordBinder& RecordBinder::Code(int nMaxChars, bool bRequired)
{
	return Rule({FieldRule::CODE, nMaxChars, bRequired});
}

RecordBinder& RecordBinder::Text(int nMaxChars)
{
	return Rule({FieldRule::TEXT, nMaxChars, false});
}

RecordBinder& RecordBinder::Year(bool bRequired)
{
	return Rule({FieldRule::YEAR, 0, bRequired});
}

void RecordBinder::End()
{
	if (!m_Key.empty())
	{
		std::vector<CString> key(m_Key.begin(), m_Key.end());
		m_Record.SetPrimaryKey(key);
	}
	m_Record.EndBindData(m_Record.GetSize());
}

CString SqlRecord::CheckFieldRules() const
{
	for (const CObject* p : *this)
	{
		const auto* item = static_cast<const SqlRecordItem*>(p);
		const FieldRule& rule = item->m_pDataObj->GetFieldRule();
		// Most columns declare no rule: nothing to look at.
		if (item->m_bLocal || (rule.kind == FieldRule::FREE && rule.maxChars <= 0))
			continue;
		if (CString why = CheckFieldRule(*item->m_pDataObj, item->m_strColumnName, false); !why.IsEmpty())
			return why;
	}
	return CString();
}

void SqlRecord::RefuseBrokenRules() const
{
	if (const CString why = CheckFieldRules(); !why.IsEmpty())
		throw SqlException(why);
}
