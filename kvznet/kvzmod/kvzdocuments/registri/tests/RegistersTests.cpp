// The code-list registers, the module parameters and the companies register, driven through
// their forms as a user would.
#include <functional>
#include <memory>
#include <tuple>
#include <utility>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodiciRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciRiclass.h"
#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_CDeAziendeDoc.h"
#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_CDeCodBudgetDoc.h"
#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_CDeCodRaggruppDoc.h"
#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_CDeCodRiclassificatoDoc.h"
#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_CDeModelliRiclassificDoc.h"
#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_CDeParamDoc.h"
#include "kvznet/kvzmod/kvzdocuments/tests/KvzDocumentsFixture.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvges/FormDriver.h"

namespace {

class Registers : public KvzDocumentsLibrary
{
protected:
	void SetUp() override
	{
		KvzDocumentsLibrary::SetUp();
		AfxSetApplicationDate(DataDate(15, 6, 2026));
		m_pOpened = std::make_unique<CDocumentSet>();
	}
	void TearDown() override
	{
		m_pOpened.reset();
		KvzDocumentsLibrary::TearDown();
	}

	// The registers that no template opens, from their classes.
	template <class Doc, class View>
	FormDriver OpenClasses()
	{
		return FormDriver(m_pOpened->Open(RUNTIME_CLASS(Doc), RUNTIME_CLASS(CMasterFrame), RUNTIME_CLASS(View)));
	}
	FormDriver OpenTemplate(const char* templateName) { return FormDriver(Open<CAbstractFormDoc>(templateName)); }

	std::vector<CString> Shown() const
	{
		std::vector<CString> texts;
		for (const ShownMessage& m : m_Ui.Messages())
			texts.push_back(m.text);
		return texts;
	}

