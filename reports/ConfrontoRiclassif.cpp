// Two stored reclassified statements side by side: the value of each term, the difference and
// its percentage, the carried totals and the projections.
#include "KvzReports.h"

namespace kvzreports {
namespace {

const char* const kGetRiga = "__Kvz_CComparazioneRiclassificDoc_GetRigaComparazione";

class CConfrontoRiclassif : public CKvzReport
{
public:
	CConfrontoRiclassif() : CKvzReport("KvzNet.KvzMod.ConfrontoRiclassif", {kGetRiga}) {}

	static CString Term(const CReportContext& ctx, int n)
	{
		auto in = [&](const char* name) { return ctx.InputText(CString::Formatted("w_%s%d", name, n)); };
		CString s = CString::Formatted("%s %s (%s), esercizio %s, mesi %s - %s", in("Modello").GetString(),
									   in("DescriModello").GetString(), in("TipoDatoPianoBase").GetString(),
									   in("Esercizio").GetString(), in("MeseDa").GetString(), in("MeseA").GetString());
		if (!in("DescriColonnaUsata").IsEmpty())
			s += ", colonna " + in("DescriColonnaUsata");
		if (!in("DescriProiezione").IsEmpty())
			s += ", proiezione " + in("DescriProiezione");
		return s;
	}

	void Build(CReportContext& ctx, CReportOutput& out) override
	{
		out.title = "Confronto riclassificati";
		out.inputs = {{"Primo termine", Term(ctx, 1)}, {"Secondo termine", Term(ctx, 2)}};
		auto label = [&](const char* what, int n) {
			const CString col = ctx.InputText(CString::Formatted("w_DescriColonnaUsata%d", n));
			return CString::Formatted("%s %d", what, n) + (col.IsEmpty() ? CString() : " (" + col + ")");
		};
		CReportTable& t = out.AddTable("Confronto per codice", {{"Codice", ColumnKind::Text, 0.8},
																 {"Descrizione", ColumnKind::Text, 2.2},
																 {label("Valore", 1), ColumnKind::Money, 1},
																 {label("Valore", 2), ColumnKind::Money, 1},
																 {"Differenza", ColumnKind::Money, 1},
																 {"Diff. %", ColumnKind::Percent, 0.7},
																 {"Riportato 1", ColumnKind::Money, 1},
																 {"Riportato 2", ColumnKind::Money, 1},
																 {"Proiettato 1", ColumnKind::Money, 1},
																 {"Proiettato 2", ColumnKind::Money, 1}});
		for (int i = 0;; ++i)
		{
			CReportString codice, descrizione;
			double v1 = 0, v2 = 0, diff = 0, perc = 0, rip1 = 0, rip2 = 0, pro1 = 0, pro2 = 0;
			int tipo = 0, posizione = 0;
			if (!ctx.Member<bool>(kGetRiga, i, codice.Out(), descrizione.Out(), &v1, &v2, &diff, &perc, &rip1, &rip2, &tipo,
								  &pro1, &pro2, &posizione))
				break;
			t.AddRow({codice.Get(), descrizione.Get(), v1, v2, diff, perc, rip1, rip2, pro1, pro2});
		}
	}
};

}  // namespace

std::unique_ptr<CReportDefinition> MakeConfrontoRiclassif()
{
	return std::make_unique<CConfrontoRiclassif>();
}

}  // namespace kvzreports
