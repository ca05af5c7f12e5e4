// The symbol documents of extra-accounting codes, reclassified codes and reclassification
// results, driven through their forms: from the formula editor of a model row (defined, inserted
// into the formula, edited, deleted, valued by the engine), on their own (the checks, a save that
// fails part way), and the browsers of another company's models and codes.
#include <cstdlib>
#include <string>
#include <variant>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAziende.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabili.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabiliTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodiciRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneTesta.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/CModelliMultiAzDoc.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/CModelliRigheMultiAzDoc.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CDeRiclassificazioniDoc.h"
#include "kvznet/kvzmod/kvzdocuments/formule/Kvz_CFormulaDoc.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloExtraCDoc.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloOutRiclassDoc.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloPBaseDoc.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloRiclassDoc.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormula.h"
#include "kvznet/kvzmod/kvzdocuments/tests/KvzDocumentsFixture.h"
#include "platform/erp/erpsetup/CompanySetup.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvges/FormDriver.h"
#include "platform/plvoledb/driver/Driver.h"

namespace {

const int kAnno = 2026;

std::vector<double> PerMese(double (*f)(int))
{
	std::vector<double> v;
	for (int m = 1; m <= 12; ++m)
		v.push_back(f(m));
	return v;
}

class SimboliCodice : public KvzDocumentsLibrary
{
protected:
	void SetUp() override
	{
		KvzDocumentsLibrary::SetUp();
		erp::SetupCompanyDatabase(*m_pConn);
		AfxSetApplicationDate(DataDate(15, 3, kAnno));
		// Extra-accounting code X1: the month's number each month, 7 in its first further formula.
		Kvz_TCodExtracontabiliTesta testa;
		testa.f_Esercizio = kAnno;
		testa.f_CodExtracont = "X1";
		Inserisci(testa);
		for (int m = 1; m <= 12; ++m)
		{
			Kvz_TCodExtracontabili r;
			r.f_Esercizio = kAnno;
			r.f_CodExtracont = "X1";
			r.f_Mese = m;
			r.f_Formula = CString::Formatted("%d", m);
			r.f_Formula1 = "7";
			Inserisci(r);
		}
		// Source model SRC: C1 10 (budget B 100), C2 20 (further formula 3); their results m and 100*m.
		Modello("SRC", "Sorgente");
		Riga("SRC", "C1", 1, "10", "100");
		Riga("SRC", "C2", 2, "20", "", "3");
		for (int m = 1; m <= 12; ++m)
		{
			Risultato("C1", 1, m, m);
			Risultato("C2", 2, m, 100.0 * m);
		}
	}

	static void Modello(const char* modello, const char* descrizione, SqlConnection* pConn = nullptr)
	{
		Kvz_TRiclassificazioneTesta t;
		t.f_Esercizio = kAnno;
		t.f_ModelloRiclassific = modello;
		t.f_Descrizione = descrizione;
		Inserisci(t, pConn);
	}
	static void Riga(const char* modello, const char* codice, int posizione, const char* formula,
					 const char* budgetB = "", const char* formula1 = "", SqlConnection* pConn = nullptr)
	{
		Kvz_TRiclassificazioneRighe r;
		r.f_Esercizio = kAnno;
		r.f_ModelloRiclassific = modello;
		r.f_CodRiclassificato = codice;
		r.f_Posizione = posizione;
		r.f_Formula = formula;
		r.f_FormulaBudgetB = budgetB;
		r.f_Formula1 = formula1;
		Inserisci(r, pConn);
		Kvz_TCodiciRiclassificato c;
		c.f_Esercizio = kAnno;
		c.f_ModelloRiclassific = modello;
		c.f_CodRiclassificato = codice;
		c.f_Descrizione = CString("Codice ") + codice;
		Inserisci(c, pConn);
	}
	static void Risultato(const char* codice, int posizione, int mese, double valore)
	{
		Kvz_TRiclassificato r;
		r.f_Esercizio = kAnno;
		r.f_Mese = mese;
		r.f_ModelloRiclassific = "SRC";
		r.f_CodRiclassificato = codice;
		r.f_Posizione = posizione;
		r.f_TipoDatoPianoBase = DataEnum(E_KVZ_TIPODATOPBASE, 0);
		r.f_Valore = valore;
		Inserisci(r);
	}

