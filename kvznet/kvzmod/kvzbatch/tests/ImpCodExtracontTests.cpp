#include <algorithm>
#include <fstream>

#include "kvznet/kvzmod/kvzbatch/ImpCodExtracont.h"
#include "kvznet/kvzmod/kvzbatch/RigaCodExtracont.h"
#include "kvznet/kvzmod/kvzbatch/tests/BatchFixture.h"
#include "kvznet/kvzmod/kvzdbl/KvzNetSettings.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabiliTesta.h"
#include "platform/plvgeneric/Settings.h"

namespace {

// A field of the file: the text padded (or cut) to its width, counted in characters.
std::string Campo(const std::string& text, int width)
{
	CString s(text);
	const int n = s.GetCharCount();
	return n >= width ? s.MidChars(0, width).str() : text + std::string(size_t(width - n), ' ');
}

// A whole line; the slot, when given, follows the formula padded to its 50 characters.
std::string Riga(const std::string& anno, const std::string& codice, const std::string& descr, const std::string& mese,
				 const std::string& formula = "", const std::string& slot = "")
{
	std::string line = Campo(anno, 4) + Campo(codice, 26) + Campo(descr, 64) + Campo(mese, 2);
	if (!formula.empty() || !slot.empty())
		line += slot.empty() ? formula : Campo(formula, 50) + slot;
	return line;
}

class ImpCodExtracont : public BatchTest
{
protected:
	void SetUp() override
	{
		BatchTest::SetUp();
		AfxSetSettingsRoot(CString((m_Folder / "settings").string()));
	}
	void TearDown() override
	{
		BatchTest::TearDown();
		AfxSetSettingsRoot(CString());
	}
	std::string File(const std::vector<std::string>& lines, const char* eol = "\n", const char* name = "codici.txt")
	{
		const std::string path = (m_Folder / name).string();
		std::ofstream out(path, std::ios::binary);
		for (const auto& l : lines)
			out << l << eol;
		return path;
	}
	BOOL Importa(const std::string& path)
	{
		FormDriver form = Apri(RUNTIME_CLASS(Kvz_CImpCodExtracontDoc), RUNTIME_CLASS(Kvz_CImpCodExtracontView));
		EXPECT_TRUE(form.Type("Nome del file da importare:", CString(path)));
		const BOOL bOk = form.RunBatch();
		form.Close();
		return bOk;
	}
	// A month row as "formula|formula1|...|formula10" without the empty tail.
	std::string Formule(int anno, const char* codice, int mese)
	{
		auto v = Scalar("SELECT Formula || '|' || Formula1 || '|' || Formula2 || '|' || Formula3 || '|' || Formula4 || "
						"'|' || Formula5 || '|' || Formula6 || '|' || Formula7 || '|' || Formula8 || '|' || Formula9 || "
						"'|' || Formula10 FROM Kvz_CodExtracontabiliMesi WHERE Esercizio = " +
						std::to_string(anno) + " AND CodExtracont = '" + codice + "' AND Mese = " + std::to_string(mese));
		if (!v || !std::holds_alternative<std::string>(*v))
			return "(none)";
		std::string s = std::get<std::string>(*v);
		s.erase(s.find_last_not_of('|') + 1);
		return s;
	}
	std::string Descrizione(int anno, const char* codice)
	{
		auto v = Scalar("SELECT Descrizione FROM Kvz_CodExtracontabili WHERE Esercizio = " + std::to_string(anno) +
						" AND CodExtracont = '" + codice + "'");
		return v && std::holds_alternative<std::string>(*v) ? std::get<std::string>(*v) : "(none)";
	}
	std::vector<CString> Scartate() const
	{
		// The message list is shown as one text, a line per message.
		std::vector<CString> out;
		for (const CString& m : Shown())
			for (size_t from = 0; from <= m.str().size();)
			{
				const size_t nl = std::min(m.str().find('\n', from), m.str().size());
				const CString riga(m.str().substr(from, nl - from));
				if (riga.Find("scartata") >= 0 || riga.Find("non importata") >= 0)
					out.push_back(riga);
				from = nl + 1;
			}
		return out;
	}
};

TEST(RigaCodExtracont, FieldsByCharactersAndEveryRefusal)
{
	const struct
	{
		std::string line;
		const char* perche;  // empty: read
		int mese, colonna;
		const char* formula;
	} casi[] = {
		{Riga("2026", "ORE", "Ore lavorate", "01"), "", 1, 0, ""},                  // 96 characters
		{Riga("2026", "ORE", "Ore lavorate", "01", "7"), "", 1, 0, "7"},            // 97
		{Riga("2026", "ORE", "Ore lavorate", "01", std::string(50, '9')), "", 1, 0, "99999999999999999999999999999999999999999999999999"},  // 146
		{Riga("2026", "ORE", "Ore lavorate", "01", "_A", "3"), "", 1, 3, "_A"},     // 147
		{Riga("2026", "ORE", "Ore lavorate", "12", "_A", "10"), "", 12, 10, "_A"},  // 148
		{Riga("2026", "ORE", "Ore lavorate", " 5", "_A", " 2"), "", 5, 2, "_A"},
		{Riga("2026", "", "Senza codice", "01", "1"), "codice vuoto", 0, 0, ""},
		{Riga("20x6", "ORE", "", "01", "1"), "esercizio \"20x6\" non numerico", 0, 0, ""},
		{Riga("", "ORE", "", "01", "1"), "esercizio \"\" non numerico", 0, 0, ""},
		{Riga("0", "ORE", "", "01", "1"), "esercizio 0 non valido", 0, 0, ""},
		{Riga("2026", "ORE", "", "ab", "1"), "mese \"ab\" non numerico", 0, 0, ""},
		{Riga("2026", "ORE", "", "0", "1"), "mese 0 fuori dall'intervallo 1..12", 0, 0, ""},
		{Riga("2026", "ORE", "", "13", "1"), "mese 13 fuori dall'intervallo 1..12", 0, 0, ""},
		{Riga("2026", "ORE", "", "99", "1"), "mese 99 fuori dall'intervallo 1..12", 0, 0, ""},
		{Riga("2026", "ORE", "", "", ""), "mese \"\" non numerico", 0, 0, ""},
		{Riga("2026", "ORE", "", "01", "1", "11"), "colonna della formula 11 fuori dall'intervallo 0..10", 0, 0, ""},
		{Riga("2026", "ORE", "", "01", "1", "-1"), "colonna della formula -1 fuori dall'intervallo 0..10", 0, 0, ""},
		{Riga("2026", "ORE", "", "01", "1", "x"), "colonna della formula \"x\" non numerica", 0, 0, ""},
		{Riga("2026", "O\x1bRE", "", "01", "1"), "codice con caratteri di controllo", 0, 0, ""},
		{Riga("2026", "ORE", "Ore\x07", "01", "1"), "descrizione con caratteri di controllo", 0, 0, ""},
		{Riga("2026", "ORE", "", "01", "1\x7f"), "formula con caratteri di controllo", 0, 0, ""},
	};
	for (const auto& c : casi)
	{
		SCOPED_TRACE(c.line);
		kvzbatch::RigaCodExtracont riga;
		EXPECT_EQ(kvzbatch::LeggiRigaCodExtracont(CString(c.line), riga).str(), c.perche);
		if (*c.perche)
			continue;
		EXPECT_EQ(riga.esercizio, 2026);
		EXPECT_EQ(riga.codice.str(), "ORE");
		EXPECT_EQ(riga.descrizione.str(), "Ore lavorate");
		EXPECT_EQ(riga.mese, c.mese);
		EXPECT_EQ(riga.colonna, c.colonna);
		EXPECT_EQ(riga.formula.str(), c.formula);
	}
	EXPECT_EQ(Riga("2026", "ORE", "Ore lavorate", "01").size(), 96u);
	EXPECT_EQ(Riga("2026", "ORE", "Ore lavorate", "01", "_A", "3").size(), 147u);

	// Accented letters take one column each, however many bytes they are.
	kvzbatch::RigaCodExtracont riga;
	const std::string accenti = Riga("2026", "CITTÀ", "Attività di città ed è così", "02", "_B*2", "1");
	ASSERT_EQ(kvzbatch::LeggiRigaCodExtracont(CString(accenti), riga).str(), "");
	EXPECT_EQ(riga.codice.str(), "CITTÀ");
	EXPECT_EQ(riga.descrizione.str(), "Attività di città ed è così");
	EXPECT_EQ(riga.mese, 2);
	EXPECT_EQ(riga.formula.str(), "_B*2");
	EXPECT_EQ(riga.colonna, 1);
}

TEST_F(ImpCodExtracont, ImportsHeadsAndMonthsAndClearsWithAnEmptyFormula)
{
	// An existing code keeps its description; its month row keeps the slots the file leaves alone.
	Kvz_TCodExtracontabiliTesta testa;
	testa.f_Esercizio = 2026;
	testa.f_CodExtracont = "ORE";
	testa.f_Descrizione = "Dal registro";
	Insert(testa);
	ASSERT_TRUE(Importa(File({
		Riga("2026", "ORE", "Ore lavorate", "01", "100"),
		Riga("2026", "ORE", "Ore lavorate", "01", "_A", "3"),
		Riga("2026", "ORE", "Ore lavorate", "02", std::string(50, '9')),
		Riga("2026", "MQ", "Metri quadri", "01", "250", "10"),
		Riga("2027", "MQ", "Metri quadri 2027", "01", "260"),  // same code, next year: a head of its own
		Riga("2026", "CITTÀ", "Attività di città", "03", "_ORE/2"),
	})));
	EXPECT_EQ(Descrizione(2026, "ORE"), "Dal registro");
	EXPECT_EQ(Descrizione(2026, "MQ"), "Metri quadri");
	EXPECT_EQ(Descrizione(2027, "MQ"), "Metri quadri 2027");
	EXPECT_EQ(Descrizione(2026, "CITTÀ"), "Attività di città");
	EXPECT_EQ(Formule(2026, "ORE", 1), "100|||_A");
	EXPECT_EQ(Formule(2026, "ORE", 2), std::string(50, '9'));
	EXPECT_EQ(Formule(2026, "MQ", 1), "||||||||||250");
	EXPECT_EQ(Formule(2027, "MQ", 1), "260");
	EXPECT_EQ(Formule(2026, "CITTÀ", 3), "_ORE/2");
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_CodExtracontabili"), 4);
	EXPECT_EQ(m_Ui.ProgressTexts().back(), "Importazione terminata.");
	EXPECT_TRUE(WasShown("Righe lette: 6, importate: 6, scartate: 0."));
	EXPECT_FALSE(m_pConn->IsInTransaction());

	// Lines ended by a CR alone read as lines, as with LF or CR LF.
	ASSERT_TRUE(Importa(File({Riga("2026", "CR", "Solo CR", "01", "1"), Riga("2026", "CR", "Solo CR", "02", "2"),
							  Riga("2026", "CR", "Solo CR", "03", "3")},
							 "\r", "cr.txt")));
	EXPECT_TRUE(WasShown("Righe lette: 3, importate: 3, scartate: 0."));
	EXPECT_EQ(Formule(2026, "CR", 3), "3");

	// A line of 96 characters has an empty formula: it clears the main formula, nothing else.
	ASSERT_TRUE(Importa(File({Riga("2026", "ORE", "", "01")}, "\r\n")));
	EXPECT_EQ(Formule(2026, "ORE", 1), "|||_A");
}

TEST_F(ImpCodExtracont, BadLinesAreRefusedByNumberAndTheRestImported)
{
	const std::string lunga = Riga("2026", "LUNGA", "Riga lunghissima", "04", "1", "02") + std::string(1500, 'z') +
							  Riga("2026", "FANTASMA", "", "01", "1");
	m_Ui.SetEcho(false);
	// What was imported stays, but a run that refused lines is no success.
	ASSERT_FALSE(Importa(File(
		{
			Riga("2026", "A", "Primo", "01", "1"),
			Riga("2026", "", "Senza codice", "01", "2"),  // line 2
			Riga("2026", "A", "Primo", "13", "3"),        // line 3
			"",                                          // blank: skipped, not refused
			lunga,                                       // longer than 1023: its tail is no line
			Riga("2026", "A", "Primo", "02", "4", "11"),  // line 6
			Riga("2026", "A", "Primo", "03", "5", "10"),
			Riga("2026", "B\x1b[2J", "Con ESC", "01", "6"),  // line 8
		},
		"\r\n")));
	const std::vector<CString> scartate = Scartate();
	ASSERT_EQ(scartate.size(), 4u) << ::testing::PrintToString(Shown());
	EXPECT_EQ(scartate[0].str(), "Riga 2 scartata: codice vuoto.");
	EXPECT_EQ(scartate[1].str(), "Riga 3 scartata: mese 13 fuori dall'intervallo 1..12.");
	EXPECT_EQ(scartate[2].str(), "Riga 6 scartata: colonna della formula 11 fuori dall'intervallo 0..10.");
	EXPECT_EQ(scartate[3].str(), "Riga 8 scartata: codice con caratteri di controllo.");
	EXPECT_TRUE(WasShown("Righe lette: 8, importate: 3, scartate: 4."));
	const std::vector<CString> avanzamento = m_Ui.ProgressTexts();
	ASSERT_GE(avanzamento.size(), 2u);
	EXPECT_EQ(avanzamento[avanzamento.size() - 2], "Importazione in corso ... (elaborati: 8 di 8)");
	EXPECT_EQ(avanzamento.back(), "Importazione terminata con errori: 3 righe importate, 4 scartate.");
	EXPECT_EQ(Formule(2026, "A", 1), "1");
	EXPECT_EQ(Formule(2026, "A", 3), "||||||||||5");  // CR LF: the slot is read without the CR
	EXPECT_EQ(Formule(2026, "LUNGA", 4), "||1");
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_CodExtracontabiliMesi"), 3);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_CodExtracontabili"), 2);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_CodExtracontabiliMesi WHERE CodExtracont = '' OR Mese > 12"), 0);
}

