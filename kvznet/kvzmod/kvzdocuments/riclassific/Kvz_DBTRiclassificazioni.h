#pragma once
// The data of a reclassification model as its document holds it: the header, the rows with
// their fourteen formulas, the groupings, the operators allowed to print it and the titles of
// the formula columns, each a record buffer over its table, and the grids that edit them.
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodRaggrupp.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TDescrFormula.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TOperatoriStampe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRaggrupp.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneTesta.h"
#include "platform/plvges/FormViews.h"

enum : UINT
{
	IDC_RCL_RIGHE_TIPORIGA = 54120,
	IDC_RCL_RIGHE_CODICE,
	IDC_RCL_RIGHE_DESCRIZIONE,
	IDC_RCL_RIGHE_CALCOLO,
	IDC_RCL_RIGHE_FORMULA,
	IDC_RCL_RIGHE_BUDGETA,
	IDC_RCL_RIGHE_BUDGETB,
	IDC_RCL_RIGHE_BUDGETC,
	IDC_RCL_RIGHE_TIPODATO,
	IDC_RCL_RIGHE_PERCENTUALE,
	IDC_RCL_RIGHE_DIVIDENDO,
	IDC_RCL_RIGHE_DIVISORE,
	IDC_RCL_RIGHE_SEGNO,
	IDC_RCL_RIGHE_FORMULA1,  // .. IDC_RCL_RIGHE_FORMULA1 + 9
	IDC_RCL_RIGHE_FORMULA10 = IDC_RCL_RIGHE_FORMULA1 + 9,
	IDC_RCL_RIGHE_REPORT,
	IDC_RCL_RAGGR_CODICE,
	IDC_RCL_RAGGR_DESCRIZIONE,
	IDC_RCL_OPERATORE,
	IDC_RCL_DESCR_INDICE,
	IDC_RCL_DESCR_TIPOBUDGET,
	IDC_RCL_DESCR_DESCRIZIONE,
	IDC_RCL_RIGHE_ESPLOSIONE,
};

// Model types (tag 0x3AAC) and row kinds (tag 0x3AA8) the document treats apart.
enum : WORD
{
	KVZ_MODELLO_ORDINARIO = 0,
	KVZ_MODELLO_COMMESSA = 1,
	KVZ_MODELLO_CENTRO = 2,
	KVZ_MODELLO_DRIVERS = 3,
};
// The column a formula index 0..13 edits, and its default title.
constexpr int KVZ_NUM_FORMULE_RIGA = 14;

class Kvz_DBTRiclassificTesta : public DBTMaster
{
	DECLARE_DYNAMIC(Kvz_DBTRiclassificTesta, DBTMaster)
public:
	explicit Kvz_DBTRiclassificTesta(CAbstractFormDoc* pDocument);
	Kvz_TRiclassificazioneTesta* GetTesta() const { return static_cast<Kvz_TRiclassificazioneTesta*>(GetRecord()); }

protected:
	void OnDefineQuery() override;
	void OnPrepareQuery() override;
	BOOL OnCheckPrimaryKey() override;
	void OnEnableControlsForFind() override;
	void OnDisableControlsForEdit() override;
};

// The rows of the model, in grid order; a row is unique by its code.
class Kvz_DBTRiclassificRighe : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTRiclassificRighe, DBTSlaveBuffered)
public:
	explicit Kvz_DBTRiclassificRighe(CAbstractFormDoc* pDocument);
	Kvz_TRiclassificazioneRighe* GetRiga(int nRow) const { return static_cast<Kvz_TRiclassificazioneRighe*>(GetRow(nRow)); }
	Kvz_TRiclassificazioneRighe* GetRigaCorrente() const { return GetRiga(GetCurrentRowIdx()); }
	Kvz_TRiclassificazioneRighe* GetRigaLetta(int nRow) const
	{
		return static_cast<Kvz_TRiclassificazioneRighe*>(GetOldRow(nRow));
	}
	// Formula index 0..13 (main, 1 to 10, budget A to C) of a row.
	static DataStr& Formula(Kvz_TRiclassificazioneRighe* pRiga, int nIndex);