	std::string Testo(const std::string& sql)
	{
		auto st = m_pConn->Db().Prepare(sql);
		if (!st->Step())
			return "<none>";
		const plv::db::Value v = st->Column(0);
		return std::holds_alternative<std::string>(v) ? std::get<std::string>(v) : "<null>";
	}

	static std::vector<double> Valuta(const char* formula, const char* modello = "MOD")
	{
		CMessages messaggi;
		Kvz_New_MngFormula f(&messaggi, nullptr);
		f.AttachDefault(DataInt(kAnno), DataInt(1), DataInt(12), DataStr(modello), DataEnum(E_KVZ_TIPODATOPBASE, 0),
						DataEnum());
		f.AttachFormula(formula);
		EXPECT_TRUE(f.Eval()) << formula;
		std::vector<double> v;
		for (int m = 0; m < 12; ++m)
			v.push_back(f.GetResult(m).GetValue());
		for (auto& m : messaggi.GetMessages())
			ADD_FAILURE() << m.text.str();
		return v;
	}

	template <class Doc>
	Doc* Aperto() const
	{
		for (CBaseDocument* p : m_Manager.GetOpenDocuments())
			if (auto* pDoc = DynamicDownCast<Doc>(p))
				return pDoc;
		return nullptr;
	}

	// A new model MOD with row R1, and the formula editor opened on the row's formula.
	Kvz_CFormulaDoc* ApriEditore(std::unique_ptr<FormDriver>& pModello)
	{
		auto* pDoc = Open<Kvz_CDeRiclassificazioniDoc>("DModelliRiclassific");
		if (!pDoc)
			return nullptr;
		pModello = std::make_unique<FormDriver>(pDoc);
		FormDriver& form = *pModello;
		const char* grid = "Righe riclassificazioni";
		EXPECT_TRUE(form.New());
		EXPECT_TRUE(form.Type("ModelloRiclassific", "MOD"));
		EXPECT_TRUE(form.Type("Descrizione", "Modello"));
		EXPECT_TRUE(form.AddRow(grid)) << form.GetLastError();
		EXPECT_TRUE(form.TypeCell(grid, 0, "Codice", "R1")) << form.GetLastError();
		EXPECT_TRUE(form.TypeCell(grid, 0, "Descrizione", "Riga uno")) << form.GetLastError();
		EXPECT_TRUE(form.DoubleClick(grid, 0, "Formula")) << form.GetLastError();
		return Aperto<Kvz_CFormulaDoc>();
	}
};

// ---- from the formula editor ----------------------------------------------------------------------

struct Campo
{
	const char* controllo;
	const char* valore;  // null: press it
};

struct Tipo
{
	const char* lista;  // the editor's list of the kind
	CRuntimeClass* pClasse;
	const char* prefisso;
	const char* nomeCtrl;
	std::vector<Campo> campi;
	WORD tipo;
	const char* tabella;
	double (*valore)(int);
	// The change made in edit mode and the values after it.
	std::vector<Campo> modifica;
	double (*valoreModificato)(int);
};

const Tipo kTipi[] = {
	{"Extracontabili", RUNTIME_CLASS(Kvz_CPropSimboloExtraCDoc), "E", "EX_SYMB_NOME_SIMBOLO",
	 {{"EX_SYMB_CODICE_DA", "X1"}}, KVZ_SIMBOLO_EXTRACONT, "Kvz_SimboliCodExtracont", [](int m) { return 1.0 * m; },
	 {{"EX_SYMB_USA_FORMULA_COLONNA", nullptr}, {"EX_SYMB_NR_CoLONNA", "1"}}, [](int) { return 7.0; }},
	{"Riclassificati", RUNTIME_CLASS(Kvz_CPropSimboloRiclassDoc), "R", "RCL_NOME_SIMBOLO",
	 {{"RCL_SYMB_MODELLO", "SRC"}, {"RCL_SYMB_CODICE", "C1"}, {"RCL_SYMB_CODICE_A", "C2"}}, KVZ_SIMBOLO_RICLASS,
	 "Kvz_SimboliCodRiclassif", [](int) { return 30.0; },
	 {{"RCL_SYMB_USA_FORMULA_DEL_BUDGET", nullptr}, {"RCL_SYMB_USA_TIPO_BUDGET", "Budget B"}},
	 [](int) { return 100.0; }},
	{"Risultato", RUNTIME_CLASS(Kvz_CPropSimboloOutRiclassDoc), "O", "OUTRCL_NOME_SIMBOLO",
	 {{"OUTRCL_SYMB_MODELLO", "SRC"}, {"OUTRCL_SYMB_CODICE", "C1"}, {"OUTRCL_SYMB_CODICE_A", "C2"}},
	 KVZ_SIMBOLO_OUTRICLASS, "Kvz_SimboliOutputRiclassif", [](int m) { return 101.0 * m; },
	 {{"OUTRCL_SYMB_CODICE_A", "C1"}}, [](int m) { return 1.0 * m; }},
};

void Compila(FormDriver& form, const std::vector<Campo>& campi)
{
	for (const Campo& c : campi)
	{
		if (c.valore)
			EXPECT_TRUE(form.Type(c.controllo, c.valore)) << c.controllo << ": " << form.GetLastError();
		else
			EXPECT_TRUE(form.Press(c.controllo)) << c.controllo << ": " << form.GetLastError();
	}
}

TEST_F(SimboliCodice, EachKindIsDefinedInsertedEditedAndDeletedFromTheEditorAndValued)
{
	for (const Tipo& t : kTipi)
	{
		SCOPED_TRACE(t.lista);
		AfxSetApplicationDate(DataDate(15, 3, kAnno));
		std::unique_ptr<FormDriver> pModello;
		Kvz_CFormulaDoc* pEditore = ApriEditore(pModello);
		ASSERT_NE(pEditore, nullptr);
		FormDriver ed(pEditore);
		ASSERT_TRUE(ed.Press(t.lista)) << ed.GetLastError();
		ASSERT_TRUE(ed.Press("Definisci nuovo simbolo")) << ed.GetLastError();
		CBaseDocument* pDoc = Aperto<Kvz_CPropSimboloCodiceDoc>();
		ASSERT_NE(pDoc, nullptr);
		EXPECT_TRUE(pDoc->IsKindOf(t.pClasse));
		EXPECT_FALSE(pEditore->GetMasterFrame()->IsWindowEnabled());
		std::string nome;
		{
			FormDriver form(pDoc);
			// The kind's letter, the row's code and the symbols the formula has.
			nome = std::string(t.prefisso) + "R10";
			EXPECT_EQ(form.Text(t.nomeCtrl).str(), nome);
			Compila(form, t.campi);
			ASSERT_TRUE(form.Press("OK")) << form.GetLastError() << m_Ui.LastMessage().str();
			EXPECT_FALSE(form.IsOpen());
		}
		EXPECT_TRUE(pEditore->GetMasterFrame()->IsWindowEnabled());
		EXPECT_EQ(ed.Text("Formula :").str(), "_" + nome);
		const std::string chiave = " WHERE NomeSimbolo = '" + nome + "' AND ModelloRiclassific = 'MOD' AND Esercizio = 2026";
		EXPECT_EQ(Numero("SELECT TipoSimbolo FROM Kvz_AnagSimboli" + chiave),
				  static_cast<long>(DataEnum(E_KVZ_TIPOSIMBOLO, t.tipo).GetValue()));
		EXPECT_EQ(Numero(std::string("SELECT COUNT(*) FROM ") + t.tabella + chiave), 1);
		EXPECT_EQ(Valuta(("_" + nome).c_str()), PerMese(t.valore));

		// Edited a day later: the form shows the symbol, its name locked; creation date stays.
		AfxSetApplicationDate(DataDate(16, 3, kAnno));
		ASSERT_TRUE(ed.Type("Formula :", "")) << ed.GetLastError();
		// The list also has the model's own row symbols (R + code).
		int riga = -1;
		for (int i = 0; i < pEditore->m_pListaSimboli->GetCount(); ++i)
			if (pEditore->m_pListaSimboli->GetText(i).str().rfind(nome, 0) == 0)
				riga = i;
		ASSERT_GE(riga, 0);
		ASSERT_TRUE(ed.SelectLine("Simboli definiti", riga)) << ed.GetLastError();
		ASSERT_TRUE(ed.Press("Proprieta' del simbolo")) << ed.GetLastError();
		pDoc = Aperto<Kvz_CPropSimboloCodiceDoc>();
		ASSERT_NE(pDoc, nullptr);
		{
			FormDriver form(pDoc);
			EXPECT_EQ(form.Text(t.nomeCtrl).str(), nome);
			EXPECT_FALSE(form.IsEditable(t.nomeCtrl));
			for (const Campo& c : t.campi)
				EXPECT_EQ(form.Text(c.controllo).str(), c.valore) << c.controllo;
			Compila(form, t.modifica);
			ASSERT_TRUE(form.Press("OK")) << form.GetLastError() << m_Ui.LastMessage().str();
		}
		EXPECT_EQ(ed.Text("Formula :").str(), "");  // an edited symbol is not inserted again
		EXPECT_EQ(Testo("SELECT DataCreazione FROM Kvz_AnagSimboli" + chiave).substr(0, 10), "2026-03-15");
		EXPECT_EQ(Testo("SELECT DataUltModifica FROM Kvz_AnagSimboli" + chiave).substr(0, 10), "2026-03-16");
		EXPECT_EQ(Valuta(("_" + nome).c_str()), PerMese(t.valoreModificato));

		// Deleted from the editor's list.
		ASSERT_TRUE(ed.SelectLine("Simboli definiti", riga));
		m_Ui.PushAnswer(IDYES);
		ASSERT_TRUE(ed.Press("Elimina simbolo")) << ed.GetLastError();
		EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_AnagSimboli" + chiave), 0);
		EXPECT_EQ(Numero(std::string("SELECT COUNT(*) FROM ") + t.tabella + chiave), 0);
		ASSERT_TRUE(ed.Press("Annulla"));
		ASSERT_TRUE(pModello->Escape());
		m_Manager.CloseAllDocuments();
	}
}

// "Copia in nuovo simbolo" saves and keeps the form on the editor: the copy saved next goes into the
// formula and the list as a new symbol does.
TEST_F(SimboliCodice, TheCopyToANewSymbolStaysWithTheEditorAndGoesIntoTheFormula)
{
	for (const Tipo& t : kTipi)
	{
		SCOPED_TRACE(t.lista);
		std::unique_ptr<FormDriver> pModello;
		Kvz_CFormulaDoc* pEditore = ApriEditore(pModello);
		ASSERT_NE(pEditore, nullptr);
		FormDriver ed(pEditore);
		auto inLista = [&](const std::string& nome) {
			for (int i = 0; i < pEditore->m_pListaSimboli->GetCount(); ++i)
				if (pEditore->m_pListaSimboli->GetText(i).str().rfind(nome + " ", 0) == 0)
					return true;
			return false;
		};
		ASSERT_TRUE(ed.Press(t.lista)) << ed.GetLastError();
		ASSERT_TRUE(ed.Press("Definisci nuovo simbolo")) << ed.GetLastError();
		auto* pDoc = Aperto<Kvz_CPropSimboloCodiceDoc>();
		ASSERT_NE(pDoc, nullptr);
		const std::string primo = std::string(t.prefisso) + "R10";
		const std::string chiave = " WHERE ModelloRiclassific = 'MOD' AND Esercizio = 2026 AND NomeSimbolo = ";
		{
			FormDriver form(pDoc);
			Compila(form, t.campi);
			ASSERT_TRUE(form.Press("Copia in nuovo simbolo")) << form.GetLastError() << m_Ui.LastMessage().str();
			EXPECT_TRUE(form.IsOpen());
			EXPECT_EQ(Numero(std::string("SELECT COUNT(*) FROM ") + t.tabella + chiave + "'" + primo + "'"), 1);
			// Still the editor's symbol form: the editor waits, its formula untouched, its list up to date.
			EXPECT_NE(pDoc->GetFormulaDoc(), nullptr);
			EXPECT_FALSE(pEditore->GetMasterFrame()->IsWindowEnabled());
			EXPECT_EQ(ed.Text("Formula :").str(), "");
			EXPECT_TRUE(inLista(primo));
			// A new symbol with the same definition: the name to give, the rest kept.
			EXPECT_EQ(form.Text(t.nomeCtrl).str(), "");
			EXPECT_TRUE(form.IsEditable(t.nomeCtrl));
			for (const Campo& c : t.campi)
				EXPECT_EQ(form.Text(c.controllo).str(), c.valore) << c.controllo;
			ASSERT_TRUE(form.Type(t.nomeCtrl, "COPIA")) << form.GetLastError();
			ASSERT_TRUE(form.Press("OK")) << form.GetLastError() << m_Ui.LastMessage().str();
			EXPECT_FALSE(form.IsOpen());
		}
		EXPECT_TRUE(pEditore->GetMasterFrame()->IsWindowEnabled());
		EXPECT_EQ(ed.Text("Formula :").str(), "_COPIA");
		EXPECT_TRUE(inLista("COPIA"));
		EXPECT_TRUE(inLista(primo));
		EXPECT_EQ(Numero("SELECT TipoSimbolo FROM Kvz_AnagSimboli" + chiave + "'COPIA'"),
				  static_cast<long>(DataEnum(E_KVZ_TIPOSIMBOLO, t.tipo).GetValue()));
		EXPECT_EQ(Valuta("_COPIA"), PerMese(t.valore));
		EXPECT_EQ(Valuta(("_" + primo).c_str()), PerMese(t.valore));
		ASSERT_TRUE(ed.Press("Annulla"));
		ASSERT_TRUE(pModello->Escape());
		m_Manager.CloseAllDocuments();
		m_pConn->ExecuteSQL("DELETE FROM Kvz_AnagSimboli");
	}
}

// The base-plan symbol takes the same context from the editor: its model, its proposed name, and
// its place in the formula once saved.
TEST_F(SimboliCodice, TheBasePlanSymbolTakesTheEditorsContextToo)
{
	std::unique_ptr<FormDriver> pModello;
	Kvz_CFormulaDoc* pEditore = ApriEditore(pModello);
	ASSERT_NE(pEditore, nullptr);
	FormDriver ed(pEditore);
	ASSERT_TRUE(ed.Press("Piano base"));
	ASSERT_TRUE(ed.Press("Definisci nuovo simbolo")) << ed.GetLastError();
	auto* pDoc = Aperto<Kvz_CPropSimboloDoc>();
	ASSERT_NE(pDoc, nullptr);
	{
		FormDriver form(pDoc);
		EXPECT_EQ(form.Text("PB_SYMB_NOME_SIMBOLO").str(), "SR10");
		EXPECT_EQ(form.Text("PB_SYMB_MODELLO").str(), "MOD");
		EXPECT_FALSE(form.IsEditable("PB_SYMB_MODELLO"));
		ASSERT_TRUE(form.Press("PB_SYMB_SEL_SALDO"));
		ASSERT_TRUE(form.Type("PB_SYMB_OPE_CONTO", "Compreso tra")) << form.GetLastError();
		ASSERT_TRUE(form.Type("PB_SYMB_CONTO_DA", "3001001"));
		ASSERT_TRUE(form.Type("PB_SYMB_CONTO_A", "3001002"));
		ASSERT_TRUE(form.Press("OK")) << form.GetLastError() << m_Ui.LastMessage().str();
	}
	EXPECT_EQ(ed.Text("Formula :").str(), "_SR10");
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_SimboliPianoBase WHERE NomeSimbolo = 'SR10' AND ModelloRiclassific = 'MOD'"),
			  1);
	EXPECT_TRUE(pEditore->GetMasterFrame()->IsWindowEnabled());
	ASSERT_TRUE(ed.Press("Annulla"));
}

