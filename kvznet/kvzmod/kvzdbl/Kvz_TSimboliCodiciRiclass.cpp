#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciRiclass.h"

#include "kvznet/kvzmod/kvzdbl/KvzDblLunghezze.h"

namespace {
const char* const kSource = "Kvz_TSimboliCodiciRiclass";
}  // namespace

Kvz_TSimboliCodiciRiclass::Kvz_TSimboliCodiciRiclass(BOOL bCallInit)
	: SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_ModelloRiclassific.SetUpperCase(TRUE);
	f_NomeSimbolo.SetUpperCase(TRUE);
	f_ValoreCodice.SetUpperCase(TRUE);
	f_ValoreCodiceA.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TSimboliCodiciRiclass::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Esercizio", f_Esercizio).Year();
	b.Key("ModelloRiclassific", f_ModelloRiclassific).Code(kKvzLenCodice);
	b.Key("NomeSimbolo", f_NomeSimbolo).Code(kKvzLenNomeSimbolo, true);
	b.Col("Annotazioni", f_Annotazioni);
	b.Col("ValoreEsConst", f_ValoreEsConst);
	b.Col("ValoreEsSymb", f_ValoreEsSymb);
	b.Col("ValoreEs", f_ValoreEs);
	b.Col("ValoreModelloConst", f_ValoreModelloConst);
	b.Col("ValoreModelloSymb", f_ValoreModelloSymb);
	b.Col("ValoreModello", f_ValoreModello);
	b.Col("ValoreCodice", f_ValoreCodice);
	b.Col("ValoreCodiceA", f_ValoreCodiceA);
	b.Col("AggregFunction", f_AggregFunction);
	b.Col("FormulaDaUsare", f_FormulaDaUsare);
	b.Col("ValoreDalBudget", f_ValoreDalBudget);
	b.Col("TipoBudget", f_TipoBudget);
	b.End();
}

// ---- reader and updater ------------------------------------------------------------------------

Kvz_TRSimboliCodiciRiclass::Kvz_TRSimboliCodiciRiclass(CBaseDocument* pDocument)
	: SymbolKeyedReader({"p2", "p1", "p3"}, Kvz_TSimboliCodiciRiclass::GetThisClass(), pDocument)
{
}

Kvz_TSimboliCodiciRiclass* Kvz_TRSimboliCodiciRiclass::GetRecord() const
{
	return TypedRecord<Kvz_TSimboliCodiciRiclass>(
		"m_pRecord->IsKindOf((Kvz_TSimboliCodiciRiclass::GetThisClass()))", "Kvz_TRSimboliCodiciRiclass::GetRecord",
		kSource);
}

Kvz_TUSimboliCodiciRiclass::Kvz_TUSimboliCodiciRiclass(CBaseDocument* pDocument, CMessages* pMessages)
	: SymbolKeyedUpdater({"p2", "p1", "p3"}, Kvz_TSimboliCodiciRiclass::GetThisClass(), pDocument, pMessages)
{
}

Kvz_TSimboliCodiciRiclass* Kvz_TUSimboliCodiciRiclass::GetRecord() const
{
	return TypedRecord<Kvz_TSimboliCodiciRiclass>(
		"m_pRecord->IsKindOf((Kvz_TSimboliCodiciRiclass::GetThisClass()))", "Kvz_TUSimboliCodiciRiclass::GetRecord",
		kSource);
}
