// Monthly balances typed through their form: what the grids show from the base plan, the
// spread over centres and jobs, the question before the period changes, and what a save writes
// (heads, the month, the other months with their accruals).
#include <functional>

#include "kvznet/kvzmod/kvzbatch/InsSaldiMensili.h"
#include "kvznet/kvzmod/kvzbatch/tests/BatchFixture.h"

namespace {
const char* const kConti = "Conti";
const char* const kCentri = "Commesse/Centri";

class InsSaldiMensili : public BatchTest
{
protected:
	void SetUp() override
	{
		BatchTest::SetUp();
		// Economic: a cost and a revenue; balance sheet: an asset.
		Conto(2026, "C1", 0, 3, "Acquisti");
		Conto(2026, "R1", 0, 4, "Vendite");
		Conto(2026, "P1", 1, 0, "Banca");
		Centro(2026, "C1", "CC1", 0, 50);
		Centro(2026, "C1", "CC2", 0, 50);
		Centro(2026, "C1", "J1", 1, 0);
		// R1 and C1/CC2 have a base plan with April.
		Testa(901, 2026, "R1", "", 0);
		Riga(901, 4, "R1", "", 0, 4, 1000);
		Testa(902, 2026, "C1", "CC2", 0);
		Riga(902, 4, "C1", "CC2", 0, 3, 70);
	}

	void Conto(int anno, const char* codice, WORD tipoConto, WORD natura, const char* descr, const char* padre = "")
	{
		Kvz_TAnagContiKvz c;
		c.f_Esercizio = anno;
		c.f_ContoKvz = codice;
		c.f_ContoKvzPadre = padre;
		c.f_Descrizione = descr;
		c.f_TipoConto = DataEnum(E_TIPOCONTO, tipoConto);
		c.f_TipoMastro = DataEnum(E_TIPOMASTRO, natura);
		Insert(c);
	}
	void Centro(int anno, const char* conto, const char* centro, WORD tipo, double perc)
	{
		Kvz_TCentriCommesseContiKvz r;
		r.f_Esercizio = anno;
		r.f_ContoKvz = conto;
		r.f_CentroCommessa = centro;
		r.f_Descrizione = CString("Descr ") + centro;
		r.f_Tipo = DataEnum(E_KVZ_TIPOCENTROCOMM, tipo);
		r.f_PercRipartizione = perc;
		Insert(r);
	}
	// A head of the ledger's kind; spread 0 over the year, 1 by quarter.
	void Testa(long id, int anno, const char* conto, const char* centro, WORD tipo, WORD ripartiz = 0,
			   double totRatei = 0, BOOL bPerTotale = FALSE, double trimestre2 = 0)
	{
		Kvz_TPianoBaseTesta t;
		t.f_IDPianoBase = id;
		t.f_CodPianoBase = CString::Formatted("M%ld", id);
		t.f_Esercizio = anno;
		t.f_ContoKvz = conto;
		t.f_CentroCommessa = centro;
		t.f_TipoCentroComm = DataEnum(E_KVZ_TIPOCENTROCOMM, tipo);
		t.f_TipoBudget = DataEnum(E_KVZ_TIPOBUDGET, 3);
		t.f_TipoRipartizAssestamenti = DataEnum(E_KVZ_TIPORIPARTIZASSEST, ripartiz);
		t.f_AssestPerTotale = bPerTotale;
		t.f_TotGeneraleRatei = totRatei;
		t.f_TotGeneraleAssestati = totRatei;
		t.f_TotRateiTrimestre2 = trimestre2;
		t.f_TotAssestatiTrimestre2 = trimestre2;
		Insert(t);
	}
	void Riga(long id, int mese, const char* conto, const char* centro, WORD tipo, WORD natura, double saldo,
			  double rateo = 0)
	{
		Kvz_TPianoBaseRighe r;
		r.f_IDPianoBase = id;
		r.f_Mese = mese;
		r.f_Esercizio = 2026;
		r.f_ContoKvz = conto;
		r.f_CentroCommessa = centro;
		r.f_TipoCentroComm = DataEnum(E_KVZ_TIPOCENTROCOMM, tipo);
		r.f_TipoMastro = DataEnum(E_TIPOMASTRO, natura);
		r.f_SaldoContabile = saldo;
		r.f_ImportoRateo = rateo;
		r.f_TotaleAssestato = saldo + rateo;
		Insert(r);
	}

