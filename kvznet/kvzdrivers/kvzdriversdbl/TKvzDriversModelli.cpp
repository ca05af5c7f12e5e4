#include "kvznet/kvzdrivers/kvzdriversdbl/TKvzDriversModelli.h"

#include "kvznet/kvzdrivers/kvzdriversdbl/MonthColumns.h"

namespace {
const char* const kSource = "TKvzDriversModelli";
}

TKvzDriversModelli::TKvzDriversModelli(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_ModelloDrivers.SetUpperCase(TRUE);
	f_Ditta.SetUpperCase(TRUE);
	f_ModelloRiclassific.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void TKvzDriversModelli::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Esercizio", f_Esercizio);
	b.Key("ModelloDrivers", f_ModelloDrivers);
	b.Key("Ditta", f_Ditta);
	b.Col("EsercizioRiclassific", f_EsercizioRiclassific);
	b.Key("ModelloRiclassific", f_ModelloRiclassific);
	b.Col("Descrizione", f_Descrizione);
	kvzdrivers::BindMonths(b, "ValOrig", f_ValOrig);
	kvzdrivers::BindMonths(b, "Val", f_Val);
	kvzdrivers::BindMonths(b, "Perc", f_Perc);
	BIND_LOCAL(b, "SelModelliDitta", l_SelModelliDitta, 0);
	b.End();
}

// ---- updater -----------------------------------------------------------------------------------

TKvzDriversModelli* Kvz_TUDriversModelli::GetRecord() const
{
	return TypedRecord<TKvzDriversModelli>("m_pRecord->IsKindOf((TKvzDriversModelli::GetThisClass()))",
										   "Kvz_TUDriversModelli::GetRecord", kSource);
}
