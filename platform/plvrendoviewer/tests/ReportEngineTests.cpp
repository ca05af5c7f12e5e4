// Reports rendered from a small documents library's exports, as the host renders them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgenlib/AddOnLibraries.h"
#include "platform/plvgenlib/CBaseApp.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvges/DocumentFactory.h"
#include "platform/plvges/FormDriver.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvnamesolver/FunctionWrapper.h"
#include "platform/plvoledb/SqlConnection.h"
#include "platform/plvrendoviewer/CRendoDoc.h"
#include "platform/plvrendoviewer/ReportDefinition.h"

namespace fs = std::filesystem;

namespace {

const char* const kBilancio = "PlvTest.TestRep.TestReportData.DBilancio";
const char* const kAltro = "PlvTest.TestRep.TestReportData.DAltro";

// What a command prints on stdout.
std::string Output(const std::string& command)
{
	std::string out;
	if (FILE* p = popen(command.c_str(), "r"))
	{
		char buf[4096];
		size_t n;
		while ((n = fread(buf, 1, sizeof buf, p)) > 0)
			out.append(buf, n);
		pclose(p);
	}
	return out;
}

bool HasTool(const char* tool)
{
	return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

std::string ReadFile(const fs::path& p)
{
	std::ifstream is(p, std::ios::binary);
	std::stringstream ss;
	ss << is.rdbuf();
	return ss.str();
}

// A CSV of ";" fields, quoted with '"', lines ending in CRLF.
std::vector<std::vector<std::string>> ParseCsv(const std::string& text)
{
	std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
	bool quoted = false;
	for (size_t i = 0; i < text.size(); ++i)
	{
		const char c = text[i];
		std::string& field = rows.back().back();
		if (quoted)
		{
			if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
				field += text[++i];
			else if (c == '"')
				quoted = false;
			else
				field += c;
		}
		else if (c == '"')
			quoted = true;
		else if (c == ';')
			rows.back().emplace_back();
		else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
		{
			++i;
			rows.emplace_back(1);
		}
		else
			field += c;
	}
	if (rows.back().size() == 1 && rows.back()[0].empty())
		rows.pop_back();
	return rows;
}

class ReportEngine : public ::testing::Test
{
protected:
	void SetUp() override
	{
		static std::atomic<int> counter{0};
		m_Folder = fs::temp_directory_path() / ("plvreports-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
		fs::create_directories(m_Folder / "out");
		m_pConn = SqlConnection::Open((m_Folder / "azienda.db").string(), SqlConnection::CREATE_IF_MISSING);
		AfxSetDefaultSqlConnection(m_pConn.get());
		AfxGetApplicationContext()->SetEchoAssertions(FALSE);
		m_pScope = std::make_unique<InteractionScope>(&m_Ui);
		m_Manager.SetDocumentOpener(&OpenDocumentFromClasses);
		m_Manager.Install();
		ASSERT_TRUE(m_Libs.Load({"PlvTestReportData", PLVTEST_REPORTDATA, "Library.PlvTest.TestRep.TestReportData"}));
		ASSERT_TRUE(m_Libs.RegisterAll(m_pConn.get()));
		AfxSetReportRunner(nullptr);
		Renderer().SetFolder(m_Folder / "out");
		Renderer().SetListener([this](const fs::path& p) { m_Written.push_back(p); });
	}
	void TearDown() override
	{
		Renderer().SetListener(nullptr);
		Renderer().SetFolder({});
		Renderer().SetFormat(std::nullopt);
		m_Libs.Unload();
		m_pScope.reset();
		AfxGetBaseApp()->RemoveAllTemplates();
		AfxGetApplicationContext()->SetEchoAssertions(TRUE);
		AfxSetDefaultSqlConnection(nullptr);
		m_pConn.reset();
		fs::remove_all(m_Folder);
	}

	static CReportRenderer& Renderer() { return *AfxGetReportRenderer(); }

	CRendoInfo* Request(const char* report)
	{
		auto* pInfo = new CRendoInfo;
		pInfo->AddReport(CPLVNamespace(report));
		pInfo->AddParam("w_EsercInput", DataInt(2024));
		return pInfo;
	}

	std::vector<fs::path> FilesLeft() const
	{
		std::vector<fs::path> files;
		for (auto& e : fs::directory_iterator(m_Folder / "out"))
			files.push_back(e.path());
		return files;
	}

	CUiThread m_UiThread;
	fs::path m_Folder;
	std::unique_ptr<SqlConnection> m_pConn;
	ScriptedInteraction m_Ui;
	std::unique_ptr<InteractionScope> m_pScope;
	CPlvCommandManager m_Manager;
	CAddOnLibraries m_Libs;
	std::vector<fs::path> m_Written;
};

}  // namespace

TEST_F(ReportEngine, ATestReportRendersToPdfXlsxAndCsv)
{
	for (ReportFormat format : {ReportFormat::Pdf, ReportFormat::Xlsx, ReportFormat::Csv})
	{
		SCOPED_TRACE(ReportFormatExtension(format).str());
		m_Written.clear();
		Renderer().SetFormat(format);
		// The document prints from its procedure, as the print documents do.
		FormDriver form(m_Manager.RunDocument(kBilancio));
		ASSERT_TRUE(form.RunBatch()) << m_Ui.LastMessage().str();
		ASSERT_EQ(m_Written.size(), 1u) << m_Ui.LastMessage().str();
		const fs::path file = m_Written[0];
		EXPECT_EQ(file.parent_path(), m_Folder / "out");
		EXPECT_EQ(file.extension(), "." + ReportFormatExtension(format).str());
		EXPECT_EQ(file.filename().string().rfind("Bilancio_", 0), 0u);
		form.Close();

		if (format == ReportFormat::Pdf)
		{
			ASSERT_TRUE(HasTool("pdftotext"))
				<< "pdftotext (poppler-utils) is needed: tools/install-deps installs it";
			const std::string text = Output("pdftotext -layout '" + file.string() + "' -");
			for (const char* expected :
				 {"Situazione patrimoniale di prova", "Esercizio:", "2024", "Bilancio più recente", "Saldi al 31/12",
				  "Codice", "Descrizione", "Importo", "Crediti verso clienti è più", "Disponibilità liquide",
				  "Fondo perdità", "1.234.567,89", "-2.500,50", "12,50 %", "Totale Attività", "1.234.568,39",
				  "Totale Passività", "-3.500,50", "Totale generale", "1.231.067,89", "Pagina 1 di 1"})
				EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
		}
		else if (format == ReportFormat::Xlsx)
		{
			ASSERT_TRUE(HasTool("unzip"))
				<< "unzip is needed: tools/install-deps installs it";
			const std::string sheet = Output("unzip -p '" + file.string() + "' xl/worksheets/sheet1.xml");
			const std::string strings = Output("unzip -p '" + file.string() + "' xl/sharedStrings.xml");
			// A number cell has no type attribute: numbers stay numbers, amounts to the cent, a
			// percentage as its fraction.
			for (const char* value : {"1234567.89", "-2500.5", "0.125", "1231067.89"})
				EXPECT_TRUE(std::regex_search(sheet, std::regex(std::string("<c r=\"[A-Z]+[0-9]+\"( s=\"[0-9]+\")?><v>") +
																value + "</v></c>")))
					<< value << "\n" << sheet;
			EXPECT_NE(strings.find("Crediti verso clienti è più"), std::string::npos);
			EXPECT_NE(strings.find("Totale generale"), std::string::npos);
		}
		else
		{
			const std::string text = ReadFile(file);
			ASSERT_EQ(text.rfind("\xEF\xBB\xBF", 0), 0u);
			const auto rows = ParseCsv(text.substr(3));
			ASSERT_EQ(rows.size(), 8u);  // headings, 4 rows, 2 subtotals, the total
			EXPECT_EQ(rows[0], (std::vector<std::string>{"Codice", "Descrizione", "Mese", "Quota", "Importo"}));
			EXPECT_EQ(rows[1], (std::vector<std::string>{"A01", "Crediti verso clienti è più", "1", "12,50", "1234567,89"}));
			EXPECT_EQ(rows[4], (std::vector<std::string>{"P01", "Debiti verso fornitori; società \"collegate\"", "3",
														 "33,33", "-2500,50"}));
			EXPECT_EQ(rows[7], (std::vector<std::string>{"Totale generale", "", "", "", "1231067,89"}));
		}
	}
}

TEST_F(ReportEngine, AFailingDataFunctionLeavesNoFileAndSaysWhy)
{
	struct Case
	{
		const char* report;
		const char* context;
		const char* reason;
	};
	const Case cases[] = {
		{"PlvTest.Report.BilancioRotto", kBilancio, "Lettura dei saldi interrotta"},
		{"PlvTest.Report.Bilancio", kAltro, "Invalid context object: TDocBilancio"},
	};
	for (ReportFormat format : {ReportFormat::Pdf, ReportFormat::Xlsx, ReportFormat::Csv})
		for (const Case& c : cases)
		{
			SCOPED_TRACE(std::string(c.report) + " " + ReportFormatExtension(format).str());
			Renderer().SetFormat(format);
			m_Ui.Clear();
			CBaseDocument* pContext = m_Manager.RunDocument(c.context);
			ASSERT_NE(pContext, nullptr);
			EXPECT_EQ(m_Manager.RunReport(Request(c.report), pContext), nullptr);
			EXPECT_EQ(m_Ui.Messages().at(0).text,
					  CString::Formatted("The report %s was not written: %s", c.report, c.reason));
			EXPECT_TRUE(FilesLeft().empty());
			EXPECT_TRUE(m_Written.empty());
			pContext->CloseDocument(FALSE);
		}
}

TEST_F(ReportEngine, AReportNotWaitedForRunsOnAWorkerUntilItIsHandedBack)
{
	Renderer().SetFormat(ReportFormat::Csv);
	CBaseDocument* pContext = m_Manager.RunDocument(kBilancio);
	CRendoDoc* pReport = m_Manager.RunReport(Request("PlvTest.Report.Bilancio"), pContext, nullptr, nullptr, FALSE);
	ASSERT_NE(pReport, nullptr);
	// Its calls come to this thread's window: handing it back waits, running them.
	m_Manager.ReleaseReport(pReport);
	EXPECT_FALSE(m_Manager.ExistDocument(pReport));
	ASSERT_EQ(m_Written.size(), 1u);
	EXPECT_EQ(ParseCsv(ReadFile(m_Written[0]).substr(3)).size(), 8u);
}

TEST_F(ReportEngine, TheFrameworkReportCommandPrintsTheDefaultReportWhenTheDocumentOffersOne)
{
	EXPECT_EQ(AfxGetDocumentDefaultReport(CString(kBilancio).MakeUpper()), "PlvTest.Report.Bilancio");
	EXPECT_EQ(AfxGetDocumentDefaultReport("PlvTest.Nessuno"), "");
	FormDriver bilancio(m_Manager.RunDocument(kBilancio));
	EXPECT_TRUE(bilancio.Report());
	EXPECT_EQ(m_Written.size(), 1u);
	FormDriver altro(m_Manager.RunDocument(kAltro));
	EXPECT_FALSE(altro.Report());
	EXPECT_EQ(m_Ui.LastMessage(), "This document offers no report.");
	EXPECT_EQ(m_Written.size(), 1u);
}

TEST_F(ReportEngine, AKeptReportRunsAgainAndItsReferenceEmptiesWhenItCloses)
{
	Renderer().SetFormat(ReportFormat::Csv);
	CBaseDocument* pContext = m_Manager.RunDocument(kBilancio);
	IDisposablePtr kept;
	kept = m_Manager.RunReport(Request("PlvTest.Report.Bilancio"), pContext);
	ASSERT_TRUE(kept);
	EXPECT_TRUE(kept->RunReport(TRUE, TRUE));
	EXPECT_EQ(m_Written.size(), 2u);
	EXPECT_NE(m_Written[0], m_Written[1]);
	kept.Get()->CloseDocument(FALSE);
	EXPECT_FALSE(kept);

	// Letting go hands it back: it closes.
	CRendoDoc* pReport;
	{
		IDisposablePtr scoped(pReport = m_Manager.RunReport(Request("PlvTest.Report.Bilancio"), pContext));
		EXPECT_TRUE(m_Manager.ExistDocument(pReport));
	}
	EXPECT_FALSE(m_Manager.ExistDocument(pReport));
}

TEST_F(ReportEngine, TheReportChooserTakesTheAnswerGivenForTheDocument)
{
	CString report = "PlvTest.Report.Bilancio";
	EXPECT_EQ(ReportMngDlg(report, kBilancio).DoModal(), IDCANCEL);  // nobody answered
	EXPECT_EQ(report, "PlvTest.Report.Bilancio");

	AfxSetReportChoice(kBilancio, "PlvTest.Report.Inesistente");
	EXPECT_EQ(ReportMngDlg(report, kBilancio).DoModal(), IDCANCEL);
	EXPECT_EQ(m_Ui.LastMessage(), "The report PlvTest.Report.Inesistente is not defined.");
	EXPECT_EQ(report, "PlvTest.Report.Bilancio");

	AfxSetReportChoice(kBilancio, "PlvTest.Report.BilancioRotto");
	EXPECT_EQ(ReportMngDlg(report, kBilancio).DoModal(), IDOK);
	EXPECT_EQ(report, "PlvTest.Report.BilancioRotto");
	CString other;
	EXPECT_EQ(ReportMngDlg(other, kAltro).DoModal(), IDCANCEL);  // answered for another document

	// A request that offers the chooser runs the report chosen.
	CBaseDocument* pContext = m_Manager.RunDocument(kBilancio);
	EXPECT_EQ(m_Manager.RunReport(Request("PlvTest.Report.Bilancio"), pContext), nullptr);
	const auto shown = m_Ui.Messages();
	EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [](const ShownMessage& m) {
		return m.text.Find("PlvTest.Report.BilancioRotto was not written") >= 0;
	}));
	AfxSetReportChoice(kBilancio, "");
}
