#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvrendoviewer/CRendoDoc.h"
#include "platform/plvrendoviewer/ReportOutput.h"
#include "platform/plvrendoviewer/ReportWriters.h"

namespace {

std::string Shell(const std::string& command)
{
	std::string text;
	if (FILE* p = popen(command.c_str(), "r"))
	{
		char buf[4096];
		for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;)
			text.append(buf, n);
		pclose(p);
	}
	return text;
}

std::filesystem::path TempFile(const std::string& name)
{
	return std::filesystem::temp_directory_path() / ("plvreport-" + std::to_string(::getpid()) + "-" + name);
}

class TStampaDoc : public CBaseDocument
{
	DECLARE_DYNAMIC(TStampaDoc, CBaseDocument)
};

// The report inputs as "name=value" texts, in order.
std::vector<std::string> Inputs(const CRendoInfo& info)
{
	std::vector<std::string> out;
	for (int i = 0; i < info.GetParamCount(); ++i)
		out.push_back(info.GetParamName(i).str() + "=" + info.GetParamValue(i)->FormatData().str());
	return out;
}

class Reports : public ::testing::Test
{
protected:
	void SetUp() override
	{
		m_pScope = std::make_unique<InteractionScope>(&m_Ui);
		m_Manager.Install();
		m_pPrevRunner = AfxSetReportRunner(&m_Runner);
	}
	void TearDown() override { AfxSetReportRunner(m_pPrevRunner == &m_Runner ? nullptr : m_pPrevRunner); }

	ScriptedInteraction m_Ui;
	std::unique_ptr<InteractionScope> m_pScope;
	CPlvCommandManager m_Manager;
	CRecordingReportRunner m_Runner;
	IReportRunner* m_pPrevRunner = nullptr;
};

}  // namespace

TEST_F(Reports, ARequestIsHandedOverWithItsInputsAndContext)
{
	TStampaDoc context;
	auto* pInfo = new CRendoInfo;
	pInfo->AddReport(CPLVNamespace("KvzNet.KvzMod.StampaRiclassificatoPerCodice"));
	pInfo->AddParam("w_ModelloInput", DataStr("M01"));
	pInfo->AddParam("w_EsercInput", DataInt(2024));
	pInfo->AddParam("w_AlMeseInput", DataInt(12));
	pInfo->AddParam("w_DalMeseInput", DataInt(1));
	pInfo->AddParam("W_MODELLOINPUT", DataStr("M02"));  // again: new value, same place

	CRendoDoc* pReport = AfxGetPlvCmdManager()->RunReport(pInfo, &context, nullptr, nullptr, TRUE);
	ASSERT_NE(pReport, nullptr);
	auto requests = m_Runner.Requests();
	ASSERT_EQ(requests.size(), 1u);
	ASSERT_EQ(requests[0].info->GetReportsToRun().size(), 1u);
	EXPECT_EQ(requests[0].info->GetReportsToRun()[0].GetPathName(), "KvzNet.KvzMod.StampaRiclassificatoPerCodice");
	EXPECT_EQ(Inputs(*requests[0].info),
			  (std::vector<std::string>{"w_ModelloInput=M02", "w_EsercInput=2024", "w_AlMeseInput=12", "w_DalMeseInput=1"}));
	EXPECT_EQ(requests[0].pContext, &context);
	EXPECT_EQ(requests[0].contextClass, "TStampaDoc");
	EXPECT_EQ(requests[0].info->GetParamValue("w_esercinput")->GetDataType(), DATA_INT_TYPE);
	EXPECT_EQ(requests[0].info->GetParamValue("w_Assente"), nullptr);

	// The report document stays until handed back, and runs again on request.
	EXPECT_TRUE(AfxGetPlvCmdManager()->ExistDocument(pReport));
	EXPECT_TRUE(pReport->RunReport(TRUE, TRUE));
	EXPECT_EQ(pReport->GetRunCount(), 2);
	EXPECT_EQ(m_Runner.Requests().size(), 2u);
	AfxGetPlvCmdManager()->ReleaseReport(pReport);
	EXPECT_FALSE(AfxGetPlvCmdManager()->ExistDocument(pReport));
}

