// The module's main output from the command line: the demo company's reclassified results of a
// year printed as a statement to PDF and XLSX, by kvz itself.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodiciRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciRiclass.h"
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
	const char* formula;
	int kind;  // 4 a title
};
// An income statement by contribution margin; the last line is MOL over revenues. Margins read
// the rows above them.
const Code kCodes[] = {{"TIT", "Conto economico gestionale", 5, "", "", "", "", 4},
					   {"RIC", "Ricavi delle vendite", 10, "", "", "", "1000", 0},
					   {"ALT", "Altri proventi, arrotondamenti e abbuoni attivi su vendite", 15, "", "", "", "0,1", 0},
					   {"CVAR", "Costi variabili", 20, "", "", "", "_RRIC*-0,55", 0},
					   {"MDC", "Margine di contribuzione", 30, "", "", "", "_RRIC+_RCVAR", 0},
					   {"CFIS", "Costi fissi", 40, "", "", "", "-30000", 0},
					   {"MOL", "Margine operativo lordo", 50, "", "", "", "_RMDC+_RCFIS", 0},
					   {"MOLR", "MOL su ricavi", 60, "MOL", "RIC", "/", "", 0}};

double Amount(const char* code, int month)
{
	const double ric = 100000 + 2500 * month, cvar = -0.55 * ric, cfis = -30000;
	const std::string c = code;
	return c == "RIC"	 ? ric
		   : c == "ALT"	 ? 0.1
		   : c == "CVAR" ? cvar
		   : c == "MDC"	 ? ric + cvar
		   : c == "CFIS" ? cfis
		   : c == "MOL"	 ? ric + cvar + cfis
						 : 0;
}
// The budget, in the model's formula column 1: revenue 10% up, costs as they are.
double Budget(const char* code, int month)
{
	const std::string c = code;
	const double extra = c == "RIC" || c == "MDC" || c == "MOL" ? 0.1 * (100000 + 2500 * month) : 0;
	return Amount(code, month) + extra;
}

std::string ReadText(const fs::path& p)
{
	std::ifstream is(p, std::ios::binary);
	std::stringstream ss;
	ss << is.rdbuf();
	return ss.str();
}

// The text a PDF shows against the expected one kept beside the tests; KVZ_UPDATE_GOLDEN=1
// writes it there instead, for a layout changed on purpose (read the new text before keeping it).
void ExpectGolden(const std::string& text, const std::string& name)
{
	const fs::path golden = fs::path(KVZ_GOLDEN_DIR) / name;
	if (const char* update = std::getenv("KVZ_UPDATE_GOLDEN"); update && std::string(update) == "1")
	{
		std::ofstream(golden, std::ios::binary) << text;
		return;
	}
	const std::string expected = ReadText(golden);
	ASSERT_FALSE(expected.empty()) << golden;
	if (text == expected)
		return;
	std::istringstream a(expected), b(text);
	std::string la, lb;
	for (int line = 1;; ++line)
	{
		const bool moreA = static_cast<bool>(std::getline(a, la)), moreB = static_cast<bool>(std::getline(b, lb));
		if (!moreA && !moreB)
			break;
		if (!moreA)
			la.clear();
		if (!moreB)
			lb.clear();
		if (la != lb)
		{
			ADD_FAILURE() << name << ", line " << line << ":\n expected: " << la << "\n      got: " << lb << "\nwhole text:\n"
						  << text;
			return;
		}
	}
}

