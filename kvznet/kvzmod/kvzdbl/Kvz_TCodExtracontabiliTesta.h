#pragma once
// Extra-accounting codes: one row per fiscal year and code, with its description.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvges/HotKeyLink.h"
#include "platform/plvoledb/SqlRecord.h"

class Kvz_TCodExtracontabiliTesta : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TCodExtracontabiliTesta, SqlRecord)
public:
	explicit Kvz_TCodExtracontabiliTesta(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_CodExtracontabili"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataStr f_CodExtracont;
	DataStr f_Descrizione;
};

// Picks an extra-accounting code of the selected year; the year stays 0 until it is set.
class KVZ_HKLCodiciExtracont : public HotKeyLink
{
	DECLARE_DYNCREATE(KVZ_HKLCodiciExtracont, HotKeyLink)
public:
	KVZ_HKLCodiciExtracont();
	void SetSelEsercizio(const DataInt& aEsercizio) { m_SelEsercizio = aEsercizio; }
	Kvz_TCodExtracontabiliTesta* GetRecord() const;
	DataObj* GetDataObj() const override;

protected:
	void OnDefineQuery(int nSelectionType) override;
	void OnPrepareQuery(DataObj* pDataObj, int nSelectionType) override;

private:
	DataInt m_SelEsercizio;
};
