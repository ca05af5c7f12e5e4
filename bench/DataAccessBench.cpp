// The data-access layer against the plain sqlite3 C API doing the same work in the same run.
// Prints the ratios (ours / raw) at the end.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <numeric>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/plvgeneric/Interaction.h"
#include "platform/plvges/TableReader.h"
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

// ---- bulk insert -------------------------------------------------------------------------------

void InsertOurs(benchmark::State& state)
{
	for (auto _ : state)
	{
		state.PauseTiming();
		auto conn = SqlConnection::Open(NewDatabase(Env().m_Dir, "insert-ours.db"));
		TMovimenti rec;
		rec.SetConnection(conn.get());
		state.ResumeTiming();

		CPLVContext ctx(conn.get());
		if (!ctx.StartTransaction())
			throw std::runtime_error("no transaction");
		SqlTable t(&rec, ctx.GetUpdatableSqlSession());
		t.Open(TRUE);
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
		char date[16];
		for (int i = 0; i < kInsertRows; ++i)
		{
			Movement m = MovementAt(i);
			std::snprintf(date, sizeof date, "%04d-%02d-%02d", 2024, m.month, m.day);
			sqlite3_bind_int64(st, 1, i + 1);
			sqlite3_bind_text(st, 2, kConti[m.conto], -1, SQLITE_STATIC);
			sqlite3_bind_text(st, 3, date, -1, SQLITE_STATIC);
			sqlite3_bind_int64(st, 4, m.month);
			sqlite3_bind_double(st, 5, m.importo);
			Check(sqlite3_step(st), raw.db, "insert");
			sqlite3_reset(st);
		}
		sqlite3_finalize(st);
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

void FindOurs(benchmark::State& state)
{
	const FindData& data = Finds();
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
		char date[16];
		for (int i = 0; i < kSumRows; ++i)
		{
			Movement m = MovementAt(i);
			std::snprintf(date, sizeof date, "%04d-%02d-%02d", 2024, m.month, m.day);
			sqlite3_bind_int64(st, 1, i + 1);
			sqlite3_bind_text(st, 2, kConti[m.conto], -1, SQLITE_STATIC);
			sqlite3_bind_text(st, 3, date, -1, SQLITE_STATIC);
			sqlite3_bind_int64(st, 4, m.month);
			sqlite3_bind_double(st, 5, m.importo);
			Check(sqlite3_step(st), raw.db, "seed");
			sqlite3_reset(st);
		}
		sqlite3_finalize(st);
		raw.Exec("COMMIT");
		return p;
	}();
	return path;
}

void SumOurs(benchmark::State& state)
{
	auto conn = SqlConnection::Open(SumPath());
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
	struct Pair
	{
		const char* name;
		void (*raw)(benchmark::State&);
		void (*ours)(benchmark::State&);
		int iterations;
		double target;
	};
	const Pair pairs[] = {
		{"Insert", InsertRaw, InsertOurs, 1, 1.5},
		{"Find", FindRaw, FindOurs, 1, 2.0},
		{"Sum", SumRaw, SumOurs, 3, 1.2},
	};
	// Rounds alternate the two sides, so that load from elsewhere weighs on both alike.
	constexpr int kRounds = 7;
	for (const Pair& p : pairs)
		for (int r = 0; r < kRounds; ++r)
			for (auto [suffix, fn] : {std::pair{"Raw", p.raw}, std::pair{"Ours", p.ours}})
				benchmark::RegisterBenchmark((std::string(p.name) + suffix).c_str(), fn)
					->Unit(benchmark::kMillisecond)
					->UseRealTime()
					->Iterations(p.iterations);

	Collecting reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_Defaults
											  : benchmark::ConsoleReporter::OO_Tabular);
	benchmark::RunSpecifiedBenchmarks(&reporter);
	std::printf("\nours / raw sqlite3 (medians of %d alternating rounds):\n", kRounds);
	for (const Pair& p : pairs)
	{
		auto ours = reporter.m_Times.find(std::string(p.name) + "Ours");
		auto raw = reporter.m_Times.find(std::string(p.name) + "Raw");
		if (ours == reporter.m_Times.end() || raw == reporter.m_Times.end())
			continue;
		double ratio = Median(ours->second) / Median(raw->second);
		double best = *std::min_element(ours->second.begin(), ours->second.end()) /
					  *std::min_element(raw->second.begin(), raw->second.end());
		std::printf("  %-7s %5.2f  (fastest runs %.2f; target <= %.1f) %s\n", p.name, ratio, best, p.target,
					ratio <= p.target ? "ok" : "MISSED");
	}
	benchmark::Shutdown();
	return 0;
}
