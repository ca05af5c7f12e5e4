#pragma once
// Working copy of a driver's target models: what the driver document offers in its lookup.
#include "kvznet/kvzdrivers/kvzdriversdbl/DriversHotLink.h"
#include "kvznet/kvzdrivers/kvzdriversdbl/DriversModelUpdater.h"

class TKvzDriversTempModelli : public SqlRecord
{
	DECLARE_DYNCREATE(TKvzDriversTempModelli, SqlRecord)
public:
	explicit TKvzDriversTempModelli(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("KvzDriversTempModelli"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_ModelloDrivers;
	DataStr f_Ditta;
	DataInt f_EsercizioRiclassific;
	DataStr f_ModelloRiclassific;
	DataStr f_Descrizione;
};

class Kvz_TUDriversTempModelli : public kvzdrivers::DriversModelUpdater<TKvzDriversTempModelli>
{
	DECLARE_DYNAMIC(Kvz_TUDriversTempModelli, TableUpdater)
public:
	using DriversModelUpdater::DriversModelUpdater;
	TKvzDriversTempModelli* GetRecord() const;
};

// The models of one driver (SetModelloDrivers), of any year and company.
class HKLKvzDriversTempModelli : public DriversHotLink
{
	DECLARE_DYNCREATE(HKLKvzDriversTempModelli, DriversHotLink)
public:
	HKLKvzDriversTempModelli();
	TKvzDriversTempModelli* GetRecord() const { return TypedRecord<TKvzDriversTempModelli>(); }
	DataObj* GetDataObj() const override { return &GetRecord()->f_ModelloRiclassific; }
	void SetModelloDrivers(const DataStr& aModelloDrivers) { m_ModelloDrivers = aModelloDrivers; }
	void SetDescrizione(const DataStr& aDescrizione) { m_Descrizione = aDescrizione; }

private:
	DataStr m_ModelloDrivers;
	DataStr m_ModelloRiclassific;  // set by no one
	DataStr m_Descrizione;         // kept for the documents; the query reads the driver only
};
