#pragma once
// Cost-driver headers: one row per fiscal year and driver.
#include "kvznet/kvzdrivers/kvzdriversdbl/KvzDriversDblEnums.h"
#include "kvznet/kvzdrivers/kvzdriversdbl/DriversHotLink.h"

class TKvzDriversTesta : public SqlRecord
{
	DECLARE_DYNCREATE(TKvzDriversTesta, SqlRecord)
public:
	explicit TKvzDriversTesta(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("KvzDriversTesta"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_ModelloDrivers;
	DataStr f_Descrizione;
	DataEnum f_TipoCalcolo{E_KVZ_TIPOCALCOLODRIVERS, 0};
	DataStr f_RiclassificazioneDrivers;
	DataStr f_CodMagazzino;
	DataBool f_Disattivo;  // the reclassification run computes only the drivers switched on
};

// The drivers of one year (SetEsercizio); documents construct it themselves, it is not declared.
class HKLKvzDriversTesta : public DriversHotLink
{
	DECLARE_DYNCREATE(HKLKvzDriversTesta, DriversHotLink)
public:
	HKLKvzDriversTesta();
	TKvzDriversTesta* GetRecord() const { return TypedRecord<TKvzDriversTesta>(); }
	DataObj* GetDataObj() const override { return &GetRecord()->f_ModelloDrivers; }
	void SetEsercizio(const DataInt& aEsercizio) { m_Esercizio = aEsercizio; }

private:
	DataInt m_Esercizio;
	DataStr m_ModelloDrivers;  // set by no one; the query reads the year only
};
