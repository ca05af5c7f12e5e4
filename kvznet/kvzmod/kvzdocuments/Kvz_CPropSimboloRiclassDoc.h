#pragma once
// Definition of a reclassified-code symbol. Template "BDPropSimboloRiclass".
#include "platform/plvges/FormViews.h"

class Kvz_CPropSimboloRiclassDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CPropSimboloRiclassDoc, CAbstractFormDoc)
};

class Kvz_CPropSimboloRiclassView : public CAbstractFormView
{
	DECLARE_DYNCREATE(Kvz_CPropSimboloRiclassView, CAbstractFormView)
public:
	Kvz_CPropSimboloRiclassView() : CAbstractFormView(_T("Kvz_CPropSimboloRiclassView")) {}
};
