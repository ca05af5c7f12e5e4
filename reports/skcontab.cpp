// The ledger card of the host's accounts: the cost-accounting entries of the accounts in a
// range (a grouped code takes in the accounts beneath it) between two dates, with debit,
// credit and the running balance of each account.
#include "KvzReports.h"
#include "platform/erp/erpledgerdbl/TCostAccEntriesDetail.h"
#include "platform/plvoledb/SqlTable.h"

namespace kvzreports {
namespace {

class CSchedaContabile : public CKvzReport
{
public:
	CSchedaContabile() : CKvzReport("KvzNet.KvzMod.skcontab", {}) {}
	void Build(CReportContext& ctx, CReportOutput& out) override
	{
		out.title = "Scheda contabile";
		const CString from = ctx.InputText("w_ContoInizio");
		const CString to = ctx.InputText("w_ContoFine");
		out.inputs = {{"Dal conto", from}, {"Al conto", to}, {"Dalla data", ctx.InputText("w_DataInizio")},
					  {"Alla data", ctx.InputText("w_DataFine")}};
		CReportTable& t = out.AddTable("Movimenti", {{"Data", ColumnKind::Text, 0.8},
													 {"Registrazione", ColumnKind::Integer, 0.8},
													 {"Conto", ColumnKind::Text, 0.9},
													 {"Centro di costo", ColumnKind::Text, 0.8},
													 {"Commessa", ColumnKind::Text, 0.8},
													 {"Note", ColumnKind::Text, 2},
													 {"Dare", ColumnKind::Money, 1},
													 {"Avere", ColumnKind::Money, 1},
													 {"Saldo", ColumnKind::Balance, 1}});
		TCostAccEntriesDetail rec;
		SqlTable table(&rec, AfxGetDefaultSqlSession());
		table.Open();
		table.SelectAll();
		if (const DataObj* pFrom = ctx.GetInfo().GetParamValue("w_DataInizio"); pFrom && !pFrom->IsEmpty())
		{
			table.AddParam("pDataDa", rec.f_PostingDate);
			table.AddFilterColumn(rec.f_PostingDate, ">=");
			table.SetParamValue("pDataDa", *pFrom);
		}
		if (const DataObj* pTo = ctx.GetInfo().GetParamValue("w_DataFine"); pTo && !pTo->IsEmpty())
		{
			table.AddParam("pDataA", rec.f_PostingDate);
			table.AddFilterColumn(rec.f_PostingDate, "<=");
			table.SetParamValue("pDataA", *pTo);
		}
		if (!from.IsEmpty())
		{
			table.AddParam("pContoDa", rec.f_Account);
			table.AddFilterColumn(rec.f_Account, ">=");
			table.SetParamValue("pContoDa", DataStr(from));
		}
		if (!to.IsEmpty())
		{
			// The accounts beneath the last code come in too ("~" sorts after letters and digits).
			table.AddParam("pContoA", rec.f_Account);
			table.AddFilterColumn(rec.f_Account, "<=");
			table.SetParamValue("pContoA", DataStr(to + "~"));
		}
		table.AddSortColumn(rec.f_Account);
		table.AddSortColumn(rec.f_PostingDate);
		table.AddSortColumn(rec.f_EntryId);
		table.AddSortColumn(rec.f_Line);
		table.Query();
		CString account;
		double balance = 0;
		for (; !table.IsEOF(); table.MoveNext())
		{
			if (rec.f_Account.GetString() != account)
			{
				if (!account.IsEmpty())
					t.AddSubtotal("Totale " + account, 5);
				account = rec.f_Account.GetString();
				balance = 0;
			}
			const double amount = rec.f_Amount.GetValue();
			const bool credit = rec.f_DebitCreditSign.GetItemValue() == 1;
			balance += credit ? -amount : amount;
			t.AddRow({rec.f_PostingDate.FormatData(), static_cast<double>(rec.f_EntryId.GetValue()), account,
					  rec.f_CostCenter.GetString(), rec.f_Job.GetString(), rec.f_Notes.GetString(),
					  credit ? ReportCell() : ReportCell(amount), credit ? ReportCell(amount) : ReportCell(), balance});
		}
		table.Close();
		t.AddSubtotal("Totale " + account, 5);
		t.AddTotal("Totale generale", 5);
	}
};

}  // namespace

std::unique_ptr<CReportDefinition> MakeSkcontab()
{
	return std::make_unique<CSchedaContabile>();
}

}  // namespace kvzreports
