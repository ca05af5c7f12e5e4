#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAziende.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TBudgetRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TElencoContiSimboloPBase.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliPianoBase.h"
#include "kvznet/kvzmod/kvzdocuments/tests/MngFormulaFixture.h"

namespace {

TEST_F(PianoBase, AggregatesMonthRangesAndSingleMonth)
{
	Riga("A1", 3, 10);
	Riga("A1", 3, 20);
	Riga("A1", 5, -4);
	Riga("A1", 5, 6);
	Riga("A2", 4, 1000);       // another account
	Riga("A1", 4, 500, 0, 0, "CDC1");  // a cost centre's split of the account: never read
	Riga("A1", 4, 700, 0, 0, "", 1, kAnno - 1);
	struct Caso
	{
		const char* nome;
		WORD aggreg;
		double mese3, mese5;
	} casi[] = {{"SOMMA", 0, 30, 2}, {"MEDIA", 1, 15, 1}, {"CONTA", 2, 2, 2}, {"MASSIMO", 3, 20, 6}, {"MINIMO", 4, 10, -4}};
	for (const Caso& c : casi)
	{
		Simbolo(c.nome, [&](auto& s) { s.f_AggregFunction = DataEnum(E_KVZ_AGGREGFUNCTION, c.aggreg); });
		const auto v = Valuta(CString("_") + c.nome);
		// A month without rows is 0, never another month's value.
		std::vector<double> atteso(12, 0.0);
		atteso[2] = c.mese3;
		atteso[4] = c.mese5;
		EXPECT_EQ(v, atteso) << c.nome;
	}
	// No aggregate: rows one by one in month order, each setting its month.
	Riga("B1", 2, 7);
	Riga("B1", 6, 9);
	Simbolo("RIGHE", [](auto& s) {
		s.f_AggregFunction = DataEnum(E_KVZ_AGGREGFUNCTION, 5);
		s.f_ValDaConto = "B1";
	});
	auto v = Valuta("_RIGHE");
	EXPECT_EQ(M(v, 1), 0);
	EXPECT_EQ(M(v, 2), 7);
	EXPECT_EQ(M(v, 6), 9);
	EXPECT_EQ(M(v, 12), 0);

	// One month fixed: its value in all twelve; a fixed range that leaves month 3 out.
	Simbolo("MESE5", [](auto& s) {
		s.f_ValDaMeseConst = s.f_ValAMeseConst = TRUE;
		s.f_ValDaMese = s.f_ValAMese = 5;
	});
	EXPECT_EQ(Valuta("_MESE5"), Costante(2));
	Simbolo("DA4", [](auto& s) {
		s.f_ValDaMeseConst = TRUE;
		s.f_ValDaMese = 4;
	});
	std::vector<double> da4(12, 0.0);
	da4[4] = 2;
	EXPECT_EQ(Valuta("_DA4"), da4);
	Simbolo("ANNOPREC", [](auto& s) {
		s.f_ValDaEsConst = TRUE;
		s.f_ValDaEs = kAnno - 1;
	});
	EXPECT_EQ(Valuta("_ANNOPREC"), Mese(4, 700));
	// The engine's last month bounds the rows read: month 5 is beyond it.
	auto f = Motore(4);
	f->AttachFormula("_SOMMA");
	ASSERT_TRUE(f->Eval());
	EXPECT_EQ(Mesi(*f), Mese(3, 30));
}

TEST_F(PianoBase, ModesAndTheSymbolsOwnChoiceOfValue)
{
	Riga("A1", 1, 100, 0.00005, 80);  // an accrual within the money epsilon counts as none
	Riga("A2", 1, 100, 5, 105);
	for (const char* conto : {"A1", "A2"})
	{
		for (int sel = 0; sel < 3; ++sel)
		{
			const CString nome = CString::Formatted("S%s%d", conto, sel);
			Simbolo(nome.GetString(), [&](auto& s) {
				s.f_ValDaConto = conto;
				s.f_SelSaldo = sel == 0;
				s.f_SelRateo = sel == 1;
				s.f_SelTotAss = sel == 2;
			});
		}
	}
	// Mode 0: the symbol's choice; modes 1-3 override it.
	EXPECT_EQ(M(Valuta("_SA10"), 1), 100);
	EXPECT_EQ(M(Valuta("_SA21"), 1), 5);
	EXPECT_EQ(M(Valuta("_SA12"), 1), 100);  // adjusted value, no accrual: the balance
	EXPECT_EQ(M(Valuta("_SA22"), 1), 105);
	EXPECT_EQ(M(Valuta("_SA21", 1), 1), 100);
	EXPECT_EQ(M(Valuta("_SA20", 2), 1), 5);
	EXPECT_EQ(M(Valuta("_SA10", 3), 1), 100);
	EXPECT_EQ(M(Valuta("_SA20", 3), 1), 105);
}

TEST_F(PianoBase, BudgetRowsFollowTheSymbolOrTheEnginesBudgetType)
{
	Riga("A1", 2, 1);
	RigaBudget("A1", 2, 10, 0);
	RigaBudget("A1", 2, 20, 1);
	Simbolo("BUDB", [](auto& s) {
		s.f_SelBudget = TRUE;
		s.f_TipoBudget = DataEnum(E_KVZ_TIPOBUDGET, 1);
	});
	Simbolo("PIANO");
	EXPECT_EQ(Valuta("_BUDB", 3), Mese(2, 20));  // the engine's mode plays no part
	auto f = Motore();
	f->AttachFormulaBudget("_PIANO + _BUDB", DataEnum(E_KVZ_TIPOBUDGET, 0));
	ASSERT_TRUE(f->Eval());
	EXPECT_EQ(Mesi(*f), Mese(2, 30));  // budget A for the plain symbol, B for its own
}

// A stable engine keeps what a symbol valued to: each kind of formula and each setting of the
// engine (months, mode) has its own values, however the evaluations alternate.
TEST_F(PianoBase, AStableEngineValuesASymbolAgainForEachKindOfFormulaAndSetting)
{
	Riga("A1", 2, 1, 5);
	Riga("A1", 5, 4);
	RigaBudget("A1", 2, 10, 0);
	RigaBudget("A1", 2, 20, 1);
	Simbolo("S");
	auto f = Motore();
	f->SetDefinizioniStabili();
	struct Caso
	{
		int budget;  // -1 a plain formula
		int ultimoMese, modo;
		std::vector<double> atteso;
	} casi[] = {
		{-1, 12, 0, {0, 2, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0}},  {0, 12, 0, Mese(2, 20)},
		{1, 12, 0, Mese(2, 40)},                             {-1, 12, 0, {0, 2, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0}},
		{-1, 4, 0, Mese(2, 2)},                              {0, 4, 0, Mese(2, 20)},
		{-1, 12, 2, Mese(2, 10)},                            {-1, 12, 0, {0, 2, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0}},
	};
	for (const Caso& c : casi)
	{
		SCOPED_TRACE(testing::Message() << c.budget << " " << c.ultimoMese << " " << c.modo);
		f->AttachDefault(DataInt(kAnno), DataInt(1), DataInt(c.ultimoMese), DataStr(kModello),
						 DataEnum(E_KVZ_TIPODATOPBASE, static_cast<WORD>(c.modo)), DataEnum());
		if (c.budget < 0)
			f->AttachFormula("_S + _S");
		else
			f->AttachFormulaBudget("_S + _S", DataEnum(E_KVZ_TIPOBUDGET, static_cast<WORD>(c.budget)));
		ASSERT_TRUE(f->Eval());
		EXPECT_EQ(Mesi(*f), c.atteso);
	}
	EXPECT_TRUE(Messaggi().empty());
}

TEST_F(PianoBase, AccountConditionsAndAmountFilters)
{
	Riga("A1", 1, 1);
	Riga("A2", 1, 10);
	Riga("A3", 1, 100);
	Riga("B1", 1, 1000);
	struct Caso
	{
		WORD ope;
		const char* da;
		const char* a;
		double atteso;
	} casi[] = {{0, "A2", "", 10},   {1, "A2", "", 11},  {2, "A2", "", 1110}, {3, "A2", "", 1},
				{4, "A2", "", 1100}, {5, "A2", "", 1101}, {6, "A2", "A3", 110}, {7, "A", "", 111}};
	int n = 0;
	for (const Caso& c : casi)
	{
		const CString nome = CString::Formatted("OPE%d", n++);
		Simbolo(nome.GetString(), [&](auto& s) {
			s.f_TipoOpeConto = DataEnum(E_KVZ_TIPOOPECONTO, c.ope);
			s.f_ValDaConto = c.da;
			s.f_ValAConto = c.a;
		});
		EXPECT_EQ(M(Valuta("_" + nome), 1), c.atteso) << "operator " << c.ope;
	}
	// Balance between 5 and 500, accrual and adjusted total compared.
	Simbolo("IMPORTI", [](auto& s) {
		s.f_TipoOpeConto = DataEnum(E_KVZ_TIPOOPECONTO, 7);
		s.f_ValDaConto = "";
		s.f_WhereSaldo = TRUE;
		s.f_TipoOpeSaldo = DataEnum(E_KVZ_TIPOOPERATORE, 6);
		s.f_ValDaSaldo = 5;
		s.f_ValASaldo = 500;
	});
	EXPECT_EQ(M(Valuta("_IMPORTI"), 1), 110);
	Simbolo("RATEO", [](auto& s) {
		s.f_TipoOpeConto = DataEnum(E_KVZ_TIPOOPECONTO, 2);
		s.f_ValDaConto = "";
		s.f_WhereRateo = TRUE;
		s.f_TipoOpeRateo = DataEnum(E_KVZ_TIPOOPERATORE, 0);
		s.f_ValDaRateo = 0;
		s.f_WhereTotAss = TRUE;
		s.f_TipoOpeTotAss = DataEnum(E_KVZ_TIPOOPERATORE, 5);
		s.f_ValDaTotAss = 1;
	});
	EXPECT_EQ(M(Valuta("_RATEO"), 1), 1111);
}

TEST_F(PianoBase, AccountListsWithSignsAsOneQuery)
{
	Riga("A1", 2, 100);
	Riga("A1", 4, 10);
	Riga("A2", 4, 30);
	Riga("A2", 4, 5, 0, 0, "CDC1");  // taken only by the entry of that cost centre
	Riga("A3", 4, 1000);              // in no entry
	Riga("A9", 6, 7, 0, 0, "CDC1");
	Riga("A8", 6, 3, 0, 0, "CDC1", 0);  // ledger kind item 0: its sign turns when asked
	Simbolo("LISTA", [](auto& s) { s.f_TipoOpeConto = DataEnum(E_KVZ_TIPOOPECONTO, 8); s.f_WhereConto = TRUE; });
	Voce("LISTA", "A1", 0);
	Voce("LISTA", "A2", 1);
	Voce("LISTA", "A2", 0, "CDC1");
	auto v = Valuta("_LISTA");
	EXPECT_EQ(M(v, 1), 0);  // a list does not spread its first month
	EXPECT_EQ(M(v, 2), 100);
	EXPECT_EQ(M(v, 4), 10 - 30 + 5);
	EXPECT_EQ(M(v, 6), 0);

	// One month: the month's total over every entry, in all twelve.
	Simbolo("LISTA4", [](auto& s) {
		s.f_TipoOpeConto = DataEnum(E_KVZ_TIPOOPECONTO, 8);
		s.f_WhereConto = TRUE;
		s.f_ValDaMeseConst = s.f_ValAMeseConst = TRUE;
		s.f_ValDaMese = s.f_ValAMese = 4;
	});
	Voce("LISTA4", "A1", 0);
	Voce("LISTA4", "A2", 1);
	EXPECT_EQ(Valuta("_LISTA4"), Costante(-20));

	// The account is no filter: every row of the entry's cost centre, with the ledger sign rule.
	Simbolo("CDC", [](auto& s) {
		s.f_TipoOpeConto = DataEnum(E_KVZ_TIPOOPECONTO, 8);
		s.f_SelContoVuoto = TRUE;
		s.f_WhereCdcComm = TRUE;
	});
	Voce("CDC", "", 1, "CDC1");
	v = Valuta("_CDC");
	EXPECT_EQ(M(v, 4), -5);
	EXPECT_EQ(M(v, 6), -(7 - 3));
}

TEST_F(PianoBase, AListOverCentresCountsEachRowWithItsCentresSummedSigns)
{
	// Without the account every entry of a centre takes all its rows: two + entries count a
	// row twice, a + and a - none; a month adds up its centres.
	Riga("B1", 3, 10, 0, 0, "CDC1");
	Riga("B2", 3, 1, 0, 0, "CDC1");
	Riga("B1", 3, 100, 0, 0, "CDC2");
	Riga("B3", 3, 1000, 0, 0, "CDC3");
	Riga("B1", 5, 7, 0, 0, "CDC3");
	Riga("B1", 5, 50, 0, 0, "CDC4");  // in no entry
	for (const char* nome : {"CENTRI", "CENTRI3"})
	{
		Simbolo(nome, [nome](auto& s) {
			s.f_TipoOpeConto = DataEnum(E_KVZ_TIPOOPECONTO, 8);
			s.f_SelContoVuoto = TRUE;
			s.f_WhereCdcComm = TRUE;
			if (CString(nome) == "CENTRI3")
			{
				s.f_ValDaMeseConst = s.f_ValAMeseConst = TRUE;
				s.f_ValDaMese = s.f_ValAMese = 3;
			}
		});
		Voce(nome, "B1", 0, "CDC1");
		Voce(nome, "B2", 0, "CDC1");
		Voce(nome, "B1", 0, "CDC2");
		Voce(nome, "B2", 1, "CDC2");
		Voce(nome, "", 1, "CDC3");
	}
	auto v = Valuta("_CENTRI");
	EXPECT_EQ(M(v, 3), 2 * (10 + 1) - 1000);
	EXPECT_EQ(M(v, 5), -7);
	EXPECT_EQ(M(v, 4), 0);
	EXPECT_EQ(Valuta("_CENTRI3"), Costante(2 * (10 + 1) - 1000));
}

TEST_F(PianoBase, FaultsAreSaidAndFailTheEvaluation)
{
	Riga("A1", 1, 1);
	auto f = Motore();
	f->AttachFormula("_NONE");
	Anagrafica("NONE", 0);
	EXPECT_FALSE(f->Eval());
	EXPECT_EQ(Messaggi(), V{"Il simbolo NONE (piano base) modello MOD non e' presente in tabella simboli."});

	m_Messaggi.Clear();
	Simbolo("AGGREG", [](auto& s) { s.f_AggregFunction = DataEnum(E_KVZ_AGGREGFUNCTION, 9); });
	Simbolo("NESSUNO", [](auto& s) { s.f_SelSaldo = FALSE; });
	f->AttachFormula("_AGGREG");
	EXPECT_FALSE(f->Eval());
	f->AttachFormula("_NESSUNO");
	EXPECT_FALSE(f->Eval());
	EXPECT_EQ(Messaggi(), (V{"Il simbolo AGGREG (piano base) modello MOD: funzione di aggregazione 9 non prevista.",
							 "Il simbolo NESSUNO (piano base) modello MOD: nessun importo scelto (saldo, rateo o "
							 "totale assestato)."}));
	// In a mode that says which amount, the symbol needs no choice of its own.
	f = Motore(12, 1);
	f->AttachFormula("_NESSUNO");
	EXPECT_TRUE(f->Eval());

	// A failing query fails the evaluation, never a half-valued symbol taken as good.
	m_pConn->ExecuteSQL("DROP TABLE Kvz_PianoBaseR");
	f = Motore();
	Simbolo("ROTTO");
	f->AttachFormula("_ROTTO");
	EXPECT_FALSE(f->Eval());
	EXPECT_EQ(Mesi(*f), Costante(0));
}

TEST_F(PianoBase, ValuesAreReadOncePerRunAlsoByNestedEngines)
{
	Riga("A1", 1, 4);
	Simbolo("P");
	Calcolo::Riga("X", 1, "_P * 10");
	SimboloRiclass("R", "X", "X");
	auto f = Motore();
	f->AttachFormula("_P + _R");
	ASSERT_TRUE(f->Eval());
	EXPECT_EQ(Mesi(*f), Mese(1, 44));
	// The run does not write the base plan: the engine answers from what it read.
	m_pConn->ExecuteSQL("UPDATE Kvz_PianoBaseR SET SaldoContabile = 5");
	f->AttachFormula("_P + _R + _P");
	ASSERT_TRUE(f->Eval());
	EXPECT_EQ(Mesi(*f), Mese(1, 48));
	f->SvuotaCachePianoBase();
	ASSERT_TRUE(f->Eval());
	EXPECT_EQ(Mesi(*f), Mese(1, 60));
}

TEST_F(PianoBase, AnotherCompanysRowsAggregatedHereInMonthOrder)
{
	for (auto [codice, file] : {std::pair{"ALTRA", "altra"}, std::pair{"ROTTA", "manca"}})
	{
		Kvz_TAziende a;
		a.f_Azienda = codice;
		a.f_DataSource = file;
		InsertRow(a);
	}
	auto altra = OtherCompany("altra.db");
	// Out of month order; month 3 all negative; a row of this company is never read.
	const std::tuple<const char*, int, double, const char*> righe[] = {
		{"A1", 3, -5, ""}, {"A1", 2, 4, ""}, {"A2", 2, 6, ""}, {"A1", 3, -1, ""}, {"A1", 2, 50, "CDC1"}};
	for (auto [conto, mese, saldo, cdc] : righe)
	{
		Kvz_TPBaseR_Ext r(altra.get());
		r.f_IDPianoBase = ++m_nId;
		r.f_Mese = mese;
		r.f_ContoKvz = conto;
		r.f_CentroCommessa = cdc;
		r.f_TipoCentroComm = static_cast<long>(DataEnum(E_KVZ_TIPOCENTROCOMM, 0).GetValue());
		r.f_Esercizio = kAnno;
		r.f_SaldoContabile = saldo;
		InsertRow(r);
	}
	Riga("A1", 2, 1000);
	struct Caso
	{
		const char* nome;
		WORD aggreg;
		double m2, m3;
	} casi[] = {{"XSOMMA", 0, 4, -6}, {"XMEDIA", 1, 4, -3}, {"XCONTA", 2, 1, 2}, {"XMAX", 3, 4, -1}, {"XMIN", 4, 4, -5}};
	for (const Caso& c : casi)
	{
		Simbolo(c.nome, [&](auto& s) { s.f_AggregFunction = DataEnum(E_KVZ_AGGREGFUNCTION, c.aggreg); }, "ALTRA");
		std::vector<double> atteso(12, 0.0);
		atteso[1] = c.m2;
		atteso[2] = c.m3;
		EXPECT_EQ(Valuta(CString("_") + c.nome), atteso) << c.nome;
	}
	Simbolo("XMESE3", [](auto& s) {
		s.f_ValDaMeseConst = s.f_ValAMeseConst = TRUE;
		s.f_ValDaMese = s.f_ValAMese = 3;
	}, "ALTRA");
	EXPECT_EQ(Valuta("_XMESE3"), Costante(-6));

	// A list: the current company's entries, the other company's rows, with their signs.
	Simbolo("XLISTA", [](auto& s) {
		s.f_TipoOpeConto = DataEnum(E_KVZ_TIPOOPECONTO, 8);
		s.f_WhereConto = TRUE;
	}, "ALTRA");
	Voce("XLISTA", "A1", 0);
	Voce("XLISTA", "A2", 1);
	Voce("XLISTA", "A1", 1, "CDC1");
	auto v = Valuta("_XLISTA");
	EXPECT_EQ(M(v, 2), 4 - 6 - 50);
	EXPECT_EQ(M(v, 3), -6);
	EXPECT_EQ(M(v, 4), 0);
	// Of one month: that month of every entry in all twelve.
	Simbolo("XLISTA2", [](auto& s) {
		s.f_TipoOpeConto = DataEnum(E_KVZ_TIPOOPECONTO, 8);
		s.f_WhereConto = TRUE;
		s.f_ValDaMeseConst = s.f_ValAMeseConst = TRUE;
		s.f_ValDaMese = s.f_ValAMese = 2;
	}, "ALTRA");
	Voce("XLISTA2", "A1", 0);
	Voce("XLISTA2", "A2", 1);
	Voce("XLISTA2", "A1", 1, "CDC1");
	EXPECT_EQ(Valuta("_XLISTA2"), Costante(4 - 6 - 50));
	EXPECT_TRUE(Messaggi().empty());

	// A nested engine uses the connection its top engine opened: with the company gone
	// from the register since, the nested symbol still reads it.
	Simbolo("XANNIDATO", [](auto& s) { s.f_ValDaConto = "A2"; }, "ALTRA");
	Calcolo::Riga("X", 1, "_XANNIDATO");
	SimboloRiclass("R", "X", "X");
	auto g = Motore();
	g->AttachFormula("_XSOMMA");
	ASSERT_TRUE(g->Eval());
	m_pConn->ExecuteSQL("DELETE FROM Kvz_Aziende WHERE Azienda = 'ALTRA'");
	g->AttachFormula("_R");
	ASSERT_TRUE(g->Eval());
	EXPECT_EQ(M(Mesi(*g), 2), 6);
	EXPECT_TRUE(Messaggi().empty());

	// An unreachable company: its connection said once, and the formula cannot be evaluated.
	Simbolo("XROTTO", {}, "ROTTA");
	auto f = Motore();
	f->AttachFormula("_XROTTO + _XROTTO + 1");
	EXPECT_FALSE(f->Eval());
	EXPECT_EQ(Messaggi(), (V{"Connessione al database esterno ROTTA fallita.",
							 "Il simbolo XROTTO legge l'azienda ROTTA, il cui database non si può aprire."}));
}

}  // namespace

