#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <numeric>
#include <tuple>

#include "platform/plvgeneric/Interaction.h"
#include "platform/plvoledb/SchemaCheck.h"
#include "platform/plvoledb/SqlMultiInsert.h"
#include "platform/plvoledb/SqlTable.h"
#include "platform/plvoledb/driver/Driver.h"
#include "platform/plvoledb/tests/TestBackend.h"
#include "platform/plvoledb/tests/TestRecords.h"

namespace {

const DataEnum kFattura(100, 1);
const DataEnum kNota(100, 2);

// The counters table with a later column, as a newer release of the record binds it.
class TContatoriV2 : public TContatori
{
	DECLARE_DYNCREATE(TContatoriV2, TContatori)
public:
	DataStr f_Descrizione;
	TContatoriV2()
	{
		RemoveAll();
		BindRecord();
	}
	void BindRecord() override
	{
		BindDataObj(GetSize(), "Esercizio", f_Esercizio);
		BindDataObj(GetSize(), "TipoCodice", f_TipoCodice);
		BindDataObj(GetSize(), "Codice", f_Codice);
		BindDataObj(GetSize(), "Valore", f_Valore);
		BindDataObj(GetSize(), "Importo", f_Importo);
		BindDataObj(GetSize(), "Descrizione", f_Descrizione);
		EndBindData(GetSize());
	}
};

class VSaldi : public SqlRecordView
{
	DECLARE_DYNCREATE(VSaldi, SqlRecordView)
public:
	DataStr f_Conto;
	DataMon f_Saldo;
	VSaldi() : SqlRecordView("V_Saldi")
	{
		BindDataObj(GetSize(), "Conto", f_Conto);
		BindDataObj(GetSize(), "Saldo", f_Saldo);
		EndBindData(GetSize());
	}
};

// A table without a key: its rows are found again by rowid.
class TLog : public SqlRecord
{
	DECLARE_DYNCREATE(TLog, SqlRecord)
public:
	DataStr f_Testo;
	DataLng f_N;
	TLog() : SqlRecord("T_Log")
	{
		BindDataObj(GetSize(), "Testo", f_Testo);
		BindDataObj(GetSize(), "N", f_N);
		EndBindData(GetSize());
	}
};

struct Contatore
{
	int esercizio;
	DWORD tipo;
	const char* codice;
	long valore;
	double importo;
};

const Contatore kContatori[] = {
	{2023, kFattura, "A1", 10, 100.50},
	{2023, kFattura, "A2", 20, 0},
	{2023, kNota, "A1", 30, 12.25},
	{2024, kFattura, "A1", 40, 7},
	{2024, kFattura, "AB", 15, 0},
	{2024, kFattura, "B1", 20, 3.5},
	{2024, kNota, "B1", 21, 0},
	{2025, kFattura, "ÀB", 1, 0},
};

using Row = std::vector<DataValue>;

std::vector<std::string> CommittedCodes(const CString& target);

class SqlTableTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		KVZ_REQUIRE_BACKEND();
		m_Target = m_Db.Target("azienda.db");
		m_pConn = SqlConnection::Open(m_Target, SqlConnection::CREATE_IF_MISSING);
		m_pPrevious = AfxSetDefaultSqlConnection(m_pConn.get());
		ASSERT_TRUE(m_pConn->RegisterCatalogEntry("", CPLVNamespace(), RUNTIME_CLASS(TContatori), 1));
		ASSERT_TRUE(m_pConn->RegisterCatalogEntry("", CPLVNamespace(), RUNTIME_CLASS(TMovimenti), 1));
	}
	void TearDown() override { AfxSetDefaultSqlConnection(m_pPrevious); }

	void SeedContatori()
	{
		for (const Contatore& c : kContatori)
			Exec("INSERT INTO T_Contatori (Esercizio, TipoCodice, Codice, Valore, Importo) VALUES (?, ?, ?, ?, ?)",
				 {std::int64_t(c.esercizio), std::int64_t(c.tipo), std::string(c.codice), std::int64_t(c.valore),
				  c.importo});
	}
	void Exec(const char* sql, const std::vector<DataValue>& params = {})
	{
		m_pConn->Db().Execute(sql, params);
	}
	// A counter row of 2024 added through the session given.
	static void AddContatore(SqlSession* pSession, const char* cod, BOOL bAutocommit = FALSE)
	{
		TContatori rec;
		SqlTable t(&rec, pSession);
		t.SetAutocommit(bAutocommit);
		t.Open(TRUE);
		t.AddNew();
		rec.f_Esercizio = 2024;
		rec.f_TipoCodice = kFattura;
		rec.f_Codice = cod;
		t.Update();
	}
	static std::vector<Row> Rows(SqlConnection& conn, const char* sql)
	{
		auto st = conn.Db().Prepare(sql);
		std::vector<Row> rows;
		while (st->Step())
		{
			Row r;
			for (int i = 0; i < st->ColumnCount(); ++i)
				r.push_back(st->Column(i));
			rows.push_back(r);
		}
		return rows;
	}
	std::vector<Row> Rows(const char* sql) { return Rows(*m_pConn, sql); }
	// Codes read by iterating an open, queried cursor.
	static std::vector<std::string> Codes(SqlTable& t, const TContatori& rec)
	{
		std::vector<std::string> out;
		for (; !t.IsEOF(); t.MoveNext())
			out.push_back(rec.f_Codice.GetString().str());
		return out;
	}

	ScriptedInteraction m_Ui;
	InteractionScope m_UiScope{&m_Ui};
	TestBackend m_Db;
	CString m_Target;  // the company database, as opened
	std::unique_ptr<SqlConnection> m_pConn;
	SqlConnection* m_pPrevious = nullptr;
};

// ---- queries ---------------------------------------------------------------------------------

TEST_F(SqlTableTest, RequeryWithNewValuesBindsByParameterNotByKeyOrder)
{
	SeedContatori();
	TContatori rec;
	SqlTable t(&rec);
	t.Open();
	t.SelectAll();
	// Names out of key order and values set out of add order: binding follows the add order.
	t.AddParam("p3", rec.f_Esercizio);
	t.AddFilterColumn(rec.f_Esercizio);
	t.AddParam("p1", rec.f_TipoCodice);
	t.AddFilterColumn(rec.f_TipoCodice);
	t.AddParam("p2", rec.f_Codice);
	t.AddFilterColumn(rec.f_Codice);
	const CString sql = t.GetSelectSql();

	struct Case
	{
		int esercizio;
		DWORD tipo;
		const char* codice;
		bool found;
		long valore;
	};
	const Case cases[] = {
		{2023, kNota, "a1", true, 30},  // the parameter takes the column's upper case
		{2023, kFattura, "A1", true, 10},
		{2024, kFattura, "A1", true, 40},
		{2024, kNota, "A1", false, 0},
		{2025, kFattura, "A1", false, 0},
		{2024, kNota, "B1", true, 21},
	};
	for (const Case& c : cases)
	{
		SCOPED_TRACE(::testing::Message() << c.esercizio << "/" << c.tipo << "/" << c.codice);
		t.SetParamValue("p2", DataStr(c.codice));
		t.SetParamValue("p1", DataEnum(c.tipo));
		t.SetParamValue("p3", DataInt(c.esercizio));
		t.Query();
		ASSERT_EQ(t.IsEmpty(), !c.found);
		if (c.found)
		{
			EXPECT_EQ(rec.f_Valore.GetValue(), c.valore);
			t.MoveNext();
			EXPECT_TRUE(t.IsEOF());
		}
	}
	EXPECT_EQ(t.GetSelectSql(), sql);

	// A partial key walks its rows in key order.
	SqlTable range(&rec);
	range.Open();
	range.SelectAll();
	range.AddParam("anno", rec.f_Esercizio);
	range.AddFilterColumn(rec.f_Esercizio);
	range.SetParamValue("anno", DataInt(2024));
	range.Query();
	EXPECT_EQ(Codes(range, rec), (std::vector<std::string>{"A1", "AB", "B1", "B1"}));
	range.SetParamValue("anno", DataInt(2023));
	range.Query();
	EXPECT_EQ(Codes(range, rec), (std::vector<std::string>{"A1", "A2", "A1"}));
	// Text added to the definition after a query counts from the next one.
	range.m_strFilter += " AND Valore > ?";
	range.AddParam("min", rec.f_Valore);
	range.SetParamValue("min", DataLng(15));
	range.AddSortColumn(rec.f_Codice);
	range.Query();
	EXPECT_EQ(Codes(range, rec), (std::vector<std::string>{"A1", "A2"}));
}

TEST_F(SqlTableTest, AggregatesOverNoRowsAreEmptyNeverStale)
{
	SeedContatori();
	TContatori rec;
	DataMon sum;
	DataLng count;
	DataStr maxCode;
	SqlTable t(&rec);
	t.Open();
	t.SelectSqlFun(CString::Formatted("SUM(%s)", t.GetColumnName(rec.f_Importo).GetString()), sum);
	t.SelectSqlFun("COUNT(*)", count);
	t.SelectSqlFun(CString::Formatted("MAX(%s)", t.GetColumnName(rec.f_Codice).GetString()), maxCode);
	t.AddParam("anno", rec.f_Esercizio);
	t.AddFilterColumn(rec.f_Esercizio);

	struct Case
	{
		int esercizio;
		double sum;
		long count;
		const char* max;
	};
	const Case cases[] = {
		{2023, 112.75, 3, "A2"},
		{1999, 0, 0, ""},
		{2024, 10.5, 4, "B1"},
		{2030, 0, 0, ""},
	};
	for (const Case& c : cases)
	{
		SCOPED_TRACE(c.esercizio);
		sum = 999;
		count = 999;
		maxCode = "STALE";
		t.SetParamValue("anno", DataInt(c.esercizio));
		t.Query();
		EXPECT_DOUBLE_EQ(sum.GetValue(), c.sum);
		EXPECT_EQ(count.GetValue(), c.count);
		EXPECT_EQ(maxCode.GetString(), c.max);
	}

	// Grouped: no rows at all, and the targets do not keep the last group's values.
	SqlTable g(&rec);
	g.Open();
	g.Select(rec.f_Codice);
	g.SelectSqlFun(CString::Formatted("SUM(%s)", g.GetColumnName(rec.f_Valore).GetString()), count);
	g.AddParam("anno", rec.f_Esercizio);
	g.AddFilterColumn(rec.f_Esercizio);
	g.AddGroupByColumn(rec.f_Codice);
	g.SetParamValue("anno", DataInt(2024));
	g.Query();
	ASSERT_FALSE(g.IsEmpty());
	g.SetParamValue("anno", DataInt(1999));
	g.Query();
	EXPECT_TRUE(g.IsEmpty());
	EXPECT_EQ(count.GetValue(), 0);
}

