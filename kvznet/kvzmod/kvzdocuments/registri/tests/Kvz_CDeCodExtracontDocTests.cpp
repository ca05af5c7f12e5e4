// The extra-accounting codes register driven as a user drives its form: twelve months of
// formulas checked as typed, column titles from the descriptions, counters written only on
// request, and a new code copied from another code and year with its symbols.
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TElencoContiSimboloPBase.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciRiclass.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliOutputRiclass.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliPianoBase.h"
#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_CDeCodExtracontDoc.h"
#include "kvznet/kvzmod/kvzdocuments/tests/KvzDocumentsFixture.h"
#include "platform/plvges/FormDriver.h"
#include "platform/plvoledb/driver/Driver.h"

namespace {
const char* const kMesi = "Mesi";
const char* const kDescr = "Descrizioni extracontabili";

class CodiciExtracont : public KvzDocumentsLibrary
{
protected:
	void Inserisci(SqlRecord& rec)
	{
		SqlTable t(&rec);
		t.Open(TRUE);
		t.AddNew(FALSE);
		t.Update();
	}
	void Codice(int anno, const char* codice, std::initializer_list<int> mesi, const char* formula = "1")
	{
		Kvz_TCodExtracontabiliTesta t;
		t.f_Esercizio = anno;
		t.f_CodExtracont = codice;
		t.f_Descrizione = "Sorgente";
		Inserisci(t);
		for (int m : mesi)
		{
			Kvz_TCodExtracontabili r;
			r.f_Esercizio = anno;
			r.f_CodExtracont = codice;
			r.f_Mese = m;
			r.f_Formula = formula;
			r.f_Formula3 = CString::Formatted("%d", m);
			Inserisci(r);
		}
	}
	void Descrizione(int anno, const char* codice, int indice, const char* testo)
	{
		Kvz_TDescrFormula d;
		d.f_Esercizio = anno;
		d.f_TipoCodice = DataEnum(E_KVZ_TIPOSIMBOLO, 1);
		d.f_Codice = codice;
		d.f_TipoBudget = DataEnum(E_KVZ_TIPOBUDGET, 3);
		d.f_IndiceFormula = indice;
		d.f_Descrizione = testo;
		Inserisci(d);
	}
	void Anagrafica(int anno, const char* codice, const char* nome, WORD tipo)
	{
		Kvz_TAnagSimboli a;
		a.f_Esercizio = anno;
		a.f_ModelloRiclassific = codice;
		a.f_NomeSimbolo = nome;
		a.f_TipoSimbolo = DataEnum(E_KVZ_TIPOSIMBOLO, tipo);
		Inserisci(a);
	}
	void SimboloRiclass(int anno, const char* codice, const char* nome, int valoreEs, const char* valoreModello)
	{
		Anagrafica(anno, codice, nome, 3);
		Kvz_TSimboliCodiciRiclass s;
		s.f_Esercizio = anno;
		s.f_ModelloRiclassific = codice;
		s.f_NomeSimbolo = nome;
		s.f_ValoreEs = valoreEs;
		s.f_ValoreModello = valoreModello;
		s.f_ValoreCodice = "C1";
		Inserisci(s);
	}
	void Elenco(int anno, const char* codice, const char* nome, const char* conto, const char* centro = "")
	{
		Kvz_TElencoContiSimboloPBase e;
		e.f_Esercizio = anno;
		e.f_ModelloRiclassific = codice;
		e.f_NomeSimbolo = nome;
		e.f_ContoSelez = conto;
		e.f_CentroCommessa = centro;
		Inserisci(e);
	}
	std::string Query(const std::string& sql)
	{
		auto st = m_pConn->Db().Prepare(sql);
		std::string out;
		while (st->Step())
		{
			if (!out.empty())
				out += ";";
			for (int i = 0; i < st->ColumnCount(); ++i)
			{
				auto v = st->Column(i);
				if (i)
					out += "|";
				if (auto* p = std::get_if<std::int64_t>(&v))
					out += std::to_string(*p);
				else if (auto* q = std::get_if<std::string>(&v))
					out += *q;
			}
		}
		return out;
	}
	FormDriver Apri()
	{
		auto* pDoc = Open<Kvz_CDeCodExtracontDoc>("DCodExtracont");
		EXPECT_NE(pDoc, nullptr);
		return FormDriver(pDoc);
	}
	static void Nuovo(FormDriver& form, const char* anno, const char* codice)
	{
		ASSERT_TRUE(form.New()) << form.GetLastError();
		ASSERT_TRUE(form.Type("Esercizio", anno)) << form.GetLastError();
		ASSERT_TRUE(form.Type("Codice", codice)) << form.GetLastError();
	}
	static std::string Colonna(const FormDriver& form, const char* grid, const char* colonna)
	{
		std::string s;
		for (int i = 0; i < form.RowCount(grid); ++i)
			s += (i ? "," : "") + form.Cell(grid, i, colonna).str();
		return s;
	}
	static std::string Titoli(const FormDriver& form)
	{
		std::string s;
		for (int i = 0; i <= 10; ++i)
			s += (i ? "," : "") + form.Grid(kMesi)->GetColumnInfo(IDC_EXTRA_R_FORMULA + i)->GetTitle().str();
		return s;
	}
	bool Detto(const char* testo) const
	{
		for (const ShownMessage& m : m_Ui.Messages())
			if (m.text.Find(testo) >= 0)
				return true;
		return false;
	}
};
}  // namespace

