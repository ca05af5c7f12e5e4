#pragma once
// The reclassified results of a model. Template "BDDeRiclassificati".
#include "platform/plvges/FormViews.h"

class Kvz_CDeRiclassificatiDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CDeRiclassificatiDoc, CAbstractFormDoc)
};

class Kvz_CDeRiclassificatiView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CDeRiclassificatiView, CMasterFormView)
public:
	Kvz_CDeRiclassificatiView() : CMasterFormView(_T("Kvz_CDeRiclassificatiView")) {}
};
