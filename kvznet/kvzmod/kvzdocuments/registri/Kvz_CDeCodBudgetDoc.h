#pragma once
// The register of budget codes. Template "DCodBudget".
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodiciBudget.h"
#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_DBTCodeList.h"
#include "platform/plvges/FormViews.h"

enum : UINT
{
	IDC_CODBUDGET_CODICE = 29101,
	IDC_CODBUDGET_DESCRIZIONE,
};

class Kvz_DBTCodiciBudget : public Kvz_DBTCodeList
{
	DECLARE_DYNAMIC(Kvz_DBTCodiciBudget, Kvz_DBTCodeList)
public:
	explicit Kvz_DBTCodiciBudget(CAbstractFormDoc* pDocument);
	Kvz_TCodiciBudget* GetCodiciBudget() const { return static_cast<Kvz_TCodiciBudget*>(GetRecord()); }
};

class Kvz_CDeCodBudgetDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CDeCodBudgetDoc, CAbstractFormDoc)
public:
	Kvz_TCodiciBudget* GetCodiciBudget() const { return static_cast<Kvz_DBTCodiciBudget*>(GetMaster())->GetCodiciBudget(); }

protected:
	BOOL OnAttachData() override;
};

class Kvz_CDeCodBudgetView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CDeCodBudgetView, CMasterFormView)
public:
	Kvz_CDeCodBudgetView() : CMasterFormView(_T("CDeCodBudgetView")) {}
	void BuildDataControlLinks() override;
};
