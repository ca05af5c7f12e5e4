#pragma once
// Browser of another company's model rows. Template "BDModelliRigheMultiAz".
#include "platform/plvges/FormViews.h"

class CModelliRigheMultiAzDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(CModelliRigheMultiAzDoc, CAbstractFormDoc)
};

class CModelliRigheMultiAzView : public CAbstractFormView
{
	DECLARE_DYNCREATE(CModelliRigheMultiAzView, CAbstractFormView)
public:
	CModelliRigheMultiAzView() : CAbstractFormView(_T("CModelliRigheMultiAzView")) {}
};
