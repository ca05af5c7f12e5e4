#pragma once
// The register of reclassified codes: the codes of each model, per fiscal year. Saving a code
// also keeps its symbol, so that the model's formulas can name it. No template opens it by
// namespace.
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodiciRiclassificato.h"
#include "kvznet/kvzmod/kvzdocuments/registri/Kvz_DBTCodeList.h"
#include "platform/plvges/FormViews.h"

enum : UINT
{
	IDC_CODRICLASS_CODICE = 29131,
	IDC_CODRICLASS_MODELLO,
	IDC_CODRICLASS_DESCRIZIONE,
	IDC_CODRICLASS_TIPORIGA,
	IDC_CODRICLASS_TIPODATORITORNO,
	IDC_CODRICLASS_ESERCIZIO,
};

class Kvz_DBTCodiciRiclass : public Kvz_DBTCodeList
{
	DECLARE_DYNAMIC(Kvz_DBTCodiciRiclass, Kvz_DBTCodeList)
public:
	explicit Kvz_DBTCodiciRiclass(CAbstractFormDoc* pDocument);
	Kvz_TCodiciRiclassificato* GetCodiciRiclassificato() const
	{
		return static_cast<Kvz_TCodiciRiclassificato*>(GetRecord());
	}

protected:
	// A new code belongs to the application's year, the year its symbol is kept under.
	void OnPreparePrimaryKey() override;
};

class Kvz_CDeCodRiclassificatoDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CDeCodRiclassificatoDoc, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	Kvz_TCodiciRiclassificato* GetCodiciRiclassificato() const
	{
		return static_cast<Kvz_DBTCodiciRiclass*>(GetMaster())->GetCodiciRiclassificato();
	}

protected:
	BOOL OnAttachData() override;
	BOOL OnPrepareAuxData() override;
	// Creates the code's symbol when it is missing; never refuses the save.
	BOOL OnOkTransaction() override;
	void OnTipoRigaChanged() { UpdateDataView(); }
};

class Kvz_CDeCodRiclassificatoView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CDeCodRiclassificatoView, CMasterFormView)
public:
	Kvz_CDeCodRiclassificatoView() : CMasterFormView(_T("CDeCodRiclassificatoView")) {}
	void BuildDataControlLinks() override;
};
