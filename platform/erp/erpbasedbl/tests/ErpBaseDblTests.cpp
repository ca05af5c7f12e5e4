#include "platform/erp/erpbasedbl/ErpBaseDblTables.h"
#include "platform/erp/erpbasedbl/tests/ErpFixture.h"
#include "platform/plvgeneric/EnumTexts.h"

namespace {
using V = std::vector<CString>;

class BaseDbl : public ErpCompanyDb
{
protected:
	void RegisterTables(SqlConnection& connection) override { ASSERT_TRUE(erp::RegisterBaseTables(connection)); }

	void Ledger(const char* code, const char* description, WORD type)
	{
		TLedgers r;
		r.f_Ledger = code;
		r.f_Description = description;
		r.f_LedgerType = DataEnum(E_LEDGERTYPE, type);
		InsertRow(r);
	}

	void Account(const char* code, const char* description, BOOL bBalances = TRUE)
	{
		TChartOfAccounts r;
		r.f_Account = code;
		r.f_Description = description;
		r.f_Ledger = CString(code).Left(2);
		r.f_CarriesBalances = bBalances;
		InsertRow(r);
	}

	// A small chart: assets, liabilities, costs and revenues.
	void SmallChart()
	{
		Ledger("05", "Crediti verso clienti", LEDGER_ASSETS);
		Ledger("14", "Debiti verso fornitori", LEDGER_LIABILITIES);
		Ledger("21", "Costi per servizi", LEDGER_COSTS);
		Ledger("30", "Ricavi delle vendite", LEDGER_REVENUES);
		Account("05", "Crediti verso clienti", FALSE);
		Account("0501", "Clienti Italia", FALSE);
		Account("0501001", "Rossi S.p.A.");
		Account("0501002", "Bianchi S.r.l.");
		Account("1401001", "Fornitore Verdi");
		Account("2101001", "Consulenze amministrative");
		Account("2101002", "Energia elettrica");
		Account("3001001", "Ricavi vendite Italia");
	}
};
}  // namespace

TEST_F(BaseDbl, TablesAndEnumerationTexts)
{
	for (const char* table : {"Erp_ChartOfAccounts", "Erp_ChartOfAccountParameters", "Erp_Ledgers", "Erp_FiscalYears",
							  "Erp_TaxCodes", "Erp_PaymentTerms"})
	{
		const CatalogEntry* e = m_pConn->GetCatalogEntry(table);
		ASSERT_NE(e, nullptr) << table;
		EXPECT_EQ(e->ns.GetPathName(), CString("Erp.Base.ErpBaseDbl.") + table);
	}
	EXPECT_TRUE(erp::RegisterBaseTables(*m_pConn));  // again: nothing changes
	EXPECT_EQ(TChartOfAccounts().GetPrimaryKey(), V{"Account"});

	const std::pair<DataEnum, const char*> texts[] = {
		{DataEnum(E_ACCOUNTTYPE, 0), "Economico"},    {DataEnum(E_ACCOUNTTYPE, 1), "Patrimoniale"},
		{DataEnum(E_LEDGERNATURE, 4), "Ricavi"},      {DataEnum(E_LEDGERTYPE, 0), "Attività"},
		{DataEnum(E_VATPAYMENT, 0), "Mensile"},       {DataEnum(E_READINGBASIS, 1), "Anagrafica conti raggruppati"},
		{DataEnum(E_DEBITCREDIT, 1), "Avere"},        {DataEnum(E_BALANCETYPE, 1), "Previsionale"},
		{DataEnum(E_COSTACCENTRYTYPE, 2), "Previsionale"},
	};
	for (auto& [value, text] : texts)
		EXPECT_EQ(value.FormatData(), text) << value.GetValue();
	EXPECT_EQ(AfxGetEnumItems(E_LEDGERTYPE).size(), 6u);
	EXPECT_EQ(TLedgers().f_LedgerType.GetValue(), 0x2E0000u);
}

