// The budget document and the budget selection driven as a user drives their forms: the split of
// the totals, the checks at saving, the financial budget, the carrying of a budget to the parent
// accounts and to the cost centres, and the selection that opens budgets.
#include <cstring>
#include <map>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TParametri.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CBudgetDoc.h"
#include "kvznet/kvzmod/kvzdocuments/formule/Kvz_CFormulaDoc.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CSelezBudgetDoc.h"
#include "kvznet/kvzmod/kvzdocuments/tests/KvzDocumentsFixture.h"
#include "platform/erp/erpsetup/CompanySetup.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvges/ADMObj.h"
#include "platform/plvges/FormDriver.h"
#include "platform/plvoledb/driver/Driver.h"

namespace {

const char* const kRighe = "Righe budget";
const char* const kFinanz = "Righe budget finanziario";

template <class Rec>
void Inserisci(Rec& rec)
{
	SqlTable t(&rec);
	t.Open(TRUE);
	t.AddNew(FALSE);
	t.Update();
}

// The six amounts of a financial row.
struct Finanz
{
	double importo = 0, imposta = 0, importoAP = 0, impostaAP = 0, importoAS = 0, impostaAS = 0;
	bool operator==(const Finanz&) const = default;
};

class BudgetDoc : public KvzDocumentsLibrary
{
protected:
	void SetUp() override
	{
		KvzDocumentsLibrary::SetUp();
		erp::SetupCompanyDatabase(*m_pConn);
		m_Manager.SetADMInterfaceQuery(&QueryADM);
		AfxSetApplicationDate(DataDate(15, 3, 2026));
		for (int anno : {2025, 2026})
		{
			Conto(anno, "20", "", "Acquisti", 3);
			Conto(anno, "2001", "20", "Materie prime", 3);
			Conto(anno, "2001001", "2001", "Acciaio", 3);
			Conto(anno, "30", "", "Ricavi", 4);
		}
		CdcComm(2026, "2001001", "PRD", "Produzione", 0, 25);
		CdcComm(2026, "2001001", "QUA", "Qualita'", 0, 0);
		Parametri(0);
		Sql("INSERT INTO Erp_TaxCodes (TaxCode, Description, Perc) VALUES ('22', 'Ordinaria', 22)");
		Sql("INSERT INTO Erp_PaymentTerms (Code, Description, NoOfInstalments, DaysToFirstInstalment, "
			"DaysBetweenInstalments, EndOfMonth, AmountsSplit, TaxOnFirstInstalment) "
			"VALUES ('RB90', 'Ri.Ba. 90 gg fm', 1, 90, 0, 1, 0, 0), ('R2', 'Due rate', 2, 30, 30, 0, 0, 0)");
	}

	void Sql(const char* sql) { m_pConn->Db().Prepare(sql)->Step(); }

	void Conto(int anno, const char* conto, const char* padre, const char* descrizione, WORD mastro)
	{
		Kvz_TAnagContiKvz c;
		c.f_Esercizio = anno;
		c.f_ContoKvz = conto;
		c.f_ContoKvzPadre = padre;
		c.f_Descrizione = descrizione;
		c.f_TipoMastro = DataEnum(E_TIPOMASTRO, mastro);
		c.f_TipoConto = DataEnum(E_TIPOCONTO, 0);
		Inserisci(c);
	}
	void CdcComm(int anno, const char* conto, const char* codice, const char* descrizione, WORD tipo, double perc)
	{
		Kvz_TCentriCommesseContiKvz c;
		c.f_Esercizio = anno;
		c.f_ContoKvz = conto;
		c.f_CentroCommessa = codice;
		c.f_Descrizione = descrizione;
		c.f_Tipo = DataEnum(E_KVZ_TIPOCENTROCOMM, tipo);
		c.f_PercRipartizioneBudget = perc;
		Inserisci(c);
	}
	void Parametri(WORD pagamentoIva)
	{
		Sql("DELETE FROM Kvz_Parametri");
		Kvz_TParametri p;
		p.f_IDParam = 1;
		p.f_PagamentoIVA = DataEnum(E_PAGAMENTOIVA, pagamentoIva);
		Inserisci(p);
	}

