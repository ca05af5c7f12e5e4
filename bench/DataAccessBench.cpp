// The data-access layer against the plain sqlite3 C API doing the same work in the same run,
// and, when KVZ_BENCH_PG (or else KVZ_TEST_PG) names a PostgreSQL database, against plain libpq
// on it (in a schema of its own, dropped at the end). Prints the ratios (ours / raw) of both
// backends side by side at the end.
#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <map>
#include <memory>
#include <numeric>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/plvgeneric/Interaction.h"
#include "platform/plvges/TableReader.h"
#include "platform/plvoledb/driver/Postgres.h"
#include "platform/plvoledb/tests/TestRecords.h"

namespace {

constexpr int kInsertRows = 100000;
constexpr int kFinds = 100000;
constexpr int kSumRows = 500000;
const char* const kConti[] = {"Cassa", "Banca", "Clienti", "Fornitori", "Erario", "Magazzino", "Ricavi", "Costi"};
constexpr int kContiCount = static_cast<int>(std::size(kConti));
constexpr DWORD kFattura = (100u << 16) | 1u;

void Check(int rc, sqlite3* db, const char* what)
{
	if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
		throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}

struct RawDb
{
	sqlite3* db = nullptr;
	explicit RawDb(const CString& path)
	{
		Check(sqlite3_open_v2(path, &db, SQLITE_OPEN_READWRITE, nullptr), db, "open");
		sqlite3_busy_timeout(db, 5000);
		Exec("PRAGMA journal_mode=WAL");
	}
	~RawDb() { sqlite3_close_v2(db); }
	void Exec(const char* sql) { Check(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), db, sql); }
	sqlite3_stmt* Prepare(const char* sql)
	{
		sqlite3_stmt* st = nullptr;
		Check(sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &st, nullptr), db, sql);
		return st;
	}
};

// A database with the catalog's tables, created through the layer and closed again.
CString NewDatabase(const TestDir& dir, const char* name)
{
	CString path = dir.File(name);
	std::filesystem::remove(path.str());
	auto conn = SqlConnection::Open(path, SqlConnection::CREATE_IF_MISSING);
	conn->RegisterCatalogEntry("", CPLVNamespace(), RUNTIME_CLASS(TMovimenti), 1);
	conn->RegisterCatalogEntry("", CPLVNamespace(), RUNTIME_CLASS(TContatori), 1);
	return path;
}

// The values of movement i: the same for both sides.
struct Movement
{
	int conto, day, month;
	double importo;
};
Movement MovementAt(int i)
{
	return {i % kContiCount, i % 28 + 1, i / 28 % 12 + 1, (i % 1000) * 0.25 - 50};
}

class Environment
{
public:
	Environment() { m_pPrevious = AfxSetInteraction(&m_Ui); }
	~Environment() { AfxSetInteraction(m_pPrevious); }
	TestDir m_Dir;

private:
	ScriptedInteraction m_Ui;
	IInteraction* m_pPrevious;
};
Environment& Env()
{
	static Environment env;
	return env;
}

// ---- PostgreSQL ----------------------------------------------------------------------------------

constexpr int kQueue = 256;  // statements sent before their outcome is read, as the driver does

// The server the PostgreSQL runs use, and their databases: one schema each, dropped at the end.
class ServerDatabases
{
public:
	// Null without KVZ_BENCH_PG or KVZ_TEST_PG.
	static ServerDatabases* Get()
	{
		static std::unique_ptr<ServerDatabases> server = []() -> std::unique_ptr<ServerDatabases> {
			const char* target = std::getenv("KVZ_BENCH_PG");
			if (!target || !*target)
				target = std::getenv("KVZ_TEST_PG");
			if (!target || !*target)
				return nullptr;
			return std::unique_ptr<ServerDatabases>(new ServerDatabases(target));
		}();
		return server.get();
	}
	~ServerDatabases()
	{
		for (auto& schema : m_Schemas)
		{
			try
			{
				m_pAdmin->Execute("DROP SCHEMA IF EXISTS " + schema + " CASCADE");
			}
			catch (...)
			{
			}
		}
	}