TEST_F(ImpCodExtracont, NoFileOrAMissingOneIsRefusedBeforeAnyTransaction)
{
	const struct
	{
		std::string path;
		const char* messaggio;
	} casi[] = {
		{"", "Indicare il file da importare."},
		{(m_Folder / "manca.txt").string(), "manca.txt: file non trovato."},
		{m_Folder.string(), ": non è un file."},
	};
	for (const auto& c : casi)
	{
		SCOPED_TRACE(c.messaggio);
		m_Ui.Clear();
		EXPECT_FALSE(Importa(c.path));
		EXPECT_TRUE(WasShown(c.messaggio));
		EXPECT_FALSE(m_pConn->IsInTransaction());
	}
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_CodExtracontabiliMesi"), 0);
}

TEST_F(ImpCodExtracont, BrowseKeepsThePathAsChosenAndTheNextFormProposesIt)
{
	const std::string path = File({Riga("2026", "A", "Primo", "01", "1")}, "\n", "Codici Extra.TXT");
	{
		FormDriver form = Apri(RUNTIME_CLASS(Kvz_CImpCodExtracontDoc), RUNTIME_CLASS(Kvz_CImpCodExtracontView));
		m_Ui.PushFile("");  // cancelled: nothing changes
		ASSERT_TRUE(form.Press("&Sfoglia"));
		EXPECT_EQ(form.Text("Nome del file da importare:").str(), "");
		m_Ui.PushFile(CString(path));
		ASSERT_TRUE(form.Press("&Sfoglia"));
		EXPECT_EQ(form.Text("Nome del file da importare:").str(), path);
		ASSERT_TRUE(form.RunBatch());
		form.Close();
	}
	EXPECT_EQ(Formule(2026, "A", 1), "1");
	EXPECT_EQ(CKvzNetSettings().GetImpCodExtracontDocFileCodici().GetString().str(), path);
	FormDriver form = Apri(RUNTIME_CLASS(Kvz_CImpCodExtracontDoc), RUNTIME_CLASS(Kvz_CImpCodExtracontView));
	EXPECT_EQ(form.Text("Nome del file da importare:").str(), path);
	// A folder that does not exist is refused by the dialog.
	m_Ui.PushFile(CString((m_Folder / "nessuna" / "codici.txt").string()));
	ASSERT_TRUE(form.Press("&Sfoglia"));
	EXPECT_TRUE(WasShown("Percorso non trovato"));
	EXPECT_EQ(form.Text("Nome del file da importare:").str(), path);
}

