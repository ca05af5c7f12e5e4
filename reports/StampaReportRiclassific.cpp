// The reclassified report of the base plan, four months at a time: per code the value of each
// month of the range, then the value and the carried total of the whole range.
#include "KvzReports.h"

namespace kvzreports {
namespace {

const char* const kSomething[] = {"__CStampaReportRiclassificDoc_Kvz_QualcosaInQuadrim1",
								  "__CStampaReportRiclassificDoc_Kvz_QualcosaInQuadrim2",
								  "__CStampaReportRiclassificDoc_Kvz_QualcosaInQuadrim3"};
const char* const kRow[] = {"__CStampaReportRiclassificDoc_Kvz_GetRigaQuadrim1",
							"__CStampaReportRiclassificDoc_Kvz_GetRigaQuadrim2",
							"__CStampaReportRiclassificDoc_Kvz_GetRigaQuadrim3"};

class CStampaReportRiclassific : public CKvzReport
{
public:
	CStampaReportRiclassific()
		: CKvzReport(kStampaReportRiclassific, {kSomething[0], kSomething[1], kSomething[2], kRow[0], kRow[1], kRow[2]})
	{
	}
	void Build(CReportContext& ctx, CReportOutput& out) override
	{
		out.title = "Report riclassificazione del piano base";
		out.inputs = {{"Modello", ctx.InputText("w_ModelloInput")},	   {"Esercizio", ctx.InputText("w_EsercInput")},
					  {"Dal mese", ctx.InputText("w_DalMeseInput")},   {"Al mese", ctx.InputText("w_AlMeseInput")},
					  {"Tipo dato", ctx.InputText("w_TipoDatoPBase")}, {"Colonna", ctx.InputText("w_ColonnaInput")}};
		const int dal = ctx.InputInt("w_DalMeseInput", 1);
		const int al = ctx.InputInt("w_AlMeseInput", 12);
		// The range's value and reported total close each line: what a controller reads first.
		const CString range = CString::Formatted("%s-%s", MonthName(dal).Left(3).GetString(), MonthName(al).Left(3).GetString());
		for (int p = 0; p < 3; ++p)
		{
			if (!ctx.Member<bool>(kSomething[p]))
				continue;
			std::vector<ReportColumn> columns{{"Codice", ColumnKind::Text, 0.9}, {"Descrizione", ColumnKind::Text, 2.6}};
			for (int m = 1; m <= 4; ++m)
				columns.push_back({MonthName(p * 4 + m), ColumnKind::Money, 1});
			columns.push_back({"Totale " + range, ColumnKind::Money, 1.1});
			columns.push_back({"Riportato", ColumnKind::Money, 1});
			CReportTable& t = out.AddTable(CString::Formatted("Quadrimestre %d (%s - %s)", p + 1, MonthName(p * 4 + 1).GetString(),
															  MonthName(p * 4 + 4).GetString()),
										   std::move(columns));
			for (int i = 0;; ++i)
			{
				CReportString code, description;
				double v[10] = {};
				int kind = 0;
				if (!ctx.Member<bool>(kRow[p], i, code.Out(), description.Out(), &v[0], &v[1], &v[2], &v[3], &v[4], &v[5],
									  &v[6], &v[7], &v[8], &v[9], &kind))
					break;
				std::vector<ReportCell> row{code.Get(), description.Get()};
				// The months' values; a month outside the range stays blank.
				for (int m = 0; m < 4; ++m)
				{
					const int month = p * 4 + m + 1;
					row.push_back(month >= dal && month <= al ? ReportCell(v[m * 2]) : ReportCell());
				}
				row.emplace_back(v[8]);
				row.emplace_back(v[9]);
				t.AddRow(std::move(row));
			}
		}
		if (out.tables.empty())
			out.AddTable("Nessun dato", {{"Codice"}, {"Descrizione", ColumnKind::Text, 3}});
	}
};

}  // namespace

std::unique_ptr<CReportDefinition> MakeStampaReportRiclassific()
{
	return std::make_unique<CStampaReportRiclassific>();
}

}  // namespace kvzreports
