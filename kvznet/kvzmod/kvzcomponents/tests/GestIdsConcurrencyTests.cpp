// Several workstations take identifiers and numbers from one company file at once: other
// processes (this program started again) and threads of this one, each on a connection of its own.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <thread>

#include "kvznet/kvzmod/kvzcomponents/tests/CountersFixture.h"

namespace {
using Clock = std::chrono::steady_clock;
constexpr const char* kWorkstationEnv = "KVZ_COUNTERS_WORKSTATION";
constexpr int kYear = 2025;

struct Taken
{
	std::vector<long> ids;
	std::vector<long> rolledBack;  // of ids: taken inside a document transaction that rolled back
	std::vector<std::string> numbers;
	std::string error;
};

// One workstation: its own connection on the company database and its own document. Taking a
// number never fails; an identifier is refused only while another workstation holds its row for
// a moment (another thread of this process on SQLite, whose row locks are per process; any on
// a server), and is then asked again.
Taken Workstation(const std::string& path, int count, Clock::time_point deadline, bool bThreadsAround)
{
	Taken t;
	try
	{
		auto conn = SqlConnection::Open(CString(path));
		SqlConnection* prev = AfxSetThreadDefaultSqlConnection(conn.get());
		{
			CBaseDocument doc;
			Kvz_IDManager ids(Specie(2), &doc);
			Kvz_NumNonFiscManager nums(TipoDoc(0), &doc);
			const DataDate day(1, 7, kYear);
			while (t.error.empty() && (int(t.ids.size()) < count || int(t.numbers.size()) < count))
			{
				if (Clock::now() > deadline)
					t.error = "deadline passed";
				DataLng id;
				if (int(t.ids.size()) < count)
				{
					// On a server some are taken inside a document transaction that then rolls back:
					// committed on their own all the same, they are never taken again.
					const bool bRollBack = conn->IsServer() && t.ids.size() % 4 == 1;
					if (bRollBack && !doc.GetContext()->StartTransaction())
						t.error = "no document transaction";
					const bool taken = ids.GetNextID(id);
					if (bRollBack)
						doc.GetContext()->Rollback();
					if (taken)
					{
						t.ids.push_back(id);
						if (bRollBack)
							t.rolledBack.push_back(id);
					}
					else if (!bThreadsAround)
						t.error = "identifier refused";
				}
				DataStr n;
				if (int(t.numbers.size()) < count)
				{
					if (nums.OttieniProssimoNumero(day, n))
						t.numbers.push_back(n.GetString().str());
					else
						t.error = "number refused";
				}
			}
		}
		AfxSetThreadDefaultSqlConnection(prev);
	}
	catch (const std::exception& e)
	{
		t.error = e.what();
	}
	return t;
}

// Started again as a workstation process: "<file>|<count>" in the environment; the values go
// to standard output, one a line. A fresh program, not a bare fork: SQLite's state of the
// parent's open connection must not be carried into the child.
int RunWorkstationProcess(const char* job)
{
	std::string s = job;
	auto bar = s.rfind('|');
	// On a server every workstation sees the others' row locks: a refused identifier is asked again.
	const std::string target = s.substr(0, bar);
	Taken t = Workstation(target, std::atoi(s.c_str() + bar + 1), Clock::now() + std::chrono::seconds(60),
						  SqlConnection::IsServerTarget(CString(target)));
	for (long id : t.ids)
		std::printf("I %ld\n", id);
	for (long id : t.rolledBack)
		std::printf("R %ld\n", id);
	for (auto& n : t.numbers)
		std::printf("N %s\n", n.c_str());
	if (!t.error.empty())
		std::printf("E %s\n", t.error.c_str());
	std::fflush(stdout);
	return t.error.empty() ? 0 : 3;
}

[[maybe_unused]] const bool g_bWorkstationProcess = [] {
	if (const char* job = std::getenv(kWorkstationEnv))
		_exit(RunWorkstationProcess(job));
	return false;
}();

Taken Parse(const std::string& out)
{
	Taken t;
	std::istringstream in(out);
	std::string tag, value;
	while (in >> tag && std::getline(in >> std::ws, value))
	{
		if (tag == "I")
			t.ids.push_back(std::atol(value.c_str()));
		else if (tag == "R")
			t.rolledBack.push_back(std::atol(value.c_str()));
		else if (tag == "N")
			t.numbers.push_back(value);
		else
			t.error = value;
	}
	return t;
}

struct Child
{
	pid_t pid;
	int fd;
	std::string out;
};

// Reads the children's output until all of them closed it or the deadline passed.
bool Collect(std::vector<Child>& children, Clock::time_point deadline)
{
	size_t open = children.size();
	while (open > 0 && Clock::now() < deadline)
	{
		std::vector<pollfd> fds;
		for (auto& c : children)
			if (c.fd >= 0)
				fds.push_back({c.fd, POLLIN, 0});
		if (::poll(fds.data(), fds.size(), 200) <= 0)
			continue;
		for (auto& c : children)
		{
			if (c.fd < 0)
				continue;
			pollfd p{c.fd, POLLIN, 0};
			if (::poll(&p, 1, 0) <= 0)
				continue;
			char buf[4096];
			ssize_t n = ::read(c.fd, buf, sizeof buf);
			if (n > 0)
				c.out.append(buf, size_t(n));
			else
			{
				::close(c.fd);
				c.fd = -1;
				--open;
			}
		}
	}
	return open == 0;
}

using CountersUnderLoad = CompanyDb;
}  // namespace