	std::unique_ptr<CDocumentSet> m_pOpened;
};

// ---- code lists ------------------------------------------------------------------------------

TEST_F(Registers, EachCodeListRefusesAnEmptyCodeWithItsMessage)
{
	struct Case
	{
		const char* what;
		std::function<FormDriver()> open;
		const char* message;
	};
	const Case cases[] = {
		{"budget", [this] { return OpenTemplate("DCodBudget"); }, "Indicare il codice budget."},
		{"grouping", [this] { return OpenTemplate("DCodRaggruppamenti"); },
		 "Indicare il codice del raggruppamento."},
		{"model", [this] { return OpenClasses<Kvz_CDeModelliRiclassificDoc, Kvz_CDeModelliRiclassificView>(); },
		 "Indicare il modello."},
		{"reclassified",
		 [this] { return OpenClasses<Kvz_CDeCodRiclassificatoDoc, Kvz_CDeCodRiclassificatoView>(); },
		 "Indicare il codice riclassificato."},
	};
	for (const Case& c : cases)
	{
		SCOPED_TRACE(c.what);
		m_Ui.Clear();
		FormDriver form = c.open();
		ASSERT_TRUE(form.IsOpen());
		ASSERT_TRUE(form.New());
		form.Type("Descrizione", "Senza codice");
		EXPECT_FALSE(form.Save());
		EXPECT_EQ(form.Mode(), CBaseDocument::NEW);
		EXPECT_EQ(m_Ui.LastMessage(), CString(c.message));
	}
}

// What a field takes is checked as it is typed: a code, a description, a year. The value refused
// stays out of the field.
TEST_F(Registers, TypedValuesBeyondWhatTheirColumnTakesAreRefusedNamingTheFieldAndTheLimit)
{
	const std::string codice27(27, 'C'), testo65(65, 't');
	struct Case
	{
		const char* open;  // template; a batch form is typed into at once, a register after New
		const char* control;
		std::string text;
		const char* message;
	};
	const Case cases[] = {
		{"DCodBudget", "CodiceBudget", codice27, "Codice budget: il codice supera la lunghezza massima di 26 caratteri."},
		{"DCodBudget", "CodiceBudget", "AB\x1b" "C", "Codice budget: il codice contiene caratteri di controllo."},
		{"DCodBudget", "Descrizione", testo65, "Descrizione: il testo supera la lunghezza massima di 64 caratteri."},
		{"DCodBudget", "Descrizione", "Spese\x07",
		 "Descrizione: il testo contiene caratteri di controllo (ammessi solo tabulazione e a capo)."},
		{"DCodRaggruppamenti", "CodRaggrupp", "G\x7f",
		 "Codice raggruppamento: il codice contiene caratteri di controllo."},
		{"DCodRaggruppamenti", "CodRaggrupp", "G\xc2\x9b", "Codice raggruppamento: il codice contiene caratteri di controllo."},
		{"DCodExtracont", "CodExtracont", codice27, "Codice: il codice supera la lunghezza massima di 26 caratteri."},
		{"DCodExtracont", "Esercizio", "99999", "Esercizio: l'anno 99999 non è valido (da 1900 a 9999)."},
		{"DModelliRiclassific", "ModelloRiclassific", codice27,
		 "ModelloRiclassific: il codice supera la lunghezza massima di 26 caratteri."},
		{"DModelliRiclassific", "Esercizio", "1899", "Esercizio: l'anno 1899 non è valido (da 1900 a 9999)."},
		{"DModelliRiclassific", "Descrizione", testo65, "Descrizione: il testo supera la lunghezza massima di 64 caratteri."},
		{"DRiclassificPianoBase", "RCL_PBASE_ESERCIZIO", "99999",
		 "RCL_PBASE_ESERCIZIO: l'anno 99999 non è valido (da 1900 a 9999)."},
	};
	for (const Case& c : cases)
	{
		SCOPED_TRACE(std::string(c.open) + " " + c.control);
		FormDriver form = OpenTemplate(c.open);
		ASSERT_TRUE(form.IsOpen());
		if (form.Mode() != CBaseDocument::EDIT)
		{
			ASSERT_TRUE(form.New());
		}
		const CString before = form.Text(c.control);
		EXPECT_FALSE(form.Type(c.control, c.text.c_str()));
		EXPECT_EQ(form.GetLastError(), CString(c.message));
		EXPECT_EQ(form.Text(c.control), before);
	}

	// Up to the limit, a description's tabs and line ends, are taken; a code of blanks is no code.
	FormDriver form = OpenTemplate("DCodBudget");
	ASSERT_TRUE(form.New());
	EXPECT_TRUE(form.Type("CodiceBudget", std::string(26, 'b').c_str())) << form.GetLastError();
	EXPECT_TRUE(form.Type("Descrizione", (std::string(62, 'd') + "\t\n").c_str())) << form.GetLastError();
	EXPECT_TRUE(form.Type("CodiceBudget", "   "));
	EXPECT_EQ(form.Text("CodiceBudget"), "");
	EXPECT_FALSE(form.Save());
	EXPECT_EQ(m_Ui.LastMessage(), CString("Indicare il codice budget."));
}

TEST_F(Registers, BudgetCodesBrowseInCodeOrderKeepTheCodeInEditAndAreFoundByDescription)
{
	FormDriver form = OpenTemplate("DCodBudget");
	for (auto [code, descr] : {std::pair{"b2", "Spese generali"}, std::pair{"a1", "Personale"}})
	{
		ASSERT_TRUE(form.New());
		ASSERT_TRUE(form.Type("CodiceBudget", code));
		ASSERT_TRUE(form.Type("Descrizione", descr));
		ASSERT_TRUE(form.Save()) << form.GetLastError();
	}
	ASSERT_TRUE(form.First());
	EXPECT_EQ(form.Text("CodiceBudget"), "A1");
	ASSERT_TRUE(form.Next());
	EXPECT_EQ(form.Text("CodiceBudget"), "B2");

	ASSERT_TRUE(form.Edit());
	EXPECT_FALSE(form.IsEditable("CodiceBudget"));
	EXPECT_TRUE(form.Type("Descrizione", "Spese generali e amministrative"));
	ASSERT_TRUE(form.Save());

	ASSERT_TRUE(form.Find());
	ASSERT_TRUE(form.Type("Descrizione", "Pers"));
	ASSERT_TRUE(form.Save());
	EXPECT_EQ(form.Text("CodiceBudget"), "A1");
}

// ---- reclassified codes ----------------------------------------------------------------------

class ReclassifiedCodes : public Registers
{
protected:
	FormDriver OpenForm() { return OpenClasses<Kvz_CDeCodRiclassificatoDoc, Kvz_CDeCodRiclassificatoView>(); }