TEST_F(SqlTableTest, LikeAndInclusiveBetween)
{
	SeedContatori();
	TContatori rec;
	SqlTable like(&rec);
	like.Open();
	like.SelectAll();
	like.AddParam("anno", rec.f_Esercizio);
	like.AddFilterColumn(rec.f_Esercizio);
	like.AddParam("cod", rec.f_Codice);
	like.AddFilterLike(rec.f_Codice);

	struct LikeCase
	{
		int esercizio;
		const char* prefix;
		std::vector<std::string> codes;
	};
	const LikeCase likes[] = {
		{2024, "A", {"A1", "AB"}},
		{2024, "a", {"A1", "AB"}},
		{2024, "AB", {"AB"}},
		{2024, "", {"A1", "AB", "B1", "B1"}},
		{2024, "C", {}},
		{2025, "à", {"ÀB"}},  // the pattern takes the column's upper case, beyond ASCII too
		// Wildcards and the escape character in the value match only themselves.
		{2026, "A_", {"A_1"}},
		{2026, "A%", {"A%1"}},
		{2026, "A!", {"A!1"}},
		{2026, "A", {"A!1", "A%1", "AX1", "A_1"}},
	};
	for (const char* code : {"A_1", "AX1", "A%1", "A!1"})
		Exec("INSERT INTO T_Contatori (Esercizio, TipoCodice, Codice, Valore, Importo) VALUES (2026, 0, ?, 0, 0)",
			 {std::string(code)});
	for (const LikeCase& c : likes)
	{
		SCOPED_TRACE(c.prefix);
		like.SetParamValue("anno", DataInt(c.esercizio));
		like.SetParamLike("cod", DataStr(c.prefix));
		like.Query();
		std::vector<std::string> codes = Codes(like, rec);
		std::sort(codes.begin(), codes.end());
		EXPECT_EQ(codes, c.codes);
	}

	SqlTable between(&rec);
	between.Open();
	between.SelectAll();
	between.AddParam("da", rec.f_Valore);
	between.AddParam("a", rec.f_Valore);
	between.AddBetweenColumn(rec.f_Valore);
	between.AddSortColumn(rec.f_Valore);
	struct BetweenCase
	{
		long from, to;
		std::vector<long> values;
	};
	const BetweenCase ranges[] = {
		{15, 21, {15, 20, 20, 21}},
		{10, 10, {10}},
		{41, 50, {}},
		{30, 20, {}},
	};
	for (const BetweenCase& c : ranges)
	{
		SCOPED_TRACE(::testing::Message() << c.from << ".." << c.to);
		between.SetParamValue("da", DataLng(c.from));
		between.SetParamValue("a", DataLng(c.to));
		between.Query();
		std::vector<long> got;
		for (; !between.IsEOF(); between.MoveNext())
			got.push_back(rec.f_Valore.GetValue());
		EXPECT_EQ(got, c.values);
	}
}

TEST_F(SqlTableTest, FreeFilterPlaceholdersOutOfColumnOrder)
{
	SeedContatori();
	TContatori rec;
	SqlTable t(&rec);
	t.Open();
	t.SelectAll();
	t.AddParam("anno", rec.f_Esercizio);
	t.AddFilterColumn(rec.f_Esercizio);
	// The "?" run Importo, Codice, Valore: not the order of the record's columns.
	t.m_strFilter += CString::Formatted(" AND (%s <> ? OR (%s = ? AND %s <> ?))", t.GetColumnName(rec.f_Importo).GetString(),
										t.GetColumnName(rec.f_Codice).GetString(), t.GetColumnName(rec.f_Valore).GetString());
	t.AddParam("imp", rec.f_Importo);
	t.AddParam("cod", rec.f_Codice);
	t.AddParam("val", rec.f_Valore);

	struct Case
	{
		int esercizio;
		double importo;
		const char* codice;
		long valore;
	};
	const Case cases[] = {
		{2024, 0, "AB", 0},
		{2024, 0, "AB", 15},
		{2024, 3.5, "B1", 99},
		{2023, 100.5, "A2", 10},
		{2023, 12.25, "A1", 10},
	};
	for (const Case& c : cases)
	{
		SCOPED_TRACE(::testing::Message() << c.esercizio << " " << c.importo << " " << c.codice << " " << c.valore);
		t.SetParamValue("val", DataLng(c.valore));
		t.SetParamValue("cod", DataStr(c.codice));
		t.SetParamValue("imp", DataMon(c.importo));
		t.SetParamValue("anno", DataInt(c.esercizio));
		t.Query();
		std::vector<std::string> expected;
		std::vector<const Contatore*> sorted;
		for (const Contatore& k : kContatori)
			sorted.push_back(&k);
		std::sort(sorted.begin(), sorted.end(), [](auto a, auto b) {
			return std::make_tuple(a->esercizio, a->tipo, std::string(a->codice)) <
				   std::make_tuple(b->esercizio, b->tipo, std::string(b->codice));
		});
		for (const Contatore* k : sorted)
			if (k->esercizio == c.esercizio &&
				(k->importo != c.importo || (std::string(k->codice) == c.codice && k->valore != c.valore)))
				expected.push_back(k->codice);
		EXPECT_EQ(Codes(t, rec), expected);
	}
}

TEST_F(SqlTableTest, GroupBySumAndTextIgnoresCase)
{
	struct Mov
	{
		const char* conto;
		int mese;
		double importo;
	};
	const Mov movs[] = {
		{"Cassa", 1, 10}, {"CASSA", 1, 5.5}, {"cassa", 2, 7}, {"Banca", 1, 100}, {"Cassa", 3, -2.25}, {"Cassa", 3, 2.25},
	};
	long id = 0;
	for (const Mov& m : movs)
		Exec("INSERT INTO T_Movimenti (Id, Conto, Data, Mese, Importo) VALUES (?, ?, ?, ?, ?)",
			 {std::int64_t(++id), std::string(m.conto), std::string("2024-01-01"), std::int64_t(m.mese), m.importo});

	TMovimenti rec;
	DataMon total;
	SqlTable t(&rec);
	t.Open();
	t.Select(rec.f_Mese);
	t.SelectSqlFun(CString::Formatted("SUM(%s)", t.GetColumnName(rec.f_Importo).GetString()), total);
	t.AddParam("conto", rec.f_Conto);
	t.AddFilterColumn(rec.f_Conto);
	t.AddGroupByColumn(rec.f_Mese);
	for (const char* conto : {"cassa", "CASSA", "Cassa"})
	{
		SCOPED_TRACE(conto);
		t.SetParamValue("conto", DataStr(conto));
		t.Query();
		std::map<int, double> got;
		for (; !t.IsEOF(); t.MoveNext())
			got[rec.f_Mese.GetValue()] = total.GetValue();
		EXPECT_EQ(got, (std::map<int, double>{{1, 15.5}, {2, 7}, {3, 0}}));
	}

	// Grouping, sorting and LIKE ignore case too.
	SqlTable byConto(&rec);
	byConto.Open();
	byConto.Select(rec.f_Conto);
	byConto.SelectSqlFun("COUNT(*)", total);
	byConto.AddGroupByColumn(rec.f_Conto);
	byConto.Query();
	std::map<std::string, double> groups;
	for (; !byConto.IsEOF(); byConto.MoveNext())
		groups[Utf8ToUpper(rec.f_Conto.GetString().str())] += total.GetValue();
	EXPECT_EQ(groups, (std::map<std::string, double>{{"BANCA", 1}, {"CASSA", 5}}));

	// In a key, text that differs only in case is the same key.
	Exec("INSERT INTO T_Contatori (Esercizio, TipoCodice, Codice) VALUES (2024, 1, 'k')");
	EXPECT_THROW(Exec("INSERT INTO T_Contatori (Esercizio, TipoCodice, Codice) VALUES (2024, 1, 'K')"), plv::db::DbError);
}

// ---- writes ----------------------------------------------------------------------------------