// An XLSX read back: sheet names, and each cell's value and number format by sheet and reference.
class Workbook
{
public:
	explicit Workbook(const fs::path& file) : m_File(file)
	{
		const std::string workbook = Unzip("xl/workbook.xml");
		const std::regex name("<sheet name=\"([^\"]*)\"");
		for (std::sregex_iterator it(workbook.begin(), workbook.end(), name), end; it != end; ++it)
			m_Sheets.push_back((*it)[1].str());
		const std::string strings = Unzip("xl/sharedStrings.xml");
		const std::regex si("<si><t[^>]*>([^<]*)</t></si>");
		for (std::sregex_iterator it(strings.begin(), strings.end(), si), end; it != end; ++it)
			m_Strings.push_back(Unescape((*it)[1].str()));
		const std::string styles = Unzip("xl/styles.xml");
		std::map<std::string, std::string> formats = {{"0", "General"}};
		const std::regex numFmt("<numFmt numFmtId=\"([0-9]+)\" formatCode=\"([^\"]*)\"");
		for (std::sregex_iterator it(styles.begin(), styles.end(), numFmt), end; it != end; ++it)
			formats[(*it)[1].str()] = Unescape((*it)[2].str());
		const std::string xfs = styles.substr(styles.find("<cellXfs"));
		const std::regex xf("<xf numFmtId=\"([0-9]+)\"");
		for (std::sregex_iterator it(xfs.begin(), xfs.end(), xf), end; it != end; ++it)
			m_Formats.push_back(formats[(*it)[1].str()]);
	}
	const std::vector<std::string>& Sheets() const { return m_Sheets; }

	struct Cell
	{
		std::string value;  // the number as stored, or the text
		std::string format;
	};
	// The cells of the row whose first cell is the text, by column letter.
	std::map<std::string, Cell> Row(int sheet, const std::string& first) const
	{
		const std::string xml = Unzip("xl/worksheets/sheet" + std::to_string(sheet) + ".xml");
		const std::regex row("<row r=\"([0-9]+)\"[^>]*>(.*?)</row>");
		const std::regex cell("<c r=\"([A-Z]+)[0-9]+\"(?: s=\"([0-9]+)\")?(?: t=\"(s)\")?>(?:<v>([^<]*)</v>)?</c>");
		for (std::sregex_iterator r(xml.begin(), xml.end(), row), end; r != end; ++r)
		{
			std::map<std::string, Cell> cells;
			const std::string body = (*r)[2].str();
			for (std::sregex_iterator c(body.begin(), body.end(), cell); c != end; ++c)
			{
				std::string v = (*c)[4].str();
				if ((*c)[3].matched && !v.empty())
					v = m_Strings.at(std::stoul(v));
				const std::string s = (*c)[2].matched ? (*c)[2].str() : "0";
				cells[(*c)[1].str()] = {v, m_Formats.at(std::stoul(s))};
			}
			if (cells.count("A") && cells["A"].value == first)
				return cells;
		}
		return {};
	}

private:
	std::string Unzip(const std::string& part) const { return Output("unzip -p '" + m_File.string() + "' " + part); }
	static std::string Unescape(std::string s)
	{
		for (auto [from, to] : {std::pair{"&quot;", "\""}, std::pair{"&lt;", "<"}, std::pair{"&gt;", ">"}, std::pair{"&amp;", "&"}})
			for (size_t at; (at = s.find(from)) != std::string::npos;)
				s.replace(at, std::string(from).size(), to);
		return s;
	}