	Kvz_CBudgetDoc* Doc(FormDriver& form) { return static_cast<Kvz_CBudgetDoc*>(form.GetDocument()); }
	FormDriver Apri()
	{
		auto* pDoc = Open<Kvz_CBudgetDoc>("DBudget");
		EXPECT_NE(pDoc, nullptr);
		return FormDriver(pDoc);
	}
	// A new budget of the account with the monthly amounts given (months 1 ..).
	void Nuovo(FormDriver& form, const char* conto, const std::vector<double>& importi = {}, const char* cdc = nullptr)
	{
		ASSERT_TRUE(form.New());
		ASSERT_TRUE(form.Type("Conto raggruppato", conto)) << form.GetLastError();
		if (cdc)
		{
			ASSERT_TRUE(form.Type("Centro/commessa", cdc)) << form.GetLastError();
		}
		for (size_t i = 0; i < importi.size(); ++i)
			ASSERT_TRUE(form.TypeCell(kRighe, int(i), "Importo", CString::Formatted("%.2f", importi[i])));
	}
	Kvz_TEnhBudgetRighe* Riga(FormDriver& form, int nMese) { return Doc(form)->m_pDBTBudgetRighe->GetRigaMese(nMese); }
	Kvz_TEnhBudgetFinanzRighe* RigaFin(FormDriver& form, int nMese)
	{
		return Doc(form)->m_pDBTBudgetFinanzRighe->GetRigaMese(nMese);
	}

	double Valore(const std::string& sql)
	{
		auto st = m_pConn->Db().Prepare(sql);
		if (!st->Step())
			return -1;
		const plv::db::Value v = st->Column(0);
		if (std::holds_alternative<double>(v))
			return std::get<double>(v);
		return std::holds_alternative<std::int64_t>(v) ? double(std::get<std::int64_t>(v)) : -1;
	}
	long IdBudget(const char* conto, const char* cdc = "", int anno = 2026)
	{
		return long(Valore(CString::Formatted("SELECT IDBudget FROM Kvz_BudgetT WHERE Esercizio = %d AND ContoKvz = '%s' "
											  "AND CentroCommessa = '%s'",
											  anno, conto, cdc)
							   .GetString()));
	}
	// The monthly amounts of the budget (0 for no such budget).
	std::vector<double> Mesi(const char* conto, const char* cdc = "")
	{
		std::vector<double> mesi;
		auto st = m_pConn->Db().Prepare(
			CString::Formatted("SELECT r.ImportoMese FROM Kvz_BudgetR r JOIN Kvz_BudgetT t ON t.IDBudget = r.IDBudget "
							   "WHERE t.ContoKvz = '%s' AND t.CentroCommessa = '%s' AND t.Esercizio = 2026 ORDER BY r.Mese",
							   conto, cdc)
				.GetString());
		while (st->Step())
			mesi.push_back(std::get<double>(st->Column(0)));
		return mesi;
	}
	std::map<int, Finanz> Finanziario(const char* conto, const char* cdc = "")
	{
		std::map<int, Finanz> righe;
		auto st = m_pConn->Db().Prepare(
			CString::Formatted("SELECT r.Mese, r.ImportoMese, r.ImpostaMese, r.ImportoMeseAnnoPrec, r.ImpostaMeseAnnoPrec, "
							   "r.ImportoMeseAnnoSucc, r.ImpostaMeseAnnoSucc FROM Kvz_BudgetFinanzR r JOIN Kvz_BudgetT t "
							   "ON t.IDBudgetFinanz = r.IDBudgetFinanz WHERE t.ContoKvz = '%s' AND t.CentroCommessa = '%s' "
							   "AND t.Esercizio = 2026",
							   conto, cdc)
				.GetString());
		auto num = [&](int i) {
			const plv::db::Value v = st->Column(i);
			return std::holds_alternative<double>(v) ? std::get<double>(v) : double(std::get<std::int64_t>(v));
		};
		while (st->Step())
			righe[int(num(0))] = {num(1), num(2), num(3), num(4), num(5), num(6)};
		return righe;
	}
};

}  // namespace

