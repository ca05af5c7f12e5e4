#pragma once
// Working copy of a driver's cost codes: what the driver document offers in its lookup.
#include "kvznet/kvzdrivers/kvzdriversdbl/DriversHotLink.h"
#include "platform/plvges/KeyedQuery.h"

class TKvzDriversTempCosti : public SqlRecord
{
	DECLARE_DYNCREATE(TKvzDriversTempCosti, SqlRecord)
public:
	explicit TKvzDriversTempCosti(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("KvzDriversTempCosti"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_ModelloDrivers;
	DataStr f_CodRiclassificCosto;
	DataStr f_Descrizione;
};

class Kvz_TUDriversTempCosti : public KeyedUpdater
{
	DECLARE_DYNAMIC(Kvz_TUDriversTempCosti, TableUpdater)
public:
	explicit Kvz_TUDriversTempCosti(CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr);
	FindResult FindRecord(const DataInt& aEsercizio, const DataStr& aModelloDrivers,
						  const DataStr& aCodRiclassificCosto, BOOL bLock);
	TKvzDriversTempCosti* GetRecord() const;

protected:
	DataInt m_Esercizio;
	DataStr m_ModelloDrivers;
	DataStr m_CodRiclassificCosto;
};

// The cost codes of one driver (SetModelloDrivers), of any year.
class HKLKvzDriversTempCosti : public DriversHotLink
{
	DECLARE_DYNCREATE(HKLKvzDriversTempCosti, DriversHotLink)
public:
	HKLKvzDriversTempCosti();
	TKvzDriversTempCosti* GetRecord() const { return TypedRecord<TKvzDriversTempCosti>(); }
	DataObj* GetDataObj() const override { return &GetRecord()->f_CodRiclassificCosto; }
	void SetModelloDrivers(const DataStr& aModelloDrivers) { m_ModelloDrivers = aModelloDrivers; }
	void SetCodRiclassificCosto(const DataStr& aCodRiclassificCosto) { m_CodRiclassificCosto = aCodRiclassificCosto; }
	void SetDescrizione(const DataStr& aDescrizione) { m_Descrizione = aDescrizione; }

private:
	DataStr m_ModelloDrivers;
	DataStr m_CodRiclassificCosto;  // kept for the documents; the query reads the driver only
	DataStr m_Descrizione;
};