TEST_F(CountersUnderLoad, ProcessesAndThreadsNeverShareAValue)
{
	constexpr int kProcesses = 3, kThreads = 3, kEach = 20;
	constexpr int kTotal = (kProcesses + kThreads) * kEach;
	const std::string path = Target("azienda.db").str();
	const auto deadline = Clock::now() + std::chrono::seconds(90);

	std::vector<Child> children;
	const std::string job = path + "|" + std::to_string(kEach);
	::setenv(kWorkstationEnv, job.c_str(), 1);
	for (int i = 0; i < kProcesses; ++i)
	{
		int fds[2];
		ASSERT_EQ(::pipe(fds), 0);
		pid_t pid = ::fork();
		ASSERT_GE(pid, 0);
		if (pid == 0)
		{
			::dup2(fds[1], STDOUT_FILENO);
			::close(fds[0]);
			::close(fds[1]);
			char name[] = "kvzcomponents_tests";
			char* argv[] = {name, nullptr};
			::execv("/proc/self/exe", argv);
			_exit(127);
		}
		::close(fds[1]);
		children.push_back({pid, fds[0], {}});
	}
	::unsetenv(kWorkstationEnv);

	std::vector<Taken> taken(kThreads);
	std::vector<std::thread> threads;
	for (int i = 0; i < kThreads; ++i)
		threads.emplace_back([&, i] { taken[size_t(i)] = Workstation(path, kEach, deadline, true); });
	bool allEnded = Collect(children, deadline);
	for (auto& t : threads)
		t.join();
	for (auto& c : children)
	{
		if (!allEnded)
			::kill(c.pid, SIGKILL);
		if (c.fd >= 0)
			::close(c.fd);
		int status = 0;
		::waitpid(c.pid, &status, 0);
		EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status << ": " << c.out;
		taken.push_back(Parse(c.out));
	}
	ASSERT_TRUE(allEnded) << "a workstation process did not end in time";

	std::vector<long> ids;
	std::vector<std::string> numbers;
	size_t rolledBack = 0;
	for (auto& t : taken)
	{
		rolledBack += t.rolledBack.size();
		EXPECT_EQ(t.error, "");
		EXPECT_EQ(t.ids.size(), size_t(kEach));
		EXPECT_EQ(t.numbers.size(), size_t(kEach));
		EXPECT_TRUE(std::is_sorted(t.ids.begin(), t.ids.end()));  // each workstation's own values rise
		ids.insert(ids.end(), t.ids.begin(), t.ids.end());
		numbers.insert(numbers.end(), t.numbers.begin(), t.numbers.end());
	}
	// Every value taken once, none lost: exactly 1 to the total, and the rows say so.
	std::sort(ids.begin(), ids.end());
	std::sort(numbers.begin(), numbers.end());
	std::vector<long> expectedIds(kTotal);
	std::vector<std::string> expectedNumbers;
	for (int i = 0; i < kTotal; ++i)
	{
		expectedIds[size_t(i)] = i + 1;
		expectedNumbers.push_back(CString::Formatted("%08d", i + 1).str());
	}
	EXPECT_EQ(ids, expectedIds);  // the rolled-back ones among them: none taken twice
	EXPECT_EQ(rolledBack, m_pConn->IsServer() ? size_t(kProcesses + kThreads) * (kEach / 4) : 0u);
	EXPECT_EQ(numbers, expectedNumbers);
	EXPECT_EQ(UltimoID(*m_pConn, 2), long(kTotal));
	EXPECT_EQ(Last(UltNrDoc(*m_pConn, kYear, 0)), long(kTotal));
}