// ---- on their own: checks and a failing save ------------------------------------------------------

struct DaSolo
{
	const char* ns;
	const char* modello;  // the context's model field
	const char* nome;
	std::vector<Campo> campi;  // a definition that saves
	const char* tabella;
};

const DaSolo kDaSoli[] = {
	{"BDPropSimboloExtraC", "EX_SYMB_MODELLO", "EX_SYMB_NOME_SIMBOLO", {{"EX_SYMB_CODICE_DA", "X1"}},
	 "Kvz_SimboliCodExtracont"},
	{"BDPropSimboloRiclass", "RCL_SYMB_MODELLO_VIS", "RCL_NOME_SIMBOLO",
	 {{"RCL_SYMB_MODELLO", "SRC"}, {"RCL_SYMB_CODICE", "C1"}}, "Kvz_SimboliCodRiclassif"},
	{"BDPropSimboloOutRiclass", "OUTRCL_SYMB_MODELLO_VIS", "OUTRCL_NOME_SIMBOLO",
	 {{"OUTRCL_SYMB_MODELLO", "SRC"}, {"OUTRCL_SYMB_CODICE", "C1"}}, "Kvz_SimboliOutputRiclassif"},
};

TEST_F(SimboliCodice, ASaveThatFailsPartWayWritesNothingAndKeepsTheFormOpen)
{
	for (const DaSolo& a : kDaSoli)
	{
		SCOPED_TRACE(a.ns);
		auto* pDoc = Open<Kvz_CPropSimboloCodiceDoc>(a.ns);
		ASSERT_NE(pDoc, nullptr);
		FormDriver form(pDoc);
		ASSERT_TRUE(form.Type(a.modello, "MOD")) << form.GetLastError();
		ASSERT_TRUE(form.Type(a.nome, "ROTTO")) << form.GetLastError();
		Compila(form, a.campi);
		// The registry row goes in, the definition cannot.
		m_pConn->ExecuteSQL(CString("ALTER TABLE ") + a.tabella + " RENAME TO Altrove");
		m_Ui.Clear();
		EXPECT_FALSE(form.Save());
		EXPECT_TRUE(form.IsOpen());
		EXPECT_FALSE(m_Ui.Messages().empty());
		EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_AnagSimboli"), 0);
		// Put right, the same form saves.
		m_pConn->ExecuteSQL(CString("ALTER TABLE Altrove RENAME TO ") + a.tabella);
		EXPECT_TRUE(form.Save()) << form.GetLastError() << m_Ui.LastMessage().str();
		EXPECT_FALSE(form.IsOpen());
		EXPECT_EQ(Numero(std::string("SELECT COUNT(*) FROM ") + a.tabella + " WHERE NomeSimbolo = 'ROTTO'"), 1);
		m_pConn->ExecuteSQL("DELETE FROM Kvz_AnagSimboli");
	}
}

