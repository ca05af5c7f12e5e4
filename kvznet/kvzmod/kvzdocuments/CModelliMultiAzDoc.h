#pragma once
// Browser of another company's reclassification models. Template "BDModelliMultiAz".
#include "platform/plvges/FormViews.h"

class CModelliMultiAzDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(CModelliMultiAzDoc, CAbstractFormDoc)
};

class CModelliMultiAzView : public CAbstractFormView
{
	DECLARE_DYNCREATE(CModelliMultiAzView, CAbstractFormView)
public:
	CModelliMultiAzView() : CAbstractFormView(_T("CModelliMultiAzView")) {}
};