TEST_F(SqlTableTest, AddNewEditUpdateDeleteThroughCursors)
{
	TContatori rec;
	SqlTable t(&rec);
	t.Open(TRUE);
	t.SelectAll();
	t.AddParam("anno", rec.f_Esercizio);
	t.AddFilterColumn(rec.f_Esercizio);
	t.AddParam("tipo", rec.f_TipoCodice);
	t.AddFilterColumn(rec.f_TipoCodice);
	t.AddParam("cod", rec.f_Codice);
	t.AddFilterColumn(rec.f_Codice);
	auto find = [&](int anno, const char* cod) {
		t.SetParamValue("anno", DataInt(anno));
		t.SetParamValue("tipo", kFattura);
		t.SetParamValue("cod", DataStr(cod));
		t.Query();
		return !t.IsEmpty();
	};

	for (const char* cod : {"x1", "X2"})
	{
		ASSERT_FALSE(find(2024, cod));
		t.AddNew();
		rec.f_Esercizio = 2024;
		rec.f_TipoCodice = kFattura;
		rec.f_Codice = cod;
		rec.f_Valore = 5;
		rec.f_Importo = 1.25;
		rec.l_Nota = "not stored";
		EXPECT_EQ(t.Update(), 1);
	}
	EXPECT_EQ(Rows("SELECT Codice, Valore, Importo FROM T_Contatori ORDER BY Codice"),
			  (std::vector<Row>{{std::string("X1"), std::int64_t(5), 1.25}, {std::string("X2"), std::int64_t(5), 1.25}}));

	// Edit, including a change of key: the row written is the one read.
	ASSERT_TRUE(find(2024, "X1"));
	t.Edit();
	rec.f_Valore = 6;
	rec.f_Codice = "x3";
	EXPECT_EQ(t.Update(), 1);
	// Right after an insert the cursor's row is the new one.
	ASSERT_FALSE(find(2024, "X4"));
	t.AddNew();
	rec.f_Esercizio = 2024;
	rec.f_TipoCodice = kFattura;
	rec.f_Codice = "X4";
	t.Update();
	t.Edit();
	rec.f_Valore = 44;
	EXPECT_EQ(t.Update(), 1);
	EXPECT_EQ(Rows("SELECT Codice, Valore FROM T_Contatori ORDER BY Codice"),
			  (std::vector<Row>{{std::string("X2"), std::int64_t(5)},
								{std::string("X3"), std::int64_t(6)},
								{std::string("X4"), std::int64_t(44)}}));

	// A cursor reading some columns writes only those back.
	TContatori part;
	SqlTable p(&part);
	p.Open(TRUE);
	p.Select(part.f_Valore);
	p.AddParam("cod", part.f_Codice);
	p.AddFilterColumn(part.f_Codice);
	p.SetParamValue("cod", DataStr("X2"));
	p.Query();
	ASSERT_FALSE(p.IsEmpty());
	p.Edit();
	part.f_Valore = 7;
	EXPECT_EQ(p.Update(), 1);
	EXPECT_EQ(Rows("SELECT Valore, Importo FROM T_Contatori WHERE Codice = 'X2'"),
			  (std::vector<Row>{{std::int64_t(7), 1.25}}));

	ASSERT_TRUE(find(2024, "X3"));
	t.Delete();
	ASSERT_FALSE(find(2024, "X3"));
	ASSERT_TRUE(find(2024, "X2"));
	EXPECT_EQ(rec.f_Valore.GetValue(), 7);
	EXPECT_EQ(Rows("SELECT Codice FROM T_Contatori ORDER BY Codice"),
			  (std::vector<Row>{{std::string("X2")}, {std::string("X4")}}));

	// Misuse is an SqlException, not a silent write.
	EXPECT_THROW(t.Update(), SqlException);  // no AddNew or Edit
	t.AddNew();
	rec.f_Esercizio = 2024;
	rec.f_TipoCodice = kFattura;
	rec.f_Codice = "x2";
	EXPECT_THROW(t.Update(), SqlException);  // duplicate key
	SqlTable ro(&rec);
	ro.Open();
	ro.SelectAll();
	ro.Query();
	ASSERT_FALSE(ro.IsEmpty());
	EXPECT_THROW(ro.AddNew(), SqlException);
	EXPECT_THROW(ro.Edit(), SqlException);
	EXPECT_THROW(ro.Delete(), SqlException);
	EXPECT_EQ(Rows("SELECT COUNT(*) FROM T_Contatori"), (std::vector<Row>{{std::int64_t(2)}}));

	// Without a key, the row just added is the one edited and deleted next.
	ASSERT_TRUE(m_pConn->RegisterCatalogEntry("", CPLVNamespace(), RUNTIME_CLASS(TLog), 1));
	TLog log;
	SqlTable l(&log);
	l.Open(TRUE);
	for (const char* testo : {"primo", "secondo"})
	{
		l.AddNew();
		log.f_Testo = testo;
		l.Update();
	}
	l.Edit();
	log.f_N = 2;
	EXPECT_EQ(l.Update(), 1);
	EXPECT_EQ(Rows("SELECT Testo, N FROM T_Log ORDER BY rowid"),
			  (std::vector<Row>{{std::string("primo"), std::int64_t(0)}, {std::string("secondo"), std::int64_t(2)}}));
	l.Delete();
	EXPECT_EQ(Rows("SELECT Testo FROM T_Log"), (std::vector<Row>{{std::string("primo")}}));
}

TEST_F(SqlTableTest, EnumerationsKeepAllTheirBitsAndDatesMatchLikeText)
{
	// A tag with the high bit set: a server keeps enumerations in 32-bit signed integers.
	const DataEnum kAlto(0xC000, 5);
	TContatori rec;
	SqlTable t(&rec);
	t.Open(TRUE);
	t.SelectAll();
	t.AddParam("tipo", rec.f_TipoCodice);
	t.AddFilterColumn(rec.f_TipoCodice);
	t.SetParamValue("tipo", kAlto);
	t.Query();
	ASSERT_TRUE(t.IsEmpty());
	t.AddNew();
	rec.f_Esercizio = 2024;
	rec.f_TipoCodice = kAlto;
	rec.f_Codice = "E1";
	ASSERT_EQ(t.Update(), 1);
	t.Edit();  // found again by its key, enumeration included
	rec.f_Valore = 9;
	ASSERT_EQ(t.Update(), 1);
	rec.f_TipoCodice = kFattura;
	t.Query();
	ASSERT_FALSE(t.IsEmpty());
	EXPECT_EQ(rec.f_TipoCodice.GetValue(), kAlto.GetValue());
	EXPECT_EQ(rec.f_Valore.GetValue(), 9);

	Exec("INSERT INTO T_Movimenti (Id, Conto, Data, Mese, Importo) VALUES (1, 'Cassa', '2024-03-05', 3, 1)");
	TMovimenti mov;
	SqlTable byDate(&mov);
	byDate.Open();
	byDate.SelectAll();
	byDate.AddParam("data", mov.f_Data);
	byDate.AddFilterLike(mov.f_Data);
	for (const auto& [day, found] : {std::pair{DataDate(5, 3, 2024), true}, std::pair{DataDate(6, 3, 2024), false}})
	{
		byDate.SetParamLike("data", day);
		byDate.Query();
		EXPECT_EQ(!byDate.IsEmpty(), found) << day.FormatData().GetString();
	}
}

TEST_F(SqlTableTest, DuplicateInABatchInsertFailsTheTransactionAndLeavesNothing)
{
	SeedContatori();
	CPLVContext ctx(m_pConn.get());
	ASSERT_TRUE(ctx.StartTransaction());
	TContatori rec;
	SqlTable t(&rec, ctx.GetUpdatableSqlSession());
	t.Open(TRUE);
	t.SetBatchInsert();
	bool failed = false;
	try
	{
		// A server sends a batch's rows without waiting for each answer: the duplicate may
		// only be reported by the commit. SQLite reports it at once.
		for (const char* cod : {"N1", "A1", "N2"})
		{
			t.AddNew();
			rec.f_Esercizio = 2023;
			rec.f_TipoCodice = kFattura;
			rec.f_Codice = cod;
			t.Update();
		}
		ctx.Commit();
	}
	catch (const SqlException& e)
	{
		failed = true;
		EXPECT_NE(e.GetMessage().Find("T_Contatori"), -1) << e.GetMessage().GetString();
	}
	EXPECT_TRUE(failed);
	ctx.Rollback();
	EXPECT_FALSE(ctx.GetUpdatableSqlSession()->IsInTransaction());
	EXPECT_EQ(CommittedCodes(m_Target).size(), std::size(kContatori));
}

// Rows sent many to a statement: a statement that fails adds none of its rows and, inside a
// transaction, fails alone; the rows before and after it stay.
TEST_F(SqlTableTest, MultiRowInsertsFailStatementByStatement)
{
	SeedContatori();
	CPLVContext ctx(m_pConn.get());
	ASSERT_TRUE(ctx.StartTransaction());
	SqlMultiInsert ins(ctx.GetUpdatableSqlSession(), TContatori(), 2);
	auto add = [&](const char* cod, double importo) {
		auto& r = static_cast<TContatori&>(ins.NewRow());
		r.f_Esercizio = 2023;
		r.f_TipoCodice = kFattura;
		r.f_Codice = cod;
		r.f_Importo = importo;
	};
	add("n1", 1.01);
	add("n2", 2.02);
	add("n3", 3.03);  // sends n1 and n2
	add("a1", 0);	  // a key the table holds
	EXPECT_THROW(add("n4", 0), SqlException);
	EXPECT_EQ(ins.Pending(), 0);
	add("n5", 5.05);
	EXPECT_EQ(ins.Flush(), 1);
	EXPECT_EQ(ins.Flush(), 0);
	ASSERT_TRUE(ctx.Commit());
	std::vector<std::string> attesi = {"N1", "N2", "N5"};
	for (const Contatore& c : kContatori)
		attesi.push_back(c.codice);
	std::sort(attesi.begin(), attesi.end());
	std::vector<std::string> scritti = CommittedCodes(m_Target);
	std::sort(scritti.begin(), scritti.end());
	EXPECT_EQ(scritti, attesi);
	EXPECT_EQ(Rows(*m_pConn, "SELECT Importo FROM T_Contatori WHERE Codice = 'N2'"), (std::vector<Row>{{2.02}}));
}

// Writes sent (a server queues them inside a transaction) come before the session's next read;
// a failing one is raised, at the latest by that read.
TEST_F(SqlTableTest, SentWritesComeBeforeTheNextReadAndAFailingOneIsRaised)
{
	SeedContatori();
	CPLVContext ctx(m_pConn.get());
	ASSERT_TRUE(ctx.StartTransaction());
	SqlSession* pSession = ctx.GetUpdatableSqlSession();
	auto leggi = [&](const char* sql) {
		auto st = pSession->Db().Prepare(sql);
		std::vector<Row> rows;
		while (st->Step())
			rows.push_back({st->Column(0)});
		return rows;
	};
	const DataMon piu(0.25);
	const DataStr codice("A2");
	for (int i = 0; i < 3; ++i)
		pSession->SendSQL("UPDATE T_Contatori SET Importo = Importo + ? WHERE Codice = ? AND Esercizio = 2023", {&piu, &codice});
	SqlMultiInsert ins(pSession, TContatori(), 4);
	for (const char* cod : {"S1", "S2"})
	{
		auto& r = static_cast<TContatori&>(ins.NewRow());
		r.f_Esercizio = 2023;
		r.f_TipoCodice = kFattura;
		r.f_Codice = cod;
	}
	ins.Send();
	EXPECT_EQ(ins.Pending(), 0);
	EXPECT_EQ(leggi("SELECT Importo FROM T_Contatori WHERE Codice = 'A2' AND Esercizio = 2023"), (std::vector<Row>{{0.75}}));
	EXPECT_EQ(leggi("SELECT COUNT(*) FROM T_Contatori WHERE Codice IN ('S1', 'S2')"), (std::vector<Row>{{std::int64_t(2)}}));
	ASSERT_TRUE(ctx.Commit());
	EXPECT_EQ(Rows(*m_pConn, "SELECT Importo FROM T_Contatori WHERE Codice = 'A2' AND Esercizio = 2023"),
			  (std::vector<Row>{{0.75}}));

	ASSERT_TRUE(ctx.StartTransaction());
	bool bRaised = false;
	try
	{
		pSession->SendSQL("INSERT INTO T_Contatori (Esercizio, TipoCodice, Codice, Valore, Importo) VALUES (2023, ?, 'S1', 0, 0)",
						  {&kFattura});
		leggi("SELECT COUNT(*) FROM T_Contatori");
	}
	catch (const std::exception&)  // the send's own error, or the driver's at the read
	{
		bRaised = true;
	}
	EXPECT_TRUE(bRaised);
	ctx.Rollback();
	EXPECT_EQ(Rows(*m_pConn, "SELECT COUNT(*) FROM T_Contatori WHERE Codice = 'S1'"), (std::vector<Row>{{std::int64_t(1)}}));
}

