#include "KvzReports.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodRaggrupp.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TDescrFormula.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
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
	if (!codes.empty())
		return codes.size();
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

CString PrintByCode::Code(size_t i) const
{
	return i < codes.size() ? codes[i] : CString::Formatted("Codice %zu", i + 1);
}

CString PrintByCode::Heading(size_t i) const
{
	const CString text = i < descriptions.size() && !descriptions[i].IsEmpty() ? descriptions[i] : Code(i);
	const bool subtracted = i < codes.size() && !shapes.empty() && shapes.front().IsSubtracted(codes[i]);
	return subtracted ? "- " + text : text;
}

bool PrintByCode::IsRatio(size_t i) const
{
	if (i >= codes.size())
		return false;
	for (const ModelShape& shape : shapes)
		if (shape.IsRatio(codes[i]))
			return true;
	return false;
}

ReportCell PrintByCode::Cell(size_t model, size_t i) const
{
	const double v = models[model].cells[i];
	return IsRatio(i) ? ReportCell(v, 4) : ReportCell(v);
}

CString PrintByCode::ModelsText() const
{
	if (models.size() <= 4)
	{
		CString text;
		for (const PrintedModel& m : models)
			text += (text.IsEmpty() ? CString() : CString(", ")) + m.model;
		return text;
	}
	return CString::Formatted("%s ... %s (%zu modelli)", models.front().model.GetString(), models.back().model.GetString(),
							  models.size());
}

PrintByCode ReadPrintByCode(const CReportContext& ctx, size_t nCodes)
{
	PrintByCode out;
	const std::string codes = ctx.InputText("w_CodiciSelezionati").str();
	for (size_t at = 0; at < codes.size();)
	{
		size_t end = codes.find('\n', at);
		if (end == std::string::npos)
			end = codes.size();
		if (end > at && out.codes.size() < nCodes)
			out.codes.emplace_back(codes.substr(at, end - at).c_str());
		at = end + 1;
	}
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
		out.shapes.push_back(ReadModel(ctx.InputInt("w_EsercInput"), m.model, ctx.InputText("w_ColonnaInput", "0")));
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

// A progressive whose sign divides (any other than "+", "-", "*"), over two codes.
bool IsQuotient(const CString& sign, const CString& dividend, const CString& divisor)
{
	return !dividend.IsEmpty() && !divisor.IsEmpty() && sign != "+" && sign != "-" && sign != "*";
}

// The formula of a model row for exactly that value column ("0" the main one).
std::string OwnFormula(const Kvz_TRiclassificazioneRighe& r, const CString& column)
{
	if (column == "A" || column == "B" || column == "C" || column == "0")
		return RowFormula(r, column).str();
	const DataStr* further[] = {&r.f_Formula1, &r.f_Formula2, &r.f_Formula3, &r.f_Formula4, &r.f_Formula5,
								&r.f_Formula6, &r.f_Formula7, &r.f_Formula8, &r.f_Formula9, &r.f_Formula10};
	const int n = static_cast<int>(std::strtol(column.GetString(), nullptr, 10));
	return n >= 1 && n <= 10 ? further[n - 1]->GetString().str() : std::string();
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

// Whether a formula subtracts the result of the code ("_RVP-_RCE" subtracts CE).
bool Subtracts(const std::string& formula, const std::string& code)
{
	auto word = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
	const std::string symbol = "_R" + code;
	for (size_t at = formula.find(symbol); at != std::string::npos; at = formula.find(symbol, at + 1))
	{
		const size_t end = at + symbol.size();
		if ((at > 0 && word(formula[at - 1])) || (end < formula.size() && word(formula[end])))
			continue;
		size_t before = at;
		while (before > 0 && formula[before - 1] == ' ')
			--before;
		if (before > 0 && formula[before - 1] == '-')
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
		// Results stored under a grouping code: the grouping's description.
		if (shape.description.IsEmpty())
		{
			Kvz_TCodRaggrupp grouping;
			SqlTable groupings(&grouping, AfxGetDefaultSqlSession());
			groupings.Open();
			groupings.SelectAll();
			FilterEqual(groupings, "pCod", grouping.f_CodRaggrupp, DataStr(model));
			groupings.Query();
			if (!groupings.IsEOF())
				shape.description = grouping.f_Descrizione.GetString();
			groupings.Close();
		}

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
		std::vector<std::string> formulas;
		constexpr int kTotale = 5;
		for (; !rows.IsEOF(); rows.MoveNext())
		{
			const CString code = row.f_CodRiclassificato.GetString();
			formulas.push_back(RowFormula(row, column).str());
			const bool ratio = IsQuotient(row.f_SegnoDaApplicare.GetString(), row.f_CodRiclDividendoProgr.GetString(),
										  row.f_CodRiclDivisoreProgr.GetString());
			shape.ratios[code] = ratio;
			// The run leaves a column without its formula at zero, and computes no progressive
			// in it either way; rows of kinds 4 and 6 to 9 are not the run's.
			const WORD kind = row.f_TipoRiga.GetItemValue();
			const bool progressive = !row.f_CodRiclDividendoProgr.IsEmpty() && !row.f_CodRiclDivisoreProgr.IsEmpty();
			shape.unformulated[code] = column != "0" && OwnFormula(row, column).empty() && !progressive &&
									   kind != 4 && (kind < 6 || kind > 9);
			// A quotient reads the rows above it but totals none of them.
			const std::string formula = RowFormula(row, column).str();
			shape.totals[code] = !ratio && (row.f_TipoRiga.GetItemValue() == kTotale ||
											(ReadsAnyOf(formula, earlier) && formula.find('/') == std::string::npos));
			earlier.push_back(code.str());
		}
		rows.Close();
		for (const std::string& code : earlier)
			for (const std::string& formula : formulas)
				if (Subtracts(formula, code))
					shape.subtracted[CString(code.c_str())] = true;
		if (shape.ratios.empty())
		{
			Kvz_TRiclassificato result;
			SqlTable results(&result, AfxGetDefaultSqlSession());
			results.Open();
			results.Select(result.f_CodRiclassificato);
			results.Select(result.f_SegnoDaApplicare);
			results.Select(result.f_CodRiclDividendoProgr);
			results.Select(result.f_CodRiclDivisoreProgr);
			FilterEqual(results, "pEs", result.f_Esercizio, DataInt(year));
			FilterEqual(results, "pMod", result.f_ModelloRiclassific, DataStr(model));
			for (results.Query(); !results.IsEOF(); results.MoveNext())
				if (IsQuotient(result.f_SegnoDaApplicare.GetString(), result.f_CodRiclDividendoProgr.GetString(),
							   result.f_CodRiclDivisoreProgr.GetString()))
					shape.ratios[result.f_CodRiclassificato.GetString()] = true;
			results.Close();
		}
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

bool ModelShape::IsSubtracted(const CString& code) const
{
	auto it = subtracted.find(code);
	return it != subtracted.end() && it->second;
}

bool ModelShape::IsUnformulated(const CString& code) const
{
	auto it = unformulated.find(code);
	return it != unformulated.end() && it->second;
}

bool ModelShape::IsRatio(const CString& code) const
{
	auto it = ratios.find(code);
	return it != ratios.end() && it->second;
}

ReportCell ModelShape::Amount(const CString& code, double value) const
{
	return IsRatio(code) ? ReportCell(value, 4) : ReportCell(value);
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
