#pragma once
// What the two formula engines (the current one and the legacy one) read and decide alike.
#include <string>
#include <string_view>
#include <vector>

#include "kvznet/kvzmod/kvzdocuments/MngFormula.h"
#include "platform/plvparser/Parser.h"

namespace kvz_formula {

// Aggregate texts by item of the aggregate function, and comparison operators by item.
inline const char* const kAggregati[] = {"SUM(%s)", "AVG(%s)", "COUNT(*)", "MAX(%s)", "MIN(%s)", "%s"};
inline const char* const kOperatori[] = {"=", "<=", ">=", "<", ">", "<>"};

// A name starts after one underscore (symbol) or two (macro) and ends at the next separator.
using NomeLetto = Kvz_NomeInFormula;
inline NomeLetto LeggiNome(const std::string& text, int pos)
{
	return Kvz_LeggiNomeInFormula(text, pos);
}

// The formula column a definition asks for: 0 the main one, 1 to 10 the further ones.
template <class Rec>
CString FormulaNumero(const Rec& r, int n)
{
	const DataStr* colonne[] = {&r.f_Formula,  &r.f_Formula1, &r.f_Formula2, &r.f_Formula3,
								&r.f_Formula4, &r.f_Formula5, &r.f_Formula6, &r.f_Formula7,
								&r.f_Formula8, &r.f_Formula9, &r.f_Formula10};
	return n >= 0 && n <= 10 ? colonne[n]->GetString() : CString();
}

// The formula of a model row: a budget type's, or the numbered one.
template <class Rec>
CString FormulaDellaRiga(const Rec& r, int numero, bool bBudget, const DataEnum& aTipoBudget)
{
	if (!bBudget)
		return FormulaNumero(r, numero);
	switch (aTipoBudget.GetItemValue())
	{
	case 0: return r.f_FormulaBudgetA.GetString();
	case 1: return r.f_FormulaBudgetB.GetString();
	case 2: return r.f_FormulaBudgetC.GetString();
	default: return "0";
	}
}

// The codes of a register between two ends, in order: the year's, and the model's where the
// register has models.
inline std::vector<DataStr> CodiciTra(SqlRecord& rec, DataObj& colEsercizio, DataObj* pColModello, DataStr& colCodice,
									  const DataInt& esercizio, const DataStr& modello, const DataStr& da,
									  const DataStr& a)
{
	return Kvz_CodiciTra(rec, colEsercizio, pColModello, colCodice, esercizio, modello, da, a);
}

// Adds "_" + every symbol name and "__" + every macro name of the year and model (always the
// current company's) to the table; an SQL error is shown and the names read so far stay.
void LeggiNomi(ErpSymTable& table, const DataInt& aEsercizio, const DataStr& aModello, const char* method);

// The branch of the tree whose name one of its ancestors already has, null when none.
Kvz_New_AlberoMacroRamo* RamoRicorsivo(Kvz_New_AlberoMacro* pAlbero);

}  // namespace kvz_formula
