#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblFixture.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormula.h"

namespace {

const int kAnno = 2025;
const char* const kModello = "MOD";

class Formule : public CompanyDb
{
protected:
	void Simbolo(const char* nome, WORD tipo = 0, int anno = kAnno, const char* modello = kModello)
	{
		Kvz_TAnagSimboli r;
		r.f_Esercizio = anno;
		r.f_ModelloRiclassific = modello;
		r.f_NomeSimbolo = nome;
		r.f_TipoSimbolo = DataEnum(E_KVZ_TIPOSIMBOLO, tipo);
		InsertRow(r);
	}
	void Macro(const char* nome, const char* formula)
	{
		Kvz_TAnagMacro r;
		r.f_Esercizio = kAnno;
		r.f_ModelloRiclassific = kModello;
		r.f_NomeMacro = nome;
		r.f_Formula = formula;
		InsertRow(r);
	}
	// An engine over the test's year and model, its messages and names gathered.
	std::unique_ptr<Kvz_New_MngFormula> Motore(const CString& formula, int modo = 0)
	{
		auto p = std::make_unique<Kvz_New_MngFormula>(formula, &m_Messaggi, &m_Nomi);
		p->AttachDefault(DataInt(kAnno), DataInt(1), DataInt(12), DataStr(kModello), DataEnum(E_KVZ_TIPODATOPBASE, modo),
						 DataEnum());
		return p;
	}
	std::vector<CString> Nomi() const
	{
		std::vector<CString> v;
		for (int i = 0; i < m_Nomi.GetSize(); ++i)
			v.push_back(m_Nomi.GetAt(i));
		return v;
	}
	std::vector<CString> Messaggi() const
	{
		std::vector<CString> v;
		for (auto& m : m_Messaggi.GetMessages())
		{
			EXPECT_EQ(m.type, 2);
			v.push_back(m.text);
		}
		return v;
	}
	void Svuota()
	{
		m_Messaggi.Clear();
		m_Nomi.RemoveAll();
	}

	CMessages m_Messaggi;
	CStringArray m_Nomi;
};

using V = std::vector<CString>;

}  // namespace

TEST_F(Formule, ParseReadsNamesByTheTextRules)
{
	for (const char* s : {"A", "B", "C", "A.B", "PERDITA_1"})
		Simbolo(s);
	Macro("M", "_A + _B");
	struct Case
	{
		const char* formula;
		bool ok;
		V nomi;
		const char* dopo;  // the engine's text afterwards
	};
	const Case cases[] = {
		{"10,5 * _A", true, {"A"}, "10.5 * _A"},
		{"_a * 2", false, {}, "_a * 2"},  // names keep their case: _a is not _A
		{"_A.B*2", true, {"A.B"}, "_A.B*2"},
		{"_PERDITA_1/(_A-_B)", true, {"PERDITA_1", "A", "B"}, "_PERDITA_1/(_A-_B)"},
		{"_A + _A", true, {"A", "A"}, "_A + _A"},
		{"_ ", false, {}, "_ "},
		{"__)", false, {}, "__)"},
		{"__M * 2 + _C", true, {"C", "A", "B"}, "__M * 2 + _C"},  // the macro's names after the formula's
		{"_A +", false, {}, "_A +"},
		{"", true, {}, ""},
	};
	for (const Case& c : cases)
	{
		SCOPED_TRACE(c.formula);
		Svuota();
		auto motore = Motore(c.formula);
		EXPECT_EQ(motore->Parse("") != FALSE, c.ok);
		EXPECT_EQ(Nomi(), c.nomi);
		EXPECT_EQ(motore->GetFormula(), c.dopo);
		EXPECT_EQ(Messaggi(), V{});  // a wrong formula is the caller's to report
		EXPECT_EQ(motore->GetErroreSintassi().IsEmpty(), c.ok);
	}
	auto motore = Motore("_A + _X");
	EXPECT_FALSE(motore->Parse(""));
	EXPECT_EQ(motore->GetErroreSintassi(), "Simbolo sconosciuto: _X (posizione 6)");
}

