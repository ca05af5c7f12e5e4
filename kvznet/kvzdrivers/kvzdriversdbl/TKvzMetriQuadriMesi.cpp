#include "kvznet/kvzdrivers/kvzdriversdbl/TKvzMetriQuadriMesi.h"

TKvzMetriQuadriMesi::TKvzMetriQuadriMesi(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_CodMagazzino.SetUpperCase(TRUE);
	f_Ditta.SetUpperCase(TRUE);
	f_ModelloRiclassific.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void TKvzMetriQuadriMesi::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Esercizio", f_Esercizio);
	b.Key("CodMagazzino", f_CodMagazzino);
	b.Key("Mese", f_Mese);
	b.Col("Anno", f_Anno);
	b.Key("Ditta", f_Ditta);
	b.Key("ModelloRiclassific", f_ModelloRiclassific);
	b.Col("MetriQuadri", f_MetriQuadri);
	BIND_LOCAL_STR(b, "DescriModello", l_DescriModello, 64);
	b.End();
}
