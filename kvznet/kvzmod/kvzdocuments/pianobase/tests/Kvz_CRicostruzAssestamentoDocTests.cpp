// The rebuild of a year's base plan driven through its form: the upper levels summed from the
// leaves (with a level missing), the linked balance-sheet accounts fed with running totals, the
// unused cost centres and jobs removed, and what a stop or missing parameters leave.
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCentriCommesseContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TElencoContiSimboloPBase.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TParametri.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CRicostruzAssestamentoDoc.h"
#include "kvznet/kvzmod/kvzdocuments/tests/KvzDocumentsFixture.h"
#include "platform/erp/erpsetup/CompanySetup.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvges/FormDriver.h"
#include "platform/plvoledb/driver/Driver.h"

namespace {
const char* const kPatrimoniali = "Ricostruzione assestamenti per conti patrimoniali collegati";
const char* const kMastri = "Ricostruzione saldi contabili e assestamenti per mastri e mastrini";
const char* const kAnnulla =
	"Annulla dal piano dei conti KVZ i centri e le commesse non utilizzati, non ripartiti e non assestatii";

class RicostruzAssestamento : public KvzDocumentsLibrary
{
protected:
	void SetUp() override
	{
		KvzDocumentsLibrary::SetUp();
		erp::SetupCompanyDatabase(*m_pConn);
		m_DataPrecedente = AfxGetApplicationDate();
		AfxSetApplicationDate(DataDate(15, 6, 2026));
		Parametri(1, 2, 2);
	}
	void TearDown() override
	{
		AfxSetApplicationDate(m_DataPrecedente);
		KvzDocumentsLibrary::TearDown();
	}
	DataDate m_DataPrecedente;

