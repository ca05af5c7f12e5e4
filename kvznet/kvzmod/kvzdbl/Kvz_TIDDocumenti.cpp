#include "kvznet/kvzmod/kvzdbl/Kvz_TIDDocumenti.h"

Kvz_TIDDocumenti::Kvz_TIDDocumenti(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	BindRecord();
	if (bCallInit)
		Init();
}

void Kvz_TIDDocumenti::BindRecord()
{
	RecordBinder b(*this);
	b.Key("SpecieArchivio", f_SpecieArchivio);
	b.Col("UltimoID", f_UltimoID);
	b.End();
}
