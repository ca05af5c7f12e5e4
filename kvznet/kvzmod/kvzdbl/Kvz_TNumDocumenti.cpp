#include "kvznet/kvzmod/kvzdbl/Kvz_TNumDocumenti.h"

Kvz_TNumDocumenti::Kvz_TNumDocumenti(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TNumDocumenti::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Anno", f_Anno);
	b.Key("TipoDoc", f_TipoDoc);
	b.Col("DataUltDoc", f_DataUltDoc);
	b.Col("UltNrDoc", f_UltNrDoc);
	b.End();
}
