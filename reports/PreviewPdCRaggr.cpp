// Preview of the grouped chart of accounts before the balance import: each grouped account,
// then its split over cost centres and jobs.
#include "KvzReports.h"

namespace kvzreports {
namespace {

const char* const kGetContoPreview = "__CImportaSaldiDoc_Kvz_GetContoPreview";

class CPreviewPdCRaggr : public CKvzReport
{
public:
	CPreviewPdCRaggr() : CKvzReport("KvzNet.KvzMod.PreviewPdCRaggr", {kGetContoPreview}) {}
	void Build(CReportContext& ctx, CReportOutput& out) override
	{
		out.title = "Anteprima piano dei conti raggruppato";
		CReportTable& t = out.AddTable("Conti raggruppati", {{"Conto", ColumnKind::Text, 0.9},
															 {"Descrizione", ColumnKind::Text, 2},
															 {"Centro/Commessa", ColumnKind::Text, 0.9},
															 {"Descrizione centro/commessa", ColumnKind::Text, 1.8},
															 {"% ripartizione", ColumnKind::Percent, 0.8},
															 {"Proponi in assest.", ColumnKind::Text, 0.6},
															 {"Modif. in assest.", ColumnKind::Text, 0.6},
															 {"Conto collegato", ColumnKind::Text, 0.9},
															 {"Descrizione collegato", ColumnKind::Text, 1.6},
															 {"Ultimo livello", ColumnKind::Text, 0.6}});
		for (int i = 0;; ++i)
		{
			CReportString conto, descrizione, centro, descrCentro, collegato, descrCollegato;
			bool proponi = false, modif = false, ultimo = false;
			double perc = 0;
			if (!ctx.Member<bool>(kGetContoPreview, i, conto.Out(), descrizione.Out(), centro.Out(), descrCentro.Out(),
								  &proponi, &modif, collegato.Out(), descrCollegato.Out(), &ultimo, &perc))
				break;
			const bool split = !centro.Get().IsEmpty();
			t.AddRow({conto.Get(), descrizione.Get(), centro.Get(), descrCentro.Get(), split ? ReportCell(perc) : ReportCell(),
					  YesNo(proponi), YesNo(modif), collegato.Get(), descrCollegato.Get(), YesNo(ultimo)});
		}
	}
};

}  // namespace

std::unique_ptr<CReportDefinition> MakePreviewPdCRaggr()
{
	return std::make_unique<CPreviewPdCRaggr>();
}

}  // namespace kvzreports