TEST_F(CodiciExtracont, ANewCodeHasTwelveMonthsAndTheSaveRefusesABadOne)
{
	FormDriver form = Apri();
	ASSERT_TRUE(form.New());
	EXPECT_EQ(Colonna(form, kMesi, "Mese"), "1,2,3,4,5,6,7,8,9,10,11,12");
	EXPECT_EQ(Colonna(form, kDescr, "ColonnaFormula"), "0,1,2,3,4,5,6,7,8,9,10");
	EXPECT_TRUE(form.IsModified());
	EXPECT_TRUE(form.IsEditable("EXTRA_EFFETTUA_COPIA"));

	// Without a code the key check refuses the record.
	ASSERT_TRUE(form.Type("Codice", ""));
	EXPECT_FALSE(form.Save());
	EXPECT_TRUE(Detto("Indicare sia l'esercizio che il codice extracontabile."));
	ASSERT_TRUE(form.Type("Codice", "ORE"));

	// The row after December has no month: the save names it and keeps the rows.
	ASSERT_TRUE(form.AddRow(kMesi));
	m_Ui.Clear();
	EXPECT_FALSE(form.Save());
	EXPECT_TRUE(Detto("Il mese alla riga 13 non e' valido.")) << m_Ui.LastMessage().GetString();
	EXPECT_EQ(form.RowCount(kMesi), 13);

	// A new row follows the month of the row above it, whatever the others hold.
	for (int i = 12; i >= 5; --i)
		ASSERT_TRUE(form.DeleteRow(kMesi, i));
	ASSERT_TRUE(form.AddRow(kMesi));
	EXPECT_EQ(Colonna(form, kMesi, "Mese"), "1,2,3,4,5,6");
	// Two rows of one month: the duplicate check refuses the save.
	ASSERT_TRUE(form.TypeCell(kMesi, 5, "Mese", "2"));
	EXPECT_FALSE(form.Save());
	ASSERT_TRUE(form.TypeCell(kMesi, 5, "Mese", "9"));
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage().GetString();
	EXPECT_EQ(Query("SELECT group_concat(Mese) FROM (SELECT Mese FROM Kvz_CodExtracontabiliMesi WHERE CodExtracont = "
					"'ORE' ORDER BY Mese)"),
			  "1,2,3,4,5,9");
	EXPECT_EQ(Query("SELECT COUNT(*) FROM Kvz_DescrFormule WHERE Codice = 'ORE'"), "11");
	EXPECT_FALSE(form.IsEditable("EXTRA_EFFETTUA_COPIA"));

	// Editing a code whose descriptions exist adds none.
	ASSERT_TRUE(form.Edit());
	EXPECT_EQ(form.RowCount(kDescr), 11);
	ASSERT_TRUE(form.Escape());

	// A second code ORE of the year is refused with the reason; another year takes it.
	Nuovo(form, "2026", "ORE");
	m_Ui.Clear();
	EXPECT_FALSE(form.Save());
	EXPECT_EQ(m_Ui.LastMessage(), "Il codice extracontabile ORE esercizio 2026 esiste gia'.");
	EXPECT_FALSE(Detto("UNIQUE"));
	EXPECT_EQ(Query("SELECT COUNT(*) FROM Kvz_CodExtracontabiliMesi WHERE CodExtracont = 'ORE'"), "6");
	ASSERT_TRUE(form.Type("Esercizio", "2027"));
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage().GetString();
}

