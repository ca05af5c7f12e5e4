// Reclassified statements by code, more than nine codes (up to 110): a line per model and
// code, so that any number of codes reads down the page. No sums: the codes of a statement are
// of different natures (revenues, costs, margins).
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
		out.title = "Stampa riclassificato per codice (estesa)";
		out.inputs = PrintByCodeInputs(ctx);
		const PrintByCode data = ReadPrintByCode(ctx, 110);
		const size_t used = data.UsedCodes();
		CReportTable& t = out.AddTable("Valori per modello e codice", {{"Modello", ColumnKind::Text, 0.8},
																	   {"Descrizione modello", ColumnKind::Text, 2},
																	   {"N.", ColumnKind::Integer, 0.4},
																	   {"Codice", ColumnKind::Text, 1.6},
																	   {"Valore", ColumnKind::Balance, 1}});
		for (const PrintedModel& m : data.models)
		{
			for (size_t i = 0; i < used; ++i)
				t.AddRow({m.model, m.description, static_cast<int>(i + 1), data.Heading(i), m.cells[i]});
		}
	}
};

}  // namespace

std::unique_ptr<CReportDefinition> MakeStampaRiclassificatoPerCodiceEstesa()
{
	return std::make_unique<CStampaPerCodiceEstesa>();
}

}  // namespace kvzreports