TEST_F(SimboliCodice, TheChecksRefuseWithTheirMessage)
{
	struct Caso
	{
		const char* ns;
		const char* nome;
		std::vector<Campo> campi;
		const char* messaggio;
	} casi[] = {
		{"BDPropSimboloExtraC", "", {{"EX_SYMB_CODICE_DA", "X1"}}, "Indicare il nome del simbolo."},
		{"BDPropSimboloExtraC", "A B", {{"EX_SYMB_CODICE_DA", "X1"}},
		 "Carattere ' ' non ammesso. Il nome del simbolo puo' contenere soltanto numeri e lettere."},
		{"BDPropSimboloExtraC", "E1", {}, "Indicare il codice extracontabile."},
		{"BDPropSimboloExtraC", "E1", {{"EX_TIPO_WHERE_MESE_CONST_DA", nullptr}, {"EX_SYMB_CODICE_DA", "X1"}},
		 "Indicare il mese."},
		{"BDPropSimboloExtraC", "E1",
		 {{"EX_TIPO_WHERE_MESE_CONST_DA", nullptr}, {"EX_SYMB_MESE_DA", "13"}, {"EX_SYMB_CODICE_DA", "X1"}},
		 "Il mese deve essere compreso tra 1 e 12."},
		{"BDPropSimboloRiclass", "R1", {{"RCL_TIPO_WHERE_ES_CONST_DA", nullptr}, {"RCL_SYMB_CODICE", "C1"}},
		 "Indicare l'esercizio."},
		{"BDPropSimboloRiclass", "R1", {{"RCL_SYMB_CODICE", "C1"}}, "Indicare il modello di riclassificazione."},
		{"BDPropSimboloRiclass", "R1", {{"RCL_SYMB_MODELLO", "SRC"}}, "Indicare il codice riclassificato."},
		{"BDPropSimboloOutRiclass", "O1", {{"OUTRCL_SYMB_CODICE", "C1"}}, "Indicare il modello di riclassificazione."},
		{"BDPropSimboloOutRiclass", "O1",
		 {{"OUTRCL_SYMB_MODELLO", "SRC"}, {"OUTRCL_SYMB_CODICE", "C1"}, {"OUTRCL_SYMB_USA_FORMULA_COLONNA", nullptr}},
		 "Il numero di colonna deve essere compreso tra 1 e 10."},
	};
	for (const Caso& c : casi)
	{
		SCOPED_TRACE(c.messaggio);
		auto* pDoc = Open<Kvz_CPropSimboloCodiceDoc>(c.ns);
		ASSERT_NE(pDoc, nullptr);
		FormDriver form(pDoc);
		ASSERT_TRUE(form.Type(pDoc->Form().nome.szNome, c.nome)) << form.GetLastError();
		Compila(form, c.campi);
		m_Ui.Clear();
		EXPECT_FALSE(form.Save());
		EXPECT_EQ(m_Ui.LastMessage().str(), c.messaggio);
		EXPECT_TRUE(form.IsOpen());
		EXPECT_TRUE(form.Press("Annulla"));
		EXPECT_FALSE(form.IsOpen());
	}
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_AnagSimboli"), 0);
}

