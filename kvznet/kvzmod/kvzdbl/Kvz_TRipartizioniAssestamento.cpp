#include "kvznet/kvzmod/kvzdbl/Kvz_TRipartizioniAssestamento.h"

namespace {
const char* const kSource = "Kvz_TRipartizioniAssestamento";

// The reader's and the updater's query: only the account stops it.
void AddKeys(KeyedQuery& keys, DataStr& aConto, DataInt& aAnno, DataInt& aMese)
{
	keys.Add("p1", "ContoKvz", aConto);
	keys.Add("p2", "Anno", aAnno, false);
	keys.Add("p3", "Mese", aMese, false);
}
}  // namespace

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
	AddKeys(m_Keys, m_Conto, m_Anno, m_Mese);
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
	AddKeys(m_Keys, m_Conto, m_Anno, m_Mese);
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
