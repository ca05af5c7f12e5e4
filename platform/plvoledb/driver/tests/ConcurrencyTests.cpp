#include "platform/plvoledb/driver/Sqlite.h"
#include "platform/plvoledb/driver/tests/TempDir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <numeric>

namespace plv::db {
namespace {

using testing::TempDir;

TEST(SqliteConcurrency, WriterWaitsForTheBusyTimeoutThenReportsBusy) {
    TempDir dir;
    const std::string path = dir.File("shared.db");
    auto first = OpenSqlite(path, OpenMode::CreateIfMissing);
    first->Execute("CREATE TABLE t(x)");
    auto second = OpenSqlite(path, OpenMode::OpenExisting, {.busyTimeoutMs = 100});

    first->Begin();
    first->Execute("INSERT INTO t VALUES (1)");
    const std::function<void()> writes[] = {
        [&] { second->Begin(); },
        [&] { second->Execute("INSERT INTO t VALUES (2)"); },
    };
    for (const auto& write : writes) {
        const auto start = std::chrono::steady_clock::now();
        try {
            write();
            FAIL() << "wrote while another connection held the write lock";
        } catch (const DbError& e) {
            EXPECT_TRUE(e.IsBusy()) << e.what();
        }
        const auto waited = std::chrono::steady_clock::now() - start;
        EXPECT_GE(waited, std::chrono::milliseconds(80));
        EXPECT_LT(waited, std::chrono::seconds(2));
        EXPECT_FALSE(second->InTransaction());
    }
    // Readers are not blocked by the writer and see the last commit.
    auto count = second->Prepare("SELECT count(*) FROM t");
    ASSERT_TRUE(count->Step());
    EXPECT_EQ(count->Column(0), Value(int64_t{0}));
    count->Reset();  // an unfinished query pins its snapshot and would keep second from writing

    first->Commit();
    second->Begin();
    second->Execute("INSERT INTO t VALUES (2)");
    second->Commit();
    count->Reset();
    ASSERT_TRUE(count->Step());
    EXPECT_EQ(count->Column(0), Value(int64_t{2}));
}

// Child side: draws values from the shared counter and writes each to fd. Returns the exit code.
int DrawValues(const std::string& path, int draws, int fd) {
    try {
        auto db = OpenSqlite(path, OpenMode::OpenExisting, {.busyTimeoutMs = 10000});
        auto read = db->Prepare("SELECT value FROM counter WHERE id = 1");
        auto write = db->Prepare("UPDATE counter SET value = ? WHERE id = 1");
        for (int i = 0; i < draws; ++i) {
            db->Begin();
            if (!read->Step()) return 2;
            const int64_t value = std::get<int64_t>(read->Column(0)) + 1;
            read->Reset();
            write->Bind(1, value);
            write->Step();
            db->Commit();
            if (::write(fd, &value, sizeof value) != sizeof value) return 3;
        }
        return 0;
    } catch (const std::exception&) {
        return 1;
    }
}

TEST(SqliteConcurrency, ProcessesDrawDistinctCounterValues) {
    constexpr int kChildren = 3;
    constexpr int kDraws = 200;
    TempDir dir;
    const std::string path = dir.File("counter.db");
    // Closed before fork: a connection must not be shared across processes.
    OpenSqlite(path, OpenMode::CreateIfMissing)
        ->Execute("CREATE TABLE counter(id INTEGER PRIMARY KEY, value INTEGER NOT NULL);"
                  "INSERT INTO counter VALUES (1, 0)");

    std::vector<pid_t> children;
    std::vector<int> pipes;
    for (int k = 0; k < kChildren; ++k) {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(fds[0]);
            _exit(DrawValues(path, kDraws, fds[1]));
        }
        close(fds[1]);
        children.push_back(pid);
        pipes.push_back(fds[0]);
    }

    std::vector<int64_t> drawn;
    for (int fd : pipes) {
        int64_t value;
        while (read(fd, &value, sizeof value) == sizeof value) drawn.push_back(value);
        close(fd);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
    }

    std::sort(drawn.begin(), drawn.end());
    std::vector<int64_t> expected(kChildren * kDraws);
    std::iota(expected.begin(), expected.end(), 1);
    EXPECT_EQ(drawn, expected);  // every value handed out exactly once, none skipped

    auto db = OpenSqlite(path, OpenMode::OpenExisting);
    auto final = db->Prepare("SELECT value FROM counter");
    ASSERT_TRUE(final->Step());
    EXPECT_EQ(final->Column(0), Value(int64_t{kChildren * kDraws}));
}

}  // namespace
}  // namespace plv::db
