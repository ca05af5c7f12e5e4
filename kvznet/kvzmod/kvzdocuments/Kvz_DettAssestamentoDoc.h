#pragma once
// The detail lines of an adjustment. Template "BDDettAssestamento".
#include "platform/plvges/FormViews.h"

class Kvz_DettAssestamentoDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_DettAssestamentoDoc, CAbstractFormDoc)
};

class Kvz_DettAssestamentoView : public CAbstractFormView
{
	DECLARE_DYNCREATE(Kvz_DettAssestamentoView, CAbstractFormView)
public:
	Kvz_DettAssestamentoView() : CAbstractFormView(_T("Kvz_DettAssestamentoView")) {}
};
