// The explosion of a model row's formula: each operand of the formula, then the accounts and
// cost centres or jobs it is made of, with the month's value and the progressive from January.
// Meant for a spreadsheet.
#include "KvzReports.h"

namespace kvzreports {
namespace {

const char* const kNext = "__CDeRiclassificazioniDoc_Kvz_GetNextRigaEsplos";
const char* const kSubNext = "__CDeRiclassificazioniDoc_Kvz_GetSubNextRigaEsplos";

class CEsplosFormula : public CKvzReport
{
public:
	CEsplosFormula() : CKvzReport("KvzNet.KvzMod.EsplosFormula_Excel", {kNext, kSubNext}) {}
	std::optional<ReportFormat> GetPreferredFormat() const override { return ReportFormat::Xlsx; }

	void Build(CReportContext& ctx, CReportOutput& out) override
	{
		out.title = "Esplosione formula";
		const int month = ctx.InputInt("w_MeseEsplos");
		out.inputs = {{"Esercizio", ctx.InputText("w_EsercizioInput")},
					  {"Modello", ctx.InputText("w_ModelloInput")},
					  {"Codice", ctx.InputText("w_CodRcl") + " " + ctx.InputText("w_DescrizioneModello")},
					  {"Formula", ctx.InputText("w_FormulaInput")},
					  {"Mese", MonthName(month)},
					  {"Valore", ctx.InputText("w_DescrizioneValore")}};
		CReportTable& t = out.AddTable("Elementi della formula", {{"Operatore", ColumnKind::Text, 0.5},
																   {"Elemento", ColumnKind::Text, 1},
																   {"Segno", ColumnKind::Text, 0.5},
																   {"Conto", ColumnKind::Text, 0.9},
																   {"Descrizione", ColumnKind::Text, 1.8},
																   {"Tipo", ColumnKind::Text, 0.6},
																   {"Centro/Commessa", ColumnKind::Text, 0.9},
																   {"Descrizione centro/commessa", ColumnKind::Text, 1.6},
																   {"Valore " + MonthName(month), ColumnKind::Money, 1},
																   {"Progressivo", ColumnKind::Money, 1}});
		int row = 0;
		for (;;)
		{
			CReportString op, element;
			if (!ctx.Member<bool>(kNext, &row, op.Out(), element.Out()))
				break;
			t.AddRow({op.Get(), element.Get()});
			for (int part = 0;; ++part)
			{
				CReportString text[6];
				double monthValue = 0, progressive = 0;
				if (!ctx.Member<bool>(kSubNext, row, &part, text[0].Out(), text[1].Out(), text[2].Out(), text[3].Out(),
									  text[4].Out(), text[5].Out(), &monthValue, &progressive))
					break;
				t.AddRow({"", "", text[0].Get(), text[1].Get(), text[2].Get(), text[3].Get(), text[4].Get(), text[5].Get(),
						  monthValue, progressive});
			}
			t.AddSubtotal("Totale " + element.Get(), 1);
			++row;
		}
	}
};

}  // namespace

std::unique_ptr<CReportDefinition> MakeEsplosFormula_Excel()
{
	return std::make_unique<CEsplosFormula>();
}

}  // namespace kvzreports
