#include "kvznet/kvzmod/kvzdbl/Kvz_TModelliRiclassificazione.h"

#include "kvznet/kvzmod/kvzdbl/KvzDblLunghezze.h"

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
	b.Key("ModelloRiclassific", f_ModelloRiclassific).Code(kKvzLenCodice, true);
	b.Col("Descrizione", f_Descrizione).Text(kKvzLenDescrizione);
	b.End();
}
