#pragma once
// The register of grouping codes. Template "DCodRaggruppamenti".
#include "platform/plvges/FormViews.h"

class Kvz_CDeCodRaggruppDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CDeCodRaggruppDoc, CAbstractFormDoc)
};

class Kvz_CDeCodRaggruppView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CDeCodRaggruppView, CMasterFormView)
public:
	Kvz_CDeCodRaggruppView() : CMasterFormView(_T("Kvz_CDeCodRaggruppView")) {}
};