	// A database called name, made anew with the catalog's tables; its connection target.
	CString New(const std::string& name)
	{
		const std::string schema = "kvz_bench" + std::to_string(::getpid()) + "_" + name;
		m_pAdmin->Execute("DROP SCHEMA IF EXISTS " + schema + " CASCADE; CREATE SCHEMA " + schema);
		m_Schemas.insert(schema);
		auto pairs = m_Pairs;
		// citext and LEN: in public, or where the tests keep them.
		pairs.emplace_back("options", "-csearch_path=" + schema + ",public,kvz_test_support");
		CString target(plv::db::PostgresKeywordString(pairs));
		auto conn = SqlConnection::Open(target);
		conn->RegisterCatalogEntry("", CPLVNamespace(), RUNTIME_CLASS(TMovimenti), 1);
		conn->RegisterCatalogEntry("", CPLVNamespace(), RUNTIME_CLASS(TContatori), 1);
		return target;
	}

private:
	explicit ServerDatabases(const char* target) : m_pAdmin(plv::db::OpenPostgres(target))
	{
		char* error = nullptr;
		PQconninfoOption* options = PQconninfoParse(target, &error);
		PQfreemem(error);
		for (PQconninfoOption* o = options; o && o->keyword; ++o)
			if (o->val && *o->val && std::string(o->keyword) != "options")
				m_Pairs.emplace_back(o->keyword, o->val);
		PQconninfoFree(options);
	}

	std::unique_ptr<plv::db::Connection> m_pAdmin;
	std::vector<std::pair<std::string, std::string>> m_Pairs;
	std::set<std::string> m_Schemas;
};

CString NewServerTables()
{
	return ServerDatabases::Get()->New("insert_ours");
}

// A plain libpq connection.
struct RawPg
{
	PGconn* c;
	explicit RawPg(const CString& target) : c(PQconnectdb(target))
	{
		if (PQstatus(c) != CONNECTION_OK)
			throw std::runtime_error(std::string("connect: ") + PQerrorMessage(c));
	}
	~RawPg() { PQfinish(c); }
	RawPg(const RawPg&) = delete;
	RawPg& operator=(const RawPg&) = delete;
	void Check(PGresult* r, const char* what)
	{
		ExecStatusType st = PQresultStatus(r);
		std::string message = PQresultErrorMessage(r);
		PQclear(r);
		if (st != PGRES_COMMAND_OK && st != PGRES_TUPLES_OK)
			throw std::runtime_error(std::string(what) + ": " + message);
	}
	void Exec(const char* sql) { Check(PQexec(c, sql), sql); }
	void Prepare(const char* name, const char* sql, int params) { Check(PQprepare(c, name, sql, params, nullptr), sql); }
	// Reads every queued statement's outcome.
	void SyncPipeline()
	{
		if (!PQpipelineSync(c))
			throw std::runtime_error(std::string("sync: ") + PQerrorMessage(c));
		for (;;)
		{
			PGresult* r = PQgetResult(c);
			if (!r)
				continue;
			ExecStatusType st = PQresultStatus(r);
			PQclear(r);
			if (st == PGRES_PIPELINE_SYNC)
				return;
			if (st != PGRES_COMMAND_OK)
				throw std::runtime_error(std::string("queued insert: ") + PQerrorMessage(c));
		}
	}
};

// ---- bulk insert -------------------------------------------------------------------------------

// Batch: the rows of the transaction are sent as a batch (a failing row fails the transaction);
// otherwise each row fails on its own, as the module's loops expect.
template <bool Server, bool Batch>
void InsertOurs(benchmark::State& state)
{
	for (auto _ : state)
	{
		state.PauseTiming();
		auto conn = SqlConnection::Open(Server ? NewServerTables() : NewDatabase(Env().m_Dir, "insert-ours.db"));
		TMovimenti rec;
		rec.SetConnection(conn.get());
		state.ResumeTiming();

		CPLVContext ctx(conn.get());
		if (!ctx.StartTransaction())
			throw std::runtime_error("no transaction");
		SqlTable t(&rec, ctx.GetUpdatableSqlSession());
		t.Open(TRUE);
		t.SetBatchInsert(Batch);
		for (int i = 0; i < kInsertRows; ++i)
		{
			Movement m = MovementAt(i);
			t.AddNew();
			rec.f_Id = i + 1;
			rec.f_Conto = kConti[m.conto];
			rec.f_Data.SetDate(m.day, m.month, 2024);
			rec.f_Mese = m.month;
			rec.f_Importo = m.importo;
			t.Update();
		}
		ctx.Commit();
	}
	state.SetItemsProcessed(state.iterations() * kInsertRows);
}