TEST_F(SqlTableTest, CatalogCreatesTablesFromBindings)
{
	if (!TestBackend::OnServer())
	{
		EXPECT_EQ(Rows("SELECT name, type, pk FROM pragma_table_info('T_Contatori') ORDER BY cid"),
				  (std::vector<Row>{{std::string("Esercizio"), std::string("INTEGER"), std::int64_t(1)},
									{std::string("TipoCodice"), std::string("INTEGER"), std::int64_t(2)},
									{std::string("Codice"), std::string("TEXT"), std::int64_t(3)},
									{std::string("Valore"), std::string("INTEGER"), std::int64_t(0)},
									{std::string("Importo"), std::string("REAL"), std::int64_t(0)}}));
		auto indexed = Rows("SELECT ii.name FROM pragma_index_list('T_Contatori') il, pragma_index_info(il.name) ii "
							"WHERE il.origin = 'c'");
		EXPECT_EQ(indexed, (std::vector<Row>{{std::string("Codice")}}));
		auto movIndex = Rows("SELECT ii.name FROM pragma_index_list('T_Movimenti') il, pragma_index_info(il.name) ii "
							 "WHERE il.origin = 'c' ORDER BY ii.seqno");
		EXPECT_EQ(movIndex, (std::vector<Row>{{std::string("Conto")}, {std::string("Mese")}}));
	}
	else
	{
		// Names folded to lower case; 32-bit integers for integers and enumerations, 64 for longs.
		EXPECT_EQ(Rows("SELECT a.attname::text, format_type(a.atttypid, NULL), "
					   "COALESCE(array_position(i.indkey::int2[], a.attnum) + 1, 0) "
					   "FROM pg_attribute a LEFT JOIN pg_index i ON i.indrelid = a.attrelid AND i.indisprimary "
					   "WHERE a.attrelid = 'T_Contatori'::regclass AND a.attnum > 0 ORDER BY a.attnum"),
				  (std::vector<Row>{{std::string("esercizio"), std::string("integer"), std::int64_t(1)},
									{std::string("tipocodice"), std::string("integer"), std::int64_t(2)},
									{std::string("codice"), std::string("citext"), std::int64_t(3)},
									{std::string("valore"), std::string("bigint"), std::int64_t(0)},
									{std::string("importo"), std::string("double precision"), std::int64_t(0)}}));
		const char* const indexColumns = "SELECT a.attname::text FROM pg_index i, unnest(i.indkey) WITH ORDINALITY k(n, o) "
										 "JOIN pg_attribute a ON a.attnum = k.n "
										 "WHERE a.attrelid = i.indrelid AND i.indrelid = '%s'::regclass "
										 "AND NOT i.indisprimary ORDER BY k.o";
		EXPECT_EQ(Rows(CString::Formatted(indexColumns, "T_Contatori")), (std::vector<Row>{{std::string("codice")}}));
		EXPECT_EQ(Rows(CString::Formatted(indexColumns, "T_Movimenti")),
				  (std::vector<Row>{{std::string("conto")}, {std::string("mese")}}));
		// A date is a date, a full date a timestamp.
		EXPECT_NE(SqlConnection::CreateTableSql(TMovimenti(), TRUE).Find("\"Data\" date NOT NULL"), -1);
	}
	const CatalogEntry* entry = m_pConn->GetCatalogEntry("t_contatori");
	ASSERT_NE(entry, nullptr);
	EXPECT_EQ(entry->pRecordClass, RUNTIME_CLASS(TContatori));
	EXPECT_EQ(entry->kind, 1);

	// A view is recorded, never created.
	EXPECT_TRUE(m_pConn->RegisterCatalogEntry("", CPLVNamespace(), RUNTIME_CLASS(VSaldi), 2));
	EXPECT_FALSE(m_pConn->Db().TableExists("V_Saldi"));
	ASSERT_NE(m_pConn->GetCatalogEntry("V_Saldi"), nullptr);
	EXPECT_EQ(m_pConn->GetCatalogEntry("V_Saldi")->kind, 2);

	// A later release with one more column adds it and keeps the rows.
	Exec("INSERT INTO T_Contatori (Esercizio, TipoCodice, Codice, Valore) VALUES (2024, 1, 'K', 3)");
	EXPECT_TRUE(m_pConn->RegisterCatalogEntry("", CPLVNamespace(), RUNTIME_CLASS(TContatoriV2), 1));
	std::vector<std::string> columns = {"Esercizio", "TipoCodice", "Codice", "Valore", "Importo", "Descrizione"};
	if (TestBackend::OnServer())
		for (auto& c : columns)
			c = Utf8ToLower(c);
	EXPECT_EQ(m_pConn->Db().TableColumns("T_Contatori"), columns);
	EXPECT_EQ(Rows("SELECT Codice, Valore, Descrizione FROM T_Contatori"),
			  (std::vector<Row>{{std::string("K"), std::int64_t(3), std::string("")}}));
	EXPECT_EQ(m_pConn->GetCatalogEntry("T_CONTATORI")->pRecordClass, RUNTIME_CLASS(TContatoriV2));
	// Registering again changes nothing.
	EXPECT_TRUE(m_pConn->RegisterCatalogEntry("", CPLVNamespace(), RUNTIME_CLASS(TContatoriV2), 1));
	EXPECT_EQ(m_pConn->Db().TableColumns("T_Contatori").size(), 6u);
}

// The schema read at once gives what the lookups table by table give, and a registration
// checked against it changes the schema as one that asks table by table.
TEST_F(SqlTableTest, CatalogCheckedAgainstOneSchemaReadMakesTheSameChanges)
{
	Exec("CREATE TEMP TABLE T_Appunti (Testo TEXT)");
	auto sorted = [](std::vector<std::string> v) {
		std::sort(v.begin(), v.end());
		return v;
	};
	auto lower = [](std::string s) {
		for (char& c : s)
			c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
		return s;
	};
	const plv::db::Schema schema = m_pConn->Db().ReadSchema();
	for (const char* table : {"T_Contatori", "T_Movimenti", "T_Appunti"})
	{
		SCOPED_TRACE(table);
		auto it = schema.find(lower(table));
		ASSERT_NE(it, schema.end());
		EXPECT_EQ(it->second.columns, m_pConn->Db().TableColumns(table));
		EXPECT_EQ(sorted(it->second.indexes), sorted(m_pConn->Db().TableIndexes(table)));
	}
	for (const auto& [table, t] : schema)
		EXPECT_TRUE(m_pConn->Db().TableExists(table)) << table;

	// A release behind: a column and an index missing, a table not there yet.
	Exec("DROP INDEX T_Movimenti_ix1");
	const size_t nBefore = m_pConn->GetSchemaChanges().size();
	{
		const SqlSchemaCheck check(m_pConn.get());
		for (int volta = 0; volta < 2; ++volta)
		{
			EXPECT_TRUE(m_pConn->RegisterCatalogEntry("", CPLVNamespace(), RUNTIME_CLASS(TContatoriV2), 1));
			EXPECT_TRUE(m_pConn->RegisterCatalogEntry("", CPLVNamespace(), RUNTIME_CLASS(TMovimenti), 1));
			EXPECT_TRUE(m_pConn->RegisterCatalogEntry("", CPLVNamespace(), RUNTIME_CLASS(TLog), 1));
		}
		EXPECT_EQ(m_pConn->GetDatabaseRelease("Contabilita"), 0);
		m_pConn->SetDatabaseRelease("Contabilita", 3);
		EXPECT_EQ(m_pConn->GetDatabaseRelease("CONTABILITA"), 3);
	}
	const std::vector<CString> changes(m_pConn->GetSchemaChanges().begin() + static_cast<long>(nBefore),
									   m_pConn->GetSchemaChanges().end());
	EXPECT_EQ(changes, (std::vector<CString>{"added column T_Contatori.Descrizione", "created table T_Log"}));
	EXPECT_EQ(m_pConn->Db().TableColumns("T_Contatori").size(), 6u);
	EXPECT_TRUE(m_pConn->Db().TableExists("T_Log"));
	const std::vector<std::string> indexes = m_pConn->Db().TableIndexes("T_Movimenti");
	EXPECT_TRUE(std::any_of(indexes.begin(), indexes.end(),
							[&](const std::string& n) { return lower(n) == "t_movimenti_ix1"; }));
	EXPECT_EQ(m_pConn->GetDatabaseRelease("Contabilita"), 3);
	{
		// Up to date: nothing more to change, and the release as written.
		const SqlSchemaCheck check(m_pConn.get());
		EXPECT_TRUE(m_pConn->RegisterCatalogEntry("", CPLVNamespace(), RUNTIME_CLASS(TContatoriV2), 1));
		EXPECT_TRUE(m_pConn->RegisterCatalogEntry("", CPLVNamespace(), RUNTIME_CLASS(TLog), 1));
		EXPECT_EQ(m_pConn->GetDatabaseRelease("Contabilita"), 3);
	}
	EXPECT_EQ(m_pConn->GetSchemaChanges().size(), nBefore + 2);
}