	FormDriver Apri()
	{
		FormDriver form = Apri(RUNTIME_CLASS(Kvz_CInsSaldiMensiliDoc), RUNTIME_CLASS(Kvz_CInsSaldiMensiliView));
		EXPECT_TRUE(form.IsOpen());
		return form;
	}
	using BatchTest::Apri;
	static Kvz_CInsSaldiMensiliDoc* Doc(const FormDriver& form)
	{
		return static_cast<Kvz_CInsSaldiMensiliDoc*>(form.GetDocument());
	}
	static std::string Importo(double d) { return CString::Formatted("%.2f", d).str(); }
	// "code=balance" of each row of a grid, by the document's own values.
	static std::vector<std::string> Conti(const FormDriver& form)
	{
		std::vector<std::string> righe;
		auto* pDBT = Doc(form)->GetDBTConti();
		for (int i = 0; i < pDBT->GetSize(); ++i)
			righe.push_back(pDBT->GetConto(i)->f_ContoKvz.GetString().str() + "=" +
							Importo(pDBT->GetConto(i)->l_SaldoDelMese));
		return righe;
	}
	static std::vector<std::string> Centri(const FormDriver& form)
	{
		std::vector<std::string> righe;
		auto* pDBT = Doc(form)->GetDBTCentri();
		for (int i = 0; i < pDBT->GetSize(); ++i)
			righe.push_back(pDBT->GetCdcComm(i)->f_CentroCommessa.GetString().str() + "=" +
							Importo(pDBT->GetCdcComm(i)->l_SaldoDelMese));
		return righe;
	}
	// The rows of a head as "month:balance/accrual/total", by month.
	std::string Mesi(const char* conto, const char* centro = "", int anno = 2026)
	{
		auto st = m_pConn->Db().Prepare(
			"SELECT r.Mese, r.SaldoContabile, r.ImportoRateo, r.TotaleAssestato FROM Kvz_PianoBaseR r JOIN "
			"Kvz_PianoBaseT t ON t.IDPianoBase = r.IDPianoBase WHERE t.ContoKvz = '" +
			std::string(conto) + "' AND t.CentroCommessa = '" + centro + "' AND t.Esercizio = " + std::to_string(anno) +
			" ORDER BY r.Mese");
		std::string mesi;
		while (st->Step())
		{
			if (!mesi.empty())
				mesi += ' ';
			mesi += Text(st->Column(0));
			for (int i = 1; i < 4; ++i)
				mesi.append(i == 1 ? ":" : "/").append(Amount(st->Column(i)));
		}
		return mesi;
	}
	long Teste(const char* conto, const char* centro = "", int anno = 2026)
	{
		return Count("SELECT COUNT(*) FROM Kvz_PianoBaseT WHERE ContoKvz = '" + std::string(conto) +
					 "' AND CentroCommessa = '" + centro + "' AND Esercizio = " + std::to_string(anno));
	}
};

TEST(InsSaldiMensiliQuota, PercentagesRoundToTheCentHalfAwayFromZero)
{
	const struct
	{
		double importo, perc, atteso;
	} casi[] = {
		{100.0, 50.0, 50.0},    {100.01, 50.0, 50.01},	// 50.005: half-way goes up
		{-100.01, 50.0, -50.01},  // and down for a negative balance
		{1.0, 33.33, 0.33},     {-1.0, 33.33, -0.33},  {0.1, 25.0, 0.03},  // 0.025
		{-0.1, 25.0, -0.03},    {1234.57, 12.5, 154.32},  // 154.32125
		{10.0, 0.0, 0.0},
	};
	for (const auto& c : casi)
	{
		SCOPED_TRACE(testing::Message() << c.importo << " x " << c.perc);
		EXPECT_DOUBLE_EQ(Kvz_CInsSaldiMensiliDoc::QuotaPercentuale(c.importo, c.perc), c.atteso);
	}
}

TEST(InsSaldiMensiliRateo, TheHeadsAccrualsSpreadOverTheMonthOrTheQuarter)
{
	const struct
	{
		WORD ripartiz;
		BOOL bPerTotale;
		double totale, trimestre2;
		int mese;
		double saldo;
		double rateo, assestato;  // expected
	} casi[] = {
		{0, FALSE, 1200, 0, 4, 10, 100, 110},     // a twelfth of the year's accruals
		{0, FALSE, 100, 0, 4, 0, 8.33, 8.33},     // rounded to the cent
		{0, TRUE, 1200, 0, 4, 30, 70, 100},       // the adjusted total is the twelfth
		{1, FALSE, 0, 300, 5, 10, 100, 110},      // a third of the quarter's
		{1, FALSE, 0, 300, 7, 10, 0, 0},          // another quarter: nothing changed
		{1, TRUE, 0, -100, 6, 0, -33.33, -33.33}, // negative, by total
		{0, FALSE, 0, 0, 4, 10, 0, 0},            // no accruals: nothing changed
	};
	for (const auto& c : casi)
	{
		SCOPED_TRACE(testing::Message() << c.ripartiz << " " << c.bPerTotale << " " << c.mese);
		Kvz_TPianoBaseTesta t;
		t.f_TipoRipartizAssestamenti = DataEnum(E_KVZ_TIPORIPARTIZASSEST, c.ripartiz);
		t.f_AssestPerTotale = c.bPerTotale;
		t.f_TotGeneraleRatei = c.totale;
		t.f_TotGeneraleAssestati = c.totale;
		t.f_TotRateiTrimestre2 = c.trimestre2;
		t.f_TotAssestatiTrimestre2 = c.trimestre2;
		Kvz_TPianoBaseRighe r;
		r.f_Mese = c.mese;
		r.f_SaldoContabile = c.saldo;
		Kvz_CInsSaldiMensiliDoc::CalcolaRateoMese(t, r);
		EXPECT_NEAR(r.f_ImportoRateo, c.rateo, 0.001);
		EXPECT_NEAR(r.f_TotaleAssestato, c.assestato, 0.001);
	}
}

TEST_F(InsSaldiMensili, ShowsTheMonthsBalancesAndTheSplitsShares)
{
	FormDriver form = Apri();
	EXPECT_EQ(form.GetDocument()->GetFormTitle(), "Inserimento saldi mensili");
	EXPECT_EQ(form.Text("INS_SAL_ANNO"), "2026");
	EXPECT_EQ(form.Text("INS_SAL_MESE"), "4");
	// Economic accounts by default, in code order.
	EXPECT_EQ(Conti(form), (std::vector<std::string>{"C1=0.00", "R1=1000.00"}));
	EXPECT_EQ(Doc(form)->GetDBTConti()->GetConto(0)->l_IDPianoBase, -1);
	// CC2 has its own plan; CC1 none and a percentage: its share of the account (0 here).
	EXPECT_EQ(Centri(form), (std::vector<std::string>{"CC1=0.00", "CC2=70.00", "J1=0.00"}));
	EXPECT_EQ(Doc(form)->m_TotRicavi, 1000.0);
	EXPECT_EQ(Doc(form)->m_DeltaCostiRicavi, 1000.0);
	EXPECT_EQ(Doc(form)->m_TotCentri, 70.0);
	EXPECT_EQ(Doc(form)->m_DeltaCentri, -70.0);

	// Typing the account's balance spreads it over the splits with a percentage.
	ASSERT_TRUE(form.TypeCell(kConti, 0, "SaldoContabile", "100,01")) << form.GetLastError();
	EXPECT_EQ(Centri(form), (std::vector<std::string>{"CC1=50.01", "CC2=50.01", "J1=0.00"}));
	for (const auto& pCdc : Doc(form)->GetCache(0))
		EXPECT_TRUE(pCdc->l_Modified) << pCdc->f_CentroCommessa.GetString().str();
	EXPECT_EQ(Doc(form)->m_TotCosti, 100.01);
	EXPECT_NEAR(Doc(form)->m_DeltaCentri, -0.01, 1e-9);
	EXPECT_NEAR(Doc(form)->m_DeltaCommesse, 100.01, 1e-9);
	ASSERT_TRUE(form.TypeCell(kCentri, 2, "SaldoContabile", "-12,5"));
	EXPECT_NEAR(Doc(form)->m_TotCommesse, -12.5, 1e-9);

	// The other kinds at the next query; the month row of another account is read again.
	ASSERT_TRUE(form.Press("INS_SAL_TIPO_CONTO_TUTTI"));
	m_Ui.PushAnswer(IDNO);
	ASSERT_TRUE(form.Press("&Interroga"));
	EXPECT_EQ(Conti(form), (std::vector<std::string>{"C1=0.00", "P1=0.00", "R1=1000.00"}));
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_PianoBaseT"), 2);  // No: nothing written
}

TEST_F(InsSaldiMensili, ASaveWritesNewHeadsWithTwelveMonthsAndKeepsTheOthers)
{
	FormDriver form = Apri();
	ASSERT_TRUE(form.Press("Anche conti non modificati"));  // only what was changed
	ASSERT_TRUE(form.TypeCell(kConti, 0, "SaldoContabile", "200"));
	ASSERT_TRUE(form.TypeCell(kCentri, 1, "SaldoContabile", "90"));
	ASSERT_TRUE(form.Press("&Salva"));
	EXPECT_FALSE(Doc(form)->m_Modificato);
	// C1 and its splits: a head each, budget type 3, numbered; twelve months, April's balance.
	EXPECT_EQ(Teste("C1"), 1);
	EXPECT_EQ(Mesi("C1"), "1:0.00/0.00/0.00 2:0.00/0.00/0.00 3:0.00/0.00/0.00 4:200.00/0.00/200.00 "
						  "5:0.00/0.00/0.00 6:0.00/0.00/0.00 7:0.00/0.00/0.00 8:0.00/0.00/0.00 9:0.00/0.00/0.00 "
						  "10:0.00/0.00/0.00 11:0.00/0.00/0.00 12:0.00/0.00/0.00");
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_PianoBaseT WHERE ContoKvz = 'C1' AND CentroCommessa = '' AND "
					"TipoBudget = 15004 * 65536 + 3 AND CodPianoBase <> '' AND DataCreazione IS NOT NULL"),
			  1);
	EXPECT_EQ(Piano("SaldoContabile", "C1", 4, "CC1"), 100.0);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_PianoBaseR r JOIN Kvz_PianoBaseT t ON t.IDPianoBase = r.IDPianoBase "
					"WHERE t.ContoKvz = 'C1' AND t.CentroCommessa = 'J1' AND t.TipoCentroComm = 15009 * 65536 + 1"),
			  12);
	// CC2 kept its head, got its months; R1 was not changed and is not written.
	EXPECT_EQ(Teste("C1", "CC2"), 1);
	EXPECT_EQ(Piano("SaldoContabile", "C1", 4, "CC2"), 90.0);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_PianoBaseR WHERE IDPianoBase = 902"), 12);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_PianoBaseR WHERE IDPianoBase = 901"), 1);
	// The grid knows its heads now: a second save writes no new ones.
	EXPECT_GT(Doc(form)->GetDBTConti()->GetConto(0)->l_IDPianoBase, 0);
	const long teste = Count("SELECT COUNT(*) FROM Kvz_PianoBaseT");
	ASSERT_TRUE(form.TypeCell(kConti, 0, "SaldoContabile", "300"));
	ASSERT_TRUE(form.Press("&Salva"));
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_PianoBaseT"), teste);
	EXPECT_EQ(Piano("SaldoContabile", "C1", 4), 300.0);
	EXPECT_EQ(Piano("SaldoContabile", "C1", 4, "CC1"), 150.0);

	// Nothing changed and the box cleared: nothing written. With the box, every row shown.
	ASSERT_TRUE(form.Press("&Salva"));
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_PianoBaseT"), teste);
	ASSERT_TRUE(form.Press("Anche conti non modificati"));
	ASSERT_TRUE(form.Press("&Salva"));
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_PianoBaseR WHERE IDPianoBase = 901"), 12);
	EXPECT_EQ(Piano("SaldoContabile", "R1", 4), 1000.0);
	EXPECT_TRUE(form.Close());
}

