// The reclassification model document, driven through its form as a user would: rows, their
// codes and symbols, the type rules, the counters and the deletion of a model.
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TCentriCommesseContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TContatoriCodici.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TContatoriDettaglio.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TDescrizioniBrevi.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliOutputRiclass.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliPianoBase.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TBudgetRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciRiclass.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TElencoContiSimboloPBase.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRighe.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/Kvz_CDeRiclassificazioniDoc.h"
#include "kvznet/kvzmod/kvzdocuments/tests/MngFormulaFixture.h"
#include "platform/erp/erpledgerdbl/TCostCenters.h"
#include "platform/erp/erpledgerdbl/TJobs.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvges/FormDriver.h"
#include "platform/plvoledb/SqlTable.h"

namespace {

const char* const kGriglia = "Righe riclassificazioni";

class Modelli : public Calcolo
{
protected:
	void SetUp() override
	{
		Calcolo::SetUp();
		if (IsSkipped() || HasFatalFailure())
			return;
		AfxSetApplicationDate(DataDate(15, 6, kAnno));
		// Symbols the formulas use: an extra-accounting code and a reclassified code of another model.
		SimboloExtra("E", "X1", "1");
	}
	void TearDown() override
	{
		// The documents go before the connection they work on.
		m_pForm.reset();
		m_pDocs.reset();
		Calcolo::TearDown();
	}

	using Voci = std::vector<std::tuple<const char*, const char*, WORD>>;
	// A base-plan symbol of the model over its accounts (operator ope, from da to a; 8: the list
	// of voci, account, centre and sign), or over cost centres alone.
	void SimboloPB(const char* nome, int ope, const char* da, const char* a, bool bCentri, const Voci& voci)
	{
		Anagrafica(nome, 0);
		Kvz_TSimboliPianoBase s;
		s.f_Esercizio = kAnno;
		s.f_ModelloRiclassific = kModello;
		s.f_NomeSimbolo = nome;
		s.f_SelSaldo = TRUE;
		s.f_WhereConto = !bCentri;
		s.f_TipoOpeConto = DataEnum(E_KVZ_TIPOOPECONTO, static_cast<WORD>(ope));
		s.f_ValDaConto = da;
		s.f_ValAConto = a;
		s.f_WhereCdcComm = bCentri;
		s.f_SelContoVuoto = bCentri;
		InsertRow(s);
		for (const auto& [conto, centro, segno] : voci)
		{
			Kvz_TElencoContiSimboloPBase v;
			v.f_Esercizio = kAnno;
			v.f_ModelloRiclassific = kModello;
			v.f_NomeSimbolo = nome;
			v.f_ContoSelez = conto;
			v.f_CentroCommessa = centro;
			v.f_SegnoConto = DataEnum(E_KVZ_SEGNOCONTO, segno);
			InsertRow(v);
		}
	}

	Kvz_CDeRiclassificazioniDoc* Apri()
	{
		m_pDoc = static_cast<Kvz_CDeRiclassificazioniDoc*>(
			FormDriver::Open(*m_pDocs, RUNTIME_CLASS(Kvz_CDeRiclassificazioniDoc), RUNTIME_CLASS(Kvz_CDeRiclassificazioniFrame),
							 RUNTIME_CLASS(Kvz_CDeRiclassificazioniView),
							 CPLVNamespace("KvzNet.KvzMod.KvzDocuments.DModelliRiclassific")));
		m_pForm = std::make_unique<FormDriver>(m_pDoc);
		return m_pDoc;
	}
	FormDriver& Form() { return *m_pForm; }

	// A new row at the end with its code, description and main formula.
	void NuovaRiga(const char* codice, const char* descrizione, const char* formula)
	{
		ASSERT_TRUE(Form().AddRow(kGriglia)) << Form().GetLastError();
		const int r = Form().RowCount(kGriglia) - 1;
		ASSERT_TRUE(Form().TypeCell(kGriglia, r, "Codice", codice)) << Form().GetLastError();
		ASSERT_TRUE(Form().TypeCell(kGriglia, r, "Descrizione", descrizione)) << Form().GetLastError();
		if (*formula)
		{
			ASSERT_TRUE(Form().TypeCell(kGriglia, r, "Formula", formula)) << Form().GetLastError();
		}
	}
	// A new model of the year with its rows, saved.
	void CreaModello(const char* modello, std::vector<std::tuple<const char*, const char*, const char*>> righe)
	{
		ASSERT_TRUE(Form().New());
		ASSERT_TRUE(Form().Type("ModelloRiclassific", modello));
		ASSERT_TRUE(Form().Type("Descrizione", "Modello di prova"));
		for (auto& [codice, descr, formula] : righe)
			NuovaRiga(codice, descr, formula);
		ASSERT_TRUE(Form().Save()) << Form().GetLastError() << Shown();
	}
	void Mostra(const char* modello)
	{
		ASSERT_TRUE(Form().Find());
		ASSERT_TRUE(Form().Type("ModelloRiclassific", modello));
		ASSERT_TRUE(Form().Save()) << Shown();
	}

	long Conta(const char* sql)
	{
		auto st = m_pConn->Db().Prepare(sql);
		st->Step();
		return static_cast<long>(std::get<std::int64_t>(st->Column(0)));
	}
	std::string Testo(const char* sql)
	{
		auto st = m_pConn->Db().Prepare(sql);
		if (!st->Step())
			return "<none>";
		DataStr s;
		s.SetDataValue(st->Column(0));
		return s.GetString().str();
	}
	// The stored rows of the model, by position: "code:position:formula ...".
	static std::string RigheSalvate()
	{
		Kvz_TRiclassificazioneRighe r;
		SqlTable t(&r);
		t.Open();
		t.SelectAll();
		t.AddSortColumn(r.f_Posizione);
		std::string s;
		for (t.Query(); !t.IsEOF(); t.MoveNext())
			s += (s.empty() ? "" : " ") + r.f_CodRiclassificato.GetString().str() + ":" + r.f_Posizione.FormatData().str() +
				 ":" + r.f_Formula.GetString().str();
		t.Close();
		return s;
	}
	// Whether the code's list entry, symbol of kind 3 and definition exist.
	std::tuple<long, long, long> Registrato(const char* modello, const char* codice)
	{
		return {Conta(CString::Formatted("SELECT COUNT(*) FROM Kvz_CodiciRiclassificato WHERE ModelloRiclassific='%s' "
										 "AND CodRiclassificato='%s'",
										 modello, codice)),
				Conta(CString::Formatted("SELECT COUNT(*) FROM Kvz_AnagSimboli WHERE ModelloRiclassific='%s' AND "
										 "NomeSimbolo='R%s' AND TipoSimbolo=%u",
										 modello, codice, static_cast<unsigned>(MAKELONG(3, E_KVZ_TIPOSIMBOLO)))),
				Conta(CString::Formatted("SELECT COUNT(*) FROM Kvz_SimboliCodRiclassif WHERE ModelloRiclassific='%s' AND "
										 "NomeSimbolo='R%s' AND ValoreCodice='%s'",
										 modello, codice, codice))};
	}
	std::string Shown() const
	{
		std::string s;
		for (auto& m : m_Ui.Messages())
			s += "\n" + m.text.str();
		return s;
	}