TEST_F(Formule, ParseReportsWhatContainsItself)
{
	Simbolo("A");
	Macro("M", "_A * 2");
	Macro("P", "__Q + 1");
	Macro("Q", "_A - __P");
	Macro("R", "__NONCE");
	struct Case
	{
		const char* formula;
		const char* owner;
		bool ok;
		V messaggi;
	};
	const Case cases[] = {
		{"__M + 1", "M", false,
		 {"M: la macro contiene se stessa tra gli operandi. Verificare la sua definizione e/o i simboli contenuti che "
		  "possono risolversi in formule."}},
		{"__M + 1", "N", true, {}},
		{"_A * 3", "A", false,
		 {"A: il simbolo contiene se stesso tra gli operandi. Verificare la sua definizione e/o i simboli contenuti che "
		  "possono risolversi in formule."}},
		{"__P", "", false, {"Ricorsivita' trovata sulla macro P appartenente alla macro Q."}},
		// A macro whose text names a macro that does not exist is refused, never read with a stale row.
		{"__R", "", false, {"La macro NONCE non esiste nell'esercizio 2025 per il modello MOD."}},
	};
	for (const Case& c : cases)
	{
		SCOPED_TRACE(std::string(c.formula) + " / " + c.owner);
		Svuota();
		auto motore = Motore(c.formula);
		EXPECT_EQ(motore->Parse(c.owner) != FALSE, c.ok);
		EXPECT_EQ(Messaggi(), c.messaggi);
	}

	// With no message list the message is shown at once.
	Kvz_New_MngFormula senzaLista("__M");
	senzaLista.AttachEsercizio(DataInt(kAnno));
	senzaLista.AttachModello(DataStr(kModello));
	EXPECT_FALSE(senzaLista.Parse("M"));
	ASSERT_EQ(m_Ui.Messages().size(), 1u);
	EXPECT_EQ(m_Ui.LastMessage().Left(34), "M: la macro contiene se stessa tra");
}

TEST_F(Formule, TheFlatListHoldsEveryOccurrenceInsideMacrosToo)
{
	for (const char* s : {"A", "B", "C"})
		Simbolo(s);
	Macro("M", "_C + __N * __N");
	Macro("N", "_A");
	auto motore = Motore("_A + __M * _B");
	ASSERT_TRUE(motore->Parse(""));
	EXPECT_EQ(Nomi(), (V{"A", "B", "C", "A", "A"}));
}

TEST_F(Formule, NamesComeFromTheCurrentCompanyAndAnSqlErrorKeepsWhatWasRead)
{
	Simbolo("A");
	Simbolo("ALTROANNO", 0, kAnno - 1);
	Simbolo("ALTROMODELLO", 0, kAnno, "ALTRO");
	auto motore = Motore("_A * 2");
	motore->AttachDitta(DataStr("ALTRA"));  // the registry of another company is not where names are checked
	EXPECT_TRUE(motore->Parse(""));
	for (const char* f : {"_ALTROANNO", "_ALTROMODELLO"})
	{
		motore->AttachFormula(f);
		EXPECT_FALSE(motore->Parse("")) << f;
	}

	m_pConn->ExecuteSQL("DROP TABLE Kvz_AnagMacro");
	motore->AttachFormula("_A * 2");
	EXPECT_TRUE(motore->Parse(""));
	ASSERT_EQ(m_Ui.Messages().size(), 1u);
	EXPECT_EQ(m_Ui.Messages()[0].type, UINT(MB_OK | MB_ICONERROR));
}