protected:
	void OnDefineQuery() override;
	void OnPrepareQuery() override;
	void OnPreparePrimaryKey(int nRow, SqlRecord* pRec) override;
	BOOL OnCheckPrimaryKey(int nRow, SqlRecord* pRec) override;
	void OnPrepareRow(int nRow, SqlRecord* pRec) override;
	DataObj* GetDuplicateKeyPos(SqlRecord* pRec) override;

private:
	Kvz_TRiclassificazioneTesta* GetTesta() const;
};

class Kvz_DBTRaggrupp : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTRaggrupp, DBTSlaveBuffered)
public:
	Kvz_DBTRaggrupp(CAbstractFormDoc* pDocument, Kvz_HKLCodRaggrupp* pHKLCodRaggrupp);
	Kvz_TEnhRiclassificazioneRaggrupp* GetRaggrupp(int nRow) const
	{
		return static_cast<Kvz_TEnhRiclassificazioneRaggrupp*>(GetRow(nRow));
	}
	// The grouping code's description into the row.
	void CercaDescrizione(Kvz_TEnhRiclassificazioneRaggrupp* pRec);

protected:
	void OnDefineQuery() override;
	void OnPrepareQuery() override;
	void OnPreparePrimaryKey(int nRow, SqlRecord* pRec) override;
	BOOL OnCheckPrimaryKey(int nRow, SqlRecord* pRec) override;
	void OnPrepareAuxColumns(SqlRecord* pRec) override { CercaDescrizione(static_cast<Kvz_TEnhRiclassificazioneRaggrupp*>(pRec)); }
	DataObj* GetDuplicateKeyPos(SqlRecord* pRec) override;

private:
	Kvz_HKLCodRaggrupp* m_pHKLCodRaggrupp;
};

class Kvz_DBTOperatoriStampe : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTOperatoriStampe, DBTSlaveBuffered)
public:
	explicit Kvz_DBTOperatoriStampe(CAbstractFormDoc* pDocument);

protected:
	void OnDefineQuery() override;
	void OnPrepareQuery() override;
	void OnPreparePrimaryKey(int nRow, SqlRecord* pRec) override;
	BOOL OnCheckPrimaryKey(int nRow, SqlRecord* pRec) override;
	DataObj* GetDuplicateKeyPos(SqlRecord* pRec) override;
};

// The titles of the fourteen formula columns, kept under the model code as a code of kind 3.
class Kvz_DBTDescrizioni : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTDescrizioni, DBTSlaveBuffered)
public:
	explicit Kvz_DBTDescrizioni(CAbstractFormDoc* pDocument);
	Kvz_TDescrFormula* GetDescrizione(int nRow) const { return static_cast<Kvz_TDescrFormula*>(GetRow(nRow)); }
	// The fourteen rows, when the buffer has none. TRUE when they were added.
	BOOL CreaDescrizioni();
	// Default titles in buffer order: "Budget A" .. "Budget C", "Formula", "Formula1" .. "Formula10".
	static CString TitoloPredefinito(int nRow);

protected:
	void OnDefineQuery() override;
	void OnPrepareQuery() override;
	void OnPreparePrimaryKey(int nRow, SqlRecord* pRec) override;
	void OnPrepareRow(int nRow, SqlRecord* pRec) override;
};

// ---- grids -------------------------------------------------------------------------------------

class Kvz_RiclassificRigheBodyEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_RiclassificRigheBodyEdit, CBodyEdit)
public:
	void Customize() override;
};

class Kvz_RaggruppBodyEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_RaggruppBodyEdit, CBodyEdit)
public:
	void Customize() override;
};

class Kvz_OperatoriStampeBodyEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_OperatoriStampeBodyEdit, CBodyEdit)
public:
	void Customize() override;
};

class Kvz_DescrizioniBodyEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_DescrizioniBodyEdit, CBodyEdit)
public:
	void Customize() override;
};