TEST_F(Reports, AReportOutlivingItsContextRunsWithoutIt)
{
	auto* pContext = new TStampaDoc;
	auto* pInfo = new CRendoInfo;
	pInfo->SetNamespace(CPLVNamespace("KvzNet.KvzMod.ConfrontoRiclassif"));
	CRendoDoc* pReport = m_Manager.RunReport(pInfo, pContext);
	ASSERT_NE(pReport, nullptr);
	EXPECT_EQ(pReport->GetContext(), pContext);
	delete pContext;
	EXPECT_EQ(pReport->GetContext(), nullptr);
	pReport->RunReport();
	auto requests = m_Runner.Requests();
	ASSERT_EQ(requests.size(), 2u);
	EXPECT_EQ(requests[1].pContext, nullptr);
	EXPECT_EQ(requests[1].info->GetReportsToRun()[0].GetPathName(), "KvzNet.KvzMod.ConfrontoRiclassif");
	m_Manager.ReleaseReport(pReport);

	EXPECT_EQ(m_Manager.RunReport(nullptr, nullptr), nullptr);
	EXPECT_EQ(m_Ui.LastMessage(), "No report was given to run.");
}

TEST_F(Reports, TheDefaultRunnerRefusesAReportWithoutDefinition)
{
	AfxSetReportRunner(nullptr);
	auto* pInfo = new CRendoInfo;
	pInfo->AddReport(CPLVNamespace("PlvTest.Report.Nessuno"));
	EXPECT_EQ(m_Manager.RunReport(pInfo, nullptr), nullptr);
	EXPECT_EQ(m_Ui.Messages().at(0).text, "The report PlvTest.Report.Nessuno was not written: the report is not defined");
	EXPECT_TRUE(m_Runner.Requests().empty());
}

TEST(ReportNumbers, AreFormattedAsItalianStatementsShowThem)
{
	const std::pair<double, const char*> cases[] = {
		{0, "0,00"},		   {0.005, "0,01"},		 {-0.004, "0,00"},		   {999.999, "1.000,00"},
		{1234567.891, "1.234.567,89"}, {-2500.5, "-2.500,50"}, {1e12, "1.000.000.000.000,00"},
	};
	for (auto [value, text] : cases)
		EXPECT_EQ(FormatItalianNumber(value), text) << value;
	EXPECT_EQ(FormatItalianNumber(-1234.4, 0), "-1.234");
	EXPECT_EQ(FormatReportCell(ReportCell(12.5), ColumnKind::Percent), "12,50 %");
	EXPECT_EQ(FormatReportCell(ReportCell(7), ColumnKind::Integer), "7");
	// A year, a count: no thousands separator.
	EXPECT_EQ(FormatReportCell(ReportCell(2026), ColumnKind::Integer), "2026");
	EXPECT_EQ(FormatReportCell(ReportCell(-12345), ColumnKind::Integer), "-12345");
	// A quotient keeps its four decimals in any amount column.
	EXPECT_EQ(FormatReportCell(ReportCell(0.098597, 4), ColumnKind::Money), "0,0986");
	EXPECT_EQ(FormatReportCell(ReportCell(0.005, 4), ColumnKind::Balance), "0,0050");
	EXPECT_EQ(FormatReportCell(ReportCell(0.005), ColumnKind::Balance), "0,01");
}

TEST(ReportTables, SubtotalsAndTotalsSumTheSummedColumns)
{
	CReportTable t("Prova", {{"Codice"}, {"Mese", ColumnKind::Integer}, {"Importo", ColumnKind::Money}});
	t.AddRow({"A", 1, 10.5});
	t.AddRow({"B", 2, -0.5});
	t.AddSubtotal("Totale A");
	t.AddSubtotal("vuoto");  // no detail since: nothing
	t.AddRow({"C", 3, 100.0});
	t.AddSubtotal("Totale C");
	t.AddTotal("Totale");
	const auto& rows = t.GetRows();
	ASSERT_EQ(rows.size(), 6u);
	EXPECT_EQ(rows[2].kind, RowKind::Subtotal);
	EXPECT_EQ(rows[2].cells[0].GetText(), "Totale A");
	EXPECT_TRUE(rows[2].cells[1].IsEmpty());  // a month is not summed
	EXPECT_DOUBLE_EQ(rows[2].cells[2].GetNumber(), 10.0);
	EXPECT_DOUBLE_EQ(rows[4].cells[2].GetNumber(), 100.0);
	EXPECT_EQ(rows[5].kind, RowKind::Total);
	EXPECT_DOUBLE_EQ(rows[5].cells[2].GetNumber(), 110.0);
	EXPECT_THROW(t.AddRow({"D", "tre"}), std::invalid_argument);
	EXPECT_THROW(t.AddRow({"D", 1, 2.0, 3.0}), std::invalid_argument);
}