// A cursor closed and opened again with the same definition takes its compiled statement back
// from the connection; a change of schema lets every kept statement go, so that none runs on
// the table as it was; the connection keeps a bounded number of them.
TEST_F(SqlTableTest, ClosedCursorsStatementsAreReusedUntilTheSchemaChanges)
{
	SeedContatori();
	auto pool = m_pConn->Db().Reusable().lock();
	ASSERT_TRUE(pool);
	pool->Clear();
	TContatori rec;
	SqlTable t(&rec);
	auto leggi = [&](int esercizio) {
		t.Open(FALSE);
		t.SelectAll();
		t.AddParam("p1", rec.f_Esercizio);
		t.AddFilterColumn(rec.f_Esercizio);
		t.SetParamValue("p1", DataInt(esercizio));
		t.Query();
		auto codes = Codes(t, rec);
		t.Close();
		return codes;
	};
	EXPECT_EQ(leggi(2023), (std::vector<std::string>{"A1", "A2", "A1"}));
	EXPECT_EQ(pool->Size(), 1u);
	// Taken back with its bindings cleared, and given back at the close.
	EXPECT_EQ(leggi(2024), (std::vector<std::string>{"A1", "AB", "B1", "B1"}));
	EXPECT_EQ(pool->Size(), 1u);

	auto st = m_pConn->Db().PrepareReused("SELECT * FROM T_Contatori");
	ASSERT_TRUE(st->Step());
	pool->Keep(std::move(st));
	EXPECT_EQ(pool->Size(), 2u);
	Exec("ALTER TABLE T_Contatori ADD COLUMN Extra INTEGER");
	EXPECT_EQ(pool->Size(), 0u);
	st = m_pConn->Db().PrepareReused("SELECT * FROM T_Contatori");
	ASSERT_TRUE(st->Step());
	EXPECT_EQ(st->ColumnCount(), 6);
	EXPECT_EQ(leggi(2025), (std::vector<std::string>{"ÀB"}));

	plv::db::StatementPool small(2);
	for (const char* sql : {"SELECT 1", "SELECT 2", "SELECT 3"})
		small.Keep(m_pConn->Db().Prepare(sql));
	EXPECT_EQ(small.Size(), 2u);
	EXPECT_FALSE(small.Take("SELECT 1"));  // the least recently kept went first
	auto three = small.Take("SELECT 3");
	ASSERT_TRUE(three);
	ASSERT_TRUE(three->Step());
	EXPECT_EQ(three->Column(0), DataValue(std::int64_t(3)));
}

// A company already up to date opens while another user writes: nothing of its schema is
// changed again, so nothing waits for the writer's locks.
TEST_F(SqlTableTest, AnUpToDateCatalogRegistersWhileAnotherConnectionWrites)
{
	m_pConn->BeginTransaction();
	Exec("INSERT INTO T_Movimenti (Conto, Mese) VALUES ('X', 1)");
	auto other = SqlConnection::Open(m_Target, SqlConnection::OPEN_EXISTING);
	ASSERT_TRUE(other);
	const auto start = std::chrono::steady_clock::now();
	EXPECT_TRUE(other->RegisterCatalogEntry("", CPLVNamespace(), RUNTIME_CLASS(TMovimenti), 1));
	EXPECT_TRUE(other->RegisterCatalogEntry("", CPLVNamespace(), RUNTIME_CLASS(TContatori), 1));
	EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
	EXPECT_TRUE(other->GetSchemaChanges().empty());
	m_pConn->RollbackTransaction();
}

// ---- sessions, locks, transactions -------------------------------------------------------------

TEST_F(SqlTableTest, RowLockRefusedToAnotherSessionUntilUnlockOrCommit)
{
	SeedContatori();
	CPLVContext first(m_pConn.get()), second(m_pConn.get());
	TContatori recA, recB;
	auto open = [](SqlTable& t, TContatori& rec, const char* cod) {
		t.Open(TRUE);
		t.SelectAll();
		t.AddParam("cod", rec.f_Codice);
		t.AddFilterColumn(rec.f_Codice);
		t.AddParam("anno", rec.f_Esercizio);
		t.AddFilterColumn(rec.f_Esercizio);
		t.SetParamValue("cod", DataStr(cod));
		t.SetParamValue("anno", DataInt(2024));
		t.Query();
		ASSERT_FALSE(t.IsEmpty());
	};
	SqlTable a(&recA, first.GetUpdatableSqlSession()), b(&recB, second.GetUpdatableSqlSession());
	open(a, recA, "A1");
	open(b, recB, "a1");

	ASSERT_TRUE(first.StartTransaction());
	EXPECT_TRUE(a.LockCurrent());
	EXPECT_TRUE(a.LockCurrent());  // again by its holder
	EXPECT_FALSE(b.LockCurrent());
	a.UnlockCurrent();
	EXPECT_TRUE(b.LockCurrent());
	EXPECT_FALSE(a.LockCurrent());
	b.UnlockCurrent();

	EXPECT_TRUE(a.LockCurrent());
	SqlTable other(&recB, second.GetUpdatableSqlSession());
	open(other, recB, "AB");
	EXPECT_TRUE(other.LockCurrent());  // another row is free
	EXPECT_FALSE(b.LockCurrent());
	EXPECT_TRUE(first.Commit());  // the transaction's end releases its locks
	EXPECT_TRUE(b.LockCurrent());
	EXPECT_FALSE(a.LockCurrent());
	b.Close();  // closing the cursor releases them too
	EXPECT_TRUE(a.LockCurrent());
}

// A cursor on the counter row (2024, invoice, code) of the session's connection.
void OpenCounter(SqlTable& t, TContatori& rec, const char* codice)
{
	t.Open(TRUE);
	t.SelectAll();
	t.AddParam("anno", rec.f_Esercizio);
	t.AddFilterColumn(rec.f_Esercizio);
	t.AddParam("tipo", rec.f_TipoCodice);
	t.AddFilterColumn(rec.f_TipoCodice);
	t.AddParam("cod", rec.f_Codice);
	t.AddFilterColumn(rec.f_Codice);
	t.SetParamValue("anno", DataInt(2024));
	t.SetParamValue("tipo", kFattura);
	t.SetParamValue("cod", DataStr(codice));
	t.Query();
}

TEST_F(SqlTableTest, RowLockSeenByOtherConnectionsAndProcesses)
{
	SeedContatori();
	const bool server = TestBackend::OnServer();
	auto other = SqlConnection::Open(m_Target);
	TContatori recA, recB;
	recB.SetConnection(other.get());
	SqlTable a(&recA), b(&recB);
	OpenCounter(a, recA, "A1");
	OpenCounter(b, recB, "A1");
	ASSERT_FALSE(a.IsEmpty());
	ASSERT_FALSE(b.IsEmpty());

	EXPECT_TRUE(a.LockCurrent());
	EXPECT_FALSE(b.LockCurrent());
	a.UnlockCurrent();
	EXPECT_TRUE(b.LockCurrent());
	b.UnlockCurrent();

	// Another process: on a server it is another workstation and sees the lock; SQLite's row
	// locks are kept per process.
	int locked[2], done[2];
	ASSERT_EQ(pipe(locked), 0);
	ASSERT_EQ(pipe(done), 0);
	pid_t pid = fork();
	ASSERT_GE(pid, 0);
	if (pid == 0)
	{
		close(locked[0]);
		close(done[1]);  // the parent's end closing ends the wait below, whatever happens there
		int rc = 1;
		try
		{
			auto conn = SqlConnection::Open(m_Target);
			TContatori rec;
			rec.SetConnection(conn.get());
			SqlTable t(&rec);
			OpenCounter(t, rec, "A1");
			rc = !t.IsEmpty() && t.LockCurrent() ? 0 : 2;
			char c = static_cast<char>(rc);
			(void)!write(locked[1], &c, 1);
			(void)!read(done[0], &c, 1);  // holds the lock until told to end
		}
		catch (const std::exception& e)
		{
			std::fprintf(stderr, "child: %s\n", e.what());
			char c = static_cast<char>(rc);
			(void)!write(locked[1], &c, 1);
		}
		_exit(rc);
	}
	close(locked[1]);
	close(done[0]);
	char c = 1;
	const bool childLocked = read(locked[0], &c, 1) == 1 && c == 0;
	const bool parentLocked = childLocked && a.LockCurrent();
	a.UnlockCurrent();
	close(done[1]);
	close(locked[0]);
	int status = 0;
	ASSERT_EQ(waitpid(pid, &status, 0), pid);
	ASSERT_TRUE(childLocked) << "the other process could not lock the row";
	EXPECT_EQ(parentLocked, !server);
	EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
	EXPECT_TRUE(a.LockCurrent());  // a process that ends lets go of its locks
	a.UnlockCurrent();

	if (server)
	{
		// A row another connection is writing is reported locked at once, not waited on.
		other->BeginTransaction();
		other->ExecuteSQL("UPDATE T_Contatori SET Valore = 99 WHERE Esercizio = 2024 AND Codice = 'A1'");
		auto start = std::chrono::steady_clock::now();
		EXPECT_FALSE(a.LockCurrent());
		EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
		CPLVContext ctx(m_pConn.get());
		ASSERT_TRUE(ctx.StartTransaction());
		SqlTable inTx(&recA, ctx.GetUpdatableSqlSession());
		OpenCounter(inTx, recA, "A1");
		EXPECT_FALSE(inTx.LockCurrent());  // refused inside a transaction too, which goes on
		ctx.GetUpdatableSqlSession()->ExecuteSQL("UPDATE T_Contatori SET Valore = 7 WHERE Codice = 'B1'");
		other->CommitTransaction();
		EXPECT_TRUE(inTx.LockCurrent());
		inTx.UnlockCurrent();
		EXPECT_TRUE(ctx.Commit());
		const std::string check = "SELECT Valore FROM T_Contatori WHERE Esercizio = 2024 AND Codice = 'A1' AND "
								  "TipoCodice = " + std::to_string(DWORD(kFattura));
		EXPECT_EQ(Rows(check.c_str()), (std::vector<Row>{{std::int64_t(99)}}));
	}
}