	bool NewCode(FormDriver& form, const char* code, const char* model, const char* descr)
	{
		return form.New() && form.Type("CodRiclassificato", code) && form.Type("ModelloRiclassific", model) &&
			   form.Type("Descrizione", descr) && form.Save();
	}
	TableReader::FindResult Registry(int year, const char* name, const char* model, DWORD* pKind = nullptr,
									 DataDate* pCreated = nullptr)
	{
		Kvz_TRAnagSimboli r;
		auto found = r.FindRecord(DataInt(year), DataStr(name), DataStr(model));
		if (found == TableReader::FOUND && pKind)
			*pKind = r.GetRecord()->f_TipoSimbolo.GetValue();
		if (found == TableReader::FOUND && pCreated)
			*pCreated = r.GetRecord()->f_DataCreazione;
		return found;
	}
	TableReader::FindResult Definition(int year, const char* name, const char* model)
	{
		Kvz_TRSimboliCodiciRiclass r;
		auto found = r.FindRecord(DataInt(year), DataStr(name), DataStr(model));
		if (found == TableReader::FOUND)
		{
			const Kvz_TSimboliCodiciRiclass* d = r.GetRecord();
			EXPECT_TRUE(static_cast<BOOL>(d->f_ValoreEsSymb));
			EXPECT_TRUE(static_cast<BOOL>(d->f_ValoreModelloSymb));
			EXPECT_EQ(d->f_ValoreCodice.GetString(), CString(name));
		}
		return found;
	}
};

TEST_F(ReclassifiedCodes, SavingCreatesTheMissingSymbolOnceUnderTheApplicationYear)
{
	FormDriver form = OpenForm();
	ASSERT_TRUE(NewCode(form, "ricavi", "ce", "Ricavi netti")) << form.GetLastError();
	// The code is kept under the application's year, the year of its symbol.
	Kvz_TUCodiciRiclassificato codes;
	EXPECT_EQ(codes.FindRecord(DataInt(2026), DataStr("RICAVI"), DataStr("CE"), FALSE), TableReader::FOUND);
	DWORD kind = 0;
	DataDate created;
	ASSERT_EQ(Registry(2026, "RICAVI", "CE", &kind, &created), TableReader::FOUND);
	EXPECT_EQ(kind, DataEnum(E_KVZ_TIPOSIMBOLO, 3).GetValue());
	EXPECT_EQ(created, DataDate(15, 6, 2026));
	EXPECT_EQ(Definition(2026, "RICAVI", "CE"), TableReader::FOUND);

	// Saved again later: the symbol stays as it was made.
	AfxSetApplicationDate(DataDate(20, 6, 2026));
	ASSERT_TRUE(form.Edit());
	EXPECT_FALSE(form.IsEditable("CodRiclassificato"));
	ASSERT_TRUE(form.Type("Descrizione", "Ricavi delle vendite"));
	ASSERT_TRUE(form.Save());
	ASSERT_EQ(Registry(2026, "RICAVI", "CE", &kind, &created), TableReader::FOUND);
	EXPECT_EQ(created, DataDate(15, 6, 2026));
	EXPECT_EQ(form.Text("Esercizio"), "2026");
}

TEST_F(ReclassifiedCodes, ANameOfAnotherKindWritesNoSymbolAndARegisteredOneGetsOnlyItsDefinition)
{
	const DataEnum pianoBase(E_KVZ_TIPOSIMBOLO, 0), codRiclassificato(E_KVZ_TIPOSIMBOLO, 3);
	m_pConn->ExecuteSQL("INSERT INTO Kvz_AnagSimboli (Esercizio, ModelloRiclassific, NomeSimbolo, TipoSimbolo) "
						"VALUES (2026, 'CE', 'COSTI', ?), (2026, 'CE', 'MARGINE', ?)",
						{&pianoBase, &codRiclassificato});
	FormDriver form = OpenForm();
	ASSERT_TRUE(NewCode(form, "costi", "ce", "Costi")) << form.GetLastError();
	ASSERT_TRUE(NewCode(form, "margine", "ce", "Margine")) << form.GetLastError();

	Kvz_TUCodiciRiclassificato codes;
	EXPECT_EQ(codes.FindRecord(DataInt(2026), DataStr("COSTI"), DataStr("CE"), FALSE), TableReader::FOUND);
	DWORD kind = 0;
	ASSERT_EQ(Registry(2026, "COSTI", "CE", &kind), TableReader::FOUND);
	EXPECT_EQ(kind, DataEnum(E_KVZ_TIPOSIMBOLO, 0).GetValue());
	EXPECT_EQ(Definition(2026, "COSTI", "CE"), TableReader::NOT_FOUND);
	EXPECT_EQ(Definition(2026, "MARGINE", "CE"), TableReader::FOUND);
}

TEST_F(ReclassifiedCodes, OneCodeUnderTwoYearsIsShownAndEditedByItsWholeKey)
{
	m_pConn->ExecuteSQL("INSERT INTO Kvz_CodiciRiclassificato (Esercizio, ModelloRiclassific, CodRiclassificato, "
						"Descrizione) VALUES (2025, 'CE', 'UTILE', 'Utile 2025')");
	FormDriver form = OpenForm();
	ASSERT_TRUE(NewCode(form, "utile", "ce", "Utile 2026")) << form.GetLastError();
	ASSERT_TRUE(form.First());
	EXPECT_EQ(form.Text("Descrizione"), "Utile 2025");
	EXPECT_EQ(form.Text("Esercizio"), "2025");
	ASSERT_TRUE(form.Next());
	EXPECT_EQ(form.Text("Descrizione"), "Utile 2026");
	ASSERT_TRUE(form.Edit());
	EXPECT_EQ(form.Text("Descrizione"), "Utile 2026");
	ASSERT_TRUE(form.Type("Descrizione", "Utile dell'esercizio"));
	ASSERT_TRUE(form.Save());
	ASSERT_TRUE(form.First());
	EXPECT_EQ(form.Text("Descrizione"), "Utile 2025");

	// The model is part of the key: a code without one is refused.
	ASSERT_TRUE(form.New());
	ASSERT_TRUE(form.Type("CodRiclassificato", "senza"));
	EXPECT_FALSE(form.Save());
	EXPECT_EQ(m_Ui.LastMessage(), "Indicare il modello.");
}

// ---- module parameters -------------------------------------------------------------------------

const char* const kFlags[] = {"Conto collegato", "Proponi in filtro assestamento", "Modifica in assestamento",
							  "Inversione segno", "Aggiungi cdc/commesse in automatico"};

TEST_F(Registers, ParametersNewRowIsTheFirstAndCountsAsChangedAtOnce)
{
	FormDriver form = OpenTemplate("DParametri");
	ASSERT_TRUE(form.New());
	EXPECT_TRUE(form.IsModified());
	for (const char* flag : kFlags)
		EXPECT_FALSE(form.IsEditable(flag)) << flag;
	ASSERT_TRUE(form.Type("Numero segmenti:", "3"));
	for (int n = 1; n <= 7; ++n)
		ASSERT_TRUE(form.Type(CString::Formatted("Lunghezza segmento %d:", n), "2"));
	ASSERT_TRUE(form.Save()) << form.GetLastError();

	Kvz_TRParametri reader;
	ASSERT_EQ(reader.FindRecord(), TableReader::FOUND);
	EXPECT_EQ(reader.GetRecord()->f_NrSegmenti, 3);
	EXPECT_EQ(reader.GetRecord()->f_LenSeg7, 2);
	// One row only: no second one, and it is never deleted here.
	EXPECT_FALSE(form.New());
	EXPECT_FALSE(form.Delete());
	EXPECT_EQ(reader.FindRecord(), TableReader::FOUND);
}

TEST_F(Registers, ParametersFlagsOpenOnlyWhenTheReadingBasisChangesToGroupedAccounts)
{
	const DataEnum contiRaggruppati(E_BASEDILETTURA, 1);
	m_pConn->ExecuteSQL("INSERT INTO Kvz_Parametri (IDParam, BaseDiLettura) VALUES (1, ?)", {&contiRaggruppati});
	FormDriver form = OpenTemplate("DParametri");
	// The items' texts are the host's (registered by the host's setup); typed here by number.
	EXPECT_EQ(form.Text("Base di lettura"), "Anagrafica conti raggruppati");
	ASSERT_TRUE(form.Edit());
	for (const char* flag : kFlags)
		EXPECT_FALSE(form.IsEditable(flag)) << flag;
	ASSERT_TRUE(form.Type("Base di lettura", "0"));
	ASSERT_TRUE(form.Type("Base di lettura", "1"));
	for (const char* flag : kFlags)
		EXPECT_TRUE(form.IsEditable(flag)) << flag;
	ASSERT_TRUE(form.Press("Inversione segno"));
	ASSERT_TRUE(form.Type("Base di lettura", "0"));
	for (const char* flag : kFlags)
		EXPECT_FALSE(form.IsEditable(flag)) << flag;
	ASSERT_TRUE(form.Save());
	Kvz_TRParametri reader;
	ASSERT_EQ(reader.FindRecord(), TableReader::FOUND);
	EXPECT_TRUE(static_cast<BOOL>(reader.GetRecord()->f_DNI_InversioneSegno));
}

// ---- companies ---------------------------------------------------------------------------------

class Companies : public Registers
{
protected:
	FormDriver NewCompany(const char* code)
	{
		FormDriver form = OpenTemplate("DAziende");
		EXPECT_TRUE(form.New());
		EXPECT_TRUE(form.Type("Codice azienda", code));
		return form;
	}
	Kvz_TAziende* Record(FormDriver& form) { return static_cast<Kvz_CDeAziendeDoc*>(form.GetDocument())->GetAziende(); }
};

TEST_F(Companies, SaveAsksForDatabaseThenServerThenUser)
{
	FormDriver form = NewCompany("nord");
	ASSERT_TRUE(form.Type("Descrizione", "Filiale nord"));
	ASSERT_TRUE(form.Type("Password", "segreto"));
	const std::pair<const char*, const char*> steps[] = {
		{"Database", "Indicare il nome del database."},
		{"Server", "Indicare il nome del server."},
		{"User ID", "Indicare l'user ID del database."},
	};
	for (auto [field, message] : steps)
	{
		EXPECT_FALSE(form.Save());
		EXPECT_EQ(form.Mode(), CBaseDocument::NEW);
		EXPECT_EQ(m_Ui.LastMessage(), CString(message));
		ASSERT_TRUE(form.Type(field, "x"));
	}
	EXPECT_TRUE(form.Save()) << form.GetLastError();

	ASSERT_TRUE(form.New());
	EXPECT_FALSE(form.Save());
	EXPECT_EQ(m_Ui.LastMessage(), "Indicare il codice azienda");
}

TEST_F(Companies, TheDataSourceIsTheValueOfTheDsnKey)
{
	const std::pair<const char*, const char*> cases[] = {
		{"DSN=az02;UID=kvz;", "az02"},
		{"UID=kvz;DSN=az02", "az02"},
		{"ODBC;DSN=az 02;UID=kvz", "az 02"},
		{"DSN='a;b';UID=kvz", "a;b"},
		{"UID='x;DSN=no';DSN=si", "si"},
		{"FILEDSN=/etc/az02.dsn;UID=kvz", ""},
		{"Driver=SQLite3;Database=az02.db", ""},
		{"", ""},
	};
	for (auto [connect, dsn] : cases)
		EXPECT_EQ(Kvz_CDeAziendeDoc::DataSourceOf(connect), CString(dsn)) << connect;
}

TEST_F(Companies, TheConnectionTestFillsClearsOrFailsAndThenOpensTheDatabase)
{
	m_pConn->ExecuteSQL("INSERT INTO Kvz_Aziende (Azienda, DataSource, Server, UserID, Password) "
						"VALUES ('SUD', 'vecchio', '.', 'kvz', 'segreto')");
	// Another company's database in this company's folder.
	SqlConnection::Open(CString((m_Folder / "altra.db").string()), SqlConnection::CREATE_IF_MISSING);
	FormDriver form = OpenTemplate("DAziende");
	ASSERT_TRUE(form.Find());
	ASSERT_TRUE(form.Type("Azienda", "sud"));
	ASSERT_TRUE(form.Save());

	// In browse mode the command does nothing.
	ASSERT_TRUE(form.Press("Connetti"));
	EXPECT_TRUE(m_Ui.ConnectProposals().empty());
	EXPECT_EQ(form.Text("Database"), "vecchio");

	ASSERT_TRUE(form.Edit());
	EXPECT_FALSE(form.IsEditable("Codice azienda"));
	m_Ui.Clear();
	m_Ui.PushConnectString("DSN=altra;UID=kvz");
	ASSERT_TRUE(form.Press("Connetti"));
	ASSERT_EQ(m_Ui.ConnectProposals().size(), 1u);
	// What the form holds is proposed, the password is not.
	EXPECT_EQ(m_Ui.ConnectProposals()[0], "DSN=vecchio;Server=.;UID=kvz;");
	EXPECT_EQ(form.Text("Database"), "altra");
	EXPECT_EQ(Record(form)->f_ConnectionString.GetString(), "DSN=altra;UID=kvz");
	EXPECT_TRUE(form.IsModified());
	EXPECT_EQ(Shown(), std::vector<CString>{"Connessione al database altra riuscita."});

	m_Ui.Clear();
	m_Ui.PushConnectString("DSN=manca");
	ASSERT_TRUE(form.Press("Connetti"));
	ASSERT_EQ(Shown().size(), 1u);
	EXPECT_EQ(Shown()[0].Find("Il database manca non è raggiungibile: il file "), 0) << Shown()[0];
	EXPECT_EQ(Shown()[0].Find("does not exist"), -1) << Shown()[0];  // one language
	EXPECT_EQ(Shown()[0].Find("segreto"), -1);

	m_Ui.Clear();
	m_Ui.PushConnectCancel();
	ASSERT_TRUE(form.Press("Connetti"));
	EXPECT_EQ(form.Text("Database"), "");
	EXPECT_TRUE(Record(form)->f_ConnectionString.IsEmpty());
	EXPECT_TRUE(Shown().empty());

	// A failed test: said, and nothing filled in.
	ASSERT_TRUE(form.Escape());
	ASSERT_TRUE(form.Edit());
	m_Ui.Clear();
	m_Ui.PushConnectFailure("driver mancante");
	ASSERT_TRUE(form.Press("Connetti"));
	EXPECT_EQ(Shown(), (std::vector<CString>{"driver mancante", "Connessione al database fallita."}));
	EXPECT_EQ(form.Text("Database"), "");
	EXPECT_FALSE(form.IsModified());
	ASSERT_TRUE(form.Escape());
	EXPECT_EQ(form.Text("Database"), "vecchio");
}

TEST_F(Companies, FoundByCodeOrDescription)
{
	m_pConn->ExecuteSQL("INSERT INTO Kvz_Aziende (Azienda, Descrizione) VALUES ('NORD', 'Filiale di Torino'), "
						"('SUD', 'Filiale di Napoli')");
	FormDriver form = OpenTemplate("DAziende");
	for (auto [field, value, code] : {std::tuple{"Codice azienda", "su", "SUD"}, std::tuple{"Descrizione", "Filiale di T", "NORD"}})
	{
		ASSERT_TRUE(form.Find());
		ASSERT_TRUE(form.Type(field, value));
		ASSERT_TRUE(form.Save());
		EXPECT_EQ(form.Text("Codice azienda"), CString(code));
	}
	EXPECT_FALSE(form.Radar());
}

}  // namespace