TEST_F(ImpCodExtracont, AbortKeepsWhatWasImported)
{
	std::vector<std::string> lines;
	for (int m = 1; m <= 12; ++m)
		lines.push_back(Riga("2026", "A", "Primo", std::to_string(m), std::to_string(m)));
	m_Ui.AbortAfterPolls(4);
	EXPECT_TRUE(Importa(File(lines)));
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_CodExtracontabiliMesi"), 3);
	EXPECT_EQ(m_Ui.ProgressTexts().back(), "Elaborazione interrotta su richiesta utente.");
	EXPECT_FALSE(m_pConn->IsInTransaction());
}

TEST_F(ImpCodExtracont, ACommitThatFailsKeepsNothingAndIsNotReportedAsDone)
{
	CommitFailsAfterInsertInto("Kvz_CodExtracontabiliMesi");
	m_Ui.SetEcho(false);
	const std::string path = File({Riga("2026", "A", "Primo", "01", "1"), Riga("2026", "A", "Primo", "02", "2")});
	EXPECT_FALSE(Importa(path));
	EXPECT_FALSE(m_pConn->IsInTransaction());
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_CodExtracontabili"), 0);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_CodExtracontabiliMesi"), 0);
	EXPECT_EQ(m_Ui.ProgressTexts().back(), "Importazione non registrata.");
	EXPECT_TRUE(WasShown(CommitFailure())) << ::testing::PrintToString(Shown());
	EXPECT_TRUE(WasShown("Importazione non registrata: nessuna delle 2 righe lette è stata importata."));
	EXPECT_FALSE(WasShown("Importazione terminata."));
	EXPECT_FALSE(WasShown("Righe lette:"));

	// The rollback left the company as it was: the same file imports once the commit can succeed.
	DropTrigger("KvzTestBlocca", "Kvz_CodExtracontabiliMesi");
	ASSERT_TRUE(Importa(path));
	EXPECT_EQ(Formule(2026, "A", 2), "2");
}

