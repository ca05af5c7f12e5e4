// The module's report definitions: one for every report the documents run, each reading only
// functions that the module's libraries export.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgenlib/AddOnLibraries.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvrendoviewer/CRendoDoc.h"
#include "platform/plvrendoviewer/ReportDefinition.h"

namespace fs = std::filesystem;

namespace {

// Every report namespace the documents name; the print document of reclassified reports runs
// its default report.
const char* const kReportsRun[] = {
	"KvzNet.KvzMod.StampaRiclassificatoPerCodice",
	"KvzNet.KvzMod.StampaRiclassificatoPerCodiceEstesa",
	"KvzNet.KvzMod.ContiDelRiclassificato",
	"KvzNet.KvzMod.PreviewPdCRaggr",
	"KvzNet.KvzMod.ContiNonUsati",
	"KvzNet.KvzMod.ConfrontoRiclassif",
	"KvzNet.KvzMod.EsplosFormula_Excel",
	"KvzNet.KvzMod.EsplosioneSimboliConti",
	"KvzNet.KvzMod.skcontab",
};
const char* const kDocumentWithDefaultReport = "KvzNet.KvzMod.KvzDocuments.BDStampaReportRiclassific";

// The functions the module's libraries export to reports.
const std::set<std::string> kExported = {
	"__Kvz_CComparazioneRiclassificDoc_GetRigaComparazione",
	"__CRiclassificPianoBaseDoc_Kvz_GetEsercizioRiclassific",
	"__CRiclassificPianoBaseDoc_Kvz_GetDalMeseRiclassific",
	"__CRiclassificPianoBaseDoc_Kvz_GetModelloRiclassific",
	"__CRiclassificPianoBaseDoc_Kvz_QualcosaInQuadrim2",
	"__CRiclassificPianoBaseDoc_Kvz_QualcosaInQuadrim3",
	"__CRiclassificPianoBaseDoc_Kvz_GetRigaQuadrim1",
	"__CRiclassificPianoBaseDoc_Kvz_GetRigaQuadrim2",
	"__CRiclassificPianoBaseDoc_Kvz_GetRigaQuadrim3",
	"__CStampaReportRiclassificDoc_Kvz_QualcosaInQuadrim1",
	"__CStampaReportRiclassificDoc_Kvz_QualcosaInQuadrim2",
	"__CStampaReportRiclassificDoc_Kvz_QualcosaInQuadrim3",
	"__CStampaReportRiclassificDoc_Kvz_GetValoreDelMese",
	"__CStampaReportRiclassificDoc_Kvz_GetRigaQuadrim1",
	"__CStampaReportRiclassificDoc_Kvz_GetRigaQuadrim2",
	"__CStampaReportRiclassificDoc_Kvz_GetRigaQuadrim3",
	"__BDStampaRiclassificatoDoc_Kvz_GetNextModelloPerStampa",
	"__BDStampaRiclassificatoDoc_Kvz_GetNextCodiciPerStampa_1",
	"__BDStampaRiclassificatoDoc_Kvz_GetNextCodiciPerStampa_2",
	"__BDStampaRiclassificatoDoc_Kvz_GetNextCodiciPerStampa_3",
	"__BDStampaRiclassificatoDoc_Kvz_GetNextCodiciPerStampa_4",
	"__BDStampaRiclassificatoDoc_Kvz_CancellaSelezionati",
	"__BDStampaRiclassificatoDoc_Kvz_GetNextDescrizioniPerStampa",
	"__CDeRiclassificazioniDoc_Kvz_GetNextRigaEsplos",
	"__CDeRiclassificazioniDoc_Kvz_GetSubNextRigaEsplos",
	"__CDeRiclassificazioniDoc_Kvz_GetDescrRigaEsplos",
	"__CImportaSaldiDoc_Kvz_GetContoPreview",
	"__CImportaSaldiDoc_Kvz_GetContoUnused",
};

class ReportDefinitions : public ::testing::Test
{
protected:
	void SetUp() override
	{
		m_pScope = std::make_unique<InteractionScope>(&m_Ui);
		m_Manager.Install();
		ASSERT_TRUE(m_Libs.Load({"KvzReports", KVZ_REPORTS_LIBRARY, "Library.KvzNet.KvzMod.KvzReports"}))
			<< m_Libs.GetErrors().front().str();
	}
	void TearDown() override
	{
		m_Libs.Unload();
		m_pScope.reset();
	}

