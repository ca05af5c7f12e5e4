#include "kvznet/kvzdrivers/kvzdriversdbl/TKvzDriversTempModelli.h"

namespace {
const char* const kSource = "TKvzDriversTempModelli";
}

TKvzDriversTempModelli::TKvzDriversTempModelli(BOOL bCallInit)
	: SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_ModelloDrivers.SetUpperCase(TRUE);
	f_Ditta.SetUpperCase(TRUE);
	f_ModelloRiclassific.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void TKvzDriversTempModelli::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Esercizio", f_Esercizio);
	b.Key("ModelloDrivers", f_ModelloDrivers);
	b.Key("Ditta", f_Ditta);
	b.Col("EsercizioRiclassific", f_EsercizioRiclassific);
	b.Key("ModelloRiclassific", f_ModelloRiclassific);
	b.Col("Descrizione", f_Descrizione);
	b.End();
	// The lookup lists a driver's models whatever the year.
	AddIndex({"ModelloDrivers", "ModelloRiclassific"});
}

TKvzDriversTempModelli* Kvz_TUDriversTempModelli::GetRecord() const
{
	return TypedRecord<TKvzDriversTempModelli>("m_pRecord->IsKindOf((TKvzDriversTempModelli::GetThisClass()))",
											   "Kvz_TUDriversTempModelli::GetRecord", kSource);
}

HKLKvzDriversTempModelli::HKLKvzDriversTempModelli() : DriversHotLink(TKvzDriversTempModelli::GetThisClass())
{
	SetFixedFilter(_T("ParamModelloDrivers"), _T("ModelloDrivers"), m_ModelloDrivers);
}