TEST_F(CodiciExtracont, TheDescriptionsTitleTheFormulaColumns)
{
	// Fewer than eleven rows, one of them empty.
	Codice(2026, "POCHE", {1});
	Descrizione(2026, "POCHE", 0, "Ricavi");
	Descrizione(2026, "POCHE", 1, "");
	Descrizione(2026, "POCHE", 2, "Costi");
	// A twelfth row (another budget kind) changes no title.
	Codice(2026, "DODICI", {1});
	for (int i = 0; i <= 10; ++i)
		Descrizione(2026, "DODICI", i, CString::Formatted("D%d", i).GetString());
	{
		Kvz_TDescrFormula d;
		d.f_Esercizio = 2026;
		d.f_TipoCodice = DataEnum(E_KVZ_TIPOSIMBOLO, 1);
		d.f_Codice = "DODICI";
		d.f_TipoBudget = DataEnum(E_KVZ_TIPOBUDGET, 4);
		d.f_IndiceFormula = 10;
		d.f_Descrizione = "Dodicesima";
		Inserisci(d);
	}
	FormDriver form = Apri();
	ASSERT_TRUE(form.Find());
	ASSERT_TRUE(form.Type("Esercizio", "2026"));
	ASSERT_TRUE(form.Type("Codice", "POCHE"));
	ASSERT_TRUE(form.Save()) << form.GetLastError();
	EXPECT_EQ(Titoli(form), "Ricavi,Formula1,Costi,Formula3,Formula4,Formula5,Formula6,Formula7,Formula8,Formula9,"
							"Formula10");
	ASSERT_TRUE(form.Find());
	ASSERT_TRUE(form.Type("Esercizio", "2026"));
	ASSERT_TRUE(form.Type("Codice", "DODICI"));
	ASSERT_TRUE(form.Save()) << form.GetLastError();
	EXPECT_EQ(form.RowCount(kDescr), 12);
	EXPECT_EQ(Titoli(form), "D0,D1,D2,D3,D4,D5,D6,D7,D8,D9,D10");
}

TEST_F(CodiciExtracont, AFormulaIsCheckedAsItIsTypedAndItsUsesAreCountedWithTheSave)
{
	SimboloRiclass(2026, "ORE", "R", 0, "");
	auto contatori = [&] { return Query("SELECT Codice || '=' || ContatoreUtilizzi FROM Kvz_ContatoriCodici"); };
	auto dettaglio = [&] {
		return Query("SELECT CodiceCheUtilizza || '/' || FormulaCheUtilizza || '=' || ContatoreUtilizzi "
					 "FROM Kvz_ContatoriDettaglio ORDER BY 1");
	};
	FormDriver form = Apri();
	Nuovo(form, "2026", "ORE");
	m_Ui.Clear();
	ASSERT_TRUE(form.TypeCell(kMesi, 0, "Formula", "1+("));
	EXPECT_TRUE(Detto("Errore nella formula.")) << m_Ui.LastMessage().GetString();
	m_Ui.Clear();
	ASSERT_TRUE(form.TypeCell(kMesi, 2, "Formula4", "_R * 2"));
	ASSERT_TRUE(form.TypeCell(kMesi, 0, "Formula", "_R"));
	EXPECT_FALSE(Detto("Errore nella formula."));
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage().GetString();
	EXPECT_EQ(contatori(), "C1=2");
	EXPECT_EQ(dettaglio(), "MESE1/0=1;MESE3/4=1");

	// In browse mode the command only shows them.
	ASSERT_TRUE(form.Command("Contatori")) << form.GetLastError();
	EXPECT_EQ(contatori(), "C1=2");
	// Opened while editing, they are written at once with the months as they stand, whole, even
	// when no formula changed; abandoning the edit keeps them.
	ASSERT_TRUE(form.Edit());
	ASSERT_TRUE(form.Command("Contatori")) << form.GetLastError();
	EXPECT_EQ(contatori(), "C1=2");
	ASSERT_TRUE(form.TypeCell(kMesi, 0, "Formula", "_R + _R"));
	ASSERT_TRUE(form.Command("Contatori")) << form.GetLastError();
	EXPECT_EQ(contatori(), "C1=3");
	EXPECT_EQ(dettaglio(), "MESE1/0=2;MESE3/4=1");
	ASSERT_TRUE(form.Escape());
	EXPECT_EQ(contatori(), "C1=3");
	// A save puts them back to what is saved.
	ASSERT_TRUE(form.Edit());
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage().GetString();
	EXPECT_EQ(contatori(), "C1=2");

	// The same in new-record mode, before the code exists.
	SimboloRiclass(2026, "NUOVO", "R", 0, "");
	Nuovo(form, "2026", "NUOVO");
	ASSERT_TRUE(form.TypeCell(kMesi, 0, "Formula", "_R"));
	ASSERT_TRUE(form.Command("Contatori"));
	EXPECT_EQ(contatori(), "C1=3");
	ASSERT_TRUE(form.Escape());
	EXPECT_EQ(Query("SELECT COUNT(*) FROM Kvz_CodExtracontabiliMesi WHERE CodExtracont = 'NUOVO'"), "0");
}