TEST_F(InsSaldiMensili, AHeadFoundAfterTheQueryIsTakenAndFilledWithItsAccruals)
{
	FormDriver form = Apri();
	ASSERT_EQ(Doc(form)->GetDBTConti()->GetConto(0)->l_IDPianoBase, -1);
	// Meanwhile someone enters C1's plan: 1200 of accruals over the year, March only.
	Testa(950, 2026, "C1", "", 0, 0, 1200);
	Riga(950, 3, "C1", "", 0, 3, 5, 100);
	ASSERT_TRUE(form.Press("Anche conti non modificati"));
	ASSERT_TRUE(form.TypeCell(kConti, 0, "SaldoContabile", "40"));
	ASSERT_TRUE(form.Press("&Salva"));
	EXPECT_EQ(Teste("C1"), 1);
	EXPECT_EQ(Doc(form)->GetDBTConti()->GetConto(0)->l_IDPianoBase, 950);
	// April takes its twelfth; every missing month too; March is left as it was.
	EXPECT_EQ(Mesi("C1"), "1:0.00/100.00/100.00 2:0.00/100.00/100.00 3:5.00/100.00/105.00 4:40.00/100.00/140.00 "
						  "5:0.00/100.00/100.00 6:0.00/100.00/100.00 7:0.00/100.00/100.00 8:0.00/100.00/100.00 "
						  "9:0.00/100.00/100.00 10:0.00/100.00/100.00 11:0.00/100.00/100.00 12:0.00/100.00/100.00");
}

