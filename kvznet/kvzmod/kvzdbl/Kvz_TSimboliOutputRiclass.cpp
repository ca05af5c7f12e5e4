#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliOutputRiclass.h"

#include "kvznet/kvzmod/kvzdbl/KvzDblLunghezze.h"

namespace {
const char* const kSource = "Kvz_TSimboliOutputRiclass";

template <class Rec>
void BindOutputColumns(RecordBinder& b, Rec& r)
{
	b.Key("Esercizio", r.f_Esercizio).Year();
	b.Key("ModelloRiclassific", r.f_ModelloRiclassific).Code(kKvzLenCodice);
	b.Key("NomeSimbolo", r.f_NomeSimbolo).Code(kKvzLenNomeSimbolo, true);
	b.Col("Annotazioni", r.f_Annotazioni);
	b.Col("ValoreEsConst", r.f_ValoreEsConst);
	b.Col("ValoreEsSymb", r.f_ValoreEsSymb);
	b.Col("ValoreEs", r.f_ValoreEs);
	b.Col("ValoreMeseConst", r.f_ValoreMeseConst);
	b.Col("ValoreMeseSymb", r.f_ValoreMeseSymb);
	b.Col("ValoreMese", r.f_ValoreMese);
	b.Col("ValoreModello", r.f_ValoreModello);
	b.Col("ValoreCodice", r.f_ValoreCodice);
	b.Col("ValoreCodiceA", r.f_ValoreCodiceA);
	b.Col("AggregFunction", r.f_AggregFunction);
	b.Col("TipoDatoPBase", r.f_TipoDatoPBase);
	b.Col("ValoreDalBudget", r.f_ValoreDalBudget);
	b.Col("TipoBudget", r.f_TipoBudget);
	b.Col("ValoreDaUsare", r.f_ValoreDaUsare);
}

template <class Rec>
void SetOutputUpperCase(Rec& r)
{
	r.f_ModelloRiclassific.SetUpperCase(TRUE);
	r.f_NomeSimbolo.SetUpperCase(TRUE);
	r.f_ValoreCodice.SetUpperCase(TRUE);
	r.f_ValoreCodiceA.SetUpperCase(TRUE);
}
}  // namespace

Kvz_TSimboliOutputRiclass::Kvz_TSimboliOutputRiclass(BOOL bCallInit)
	: SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	SetOutputUpperCase(*this);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TSimboliOutputRiclass::BindRecord()
{
	RecordBinder b(*this);
	BindOutputColumns(b, *this);
	b.End();
}

Kvz_TSimboliOutputRiclass_Ext::Kvz_TSimboliOutputRiclass_Ext(BOOL bCallInit)
	: Kvz_TSimboliOutputRiclass_Ext(nullptr, bCallInit)
{
}

Kvz_TSimboliOutputRiclass_Ext::Kvz_TSimboliOutputRiclass_Ext(SqlConnection* pConnection, BOOL bCallInit)
	: SqlRecord(GetStaticName(), pConnection, TABLE_TYPE, FALSE)
{
	SetOutputUpperCase(*this);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TSimboliOutputRiclass_Ext::BindRecord()
{
	RecordBinder b(*this);
	BindOutputColumns(b, *this);
	b.End();
}

// ---- reader and updater ------------------------------------------------------------------------

Kvz_TRSimboliOutputRiclass::Kvz_TRSimboliOutputRiclass(CBaseDocument* pDocument)
	: SymbolKeyedReader({"p2", "p1", "p3"}, Kvz_TSimboliOutputRiclass::GetThisClass(), pDocument)
{
}

Kvz_TSimboliOutputRiclass* Kvz_TRSimboliOutputRiclass::GetRecord() const
{
	return TypedRecord<Kvz_TSimboliOutputRiclass>(
		"m_pRecord->IsKindOf((Kvz_TSimboliOutputRiclass::GetThisClass()))", "Kvz_TRSimboliOutputRiclass::GetRecord",
		kSource);
}

Kvz_TUSimboliOutputRiclass::Kvz_TUSimboliOutputRiclass(CBaseDocument* pDocument, CMessages* pMessages)
	: SymbolKeyedUpdater({"p2", "p1", "p3"}, Kvz_TSimboliOutputRiclass::GetThisClass(), pDocument, pMessages)
{
}

Kvz_TSimboliOutputRiclass* Kvz_TUSimboliOutputRiclass::GetRecord() const
{
	return TypedRecord<Kvz_TSimboliOutputRiclass>(
		"m_pRecord->IsKindOf((Kvz_TSimboliOutputRiclass::GetThisClass()))", "Kvz_TUSimboliOutputRiclass::GetRecord",
		kSource);
}
