// The reclassified report of the base plan, four months at a time: per code the value of each
// month of the range, then the value and the carried total of the whole range. A spreadsheet
// also gets every month of the range on one sheet.
#include <map>

#include "KvzReports.h"

namespace kvzreports {
namespace {

const char* const kSomething[] = {"__CStampaReportRiclassificDoc_Kvz_QualcosaInQuadrim1",
								  "__CStampaReportRiclassificDoc_Kvz_QualcosaInQuadrim2",
								  "__CStampaReportRiclassificDoc_Kvz_QualcosaInQuadrim3"};
const char* const kRow[] = {"__CStampaReportRiclassificDoc_Kvz_GetRigaQuadrim1",
							"__CStampaReportRiclassificDoc_Kvz_GetRigaQuadrim2",
							"__CStampaReportRiclassificDoc_Kvz_GetRigaQuadrim3"};

// A code of the print: its months' values, its range value and carried total.
struct Line
{
	CString code, description;
	int kind = 0;
	std::map<int, double> months;
	double range = 0, carried = 0;
};

class CStampaReportRiclassific : public CKvzReport
{
public:
	CStampaReportRiclassific()
		: CKvzReport(kStampaReportRiclassific, {kSomething[0], kSomething[1], kSomething[2], kRow[0], kRow[1], kRow[2]})
	{
	}
	void Build(CReportContext& ctx, CReportOutput& out) override
	{
		const CString model = ctx.InputText("w_ModelloInput");
		const int year = ctx.InputInt("w_EsercInput");
		const CString column = ctx.InputText("w_ColonnaInput", "0");
		const ModelShape shape = ReadModel(year, model, column);
		// The statement is named by its model (or grouping); what kind of print it is comes under it.
		out.title = shape.description.IsEmpty() ? model : model + " - " + shape.description;
		out.subtitle = CString::Formatted("Riclassificazione del piano base - esercizio %d - colonna valori: %s", year,
										  ColumnText(column, year, model).GetString());
		// The data kind's first item lets each symbol say which balance it takes.
		out.inputs = {{"Modello", model},
					  {"Esercizio", ctx.InputText("w_EsercInput")},
					  {"Dal mese", MonthName(ctx.InputInt("w_DalMeseInput", 1))},
					  {"Al mese", MonthName(ctx.InputInt("w_AlMeseInput", 12))},
					  {"Dati", DataKindText(ctx.InputText("w_TipoDatoPBase"))},
					  {"Colonna valori", ColumnText(column, year, model)}};
		const int dal = ctx.InputInt("w_DalMeseInput", 1);
		const int al = ctx.InputInt("w_AlMeseInput", 12);

		// Every line of the three periods first: the carried totals are shown only when some has one.
		std::vector<Line> periods[3];
		bool carried = false;
		for (int p = 0; p < 3; ++p)
		{
			if (!ctx.Member<bool>(kSomething[p]))
				continue;
			for (int i = 0;; ++i)
			{
				CReportString code, description;
				double v[10] = {};
				int kind = 0;
				if (!ctx.Member<bool>(kRow[p], i, code.Out(), description.Out(), &v[0], &v[1], &v[2], &v[3], &v[4], &v[5],
									  &v[6], &v[7], &v[8], &v[9], &kind))
					break;
				Line line;
				line.code = code.Get();
				line.description = description.Get();
				line.kind = kind & 0xFFFF;
				// The months' values; a month outside the range stays blank.
				for (int m = 0; m < 4; ++m)
				{
					const int month = p * 4 + m + 1;
					if (month >= dal && month <= al)
						line.months[month] = v[m * 2];
					carried = carried || v[m * 2 + 1] != 0;
				}
				line.range = v[8];
				line.carried = v[9];
				carried = carried || v[9] != 0;
				periods[p].push_back(std::move(line));
			}
		}

		auto strong = [&](const Line& l) { return shape.IsTotal(l.code); };
		const CString range = CString::Formatted("%s-%s", MonthName(dal).Left(3).GetString(), MonthName(al).Left(3).GetString());
		auto columns = [&](int first, int last) {
			std::vector<ReportColumn> c{{"Codice", ColumnKind::Text, 0.9}, {"Descrizione", ColumnKind::Text, 2.6}};
			for (int m = first; m <= last; ++m)
				c.push_back({MonthName(m), ColumnKind::Money, 1});
			c.push_back({"Totale " + range, ColumnKind::Money, 1.1});
			if (carried)
				c.push_back({"Riportato", ColumnKind::Money, 1});
			return c;
		};
		constexpr int kTitolo = 4;  // a title row heads the rows under it: no values
		auto cells = [&](const Line& l, int first, int last) {
			std::vector<ReportCell> row{l.code, l.description};
			if (l.kind == kTitolo)
				return row;
			for (int m = first; m <= last; ++m)
			{
				auto it = l.months.find(m);
				row.push_back(it == l.months.end() ? ReportCell() : shape.Amount(l.code, it->second));
			}
			row.push_back(shape.Amount(l.code, l.range));
			if (carried)
				row.push_back(shape.Amount(l.code, l.carried));
			return row;
		};

		for (int p = 0; p < 3; ++p)
		{
			if (periods[p].empty())
				continue;
			const int first = p * 4 + 1, last = p * 4 + 4;
			CReportTable& t = out.AddTable(
				CString::Formatted("Quadrimestre %d (%s - %s)", p + 1, MonthName(first).GetString(), MonthName(last).GetString()),
				columns(first, last));
			t.SetSheetName(CString::Formatted("Quadrimestre %d %s-%s", p + 1, MonthName(first).Left(3).GetString(),
											  MonthName(last).Left(3).GetString()));
			for (const Line& l : periods[p])
				t.AddRow(cells(l, first, last), strong(l));
		}

		// The whole range on one sheet: a code's lines of the three periods joined, in the
		// order the codes first came.
		std::vector<Line> joined;
		std::map<CString, size_t> at;
		for (auto& period : periods)
			for (const Line& l : period)
			{
				auto [it, added] = at.emplace(l.code, joined.size());
				if (added)
					joined.push_back(l);
				else
					joined[it->second].months.insert(l.months.begin(), l.months.end());
			}
		CReportTable& all = out.AddTable("Mesi " + range + " e totale", columns(std::max(dal, 1), std::min(al, 12)));
		all.SetSpreadsheetOnly(!joined.empty());
		for (const Line& l : joined)
			all.AddRow(cells(l, std::max(dal, 1), std::min(al, 12)), strong(l));
	}
};

}  // namespace

std::unique_ptr<CReportDefinition> MakeStampaReportRiclassific()
{
	return std::make_unique<CStampaReportRiclassific>();
}

}  // namespace kvzreports