	template <class Rec>
	void Insert(Rec& rec)
	{
		SqlTable t(&rec);
		t.Open(TRUE);
		t.AddNew(FALSE);
		t.Update();
		t.Close();
	}
	void Sql(const std::string& sql) { m_pConn->ExecuteSQL(sql.c_str()); }
	double Numero(const std::string& sql)
	{
		auto st = m_pConn->Db().Prepare(sql);
		if (!st->Step())
			return -1;
		auto v = st->Column(0);
		if (auto p = std::get_if<std::int64_t>(&v))
			return static_cast<double>(*p);
		if (auto p = std::get_if<double>(&v))
			return *p;
		return -1;
	}
	void Parametri(int lenMastro, int seg1, int seg2)
	{
		Sql("DELETE FROM Kvz_Parametri");
		Kvz_TParametri p;
		p.f_IDParam = 1L;
		p.f_LenMastro = lenMastro;
		p.f_NrSegmenti = (seg1 > 0) + (seg2 > 0);
		p.f_LenSeg1 = seg1;
		p.f_LenSeg2 = seg2;
		Insert(p);
	}
	void Conto(const char* codice, WORD tipoConto = 0, const char* collegato = "", BOOL bInversione = FALSE)
	{
		Kvz_TAnagContiKvz c;
		c.f_Esercizio = 2026;
		c.f_ContoKvz = codice;
		c.f_Descrizione = CString("Conto ") + codice;
		c.f_TipoConto = DataEnum(E_TIPOCONTO, tipoConto);
		c.f_ContoCollegato = collegato;
		c.f_InversioneSegno = bInversione;
		Insert(c);
	}
	// A head with twelve months: balance b(m), adjustment a(m).
	void Piano(long id, const char* conto, const char* cdc = "", WORD tipo = 0,
			   std::function<double(int)> saldo = [](int) { return 0.0; },
			   std::function<double(int)> rateo = [](int) { return 0.0; })
	{
		Kvz_TPianoBaseTesta t;
		t.f_IDPianoBase = id;
		t.f_Esercizio = 2026;
		t.f_ContoKvz = conto;
		t.f_CentroCommessa = cdc;
		t.f_TipoCentroComm = DataEnum(E_KVZ_TIPOCENTROCOMM, tipo);
		t.f_TipoBudget = DataEnum(E_KVZ_TIPOBUDGET, 3);
		Insert(t);
		for (int m = 1; m <= 12; ++m)
		{
			Kvz_TPianoBaseRighe r;
			r.f_IDPianoBase = id;
			r.f_Mese = m;
			r.f_Esercizio = 2026;
			r.f_ContoKvz = conto;
			r.f_CentroCommessa = cdc;
			r.f_TipoCentroComm = DataEnum(E_KVZ_TIPOCENTROCOMM, tipo);
			r.f_SaldoContabile = saldo(m);
			r.f_ImportoRateo = rateo(m);
			r.f_TotaleAssestato = saldo(m) + rateo(m);
			r.f_BkpSaldoContabile = -999.0;
			Insert(r);
		}
	}
	void Centro(const char* conto, const char* cdc, WORD tipo, double perc)
	{
		Kvz_TCentriCommesseContiKvz r;
		r.f_Esercizio = 2026;
		r.f_ContoKvz = conto;
		r.f_CentroCommessa = cdc;
		r.f_Tipo = DataEnum(E_KVZ_TIPOCENTROCOMM, tipo);
		r.f_PercRipartizione = perc;
		Insert(r);
	}
	// "balance/adjustment/total" of the twelve months of a head.
	std::string Mesi(long id, const char* colonne = "SaldoContabile, ImportoRateo, TotaleAssestato")
	{
		auto st = m_pConn->Db().Prepare(
			std::string("SELECT group_concat(x, ' ') FROM (SELECT printf('%g/%g/%g', ") + colonne +
			") AS x FROM Kvz_PianoBaseR WHERE IDPianoBase = " + std::to_string(id) + " ORDER BY Mese)");
		return st->Step() && std::holds_alternative<std::string>(st->Column(0)) ? std::get<std::string>(st->Column(0))
																				 : "";
	}
	static std::string Ripeti(const std::string& s, int n = 12)
	{
		std::string r;
		for (int i = 0; i < n; ++i)
			r += (i ? " " : "") + s;
		return r;
	}
	// Runs the rebuild with the steps given (the form's defaults: steps 1 and 2).
	BOOL Esegui(bool bPatrimoniali, bool bMastri, bool bAnnulla, int anno = 2026)
	{
		auto* pDoc = Open<Kvz_CRicostruzAssestamentoDoc>("BDRicostruzAssestamento");
		EXPECT_NE(pDoc, nullptr);
		if (!pDoc)
			return FALSE;
		FormDriver form(pDoc);
		EXPECT_EQ(form.Text("Per l'esercizio:"), "2026");
		for (auto [bPremi, testo] : {std::pair{!bPatrimoniali, kPatrimoniali}, std::pair{!bMastri, kMastri},
									 std::pair{bAnnulla, kAnnulla}})
		{
			if (bPremi)
			{
				EXPECT_TRUE(form.Press(testo)) << testo;
			}
		}
		EXPECT_TRUE(form.Type("Per l'esercizio:", CString::Formatted("%d", anno)));
		const BOOL bOk = form.RunBatch();
		m_Stato = form.Text("Stato elaborazione");
		EXPECT_FALSE(m_pConn->IsInTransaction());
		form.Close();
		return bOk;
	}
	bool Mostrato(const char* testo) const
	{
		for (auto& m : m_Ui.Messages())
			if (m.text.Find(testo) >= 0)
				return true;
		return false;
	}
	CString m_Stato;
};

TEST(RicostruzAssestamentoPadre, TheParentIsTheCodeCutToThePreviousSegment)
{
	Kvz_TParametri p;
	p.f_LenMastro = 2;
	p.f_LenSeg1 = 2;
	p.f_LenSeg2 = 3;
	const struct
	{
		const char* conto;
		const char* padre;
	} casi[] = {{"2001001", "2001"}, {"2001", "20"}, {"20", ""}, {"2", ""}, {"200", ""}, {"200100", "20"},
				{"20010012", "2001"}};
	for (const auto& c : casi)
		EXPECT_EQ(Kvz_CRicostruzAssestamentoDoc::CalcolaContoPadre(DataStr(c.conto), p).GetString(), c.padre)
			<< c.conto;
}

TEST_F(RicostruzAssestamento, UpperLevelsTakeTheLeavesSumsAfterABackup)
{
	for (const char* c : {"1", "101", "10101", "10102"})
		Conto(c);
	Piano(1, "1", "", 0, [](int) { return 77.0; }, [](int) { return 7.0; });
	Piano(2, "101", "", 0, [](int) { return 55.0; });
	Piano(3, "10101", "", 0, [](int m) { return 10.0 * m; }, [](int m) { return m == 3 ? 1.5 : 0.0; });
	Piano(4, "10102", "", 0, [](int) { return 100.0; }, [](int m) { return m == 7 ? -4.0 : 0.0; });
	const long teste = static_cast<long>(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseT"));
	ASSERT_TRUE(Esegui(false, true, false));
	EXPECT_EQ(m_Stato, "Elaborazione terminata.");
	const std::string somme = "110/0/110 120/0/120 130/1.5/131.5 140/0/140 150/0/150 160/0/160 170/-4/166 180/0/180 "
							  "190/0/190 200/0/200 210/0/210 220/0/220";
	EXPECT_EQ(Mesi(2), somme);
	EXPECT_EQ(Mesi(1), somme);
	// The leaves are not written; no head was made.
	EXPECT_EQ(Mesi(4), "100/0/100 100/0/100 100/0/100 100/0/100 100/0/100 100/0/100 100/-4/96 100/0/100 100/0/100 "
					   "100/0/100 100/0/100 100/0/100");
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseT"), teste);
	// Every row's backup holds its values before the run.
	EXPECT_EQ(Mesi(1, "BkpSaldoContabile, BkpImportoRateo, BkpTotaleAssestato"), Ripeti("77/7/84"));
	EXPECT_EQ(Mesi(2, "BkpSaldoContabile, BkpImportoRateo, BkpTotaleAssestato"), Ripeti("55/0/55"));
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseR WHERE BkpSaldoContabile <> SaldoContabile AND IDPianoBase "
					 "IN (3, 4)"),
			  0);
}

