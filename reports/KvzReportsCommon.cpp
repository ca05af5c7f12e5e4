#include "KvzReports.h"

#include <algorithm>

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

std::vector<std::pair<CString, CString>> PrintByCodeInputs(const CReportContext& ctx)
{
	std::vector<std::pair<CString, CString>> inputs;
	for (auto [label, name] : {std::pair{"Esercizio", "w_EsercInput"}, std::pair{"Dal mese", "w_DalMeseInput"},
							   std::pair{"Al mese", "w_AlMeseInput"}, std::pair{"Colonna", "w_ColonnaInput"}})
		if (ctx.HasInput(name))
			inputs.emplace_back(label, ctx.InputText(name));
	return inputs;
}

}  // namespace kvzreports