TEST_F(ImpCodExtracont, AWindowsCodePageFileAndAByteOrderMarkReadAsText)
{
	// Windows-1252: "Attività" with 0xE0, the euro sign 0x80; a UTF-8 file may start with a BOM.
	const std::string descr = "Attivit\xE0 in \x80";  // a byte a character
	const std::string cp1252 = "2026" + Campo("EURO", 26) + descr + std::string(64 - descr.size(), ' ') + "01" + "1";
	const std::string path = File({cp1252}, "\r\n", "cp1252.txt");
	ASSERT_TRUE(Importa(path));
	EXPECT_EQ(Descrizione(2026, "EURO"), "Attività in €");
	const std::string bom = "\xEF\xBB\xBF" + Riga("2026", "BOM", "Con BOM", "02", "2");
	ASSERT_TRUE(Importa(File({bom}, "\n", "bom.txt")));
	EXPECT_EQ(Formule(2026, "BOM", 2), "2");
	EXPECT_EQ(Descrizione(2026, "BOM"), "Con BOM");
}

// What a Windows editor saves as "Unicode": UTF-16 of either byte order after its mark.
std::string Utf16(const std::string& utf8, bool bBigEndian)
{
	std::string out = bBigEndian ? "\xFE\xFF" : "\xFF\xFE";
	auto unit = [&](unsigned u) {
		const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
		out += bBigEndian ? std::string{hi, lo} : std::string{lo, hi};
	};
	for (size_t i = 0; i < utf8.size();)
	{
		const unsigned char c = static_cast<unsigned char>(utf8[i]);
		const size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
		unsigned cp = n == 1 ? c : c & (0xFF >> (n + 1));
		for (size_t k = 1; k < n; ++k)
			cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
		i += n;
		if (cp >= 0x10000)
		{
			unit(0xD800 + ((cp - 0x10000) >> 10));
			unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
		}
		else
			unit(cp);
	}
	return out;
}