TEST_F(SqlTableTest, CursorsStandingOnRowsDoNotHoldBackTheConnection)
{
	SeedContatori();
	auto other = SqlConnection::Open(m_Target);
	TContatori rec, walkRec;
	SqlTable one(&rec), walk(&walkRec);
	one.Open();
	one.SelectAll();
	for (DataObj* key : {static_cast<DataObj*>(&rec.f_Esercizio), static_cast<DataObj*>(&rec.f_TipoCodice),
						 static_cast<DataObj*>(&rec.f_Codice)})
	{
		one.AddParam(one.GetColumnName(*key), *key);
		one.AddFilterColumn(*key);
	}
	one.SetParamValue("Esercizio", DataInt(2024));
	one.SetParamValue("TipoCodice", kFattura);
	one.SetParamValue("Codice", DataStr("A1"));
	one.Query();
	ASSERT_EQ(rec.f_Valore.GetValue(), 40);
	// A walk over a year that stopped at its first row.
	walk.Open();
	walk.SelectAll();
	walk.AddParam("anno", walkRec.f_Esercizio);
	walk.AddFilterColumn(walkRec.f_Esercizio);
	walk.SetParamValue("anno", DataInt(2024));
	walk.Query();
	ASSERT_EQ(walkRec.f_Codice.GetString(), "A1");

	other->ExecuteSQL("UPDATE T_Contatori SET Valore = Valore + 100");
	// A write outside a transaction and a transaction both start from the other's commit.
	TContatori added;
	SqlTable add(&added);
	add.Open(TRUE);
	add.AddNew();
	added.f_Esercizio = 2030;
	added.f_Codice = "NEW";
	EXPECT_EQ(add.Update(), 1);
	other->ExecuteSQL("UPDATE T_Contatori SET Valore = Valore + 100");
	CPLVContext ctx(m_pConn.get());
	ASSERT_TRUE(ctx.StartTransaction());
	one.Query();
	EXPECT_EQ(rec.f_Valore.GetValue(), 240);
	EXPECT_TRUE(ctx.Commit());

	// The walk goes on over the rows as they were when it started.
	std::vector<long> values;
	for (; !walk.IsEOF(); walk.MoveNext())
		values.push_back(walkRec.f_Valore.GetValue());
	EXPECT_EQ(values, (std::vector<long>{40, 15, 20, 21}));
}

// Rows of T_Contatori as another connection to the database sees them: only committed work.
std::vector<std::string> CommittedCodes(const CString& target)
{
	auto conn = SqlConnection::Open(target);
	auto st = conn->Db().Prepare("SELECT Codice FROM T_Contatori ORDER BY Codice");
	std::vector<std::string> out;
	while (st->Step())
		out.push_back(std::get<std::string>(st->Column(0)));
	return out;
}

// A part of a context's transaction is undone alone or kept with it; parts left open go with the
// transaction's end, whichever it is.
TEST_F(SqlTableTest, APartOfATransactionIsUndoneAloneOrKeptWithIt)
{
	auto add = [](CPLVContext& ctx, const char* cod) { AddContatore(ctx.GetUpdatableSqlSession(), cod, TRUE); };
	Exec("DELETE FROM T_Contatori");
	CPLVContext ctx(m_pConn.get());
	EXPECT_FALSE(ctx.StartPart());  // outside a transaction there is none
	ASSERT_TRUE(ctx.StartTransaction());
	add(ctx, "P1");
	ASSERT_TRUE(ctx.StartPart());
	add(ctx, "P2");
	ctx.EndPart(TRUE);
	ASSERT_TRUE(ctx.StartPart());
	add(ctx, "P3");
	ASSERT_TRUE(ctx.StartPart());  // nested
	add(ctx, "P4");
	ctx.EndPart(TRUE);
	ctx.EndPart(FALSE);  // P3 and P4 go
	ASSERT_TRUE(ctx.StartPart());
	add(ctx, "P5");  // left open: kept by the commit
	EXPECT_TRUE(ctx.Commit());
	EXPECT_FALSE(m_pConn->IsInTransaction());
	EXPECT_EQ(CommittedCodes(m_Target), (std::vector<std::string>{"P1", "P2", "P5"}));

	ASSERT_TRUE(ctx.StartTransaction());
	ASSERT_TRUE(ctx.StartPart());
	add(ctx, "P6");
	ctx.Rollback();  // an open part goes with the transaction
	EXPECT_FALSE(m_pConn->IsInTransaction());
	EXPECT_EQ(CommittedCodes(m_Target), (std::vector<std::string>{"P1", "P2", "P5"}));
	ASSERT_TRUE(ctx.StartTransaction());  // and the context is whole again
	add(ctx, "P7");
	EXPECT_TRUE(ctx.Commit());
	EXPECT_EQ(CommittedCodes(m_Target), (std::vector<std::string>{"P1", "P2", "P5", "P7"}));
}

// A session's temporary table tells which session a context works on. On SQLite always the
// connection's; on a server the connection's between its transactions, and for a transaction one
// of its own, the same one again for the next context's transaction when none is open.
// A temporary table is seen by the server session that made it only: it tells which session
// a context works on.
TEST_F(SqlTableTest, ContextsWorkOnTheConnectionsSessionUnlessAnotherTransactionHoldsIt)
{
	const bool server = TestBackend::OnServer();
	m_pConn->ExecuteSQL("CREATE TEMP TABLE T_Sessione (x integer)");
	CPLVContext a(m_pConn.get());
	EXPECT_TRUE(a.Db().TableExists("T_Sessione"));
	ASSERT_TRUE(a.StartTransaction());
	EXPECT_TRUE(a.Db().TableExists("T_Sessione"));  // the first transaction: the connection's own session
	a.Db().Execute("CREATE TEMP TABLE T_Transazione (x integer)");
	EXPECT_TRUE(a.Commit());
	EXPECT_TRUE(a.Db().TableExists("T_Sessione"));
	EXPECT_TRUE(m_pConn->Db().TableExists("T_Transazione"));

	CPLVContext b(m_pConn.get()), c(m_pConn.get());
	ASSERT_TRUE(b.StartTransaction());
	EXPECT_TRUE(b.Db().TableExists("T_Transazione"));
	ASSERT_TRUE(c.StartTransaction());  // while b's is open: apart from it
	EXPECT_EQ(c.Db().TableExists("T_Transazione"), !server);
	c.Rollback();
	b.Rollback();
	EXPECT_TRUE(b.Db().TableExists("T_Sessione"));
}

// The connection's own transaction begun inside a context's on the same session is a level of
// it, as on SQLite: undone alone, kept or undone with the context's.
TEST_F(SqlTableTest, TheConnectionsTransactionInsideAContextsIsALevelOfIt)
{
	auto add = [&](const char* cod) { AddContatore(m_pConn->GetDefaultSqlSession(), cod); };
	for (bool commit : {true, false})
	{
		SCOPED_TRACE(commit ? "commit" : "rollback");
		Exec("DELETE FROM T_Contatori");
		CPLVContext ctx(m_pConn.get());
		ASSERT_TRUE(ctx.StartTransaction());
		add("A1");
		m_pConn->BeginTransaction();
		add("A2");
		m_pConn->RollbackTransaction();
		m_pConn->BeginTransaction();
		add("A3");
		m_pConn->CommitTransaction();
		EXPECT_TRUE(ctx.IsInTransaction());
		EXPECT_EQ(CommittedCodes(m_Target), std::vector<std::string>{});
		if (commit)
			EXPECT_TRUE(ctx.Commit());
		else
			ctx.Rollback();
		EXPECT_EQ(CommittedCodes(m_Target), commit ? (std::vector<std::string>{"A1", "A3"}) : std::vector<std::string>{});
	}
}

// A server session lost during a context's transaction: the statements prepared on it are
// destroyed after the context gave the handle back (under the sanitizers a freed handle shows).
TEST_F(SqlTableTest, StatementsOfASessionTheServerLostAreDestroyedSafelyAfterItsTransaction)
{
	if (!TestBackend::OnServer())
		return;	 // one session serves every context on SQLite: none can be lost apart
	std::unique_ptr<plv::db::Statement> st;
	{
		// The connection's own session goes to the first transaction: a's is another one.
		CPLVContext first(m_pConn.get());
		ASSERT_TRUE(first.StartTransaction());
		CPLVContext a(m_pConn.get());
		ASSERT_TRUE(a.StartTransaction());
		auto pid = a.Db().Prepare("SELECT pg_catalog.pg_backend_pid()");
		ASSERT_TRUE(pid->Step());
		const plv::db::Value v = pid->Column(0);
		const long long backend = std::holds_alternative<int64_t>(v) ? std::get<int64_t>(v) : 0;
		ASSERT_NE(backend, 0);
		st = a.Db().Prepare("SELECT 1");
		pid.reset();
		m_pConn->ExecuteSQL(CString::Formatted("SELECT pg_catalog.pg_terminate_backend(%lld)", backend));
		EXPECT_THROW(a.Db().Execute("SELECT 1"), plv::db::DbError);
		a.Rollback();
		first.Rollback();
	}
	st.reset();
	// The connection goes on with a session of its own for the next transaction.
	CPLVContext b(m_pConn.get());
	ASSERT_TRUE(b.StartTransaction());
	EXPECT_EQ(b.Db().Execute("SELECT 1"), 0);
	b.Rollback();
}

TEST_F(SqlTableTest, ContextRollbackUndoesAndCommitKeepsNestedWrites)
{
	const auto add = AddContatore;
	// On SQLite work in a context of its own joins the transaction open on the connection; on
	// a server it commits on its own. The default session's work joins the transaction open on
	// the connection's session on both.
	const bool server = TestBackend::OnServer();
	const std::vector<std::string> own = server ? std::vector<std::string>{"C3"} : std::vector<std::string>{};
	struct Case
	{
		bool commit;
		std::vector<std::string> after;
	};
	const Case cases[] = {{false, own}, {true, {"C1", "C2", "C3"}}};
	auto count = [](plv::db::Connection& db) {
		auto st = db.Prepare("SELECT COUNT(*) FROM T_Contatori");
		return st->Step() ? std::get<std::int64_t>(st->Column(0)) : -1;
	};
	for (const Case& c : cases)
	{
		SCOPED_TRACE(c.commit ? "commit" : "rollback");
		Exec("DELETE FROM T_Contatori");
		CPLVContext outer(m_pConn.get());
		ASSERT_TRUE(outer.StartTransaction());
		add(outer.GetUpdatableSqlSession(), "C1", FALSE);
		add(m_pConn->GetDefaultSqlSession(), "C2", TRUE);
		{
			CPLVContext inner(m_pConn.get());
			ASSERT_TRUE(inner.StartTransaction());
			add(inner.GetUpdatableSqlSession(), "C3", TRUE);
			EXPECT_TRUE(inner.Commit());
		}
		{
			CPLVContext undone(m_pConn.get());
			ASSERT_TRUE(undone.StartTransaction());
			add(undone.GetUpdatableSqlSession(), "C4", FALSE);
			undone.Rollback();
		}
		EXPECT_EQ(count(outer.Db()), 3);  // its own work and what the others committed
		EXPECT_EQ(CommittedCodes(m_Target), own);
		if (c.commit)
			EXPECT_TRUE(outer.Commit());
		else
			outer.Rollback();
		EXPECT_FALSE(m_pConn->IsInTransaction());
		EXPECT_FALSE(outer.Db().InTransaction());
		EXPECT_EQ(CommittedCodes(m_Target), c.after);
	}
	// A context that goes away without committing rolls back.
	{
		CPLVContext dropped(m_pConn.get());
		ASSERT_TRUE(dropped.StartTransaction());
		add(dropped.GetUpdatableSqlSession(), "C9", FALSE);
	}
	EXPECT_EQ(CommittedCodes(m_Target), (std::vector<std::string>{"C1", "C2", "C3"}));
}