TEST_F(InsSaldiMensili, AYearChangeAsksAndYesWritesIntoTheYearTyped)
{
	Conto(2027, "C1", 0, 3, "Acquisti");
	FormDriver form = Apri();
	ASSERT_TRUE(form.Press("Anche conti non modificati"));
	ASSERT_TRUE(form.TypeCell(kConti, 1, "SaldoContabile", "1500"));

	// Cancel: the year goes back, the grids and the typed balance stay.
	m_Ui.PushAnswer(IDCANCEL);
	ASSERT_TRUE(form.Type("INS_SAL_ANNO", "2027"));
	EXPECT_TRUE(WasShown("Modifiche non ancora salvate. Le salvo?"));
	EXPECT_EQ(form.Text("INS_SAL_ANNO"), "2026");
	EXPECT_EQ(Conti(form), (std::vector<std::string>{"C1=0.00", "R1=1500.00"}));
	EXPECT_TRUE(Doc(form)->m_Modificato);

	// Yes: written into 2026 and April, then the grid shows 2027.
	m_Ui.PushAnswer(IDYES);
	ASSERT_TRUE(form.Type("INS_SAL_ANNO", "2027"));
	EXPECT_EQ(Piano("SaldoContabile", "R1", 4), 1500.0);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_PianoBaseT WHERE Esercizio = 2027"), 0);
	EXPECT_EQ(Conti(form), (std::vector<std::string>{"C1=0.00"}));
	EXPECT_EQ(Doc(form)->m_AnnoSalvato, 2027);

	// A month change with Yes writes into the month typed, then shows the new one.
	ASSERT_TRUE(form.TypeCell(kConti, 0, "SaldoContabile", "7"));
	m_Ui.PushAnswer(IDYES);
	ASSERT_TRUE(form.Type("INS_SAL_MESE", "5"));
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_PianoBaseR WHERE Esercizio = 2027 AND ContoKvz = 'C1' AND "
					"CentroCommessa = ''"),
			  12);
	EXPECT_NE(Mesi("C1", "", 2027).find("4:7.00/0.00/7.00 5:0.00/0.00/0.00"), std::string::npos);
	EXPECT_EQ(Conti(form), (std::vector<std::string>{"C1=0.00"}));

	// "<-" with nothing pending asks nothing.
	m_Ui.Clear();
	ASSERT_TRUE(form.Press("<-"));
	EXPECT_EQ(form.Text("INS_SAL_ANNO"), "2026");
	EXPECT_TRUE(m_Ui.Messages().empty());
}