// Movements 1..rows through a prepared insert of the five columns (id, account, date, month,
// amount), bound by hand: the raw side's way of writing them.
void InsertRawRows(RawDb& raw, sqlite3_stmt* st, int rows, const char* what)
{
	char date[16];
	for (int i = 0; i < rows; ++i)
	{
		Movement m = MovementAt(i);
		std::snprintf(date, sizeof date, "%04d-%02d-%02d", 2024, m.month, m.day);
		sqlite3_bind_int64(st, 1, i + 1);
		sqlite3_bind_text(st, 2, kConti[m.conto], -1, SQLITE_STATIC);
		sqlite3_bind_text(st, 3, date, -1, SQLITE_STATIC);
		sqlite3_bind_int64(st, 4, m.month);
		sqlite3_bind_double(st, 5, m.importo);
		Check(sqlite3_step(st), raw.db, what);
		sqlite3_reset(st);
	}
}

void InsertRaw(benchmark::State& state)
{
	for (auto _ : state)
	{
		state.PauseTiming();
		RawDb raw(NewDatabase(Env().m_Dir, "insert-raw.db"));
		state.ResumeTiming();

		raw.Exec("BEGIN IMMEDIATE");
		sqlite3_stmt* st = raw.Prepare(
			"INSERT INTO \"T_Movimenti\" (\"Id\", \"Conto\", \"Data\", \"Mese\", \"Importo\") VALUES (?, ?, ?, ?, ?)");
		InsertRawRows(raw, st, kInsertRows, "insert");
		sqlite3_finalize(st);
		raw.Exec("COMMIT");
	}
	state.SetItemsProcessed(state.iterations() * kInsertRows);
}

void InsertRawPg(benchmark::State& state)
{
	for (auto _ : state)
	{
		state.PauseTiming();
		RawPg raw(ServerDatabases::Get()->New("insert_raw"));
		state.ResumeTiming();

		raw.Exec("BEGIN");
		raw.Prepare("ins", "INSERT INTO \"t_movimenti\" (\"id\", \"conto\", \"data\", \"mese\", \"importo\") "
						   "VALUES ($1, $2, $3, $4, $5)", 5);
		if (!PQenterPipelineMode(raw.c))
			throw std::runtime_error("no pipeline mode");
		char id[24], date[16], month[8], amount[32];
		const char* values[5] = {id, nullptr, date, month, amount};
		for (int i = 0; i < kInsertRows; ++i)
		{
			Movement m = MovementAt(i);
			std::snprintf(id, sizeof id, "%d", i + 1);
			values[1] = kConti[m.conto];
			std::snprintf(date, sizeof date, "%04d-%02d-%02d", 2024, m.month, m.day);
			std::snprintf(month, sizeof month, "%d", m.month);
			std::snprintf(amount, sizeof amount, "%.17g", m.importo);
			if (!PQsendQueryPrepared(raw.c, "ins", 5, values, nullptr, nullptr, 0))
				throw std::runtime_error(std::string("send: ") + PQerrorMessage(raw.c));
			if ((i + 1) % kQueue == 0)
				raw.SyncPipeline();
		}
		raw.SyncPipeline();
		PQexitPipelineMode(raw.c);
		raw.Exec("COMMIT");
	}
	state.SetItemsProcessed(state.iterations() * kInsertRows);
}

