#pragma once
// A budget with its financial part. Template "DBudget".
#include "platform/plvges/FormViews.h"

class Kvz_CBudgetDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CBudgetDoc, CAbstractFormDoc)
};

class Kvz_CBudgetView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CBudgetView, CMasterFormView)
public:
	Kvz_CBudgetView() : CMasterFormView(_T("Kvz_CBudgetView")) {}
};