TEST_F(SimboliCodice, TheChoicesLockWhatTheyLeaveOut)
{
	auto* pDoc = Open<Kvz_CPropSimboloRiclassDoc>("BDPropSimboloRiclass");
	ASSERT_NE(pDoc, nullptr);
	FormDriver form(pDoc);
	// A new symbol: the year the evaluation's, the model a constant.
	EXPECT_FALSE(form.IsEditable("RCL_SYMB_ES_DA"));
	EXPECT_TRUE(form.IsEditable("RCL_SYMB_MODELLO"));
	EXPECT_FALSE(form.IsEditable("RCL_SYMB_NR_COLONNA"));
	ASSERT_TRUE(form.Type("RCL_SYMB_MODELLO", "SRC"));
	ASSERT_TRUE(form.Press("RCL_TIPO_WHERE_MOD_SYMB"));
	EXPECT_EQ(form.Text("RCL_SYMB_MODELLO").str(), "");
	EXPECT_FALSE(form.IsEditable("RCL_SYMB_MODELLO"));
	// The code from is copied into the code to.
	ASSERT_TRUE(form.Type("RCL_SYMB_CODICE", "C2"));
	EXPECT_EQ(form.Text("RCL_SYMB_CODICE_A").str(), "C2");
	ASSERT_TRUE(form.Press("RCL_SYMB_USA_FORMULA_COLONNA"));
	ASSERT_TRUE(form.Type("RCL_SYMB_NR_COLONNA", "4"));
	// A budget formula locks the radios and takes the column back to 0.
	EXPECT_FALSE(form.IsEditable("RCL_SYMB_USA_TIPO_BUDGET"));
	ASSERT_TRUE(form.Press("RCL_SYMB_USA_FORMULA_DEL_BUDGET"));
	EXPECT_TRUE(form.IsEditable("RCL_SYMB_USA_TIPO_BUDGET"));
	EXPECT_FALSE(form.IsEditable("RCL_SYMB_USA_FORMULA_PRINC"));
	EXPECT_FALSE(form.IsEditable("RCL_SYMB_USA_FORMULA_COLONNA"));
	EXPECT_EQ(form.Text("RCL_SYMB_NR_COLONNA").str(), "0");
	EXPECT_TRUE(form.Press("Annulla"));
}