// A use that goes lowers the code's count, whether its month loses the formula, the month goes
// or the whole code goes; another code's use stays counted.
TEST_F(CodiciExtracont, AUseThatGoesLowersTheCountersAndADeletedCodeTakesItsUses)
{
	SimboloRiclass(2026, "ORE", "R", 0, "");
	SimboloRiclass(2026, "ALT", "R", 0, "");
	auto contatori = [&] { return Query("SELECT Codice || '=' || ContatoreUtilizzi FROM Kvz_ContatoriCodici"); };
	auto dettaglio = [&] {
		return Query("SELECT ModelloRiclassific || ':' || CodiceCheUtilizza || '=' || ContatoreUtilizzi "
					 "FROM Kvz_ContatoriDettaglio ORDER BY 1");
	};
	FormDriver form = Apri();
	Nuovo(form, "2026", "ALT");
	ASSERT_TRUE(form.TypeCell(kMesi, 0, "Formula", "_R"));
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage().GetString();
	Nuovo(form, "2026", "ORE");
	ASSERT_TRUE(form.TypeCell(kMesi, 2, "Formula", "_R"));
	ASSERT_TRUE(form.TypeCell(kMesi, 4, "Formula", "_R"));
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage().GetString();
	EXPECT_EQ(contatori(), "C1=3");
	EXPECT_EQ(dettaglio(), "ALT:MESE1=1;ORE:MESE3=1;ORE:MESE5=1");

	// Month 5's formula cleared: one use fewer.
	ASSERT_TRUE(form.Edit());
	ASSERT_TRUE(form.TypeCell(kMesi, 4, "Formula", ""));
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage().GetString();
	EXPECT_EQ(contatori(), "C1=2");
	EXPECT_EQ(dettaglio(), "ALT:MESE1=1;ORE:MESE3=1");
	// Month 3's row deleted: the code's last use, so only the other code's remains.
	ASSERT_TRUE(form.Edit());
	ASSERT_TRUE(form.DeleteRow(kMesi, 2)) << form.GetLastError();
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage().GetString();
	EXPECT_EQ(contatori(), "C1=1");
	EXPECT_EQ(dettaglio(), "ALT:MESE1=1");
	// Used again, then the code deleted: its uses go with it.
	ASSERT_TRUE(form.Edit());
	ASSERT_TRUE(form.TypeCell(kMesi, 0, "Formula", "_R + _R"));
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage().GetString();
	EXPECT_EQ(contatori(), "C1=3");
	m_Ui.PushAnswer(IDYES);
	ASSERT_TRUE(form.Delete()) << form.GetLastError() << " " << m_Ui.LastMessage().GetString();
	EXPECT_EQ(Query("SELECT COUNT(*) FROM Kvz_CodExtracontabili WHERE CodExtracont = 'ORE'"), "0");
	EXPECT_EQ(contatori(), "C1=1");
	EXPECT_EQ(dettaglio(), "ALT:MESE1=1");
}

