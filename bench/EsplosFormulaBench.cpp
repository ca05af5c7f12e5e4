// The explosion of a wide formula on the demo company at scale 10: a model row over two list
// symbols that name every grouped account of the year between them (one half of them
// subtracted), exploded for December. The same flat list is valued twice in the same run: by the
// model document, with one grouped query per symbol, and here the old way, with a grouped query
// per part (an account, or a cost centre or job with its ledger kinds). Prints both and the ratio.
// KVZ_BENCH_PG (an empty database on a server) runs it there instead of in a file.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bench/DemoBench.h"
#include "kvznet/kvzmod/kvzdbl/KvzDblInterface.h"
#include "kvznet/kvzmod/kvzdocuments/formule/EsplodiFormulaDescr.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CDeRiclassificazioniDoc.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Settings.h"
#include "platform/erp/erpsetup/CompanySetup.h"
#include "platform/plvgenlib/AddOnInterfaceObj.h"
#include "platform/plvgenlib/CParsedForm.h"

namespace {
std::unique_ptr<SqlConnection> g_pConn;
int g_Anno = 0;
const int kMese = 12;
Kvz_CDeRiclassificazioniDoc* g_pDoc = nullptr;
std::unique_ptr<Kvz_EsplodiFormulaDescr> g_pEsplosione;
CStringArray g_Righe;
size_t g_Parti = 0;
// The month and progressive each way gave, summed over every part: the two must agree.
std::pair<double, double> g_Raggruppata, g_PerParte;

void Esplodi()
{
	g_Righe.RemoveAll();
	g_pEsplosione = std::make_unique<Kvz_EsplodiFormulaDescr>(nullptr, &g_Righe);
	g_pEsplosione->AttachDefault(DataInt(g_Anno), DataInt(kMese), DataStr("CE"), DataEnum(E_KVZ_TIPODATOPBASE, 0),
								 DataEnum());
	g_pEsplosione->AttachFormula("_PARI - _DISPARI");
	g_pEsplosione->Eval();
}

// The part common to both ways: the flat list with its descriptions and detail lines.
void BM_ListaEDescrizioni(benchmark::State& state)
{
	for (auto _ : state)
		Esplodi();
}
BENCHMARK(BM_ListaEDescrizioni)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);

// The document's valuation: one grouped query per base-plan symbol.
void BM_ValoriUnaQueryPerSimbolo(benchmark::State& state)
{
	for (auto _ : state)
	{
		g_pDoc->m_RigheEsplosione.clear();
		g_pDoc->ValutaEsplosione(g_pEsplosione->GetFlat());
	}
	g_Raggruppata = {};
	g_Parti = 0;
	for (const auto& r : g_pDoc->m_RigheEsplosione)
		for (const auto& d : r.Dettagli)
		{
			g_Raggruppata.first += d.Importi[0].GetValue();
			g_Raggruppata.second += d.Importi[1].GetValue();
			++g_Parti;
		}
	if (g_Parti == 0)
		state.SkipWithError("nothing exploded");
	state.counters["parti"] = double(g_Parti);
}
BENCHMARK(BM_ValoriUnaQueryPerSimbolo)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);

// The old way over the same flat list: each part of a base-plan symbol read by a grouped query
// of its own, an account's rows without centre by month, a centre's or job's by ledger kind and
// month; the month value and the progressive from January taken from its rows.
void BM_ValoriUnaQueryPerParte(benchmark::State& state)
{
	const Kvz_FormulaFlat& flat = g_pEsplosione->GetFlat();
	for (auto _ : state)
	{
		Kvz_TPianoBaseRighe r;
		SqlTable conti(&r), centri(&r);
		DataInt mese;
		DataLng mastro;
		DataDbl saldo;
		for (SqlTable* t : {&conti, &centri})
		{
			t->Open(FALSE);
			t->SelectSqlFun("\"Mese\"", mese);
			t->SelectSqlFun("\"TipoMastro\"", mastro);
			t->SelectSqlFun("SUM(\"SaldoContabile\")", saldo);
			t->AddParam("pEs", r.f_Esercizio);
			t->AddFilterColumn(r.f_Esercizio);
			t->AddParam("pMeseDa", r.f_Mese);
			t->AddParam("pMeseA", r.f_Mese);
			t->AddBetweenColumn(r.f_Mese);
			t->AddParam("pComm", r.f_CentroCommessa);
			t->AddFilterColumn(r.f_CentroCommessa);
			t->SetParamValue("pEs", DataInt(g_Anno));
			t->SetParamValue("pMeseDa", DataInt(1));
			t->SetParamValue("pMeseA", DataInt(kMese));
		}
		conti.AddParam("pConto", r.f_ContoKvz);
		conti.AddFilterColumn(r.f_ContoKvz);
		conti.m_strGroupBy = "\"Mese\", \"TipoMastro\"";
		conti.SetParamValue("pComm", DataStr(""));
		centri.m_strGroupBy = "\"Mese\", \"TipoMastro\"";
		g_PerParte = {};
		for (int i = 0; i < flat.GetSize(); ++i)
		{
			const Kvz_FormulaFlatElem& e = *flat.GetElem(i);
			if (e.m_bTesto || e.m_Tipo.GetItemValue() != 0)
				continue;
			for (int k = 0; k < e.m_Dettagli.GetSize(); ++k)
			{
				const Kvz_FormulaFlatElem& d = *e.m_Dettagli.GetElem(k);
				if (d.m_Testo.IsEmpty())
					continue;
				const bool bCentro = d.m_Tipo.GetItemValue() == 5;
				SqlTable& t = bCentro ? centri : conti;
				if (bCentro)
					t.SetParamValue("pComm", d.m_Testo);
				else
					t.SetParamValue("pConto", d.m_Testo);
				for (t.Query(); !t.IsEOF(); t.MoveNext())
				{
					// A centre over every account counts ledger kinds 4 and 0 against the others.
					const int natura = int(mastro.GetValue() & 0xFFFF);
					const double v = bCentro && (natura == 4 || natura == 0) ? -saldo.GetValue() : saldo.GetValue();
					if (mese.GetValue() == kMese)
						g_PerParte.first += v;
					g_PerParte.second += v;
				}
			}
		}
		conti.Close();
		centri.Close();
	}
}
BENCHMARK(BM_ValoriUnaQueryPerParte)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);