// ---- the browsers of another company's models and codes -----------------------------------------

TEST_F(SimboliCodice, TheBrowsersListAnotherCompanysModelsAndCodesAndWriteBackOnlyAChoice)
{
	// Another company with models of its own, entered out of order.
	const std::string altra = (m_Folder / "altra.db").string();
	m_pConn->ExecuteSQL(CString::Formatted("VACUUM INTO '%s'", altra.c_str()));
	{
		auto pAltra = SqlConnection::Open(CString(altra), SqlConnection::OPEN_EXISTING);
		for (const char* t : {"Kvz_RiclassificazioneTesta", "Kvz_RiclassificazioneRighe", "Kvz_CodiciRiclassificato"})
			pAltra->ExecuteSQL(CString("DELETE FROM ") + t);
		Modello("ZETA", "Ultimo", pAltra.get());
		Modello("ALFA", "Primo", pAltra.get());
		Riga("ALFA", "K2", 2, "2", "", "", pAltra.get());
		Riga("ALFA", "K1", 1, "1", "", "", pAltra.get());
	}
	for (auto [codice, file] : {std::pair{"02", "altra"}, std::pair{"SE", "azienda"}})
	{
		Kvz_TAziende a;
		a.f_Azienda = codice;
		a.f_DataSource = file;
		Inserisci(a);
	}
	auto* pDoc = Open<Kvz_CPropSimboloOutRiclassDoc>("BDPropSimboloOutRiclass");
	ASSERT_NE(pDoc, nullptr);
	FormDriver form(pDoc);
	// The current company has no code to connect with.
	for (const char* bottone : {"MultAz modello", "MultAz codice da", "MultAz codice a"})
	{
		m_Ui.Clear();
		ASSERT_TRUE(form.Press(bottone)) << form.GetLastError();
		EXPECT_EQ(m_Ui.LastMessage().str(), "Effettuare connessione ad un'azienda.");
		EXPECT_EQ(Aperto<CModelliMultiAzBase>(), nullptr);
	}
	ASSERT_TRUE(form.Press("SEL_AZ_ESTERNA"));
	ASSERT_TRUE(form.Type("SEL_AZ_COD_AZIENDA", "02")) << form.GetLastError();

	auto codici = [&](CModelliMultiAzBase* pBrowser, const char* colonna) {
		std::vector<std::string> v;
		FormDriver b(pBrowser);
		const CString grid = b.Grid("Modelli di riclassificazione") ? "Modelli di riclassificazione"
																	 : "Righe modelli di riclassificazione";
		for (int i = 0; i < b.RowCount(grid); ++i)
			v.push_back(b.Cell(grid, i, colonna).str());
		return v;
	};
	ASSERT_TRUE(form.Press("MultAz modello")) << form.GetLastError();
	auto* pModelli = Aperto<CModelliMultiAzDoc>();
	ASSERT_NE(pModelli, nullptr);
	EXPECT_FALSE(pDoc->GetMasterFrame()->IsWindowEnabled());
	EXPECT_EQ(codici(pModelli, "Modello"), (std::vector<std::string>{"ALFA", "ZETA"}));
	{
		FormDriver b(pModelli);
		EXPECT_FALSE(b.DoubleClick("Modelli di riclassificazione", 5));  // below the last row
		ASSERT_TRUE(b.DoubleClick("Modelli di riclassificazione", 0)) << b.GetLastError();
	}
	EXPECT_EQ(Aperto<CModelliMultiAzBase>(), nullptr);
	EXPECT_TRUE(pDoc->GetMasterFrame()->IsWindowEnabled());
	EXPECT_EQ(form.Text("OUTRCL_SYMB_MODELLO").str(), "ALFA");

	// Closed without a choice, the code stays; a choice for the code to leaves the code from.
	ASSERT_TRUE(form.Type("OUTRCL_SYMB_CODICE", "K0"));
	ASSERT_TRUE(form.Press("MultAz codice a")) << form.GetLastError();
	auto* pCodici = Aperto<CModelliRigheMultiAzDoc>();
	ASSERT_NE(pCodici, nullptr);
	EXPECT_EQ(codici(pCodici, "Codice"), (std::vector<std::string>{"K1", "K2"}));
	ASSERT_TRUE(FormDriver(pCodici).Close());
	EXPECT_EQ(form.Text("OUTRCL_SYMB_CODICE").str(), "K0");
	EXPECT_EQ(form.Text("OUTRCL_SYMB_CODICE_A").str(), "K0");
	ASSERT_TRUE(form.Press("MultAz codice a"));
	ASSERT_TRUE(FormDriver(Aperto<CModelliRigheMultiAzDoc>()).DoubleClick("Righe modelli di riclassificazione", 1));
	EXPECT_EQ(form.Text("OUTRCL_SYMB_CODICE").str(), "K0");
	EXPECT_EQ(form.Text("OUTRCL_SYMB_CODICE_A").str(), "K2");

	// This company through its own entry in the register: its models; a year given narrows them.
	ASSERT_TRUE(form.Type("SEL_AZ_COD_AZIENDA", "SE")) << form.GetLastError();
	ASSERT_TRUE(form.Press("MultAz modello"));
	EXPECT_EQ(codici(Aperto<CModelliMultiAzDoc>(), "Modello"), (std::vector<std::string>{"SRC"}));
	ASSERT_TRUE(FormDriver(Aperto<CModelliMultiAzDoc>()).Close());
	ASSERT_TRUE(form.Press("OUTRCL_TIPO_WHERE_ES_CONST_DA"));
	ASSERT_TRUE(form.Type("OUTRCL_SYMB_ES_DA", "2025"));
	ASSERT_TRUE(form.Press("MultAz modello"));
	EXPECT_TRUE(codici(Aperto<CModelliMultiAzDoc>(), "Modello").empty());
	ASSERT_TRUE(FormDriver(Aperto<CModelliMultiAzDoc>()).Close());
	EXPECT_EQ(form.Text("OUTRCL_SYMB_MODELLO").str(), "ALFA");

	// A company the register does not have: said, nothing listed.
	ASSERT_TRUE(form.Type("SEL_AZ_COD_AZIENDA", "99"));
	m_Ui.Clear();
	ASSERT_TRUE(form.Press("MultAz modello"));
	EXPECT_EQ(m_Ui.LastMessage().str(), "Azienda 99 non censita.");
	EXPECT_TRUE(codici(Aperto<CModelliMultiAzDoc>(), "Modello").empty());
	ASSERT_TRUE(FormDriver(Aperto<CModelliMultiAzDoc>()).Close());
	EXPECT_TRUE(form.Press("Annulla"));
}

}  // namespace