TEST_F(CodiciExtracont, TheCopyChecksInOrderAndNamesWhatIsMissing)
{
	Codice(2026, "ESISTE", {1});
	Codice(2025, "SRC", {1});
	const struct
	{
		const char* sorgente;
		const char* anno;
		const char* codice;
		const char* messaggio;
	} casi[] = {
		{"", "", "", "Indicare il codice extracontabile da cui copiare."},
		{"SRC", "", "", "Indicare l'esercizio."},
		{"SRC", "2026", "", "Indicare il codice extracontabile."},
		{"SRC", "2026", "ESISTE", "Il codice extracontabile ESISTE esercizio 2026 esiste gia'."},
	};
	FormDriver form = Apri();
	for (const auto& c : casi)
	{
		ASSERT_TRUE(form.New());
		ASSERT_TRUE(form.Type("EXTRA_COPIA_ESERCIZIO", "2025"));
		if (*c.sorgente)
		{
			ASSERT_TRUE(form.Type("EXTRA_COPIA_CODICE", c.sorgente)) << form.GetLastError();
		}
		ASSERT_TRUE(form.Type("Esercizio", c.anno));
		form.Type("Codice", c.codice);  // an existing code is refused already here
		m_Ui.Clear();
		EXPECT_FALSE(form.Press("EXTRA_EFFETTUA_COPIA"));
		EXPECT_EQ(m_Ui.LastMessage().str(), c.messaggio);
		EXPECT_EQ(form.GetLastError().str(), c.messaggio);
		EXPECT_EQ(form.RowCount(kMesi), 12) << c.messaggio << ": nothing changed";
		ASSERT_TRUE(form.Escape());
	}
	// The copy-source year of an existing code says so too.
	Nuovo(form, "2026", "ESISTE");
	m_Ui.Clear();
	EXPECT_FALSE(form.Type("EXTRA_COPIA_ESERCIZIO", "2025"));
	EXPECT_EQ(m_Ui.LastMessage().str(), "Il codice extracontabile ESISTE esercizio 2026 esiste gia'.");
}

TEST_F(CodiciExtracont, TheCopyTakesTheMonthsDescriptionsAndWithFormulasTheSymbols)
{
	Codice(2025, "SRC", {5, 1, 2}, "_R");
	Descrizione(2025, "SRC", 0, "Ricavi");
	Descrizione(2025, "SRC", 3, "Quarta");
	SimboloRiclass(2025, "SRC", "R", 2025, "SRC");
	SimboloRiclass(2025, "SRC", "Z", 0, "ALTRO");
	{
		Kvz_TSimboliOutputRiclass o;
		o.f_Esercizio = 2025;
		o.f_ModelloRiclassific = "SRC";
		o.f_NomeSimbolo = "O";
		o.f_ValoreEs = 2024;
		o.f_ValoreModello = "SRC";
		Anagrafica(2025, "SRC", "O", 6);
		Inserisci(o);
		Kvz_TSimboliPianoBase p;
		p.f_Esercizio = 2025;
		p.f_ModelloRiclassific = "SRC";
		p.f_NomeSimbolo = "P";
		Anagrafica(2025, "SRC", "P", 0);
		Inserisci(p);
	}
	Elenco(2025, "SRC", "P", "A1", "CC1");
	Elenco(2025, "SRC", "P", "A1", "CC2");
	Elenco(2025, "SRC", "P", "A2");
	// The target already has P with a list of its own: P stays, its list gets what it lacks.
	Anagrafica(2026, "DST", "P", 0);
	Elenco(2026, "DST", "P", "A2");
	Elenco(2026, "DST", "P", "A9");

	FormDriver form = Apri();
	auto copia = [&](const char* anno, bool formule) {
		Nuovo(form, "2026", "DST");
		// The lookup takes only a code of its year: the year changes after the code is picked.
		ASSERT_TRUE(form.Type("EXTRA_COPIA_ESERCIZIO", "2025"));
		ASSERT_TRUE(form.Type("EXTRA_COPIA_CODICE", "SRC")) << form.GetLastError();
		ASSERT_TRUE(form.Type("EXTRA_COPIA_ESERCIZIO", anno));
		if (formule)
		{
			ASSERT_TRUE(form.Press("EXTRA_COPIA_ANCHE_LE_FORMULE"));
		}
		ASSERT_TRUE(form.Press("EXTRA_EFFETTUA_COPIA")) << form.GetLastError();
	};
	auto simboli = [&] { return Query("SELECT COUNT(*) FROM Kvz_AnagSimboli WHERE ModelloRiclassific = 'DST'"); };

	// Without formulas: the months and descriptions, no formula, no symbol.
	copia("2025", false);
	EXPECT_EQ(Colonna(form, kMesi, "Mese"), "1,2,5");
	EXPECT_EQ(Colonna(form, kMesi, "Formula") + "/" + Colonna(form, kMesi, "Formula3"), ",,/,,");
	EXPECT_EQ(Colonna(form, kDescr, "Descrizione"), "Ricavi,Quarta");
	EXPECT_EQ(Titoli(form), "Ricavi,Quarta,Formula2,Formula3,Formula4,Formula5,Formula6,Formula7,Formula8,Formula9,"
							"Formula10");
	EXPECT_EQ(simboli(), "1");
	ASSERT_TRUE(form.Escape());

	// A source year of 0 finds nothing and empties both grids.
	copia("0", true);
	EXPECT_EQ(form.RowCount(kMesi), 0);
	EXPECT_EQ(form.RowCount(kDescr), 0);
	ASSERT_TRUE(form.Escape());

	// With formulas: the symbols, written at once.
	copia("2025", true);
	EXPECT_EQ(Colonna(form, kMesi, "Formula") + "/" + Colonna(form, kMesi, "Formula3"), "_R,_R,_R/1,2,5");
	EXPECT_EQ(simboli(), "4") << "P was there already";
	EXPECT_EQ(Query("SELECT NomeSimbolo || ':' || ValoreEs || ':' || ValoreModello FROM Kvz_SimboliCodRiclassif "
					"WHERE ModelloRiclassific = 'DST' ORDER BY 1"),
			  "R:2026:DST;Z:0:ALTRO");
	EXPECT_EQ(Query("SELECT ValoreEs || ':' || ValoreModello FROM Kvz_SimboliOutputRiclassif WHERE "
					"ModelloRiclassific = 'DST'"),
			  "2026:DST");
	EXPECT_EQ(Query("SELECT ContoSelez || CentroCommessa FROM Kvz_ElencoContiSimboloPBase WHERE Esercizio = 2026 "
					"AND ModelloRiclassific = 'DST' ORDER BY 1"),
			  "A1CC1;A1CC2;A2;A9");
	EXPECT_EQ(Query("SELECT COUNT(*) FROM Kvz_SimboliPianoBase WHERE ModelloRiclassific = 'DST'"), "1");
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage().GetString();
	EXPECT_EQ(Query("SELECT COUNT(*) FROM Kvz_CodExtracontabiliMesi WHERE CodExtracont = 'DST'"), "3");
	EXPECT_TRUE(AfxGetApplicationContext()->GetAssertionReports().empty());
}

