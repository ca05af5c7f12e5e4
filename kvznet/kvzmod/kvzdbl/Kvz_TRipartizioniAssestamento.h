#pragma once
// Monthly spread of the adjustments of a grouped account and year.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvges/KeyedQuery.h"

class Kvz_TRipartizioniAssestamento : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TRipartizioniAssestamento, SqlRecord)
public:
	explicit Kvz_TRipartizioniAssestamento(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_RipartizioniAssestamento"); }
	void BindRecord() override;

	DataStr f_ContoKvz;  // kept as written: this table does not upper-case the account
	DataInt f_Anno;
	DataInt f_Mese;
	DataPerc f_Percentuale;
	DataMon f_Dati;
	DataMon f_Rateo;
};

class Kvz_TRRipartizioniAssestamento : public KeyedReader
{
	DECLARE_DYNAMIC(Kvz_TRRipartizioniAssestamento, TableReader)
public:
	explicit Kvz_TRRipartizioniAssestamento(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataStr& aConto, const DataInt& aAnno, const DataInt& aMese);
	Kvz_TRipartizioniAssestamento* GetRecord() const;

protected:
	DataStr m_Conto;
	DataInt m_Anno;
	DataInt m_Mese;
};

class Kvz_TURipartizioniAssestamento : public KeyedUpdater
{
	DECLARE_DYNAMIC(Kvz_TURipartizioniAssestamento, TableUpdater)
public:
	explicit Kvz_TURipartizioniAssestamento(CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr);
	FindResult FindRecord(const DataStr& aConto, const DataInt& aAnno, const DataInt& aMese, BOOL bLock);
	Kvz_TRipartizioniAssestamento* GetRecord() const;

protected:
	DataStr m_Conto;
	DataInt m_Anno;
	DataInt m_Mese;
};
