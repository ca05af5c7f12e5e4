#pragma once
// The companies whose databases formulas may read. Template "DAziende".
#include "platform/plvges/FormViews.h"

class Kvz_CDeAziendeDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CDeAziendeDoc, CAbstractFormDoc)
};

class Kvz_CDeAziendeView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CDeAziendeView, CMasterFormView)
public:
	Kvz_CDeAziendeView() : CMasterFormView(_T("Kvz_CDeAziendeView")) {}
};