TEST_F(BaseDbl, ChartOfAccountsByExactCodeAndPattern)
{
	SmallChart();
	TRChartOfAccounts reader;
	ASSERT_EQ(reader.FindRecord(DataStr("0501001")), TableReader::FOUND);
	EXPECT_EQ(reader.GetRecord()->f_Description.GetString(), "Rossi S.p.A.");
	EXPECT_EQ(reader.GetRecord()->f_Ledger.GetString(), "05");
	EXPECT_TRUE(reader.GetRecord()->f_CarriesBalances);
	EXPECT_EQ(reader.FindRecord(DataStr("0501")), TableReader::FOUND);
	EXPECT_FALSE(reader.GetRecord()->f_CarriesBalances);
	EXPECT_EQ(reader.FindRecord(DataStr("0501009")), TableReader::NOT_FOUND);
	EXPECT_TRUE(reader.GetRecord()->f_Description.IsEmpty());

	HKLChartOfAccounts hkl;
	EXPECT_EQ(hkl.GetAddOnFlyNamespace(), "Base.ErpBaseDocuments.DChartOfAccountsAddOnFly");
	struct Case
	{
		int type;
		const char* pattern;
		V codes;
	} cases[] = {
		{HotKeyLink::UPPER_BUTTON, "0501", {"0501", "0501001", "0501002"}},
		{HotKeyLink::UPPER_BUTTON, "21", {"2101001", "2101002"}},
		{HotKeyLink::UPPER_BUTTON, "9", {}},
		{HotKeyLink::LOWER_BUTTON, "c", {"0501", "2101001", "05"}},  // by description
		{HotKeyLink::COMBO_ACCESS, "", {"05", "0501", "0501001", "0501002", "1401001", "2101001", "2101002", "3001001"}},
	};
	for (const Case& c : cases)
		EXPECT_EQ(Listed(hkl, c.type, c.pattern), c.codes) << c.type << " " << c.pattern;

	DataStr code("2101002");
	ASSERT_TRUE(hkl.FindRecord(&code));
	EXPECT_EQ(hkl.GetDescription(), "Energia elettrica");
	EXPECT_EQ(hkl.GetRecord()->f_Account.GetString(), "2101002");
	code = "21010";  // a pattern is no code
	EXPECT_FALSE(hkl.FindRecord(&code));
	EXPECT_EQ(hkl.GetDescription(), "");
}

TEST_F(BaseDbl, AccountsByLedgerType)
{
	SmallChart();
	HKLChartOfAccountsByLedgerType hkl;
	EXPECT_EQ(Listed(hkl, HotKeyLink::UPPER_BUTTON, "").size(), 8u);
	hkl.SetLedgerTypeSelection(HKLChartOfAccountsByLedgerType::BALANCE_SHEET);
	EXPECT_EQ(Listed(hkl, HotKeyLink::UPPER_BUTTON, ""), (V{"05", "0501", "0501001", "0501002", "1401001"}));
	EXPECT_EQ(Listed(hkl, HotKeyLink::LOWER_BUTTON, "f"), (V{"1401001"}));
	hkl.SetLedgerTypeSelection(HKLChartOfAccountsByLedgerType::INCOME_STATEMENT);
	EXPECT_EQ(Listed(hkl, HotKeyLink::COMBO_ACCESS, ""), (V{"2101001", "2101002", "3001001"}));

	// The exact code is found whatever its ledger and refused with the reason.
	hkl.MustExistData(TRUE);
	DataStr code("0501001");
	EXPECT_FALSE(hkl.ValidateValue(&code));
	EXPECT_EQ(hkl.GetErrorString(), "Il conto indicato non appartiene a un mastro economico.");
	code = "3001001";
	EXPECT_TRUE(hkl.ValidateValue(&code));
	hkl.SetLedgerTypeSelection(HKLChartOfAccountsByLedgerType::BALANCE_SHEET);
	EXPECT_FALSE(hkl.ValidateValue(&code));
	EXPECT_EQ(hkl.GetErrorString(), "Il conto indicato non appartiene a un mastro patrimoniale.");
	code = "0599999";
	EXPECT_FALSE(hkl.ValidateValue(&code));
	EXPECT_EQ(hkl.GetErrorString(), "Il codice '0599999' non esiste.");

	TRLedgers ledgers;
	ASSERT_EQ(ledgers.FindRecord(DataStr("14")), TableReader::FOUND);
	EXPECT_EQ(ledgers.GetRecord()->f_LedgerType.GetItemValue(), LEDGER_LIABILITIES);
	EXPECT_TRUE(ledgers.GetRecord()->IsBalanceSheet());
	ASSERT_EQ(ledgers.FindRecord(DataStr("30")), TableReader::FOUND);
	EXPECT_FALSE(ledgers.GetRecord()->IsBalanceSheet());
}

TEST_F(BaseDbl, ChartOfAccountParameters)
{
	const TChartOfAccountParameters* p = AfxGetChartOfAccountsInfo()->GetChartOfAccountParameters();
	EXPECT_EQ(p->f_LedgerLength, 0);  // no row yet
	EXPECT_EQ(p->GetSegmentLength(1), 0);

	TChartOfAccountParameters r;
	r.f_LedgerLength = 2;
	r.f_NrOfSegments = 2;
	r.f_SegmentName[0] = "Conto";
	r.f_SegmentLength[0] = 2;
	r.f_SegmentName[1] = "Sottoconto";
	r.f_SegmentLength[1] = 3;
	InsertRow(r);
	p = AfxGetChartOfAccountsInfo()->GetChartOfAccountParameters();
	EXPECT_EQ(p->f_LedgerLength, 2);
	EXPECT_EQ(p->f_NrOfSegments, 2);
	EXPECT_EQ(p->GetSegmentName(2), "Sottoconto");
	EXPECT_EQ(p->GetSegmentLength(2), 3);
	EXPECT_EQ(p->GetSegmentLength(3), 0);
	EXPECT_EQ(p->GetSegmentLength(8), 0);
	EXPECT_EQ(p->GetColumnCount(), 16);
	const int levels[] = {2, 4, 7, 7};  // ledger, account, sub-account; no further segments
	for (int n = 1; n <= 4; ++n)
		EXPECT_EQ(p->GetLevelLength(n), levels[n - 1]) << n;
	EXPECT_EQ(p->GetLevelOf(4), 2);
	EXPECT_EQ(p->GetLevelOf(7), 3);  // the first level that long
	EXPECT_EQ(p->GetLevelOf(5), 0);

	TRChartOfAccountParameters reader;
	ASSERT_EQ(reader.FindRecord(), TableReader::FOUND);
	EXPECT_EQ(reader.GetRecord()->GetSegmentName(1), "Conto");
}

