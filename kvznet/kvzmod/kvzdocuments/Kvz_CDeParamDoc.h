#pragma once
// The module parameters (one row). Template "DParametri".
#include "platform/plvges/FormViews.h"

class Kvz_CDeParamDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CDeParamDoc, CAbstractFormDoc)
};

class Kvz_CDeParamView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CDeParamView, CMasterFormView)
public:
	Kvz_CDeParamView() : CMasterFormView(_T("Kvz_CDeParamView")) {}
};
