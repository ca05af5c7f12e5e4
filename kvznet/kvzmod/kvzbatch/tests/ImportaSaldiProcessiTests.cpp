// Two workstations import the ledger's balances of two different years into one company at the
// same time, each in a process of its own: every base plan they make takes an identifier and a
// number nobody else took, and the counters end on the last value handed out.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "kvznet/kvzmod/kvzbatch/tests/BatchFixture.h"
#include "platform/erp/erpdemo/DemoCompany.h"

namespace {

constexpr const char* kImportEnv = "KVZ_IMPORT_PROCESS";
const DataDate kOggi(15, 4, 2026);

// Started again as a workstation: "<lock file>|<year>|<company>" in the environment. Prints
// "OK" when the import of the year went through, else what it was told.
int RunImportProcess(const std::string& job)
{
	const auto bar1 = job.find('|'), bar2 = job.find('|', bar1 + 1);
	const std::string lock = job.substr(0, bar1);
	const int year = std::atoi(job.substr(bar1 + 1, bar2 - bar1 - 1).c_str());
	const CString target(job.substr(bar2 + 1));
	ScriptedInteraction ui;
	InteractionScope scope(&ui);
	AfxGetApplicationContext()->SetEchoAssertions(FALSE);
	AfxSetApplicationDate(kOggi);
	BOOL ok = FALSE;
	try
	{
		auto conn = SqlConnection::Open(target);
		AfxSetDefaultSqlConnection(conn.get());
		{
			// Opening the company one at a time; the imports themselves run side by side.
			const int fd = ::open(lock.c_str(), O_RDWR | O_CREAT, 0600);
			::flock(fd, LOCK_EX);
			std::unique_ptr<AddOnInterfaceObj> pDbl(KvzDblAddOnInterface());
			CPLVNamespace ns("KvzNet.KvzMod.KvzDbl");
			pDbl->AOI_RegisterTables(conn.get(), "", &ns);
			erp::SetupCompanyDatabase(*conn);
			::close(fd);
		}
		{
			CDocumentSet docs;
			FormDriver form(FormDriver::Open(docs, RUNTIME_CLASS(Kvz_CImportaSaldiDoc), RUNTIME_CLASS(CBatchFrame),
											 RUNTIME_CLASS(Kvz_CImportaSaldiView)));
			ok = form.Type("Importazione saldi fino al mese:", "12") &&
				 form.Type("anno:", CString::Formatted("%d", year)) && form.RunBatch();
		}
		AfxSetDefaultSqlConnection(nullptr);
	}
	catch (const std::exception& e)
	{
		std::printf("%s\n", e.what());
	}
	for (auto& m : ui.Messages())
		std::printf("%s\n", m.text.GetString());
	std::printf(ok ? "OK\n" : "FAILED\n");
	std::fflush(stdout);
	return ok ? 0 : 3;
}

[[maybe_unused]] const bool g_bImportProcess = [] {
	if (const char* job = std::getenv(kImportEnv))
		_exit(RunImportProcess(job));
	return false;
}();

using ImportaSaldiProcessi = BatchTest;

TEST_F(ImportaSaldiProcessi, TwoYearsImportedAtOnceNeverShareAnIdOrANumber)
{
	m_pConn->ExecuteSQL("DELETE FROM Kvz_RaggruppPdC");
	const erp::DemoCompanySummary demo = erp::CreateDemoCompany(*m_pConn, 1);
	ASSERT_TRUE(InitRaggruppamento());
	AfxSetDefaultSqlConnection(nullptr);

	struct Child
	{
		pid_t pid;
		int fd;
		std::string out;
	};
	std::vector<Child> children;
	for (int year : {demo.firstYear, demo.lastYear})
	{
		const std::string job =
			(m_Folder / "apertura.lock").string() + "|" + std::to_string(year) + "|" + m_strTarget.str();
		int fds[2];
		ASSERT_EQ(::pipe(fds), 0);
		const pid_t pid = ::fork();
		ASSERT_GE(pid, 0);
		if (pid == 0)
		{
			::dup2(fds[1], STDOUT_FILENO);
			::close(fds[0]);
			::close(fds[1]);
			::setenv(kImportEnv, job.c_str(), 1);
			char name[] = "kvzbatch_tests";
			char* argv[] = {name, nullptr};
			::execv("/proc/self/exe", argv);
			_exit(127);
		}
		::close(fds[1]);
		children.push_back({pid, fds[0], {}});
	}
	// Each child's output until it closes it, or two minutes.
	const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
	for (bool open = true; open && std::chrono::steady_clock::now() < deadline;)
	{
		open = false;
		for (auto& c : children)
		{
			if (c.fd < 0)
				continue;
			pollfd p{c.fd, POLLIN, 0};
			if (::poll(&p, 1, 50) <= 0)
			{
				open = true;
				continue;
			}
			char buf[4096];
			const ssize_t n = ::read(c.fd, buf, sizeof buf);
			if (n > 0)
			{
				c.out.append(buf, size_t(n));
				open = true;
			}
			else
			{
				::close(c.fd);
				c.fd = -1;
			}
		}
	}
	for (auto& c : children)
	{
		if (c.fd >= 0)
		{
			::kill(c.pid, SIGKILL);
			::close(c.fd);
		}
		int status = 0;
		::waitpid(c.pid, &status, 0);
		EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status << ":\n" << c.out;
	}
	AfxSetDefaultSqlConnection(m_pConn.get());

	const long teste = Count("SELECT COUNT(*) FROM Kvz_PianoBaseT");
	for (int year : {demo.firstYear, demo.lastYear})
		EXPECT_GT(Count("SELECT COUNT(*) FROM Kvz_PianoBaseT WHERE Esercizio = " + std::to_string(year)), 300) << year;
	// 1 .. the number of heads, each once: none repeated, none lost.
	EXPECT_EQ(Count("SELECT COUNT(DISTINCT IDPianoBase) FROM Kvz_PianoBaseT"), teste);
	EXPECT_EQ(Count("SELECT MIN(IDPianoBase) FROM Kvz_PianoBaseT"), 1);
	EXPECT_EQ(Count("SELECT MAX(IDPianoBase) FROM Kvz_PianoBaseT"), teste);
	EXPECT_EQ(Count("SELECT SUM(UltimoID) FROM Kvz_IDDocumenti"), teste);
	// Both take their numbers from the counter of the day's year.
	EXPECT_EQ(Count("SELECT COUNT(DISTINCT CodPianoBase) FROM Kvz_PianoBaseT"), teste);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_PianoBaseT WHERE CodPianoBase < '00000001' OR CodPianoBase > '" +
					CString::Formatted("%08ld", teste).str() + "'"),
			  0);
	EXPECT_EQ(Count("SELECT SUM(UltNrDoc) FROM Kvz_NumDocumenti"), teste);
}

}  // namespace