TEST_F(RicostruzAssestamento, AMissingLevelIsPassedOverAndTheLeavesReachTheNextOneUp)
{
	for (const char* c : {"1", "10101", "10102", "201"})
		Conto(c);
	Piano(1, "1", "", 0, [](int) { return 77.0; });
	Piano(2, "101", "", 0, [](int) { return 55.0; });  // a plan, but no account of the year
	Piano(3, "10101", "", 0, [](int) { return 1.0; }, [](int) { return 0.5; });
	Piano(4, "10102", "", 0, [](int) { return 2.0; });
	Piano(5, "201", "", 0, [](int) { return 9.0; });  // under "2", which is no account either
	ASSERT_TRUE(Esegui(false, true, false));
	EXPECT_EQ(Mesi(1), Ripeti("3/0.5/3.5"));
	EXPECT_EQ(Mesi(2), Ripeti("55/0/55"));
	EXPECT_EQ(Mesi(5), Ripeti("9/0/9"));
	EXPECT_TRUE(Mostrato("Il conto 101 non è tra i conti raggruppati dell'esercizio 2026"));
	EXPECT_EQ(AfxGetApplicationContext()->GetAssertionReports().size(), 0u);
}

TEST_F(RicostruzAssestamento, LinkedBalanceSheetAccountsGetTheRunningAdjustments)
{
	// Two economic accounts into P1; a pattern feeding every P2 account, with the sign inverted.
	Conto("E1", 0, "P1");
	Conto("E2", 0, "P1");
	Conto("E3", 0, "P2", TRUE);
	Conto("E4");  // no link
	for (const char* p : {"P1", "P2", "P2A", "P9"})
		Conto(p, 1);
	Piano(1, "E1", "", 0, [](int) { return 0.0; }, [](int m) { return m == 3 ? 10.0 : m == 7 ? 5.0 : 0.0; });
	Piano(2, "E2", "", 0, [](int) { return 0.0; }, [](int m) { return m == 1 ? 1.0 : 0.0; });
	Piano(3, "E3", "", 0, [](int) { return 0.0; }, [](int m) { return m == 12 ? 2.0 : 0.0; });
	Piano(4, "E4", "", 0, [](int) { return 0.0; }, [](int) { return 99.0; });
	Piano(11, "P1", "", 0, [](int) { return 1000.0; }, [](int) { return 3.0; });
	Piano(12, "P2", "", 0, [](int) { return 0.0; });
	Piano(13, "P2A", "", 0, [](int) { return 0.0; });
	Piano(19, "P9", "", 0, [](int) { return 50.0; }, [](int) { return 8.0; });
	Piano(20, "P9", "CC1", 0, [](int) { return 5.0; }, [](int) { return 6.0; });
	Sql("UPDATE Kvz_PianoBaseR SET RateoDaPrevisionale = 1 WHERE IDPianoBase = 20");
	ASSERT_TRUE(Esegui(true, false, false));
	EXPECT_EQ(m_Stato, "Elaborazione terminata.");
	EXPECT_EQ(Mesi(11), "1000/1/1001 1000/1/1001 1000/11/1011 1000/11/1011 1000/11/1011 1000/11/1011 1000/16/1016 "
						"1000/16/1016 1000/16/1016 1000/16/1016 1000/16/1016 1000/16/1016");
	EXPECT_EQ(Mesi(12), Ripeti("0/0/0", 11) + " 0/-2/-2");
	EXPECT_EQ(Mesi(13), Mesi(12));
	// No link names P9: zero adjustments on every head of it.
	EXPECT_EQ(Mesi(19), Ripeti("50/0/50"));
	EXPECT_EQ(Mesi(20), Ripeti("5/0/5"));
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseR WHERE RateoDaPrevisionale <> 0"), 0);
	// The economic accounts stay as they were.
	EXPECT_EQ(Mesi(4), Ripeti("0/99/99"));
}

