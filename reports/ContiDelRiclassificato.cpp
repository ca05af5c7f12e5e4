// The accounts behind a reclassification model: for each base-plan symbol of the model, the
// accounts (and cost centres or jobs) its list selects, with their sign.
#include "KvzReports.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TElencoContiSimboloPBase.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvoledb/SqlTable.h"

namespace kvzreports {
namespace {

class CContiDelRiclassificato : public CKvzReport
{
public:
	CContiDelRiclassificato() : CKvzReport("KvzNet.KvzMod.ContiDelRiclassificato", {}) {}
	void Build(CReportContext& ctx, CReportOutput& out) override
	{
		out.title = "Conti del riclassificato";
		// The model document names none: the year of the application date and every model, unless
		// the request says otherwise.
		const int year = ctx.InputInt("w_EsercizioInput", ctx.InputInt("w_EsercInput", AfxGetApplicationDate().Year()));
		const CString model = ctx.InputText("w_ModelloInput");
		out.inputs = {{"Esercizio", CString::Formatted("%d", year)}, {"Modello", model.IsEmpty() ? CString("tutti") : model}};
		CReportTable& t = out.AddTable("Conti dei simboli del piano base", {{"Modello", ColumnKind::Text, 0.8},
																			{"Simbolo", ColumnKind::Text, 1},
																			{"Conto", ColumnKind::Text, 1},
																			{"Tipo", ColumnKind::Text, 0.8},
																			{"Centro/Commessa", ColumnKind::Text, 1},
																			{"Segno", ColumnKind::Text, 0.6}});
		Kvz_TElencoContiSimboloPBase rec;
		SqlTable table(&rec, AfxGetDefaultSqlSession());
		table.Open();
		table.SelectAll();
		table.AddParam("pEs", rec.f_Esercizio);
		table.AddFilterColumn(rec.f_Esercizio);
		table.SetParamValue("pEs", DataInt(year));
		if (!model.IsEmpty())
		{
			table.AddParam("pMod", rec.f_ModelloRiclassific);
			table.AddFilterColumn(rec.f_ModelloRiclassific);
			table.SetParamValue("pMod", DataStr(model));
		}
		table.AddSortColumn(rec.f_ModelloRiclassific);
		table.AddSortColumn(rec.f_NomeSimbolo);
		table.AddSortColumn(rec.f_ContoSelez);
		table.AddSortColumn(rec.f_CentroCommessa);
		table.Query();
		for (; !table.IsEOF(); table.MoveNext())
		{
			const bool centre = !rec.f_CentroCommessa.GetString().IsEmpty();
			t.AddRow({rec.f_ModelloRiclassific.GetString(), rec.f_NomeSimbolo.GetString(),
					  rec.f_SelContoVuoto ? CString("(tutti)") : rec.f_ContoSelez.GetString(),
					  centre ? rec.f_TipoCentroComm.FormatData() : CString(), rec.f_CentroCommessa.GetString(),
					  rec.f_SegnoConto.FormatData()});
		}
		table.Close();
	}
};

}  // namespace

std::unique_ptr<CReportDefinition> MakeContiDelRiclassificato()
{
	return std::make_unique<CContiDelRiclassificato>();
}

}  // namespace kvzreports
