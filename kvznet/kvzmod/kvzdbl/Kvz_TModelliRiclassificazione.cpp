#include "kvznet/kvzmod/kvzdbl/Kvz_TModelliRiclassificazione.h"

Kvz_TModelliRiclassificazione::Kvz_TModelliRiclassificazione(BOOL bCallInit)
	: SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_ModelloRiclassific.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TModelliRiclassificazione::BindRecord()
{
	RecordBinder b(*this);
	b.Key("ModelloRiclassific", f_ModelloRiclassific);
	b.Col("Descrizione", f_Descrizione);
	b.End();
}
