#pragma once
// Floor areas of a warehouse in one month of a year, split over the target models of the cost
// driver tied to the warehouse (of this company or of others). The rows must add up to the
// total entered; saving writes each row's area into its model's results as a value from outside,
// under the reclassified code of the head. Template "KvzMetriQuadri".
#include "kvznet/kvzdrivers/kvzappl/ConnessioneAzienda.h"
#include "kvznet/kvzdrivers/kvzappl/DBTTestaPerChiave.h"
#include "kvznet/kvzdrivers/kvzdriversdbl/KvzDriversDblTables.h"
#include "platform/plvges/FormViews.h"

enum : UINT
{
	IDD_KVZMETRIQUADRI = 54200,
	IDD_KVZMETRIQUADRI_MESI = 54201,
	IDC_KVZMQ_ESERCIZIO = 54210,
	IDC_KVZMQ_MAGAZZINO = 54211,
	IDC_KVZMQ_DESCRI_MAGAZZINO = 54212,
	IDC_KVZMQ_MESE = 54213,
	IDC_KVZMQ_CARICA_MESE_PREC = 54214,
	IDC_KVZMQ_DESCRIZIONE1 = 54215,  // to 54218 for Descrizione4
	IDC_KVZMQ_CODICE_DRIVERS = 54219,
	IDC_KVZMQ_TOTALE = 54220,
	IDC_KVZMQ_TOTALE_RIGHE = 54221,
	IDC_KVZMQ_TABBER = 54222,
	IDC_KVZMQ_GRID = 54223,
	IDC_KVZMQ_G_ANNO = 54230,
	IDC_KVZMQ_G_DITTA = 54231,
	IDC_KVZMQ_G_MODELLO = 54232,
	IDC_KVZMQ_G_DESCRIZIONE = 54233,
	IDC_KVZMQ_G_METRI = 54234,
};

class DKvzMetriQuadri;

class DBTMetriQuadriTesta : public DBTTestaPerChiave
{
	DECLARE_DYNAMIC(DBTMetriQuadriTesta, DBTTestaPerChiave)
public:
	explicit DBTMetriQuadriTesta(CAbstractFormDoc* pDocument);
	TKvzMetriQuadriTesta* GetTesta() const { return static_cast<TKvzMetriQuadriTesta*>(GetRecord()); }

protected:
	void OnEnableControlsForFind() override;
	BOOL OnCheckPrimaryKey() override;
};

class DBTKvzMetriQuadriMesi : public DBTRigheDellaTesta
{
	DECLARE_DYNAMIC(DBTKvzMetriQuadriMesi, DBTRigheDellaTesta)
public:
	explicit DBTKvzMetriQuadriMesi(CAbstractFormDoc* pDocument);
	TKvzMetriQuadriMesi* GetRiga(int nRow) const { return static_cast<TKvzMetriQuadriMesi*>(GetRow(nRow)); }
	// A row keyed from the head.
	TKvzMetriQuadriMesi* Aggiungi();

protected:
	void AddOrder(SqlRecord* pRec) override;
	BOOL OnCheckPrimaryKey(int nRow, SqlRecord* pRec) override;
	void OnPrepareRow(int nRow, SqlRecord* pRec) override;
	void OnPrepareAuxColumns(SqlRecord* pRec) override;
	DataObj* GetDuplicateKeyPos(SqlRecord* pRec) override;
};

class DKvzMetriQuadri : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(DKvzMetriQuadri, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	DKvzMetriQuadri() : m_Connessione(this) {}

	TKvzMetriQuadriTesta* GetMasterRecord() const;
	DBTKvzMetriQuadriMesi* GetDBTKvzMetriQuadriMesi() const { return m_pDBTMesi; }
	TKvzMetriQuadriMesi* GetDBTKvzMetriQuadriMesiRecord() const;
	HKLKvzDriversMagazzini* GetHKLMagazzini() const { return m_pHKLMagazzini; }

	// The driver tied to the head's warehouse; empty when none. Of several, the one of the
	// head's year, else of the latest year, the lowest code first.
	DataStr DriverDelMagazzino();
	// Whether the row's model is still a target of the warehouse's driver.
	BOOL PresenteNelDriver(const TKvzMetriQuadriMesi& aRiga);
	// Adds a row for each target model of the driver the grid does not have yet.
	void AggiungiNuoviModelliDrivers();
	// Writes every row's area into its model's results.
	void MemorizzaMetriQuadri();
	// The company the document works in, and the connection to it.
	BOOL ConnectDB();

	DataStr m_Ditta;
	DataStr m_DescriMagazzino;

protected:
	BOOL OnAttachData() override;
	BOOL OnInitAuxData() override { return TRUE; }
	BOOL OnPrepareAuxData() override;
	BOOL OnOkTransaction() override;

	void OnCodMagazzinoChanged();
	void OnMetriQuadriChanged();
	void OnCaricaMesePrec();

private:
	// The total of the rows; rows whose model left the driver are zeroed first.
	void RicalcolaTotale();
	void DescrizioneModello(TKvzMetriQuadriMesi& aRiga, const DataStr& aDriver);
	void AggiornaDescriMagazzino();

	DBTKvzMetriQuadriMesi* m_pDBTMesi = nullptr;
	HKLKvzDriversMagazzini* m_pHKLMagazzini = nullptr;
	KvzConnessioneAzienda m_Connessione;
};

// ---- forms ---------------------------------------------------------------------------------

class KvzMetriQuadriTabber : public CTabManager
{
	DECLARE_DYNCREATE(KvzMetriQuadriTabber, CTabManager)
};

class KvzMetriQuadriKvzMetriQuadriMesiTabDlg : public CTabDialog
{
	DECLARE_DYNCREATE(KvzMetriQuadriKvzMetriQuadriMesiTabDlg, CTabDialog)
public:
	KvzMetriQuadriKvzMetriQuadriMesiTabDlg() : CTabDialog(_T("KvzMetriQuadriMesi"), IDD_KVZMETRIQUADRI_MESI) {}
	void BuildDataControlLinks() override;
};

// Only the area can be typed: the rows come from the driver.
class KvzMetriQuadriKvzMetriQuadriMesiBodyEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(KvzMetriQuadriKvzMetriQuadriMesiBodyEdit, CBodyEdit)
public:
	void Customize() override;
};

class DKvzMetriQuadriView : public CMasterFormView
{
	DECLARE_DYNCREATE(DKvzMetriQuadriView, CMasterFormView)
public:
	DKvzMetriQuadriView() : CMasterFormView(_T("KvzMetriQuadri"), IDD_KVZMETRIQUADRI) {}
	void BuildDataControlLinks() override;
};
