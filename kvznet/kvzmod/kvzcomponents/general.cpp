#include "kvznet/kvzmod/kvzcomponents/general.h"

#include <cmath>
#include <exception>

#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabiliTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodiciRiclassificato.h"
#include "platform/plvgeneric/FormatHelpers.h"
#include "platform/plvgenlib/ExportedFunctions.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const char* const kSource = "general";

void CompletaIntervallo(DataStr& aDa, DataStr& aA)
{
	if (aDa.IsEmpty() && !aA.IsEmpty())
		aDa = aA;
	else if (!aDa.IsEmpty() && aA.IsEmpty())
		aA = aDa;
}

void MostraErrore(const std::exception& e)
{
	const auto* pSql = dynamic_cast<const SqlException*>(&e);
	if (!pSql)
		ASSERT_RELEASE_FAILED("e->IsKindOf((SqlException::GetThisClass()))", "ComponiMacroDelSimbolo", kSource);
	(pSql ? *pSql : SqlException(e.what())).ShowError(_T(""));
}

// Walks the codes the query gives: an SQL error keeps the terms read before it.
template <class Define>
DataStr ComponiSuiCodici(SqlRecord& aCodici, const DataStr& aCodice, const DataEnum& aAggregFunction, Define define)
{
	const bool bMedia = aAggregFunction.GetValue() == DataEnum(E_KVZ_AGGREGFUNCTION, 1).GetValue();
	CString testo = bMedia ? "(" : "";
	int nCodici = 0;
	SqlTable table(&aCodici, AfxGetDefaultSqlSession());
	try
	{
		table.Open(FALSE, FALSE, TRUE);
		table.SelectAll();
		define(table);
		// The terms follow the codes' order whatever plan the database picks.
		table.AddSortColumn(aCodice);
		for (table.Query(); !table.IsEOF(); table.MoveNext())
		{
			testo += CString::Formatted("%s(%s)", nCodici ? "+" : "", aCodice.GetString().GetString());
			++nCodici;
		}
	}
	catch (const std::exception& e)
	{
		MostraErrore(e);
	}
	table.Close();

	DataStr result;
	if (nCodici == 0)
	{
		result.Clear(TRUE);
		return result;
	}
	if (bMedia)
		testo += CString::Formatted(") / %d", nCodici);
	result = testo;
	return result;
}

}  // namespace

int Kvz_LivelloConto(const DataStr& aCodice, const Kvz_TParametri& aParametri)
{
	const int nLen = aCodice.GetLen();
	if (nLen == 0)
		return 0;
	const int lenSeg[7] = {aParametri.f_LenSeg1, aParametri.f_LenSeg2, aParametri.f_LenSeg3, aParametri.f_LenSeg4,
						   aParametri.f_LenSeg5, aParametri.f_LenSeg6, aParametri.f_LenSeg7};
	// fine[k]: the length from which a code has level k; fine[1] (the ledger part) is never compared.
	int fine[9] = {};
	fine[1] = aParametri.f_LenMastro;
	for (int k = 1; k <= 7; ++k)
		fine[k + 1] = lenSeg[k - 1] > 0 ? fine[k] + lenSeg[k - 1] : 0;
	for (int k = 8; k >= 2; --k)
		if (fine[k] > 0 && nLen >= fine[k])
			return k;
	return 1;
}

DataInt Kvz_GetNrLivelloConto(DataStr* pCodice)
{
	if (!pCodice || pCodice->IsEmpty())
		return DataInt(0);
	Kvz_TRParametri reader;
	reader.SetSqlSession(AfxGetDefaultSqlSession());
	// A missing row leaves the record initialised: every code then has level 1.
	reader.FindRecord();
	return DataInt(Kvz_LivelloConto(*pCodice, *reader.GetRecord()));
}