TEST_F(ImpCodExtracont, AUtf16FileIsReadInEitherByteOrder)
{
	for (const bool bBigEndian : {false, true})
	{
		SCOPED_TRACE(bBigEndian ? "big endian" : "little endian");
		const std::string codice = bBigEndian ? "BE" : "LE";
		const std::string testo = Riga("2026", codice, "Attività €𝄞", "01", "10") + "\r\n" +
								  Riga("2026", codice, "", "02", "20", "3") + "\r\n";
		const std::string path = (m_Folder / ("utf16-" + codice + ".txt")).string();
		std::ofstream(path, std::ios::binary) << Utf16(testo, bBigEndian);
		m_Ui.Clear();
		ASSERT_TRUE(Importa(path)) << ::testing::PrintToString(Shown());
		EXPECT_TRUE(WasShown("Righe lette: 2, importate: 2, scartate: 0."));
		EXPECT_EQ(Descrizione(2026, codice.c_str()), "Attività €𝄞");
		EXPECT_EQ(Formule(2026, codice.c_str(), 1), "10");
		EXPECT_EQ(Formule(2026, codice.c_str(), 2), "|||20");
	}
}

// A formula the register of the codes would warn about is imported with the register's warning.
TEST_F(ImpCodExtracont, FormulasTheRegisterWarnsAboutAreImportedWithItsWarning)
{
	Kvz_TAnagSimboli simbolo;
	simbolo.f_Esercizio = 2026;
	simbolo.f_ModelloRiclassific = "ORE";
	simbolo.f_NomeSimbolo = "TURNI";
	Insert(simbolo);
	m_Ui.SetEcho(false);
	ASSERT_TRUE(Importa(File({
		Riga("2026", "ORE", "Ore lavorate", "01", "_TURNI*8"),
		Riga("2026", "ORE", "Ore lavorate", "02", "((((((((("),
		Riga("2026", "ORE", "Ore lavorate", "03", "_NONESISTE+1"),
		Riga("2026", "MQ", "Metri quadri", "01", "_TURNI+1"),  // a symbol of another code
	})));
	EXPECT_TRUE(WasShown("Riga 2: errore nella formula (((((((((: Operando mancante alla fine dell'espressione "
						 "(posizione 10)."))
		<< ::testing::PrintToString(Shown());
	EXPECT_TRUE(WasShown("Riga 3: errore nella formula _NONESISTE+1: Simbolo sconosciuto: _NONESISTE (posizione 1)."));
	EXPECT_TRUE(WasShown("Riga 4: errore nella formula _TURNI+1: Simbolo sconosciuto: _TURNI (posizione 1)."));
	EXPECT_FALSE(WasShown("Riga 1:"));
	EXPECT_TRUE(WasShown("Righe lette: 4, importate: 4, scartate: 0."));
	EXPECT_EQ(Formule(2026, "ORE", 2), "(((((((((");
	EXPECT_EQ(Formule(2026, "ORE", 3), "_NONESISTE+1");
}

}  // namespace