// Each row on its own, as libpq does it when a failing row must not end the transaction: the
// row between a savepoint and its release, the three in one round trip.
void InsertEachRawPg(benchmark::State& state)
{
	for (auto _ : state)
	{
		state.PauseTiming();
		RawPg raw(ServerDatabases::Get()->New("insert_each_raw"));
		state.ResumeTiming();

		raw.Exec("BEGIN");
		raw.Prepare("ins", "INSERT INTO \"t_movimenti\" (\"id\", \"conto\", \"data\", \"mese\", \"importo\") "
						   "VALUES ($1, $2, $3, $4, $5)", 5);
		raw.Prepare("sp", "SAVEPOINT s", 0);
		raw.Prepare("rel", "RELEASE SAVEPOINT s", 0);
		if (!PQenterPipelineMode(raw.c))
			throw std::runtime_error("no pipeline mode");
		char id[24], date[16], month[8], amount[32];
		const char* values[5] = {id, nullptr, date, month, amount};
		for (int i = 0; i < kInsertRows; ++i)
		{
			Movement m = MovementAt(i);
			std::snprintf(id, sizeof id, "%d", i + 1);
			values[1] = kConti[m.conto];
			std::snprintf(date, sizeof date, "%04d-%02d-%02d", 2024, m.month, m.day);
			std::snprintf(month, sizeof month, "%d", m.month);
			std::snprintf(amount, sizeof amount, "%.17g", m.importo);
			if (!PQsendQueryPrepared(raw.c, "sp", 0, nullptr, nullptr, nullptr, 0) ||
				!PQsendQueryPrepared(raw.c, "ins", 5, values, nullptr, nullptr, 0) ||
				!PQsendQueryPrepared(raw.c, "rel", 0, nullptr, nullptr, nullptr, 0))
				throw std::runtime_error(std::string("send: ") + PQerrorMessage(raw.c));
			raw.SyncPipeline();
		}
		PQexitPipelineMode(raw.c);
		raw.Exec("COMMIT");
	}
	state.SetItemsProcessed(state.iterations() * kInsertRows);
}

// ---- keyed finds -------------------------------------------------------------------------------

class ContatoriReader : public TableReader
{
public:
	ContatoriReader() : TableReader(RUNTIME_CLASS(TContatori)) {}
	DataInt m_Esercizio;
	DataEnum m_TipoCodice;
	DataStr m_Codice;
	TContatori& Rec() const { return *static_cast<TContatori*>(GetRecord()); }

protected:
	void OnDefineQuery() override
	{
		m_pTable->SelectAll();
		m_pTable->AddParam("Esercizio", Rec().f_Esercizio);
		m_pTable->AddFilterColumn(Rec().f_Esercizio);
		m_pTable->AddParam("TipoCodice", Rec().f_TipoCodice);
		m_pTable->AddFilterColumn(Rec().f_TipoCodice);
		m_pTable->AddParam("Codice", Rec().f_Codice);
		m_pTable->AddFilterColumn(Rec().f_Codice);
	}
	void OnPrepareQuery() override
	{
		m_pTable->SetParamValue("Esercizio", m_Esercizio);
		m_pTable->SetParamValue("TipoCodice", m_TipoCodice);
		m_pTable->SetParamValue("Codice", m_Codice);
	}
	BOOL IsEmptyQuery() override { return m_Codice.IsEmpty(); }
};

// Counters C000000 .. C099999, and the order they are looked up in.
struct FindData
{
	CString path;
	std::vector<int> order;
};
const FindData& Finds()
{
	static FindData data = [] {
		FindData d;
		d.path = NewDatabase(Env().m_Dir, "find.db");
		RawDb raw(d.path);
		raw.Exec("BEGIN");
		sqlite3_stmt* st = raw.Prepare("INSERT INTO T_Contatori VALUES (2024, ?, ?, ?, ?)");
		char code[16];
		for (int i = 0; i < kFinds; ++i)
		{
			std::snprintf(code, sizeof code, "C%06d", i);
			sqlite3_bind_int64(st, 1, kFattura);
			sqlite3_bind_text(st, 2, code, -1, SQLITE_STATIC);
			sqlite3_bind_int64(st, 3, i);
			sqlite3_bind_double(st, 4, i * 0.5);
			Check(sqlite3_step(st), raw.db, "seed");
			sqlite3_reset(st);
		}
		sqlite3_finalize(st);
		raw.Exec("COMMIT");
		d.order.resize(kFinds);
		std::iota(d.order.begin(), d.order.end(), 0);
		std::shuffle(d.order.begin(), d.order.end(), std::mt19937(42));
		return d;
	}();
	return data;
}

// The same counters on the server, seeded by the server itself.
const FindData& ServerFinds()
{
	static FindData data = [] {
		FindData d;
		d.path = ServerDatabases::Get()->New("find");
		RawPg raw(d.path);
		raw.Exec(CString::Formatted("INSERT INTO T_Contatori SELECT 2024, %u, 'C' || lpad(i::text, 6, '0'), i, i * 0.5 "
									"FROM generate_series(0, %d) i; ANALYZE T_Contatori",
									kFattura, kFinds - 1));
		d.order = Finds().order;
		return d;
	}();
	return data;
}

