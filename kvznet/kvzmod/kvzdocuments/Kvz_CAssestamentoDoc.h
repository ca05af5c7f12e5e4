#pragma once
// The adjustments of a base plan. Template "DAssestamento".
#include "platform/plvges/FormViews.h"

class Kvz_CAssestamentoDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CAssestamentoDoc, CAbstractFormDoc)
};

class Kvz_CAssestamentoView : public CAbstractFormView
{
	DECLARE_DYNCREATE(Kvz_CAssestamentoView, CAbstractFormView)
public:
	Kvz_CAssestamentoView() : CAbstractFormView(_T("Kvz_CAssestamentoView")) {}
};

// The adjustments' own frame.
class Kvz_AssestamentoFrame : public CBatchFrame
{
	DECLARE_DYNCREATE(Kvz_AssestamentoFrame, CBatchFrame)
};
