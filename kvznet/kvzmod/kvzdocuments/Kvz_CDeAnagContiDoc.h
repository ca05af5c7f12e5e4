#pragma once
// The grouped-accounts register. Template "DAnagConti".
#include "platform/plvges/FormViews.h"

class Kvz_CDeAnagContiDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CDeAnagContiDoc, CAbstractFormDoc)
};

class Kvz_CDeAnagContiView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CDeAnagContiView, CMasterFormView)
public:
	Kvz_CDeAnagContiView() : CMasterFormView(_T("Kvz_CDeAnagContiView")) {}
};