TEST_F(CodiciExtracont, ASymbolCopyIsWholeOrAbsent)
{
	Codice(2025, "SRC", {1}, "_R");
	SimboloRiclass(2025, "SRC", "R", 0, "");
	{
		Kvz_TSimboliPianoBase p;
		p.f_Esercizio = 2025;
		p.f_ModelloRiclassific = "SRC";
		p.f_NomeSimbolo = "P";
		Anagrafica(2025, "SRC", "P", 0);
		Inserisci(p);
	}
	Elenco(2025, "SRC", "P", "A1");
	// The last table refuses its row.
	m_pConn->Db().Execute("CREATE TRIGGER rifiuta BEFORE INSERT ON Kvz_SimboliCodRiclassif "
					   "BEGIN SELECT RAISE(ABORT, 'rifiutato'); END");
	FormDriver form = Apri();
	Nuovo(form, "2026", "DST");
	ASSERT_TRUE(form.Type("EXTRA_COPIA_ESERCIZIO", "2025"));
	ASSERT_TRUE(form.Type("EXTRA_COPIA_CODICE", "SRC"));
	ASSERT_TRUE(form.Press("EXTRA_COPIA_ANCHE_LE_FORMULE"));
	ASSERT_TRUE(form.Press("EXTRA_EFFETTUA_COPIA"));
	EXPECT_TRUE(Detto("Simboli non copiati")) << m_Ui.LastMessage().GetString();
	for (const char* t : {"Kvz_AnagSimboli", "Kvz_SimboliPianoBase", "Kvz_ElencoContiSimboloPBase"})
		EXPECT_EQ(Query(std::string("SELECT COUNT(*) FROM ") + t + " WHERE Esercizio = 2026"), "0") << t;
	EXPECT_EQ(form.RowCount(kMesi), 1) << "the months stay in the form";
}
