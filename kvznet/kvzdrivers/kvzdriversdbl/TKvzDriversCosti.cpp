#include "kvznet/kvzdrivers/kvzdriversdbl/TKvzDriversCosti.h"

#include "kvznet/kvzdrivers/kvzdriversdbl/MonthColumns.h"

TKvzDriversCosti::TKvzDriversCosti(BOOL bCallInit) : SqlRecord(GetStaticName(), nullptr, TABLE_TYPE, FALSE)
{
	f_ModelloDrivers.SetUpperCase(TRUE);
	f_CodRiclassificCosto.SetUpperCase(TRUE);
	f_CodRiclRibaldamento.SetUpperCase(TRUE);
	f_CodRiclRibaldamentoStd.SetUpperCase(TRUE);
	BindRecord();
	if (bCallInit)
		Init();
}

void TKvzDriversCosti::BindRecord()
{
	RecordBinder b(*this);
	b.Key("Esercizio", f_Esercizio);
	b.Key("ModelloDrivers", f_ModelloDrivers);
	b.Key("CodRiclassificCosto", f_CodRiclassificCosto);
	b.Col("Descrizione", f_Descrizione);
	b.Col("Formula", f_Formula);
	b.Col("CodRiclRibaldamento", f_CodRiclRibaldamento);
	b.Col("CodRiclRibaldamentoStd", f_CodRiclRibaldamentoStd);
	kvzdrivers::BindMonths(b, "CostoStandard", f_CostoStandard);
	b.End();
}