// Another workstation is writing the counter row (creating it, or taking the next value) and
// commits a moment later: the value is taken after its commit and from its result, never from
// the row as it was before.
TEST_F(CountersUnderLoad, TakingWaitsForAnotherWorkstationsWrite)
{
	const std::string kind = std::to_string(Specie(2).GetValue()), type = std::to_string(TipoDoc(0).GetValue());
	// On a server the identifier's row lock sees the other workstation writing the row: it is
	// waited for, as SQLite's write lock waits.
	struct Case
	{
		const char* what;
		std::string preset;
		std::string otherWrite;
		bool number;
		const char* expected;
	} cases[] = {
		{"identifier, row created meanwhile", "", "INSERT INTO Kvz_IDDocumenti VALUES (" + kind + ", 5)", false, "6"},
		{"identifier, row advanced meanwhile", "INSERT INTO Kvz_IDDocumenti VALUES (" + kind + ", 10)",
		 "UPDATE Kvz_IDDocumenti SET UltimoID = 11", false, "12"},
		{"number, row created meanwhile", "",
		 "INSERT INTO Kvz_NumDocumenti VALUES (2025, " + type + ", '2025-01-01', 41)", true, "00000042"},
	};
	const std::string path = Target("azienda.db").str();
	for (auto& c : cases)
	{
		SCOPED_TRACE(c.what);
		m_pConn->ExecuteSQL("DELETE FROM Kvz_IDDocumenti");
		m_pConn->ExecuteSQL("DELETE FROM Kvz_NumDocumenti");
		if (!c.preset.empty())
			m_pConn->ExecuteSQL(c.preset.c_str());

		auto other = SqlConnection::Open(CString(path));
		other->BeginTransaction();
		other->ExecuteSQL(c.otherWrite.c_str());
		std::thread commitLater([&] {
			std::this_thread::sleep_for(std::chrono::milliseconds(300));
			other->CommitTransaction();
		});
		CBaseDocument doc;
		std::string taken = "refused";
		if (c.number)
		{
			Kvz_NumNonFiscManager nums(TipoDoc(0), &doc);
			DataStr n;
			if (nums.OttieniProssimoNumero(DataDate(1, 7, kYear), n))
				taken = n.GetString().str();
		}
		else
		{
			Kvz_IDManager ids(Specie(2), &doc);
			DataLng id;
			if (ids.GetNextID(id))
				taken = std::to_string(long(id));
		}
		commitLater.join();
		EXPECT_EQ(taken, c.expected);
	}
}
