#pragma once
// Imports extra-accounting codes from a text file. Its procedure is not there yet: the
// document opens with its title, runs nothing and closes.
#include "platform/plvges/FormViews.h"

class Kvz_CImpCodExtracontDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CImpCodExtracontDoc, CAbstractFormDoc)
public:
	BOOL OnAttachData() override;
};

class Kvz_CImpCodExtracontView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CImpCodExtracontView, CMasterFormView)
};
