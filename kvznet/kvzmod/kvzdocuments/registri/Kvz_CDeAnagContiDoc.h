#pragma once
// The grouped-accounts register: the grouped accounts of a year with their split over cost
// centres and jobs. Saving creates the base plan (header and twelve months) of every split row
// entered by hand; accounts flagged AggiungiCdcCommAuto share their cost centres and jobs.
// Template "DAnagConti".
#include <memory>

#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCentriCommesseContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseTesta.h"
#include "platform/plvges/FormViews.h"

class HKLCostCenters;
class HKLJobs;
class Kvz_HKLCodiciBudget;
class Kvz_IDManager;
class Kvz_NumNonFiscManager;

enum : UINT
{
	IDC_ANAGCONTI_ESERCIZIO = 15301,
	IDC_ANAGCONTI_CONTO,
	IDC_ANAGCONTI_TIPOCONTO,
	IDC_ANAGCONTI_TIPOMASTRO,
	IDC_ANAGCONTI_DESCRIZIONE,
	IDC_ANAGCONTI_COLLEGATO,
	IDC_ANAGCONTI_DES_COLLEGATO,
	IDC_ANAGCONTI_PROPONI,
	IDC_ANAGCONTI_MODIFICABILE,
	IDC_ANAGCONTI_INVERSIONE,
	IDC_ANAGCONTI_BUDGET,
	IDC_ANAGCONTI_DES_BUDGET,
	IDC_ANAGCONTI_CDCCOMM_AUTO,
	IDC_ANAGCONTI_CENTRI,
	IDC_ANAGCONTI_CC_TIPO,
	IDC_ANAGCONTI_CC_CODICE,
	IDC_ANAGCONTI_CC_DESCRIZIONE,
	IDC_ANAGCONTI_CC_RIPARTIZIONE,
	IDC_ANAGCONTI_CC_RIPARTIZIONE_BUDGET,
};

class Kvz_DBTDeAnagConti : public DBTMaster
{
	DECLARE_DYNAMIC(Kvz_DBTDeAnagConti, DBTMaster)
public:
	Kvz_DBTDeAnagConti(CRuntimeClass* pClass, CAbstractFormDoc* pDocument);
	Kvz_TAnagContiKvz* GetAnagConti() const { return static_cast<Kvz_TAnagContiKvz*>(GetRecord()); }
	// InversioneSegno and ContoCollegato are read-only exactly for a balance-sheet account.
	void ApplicaRegolaTipoConto();

protected:
	void OnDefineQuery() override;
	void OnPrepareQuery() override;
	void OnEnableControlsForFind() override;
	void OnDisableControlsForEdit() override;
	void OnDisableControlsForAddNew() override;
	BOOL OnCheckPrimaryKey() override;
	void OnPrepareBrowser(SqlTable* pTable) override;
	void OnPrepareFindQuery(SqlTable* pTable) override;
};

class Kvz_DBTCentriCommesse : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTCentriCommesse, DBTSlaveBuffered)
public:
	Kvz_DBTCentriCommesse(CRuntimeClass* pClass, CAbstractFormDoc* pDocument);
	Kvz_TCentriCommesseContiKvz* GetCentroCommessa(int nRow) const;
	Kvz_TCentriCommesseContiKvz* GetCurrentRecord() const;

	// The code and type of the row being deleted.
	DataStr m_CodiceCancellato;
	DataEnum m_TipoCancellato{E_KVZ_TIPOCENTROCOMM, 0};

protected:
	void OnDefineQuery() override;
	void OnPrepareQuery() override;
	void OnDisableControlsForEdit() override {}
	void OnDisableControlsForAddNew() override {}
	void OnPreparePrimaryKey(int nRow, SqlRecord* pRec) override;
	BOOL OnCheckPrimaryKey(int nRow, SqlRecord* pRec) override;
	void OnPrepareRow(int nRow, SqlRecord* pRec) override;
	BOOL OnBeforeDeleteRow(int nRow) override;
	void OnAfterDeleteRow(int nRow) override;
	DataObj* GetDuplicateKeyPos(SqlRecord* pRec) override;
	// A row the user added and left blank (its type alone copied from above) is not kept.
	BOOL IsEmptyData(SqlRecord* pRec) override;

private:
	Kvz_TAnagContiKvz* GetMasterRecord() const;
};

class Kvz_CentriCommesseBodyEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_CentriCommesseBodyEdit, CBodyEdit)
public:
	void Customize() override;
};

class Kvz_CDeAnagContiDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CDeAnagContiDoc, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	Kvz_CDeAnagContiDoc();
	~Kvz_CDeAnagContiDoc() override;

	Kvz_TAnagContiKvz* GetAnagConti() const;
	Kvz_DBTCentriCommesse* GetCentriCommesse() const { return m_pDBTCentriCommesse; }

	// The identifier of the base-plan header of the year, grouped account, cost-centre/job type
	// and code; -1 when there is none.
	DataLng CercaIDPianoBase(const DataInt& aEsercizio, const DataStr& aConto, const DataEnum& aTipo,
							 const DataStr& aCdcComm);
	// Adds the split of the account being saved to every other flagged account of the year.
	void AllineaCdcComm();
	// Deletes the cost centre or job just deleted from the grid from every other flagged account
	// of the year.
	void CancellaCdcComm();

	KVZ_HKLAnagContiKvz* m_pHKLContiKvz = nullptr;
	Kvz_HKLCodiciBudget* m_pHKLCodiciBudget = nullptr;
	HKLJobs* m_pHKLJobs = nullptr;
	HKLCostCenters* m_pHKLCostCenters = nullptr;
	// The grid's code column, once the grid has built its columns.
	CParsedCtrl* m_pCodiceCtrl = nullptr;
	DataStr m_DesContoCollegato;

protected:
	BOOL OnAttachData() override;
	BOOL OnPrepareAuxData() override;
	BOOL OnOkTransaction() override;

	void OnTipoContoChanged();
	void OnContoCollegatoChanged();
	void OnTipoRigaChanged();
	void OnCodiceRigaChanged();

private:
	// The base plan of every split row entered by hand; FALSE when a header could not be
	// numbered (nothing of that split is written).
	BOOL CreaPianoBase();
	void SalvaDatiPrecedenti();
	// Queries the header cursor; the header's identifier or -1.
	long TrovaTesta(const DataInt& aEsercizio, const DataStr& aConto, const DataEnum& aTipo, const DataStr& aCdcComm);
	// The lookup of the code column for a row's type: jobs for item 1, cost centres otherwise.
	HotKeyLink* LookupDelTipo(const DataEnum& aTipo) const;
	void ApplicaSelezioneCollegato(BOOL bAzzeraInversione);
	// Calls fn for each flagged account of the master's year other than the one in the form.
	template <class Fn>
	void PerOgniContoConFlag(const char* method, Fn fn);

	Kvz_DBTDeAnagConti* m_pDBTDeAnagConti = nullptr;
	Kvz_DBTCentriCommesse* m_pDBTCentriCommesse = nullptr;
	Kvz_TPianoBaseTesta m_Testa;
	SqlTable m_Teste;
	Kvz_IDManager* m_pIdMng = nullptr;
	Kvz_NumNonFiscManager* m_pNumMng = nullptr;
};

class Kvz_CDeAnagContiView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CDeAnagContiView, CMasterFormView)
public:
	Kvz_CDeAnagContiView() : CMasterFormView(_T("CDeAnagContiView")) {}
	void BuildDataControlLinks() override;
};
