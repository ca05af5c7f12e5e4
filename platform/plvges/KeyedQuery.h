#pragma once
// The query most readers and updaters run: all columns, one equality filter per key column
// on a named parameter, each parameter set from a key member. The parameter names go with
// the columns as each class states them (not necessarily in key order).
#include <vector>

#include "platform/plvges/TableReader.h"
#include "platform/plvnamesolver/ApplicationContext.h"

class KeyedQuery
{
public:
	// In key-column order: the parameter, its column, the member that holds its value, and
	// whether an empty value means "no query".
	void Add(LPCTSTR szParam, LPCTSTR szColumn, DataObj& value, bool testEmpty = true);
	void Define(SqlTable& table) const;
	void Prepare(SqlTable& table) const;
	BOOL IsEmpty() const;

private:
	struct Entry
	{
		CString param;
		CString column;
		DataObj* value;
		bool testEmpty;
	};
	std::vector<Entry> m_Entries;
};

// A reader or updater whose query is a KeyedQuery.
template <class Base>
class KeyedTable : public Base
{
public:
	using Base::Base;

protected:
	void OnDefineQuery() override { m_Keys.Define(*this->m_pTable); }
	void OnPrepareQuery() override { m_Keys.Prepare(*this->m_pTable); }
	BOOL IsEmptyQuery() override { return m_Keys.IsEmpty(); }
	// Typed access to the record, with the release assertion of a record of another class.
	template <class Rec>
	Rec* TypedRecord(const char* assertText, const char* method, const char* file) const
	{
		SqlRecord* p = this->m_pRecord.get();
		if (!(p && p->IsKindOf(Rec::GetThisClass())) && AfxGetApplicationContext()->AreReleaseAssertionsEnabled())
			AfxGetApplicationContext()->AssertAlwaysFailedLine(assertText, AfxGetCurrentThreadId(), method, file, __LINE__);
		return static_cast<Rec*>(p);
	}

	KeyedQuery m_Keys;
};

using KeyedReader = KeyedTable<TableReader>;
using KeyedUpdater = KeyedTable<TableUpdater>;
