// The demo job's main steps on the demo company at scale 10, one after the other in one process,
// through the documents a person drives: the year's ledger imported into the base plan, the
// income statement's base-plan symbols (one per ledger), the model CE of eleven rows, and the
// reclassification run of the year, the statement of CE printed to PDF. Each step is timed once
// against its floor, measured in the same process on the same data: the import against reading
// the year's host balances and cost-accounting entries with one query each; each symbol against
// reading the year's grouped accounts once and writing its two rows; the model against writing
// its header and rows in one transaction; the run against the base plan's monthly totals read by
// one grouped query and the run's result rows written once; the print against reading the
// statement's result rows with one query. Run from a Release build:
//   build-release/bin/kvz_bench_demojob
// Each step's time, its floor's and their ratio are printed.

#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/DemoBench.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliPianoBase.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CDeRiclassificazioniDoc.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloPBaseDoc.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CRiclassificPianoBaseDoc.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CStampaReportRiclassificDoc.h"
#include "platform/erp/erpledgerdbl/TBalances.h"
#include "platform/erp/erpledgerdbl/TCostAccEntriesDetail.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgenlib/AddOnLibraries.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvrendoviewer/CRendoDoc.h"

namespace {
std::unique_ptr<SqlConnection> g_pConn;

// The seconds a piece of work takes; ok false (and said) when it failed.
double Secondi(const char* nome, const std::function<bool()>& lavoro, bool& ok)
{
	const auto t0 = std::chrono::steady_clock::now();
	if (!lavoro())
	{
		std::fprintf(stderr, "%s failed\n", nome);
		ok = false;
	}
	return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void Riga(const char* passo, double tempo, double base)
{
	std::printf("%-28s %8.3f s   floor %8.3f s   ratio %7.1f\n", passo, tempo, base, tempo / base);
}

const std::vector<std::pair<const char*, const char*>> kSimboli = {
	{"ACQUISTI", "20"}, {"SERVIZI", "21"}, {"GODBENI", "22"}, {"PERSONALE", "23"}, {"AMMORT", "24"},  {"ONERI", "25"},
	{"ONFIN", "26"},	{"IMPOSTE", "27"}, {"VENDITE", "30"}, {"PRESTAZ", "31"},   {"ALTRIRIC", "32"}, {"PROVFIN", "33"}};

const std::vector<std::pair<const char*, const char*>> kRighe = {
	{"VP", "_VENDITE+_PRESTAZ+_ALTRIRIC"}, {"CE", "_ACQUISTI+_SERVIZI+_GODBENI+_ONERI"}, {"VA", "_RVP-_RCE"},
	{"PE", "_PERSONALE"},				   {"MOL", "_RVA-_RPE"},							 {"AM", "_AMMORT"},
	{"RO", "_RMOL-_RAM"},				   {"GF", "_ONFIN-_PROVFIN"},						 {"RAI", "_RRO-_RGF"},
	{"IM", "_IMPOSTE"},					   {"RN", "_RRAI-_RIM"}};

// One symbol defined in its document, as the demo job does.
bool DefinisciSimbolo(const char* nome, const char* conto)
{
	CDocumentSet docs;
	FormDriver form(FormDriver::Open(docs, RUNTIME_CLASS(Kvz_CPropSimboloPBaseDoc), RUNTIME_CLASS(CBatchFrame),
									 RUNTIME_CLASS(Kvz_CPropSimboloPBaseView)));
	return form.Type("PB_SYMB_MODELLO", "CE") && form.Type("PB_SYMB_NOME_SIMBOLO", nome) && form.Press("PB_SYMB_SEL_SALDO") &&
		   form.Type("PB_SYMB_OPE_CONTO", "=") && form.Type("PB_SYMB_CONTO_DA", conto) && form.Save();
}

// A symbol's floor: the year's grouped accounts read once, its registry row and definition written.
bool ScriviSimbolo(int anno, const char* nome, const char* conto)
{
	const long conti = kvzbench::Conta(*g_pConn, CString::Formatted("SELECT COUNT(*) FROM (SELECT * FROM \"Kvz_AnagConti\" "
																	 "WHERE \"Esercizio\" = %d) a",
																	 anno));
	CPLVContext ctx(g_pConn.get());
	if (!ctx.StartTransaction())
		return false;
	Kvz_TAnagSimboli anag;
	Kvz_TSimboliPianoBase def;
	SqlTable tAnag(&anag, ctx.GetUpdatableSqlSession());
	SqlTable tDef(&def, ctx.GetUpdatableSqlSession());
	tAnag.Open(TRUE);
	tDef.Open(TRUE);
	tAnag.AddNew();
	anag.f_Esercizio = anno;
	anag.f_ModelloRiclassific = "FLOOR";
	anag.f_NomeSimbolo = nome;
	tAnag.Update();
	tDef.AddNew();
	def.f_Esercizio = anno;
	def.f_ModelloRiclassific = "FLOOR";
	def.f_NomeSimbolo = nome;
	def.f_ValDaConto = conto;
	tDef.Update();
	tAnag.Close();
	tDef.Close();
	ctx.Rollback();
	return conti > 0;
}

// The model CE written in its document, row by row.
bool ScriviModello()
{
	CDocumentSet docs;
	FormDriver form(FormDriver::Open(docs, RUNTIME_CLASS(Kvz_CDeRiclassificazioniDoc),
									 RUNTIME_CLASS(Kvz_CDeRiclassificazioniFrame), RUNTIME_CLASS(Kvz_CDeRiclassificazioniView)));
	const CString righe = "Righe riclassificazioni";
	bool ok = form.New() && form.Type("ModelloRiclassific", "CE") && form.Type("Descrizione", "Conto economico");
	int n = 0;  // rows count from 0 here
	for (auto [codice, formula] : kRighe)
	{
		ok = ok && form.AddRow(righe) && form.TypeCell(righe, n, "Codice", codice) &&
			 form.TypeCell(righe, n, "Descrizione", codice) && form.TypeCell(righe, n, "Formula", formula);
		++n;
	}
	ok = ok && form.Save();
	if (!ok)
		std::fprintf(stderr, "model CE: %s\n", form.GetLastError().GetString());
	return ok;
}

// The model's floor: its header and rows written in one transaction.
bool ScriviModelloDiretto(int anno)
{
	CPLVContext ctx(g_pConn.get());
	if (!ctx.StartTransaction())
		return false;
	Kvz_TRiclassificazioneTesta testa;
	Kvz_TRiclassificazioneRighe riga;
	SqlTable tTesta(&testa, ctx.GetUpdatableSqlSession());
	SqlTable tRiga(&riga, ctx.GetUpdatableSqlSession());
	tTesta.Open(TRUE);
	tRiga.Open(TRUE);
	tTesta.AddNew();
	testa.f_Esercizio = anno;
	testa.f_ModelloRiclassific = "FLOOR";
	tTesta.Update();
	int n = 0;
	for (auto [codice, formula] : kRighe)
	{
		tRiga.AddNew();
		riga.f_Esercizio = anno;
		riga.f_ModelloRiclassific = "FLOOR";
		riga.f_CodRiclassificato = codice;
		riga.f_Posizione = ++n;
		riga.f_Descrizione = codice;
		riga.f_Formula = formula;
		tRiga.Update();
	}
	tTesta.Close();
	tRiga.Close();
	ctx.Rollback();
	return true;
}

// The run of the year, as the demo job runs it.
bool Riclassifica(int anno)
{
	CDocumentSet docs;
	FormDriver form(FormDriver::Open(docs, RUNTIME_CLASS(Kvz_CRiclassificPianoBaseDoc), RUNTIME_CLASS(CBatchFrame),
									 RUNTIME_CLASS(Kvz_CRiclassificPianoBaseView)));
	return form.Type("RCL_PBASE_ESERCIZIO", CString::Formatted("%d", anno)) && form.Type("RCL_PBASE_DAL_MESE", "1") &&
		   form.Type("RCL_PBASE_MESE", "12") && form.Type("RCL_PBASE_TUTTI_MOD", "Si") && form.RunBatch();
}

// The run's floor: the base plan's monthly totals by one grouped query, the result rows written once.
bool RiclassificaDiretto(int anno)
{
	std::map<std::string, double> totali;
	if (kvzbench::LeggiTotaliPianoBase(anno, totali) == 0)
		return false;
	CPLVContext ctx(g_pConn.get());
	if (!ctx.StartTransaction())
		return false;
	Kvz_TRiclassificato rec;
	SqlTable t(&rec, ctx.GetUpdatableSqlSession());
	t.Open(TRUE);
	int n = 0;
	for (auto [codice, formula] : kRighe)
	{
		++n;
		for (int mese = 1; mese <= 12; ++mese)
		{
			t.AddNew();
			rec.f_Esercizio = anno;
			rec.f_Mese = mese;
			rec.f_ModelloRiclassific = "FLOOR";
			rec.f_CodRiclassificato = codice;
			rec.f_Posizione = n;
			rec.f_Valore = totali.size() * 1.5;
			t.Update();
		}
	}
	t.Close();
	ctx.Rollback();
	return true;
}
// The statement of CE printed to PDF, as the job prints it; the files it wrote are counted.
bool Stampa(int& nFile)
{
	CDocumentSet docs;
	FormDriver form(FormDriver::Open(docs, RUNTIME_CLASS(Kvz_CStampaReportRiclassificDoc), RUNTIME_CLASS(CBatchFrame),
									 RUNTIME_CLASS(Kvz_CStampaReportRiclassificView)));
	const int prima = nFile;
	const bool ok = form.Type("Codice", "CE") && form.Type("Dal mese", "1") && form.Type("Al mese", "12") && form.RunBatch();
	if (!ok)
		std::fprintf(stderr, "print of CE: %s\n", form.GetLastError().GetString());
	return ok && nFile > prima;
}

// The print's floor: the statement's result rows read with one query.
bool StampaDiretta(int anno)
{
	return kvzbench::Conta(*g_pConn, CString::Formatted("SELECT COUNT(*) FROM (SELECT * FROM \"Kvz_Riclassificato\" "
														"WHERE \"Esercizio\" = %d AND \"ModelloRiclassific\" = 'CE' "
														"ORDER BY \"Posizione\", \"Mese\") r",
														anno)) > 0;
}
}  // namespace

int main(int argc, char** argv)
{
	kvzbench::Esecuzione run(argc, argv, "demojob", g_pConn);
	if (!run)
		return 1;
	erp::DemoCompanySummary demo;
	if (!kvzbench::ApriDemo(g_pConn, run.Cartella(), 10, demo))
		return 1;
	const int anno = demo.lastYear;
	AfxSetApplicationDate(DataDate(31, 12, anno));
	std::printf("Demo company at scale 10, year %d: %ld accounts, %ld cost centres, %ld jobs\n", anno, demo.accounts,
				demo.costCenters, demo.jobs);
	bool ok = true;
	const double importa = Secondi("the import", [&] { return kvzbench::ImportaSaldi(anno) > 0; }, ok);
	const double importaBase = Secondi("the import's floor", [&] { return kvzbench::LeggiHost(anno) > 0; }, ok);
	double simboli = 0, simboliBase = 0;
	for (auto [nome, conto] : kSimboli)
	{
		simboli += Secondi(nome, [&] { return DefinisciSimbolo(nome, conto); }, ok);
		simboliBase += Secondi("a symbol's floor", [&] { return ScriviSimbolo(anno, nome, conto); }, ok);
	}
	const double modello = Secondi("the model", ScriviModello, ok);
	const double modelloBase = Secondi("the model's floor", [&] { return ScriviModelloDiretto(anno); }, ok);
	const double riclassifica = Secondi("the run", [&] { return Riclassifica(anno); }, ok);
	const double riclassificaBase = Secondi("the run's floor", [&] { return RiclassificaDiretto(anno); }, ok);
	// The report definitions and the functions they read by name, the files written in the run's folder.
	CPlvCommandManager manager;
	manager.Install();
	CAddOnLibraries libs;
	if (!kvzbench::CaricaReport(libs, KVZ_REPORTS_LIBRARY, {"__CStampaReportRiclassificDoc_Kvz_GetRigaQuadrim1", "__CStampaReportRiclassificDoc_Kvz_GetRigaQuadrim2",
							 "__CStampaReportRiclassificDoc_Kvz_GetRigaQuadrim3",
							 "__CStampaReportRiclassificDoc_Kvz_QualcosaInQuadrim1",
							 "__CStampaReportRiclassificDoc_Kvz_QualcosaInQuadrim2",
							 "__CStampaReportRiclassificDoc_Kvz_QualcosaInQuadrim3"}))
		return 1;
	int nFile = 0;
	CReportRenderer& renderer = *AfxGetReportRenderer();
	renderer.SetFormat(ReportFormat::Pdf);
	renderer.SetFolder(run.Cartella() / "stampe");
	renderer.SetListener([&](const std::filesystem::path&) { ++nFile; });
	const double stampa = Secondi("the print", [&] { return Stampa(nFile); }, ok);
	const double stampaBase = Secondi("the print's floor", [&] { return StampaDiretta(anno); }, ok);
	renderer.SetListener({});
	libs.Unload();
	const long risultati = kvzbench::Conta(
		*g_pConn, CString::Formatted("SELECT COUNT(*) FROM \"Kvz_Riclassificato\" WHERE \"Esercizio\" = %d AND "
									 "\"ModelloRiclassific\" = 'CE'",
									 anno));
	if (!ok || risultati != static_cast<long>(kRighe.size()) * 12)
	{
		std::fprintf(stderr, "a step failed (%ld results of CE)\n", risultati);
		return 1;
	}
	Riga("import of the year", importa, importaBase);
	Riga("12 base-plan symbols", simboli, simboliBase);
	Riga("model CE (11 rows)", modello, modelloBase);
	Riga("run of the year", riclassifica, riclassificaBase);
	Riga("statement of CE to PDF", stampa, stampaBase);
	Riga("the five steps", importa + simboli + modello + riclassifica + stampa,
		 importaBase + simboliBase + modelloBase + riclassificaBase + stampaBase);
	return 0;
}
