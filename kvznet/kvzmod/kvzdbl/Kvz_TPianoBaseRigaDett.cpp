#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRigaDett.h"

namespace {
const char* const kSource = "Kvz_TPianoBaseRigaDett";

// The reader's and the updater's query: only the header stops it.
void AddKeys(KeyedQuery& keys, DataLng& aIDPianoBase, DataInt& aMese, DataInt& aRiga)
{
	keys.Add("p1", "IDPianoBase", aIDPianoBase);
	keys.Add("p2", "Mese", aMese, false);
	keys.Add("p3", "Riga", aRiga, false);
}
}  // namespace

Kvz_TPianoBaseRigaDett::Kvz_TPianoBaseRigaDett(BOOL bCallInit)
	: SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TPianoBaseRigaDett::BindRecord()
{
	RecordBinder b(*this);
	b.Key("IDPianoBase", f_IDPianoBase);
	b.Key("Mese", f_Mese);
	b.Key("Riga", f_Riga);
	b.Col("Descrizione", f_Descrizione);
	b.Col("ImportoRateoDett", f_ImportoRateoDett);
	b.Col("RateoDaPrevisionale", f_RateoDaPrevisionale);
	b.End();
}

Jex_TRPianoBaseRigaDett::Jex_TRPianoBaseRigaDett(CBaseDocument* pDocument)
	: KeyedReader(Kvz_TPianoBaseRigaDett::GetThisClass(), pDocument)
{
	AddKeys(m_Keys, m_IDPianoBase, m_Mese, m_Riga);
}

TableReader::FindResult Jex_TRPianoBaseRigaDett::FindRecord(const DataLng& aIDPianoBase, const DataInt& aMese,
															const DataInt& aRiga)
{
	m_IDPianoBase = aIDPianoBase;
	m_Mese = aMese;
	m_Riga = aRiga;
	return TableReader::FindRecord();
}

Kvz_TPianoBaseRigaDett* Jex_TRPianoBaseRigaDett::GetRecord() const
{
	return TypedRecord<Kvz_TPianoBaseRigaDett>("m_pRecord->IsKindOf((Kvz_TPianoBaseRigaDett::GetThisClass()))",
											   "Jex_TRPianoBaseRigaDett::GetRecord", kSource);
}

Jex_TUPianoBaseRigaDett::Jex_TUPianoBaseRigaDett(CBaseDocument* pDocument, CMessages* pMessages)
	: KeyedUpdater(Kvz_TPianoBaseRigaDett::GetThisClass(), pDocument, pMessages)
{
	AddKeys(m_Keys, m_IDPianoBase, m_Mese, m_Riga);
}

TableReader::FindResult Jex_TUPianoBaseRigaDett::FindRecord(const DataLng& aIDPianoBase, const DataInt& aMese,
															const DataInt& aRiga, BOOL bLock)
{
	m_IDPianoBase = aIDPianoBase;
	m_Mese = aMese;
	m_Riga = aRiga;
	return TableUpdater::FindRecord(bLock, nullptr);
}

Kvz_TPianoBaseRigaDett* Jex_TUPianoBaseRigaDett::GetRecord() const
{
	return TypedRecord<Kvz_TPianoBaseRigaDett>("m_pRecord->IsKindOf((Kvz_TPianoBaseRigaDett::GetThisClass()))",
											   "Jex_TUPianoBaseRigaDett::GetRecord", kSource);
}