// Child side: takes counter values through a cursor kept open across transactions, writes each to fd.
int TakeCounterValues(const CString& path, int count, int fd)
{
	try
	{
		auto conn = SqlConnection::Open(path);
		TContatori rec;
		rec.SetConnection(conn.get());
		CPLVContext ctx(conn.get());
		SqlTable t(&rec, ctx.GetUpdatableSqlSession());
		t.Open(TRUE);
		t.SelectAll();
		t.AddParam("anno", rec.f_Esercizio);
		t.AddFilterColumn(rec.f_Esercizio);
		t.AddParam("tipo", rec.f_TipoCodice);
		t.AddFilterColumn(rec.f_TipoCodice);
		t.AddParam("cod", rec.f_Codice);
		t.AddFilterColumn(rec.f_Codice);
		for (int i = 0; i < count; ++i)
		{
			int tries = 0;
			while (!ctx.StartTransaction())
				if (++tries > 20)
					return 2;
			// SQLite's transaction holds the write lock already; a server's must ask for it.
			ctx.KeepOutOtherWriters(rec.GetTableName());
			t.SetParamValue("anno", DataInt(2024));
			t.SetParamValue("tipo", kFattura);
			t.SetParamValue("cod", DataStr("NUM"));
			t.Query();
			long value = 1;
			if (t.IsEmpty())
			{
				t.AddNew();
				rec.f_Esercizio = 2024;
				rec.f_TipoCodice = kFattura;
				rec.f_Codice = "NUM";
			}
			else
			{
				t.Edit();
				value = rec.f_Valore.GetValue() + 1;
			}
			rec.f_Valore = value;
			t.Update();
			if (!ctx.Commit())
				return 3;
			if (write(fd, &value, sizeof value) != sizeof value)
				return 4;
		}
		return 0;
	}
	catch (const std::exception& e)
	{
		std::fprintf(stderr, "child: %s\n", e.what());
		return 1;
	}
}

TEST(SqlTableProcesses, ProcessesTakeDistinctCounterValues)
{
	KVZ_REQUIRE_BACKEND();
	constexpr int kProcesses = 3;
	constexpr int kValues = 100;
	TestBackend db;
	const CString path = db.Target("contatori.db");
	// Closed before fork: a connection must not cross into another process.
	SqlConnection::Open(path, SqlConnection::CREATE_IF_MISSING)
		->RegisterCatalogEntry("", CPLVNamespace(), RUNTIME_CLASS(TContatori), 1);

	std::vector<pid_t> children;
	std::vector<int> pipes;
	int go[2];
	ASSERT_EQ(pipe(go), 0);
	for (int k = 0; k < kProcesses; ++k)
	{
		int fds[2];
		ASSERT_EQ(pipe(fds), 0);
		pid_t pid = fork();
		ASSERT_GE(pid, 0);
		if (pid == 0)
		{
			close(fds[0]);
			close(go[1]);
			char c;
			(void)!read(go[0], &c, 1);  // all start together, so their transactions interleave
			_exit(TakeCounterValues(path, kValues, fds[1]));
		}
		close(fds[1]);
		children.push_back(pid);
		pipes.push_back(fds[0]);
	}
	close(go[0]);
	close(go[1]);
	std::vector<long> taken;
	for (int fd : pipes)
	{
		long value;
		while (read(fd, &value, sizeof value) == sizeof value)
			taken.push_back(value);
		close(fd);
	}
	for (pid_t pid : children)
	{
		int status = 0;
		ASSERT_EQ(waitpid(pid, &status, 0), pid);
		EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
	}
	std::sort(taken.begin(), taken.end());
	std::vector<long> expected(kProcesses * kValues);
	std::iota(expected.begin(), expected.end(), 1);
	EXPECT_EQ(taken, expected);
}

// ---- bad input ---------------------------------------------------------------------------------

TEST_F(SqlTableTest, BadDefinitionsRaiseSqlException)
{
	SeedContatori();
	TContatori rec;
	struct Case
	{
		const char* what;
		std::function<void(SqlTable&)> define;
		const char* message;
	};
	const Case cases[] = {
		{"set but never added", [&](SqlTable& t) { t.SetParamValue("anno", DataInt(2024)); }, "anno"},
		{"added but never set",
		 [&](SqlTable& t) {
			 t.AddParam("anno", rec.f_Esercizio);
			 t.AddFilterColumn(rec.f_Esercizio);
		 },
		 "anno"},
		{"more parameters than placeholders",
		 [&](SqlTable& t) {
			 t.AddParam("anno", rec.f_Esercizio);
			 t.SetParamValue("anno", DataInt(2024));
		 },
		 "parametri"},
		{"fewer parameters than placeholders",
		 [&](SqlTable& t) {
			 t.AddParam("anno", rec.f_Esercizio);
			 t.AddFilterColumn(rec.f_Esercizio);
			 t.AddFilterColumn(rec.f_Codice);
			 t.SetParamValue("anno", DataInt(2024));
		 },
		 "parametri"},
		{"a name added twice",
		 [&](SqlTable& t) {
			 t.AddParam("anno", rec.f_Esercizio);
			 t.AddParam("ANNO", rec.f_Esercizio);
		 },
		 "ANNO"},
		{"unknown column in free filter",
		 [&](SqlTable& t) {
			 t.m_strFilter = " AND Pippo = ?";
			 t.AddParam("anno", rec.f_Esercizio);
			 t.SetParamValue("anno", DataInt(2024));
		 },
		 TestBackend::OnServer() ? "column \"pippo\" does not exist" : "no such column: Pippo"},
	};
	for (const Case& c : cases)
	{
		SCOPED_TRACE(c.what);
		SqlTable t(&rec);
		t.Open();
		t.SelectAll();
		try
		{
			c.define(t);
			t.Query();
			ADD_FAILURE() << "no SqlException";
		}
		catch (const SqlException& e)
		{
			EXPECT_NE(e.GetMessage().Find(c.message), -1) << e.GetMessage().GetString();
		}
	}

	// An SQL error inside a transaction leaves it able to roll back.
	CPLVContext ctx(m_pConn.get());
	ASSERT_TRUE(ctx.StartTransaction());
	ctx.GetUpdatableSqlSession()->ExecuteSQL("DELETE FROM T_Contatori");
	SqlTable t(&rec, ctx.GetUpdatableSqlSession());
	t.Open(TRUE);
	t.m_strFilter = "Pippo = 1";
	EXPECT_THROW(t.Query(), SqlException);
	ctx.Rollback();
	EXPECT_FALSE(m_pConn->IsInTransaction());
	EXPECT_EQ(Rows("SELECT COUNT(*) FROM T_Contatori"), (std::vector<Row>{{std::int64_t(std::size(kContatori))}}));
	ASSERT_TRUE(ctx.StartTransaction());
	EXPECT_TRUE(ctx.Commit());

	// A message too long for a message box is cut between characters.
	SqlException(CString(std::string(254, 'x') + "è")).ShowError();
	EXPECT_EQ(m_Ui.LastMessage(), CString(std::string(254, 'x')));
}

// ---- opening databases -------------------------------------------------------------------------

TEST(SqlConnectionOpen, MissingOrForeignFilesFailAndAreLeftAsTheyWere)
{
	TestDir dir;
	EXPECT_THROW(SqlConnection::Open(dir.File("manca.db")), SqlException);
	EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));

	const std::string text = "not a database, just some text that is long enough to be a header\n";
	std::ofstream(dir.File("testo.db").str()) << text;
	try
	{
		SqlConnection::Open(dir.File("testo.db"));
		ADD_FAILURE() << "opened a text file";
	}
	catch (const SqlException& e)
	{
		EXPECT_FALSE(e.GetMessage().IsEmpty());
	}
	std::ifstream in(dir.File("testo.db").str());
	EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), text);
	EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(OleDbManager, ConnectionStringsResolveInTheCompanyFolder)
{
	ScriptedInteraction ui;
	InteractionScope scope(&ui);
	TestDir dir;
	auto current = SqlConnection::Open(dir.File("corrente.db"), SqlConnection::CREATE_IF_MISSING);
	SqlConnection* previous = AfxSetDefaultSqlConnection(current.get());
	SqlConnection::Open(dir.File("az;01.db"), SqlConnection::CREATE_IF_MISSING)->ExecuteSQL("CREATE TABLE Segno (x)");

	COleDbManager* mng = AfxGetOleDbMng();
	SqlConnection* other = mng->MakeNewConnection(
		"Provider=SQLOLEDB;Data Source=.;Initial Catalog='az;01';User ID='sa';Password='p;w''d';Connect Timeout=30;");
	ASSERT_NE(other, nullptr) << mng->GetLastError().GetString();
	EXPECT_TRUE(mng->GetLastError().IsEmpty());
	EXPECT_EQ(other->GetDatabasePath(), dir.File("az;01.db"));
	EXPECT_TRUE(other->Db().TableExists("Segno"));
	mng->CloseConnection(other);

	struct Case
	{
		const char* connection;
		const char* message;
	};
	const Case failures[] = {
		{"Provider=SQLOLEDB;Data Source=.;Initial Catalog=manca;", "manca"},
		{"Provider=SQLOLEDB;Data Source=.;", "Catalog"},
		{"Provider=SQLOLEDB;Data Source=srv-contabilita;Initial Catalog=az01;", "srv-contabilita"},
		{"Provider=SQLOLEDB;Data Source=.;Initial Catalog='az", "quote"},
	};
	for (const Case& c : failures)
	{
		SCOPED_TRACE(c.connection);
		EXPECT_EQ(mng->MakeNewConnection(c.connection), nullptr);
		EXPECT_NE(mng->GetLastError().Find(c.message), -1) << mng->GetLastError().GetString();
	}
	EXPECT_FALSE(std::filesystem::exists(dir.Path() / "manca.db"));
	EXPECT_FALSE(std::filesystem::exists(dir.Path() / "az01.db"));
	AfxSetDefaultSqlConnection(previous);
}