TEST_F(BaseDbl, FiscalYearsAndOpeningDates)
{
	// Fiscal years from July to June; the last one not opened yet.
	const struct
	{
		int year;
		DataDate start, end;
		BOOL opened;
	} years[] = {
		{2024, DataDate(1, 7, 2023), DataDate(30, 6, 2024), TRUE},
		{2025, DataDate(1, 7, 2024), DataDate(30, 6, 2025), TRUE},
		{2026, DataDate(1, 7, 2025), DataDate(30, 6, 2026), FALSE},
	};
	for (auto& y : years)
	{
		TCompanyFiscalYears r;
		r.f_FiscalYear = y.year;
		r.f_StartDate = y.start;
		r.f_EndDate = y.end;
		r.f_Opened = y.opened;
		InsertRow(r);
	}
	const struct
	{
		DataDate date;
		int fiscalYear;  // 0: none
		DataDate opening;
	} cases[] = {
		{DataDate(31, 3, 2025), 2025, DataDate(1, 7, 2024)}, {DataDate(1, 7, 2024), 2025, DataDate(1, 7, 2024)},
		{DataDate(30, 6, 2024), 2024, DataDate(1, 7, 2023)}, {DataDate(15, 8, 2025), 2026, DataDate()},
		{DataDate(1, 1, 2020), 0, DataDate()},               {DataDate(), 0, DataDate()},
	};
	for (auto& c : cases)
	{
		TCompanyFiscalYears fy;
		EXPECT_EQ(AfxGetCompanyInfo()->GetFiscalYear(c.date, fy), c.fiscalYear != 0) << c.date.FormatData();
		EXPECT_EQ(fy.f_FiscalYear, c.fiscalYear) << c.date.FormatData();
		EXPECT_EQ(AfxGetCompanyInfo()->GetOpeningDate(fy.f_FiscalYear), c.opening) << c.date.FormatData();
	}
}

TEST_F(BaseDbl, VatCodesAndPaymentTerms)
{
	Sql("INSERT INTO Erp_TaxCodes (TaxCode, Description, Perc) VALUES ('22', 'Aliquota 22%', 22), "
		"('10', 'Aliquota 10%', 10), ('N4', 'Esente art. 10', 0)");
	Sql("INSERT INTO Erp_PaymentTerms (Code, Description, NoOfInstalments, DaysToFirstInstalment, "
		"DaysBetweenInstalments, EndOfMonth, AmountsSplit, TaxOnFirstInstalment) VALUES "
		"('RD', 'Rimessa diretta', 1, 0, 0, 0, 6029312, 0), ('306090FM', 'Ri.Ba. 30/60/90 gg f.m.', 3, 30, 30, 1, "
		"6029313, 1)");

	TRTAX tax;
	ASSERT_EQ(tax.FindRecord(DataStr("22")), TableReader::FOUND);
	EXPECT_DOUBLE_EQ(tax.GetRecord()->f_Perc, 22.0);
	EXPECT_EQ(tax.FindRecord(DataStr("21")), TableReader::NOT_FOUND);
	HKLTAX hklTax;
	EXPECT_EQ(Listed(hklTax, HotKeyLink::COMBO_ACCESS, ""), (V{"10", "22", "N4"}));
	EXPECT_EQ(Listed(hklTax, HotKeyLink::LOWER_BUTTON, "esente"), (V{"N4"}));
	DataStr code("n4");
	ASSERT_TRUE(hklTax.FindRecord(&code));
	EXPECT_EQ(hklTax.GetDescription(), "Esente art. 10");

	TRPaymentTerms terms;
	ASSERT_EQ(terms.FindRecord(DataStr("306090fm")), TableReader::FOUND);
	const TPaymentTerms& t = *terms.GetRecord();
	EXPECT_EQ(t.f_NoOfInstalments, 3);
	EXPECT_TRUE(t.f_EndOfMonth);
	EXPECT_EQ(t.f_AmountsSplit.GetValue(), DataEnum(E_INSTALMENTSPLIT, 1).GetValue());
	EXPECT_TRUE(t.f_TaxOnFirstInstalment);
	HKLPaymentTerms hklTerms;
	EXPECT_EQ(Listed(hklTerms, HotKeyLink::UPPER_BUTTON, "3"), (V{"306090FM"}));
	code = "RD";
	ASSERT_TRUE(hklTerms.FindRecord(&code));
	EXPECT_EQ(hklTerms.GetDescription(), "Rimessa diretta");
}
