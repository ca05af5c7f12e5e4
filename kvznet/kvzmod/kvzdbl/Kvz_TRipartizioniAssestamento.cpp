#include "kvznet/kvzmod/kvzdbl/Kvz_TRipartizioniAssestamento.h"

namespace {
const char* const kSource = "Kvz_TRipartizioniAssestamento";
}

Kvz_TRipartizioniAssestamento::Kvz_TRipartizioniAssestamento(BOOL bCallInit)
	: SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TRipartizioniAssestamento::BindRecord()
{
	RecordBinder b(*this);
	b.Key("ContoKvz", f_ContoKvz);
	b.Key("Anno", f_Anno);
	b.Key("Mese", f_Mese);
	b.Col("Percentuale", f_Percentuale);
	b.Col("Dati", f_Dati);
	b.Col("Rateo", f_Rateo);
	b.End();
}

Kvz_TRRipartizioniAssestamento::Kvz_TRRipartizioniAssestamento(CBaseDocument* pDocument)
	: KeyedReader(Kvz_TRipartizioniAssestamento::GetThisClass(), pDocument)
{
	m_Keys.Add("p1", "ContoKvz", m_Conto);
	m_Keys.Add("p2", "Anno", m_Anno, false);
	m_Keys.Add("p3", "Mese", m_Mese, false);
}

TableReader::FindResult Kvz_TRRipartizioniAssestamento::FindRecord(const DataStr& aConto, const DataInt& aAnno,
																   const DataInt& aMese)
{
	m_Conto = aConto;
	m_Anno = aAnno;
	m_Mese = aMese;
	return TableReader::FindRecord();
}

Kvz_TRipartizioniAssestamento* Kvz_TRRipartizioniAssestamento::GetRecord() const
{
	return TypedRecord<Kvz_TRipartizioniAssestamento>(
		"m_pRecord->IsKindOf((Kvz_TRipartizioniAssestamento::GetThisClass()))",
		"Kvz_TRRipartizioniAssestamento::GetRecord", kSource);
}

Kvz_TURipartizioniAssestamento::Kvz_TURipartizioniAssestamento(CBaseDocument* pDocument, CMessages* pMessages)
	: KeyedUpdater(Kvz_TRipartizioniAssestamento::GetThisClass(), pDocument, pMessages)
{
	m_Keys.Add("p1", "ContoKvz", m_Conto);
	m_Keys.Add("p2", "Anno", m_Anno, false);
	m_Keys.Add("p3", "Mese", m_Mese, false);
}

TableReader::FindResult Kvz_TURipartizioniAssestamento::FindRecord(const DataStr& aConto, const DataInt& aAnno,
																   const DataInt& aMese, BOOL bLock)
{
	m_Conto = aConto;
	m_Anno = aAnno;
	m_Mese = aMese;
	return TableUpdater::FindRecord(bLock, nullptr);
}

Kvz_TRipartizioniAssestamento* Kvz_TURipartizioniAssestamento::GetRecord() const
{
	return TypedRecord<Kvz_TRipartizioniAssestamento>(
		"m_pRecord->IsKindOf((Kvz_TRipartizioniAssestamento::GetThisClass()))",
		"Kvz_TURipartizioniAssestamento::GetRecord", kSource);
}