TEST_F(InsSaldiMensili, AWrongMonthIsRefusedAndTheGridsStay)
{
	FormDriver form = Apri();
	ASSERT_TRUE(form.TypeCell(kConti, 0, "SaldoContabile", "10"));
	for (const char* mese : {"0", "13"})
	{
		m_Ui.Clear();
		form.Type("INS_SAL_MESE", mese);
		EXPECT_EQ(m_Ui.LastMessage(), "Il mese indicato non e' valido.");
		EXPECT_EQ(Conti(form), (std::vector<std::string>{"C1=10.00", "R1=1000.00"}));
	}
	// With month 13 still in the control, a year change is refused the same way: nothing is asked
	// or refilled, and the year stays the one the grid shows.
	Conto(2027, "C1", 0, 3, "Acquisti");
	const std::function<BOOL()> cambi[] = {
		[&] { return form.Press("<-"); },
		[&] { return form.Press("->"); },
		[&] { return form.Type("INS_SAL_ANNO", "2027"); },
	};
	for (const auto& cambia : cambi)
	{
		m_Ui.Clear();
		cambia();
		EXPECT_EQ(m_Ui.LastMessage(), "Il mese indicato non e' valido.");
		EXPECT_FALSE(WasShown("Modifiche non ancora salvate. Le salvo?"));
		EXPECT_EQ(form.Text("INS_SAL_ANNO"), "2026");
		EXPECT_EQ(form.Text("INS_SAL_MESE"), "13");
		EXPECT_EQ(Conti(form), (std::vector<std::string>{"C1=10.00", "R1=1000.00"}));
		EXPECT_TRUE(Doc(form)->m_Modificato);
	}
	// Saving is refused while the month is: neither the month shown nor the one typed is written,
	// and a yes to the closing question keeps the document open.
	const long long righe = Count("SELECT COUNT(*) FROM Kvz_PianoBaseR");
	m_Ui.Clear();
	form.Press("&Salva");
	EXPECT_EQ(m_Ui.LastMessage(), "Il mese indicato non e' valido.");
	m_Ui.PushAnswer(IDYES);
	EXPECT_FALSE(form.Close());
	EXPECT_TRUE(form.IsOpen());
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_PianoBaseT"), 2);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_PianoBaseR"), righe);
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_PianoBaseR WHERE SaldoContabile = 10"), 0);
	// Closing asks; Cancel keeps the document open, No closes without writing.
	m_Ui.PushAnswer(IDCANCEL);
	EXPECT_FALSE(form.Close());
	EXPECT_TRUE(form.IsOpen());
	m_Ui.PushAnswer(IDNO);
	EXPECT_TRUE(form.Close());
	EXPECT_EQ(Count("SELECT COUNT(*) FROM Kvz_PianoBaseT"), 2);
}

