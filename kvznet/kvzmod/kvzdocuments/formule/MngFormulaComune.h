#pragma once
// What the two formula engines (the current one and the legacy one) read and decide alike.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "kvznet/kvzmod/kvzdocuments/formule/MngFormula.h"
#include "platform/plvges/TableReader.h"
#include "platform/plvoledb/SqlTable.h"
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

// Calls f with every name of the text, in order (an underscore with no name after it is passed
// over); stops at the first call that answers false, and answers as that call.
template <class F>
bool PerOgniNome(const std::string& text, F f)
{
	for (int i = 0; i < static_cast<int>(text.size());)
	{
		if (text[static_cast<size_t>(i)] != '_')
		{
			++i;
			continue;
		}
		const NomeLetto letto = LeggiNome(text, i);
		i = letto.fine;
		if (!letto.nome.IsEmpty() && !f(letto))
			return false;
	}
	return true;
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

// The formulas of a range of codes as one text: (fa)+(fb), or ((fa)+(fb)) / 2 for an average;
// codes without a formula are left out, "" when none has one.
template <class Cerca>
CString TestoIntervallo(const std::vector<DataStr>& codici, bool bMedia, Cerca cerca)
{
	CString testo;
	int n = 0;
	for (const DataStr& codice : codici)
	{
		const CString formula = cerca(codice);
		if (formula.IsEmpty())
			continue;
		testo += CString::Formatted("%s(%s)", n == 0 ? "" : "+", formula.GetString());
		++n;
	}
	if (n == 0)
		return "";
	return bMedia ? CString::Formatted("(%s) / %d", testo.GetString(), n) : testo;
}

// The formula text of a symbol over codes (reclassified or extra-accounting): a missing end
// stands for the other; one code gives its own formula, a range its codes' (read by codici) as
// TestoIntervallo joins them.
template <class Def, class Codici, class Cerca>
CString TestoCodici(Def& def, Codici codici, Cerca cerca)
{
	Kvz_CompletaIntervallo(def.f_ValoreCodice, def.f_ValoreCodiceA);
	if (def.f_ValoreCodice.GetString() == def.f_ValoreCodiceA.GetString())
		return cerca(def.f_ValoreCodice);
	return TestoIntervallo(codici(), def.f_AggregFunction.GetItemValue() == 1, cerca);
}

// The account pattern of a symbol's condition as SQL's LIKE reads it: "%" or "*" any text,
// "_" or "?" one character; a value with none of them is the accounts that begin with it.
inline CString ModelloLike(const CString& strValore)
{
	std::string s = strValore.str();
	if (s.find_first_of("%_*?") == std::string::npos)
		return CString(s + "%");
	for (char& c : s)
		c = c == '*' ? '%' : c == '?' ? '_' : c;
	return CString(s);
}
// The condition "column LIKE pattern" on a parameter already added: defined when bDefinisci,
// valued always.
inline void FiltroModello(SqlTable& table, LPCTSTR szParam, const DataObj& colonna, const DataStr& valore,
						  bool bDefinisci = true)
{
	if (bDefinisci)
		table.AddFilterColumn(colonna, "LIKE");
	table.SetParamValue(szParam, DataStr(ModelloLike(valore.GetString())));
}

using FunzioneMessaggio = std::function<void(const CString&)>;

// The symbol's definition in the reader's table for the year and model; null, said with
// strMancante (a format that takes the name), when there is none.
template <class Reader>
auto CercaDefinizione(Reader& reader, const DataInt& aEsercizio, const DataStr& aModello, const CString& strNome,
					  const CString& strMancante, const FunzioneMessaggio& messaggio)
{
	if (reader.FindRecord(aEsercizio, DataStr(strNome), aModello) == TableReader::FOUND)
		return reader.GetRecord();
	messaggio(CString::Formatted(strMancante, strNome.GetString()));
	return decltype(reader.GetRecord())(nullptr);
}

// The text of the macro of the year and model, its name matched exactly (table lookups ignore
// case; macro names do not); FALSE, said, when there is none.
BOOL LeggiMacro(Kvz_TRAnagMacro& reader, const DataInt& aEsercizio, const DataStr& aModello, const CString& strNome,
				CString& strFormula, const FunzioneMessaggio& messaggio);

// The registry row of the symbol of the year and model into riga, its name matched exactly;
// false, and riga untouched, when there is none.
bool CercaAnagrafica(Kvz_TRAnagSimboli& reader, const DataInt& aEsercizio, const DataStr& aModello,
					 const CString& strNome, Kvz_TAnagSimboli& riga);
// What is said of a symbol the registry of the year and model lacks.
CString TestoSimboloMancante(const CString& strNome, const DataInt& aEsercizio, const DataStr& aModello);
// What is said of a macro the year and model lack.
CString TestoMacroMancante(const CString& strNome, const DataInt& aEsercizio, const DataStr& aModello);

// FALSE, said, when a branch of the tree has the name of one of its ancestors.
BOOL VerificaRicorsivita(Kvz_New_AlberoMacro* pAlbero, const FunzioneMessaggio& messaggio);

// Adds "_" + every symbol name and "__" + every macro name of the year and model (always the
// current company's) to the table; an SQL error is shown and the names read so far stay.
void LeggiNomi(ErpSymTable& table, const DataInt& aEsercizio, const DataStr& aModello, const char* method);

}  // namespace kvz_formula
