#pragma once
// Definition of a reclassification-result symbol. Template "BDPropSimboloOutRiclass".
#include "platform/plvges/FormViews.h"

class Kvz_CPropSimboloOutRiclassDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CPropSimboloOutRiclassDoc, CAbstractFormDoc)
};

class Kvz_CPropSimboloOutRiclassView : public CAbstractFormView
{
	DECLARE_DYNCREATE(Kvz_CPropSimboloOutRiclassView, CAbstractFormView)
public:
	Kvz_CPropSimboloOutRiclassView() : CAbstractFormView(_T("Kvz_CPropSimboloOutRiclassView")) {}
};
