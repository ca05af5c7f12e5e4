#pragma once
// Adjustment selection. Template "BDSelezAssestamento".
#include "platform/plvges/FormViews.h"

class Kvz_CSelezAssestamentoDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CSelezAssestamentoDoc, CAbstractFormDoc)
};

class Kvz_CSelezAssestamentoView : public CAbstractFormView
{
	DECLARE_DYNCREATE(Kvz_CSelezAssestamentoView, CAbstractFormView)
public:
	Kvz_CSelezAssestamentoView() : CAbstractFormView(_T("Kvz_CSelezAssestamentoView")) {}
};
