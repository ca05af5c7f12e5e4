#pragma once
// The spread of an adjusted total over the months of the year, or quarter by quarter, by
// percentages typed or taken from values. Opened by the adjustments document; confirmed, the
// monthly amounts go into the caller's rows and the spread into its pending spreads, which the
// caller saves. Template "RipAssestamento".
#include <array>
#include <memory>

#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRipartizioniAssestamento.h"
#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_AssestamentoFiglioDoc.h"
#include "platform/plvges/FormViews.h"

enum : UINT
{
	IDC_ASSEST_RIP_TOT_PERC = 51601,
	IDC_ASSEST_RIP_TOT_ASSESTAMENTO,
	IDC_ASSEST_RIP_TOT_TRIM_1,
	IDC_ASSEST_RIP_TOT_TRIM_2,
	IDC_ASSEST_RIP_TOT_TRIM_3,
	IDC_ASSEST_RIP_TOT_TRIM_4,
	IDC_ASSEST_RIP_GRID,
	IDC_ASSEST_RIP_MESE,
	IDC_ASSEST_RIP_PERC,
	IDC_ASSEST_RIP_DATI,
	IDC_ASSEST_RIP_RATEO,
	IDC_ASSEST_RIP_DELETE_ALL,
	IDC_ASSEST_RIP_OK,
	IDC_ASSEST_RIP_CALCOLA,
	IDC_ASSEST_RIP_ANNULLA,
};

class Kvz_DBTRipAssestamento : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(Kvz_DBTRipAssestamento, DBTSlaveBuffered)
public:
	explicit Kvz_DBTRipAssestamento(CAbstractFormDoc* pDocument);
	Kvz_TRipartizioniAssestamento* GetMese(int nRow) const
	{
		return static_cast<Kvz_TRipartizioniAssestamento*>(GetRow(nRow));
	}
	Kvz_TRipartizioniAssestamento* GetCurrentRecord() const;

protected:
	void OnPreparePrimaryKey(int nRow, SqlRecord* pRec) override;
	void OnAfterDeleteRow(int nRow) override;
};

class Kvz_RipAssestamentoDoc : public Kvz_AssestamentoFiglioDoc
{
	DECLARE_DYNCREATE(Kvz_RipAssestamentoDoc, Kvz_AssestamentoFiglioDoc)
	DECLARE_MESSAGE_MAP()
public:
	Kvz_RipAssestamentoDoc();
	~Kvz_RipAssestamentoDoc() override;

	void RiempiDBT();
	// The percentages from the values (or the percentages typed) and the months' amounts.
	void Ripartisci();
	void RicalcolaSommaPercentuali();
	// The spread goes into the caller's pending spreads.
	void RiportaAlChiamante() override;

	Kvz_DBTRipAssestamento* GetDBT() const { return m_pDBT.get(); }
	const DataStr& GetContoKvz() const { return m_ContoKvz; }
	const DataInt& GetAnno() const { return m_Anno; }

	DataBool m_bPerTotale;
	DataPerc m_SommaPercentuali;
	DataMon m_TotaleDaRipartire;
	std::array<DataMon, 4> m_Trimestri;

protected:
	BOOL OnAttachData() override;
	const char* Sorgente() const override;
	BOOL PrendiDalChiamante(Kvz_CAssestamentoDoc& aChiamante) override;
	void SganciaDalChiamante(Kvz_CAssestamentoDoc& aChiamante) override;
	void SvuotaRighe() override;
	void OnPercentualeChanged();
	void OnCalcola();
	void OnConferma();

private:
	void CreaMesi();
	// The quarter total of a month (1..12); null outside the year.
	const DataMon* TrimestreDi(int nMese) const;

	std::unique_ptr<Kvz_DBTRipAssestamento> m_pDBT;
	DataStr m_ContoKvz;
	DataInt m_Anno;
	DataInt m_MeseChiamante;
};

class Kvz_RipAssestamentoEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(Kvz_RipAssestamentoEdit, CBodyEdit)
public:
	void Customize() override;
};

class Kvz_RipAssestamentoView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_RipAssestamentoView, CMasterFormView)
public:
	Kvz_RipAssestamentoView() : CMasterFormView(_T("RipAssestamentoView")) {}
	void BuildDataControlLinks() override;
};
