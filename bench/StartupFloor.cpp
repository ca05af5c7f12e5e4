// The floor of a kvz process's start: a program that opens the company database and reads one
// row, through the plain sqlite3 C API (or libpq for a server), and ends.
//   kvz_bench_startup_floor FILE | URI
#include <libpq-fe.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
	if (argc != 2)
		return 2;
	if (std::strncmp(argv[1], "postgres", 8) == 0)
	{
		PGconn* conn = PQconnectdb(argv[1]);
		PGresult* r = PQexec(conn, "SELECT 1");
		const bool ok = PQresultStatus(r) == PGRES_TUPLES_OK;
		PQclear(r);
		PQfinish(conn);
		return ok ? 0 : 1;
	}
	sqlite3* db = nullptr;
	if (sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
		return 1;
	sqlite3_stmt* st = nullptr;
	int n = -1;
	if (sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_master", -1, &st, nullptr) == SQLITE_OK &&
		sqlite3_step(st) == SQLITE_ROW)
		n = sqlite3_column_int(st, 0);
	sqlite3_finalize(st);
	sqlite3_close(db);
	std::printf("%d\n", n);
	return n >= 0 ? 0 : 1;
}