TEST(ReportPdf, ALongTableGoesOverPagesWithItsHeadingsRepeated)
{
	ASSERT_FALSE(std::system("command -v pdftotext >/dev/null 2>&1") != 0)
		<< "pdftotext (poppler-utils) is needed: tools/install-deps installs it";
	CReportOutput out;
	out.title = "Movimenti";
	CReportTable& t = out.AddTable("Righe", {{"Riga"}, {"Importo", ColumnKind::Money}});
	for (int i = 1; i <= 150; ++i)
		t.AddRow({CString::Formatted("Riga %d", i), i * 1.5});
	t.AddTotal("Totale");
	const auto file = std::filesystem::temp_directory_path() / ("plvreport-" + std::to_string(::getpid()) + ".pdf");
	WriteReportPdf(out, file);
	std::string text;
	if (FILE* p = popen(("pdftotext -layout '" + file.string() + "' -").c_str(), "r"))
	{
		char buf[4096];
		for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;)
			text.append(buf, n);
		pclose(p);
	}
	std::filesystem::remove(file);
	EXPECT_NE(text.find("Pagina 1 di 3"), std::string::npos) << text;
	EXPECT_NE(text.find("Pagina 3 di 3"), std::string::npos);
	EXPECT_NE(text.find("Righe (segue)"), std::string::npos);
	EXPECT_NE(text.find("Riga 150"), std::string::npos);
	EXPECT_NE(text.find("16.987,50"), std::string::npos);  // the total of 1,5 x (1 + ... + 150)
}

// Tables of a page each: the second starts on a page of its own rather than being broken.
TEST(ReportPdf, ATableThatFitsAPageIsNotBrokenAcrossTwo)
{
	ASSERT_FALSE(std::system("command -v pdftotext >/dev/null 2>&1") != 0)
		<< "pdftotext (poppler-utils) is needed: tools/install-deps installs it";
	CReportOutput out;
	out.title = "Quadrimestri";
	for (int q = 1; q <= 2; ++q)
	{
		CReportTable& t = out.AddTable(CString::Formatted("Quadrimestre %d", q), {{"Riga"}, {"Importo", ColumnKind::Money}});
		for (int i = 1; i <= 30; ++i)
			t.AddRow({CString::Formatted("Q%d riga %d", q, i), i * 1.0});
	}
	const auto file = std::filesystem::temp_directory_path() / ("plvreport-" + std::to_string(::getpid()) + "-q.pdf");
	WriteReportPdf(out, file);
	std::string text;
	if (FILE* p = popen(("pdftotext -layout '" + file.string() + "' -").c_str(), "r"))
	{
		char buf[4096];
		for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;)
			text.append(buf, n);
		pclose(p);
	}
	std::filesystem::remove(file);
	EXPECT_EQ(text.find("segue"), std::string::npos) << text;
	const size_t page2 = text.find("Pagina 2 di 2");
	ASSERT_NE(page2, std::string::npos) << text;
	EXPECT_GT(text.find("Quadrimestre 2"), page2);
	EXPECT_LT(text.find("Q1 riga 30"), page2);
}

