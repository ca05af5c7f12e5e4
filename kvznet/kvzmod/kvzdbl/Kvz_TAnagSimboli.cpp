#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"

#include "kvznet/kvzmod/kvzdbl/KvzDblLunghezze.h"

namespace {
const char* const kSource = "Kvz_TAnagSimboli";

template <class Rec>
void BindSymbolColumns(RecordBinder& b, Rec& r)
{
	b.Key("Esercizio", r.f_Esercizio).Year();
	b.Key("ModelloRiclassific", r.f_ModelloRiclassific).Code(kKvzLenCodice);
	b.Key("NomeSimbolo", r.f_NomeSimbolo).Code(kKvzLenNomeSimbolo, true);
	b.Col("TipoSimbolo", r.f_TipoSimbolo);
	b.Col("DataCreazione", r.f_DataCreazione);
	b.Col("DataUltModifica", r.f_DataUltModifica);
	b.Col("UsaAziendaEsterna", r.f_UsaAziendaEsterna);
	b.Col("Azienda", r.f_Azienda);
}

template <class Rec>
void SetSymbolUpperCase(Rec& r)
{
	r.f_ModelloRiclassific.SetUpperCase(TRUE);
	r.f_NomeSimbolo.SetUpperCase(TRUE);
	r.f_Azienda.SetUpperCase(TRUE);
}
}  // namespace

Kvz_TAnagSimboli::Kvz_TAnagSimboli(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	SetSymbolUpperCase(*this);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TAnagSimboli::BindRecord()
{
	RecordBinder b(*this);
	BindSymbolColumns(b, *this);
	b.End();
}

Kvz_TAnagSimboli_Ext::Kvz_TAnagSimboli_Ext(BOOL bCallInit) : Kvz_TAnagSimboli_Ext(nullptr, bCallInit) {}

Kvz_TAnagSimboli_Ext::Kvz_TAnagSimboli_Ext(SqlConnection* pConnection, BOOL bCallInit)
	: SqlRecord(GetStaticName(), pConnection, TABLE_TYPE, FALSE)
{
	SetSymbolUpperCase(*this);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TAnagSimboli_Ext::BindRecord()
{
	RecordBinder b(*this);
	BindSymbolColumns(b, *this);
	b.End();
}

// ---- reader and updater ------------------------------------------------------------------------

Kvz_TRAnagSimboli::Kvz_TRAnagSimboli(CBaseDocument* pDocument)
	: SymbolKeyedReader({"p3", "p1", "p2"}, Kvz_TAnagSimboli::GetThisClass(), pDocument)
{
}

Kvz_TAnagSimboli* Kvz_TRAnagSimboli::GetRecord() const
{
	return TypedRecord<Kvz_TAnagSimboli>("m_pRecord->IsKindOf((Kvz_TAnagSimboli::GetThisClass()))",
										 "Kvz_TRAnagSimboli::GetRecord", kSource);
}

Kvz_TUAnagSimboli::Kvz_TUAnagSimboli(CBaseDocument* pDocument, CMessages* pMessages)
	: SymbolKeyedUpdater({"p3", "p1", "p2"}, Kvz_TAnagSimboli::GetThisClass(), pDocument, pMessages)
{
}

Kvz_TAnagSimboli* Kvz_TUAnagSimboli::GetRecord() const
{
	return TypedRecord<Kvz_TAnagSimboli>("m_pRecord->IsKindOf((Kvz_TAnagSimboli::GetThisClass()))",
										 "Kvz_TUAnagSimboli::GetRecord", kSource);
}
