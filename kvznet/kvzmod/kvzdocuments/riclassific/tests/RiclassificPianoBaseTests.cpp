// The reclassification run driven through its form: models chosen by range or grouping, rows
// evaluated into the results, rows of other procedures kept, grouping sums, job split, stops and
// refusals.
#include <chrono>
#include <map>

#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliOutputRiclass.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/tests/RiclassificRunFixture.h"

namespace {

TEST_F(Run, ModelsChosenByRangeOrByGrouping)
{
	// A year without models: the run ends well and writes nothing.
	EXPECT_TRUE(Esegui(1, 12));
	EXPECT_EQ(Stato(), "Riclassificazione terminata.");
	EXPECT_EQ(Conta(), 0);
	EXPECT_EQ(Testo("SELECT COUNT(*) || '' FROM Kvz_RiclassificatoTesta"), "0");

	Testa("MA");
	Testa("MB");
	Testa("MC");
	for (const char* m : {"MA", "MB", "MC"})
		RigaDi(m, "X", 1, "7");
	// A range: its ends included; one end alone names that model.
	EXPECT_TRUE(Esegui(1, 1, [](FormDriver& f) {
		EXPECT_TRUE(f.Press("RCL_PBASE_TUTTI_MOD"));
		EXPECT_TRUE(f.Type("RCL_PBASE_MODELLO", "ma"));
		EXPECT_TRUE(f.Type("RCL_PBASE_MODELLO_A", "MB"));
	}));
	EXPECT_EQ(Conta("ModelloRiclassific = 'MA'"), 1);
	EXPECT_EQ(Conta("ModelloRiclassific = 'MB'"), 1);
	EXPECT_EQ(Conta("ModelloRiclassific = 'MC'"), 0);
	EXPECT_EQ(Testo("SELECT Descrizione FROM Kvz_RiclassificatoTesta WHERE ModelloRiclassific = 'MA'"), "Modello MA");

	// By grouping, a model of the year outside the grouping is skipped.
	Raggruppamento("G", {"MA", "MC"});
	m_pConn->ExecuteSQL("DELETE FROM Kvz_Riclassificato");
	EXPECT_TRUE(Esegui(1, 2, [](FormDriver& f) {
		EXPECT_TRUE(f.Press("RCL_PBASE_SEL_PER_RAGGRUPP"));
		EXPECT_TRUE(f.Type("RCL_PBASE_RAGGRUPP", "G"));
	}));
	EXPECT_EQ(Conta("ModelloRiclassific = 'MA'"), 2);
	EXPECT_EQ(Conta("ModelloRiclassific = 'MB'"), 0);
	EXPECT_EQ(Conta("ModelloRiclassific = 'MC'"), 2);
	EXPECT_EQ(Valore("G", "X", 2), 14.0);
	EXPECT_EQ(Stato(), "Riclassificazione terminata.");
}

// A model that reads another model's results in the same run sees what the run has just written
// in its transaction (on a server too, where another handle would not).
// The run keeps a list of the installation's companies, filled by code, whose rows are all
// selected or deselected at once; no run reads it.
TEST_F(Run, TheCompaniesListIsFilledByCodeAndSelectedAllAtOnce)
{
	m_pConn->ExecuteSQL("INSERT INTO Kvz_Aziende (Azienda, Descrizione, DataSource) VALUES ('B2', 'Seconda', 'dsn2'), "
						"('A1', 'Prima', 'dsn1')");
	auto* pDoc = static_cast<Kvz_CRiclassificPianoBaseDoc*>(Form().GetDocument());
	Kvz_DBTSelAziende* pAziende = pDoc->GetDBTSelAziende();
	ASSERT_NE(pAziende, nullptr);
	EXPECT_EQ(pAziende->GetSize(), 0);
	auto elenco = [&] {
		std::string s;
		for (int i = 0; i < pAziende->GetSize(); ++i)
			s += pAziende->GetAzienda(i)->f_Azienda.GetString().str() + ":" +
				 pAziende->GetAzienda(i)->f_DataSource.GetString().str() + ":" +
				 (pAziende->GetAzienda(i)->l_Selected ? "S " : "N ");
		return s;
	};
	pAziende->Riempi();
	EXPECT_EQ(elenco(), "A1:dsn1:N B2:dsn2:N ");
	pDoc->OnSelezionaTutteAziende();
	EXPECT_EQ(elenco(), "A1:dsn1:S B2:dsn2:S ");
	pDoc->OnDeselezionaTutteAziende();
	EXPECT_EQ(elenco(), "A1:dsn1:N B2:dsn2:N ");
	// Filled again, it holds each company once.
	pAziende->Riempi();
	EXPECT_EQ(pAziende->GetSize(), 2);
	EXPECT_TRUE(Esegui(1, 1));
}

TEST_F(Run, ALaterModelReadsTheResultsAnEarlierOneWroteInTheSameRun)
{
	Testa("MA", 1);
	Testa("MB", 2);
	RigaDi("MA", "X", 1, "7");
	SimboloRisultato("MB", "X", "MA");
	RigaDi("MB", "Y", 1, "_VX*2");
	EXPECT_TRUE(Esegui(1, 2, [](FormDriver& f) { EXPECT_TRUE(f.Press("RCL_PBASE_TUTTI_MOD")); }));
	for (int mese : {1, 2})
		EXPECT_EQ(Valore("MB", "Y", mese), 14.0) << mese;
	EXPECT_EQ(Stato(), "Riclassificazione terminata.");
}

// A model whose every row reads the row before it: each row's formula is valued once for the
// whole run, so a long chain runs in the time of as many independent rows.
TEST_F(Run, AChainOfTwoThousandRowsThatReadTheRowBefore)
{
	Testa(kModello);
	m_pConn->BeginTransaction();
	for (int i = 1; i <= 2000; ++i)
	{
		const CString codice = CString::Formatted("C%d", i);
		const CString formula = i == 1 ? CString("0.5") : CString::Formatted("_C%d + 1", i - 1);
		Riga(codice.GetString(), i, formula.GetString());
		SimboloRiclass(codice.GetString(), codice.GetString(), codice.GetString());
	}
	m_pConn->CommitTransaction();
	EXPECT_TRUE(Esegui(1, 12));
	for (int mese : {1, 12})
	{
		EXPECT_EQ(Valore(kModello, "C2", mese), 1.5) << mese;
		EXPECT_EQ(Valore(kModello, "C2000", mese), 1999.5) << mese;
	}
	EXPECT_EQ(Conta(), 2000 * 12);
	EXPECT_EQ(Stato(), "Riclassificazione terminata.");
}

// Rows that read the rows after them, in a chain longer than the nesting allows: the chain is
// said once, the rows it reached fail at once instead of walking it to the bound again, so the
// run takes about the time of the same chain read backwards, and the rows past it are computed.
TEST_F(Run, AChainOfRowsThatReadTheRowAfterFailsOnceAndFast)
{
	Testa(kModello);
	// Codes P1..Pn, Pi = _P(i+1) + 1 forwards (Pn = 1), Pi = _P(i-1) + 1 backwards (P1 = 1).
	auto catena = [&](const char* prefisso, int n, bool bAvanti) {
		m_pConn->ExecuteSQL("DELETE FROM Kvz_RiclassificazioneRighe");
		m_pConn->ExecuteSQL("DELETE FROM Kvz_Riclassificato");
		m_pConn->BeginTransaction();
		for (int i = 1; i <= n; ++i)
		{
			const CString codice = CString::Formatted("%s%d", prefisso, i);
			const int j = bAvanti ? i + 1 : i - 1;
			const CString formula =
				j < 1 || j > n ? CString("1") : CString::Formatted("_%s%d + 1", prefisso, j);
			Riga(codice.GetString(), i, formula.GetString());
			SimboloRiclass(codice.GetString(), codice.GetString(), codice.GetString());
		}
		m_pConn->CommitTransaction();
		m_Ui.Clear();
		const auto inizio = std::chrono::steady_clock::now();
		const BOOL bOk = Esegui(1, 1);
		const std::chrono::duration<double> durata = std::chrono::steady_clock::now() - inizio;
		return std::make_pair(bOk, durata.count());
	};
	auto volteAnnidati = [&] {
		int n = 0;
		for (const ShownMessage& m : m_Ui.Messages())
			n += m.text.Find("Simboli annidati troppo in profondita'") >= 0 ? 1 : 0;
		return n;
	};

	const auto [bIndietro, tIndietro] = catena("B", 400, false);
	EXPECT_TRUE(bIndietro);
	EXPECT_EQ(Valore(kModello, "B400", 1), 400.0);

	const auto [bAvanti, tAvanti] = catena("A", 400, true);
	EXPECT_FALSE(bAvanti);  // the first rows' chains pass the bound
	EXPECT_EQ(volteAnnidati(), 1);
	EXPECT_EQ(Valore(kModello, "A1", 1), 0.0);
	EXPECT_EQ(Valore(kModello, "A400", 1), 1.0);
	EXPECT_EQ(Valore(kModello, "A350", 1), 51.0);
	EXPECT_LT(tAvanti, 3 * tIndietro + 0.5) << "forwards " << tAvanti << " s, backwards " << tIndietro << " s";

	// Three times as long: ends in the same order of time, said once.
	const auto [bLunga, tLunga] = catena("L", 1200, true);
	EXPECT_FALSE(bLunga);
	EXPECT_EQ(volteAnnidati(), 1);
	EXPECT_EQ(Valore(kModello, "L1200", 1), 1.0);
	EXPECT_LT(tLunga, 10 * tIndietro + 2) << "1,200 forwards " << tLunga << " s, 400 backwards " << tIndietro << " s";
	EXPECT_TRUE(Stato().Find("non calcolabil") >= 0) << Stato().GetString();
}

TEST_F(Run, RowsEvaluatedMonthByMonthWithRunningSumAndCarryOver)
{
	// An extra-accounting code worth 100 times the month.
	SimboloExtra("EX", "CEX", "0");
	m_pConn->ExecuteSQL("UPDATE Kvz_CodExtracontabiliMesi SET Formula = CAST(Mese * 100 AS TEXT)");
	// A result symbol over this model's own code A: B reads what A wrote just before.
	Anagrafica("RA", 6);
	Kvz_TSimboliOutputRiclass s;
	s.f_Esercizio = kAnno;
	s.f_ModelloRiclassific = kModello;
	s.f_NomeSimbolo = "RA";
	s.f_ValoreModello = kModello;
	s.f_ValoreCodice = "A";
	s.f_ValoreCodiceA = "A";
	InsertRow(s);

	Testa(kModello);
	RigaDi(kModello, "A", 1, "_EX", [](RigaMod& r) {
		r.f_FormulaBudgetA = "1";
		r.f_FormulaBudgetC = "3";
		r.f_Formula1 = "5";
		r.f_Formula9 = "999";  // the ninth value is the running sum
		r.f_Formula10 = "_NONESISTE";  // fails: stays zero
		r.f_CodRiclDividendoProgr = "P1";
	});
	RigaDi(kModello, "B", 2, "_RA * 2", [](RigaMod& r) { r.f_Dividendo = "a"; });
	RigaDi(kModello, "C", 3, "1", [](RigaMod& r) { r.f_Dividendo = "ZZZ"; });
	// The failing formula makes the run no success; the rest is computed and kept.
	EXPECT_FALSE(Esegui(3, 5));
	EXPECT_EQ(Stato(), "Riclassificazione terminata con errori: 1 formula non calcolabile, lasciata a 0 in 1 riga: "
					   "modello MOD riga A (Formula10).");

	for (int m = 3; m <= 5; ++m)
	{
		SCOPED_TRACE(m);
		EXPECT_EQ(Valore(kModello, "A", m), 100.0 * m);
		EXPECT_EQ(Valore(kModello, "A", m, "ValoreBudgetA"), 1.0);
		EXPECT_EQ(Valore(kModello, "A", m, "ValoreBudgetB"), 0.0);
		EXPECT_EQ(Valore(kModello, "A", m, "ValoreBudgetC"), 3.0);
		EXPECT_EQ(Valore(kModello, "A", m, "Valore1"), 5.0);
		EXPECT_EQ(Valore(kModello, "A", m, "Valore10"), 0.0);
		EXPECT_EQ(Valore(kModello, "B", m), 200.0 * m);
		// The dividend's values of the same month, matched without regard to case.
		EXPECT_EQ(Valore(kModello, "B", m, "TotaleRiportato"), 100.0 * m);
		EXPECT_EQ(Valore(kModello, "B", m, "TotaleRiportatoBudgetC"), 3.0);
		EXPECT_EQ(Valore(kModello, "B", m, "TotaleRiportato1"), 5.0);
		// A dividend that is no code of the model: zero totals.
		EXPECT_EQ(Valore(kModello, "C", m, "TotaleRiportato"), 0.0);
	}
	// The running sum of Valore from the first month, in the rows and in the results array.
	EXPECT_EQ(Valore(kModello, "A", 3, "Valore9"), 300.0);
	EXPECT_EQ(Valore(kModello, "A", 4, "Valore9"), 700.0);
	EXPECT_EQ(Valore(kModello, "A", 5, "Valore9"), 1200.0);
	EXPECT_EQ(Valore(kModello, "B", 5, "Valore9"), 2400.0);
	const Kvz_ArrayRisultati& risultati = Doc()->GetRisultati();
	ASSERT_EQ(risultati.GetSize(), 9);
	EXPECT_EQ(risultati.GetAt(2)->l_Mese.GetValue(), 5);
	EXPECT_EQ(risultati.GetAt(2)->l_Valore9.GetValue(), 1200.0);
	// Months before the first are not written; the row's fields go along.
	EXPECT_EQ(Conta("Mese < 3"), 0);
	EXPECT_EQ(Conta(), 9);
	EXPECT_EQ(Testo("SELECT CodRiclDividendoProgr FROM Kvz_Riclassificato WHERE CodRiclassificato = 'A' AND Mese = 4"),
			  "P1");
	EXPECT_EQ(Testo("SELECT Descrizione FROM Kvz_Riclassificato WHERE CodRiclassificato = 'B' AND Mese = 4"), "Riga B");
	// The failing formula is told.
	bool detto = false;
	for (auto& m : m_Ui.Messages())
		detto = detto || m.text.Find("NONESISTE") >= 0;
	EXPECT_TRUE(detto);

	// A second run replaces the results.
	EXPECT_FALSE(Esegui(3, 4));
	EXPECT_EQ(Conta(), 6);
}

TEST_F(Run, RowsOfOtherProceduresAreKeptWhileTheModelHasThem)
{
	Testa(kModello);
	RigaDi(kModello, "A", 1, "10");
	RigaDi(kModello, "K", 7, "", [](RigaMod& r) { r.f_TipoRiga = DataEnum(E_KVZ_TIPORIGA, 7); });
	RigaDi(kModello, "Z", 8, "", [](RigaMod& r) { r.f_TipoRiga = DataEnum(E_KVZ_TIPORIGA, 8); });
	Risultato(kModello, "K", 1, 7, 55);
	// A row of kind 8 that the model no longer has goes.
	Risultato(kModello, "OLD", 1, 8, 66);
	m_pConn->ExecuteSQL("UPDATE Kvz_Riclassificato SET Posizione = 1");
	EXPECT_TRUE(Esegui(1, 2));
	EXPECT_EQ(Valore(kModello, "K", 1), 55.0);
	// Existing rows take the model row's kind and position; missing months come at zero.
	EXPECT_EQ(Valore(kModello, "K", 1, "Posizione"), 7.0);
	EXPECT_EQ(Valore(kModello, "K", 2), 0.0);
	EXPECT_EQ(Valore(kModello, "Z", 1), 0.0);
	EXPECT_EQ(Valore(kModello, "Z", 2, "Posizione"), 8.0);
	EXPECT_EQ(Valore(kModello, "OLD", 1), std::nullopt);

	// Rerunning keeps them; once the model's row becomes an ordinary row, its value is computed.
	m_pConn->ExecuteSQL("UPDATE Kvz_Riclassificato SET Valore = 77 WHERE CodRiclassificato = 'K' AND Mese = 2");
	EXPECT_TRUE(Esegui(1, 2));
	EXPECT_EQ(Valore(kModello, "K", 1), 55.0);
	EXPECT_EQ(Valore(kModello, "K", 2), 77.0);
	m_pConn->ExecuteSQL(CString::Formatted("UPDATE Kvz_RiclassificazioneRighe SET TipoRiga = %lu, Formula = '3' "
										   "WHERE CodRiclassificato = 'K'",
										   static_cast<unsigned long>(DataEnum(E_KVZ_TIPORIGA, 0).GetValue())));
	EXPECT_TRUE(Esegui(1, 2));
	EXPECT_EQ(Valore(kModello, "K", 1), 3.0);

	// Under a grouping code such rows are deleted.
	Raggruppamento("G", {kModello});
	Risultato("G", "K", 1, 7, 99);
	Risultato("G", "K", 3, 7, 99);
	EXPECT_TRUE(Esegui(1, 2, [](FormDriver& f) {
		EXPECT_TRUE(f.Press("RCL_PBASE_SEL_PER_RAGGRUPP"));
		EXPECT_TRUE(f.Type("RCL_PBASE_RAGGRUPP", "G"));
	}));
	EXPECT_EQ(Valore("G", "K", 1), 3.0);
	EXPECT_EQ(Valore("G", "K", 3), std::nullopt);
}

TEST_F(Run, GroupingAddsUpModelsAndKeepsTheFirstProgressiveCodes)
{
	Testa("M1", 1);
	Testa("M2", 2);
	RigaDi("M1", "X", 5, "10", [](RigaMod& r) {
		r.f_Formula1 = "1";
		r.f_CodRiclDividendoProgr = "P1";
	});
	RigaDi("M1", "Y", 6, "4");
	RigaDi("M2", "X", 9, "32", [](RigaMod& r) {
		r.f_Formula1 = "2";
		r.f_CodRiclDividendoProgr = "P2";
		r.f_CodRiclDivisoreProgr = "D2";
	});
	Raggruppamento("G", {"M1", "M2"});
	// What the grouping held before is replaced.
	Risultato("G", "OLD", 1, 0, 5);
	EXPECT_TRUE(Esegui(1, 2, [](FormDriver& f) {
		EXPECT_TRUE(f.Press("RCL_PBASE_SEL_PER_RAGGRUPP"));
		EXPECT_TRUE(f.Type("RCL_PBASE_RAGGRUPP", "G"));
		EXPECT_TRUE(f.Type("RCL_PBASE_NOTE", "prova"));
	}));
	EXPECT_EQ(Valore("G", "X", 1), 42.0);
	EXPECT_EQ(Valore("G", "X", 2, "Valore1"), 3.0);
	EXPECT_EQ(Valore("G", "X", 2, "Valore9"), 84.0);  // the running sums add up too
	EXPECT_EQ(Valore("G", "Y", 2), 4.0);
	EXPECT_EQ(Valore("G", "OLD", 1), std::nullopt);
	EXPECT_EQ(Testo("SELECT CodRiclDividendoProgr FROM Kvz_Riclassificato WHERE ModelloRiclassific = 'G' AND "
					"CodRiclassificato = 'X' AND Mese = 1"),
			  "P1");
	EXPECT_EQ(Testo("SELECT CodRiclDivisoreProgr FROM Kvz_Riclassificato WHERE ModelloRiclassific = 'G' AND "
					"CodRiclassificato = 'X' AND Mese = 1"),
			  "D2");
	// New grouping rows take the next position; a code keeps it in every month.
	EXPECT_EQ(Valore("G", "X", 1, "Posizione"), Valore("G", "X", 2, "Posizione"));
	EXPECT_NE(Valore("G", "X", 1, "Posizione"), Valore("G", "Y", 1, "Posizione"));
	// The grouping's header is of its own kind, with the note.
	EXPECT_EQ(Testo("SELECT Nota FROM Kvz_RiclassificatoTesta WHERE ModelloRiclassific = 'G' AND TipoElaborazione = " +
					std::to_string(DataEnum(E_KVZ_TIPOELABORAZIONE, 1).GetValue())),
			  "prova");
	EXPECT_EQ(Testo("SELECT Nota FROM Kvz_RiclassificatoTesta WHERE ModelloRiclassific = 'M2' AND TipoElaborazione = " +
					std::to_string(DataEnum(E_KVZ_TIPOELABORAZIONE, 0).GetValue())),
			  "prova");
}

// A stop at any point leaves each model either as the previous run left it or as this run
// computed it, never in between, and says which models it kept.
TEST_F(Run, AStopUndoesTheModelInProgressAndKeepsTheFinishedOnes)
{
	Testa("M1", 1);
	Testa("M2", 2);
	Testa("M3", 3);
	for (const char* m : {"M1", "M2", "M3"})
	{
		RigaDi(m, "A", 1, "10");
		RigaDi(m, "B", 2, "5", [](RigaMod& r) { r.f_Dividendo = "A"; });
	}
	auto formule = [&](const char* f) {
		m_pConn->ExecuteSQL(CString::Formatted("UPDATE Kvz_RiclassificazioneRighe SET Formula = '%s' WHERE "
											   "CodRiclassificato = 'A'", f));
	};
	auto risultati = [&](const char* m) {
		return Testo(std::string("SELECT group_concat(r, ';') FROM (SELECT CodRiclassificato || Mese || '=' || Valore || "
								 "'/' || TotaleRiportato AS r FROM Kvz_Riclassificato WHERE ModelloRiclassific = '") +
					 m + "' ORDER BY 1)");
	};
	formule("10");
	ASSERT_TRUE(Esegui(1, 2));
	std::map<std::string, std::string> prima, dopo;
	for (const char* m : {"M1", "M2", "M3"})
		prima[m] = risultati(m);
	formule("20");
	ASSERT_TRUE(Esegui(1, 2));
	for (const char* m : {"M1", "M2", "M3"})
		dopo[m] = risultati(m);
	ASSERT_NE(prima["M1"], dopo["M1"]);

	for (int n = 1;; ++n)
	{
		SCOPED_TRACE(n);
		formule("10");
		m_Ui.AbortAfterPolls(0);
		ASSERT_TRUE(Esegui(1, 2));
		formule("20");
		m_Ui.Clear();
		m_Ui.AbortAfterPolls(n);
		Esegui(1, 2);
		EXPECT_FALSE(m_pConn->IsInTransaction());
		int nDopo = 0;
		for (const char* m : {"M1", "M2", "M3"})
		{
			const std::string r = risultati(m);
			EXPECT_TRUE(r == prima[m] || r == dopo[m]) << m << ": " << r;
			nDopo += r == dopo[m];
		}
		const auto detti = m_Ui.StoppedTexts();
		if (detti.empty())
		{
			EXPECT_EQ(Stato(), "Riclassificazione terminata.");
			EXPECT_EQ(nDopo, 3);
			EXPECT_GT(n, 3);
			break;
		}
		ASSERT_EQ(detti.size(), 1u);
		EXPECT_EQ(Stato(), detti[0]);
		// The finished models first, then the ones left as they were.
		const char* const attesi[] = {
			"Elaborazione interrotta su richiesta utente: 0 modelli salvati; il modello M1 e i successivi non sono "
			"stati modificati.",
			"Elaborazione interrotta su richiesta utente: 1 modello salvato; il modello M2 e i successivi non sono "
			"stati modificati.",
			"Elaborazione interrotta su richiesta utente: 2 modelli salvati; il modello M3 non è stato modificato.",
			"Elaborazione interrotta su richiesta utente: 3 modelli salvati."};
		EXPECT_EQ(detti[0], attesi[nDopo]);
	}
}

// A formula that cannot be evaluated leaves its field at 0 and the other rows go on, but the run
// says which rows, each reason once per row, and is no success.
TEST_F(Run, FormulasThatCannotBeEvaluatedAreSaidAndFailTheRun)
{
	Testa("M");
	RigaDi("M", "OK", 1, "7");
	RigaDi("M", "A", 2, "_NONESISTE+1", [](RigaMod& r) {
		r.f_FormulaBudgetA = r.f_FormulaBudgetB = r.f_FormulaBudgetC = "_NONESISTE+1";
	});
	RigaDi("M", "S", 3, "1+(");
	RigaDi("M", "N", 4, (std::string(300, '(') + "1" + std::string(300, ')')).c_str());
	RigaDi("M", "DOPO", 5, "8");
	m_Ui.Clear();
	EXPECT_FALSE(Esegui(1, 2));
	EXPECT_FALSE(m_pConn->IsInTransaction());
	EXPECT_EQ(Stato(), "Riclassificazione terminata con errori: 6 formule non calcolabili, lasciate a 0 in 3 righe: "
					   "modello M riga A (Formula, Budget A, Budget B, Budget C); modello M riga S (Formula); "
					   "modello M riga N (Formula).");
	// The figures are kept: the rows that could be evaluated have their values, the others 0.
	EXPECT_EQ(Valore("M", "OK", 2), 7.0);
	EXPECT_EQ(Valore("M", "DOPO", 2), 8.0);
	for (const char* c : {"A", "S", "N"})
		EXPECT_EQ(Valore("M", c, 1), 0.0) << c;
	CString detto;
	for (const ShownMessage& m : m_Ui.Messages())
		detto += m.text + "\n";
	auto volte = [&](const char* testo) {
		int n = 0;
		for (int i = detto.Find(testo); i >= 0; i = detto.Find(testo, i + 1))
			++n;
		return n;
	};
	EXPECT_EQ(volte("NONESISTE non esiste"), 1) << detto.GetString();
	EXPECT_EQ(volte("Modello M, riga A, Formula: la formula \"_NONESISTE+1\" non si può calcolare; il valore resta 0."), 1)
		<< detto.GetString();
	EXPECT_EQ(volte("Modello M, riga A, "), 1) << detto.GetString();
	EXPECT_EQ(volte("Modello M, riga S, Formula: la formula \"1+(\" non si può calcolare: "), 1) << detto.GetString();
	EXPECT_EQ(volte("troppo annidata"), 1) << detto.GetString();
}

TEST_F(Run, RefusedParametersTouchNothing)
{
	Testa(kModello);
	RigaDi(kModello, "A", 1, "10");
	Risultato(kModello, "A", 1, 0, 123);
	struct Caso
	{
		int dal, al;
		std::function<void(FormDriver&)> scelta;
		const char* messaggio;
	};
	auto tutti = [](FormDriver& f) {
		if (f.Text("RCL_PBASE_TUTTI_MOD") != "Si")
			f.Press("RCL_PBASE_TUTTI_MOD");
	};
	const Caso casi[] = {
		{0, 5, tutti, "Mese iniziale 0 non valido"},
		{1, 13, tutti, "Mese finale 13 non valido"},
		{6, 5, tutti, "Il mese iniziale (6) è successivo al mese finale (5)."},
		{1, 5, [](FormDriver&) {}, "Indicare il modello di riclassificazione."},
		{1, 5, [](FormDriver& f) { f.Press("RCL_PBASE_SEL_PER_RAGGRUPP"); }, "Indicare il codice di raggruppamento."},
	};
	for (const Caso& c : casi)
	{
		SCOPED_TRACE(c.messaggio);
		m_pForm.reset();
		m_Docs.reset();
		m_Ui.Clear();
		EXPECT_FALSE(Esegui(c.dal, c.al, c.scelta));
		EXPECT_TRUE(m_Ui.LastMessage().Find(c.messaggio) >= 0) << m_Ui.LastMessage().GetString();
		EXPECT_FALSE(m_pConn->IsInTransaction());
		EXPECT_EQ(Valore(kModello, "A", 1), 123.0);
	}
}

TEST_F(Run, ADatabaseErrorRollsTheWholeRunBack)
{
	Testa("M1", 1);
	Testa("M2", 2);
	RigaDi("M1", "A", 1, "10");
	RigaDi("M2", "BAD", 1, "10");
	Risultato("M1", "A", 1, 0, 123);
	m_pConn->ExecuteSQL("CREATE TRIGGER no_bad BEFORE INSERT ON Kvz_Riclassificato WHEN NEW.CodRiclassificato = 'BAD' "
						"BEGIN SELECT RAISE(ABORT, 'riga rifiutata'); END");
	EXPECT_FALSE(Esegui(1, 1));
	EXPECT_EQ(Stato(), "Riclassificazione annullata per errori: nessuna modifica registrata.");
	EXPECT_FALSE(m_pConn->IsInTransaction());
	EXPECT_EQ(Valore("M1", "A", 1), 123.0);
	EXPECT_EQ(Testo("SELECT COUNT(*) || '' FROM Kvz_RiclassificatoTesta"), "0");
}

// ---- job split -----------------------------------------------------------------------------------

TEST_F(Run, JobSplitOverTheGroupingsJobs)
{
	AfxSetApplicationDate(DataDate(15, 6, 2024));  // a leap year
	auto testa = [](const char* modello, DataDate inizio, DataDate fine) {
		Kvz_TRiclassificazioneTesta t;
		t.f_Esercizio = 2024;
		t.f_ModelloRiclassific = modello;
		t.f_TipoModello = DataEnum(E_KVZ_TIPOMODELLO, 1);
		t.f_DataInizio = inizio;
		t.f_DataFine = fine;
		InsertRow(t);
		Kvz_TRiclassificazioneRaggrupp r;
		r.f_Esercizio = 2024;
		r.f_ModelloRiclassific = modello;
		r.f_CodRaggrupp = "G";
		InsertRow(r);
	};
	testa("J1", DataDate(1, 1, 2024), DataDate(31, 12, 2024));
	testa("J2", DataDate(16, 6, 2024), DataDate(30, 6, 2024));  // half of June
	testa("J3", DataDate(), DataDate());                        // no dates: open at both ends
	testa("J4", DataDate(1, 1, 2023), DataDate(31, 1, 2024));   // January only
	Kvz_CRiclassificPianoBaseDoc* pDoc = Doc();
	pDoc->m_Esercizio = 2024;
	pDoc->m_Mese = 12;
	pDoc->m_SelPerRaggrupp = TRUE;
	pDoc->m_Raggrupp = "G";
	pDoc->InizializzaArrayCommesse();
	ASSERT_EQ(pDoc->GetMapCommesse().GetCount(), 4);
	EXPECT_EQ(pDoc->SommaGiorniCommesse(1).GetValue(), 29 + 29);  // February: J1 and J3
	EXPECT_EQ(pDoc->SommaGiorniCommesse(5).GetValue(), 30 + 15 + 30);
	EXPECT_EQ(pDoc->ContaCommesseAttive(0).GetValue(), 3);
	EXPECT_EQ(pDoc->ContaCommesseAttive(5).GetValue(), 3);

	struct Caso
	{
		WORD tipo;
		const char* modello;
		int mese;
		double valore, atteso;
	};
	const Caso casi[] = {
		{0, "J2", 6, 10.0, 10.0},         // not split
		{1, "J2", 6, 10.0, 3.33},         // over the three jobs of June, whether or not active
		{1, "J2", 6, -0.05, -0.02},       // -0.0166 rounded
		{1, "J1", 2, 0.05, 0.03},         // two jobs in February: half-way away from zero
		{1, "J1", 2, -0.05, -0.03},
		{1, "XX", 6, 10.0, 10.0},         // not a job of the grouping
		{2, "J2", 6, 75.0, 15.0},         // 15 of 75 days
		{2, "J1", 2, 10.0, 5.0},          // 29 of 58 days of a leap February
		{2, "J2", 2, 10.0, 0.0},          // not active in February
		{2, "J3", 6, -0.01, -0.0},        // -0.004 rounds to zero
	};
	for (const Caso& c : casi)
	{
		SCOPED_TRACE(std::string(c.modello) + " " + std::to_string(c.tipo) + " " + std::to_string(c.valore));
		DataMon v(c.valore);
		pDoc->RipartisciSuCommessa(DataEnum(E_KVZ_TIPOCALCOLO, c.tipo), DataStr(c.modello), c.mese, v, 0.0);
		EXPECT_NEAR(v.GetValue(), c.atteso, 1e-9);
	}

	// A month in which no job is active: item 1 unchanged, item 2 to zero.
	m_pConn->ExecuteSQL("DELETE FROM Kvz_RiclassificazioneRaggrupp WHERE ModelloRiclassific <> 'J2'");
	pDoc->SvuotaMapCommesse();
	pDoc->InizializzaArrayCommesse();
	for (auto [tipo, atteso] : {std::pair{1, 10.0}, std::pair{2, 0.0}})
	{
		DataMon v(10.0);
		pDoc->RipartisciSuCommessa(DataEnum(E_KVZ_TIPOCALCOLO, static_cast<WORD>(tipo)), DataStr("J2"), 3, v, 0.0);
		EXPECT_EQ(v.GetValue(), atteso) << tipo;
	}
	// Selecting by code never splits.
	pDoc->m_SelPerRaggrupp = FALSE;
	DataMon v(10.0);
	pDoc->RipartisciSuCommessa(DataEnum(E_KVZ_TIPOCALCOLO, 2), DataStr("J2"), 3, v, 0.0);
	EXPECT_EQ(v.GetValue(), 10.0);
}

TEST_F(Run, AGroupingRunSplitsJobRowsAndScalesParametricRows)
{
	Testa("J1", 1, 1, DataDate(1, 1, kAnno), DataDate(31, 12, kAnno), "0.25");
	Testa("J2", 2, 1, DataDate(1, 1, kAnno), DataDate(31, 12, kAnno));
	RigaDi("J1", "X", 1, "100", [](RigaMod& r) { r.f_TipoCalcolo = DataEnum(E_KVZ_TIPOCALCOLO, 1); });
	RigaDi("J1", "P", 2, "100", [](RigaMod& r) { r.f_TipoCalcolo = DataEnum(E_KVZ_TIPOCALCOLO, 3); });
	RigaDi("J2", "X", 1, "100", [](RigaMod& r) { r.f_TipoCalcolo = DataEnum(E_KVZ_TIPOCALCOLO, 1); });
	RigaDi("J2", "P", 2, "100", [](RigaMod& r) { r.f_TipoCalcolo = DataEnum(E_KVZ_TIPOCALCOLO, 3); });
	Raggruppamento("G", {"J1", "J2"});
	EXPECT_TRUE(Esegui(1, 1, [](FormDriver& f) {
		EXPECT_TRUE(f.Press("RCL_PBASE_SEL_PER_RAGGRUPP"));
		EXPECT_TRUE(f.Type("RCL_PBASE_RAGGRUPP", "G"));
	}));
	EXPECT_EQ(Valore("J1", "X", 1), 50.0);
	EXPECT_EQ(Valore("G", "X", 1), 100.0);
	// The header's parametric formula gives the share; without one the value stays whole.
	EXPECT_EQ(Valore("J1", "P", 1), 25.0);
	EXPECT_EQ(Valore("J2", "P", 1), 100.0);
}

// ---- the form ------------------------------------------------------------------------------------

TEST_F(Run, TheFormFollowsTheChoices)
{
	Testa("MA");
	Testa("MB");
	Raggruppamento("G", {});
	FormDriver& f = Form();
	// A model chosen is copied into the last model, whose description follows.
	ASSERT_TRUE(f.Type("RCL_PBASE_MODELLO", "MA"));
	EXPECT_EQ(f.Text("RCL_PBASE_MODELLO_A"), "MA");
	EXPECT_EQ(f.Text("RCL_PBASE_DESCRI_MODELLO_A"), "Modello MA");
	EXPECT_EQ(f.Text("RCL_PBASE_DESCRI_MODELLO"), "Modello MA");
	ASSERT_TRUE(f.Type("RCL_PBASE_MODELLO_A", "MB"));
	EXPECT_EQ(f.Text("RCL_PBASE_DESCRI_MODELLO_A"), "Modello MB");
	// A model of another year is refused; changing the year empties both models.
	ASSERT_TRUE(f.Type("RCL_PBASE_ESERCIZIO", CString::Formatted("%d", kAnno + 1)));
	EXPECT_EQ(f.Text("RCL_PBASE_MODELLO"), "");
	EXPECT_EQ(f.Text("RCL_PBASE_MODELLO_A"), "");
	EXPECT_EQ(f.Text("RCL_PBASE_DESCRI_MODELLO"), "");
	EXPECT_EQ(f.Text("RCL_PBASE_DESCRI_MODELLO_A"), "");
	EXPECT_FALSE(f.Type("RCL_PBASE_MODELLO", "MA"));
	ASSERT_TRUE(f.Type("RCL_PBASE_ESERCIZIO", CString::Formatted("%d", kAnno)));
	ASSERT_TRUE(f.Type("RCL_PBASE_MODELLO", "MA"));

	// All models: the range is emptied and locked.
	EXPECT_FALSE(f.IsEditable("RCL_PBASE_RAGGRUPP"));
	ASSERT_TRUE(f.Press("RCL_PBASE_TUTTI_MOD"));
	EXPECT_EQ(f.Text("RCL_PBASE_MODELLO"), "");
	EXPECT_FALSE(f.IsEditable("RCL_PBASE_MODELLO"));
	EXPECT_FALSE(f.IsEditable("RCL_PBASE_MODELLO_A"));
	Doc()->DisableControlsForBatch();
	EXPECT_FALSE(f.IsEditable("RCL_PBASE_MODELLO"));

	// By grouping: the all-models flag and the models are cleared and locked, the code opens.
	ASSERT_TRUE(f.Press("RCL_PBASE_SEL_PER_RAGGRUPP"));
	EXPECT_EQ(f.Text("RCL_PBASE_TUTTI_MOD"), "No");
	EXPECT_FALSE(f.IsEditable("RCL_PBASE_TUTTI_MOD"));
	EXPECT_FALSE(f.IsEditable("RCL_PBASE_MODELLO"));
	ASSERT_TRUE(f.Type("RCL_PBASE_RAGGRUPP", "G"));
	EXPECT_EQ(f.Text("RCL_PBASE_DESCRI_RAGGRUPP"), "Gruppo G");
	// And back: the code is emptied and locked, the models stay empty and open.
	ASSERT_TRUE(f.Press("RCL_PBASE_SEL_PER_RAGGRUPP"));
	EXPECT_EQ(f.Text("RCL_PBASE_RAGGRUPP"), "");
	EXPECT_EQ(f.Text("RCL_PBASE_DESCRI_RAGGRUPP"), "");
	EXPECT_FALSE(f.IsEditable("RCL_PBASE_RAGGRUPP"));
	EXPECT_TRUE(f.IsEditable("RCL_PBASE_MODELLO"));
	EXPECT_EQ(f.Text("RCL_PBASE_MODELLO"), "");
	// The older-algorithm switch is never shown.
	EXPECT_FALSE(f.IsVisible("USA_VECCHIO_ALG"));
	EXPECT_TRUE(f.IsVisible("CALCOLA_DRIVERS"));
}

}  // namespace