template <bool Server>
void FindOurs(benchmark::State& state)
{
	const FindData& data = Server ? ServerFinds() : Finds();
	auto conn = SqlConnection::Open(data.path);
	SqlConnection* previous = AfxSetDefaultSqlConnection(conn.get());
	ContatoriReader reader;
	char code[16];
	for (auto _ : state)
	{
		long total = 0;
		for (int i : data.order)
		{
			std::snprintf(code, sizeof code, "C%06d", i);
			reader.m_Esercizio = 2024;
			reader.m_TipoCodice = kFattura;
			reader.m_Codice = code;
			if (reader.FindRecord() != TableReader::FOUND)
				throw std::runtime_error("counter not found");
			total += reader.Rec().f_Valore;
		}
		benchmark::DoNotOptimize(total);
	}
	reader.Free();
	AfxSetDefaultSqlConnection(previous);
	state.SetItemsProcessed(state.iterations() * kFinds);
}

void FindRaw(benchmark::State& state)
{
	const FindData& data = Finds();
	RawDb raw(data.path);
	sqlite3_stmt* st = raw.Prepare("SELECT \"Esercizio\", \"TipoCodice\", \"Codice\", \"Valore\", \"Importo\" "
								   "FROM \"T_Contatori\" WHERE \"Esercizio\" = ? AND \"TipoCodice\" = ? AND \"Codice\" = ?");
	char code[16];
	struct
	{
		long long esercizio, tipo, valore;
		std::string codice;
		double importo;
	} row;
	for (auto _ : state)
	{
		long total = 0;
		for (int i : data.order)
		{
			std::snprintf(code, sizeof code, "C%06d", i);
			sqlite3_bind_int64(st, 1, 2024);
			sqlite3_bind_int64(st, 2, kFattura);
			sqlite3_bind_text(st, 3, code, -1, SQLITE_STATIC);
			if (sqlite3_step(st) != SQLITE_ROW)
				throw std::runtime_error("counter not found");
			row.esercizio = sqlite3_column_int64(st, 0);
			row.tipo = sqlite3_column_int64(st, 1);
			row.codice.assign(reinterpret_cast<const char*>(sqlite3_column_text(st, 2)), sqlite3_column_bytes(st, 2));
			row.valore = sqlite3_column_int64(st, 3);
			row.importo = sqlite3_column_double(st, 4);
			sqlite3_reset(st);
			total += static_cast<long>(row.valore);
		}
		benchmark::DoNotOptimize(total);
		benchmark::DoNotOptimize(row);
	}
	sqlite3_finalize(st);
	state.SetItemsProcessed(state.iterations() * kFinds);
}

void FindRawPg(benchmark::State& state)
{
	const FindData& data = ServerFinds();
	RawPg raw(data.path);
	raw.Prepare("find", "SELECT \"esercizio\", \"tipocodice\", \"codice\", \"valore\", \"importo\" FROM "
						"\"t_contatori\" WHERE \"esercizio\" = $1 AND \"tipocodice\" = $2 AND \"codice\" = $3", 3);
	char code[16], kind[16];
	std::snprintf(kind, sizeof kind, "%u", kFattura);
	const char* values[3] = {"2024", kind, code};
	struct
	{
		long long esercizio, tipo, valore;
		std::string codice;
		double importo;
	} row;
	for (auto _ : state)
	{
		long total = 0;
		for (int i : data.order)
		{
			std::snprintf(code, sizeof code, "C%06d", i);
			PGresult* r = PQexecPrepared(raw.c, "find", 3, values, nullptr, nullptr, 0);
			if (PQresultStatus(r) != PGRES_TUPLES_OK || PQntuples(r) != 1)
				throw std::runtime_error("counter not found");
			row.esercizio = std::strtoll(PQgetvalue(r, 0, 0), nullptr, 10);
			row.tipo = std::strtoll(PQgetvalue(r, 0, 1), nullptr, 10);
			row.codice.assign(PQgetvalue(r, 0, 2), size_t(PQgetlength(r, 0, 2)));
			row.valore = std::strtoll(PQgetvalue(r, 0, 3), nullptr, 10);
			row.importo = std::strtod(PQgetvalue(r, 0, 4), nullptr);
			PQclear(r);
			total += static_cast<long>(row.valore);
		}
		benchmark::DoNotOptimize(total);
		benchmark::DoNotOptimize(row);
	}
	state.SetItemsProcessed(state.iterations() * kFinds);
}

