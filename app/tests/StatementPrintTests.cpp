// The module's main output from the command line: the demo company's reclassified results of a
// year printed as a statement to PDF and XLSX, by kvz itself.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneTesta.h"
#include "platform/plvoledb/SqlConnection.h"
#include "platform/plvoledb/SqlTable.h"

namespace fs = std::filesystem;

namespace {

// The text a shell command prints, with its standard error.
std::string Output(const std::string& command)
{
	std::string out;
	if (FILE* p = ::popen((command + " 2>&1").c_str(), "r"))
	{
		std::array<char, 4096> buf;
		for (size_t n; (n = std::fread(buf.data(), 1, buf.size(), p)) > 0;)
			out.append(buf.data(), n);
		::pclose(p);
	}
	return out;
}

template <class Rec>
void Insert(Rec& rec)
{
	SqlTable t(&rec);
	t.Open(TRUE);
	t.AddNew(FALSE);
	t.Update();
}

struct Code
{
	const char* code;
	const char* description;
	int position;
	const char* dividend;
	const char* divisor;
	const char* sign;
};
// An income statement by contribution margin; the last line is MOL over revenues.
const Code kCodes[] = {{"RIC", "Ricavi delle vendite", 10, "", "", ""},
					   {"CVAR", "Costi variabili", 20, "", "", ""},
					   {"MDC", "Margine di contribuzione", 30, "", "", ""},
					   {"CFIS", "Costi fissi", 40, "", "", ""},
					   {"MOL", "Margine operativo lordo", 50, "", "", ""},
					   {"MOLR", "MOL su ricavi", 60, "MOL", "RIC", "/"}};

double Amount(const char* code, int month)
{
	const double ric = 100000 + 2500 * month, cvar = -0.55 * ric, cfis = -30000;
	const std::string c = code;
	return c == "RIC" ? ric : c == "CVAR" ? cvar : c == "MDC" ? ric + cvar : c == "CFIS" ? cfis : c == "MOL" ? ric + cvar + cfis : 0;
}

class StatementPrint : public ::testing::Test
{
protected:
	// One demo company for the suite, with the results of a reclassification run of 2026 as the
	// run stores them.
	static void SetUpTestSuite()
	{
		s_Folder = new fs::path(fs::temp_directory_path() / ("kvz-statement-" + std::to_string(::getpid())));
		fs::remove_all(*s_Folder);
		fs::create_directories(*s_Folder);
		const std::string db = (*s_Folder / "demo.db").string();
		ASSERT_NE(Kvz("init --demo " + db).find("Demo company"), std::string::npos);
		auto conn = SqlConnection::Open(CString(db));
		SqlConnection* pPrev = AfxSetDefaultSqlConnection(conn.get());
		conn->BeginTransaction();
		Kvz_TRiclassificazioneTesta head;
		head.f_Esercizio = 2026;
		head.f_ModelloRiclassific = "CE";
		head.f_Descrizione = "Conto economico a margine di contribuzione";
		head.f_TuttiOperatori = TRUE;
		Insert(head);
		for (const Code& c : kCodes)
		{
			Kvz_TRiclassificazioneRighe row;
			row.f_Esercizio = 2026;
			row.f_ModelloRiclassific = "CE";
			row.f_CodRiclassificato = c.code;
			row.f_Posizione = c.position;
			row.f_Descrizione = c.description;
			row.f_CodRiclDividendoProgr = c.dividend;
			row.f_CodRiclDivisoreProgr = c.divisor;
			row.f_SegnoDaApplicare = c.sign;
			Insert(row);
			for (int m = 1; m <= 12; ++m)
			{
				Kvz_TRiclassificato r;
				r.f_Esercizio = 2026;
				r.f_Mese = m;
				r.f_ModelloRiclassific = "CE";
				r.f_CodRiclassificato = c.code;
				r.f_Posizione = c.position;
				r.f_Descrizione = c.description;
				r.f_Valore = Amount(c.code, m);
				Insert(r);
			}
		}
		conn->CommitTransaction();
		AfxSetDefaultSqlConnection(pPrev);
	}
	static void TearDownTestSuite()
	{
		fs::remove_all(*s_Folder);
		delete s_Folder;
	}
	void SetUp() override
	{
		m_Folder = *s_Folder / ::testing::UnitTest::GetInstance()->current_test_info()->name();
		fs::create_directories(m_Folder);
		m_Db = (m_Folder / "demo.db").string();
		fs::copy_file(*s_Folder / "demo.db", m_Db);
	}

