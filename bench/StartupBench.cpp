// The start of a kvz process: `kvz --help` and `kvz --db FILE tables` (which opens the company,
// loads the module's libraries and checks the schema), each beside its floor, a program that
// only opens the database file and reads one row (kvz_bench_startup_floor). The three are run
// in turn, round after round, so that the machine's load falls on all alike; the medians of the
// wall and CPU (user + system) times are printed with the ratios and the load average.
// With KVZ_BENCH_PG naming a PostgreSQL database, `kvz tables` is also run on a company made in
// a schema of its own there (dropped at the end), beside the floor connecting to it.
//   build-release/bin/kvz_bench_startup [ROUNDS]      (default 21)
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/plvoledb/driver/Postgres.h"

namespace fs = std::filesystem;

namespace {
struct Tempo
{
	double wall = 0;  // ms
	double cpu = 0;   // ms
};

// Runs the program with its output thrown away; false when it fails.
bool Esegui(const std::vector<std::string>& argv, Tempo& t)
{
	const auto inizio = std::chrono::steady_clock::now();
	const pid_t pid = fork();
	if (pid == 0)
	{
		const int null = open("/dev/null", O_WRONLY);
		dup2(null, 1);
		dup2(null, 2);
		std::vector<char*> args;
		for (const std::string& a : argv)
			args.push_back(const_cast<char*>(a.c_str()));
		args.push_back(nullptr);
		execv(args[0], args.data());
		_exit(127);
	}
	int status = 0;
	rusage uso{};
	if (pid < 0 || wait4(pid, &status, 0, &uso) != pid)
		return false;
	t.wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - inizio).count();
	t.cpu = (uso.ru_utime.tv_sec + uso.ru_stime.tv_sec) * 1e3 + (uso.ru_utime.tv_usec + uso.ru_stime.tv_usec) / 1e3;
	return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double Mediana(std::vector<double> v)
{
	std::sort(v.begin(), v.end());
	return v.empty() ? 0 : v[v.size() / 2];
}

std::string Carico()
{
	std::ifstream f("/proc/loadavg");
	std::string a, b, c;
	f >> a >> b >> c;
	return a + " " + b + " " + c;
}

struct Misura
{
	std::string nome;
	std::vector<std::string> argv;
	std::vector<double> wall, cpu;
};
}  // namespace

int main(int argc, char** argv)
{
	const int giri = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
	const fs::path bin = fs::canonical("/proc/self/exe").parent_path();
	const std::string kvz = (bin / "kvz").string();
	const std::string pavimento = (bin / "kvz_bench_startup_floor").string();
	const fs::path cartella = fs::temp_directory_path() / ("kvz_bench_startup_" + std::to_string(getpid()));
	fs::create_directories(cartella);
	const std::string db = (cartella / "azienda.db").string();
	Tempo t;
	setenv("KVZ_SETTINGS_DIR", (cartella / "settings").c_str(), 1);
	if (!Esegui({kvz, "init", db}, t))
	{
		std::fprintf(stderr, "kvz init %s failed\n", db.c_str());
		return 1;
	}
	std::vector<Misura> misure = {{"kvz --help", {kvz, "--help"}, {}, {}},
								  {"kvz tables (SQLite)", {kvz, "--db", db, "tables"}, {}, {}},
								  {"floor: open the file (SQLite)", {pavimento, db}, {}, {}}};
	std::unique_ptr<plv::db::Connection> pAdmin;
	std::string schema;
	if (const char* server = std::getenv("KVZ_BENCH_PG"); server && *server)
	{
		const std::string s = server;
		schema = "kvz_bench_startup_" + std::to_string(getpid());
		pAdmin = plv::db::OpenPostgres(s);
		pAdmin->Execute("DROP SCHEMA IF EXISTS " + schema + " CASCADE; CREATE SCHEMA " + schema);
		const std::string target =
			s + (s.find('?') == std::string::npos ? "?" : "&") + "options=-csearch_path%3D" + schema + "%2Cpublic";
		if (!Esegui({kvz, "init", target}, t))
		{
			std::fprintf(stderr, "kvz init on the server failed\n");
			return 1;
		}
		misure.push_back({"kvz tables (PostgreSQL)", {kvz, "--db", target, "tables"}, {}, {}});
		misure.push_back({"floor: connect (PostgreSQL)", {pavimento, target}, {}, {}});
	}
	const std::string caricoPrima = Carico();
	for (int g = 0; g < giri; ++g)
		for (Misura& m : misure)
		{
			if (!Esegui(m.argv, t))
			{
				std::fprintf(stderr, "%s failed\n", m.nome.c_str());
				return 1;
			}
			m.wall.push_back(t.wall);
			m.cpu.push_back(t.cpu);
		}
	const std::string caricoDopo = Carico();
	std::printf("%d rounds, load average %s before, %s after\n", giri, caricoPrima.c_str(), caricoDopo.c_str());
	std::printf("%-32s %10s %10s\n", "", "wall ms", "CPU ms");
	for (const Misura& m : misure)
		std::printf("%-32s %10.1f %10.1f\n", m.nome.c_str(), Mediana(m.wall), Mediana(m.cpu));
	auto rapporto = [&](size_t a, size_t b) {
		std::printf("%s over %s: wall %.1fx, CPU %.1fx\n", misure[a].nome.c_str(), misure[b].nome.c_str(),
					Mediana(misure[a].wall) / std::max(0.001, Mediana(misure[b].wall)),
					Mediana(misure[a].cpu) / std::max(0.001, Mediana(misure[b].cpu)));
	};
	rapporto(0, 2);
	rapporto(1, 2);
	if (misure.size() > 3)
	{
		rapporto(3, 4);
		rapporto(3, 1);
	}
	if (pAdmin)
		pAdmin->Execute("DROP SCHEMA IF EXISTS " + schema + " CASCADE");
	std::error_code ec;
	fs::remove_all(cartella, ec);
	return 0;
}
