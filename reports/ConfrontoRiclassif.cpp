// Two stored reclassified statements side by side: the value of each term, the difference and
// its percentage, the carried totals and the projections.
#include <algorithm>
#include <vector>

#include "KvzReports.h"

namespace kvzreports {
namespace {

const char* const kGetRiga = "__Kvz_CComparazioneRiclassificDoc_GetRigaComparazione";

class CConfrontoRiclassif : public CKvzReport
{
public:
	CConfrontoRiclassif() : CKvzReport("KvzNet.KvzMod.ConfrontoRiclassif", {kGetRiga}) {}

	// Model, year and months first: a long line is cut at its end.
	static CString Term(const CReportContext& ctx, int n)
	{
		auto in = [&](const char* name) { return ctx.InputText(CString::Formatted("w_%s%d", name, n)); };
		CString s = CString::Formatted("%s %s, esercizio %s, mesi %s-%s", in("Modello").GetString(),
									   in("DescriModello").GetString(), in("Esercizio").GetString(),
									   in("MeseDa").GetString(), in("MeseA").GetString());
		if (!in("DescriColonnaUsata").IsEmpty())
			s += ", " + in("DescriColonnaUsata");
		if (!in("DescriProiezione").IsEmpty())
			s += ", proiezione " + in("DescriProiezione");
		return s + ", dati " + DataKindText(in("TipoDatoPianoBase"));
	}

	struct Riga
	{
		CString codice, descrizione;
		double v1 = 0, v2 = 0, diff = 0, perc = 0, rip1 = 0, rip2 = 0, pro1 = 0, pro2 = 0;
		int tipo = 0, posizione = 0;
	};

	void Build(CReportContext& ctx, CReportOutput& out) override
	{
		out.title = "Confronto riclassificati";
		out.inputs = {{"Primo termine", Term(ctx, 1)},
					  {"Secondo termine", Term(ctx, 2)},
					  {"Differenza", "secondo termine meno primo; la percentuale è sul primo termine"}};
		std::vector<Riga> righe;
		bool riportati = false, proiezioni = false;
		for (int i = 0;; ++i)
		{
			Riga r;
			CReportString codice, descrizione;
			if (!ctx.Member<bool>(kGetRiga, i, codice.Out(), descrizione.Out(), &r.v1, &r.v2, &r.diff, &r.perc, &r.rip1,
								  &r.rip2, &r.tipo, &r.pro1, &r.pro2, &r.posizione))
				break;
			r.codice = codice.Get();
			r.descrizione = descrizione.Get();
			riportati = riportati || r.rip1 != 0 || r.rip2 != 0;
			righe.push_back(r);
		}
		proiezioni = !ctx.InputText("w_DescriProiezione1").IsEmpty() || !ctx.InputText("w_DescriProiezione2").IsEmpty();
		// The statement reads in the model's order, as its print does.
		std::stable_sort(righe.begin(), righe.end(), [](const Riga& a, const Riga& b) { return a.posizione < b.posizione; });

		// Each term's column is headed by its value column ("Principale", "Budget" ...), by its
		// model and year where both terms take the same column.
		CString titolo[2];
		for (int n = 1; n <= 2; ++n)
			titolo[n - 1] = ctx.InputText(CString::Formatted("w_DescriColonnaUsata%d", n));
		if (titolo[0] == titolo[1])
			for (int n = 1; n <= 2; ++n)
				titolo[n - 1] = ctx.InputText(CString::Formatted("w_Modello%d", n)) + " " +
								ctx.InputText(CString::Formatted("w_Esercizio%d", n)) +
								(titolo[n - 1].IsEmpty() ? CString() : " " + titolo[n - 1]);
		std::vector<ReportColumn> colonne = {{"Codice", ColumnKind::Text, 0.8},
											 {"Descrizione", ColumnKind::Text, 2.4},
											 {titolo[0], ColumnKind::Balance, 1.3},
											 {titolo[1], ColumnKind::Balance, 1.3},
											 {"Differenza (2° - 1°)", ColumnKind::Balance, 1.3},
											 {"Diff. %", ColumnKind::Percent, 0.8}};
		if (riportati)
			colonne.insert(colonne.end(), {{"Riportato 1", ColumnKind::Balance, 1.2}, {"Riportato 2", ColumnKind::Balance, 1.2}});
		if (proiezioni)
			colonne.insert(colonne.end(),
						   {{"Proiettato 1", ColumnKind::Balance, 1.2}, {"Proiettato 2", ColumnKind::Balance, 1.2}});
		CReportTable& t = out.AddTable("Confronto per codice", colonne);
		// The first term's model says which rows total others; a term of a budget or a further
		// column which rows have no formula there (a percentage against the zero the run left is
		// no comparison).
		const ModelShape shape = ReadModel(ctx.InputInt("w_Esercizio1"), ctx.InputText("w_Modello1"), "0");
		ModelShape columns[2];
		for (int n = 1; n <= 2; ++n)
		{
			const CString column = ctx.InputText(CString::Formatted("w_Colonna%d", n), "0");
			if (column != "0")
				columns[n - 1] = ReadModel(ctx.InputInt(CString::Formatted("w_Esercizio%d", n)),
										   ctx.InputText(CString::Formatted("w_Modello%d", n)), column);
		}
		for (int n = 1; n <= 2; ++n)
		{
			const CString model = ctx.InputText(CString::Formatted("w_Modello%d", n));
			if (n == 2 && model == ctx.InputText("w_Modello1"))
				break;
			out.subtitle += (n == 2 ? " e " : "") + model + " - " + ctx.InputText(CString::Formatted("w_DescriModello%d", n));
		}
		const int kTitolo = 4;  // a title row has no values
		for (const Riga& r : righe)
		{
			if ((r.tipo & 0xFFFF) == kTitolo)
			{
				t.AddRow({r.codice, r.descrizione});
				continue;
			}
			auto importo = [&](double v) { return shape.Amount(r.codice, v); };
			const bool senzaFormula = columns[0].IsUnformulated(r.codice) || columns[1].IsUnformulated(r.codice);
			std::vector<ReportCell> celle = {r.codice, r.descrizione, importo(r.v1), importo(r.v2), importo(r.diff),
											 senzaFormula ? ReportCell() : ReportCell(r.perc)};
			if (riportati)
				celle.insert(celle.end(), {importo(r.rip1), importo(r.rip2)});
			if (proiezioni)
				celle.insert(celle.end(), {importo(r.pro1), importo(r.pro2)});
			t.AddRow(std::move(celle), shape.IsTotal(r.codice));
		}
	}
};

}  // namespace

std::unique_ptr<CReportDefinition> MakeConfrontoRiclassif()
{
	return std::make_unique<CConfrontoRiclassif>();
}

}  // namespace kvzreports
