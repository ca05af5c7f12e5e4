// The explosion of a model row's formula: each operand of the formula, then the accounts and
// cost centres or jobs it is made of, with the month's value and the progressive from January.
// Meant for a spreadsheet.
#include "KvzReports.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "platform/plvoledb/SqlTable.h"

namespace kvzreports {
namespace {

const char* const kNext = "__CDeRiclassificazioniDoc_Kvz_GetNextRigaEsplos";
const char* const kSubNext = "__CDeRiclassificazioniDoc_Kvz_GetSubNextRigaEsplos";

// The stored result of the code in a month and from January to it (the run's own data kind):
// what the explosion adds up to. Nothing when the run has not written the code.
std::optional<std::pair<double, double>> StoredResult(int year, const CString& model, const CString& code, int month, int column)
{
	if (month < 1 || month > 12 || column < 0 || column > 10)
		return std::nullopt;
	try
	{
		Kvz_TRiclassificato rec;
		const DataMon* values[] = {&rec.f_Valore,  &rec.f_Valore1, &rec.f_Valore2, &rec.f_Valore3,
								   &rec.f_Valore4, &rec.f_Valore5, &rec.f_Valore6, &rec.f_Valore7,
								   &rec.f_Valore8, &rec.f_Valore9, &rec.f_Valore10};
		SqlTable t(&rec, AfxGetDefaultSqlSession());
		t.Open();
		t.SelectAll();
		FilterEqual(t, "pEs", rec.f_Esercizio, DataInt(year));
		FilterEqual(t, "pMod", rec.f_ModelloRiclassific, DataStr(model));
		FilterEqual(t, "pCod", rec.f_CodRiclassificato, DataStr(code));
		FilterEqual(t, "pTipo", rec.f_TipoDatoPianoBase, DataEnum(E_KVZ_TIPODATOPBASE, 0));
		t.Query();
		bool found = false;
		double inMonth = 0, progressive = 0;
		for (; !t.IsEOF(); t.MoveNext())
		{
			const int m = rec.f_Mese.GetValue();
			const double v = values[column]->GetValue();
			if (m == month)
			{
				found = true;
				inMonth += v;
			}
			if (m >= 1 && m <= month)
				progressive += v;
		}
		t.Close();
		if (found)
			return std::pair{inMonth, progressive};
	}
	catch (const SqlException&)
	{
	}
	return std::nullopt;
}

class CEsplosFormula : public CKvzReport
{
public:
	CEsplosFormula() : CKvzReport("KvzNet.KvzMod.EsplosFormula_Excel", {kNext, kSubNext}) {}
	std::optional<ReportFormat> GetPreferredFormat() const override { return ReportFormat::Xlsx; }

	void Build(CReportContext& ctx, CReportOutput& out) override
	{
		out.title = "Esplosione formula";
		const int month = ctx.InputInt("w_MeseEsplos");
		out.subtitle = ctx.InputText("w_CodRcl") + " - " + ctx.InputText("w_DescrizioneModello");
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
		// The formula's value last: the figure the explosion was asked for.
		const CString code = ctx.InputText("w_CodRcl");
		if (auto value = StoredResult(ctx.InputInt("w_EsercizioInput"), ctx.InputText("w_ModelloInput"), code, month,
									  ctx.InputInt("w_ColonnaEsplos", 0)))
		{
			std::vector<ReportCell> last(10);
			last[1] = CString("Valore di " + code + " (risultato elaborato)");
			last[8] = value->first;
			last[9] = value->second;
			t.AddRow(std::move(last), true);
		}
	}
};

}  // namespace

std::unique_ptr<CReportDefinition> MakeEsplosFormula_Excel()
{
	return std::make_unique<CEsplosFormula>();
}

}  // namespace kvzreports
