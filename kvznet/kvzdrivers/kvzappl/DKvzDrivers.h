#pragma once
// The cost-driver model document: a driver of a fiscal year with the reclassification models it
// spreads costs over (possibly in other companies' databases), its cost lines with their
// formulas, reallocation codes and standard costs, and monthly increments per target model and
// cost code. The run's driver phases read the same tables; this document keeps the definitions,
// keeps two working tables in step for the increments grid's lookups and, when a saved target
// model is removed, can clear the shares already written into its results. Template
// "KvzDrivers".
#include "kvznet/kvzdrivers/kvzappl/ConnessioneAzienda.h"
#include "kvznet/kvzdrivers/kvzappl/DBTTestaPerChiave.h"
#include "kvznet/kvzdrivers/kvzdriversdbl/KvzDriversDblTables.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAziende.h"
#include "kvznet/kvzmod/kvzdocuments/formule/Kvz_CUtilizzaFormuleDoc.h"
#include "platform/plvges/FormViews.h"

enum : UINT
{
	IDD_KVZDRIVERS = 54100,
	IDD_KVZDRIVERS_MODELLI = 54101,
	IDD_KVZDRIVERS_COSTI = 54102,
	IDD_KVZDRIVERS_INCREMENTI = 54103,
	IDC_KVZDRIVERS_ESERCIZIO = 54110,
	IDC_KVZDRIVERS_MODELLO = 54111,
	IDC_KVZDRIVERS_DESCRIZIONE = 54112,
	IDC_KVZDRIVERS_DISATTIVO = 54113,
	IDC_KVZDRIVERS_TIPOCALCOLO = 54114,
	IDC_KVZDRIVERS_RICLASSIFICAZIONE = 54115,
	IDC_KVZDRIVERS_MAGAZZINO = 54116,
	IDC_KVZDRIVERS_DESCRI_MAGAZZINO = 54117,
	IDC_KVZDRIVERS_TABBER = 54118,
	IDC_KVZDRIVERS_GRID_MODELLI = 54120,
	IDC_KVZDRIVERS_GRID_COSTI = 54121,
	IDC_KVZDRIVERS_GRID_INCREMENTI = 54122,
	// Models grid.
	IDC_KVZDRIVERS_M_ESERCIZIO = 54130,
	IDC_KVZDRIVERS_M_DITTA = 54131,
	IDC_KVZDRIVERS_M_SEL = 54132,
	IDC_KVZDRIVERS_M_MODELLO = 54133,
	IDC_KVZDRIVERS_M_DESCRIZIONE = 54134,
	// Cost grid.
	IDC_KVZDRIVERS_C_CODICE = 54140,
	IDC_KVZDRIVERS_C_DESCRIZIONE = 54141,
	IDC_KVZDRIVERS_C_FORMULA = 54142,
	IDC_KVZDRIVERS_C_RIBALTAMENTO = 54143,
	IDC_KVZDRIVERS_C_RIBALTAMENTO_STD = 54144,
	IDC_KVZDRIVERS_C_COSTO_STD = 54150,  // to 54161 for December
	// Increments grid.
	IDC_KVZDRIVERS_I_DITTA = 54170,
	IDC_KVZDRIVERS_I_MODELLO = 54171,
	IDC_KVZDRIVERS_I_DESCRI_MODELLO = 54172,
	IDC_KVZDRIVERS_I_CODICE = 54173,
	IDC_KVZDRIVERS_I_DESCRI_CODICE = 54174,
	IDC_KVZDRIVERS_I_MESE = 54180,  // to 54191 for December
};

// The bitmap drawn in the models grid's picker column.
constexpr int KVZ_BITMAP_SEL_MODELLI_DITTA = 31869;

class DKvzDrivers;

class DBTKvzDriversTesta : public DBTTestaPerChiave
{
	DECLARE_DYNAMIC(DBTKvzDriversTesta, DBTTestaPerChiave)
public:
	explicit DBTKvzDriversTesta(CAbstractFormDoc* pDocument);
	TKvzDriversTesta* GetKvzDriversTesta() const;

protected:
	void OnEnableControlsForFind() override;
	BOOL OnCheckPrimaryKey() override;
};

