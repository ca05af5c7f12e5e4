// The cost-driver phases of the reclassification run, driven through its form: measures and
// percentages of the three calculation kinds, shares of the cost lines, increments, the reset of
// a previous run, the following phase and the target models of other companies.
#include <array>

#include "kvznet/kvzdrivers/kvzdriversdbl/KvzDriversDblInterface.h"
#include "kvznet/kvzdrivers/kvzdriversdbl/KvzDriversDblTables.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAziende.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliOutputRiclass.h"
#include "kvznet/kvzmod/kvzdocuments/riclassific/tests/RiclassificRunFixture.h"

namespace {

using Tre = std::array<double, 3>;  // January to March

class Drivers : public Run
{
protected:
	void SetUp() override
	{
		Run::SetUp();
		if (IsSkipped() || HasFatalFailure())
			return;
		m_pDriversAddOn.reset(KvzDriversDblAddOnInterface());
		ASSERT_TRUE(m_pDriversAddOn->AOI_RegisterTables(m_pConn.get(), "", &m_DriversNs));
	}

	void Driver(const char* codice, WORD tipo, BOOL bDisattivo = FALSE)
	{
		TKvzDriversTesta t;
		t.f_Esercizio = kAnno;
		t.f_ModelloDrivers = codice;
		t.f_TipoCalcolo = DataEnum(E_KVZ_TIPOCALCOLODRIVERS, tipo);
		t.f_RiclassificazioneDrivers = "MIS";
		t.f_Disattivo = bDisattivo;
		InsertRow(t);
	}
	void Target(const char* driver, const char* modello, const char* ditta = "")
	{
		TKvzDriversModelli t;
		t.f_Esercizio = kAnno;
		t.f_ModelloDrivers = driver;
		t.f_Ditta = ditta;
		t.f_EsercizioRiclassific = kAnno;
		t.f_ModelloRiclassific = modello;
		InsertRow(t);
	}
	void Costo(const char* driver, const char* codice, const char* formula, const char* ribStd = "",
			   std::array<double, 12> standard = {})
	{
		TKvzDriversCosti c;
		c.f_Esercizio = kAnno;
		c.f_ModelloDrivers = driver;
		c.f_CodRiclassificCosto = codice;
		c.f_Formula = formula;
		c.f_CodRiclRibaldamento = "RIB";
		c.f_CodRiclRibaldamentoStd = ribStd;
		for (int m = 0; m < 12; ++m)
			c.f_CostoStandard[m] = standard[static_cast<size_t>(m)];
		InsertRow(c);
	}
	void Incremento(const char* driver, const char* modello, const char* costo, int mese, double perc)
	{
		TKvzDriversIncrementi i;
		i.f_Esercizio = kAnno;
		i.f_ModelloDrivers = driver;
		i.f_ModelloRiclassificInter = modello;
		i.f_CodRiclassificCosto = costo;
		i.f_Incr[mese - 1] = perc;
		InsertRow(i);
	}
	// A target model: its measure (kind 8, written by another procedure), the codes that receive
	// the shares (kind 7) and a row of kind 9 over the main share.
	void ModelloTarget(const char* modello, Tre misure)
	{
		Testa(modello);
		RigaDi(modello, "MIS", 1, "", [](RigaMod& r) { r.f_TipoRiga = DataEnum(E_KVZ_TIPORIGA, 8); });
		RigaDi(modello, "RIB", 2, "", [](RigaMod& r) { r.f_TipoRiga = DataEnum(E_KVZ_TIPORIGA, 7); });
		RigaDi(modello, "RIBS", 3, "", [](RigaMod& r) { r.f_TipoRiga = DataEnum(E_KVZ_TIPORIGA, 7); });
		for (int m = 1; m <= 3; ++m)
			Risultato(modello, "MIS", m, 8, misure[static_cast<size_t>(m - 1)]);
	}
	BOOL EseguiDrivers(int dal, int al, BOOL bDrivers = TRUE)
	{
		return Esegui(dal, al, [bDrivers](FormDriver& f) {
			if (f.Text("RCL_PBASE_TUTTI_MOD") != "Si")
			{
				EXPECT_TRUE(f.Press("RCL_PBASE_TUTTI_MOD"));
			}
			if ((f.Text("CALCOLA_DRIVERS") == "Si") != (bDrivers != FALSE))
			{
				EXPECT_TRUE(f.Press("CALCOLA_DRIVERS"));
			}
		});
	}
	Tre Quote(const char* modello, const char* codice)
	{
		Tre v{};
		for (int m = 1; m <= 3; ++m)
			v[static_cast<size_t>(m - 1)] = Valore(modello, codice, m).value_or(-1);
		return v;
	}
	double Colonna(const char* modello, const std::string& colonna, const char* ditta = "")
	{
		auto st = m_pConn->Db().Prepare("SELECT " + colonna +
										" FROM KvzDriversModelli WHERE ModelloRiclassific = ? AND Ditta = ?");
		st->Bind(1, std::string(modello));
		st->Bind(2, std::string(ditta));
		if (!st->Step())
			return -1;
		const plv::db::Value v = st->Column(0);
		return std::holds_alternative<double>(v) ? std::get<double>(v) : static_cast<double>(std::get<std::int64_t>(v));
	}
	// How many times the messages shown say the text.
	int Detto(const CString& testo)
	{
		int n = 0;
		for (const ShownMessage& m : m_Ui.Messages())
			for (int i = m.text.Find(testo); i >= 0; i = m.text.Find(testo, i + 1))
				++n;
		return n;
	}

