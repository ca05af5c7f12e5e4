// The explosion of a model row's formula: each operand of the formula, then the accounts and
// cost centres or jobs it is made of, with the month's value and the progressive from January.
// Meant for a spreadsheet.
#include <vector>

#include "KvzReports.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "platform/plvoledb/SqlTable.h"

namespace kvzreports {
namespace {

const char* const kNext = "__CDeRiclassificazioniDoc_Kvz_GetNextRigaEsplos";
const char* const kSubNext = "__CDeRiclassificazioniDoc_Kvz_GetSubNextRigaEsplos";
const char* const kDescr = "__CDeRiclassificazioniDoc_Kvz_GetDescrRigaEsplos";

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
	CEsplosFormula() : CKvzReport("KvzNet.KvzMod.EsplosFormula_Excel", {kNext, kSubNext, kDescr}) {}
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
		const std::vector<ReportColumn> columns = {{"Operatore", ColumnKind::Text, 0.5},
												   {"Elemento", ColumnKind::Text, 1},
												   {"Segno", ColumnKind::Text, 0.5},
												   {"Conto", ColumnKind::Text, 0.9},
												   {"Descrizione", ColumnKind::Text, 1.8},
												   {"Tipo", ColumnKind::Text, 0.6},
												   {"Centro/Commessa", ColumnKind::Text, 0.9},
												   {"Descrizione centro/commessa", ColumnKind::Text, 1.6},
												   {"Valore " + MonthName(month), ColumnKind::Money, 1},
												   {"Progressivo", ColumnKind::Money, 1}};
		// The rows first: a column is printed only when some row fills it.
		struct Pending
		{
			std::vector<ReportCell> cells;
			bool strong = false;
		};
		std::vector<Pending> rows;
		struct
		{
			std::vector<Pending>* rows;
			void AddRow(std::vector<ReportCell> cells, bool strong = false) { rows->push_back({std::move(cells), strong}); }
		} t{&rows};
		// A symbol whose formula the explosion follows is totalled from its parts, printed under
		// it one level deeper, as they join by "+" and "-"; other operators leave it without a sum.
		struct Open
		{
			CString name;
			int level = 0;
			double sums[2] = {0, 0};
			bool additive = true;
			double nextSign = 1;
		};
		std::vector<Open> open;
		const CString subtracts = DataEnum(E_KVZ_SEGNOCONTO, 1).FormatData();
		auto closeTo = [&](int level) {
			while (!open.empty() && open.back().level >= level)
			{
				Open done = std::move(open.back());
				open.pop_back();
				std::vector<ReportCell> cells(10);
				cells[1] = CString("Totale " + done.name);
				if (done.additive)
				{
					cells[8] = done.sums[0];
					cells[9] = done.sums[1];
				}
				t.AddRow(std::move(cells), true);
				if (!open.empty() && open.back().level == done.level - 1)
				{
					Open& parent = open.back();
					for (int k = 0; k < 2; ++k)
						parent.sums[k] += parent.nextSign * done.sums[k];
					parent.additive = parent.additive && done.additive;
					parent.nextSign = 1;
				}
			}
		};
		// A piece of formula text inside a followed formula: "+" and "-" join its parts.
		auto textPart = [&](const CString& text, int level) {
			if (open.empty() || open.back().level != level - 1)
				return;
			const std::string op = CString(text).Trim().str();
			if (op == "-")
				open.back().nextSign = -1;
			else if (op != "+" && !op.empty())
				open.back().additive = false;
		};
		auto indent = [](const CString& text, int level) {
			return text.IsEmpty() ? text : CString(std::string(2 * static_cast<size_t>(std::max(level - 1, 0)), ' ')) + text;
		};
		int row = 0;
		for (;;)
		{
			const int first = row;
			CReportString op, element;
			if (!ctx.Member<bool>(kNext, &row, op.Out(), element.Out()))
				break;
			CString opText = op.Get();
			CReportString description, firstDescription;
			int level = 1, firstLevel = 1;
			bool symbol = false, firstSymbol = false;
			const bool hasElement = ctx.Member<bool>(kDescr, row, description.Out(), &level, &symbol);
			if (row != first)
			{
				// A piece of text and the element after it share a row only on the same level.
				ctx.Member<bool>(kDescr, first, firstDescription.Out(), &firstLevel, &firstSymbol);
				if (!hasElement)
					level = firstLevel;
				closeTo(firstLevel);
				textPart(opText, firstLevel);
				if (firstLevel != level)
				{
					t.AddRow({"", indent(opText, firstLevel)});
					opText = CString();
				}
			}
			closeTo(level);
			if (!symbol)
			{
				textPart(element.Get(), level);
				t.AddRow({opText, indent(element.Get(), level)});
				++row;
				continue;
			}
			t.AddRow({opText, indent(element.Get(), level), "", "", description.Get()});
			open.push_back(Open{element.Get(), level});
			for (int part = 0;; ++part)
			{
				CReportString text[6];
				double monthValue = 0, progressive = 0;
				if (!ctx.Member<bool>(kSubNext, row, &part, text[0].Out(), text[1].Out(), text[2].Out(), text[3].Out(),
									  text[4].Out(), text[5].Out(), &monthValue, &progressive))
					break;
				t.AddRow({"", "", text[0].Get(), text[1].Get(), text[2].Get(), text[3].Get(), text[4].Get(), text[5].Get(),
						  monthValue, progressive});
				const double sign = text[0].Get() == subtracts || text[3].Get() == subtracts ? -1 : 1;
				open.back().sums[0] += sign * monthValue;
				open.back().sums[1] += sign * progressive;
			}
			++row;
		}
		closeTo(0);
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
		std::vector<size_t> shown;
		for (size_t c = 0; c < columns.size(); ++c)
		{
			bool filled = c <= 1 || columns[c].kind != ColumnKind::Text;
			for (const Pending& r : rows)
				filled = filled || (c < r.cells.size() && !r.cells[c].IsEmpty() && !r.cells[c].GetText().IsEmpty());
			if (filled)
				shown.push_back(c);
		}
		std::vector<ReportColumn> kept;
		for (size_t c : shown)
			kept.push_back(columns[c]);
		CReportTable& table = out.AddTable("Elementi della formula", std::move(kept));
		for (Pending& r : rows)
		{
			std::vector<ReportCell> cells;
			for (size_t c : shown)
				cells.push_back(c < r.cells.size() ? r.cells[c] : ReportCell());
			table.AddRow(std::move(cells), r.strong);
		}
	}
};

}  // namespace

std::unique_ptr<CReportDefinition> MakeEsplosFormula_Excel()
{
	return std::make_unique<CEsplosFormula>();
}

}  // namespace kvzreports
