#include "kvznet/kvzdrivers/kvzdriversdbl/TKvzDriversMagazzini.h"

TKvzDriversMagazzini::TKvzDriversMagazzini(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_CodMagazzino.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void TKvzDriversMagazzini::BindRecord()
{
	RecordBinder b(*this);
	b.Key("CodMagazzino", f_CodMagazzino);
	b.Col("Descrizione", f_Descrizione);
	b.Col("Nota1", f_Nota1);
	b.Col("Nota2", f_Nota2);
	b.Col("Nota3", f_Nota3);
	b.Col("Nota4", f_Nota4);
	b.End();
}