	std::unique_ptr<CDocumentSet> m_pDocs = std::make_unique<CDocumentSet>();
	Kvz_CDeRiclassificazioniDoc* m_pDoc = nullptr;
	std::unique_ptr<FormDriver> m_pForm;
};

using Registro = std::tuple<long, long, long>;

TEST_F(Modelli, SavedModelHoldsRowsInGridOrderWithTheirSymbolsAndShortDescriptions)
{
	Apri();
	CreaModello("mod", {{"VP", "Valore della produzione", "1000"}, {"CE", "Costi esterni", "_E*400"},
					   {"VA", "Valore aggiunto", "_RVP-_RCE"}});
	EXPECT_EQ(Shown(), "");
	EXPECT_EQ(RigheSalvate(), "VP:1:1000 CE:2:_E*400 VA:3:_RVP-_RCE");
	for (const char* codice : {"VP", "CE", "VA"})
		EXPECT_EQ(Registrato(kModello, codice), Registro(1, 1, 1)) << codice;
	EXPECT_EQ(Testo("SELECT Annotazioni FROM Kvz_SimboliCodRiclassif WHERE NomeSimbolo='RVA'"), "Valore aggiunto");
	EXPECT_EQ(Conta("SELECT COUNT(*) FROM Kvz_DescrizioniBrevi WHERE CodRiclassificato IN ('VP','CE','VA')"), 3);
	// The fourteen column titles exist, under the model code.
	EXPECT_EQ(Conta("SELECT COUNT(*) FROM Kvz_DescrFormule WHERE Codice='MOD'"), 14);

	// A row inserted before the first one moves the others down at the next save.
	ASSERT_TRUE(Form().Edit());
	ASSERT_TRUE(Form().InsertRow(kGriglia, 0));
	ASSERT_TRUE(Form().TypeCell(kGriglia, 0, "Codice", "TIT"));
	ASSERT_TRUE(Form().TypeCell(kGriglia, 0, "TipoRiga", "Titolo"));
	ASSERT_TRUE(Form().Save()) << Shown();
	EXPECT_EQ(RigheSalvate(), "TIT:1: VP:2:1000 CE:3:_E*400 VA:4:_RVP-_RCE");
}

TEST_F(Modelli, EmptyFormulaAsksBeforeSavingUnlessTheRowKindNeedsNone)
{
	Apri();
	ASSERT_TRUE(Form().New());
	ASSERT_TRUE(Form().Type("ModelloRiclassific", "M1"));
	NuovaRiga("EST", "Procedura esterna", "");
	ASSERT_TRUE(Form().TypeCell(kGriglia, 0, "TipoRiga", "Procedura esterna"));
	NuovaRiga("VUOTA", "Senza formula", "");
	m_Ui.PushAnswer(IDNO);
	EXPECT_FALSE(Form().Save());
	ASSERT_FALSE(m_Ui.Messages().empty());
	const CString asked = m_Ui.Messages().back().text;
	EXPECT_NE(asked.Find("Attenzione: formula vuota alla riga con codice VUOTA."), -1) << asked.str();
	EXPECT_EQ(asked.Find("EST"), -1) << asked.str();
	EXPECT_EQ(Conta("SELECT COUNT(*) FROM Kvz_RiclassificazioneTesta"), 0);
	m_Ui.PushAnswer(IDYES);
	EXPECT_TRUE(Form().Save()) << Shown();
	EXPECT_EQ(Conta("SELECT COUNT(*) FROM Kvz_RiclassificazioneRighe WHERE ModelloRiclassific='M1'"), 2);
}

// Formulas the run could not evaluate are saved as typed, without a question. One message per
// fault: a formula refused as it was typed is not said again by the save; one stored so and not
// typed is warned of by row at the save.
TEST_F(Modelli, FormulasThatCannotBeEvaluatedAreSavedWithAWarningByRow)
{
	Apri();
	const std::string annidata = std::string(300, '(') + "1" + std::string(300, ')');
	CreaModello("M1", {{"BUONA", "Buona", "7"}, {"IGNOTO", "Simbolo ignoto", "_NONESISTE+1"},
					   {"NIDO", "Troppo annidata", annidata.c_str()}});
	EXPECT_EQ(RigheSalvate().substr(0, 43), "BUONA:1:7 IGNOTO:2:_NONESISTE+1 NIDO:3:((((");
	const auto volte = [](const std::string& detto, const char* testo) {
		size_t n = 0;
		for (size_t at = detto.find(testo); at != std::string::npos; at = detto.find(testo, at + 1))
			++n;
		return n;
	};
	std::string detto = Shown();
	EXPECT_EQ(volte(detto, "Errore nella formula. Simbolo sconosciuto: _NONESISTE (posizione 1)."), 1u) << detto;
	EXPECT_EQ(volte(detto, "NONESISTE"), 1u) << detto;
	EXPECT_EQ(volte(detto, "troppo annidata"), 1u) << detto;
	EXPECT_EQ(volte(detto, "Attenzione"), 0u) << detto;

	// Stored without being typed in this edit: the save names each row and its columns with the
	// reason, once for the budget formulas that follow the main one.
	m_pConn->ExecuteSQL("UPDATE Kvz_RiclassificazioneRighe SET Formula = '_ALTRO+1', FormulaBudgetA = '_ALTRO+1', "
						"FormulaBudgetB = '_ALTRO+1', FormulaBudgetC = '_ALTRO+1' WHERE CodRiclassificato = 'BUONA'");
	Mostra("M1");
	ASSERT_TRUE(Form().Edit());
	m_Ui.Clear();
	ASSERT_TRUE(Form().Save()) << Shown();
	detto = Shown();
	EXPECT_NE(detto.find("Attenzione: alla riga con codice BUONA ci sono formule che non si possono calcolare "
						 "(Formula, Budget A, Budget B, Budget C: "),
			  std::string::npos)
		<< detto;
	EXPECT_EQ(volte(detto, "_ALTRO"), 1u) << detto;
	EXPECT_EQ(volte(detto, "Attenzione: alla riga con codice IGNOTO "), 1u) << detto;
	EXPECT_EQ(volte(detto, "Attenzione: alla riga con codice NIDO "), 1u) << detto;
	EXPECT_EQ(volte(detto, "Attenzione"), 3u) << detto;
}

TEST_F(Modelli, RowRulesRefuseDuplicatedCodesAndBadSigns)
{
	Apri();
	ASSERT_TRUE(Form().New());
	ASSERT_TRUE(Form().Type("ModelloRiclassific", "M1"));
	NuovaRiga("a1", "Uno", "1");
	NuovaRiga("A1", "Uno ancora", "2");
	EXPECT_FALSE(Form().Save());
	EXPECT_EQ(Conta("SELECT COUNT(*) FROM Kvz_RiclassificazioneTesta"), 0);
	ASSERT_TRUE(Form().DeleteRow(kGriglia, 1));
	// The sign takes one of + - * /; anything else is told, kept as typed, and the typing refused.
	m_Ui.Clear();
	EXPECT_FALSE(Form().TypeCell(kGriglia, 0, "SegnoDaApplicare", "x"));
	EXPECT_EQ(Form().GetLastError(), "Segno non valido.");
	EXPECT_EQ(Shown(), "\nSegno non valido.");
	m_Ui.Clear();
	ASSERT_TRUE(Form().TypeCell(kGriglia, 0, "SegnoDaApplicare", "-"));
	EXPECT_EQ(Shown(), "");
	EXPECT_TRUE(Form().Save()) << Shown();
	// The code of an existing model, typed in a new one, is told.
	ASSERT_TRUE(Form().New());
	m_Ui.Clear();
	EXPECT_FALSE(Form().Type("ModelloRiclassific", "M1"));
	EXPECT_EQ(Shown(), CString::Formatted("\nIl modello M1 esercizio %d esiste gia'.", kAnno).str());
}

// Saving a new model under a code the year already holds is refused with its reason, before the
// database turns it down, and the stored model stays as it was; the same code in another year is a
// model of its own.
TEST_F(Modelli, ANewModelUnderACodeTakenInItsYearIsRefusedWithTheReason)
{
	Apri();
	CreaModello("M1", {{"VP", "Valore della produzione", "1000"}});
	const std::string righe = RigheSalvate();
	ASSERT_TRUE(Form().New());
	// Typing the code says so at once; the save refuses it again.
	EXPECT_FALSE(Form().Type("ModelloRiclassific", "M1"));
	EXPECT_EQ(Form().GetLastError(), CString::Formatted("Il modello M1 esercizio %d esiste gia'.", kAnno));
	NuovaRiga("ALTRO", "Altra riga", "2");
	m_Ui.Clear();
	EXPECT_FALSE(Form().Save());
	EXPECT_EQ(Shown(), CString::Formatted("\nIl modello M1 esercizio %d esiste gia'.", kAnno).str());
	EXPECT_EQ(Conta("SELECT COUNT(*) FROM Kvz_RiclassificazioneTesta"), 1);
	EXPECT_EQ(RigheSalvate(), righe);
	EXPECT_EQ(Registrato("M1", "VP"), Registro(1, 1, 1));

	ASSERT_TRUE(Form().Type("Esercizio", std::to_string(kAnno + 1).c_str()));
	m_Ui.Clear();
	EXPECT_TRUE(Form().Save()) << Shown();
	EXPECT_EQ(Conta(CString::Formatted("SELECT COUNT(*) FROM Kvz_RiclassificazioneTesta WHERE ModelloRiclassific='M1' "
									   "AND Esercizio=%d",
									   kAnno + 1)),
			  1);
}

TEST_F(Modelli, BudgetFormulasFollowTheMainFormulaUntilEdited)
{
	Apri();
	ASSERT_TRUE(Form().New());
	ASSERT_TRUE(Form().Type("ModelloRiclassific", "M1"));
	NuovaRiga("A", "Riga A", "1");
	EXPECT_EQ(Form().Cell(kGriglia, 0, "BudgetA"), "1");
	EXPECT_EQ(Form().Cell(kGriglia, 0, "Budget B"), "1");
	EXPECT_EQ(Form().Cell(kGriglia, 0, "BudgetC"), "1");
	ASSERT_TRUE(Form().TypeCell(kGriglia, 0, "BudgetA", "7"));
	ASSERT_TRUE(Form().TypeCell(kGriglia, 0, "Formula", "2"));
	EXPECT_EQ(Form().Cell(kGriglia, 0, "BudgetA"), "7");
	EXPECT_EQ(Form().Cell(kGriglia, 0, "Budget B"), "2");
	ASSERT_TRUE(Form().Save()) << Shown();
	// Stored so, the edited one keeps its text and the others still follow.
	ASSERT_TRUE(Form().Edit());
	ASSERT_TRUE(Form().TypeCell(kGriglia, 0, "Formula", "3"));
	EXPECT_EQ(Form().Cell(kGriglia, 0, "BudgetA"), "7");
	EXPECT_EQ(Form().Cell(kGriglia, 0, "BudgetC"), "3");
	// Made equal to the main formula again, it follows again.
	ASSERT_TRUE(Form().TypeCell(kGriglia, 0, "BudgetA", "3"));
	ASSERT_TRUE(Form().TypeCell(kGriglia, 0, "Formula", "4"));
	EXPECT_EQ(Form().Cell(kGriglia, 0, "BudgetA"), "4");
}

TEST_F(Modelli, DeletedRowKeepsItsSymbolUntilTheModelIsSavedWithoutIt)
{
	Apri();
	// RC is a base-plan symbol of the model already: the code C must not take it over.
	Anagrafica("RC", 0);
	CreaModello(kModello, {{"A", "Riga A", "1"}, {"B", "Riga B", "_RA"}, {"C", "Riga C", "2"}});
	EXPECT_EQ(Registrato(kModello, "C"), Registro(1, 0, 0));

	// Deleted, then the edit is cancelled: nothing of the row was lost, and a save keeps it all.
	ASSERT_TRUE(Form().Edit());
	ASSERT_TRUE(Form().DeleteRow(kGriglia, 0));
	EXPECT_EQ(Registrato(kModello, "A"), Registro(1, 1, 1));
	ASSERT_TRUE(Form().Escape());
	ASSERT_TRUE(Form().Edit());
	ASSERT_EQ(Form().RowCount(kGriglia), 3);
	ASSERT_TRUE(Form().Save()) << Shown();
	EXPECT_EQ(Registrato(kModello, "A"), Registro(1, 1, 1));

	// Deleted and saved: the code goes, and a symbol of another kind with its name stays.
	ASSERT_TRUE(Form().Edit());
	ASSERT_TRUE(Form().DeleteRow(kGriglia, 2));
	ASSERT_TRUE(Form().DeleteRow(kGriglia, 0));
	ASSERT_TRUE(Form().Save()) << Shown();
	EXPECT_EQ(Registrato(kModello, "A"), Registro(0, 0, 0));
	EXPECT_EQ(Registrato(kModello, "C"), Registro(0, 0, 0));
	EXPECT_EQ(Conta("SELECT COUNT(*) FROM Kvz_AnagSimboli WHERE NomeSimbolo='RC' AND ModelloRiclassific='MOD'"), 1);
	EXPECT_EQ(Registrato(kModello, "B"), Registro(1, 1, 1));

	// A code typed and renamed, and a row typed and abandoned, leave nothing behind.
	ASSERT_TRUE(Form().Edit());
	NuovaRiga("Z", "Riga Z", "3");
	ASSERT_TRUE(Form().TypeCell(kGriglia, 1, "Codice", "Y"));
	NuovaRiga("W", "Riga W", "3");
	EXPECT_EQ(Registrato(kModello, "W"), Registro(0, 0, 0));  // written by the save only
	ASSERT_TRUE(Form().DeleteRow(kGriglia, 2));
	ASSERT_TRUE(Form().Save()) << Shown();
	EXPECT_EQ(Registrato(kModello, "Z"), Registro(0, 0, 0));
	EXPECT_EQ(Registrato(kModello, "W"), Registro(0, 0, 0));
	EXPECT_EQ(Registrato(kModello, "Y"), Registro(1, 1, 1));
	ASSERT_TRUE(Form().Edit());
	NuovaRiga("V", "Riga V", "3");
	ASSERT_TRUE(Form().Escape());
	EXPECT_EQ(Registrato(kModello, "V"), Registro(0, 0, 0));
	EXPECT_EQ(Registrato(kModello, "Y"), Registro(1, 1, 1));
}

TEST_F(Modelli, ModelTypeRulesAndTheRefusedDriverType)
{
	TJobs job;
	job.f_Job = "J1";
	job.f_Description = "Commessa uno";
	job.f_StartingDate = DataDate(1, 3, kAnno);
	job.f_EndingDate = DataDate(30, 9, kAnno);
	InsertRow(job);
	TCostCenters centro;
	centro.f_CostCenter = "CC1";
	centro.f_Description = "Produzione";
	InsertRow(centro);
	Apri();

	struct Caso
	{
		const char* tipo;
		const char* modello;
		const char* calcolo;
		bool calcoloEditabile;
		const char* descrizione;
	};
	for (const Caso& c : {Caso{"Per commessa", "J1", "Formula parametrica", true, "Commessa uno"},
						  Caso{"Per centro di costo", "CC1", "Formula parametrica", false, "Produzione"},
						  Caso{"Standard", "ORD", "Non ripartito", false, ""}})
	{
		SCOPED_TRACE(c.tipo);
		ASSERT_TRUE(Form().New());
		ASSERT_TRUE(Form().Type("ModelloRiclassific", c.modello));
		ASSERT_TRUE(Form().Type("TipoModello", c.tipo)) << Form().GetLastError();
		EXPECT_EQ(Form().Text("Descrizione"), c.descrizione);
		EXPECT_EQ(Form().IsEditable("DataInizio"), c.calcoloEditabile);
		NuovaRiga("A", "Riga A", "1");
		EXPECT_EQ(Form().Cell(kGriglia, 0, "Calcolo"), c.calcolo);
		EXPECT_EQ(Form().IsCellEditable(kGriglia, 0, "Calcolo"), c.calcoloEditabile);
		ASSERT_TRUE(Form().Save()) << Shown();
	}

	// A job model takes the job's dates; turned ordinary, every row goes back to no split, read-only.
	Mostra("J1");
	EXPECT_EQ(Form().Text("DataFine"), DataDate(30, 9, kAnno).FormatData());
	ASSERT_TRUE(Form().Edit());
	ASSERT_TRUE(Form().Type("TipoModello", "Standard"));
	EXPECT_EQ(Form().Cell(kGriglia, 0, "Calcolo"), "Non ripartito");
	EXPECT_FALSE(Form().IsCellEditable(kGriglia, 0, "Calcolo"));
	EXPECT_EQ(Form().Text("Descrizione"), "");

	// The driver type is told and not kept: the save stores the type the model had.
	m_Ui.Clear();
	EXPECT_FALSE(Form().Type("TipoModello", "Drivers"));
	EXPECT_EQ(Shown(), "\nIl tipo modello Drivers non è utilizzabile in questo contesto. Utilizzare il modulo drivers");
	EXPECT_EQ(Form().Text("TipoModello"), "Standard");
	ASSERT_TRUE(Form().Save()) << Shown();
	EXPECT_EQ(Conta("SELECT TipoModello & 65535 FROM Kvz_RiclassificazioneTesta WHERE ModelloRiclassific='J1'"), 0);

	// A job model on a code that is no job is told.
	ASSERT_TRUE(Form().New());
	ASSERT_TRUE(Form().Type("ModelloRiclassific", "NOJOB"));
	m_Ui.Clear();
	EXPECT_FALSE(Form().Type("TipoModello", "Per commessa"));
	EXPECT_EQ(Shown(), "\nIl codice modello indicato non corrisponde ad una commessa.");
}

TEST_F(Modelli, ColumnTitlesComeFromTheDescriptionsOrTheDefaults)
{
	Apri();
	ASSERT_TRUE(Form().New());
	ASSERT_TRUE(Form().Type("ModelloRiclassific", "M1"));
	CBodyEdit* pGriglia = Form().Grid(kGriglia);
	ASSERT_TRUE(pGriglia);
	ASSERT_TRUE(Form().TypeCell("Descrizioni colonne", 3, "Descrizione", "Consuntivo"));
	ASSERT_TRUE(Form().TypeCell("Descrizioni colonne", 0, "Descrizione", "Obiettivo"));
	ASSERT_TRUE(Form().ActivateTab("Riclassificazioni", "Altri dati"));
	ASSERT_TRUE(Form().ActivateTab("Riclassificazioni", "Righe"));
	EXPECT_EQ(pGriglia->GetColumn("Formula")->GetTitle(), "Consuntivo");
	EXPECT_EQ(pGriglia->GetColumn("BudgetA")->GetTitle(), "Obiettivo");
	EXPECT_EQ(pGriglia->GetColumn("Budget B")->GetTitle(), "Budget B");
	EXPECT_EQ(pGriglia->GetColumn("Formula10")->GetTitle(), "Formula10");
	EXPECT_FALSE(Form().AddRow("Descrizioni colonne"));
}

// (kind, code) -> uses, of the general counters and of a recount of the stored details.
using Totali = std::map<std::pair<int, std::string>, long>;

TEST_F(Modelli, CountersAfterASaveMatchARecountFromScratch)
{
	Apri();
	// Uses by another model and by an extra-accounting code, stored before.
	Kvz_TContatoriDettaglio d;
	d.f_Esercizio = kAnno;
	d.f_TipoCodice = DataEnum(E_KVZ_TIPOSIMBOLO, 1);
	d.f_Codice = "X1";
	d.f_ModelloRiclassific = "ALTRO";
	d.f_TipoCodCheUtilizza = DataEnum(E_KVZ_TIPOSIMBOLO, 3);
	d.f_CodiceCheUtilizza = "K";
	d.f_ContatoreUtilizzi = 5L;
	InsertRow(d);
	Kvz_TContatoriCodici g;
	g.f_Esercizio = kAnno;
	g.f_TipoCodice = d.f_TipoCodice;
	g.f_Codice = "X1";
	g.f_ContatoreUtilizzi = 5L;
	InsertRow(g);

	auto generali = [&] {
		Totali t;
		Kvz_TContatoriCodici r;
		SqlTable table(&r);
		table.Open();
		table.SelectAll();
		for (table.Query(); !table.IsEOF(); table.MoveNext())
			t[{r.f_TipoCodice.GetItemValue(), r.f_Codice.GetString().str()}] = r.f_ContatoreUtilizzi;
		table.Close();
		return t;
	};
	auto ricontati = [&] {
		Totali t;
		Kvz_TContatoriDettaglio r;
		SqlTable table(&r);
		table.Open();
		table.SelectAll();
		for (table.Query(); !table.IsEOF(); table.MoveNext())
			t[{r.f_TipoCodice.GetItemValue(), r.f_Codice.GetString().str()}] += r.f_ContatoreUtilizzi;
		table.Close();
		return t;
	};

	CreaModello(kModello, {{"A", "Riga A", "_E+_E"}, {"B", "Riga B", "_RA*2"}});
	ASSERT_TRUE(Form().Edit());
	ASSERT_TRUE(Form().TypeCell(kGriglia, 1, "Formula3", "_E"));
	ASSERT_TRUE(Form().Save()) << Shown();
	EXPECT_EQ(generali(), ricontati());
	EXPECT_EQ(generali()[std::make_pair(1, std::string("X1"))], 8);
	EXPECT_EQ(generali()[std::make_pair(3, std::string("A"))], 1);

	// Uses taken away are taken from the totals too; a code no longer used keeps a row at 0.
	ASSERT_TRUE(Form().Edit());
	ASSERT_TRUE(Form().TypeCell(kGriglia, 0, "Formula", "1"));
	ASSERT_TRUE(Form().TypeCell(kGriglia, 1, "Formula", "2"));
	ASSERT_TRUE(Form().Save()) << Shown();
	Totali attesi = ricontati();
	attesi[{3, "A"}] = 0;
	EXPECT_EQ(generali(), attesi);
	EXPECT_EQ(attesi[std::make_pair(1, std::string("X1"))], 6);

	// Deleting the model takes its uses away and keeps the others'.
	m_Ui.PushAnswer(IDYES);
	ASSERT_TRUE(Form().Delete()) << Shown();
	EXPECT_EQ(generali()[std::make_pair(1, std::string("X1"))], 5);
	EXPECT_EQ(Conta("SELECT COUNT(*) FROM Kvz_ContatoriDettaglio WHERE ModelloRiclassific='MOD'"), 0);
	EXPECT_EQ(Conta("SELECT COUNT(*) FROM Kvz_RiclassificazioneRighe"), 0);
	EXPECT_EQ(Registrato(kModello, "A"), Registro(0, 0, 0));
	EXPECT_EQ(Conta("SELECT COUNT(*) FROM Kvz_AnagSimboli WHERE NomeSimbolo='E'"), 0);
}

TEST_F(Modelli, CounterLoadCountsOwnUsesOnlyInTheSecondCounter)
{
	struct Uso
	{
		const char* modello;
		WORD tipoUtil;
		const char* codUtil;
		int posiz;
		long n;
	};
	for (const Uso& u : {Uso{kModello, 3, "R1", 0, 2}, Uso{"ALTRO", 3, "R1", 1, 3}, Uso{kModello, 1, "mese1", 0, 4},
						 Uso{kModello, 3, "R2", 11, 5}})
	{
		Kvz_TContatoriDettaglio d;
		d.f_Esercizio = kAnno;
		d.f_TipoCodice = DataEnum(E_KVZ_TIPOSIMBOLO, 0);
		d.f_Codice = "C1";
		d.f_ModelloRiclassific = u.modello;
		d.f_TipoCodCheUtilizza = DataEnum(E_KVZ_TIPOSIMBOLO, u.tipoUtil);
		d.f_CodiceCheUtilizza = u.codUtil;
		d.f_FormulaCheUtilizza = u.posiz;
		d.f_ContatoreUtilizzi = u.n;
		InsertRow(d);
	}
	Kvz_TRiclassificazioneTesta t;
	t.f_Esercizio = kAnno;
	t.f_ModelloRiclassific = kModello;
	InsertRow(t);
	Apri();
	Mostra(kModello);
	ASSERT_TRUE(Form().Edit());
	const Kvz_ArrayContatori& generali = m_pDoc->GetContatoriGenerali();
	ASSERT_EQ(generali.GetSize(), 1);
	EXPECT_EQ(generali.GetAt(0)->m_Codice.GetString(), "C1");
	// Other models' and other kinds' uses are the first count; the position 11 has no slot.
	EXPECT_EQ(generali.GetAt(0)->m_nUtilizziAltri, 3 + 4);
	EXPECT_EQ(generali.GetAt(0)->m_nUtilizziDoc, 2 + 3 + 4);
	const Kvz_ArrayDettaglioContatori* pDett = m_pDoc->GetDettaglioContatori("C1");
	ASSERT_TRUE(pDett);
	ASSERT_EQ(pDett->GetSize(), 4);
	EXPECT_EQ(m_pDoc->GetContatoreGenerale(DataEnum(E_KVZ_TIPOSIMBOLO, 0), DataStr("C1")).GetValue(), 16);
	ASSERT_TRUE(Form().Escape());

	// Another year has no usage details.
	ASSERT_TRUE(Form().New());
	ASSERT_TRUE(Form().Type("Esercizio", CString::Formatted("%d", kAnno + 1)));
	ASSERT_TRUE(Form().Type("ModelloRiclassific", "NUOVO"));
	EXPECT_EQ(m_pDoc->GetContatoriGenerali().GetSize(), 0);
	EXPECT_TRUE(m_pDoc->GetMapContatori().empty());
}

TEST_F(Modelli, DeletingAModelWhoseCodeHoldsAQuote)
{
	Apri();
	CreaModello("O'X", {{"A", "Riga A", "1"}});
	EXPECT_EQ(Registrato("O''X", "A"), Registro(1, 1, 1));
	m_Ui.PushAnswer(IDYES);
	ASSERT_TRUE(Form().Delete()) << Shown();
	EXPECT_EQ(Registrato("O''X", "A"), Registro(0, 0, 0));
	EXPECT_EQ(Conta("SELECT COUNT(*) FROM Kvz_RiclassificazioneTesta"), 0);
	EXPECT_EQ(Conta("SELECT COUNT(*) FROM Kvz_DescrFormule"), 0);
}

// ---- model copy ----------------------------------------------------------------------------

class CopiaModello : public Modelli
{
protected:
	// Model MOD with two rows over the fixture's extra-accounting symbol and a base-plan and an
	// output symbol of its own; its first row carries every text a copy may leave out.
	void Sorgente()
	{
		Apri();
		Anagrafica("PB", 0);
		Kvz_TSimboliPianoBase pb;
		pb.f_Esercizio = kAnno;
		pb.f_ModelloRiclassific = kModello;
		pb.f_NomeSimbolo = "PB";
		InsertRow(pb);
		for (auto [nome, anno] : {std::pair{"OUT0", 0}, std::pair{"OUTA", kAnno - 1}})
		{
			Anagrafica(nome, 6);
			Kvz_TSimboliOutputRiclass o;
			o.f_Esercizio = kAnno;
			o.f_ModelloRiclassific = kModello;
			o.f_NomeSimbolo = nome;
			o.f_ValoreEs = anno;
			o.f_ValoreModello = kModello;
			InsertRow(o);
		}
		CreaModello(kModello, {{"A", "Riga A", "_E*2"}, {"B", "Riga B", "_RA+1"}});
		ASSERT_TRUE(Form().Edit());
		for (auto [col, val] : {std::pair{"BudgetA", "7"}, std::pair{"Formula3", "_RA"}, std::pair{"Percentuale", "B"},
								std::pair{"DividendoPerProgr", "A"}, std::pair{"DivisorePerProgr", "B"},
								std::pair{"SegnoDaApplicare", "-"}})
			ASSERT_TRUE(Form().TypeCell(kGriglia, 0, col, val)) << col;
		ASSERT_TRUE(Form().TypeCell("Descrizioni colonne", 3, "Descrizione", "Consuntivo"));
		ASSERT_TRUE(Form().Save()) << Shown();
		// A reclassified-code symbol valued from a third model in no fixed year.
		Anagrafica("RZ", 3);
		Kvz_TSimboliCodiciRiclass z;
		z.f_Esercizio = kAnno;
		z.f_ModelloRiclassific = kModello;
		z.f_NomeSimbolo = "RZ";
		z.f_ValoreEs = 0;
		z.f_ValoreModello = "TERZO";
		InsertRow(z);
	}
	// A new model of the year typed in the form, filled by a copy of MOD.
	BOOL Copia(const char* modello, int anno, bool formule)
	{
		EXPECT_TRUE(Form().New());
		EXPECT_TRUE(Form().Type("Esercizio", CString::Formatted("%d", anno)));
		// A model the year has already is refused here, and again by the copy.
		Form().Type("ModelloRiclassific", modello);
		EXPECT_TRUE(Form().Type("RCL_COPIA_ESERC", CString::Formatted("%d", kAnno)));
		EXPECT_TRUE(Form().Type("RCL_COPIA_DA", kModello));
		EXPECT_TRUE(Form().Type("RCL_ANCHE_FORMULE", formule ? "Si" : "No"));
		return Form().Press("RCL_COPIA");
	}
	long Righe(const char* tabella, const char* modello)
	{
		return Conta(CString::Formatted("SELECT COUNT(*) FROM %s WHERE ModelloRiclassific='%s'", tabella, modello));
	}
	// What a copy writes at once: codes, symbols of every kind, their definitions.
	std::vector<long> Scritto(const char* modello)
	{
		std::vector<long> v;
		for (const char* t : {"Kvz_CodiciRiclassificato", "Kvz_AnagSimboli", "Kvz_SimboliCodRiclassif",
							  "Kvz_SimboliPianoBase", "Kvz_SimboliCodExtracont", "Kvz_SimboliOutputRiclassif"})
			v.push_back(Righe(t, modello));
		return v;
	}
};

TEST_F(CopiaModello, AnExistingTargetIsRefusedBeforeAnythingIsWritten)
{
	Sorgente();
	const std::vector<long> prima = Scritto(kModello);
	m_Ui.Clear();
	Copia(kModello, kAnno, true);
	EXPECT_NE(Shown().find(CString::Formatted("Il modello MOD esercizio %d esiste gia'.", kAnno).str()), std::string::npos)
		<< Shown();
	EXPECT_EQ(Form().RowCount(kGriglia), 0);
	EXPECT_EQ(Scritto(kModello), prima);
}

TEST_F(CopiaModello, WithoutFormulasTheTextsStayEmptyAndOnlyTheCodesSymbolsFollow)
{
	Sorgente();
	m_Ui.Clear();
	Copia("SENZA", kAnno, false);
	EXPECT_EQ(Shown(), "");
	ASSERT_EQ(Form().RowCount(kGriglia), 2);
	EXPECT_EQ(Form().Cell(kGriglia, 0, "Codice"), "A");
	EXPECT_EQ(Form().Cell(kGriglia, 1, "Descrizione"), "Riga B");
	for (const char* col : {"Formula", "BudgetA", "Budget B", "BudgetC", "Formula1", "Formula3", "Formula10", "Percentuale",
							"DividendoPerProgr", "DivisorePerProgr", "SegnoDaApplicare"})
		EXPECT_EQ(Form().Cell(kGriglia, 0, col), "") << col;
	// Codes and their own symbols only: no base-plan, extra-accounting or output symbol.
	EXPECT_EQ(Scritto("SENZA"), (std::vector<long>{2, 3, 3, 0, 0, 0}));
	EXPECT_EQ(Conta("SELECT COUNT(*) FROM Kvz_AnagSimboli WHERE ModelloRiclassific='SENZA' AND TipoSimbolo<>" +
					CString::Formatted("%u", static_cast<unsigned>(MAKELONG(3, E_KVZ_TIPOSIMBOLO)))),
			  0);
	// The column titles came along; saved, the model is whole.
	EXPECT_EQ(Form().Cell("Descrizioni colonne", 3, "Descrizione"), "Consuntivo");
	m_Ui.PushAnswer(IDYES);  // the rows have no formula
	ASSERT_TRUE(Form().Save()) << Shown();
	EXPECT_EQ(Righe("Kvz_RiclassificazioneRighe", "SENZA"), 2);
	EXPECT_EQ(Conta("SELECT COUNT(*) FROM Kvz_DescrFormule WHERE Codice='SENZA'"), 14);
}

TEST_F(CopiaModello, CodesAreOverwrittenSymbolsKeptAndYearsCarried)
{
	Sorgente();
	const int nuovo = kAnno + 1;
	// The target year already has a code and a symbol of the same names.
	Kvz_TCodiciRiclassificato c;
	c.f_Esercizio = nuovo;
	c.f_ModelloRiclassific = "DEST";
	c.f_CodRiclassificato = "A";
	c.f_Descrizione = "Vecchia";
	InsertRow(c);
	Kvz_TSimboliCodiciRiclass b;
	b.f_Esercizio = nuovo;
	b.f_ModelloRiclassific = "DEST";
	b.f_NomeSimbolo = "RB";
	b.f_Annotazioni = "Mia";
	InsertRow(b);

	m_Ui.Clear();
	Copia("DEST", nuovo, true);
	EXPECT_EQ(Shown(), "");
	ASSERT_EQ(Form().RowCount(kGriglia), 2);
	EXPECT_EQ(Form().Cell(kGriglia, 0, "Formula"), "_E*2");
	EXPECT_EQ(Form().Cell(kGriglia, 0, "SegnoDaApplicare"), "-");

	auto valore = [&](const char* tabella, const char* nome, const char* col) {
		return Testo(CString::Formatted("SELECT %s FROM %s WHERE Esercizio=%d AND ModelloRiclassific='DEST' AND "
										"NomeSimbolo='%s'",
										col, tabella, nuovo, nome));
	};
	EXPECT_EQ(Testo(CString::Formatted("SELECT Descrizione FROM Kvz_CodiciRiclassificato WHERE Esercizio=%d AND "
									   "ModelloRiclassific='DEST' AND CodRiclassificato='A'",
									   nuovo)),
			  "Riga A");
	EXPECT_EQ(valore("Kvz_SimboliCodRiclassif", "RB", "Annotazioni"), "Mia");
	// A year above 0 becomes the target's, 0 stays 0; the source model becomes the target, a third stays.
	EXPECT_EQ(valore("Kvz_SimboliCodRiclassif", "RA", "ValoreEs"), CString::Formatted("%d", nuovo).str());
	EXPECT_EQ(valore("Kvz_SimboliCodRiclassif", "RA", "ValoreModello"), "DEST");
	EXPECT_EQ(valore("Kvz_SimboliCodRiclassif", "RZ", "ValoreEs"), "0");
	EXPECT_EQ(valore("Kvz_SimboliCodRiclassif", "RZ", "ValoreModello"), "TERZO");
	EXPECT_EQ(valore("Kvz_SimboliOutputRiclassif", "OUT0", "ValoreEs"), "0");
	EXPECT_EQ(valore("Kvz_SimboliOutputRiclassif", "OUTA", "ValoreEs"), CString::Formatted("%d", nuovo).str());
	EXPECT_EQ(valore("Kvz_SimboliCodExtracont", "E", "ValoreCodice"), "X1");
	EXPECT_EQ(valore("Kvz_AnagSimboli", "PB", "DataCreazione"), Testo("SELECT DataCreazione FROM Kvz_AnagSimboli WHERE "
																	  "NomeSimbolo='RA' AND ModelloRiclassific='MOD'"));

	// Saved, the copy stays; its rows count their uses as typed rows would.
	ASSERT_TRUE(Form().Save()) << Shown();
	EXPECT_EQ(Righe("Kvz_RiclassificazioneRighe", "DEST"), 2);
	EXPECT_EQ(Conta(CString::Formatted("SELECT COUNT(*) FROM Kvz_ContatoriDettaglio WHERE Esercizio=%d AND "
									   "ModelloRiclassific='DEST' AND Codice='A'",
									   nuovo)),
			  2);
	EXPECT_EQ(Righe("Kvz_SimboliPianoBase", "DEST"), 1);
}

TEST_F(CopiaModello, AFailurePartWayLeavesNothingAndAnAbandonedCopyIsCleanedUp)
{
	Sorgente();
	const std::vector<long> nulla(6, 0);
	const std::vector<long> sorgente = Scritto(kModello);
	// Copied, then left without saving: what the copy wrote goes, the source shown again keeps its own.
	Copia("LASCIATO", kAnno, true);
	ASSERT_EQ(Scritto("LASCIATO"), (std::vector<long>{2, 7, 3, 1, 1, 2}));
	ASSERT_TRUE(Form().Escape());
	EXPECT_EQ(Form().Text("ModelloRiclassific"), kModello);
	EXPECT_EQ(Scritto("LASCIATO"), nulla);
	EXPECT_EQ(Scritto(kModello), sorgente);

	// Rows typed before a copy stay unless the user confirms.
	ASSERT_TRUE(Form().New());
	ASSERT_TRUE(Form().Type("ModelloRiclassific", "ROTTO"));
	NuovaRiga("K", "Riga K", "1");
	ASSERT_TRUE(Form().Type("RCL_COPIA_DA", kModello));
	m_Ui.Clear();
	m_Ui.PushAnswer(IDNO);
	Form().Press("RCL_COPIA");
	EXPECT_EQ(Shown(), "\nLe righe gia' presenti verranno cancellate. Si conferma?");
	EXPECT_EQ(Form().RowCount(kGriglia), 1);
	EXPECT_EQ(Righe("Kvz_CodiciRiclassificato", "ROTTO"), 0);  // a typed row writes nothing before the save

	// The base-plan symbols are written after the copied codes, their symbols and every symbol
	// header: refusing one undoes all of those, and the form keeps what the user typed.
	const std::vector<long> prima = Scritto("ROTTO");
	ASSERT_EQ(prima, nulla);
	if (m_pConn->IsServer())
	{
		m_pConn->ExecuteSQL("CREATE FUNCTION Rifiuta() RETURNS trigger LANGUAGE plpgsql AS "
							"$$BEGIN RAISE EXCEPTION 'rifiutato'; END$$");
		m_pConn->ExecuteSQL("CREATE TRIGGER rifiuta BEFORE INSERT ON Kvz_SimboliPianoBase FOR EACH ROW "
							"WHEN (NEW.ModelloRiclassific = 'ROTTO') EXECUTE FUNCTION Rifiuta()");
	}
	else
		m_pConn->ExecuteSQL("CREATE TRIGGER rifiuta BEFORE INSERT ON Kvz_SimboliPianoBase "
							"WHEN NEW.ModelloRiclassific = 'ROTTO' BEGIN SELECT RAISE(ABORT, 'rifiutato'); END");
	m_Ui.Clear();
	m_Ui.PushAnswer(IDYES);
	Form().Press("RCL_COPIA");
	EXPECT_NE(Shown().find("rifiutato"), std::string::npos) << Shown();
	EXPECT_EQ(Scritto("ROTTO"), prima);
	EXPECT_EQ(Scritto(kModello), sorgente);
	ASSERT_EQ(Form().RowCount(kGriglia), 1);
	EXPECT_EQ(Form().Cell(kGriglia, 0, "Codice"), "K");
}

// However the form is left without saving, what a copy wrote goes; a saved copy stays.
TEST_F(CopiaModello, AnUnsavedCopyGoesHoweverTheFormIsLeft)
{
	Sorgente();
	const std::vector<long> sorgente = Scritto(kModello);
	const std::vector<long> copiato{2, 7, 3, 1, 1, 2};
	const std::vector<long> nulla(6, 0);
	struct Caso
	{
		const char* modello;
		const char* come;
		std::function<void()> lascia;
		bool resta;
	};
	const std::vector<Caso> casi{
		{"CHIUSO", "closed, answering no to saving",
		 [&] {
			 m_Ui.PushAnswer(IDNO);
			 EXPECT_TRUE(Form().Close()) << Form().GetLastError();
			 EXPECT_EQ(m_Ui.Messages().size(), 1u) << Shown();  // the question, nothing else
		 },
		 false},
		{"FINE", "closed without a question, as when the program ends",
		 [&] { EXPECT_TRUE(m_pDoc->CloseDocument(FALSE)); }, false},
		{"DISTRUTTO", "destroyed without a close",
		 [&] {
			 m_pForm.reset();
			 m_pDocs = std::make_unique<CDocumentSet>();
		 },
		 false},
		{"ESC", "escaped; no new record or search before that",
		 [&] {
			 EXPECT_FALSE(Form().New());
			 EXPECT_FALSE(Form().Find());
			 EXPECT_TRUE(Form().Escape());
			 Form().Close();
		 },
		 false},
		{"SALVATO", "saved, then closed",
		 [&] {
			 EXPECT_TRUE(Form().Save()) << Shown();
			 EXPECT_TRUE(Form().Close());
		 },
		 true},
	};
	for (const Caso& c : casi)
	{
		SCOPED_TRACE(c.come);
		Apri();
		Copia(c.modello, kAnno, true);
		ASSERT_EQ(Scritto(c.modello), copiato);
		m_Ui.Clear();
		c.lascia();
		m_pForm.reset();
		EXPECT_EQ(Scritto(c.modello), c.resta ? copiato : nulla);
		EXPECT_EQ(Righe("Kvz_RiclassificazioneTesta", c.modello), c.resta ? 1 : 0);
		EXPECT_EQ(Scritto(kModello), sorgente);
	}
}

// A typed row's code and symbol are written by the save alone: a later row's formula may read
// the symbol meanwhile, and a form closed without saving leaves nothing.
TEST_F(Modelli, ATypedRowClosedWithoutSavingLeavesNoSymbol)
{
	Apri();
	ASSERT_TRUE(Form().New());
	ASSERT_TRUE(Form().Type("ModelloRiclassific", "BATTUTO"));
	NuovaRiga("K", "Riga K", "1");
	NuovaRiga("L", "Riga L", "_RK * 2");
	EXPECT_EQ(Registrato("BATTUTO", "K"), Registro(0, 0, 0));
	EXPECT_EQ(Conta("SELECT COUNT(*) FROM Kvz_AnagSimboli WHERE ModelloRiclassific = 'BATTUTO'"), 0);
	m_Ui.PushAnswer(IDNO);
	ASSERT_TRUE(Form().Close()) << Form().GetLastError();
	m_pForm.reset();
	EXPECT_EQ(Registrato("BATTUTO", "K"), Registro(0, 0, 0));
}

// A job model copied to another job and year: account lists and extra-accounting symbols on
// the source's job move to the target's, the register of the target year gains the job rows
// the lists need, and the job's extra-accounting code is copied under the new job.
TEST_F(CopiaModello, AJobModelsListsAndCodesFollowTheTargetJob)
{
	const int nuovo = kAnno + 1;
	for (auto [job, descr] : {std::pair{"J1", "Commessa uno"}, std::pair{"J2", "Commessa due"}})
	{
		TJobs j;
		j.f_Job = job;
		j.f_Description = descr;
		InsertRow(j);
	}
	Kvz_TRiclassificazioneTesta t;
	t.f_Esercizio = kAnno;
	t.f_ModelloRiclassific = "J1";
	t.f_TipoModello = DataEnum(E_KVZ_TIPOMODELLO, 1);
	InsertRow(t);
	for (auto [nome, tipo] : {std::pair{"PB", 0}, std::pair{"EX", 1}})
	{
		Kvz_TAnagSimboli a;
		a.f_Esercizio = kAnno;
		a.f_ModelloRiclassific = "J1";
		a.f_NomeSimbolo = nome;
		a.f_TipoSimbolo = DataEnum(E_KVZ_TIPOSIMBOLO, static_cast<WORD>(tipo));
		InsertRow(a);
	}
	Kvz_TSimboliPianoBase pb;
	pb.f_Esercizio = kAnno;
	pb.f_ModelloRiclassific = "J1";
	pb.f_NomeSimbolo = "PB";
	InsertRow(pb);
	// The account on the model's own job and on another one; the register of the source year
	// holds both jobs and a cost centre of the account.
	for (const char* job : {"J1", "J9"})
	{
		Kvz_TElencoContiSimboloPBase e;
		e.f_Esercizio = kAnno;
		e.f_ModelloRiclassific = "J1";
		e.f_NomeSimbolo = "PB";
		e.f_ContoSelez = "2001";
		e.f_TipoCentroComm = DataEnum(E_KVZ_TIPOCENTROCOMM, 1);
		e.f_CentroCommessa = job;
		InsertRow(e);
	}
	for (auto [centro, tipo] : {std::pair{"J1", 1}, std::pair{"J9", 1}, std::pair{"CDC1", 0}})
	{
		Kvz_TCentriCommesseContiKvz r;
		r.f_Esercizio = kAnno;
		r.f_ContoKvz = "2001";
		r.f_CentroCommessa = centro;
		r.f_Tipo = DataEnum(E_KVZ_TIPOCENTROCOMM, static_cast<WORD>(tipo));
		InsertRow(r);
	}
	Kvz_TSimboliCodiciExtracont x;
	x.f_Esercizio = kAnno;
	x.f_ModelloRiclassific = "J1";
	x.f_NomeSimbolo = "EX";
	x.f_ValoreCodice = "J1";
	x.f_ValoreCodiceA = "J1";
	InsertRow(x);
	// The job's extra-accounting code in the target year.
	Kvz_TCodExtracontabiliTesta ct;
	ct.f_Esercizio = nuovo;
	ct.f_CodExtracont = "J1";
	ct.f_Descrizione = "Ore commessa";
	InsertRow(ct);
	for (int m : {1, 2})
	{
		Kvz_TCodExtracontabili cm;
		cm.f_Esercizio = nuovo;
		cm.f_CodExtracont = "J1";
		cm.f_Mese = m;
		cm.f_Formula = CString::Formatted("%d", m * 10);
		InsertRow(cm);
	}

	Apri();
	ASSERT_TRUE(Form().New());
	ASSERT_TRUE(Form().Type("Esercizio", CString::Formatted("%d", nuovo)));
	ASSERT_TRUE(Form().Type("ModelloRiclassific", "J2"));
	ASSERT_TRUE(Form().Type("RCL_COPIA_ESERC", CString::Formatted("%d", kAnno)));
	ASSERT_TRUE(Form().Type("RCL_COPIA_DA", "J1"));
	ASSERT_TRUE(Form().Type("RCL_ANCHE_FORMULE", "Si"));
	m_Ui.Clear();
	ASSERT_TRUE(Form().Press("RCL_COPIA"));
	EXPECT_EQ(Shown(), "");
	EXPECT_EQ(Form().Text("Descrizione"), "Commessa due");

	auto elenco = [&](const std::string& sql) {
		auto st = m_pConn->Db().Prepare(sql);
		std::string out;
		for (DataStr v; st->Step();)
		{
			v.SetDataValue(st->Column(0));
			out += (out.empty() ? "" : ",") + v.GetString().str();
		}
		return out;
	};
	const std::string dove = CString::Formatted("WHERE Esercizio=%d AND ", nuovo).str();
	EXPECT_EQ(elenco("SELECT CentroCommessa FROM Kvz_ElencoContiSimboloPBase " + dove +
					 "ModelloRiclassific='J2' AND NomeSimbolo='PB' ORDER BY CentroCommessa"),
			  "J2,J9");
	// The target year's register: the source year's jobs of the account, and the new job described.
	EXPECT_EQ(elenco("SELECT CentroCommessa FROM Kvz_CentriCommPianoConti " + dove + "ContoKvz='2001' ORDER BY CentroCommessa"),
			  "J1,J2,J9");
	EXPECT_EQ(elenco("SELECT Descrizione FROM Kvz_CentriCommPianoConti " + dove + "CentroCommessa='J2'"), "Commessa due");
	EXPECT_EQ(elenco("SELECT ValoreCodice || '/' || ValoreCodiceA FROM Kvz_SimboliCodExtracont " + dove +
					 "ModelloRiclassific='J2' AND NomeSimbolo='EX'"),
			  "J2/J2");
	EXPECT_EQ(elenco("SELECT Descrizione FROM Kvz_CodExtracontabili " + dove + "CodExtracont='J2'"), "Ore commessa");
	EXPECT_EQ(elenco("SELECT Formula FROM Kvz_CodExtracontabiliMesi " + dove + "CodExtracont='J2' ORDER BY Mese"), "10,20");
	// The source is untouched.
	EXPECT_EQ(elenco("SELECT CentroCommessa FROM Kvz_ElencoContiSimboloPBase WHERE ModelloRiclassific='J1' ORDER BY "
					 "CentroCommessa"),
			  "J1,J9");
}

TEST_F(CopiaModello, RemovalOfAQuotedModelWithoutSymbolsFloorsCountersAndClearsItsResults)
{
	Apri();
	Kvz_TRiclassificato r;
	r.f_Esercizio = kAnno;
	r.f_Mese = 1;
	r.f_ModelloRiclassific = "O'X";
	r.f_CodRiclassificato = "A";
	InsertRow(r);
	for (auto [codice, usi] : {std::pair{"C1", 5L}, std::pair{"C2", 1L}})
	{
		Kvz_TContatoriDettaglio d;
		d.f_Esercizio = kAnno;
		d.f_TipoCodice = DataEnum(E_KVZ_TIPOSIMBOLO, 0);
		d.f_Codice = codice;
		d.f_ModelloRiclassific = "O'X";
		d.f_TipoCodCheUtilizza = DataEnum(E_KVZ_TIPOSIMBOLO, 3);
		d.f_CodiceCheUtilizza = "A";
		d.f_ContatoreUtilizzi = usi;
		InsertRow(d);
		Kvz_TContatoriCodici g;
		g.f_Esercizio = kAnno;
		g.f_TipoCodice = d.f_TipoCodice;
		g.f_Codice = codice;
		g.f_ContatoreUtilizzi = 3L;
		InsertRow(g);
	}
	m_pDoc->m_ModelloDaAzzerare = "O'X";
	m_pDoc->m_EsercizioDaAzzerare = kAnno;
	m_Ui.Clear();
	EXPECT_TRUE(m_pDoc->CancellaTuttiISimboli());
	EXPECT_EQ(Shown(), "");
	EXPECT_EQ(Conta("SELECT COUNT(*) FROM Kvz_Riclassificato"), 0);
	EXPECT_EQ(Conta("SELECT COUNT(*) FROM Kvz_ContatoriDettaglio"), 0);
	EXPECT_EQ(Conta("SELECT ContatoreUtilizzi FROM Kvz_ContatoriCodici WHERE Codice='C1'"), 0);
	EXPECT_EQ(Conta("SELECT ContatoreUtilizzi FROM Kvz_ContatoriCodici WHERE Codice='C2'"), 2);
	// Without a model to clear nothing goes.
	m_pDoc->m_ModelloDaAzzerare.Clear();
	EXPECT_FALSE(m_pDoc->CancellaTuttiISimboli());
}

TEST_F(Modelli, AFormulaExplodesIntoValuedAccountsAndCentresThatTheReportReadsBack)
{
	// Two list symbols: accounts (one subtracted), and a cost centre over all accounts and over one.
	for (const auto& [conto, descr] : {std::pair{"2001", "Acquisti"}, std::pair{"3001", "Ricavi"}})
	{
		Kvz_TAnagContiKvz c;
		c.f_Esercizio = kAnno;
		c.f_ContoKvz = conto;
		c.f_Descrizione = descr;
		InsertRow(c);
	}
	TCostCenters cdc;
	cdc.f_CostCenter = "CDC1";
	cdc.f_Description = "Produzione";
	InsertRow(cdc);
	SimboloPB("PB", 8, "", "", false, {{"2001", "", 0}, {"3001", "", 1}, {"2001", "CDC1", 0}});
	SimboloPB("CC", 8, "", "", true, {{"", "CDC1", 0}});
	long id = 0;
	auto piano = [&](const char* conto, const char* centro, WORD mastro, int mese, double saldo, double rateo = 0) {
		Kvz_TPianoBaseRighe r;
		r.f_IDPianoBase = ++id;
		r.f_Esercizio = kAnno;
		r.f_Mese = mese;
		r.f_ContoKvz = conto;
		r.f_CentroCommessa = centro;
		r.f_TipoMastro = DataEnum(E_TIPOMASTRO, mastro);
		r.f_SaldoContabile = saldo;
		r.f_ImportoRateo = rateo;
		r.f_TotaleAssestato = saldo + rateo;
		InsertRow(r);
	};
	for (int m = 1; m <= 4; ++m)
		piano("2001", "", 4, m, m == 4 ? 999 : 100, 7);
	piano("3001", "", 3, 3, -50);
	piano("2001", "CDC1", 4, 3, 40);
	piano("3001", "CDC1", 3, 2, -20);
	piano("3001", "CDC1", 3, 3, -30);

	Apri();
	CreaModello("MOD", {{"VP", "Valore", "_PB + _CC"}});
	ASSERT_TRUE(Form().SelectRow(kGriglia, 0));
	FormDriver::AnswerDialog([](FormDriver& dlg) {
		EXPECT_EQ(dlg.Text("Esercizio:").str(), "2025");
		EXPECT_EQ(dlg.Text("Mese:").str(), "6");  // the application date's
		EXPECT_TRUE(dlg.Type("Mese:", "3"));
		EXPECT_TRUE(dlg.Press("Saldo"));
		return IDOK;
	});
	ASSERT_TRUE(Form().Command("Esplosione")) << Form().GetLastError();
	EXPECT_EQ(m_pDoc->m_FormulaEsplosa.GetString().str(), "_PB + _CC");

	// Read back as the report reads it: a row and its parts, texts 1 to 6 and the two amounts.
	std::vector<std::string> letto;
	for (DataInt riga(0);; riga = riga.GetValue() + 1)
	{
		DataStr primo, secondo;
		if (!m_pDoc->Kvz_GetNextRigaEsplos(riga, primo, secondo))
			break;
		letto.push_back(primo.GetString().str() + "|" + secondo.GetString().str());
		for (DataInt parte(0);; parte = parte.GetValue() + 1)
		{
			DataStr t[6];
			DataMon mese, progr;
			if (!m_pDoc->Kvz_GetSubNextRigaEsplos(riga, parte, t[0], t[1], t[2], t[3], t[4], t[5], mese, progr))
				break;
			std::string s = "  ";
			for (auto& x : t)
				s += x.GetString().str() + "|";
			letto.push_back(s + mese.FormatData("%.2f").str() + "|" + progr.FormatData("%.2f").str());
		}
	}
	EXPECT_EQ(letto, (std::vector<std::string>{
						 "|PB",
						 "  Somma|2001|Acquisti||||100.00|300.00",
						 "  Somma|2001|Acquisti|Somma|CDC1|Produzione|40.00|40.00",
						 "  Sottrae|3001|Ricavi||||-50.00|-50.00",
						 " + |CC",
						 "  |||Somma|CDC1|Produzione|-70.00|-90.00",
					 }));

	// Total adjusted, the dialog's own choice, and a column without formula explodes nothing.
	FormDriver::AnswerDialog([](FormDriver& dlg) { return dlg.Type("Mese:", "1") ? IDOK : IDCANCEL; });
	ASSERT_TRUE(Form().Command("Esplosione"));
	ASSERT_FALSE(m_pDoc->m_RigheEsplosione.empty());
	EXPECT_EQ(m_pDoc->m_RigheEsplosione[0].Dettagli[0].Importi[0].GetValue(), 107.0);
	EXPECT_EQ(m_pDoc->m_RigheEsplosione[0].Dettagli[0].Importi[1].GetValue(), 107.0);
	FormDriver::AnswerDialog([](FormDriver& dlg) {
		return dlg.Press("Colonna numero:") && dlg.Type("Colonna", "11") ? IDOK : IDCANCEL;
	});
	ASSERT_TRUE(Form().Command("Esplosione"));
	EXPECT_TRUE(m_pDoc->m_RigheEsplosione.empty());
}

// Each base-plan symbol's exploded lines, signed as the report shows them: the month and the
// months from January to it.
std::map<std::string, std::pair<double, double>> SommeEsplose(const Kvz_CDeRiclassificazioniDoc& doc)
{
	const CString sottrae = DataEnum(E_KVZ_SEGNOCONTO, 1).FormatData();
	std::map<std::string, std::pair<double, double>> somme;
	for (const Kvz_RigaEsplosione& r : doc.m_RigheEsplosione)
		for (const auto& d : r.Dettagli)
		{
			const double segno = d.Testi[0].GetString() == sottrae || d.Testi[3].GetString() == sottrae ? -1 : 1;
			auto& [mese, progr] = somme[r.Testo.GetString().str()];
			mese += segno * d.Importi[0].GetValue();
			progr += segno * d.Importi[1].GetValue();
		}
	return somme;
}

TEST_F(Modelli, ExplodedAccountsAddUpToTheEnginesValueWhateverCharactersTheCodesHold)
{
	// "_" and "`" sort after "B" byte by byte, before it without case: the database's order.
	for (const char* conto : {"A_1", "A`2", "AB", "B1"})
	{
		Kvz_TAnagContiKvz c;
		c.f_Esercizio = kAnno;
		c.f_ContoKvz = conto;
		c.f_Descrizione = CString("Conto ") + conto;
		InsertRow(c);
	}
	SimboloPB("TRA", 6, "A_1", "AB", false, {});
	SimboloPB("LIS", 8, "", "", false, {{"A_1", "", 0}, {"AB", "", 1}, {"A`2", "", 0}});
	SimboloPB("CEN", 8, "", "", true, {{"", "CDCA", 0}, {"", "CDC_1", 0}});
	long id = 0;
	auto piano = [&](const char* conto, const char* centro, WORD mastro, int mese, double saldo) {
		Kvz_TPianoBaseRighe r;
		r.f_IDPianoBase = ++id;
		r.f_Esercizio = kAnno;
		r.f_Mese = mese;
		r.f_ContoKvz = conto;
		r.f_CentroCommessa = centro;
		r.f_TipoMastro = DataEnum(E_TIPOMASTRO, mastro);
		r.f_SaldoContabile = saldo;
		r.f_TotaleAssestato = saldo;
		InsertRow(r);
	};
	for (int m = 1; m <= 3; ++m)
		piano("A_1", "", 1, m, 10.0 * m);
	piano("A`2", "", 1, 3, 5);
	piano("AB", "", 1, 2, 100);
	piano("AB", "", 1, 3, 200);
	piano("A_3", "", 1, 3, 1);  // in the range, not in the register
	piano("B1", "", 1, 3, 7000);
	piano("AB", "CDCA", 4, 3, 40);
	piano("A_1", "CDC_1", 3, 2, -20);
	piano("A_1", "CDC_1", 3, 3, -30);

	Apri();
	CreaModello("MOD", {{"VP", "Valore", "_TRA + _LIS + _CEN"}});
	ASSERT_TRUE(Form().SelectRow(kGriglia, 0));
	FormDriver::AnswerDialog([](FormDriver& dlg) { return dlg.Type("Mese:", "3") && dlg.Press("Saldo") ? IDOK : IDCANCEL; });
	ASSERT_TRUE(Form().Command("Esplosione")) << Form().GetLastError();
	const auto somme = SommeEsplose(*m_pDoc);
	for (const char* nome : {"TRA", "LIS", "CEN"})
	{
		auto f = Motore(3, 1);  // the balance, as the dialog chose
		f->AttachFormula(CString("_") + nome);
		ASSERT_TRUE(f->Eval());
		const auto it = somme.find(nome);
		ASSERT_NE(it, somme.end()) << nome;
		EXPECT_NE(f->GetResult(2).GetValue(), 0.0) << nome;
		EXPECT_NEAR(it->second.first, f->GetResult(2).GetValue(), 1e-9) << nome;
		EXPECT_NEAR(it->second.second,
					f->GetResult(0).GetValue() + f->GetResult(1).GetValue() + f->GetResult(2).GetValue(), 1e-9)
			<< nome;
	}
	// The range lists the accounts it reads, the one missing from the register too.
	ASSERT_FALSE(m_pDoc->m_RigheEsplosione.empty());
	std::vector<std::string> conti;
	for (const auto& d : m_pDoc->m_RigheEsplosione[0].Dettagli)
		conti.push_back(d.Testi[1].GetString().str() + "=" + d.Importi[0].FormatData("%.2f").str());
	EXPECT_EQ(conti, (std::vector<std::string>{"A_1=30.00", "A`2=5.00", "AB=200.00", "A_3=1.00"}));
}

TEST_F(Modelli, ACodeSymbolOnABudgetFormulaExplodesThatFormulaValuedFromTheBudget)
{
	auto pianoBase = [&](const char* nome, const char* conto) {
		Anagrafica(nome, 0);
		Kvz_TSimboliPianoBase s;
		s.f_Esercizio = kAnno;
		s.f_ModelloRiclassific = kModello;
		s.f_NomeSimbolo = nome;
		s.f_SelSaldo = TRUE;
		s.f_WhereConto = TRUE;
		s.f_ValDaConto = conto;
		InsertRow(s);
	};
	pianoBase("PB", "A1");
	pianoBase("BU", "A2");
	// RB takes budget B of C7, whose formula goes through R2: inside it budget B decides.
	auto codice = [&](const char* nome, const char* cod, bool bBudget) {
		Anagrafica(nome, 3);
		Kvz_TSimboliCodiciRiclass s;
		s.f_Esercizio = kAnno;
		s.f_ModelloRiclassific = kModello;
		s.f_NomeSimbolo = nome;
		s.f_ValoreEsSymb = TRUE;
		s.f_ValoreModelloSymb = TRUE;
		s.f_ValoreCodice = cod;
		s.f_ValoreCodiceA = cod;
		s.f_ValoreDalBudget = bBudget;
		s.f_TipoBudget = DataEnum(E_KVZ_TIPOBUDGET, 1);
		InsertRow(s);
	};
	codice("RB", "C7", true);
	codice("R2", "C8", false);
	long id = 0;
	for (int m = 1; m <= 3; ++m)
	{
		for (const auto& [conto, tipo, importo] : {std::tuple{"A2", WORD(1), 10.0 * m}, std::tuple{"A2", WORD(0), 999.0}})
		{
			Kvz_TBudgetRighe b;
			b.f_IDBudget = ++id;
			b.f_Esercizio = kAnno;
			b.f_Mese = m;
			b.f_ContoKvz = conto;
			b.f_TipoBudget = DataEnum(E_KVZ_TIPOBUDGET, tipo);
			b.f_ImportoMese = importo;
			InsertRow(b);
		}
		for (const char* conto : {"A1", "A2"})
		{
			Kvz_TPianoBaseRighe r;
			r.f_IDPianoBase = ++id;
			r.f_Esercizio = kAnno;
			r.f_Mese = m;
			r.f_ContoKvz = conto;
			r.f_SaldoContabile = 5000;
			InsertRow(r);
		}
	}
	Apri();
	CreaModello("MOD", {{"VP", "Valore", "_RB"}});
	Riga("C7", 50, "_PB", kAnno, {"", "_R2 * 2", ""});
	Riga("C8", 51, "_PB", kAnno, {"", "_BU", ""});
	ASSERT_TRUE(Form().SelectRow(kGriglia, 0));
	FormDriver::AnswerDialog([](FormDriver& dlg) { return dlg.Type("Mese:", "3") && dlg.Press("Saldo") ? IDOK : IDCANCEL; });
	ASSERT_TRUE(Form().Command("Esplosione")) << Form().GetLastError();

	std::vector<std::string> righe;
	for (const Kvz_RigaEsplosione& r : m_pDoc->m_RigheEsplosione)
	{
		righe.push_back(r.Testo.GetString().str());
		for (const auto& d : r.Dettagli)
			righe.push_back("  " + d.Testi[1].GetString().str() + "|" + d.Importi[0].FormatData("%.2f").str() + "|" +
							d.Importi[1].FormatData("%.2f").str());
	}
	EXPECT_EQ(righe, (std::vector<std::string>{"RB", "R2", "BU", "  A2|30.00|60.00", " * 2"}));
	auto f = Motore(3, 1);
	f->AttachFormula("_RB");
	ASSERT_TRUE(f->Eval());
	EXPECT_EQ(f->GetResult(2).GetValue(), 60.0);  // the exploded 30, times 2
}

// A symbol that reads only some months: the months without rows are 0 in the explosion as in
// the engine, and a symbol of one month is that month in every month.
TEST_F(Modelli, AnExplosionValuesTheMonthsWithoutRowsAsTheEngine)
{
	Kvz_TAnagContiKvz c;
	c.f_Esercizio = kAnno;
	c.f_ContoKvz = "A1";
	c.f_Descrizione = "Vendite";
	InsertRow(c);
	long id = 0;
	for (int m = 1; m <= 8; ++m)
	{
		Kvz_TPianoBaseRighe r;
		r.f_IDPianoBase = ++id;
		r.f_Esercizio = kAnno;
		r.f_Mese = m;
		r.f_ContoKvz = "A1";
		r.f_SaldoContabile = 10.0 * m;
		r.f_TotaleAssestato = 10.0 * m;
		InsertRow(r);
	}
	const struct
	{
		const char* nome;
		int da, a;	// months read; 0: the run's
		double mese, progr;	 // at August
	} casi[] = {
		{"TUTTI", 0, 0, 80, 360},  // 10 + 20 + ... + 80
		{"DAL5", 5, 0, 80, 260},   // 50 + 60 + 70 + 80; January to April have no rows
		{"MAR", 3, 3, 30, 240},	   // March in every month
	};
	for (const auto& k : casi)
	{
		Anagrafica(k.nome, 0);
		Kvz_TSimboliPianoBase s;
		s.f_Esercizio = kAnno;
		s.f_ModelloRiclassific = kModello;
		s.f_NomeSimbolo = k.nome;
		s.f_SelSaldo = TRUE;
		s.f_WhereConto = TRUE;
		s.f_ValDaConto = "A1";
		s.f_ValDaMeseConst = k.da > 0;
		s.f_ValDaMese = k.da;
		s.f_ValAMeseConst = k.a > 0;
		s.f_ValAMese = k.a;
		InsertRow(s);
	}
	Apri();
	CreaModello("MOD", {{"VP", "Valore", "_TUTTI + _DAL5 + _MAR"}});
	ASSERT_TRUE(Form().SelectRow(kGriglia, 0));
	FormDriver::AnswerDialog([](FormDriver& dlg) { return dlg.Type("Mese:", "8") && dlg.Press("Saldo") ? IDOK : IDCANCEL; });
	ASSERT_TRUE(Form().Command("Esplosione")) << Form().GetLastError();
	const auto somme = SommeEsplose(*m_pDoc);
	for (const auto& k : casi)
	{
		SCOPED_TRACE(k.nome);
		auto f = Motore(8, 1);
		f->AttachFormula(CString("_") + k.nome);
		ASSERT_TRUE(f->Eval());
		double progr = 0;
		for (int m = 0; m < 8; ++m)
			progr += f->GetResult(m).GetValue();
		const auto it = somme.find(k.nome);
		ASSERT_NE(it, somme.end());
		EXPECT_NEAR(f->GetResult(7).GetValue(), k.mese, 1e-9);
		EXPECT_NEAR(progr, k.progr, 1e-9);
		EXPECT_NEAR(it->second.first, k.mese, 1e-9);
		EXPECT_NEAR(it->second.second, k.progr, 1e-9);
	}
}

// A model found and edited shows the stored counts of the codes it uses: its own uses in detail,
// the code's general counter whole, another model's uses only in the latter.
TEST_F(Modelli, AFoundModelShowsTheStoredCountersOfItsCodes)
{
	Kvz_TAnagContiKvz c;
	c.f_Esercizio = kAnno;
	c.f_ContoKvz = "A1";
	c.f_Descrizione = "Vendite";
	InsertRow(c);
	SimboloPB("VEN", 0, "A1", "", false, {});
	Apri();
	CreaModello(kModello, {{"VP", "Valore", "_VEN"}, {"VP2", "Doppio", "_VEN + _VEN"}});
	const long propri = Conta("SELECT SUM(ContatoreUtilizzi) FROM Kvz_ContatoriDettaglio WHERE Codice = 'A1'");
	ASSERT_GT(propri, 0);
	// Another model's save: its detail rows and the general counter with them.
	m_pConn->ExecuteSQL(CString::Formatted(
		"INSERT INTO Kvz_ContatoriDettaglio (Esercizio, TipoCodice, Codice, ModelloRiclassific, TipoCodCheUtilizza, "
		"CodiceCheUtilizza, FormulaCheUtilizza, ContatoreUtilizzi) SELECT Esercizio, TipoCodice, Codice, 'ALTRO', "
		"TipoCodCheUtilizza, CodiceCheUtilizza, FormulaCheUtilizza, 3 FROM Kvz_ContatoriDettaglio WHERE Codice = 'A1' "
		"AND CodiceCheUtilizza = 'VP'"));
	m_pConn->ExecuteSQL("UPDATE Kvz_ContatoriCodici SET ContatoreUtilizzi = ContatoreUtilizzi + 3 WHERE Codice = 'A1'");
	const long generale = Conta("SELECT ContatoreUtilizzi FROM Kvz_ContatoriCodici WHERE Codice = 'A1'");

	Mostra(kModello);
	ASSERT_TRUE(Form().Edit()) << Form().GetLastError();
	const DataEnum conto(E_KVZ_TIPOSIMBOLO, KVZ_CONTATORE_CONTO);
	EXPECT_EQ(static_cast<long>(m_pDoc->GetContatoreDettaglio(conto, DataStr("A1"))), propri);
	EXPECT_EQ(static_cast<long>(m_pDoc->GetContatoreGenerale(conto, DataStr("A1"))), generale);
	// Saved again unchanged, the counters stay.
	ASSERT_TRUE(Form().Save()) << Form().GetLastError() << Shown();
	EXPECT_EQ(Conta("SELECT ContatoreUtilizzi FROM Kvz_ContatoriCodici WHERE Codice = 'A1'"), generale);
}

}  // namespace
