#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciExtracont.h"

#include "kvznet/kvzmod/kvzdbl/KvzDblLunghezze.h"

namespace {
const char* const kSource = "Kvz_TSimboliCodiciExtracont";
}  // namespace

Kvz_TSimboliCodiciExtracont::Kvz_TSimboliCodiciExtracont(BOOL bCallInit)
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

void Kvz_TSimboliCodiciExtracont::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Esercizio", f_Esercizio).Year();
	b.Key("ModelloRiclassific", f_ModelloRiclassific).Code(kKvzLenCodice);
	b.Key("NomeSimbolo", f_NomeSimbolo).Code(kKvzLenNomeSimbolo, true);
	b.Col("Annotazioni", f_Annotazioni);
	b.Col("ValoreEsConst", f_ValoreEsConst);
	b.Col("ValoreEsSymb", f_ValoreEsSymb);
	b.Col("ValoreEs", f_ValoreEs);
	b.Col("ValoreMeseConst", f_ValoreMeseConst);
	b.Col("ValoreMeseSymb", f_ValoreMeseSymb);
	b.Col("ValoreMese", f_ValoreMese);
	b.Col("ValoreCodice", f_ValoreCodice);
	b.Col("ValoreCodiceA", f_ValoreCodiceA);
	b.Col("AggregFunction", f_AggregFunction);
	b.Col("FormulaDaUsare", f_FormulaDaUsare);
	b.End();
}

// ---- reader and updater ------------------------------------------------------------------------

Kvz_TRSimboliCodiciExtracont::Kvz_TRSimboliCodiciExtracont(CBaseDocument* pDocument)
	: SymbolKeyedReader({"p2", "p1", "p3"}, Kvz_TSimboliCodiciExtracont::GetThisClass(), pDocument)
{
}

Kvz_TSimboliCodiciExtracont* Kvz_TRSimboliCodiciExtracont::GetRecord() const
{
	return TypedRecord<Kvz_TSimboliCodiciExtracont>(
		"m_pRecord->IsKindOf((Kvz_TSimboliCodiciExtracont::GetThisClass()))", "Kvz_TRSimboliCodiciExtracont::GetRecord",
		kSource);
}

Kvz_TUSimboliCodiciExtracont::Kvz_TUSimboliCodiciExtracont(CBaseDocument* pDocument, CMessages* pMessages)
	: SymbolKeyedUpdater({"p2", "p1", "p3"}, Kvz_TSimboliCodiciExtracont::GetThisClass(), pDocument, pMessages)
{
}

Kvz_TSimboliCodiciExtracont* Kvz_TUSimboliCodiciExtracont::GetRecord() const
{
	return TypedRecord<Kvz_TSimboliCodiciExtracont>(
		"m_pRecord->IsKindOf((Kvz_TSimboliCodiciExtracont::GetThisClass()))", "Kvz_TUSimboliCodiciExtracont::GetRecord",
		kSource);
}
