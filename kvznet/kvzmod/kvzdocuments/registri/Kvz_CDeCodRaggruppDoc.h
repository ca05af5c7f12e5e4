#pragma once
// The register of grouping codes. Template "DCodRaggruppamenti".
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodRaggrupp.h"
#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_DBTCodeList.h"
#include "platform/plvges/FormViews.h"

enum : UINT
{
	IDC_CODRAGGR_CODICE = 29111,
	IDC_CODRAGGR_DESCRIZIONE,
};

class Kvz_DBTCodRaggrupp : public Kvz_DBTCodeList
{
	DECLARE_DYNAMIC(Kvz_DBTCodRaggrupp, Kvz_DBTCodeList)
public:
	explicit Kvz_DBTCodRaggrupp(CAbstractFormDoc* pDocument);
	Kvz_TCodRaggrupp* GetCodRaggrupp() const { return static_cast<Kvz_TCodRaggrupp*>(GetRecord()); }
};

class Kvz_CDeCodRaggruppDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CDeCodRaggruppDoc, CAbstractFormDoc)
public:
	Kvz_TCodRaggrupp* GetCodRaggrupp() const { return static_cast<Kvz_DBTCodRaggrupp*>(GetMaster())->GetCodRaggrupp(); }

protected:
	BOOL OnAttachData() override;
};

class Kvz_CDeCodRaggruppView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CDeCodRaggruppView, CMasterFormView)
public:
	Kvz_CDeCodRaggruppView() : CMasterFormView(_T("CDeCodRaggruppView")) {}
	void BuildDataControlLinks() override;
};