TEST_F(RicostruzAssestamento, UnusedSplitsLoseTheirRowAndAZeroPlan)
{
	Conto("C1");
	Centro("C1", "SIMB", 0, 0);  // named by a symbol: stays
	Piano(1, "C1", "SIMB", 0);
	Centro("C1", "ZERO", 0, 0);  // 0 %, all zero: row and plan go
	Piano(2, "C1", "ZERO", 0);
	Centro("C1", "PERC", 1, 30);  // a share: the row stays, its zero plan goes
	Piano(3, "C1", "PERC", 1);
	Centro("C1", "ASS", 1, 0);  // an adjusted total: in use, row and plan stay
	Piano(4, "C1", "ASS", 1, [](int) { return 0.0; }, [](int m) { return m == 5 ? 1.0 : 0.0; });
	Centro("C1", "NOPB", 0, 0);  // no plan at all
	Kvz_TElencoContiSimboloPBase s;
	s.f_Esercizio = 2026;
	s.f_ModelloRiclassific = "CE";
	s.f_NomeSimbolo = "X";
	s.f_ContoSelez = "C1";
	s.f_TipoCentroComm = DataEnum(E_KVZ_TIPOCENTROCOMM, 0);
	s.f_CentroCommessa = "SIMB";
	Insert(s);
	ASSERT_TRUE(Esegui(false, false, true));
	EXPECT_EQ(m_Stato, "Elaborazione terminata.");
	auto righe = [&](const char* cdc) {
		return Numero(std::string("SELECT COUNT(*) FROM Kvz_CentriCommPianoConti WHERE CentroCommessa = '") + cdc + "'");
	};
	EXPECT_EQ(righe("SIMB"), 1);
	EXPECT_EQ(righe("ZERO"), 0);
	EXPECT_EQ(righe("PERC"), 1);
	EXPECT_EQ(righe("ASS"), 1);
	EXPECT_EQ(righe("NOPB"), 0);
	auto st = m_pConn->Db().Prepare("SELECT group_concat(IDPianoBase, ',') FROM (SELECT IDPianoBase FROM Kvz_PianoBaseT "
									"ORDER BY 1)");
	ASSERT_TRUE(st->Step());
	EXPECT_EQ(std::get<std::string>(st->Column(0)), "1,4");
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseR WHERE IDPianoBase IN (2, 3)"), 0);
	EXPECT_EQ(Numero("SELECT COUNT(*) FROM Kvz_PianoBaseR WHERE IDPianoBase IN (1, 4)"), 24);
}

