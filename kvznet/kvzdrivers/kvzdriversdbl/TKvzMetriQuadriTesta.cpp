#include "kvznet/kvzdrivers/kvzdriversdbl/TKvzMetriQuadriTesta.h"

TKvzMetriQuadriTesta::TKvzMetriQuadriTesta(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_CodMagazzino.SetUpperCase(TRUE);
	f_CodiceDrivers.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void TKvzMetriQuadriTesta::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Esercizio", f_Esercizio);
	b.Key("CodMagazzino", f_CodMagazzino);
	b.Key("Mese", f_Mese);
	b.Col("Descrizione1", f_Descrizione1);
	b.Col("Descrizione2", f_Descrizione2);
	b.Col("Descrizione3", f_Descrizione3);
	b.Col("Descrizione4", f_Descrizione4);
	b.Col("CodiceDrivers", f_CodiceDrivers);
	b.Col("TotaleMetriQuadri", f_TotaleMetriQuadri);
	BIND_LOCAL(b, "MetriQuadriRighe", l_MetriQuadriRighe, 0);
	b.End();
}