	static std::string Kvz(const std::string& args)
	{
		return Output(std::string("'") + KVZ_PROGRAM + "' --date 31/12/2026 " + args);
	}
	// The file whose path kvz told ("Report written: PATH").
	static fs::path Written(const std::string& output, const std::string& extension)
	{
		std::smatch m;
		const std::regex re("Report written: (\\S+\\." + extension + ")");
		return std::regex_search(output, m, re) ? fs::path(m[1].str()) : fs::path();
	}

	static inline fs::path* s_Folder = nullptr;
	fs::path m_Folder;
	std::string m_Db;
};

TEST_F(StatementPrint, TheDemoResultsPrintAsAStatementToPdfAndXlsx)
{
	const std::string open = "--db '" + m_Db + "' --report-dir '" + (m_Folder / "out").string() +
							 "' --report-format %s open KvzNet.KvzMod.KvzDocuments.BDStampaReportRiclassific "
							 "--set Codice:=CE --set 'Dal mese:=1' --set 'Al mese:=6' --run";
	auto run = [&](const char* format) {
		std::string args = open;
		args.replace(args.find("%s"), 2, format);
		return Kvz(args);
	};
	const std::string pdfRun = run("pdf");
	const fs::path pdf = Written(pdfRun, "pdf");
	ASSERT_TRUE(fs::exists(pdf)) << pdfRun;
	if (Output("command -v pdftotext").empty())
		GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
	const std::string text = Output("pdftotext -layout '" + pdf.string() + "' -");
	// Every code with its months of January to June and the range's total.
	for (const Code& c : kCodes)
		EXPECT_NE(text.find(c.code), std::string::npos) << c.code;
	for (const char* amount : {"102.500,00", "115.000,00", "652.500,00", "-56.375,00", "-358.875,00", "16.125,00",
							   "113.625,00"})
		EXPECT_NE(text.find(amount), std::string::npos) << amount << "\n" << text;
	// MOL over revenues, 113.625 / 652.500, is the computed progressive.
	EXPECT_TRUE(std::regex_search(text, std::regex("MOLR +MOL su ricavi .* 0,17 "))) << text;
	// July is outside the range: no amount of it.
	EXPECT_EQ(text.find("117.500,00"), std::string::npos);

	const std::string xlsxRun = run("xlsx");
	const fs::path xlsx = Written(xlsxRun, "xlsx");
	ASSERT_TRUE(fs::exists(xlsx)) << xlsxRun;
	if (!Output("command -v unzip").empty())
	{
		const std::string sheet = Output("unzip -p '" + xlsx.string() + "'");
		EXPECT_NE(sheet.find("Ricavi delle vendite"), std::string::npos);
		EXPECT_NE(sheet.find("652500"), std::string::npos);
	}
}

TEST_F(StatementPrint, TheModelsSideBySidePrintTheChosenCodesUnderTheirShortDescriptions)
{
	const std::string out = Kvz(
		"--db '" + m_Db + "' --report-dir '" + (m_Folder / "out").string() +
		"' --report-format pdf open KvzNet.KvzMod.KvzDocuments.BDStampaRiclassificato --set 'Al mese=3' "
		"--press 'Carica modelli' --cell 'Modelli stampa riclassificato:1:Sel=Sì' --run "
		"--cell 'Stampa riclassificato:4:Sel=Sì' --cell 'Stampa riclassificato:4:DescrizioneBreve=MOL' "
		"--cell 'Stampa riclassificato:6:Sel=Sì' --cell 'Stampa riclassificato:6:DescrizioneBreve=Ricavi' --press Stampa");
	const fs::path pdf = Written(out, "pdf");
	ASSERT_TRUE(fs::exists(pdf)) << out;
	EXPECT_NE(pdf.filename().string().find("StampaRiclassificatoPerCodice_"), std::string::npos);
	if (Output("command -v pdftotext").empty())
		GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
	const std::string text = Output("pdftotext -layout '" + pdf.string() + "' -");
	// Codes in code order: MOL, then RIC; January to March.
	EXPECT_TRUE(std::regex_search(text, std::regex("MOL +Ricavi"))) << text;
	EXPECT_TRUE(std::regex_search(text, std::regex("CE +Conto economico.* 51\\.750,00 +315\\.000,00"))) << text;
}

}  // namespace
