#pragma once
// The register of reclassification model codes; no template opens it by namespace.
#include "kvznet/kvzmod/kvzdbl/Kvz_TModelliRiclassificazione.h"
#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_DBTCodeList.h"
#include "platform/plvges/FormViews.h"

enum : UINT
{
	IDC_MODELLI_CODICE = 29121,
	IDC_MODELLI_DESCRIZIONE,
};

class Kvz_DBTModelliRiclass : public Kvz_DBTCodeList
{
	DECLARE_DYNAMIC(Kvz_DBTModelliRiclass, Kvz_DBTCodeList)
public:
	explicit Kvz_DBTModelliRiclass(CAbstractFormDoc* pDocument);
	Kvz_TModelliRiclassificazione* GetModelliRiclassificazione() const { return static_cast<Kvz_TModelliRiclassificazione*>(GetRecord()); }
};

class Kvz_CDeModelliRiclassificDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CDeModelliRiclassificDoc, CAbstractFormDoc)
public:
	Kvz_TModelliRiclassificazione* GetModelliRiclassificazione() const { return static_cast<Kvz_DBTModelliRiclass*>(GetMaster())->GetModelliRiclassificazione(); }

protected:
	BOOL OnAttachData() override;
};

class Kvz_CDeModelliRiclassificView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CDeModelliRiclassificView, CMasterFormView)
public:
	Kvz_CDeModelliRiclassificView() : CMasterFormView(_T("CDeModelliRiclassificView")) {}
	void BuildDataControlLinks() override;
};
