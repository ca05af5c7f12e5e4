// Reclassified statements side by side, up to nine codes: a line per model, a column per code.
#include "KvzReports.h"

namespace kvzreports {
namespace {

class CStampaPerCodice : public CKvzReport
{
public:
	CStampaPerCodice()
		: CKvzReport("KvzNet.KvzMod.StampaRiclassificatoPerCodice",
					 {kPrintByCodeExports[0], kPrintByCodeExports[1], kPrintByCodeExports[2], kPrintByCodeExports[6]})
	{
	}
	void Build(CReportContext& ctx, CReportOutput& out) override
	{
		out.title = "Stampa riclassificato per codice";
		out.inputs = PrintByCodeInputs(ctx);
		const PrintByCode data = ReadPrintByCode(ctx, 9);
		const size_t used = data.UsedCodes();
		std::vector<ReportColumn> columns{{"Modello", ColumnKind::Text, 0.8}, {"Descrizione", ColumnKind::Text, 2}};
		for (size_t i = 0; i < used; ++i)
			columns.push_back({data.Heading(i), ColumnKind::Money, 1});
		CReportTable& t = out.AddTable("Valori per modello", std::move(columns));
		for (const PrintedModel& m : data.models)
		{
			std::vector<ReportCell> row{m.model, m.description};
			for (size_t i = 0; i < used; ++i)
				row.emplace_back(m.cells[i]);
			t.AddRow(std::move(row));
		}
		// No total: the codes of a statement are of different natures (revenues, costs, margins).
	}
};

}  // namespace

std::unique_ptr<CReportDefinition> MakeStampaRiclassificatoPerCodice()
{
	return std::make_unique<CStampaPerCodice>();
}

}  // namespace kvzreports
