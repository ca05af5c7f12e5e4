#include "kvznet/kvzdrivers/kvzdriversdbl/TKvzDriversTesta.h"

TKvzDriversTesta::TKvzDriversTesta(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_ModelloDrivers.SetUpperCase(TRUE);
	f_RiclassificazioneDrivers.SetUpperCase(TRUE);
	f_CodMagazzino.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void TKvzDriversTesta::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Esercizio", f_Esercizio);
	b.Key("ModelloDrivers", f_ModelloDrivers);
	b.Col("Descrizione", f_Descrizione);
	b.Col("TipoCalcolo", f_TipoCalcolo);
	b.Col("RiclassificazioneDrivers", f_RiclassificazioneDrivers);
	b.Col("CodMagazzino", f_CodMagazzino);
	b.Col("Disattivo", f_Disattivo);
	b.End();
}

// ---- hotlink -----------------------------------------------------------------------------------

HKLKvzDriversTesta::HKLKvzDriversTesta() : DriversHotLink(TKvzDriversTesta::GetThisClass())
{
	SetFixedFilter(_T("ParamEs"), _T("Esercizio"), m_Esercizio);
}