// What the three grids' buffers share: the rows of the master's year and driver, each new row
// keyed from the master, every row saved (none counts as empty), a duplicate focused on the
// row's driver code.
class DBTKvzDriversRighe : public DBTRigheDellaTesta
{
	DECLARE_DYNAMIC(DBTKvzDriversRighe, DBTRigheDellaTesta)
public:
	DBTKvzDriversRighe(CRuntimeClass* pRecordClass, CAbstractFormDoc* pDocument, const CString& strName);

protected:
	DKvzDrivers* GetDoc() const;
	BOOL OnCheckPrimaryKey(int nRow, SqlRecord* pRec) override;
	DataObj* GetDuplicateKeyPos(SqlRecord* pRec) override;
	BOOL IsEmptyData(SqlRecord*) override { return FALSE; }
	void AddOrder(SqlRecord* pRec) override = 0;
};

class DBTKvzDriversModelli : public DBTKvzDriversRighe
{
	DECLARE_DYNAMIC(DBTKvzDriversModelli, DBTKvzDriversRighe)
public:
	explicit DBTKvzDriversModelli(CAbstractFormDoc* pDocument);
	TKvzDriversModelli* GetRiga(int nRow) const { return static_cast<TKvzDriversModelli*>(GetRow(nRow)); }

protected:
	void AddOrder(SqlRecord* pRec) override;
	void OnPreparePrimaryKey(int nRow, SqlRecord* pRec) override;
	void OnPrepareRow(int nRow, SqlRecord* pRec) override;
	void OnPrepareAuxColumns(SqlRecord* pRec) override;
	BOOL OnBeforeDeleteRow(int nRow) override;
};

class DBTKvzDriversCosti : public DBTKvzDriversRighe
{
	DECLARE_DYNAMIC(DBTKvzDriversCosti, DBTKvzDriversRighe)
public:
	explicit DBTKvzDriversCosti(CAbstractFormDoc* pDocument);
	TKvzDriversCosti* GetRiga(int nRow) const { return static_cast<TKvzDriversCosti*>(GetRow(nRow)); }

protected:
	void AddOrder(SqlRecord* pRec) override;
};

class DBTKvzDriversIncrementi : public DBTKvzDriversRighe
{
	DECLARE_DYNAMIC(DBTKvzDriversIncrementi, DBTKvzDriversRighe)
public:
	explicit DBTKvzDriversIncrementi(CAbstractFormDoc* pDocument);
	TKvzDriversIncrementi* GetRiga(int nRow) const { return static_cast<TKvzDriversIncrementi*>(GetRow(nRow)); }

protected:
	void AddOrder(SqlRecord* pRec) override;
};

class DKvzDrivers : public Kvz_CUtilizzaFormuleDoc
{
	DECLARE_DYNCREATE(DKvzDrivers, Kvz_CUtilizzaFormuleDoc)
	DECLARE_MESSAGE_MAP()
public:
	DKvzDrivers() : m_Connessione(this) {}

	DBTKvzDriversTesta* GetDBTKvzDriversTesta() const;
	TKvzDriversTesta* GetMasterRecord() const;
	DBTKvzDriversModelli* GetDBTKvzDriversModelli() const { return m_pDBTModelli; }
	DBTKvzDriversCosti* GetDBTKvzDriversCosti() const { return m_pDBTCosti; }
	DBTKvzDriversIncrementi* GetDBTKvzDriversIncrementi() const { return m_pDBTIncrementi; }
	// The current row of each grid; null when none.
	TKvzDriversModelli* GetDBTKvzDriversModelliRecord() const;
	TKvzDriversCosti* GetDBTKvzDriversCostiRecord() const;
	TKvzDriversIncrementi* GetDBTKvzDriversIncrementiRecord() const;

	HKLKvzDriversTempModelli* GetHKLTempModelli() const { return m_pHKLTempModelli; }
	HKLKvzDriversTempCosti* GetHKLTempCosti() const { return m_pHKLTempCosti; }
	HKLKvzDriversMagazzini* GetHKLMagazzini() const { return m_pHKLMagazzini; }
	Kvz_HKLAziende* GetHKLAziende() const { return m_pHKLAziende; }

	// Makes the company's database the working connection: the document's own for an empty
	// code or "."; another company's is opened, and closed by the step that asked for it. FALSE,
	// after the user was told why, when there is none: then there is no working connection.
	BOOL ConnectDB(const DataStr& aDitta);
	SqlConnection* GetConnessioneInUso() const { return m_Connessione.GetInUso(); }
	// Zeroes the shares written into a model's results of a year under one or two codes: in the
	// current company, or in another company's database.
	void AzzeraValori(const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aCodice1,
					  const DataStr& aCodice2);
	void AzzeraValori_Ext(const DataStr& aDitta, const DataInt& aEsercizio, const DataStr& aModello,
						  const DataStr& aCodice1, const DataStr& aCodice2);
	// Rewrites the working copies of the target models and cost codes as the form holds them.
	void SalvaTemporanei();
	// Opens the picker of another company's models on the current models row.
	void OnEstraiMultiAz();