TEST_F(RicostruzAssestamento, WithoutTheCodesStructureNothingRuns)
{
	Conto("1");
	Conto("101");
	Piano(1, "1", "", 0, [](int) { return 5.0; });
	Sql("UPDATE Kvz_Parametri SET LenSeg1 = 0");
	EXPECT_FALSE(Esegui(true, true, true));
	EXPECT_TRUE(Mostrato("Verificare i parametri dell'applicazione: non ho sufficienti informazioni sulla "
						 "composizione del codice conto."));
	EXPECT_EQ(Mesi(1), Ripeti("5/0/5"));
	// A year without accounts runs through and writes nothing.
	Parametri(1, 2, 2);
	m_Ui.Clear();
	EXPECT_TRUE(Esegui(true, true, true, 2030));
	EXPECT_EQ(m_Stato, "Elaborazione terminata.");
	EXPECT_EQ(Mesi(1), Ripeti("5/0/5"));
}

TEST_F(RicostruzAssestamento, ADatabaseErrorIsSaidWhatWasWrittenIsKeptAndTheRunIsNoSuccess)
{
	for (const char* c : {"1", "101", "10101", "10102", "2", "201"})
		Conto(c);
	Piano(1, "1", "", 0, [](int) { return 77.0; });
	Piano(2, "101", "", 0, [](int) { return 55.0; });
	Piano(3, "10101", "", 0, [](int) { return 1.0; });
	Piano(4, "10102", "", 0, [](int) { return 2.0; });
	Piano(5, "2", "", 0, [](int) { return 6.0; });
	Piano(6, "201", "", 0, [](int) { return 9.0; });
	// The upper level "101" cannot be written.
	Sql("CREATE TRIGGER KvzTestRifiuta BEFORE UPDATE OF SaldoContabile ON Kvz_PianoBaseR WHEN NEW.IDPianoBase = 2 "
		"BEGIN SELECT RAISE(ABORT, 'riga bloccata'); END");
	EXPECT_FALSE(Esegui(false, true, false));
	EXPECT_TRUE(Mostrato("riga bloccata"));
	EXPECT_EQ(m_Stato, "Elaborazione terminata con 1 errori: quanto scritto e' stato salvato, vedere i messaggi.");
	EXPECT_EQ(Mesi(2), Ripeti("55/0/55"));
	EXPECT_EQ(Mesi(3), Ripeti("1/0/1"));
	// The backup before the error was committed.
	EXPECT_EQ(Mesi(2, "BkpSaldoContabile, 0, 0"), Ripeti("55/0/0"));
}

