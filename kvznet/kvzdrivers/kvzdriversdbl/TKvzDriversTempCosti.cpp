#include "kvznet/kvzdrivers/kvzdriversdbl/TKvzDriversTempCosti.h"

namespace {
const char* const kSource = "TKvzDriversTempCosti";
}

TKvzDriversTempCosti::TKvzDriversTempCosti(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_ModelloDrivers.SetUpperCase(TRUE);
	f_CodRiclassificCosto.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void TKvzDriversTempCosti::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Esercizio", f_Esercizio);
	b.Key("ModelloDrivers", f_ModelloDrivers);
	b.Key("CodRiclassificCosto", f_CodRiclassificCosto);
	b.Col("Descrizione", f_Descrizione);
	b.End();
	// The lookup lists a driver's cost codes whatever the year.
	AddIndex({"ModelloDrivers", "CodRiclassificCosto"});
}

// ---- updater -----------------------------------------------------------------------------------

Kvz_TUDriversTempCosti::Kvz_TUDriversTempCosti(CBaseDocument* pDocument, CMessages* pMessages)
	: KeyedUpdater(TKvzDriversTempCosti::GetThisClass(), pDocument, pMessages)
{
	m_Keys.Add(_T("Esercizio"), _T("Esercizio"), m_Esercizio, false);
	m_Keys.Add(_T("ParamModelloDrivers"), _T("ModelloDrivers"), m_ModelloDrivers, false);
	m_Keys.Add(_T("CodRiclassific"), _T("CodRiclassificCosto"), m_CodRiclassificCosto);
}

TableReader::FindResult Kvz_TUDriversTempCosti::FindRecord(const DataInt& aEsercizio, const DataStr& aModelloDrivers,
														   const DataStr& aCodRiclassificCosto, BOOL bLock)
{
	m_Esercizio = aEsercizio;
	m_ModelloDrivers = aModelloDrivers;
	m_CodRiclassificCosto = aCodRiclassificCosto;
	return TableUpdater::FindRecord(bLock, nullptr);
}

TKvzDriversTempCosti* Kvz_TUDriversTempCosti::GetRecord() const
{
	return TypedRecord<TKvzDriversTempCosti>("m_pRecord->IsKindOf((TKvzDriversTempCosti::GetThisClass()))",
											 "Kvz_TUDriversTempCosti::GetRecord", kSource);
}

// ---- hotlink -----------------------------------------------------------------------------------

HKLKvzDriversTempCosti::HKLKvzDriversTempCosti() : DriversHotLink(TKvzDriversTempCosti::GetThisClass())
{
	SetFixedFilter(_T("ParamModelloDrivers"), _T("ModelloDrivers"), m_ModelloDrivers);
}
