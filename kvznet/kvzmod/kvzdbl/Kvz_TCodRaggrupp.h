#pragma once
// Grouping codes of the rows of reclassification models.
#include "platform/plvges/HotKeyLink.h"

class Kvz_TCodRaggrupp : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TCodRaggrupp, SqlRecord)
public:
	explicit Kvz_TCodRaggrupp(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_CodRaggrupp"); }
	void BindRecord() override;

	DataStr f_CodRaggrupp;
	DataStr f_Descrizione;
};

class Kvz_HKLCodRaggrupp : public HotKeyLink
{
	DECLARE_DYNCREATE(Kvz_HKLCodRaggrupp, HotKeyLink)
public:
	Kvz_HKLCodRaggrupp();
	Kvz_TCodRaggrupp* GetRecord() const;
	DataObj* GetDataObj() const override;

protected:
	void OnDefineQuery(int nSelectionType) override;
	void OnPrepareQuery(DataObj* pValue, int nSelectionType) override;
};