TEST(Kvz_RangeMesi, MonthsOfARangeText)
{
	const struct
	{
		const char* testo;
		bool valido;
		std::vector<int> mesi;
	} casi[] = {
		{"1-3, 7", true, {1, 2, 3, 7}},
		{"1-3,7 10-12", true, {1, 2, 3, 7, 10, 11, 12}},
		{"5-2", true, {}},
		{"13", true, {}},
		{",,", true, {}},  // month 0 only, which counts for nothing
		{"1--3", true, {1, 2, 3}},
		{"99999999999999999999", true, {}},  // too long for an int: out of range, not wrapped
		{"1-99999999999999999999", true, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
		{"1;3", false, {}},
		{";", false, {}},
	};
	for (const auto& c : casi)
	{
		SCOPED_TRACE(c.testo);
		const Kvz_RangeMesi range = Kvz_LeggiRangeMesi(c.testo);
		EXPECT_EQ(range.valido, c.valido);
		std::vector<int> mesi;
		for (int m = 1; m <= 12; ++m)
			if (range.mesi[m])
				mesi.push_back(m);
		EXPECT_EQ(mesi, c.mesi);
		EXPECT_EQ(range.Conta(), int(c.mesi.size()));
	}
}

TEST_F(BudgetDoc, SplitPerTotalPerRangeAndPerQuarterIsNotRounded)
{
	FormDriver form = Apri();
	Nuovo(form, "2001001");
	EXPECT_EQ(form.RowCount(kRighe), 12);
	EXPECT_EQ(form.Text("Esercizio"), "2026");
	EXPECT_EQ(form.Text("BDG_CONTO_DESCRI"), "Acciaio");
	ASSERT_TRUE(form.Type("Totale budget", "1000")) << form.GetLastError();
	ASSERT_TRUE(form.Press("BDG_RIPARTISCI")) << form.GetLastError();
	for (int m = 1; m <= 12; ++m)
		EXPECT_DOUBLE_EQ(Riga(form, m)->f_ImportoMese, 1000.0 / 12.0) << m;
	EXPECT_DOUBLE_EQ(Riga(form, 12)->l_ProgressivoImporto, 1000.0);

	ASSERT_TRUE(form.Type("Totale budget", "100"));
	ASSERT_TRUE(form.Type("BDG_RANGE", "1-3,7"));
	ASSERT_TRUE(form.Press("BDG_RIPARTISCI"));
	for (int m = 1; m <= 12; ++m)
		EXPECT_DOUBLE_EQ(Riga(form, m)->f_ImportoMese, m <= 3 || m == 7 ? 25.0 : 1000.0 / 12.0) << m;
	// Nothing of 13, a semicolon refused with no change.
	for (auto [range, refused] : {std::pair{"13", false}, {"1;3", true}})
	{
		m_Ui.Clear();
		ASSERT_TRUE(form.Type("BDG_RANGE", range));
		EXPECT_EQ(form.Press("BDG_RIPARTISCI"), !refused) << range;
		EXPECT_DOUBLE_EQ(Riga(form, 1)->f_ImportoMese, 25.0) << range;
		EXPECT_DOUBLE_EQ(Riga(form, 4)->f_ImportoMese, 1000.0 / 12.0) << range;
	}
	EXPECT_EQ(m_Ui.LastMessage(), "Il range indicato contiene caratteri non validi.");

	// Per quarter: the total and the range are cleared and closed, the quarters opened.
	ASSERT_TRUE(form.Press("BDG_PER_TRIMESTRE"));
	EXPECT_FALSE(form.IsEditable("Totale budget"));
	EXPECT_TRUE(form.IsEditable("2° trimestre"));
	EXPECT_EQ(form.Text("Totale budget"), "0.00");
	ASSERT_TRUE(form.Type("2° trimestre", "90"));
	ASSERT_TRUE(form.Press("BDG_RIPARTISCI"));
	for (int m = 1; m <= 12; ++m)
		EXPECT_DOUBLE_EQ(Riga(form, m)->f_ImportoMese, m >= 4 && m <= 6 ? 30.0 : 0.0) << m;
	// With the financial tab in front the split is closed.
	ASSERT_TRUE(form.ActivateTab("BDG_TABBER", "Budget finanziario"));
	EXPECT_FALSE(form.IsEditable("BDG_PER_TOTALE"));
	EXPECT_FALSE(form.IsEditable("BDG_RIPARTISCI"));
	EXPECT_FALSE(form.IsEditable("2° trimestre"));
}

TEST_F(BudgetDoc, ChecksAtSaving)
{
	FormDriver form = Apri();
	Nuovo(form, "2001001");
	ASSERT_TRUE(form.Press("BDG_PER_TRIMESTRE"));
	for (const char* trim : {"1° trimestre", "2° trimestre", "3° trimestre", "4° trimestre"})
		ASSERT_TRUE(form.Type(trim, "100"));
	for (int m = 1; m <= 12; ++m)
		Riga(form, m)->f_ImportoMese = 400.0 / 12.0;
	Riga(form, 12)->f_ImportoMese = Riga(form, 12)->f_ImportoMese - 0.01;
	EXPECT_FALSE(form.Save());
	EXPECT_EQ(m_Ui.LastMessage(), "Il totale dei mesi (399.99) non coincide con il totale della testa (400.00).");
	Riga(form, 12)->f_ImportoMese = 400.0 / 12.0;
	// A month out of range names its row.
	Riga(form, 5)->f_Mese = 13;
	EXPECT_FALSE(form.Save());
	EXPECT_EQ(m_Ui.LastMessage(), "Il mese indicato alla riga 5 non e' valido.");
	// Nor is a financial budget built over it.
	m_Ui.Clear();
	form.Press("CREA_BUDGET_FINANZ");
	EXPECT_EQ(m_Ui.LastMessage(), "Il mese indicato alla riga 5 non e' valido.");
	EXPECT_EQ(AfxGetApplicationContext()->GetAssertionReports().size(), 0u);
	Riga(form, 13)->f_Mese = 5;
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage();

	// A second budget of the same year, account, type and cost centre: refused on insert only.
	Nuovo(form, "2001001", {50});
	EXPECT_FALSE(form.Save());
	EXPECT_EQ(m_Ui.LastMessage(), "Esiste gia' un budget di questo tipo legato a questo conto e centro/commessa.");
	ASSERT_TRUE(form.Escape());
	ASSERT_TRUE(form.First());
	ASSERT_TRUE(form.Edit());
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage();

	// A header total of 0 never fails the check.
	Nuovo(form, "30", {10, 20});
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage();
	EXPECT_EQ(Mesi("30")[1], 20.0);
}

TEST_F(BudgetDoc, VatFallsInItsSettlementMonthWithTheSignOfTheLedger)
{
	Conto(2026, "10", "", "Crediti", 1);
	const struct
	{
		WORD pagamentoIva;  // 0 monthly
		const char* conto;
		int mese;
		int meseIva;
		bool annoSucc;
		double segnoIva;
	} casi[] = {
		{0, "2001001", 3, 4, false, 1},  // a cost: VAT comes back
		{1, "2001001", 3, 5, false, 1},
		{1, "2001001", 11, 2, true, 1},  // fourth quarter: February of the next year
		{0, "2001001", 12, 1, true, 1},
		{0, "30", 3, 4, false, -1},  // a revenue: VAT goes out
		{0, "10", 3, 4, false, -1},  // ledger kind 1 signs as a revenue
	};
	for (const auto& c : casi)
	{
		SCOPED_TRACE(CString::Formatted("%s month %d, settlement %d", c.conto, c.mese, int(c.pagamentoIva)).GetString());
		Parametri(c.pagamentoIva);
		FormDriver form = Apri();
		Nuovo(form, c.conto);
		ASSERT_TRUE(form.TypeCell(kRighe, c.mese - 1, "Importo", "1000"));
		ASSERT_TRUE(form.TypeCell(kRighe, c.mese - 1, "CodiceIVA", "22")) << form.GetLastError();
		ASSERT_TRUE(form.Press("CREA_BUDGET_FINANZ")) << form.GetLastError();
		const double atteso = 220.0 * c.segnoIva;
		const Kvz_TEnhBudgetFinanzRighe* p = RigaFin(form, c.meseIva);
		EXPECT_DOUBLE_EQ(c.annoSucc ? p->f_ImpostaMeseAnnoSucc : p->f_ImpostaMese, atteso);
		EXPECT_DOUBLE_EQ(c.annoSucc ? p->f_ImpostaMese : p->f_ImpostaMeseAnnoSucc, 0.0);
		// No payment terms: the amount in its own month, as it stands.
		EXPECT_DOUBLE_EQ(RigaFin(form, c.mese)->f_ImportoMese, 1000.0);
		ASSERT_TRUE(form.Escape());
		ASSERT_TRUE(form.Close());
	}
}

TEST_F(BudgetDoc, InstalmentsByPaymentTermsWithTheSignOfTheLedger)
{
	Conto(2026, "10", "", "Crediti", 1);
	// Ledger kinds 1 and 4 collect, the others pay.
	const struct
	{
		const char* conto;
		double segno;
	} casi[] = {{"2001001", -1}, {"30", 1}, {"10", 1}};
	for (const auto& [conto, segno] : casi)
	{
		SCOPED_TRACE(conto);
		FormDriver form = Apri();
		Nuovo(form, conto);
		// December at 90 days end of month: March of the next year. October in two instalments.
		ASSERT_TRUE(form.TypeCell(kRighe, 11, "Importo", "300"));
		ASSERT_TRUE(form.TypeCell(kRighe, 11, "CondPagamento", "RB90")) << form.GetLastError();
		ASSERT_TRUE(form.TypeCell(kRighe, 9, "Importo", "100"));
		ASSERT_TRUE(form.TypeCell(kRighe, 9, "CondPagamento", "R2")) << form.GetLastError();
		EXPECT_EQ(form.Cell(kRighe, 9, "DescrizioneCondPag"), "Due rate");
		// The later row keeps its own terms; an earlier one has none.
		EXPECT_EQ(form.Cell(kRighe, 11, "CondPagamento"), "RB90");
		EXPECT_EQ(form.Cell(kRighe, 10, "CondPagamento"), "R2");
		EXPECT_EQ(form.Cell(kRighe, 8, "CondPagamento"), "");
		ASSERT_TRUE(form.Press("CREA_BUDGET_FINANZ"));
		EXPECT_DOUBLE_EQ(RigaFin(form, 3)->f_ImportoMeseAnnoSucc, 300.0 * segno);
		EXPECT_DOUBLE_EQ(RigaFin(form, 12)->f_ImportoMese, 0.0);
		// 1 October + 30 and + 60 days.
		EXPECT_DOUBLE_EQ(RigaFin(form, 10)->f_ImportoMese, 50.0 * segno);
		EXPECT_DOUBLE_EQ(RigaFin(form, 11)->f_ImportoMese, 50.0 * segno);
		ASSERT_TRUE(form.Escape());
		ASSERT_TRUE(form.Close());
	}
}

TEST_F(BudgetDoc, TheFinancialBudgetRebuiltAndSavedTwiceKeepsItsAmountsAndTakesThePriorYear)
{
	// The prior year's budget leaves 50 of its payments for this March.
	Sql("INSERT INTO Kvz_BudgetFinanzT (IDBudgetFinanz, Esercizio, ContoKvz, CentroCommessa, TipoBudget) "
		"VALUES (900, 2025, '2001001', '', 983302144)");
	Sql("INSERT INTO Kvz_BudgetFinanzR (IDBudgetFinanz, Mese, ImportoMeseAnnoSucc, ImpostaMeseAnnoSucc) "
		"VALUES (900, 3, 50, 11)");
	FormDriver form = Apri();
	Nuovo(form, "2001001", {0, 0, 1000});
	ASSERT_TRUE(form.TypeCell(kRighe, 2, "CodiceIVA", "22"));
	ASSERT_TRUE(form.Press("CREA_BUDGET_FINANZ"));
	ASSERT_TRUE(form.Press("CREA_BUDGET_FINANZ"));
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage();
	const std::map<int, Finanz> primo = Finanziario("2001001");
	ASSERT_EQ(primo.size(), 12u);
	// Without payment terms the amount stands as entered.
	EXPECT_EQ(primo.at(3), (Finanz{1000, 0, 50, 11, 0, 0}));
	EXPECT_EQ(primo.at(4), (Finanz{0, 220, 0, 0, 0, 0}));
	for (int i = 0; i < 2; ++i)
	{
		ASSERT_TRUE(form.Edit());
		ASSERT_TRUE(form.Save()) << m_Ui.LastMessage();
		EXPECT_EQ(Finanziario("2001001"), primo) << i;
	}
	// The prior year counts in the row's total, not in the budget's.
	EXPECT_DOUBLE_EQ(RigaFin(form, 3)->l_TotaleRiga, 1050.0);
	EXPECT_EQ(form.Text("BDG_FIN_TOTALE"), "1220.00");
	EXPECT_EQ(form.Text("BDG_FIN_TOT_TRIM1"), "1000.00");
	// PRD's share has a financial header of its own under the same account and year.
	EXPECT_DOUBLE_EQ(Valore("SELECT TotBudget FROM Kvz_BudgetFinanzT WHERE ContoKvz = '2001001' AND Esercizio = 2026 "
							"AND CentroCommessa = ''"),
					 1220.0);
	// Both parents carry it once.
	EXPECT_EQ(Finanziario("2001").at(3), (Finanz{1000, 0, 50, 11, 0, 0}));
	EXPECT_EQ(Finanziario("20").at(4), (Finanz{0, 220, 0, 0, 0, 0}));
}

TEST_F(BudgetDoc, CostCentresTakeTheirShareOfTheAccountsBudget)
{
	FormDriver form = Apri();
	Nuovo(form, "2001001");
	ASSERT_TRUE(form.Type("Totale budget", "1200"));
	ASSERT_TRUE(form.Press("BDG_RIPARTISCI"));
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage();
	EXPECT_EQ(Mesi("2001001", "PRD"), std::vector<double>(12, 25.0));
	EXPECT_DOUBLE_EQ(Valore("SELECT TotBudget FROM Kvz_BudgetT WHERE CentroCommessa = 'PRD'"), 300.0);
	EXPECT_EQ(Valore("SELECT TipoCentroComm FROM Kvz_BudgetT WHERE CentroCommessa = 'PRD'"),
			  Valore("SELECT TipoCentroComm FROM Kvz_BudgetT WHERE CentroCommessa = ''") );
	EXPECT_EQ(IdBudget("2001001", "QUA"), -1);  // 0 %: no budget
	// Saved again with another total: the centre follows, scaled.
	ASSERT_TRUE(form.Edit());
	ASSERT_TRUE(form.Type("Totale budget", "2400"));
	ASSERT_TRUE(form.Press("BDG_RIPARTISCI"));
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage();
	EXPECT_EQ(Mesi("2001001", "PRD"), std::vector<double>(12, 50.0));
	EXPECT_DOUBLE_EQ(Valore("SELECT COUNT(*) FROM Kvz_BudgetT WHERE CentroCommessa = 'PRD'"), 1.0);
}

TEST_F(BudgetDoc, AChangeReachesParentAndGrandparentOnceInTheSavesTransaction)
{
	FormDriver form = Apri();
	Nuovo(form, "2001001", {0, 0, 100});
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage();
	EXPECT_EQ(Mesi("2001")[2], 100.0);
	EXPECT_EQ(Mesi("20")[2], 100.0);

	// The grandparent's budget is being edited elsewhere: the save is refused and the parent
	// keeps what it had.
	CBaseDocument altrove;
	Jex_TUBudgetTesta blocco(&altrove);
	ASSERT_EQ(blocco.FindRecord(DataLng(IdBudget("20")), TRUE), TableReader::FOUND);
	ASSERT_TRUE(form.Edit());
	ASSERT_TRUE(form.TypeCell(kRighe, 2, "Importo", "150"));
	EXPECT_FALSE(form.Save());
	EXPECT_EQ(Mesi("2001")[2], 100.0);
	EXPECT_EQ(Mesi("2001001")[2], 100.0);
	blocco.Free();
	// Saved again, the 50 arrive once.
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage();
	EXPECT_EQ(Mesi("2001001")[2], 150.0);
	EXPECT_EQ(Mesi("2001")[2], 150.0);
	EXPECT_EQ(Mesi("20")[2], 150.0);
	ASSERT_TRUE(form.Edit());
	ASSERT_TRUE(form.Save());
	EXPECT_EQ(Mesi("20")[2], 150.0);

	// A cost centre's budget goes first to its own account's budget.
	Nuovo(form, "2001001", {0, 0, 7}, "QUA");
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage();
	EXPECT_EQ(Mesi("2001001")[2], 157.0);
	EXPECT_EQ(Mesi("2001")[2], 157.0);
	EXPECT_EQ(Mesi("2001001", "QUA")[2], 7.0);
}

// Another user saved the account's budget after this one was opened: the save is refused and
// writes nothing, and the parents carry the other user's change once.
TEST_F(BudgetDoc, ASaveOverAnotherUsersChangeIsRefused)
{
	FormDriver form = Apri();
	Nuovo(form, "2001001", {0, 0, 100});
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage();
	ASSERT_TRUE(form.Edit());
	ASSERT_TRUE(form.TypeCell(kRighe, 2, "Importo", "150"));
	m_pConn->ExecuteSQL("UPDATE Kvz_BudgetR SET ImportoMese = ImportoMese + 500 WHERE Mese = 3");
	EXPECT_FALSE(form.Save());
	EXPECT_EQ(m_Ui.LastMessage(),
			  "Il budget del conto 2001001 e' stato modificato da un altro utente dopo l'apertura: riaprire il conto.");
	for (const char* conto : {"2001001", "2001", "20"})
		EXPECT_EQ(Mesi(conto)[2], 600.0) << conto;
}

TEST_F(BudgetDoc, TheSelectionOpensNewAndExistingBudgets)
{
	auto* pSel = Open<Kvz_CSelezBudgetDoc>("BDSelezBudget");
	ASSERT_NE(pSel, nullptr);
	FormDriver sel(pSel);
	EXPECT_EQ(sel.RowCount("Conti"), 4);
	ASSERT_TRUE(sel.Type("Descrizione", "Acciaio a budget"));
	ASSERT_TRUE(sel.SelectRow("Conti", 2));
	EXPECT_EQ(sel.Cell("Conti", 2, "ContoKvz"), "2001001");
	EXPECT_EQ(sel.RowCount("Centri commesse"), 2);
	EXPECT_EQ(sel.RowCount("Anteprima budget"), 0);

	// No budget yet: a new one from the selection.
	ASSERT_TRUE(sel.DoubleClick("Conti", 2));
	ASSERT_NE(pSel->m_pBudgetDoc, nullptr);
	FormDriver budget(pSel->m_pBudgetDoc);
	EXPECT_EQ(budget.Mode(), CBaseDocument::NEW);
	EXPECT_EQ(budget.Text("Conto raggruppato"), "2001001");
	EXPECT_EQ(budget.Text("BDG_CONTO_DESCRI"), "Acciaio");
	EXPECT_EQ(budget.Text("Descrizione"), "Acciaio a budget");
	EXPECT_EQ(budget.RowCount(kRighe), 12);
	EXPECT_FALSE(sel.SelectRow("Conti", 1));  // the selection waits for the budget
	ASSERT_TRUE(budget.Type("Totale budget", "120"));
	ASSERT_TRUE(budget.Press("BDG_RIPARTISCI"));
	ASSERT_TRUE(budget.Save()) << m_Ui.LastMessage();
	ASSERT_TRUE(budget.Close());
	EXPECT_EQ(pSel->m_pBudgetDoc, nullptr);
	EXPECT_EQ(sel.RowCount("Anteprima budget"), 12);
	EXPECT_EQ(sel.Cell("Anteprima budget", 0, "Importo"), "10.00");

	// A budget there: opened for editing.
	ASSERT_TRUE(sel.DoubleClick("Conti", 2));
	FormDriver esistente(pSel->m_pBudgetDoc);
	EXPECT_EQ(esistente.Mode(), CBaseDocument::EDIT);
	EXPECT_EQ(esistente.Text("Totale budget"), "120.00");
	ASSERT_TRUE(esistente.Escape());
	ASSERT_TRUE(esistente.Close());

	// A centre's split percentage is kept at once; the account's next save gives the centre its
	// share.
	ASSERT_TRUE(sel.TypeCell("Centri commesse", 1, "Ripartizione", "40")) << sel.GetLastError();
	EXPECT_DOUBLE_EQ(Valore("SELECT PercRipartizioneBudget FROM Kvz_CentriCommPianoConti WHERE CentroCommessa = 'QUA'"),
					 40.0);
	ASSERT_TRUE(sel.SelectRow("Conti", 2));
	ASSERT_TRUE(sel.DoubleClick("Conti", 2));
	FormDriver conto(pSel->m_pBudgetDoc);
	ASSERT_TRUE(conto.Save()) << m_Ui.LastMessage();
	ASSERT_TRUE(conto.Close());
	EXPECT_EQ(Mesi("2001001", "QUA")[0], 4.0);

	// The centre's budget opened from the selection does not touch the upper levels, and says so.
	ASSERT_TRUE(sel.SelectRow("Centri commesse", 1));
	EXPECT_EQ(sel.Cell("Anteprima budget", 0, "Importo"), "4.00");
	ASSERT_TRUE(sel.DoubleClick("Centri commesse", 1));
	FormDriver centro(pSel->m_pBudgetDoc);
	EXPECT_EQ(centro.Text("Centro/commessa"), "QUA");
	EXPECT_EQ(centro.Mode(), CBaseDocument::EDIT);
	EXPECT_EQ(centro.Text("Totale budget"), "48.00");  // 40 % of the account's 120
	ASSERT_TRUE(centro.TypeCell(kRighe, 0, "Importo", "5"));
	ASSERT_TRUE(centro.Type("Totale budget", "49"));
	ASSERT_TRUE(centro.Save()) << m_Ui.LastMessage();
	EXPECT_NE(m_Ui.LastMessage().Find("non aggiorna i livelli superiori"), -1) << m_Ui.LastMessage();
	ASSERT_TRUE(centro.Close());
	EXPECT_EQ(Mesi("2001001", "QUA")[0], 5.0);
	EXPECT_EQ(Mesi("2001001")[0], 10.0);
	EXPECT_EQ(Mesi("2001")[0], 10.0);
	// Clicking the account again previews its own budget.
	EXPECT_EQ(sel.Cell("Anteprima budget", 0, "Importo"), "5.00");
	ASSERT_TRUE(sel.SelectRow("Conti", 2));
	EXPECT_EQ(sel.Cell("Anteprima budget", 0, "Importo"), "10.00");

	// "<-": the accounts of the prior year, no centres.
	ASSERT_TRUE(sel.Press("<-"));
	EXPECT_EQ(sel.Text("Anno"), "2025");
	EXPECT_EQ(sel.RowCount("Conti"), 4);
	EXPECT_EQ(sel.RowCount("Centri commesse"), 0);
}

TEST_F(BudgetDoc, ThePriorYearsBudgetOpensInADocumentOfItsOwn)
{
	FormDriver form = Apri();
	Nuovo(form, "2001001", {10});
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage();
	const size_t aperti = m_Manager.GetOpenDocuments().size();
	ASSERT_TRUE(form.Press("Budget anno precedente"));
	EXPECT_EQ(m_Ui.LastMessage(), "Non e' stato definito il budget per l'anno precedente.");

	Sql("INSERT INTO Kvz_BudgetT (IDBudget, ContoKvz, TipoCentroComm, CentroCommessa, Esercizio, TipoBudget, Descrizione) "
		"VALUES (500, '2001001', 983629824, '', 2025, 983302144, 'Anno prima')");
	ASSERT_TRUE(form.Press("Budget anno precedente"));
	const std::vector<CBaseDocument*> docs = m_Manager.GetOpenDocuments();
	ASSERT_EQ(docs.size(), aperti + 2);
	FormDriver prec(docs.back());
	EXPECT_EQ(prec.Text("Esercizio"), "2025");
	EXPECT_EQ(prec.Text("Descrizione"), "Anno prima");
	EXPECT_EQ(form.Text("Esercizio"), "2026");
}

// The budget's formula is shown in the formula editor on a double-click; read-only here, the
// editor's OK leaves it as it was.
TEST_F(BudgetDoc, ADoubleClickOnTheFormulaOpensTheEditorOnIt)
{
	FormDriver form = Apri();
	Nuovo(form, "2001001", {10});
	static_cast<Kvz_TBudgetTesta*>(Doc(form)->GetMaster()->GetRecord())->f_Formula = "1 + 2";
	ASSERT_TRUE(form.DoubleClickControl("Formula")) << form.GetLastError();
	const std::vector<CBaseDocument*> docs = m_Manager.GetOpenDocuments();
	ASSERT_TRUE(docs.back()->IsKindOf(RUNTIME_CLASS(Kvz_CFormulaDoc)));
	FormDriver editore(docs.back());
	EXPECT_EQ(editore.Text("Formula :"), "1 + 2");
	ASSERT_TRUE(editore.Press("2"));
	ASSERT_TRUE(editore.Press("OK")) << editore.GetLastError();
	EXPECT_FALSE(AfxExistWebServiceStateObject(docs.back()));
	EXPECT_EQ(form.Text("Formula"), "1 + 2");
}

TEST_F(BudgetDoc, ANewBudgetWhoseDuplicateCannotBeLookedUpIsNotSaved)
{
	FormDriver form = Apri();
	Nuovo(form, "30", {10});
	Sql("ALTER TABLE Kvz_BudgetT RENAME TO Kvz_BudgetT_altrove");
	EXPECT_FALSE(form.Save());
	EXPECT_EQ(m_Ui.LastMessage(), "Impossibile verificare se il budget esiste gia': non salvato.");
	EXPECT_EQ(form.Mode(), CBaseDocument::NEW);
	Sql("ALTER TABLE Kvz_BudgetT_altrove RENAME TO Kvz_BudgetT");
	EXPECT_EQ(Valore("SELECT COUNT(*) FROM Kvz_BudgetR"), 0.0);
	ASSERT_TRUE(form.Save()) << m_Ui.LastMessage();
	EXPECT_EQ(Mesi("30")[0], 10.0);
}