	ScriptedInteraction m_Ui;
	std::unique_ptr<InteractionScope> m_pScope;
	CPlvCommandManager m_Manager;
	CAddOnLibraries m_Libs;
};

// A stand-in for the print document's exports: three models (the second not selected), codes
// with short descriptions, each cell the model's number times the code's.
std::string g_LastModel;
bool FakeDescrizioni(HWND, CObject*, BSTR* d1, BSTR* d2, BSTR* d3, BSTR* d4, BSTR* d5, BSTR* d6, BSTR* d7, BSTR* d8,
					 BSTR* d9)
{
	const char* texts[] = {"Ricavi", "Costi variabili", "Margine di contribuzione", "", "", "", "", "", ""};
	BSTR* outs[] = {d1, d2, d3, d4, d5, d6, d7, d8, d9};
	for (int i = 0; i < 9; ++i)
	{
		SysFreeString(*outs[i]);
		*outs[i] = SysAllocString(texts[i]);
	}
	return true;
}
int g_nCancellati = 0;
bool FakeCancella(HWND, CObject*)
{
	++g_nCancellati;
	return true;
}
bool FakeModello(HWND, CObject*, int i, BSTR* model, BSTR* descr)
{
	if (i > 2)
		return false;
	const char* models[] = {"M1", "", "M3"};
	SysFreeString(*model);
	*model = SysAllocString(models[i]);
	if (*models[i])
	{
		SysFreeString(*descr);
		*descr = SysAllocString(i == 0 ? "Conto economico società" : "Budget");
	}
	return true;
}
template <class... D>
bool FakeCodici1(HWND, CObject*, BSTR model, D*... values)
{
	const double m = std::string(model) == "M1" ? 1 : 3;
	int k = 0;
	((*values = ++k <= 3 ? m * k * 1000.5 : 0), ...);
	return true;
}

// A stand-in for the explosion's exports, as the model document gives its rows: a symbol over
// two further symbols joined by "-", one of which subtracts an account, then a symbol whose
// formula multiplies (no sum of its parts is its value).
struct FakeRiga
{
	bool testo;
	int livello;
	const char* nome;
	const char* descrizione;
	std::vector<std::vector<std::string>> parti;  // six texts, the month and the progressive
};
const std::vector<FakeRiga> g_Righe = {
	{false, 1, "RVP", "Somma per l'anno 2026, mese 3, dal codice VP al codice", {}},
	{false, 2, "VENDITE", "Somma SaldoContabile per l'anno 2026, mese 3, per i conti: ",
	 {{"Somma", "4001", "Vendite", "", "", "", "100", "300"}, {"Sottrae", "4002", "Resi", "", "", "", "10", "20"}}},
	{true, 2, "-", "", {}},
	{false, 2, "SCONTI", "Somma SaldoContabile", {{"Somma", "4100", "Sconti", "", "", "", "5", "15"}}},
	{true, 1, "+", "", {}},
	{false, 1, "RDOPPIO", "Somma dal codice D", {}},
	{false, 2, "SCONTI", "Somma SaldoContabile", {{"Somma", "4100", "Sconti", "", "", "", "5", "15"}}},
	{true, 2, "*2", "", {}},
};
void Metti(BSTR* out, const std::string& text)
{
	SysFreeString(*out);
	*out = SysAllocString(text.c_str());
}
bool FakeNextRiga(HWND, CObject*, int* riga, BSTR* titolo, BSTR* testo)
{
	const size_t i = static_cast<size_t>(*riga);
	if (i >= g_Righe.size())
		return false;
	if (!g_Righe[i].testo)
	{
		Metti(testo, g_Righe[i].nome);
		return true;
	}
	Metti(titolo, g_Righe[i].nome);
	++*riga;
	if (i + 1 < g_Righe.size())
		Metti(testo, g_Righe[i + 1].nome);
	return true;
}
bool FakeSubNextRiga(HWND, CObject*, int riga, int* parte, BSTR* t1, BSTR* t2, BSTR* t3, BSTR* t4, BSTR* t5, BSTR* t6,
					 double* mese, double* progr)
{
	const auto& parti = g_Righe.at(static_cast<size_t>(riga)).parti;
	if (static_cast<size_t>(*parte) >= parti.size())
		return false;
	const auto& p = parti[static_cast<size_t>(*parte)];
	BSTR* outs[] = {t1, t2, t3, t4, t5, t6};
	for (size_t k = 0; k < 6; ++k)
		Metti(outs[k], p[k]);
	*mese = std::stod(p[6]);
	*progr = std::stod(p[7]);
	return true;
}
bool FakeDescrRiga(HWND, CObject*, int riga, BSTR* descrizione, int* livello, bool* simbolo)
{
	if (static_cast<size_t>(riga) >= g_Righe.size())
		return false;
	const FakeRiga& r = g_Righe[static_cast<size_t>(riga)];
	Metti(descrizione, r.descrizione);
	*livello = r.livello;
	*simbolo = !r.testo;
	return true;
}

}  // namespace

