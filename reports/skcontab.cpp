// The ledger card of the host's accounts: the cost-accounting entries of the accounts in a
// range (a grouped code takes in the accounts beneath it) between two dates, with debit,
// credit and the running balance of each account; the lines the ledger does not post (forecast,
// provisional) apart, out of the balance.
#include <vector>

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
		// The balance is the ledger's actual postings (the kinds the import takes into the
		// base plan); provisional and forecast lines are listed apart, out of it.
		struct Line
		{
			CString date, account, costCenter, job, notes, kind;
			double entry = 0, amount = 0;
			bool credit = false;
		};
		std::vector<Line> actual, other;
		for (; !table.IsEOF(); table.MoveNext())
		{
			const WORD kind = rec.f_EntryType.GetItemValue();
			Line l{rec.f_PostingDate.FormatData(), rec.f_Account.GetString(), rec.f_CostCenter.GetString(),
				   rec.f_Job.GetString(), rec.f_Notes.GetString(), rec.f_EntryType.FormatData(),
				   static_cast<double>(rec.f_EntryId.GetValue()), rec.f_Amount.GetValue(),
				   rec.f_DebitCreditSign.GetItemValue() == 1};
			(kind == 1 || kind == 3 ? actual : other).push_back(std::move(l));
		}
		table.Close();
		auto fill = [](CReportTable& t, const std::vector<Line>& lines, bool bKind) {
			CString account;
			double balance = 0;
			const int label = bKind ? 6 : 5;
			for (const Line& l : lines)
			{
				if (l.account != account)
				{
					if (!account.IsEmpty())
						t.AddSubtotal("Totale " + account, label);
					account = l.account;
					balance = 0;
				}
				balance += l.credit ? -l.amount : l.amount;
				std::vector<ReportCell> cells{l.date, l.entry, account, l.costCenter, l.job};
				if (bKind)
					cells.emplace_back(l.kind);
				cells.emplace_back(l.notes);
				cells.push_back(l.credit ? ReportCell() : ReportCell(l.amount));
				cells.push_back(l.credit ? ReportCell(l.amount) : ReportCell());
				cells.emplace_back(balance);
				t.AddRow(std::move(cells));
			}
			t.AddSubtotal("Totale " + account, label);
			t.AddTotal("Totale generale", label);
		};
		fill(t, actual, false);
		if (!other.empty())
		{
			CReportTable& f = out.AddTable("Movimenti previsionali e provvisori, fuori dal saldo",
										   {{"Data", ColumnKind::Text, 0.8},
											{"Registrazione", ColumnKind::Integer, 0.8},
											{"Conto", ColumnKind::Text, 0.9},
											{"Centro di costo", ColumnKind::Text, 0.8},
											{"Commessa", ColumnKind::Text, 0.8},
											{"Tipo", ColumnKind::Text, 0.8},
											{"Note", ColumnKind::Text, 1.6},
											{"Dare", ColumnKind::Money, 1},
											{"Avere", ColumnKind::Money, 1},
											{"Saldo", ColumnKind::Balance, 1}});
			f.SetSheetName("Fuori dal saldo");
			fill(f, other, true);
		}
	}
};

}  // namespace

std::unique_ptr<CReportDefinition> MakeSkcontab()
{
	return std::make_unique<CSchedaContabile>();
}

}  // namespace kvzreports