TEST_F(Formule, MacroExpansionReplacesWholeNamesVerbatimAndStops)
{
	Macro("M", "_A + _B");
	Macro("M2", "__M - _C");
	Macro("X", "_X1");
	Macro("XY", "_Y1");
	Macro("S", "__S + 1");
	Macro("P", "__Q + 1");
	Macro("Q", "2 * __P");
	Macro("VUOTO", "__NONCE");
	// A chain deeper than the bound, and a text that doubles at every level.
	for (int i = 0; i < Kvz_New_MngFormula::MaxLivelliMacro + 2; ++i)
		Macro(CString::Formatted("L%d", i), CString::Formatted("__L%d + 1", i + 1));
	for (int i = 0; i < 20; ++i)
		Macro(CString::Formatted("D%d", i), CString::Formatted("__D%d + __D%d", i + 1, i + 1));
	Macro("D20", "_A");

	struct Case
	{
		const char* testo;
		bool ok;
		const char* dopo;
		const char* messaggio;
	};
	const Case cases[] = {
		{"__M * 2", true, "_A + _B * 2", nullptr},  // no parentheses are added
		{"__M2/__M", true, "_A + _B - _C/_A + _B", nullptr},
		{"__X + __XY", true, "_X1 + _Y1", nullptr},  // X does not touch the start of XY
		{"__ + 1", true, "__ + 1", nullptr},      // no name: left for the syntax check
		{"__S", false, nullptr, "Ricorsivita' trovata sulla macro S appartenente alla macro S."},
		{"1 + __P", false, nullptr, "Ricorsivita' trovata sulla macro P appartenente alla macro Q."},
		{"__VUOTO", false, nullptr, "La macro NONCE non esiste nell'esercizio 2025 per il modello MOD."},
		{"__L0", false, nullptr, "Le macro della formula sono troppe o troppo annidate (oltre 32)."},
		{"__D0", false, nullptr, "La formula con le macro espanse supera 65536 caratteri."},
	};
	for (const Case& c : cases)
	{
		SCOPED_TRACE(c.testo);
		Svuota();
		auto motore = Motore("");
		CString testo = c.testo;
		EXPECT_EQ(motore->PreprocessForMacro(testo) != FALSE, c.ok);
		if (c.ok)
		{
			EXPECT_EQ(testo, c.dopo);
			EXPECT_EQ(Messaggi(), V{});
		}
		else
			EXPECT_EQ(Messaggi(), V{c.messaggio});
	}
}

TEST(FormulePreparazione, ExtraAccountingSymbolsTakeTheNeutralOfTheirOwnOperation)
{
	// E1, E2 and X are the extra-accounting symbols here; S, ENERGIA and the others are not.
	auto extra = [](const CString& nome) { return nome == "E1" || nome == "E2" || nome == "X"; };
	const std::pair<const char*, const char*> cases[] = {
		{"_S1+_E1+_S2", "_S1+0+_S2"},
		{"_E1 / _S1", "1 * _S1"},
		{"_E1", "0"},
		{"_S * (_E1 + _S2)", "_S * (0 + _S2)"},
		{"(_E1) * _S", "(1) * _S"},  // alone in its parentheses: the operation of the group
		{"_S / (_E1)", "_S / (1)"},
		{"_S * (_E1)", "_S * (1)"},
		{"(_E1) / _S", "(1) * _S"},
		{"((_E1)) + _S", "(0) + _S"},
		// A group of only such symbols is one of them.
		{"(_E1 + _E2) * _S", "(1) * _S"},
		{"_S - (_E1 * _E2)", "_S - (0)"},
		{"_S1 * _E1", "_S1 * 1"},
		{"_S1 - _E1", "_S1 - 0"},
		{"_E1 + _S1", "0 + _S1"},
		{"_S1 + _E1 * _S2", "_S1 + 1 * _S2"},  // a factor of its product, whatever comes before
		{"_S1 + _S2 * _E1 / _E2", "_S1 + _S2 * 1 / 1"},
		{"_A + (_E1 / _B)", "_A + (1 * _B)"},
		{"_E1 + _E2", "0 + 0"},
		{"_ENERGIA * 2 + _X", "_ENERGIA * 2 + 0"},  // a name that begins with E is not a reason
		{"_SE + _A_E1 + 2", "_SE + _A_E1 + 2"},
		{"_S1 + 2", "_S1 + 2"},
	};
	for (auto& [testo, atteso] : cases)
		EXPECT_EQ(Kvz_New_MngFormula::NeutralizzaExtracont(testo, extra), atteso) << testo;
}

TEST_F(Formule, PreparationExpandsThenNeutralisesThenTurnsCommasIntoPoints)
{
	Macro("M", "_E2 * _A");
	Simbolo("E1", 1);
	Simbolo("E2", 1);
	Simbolo("A", 0);
	CString testo = "__M + _E1 + 10,5";
	auto modo1 = Motore("", 1);
	ASSERT_TRUE(modo1->PreparaTesto(testo));
	EXPECT_EQ(testo, "1 * _A + 0 + 10.5");

	testo = "__M + _E1 + 10,5";
	auto modo0 = Motore("", 0);
	ASSERT_TRUE(modo0->PreparaTesto(testo));
	EXPECT_EQ(testo, "_E2 * _A + _E1 + 10.5");
}