// The company listing itself among the other companies: its own file, however named, gives
// its own connection, inside the transaction open on it.
TEST(OleDbManager, TheCurrentCompanysOwnFileJoinsItsOpenTransaction)
{
	ScriptedInteraction ui;
	InteractionScope scope(&ui);
	TestDir dir;
	auto current = SqlConnection::Open(dir.File("corrente.db"), SqlConnection::CREATE_IF_MISSING);
	SqlConnection* previous = AfxSetDefaultSqlConnection(current.get());
	current->ExecuteSQL("CREATE TABLE Segno (x)");
	std::filesystem::create_symlink(dir.File("corrente.db").str(), (dir.Path() / "collegata.db"));
	auto count = [](SqlConnection& conn) {
		auto st = conn.Db().Prepare("SELECT count(*) FROM Segno");
		st->Step();
		return std::get<std::int64_t>(st->Column(0));
	};

	CPLVContext ctx(current.get());
	ASSERT_TRUE(ctx.StartTransaction());
	ctx.GetUpdatableSqlSession()->ExecuteSQL("INSERT INTO Segno VALUES (0)");
	const CString folder(dir.Path().string());
	const CString connections[] = {
		"Provider=SQLOLEDB;Data Source=.;Initial Catalog='corrente';",
		"Provider=SQLOLEDB;Data Source='" + folder + "';Initial Catalog='corrente.db';",
		"Provider=SQLOLEDB;Data Source=.;Initial Catalog=collegata;",
	};
	COleDbManager* mng = AfxGetOleDbMng();
	std::int64_t written = 1;
	for (const CString& c : connections)
	{
		SCOPED_TRACE(c.GetString());
		SqlConnection* other = mng->MakeNewConnection(c);
		ASSERT_NE(other, nullptr) << mng->GetLastError().GetString();
		EXPECT_EQ(count(*other), written);  // the uncommitted rows
		const auto start = std::chrono::steady_clock::now();
		{
			CPLVContext otherCtx(other);
			ASSERT_TRUE(otherCtx.StartTransaction());
			otherCtx.GetUpdatableSqlSession()->ExecuteSQL("INSERT INTO Segno VALUES (1)");
			EXPECT_TRUE(otherCtx.Commit());
		}
		EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));  // never the busy wait
		mng->CloseConnection(other);
		++written;
		EXPECT_TRUE(current->IsValid());
		EXPECT_EQ(count(*current), written);
	}
	ctx.GetUpdatableSqlSession()->ExecuteSQL("INSERT INTO Segno VALUES (2)");
	EXPECT_TRUE(ctx.Commit());
	EXPECT_EQ(count(*SqlConnection::Open(dir.File("corrente.db"))), written + 1);

	// Two other companies on one file: one connection, open until both are closed.
	SqlConnection::Open(dir.File("az01.db"), SqlConnection::CREATE_IF_MISSING)->ExecuteSQL("CREATE TABLE Segno (x)");
	SqlConnection* first = mng->MakeNewConnection("Data Source=.;Initial Catalog=az01");
	SqlConnection* second = mng->MakeNewConnection("Data Source='" + folder + "';Initial Catalog='az01.db'");
	ASSERT_TRUE(first && second) << mng->GetLastError().GetString();
	{
		CPLVContext firstCtx(first);
		ASSERT_TRUE(firstCtx.StartTransaction());
		firstCtx.GetUpdatableSqlSession()->ExecuteSQL("INSERT INTO Segno VALUES (0)");
		EXPECT_EQ(count(*second), 1);
		mng->CloseConnection(first);
		EXPECT_TRUE(firstCtx.Commit());
	}
	EXPECT_EQ(count(*second), 1);
	mng->CloseConnection(second);
	AfxSetDefaultSqlConnection(previous);
}

TEST(OleDbManager, ServerConnectionDataBecomeAnEscapedLibpqTarget)
{
	struct Case
	{
		const char* connection;
		std::map<std::string, std::string> expected;
	};
	const Case cases[] = {
		{"Provider=SQLOLEDB;Data Source=srv-contabilita;Initial Catalog='az 01';User ID='o''brien';"
		 "Password='p;w\\d'' =x';Connect Timeout=60;",
		 {{"host", "srv-contabilita"},
		  {"dbname", "az 01"},
		  {"user", "o'brien"},
		  {"password", "p;w\\d' =x"},
		  {"connect_timeout", "60"}}},
		{"Data Source=srv,5433;Initial Catalog=az01", {{"host", "srv"}, {"port", "5433"}, {"dbname", "az01"}}},
		{"Data Source=srv:5433;Initial Catalog=az01", {{"host", "srv"}, {"port", "5433"}, {"dbname", "az01"}}},
		{"Data Source=fe80::1;Initial Catalog=az01", {{"host", "fe80::1"}, {"dbname", "az01"}}},
	};
	for (const Case& c : cases)
	{
		SCOPED_TRACE(c.connection);
		const std::string target = COleDbManager::ServerTarget(c.connection);
		char* error = nullptr;
		PQconninfoOption* options = PQconninfoParse(target.c_str(), &error);
		PQfreemem(error);
		ASSERT_NE(options, nullptr) << target;
		std::map<std::string, std::string> got;
		for (PQconninfoOption* o = options; o->keyword; ++o)
			if (o->val && *o->val)
				got[o->keyword] = o->val;
		PQconninfoFree(options);
		EXPECT_EQ(got, c.expected);
	}
	EXPECT_THROW(COleDbManager::ServerTarget("Data Source=srv;"), plv::db::DbError);

	// The register's fields, built into a string, reach the server target unchanged.
	const char* const passwords[] = {"p'w", "a;b", "x'; Initial Catalog=altro; y='", "\"q\"=1", " à ß "};
	for (const char* password : passwords)
	{
		SCOPED_TRACE(password);
		const CString built = COleDbManager::BuildConnectionString("srv,5433", "az'01", "o'brien", password, 60);
		char* error = nullptr;
		PQconninfoOption* options = PQconninfoParse(COleDbManager::ServerTarget(built).c_str(), &error);
		PQfreemem(error);
		ASSERT_NE(options, nullptr);
		std::map<std::string, std::string> got;
		for (PQconninfoOption* o = options; o->keyword; ++o)
			if (o->val && *o->val)
				got[o->keyword] = o->val;
		PQconninfoFree(options);
		EXPECT_EQ(got, (std::map<std::string, std::string>{{"host", "srv"},
														   {"port", "5433"},
														   {"dbname", "az'01"},
														   {"user", "o'brien"},
														   {"password", password},
														   {"connect_timeout", "60"}}));
	}
}

TEST(OleDbManager, HostNamesOpenTheCatalogOnTheServer)
{
	KVZ_REQUIRE_PG();
	ScriptedInteraction ui;
	InteractionScope scope(&ui);
	char* error = nullptr;
	PQconninfoOption* options = PQconninfoParse(plv::db::testing::PgTestServer()->c_str(), &error);
	PQfreemem(error);
	ASSERT_NE(options, nullptr);
	std::map<std::string, std::string> server;
	for (PQconninfoOption* o = options; o->keyword; ++o)
		if (o->val && *o->val)
			server[o->keyword] = o->val;
	PQconninfoFree(options);
	const std::string host = server.count("host") ? server["host"] : server["hostaddr"];
	ASSERT_FALSE(host.empty() || host.front() == '/')
		<< "KVZ_TEST_PG must name the server by host and port (as tools/test does), not by a socket";
	auto oledb = [&](const std::string& catalog) {
		return CString::Formatted("Provider=SQLOLEDB;Data Source=%s,%s;Initial Catalog='%s';User ID='%s';"
								  "Password='%s';Connect Timeout=30;",
								  host.c_str(), server["port"].c_str(), catalog.c_str(), server["user"].c_str(),
								  server["password"].c_str());
	};

	COleDbManager* mng = AfxGetOleDbMng();
	SqlConnection* other = mng->MakeNewConnection(oledb(server["dbname"]));
	ASSERT_NE(other, nullptr) << mng->GetLastError().GetString();
	EXPECT_TRUE(other->IsServer());
	EXPECT_TRUE(other->GetDatabaseFolder().IsEmpty());
	{
		auto st = other->Db().Prepare("SELECT current_database()");
		ASSERT_TRUE(st->Step());
		EXPECT_EQ(st->Column(0), plv::db::Value(server["dbname"]));
	}
	mng->CloseConnection(other);

	// The current company's own database gives its connection: its session's own table is seen.
	auto current = SqlConnection::Open(CString(*plv::db::testing::PgTestServer()));
	SqlConnection* previous = AfxSetDefaultSqlConnection(current.get());
	current->ExecuteSQL("CREATE TEMP TABLE segno_sessione (x integer)");
	other = mng->MakeNewConnection(oledb(server["dbname"]));
	ASSERT_NE(other, nullptr) << mng->GetLastError().GetString();
	EXPECT_TRUE(other->Db().TableExists("segno_sessione"));
	mng->CloseConnection(other);
	EXPECT_TRUE(current->Db().TableExists("segno_sessione"));
	AfxSetDefaultSqlConnection(previous);

	EXPECT_EQ(mng->MakeNewConnection(oledb("kvz_manca")), nullptr);
	EXPECT_NE(mng->GetLastError().Find("kvz_manca"), -1) << mng->GetLastError().GetString();
	auto admin = plv::db::OpenPostgres(*plv::db::testing::PgTestServer());
	auto count = admin->Prepare("SELECT count(*) FROM pg_database WHERE datname = 'kvz_manca'");
	ASSERT_TRUE(count->Step());
	EXPECT_EQ(count->Column(0), plv::db::Value(std::int64_t(0)));
}

}  // namespace
