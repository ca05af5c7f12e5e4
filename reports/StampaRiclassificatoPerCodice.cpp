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
		out.inputs = PrintByCodeInputs(ctx);
		const PrintByCode data = ReadPrintByCode(ctx, 9);
		out.title = "Riclassificati per codice: " + data.ModelsText();
		out.subtitle = "Colonna valori: " + ColumnText(ctx.InputText("w_ColonnaInput", "0"), ctx.InputInt("w_EsercInput"), CString());
		const size_t used = data.UsedCodes();
		// A quotient is no amount to add up over the models.
		std::vector<ReportColumn> columns{{"Modello", ColumnKind::Text, 0.8}, {"Descrizione", ColumnKind::Text, 2}};
		for (size_t i = 0; i < used; ++i)
			columns.push_back({data.Heading(i), data.IsRatio(i) ? ColumnKind::Balance : ColumnKind::Money, 1});
		CReportTable& t = out.AddTable("Valori per modello", std::move(columns));
		for (size_t m = 0; m < data.models.size(); ++m)
		{
			std::vector<ReportCell> row{data.models[m].model, data.models[m].description};
			for (size_t i = 0; i < used; ++i)
				row.push_back(data.Cell(m, i));
			t.AddRow(std::move(row));
		}
		// The models side by side are parts of a whole (the centres, the jobs): their sum.
		if (data.models.size() > 1)
			t.AddTotal("Totale");
	}
};

}  // namespace

std::unique_ptr<CReportDefinition> MakeStampaRiclassificatoPerCodice()
{
	return std::make_unique<CStampaPerCodice>();
}

}  // namespace kvzreports
