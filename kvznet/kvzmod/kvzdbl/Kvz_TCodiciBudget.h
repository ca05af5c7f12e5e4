#pragma once
// Budget codes, assigned to grouped accounts and host accounts.
#include "platform/plvges/HotKeyLink.h"

class Kvz_TCodiciBudget : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TCodiciBudget, SqlRecord)
public:
	explicit Kvz_TCodiciBudget(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_CodiciBudget"); }
	void BindRecord() override;

	DataStr f_CodiceBudget;
	DataStr f_Descrizione;
};

class Kvz_HKLCodiciBudget : public HotKeyLink
{
	DECLARE_DYNCREATE(Kvz_HKLCodiciBudget, HotKeyLink)
public:
	Kvz_HKLCodiciBudget();
	Kvz_TCodiciBudget* GetRecord() const;
	DataObj* GetDataObj() const override;

protected:
	void OnDefineQuery(int nSelectionType) override;
	void OnPrepareQuery(DataObj* pValue, int nSelectionType) override;
};