// The whole command, dialog to rows, as a user runs it.
void BM_ComandoEsplosione(benchmark::State& state)
{
	FormDriver form(g_pDoc);
	for (auto _ : state)
	{
		FormDriver::AnswerDialog([](FormDriver& dlg) { return dlg.Press("Saldo") && dlg.Type("Mese:", "12") ? IDOK : IDCANCEL; });
		form.Command("Esplosione");
	}
	if (g_pDoc->m_RigheEsplosione.empty())
		state.SkipWithError("nothing exploded");
}
BENCHMARK(BM_ComandoEsplosione)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);

// The demo company built in an empty database on a server (KVZ_BENCH_PG), where every query
// is a round trip; false (said) when it cannot be made.
bool ApriDemoSuServer(const char* szTarget, erp::DemoCompanySummary& demo)
{
	g_pConn = SqlConnection::Open(szTarget, SqlConnection::OPEN_EXISTING);
	if (!g_pConn)
	{
		std::fprintf(stderr, "cannot open %s\n", szTarget);
		return false;
	}
	AfxSetDefaultSqlConnection(g_pConn.get());
	std::unique_ptr<AddOnInterfaceObj> pAddOn(KvzDblAddOnInterface());
	CPLVNamespace ns("KvzNet.KvzMod.KvzDbl");
	if (!pAddOn || !pAddOn->AOI_RegisterTables(g_pConn.get(), "", &ns))
	{
		std::fprintf(stderr, "cannot register the module's tables\n");
		return false;
	}
	erp::SetupCompanyDatabase(*g_pConn);
	demo = erp::CreateDemoCompany(*g_pConn, 10);
	CDocumentSet docs;
	FormDriver init(FormDriver::Open(docs, RUNTIME_CLASS(Kvz_CInitRaggruppPdCDoc), RUNTIME_CLASS(CBatchFrame),
									 RUNTIME_CLASS(Kvz_CInitRaggruppPdCView)));
	return init.RunBatch() != FALSE;
}

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
		auto lista = m_Seconds.find("BM_ListaEDescrizioni");
		auto simbolo = m_Seconds.find("BM_ValoriUnaQueryPerSimbolo");
		auto parte = m_Seconds.find("BM_ValoriUnaQueryPerParte");
		if (lista == m_Seconds.end() || simbolo == m_Seconds.end() || parte == m_Seconds.end())
			return;
		std::printf("Values of %zu parts: one query per symbol %.3f s, one query per part %.3f s (%.1f times as "
					"long)\n",
					g_Parti, simbolo->second, parte->second, parte->second / simbolo->second);
		std::printf("Whole explosion (list and descriptions %.3f s included): %.3f s against %.3f s (%.1f times as "
					"long)\n",
					lista->second, lista->second + simbolo->second, lista->second + parte->second,
					(lista->second + parte->second) / (lista->second + simbolo->second));
		std::printf("December %.2f / %.2f, progressive %.2f / %.2f (per symbol / per part)\n", g_Raggruppata.first,
					g_PerParte.first, g_Raggruppata.second, g_PerParte.second);
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
	int rc = 0;
	{
		erp::DemoCompanySummary demo;
		const char* szServer = std::getenv("KVZ_BENCH_PG");
		if (!(szServer ? ApriDemoSuServer(szServer, demo) : kvzbench::ApriDemo(g_pConn, folder, 10, demo)))
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
			g_pConn->ExecuteSQL(CString::Formatted("INSERT INTO \"Kvz_AnagSimboli\" (\"Esercizio\", \"ModelloRiclassific\", "
												   "\"NomeSimbolo\", \"TipoSimbolo\") VALUES (%d, 'CE', '%s', %u)",
												   g_Anno, s, tipo));
			g_pConn->ExecuteSQL(CString::Formatted("INSERT INTO \"Kvz_SimboliPianoBase\" (\"Esercizio\", "
												   "\"ModelloRiclassific\", \"NomeSimbolo\", \"SelSaldo\", \"TipoOpeConto\") "
												   "VALUES (%d, 'CE', '%s', 1, %u)",
												   g_Anno, s, elenco));
		}
		g_pConn->ExecuteSQL(CString::Formatted(
			"INSERT INTO \"Kvz_ElencoContiSimboloPBase\" (\"Esercizio\", \"ModelloRiclassific\", \"NomeSimbolo\", "
			"\"ContoSelez\", \"SegnoConto\", \"TipoCentroComm\") SELECT %d, 'CE', CASE WHEN n %% 2 = 0 THEN 'PARI' ELSE "
			"'DISPARI' END, c, %u, %u FROM (SELECT c, ROW_NUMBER() OVER (ORDER BY c) AS n FROM (SELECT DISTINCT "
			"\"ContoKvz\" AS c FROM \"Kvz_PianoBaseR\" WHERE \"Esercizio\" = %d) d) e",
			g_Anno, DataEnum(E_KVZ_SEGNOCONTO, 0).GetValue(), DataEnum(E_KVZ_TIPOCENTROCOMM, 0).GetValue(), g_Anno));
		g_pConn->ExecuteSQL(CString::Formatted("INSERT INTO \"Kvz_RiclassificazioneTesta\" (\"Esercizio\", "
											   "\"ModelloRiclassific\", \"Descrizione\", \"Priorita\") VALUES (%d, 'CE', "
											   "'Conto economico', 1)",
											   g_Anno));
		g_pConn->ExecuteSQL(CString::Formatted("INSERT INTO \"Kvz_RiclassificazioneRighe\" (\"Esercizio\", "
											   "\"ModelloRiclassific\", \"CodRiclassificato\", \"Posizione\", "
											   "\"Descrizione\", \"Formula\") VALUES (%d, 'CE', 'TOT', 1, 'Totale', "
											   "'_PARI - _DISPARI')",
											   g_Anno));
		std::printf("Demo company at scale 10 (%s), year %d: %zu accounts in the formula\n",
					szServer ? "on the server" : "in a file", g_Anno,
					kvzbench::ContiPianoBase(g_Anno).size());

		CDocumentSet docs;
		FormDriver form(FormDriver::Open(docs, RUNTIME_CLASS(Kvz_CDeRiclassificazioniDoc),
										 RUNTIME_CLASS(Kvz_CDeRiclassificazioniFrame),
										 RUNTIME_CLASS(Kvz_CDeRiclassificazioniView),
										 CPLVNamespace("KvzNet.KvzMod.KvzDocuments.DModelliRiclassific")));
		form.Find();
		form.Type("ModelloRiclassific", "CE");
		if (!form.Save() || !form.SelectRow("Righe riclassificazioni", 0))
		{
			std::fprintf(stderr, "model CE not found\n");
			rc = 1;
		}
		else
		{
			g_pDoc = static_cast<Kvz_CDeRiclassificazioniDoc*>(form.GetDocument());
			g_pDoc->m_EsercizioEsplosione = g_Anno;
			g_pDoc->m_MeseEsplosione = kMese;
			g_pDoc->m_bEsplosioneSaldo = TRUE;
			g_pDoc->m_bEsplosioneRateo = g_pDoc->m_bEsplosioneAssestato = FALSE;
			Esplodi();
			RatioReporter reporter;
			benchmark::RunSpecifiedBenchmarks(&reporter);
			reporter.PrintRatios();
			if (std::fabs(g_Raggruppata.first - g_PerParte.first) > 0.005 ||
				std::fabs(g_Raggruppata.second - g_PerParte.second) > 0.005)
			{
				std::fprintf(stderr, "the two ways disagree\n");
				rc = 1;
			}
		}
		form.Close();
		g_pEsplosione.reset();
		g_pDoc = nullptr;
	}
	AfxSetDefaultSqlConnection(nullptr);
	g_pConn.reset();
	std::filesystem::remove_all(folder);
	benchmark::Shutdown();
	return rc;
}