// A company list that names this company's own database reaches it through the company's own
// connection: inside an open transaction its rows not yet committed are read, with no wait.
TEST_F(PianoBase, AnotherCompanyThatIsThisOneIsReadInsideTheOpenTransaction)
{
	Kvz_TAziende a;
	a.f_Azienda = "SE";
	a.f_DataSource = "azienda";
	InsertRow(a);
	Simbolo("XSE", {}, "SE");
	m_pConn->BeginTransaction();
	Riga("A1", 2, 40);
	const auto inizio = std::chrono::steady_clock::now();
	auto v = Valuta("_XSE");
	EXPECT_LT(std::chrono::steady_clock::now() - inizio, std::chrono::seconds(2));
	EXPECT_EQ(M(v, 2), 40);
	EXPECT_TRUE(Messaggi().empty());
	EXPECT_TRUE(m_pConn->IsInTransaction());
	m_pConn->RollbackTransaction();
}

TEST_F(PianoBase, StableDefinitionsAreReadOncePerEngine)
{
	Riga("A1", 1, 10);
	Riga("B1", 1, 7);
	Simbolo("S");
	for (BOOL bStabili : {FALSE, TRUE})
	{
		SCOPED_TRACE(bStabili);
		m_pConn->ExecuteSQL("UPDATE Kvz_SimboliPianoBase SET ValDaConto = 'A1'");
		auto f = Motore(1);
		f->SetDefinizioniStabili(bStabili);
		f->AttachFormula("_S + _NOME");
		EXPECT_FALSE(f->Eval());  // a name not in the registry, said at each evaluation
		f->AttachFormula("_S");
		ASSERT_TRUE(f->Eval());
		EXPECT_EQ(f->GetResult(0).GetValue(), 10.0);
		// A definition changed while the engine lives: read again only when not stable.
		m_pConn->ExecuteSQL("UPDATE Kvz_SimboliPianoBase SET ValDaConto = 'B1'");
		f->SvuotaCachePianoBase();
		ASSERT_TRUE(f->Eval());
		EXPECT_EQ(f->GetResult(0).GetValue(), bStabili ? 10.0 : 7.0);
		f->AttachFormula("_NOME");
		EXPECT_FALSE(f->Eval());
	}
	long detti = 0;
	for (const CString& m : Messaggi())
		detti += m.Find("NOME") >= 0;
	EXPECT_EQ(detti, 4);
}