TEST(ReportXlsx, AmountsToTheCentPercentagesAsFractionsSheetsNamedWithinTheLimit)
{
	ASSERT_FALSE(std::system("command -v unzip >/dev/null 2>&1") != 0)
		<< "unzip is needed: tools/install-deps installs it";
	CReportOutput out;
	out.title = "Confronto";
	out.subtitle = "CE - Conto economico";
	out.inputs = {{"Modello", "CE"}, {"Esercizio", "2026"}};
	CReportTable& t = out.AddTable("Confronto per codice tra il primo e il secondo termine",
								   {{"Codice"},
									{"Descrizione", ColumnKind::Text, 3},
									{"Valore", ColumnKind::Balance},
									{"Diff. %", ColumnKind::Percent},
									{"Anno", ColumnKind::Integer}});
	t.AddRow({"RIC", "Ricavi delle vendite e delle prestazioni di servizi", 560392.3899999999, 10.0, 2026});
	t.AddRow({"ARR", "Arrotondamenti", 0.1 + 0.2, -12.5, 2026});
	t.AddRow({"MOL", "Margine operativo lordo", -1234.5, 0.0, 2026}, true);
	t.AddRow({"MOLP", "MOL su ricavi", ReportCell(0.098597, 4), 0.0, 2026});
	// Two captions alike in their first 31 characters, and a name the definition gives.
	out.AddTable("Confronto per codice tra il primo e il secondo termine, seconda parte", {{"Codice"}});
	out.AddTable("Tabella", {{"Codice"}}).SetSheetName("Mesi Gen-Dic e totale");
	const auto file = TempFile("numeri.xlsx");
	WriteReportXlsx(out, file);
	const std::string workbook = Shell("unzip -p '" + file.string() + "' xl/workbook.xml");
	const std::string sheet = Shell("unzip -p '" + file.string() + "' xl/worksheets/sheet1.xml");
	const std::string empty = Shell("unzip -p '" + file.string() + "' xl/worksheets/sheet2.xml");
	const std::string styles = Shell("unzip -p '" + file.string() + "' xl/styles.xml");
	const std::string strings = Shell("unzip -p '" + file.string() + "' xl/sharedStrings.xml");
	std::filesystem::remove(file);

	std::vector<std::string> names;
	const std::regex name("<sheet name=\"([^\"]*)\"");
	for (std::sregex_iterator it(workbook.begin(), workbook.end(), name), end; it != end; ++it)
		names.push_back((*it)[1].str());
	EXPECT_EQ(names, (std::vector<std::string>{"Confronto per codice tra il pri", "Confronto per codice tra il p 2",
											   "Mesi Gen-Dic e totale"}));
	// Amounts to the cent, a percentage as its fraction, a year as it is.
	for (const char* v : {"<v>560392.39</v>", "<v>0.3</v>", "<v>-1234.5</v>", "<v>0.1</v>", "<v>-0.125</v>", "<v>2026</v>"})
		EXPECT_NE(sheet.find(v), std::string::npos) << v << "\n" << sheet;
	EXPECT_EQ(sheet.find("560392.38999"), std::string::npos);
	EXPECT_NE(styles.find("formatCode=\"0.00%;-0.00%\""), std::string::npos) << styles;
	EXPECT_NE(styles.find("formatCode=\"#,##0.00;-#,##0.00;0.00\""), std::string::npos) << styles;
	// A quotient to four decimals, under a format that shows them.
	EXPECT_TRUE(std::regex_search(sheet, std::regex("<v>0.0986(0000+[0-9])?</v>|<v>0.09859999+[0-9]*</v>"))) << sheet;
	EXPECT_NE(styles.find("formatCode=\"#,##0.0000;-#,##0.0000;0.0000\""), std::string::npos) << styles;
	// The headings frozen, the page landscape and as wide as the sheet, a column as wide as its text.
	EXPECT_TRUE(std::regex_search(sheet, std::regex("<pane ySplit=\"[0-9]+\" topLeftCell=\"A[0-9]+\" activePane=\"bottomLeft\" state=\"frozen\"")))
		<< sheet;
	EXPECT_NE(sheet.find("orientation=\"landscape\""), std::string::npos);
	EXPECT_NE(sheet.find("<pageSetUpPr fitToPage=\"1\"/>"), std::string::npos);
	std::smatch width;
	ASSERT_TRUE(std::regex_search(sheet, width, std::regex("<col min=\"2\" max=\"2\" width=\"([0-9.]+)\"")));
	EXPECT_GE(std::stod(width[1].str()), 50.0);
	// A table without rows says what was asked for.
	EXPECT_NE(strings.find("Nessun dato per la selezione: Modello CE, Esercizio 2026"), std::string::npos) << strings;
	EXPECT_NE(empty.find("<c r=\"A"), std::string::npos);
}

TEST(ReportPdf, ADescriptionWrapsRatherThanBeingCutAndAnEmptyTableSaysWhatWasAsked)
{
	ASSERT_FALSE(std::system("command -v pdftotext >/dev/null 2>&1") != 0)
		<< "pdftotext (poppler-utils) is needed: tools/install-deps installs it";
	CReportOutput out;
	out.title = "Esplosione formula";
	out.subtitle = "VA - Valore aggiunto";
	out.inputs = {{"Modello", "CE"}, {"Esercizio", "2026"}};
	CReportTable& t = out.AddTable("Elementi", {{"Operatore", ColumnKind::Text, 0.3},
												{"Descrizione", ColumnKind::Text, 0.6},
												{"Valore", ColumnKind::Money, 1},
												{"Progressivo", ColumnKind::Money, 1}});
	t.AddRow({"+", "Costi per materie prime sussidiarie di consumo e merci", -1234567.891, 98765432.1});
	out.AddTable("Conti", {{"Conto"}, {"Importo", ColumnKind::Money}});
	const auto file = TempFile("a-capo.pdf");
	WriteReportPdf(out, file);
	const std::string text = Shell("pdftotext '" + file.string() + "' -");
	std::filesystem::remove(file);
	for (const char* word : {"Costi", "materie", "sussidiarie", "consumo", "merci", "Operatore", "Progressivo", "-1.234.567,89",
							 "98.765.432,10", "VA - Valore aggiunto"})
		EXPECT_NE(text.find(word), std::string::npos) << word << "\n" << text;
	EXPECT_EQ(text.find("\u2026"), std::string::npos) << text;  // no ellipsis anywhere
	EXPECT_NE(text.find("Nessun dato per la selezione: Modello CE, Esercizio 2026"), std::string::npos) << text;
}
