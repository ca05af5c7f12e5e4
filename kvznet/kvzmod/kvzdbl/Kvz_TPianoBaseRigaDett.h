#pragma once
// Adjustment detail: numbered lines under a base-plan header and month.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvges/KeyedQuery.h"

class Kvz_TPianoBaseRigaDett : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TPianoBaseRigaDett, SqlRecord)
public:
	explicit Kvz_TPianoBaseRigaDett(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_PianoBaseRDett"); }
	void BindRecord() override;

	DataLng f_IDPianoBase;
	DataInt f_Mese;
	DataInt f_Riga;
	DataStr f_Descrizione;
	DataMon f_ImportoRateoDett;
	DataBool f_RateoDaPrevisionale;
};

class Jex_TRPianoBaseRigaDett : public KeyedReader
{
	DECLARE_DYNAMIC(Jex_TRPianoBaseRigaDett, TableReader)
public:
	explicit Jex_TRPianoBaseRigaDett(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataLng& aIDPianoBase, const DataInt& aMese, const DataInt& aRiga);
	Kvz_TPianoBaseRigaDett* GetRecord() const;

protected:
	DataLng m_IDPianoBase;
	DataInt m_Mese;
	DataInt m_Riga;
};

class Jex_TUPianoBaseRigaDett : public KeyedUpdater
{
	DECLARE_DYNAMIC(Jex_TUPianoBaseRigaDett, TableUpdater)
public:
	explicit Jex_TUPianoBaseRigaDett(CBaseDocument* pDocument = nullptr, CMessages* pMessages = nullptr);
	FindResult FindRecord(const DataLng& aIDPianoBase, const DataInt& aMese, const DataInt& aRiga, BOOL bLock);
	Kvz_TPianoBaseRigaDett* GetRecord() const;

protected:
	DataLng m_IDPianoBase;
	DataInt m_Mese;
	DataInt m_Riga;
};
