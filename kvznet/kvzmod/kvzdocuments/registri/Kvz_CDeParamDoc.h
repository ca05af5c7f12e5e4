#pragma once
// The module parameters: the single row of Kvz_Parametri. Template "DParametri".
#include "kvznet/kvzmod/kvzdbl/Kvz_TParametri.h"
#include "platform/plvges/FormViews.h"

enum : UINT
{
	IDC_PARAM_BASE_LETTURA = 29201,
	IDC_PARAM_PAGAMENTO_IVA,
	IDC_PARAM_LEN_MASTRO,
	IDC_PARAM_NR_SEGMENTI,
	IDC_PARAM_NOME_SEG1,  // name and length of segment n: IDC_PARAM_NOME_SEG1 + 2 * (n - 1), + 1
	IDC_PARAM_DNI_CONTO_COLLEGATO = IDC_PARAM_NOME_SEG1 + 14,
	IDC_PARAM_DNI_PROPONI_FILTRO,
	IDC_PARAM_DNI_MODIFICA_ASSEST,
	IDC_PARAM_DNI_INVERSIONE_SEGNO,
	IDC_PARAM_DNI_CDC_COMM_AUTO,
};

class Kvz_DBTParametri : public DBTMaster
{
	DECLARE_DYNAMIC(Kvz_DBTParametri, DBTMaster)
public:
	explicit Kvz_DBTParametri(CAbstractFormDoc* pDocument);
	Kvz_TParametri* GetParametri() const { return static_cast<Kvz_TParametri*>(GetRecord()); }
	// The five fields not to import: read-only, or editable.
	void SetCampiDaNonImportareReadOnly(BOOL bReadOnly);

protected:
	// The table's one row, whatever its key.
	void OnDefineQuery() override;
	void OnPrepareQuery() override {}
	// The row the rest of the module reads is IDParam 1.
	void OnPreparePrimaryKey() override;
	BOOL OnCheckPrimaryKey() override { return TRUE; }
	void OnEnableControlsForFind() override {}
	void OnDisableControlsForEdit() override { SetCampiDaNonImportareReadOnly(TRUE); }
	void OnDisableControlsForAddNew() override { SetCampiDaNonImportareReadOnly(TRUE); }
};

class Kvz_CDeParamDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CDeParamDoc, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	Kvz_TParametri* GetParametri() const { return static_cast<Kvz_DBTParametri*>(GetMaster())->GetParametri(); }

protected:
	BOOL OnAttachData() override;
	// A new row counts as a change before anything is typed: it is there to be saved.
	BOOL OnPrepareAuxData() override;
	BOOL CanDoDeleteRecord() override { return FALSE; }
	// The fields not to import apply to the grouped accounts only.
	void OnBaseDiLetturaChanged();
};

class Kvz_CDeParamView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CDeParamView, CMasterFormView)
public:
	Kvz_CDeParamView() : CMasterFormView(_T("CDeParamView")) {}
	void BuildDataControlLinks() override;
};