DataStr ComponiMacroDelSimbolo(Kvz_TSimboliCodiciRiclass& aSimbolo)
{
	CompletaIntervallo(aSimbolo.f_ValoreCodice, aSimbolo.f_ValoreCodiceA);
	Kvz_TCodiciRiclassificato codici;
	return ComponiSuiCodici(codici, codici.f_CodRiclassificato, aSimbolo.f_AggregFunction, [&](SqlTable& t) {
		t.AddParam("p1", codici.f_Esercizio);
		t.AddFilterColumn(codici.f_Esercizio);
		t.AddParam("p2", codici.f_ModelloRiclassific);
		t.AddFilterColumn(codici.f_ModelloRiclassific);
		t.AddParam("p7", codici.f_CodRiclassificato);
		t.AddParam("p8", codici.f_CodRiclassificato);
		t.AddBetweenColumn(codici.f_CodRiclassificato);
		t.SetParamValue("p1", aSimbolo.f_Esercizio);
		t.SetParamValue("p2", aSimbolo.f_ModelloRiclassific);
		t.SetParamValue("p7", aSimbolo.f_ValoreCodice);
		t.SetParamValue("p8", aSimbolo.f_ValoreCodiceA);
	});
}

DataStr ComponiMacroDelSimbolo(Kvz_TSimboliCodiciExtracont& aSimbolo)
{
	CompletaIntervallo(aSimbolo.f_ValoreCodice, aSimbolo.f_ValoreCodiceA);
	Kvz_TCodExtracontabiliTesta codici;
	return ComponiSuiCodici(codici, codici.f_CodExtracont, aSimbolo.f_AggregFunction, [&](SqlTable& t) {
		t.AddParam("p1", codici.f_Esercizio);
		t.AddFilterColumn(codici.f_Esercizio);
		t.AddParam("p7", codici.f_CodExtracont);
		t.AddParam("p8", codici.f_CodExtracont);
		t.AddBetweenColumn(codici.f_CodExtracont);
		t.SetParamValue("p1", aSimbolo.f_Esercizio);
		t.SetParamValue("p7", aSimbolo.f_ValoreCodice);
		t.SetParamValue("p8", aSimbolo.f_ValoreCodiceA);
	});
}

DataMon ArrotondaValore(const DataMon& aValore, const DataInt& aDecimali, const DataEnum& aTipoArrotondamento)
{
	const WORD nItem = aTipoArrotondamento.GetItemValue();
	if (aValore.IsEmpty() || nItem == 0)
		return aValore;

	int nMode;
	switch (nItem)
	{
	case 1: nMode = FormatHelpers::ROUND_HALF_EVEN; break;
	case 2: nMode = FormatHelpers::ROUND_UP; break;
	case 4: nMode = FormatHelpers::ROUND_DOWN; break;
	default: nMode = FormatHelpers::ROUND_NEAREST; break;
	}
	const int nDecimali = aDecimali;
	const double quantum = nDecimali >= 0 ? 1.0 / std::pow(10.0, nDecimali) : std::pow(10.0, -nDecimali);
	const bool bNegativo = aValore.GetValue() <= -DataMon::GetStaticEpsilon();
	const double rounded = FormatHelpers::Round(std::fabs(aValore.GetValue()), quantum, nMode);
	// Zero, not -0.0: reports format the plain double they are handed.
	return DataMon(bNegativo && rounded != 0 ? -rounded : rounded);
}

PLV_EXPORT int __Kvz_GetNrLivelloConto(HWND hWnd, BSTR* pCodice)
{
	using namespace plv::exports;
	DataStr codice;
	codice.SetCollateCultureSensitive(true);
	codice.SetSoapValue(ToSoap(pCodice ? *pCodice : nullptr));
	// Always through the wrapper: it runs here only when this thread owns the window.
	CGlobalFunctionT_Param1<DataInt, DataStr*> call(hWnd, &Kvz_GetNrLivelloConto, &codice);
	call.Call(false);
	if (pCodice)
	{
		SysFreeString(*pCodice);
		*pCodice = FromSoap<BSTR>(codice.GetSoapValue());
	}
	return FromSoap<int>(call.GetResult().GetSoapValue());
}
