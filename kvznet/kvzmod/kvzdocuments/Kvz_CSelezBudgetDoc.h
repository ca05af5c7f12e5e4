#pragma once
// Budget selection. Template "BDSelezBudget".
#include "platform/plvges/FormViews.h"

class Kvz_CSelezBudgetDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CSelezBudgetDoc, CAbstractFormDoc)
};

class Kvz_CSelezBudgetView : public CAbstractFormView
{
	DECLARE_DYNCREATE(Kvz_CSelezBudgetView, CAbstractFormView)
public:
	Kvz_CSelezBudgetView() : CAbstractFormView(_T("Kvz_CSelezBudgetView")) {}
};
