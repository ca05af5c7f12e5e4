#pragma once
// What the table tests look at in more than one place: a record's bound names, key and
// upper-case columns, how SQLite would run a query, a row of another company's table, the rows
// a hotlink search lists.
#include <gtest/gtest.h>

#include <initializer_list>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "platform/plvges/HotKeyLink.h"
#include "platform/plvoledb/SqlConnection.h"
#include "platform/plvoledb/SqlRecord.h"
#include "platform/plvoledb/SqlTable.h"
#include "platform/plvoledb/driver/Driver.h"

namespace kvzdbl::test {
using V = std::vector<CString>;

// The columns and local fields, in bind order.
inline V BoundNames(const SqlRecord& r)
{
	V names;
	for (int i = 0; i < r.GetSize(); ++i)
		names.push_back(r.GetItem(i)->m_strColumnName);
	return names;
}

inline std::set<CString> UpperCaseColumns(const SqlRecord& r)
{
	std::set<CString> out;
	for (int i = 0; i < r.GetSize(); ++i)
		if (auto* s = dynamic_cast<DataStr*>(r.GetDataObjAt(i)); s && s->IsUpperCase())
			out.insert(r.GetItem(i)->m_strColumnName);
	return out;
}

// The bound names, the number of table columns, the key and the upper-case columns.
inline void ExpectRecordShape(const SqlRecord& r, const V& fields, int nColumns, const V& key,
							  const std::set<CString>& upper)
{
	EXPECT_EQ(BoundNames(r), fields);
	EXPECT_EQ(r.GetColumnCount(), nColumns);
	EXPECT_EQ(r.GetPrimaryKey(), key);
	EXPECT_EQ(UpperCaseColumns(r), upper);
}

// prefix1 ... prefixN.
inline V Numbered(const char* prefix, int from, int to)
{
	V out;
	for (int i = from; i <= to; ++i)
		out.push_back(CString::Formatted("%s%d", prefix, i));
	return out;
}

inline V Concat(std::initializer_list<V> parts)
{
	V out;
	for (auto& p : parts)
		out.insert(out.end(), p.begin(), p.end());
	return out;
}

// How SQLite would run a query: "SEARCH ..." through an index, "SCAN ..." over every row.
inline std::string Plan(SqlConnection& conn, const std::string& sql)
{
	auto st = conn.Db().Prepare("EXPLAIN QUERY PLAN " + sql);
	std::string plan;
	while (st->Step())
		plan += std::get<std::string>(st->Column(3)) + "; ";
	return plan;
}

// A query that goes through an index and scans no table; its plan, for further checks.
inline std::string ExpectIndexSearch(SqlConnection& conn, const char* sql)
{
	std::string plan = Plan(conn, sql);
	EXPECT_EQ(plan.rfind("SEARCH ", 0), 0u) << sql << "\n" << plan;
	EXPECT_EQ(plan.find("SCAN "), std::string::npos) << sql << "\n" << plan;
	return plan;
}

// Reads the first row of the record's table (on the record's connection) into the record;
// false when the table is empty.
inline bool ReadFirstRow(SqlRecord& r)
{
	SqlTable t(&r);
	t.Open(FALSE);
	t.SelectAll();
	t.Query();
	return !t.IsEmpty();
}

// One column of every row a hotlink search lists, in its order.
inline V Column(HotKeyLink& hkl, int type, const char* pattern, const char* column)
{
	V out;
	for (auto& r : hkl.Search(type, DataStr(pattern)))
		out.push_back(r->GetDataObjFromColumnName(column)->FormatData());
	return out;
}
}  // namespace kvzdbl::test
