#include "KvzReports.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TDescrFormula.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneTesta.h"
#include "platform/plvoledb/SqlTable.h"

namespace kvzreports {

CString MonthName(int month)
{
	static const char* const names[] = {"Gennaio", "Febbraio", "Marzo",		"Aprile",	"Maggio",	"Giugno",
										"Luglio",  "Agosto",   "Settembre", "Ottobre", "Novembre", "Dicembre"};
	return month >= 1 && month <= 12 ? CString(names[month - 1]) : CString::Formatted("%d", month);
}

CString YesNo(bool b)
{
	return b ? "Sì" : "No";
}

const char* const kPrintByCodeExports[7] = {
	"__BDStampaRiclassificatoDoc_Kvz_GetNextDescrizioniPerStampa", "__BDStampaRiclassificatoDoc_Kvz_GetNextModelloPerStampa",
	"__BDStampaRiclassificatoDoc_Kvz_GetNextCodiciPerStampa_1",	   "__BDStampaRiclassificatoDoc_Kvz_GetNextCodiciPerStampa_2",
	"__BDStampaRiclassificatoDoc_Kvz_GetNextCodiciPerStampa_3",	   "__BDStampaRiclassificatoDoc_Kvz_GetNextCodiciPerStampa_4",
	"__BDStampaRiclassificatoDoc_Kvz_CancellaSelezionati",
};

size_t PrintByCode::UsedCodes() const
{
	size_t used = 0;
	for (size_t i = 0; i < descriptions.size(); ++i)
		if (!descriptions[i].IsEmpty())
			used = i + 1;
	for (const PrintedModel& m : models)
		for (size_t i = 0; i < m.cells.size(); ++i)
			if (m.cells[i] != 0)
				used = std::max(used, i + 1);
	return std::max<size_t>(used, 1);
}

CString PrintByCode::Heading(size_t i) const
{
	return i < descriptions.size() && !descriptions[i].IsEmpty() ? descriptions[i]
																  : CString::Formatted("Codice %zu", i + 1);
}

PrintByCode ReadPrintByCode(const CReportContext& ctx, size_t nCodes)
{
	PrintByCode out;
	{
		CReportString d[9];
		ctx.Member<bool>(kPrintByCodeExports[0], d[0].Out(), d[1].Out(), d[2].Out(), d[3].Out(), d[4].Out(), d[5].Out(),
						 d[6].Out(), d[7].Out(), d[8].Out());
		for (auto& s : d)
			out.descriptions.push_back(s.Get());
	}
	for (int i = 0;; ++i)
	{
		CReportString model, description;
		if (!ctx.Member<bool>(kPrintByCodeExports[1], i, model.Out(), description.Out()))
			break;
		if (model.Get().IsEmpty())  // a model not selected
			continue;
		PrintedModel m{model.Get(), description.Get(), std::vector<double>(110)};
		double* cells = m.cells.data();
		CallWithAmounts<35>(ctx, kPrintByCodeExports[2], cells, model.In());
		if (nCodes > 35)
		{
			CallWithAmounts<35>(ctx, kPrintByCodeExports[3], cells + 35, model.In());
			CallWithAmounts<29>(ctx, kPrintByCodeExports[4], cells + 70, model.In());
			CallWithAmounts<11>(ctx, kPrintByCodeExports[5], cells + 99, model.In());
		}
		m.cells.resize(nCodes);
		out.models.push_back(std::move(m));
	}
	// The printed codes keep their short descriptions and leave the list: the next print
	// takes the codes chosen next.
	ctx.Member<bool>(kPrintByCodeExports[6]);
	return out;
}

namespace {

// The formula of a model row for the value column printed.
CString RowFormula(const Kvz_TRiclassificazioneRighe& r, const CString& column)
{
	if (column == "A")
		return r.f_FormulaBudgetA.GetString();
	if (column == "B")
		return r.f_FormulaBudgetB.GetString();
	if (column == "C")
		return r.f_FormulaBudgetC.GetString();
	const DataStr* further[] = {&r.f_Formula1, &r.f_Formula2, &r.f_Formula3, &r.f_Formula4, &r.f_Formula5,
								&r.f_Formula6, &r.f_Formula7, &r.f_Formula8, &r.f_Formula9, &r.f_Formula10};
	const int n = static_cast<int>(std::strtol(column.GetString(), nullptr, 10));
	return n >= 1 && n <= 10 && !further[n - 1]->IsEmpty() ? further[n - 1]->GetString() : r.f_Formula.GetString();
}

// Whether a formula names the result of one of the codes ("_RVP" for VP).
bool ReadsAnyOf(const std::string& formula, const std::vector<std::string>& codes)
{
	auto word = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
	for (size_t at = formula.find("_R"); at != std::string::npos; at = formula.find("_R", at + 1))
	{
		if (at > 0 && word(formula[at - 1]))
			continue;
		size_t end = at + 2;
		while (end < formula.size() && word(formula[end]))
			++end;
		const std::string code = formula.substr(at + 2, end - at - 2);
		for (const std::string& c : codes)
			if (c.size() == code.size() && std::equal(c.begin(), c.end(), code.begin(), [](char a, char b) {
					return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
				}))
				return true;
	}
	return false;
}

}  // namespace

void FilterEqual(SqlTable& table, const char* param, DataObj& column, const DataObj& value)
{
	table.AddParam(param, column);
	table.AddFilterColumn(column);
	table.SetParamValue(param, value);
}

ModelShape ReadModel(int year, const CString& model, const CString& column)
{
	ModelShape shape;
	try
	{
		Kvz_TRiclassificazioneTesta head;
		SqlTable heads(&head, AfxGetDefaultSqlSession());
		heads.Open();
		heads.SelectAll();
		FilterEqual(heads, "pEs", head.f_Esercizio, DataInt(year));
		FilterEqual(heads, "pMod", head.f_ModelloRiclassific, DataStr(model));
		heads.Query();
		if (!heads.IsEOF())
			shape.description = head.f_Descrizione.GetString();
		heads.Close();

		Kvz_TRiclassificazioneRighe row;
		SqlTable rows(&row, AfxGetDefaultSqlSession());
		rows.Open();
		rows.SelectAll();
		FilterEqual(rows, "pEs", row.f_Esercizio, DataInt(year));
		FilterEqual(rows, "pMod", row.f_ModelloRiclassific, DataStr(model));
		rows.AddSortColumn(row.f_Posizione);
		rows.AddSortColumn(row.f_CodRiclassificato);
		rows.Query();
		std::vector<std::string> earlier;
		constexpr int kTotale = 5;
		for (; !rows.IsEOF(); rows.MoveNext())
		{
			const CString code = row.f_CodRiclassificato.GetString();
			shape.totals[code] = row.f_TipoRiga.GetItemValue() == kTotale || ReadsAnyOf(RowFormula(row, column).str(), earlier);
			earlier.push_back(code.str());
		}
		rows.Close();
	}
	catch (const SqlException&)
	{
		// A model that cannot be read prints without its description and emphasis.
	}
	return shape;
}

bool ModelShape::IsTotal(const CString& code) const
{
	auto it = totals.find(code);
	return it != totals.end() && it->second;
}

// The value columns' own names: "0" the main one, "1".."10" the further formulas under the
// title the model gives them, "A".."C" the budgets.
CString ColumnText(const CString& column, int year, const CString& model)
{
	if (column == "0")
		return "principale";
	if (column == "A" || column == "B" || column == "C")
		return "budget " + column;
	const int n = static_cast<int>(std::strtol(column.GetString(), nullptr, 10));
	CString text = CString::Formatted("formula %d", n);
	try
	{
		Kvz_TRDescrFormula titles;
		if (titles.FindRecord(DataInt(year), DataEnum(E_KVZ_TIPOSIMBOLO, 3), DataStr(model), DataEnum(E_KVZ_TIPOBUDGET, 3),
							  DataInt(n)) == TableReader::FOUND &&
			!titles.GetRecord()->f_Descrizione.IsEmpty())
			text += " (" + titles.GetRecord()->f_Descrizione.GetString() + ")";
	}
	catch (const SqlException&)
	{
		// The title is a courtesy: the column's number says which it is.
	}
	return text;
}

CString DataKindText(const CString& kind)
{
	// The first item lets each symbol say which balance it takes.
	return kind == "Scelta del simbolo" ? CString("come scelti da ciascun simbolo") : kind;
}

std::vector<std::pair<CString, CString>> PrintByCodeInputs(const CReportContext& ctx)
{
	std::vector<std::pair<CString, CString>> inputs;
	if (ctx.HasInput("w_EsercInput"))
		inputs.emplace_back("Esercizio", ctx.InputText("w_EsercInput"));
	for (auto [label, name] : {std::pair{"Dal mese", "w_DalMeseInput"}, std::pair{"Al mese", "w_AlMeseInput"}})
		if (ctx.HasInput(name))
			inputs.emplace_back(label, MonthName(ctx.InputInt(name)));
	if (ctx.HasInput("w_ColonnaInput"))
		inputs.emplace_back("Colonna valori", ColumnText(ctx.InputText("w_ColonnaInput"), ctx.InputInt("w_EsercInput"), CString()));
	return inputs;
}

}  // namespace kvzreports
