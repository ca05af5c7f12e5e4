#pragma once
// What every benchmark program shares: its frame (flags, a folder of its own, nobody answering,
// everything closed and removed at the end), a company database with the module's tables, and a
// reporter that keeps each benchmark's time for the ratios printed at the end.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <variant>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/KvzDblInterface.h"
#include "platform/erp/erpsetup/CompanySetup.h"
#include "platform/plvgenlib/AddOnInterfaceObj.h"
#include "platform/plvgenlib/AddOnLibraries.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvoledb/SqlTable.h"
#include "platform/plvoledb/driver/Driver.h"
#include "platform/plvoledb/driver/Postgres.h"

namespace kvzbench {

// With KVZ_BENCH_PG naming a PostgreSQL database (a URI or a keyword string), the company is
// a schema of its own there, dropped at the end of the run.
class SchemaPg
{
public:
	explicit SchemaPg(const std::string& server)
		: m_Nome("kvz_bench_" + std::to_string(::getpid())), m_pAdmin(plv::db::OpenPostgres(server))
	{
		m_pAdmin->Execute("DROP SCHEMA IF EXISTS " + m_Nome + " CASCADE; CREATE SCHEMA " + m_Nome);
		const bool uri = server.find("://") != std::string::npos;
		m_Target = uri ? server + (server.find('?') == std::string::npos ? "?" : "&") + "options=-csearch_path%3D" +
							 m_Nome + "%2Cpublic"
					   : server + " options='-csearch_path=" + m_Nome + ",public'";
	}
	~SchemaPg()
	{
		try
		{
			m_pAdmin->Execute("DROP SCHEMA IF EXISTS " + m_Nome + " CASCADE");
		}
		catch (...)
		{
		}
	}
	const std::string& Target() const { return m_Target; }

private:
	std::string m_Nome;
	std::unique_ptr<plv::db::Connection> m_pAdmin;
	std::string m_Target;
};
inline std::unique_ptr<SchemaPg>& SchemaServer()
{
	static std::unique_ptr<SchemaPg> schema;
	return schema;
}

// Nobody answers: messages are taken as read, no run is stopped. Progress goes nowhere: the
// terminal would be the measure.
class Silent : public IInteraction
{
public:
	int MessageBox(const CString&, UINT, const CString&) override { return IDOK; }
	void Progress(const CString&) override {}
	bool AbortRequested() override { return false; }
};

// A benchmark program's run, from its first line to its last: the benchmark flags read, a
// folder of its own under the temporary directory, the interaction given (nobody answering when
// none is); at the end, however main returns, the connection closed and the folder removed.
// False when the flags are wrong.
class Esecuzione
{
public:
	Esecuzione(int& argc, char** argv, const char* nome, std::unique_ptr<SqlConnection>& pConn,
			   IInteraction* pInteraction = nullptr)
		: m_pConn(pConn), m_Scope(pInteraction ? pInteraction : &m_Silent)
	{
		benchmark::Initialize(&argc, argv);
		m_bOk = !benchmark::ReportUnrecognizedArguments(argc, argv);
		if (!m_bOk)
			return;
		m_Cartella = std::filesystem::temp_directory_path() /
					 (std::string("kvz-bench-") + nome + "-" + std::to_string(::getpid()));
		std::filesystem::create_directories(m_Cartella);
	}
	~Esecuzione()
	{
		AfxSetDefaultSqlConnection(nullptr);
		m_pConn.reset();
		SchemaServer().reset();
		if (!m_Cartella.empty())
		{
			std::error_code ec;
			std::filesystem::remove_all(m_Cartella, ec);
		}
		benchmark::Shutdown();
	}
	Esecuzione(const Esecuzione&) = delete;
	Esecuzione& operator=(const Esecuzione&) = delete;