TEST_F(ReportDefinitions, EveryReportTheDocumentsRunIsDefined)
{
	const std::vector<CString> defined = AfxGetReportDefinitionNamespaces();
	auto isDefined = [&](const CString& ns) {
		return std::any_of(defined.begin(), defined.end(), [&](const CString& d) { return d.CompareNoCase(ns) == 0; });
	};
	for (const char* ns : kReportsRun)
		EXPECT_TRUE(isDefined(ns)) << ns << " has no definition";
	const CString byDefault = AfxGetDocumentDefaultReport(kDocumentWithDefaultReport);
	EXPECT_FALSE(byDefault.IsEmpty());
	EXPECT_TRUE(isDefined(byDefault)) << byDefault.str();

	// Each reads only functions that are exported under those names.
	for (const CString& ns : defined)
		for (const CString& fn : AfxFindReportDefinition(ns)->GetExportsUsed())
			EXPECT_TRUE(kExported.count(fn.str())) << ns.str() << " reads " << fn.str();

	// The definitions go with their library.
	m_Libs.Unload();
	for (const char* ns : kReportsRun)
		EXPECT_EQ(AfxFindReportDefinition(ns), nullptr) << ns;
	EXPECT_TRUE(AfxGetDocumentDefaultReport(kDocumentWithDefaultReport).IsEmpty());
}

TEST_F(ReportDefinitions, ThePrintByCodeReadsModelsAndCellsThroughTheExportsByName)
{
	using Cells35 = decltype(&FakeCodici1<double, double, double, double, double, double, double, double, double, double,
										   double, double, double, double, double, double, double, double, double, double,
										   double, double, double, double, double, double, double, double, double, double,
										   double, double, double, double, double>);
	Cells35 cells = &FakeCodici1<double, double, double, double, double, double, double, double, double, double, double,
								 double, double, double, double, double, double, double, double, double, double, double,
								 double, double, double, double, double, double, double, double, double, double, double,
								 double, double>;
	const std::pair<const char*, void*> fakes[] = {
		{"__BDStampaRiclassificatoDoc_Kvz_GetNextDescrizioniPerStampa", reinterpret_cast<void*>(&FakeDescrizioni)},
		{"__BDStampaRiclassificatoDoc_Kvz_GetNextModelloPerStampa", reinterpret_cast<void*>(&FakeModello)},
		{"__BDStampaRiclassificatoDoc_Kvz_GetNextCodiciPerStampa_1", reinterpret_cast<void*>(cells)},
		{"__BDStampaRiclassificatoDoc_Kvz_CancellaSelezionati", reinterpret_cast<void*>(&FakeCancella)},
	};
	for (auto [name, fn] : fakes)
		AfxRegisterExportedFunction(name, fn);

	const fs::path folder = fs::temp_directory_path() / ("kvzreports-" + std::to_string(::getpid()));
	CReportRenderer& renderer = *AfxGetReportRenderer();
	renderer.SetFolder(folder);
	renderer.SetFormat(ReportFormat::Csv);
	CRendoInfo info;
	DataInt context;  // the stand-ins do not look at it
	const auto files = renderer.Render("KvzNet.KvzMod.StampaRiclassificatoPerCodice", info, &context, nullptr);
	ASSERT_EQ(files.size(), 1u);
	EXPECT_EQ(g_nCancellati, 1);  // the printed codes are handed back once, after the reading
	std::ifstream is(files[0], std::ios::binary);
	std::stringstream ss;
	ss << is.rdbuf();
	EXPECT_EQ(ss.str(), "\xEF\xBB\xBFModello;Descrizione;Ricavi;Costi variabili;Margine di contribuzione\r\n"
						"M1;Conto economico società;1000,50;2001,00;3001,50\r\n"
						"M3;Budget;3001,50;6003,00;9004,50\r\n"
						"Totale;;4002,00;8004,00;12006,00\r\n");

	// The document's chosen codes each get their column, zeros after the last value too, headed
	// by the code where there is no short description.
	info.AddParam("w_CodiciSelezionati", DataStr("RIC\nCV\nMDC\nPER\nAMM"));
	const auto chosen = renderer.Render("KvzNet.KvzMod.StampaRiclassificatoPerCodice", info, &context, nullptr);
	ASSERT_EQ(chosen.size(), 1u);
	std::ifstream is2(chosen[0], std::ios::binary);
	std::stringstream ss2;
	ss2 << is2.rdbuf();
	EXPECT_EQ(ss2.str(), "\xEF\xBB\xBFModello;Descrizione;Ricavi;Costi variabili;Margine di contribuzione;PER;AMM\r\n"
						 "M1;Conto economico società;1000,50;2001,00;3001,50;0,00;0,00\r\n"
						 "M3;Budget;3001,50;6003,00;9004,50;0,00;0,00\r\n"
						 "Totale;;4002,00;8004,00;12006,00;0,00;0,00\r\n");

	renderer.SetFolder({});
	renderer.SetFormat(std::nullopt);
	for (auto [name, fn] : fakes)
		AfxRegisterExportedFunction(name, nullptr);
	fs::remove_all(folder);
}

