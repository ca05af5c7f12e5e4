#pragma once
// Short descriptions of reclassified codes, the whole table in one grid; the run saves it by
// rewriting the table. Template "DDescrizioniBrevi".
#include "kvznet/kvzmod/kvzdbl/Kvz_TDescrizioniBrevi.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneTesta.h"
#include "platform/plvges/FormViews.h"

enum : UINT
{
	IDD_DESCRIZIONIBREVI = 31840,
	IDC_DESCRIZIONIBREVI_GRID = 52850,
	IDC_DESCRIZIONIBREVI_CODICE = 52851,
	IDC_DESCRIZIONIBREVI_SELEZIONATA = 52852,
	IDC_DESCRIZIONIBREVI_DESCRIZIONE = 52853,
	IDC_DESCRIZIONIBREVI_DESCR_MODELLO = 52854,
	IDC_DESCRIZIONIBREVI_MODELLO = 52855,
};

class Kvz_TRiclassificazioneRighe;

class Kvz_DBTDescrizioniBrevi : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTDescrizioniBrevi, DBTSlaveBuffered)
public:
	explicit Kvz_DBTDescrizioniBrevi(CAbstractFormDoc* pDocument);
	Kvz_TDescrizioniBrevi* GetCurrentRecord() const;
	Kvz_TDescrizioniBrevi* GetRiga(int nRow) const { return static_cast<Kvz_TDescrizioniBrevi*>(GetRow(nRow)); }
};

class Kvz_DDescrizioniBrevi : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_DDescrizioniBrevi, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	Kvz_DBTDescrizioniBrevi* GetDBT() const { return m_pDBT.get(); }
	KVZ_HKLRiclassificazioneTesta* GetHKLModelli() const { return m_pHKLModelli; }

	// Loads the grid with the stored descriptions, by code.
	void RiempiDBT();
	// The description of each row's code in its model.
	void CaricaDescrizioniModello();

	// The query that finds a code's row in a model, whatever the year: the most recent year's.
	static void DefinisciQueryRigaModello(SqlTable& aTable, Kvz_TRiclassificazioneRighe& aRec);

protected:
	BOOL OnAttachData() override;
	// The save: the table is emptied and the grid written again, all or nothing.
	void OnBatchExecute() override;

	void CancellaTabella();
	void OnModelloChanged();

private:
	// Codes empty or repeated cannot be saved: the run refuses them before writing anything.
	BOOL ControllaRighe();
	// Sets the rows' model descriptions; nRow -1: every row.
	void DescrizioneModello(int nRow);

	std::unique_ptr<Kvz_DBTDescrizioniBrevi> m_pDBT;
	KVZ_HKLRiclassificazioneTesta* m_pHKLModelli = nullptr;
};

class Kvz_DescrizioniBreviBodyEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_DescrizioniBreviBodyEdit, CBodyEdit)
public:
	void Customize() override;
};

class Kvz_DescrizioniBreviView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_DescrizioniBreviView, CMasterFormView)
public:
	Kvz_DescrizioniBreviView() : CMasterFormView(_T("DescrizioniBreviView"), IDD_DESCRIZIONIBREVI) {}
	void BuildDataControlLinks() override;
};