	// What the picker reads when it opens and writes when a model was picked.
	DataStr m_DittaPicker;
	DataStr m_ModelloPicker;
	DataInt m_EsercizioPicker;
	DataStr m_DescrizionePicker;
	// The warehouse's description beside its code.
	DataStr m_DescriMagazzino;

	void OnFormulaChanged() override;

protected:
	BOOL OnAttachData() override;
	BOOL OnInitAuxData() override { return TRUE; }
	BOOL OnPrepareAuxData() override;
	BOOL OnOkTransaction() override;

	void OnRigaChanged();
	void OnCodiceRclChanged();
	void OnDescriRclChanged();
	void OnKvzDriversModelloDriversChanged();
	void OnKvzDriversIncrementiModelloRiclassificInterChanged();
	void OnKvzDriversIncrementiCodRiclassificCostoChanged();
	void OnKvzDriversMagazzinoChanged();
	void OnModelliDblClick();

private:
	friend class DBTKvzDriversModelli;
	void SetContestoCosto(const TKvzDriversCosti* pCosto);
	void RestringiHotLink();
	void AggiornaDescriMagazzino();
	// The reset of one models row, for every cost line of the driver.
	void AzzeraRiga(const TKvzDriversModelli& aRiga);
	// The same on the working connection.
	void AzzeraSuConnessione(const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aCodice1,
							 const DataStr& aCodice2);

	DBTKvzDriversModelli* m_pDBTModelli = nullptr;
	DBTKvzDriversCosti* m_pDBTCosti = nullptr;
	DBTKvzDriversIncrementi* m_pDBTIncrementi = nullptr;
	HKLKvzDriversTempModelli* m_pHKLTempModelli = nullptr;
	HKLKvzDriversTempCosti* m_pHKLTempCosti = nullptr;
	HKLKvzDriversMagazzini* m_pHKLMagazzini = nullptr;
	Kvz_HKLAziende* m_pHKLAziende = nullptr;
	KvzConnessioneAzienda m_Connessione;  // where other-company work runs
};

// ---- forms ---------------------------------------------------------------------------------

class KvzDriversTabber : public CTabManager
{
	DECLARE_DYNCREATE(KvzDriversTabber, CTabManager)
};

class KvzDriversKvzDriversModelliTabDlg : public CTabDialog
{
	DECLARE_DYNCREATE(KvzDriversKvzDriversModelliTabDlg, CTabDialog)
public:
	KvzDriversKvzDriversModelliTabDlg() : CTabDialog(_T("KvzDriversModelli"), IDD_KVZDRIVERS_MODELLI) {}
	void BuildDataControlLinks() override;
};

class KvzDriversKvzDriversCostiTabDlg : public CTabDialog
{
	DECLARE_DYNCREATE(KvzDriversKvzDriversCostiTabDlg, CTabDialog)
public:
	KvzDriversKvzDriversCostiTabDlg() : CTabDialog(_T("KvzDriversCosti"), IDD_KVZDRIVERS_COSTI) {}
	void BuildDataControlLinks() override;
};

// Opening the tab rewrites the working tables, so that its lookups offer the target models and
// cost codes as they stand in the other two tabs.
class KvzDriversKvzDriversIncrementiTabDlg : public CTabDialog
{
	DECLARE_DYNCREATE(KvzDriversKvzDriversIncrementiTabDlg, CTabDialog)
public:
	KvzDriversKvzDriversIncrementiTabDlg() : CTabDialog(_T("KvzDriversIncrementi"), IDD_KVZDRIVERS_INCREMENTI) {}
	void BuildDataControlLinks() override;
	BOOL OnPrepareAuxData() override;
};

class KvzDriversKvzDriversModelliBodyEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(KvzDriversKvzDriversModelliBodyEdit, CBodyEdit)
public:
	void Customize() override;
};

class KvzDriversKvzDriversCostiBodyEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(KvzDriversKvzDriversCostiBodyEdit, CBodyEdit)
public:
	void Customize() override;
};

class KvzDriversKvzDriversIncrementiBodyEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(KvzDriversKvzDriversIncrementiBodyEdit, CBodyEdit)
public:
	void Customize() override;
};

class DKvzDriversView : public CMasterFormView
{
	DECLARE_DYNCREATE(DKvzDriversView, CMasterFormView)
public:
	DKvzDriversView() : CMasterFormView(_T("KvzDrivers"), IDD_KVZDRIVERS) {}
	void BuildDataControlLinks() override;
};
