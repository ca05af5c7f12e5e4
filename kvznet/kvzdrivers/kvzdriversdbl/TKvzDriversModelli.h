#pragma once
// The target reclassification models of a cost driver (possibly of other companies), with the
// monthly measures and percentages the reclassification run writes back.
#include "kvznet/kvzdrivers/kvzdriversdbl/DriversModelUpdater.h"

class TKvzDriversModelli : public SqlRecord
{
	DECLARE_DYNCREATE(TKvzDriversModelli, SqlRecord)
public:
	explicit TKvzDriversModelli(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("KvzDriversModelli"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_ModelloDrivers;
	DataStr f_Ditta;
	DataInt f_EsercizioRiclassific;
	DataStr f_ModelloRiclassific;
	DataStr f_Descrizione;
	// Index 0 is January: columns ValOrigGennaio ... ValOrigDicembre and so on.
	DataMon f_ValOrig[12];
	DataMon f_Val[12];
	DataPerc f_Perc[12];

	DataInt l_SelModelliDitta;
};

class Kvz_TUDriversModelli : public kvzdrivers::DriversModelUpdater<TKvzDriversModelli>
{
	DECLARE_DYNAMIC(Kvz_TUDriversModelli, TableUpdater)
public:
	using DriversModelUpdater::DriversModelUpdater;
	TKvzDriversModelli* GetRecord() const;
};
