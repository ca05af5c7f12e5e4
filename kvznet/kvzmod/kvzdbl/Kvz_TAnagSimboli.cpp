#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"

namespace {
const char* const kSource = "Kvz_TAnagSimboli";

template <class Rec>
void BindSymbolColumns(RecordBinder& b, Rec& r)
{
	b.Key("Esercizio", r.f_Esercizio);
	b.Key("ModelloRiclassific", r.f_ModelloRiclassific);
	b.Key("NomeSimbolo", r.f_NomeSimbolo);
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

// Only the name stops the query: year 0 and an empty model are searched as they are.
void AddSymbolKeys(KeyedQuery& keys, DataInt& aEsercizio, DataStr& aNome, DataStr& aModello)
{
	keys.Add("p3", "Esercizio", aEsercizio, false);
	keys.Add("p1", "NomeSimbolo", aNome);
	keys.Add("p2", "ModelloRiclassific", aModello, false);
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
	: KeyedReader(Kvz_TAnagSimboli::GetThisClass(), pDocument)
{
	AddSymbolKeys(m_Keys, m_Esercizio, m_NomeSimbolo, m_ModelloRiclassific);
}

TableReader::FindResult Kvz_TRAnagSimboli::FindRecord(const DataInt& aEsercizio, const DataStr& aNomeSimbolo,
													   const DataStr& aModelloRiclassific)
{
	m_Esercizio = aEsercizio;
	m_NomeSimbolo = aNomeSimbolo;
	m_ModelloRiclassific = aModelloRiclassific;
	return TableReader::FindRecord();
}

Kvz_TAnagSimboli* Kvz_TRAnagSimboli::GetRecord() const
{
	return TypedRecord<Kvz_TAnagSimboli>("m_pRecord->IsKindOf((Kvz_TAnagSimboli::GetThisClass()))",
										 "Kvz_TRAnagSimboli::GetRecord", kSource);
}

Kvz_TUAnagSimboli::Kvz_TUAnagSimboli(CBaseDocument* pDocument, CMessages* pMessages)
	: KeyedUpdater(Kvz_TAnagSimboli::GetThisClass(), pDocument, pMessages)
{
	AddSymbolKeys(m_Keys, m_Esercizio, m_NomeSimbolo, m_ModelloRiclassific);
}

TableReader::FindResult Kvz_TUAnagSimboli::FindRecord(const DataInt& aEsercizio, const DataStr& aNomeSimbolo,
													   const DataStr& aModelloRiclassific, BOOL bLock)
{
	m_Esercizio = aEsercizio;
	m_NomeSimbolo = aNomeSimbolo;
	m_ModelloRiclassific = aModelloRiclassific;
	return TableUpdater::FindRecord(bLock, nullptr);
}

Kvz_TAnagSimboli* Kvz_TUAnagSimboli::GetRecord() const
{
	return TypedRecord<Kvz_TAnagSimboli>("m_pRecord->IsKindOf((Kvz_TAnagSimboli::GetThisClass()))",
										 "Kvz_TUAnagSimboli::GetRecord", kSource);
}
