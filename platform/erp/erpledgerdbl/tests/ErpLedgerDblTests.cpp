#include "platform/erp/erpbasedbl/ErpBaseDblTables.h"
#include "platform/erp/erpbasedbl/tests/ErpFixture.h"
#include "platform/erp/erpledgerdbl/ErpLedgerDblTables.h"

namespace {
using V = std::vector<CString>;

class LedgerDbl : public ErpCompanyDb
{
protected:
	void RegisterTables(SqlConnection& connection) override
	{
		ASSERT_TRUE(erp::RegisterBaseTables(connection));
		ASSERT_TRUE(erp::RegisterLedgerTables(connection));
	}

	void CostCentresAndJobs()
	{
		Sql("INSERT INTO Erp_CostCenters (CostCenter, Description) VALUES ('PRD', 'Produzione'), "
			"('AMM', 'Amministrazione'), ('COM', 'Commerciale')");
		Sql("INSERT INTO Erp_Jobs (Job, Description, StartingDate, EndingDate) VALUES "
			"('C25001', 'Impianto linea 3', '2025-02-01', '2025-11-30'), "
			"('C24007', 'Revamping magazzino', '2024-09-15', '2025-03-31')");
	}
};

// An entry line of an account.
TCostAccEntriesDetail Entry(long id, const DataDate& date, WORD type, const char* account, const char* centre,
							const char* job, double amount, WORD side)
{
	TCostAccEntriesDetail r;
	r.f_EntryId = id;
	r.f_Line = 1;
	r.f_PostingDate = date;
	r.f_FiscalYear = date.Year();
	r.f_EntryType = DataEnum(E_COSTACCENTRYTYPE, type);
	r.f_Account = account;
	r.f_CostCenter = centre;
	r.f_Job = job;
	r.f_Amount = amount;
	r.f_DebitCreditSign = DataEnum(E_DEBITCREDIT, side);
	return r;
}
}  // namespace

TEST_F(LedgerDbl, CostCentresAndJobsByCodeAndPattern)
{
	CostCentresAndJobs();
	for (const char* table : {"Erp_CostCenters", "Erp_Jobs", "Erp_CostAccEntriesDetail", "Erp_ChartOfAccountsBalances",
							  "Erp_CostCentersBalances"})
		EXPECT_NE(m_pConn->GetCatalogEntry(table), nullptr) << table;

	TRCostCenters centres;
	ASSERT_EQ(centres.FindRecord(DataStr("amm")), TableReader::FOUND);
	EXPECT_EQ(centres.GetRecord()->f_Description.GetString(), "Amministrazione");
	EXPECT_EQ(centres.FindRecord(DataStr("XYZ")), TableReader::NOT_FOUND);
	EXPECT_EQ(centres.FindRecord(DataStr("")), TableReader::NOT_FOUND);

	TRJobs jobs;
	ASSERT_EQ(jobs.FindRecord(DataStr("C24007")), TableReader::FOUND);
	EXPECT_EQ(jobs.GetRecord()->f_Description.GetString(), "Revamping magazzino");
	EXPECT_EQ(jobs.GetRecord()->f_StartingDate, DataDate(15, 9, 2024));
	EXPECT_EQ(jobs.GetRecord()->f_EndingDate, DataDate(31, 3, 2025));

	HKLCostCenters hklCentres;
	EXPECT_EQ(Listed(hklCentres, HotKeyLink::COMBO_ACCESS, ""), (V{"AMM", "COM", "PRD"}));
	EXPECT_EQ(Listed(hklCentres, HotKeyLink::UPPER_BUTTON, "c"), (V{"COM"}));
	EXPECT_EQ(Listed(hklCentres, HotKeyLink::LOWER_BUTTON, "pro"), (V{"PRD"}));
	HKLJobs hklJobs;
	EXPECT_EQ(Listed(hklJobs, HotKeyLink::UPPER_BUTTON, "C2"), (V{"C24007", "C25001"}));
	EXPECT_EQ(Listed(hklJobs, HotKeyLink::LOWER_BUTTON, "i"), (V{"C25001"}));
	DataStr code("c25001");
	ASSERT_TRUE(hklJobs.FindRecord(&code));
	EXPECT_EQ(hklJobs.GetDescription(), "Impianto linea 3");
	EXPECT_EQ(hklJobs.GetRecord()->f_StartingDate, DataDate(1, 2, 2025));
	code = "PRD";  // a cost centre is no job
	EXPECT_FALSE(hklJobs.FindRecord(&code));
}

TEST_F(LedgerDbl, EntriesOfAnAccountOverADateRange)
{
	TCostAccEntriesDetail rows[] = {
		Entry(1, DataDate(31, 12, 2024), 1, "2101001", "AMM", "", 100, 0),  // before the range
		Entry(2, DataDate(1, 1, 2025), 1, "2101001", "AMM", "", 250.5, 0),
		Entry(3, DataDate(15, 2, 2025), 2, "2101001", "PRD", "C25001", 80, 0),
		Entry(4, DataDate(28, 2, 2025), 1, "2101001", "PRD", "", 30, 1),
		Entry(5, DataDate(10, 2, 2025), 1, "2101002", "AMM", "", 999, 0),  // another account
		Entry(6, DataDate(1, 3, 2025), 1, "2101001", "AMM", "", 70, 0),    // after the range
	};
	for (auto& r : rows)
		InsertRow(r);

	// As the ledger import reads them: by account, from the opening date to the end date.
	TCostAccEntriesDetail rec;
	SqlTable t(&rec);
	t.Open(FALSE);
	t.SelectAll();
	t.AddParam("p1", rec.f_Account);
	t.AddFilterColumn(rec.f_Account);
	t.AddParam("p12", rec.f_PostingDate);
	t.AddParam("p13", rec.f_PostingDate);
	t.AddBetweenColumn(rec.f_PostingDate);
	t.AddSortColumn(rec.f_PostingDate);
	t.SetParamValue("p1", DataStr("2101001"));
	t.SetParamValue("p12", DataDate(1, 1, 2025));
	t.SetParamValue("p13", DataDate(28, 2, 2025));
	std::vector<long> ids;
	double net = 0;
	for (t.Query(); !t.IsEOF(); t.MoveNext())
	{
		ids.push_back(rec.f_EntryId);
		net += rec.f_DebitCreditSign.GetItemValue() == 1 ? -rec.f_Amount.GetValue() : rec.f_Amount.GetValue();
	}
	EXPECT_EQ(ids, (std::vector<long>{2, 3, 4}));
	EXPECT_DOUBLE_EQ(net, 300.5);
	EXPECT_EQ(rec.GetIndexes(), (std::vector<std::vector<CString>>{{"Account", "PostingDate"}}));
}
