// The explosion of the demo company's widest formula at scale 10: a model row over two list
// symbols that name every grouped account of the year between them (one half of them subtracted),
// exploded and valued for December through the model document, against valuing the same accounts
// with one grouped query per account, as a query per part would. Prints the ratio at the end.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "bench/DemoBench.h"
#include "kvznet/kvzmod/kvzdocuments/Kvz_CDeRiclassificazioniDoc.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Settings.h"
#include "platform/plvgenlib/CParsedForm.h"

namespace {
std::unique_ptr<SqlConnection> g_pConn;
int g_Anno = 0;
long g_Conti = 0;

void BM_EsplosioneFormula(benchmark::State& state)
{
	CDocumentSet docs;
	FormDriver form(FormDriver::Open(docs, RUNTIME_CLASS(Kvz_CDeRiclassificazioniDoc),
									 RUNTIME_CLASS(Kvz_CDeRiclassificazioniFrame), RUNTIME_CLASS(Kvz_CDeRiclassificazioniView),
									 CPLVNamespace("KvzNet.KvzMod.KvzDocuments.DModelliRiclassific")));
	form.Find();
	form.Type("ModelloRiclassific", "CE");
	if (!form.Save() || !form.SelectRow("Righe riclassificazioni", 0))
	{
		state.SkipWithError("model CE not found");
		return;
	}
	auto* pDoc = static_cast<Kvz_CDeRiclassificazioniDoc*>(form.GetDocument());
	size_t parti = 0;
	for (auto _ : state)
	{
		FormDriver::AnswerDialog([](FormDriver& dlg) { return dlg.Press("Saldo") && dlg.Type("Mese:", "12") ? IDOK : IDCANCEL; });
		form.Command("Esplosione");
		parti = 0;
		for (const auto& r : pDoc->m_RigheEsplosione)
			parti += r.Dettagli.size();
	}
	if (parti == 0)
		state.SkipWithError("nothing exploded");
	state.counters["parti"] = double(parti);
}
BENCHMARK(BM_EsplosioneFormula)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);

// The baseline: each account of the symbols valued by a grouped query of its own.
void BM_UnaQueryPerConto(benchmark::State& state)
{
	const std::vector<CString> conti = kvzbench::ContiPianoBase(g_Anno);
	double totale = 0;
	for (auto _ : state)
	{
		Kvz_TPianoBaseRighe r;
		SqlTable t(&r);
		t.Open(FALSE);
		DataInt mese;
		DataDbl saldo;
		t.SelectSqlFun("\"Mese\"", mese);
		t.SelectSqlFun("SUM(\"SaldoContabile\")", saldo);
		t.AddParam("pEs", r.f_Esercizio);
		t.AddFilterColumn(r.f_Esercizio);
		t.AddParam("pComm", r.f_CentroCommessa);
		t.AddFilterColumn(r.f_CentroCommessa);
		t.AddParam("pConto", r.f_ContoKvz);
		t.AddFilterColumn(r.f_ContoKvz);
		t.m_strGroupBy = "\"Mese\"";
		t.SetParamValue("pEs", DataInt(g_Anno));
		t.SetParamValue("pComm", DataStr(""));
		for (const CString& c : conti)
		{
			t.SetParamValue("pConto", DataStr(c));
			for (t.Query(); !t.IsEOF(); t.MoveNext())
				totale += saldo.GetValue();
		}
		t.Close();
	}
	benchmark::DoNotOptimize(totale);
	state.counters["conti"] = double(conti.size());
}
BENCHMARK(BM_UnaQueryPerConto)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);

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
	void PrintRatios() const
	{
		auto a = m_Seconds.find("BM_EsplosioneFormula");
		auto b = m_Seconds.find("BM_UnaQueryPerConto");
		if (a != m_Seconds.end() && b != m_Seconds.end())
			std::printf("Explosion of %ld accounts: %.3f s; one query per account alone: %.3f s (%.1f times the "
						"whole explosion)\n",
						g_Conti, a->second, b->second, b->second / a->second);
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
	const auto folder = std::filesystem::temp_directory_path() / ("kvz-bench-esplosione-" + std::to_string(::getpid()));
	std::filesystem::create_directories(folder);
	AfxSetSettingsRoot(CString((folder / "settings").string()));
	kvzbench::Silent silent;
	InteractionScope scope(&silent);
	{
		erp::DemoCompanySummary demo;
		if (!kvzbench::ApriDemo(g_pConn, folder, 10, demo))
			return 1;
		g_Anno = demo.lastYear;
		AfxSetApplicationDate(DataDate(31, 12, g_Anno));
		if (!kvzbench::ImportaAnno(g_Anno))
			return 1;
		// Two list symbols over every account of the base plan, a model row that adds them.
		const unsigned tipo = DataEnum(E_KVZ_TIPOSIMBOLO, 0).GetValue();
		const unsigned elenco = DataEnum(E_KVZ_TIPOOPECONTO, 8).GetValue();
		for (const char* s : {"PARI", "DISPARI"})
		{
			g_pConn->ExecuteSQL(CString::Formatted("INSERT INTO Kvz_AnagSimboli (Esercizio, ModelloRiclassific, NomeSimbolo, "
												   "TipoSimbolo) VALUES (%d, 'CE', '%s', %u)",
												   g_Anno, s, tipo));
			g_pConn->ExecuteSQL(CString::Formatted("INSERT INTO Kvz_SimboliPianoBase (Esercizio, ModelloRiclassific, "
												   "NomeSimbolo, SelSaldo, TipoOpeConto) VALUES (%d, 'CE', '%s', 1, %u)",
												   g_Anno, s, elenco));
		}
		g_pConn->ExecuteSQL(CString::Formatted(
			"INSERT INTO Kvz_ElencoContiSimboloPBase (Esercizio, ModelloRiclassific, NomeSimbolo, ContoSelez, SegnoConto) "
			"SELECT %d, 'CE', CASE WHEN rowid %% 2 = 0 THEN 'PARI' ELSE 'DISPARI' END, ContoKvz, %u FROM "
			"(SELECT ContoKvz, MIN(rowid) AS rowid FROM Kvz_PianoBaseR WHERE Esercizio = %d GROUP BY ContoKvz)",
			g_Anno, DataEnum(E_KVZ_SEGNOCONTO, 0).GetValue(), g_Anno));
		g_pConn->ExecuteSQL(CString::Formatted("INSERT INTO Kvz_RiclassificazioneTesta (Esercizio, ModelloRiclassific, "
											   "Descrizione, Priorita) VALUES (%d, 'CE', 'Conto economico', 1)",
											   g_Anno));
		g_pConn->ExecuteSQL(CString::Formatted("INSERT INTO Kvz_RiclassificazioneRighe (Esercizio, ModelloRiclassific, "
											   "CodRiclassificato, Posizione, Descrizione, Formula) VALUES (%d, 'CE', "
											   "'TOT', 1, 'Totale', '_PARI - _DISPARI')",
											   g_Anno));
		g_Conti = static_cast<long>(kvzbench::ContiPianoBase(g_Anno).size());
		std::printf("Demo company at scale 10, year %d: %ld accounts in the formula\n", g_Anno, g_Conti);
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