// Each symbol prints what it reads; a symbol's total is the sum of its parts, signed, and one
// whose parts do not simply add up prints no figure rather than a wrong one.
TEST_F(ReportDefinitions, TheExplosionTotalsEachSymbolFromItsParts)
{
	const std::pair<const char*, void*> fakes[] = {
		{"__CDeRiclassificazioniDoc_Kvz_GetNextRigaEsplos", reinterpret_cast<void*>(&FakeNextRiga)},
		{"__CDeRiclassificazioniDoc_Kvz_GetSubNextRigaEsplos", reinterpret_cast<void*>(&FakeSubNextRiga)},
		{"__CDeRiclassificazioniDoc_Kvz_GetDescrRigaEsplos", reinterpret_cast<void*>(&FakeDescrRiga)},
	};
	for (auto [name, fn] : fakes)
		AfxRegisterExportedFunction(name, fn);

	const fs::path folder = fs::temp_directory_path() / ("kvzreports-esplos-" + std::to_string(::getpid()));
	CReportRenderer& renderer = *AfxGetReportRenderer();
	renderer.SetFolder(folder);
	renderer.SetFormat(ReportFormat::Csv);
	CRendoInfo info;
	DataInt context;
	const auto files = renderer.Render("KvzNet.KvzMod.EsplosFormula_Excel", info, &context, nullptr);
	ASSERT_EQ(files.size(), 1u);
	std::ifstream is(files[0], std::ios::binary);
	std::vector<std::string> lines;
	for (std::string line; std::getline(is, line);)
		lines.push_back(line.substr(0, line.find_last_not_of("\r") + 1));
	auto has = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
	for (const std::string& expected : {
			 std::string(";RVP;;;Somma per l'anno 2026, mese 3, dal codice VP al codice;;"),
			 std::string(";;Sottrae;4002;Resi;10,00;20,00"),
			 std::string(";Totale VENDITE;;;;90,00;280,00"),
			 std::string(";Totale SCONTI;;;;5,00;15,00"),
			 std::string(";Totale RVP;;;;85,00;265,00"),
			 std::string(";Totale RDOPPIO;;;;;"),
		 })
		EXPECT_TRUE(has(expected)) << expected << "\n" << ::testing::PrintToString(lines);
	// A part's total comes before its parent's.
	const auto at = [&](const std::string& l) { return std::find(lines.begin(), lines.end(), l) - lines.begin(); };
	EXPECT_LT(at(";Totale SCONTI;;;;5,00;15,00"), at(";Totale RVP;;;;85,00;265,00"));

	renderer.SetFolder({});
	renderer.SetFormat(std::nullopt);
	for (auto [name, fn] : fakes)
		AfxRegisterExportedFunction(name, nullptr);
	fs::remove_all(folder);
}