// A link to a leaf feeds that leaf; a link to an upper level feeds its first leaf: either way
// every level above gets the adjustment once, as the adjustments document gives it when it
// saves, whether the ledgers' step runs or not. The backup is taken before anything is written.
TEST_F(RicostruzAssestamento, ALinkReachesEveryLevelAboveItOnceAndTheBackupPrecedesEveryWrite)
{
	Conto("E1", 0, "401");    // an upper level
	Conto("E2", 0, "40102");  // a leaf
	for (const char* p : {"4", "401", "40101", "40102"})
		Conto(p, 1);
	Piano(1, "E1", "", 0, [](int) { return 0.0; }, [](int m) { return m == 3 ? 160.0 : 0.0; });
	Piano(2, "E2", "", 0, [](int) { return 0.0; }, [](int m) { return m == 1 ? 10.0 : 0.0; });
	Piano(11, "4", "", 0, [](int) { return 30.0; }, [](int) { return 5.0; });
	Piano(12, "401", "", 0, [](int) { return 30.0; }, [](int) { return 5.0; });
	Piano(13, "40101", "", 0, [](int) { return 10.0; });
	Piano(14, "40102", "", 0, [](int) { return 20.0; });
	const std::string primaFoglia = Ripeti("10/0/10", 2) + " " + Ripeti("10/160/170", 10);
	const std::string foglia = Ripeti("20/10/30");
	const std::string sopra = Ripeti("30/10/40", 2) + " " + Ripeti("30/170/200", 10);
	for (bool bMastri : {true, false})
	{
		SCOPED_TRACE(bMastri);
		m_Ui.Clear();
		ASSERT_TRUE(Esegui(true, bMastri, false));
		EXPECT_EQ(Mesi(13), primaFoglia);
		EXPECT_EQ(Mesi(14), foglia);
		EXPECT_EQ(Mesi(12), sopra);
		EXPECT_EQ(Mesi(11), sopra);
		EXPECT_TRUE(Mostrato("Il conto 401 collegato al conto economico E1 non è di ultimo livello: il suo "
							 "assestamento è riportato nel conto 40101"));
		if (bMastri)
		{
			// Every row as it was before the run, the balance-sheet parents' adjustments included.
			EXPECT_EQ(Mesi(11, "BkpSaldoContabile, BkpImportoRateo, BkpTotaleAssestato"), Ripeti("30/5/35"));
			EXPECT_EQ(Mesi(14, "BkpSaldoContabile, BkpImportoRateo, BkpTotaleAssestato"), Ripeti("20/0/20"));
		}
	}
}

TEST_F(RicostruzAssestamento, AStopInStepOneSkipsTheRestAndCommitsWhatWasWritten)
{
	Conto("E1", 0, "P1");
	for (const char* p : {"P1", "P2", "P3"})
		Conto(p, 1);
	Conto("1");
	Conto("101");
	Piano(1, "E1", "", 0, [](int) { return 0.0; }, [](int) { return 1.0; });
	Piano(11, "P1", "", 0, [](int) { return 10.0; }, [](int) { return 4.0; });
	Piano(12, "P2", "", 0, [](int) { return 10.0; }, [](int) { return 4.0; });
	Piano(13, "P3", "", 0, [](int) { return 10.0; }, [](int) { return 4.0; });
	Piano(21, "1", "", 0, [](int) { return 3.0; });
	Piano(22, "101", "", 0, [](int) { return 8.0; });
	// The poll falls among the balance-sheet accounts being cleared, after the backup (six
	// accounts), the check before step 1, the accounts' tree (six) and the checks before clearing.
	m_Ui.AbortAfterPolls(17);
	EXPECT_TRUE(Esegui(true, true, false));
	const char* const kDetto = "Elaborazione interrotta su richiesta utente durante la ricostruzione dei conti "
							   "patrimoniali collegati: quanto scritto fino all'interruzione è stato salvato.";
	EXPECT_EQ(m_Stato, kDetto);
	EXPECT_EQ(m_Ui.StoppedTexts(), std::vector<CString>{kDetto});
	// Cleared before the stop, and kept: P1's adjustments are not rebuilt.
	EXPECT_EQ(Mesi(11), Ripeti("10/0/10"));
	EXPECT_EQ(Mesi(13), Ripeti("10/4/14"));
	// Step 2 did not run; its backup, taken first, did.
	EXPECT_EQ(Mesi(21), Ripeti("3/0/3"));
	EXPECT_EQ(Mesi(22, "BkpSaldoContabile, 0, 0"), Ripeti("8/0/0"));
}

}  // namespace
