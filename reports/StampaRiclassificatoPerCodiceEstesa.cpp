// Reclassified statements by code, more than nine codes (up to 110): a line per model and
// code, so that any number of codes reads down the page, then each code over the models.
#include "KvzReports.h"

namespace kvzreports {
namespace {

class CStampaPerCodiceEstesa : public CKvzReport
{
public:
	CStampaPerCodiceEstesa()
		: CKvzReport("KvzNet.KvzMod.StampaRiclassificatoPerCodiceEstesa",
					 {kPrintByCodeExports[0], kPrintByCodeExports[1], kPrintByCodeExports[2], kPrintByCodeExports[3],
					  kPrintByCodeExports[4], kPrintByCodeExports[5], kPrintByCodeExports[6]})
	{
	}
	void Build(CReportContext& ctx, CReportOutput& out) override
	{
		out.inputs = PrintByCodeInputs(ctx);
		const PrintByCode data = ReadPrintByCode(ctx, 110);
		out.title = "Riclassificati per codice: " + data.ModelsText();
		out.subtitle = "Colonna valori: " + ColumnText(ctx.InputText("w_ColonnaInput", "0"), ctx.InputInt("w_EsercInput"), CString());
		const size_t used = data.UsedCodes();
		CReportTable& t = out.AddTable("Valori per modello e codice", {{"Modello", ColumnKind::Text, 0.8},
																	   {"Descrizione modello", ColumnKind::Text, 2},
																	   {"N.", ColumnKind::Integer, 0.4},
																	   {"Codice", ColumnKind::Text, 1.6},
																	   {"Valore", ColumnKind::Balance, 1}});
		std::vector<double> sums(used, 0.0);
		for (size_t m = 0; m < data.models.size(); ++m)
			for (size_t i = 0; i < used; ++i)
			{
				t.AddRow({data.models[m].model, data.models[m].description, static_cast<int>(i + 1), data.Heading(i),
						  data.Cell(m, i)});
				sums[i] += data.models[m].cells[i];
			}
		// Each code over the models (parts of a whole: the centres, the jobs); a quotient is no
		// amount to add up.
		if (data.models.size() > 1)
			for (size_t i = 0; i < used; ++i)
				t.AddRow({"Totale", CString(), static_cast<int>(i + 1), data.Heading(i),
						  data.IsRatio(i) ? ReportCell() : ReportCell(sums[i])},
						 true);
	}
};

}  // namespace

std::unique_ptr<CReportDefinition> MakeStampaRiclassificatoPerCodiceEstesa()
{
	return std::make_unique<CStampaPerCodiceEstesa>();
}

}  // namespace kvzreports