	explicit operator bool() const { return m_bOk; }
	const std::filesystem::path& Cartella() const { return m_Cartella; }

private:
	std::unique_ptr<SqlConnection>& m_pConn;
	Silent m_Silent;
	InteractionScope m_Scope;
	std::filesystem::path m_Cartella;
	bool m_bOk = false;
};

// A company database of its own in folder/azienda.db, the default connection, with the module's
// tables; false (said on stderr) when they cannot be registered.
inline bool ApriAzienda(std::unique_ptr<SqlConnection>& pConn, const std::filesystem::path& folder)
{
	if (const char* server = std::getenv("KVZ_BENCH_PG"); server && *server)
	{
		SchemaServer() = std::make_unique<SchemaPg>(server);
		pConn = SqlConnection::Open(CString(SchemaServer()->Target()));
	}
	else
		pConn = SqlConnection::Open((folder / "azienda.db").string(), SqlConnection::CREATE_IF_MISSING);
	AfxSetDefaultSqlConnection(pConn.get());
	std::unique_ptr<AddOnInterfaceObj> pAddOn(KvzDblAddOnInterface());
	CPLVNamespace ns("KvzNet.KvzMod.KvzDbl");
	if (!pAddOn || !pAddOn->AOI_RegisterTables(pConn.get(), "", &ns))
	{
		std::fprintf(stderr, "cannot register the module's tables\n");
		return false;
	}
	erp::SetupCompanyDatabase(*pConn);
	return true;
}

// Adds the record as it stands, through a cursor of its own.
template <class Rec>
void Inserisci(Rec& rec)
{
	SqlTable t(&rec);
	t.Open(TRUE);
	t.AddNew(FALSE);
	t.Update();
}

// The first column of the first row of a statement that counts.
inline long Conta(SqlConnection& conn, const CString& sql)
{
	auto st = conn.Db().Prepare(sql.str());
	return st->Step() ? static_cast<long>(std::get<std::int64_t>(st->Column(0))) : 0;
}

// The report definitions' library, and the functions of this program its reports read by name.
inline bool CaricaReport(CAddOnLibraries& libs, const char* library, std::initializer_list<const char*> funzioni)
{
	if (!libs.Load({"KvzReports", library, "Library.KvzNet.KvzMod.KvzReports"}))
	{
		std::fprintf(stderr, "cannot load the report definitions\n");
		return false;
	}
	for (const char* name : funzioni)
		AfxRegisterExportedFunction(name, dlsym(RTLD_DEFAULT, name));
	return true;
}

// How a benchmark's time is taken for a ratio: the median of its repetitions, or the fastest of
// them (the least disturbed by other work on the machine), in real or CPU time.
enum class Misura
{
	Mediana,
	Minimo,
	MinimoCpu,
};

// The seconds of a benchmark and of its baseline.
struct Confronto
{
	double tempo = 0;
	double base = 0;
	double Volte() const { return tempo / base; }
};

// The console's report, keeping the seconds per iteration of each benchmark that ran without
// error, by name ("name/args" for one with arguments).
class TempiReporter : public benchmark::ConsoleReporter
{
public:
	using ConsoleReporter::ConsoleReporter;

	void ReportRuns(const std::vector<Run>& runs) override
	{
		for (auto& r : runs)
		{
			if (r.error_occurred || r.iterations <= 0)
				continue;
			const std::string nome = r.run_name.function_name + (r.run_name.args.empty() ? "" : "/" + r.run_name.args);
			const double reale = r.real_accumulated_time / double(r.iterations);
			if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
				m_Tempi[Misura::Mediana][nome] = reale;
			else if (r.run_type == Run::RT_Iteration)
			{
				Minimo(m_Tempi[Misura::Minimo], nome, reale);
				Minimo(m_Tempi[Misura::MinimoCpu], nome, r.cpu_accumulated_time / double(r.iterations));
			}
		}
		ConsoleReporter::ReportRuns(runs);
	}

	std::optional<double> Secondi(const std::string& nome, Misura misura = Misura::Mediana) const
	{
		const auto& tempi = Tempi(misura);
		auto it = tempi.find(nome);
		return it == tempi.end() ? std::nullopt : std::optional<double>(it->second);
	}
	// A benchmark against its baseline, when both ran.
	std::optional<Confronto> Confronta(const std::string& nome, const std::string& base,
									   Misura misura = Misura::Mediana) const
	{
		auto t = Secondi(nome, misura), b = Secondi(base, misura);
		if (!t || !b)
			return std::nullopt;
		return Confronto{*t, *b};
	}
	// Every benchmark's seconds, by name.
	const std::map<std::string, double>& Tempi(Misura misura = Misura::Mediana) const
	{
		static const std::map<std::string, double> nessuno;
		auto it = m_Tempi.find(misura);
		return it == m_Tempi.end() ? nessuno : it->second;
	}

private:
	static void Minimo(std::map<std::string, double>& tempi, const std::string& nome, double secondi)
	{
		auto [it, nuovo] = tempi.emplace(nome, secondi);
		if (!nuovo && secondi < it->second)
			it->second = secondi;
	}

	std::map<Misura, std::map<std::string, double>> m_Tempi;
};

}  // namespace kvzbench