// ---- grouped sum -------------------------------------------------------------------------------

const char* const kSumSql = "SELECT \"Mese\", SUM(Importo) FROM \"T_Movimenti\" WHERE \"Data\" BETWEEN ? AND ? "
							"GROUP BY \"Mese\" ORDER BY \"Mese\"";

const CString& SumPath()
{
	static CString path = [] {
		CString p = NewDatabase(Env().m_Dir, "sum.db");
		RawDb raw(p);
		raw.Exec("BEGIN");
		sqlite3_stmt* st = raw.Prepare("INSERT INTO T_Movimenti VALUES (?, ?, ?, ?, ?)");
		InsertRawRows(raw, st, kSumRows, "seed");
		sqlite3_finalize(st);
		raw.Exec("COMMIT");
		return p;
	}();
	return path;
}

CString ServerSumTarget()
{
	static CString target = [] {
		CString t = ServerDatabases::Get()->New("sum");
		RawPg raw(t);
		raw.Exec(CString::Formatted(
			"INSERT INTO T_Movimenti SELECT i + 1, (ARRAY['Cassa', 'Banca', 'Clienti', 'Fornitori', 'Erario', "
			"'Magazzino', 'Ricavi', 'Costi'])[i %% %d + 1], make_date(2024, i / 28 %% 12 + 1, i %% 28 + 1), "
			"i / 28 %% 12 + 1, (i %% 1000) * 0.25 - 50 FROM generate_series(0, %d) i; ANALYZE T_Movimenti",
			kContiCount, kSumRows - 1));
		return t;
	}();
	return target;
}

template <bool Server>
void SumOurs(benchmark::State& state)
{
	auto conn = SqlConnection::Open(Server ? ServerSumTarget() : SumPath());
	TMovimenti rec;
	rec.SetConnection(conn.get());
	DataMon total;
	SqlTable t(&rec);
	t.Open();
	t.Select(rec.f_Mese);
	t.SelectSqlFun(CString::Formatted("SUM(%s)", t.GetColumnName(rec.f_Importo).GetString()), total);
	t.AddParam("dal", rec.f_Data);
	t.AddParam("al", rec.f_Data);
	t.AddBetweenColumn(rec.f_Data);
	t.AddGroupByColumn(rec.f_Mese);
	if (t.GetSelectSql() != kSumSql)
		throw std::runtime_error("not the statement the raw side runs: " + t.GetSelectSql().str());
	for (auto _ : state)
	{
		double sums[13] = {};
		t.SetParamValue("dal", DataDate(1, 1, 2024));
		t.SetParamValue("al", DataDate(31, 12, 2024));
		for (t.Query(); !t.IsEOF(); t.MoveNext())
			sums[rec.f_Mese.GetValue()] = total.GetValue();
		benchmark::DoNotOptimize(sums);
	}
	state.SetItemsProcessed(state.iterations() * kSumRows);
}

void SumRaw(benchmark::State& state)
{
	RawDb raw(SumPath());
	sqlite3_stmt* st = raw.Prepare(kSumSql);
	for (auto _ : state)
	{
		double sums[13] = {};
		sqlite3_bind_text(st, 1, "2024-01-01", -1, SQLITE_STATIC);
		sqlite3_bind_text(st, 2, "2024-12-31", -1, SQLITE_STATIC);
		while (sqlite3_step(st) == SQLITE_ROW)
			sums[sqlite3_column_int(st, 0)] = sqlite3_column_double(st, 1);
		sqlite3_reset(st);
		benchmark::DoNotOptimize(sums);
	}
	sqlite3_finalize(st);
	state.SetItemsProcessed(state.iterations() * kSumRows);
}

void SumRawPg(benchmark::State& state)
{
	RawPg raw(ServerSumTarget());
	raw.Prepare("sum", "SELECT \"mese\", SUM(Importo) FROM \"t_movimenti\" WHERE \"data\" BETWEEN $1 AND $2 "
					   "GROUP BY \"mese\" ORDER BY \"mese\"", 2);
	const char* values[2] = {"2024-01-01", "2024-12-31"};
	for (auto _ : state)
	{
		double sums[13] = {};
		PGresult* r = PQexecPrepared(raw.c, "sum", 2, values, nullptr, nullptr, 0);
		if (PQresultStatus(r) != PGRES_TUPLES_OK)
			throw std::runtime_error("sum failed");
		for (int i = 0; i < PQntuples(r); ++i)
			sums[std::atoi(PQgetvalue(r, i, 0))] = std::strtod(PQgetvalue(r, i, 1), nullptr);
		PQclear(r);
		benchmark::DoNotOptimize(sums);
	}
	state.SetItemsProcessed(state.iterations() * kSumRows);
}

