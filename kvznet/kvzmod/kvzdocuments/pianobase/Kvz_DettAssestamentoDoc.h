#pragma once
// The detail lines of one month's adjustment, opened by the adjustments document on its current
// row. The lines are edited in memory; confirmed, they go back into the caller (its pending
// lines of the month, the row's adjustment and total), which saves them with the base plan.
// Template "BDDettAssestamento".
#include <memory>

#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRigaDett.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRighe.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_AssestamentoFiglioDoc.h"
#include "platform/plvges/FormViews.h"

enum : UINT
{
	IDC_DETT_ASSEST_MESE = 51501,
	IDC_DETT_ASSEST_SALDO,
	IDC_DETT_ASSEST_IMP_ASS,
	IDC_DETT_ASSEST_TOT_ASS,
	IDC_DETT_ASSEST_GRID,
	IDC_DETT_ASSEST_DESCRIZIONE,
	IDC_DETT_ASSEST_P,
	IDC_DETT_ASSEST_IMPORTO,
	IDC_ASSEST_DELETE_ALL,
	IDC_ASSEST_DETT_OK,
	IDC_ASSEST_DETT_ANNULLA,
};

class Kvz_DBTDettAssestamento : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTDettAssestamento, DBTSlaveBuffered)
public:
	explicit Kvz_DBTDettAssestamento(CAbstractFormDoc* pDocument);
	Kvz_TPianoBaseRigaDett* GetLinea(int nRow) const { return static_cast<Kvz_TPianoBaseRigaDett*>(GetRow(nRow)); }

protected:
	void OnAfterAddRow(int nRow, SqlRecord* pRec) override;
	void OnAfterInsertRow(int nRow, SqlRecord* pRec) override;
	void OnAfterDeleteRow(int nRow) override;
};

class Kvz_DettAssestamentoDoc : public Kvz_AssestamentoFiglioDoc
{
	DECLARE_DYNCREATE(Kvz_DettAssestamentoDoc, Kvz_AssestamentoFiglioDoc)
	DECLARE_MESSAGE_MAP()
public:
	Kvz_DettAssestamentoDoc();
	~Kvz_DettAssestamentoDoc() override;

	void RiempiDBT();
	// The lines confirmed go back into the caller.
	void RiportaAlChiamante() override;
	void RicalcolaTotali();
	// A new line takes the caller row's plan and month and the next number.
	void PreparaLinea(Kvz_TPianoBaseRigaDett* pLinea);

	Kvz_DBTDettAssestamento* GetDBT() const { return m_pDBT.get(); }

	DataInt m_UltimaRiga;
	DataStr m_NomeMese;
	DataMon m_SaldoContabile;
	DataMon m_Assestamento;
	DataMon m_Totale;

protected:
	BOOL OnAttachData() override;
	const char* Sorgente() const override;
	BOOL PrendiDalChiamante(Kvz_CAssestamentoDoc& aChiamante) override;
	void SganciaDalChiamante(Kvz_CAssestamentoDoc& aChiamante) override;
	void SvuotaRighe() override;
	void OnDescrizioneChanged();
	void OnImportoChanged();
	void OnConferma();

private:
	std::unique_ptr<Kvz_DBTDettAssestamento> m_pDBT;
	// The caller's row is found again by its month: its plan and month are kept.
	DataLng m_IDPianoBase;
	DataInt m_Mese;
};

class Kvz_DettAssestamentoEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_DettAssestamentoEdit, CBodyEdit)
public:
	void Customize() override;
};

class Kvz_DettAssestamentoView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_DettAssestamentoView, CMasterFormView)
public:
	Kvz_DettAssestamentoView() : CMasterFormView(_T("DettAssestamentoView")) {}
	void BuildDataControlLinks() override;
};
