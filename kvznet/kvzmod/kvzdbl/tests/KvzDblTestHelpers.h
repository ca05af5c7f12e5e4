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

// How PostgreSQL would run a query whatever its values (the generic plan, a full scan only when
// nothing else can), told in SQLite's words below: "SEARCH" for an index scan, "SCAN" for a
// full one, "USE TEMP B-TREE" for a sort, after the scans; each with PostgreSQL's own line.
inline std::string ServerPlan(SqlConnection& conn, const std::string& sql)
{
	plv::db::Connection& db = conn.Db();
	db.Execute("PREPARE kvz_plan AS " + sql);
	std::string args;
	{
		auto types = db.Prepare("SELECT unnest(parameter_types)::text FROM pg_prepared_statements WHERE name = 'kvz_plan'");
		while (types->Step())
		{
			const std::string type = std::get<std::string>(types->Column(0));
			const char* dummy = type == "citext" || type == "text" ? "''"
								: type.rfind("date", 0) == 0 || type.rfind("timestamp", 0) == 0 ? "'2000-01-01'"
																								 : "0";
			args += (args.empty() ? "" : ", ") + std::string(dummy);
		}
	}
	db.Execute("SET plan_cache_mode = force_generic_plan; SET enable_seqscan = off");
	std::string plan, sorts;  // SQLite tells a sort after the search it sorts
	{
		auto st = db.Prepare("EXPLAIN (COSTS OFF) EXECUTE kvz_plan" + (args.empty() ? "" : "(" + args + ")"));
		while (st->Step())
		{
			std::string line = std::get<std::string>(st->Column(0));
			std::string node = line.substr(line.find_first_not_of(" ->"));
			const char* told = node.find("Seq Scan") == 0 ? "SCAN"
							   : node.find("Index") == 0 || node.find("Bitmap Index") == 0 ? "SEARCH"
							   : node.find("Sort") == 0 || node.find("Incremental Sort") == 0 ? "USE TEMP B-TREE"
																						  : nullptr;
			if (told)
				(node.find("Sort") == std::string::npos ? plan : sorts) += std::string(told) + " [" + node + "]; ";
		}
	}
	plan += sorts;
	db.Execute("RESET plan_cache_mode; RESET enable_seqscan; DEALLOCATE kvz_plan");
	return plan;
}

// How SQLite would run a query: "SEARCH ..." through an index, "SCAN ..." over every row.
inline std::string Plan(SqlConnection& conn, const std::string& sql)
{
	if (conn.IsServer())
		return ServerPlan(conn, sql);
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