TEST_F(InsSaldiMensili, APercentageOrNoteIsWrittenAtOnce)
{
	FormDriver form = Apri();
	ASSERT_TRUE(form.TypeCell(kCentri, 0, "Ripartizione", "40")) << form.GetLastError();
	ASSERT_TRUE(form.TypeCell(kCentri, 0, "Nota", "rivista"));
	EXPECT_EQ(Number("SELECT PercRipartizione FROM Kvz_CentriCommPianoConti WHERE CentroCommessa = 'CC1'"), 40.0);
	EXPECT_EQ(Scalar("SELECT Nota FROM Kvz_CentriCommPianoConti WHERE CentroCommessa = 'CC1'"),
			  std::optional<plv::db::Value>(std::string("rivista")));
	EXPECT_FALSE(Doc(form)->m_Modificato);
	// The next balance of the account uses it.
	ASSERT_TRUE(form.TypeCell(kConti, 0, "SaldoContabile", "10"));
	EXPECT_EQ(Centri(form), (std::vector<std::string>{"CC1=4.00", "CC2=5.00", "J1=0.00"}));
}

TEST_F(InsSaldiMensili, AHeadWithoutAnIdIsSkippedSaidAndStaysToBeSaved)
{
	FormDriver form = Apri();
	m_pConn->ExecuteSQL("DROP TABLE Kvz_IDDocumenti");  // no identifier can be taken
	ASSERT_TRUE(form.Press("Anche conti non modificati"));
	ASSERT_TRUE(form.TypeCell(kConti, 0, "SaldoContabile", "10"));
	ASSERT_TRUE(form.TypeCell(kConti, 1, "SaldoContabile", "20"));
	ASSERT_TRUE(form.Press("&Salva"));
	EXPECT_TRUE(WasShown("Il piano base del conto C1 non è stato creato"));
	// R1 had its head: written. C1 and its splits without one: still to be saved.
	EXPECT_EQ(Piano("SaldoContabile", "R1", 4), 20.0);
	EXPECT_EQ(Teste("C1"), 0);
	EXPECT_TRUE(Doc(form)->GetDBTConti()->GetConto(0)->l_Modified);
	EXPECT_FALSE(Doc(form)->GetDBTConti()->GetConto(1)->l_Modified);
	EXPECT_TRUE(Doc(form)->m_Modificato);
	EXPECT_EQ(Doc(form)->GetDBTConti()->GetConto(0)->l_IDPianoBase, -1);
}