	fs::path m_File;
	std::vector<std::string> m_Sheets, m_Strings, m_Formats;
};

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
		// The company's own name heads the pages (the demo's may change).
		conn->ExecuteSQL("DELETE FROM Erp_CompanyData");
		conn->ExecuteSQL("INSERT INTO Erp_CompanyData (CompanyName) VALUES ('Officina Prova S.r.l.')");
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
			row.f_Formula = c.formula;
			row.f_Formula1 = c.formula;  // the budget's column has its formulas too
			row.f_TipoRiga = DataEnum(E_KVZ_TIPORIGA, static_cast<WORD>(c.kind));
			Insert(row);
			// The code and its result symbol ("_RRIC"), as the model's save registers them.
			Kvz_TCodiciRiclassificato code;
			code.f_Esercizio = 2026;
			code.f_ModelloRiclassific = "CE";
			code.f_CodRiclassificato = c.code;
			code.f_Descrizione = c.description;
			Insert(code);
			Kvz_TAnagSimboli symbol;
			symbol.f_Esercizio = 2026;
			symbol.f_ModelloRiclassific = "CE";
			symbol.f_NomeSimbolo = std::string("R") + c.code;
			symbol.f_TipoSimbolo = DataEnum(E_KVZ_TIPOSIMBOLO, 3);
			Insert(symbol);
			Kvz_TSimboliCodiciRiclass def;
			def.f_Esercizio = 2026;
			def.f_ModelloRiclassific = "CE";
			def.f_NomeSimbolo = std::string("R") + c.code;
			def.f_ValoreEsConst = TRUE;
			def.f_ValoreEs = 2026;
			def.f_ValoreModelloConst = TRUE;
			def.f_ValoreModello = "CE";
			def.f_ValoreCodice = c.code;
			def.f_Annotazioni = c.description;
			Insert(def);
			for (int m = 1; m <= 12; ++m)
			{
				Kvz_TRiclassificato r;
				r.f_Esercizio = 2026;
				r.f_Mese = m;
				r.f_ModelloRiclassific = "CE";
				r.f_CodRiclassificato = c.code;
				r.f_Posizione = c.position;
				r.f_Descrizione = c.description;
				r.f_TipoRiga = DataEnum(E_KVZ_TIPORIGA, static_cast<WORD>(c.kind));
				r.f_Valore = Amount(c.code, m);
				r.f_Valore1 = Budget(c.code, m);
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
	// kvz on the test's company writing its reports in the format given; the file it told of.
	fs::path Print(const std::string& format, const std::string& args, std::string* pOutput = nullptr) const
	{
		const std::string out =
			Kvz("--db '" + m_Db + "' --report-dir '" + (m_Folder / "out").string() + "' --report-format " + format + " " + args);
		if (pOutput)
			*pOutput = out;
		return Written(out, format);
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
	const std::string open = "open KvzNet.KvzMod.KvzDocuments.BDStampaReportRiclassific "
							 "--set Codice:=CE --set 'Dal mese:=1' --set 'Al mese:=6' --run";
	std::string output;
	const fs::path pdf = Print("pdf", open, &output);
	ASSERT_TRUE(fs::exists(pdf)) << output;
	ASSERT_FALSE(Output("command -v pdftotext").empty())
		<< "pdftotext (poppler-utils) is needed: tools/install-deps installs it";
	const std::string text = Output("pdftotext -layout '" + pdf.string() + "' -");
	// Every code with its months of January to June and the range's total.
	for (const Code& c : kCodes)
		EXPECT_NE(text.find(c.code), std::string::npos) << c.code;
	for (const char* amount : {"102.500,00", "115.000,00", "652.500,00", "-56.375,00", "-358.875,00", "16.125,00",
							   "113.625,00"})
		EXPECT_NE(text.find(amount), std::string::npos) << amount << "\n" << text;
	// MOL over revenues, 113.625 / 652.500, is the computed progressive.
	EXPECT_TRUE(std::regex_search(text, std::regex("MOLR +MOL su ricavi .* 0,1741\\s"))) << text;
	// July is outside the range: no amount of it.
	EXPECT_EQ(text.find("117.500,00"), std::string::npos);

	const fs::path xlsx = Print("xlsx", open, &output);
	ASSERT_TRUE(fs::exists(xlsx)) << output;
	if (!Output("command -v unzip").empty())
	{
		const std::string sheet = Output("unzip -p '" + xlsx.string() + "'");
		EXPECT_NE(sheet.find("Ricavi delle vendite"), std::string::npos);
		EXPECT_NE(sheet.find("652500"), std::string::npos);
	}
}

TEST_F(StatementPrint, TheModelsSideBySidePrintTheChosenCodesUnderTheirShortDescriptions)
{
	std::string out;
	const fs::path pdf = Print(
		"pdf",
		"open KvzNet.KvzMod.KvzDocuments.BDStampaRiclassificato --set 'Al mese=3' "
		"--press 'Carica modelli' --cell 'Modelli stampa riclassificato:1:Sel=Sì' --run "
		"--cell 'Stampa riclassificato:7:Sel=Sì' --cell 'Stampa riclassificato:7:DescrizioneBreve=MOL' "
		"--cell 'Stampa riclassificato:2:Sel=Sì' --cell 'Stampa riclassificato:2:DescrizioneBreve=Ricavi' --press Stampa",
		&out);
	ASSERT_TRUE(fs::exists(pdf)) << out;
	EXPECT_NE(pdf.filename().string().find("StampaRiclassificatoPerCodice_"), std::string::npos);
	ASSERT_FALSE(Output("command -v pdftotext").empty())
		<< "pdftotext (poppler-utils) is needed: tools/install-deps installs it";
	const std::string text = Output("pdftotext -layout '" + pdf.string() + "' -");
	// Codes in the model's row order: RIC, then MOL; January to March.
	EXPECT_TRUE(std::regex_search(text, std::regex("Ricavi +MOL"))) << text;
	EXPECT_TRUE(std::regex_search(text, std::regex("CE +Conto economico.* 315\\.000,00 +51\\.750,00"))) << text;
}

// Every chosen code gets its column, zero or not, a subtracted one marked; afterwards the printed
// codes have left the list.
TEST_F(StatementPrint, ThePrintByCodeHasAColumnForEveryChosenCode)
{
	{
		// Fixed costs kept as a positive amount and subtracted by the margin: their heading says so.
		auto conn = SqlConnection::Open(CString(m_Db));
		conn->ExecuteSQL("UPDATE Kvz_RiclassificazioneRighe SET Formula = '_RMDC - _RCFIS' WHERE CodRiclassificato = 'MOL'");
	}
	std::string out;
	const fs::path csv = Print("csv",
							   "open KvzNet.KvzMod.KvzDocuments.BDStampaRiclassificato --set 'Dal modello=CE' "
							   "--set 'Al modello=CE' --set Colonna=5 --press 'Carica modelli' "
							   "--cell 'Modelli stampa riclassificato:1:Sel=Si' --run --press 'Seleziona tutti' --press Stampa --show",
							   &out);
	ASSERT_TRUE(fs::exists(csv)) << out;
	EXPECT_EQ(ReadText(csv), "\xEF\xBB\xBFModello;Descrizione;TIT;RIC;ALT;CVAR;MDC;- CFIS;MOL;MOLR\r\n"
							 "CE;Conto economico a margine di contribuzione;0,00;0,00;0,00;0,00;0,00;0,00;0,00;0,0000\r\n");
	EXPECT_TRUE(std::regex_search(out, std::regex("Codici selezionati: +0"))) << out;
}

// The statement of the year on the page and in the spreadsheet, as a controller reads it.
TEST_F(StatementPrint, TheStatementReadsAsExpectedOnThePageAndInTheSpreadsheet)
{
	const std::string open = "open KvzNet.KvzMod.KvzDocuments.BDStampaReportRiclassific "
							 "--set Codice:=CE --set 'Dal mese:=1' --set 'Al mese:=12' --run";
	std::string output;
	const fs::path pdf = Print("pdf", open, &output);
	ASSERT_TRUE(fs::exists(pdf)) << output;
	ASSERT_FALSE(Output("command -v pdftotext").empty() || Output("command -v unzip").empty())
		<< "pdftotext (poppler-utils) or unzip is needed: tools/install-deps installs it";
	ExpectGolden(Output("pdftotext -layout '" + pdf.string() + "' -"), "statement.txt");

	const fs::path xlsx = Print("xlsx", open, &output);
	ASSERT_TRUE(fs::exists(xlsx)) << output;
	const Workbook book(xlsx);
	EXPECT_EQ(book.Sheets(), (std::vector<std::string>{"Quadrimestre 1 Gen-Apr", "Quadrimestre 2 Mag-Ago",
													   "Quadrimestre 3 Set-Dic", "Mesi Gen-Dic e totale"}));
	for (const std::string& name : book.Sheets())
		EXPECT_LE(name.size(), 31u) << name;
	// The year on one sheet: twelve months, then the range's total; no carried totals to show.
	auto ric = book.Row(4, "RIC");
	ASSERT_EQ(ric.size(), 15u);
	EXPECT_EQ(ric["C"].value, "102500");
	EXPECT_EQ(ric["N"].value, "130000");
	EXPECT_EQ(ric["O"].value, "1395000");
	EXPECT_EQ(ric["O"].format, "#,##0.00;-#,##0.00;0.00");
	// Twelve times 0,1 is 1,2 to the cent, not the sum's 1.2000000000000002.
	EXPECT_EQ(book.Row(4, "ALT")["O"].value, "1.2");
	EXPECT_EQ(book.Row(1, "ALT")["G"].value, "1.2");
	// A ratio keeps four decimals, as a number under a format that shows them.
	auto molr = book.Row(4, "MOLR");
	EXPECT_EQ(molr["O"].value, "0.1919");
	EXPECT_EQ(molr["O"].format, "#,##0.0000;-#,##0.0000;0.0000");
	// Negatives stay negative, with a format that shows their sign.
	auto cvar = book.Row(4, "CVAR");
	EXPECT_EQ(cvar["O"].value, "-767250");
	EXPECT_EQ(cvar["O"].format.find("-#,##0.00"), 9u);
}

// The year against its budget: the difference's percentage is a fraction the percent format shows.
TEST_F(StatementPrint, TheComparisonReadsAsExpectedOnThePageAndInTheSpreadsheet)
{
	const std::string open = "open KvzNet.KvzMod.KvzDocuments.BDComparazioneRiclassific --set COMPARA_MODELLO_1=CE "
		"--set COMPARA_MESE_A_1=12 --set COMPARA_MODELLO_2=CE --set COMPARA_MESE_A_2=12 --set COMPARA_VALORE_COLONNA_2=Si "
		"--set COMPARA_VALORE_NR_COLONNA_2=1 --run";
	std::string output;
	const fs::path pdf = Print("pdf", open, &output);
	ASSERT_TRUE(fs::exists(pdf)) << output;
	ASSERT_FALSE(Output("command -v pdftotext").empty() || Output("command -v unzip").empty())
		<< "pdftotext (poppler-utils) or unzip is needed: tools/install-deps installs it";
	ExpectGolden(Output("pdftotext -layout '" + pdf.string() + "' -"), "comparison.txt");

	const fs::path xlsx = Print("xlsx", open, &output);
	ASSERT_TRUE(fs::exists(xlsx)) << output;
	const Workbook book(xlsx);
	EXPECT_EQ(book.Sheets(), std::vector<std::string>{"Confronto per codice"});
	auto ric = book.Row(1, "RIC");
	EXPECT_EQ(ric["C"].value, "1395000");
	EXPECT_EQ(ric["D"].value, "1534500");
	EXPECT_EQ(ric["F"].format, "0.00%;-0.00%");
	// The budget is 10% over: 0.1 under a percent format, not 10.
	EXPECT_EQ(ric["F"].value, "0.1");
	EXPECT_EQ(book.Row(1, "MOL")["F"].value, "0.521");
}

// A ratio is computed by each report for its own column and months, and no print changes what a
// later report reads: the comparison is the same before and after a statement is printed.
TEST_F(StatementPrint, APrintChangesNoLaterComparisonAndEachTermHasItsOwnRatio)
{
	const std::string compare = "open KvzNet.KvzMod.KvzDocuments.BDComparazioneRiclassific --set COMPARA_MODELLO_1=CE "
		"--set COMPARA_MESE_A_1=6 --set COMPARA_MODELLO_2=CE --set COMPARA_MESE_A_2=6 --set COMPARA_VALORE_COLONNA_2=Si "
		"--set COMPARA_VALORE_NR_COLONNA_2=1 --set COMPARA_PROIEZI_MESI1=6 --run";
	std::string output;
	const fs::path before = Print("csv", compare, &output);
	ASSERT_TRUE(fs::exists(before)) << output;
	const std::string cells = ReadText(before);
	// MOL over revenues of January to June: 113.625 / 652.500 in the main column, projected to
	// the year or not; 178.875 / 717.750 in the budget's column 1.
	EXPECT_NE(cells.find("MOLR;MOL su ricavi;0,1741;0,2492;"), std::string::npos) << cells;
	const fs::path pdf = Print("pdf", "open KvzNet.KvzMod.KvzDocuments.BDStampaReportRiclassific "
							   "--set Codice:=CE --set 'Dal mese:=1' --set 'Al mese:=12' --run", &output);
	ASSERT_TRUE(fs::exists(pdf)) << output;
	const fs::path after = Print("csv", compare, &output);
	ASSERT_TRUE(fs::exists(after)) << output;
	EXPECT_EQ(ReadText(after), cells);
}

// A row whose formula the budget's column lacks has no budget figure to compare: its
// percentage stays empty rather than -100 %; the heading says what is subtracted from what.
TEST_F(StatementPrint, TheComparisonSaysItsSignAndLeavesEmptyTheRowsTheBudgetHasNoFormulaFor)
{
	{
		auto conn = SqlConnection::Open(CString(m_Db));
		conn->ExecuteSQL("UPDATE Kvz_RiclassificazioneRighe SET Formula1 = '' WHERE CodRiclassificato = 'CFIS'");
		conn->ExecuteSQL("UPDATE Kvz_Riclassificato SET Valore1 = 0 WHERE CodRiclassificato = 'CFIS'");
	}
	std::string output;
	const fs::path csv = Print("csv", "open KvzNet.KvzMod.KvzDocuments.BDComparazioneRiclassific --set COMPARA_MODELLO_1=CE "
		"--set COMPARA_MESE_A_1=12 --set COMPARA_MODELLO_2=CE --set COMPARA_MESE_A_2=12 --set COMPARA_VALORE_COLONNA_2=Si "
		"--set COMPARA_VALORE_NR_COLONNA_2=1 --run", &output);
	ASSERT_TRUE(fs::exists(csv)) << output;
	const std::string cells = ReadText(csv);
	EXPECT_NE(cells.find("Differenza (2° - 1°);Diff. %\r\n"), std::string::npos) << cells;
	EXPECT_NE(cells.find("\r\nCFIS;Costi fissi;-360000,00;0,00;360000,00;\r\n"), std::string::npos) << cells;
	EXPECT_NE(cells.find("\r\nRIC;Ricavi delle vendite;1395000,00;1534500,00;139500,00;10,00\r\n"), std::string::npos) << cells;
}

// Where a margin comes from: its formula's terms, then the margin itself.
TEST_F(StatementPrint, TheExplosionReadsAsExpectedOnThePage)
{
	std::string out;
	const fs::path pdf = Print("pdf",
							   "--dialog Saldo open KvzNet.KvzMod.KvzDocuments.DModelliRiclassific --find "
							   "--set ModelloRiclassific=CE --save '--row=Righe riclassificazioni=5' --command Esplosione",
							   &out);
	ASSERT_TRUE(fs::exists(pdf)) << out;
	ASSERT_FALSE(Output("command -v pdftotext").empty())
		<< "pdftotext (poppler-utils) is needed: tools/install-deps installs it";
	ExpectGolden(Output("pdftotext -layout '" + pdf.string() + "' -"), "explosion.txt");
}

}  // namespace
