// The symbol explosion: for every base-plan symbol of a model, the accounts it is made of with
// their signed base-plan values, as the explosion procedure left them in its work table.
#include "KvzReports.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TmpEsplosioneCodici.h"
#include "platform/plvoledb/SqlTable.h"

namespace kvzreports {
namespace {

class CEsplosioneSimboliConti : public CKvzReport
{
public:
	CEsplosioneSimboliConti() : CKvzReport("KvzNet.KvzMod.EsplosioneSimboliConti", {}) {}
	void Build(CReportContext& ctx, CReportOutput& out) override
	{
		out.title = "Esplosione simboli";
		const CString model = ctx.InputText("w_Modello");
		out.inputs = {{"Modello", model}, {"Dal mese", MonthName(ctx.InputInt("w_DAlMese"))},
					  {"Al mese", MonthName(ctx.InputInt("w_AlMese"))}};
		CReportTable& t = out.AddTable("Conti dei simboli", {{"Codice", ColumnKind::Text, 0.8},
															 {"Simbolo", ColumnKind::Text, 0.9},
															 {"Descrizione simbolo", ColumnKind::Text, 1.5},
															 {"Conto", ColumnKind::Text, 0.9},
															 {"Descrizione conto", ColumnKind::Text, 1.8},
															 {"Contabile", ColumnKind::Money, 1},
															 {"Previsionale", ColumnKind::Money, 1},
															 {"Assestamento", ColumnKind::Money, 1},
															 {"Totale", ColumnKind::Money, 1}});
		Kvz_TmpEsplosioneCodici rec;
		SqlTable table(&rec, AfxGetDefaultSqlSession());
		table.Open();
		table.SelectAll();
		if (!model.IsEmpty())
		{
			FilterEqual(table, "pMod", rec.f_ModelloRiclassific, DataStr(model));
		}
		for (const DataObj* column : {static_cast<const DataObj*>(&rec.f_Esercizio), static_cast<const DataObj*>(&rec.f_CodRiclassificato),
									  static_cast<const DataObj*>(&rec.f_Simbolo), static_cast<const DataObj*>(&rec.f_Conto)})
			table.AddSortColumn(*column);
		table.Query();
		CString group;
		for (; !table.IsEOF(); table.MoveNext())
		{
			const CString key = rec.f_CodRiclassificato.GetString() + " " + rec.f_Simbolo.GetString();
			if (key != group && !group.IsEmpty())
				t.AddSubtotal("Totale " + group, 2);
			group = key;
			t.AddRow({rec.f_CodRiclassificato.GetString(), rec.f_Simbolo.GetString(), rec.f_DescrizioneSimbolo.GetString(),
					  rec.f_Conto.GetString(), rec.f_DescrizioneConto.GetString(), rec.f_ValoreContabile.GetValue(),
					  rec.f_ValorePrevisionale.GetValue(), rec.f_ValoreAssestamento.GetValue(), rec.f_Totale.GetValue()});
		}
		table.Close();
		t.AddSubtotal("Totale " + group, 2);
		// No grand total: a symbol used by several codes would count more than once.
	}
};

}  // namespace

std::unique_ptr<CReportDefinition> MakeEsplosioneSimboliConti()
{
	return std::make_unique<CEsplosioneSimboliConti>();
}

}  // namespace kvzreports
