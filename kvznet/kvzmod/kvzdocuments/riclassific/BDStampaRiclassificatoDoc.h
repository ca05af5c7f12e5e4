#pragma once
// Printing of reclassified statements side by side: a report line per chosen model, a column
// per chosen reclassified code, each cell the sum of one value column of the stored results
// over a month range. Models are loaded and ticked on the first page, their codes on the
// second; the report reads models, short descriptions and cells back through the exported
// members. Template "BDStampaRiclassificato".
#include <map>
#include <memory>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneTesta.h"
#include "platform/plvges/FormViews.h"

class CTabberStampaRicl;

// The models of the year in the chosen range; a row's local flag marks it chosen.
class DBTStampaModelli : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(DBTStampaModelli, DBTSlaveBuffered)
public:
	explicit DBTStampaModelli(CAbstractFormDoc* pDoc)
		: DBTSlaveBuffered(RUNTIME_CLASS(Kvz_TRiclassificazioneTesta), pDoc, _T("DBTModelli"))
	{
	}
	Kvz_TRiclassificazioneTesta* GetModello(int nRow) const
	{
		return static_cast<Kvz_TRiclassificazioneTesta*>(GetRow(nRow));
	}
};

// The codes of the chosen models, each once; a row's local fields hold its flag and short description.
class DBTStampaRighe : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(DBTStampaRighe, DBTSlaveBuffered)
public:
	explicit DBTStampaRighe(CAbstractFormDoc* pDoc)
		: DBTSlaveBuffered(RUNTIME_CLASS(Kvz_TRiclassificazioneRighe), pDoc, _T("DBTRighe"))
	{
	}
	Kvz_TRiclassificazioneRighe* GetRiga(int nRow) const
	{
		return static_cast<Kvz_TRiclassificazioneRighe*>(GetRow(nRow));
	}
	Kvz_TRiclassificazioneRighe* GetCurrentRiga() const;
};

class BDStampaRiclassificatoDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(BDStampaRiclassificatoDoc, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	BDStampaRiclassificatoDoc();
	~BDStampaRiclassificatoDoc() override;

	BOOL OnAttachData() override;
	void OnBatchExecute() override;
	void DisableControlsForBatch() override {}
	// The print command of the codes page prints; the framework's own has nothing to print.
	BOOL CanDoReport() override { return FALSE; }

	static constexpr const char* kReportPerCodice = "KvzNet.KvzMod.StampaRiclassificatoPerCodice";
	static constexpr const char* kReportPerCodiceEstesa = "KvzNet.KvzMod.StampaRiclassificatoPerCodiceEstesa";
	// Codes printed by the short report at most.
	static constexpr int kMaxCodiciStampaBreve = 9;

	// ---- what the report reads ---------------------------------------------------------------
	// A chosen model gives its code and description, another row an empty code (the
	// description as it was); false past the last row.
	DataBool Kvz_GetNextModelloPerStampa(DataInt nRiga, DataStr& aModello, DataStr& aDescrizione);
	// The cells of a model's line: the chosen codes numbered 1 to 35, 36 to 70, 71 to 99 and 100
	// to 110, in the order of the codes' grid; outputs past the chosen codes are 0.
	DataBool Kvz_GetNextCodiciPerStampa_1(DataStr aModello, DataMon& aImporto1, DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5, DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9, DataMon& aImporto10, DataMon& aImporto11, DataMon& aImporto12, DataMon& aImporto13, DataMon& aImporto14, DataMon& aImporto15, DataMon& aImporto16, DataMon& aImporto17, DataMon& aImporto18, DataMon& aImporto19, DataMon& aImporto20, DataMon& aImporto21, DataMon& aImporto22, DataMon& aImporto23, DataMon& aImporto24, DataMon& aImporto25, DataMon& aImporto26, DataMon& aImporto27, DataMon& aImporto28, DataMon& aImporto29, DataMon& aImporto30, DataMon& aImporto31, DataMon& aImporto32, DataMon& aImporto33, DataMon& aImporto34, DataMon& aImporto35);
	DataBool Kvz_GetNextCodiciPerStampa_2(DataStr aModello, DataMon& aImporto1, DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5, DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9, DataMon& aImporto10, DataMon& aImporto11, DataMon& aImporto12, DataMon& aImporto13, DataMon& aImporto14, DataMon& aImporto15, DataMon& aImporto16, DataMon& aImporto17, DataMon& aImporto18, DataMon& aImporto19, DataMon& aImporto20, DataMon& aImporto21, DataMon& aImporto22, DataMon& aImporto23, DataMon& aImporto24, DataMon& aImporto25, DataMon& aImporto26, DataMon& aImporto27, DataMon& aImporto28, DataMon& aImporto29, DataMon& aImporto30, DataMon& aImporto31, DataMon& aImporto32, DataMon& aImporto33, DataMon& aImporto34, DataMon& aImporto35);
	DataBool Kvz_GetNextCodiciPerStampa_3(DataStr aModello, DataMon& aImporto1, DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5, DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9, DataMon& aImporto10, DataMon& aImporto11, DataMon& aImporto12, DataMon& aImporto13, DataMon& aImporto14, DataMon& aImporto15, DataMon& aImporto16, DataMon& aImporto17, DataMon& aImporto18, DataMon& aImporto19, DataMon& aImporto20, DataMon& aImporto21, DataMon& aImporto22, DataMon& aImporto23, DataMon& aImporto24, DataMon& aImporto25, DataMon& aImporto26, DataMon& aImporto27, DataMon& aImporto28, DataMon& aImporto29);
	DataBool Kvz_GetNextCodiciPerStampa_4(DataStr aModello, DataMon& aImporto1, DataMon& aImporto2, DataMon& aImporto3, DataMon& aImporto4, DataMon& aImporto5, DataMon& aImporto6, DataMon& aImporto7, DataMon& aImporto8, DataMon& aImporto9, DataMon& aImporto10, DataMon& aImporto11);
	// Stores the short descriptions of the chosen codes and takes those rows off the grid.
	DataBool Kvz_CancellaSelezionati();
	// The short descriptions of the first nine chosen codes; the others empty.
	DataBool Kvz_GetNextDescrizioniPerStampa(DataStr& aDescr1, DataStr& aDescr2, DataStr& aDescr3, DataStr& aDescr4,
											 DataStr& aDescr5, DataStr& aDescr6, DataStr& aDescr7, DataStr& aDescr8,
											 DataStr& aDescr9);

	// ---- procedures ----------------------------------------------------------------------------
	void RiempiDBTModelli();
	void RiempiDBTRighe();
	// The chosen column's sum over the month range of a model's code.
	DataMon CalcolaValoreCodice(const DataStr& aModello, const DataInt& aEsercizio, const DataStr& aCodice);
	// The sums are read again at the next cell.
	void DimenticaValori()
	{
		m_Valori.clear();
		m_strChiaveValori.Empty();
	}
	// Whether the column is one of "0" to "10", "A", "B", "C"; says so when not.
	BOOL ControllaColonna();

	DBTStampaModelli* GetDBTModelli() const { return m_pDBTModelli.get(); }
	DBTStampaRighe* GetDBTRighe() const { return m_pDBTRighe.get(); }
	void SetTabber(CTabberStampaRicl* pTabber) { m_pTabber = pTabber; }
	CTabberStampaRicl* GetTabber() const { return m_pTabber; }
	// The report namespace the last print ran.
	const CString& GetUltimoReport() const { return m_strUltimoReport; }

	// ---- parameters (the form's controls) ----------------------------------------------------
	DataStr m_StatoElab;
	DataStr m_DalModello;
	DataStr m_AlModello;
	DataStr m_Colonna;
	DataInt m_Esercizio;
	DataInt m_DalMese;
	DataInt m_AlMese;
	DataInt m_NrSelezionati;

	KVZ_HKLRiclassificazioneTesta* m_pHKLDalModello = nullptr;
	KVZ_HKLRiclassificazioneTesta* m_pHKLAlModello = nullptr;

protected:
	void OnColonnaChanged();
	void OnEsercizioChanged();
	void OnSelezionaRiga();
	void OnCaricaModelli();
	void OnSelezionaTutti();
	void OnDeselezionaTutti();
	void OnStampa();

private:
	DataBool CodiciPerStampa(const DataStr& aModello, int nPrimo, const std::vector<DataMon*>& importi);
	void SelezionaTutti(BOOL bSel);

	std::unique_ptr<DBTStampaModelli> m_pDBTModelli;
	std::unique_ptr<DBTStampaRighe> m_pDBTRighe;
	CTabberStampaRicl* m_pTabber = nullptr;
	CString m_strUltimoReport;
	// The sums of a print, by model and code: one query per model whatever the number of codes.
	std::map<CString, std::map<CString, double>> m_Valori;
	CString m_strChiaveValori;  // the year, column and months the sums were read for
};

// The page of the models.
class BDStampaRiclassificatoModelli : public CTabDialog
{
	DECLARE_DYNCREATE(BDStampaRiclassificatoModelli, CTabDialog)
public:
	BDStampaRiclassificatoModelli() : CTabDialog(_T("StampaRiclModelliDlg")) {}
	void BuildDataControlLinks() override;
};

// The page of the codes.
class CStampaRiclassificatoDlg : public CTabDialog
{
	DECLARE_DYNCREATE(CStampaRiclassificatoDlg, CTabDialog)
public:
	CStampaRiclassificatoDlg() : CTabDialog(_T("StampaRiclassificatoDlg")) {}
	void BuildDataControlLinks() override;
};

class CTabberStampaRicl : public CTabManager
{
	DECLARE_DYNCREATE(CTabberStampaRicl, CTabManager)
public:
	// The models page, then the codes page.
	void AddPages();
	CBaseTabDialog* GetPaginaModelli() const { return GetDialog(0); }
	CBaseTabDialog* GetPaginaCodici() const { return GetDialog(1); }
};

class CStampaRiclassificatoModelliEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(CStampaRiclassificatoModelliEdit, CBodyEdit)
public:
	void Customize() override;
};

class CStampaRiclassificatoEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(CStampaRiclassificatoEdit, CBodyEdit)
public:
	void Customize() override;
};

class BDStampaRiclassificatoView : public CMasterFormView
{
	DECLARE_DYNCREATE(BDStampaRiclassificatoView, CMasterFormView)
public:
	BDStampaRiclassificatoView() : CMasterFormView(_T("StampaRiclassificatoView")) {}
	void BuildDataControlLinks() override;
};
