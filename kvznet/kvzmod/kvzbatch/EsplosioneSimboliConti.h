#pragma once
// Explodes base-plan symbols into their accounts. Its procedure is not there yet: the
// document opens with its title, runs nothing and closes.
#include "platform/plvges/FormViews.h"

class BDEsplosioneSimboliConti : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(BDEsplosioneSimboliConti, CAbstractFormDoc)
public:
	BOOL OnAttachData() override;
};

class UIEsplosioneSimboliConti : public CMasterFormView
{
	DECLARE_DYNCREATE(UIEsplosioneSimboliConti, CMasterFormView)
};
