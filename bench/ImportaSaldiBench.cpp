// The ledger-balance import of a year of the demo company at scale 10: the first import into
// empty module tables and an import of the same month again, in host accounts per second,
// against reading the same host balances and cost-accounting entries with one query each.
// Prints the ratios (import / one-query reading) at the end.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "bench/DemoBench.h"
#include "kvznet/kvzmod/kvzdbl/KvzDblInterface.h"
#include "kvznet/kvzmod/kvzbatch/ImportaSaldi.h"
#include "kvznet/kvzmod/kvzbatch/InitRaggruppPdC.h"
#include "platform/erp/erpdemo/DemoCompany.h"
#include "platform/erp/erpledgerdbl/TBalances.h"
#include "platform/erp/erpledgerdbl/TCostAccEntriesDetail.h"
#include "platform/erp/erpsetup/CompanySetup.h"
#include "platform/plvgenlib/AddOnInterfaceObj.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvges/FormDriver.h"

namespace {
std::unique_ptr<SqlConnection> g_pConn;
int g_Anno = 0;

// Progress and messages go nowhere: the terminal would be the measure.

void SvuotaModulo()
{
	for (const char* table : {"Kvz_AnagConti", "Kvz_CentriCommPianoConti", "Kvz_PianoBaseT", "Kvz_PianoBaseR",
							  "Kvz_PianoBaseRDett", "Kvz_IDDocumenti", "Kvz_NumDocumenti"})
		g_pConn->ExecuteSQL(CString::Formatted("DELETE FROM %s", table));
}

long Importa(bool bPrevisionale = false)
{
	CDocumentSet docs;
	FormDriver form(FormDriver::Open(docs, RUNTIME_CLASS(Kvz_CImportaSaldiDoc), RUNTIME_CLASS(CBatchFrame),
									 RUNTIME_CLASS(Kvz_CImportaSaldiView)));
	form.Type("Importazione saldi fino al mese:", "12");
	form.Type("anno:", CString::Formatted("%d", g_Anno));
	if (bPrevisionale)
		form.Press("Anche contabilita' previsionale");
	if (!form.RunBatch())
		return -1;
	return static_cast<Kvz_CImportaSaldiDoc*>(form.GetDocument())->GetContiElaborati();
}

void BM_ImportaSaldi_Prima(benchmark::State& state)
{
	long conti = 0;
	for (auto _ : state)
	{
		state.PauseTiming();
		SvuotaModulo();
		state.ResumeTiming();
		conti = Importa(state.range(0) != 0);
		if (conti <= 0)
			state.SkipWithError("import failed");
	}
	state.counters["conti"] = static_cast<double>(conti);
	state.counters["conti/s"] = benchmark::Counter(static_cast<double>(conti) * static_cast<double>(state.iterations()),
												   benchmark::Counter::kIsRate);
}
// Argument 1: the forecast ledger too.
BENCHMARK(BM_ImportaSaldi_Prima)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);

void BM_ImportaSaldi_Ripetuta(benchmark::State& state)
{
	if (Importa() <= 0)
		state.SkipWithError("import failed");
	long conti = 0;
	for (auto _ : state)
		conti = Importa();
	state.counters["conti"] = static_cast<double>(conti);
	state.counters["conti/s"] = benchmark::Counter(static_cast<double>(conti) * static_cast<double>(state.iterations()),
												   benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ImportaSaldi_Ripetuta)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);

