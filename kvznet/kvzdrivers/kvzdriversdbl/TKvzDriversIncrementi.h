#pragma once
// Monthly percentage increments of a cost driver per company, target model and cost code.
#include "platform/plvges/KeyedQuery.h"

class TKvzDriversIncrementi : public SqlRecord
{
	DECLARE_DYNCREATE(TKvzDriversIncrementi, SqlRecord)
public:
	explicit TKvzDriversIncrementi(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("KvzDriversIncrementi"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_ModelloDrivers;
	DataStr f_Ditta;  // kept as typed; it still matches in any case, as text columns compare
	DataStr f_ModelloRiclassificInter;
	DataStr f_CodRiclassificCosto;
	DataPerc f_Incr[12];  // index 0 is January

	// Both bound under one local name: the forms reach them as members.
	DataStr l_DescrizioneModello;
	DataStr l_DescrizioneCosto;
};

class Kvz_TRDriversIncrementi : public KeyedReader
{
	DECLARE_DYNAMIC(Kvz_TRDriversIncrementi, TableReader)
public:
	explicit Kvz_TRDriversIncrementi(CBaseDocument* pDocument = nullptr);
	// The company comes before the driver.
	FindResult FindRecord(const DataInt& aEsercizio, const DataStr& aDitta, const DataStr& aModelloDrivers,
						  const DataStr& aModelloRiclassificInter, const DataStr& aCodRiclassificCosto);
	TKvzDriversIncrementi* GetRecord() const;

protected:
	DataInt m_Esercizio;
	DataStr m_Ditta;
	DataStr m_ModelloDrivers;
	DataStr m_ModelloRiclassificInter;
	DataStr m_CodRiclassificCosto;
};
