#pragma once
// The browser of another company's reclassified codes of a model. Template
// "BDModelliRigheMultiAz" (see CModelliMultiAzDoc.h).
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodiciRiclassificato.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/CModelliMultiAzDoc.h"

class CModelliRigheMultiAzDoc : public CModelliMultiAzBase
{
	DECLARE_DYNCREATE(CModelliRigheMultiAzDoc, CModelliMultiAzBase)
protected:
	LPCTSTR Titolo() const override { return _T("Codici modelli riclassificazione"); }
	CRuntimeClass* ClasseRighe() const override { return Kvz_TCodiciRiclassificato::GetThisClass(); }
	LPCTSTR NomeDBT() const override { return _T("DBTModelliRigheMultiAz"); }
	const char* Sorgente() const override { return "ModelliRigheMultAz"; }
	const char* Metodo() const override { return "CModelliRigheMultiAzDoc::RiempiDBT"; }
	void Leggi(SqlConnection* pConnessione) override;
	void Scegli(SqlRecord* pRiga) override;
	void Restituisci(Kvz_CPropSimboloOutRiclassDoc& simbolo) override;
};

class CModelliRigheMultiAzView : public CMasterFormView
{
	DECLARE_DYNCREATE(CModelliRigheMultiAzView, CMasterFormView)
public:
	CModelliRigheMultiAzView() : CMasterFormView(_T("CModelliRigheMultiAzView"), IDD_MODELLI_MULTIAZ) {}
	void BuildDataControlLinks() override;
};

class ModelliRigheMultiAzEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(ModelliRigheMultiAzEdit, CBodyEdit)
public:
	void Customize() override;
};
