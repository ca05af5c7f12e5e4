#pragma once
// The register of budget codes. Template "DCodBudget".
#include "platform/plvges/FormViews.h"

class Kvz_CDeCodBudgetDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CDeCodBudgetDoc, CAbstractFormDoc)
};

class Kvz_CDeCodBudgetView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CDeCodBudgetView, CMasterFormView)
public:
	Kvz_CDeCodBudgetView() : CMasterFormView(_T("Kvz_CDeCodBudgetView")) {}
};
