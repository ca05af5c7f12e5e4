// The adjustment rebuild of a year of the demo company at scale 10 after the ledger import (linked
// balance-sheet accounts, upper levels with the backup, unused cost centres and jobs), against one
// UPDATE of the same year's rows in the same run. Run from a Release build:
//   build-release/bin/kvz_bench_ricostruzassestamento
// The ratio is printed at the end.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>

#include "bench/DemoBench.h"
#include "kvznet/kvzmod/kvzdocuments/Kvz_CRicostruzAssestamentoDoc.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvoledb/driver/Driver.h"

namespace {
std::unique_ptr<SqlConnection> g_pConn;
int g_Anno = 0;
long g_Righe = 0;

void BM_Ricostruzione(benchmark::State& state)
{
	for (auto _ : state)
	{
		CDocumentSet docs;
		FormDriver form(FormDriver::Open(docs, RUNTIME_CLASS(Kvz_CRicostruzAssestamentoDoc), RUNTIME_CLASS(CBatchFrame),
										 RUNTIME_CLASS(Kvz_CRicostruzAssestamentoView)));
		form.Type("Per l'esercizio:", CString::Formatted("%d", g_Anno));
		if (state.range(0))
			form.Press("Annulla dal piano dei conti KVZ i centri e le commesse non utilizzati, non ripartiti e non "
					   "assestatii");
		if (!form.RunBatch() || form.Text("Stato elaborazione") != "Elaborazione terminata.")
			state.SkipWithError("the rebuild failed");
		form.Close();
	}
	state.counters["righe"] = static_cast<double>(g_Righe);
}
BENCHMARK(BM_Ricostruzione)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);

// The baseline: every row of the year written once, in one statement and one transaction.
void BM_UnUpdate(benchmark::State& state)
{
	for (auto _ : state)
	{
		g_pConn->BeginTransaction();
		g_pConn->ExecuteSQL(CString::Formatted("UPDATE Kvz_PianoBaseR SET BkpSaldoContabile = SaldoContabile, "
											   "BkpImportoRateo = ImportoRateo, BkpTotaleAssestato = TotaleAssestato "
											   "WHERE Esercizio = %d",
											   g_Anno));
		g_pConn->CommitTransaction();
	}
	state.counters["righe"] = static_cast<double>(g_Righe);
}
BENCHMARK(BM_UnUpdate)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);

class RatioReporter : public benchmark::ConsoleReporter
{
public:
	void ReportRuns(const std::vector<Run>& runs) override
	{
		for (auto& r : runs)
			if (!r.error_occurred && r.iterations > 0 && r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
				m_Seconds[r.run_name.function_name + (r.run_name.args.empty() ? "" : "/" + r.run_name.args)] = r.real_accumulated_time / double(r.iterations);
		ConsoleReporter::ReportRuns(runs);
	}
	void PrintRatio() const
	{
		auto base = m_Seconds.find("BM_UnUpdate");
		if (base == m_Seconds.end())
			return;
		for (auto& [nome, secondi] : m_Seconds)
			if (nome != base->first)
				std::printf("%s: %.3f s, %.1f times one UPDATE of the year's %ld rows (%.3f s)\n", nome.c_str(), secondi,
							secondi / base->second, g_Righe, base->second);
	}

private:
	std::map<std::string, double> m_Seconds;
};
}  // namespace

int main(int argc, char** argv)
{
	benchmark::Initialize(&argc, argv);
	if (benchmark::ReportUnrecognizedArguments(argc, argv))
		return 1;
	const auto folder =
		std::filesystem::temp_directory_path() / ("kvz-bench-ricostruz-" + std::to_string(::getpid()));
	std::filesystem::create_directories(folder);
	kvzbench::Silent silent;
	InteractionScope scope(&silent);
	{
		erp::DemoCompanySummary demo;
		if (!kvzbench::ApriDemo(g_pConn, folder, 10, demo))
			return 1;
		g_Anno = demo.lastYear;
		if (!kvzbench::ImportaAnno(g_Anno))
			return 1;
		AfxSetApplicationDate(DataDate(31, 12, g_Anno));
		auto st = g_pConn->Db().Prepare(CString::Formatted("SELECT COUNT(*) FROM Kvz_PianoBaseR WHERE Esercizio = %d",
														  g_Anno).str());
		if (st->Step())
			g_Righe = static_cast<long>(std::get<std::int64_t>(st->Column(0)));
		st.reset();
		std::printf("Demo company at scale 10, year %d: %ld base-plan rows\n", g_Anno, g_Righe);
		RatioReporter reporter;
		benchmark::RunSpecifiedBenchmarks(&reporter);
		reporter.PrintRatio();
		AfxSetDefaultSqlConnection(nullptr);
		g_pConn.reset();
	}
	std::filesystem::remove_all(folder);
	benchmark::Shutdown();
	return 0;
}
