#pragma once
// The spread of an adjustment over the months. Template "RipAssestamento".
#include "platform/plvges/FormViews.h"

class Kvz_RipAssestamentoDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_RipAssestamentoDoc, CAbstractFormDoc)
};

class Kvz_RipAssestamentoView : public CAbstractFormView
{
	DECLARE_DYNCREATE(Kvz_RipAssestamentoView, CAbstractFormView)
public:
	Kvz_RipAssestamentoView() : CAbstractFormView(_T("Kvz_RipAssestamentoView")) {}
};