// The baseline: the year's ledger balances and its cost-accounting entries, each read whole by
// one query through the same cursors.
void BM_LetturaHostUnaQuery(benchmark::State& state)
{
	long righe = 0;
	for (auto _ : state)
	{
		righe = 0;
		TChartOfAccountsBalances saldo;
		SqlTable saldi(&saldo);
		saldi.Open(FALSE);
		saldi.SelectAll();
		saldi.AddParam("p1", saldo.f_FiscalYear);
		saldi.AddFilterColumn(saldo.f_FiscalYear);
		saldi.SetParamValue("p1", DataInt(g_Anno));
		for (saldi.Query(); !saldi.IsEOF(); saldi.MoveNext())
			++righe;
		saldi.Close();
		TCostAccEntriesDetail mov;
		SqlTable movimenti(&mov);
		movimenti.Open(FALSE);
		movimenti.SelectAll();
		movimenti.AddParam("p1", mov.f_PostingDate);
		movimenti.AddFilterColumn(mov.f_PostingDate, ">=");
		movimenti.AddParam("p2", mov.f_PostingDate);
		movimenti.AddFilterColumn(mov.f_PostingDate, "<=");
		movimenti.SetParamValue("p1", DataDate(1, 1, g_Anno));
		movimenti.SetParamValue("p2", DataDate(31, 12, g_Anno));
		for (movimenti.Query(); !movimenti.IsEOF(); movimenti.MoveNext())
			++righe;
		movimenti.Close();
	}
	state.counters["righe"] = static_cast<double>(righe);
}
BENCHMARK(BM_LetturaHostUnaQuery)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);

class RatioReporter : public benchmark::ConsoleReporter
{
public:
	void ReportRuns(const std::vector<Run>& runs) override
	{
		for (auto& r : runs)
			if (!r.error_occurred && r.iterations > 0 && r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
				m_Seconds[r.run_name.function_name + (r.run_name.args.empty() ? "" : "/" + r.run_name.args)] =
					r.real_accumulated_time / double(r.iterations);
		ConsoleReporter::ReportRuns(runs);
	}
	void PrintRatios() const
	{
		auto base = m_Seconds.find("BM_LetturaHostUnaQuery");
		if (base == m_Seconds.end())
			return;
		for (const char* name : {"BM_ImportaSaldi_Prima/0", "BM_ImportaSaldi_Prima/1", "BM_ImportaSaldi_Ripetuta"})
			if (auto it = m_Seconds.find(name); it != m_Seconds.end())
				std::printf("%s: %.2f s, %.1f times reading the host's balances and entries with one query each (%.3f s)\n",
							name, it->second, it->second / base->second, base->second);
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
	const auto folder = std::filesystem::temp_directory_path() / ("kvz-bench-importa-" + std::to_string(::getpid()));
	std::filesystem::create_directories(folder);
	kvzbench::Silent silent;
	InteractionScope scope(&silent);
	{
		erp::DemoCompanySummary demo;
		if (!kvzbench::ApriDemo(g_pConn, folder, 10, demo))
			return 1;
		g_Anno = demo.lastYear;
		// A year as users keep it: a monthly spread of the adjustments of every account proposed in
		// them, and base-plan symbols that name every other grouped account.
		g_pConn->ExecuteSQL(CString::Formatted(
			"WITH m(n) AS (VALUES (1), (2), (3), (4), (5), (6), (7), (8), (9), (10), (11), (12)) "
			"INSERT INTO Kvz_RipartizioniAssestamento (ContoKvz, Anno, Mese, Percentuale, Dati, Rateo) "
			"SELECT r.Conto, %d, m.n, 8.33, 0, 100 FROM Kvz_RaggruppPdC r, m WHERE r.ProponiInAssestamento <> 0",
			g_Anno));
		g_pConn->ExecuteSQL(CString::Formatted(
			"INSERT INTO Kvz_ElencoContiSimboloPBase (Esercizio, ModelloRiclassific, NomeSimbolo, ContoSelez) "
			"SELECT %d, 'M1', 'S' || rowid, Conto FROM Kvz_RaggruppPdC WHERE rowid %% 2 = 0",
			g_Anno));
		std::printf("Demo company at scale 10: %ld accounts, %ld cost-accounting entries, year %d\n", demo.accounts,
					demo.entries, g_Anno);

		RatioReporter reporter;
		benchmark::RunSpecifiedBenchmarks(&reporter);
		reporter.PrintRatios();
		AfxSetDefaultSqlConnection(nullptr);
		g_pConn.reset();
	}
	std::filesystem::remove_all(folder);
	benchmark::Shutdown();
	return 0;
}
