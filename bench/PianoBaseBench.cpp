// Base-plan symbols of the demo company at scale 10 after the ledger-balance import: one
// symbol per account of the base plan (the year's balance per month), valued by a fresh
// engine, against the same totals computed by one hand-written GROUP BY in the same run.
// Run from a Release build:
//   build-release/bin/kvz_bench_pianobase
// items_per_second is symbols valued per second; the ratio is printed at the end.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/DemoBench.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliPianoBase.h"
#include "kvznet/kvzmod/kvzdocuments/MngFormula.h"
#include "platform/erp/erpdemo/DemoCompany.h"
#include "platform/erp/erpsetup/CompanySetup.h"
#include "platform/plvgenlib/AddOnInterfaceObj.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvges/FormDriver.h"

namespace {
std::unique_ptr<SqlConnection> g_pConn;
int g_Anno = 0;
std::vector<CString> g_Conti;


void BM_SimboliPianoBase(benchmark::State& state)
{
	Kvz_TSimboliPianoBase def;
	def.f_Esercizio = g_Anno;
	def.f_ModelloRiclassific = "MOD";
	def.f_SelSaldo = TRUE;
	def.f_TipoOpeConto = DataEnum(E_KVZ_TIPOOPECONTO, 0);
	double totale = 0;
	for (auto _ : state)
	{
		CMessages messaggi;
		Kvz_New_MngFormula motore(&messaggi, nullptr);
		motore.AttachDefault(DataInt(g_Anno), DataInt(1), DataInt(12), DataStr("MOD"), DataEnum(E_KVZ_TIPODATOPBASE, 0),
							 DataEnum());
		for (const CString& conto : g_Conti)
		{
			def.f_NomeSimbolo = conto;
			def.f_ValDaConto = conto;
			if (!motore.ValorizzaPianoBase("_" + conto, &def))
			{
				state.SkipWithError("valuation failed");
				return;
			}
		}
		benchmark::DoNotOptimize(totale);
	}
	state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * g_Conti.size()));
	state.counters["simboli"] = static_cast<double>(g_Conti.size());
}
BENCHMARK(BM_SimboliPianoBase)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(5);

// The baseline: the monthly totals of every account of the year in one query.
void BM_UnGroupBy(benchmark::State& state)
{
	long righe = 0;
	for (auto _ : state)
	{
		std::map<std::string, double> totali;
		righe = kvzbench::LeggiTotaliPianoBase(g_Anno, totali);
		benchmark::DoNotOptimize(totali);
	}
	state.counters["righe"] = static_cast<double>(righe);
}
BENCHMARK(BM_UnGroupBy)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(5);

class RatioReporter : public benchmark::ConsoleReporter
{
public:
	void ReportRuns(const std::vector<Run>& runs) override
	{
		for (auto& r : runs)
			if (!r.error_occurred && r.iterations > 0 && r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
				m_Seconds[r.run_name.function_name] = r.real_accumulated_time / double(r.iterations);
		ConsoleReporter::ReportRuns(runs);
	}
	void PrintRatio() const
	{
		auto base = m_Seconds.find("BM_UnGroupBy");
		auto it = m_Seconds.find("BM_SimboliPianoBase");
		if (base != m_Seconds.end() && it != m_Seconds.end())
			std::printf("%zu symbols: %.3f s, %.2f times one GROUP BY of the same totals (%.3f s)\n", g_Conti.size(),
						it->second, it->second / base->second, base->second);
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
	const auto folder = std::filesystem::temp_directory_path() / ("kvz-bench-pianobase-" + std::to_string(::getpid()));
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
		g_Conti = kvzbench::ContiPianoBase(g_Anno);
		std::printf("Demo company at scale 10, year %d: %zu base-plan accounts\n", g_Anno, g_Conti.size());

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