// Keeps the time of every run for the summary.
class Collecting : public benchmark::ConsoleReporter
{
public:
	explicit Collecting(OutputOptions options) : ConsoleReporter(options) {}
	void ReportRuns(const std::vector<Run>& runs) override
	{
		for (const Run& r : runs)
			if (r.run_type == Run::RT_Iteration)
				m_Times[r.run_name.function_name].push_back(r.GetAdjustedRealTime());
		ConsoleReporter::ReportRuns(runs);
	}
	std::map<std::string, std::vector<double>> m_Times;
};

double Median(std::vector<double> v)
{
	std::sort(v.begin(), v.end());
	return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
	benchmark::Initialize(&argc, argv);
	if (benchmark::ReportUnrecognizedArguments(argc, argv))
		return 1;
	using Fn = void (*)(benchmark::State&);
	struct Pair
	{
		const char* name;
		Fn raw, ours, rawPg, oursPg;
		int iterations;
		double target;
	};
	const Pair pairs[] = {
		{"Insert", InsertRaw, InsertOurs<false, true>, InsertRawPg, InsertOurs<true, true>, 1, 1.5},
		{"InsertEach", InsertRaw, InsertOurs<false, false>, InsertEachRawPg, InsertOurs<true, false>, 1, 1.5},
		{"Find", FindRaw, FindOurs<false>, FindRawPg, FindOurs<true>, 1, 2.0},
		{"Sum", SumRaw, SumOurs<false>, SumRawPg, SumOurs<true>, 3, 1.2},
	};
	const bool server = ServerDatabases::Get() != nullptr;
	// Rounds alternate the two sides, so that load from elsewhere weighs on both alike.
	constexpr int kRounds = 7;
	for (const Pair& p : pairs)
		for (int r = 0; r < kRounds; ++r)
		{
			std::vector<std::pair<std::string, Fn>> sides = {{"Raw", p.raw}, {"Ours", p.ours}};
			if (server)
				sides.insert(sides.end(), {{"RawPg", p.rawPg}, {"OursPg", p.oursPg}});
			for (auto& [suffix, fn] : sides)
				benchmark::RegisterBenchmark((std::string(p.name) + suffix).c_str(), fn)
					->Unit(benchmark::kMillisecond)
					->UseRealTime()
					->Iterations(p.iterations);
		}

	Collecting reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_Defaults
											  : benchmark::ConsoleReporter::OO_Tabular);
	benchmark::RunSpecifiedBenchmarks(&reporter);
	// "ratio (fastest runs' ratio) verdict" of one backend, or nothing when it did not run.
	auto ratio = [&](const Pair& p, const char* raw, const char* ours) -> std::string {
		auto o = reporter.m_Times.find(std::string(p.name) + ours);
		auto r = reporter.m_Times.find(std::string(p.name) + raw);
		if (o == reporter.m_Times.end() || r == reporter.m_Times.end())
			return "-";
		double median = Median(o->second) / Median(r->second);
		double best = *std::min_element(o->second.begin(), o->second.end()) /
					  *std::min_element(r->second.begin(), r->second.end());
		char text[64];
		std::snprintf(text, sizeof text, "%5.2f (%.2f) %s", median, best, median <= p.target ? "ok" : "MISSED");
		return text;
	};
	std::printf("\nours / raw (medians of %d alternating rounds, fastest runs in brackets; raw: sqlite3, libpq):\n",
				kRounds);
	std::printf("  %-10s %-22s %-22s %s\n", "", "SQLite", server ? "PostgreSQL" : "PostgreSQL (no server)", "target");
	for (const Pair& p : pairs)
		std::printf("  %-10s %-22s %-22s <= %.1f\n", p.name, ratio(p, "Raw", "Ours").c_str(),
					ratio(p, "RawPg", "OursPg").c_str(), p.target);
	benchmark::Shutdown();
	return 0;
}