// The grid holds every level of the grouping: a parent's balance is its leaves' again.
TEST_F(InsSaldiMensili, TheTotalsCountEachAmountOnceAtTheLowestLevelShown)
{
	Conto(2026, "C", 0, 3, "Costi");
	Conto(2026, "C2", 0, 3, "Servizi", "C");
	Conto(2026, "C21", 0, 3, "Consulenze", "C2");
	Conto(2026, "C22", 0, 3, "Pulizie", "C2");
	Conto(2026, "RR", 0, 4, "Ricavi");
	Conto(2026, "RR1", 0, 4, "Vendite estero", "RR");
	Conto(2026, "RR2", 0, 4, "Vendite Italia", "RR");
	const struct
	{
		long id;
		const char* conto;
		WORD natura;
		double saldo;
	} piani[] = {{911, "C", 3, 300},   {912, "C2", 3, 300}, {913, "C21", 3, 120}, {914, "C22", 3, 180},
				 {915, "RR", 4, 500},  {916, "RR1", 4, 200}, {917, "RR2", 4, 300}};
	for (const auto& p : piani)
	{
		Testa(p.id, 2026, p.conto, "", 0);
		Riga(p.id, 4, p.conto, "", 0, p.natura, p.saldo);
	}
	FormDriver form = Apri();
	// C1 (no child) 0, C21 and C22 300; R1 (no child) 1000, RR1 and RR2 500.
	EXPECT_NEAR(Doc(form)->m_TotCosti, 300.0, 1e-9);
	EXPECT_NEAR(Doc(form)->m_TotRicavi, 1500.0, 1e-9);
	EXPECT_NEAR(Doc(form)->m_DeltaCostiRicavi, 1200.0, 1e-9);
	// A leaf typed moves the totals once; the parent typed alone does not count twice.
	ASSERT_TRUE(form.TypeCell(kConti, 3, "SaldoContabile", "150")) << form.GetLastError();  // C21
	EXPECT_NEAR(Doc(form)->m_TotCosti, 330.0, 1e-9);
	ASSERT_TRUE(form.TypeCell(kConti, 0, "SaldoContabile", "999")) << form.GetLastError();  // C
	EXPECT_NEAR(Doc(form)->m_TotCosti, 330.0, 1e-9);
	// Balance sheet alone: the leaves are the rows shown.
	ASSERT_TRUE(form.Press("INS_SAL_TIPO_CONTO_PATRIM"));
	m_Ui.PushAnswer(IDNO);
	ASSERT_TRUE(form.Press("&Interroga"));
	EXPECT_NEAR(Doc(form)->m_TotCosti, 0.0, 1e-9);
}

}  // namespace