	std::unique_ptr<AddOnInterfaceObj> m_pDriversAddOn;
	CPLVNamespace m_DriversNs{"Library.KvzNet.KvzDrivers.KvzDriversDbl"};
};

void ExpectTre(const Tre& atteso, const Tre& letto, const char* caso)
{
	for (size_t i = 0; i < 3; ++i)
		EXPECT_NEAR(letto[i], atteso[i], 1e-9) << caso << " month " << i + 1;
}

// Measures A 10/20/30 and B 30/0/10 over January-March (totals 40/20/40, 100 over the range), a
// cost of 300 a month (900 over the range) and, with standard costs, 100 a month from January to
// March and 300 in December.
TEST_F(Drivers, TheThreeCalculationKindsByHand)
{
	ModelloTarget("A", {10, 20, 30});
	ModelloTarget("B", {30, 0, 10});
	Driver("DRV", 0);
	Target("DRV", "A");
	Target("DRV", "B");
	Costo("DRV", "C1", "300", "RIBS");
	struct Caso
	{
		const char* nome;
		WORD tipo;
		bool standard;
		Tre ribA, ribsA, ribB, ribsB;
	} casi[] = {
		// Month by month: the share of the month's total.
		{"kind 0", 0, false, {75, 300, 225}, {0, 0, 0}, {225, 0, 75}, {0, 0, 0}},
		{"kind 0, standard", 0, true, {25, 100, 75}, {75, 300, 225}, {75, 0, 25}, {225, 0, 75}},
		// The range share (A 60 of 100) of the standard costs of all twelve months (600), evenly.
		{"kind 1, standard", 1, true, {120, 120, 120}, {180, 180, 180}, {80, 80, 80}, {120, 120, 120}},
		{"kind 1", 1, false, {180, 180, 180}, {0, 0, 0}, {120, 120, 120}, {0, 0, 0}},
		// Each month's measure of the range total, of the standard costs of the range only (300).
		{"kind 2, standard", 2, true, {30, 60, 90}, {90, 180, 270}, {90, 0, 30}, {270, 0, 90}},
		{"kind 2", 2, false, {90, 180, 270}, {0, 0, 0}, {270, 0, 90}, {0, 0, 0}},
	};
	for (const Caso& c : casi)
	{
		m_pConn->ExecuteSQL(CString::Formatted("UPDATE KvzDriversTesta SET TipoCalcolo = %u",
											   DataEnum(E_KVZ_TIPOCALCOLODRIVERS, c.tipo).GetValue()));
		const int s = c.standard ? 100 : 0;
		m_pConn->ExecuteSQL(CString::Formatted("UPDATE KvzDriversCosti SET CostoStandardGennaio = %d, "
											   "CostoStandardFebbraio = %d, CostoStandardMarzo = %d, "
											   "CostoStandardDicembre = %d",
											   s, s, s, 3 * s));
		// Each run starts from the shares reset: the same run twice gives the same shares.
		for (int volta = 0; volta < 2; ++volta)
		{
			ASSERT_TRUE(EseguiDrivers(1, 3)) << c.nome;
			EXPECT_EQ(Stato(), "Riclassificazione terminata.");
			ExpectTre(c.ribA, Quote("A", "RIB"), c.nome);
			ExpectTre(c.ribsA, Quote("A", "RIBS"), c.nome);
			ExpectTre(c.ribB, Quote("B", "RIB"), c.nome);
			ExpectTre(c.ribsB, Quote("B", "RIBS"), c.nome);
		}
	}
	// The measures and percentages stored with the targets (of the last kind, 2).
	EXPECT_EQ(Colonna("A", "ValOrigFebbraio"), 20);
	EXPECT_EQ(Colonna("A", "ValFebbraio"), 20);
	EXPECT_EQ(Colonna("A", "ValAprile"), 0);
	EXPECT_NEAR(Colonna("A", "PercFebbraio"), 0.2, 1e-9);
	EXPECT_NEAR(Colonna("B", "PercGennaio"), 0.3, 1e-9);
	EXPECT_TRUE(m_Ui.Messages().empty());
}

TEST_F(Drivers, CostLinesAccumulateUnroundedAndAnEmptyStandardCodeRunsNoSecondPass)
{
	ModelloTarget("A", {1, 0, 0});
	ModelloTarget("B", {2, 0, 0});
	Driver("DRV", 0);
	Target("DRV", "A");
	Target("DRV", "B");
	// Two lines into the same code; the second has a standard cost but no code for the second share.
	Costo("DRV", "C1", "100");
	Costo("DRV", "C2", "10", "", {3});
	for (int volta = 0; volta < 2; ++volta)
	{
		ASSERT_TRUE(EseguiDrivers(1, 1));
		// A's share: 100/3 of the first line, 3/3 standard cost of the second; not rounded.
		EXPECT_NEAR(*Valore("A", "RIB", 1), 100.0 / 3 + 1.0, 1e-9);
		EXPECT_NEAR(*Valore("B", "RIB", 1), 200.0 / 3 + 2.0, 1e-9);
		EXPECT_NE(*Valore("A", "RIB", 1), 34.33);
		EXPECT_EQ(Valore("A", "RIBS", 1), 0.0);
		EXPECT_EQ(Conta("CodRiclassificato = ''"), 0);
	}
}

TEST_F(Drivers, IncrementsOfSeveralCostLinesKeepTheDriversTotalTheSumOfTheFinalMeasures)
{
	ModelloTarget("A", {0, 0, 100});
	ModelloTarget("B", {0, 0, 300});
	Driver("DRV", 0);
	Target("DRV", "A");
	Target("DRV", "B");
	Costo("DRV", "C1", "1000");
	Costo("DRV", "C2", "0");
	// A's March raised by both lines: the last line (C2) wins, 100 becomes 120; the total is 420.
	Incremento("DRV", "A", "C1", 3, 10);
	Incremento("DRV", "A", "C2", 3, 20);
	ASSERT_TRUE(EseguiDrivers(1, 3));
	EXPECT_EQ(Colonna("A", "ValOrigMarzo"), 100);
	EXPECT_EQ(Colonna("A", "ValMarzo"), 120);
	EXPECT_EQ(Colonna("B", "ValMarzo"), 300);
	EXPECT_NEAR(Colonna("A", "PercMarzo"), 0.25, 1e-9);  // before the increments
	const double a = *Valore("A", "RIB", 3);
	const double b = *Valore("B", "RIB", 3);
	EXPECT_NEAR(a, 1000.0 * 120 / 420, 1e-9);
	EXPECT_NEAR(b, 1000.0 * 300 / 420, 1e-9);
	EXPECT_NEAR(a + b, 1000.0, 1e-9);  // the whole cost, no more, no less
}

// Every company code on every path: ".", "", another company, one not in the register and one
// whose database cannot be opened (right after the other company, whose connection was in use).
TEST_F(Drivers, OtherCompaniesGetTheirSharesAndAFailedCompanyNothingAnywhere)
{
	Kvz_TAziende altra;
	altra.f_Azienda = "ALTRA";
	altra.f_DataSource = "altra";
	InsertRow(altra);
	Kvz_TAziende rotta;
	rotta.f_Azienda = "ROTTA";
	rotta.f_DataSource = "non-esiste";
	InsertRow(rotta);
	auto pAltra = OtherCompany("altra.db");
	{
		const std::tuple<const char*, int, WORD, const char*> righe[] = {
			{"MIS", 1, 8, ""}, {"RIB", 2, 7, ""}, {"K9", 3, 9, "7"}};
		for (auto [codice, pos, tipo, formula] : righe)
		{
			Kvz_TModRiclassRighe_Ext r(pAltra.get());
			r.f_Esercizio = kAnno;
			r.f_ModelloRiclassific = "Q";
			r.f_CodRiclassificato = codice;
			r.f_Posizione = pos;
			r.f_Descrizione = CString("Altra ") + codice;
			r.f_Formula = formula;
			r.f_TipoRiga = static_cast<long>(DataEnum(E_KVZ_TIPORIGA, tipo).GetValue());
			InsertRow(r);
		}
		Kvz_TRiclassificato_Ext r(pAltra.get());
		r.f_Esercizio = kAnno;
		r.f_Mese = 1;
		r.f_ModelloRiclassific = "Q";
		r.f_CodRiclassificato = "MIS";
		r.f_TipoDatoPianoBase = static_cast<long>(DataEnum(E_KVZ_TIPODATOPBASE, 0).GetValue());
		r.f_Valore = 60;
		InsertRow(r);
	}
	// Here: A and B, and a model Q like the other company's, which no target here names.
	ModelloTarget("A", {10, 0, 0});
	ModelloTarget("B", {30, 0, 0});
	ModelloTarget("Q", {50, 0, 0});
	RigaDi("A", "K9", 4, "_VRIB*2", [](RigaMod& r) { r.f_TipoRiga = DataEnum(E_KVZ_TIPORIGA, 9); });
	SimboloRisultato("A", "RIB");
	Driver("DRV", 0);
	Target("DRV", "A", "");
	Target("DRV", "B", ".");
	Target("DRV", "Q", "ALTRA");
	Target("DRV", "Q", "NESSUNA");
	Target("DRV", "Q", "ROTTA");
	Costo("DRV", "C1", "1000");

	for (int volta = 0; volta < 2; ++volta)
	{
		m_Ui.Clear();
		// The run keeps what it computed, but is no success.
		EXPECT_FALSE(EseguiDrivers(1, 1));
		// The companies that cannot be read measure nothing and receive nothing.
		EXPECT_NEAR(*Valore("A", "RIB", 1), 100, 1e-9);
		EXPECT_NEAR(*Valore("B", "RIB", 1), 300, 1e-9);
		EXPECT_EQ(Valore("Q", "RIB", 1), 0.0);
		auto st = pAltra->Db().Prepare(
			"SELECT CodRiclassificato, Valore, Descrizione FROM Kvz_Riclassificato WHERE ModelloRiclassific = 'Q' "
			"AND CodRiclassificato <> 'MIS' ORDER BY CodRiclassificato");
		std::vector<std::tuple<std::string, double, std::string>> letti;
		while (st->Step())
			letti.emplace_back(std::get<std::string>(st->Column(0)), std::get<double>(st->Column(1)),
							   std::get<std::string>(st->Column(2)));
		EXPECT_EQ(letti, (std::vector<std::tuple<std::string, double, std::string>>{{"K9", 7, "Altra K9"},
																				   {"RIB", 600, "Altra RIB"}}));
		// The following phase, here: twice the share just written.
		EXPECT_NEAR(*Valore("A", "K9", 1), 200, 1e-9);
		// Each failure said once per run.
		EXPECT_EQ(Detto("Azienda NESSUNA non censita."), 1);
		EXPECT_EQ(Detto("Connessione al database esterno ROTTA fallita."), 1);
		EXPECT_EQ(Colonna("Q", "ValOrigGennaio", "ALTRA"), 60);
		EXPECT_EQ(Colonna("Q", "ValOrigGennaio", "NESSUNA"), 0);
		EXPECT_EQ(Colonna("Q", "ValOrigGennaio", "ROTTA"), 0);
	}
	EXPECT_EQ(Stato(),
			  "Riclassificazione terminata; quote dei drivers non scritte per le aziende non raggiungibili.");
}

// A stop anywhere in a run with the drivers leaves no target without the shares it had: the
// targets recomputed are undone with the shares written after them, the models finished before
// the first target stay.
TEST_F(Drivers, AStopLeavesEveryTargetWithTheSharesItHad)
{
	Testa("M0", 1);
	RigaDi("M0", "X", 1, "1");
	for (const char* m : {"A", "B"})
	{
		Testa(m, 2);
		RigaDi(m, "MIS", 1, "", [](RigaMod& r) { r.f_TipoRiga = DataEnum(E_KVZ_TIPORIGA, 8); });
		RigaDi(m, "RIB", 2, "");  // an ordinary row: the run itself writes it again
	}
	for (int mese = 1; mese <= 3; ++mese)
	{
		Risultato("A", "MIS", mese, 8, 100);
		Risultato("B", "MIS", mese, 8, 300);
	}
	Driver("DRV", 0);
	Target("DRV", "A");
	Target("DRV", "B");
	Costo("DRV", "C1", "1000");
	auto dati = [&](const char* costo, const char* x) {
		m_pConn->ExecuteSQL(CString::Formatted("UPDATE KvzDriversCosti SET Formula = '%s'", costo));
		m_pConn->ExecuteSQL(CString::Formatted("UPDATE Kvz_RiclassificazioneRighe SET Formula = '%s' WHERE "
											   "ModelloRiclassific = 'M0'", x));
	};
	for (int n = 1;; ++n)
	{
		SCOPED_TRACE(n);
		dati("1000", "1");
		m_Ui.AbortAfterPolls(0);
		ASSERT_TRUE(EseguiDrivers(1, 3));
		ExpectTre({250, 250, 250}, Quote("A", "RIB"), "before A");
		dati("2000", "2");
		m_Ui.Clear();
		m_Ui.AbortAfterPolls(n);
		EseguiDrivers(1, 3);
		EXPECT_FALSE(m_pConn->IsInTransaction());
		const Tre a = Quote("A", "RIB"), b = Quote("B", "RIB");
		const bool bPrima = a == Tre{250, 250, 250} && b == Tre{750, 750, 750};
		const bool bDopo = a == Tre{500, 500, 500} && b == Tre{1500, 1500, 1500};
		EXPECT_TRUE(bPrima || bDopo) << a[0] << " " << b[0];
		const double x = Valore("M0", "X", 1).value_or(-1);
		EXPECT_TRUE(x == 1 || x == 2) << x;
		if (m_Ui.StoppedTexts().empty())
		{
			EXPECT_TRUE(bDopo);
			EXPECT_EQ(Stato(), "Riclassificazione terminata.");
			break;
		}
		const CString detto = m_Ui.StoppedTexts()[0];
		EXPECT_TRUE(detto.str().ends_with("; drivers non ricalcolati.")) << detto.GetString();
		EXPECT_TRUE(bPrima) << detto.GetString();
		if (x == 2)
		{
			EXPECT_TRUE(detto.Find("1 modello salvato") >= 0) << detto.GetString();
		}
	}
}

// Another company's target keeps what it had when the run that wrote its shares is stopped or
// fails: its writes end with the run's own.
TEST_F(Drivers, AStoppedOrFailedRunLeavesAnotherCompanysTargetAsBefore)
{
	Kvz_TAziende altra;
	altra.f_Azienda = "ALTRA";
	altra.f_DataSource = "altra2";
	InsertRow(altra);
	auto pAltra = OtherCompany("altra2.db");
	for (auto [codice, pos, tipo] : {std::tuple{"MIS", 1, 8}, std::tuple{"RIB", 2, 7}})
	{
		Kvz_TModRiclassRighe_Ext r(pAltra.get());
		r.f_Esercizio = kAnno;
		r.f_ModelloRiclassific = "Q";
		r.f_CodRiclassificato = codice;
		r.f_Posizione = pos;
		r.f_TipoRiga = static_cast<long>(DataEnum(E_KVZ_TIPORIGA, static_cast<WORD>(tipo)).GetValue());
		InsertRow(r);
	}
	{
		Kvz_TRiclassificato_Ext r(pAltra.get());
		r.f_Esercizio = kAnno;
		r.f_Mese = 1;
		r.f_ModelloRiclassific = "Q";
		r.f_CodRiclassificato = "MIS";
		r.f_TipoDatoPianoBase = static_cast<long>(DataEnum(E_KVZ_TIPODATOPBASE, 0).GetValue());
		r.f_Valore = 300;
		InsertRow(r);
	}
	ModelloTarget("A", {100, 0, 0});
	RigaDi("A", "K9", 4, "_VRIB*2", [](RigaMod& r) { r.f_TipoRiga = DataEnum(E_KVZ_TIPORIGA, 9); });
	SimboloRisultato("A", "RIB");
	Driver("DRV", 0);
	Target("DRV", "A");
	Target("DRV", "Q", "ALTRA");
	Costo("DRV", "C1", "1000");
	auto quotaAltra = [&] {
		auto st = pAltra->Db().Prepare("SELECT Valore FROM Kvz_Riclassificato WHERE ModelloRiclassific = 'Q' AND "
									   "CodRiclassificato = 'RIB' AND Mese = 1");
		return st->Step() ? std::get<double>(st->Column(0)) : -1.0;
	};
	for (int n = 1;; ++n)
	{
		SCOPED_TRACE(n);
		m_pConn->ExecuteSQL("UPDATE KvzDriversCosti SET Formula = '1000'");
		m_Ui.AbortAfterPolls(0);
		ASSERT_TRUE(EseguiDrivers(1, 1));
		ASSERT_NEAR(quotaAltra(), 750, 1e-9);
		m_pConn->ExecuteSQL("UPDATE KvzDriversCosti SET Formula = '2000'");
		m_Ui.Clear();
		m_Ui.AbortAfterPolls(n);
		EseguiDrivers(1, 1);
		const double quota = quotaAltra(), qui = Valore("A", "RIB", 1).value_or(-1);
		if (m_Ui.StoppedTexts().empty())
		{
			EXPECT_NEAR(quota, 1500, 1e-9);
			EXPECT_NEAR(qui, 500, 1e-9);
			break;
		}
		EXPECT_NEAR(quota, 750, 1e-9);
		EXPECT_NEAR(qui, 250, 1e-9);
	}

	// A database error here in the following phase, after the other company's shares were
	// written: none of them stays.
	m_Ui.AbortAfterPolls(0);
	m_pConn->ExecuteSQL("UPDATE KvzDriversCosti SET Formula = '4000'");
	m_pConn->ExecuteSQL("CREATE TRIGGER no_k9 BEFORE UPDATE ON Kvz_Riclassificato WHEN NEW.CodRiclassificato = 'K9' AND "
						"NEW.Valore = 2000 BEGIN SELECT RAISE(ABORT, 'riga rifiutata'); END");
	EXPECT_FALSE(EseguiDrivers(1, 1));
	EXPECT_EQ(Stato(), "Riclassificazione annullata per errori: nessuna modifica registrata.");
	EXPECT_NEAR(quotaAltra(), 1500, 1e-9);
	EXPECT_NEAR(Valore("A", "RIB", 1).value_or(-1), 500, 1e-9);
}

// Two targets with the same row of kind 9 over their own share: each is valued in its own model,
// whatever model the run was selected by. The run's grouping code stays the user's, so the next
// run by grouping runs the same models.
TEST_F(Drivers, TheFollowingPhaseValuesEachTargetInItsOwnModelAndKeepsTheRunsGrouping)
{
	ModelloTarget("A", {10, 0, 0});
	ModelloTarget("B", {30, 0, 0});
	for (const char* modello : {"A", "B"})
	{
		RigaDi(modello, "K9", 4, "_VRIB*2", [](RigaMod& r) { r.f_TipoRiga = DataEnum(E_KVZ_TIPORIGA, 9); });
		SimboloRisultato(modello, "RIB");
	}
	Raggruppamento("G", {"A", "B"});
	Driver("DRV", 0);
	Target("DRV", "A");
	Target("DRV", "B");
	Costo("DRV", "C1", "1000");
	ASSERT_TRUE(Esegui(1, 1, [](FormDriver& f) {
		EXPECT_TRUE(f.Press("RCL_PBASE_SEL_PER_RAGGRUPP"));
		EXPECT_TRUE(f.Type("RCL_PBASE_RAGGRUPP", "G"));
		EXPECT_TRUE(f.Press("CALCOLA_DRIVERS"));
	}));
	for (int volta = 0; volta < 2; ++volta)
	{
		EXPECT_NEAR(*Valore("A", "RIB", 1), 250, 1e-9);
		EXPECT_NEAR(*Valore("B", "RIB", 1), 750, 1e-9);
		EXPECT_NEAR(*Valore("A", "K9", 1), 500, 1e-9);
		EXPECT_NEAR(*Valore("B", "K9", 1), 1500, 1e-9);
		EXPECT_EQ(Form().Text("RCL_PBASE_RAGGRUPP"), "G");
		EXPECT_EQ(Doc()->m_Raggrupp.GetString(), "G");
		if (volta == 0)
		{
			ASSERT_TRUE(Form().RunBatch()) << Form().GetLastError();
		}
	}
	EXPECT_TRUE(m_Ui.Messages().empty());
}

TEST_F(Drivers, WithoutTheSwitchNoDriverTableIsTouchedAndADisabledDriverOnlyLosesItsShares)
{
	ModelloTarget("A", {10, 0, 0});
	RigaDi("A", "K9", 4, "5", [](RigaMod& r) { r.f_TipoRiga = DataEnum(E_KVZ_TIPORIGA, 9); });
	Driver("DRV", 0);
	Target("DRV", "A");
	Costo("DRV", "C1", "1000");
	m_pConn->ExecuteSQL("UPDATE KvzDriversModelli SET ValOrigGennaio = 999");
	Risultato("A", "RIB", 1, 7, 42);

	ASSERT_TRUE(EseguiDrivers(1, 1, FALSE));
	EXPECT_EQ(Colonna("A", "ValOrigGennaio"), 999);
	EXPECT_EQ(Valore("A", "RIB", 1), 42.0);
	EXPECT_EQ(Valore("A", "K9", 1), 0.0);  // ensured by the run, not computed

	m_pConn->ExecuteSQL("UPDATE KvzDriversTesta SET Disattivo = 1");
	ASSERT_TRUE(EseguiDrivers(1, 1));
	EXPECT_EQ(Colonna("A", "ValOrigGennaio"), 999);
	EXPECT_EQ(Valore("A", "RIB", 1), 0.0);
	EXPECT_EQ(Valore("A", "K9", 1), 5.0);
}

TEST_F(Drivers, ModelRowAndDividendLookupsInTheRunsDataKind)
{
	Testa("A");
	RigaDi("A", "X", 5, "", [](RigaMod& r) {
		r.f_TipoRiga = DataEnum(E_KVZ_TIPORIGA, 7);
		r.f_Dividendo = "D";
	});
	RigaDi("A", "Y", 6, "");
	for (WORD tipo : {0, 1})
	{
		Kvz_TRiclassificato r;
		r.f_Esercizio = kAnno;
		r.f_Mese = 2;
		r.f_ModelloRiclassific = "A";
		r.f_CodRiclassificato = "D";
		r.f_TipoDatoPianoBase = DataEnum(E_KVZ_TIPODATOPBASE, tipo);
		r.f_Valore = 11 * (tipo + 1);
		InsertRow(r);
	}
	Kvz_CRiclassificPianoBaseDoc* pDoc = Doc();
	const DataInt anno(kAnno);
	EXPECT_EQ(pDoc->LeggiRigaModello(anno, DataStr("A"), DataStr("X")).GetValue(), 5);
	EXPECT_EQ(pDoc->m_DescrizioneRigaCorrente.GetString(), "Riga X");
	EXPECT_EQ(pDoc->m_TipoRigaCorrente.GetItemValue(), 7);
	EXPECT_EQ(pDoc->LeggiRigaModello(anno, DataStr("A"), DataStr("NO")).GetValue(), 0);
	EXPECT_TRUE(pDoc->m_DescrizioneRigaCorrente.IsEmpty());
	EXPECT_EQ(pDoc->m_TipoRigaCorrente.GetItemValue(), 7);  // kept

	for (WORD tipo : {0, 1})
	{
		pDoc->m_TipoDato = DataEnum(E_KVZ_TIPODATOPBASE, tipo);
		EXPECT_EQ(pDoc->LeggiValoreDividendo(anno, DataStr("A"), DataStr("X"), DataInt(2)).GetValue(), 11 * (tipo + 1));
	}
	EXPECT_EQ(pDoc->LeggiValoreDividendo(anno, DataStr("A"), DataStr("X"), DataInt(3)).GetValue(), 0);  // no result
	EXPECT_EQ(pDoc->LeggiValoreDividendo(anno, DataStr("A"), DataStr("Y"), DataInt(2)).GetValue(), 0);  // no dividend
	EXPECT_EQ(pDoc->LeggiValoreDividendo(anno, DataStr("A"), DataStr("NO"), DataInt(2)).GetValue(), 0);
	pDoc->ChiudiConnessioniEsterne();
}

}  // namespace
