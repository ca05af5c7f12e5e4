#pragma once
// Rebuild of the adjustments from the ledger. Template "BDRicostruzAssestamento".
#include "platform/plvges/FormViews.h"

class Kvz_CRicostruzAssestamentoDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CRicostruzAssestamentoDoc, CAbstractFormDoc)
};

class Kvz_CRicostruzAssestamentoView : public CAbstractFormView
{
	DECLARE_DYNCREATE(Kvz_CRicostruzAssestamentoView, CAbstractFormView)
public:
	Kvz_CRicostruzAssestamentoView() : CAbstractFormView(_T("Kvz_CRicostruzAssestamentoView")) {}
};
