// The reclassification model document, driven through its form as a user would: rows, their
// codes and symbols, the type rules, the counters and the deletion of a model.
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TContatoriCodici.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TContatoriDettaglio.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TDescrizioniBrevi.h"
#include "kvznet/kvzmod/kvzdocuments/Kvz_CDeRiclassificazioniDoc.h"
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
	// The sign takes one of + - * /; anything else is told, and kept as typed.
	m_Ui.Clear();
	ASSERT_TRUE(Form().TypeCell(kGriglia, 0, "SegnoDaApplicare", "x"));
	EXPECT_EQ(Shown(), "\nSegno non valido.");
	m_Ui.Clear();
	ASSERT_TRUE(Form().TypeCell(kGriglia, 0, "SegnoDaApplicare", "-"));
	EXPECT_EQ(Shown(), "");
	EXPECT_TRUE(Form().Save()) << Shown();
	// The code of an existing model, typed in a new one, is told.
	ASSERT_TRUE(Form().New());
	m_Ui.Clear();
	ASSERT_TRUE(Form().Type("ModelloRiclassific", "M1"));
	EXPECT_EQ(Shown(), CString::Formatted("\nIl modello M1 esercizio %d esiste gia'.", kAnno).str());
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
	EXPECT_EQ(Registrato(kModello, "W"), Registro(1, 1, 1));
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
	ASSERT_TRUE(Form().Type("TipoModello", "Drivers"));
	EXPECT_EQ(Shown(), "\nIl tipo modello Drivers non è utilizzabile in questo contesto. Utilizzare il modulo drivers");
	EXPECT_EQ(Form().Text("TipoModello"), "Standard");
	ASSERT_TRUE(Form().Save()) << Shown();
	EXPECT_EQ(Conta("SELECT TipoModello & 65535 FROM Kvz_RiclassificazioneTesta WHERE ModelloRiclassific='J1'"), 0);

	// A job model on a code that is no job is told.
	ASSERT_TRUE(Form().New());
	ASSERT_TRUE(Form().Type("ModelloRiclassific", "NOJOB"));
	m_Ui.Clear();
	ASSERT_TRUE(Form().Type("TipoModello", "Per commessa"));
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
	ASSERT_TRUE(Form().Delete()) << Shown();
	EXPECT_EQ(Registrato("O''X", "A"), Registro(0, 0, 0));
	EXPECT_EQ(Conta("SELECT COUNT(*) FROM Kvz_RiclassificazioneTesta"), 0);
	EXPECT_EQ(Conta("SELECT COUNT(*) FROM Kvz_DescrFormule"), 0);
}

}  // namespace
