#include "kvznet/kvzdrivers/kvzappl/DKvzMetriQuadri.h"

#include <climits>
#include <cmath>
#include <vector>

#include "kvznet/kvzdrivers/kvzappl/ValoriEsterni.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvoledb/SqlException.h"

namespace {
const char* const kSource = "DKvzMetriQuadri";

CString Testo(LPCTSTR sz)
{
	return AfxLoadSourceString(sz, kSource);
}
}  // namespace

// ---- head --------------------------------------------------------------------------------------

DBTMetriQuadriTesta::DBTMetriQuadriTesta(CAbstractFormDoc* pDocument)
	: DBTMaster(TKvzMetriQuadriTesta::GetThisClass(), pDocument, _T("MetriQuadriTesta"))
{
}

void DBTMetriQuadriTesta::OnEnableControlsForFind()
{
	GetTesta()->f_Esercizio.SetFindable(TRUE);
	GetTesta()->f_CodMagazzino.SetFindable(TRUE);
	GetTesta()->f_CodiceDrivers.SetFindable(TRUE);
	GetTesta()->f_Mese.SetFindable(TRUE);
}

void DBTMetriQuadriTesta::OnDisableControlsForEdit()
{
	GetTesta()->f_Esercizio.SetReadOnly(TRUE);
	GetTesta()->f_CodMagazzino.SetReadOnly(TRUE);
	GetTesta()->f_Mese.SetReadOnly(TRUE);
}

void DBTMetriQuadriTesta::OnDefineQuery()
{
	TKvzMetriQuadriTesta* pRec = GetTesta();
	m_pTable->SelectAll();
	m_pTable->AddParam(_T("Esercizio"), pRec->f_Esercizio);
	m_pTable->AddFilterColumn(pRec->f_Esercizio);
	m_pTable->AddParam(_T("CodMagazzino"), pRec->f_CodMagazzino);
	m_pTable->AddFilterColumn(pRec->f_CodMagazzino);
	m_pTable->AddParam(_T("Mese"), pRec->f_Mese);
	m_pTable->AddFilterColumn(pRec->f_Mese);
}

void DBTMetriQuadriTesta::OnPrepareQuery()
{
	m_pTable->SetParamValue(_T("Esercizio"), GetTesta()->f_Esercizio);
	m_pTable->SetParamValue(_T("CodMagazzino"), GetTesta()->f_CodMagazzino);
	m_pTable->SetParamValue(_T("Mese"), GetTesta()->f_Mese);
}

BOOL DBTMetriQuadriTesta::OnCheckPrimaryKey()
{
	return !(GetTesta()->f_CodMagazzino.IsEmpty() && SetError(Testo(szEmptyPrimaryKeySegment)));
}

void DBTMetriQuadriTesta::OnPrepareBrowser(SqlTable* pTable)
{
	pTable->SelectAll();
	pTable->AddSortColumn(GetTesta()->f_Esercizio);
	pTable->AddSortColumn(GetTesta()->f_CodMagazzino);
	pTable->AddSortColumn(GetTesta()->f_Mese);
}

// ---- rows --------------------------------------------------------------------------------------

DBTKvzMetriQuadriMesi::DBTKvzMetriQuadriMesi(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(TKvzMetriQuadriMesi::GetThisClass(), pDocument, _T("KvzMetriQuadriMesi"), TRUE, TRUE)
{
}

TKvzMetriQuadriTesta* DBTKvzMetriQuadriMesi::GetTesta() const
{
	return static_cast<DKvzMetriQuadri*>(GetDocument())->GetMasterRecord();
}

TKvzMetriQuadriMesi* DBTKvzMetriQuadriMesi::Aggiungi()
{
	auto* pRiga = static_cast<TKvzMetriQuadriMesi*>(AddRecord());
	pRiga->SetStorable();
	return pRiga;
}

void DBTKvzMetriQuadriMesi::OnDefineQuery()
{
	auto* pRec = static_cast<TKvzMetriQuadriMesi*>(GetRecord());
	m_pTable->SelectAll();
	m_pTable->AddParam(_T("Esercizio"), pRec->f_Esercizio);
	m_pTable->AddFilterColumn(pRec->f_Esercizio);
	m_pTable->AddParam(_T("CodMagazzino"), pRec->f_CodMagazzino);
	m_pTable->AddFilterColumn(pRec->f_CodMagazzino);
	m_pTable->AddParam(_T("Mese"), pRec->f_Mese);
	m_pTable->AddFilterColumn(pRec->f_Mese);
	m_pTable->AddSortColumn(pRec->f_Esercizio);
	m_pTable->AddSortColumn(pRec->f_CodMagazzino);
	m_pTable->AddSortColumn(pRec->f_Mese);
	// Rows in a stable order: by company and model.
	m_pTable->AddSortColumn(pRec->f_Ditta);
	m_pTable->AddSortColumn(pRec->f_ModelloRiclassific);
}

void DBTKvzMetriQuadriMesi::OnPrepareQuery()
{
	m_pTable->SetParamValue(_T("Esercizio"), GetTesta()->f_Esercizio);
	m_pTable->SetParamValue(_T("CodMagazzino"), GetTesta()->f_CodMagazzino);
	m_pTable->SetParamValue(_T("Mese"), GetTesta()->f_Mese);
}

void DBTKvzMetriQuadriMesi::OnPreparePrimaryKey(int, SqlRecord* pRec)
{
	OnPrepareRow(0, pRec);
}

BOOL DBTKvzMetriQuadriMesi::OnCheckPrimaryKey(int, SqlRecord* pRec)
{
	return !(static_cast<TKvzMetriQuadriMesi*>(pRec)->f_CodMagazzino.IsEmpty() &&
			 SetError(Testo(szEmptyForeignKeySegment)));
}

void DBTKvzMetriQuadriMesi::OnPrepareRow(int, SqlRecord* pRec)
{
	auto* pRiga = static_cast<TKvzMetriQuadriMesi*>(pRec);
	const TKvzMetriQuadriTesta* pTesta = GetTesta();
	pRiga->f_Esercizio = pTesta->f_Esercizio;
	pRiga->f_CodMagazzino = pTesta->f_CodMagazzino;
	pRiga->f_Mese = pTesta->f_Mese;
}

void DBTKvzMetriQuadriMesi::OnPrepareAuxColumns(SqlRecord* pRec)
{
	OnPrepareRow(0, pRec);
}

DataObj* DBTKvzMetriQuadriMesi::GetDuplicateKeyPos(SqlRecord* pRec)
{
	return pRec ? &static_cast<TKvzMetriQuadriMesi*>(pRec)->f_CodMagazzino : nullptr;
}

// ---- document ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(DKvzMetriQuadri, CAbstractFormDoc)
	ON_EN_VALUE_CHANGED(IDC_KVZMQ_MAGAZZINO, OnCodMagazzinoChanged)
	ON_EN_VALUE_CHANGED(IDC_KVZMQ_G_METRI, OnMetriQuadriChanged)
	ON_BN_CLICKED(IDC_KVZMQ_CARICA_MESE_PREC, OnCaricaMesePrec)
END_MESSAGE_MAP()

TKvzMetriQuadriTesta* DKvzMetriQuadri::GetMasterRecord() const
{
	return static_cast<DBTMetriQuadriTesta*>(GetMaster())->GetTesta();
}

TKvzMetriQuadriMesi* DKvzMetriQuadri::GetDBTKvzMetriQuadriMesiRecord() const
{
	return static_cast<TKvzMetriQuadriMesi*>(m_pDBTMesi->GetCurrentRow());
}

BOOL DKvzMetriQuadri::OnAttachData()
{
	SetFormTitle(Testo(_T("Gestione metri quadri")));
	auto* pTesta = new DBTMetriQuadriTesta(this);
	m_pDBTMesi = new DBTKvzMetriQuadriMesi(this);
	pTesta->Attach(m_pDBTMesi);
	m_pHKLMagazzini = new HKLKvzDriversMagazzini;
	m_pHKLMagazzini->MustExistData(FALSE);
	Attach(m_pHKLMagazzini, CString());
	return Attach(pTesta);
}

BOOL DKvzMetriQuadri::OnPrepareAuxData()
{
	if (GetFormMode() == NEW)
	{
		GetMasterRecord()->f_Esercizio = AfxGetApplicationDate().Year();
		AggiornaDescriMagazzino();
		return TRUE;
	}
	RicalcolaTotale();
	AggiungiNuoviModelliDrivers();
	AggiornaDescriMagazzino();
	return TRUE;
}

void DKvzMetriQuadri::AggiornaDescriMagazzino()
{
	DataStr aCodice = GetMasterRecord()->f_CodMagazzino;
	m_DescriMagazzino.Clear();
	if (!aCodice.IsEmpty() && m_pHKLMagazzini->FindRecord(&aCodice))
		m_DescriMagazzino = m_pHKLMagazzini->GetRecord()->f_Descrizione;
}

// Several heads may name the warehouse: the choice must not hang on the order the database
// returns them in.
DataStr DKvzMetriQuadri::DriverDelMagazzino()
{
	const TKvzMetriQuadriTesta* pTesta = GetMasterRecord();
	DataStr aDriver;
	if (pTesta->f_CodMagazzino.IsEmpty())
		return aDriver;
	TKvzDriversTesta aLetta;
	SqlTable aTable(&aLetta, GetReadOnlySqlSession());
	try
	{
		aTable.Open(FALSE);
		aTable.SelectAll();
		aTable.AddParam(_T("p1"), aLetta.f_CodMagazzino);
		aTable.AddFilterColumn(aLetta.f_CodMagazzino, _T(""));
		aTable.SetParamValue(_T("p1"), pTesta->f_CodMagazzino);
		const int nAnno = pTesta->f_Esercizio.GetValue();
		int nMigliore = -1;
		CString strMigliore;
		for (aTable.Query(); !aTable.IsEOF(); aTable.MoveNext())
		{
			const int nEs = aLetta.f_Esercizio.GetValue();
			// The head's own year first, then the latest year.
			const int nRango = nEs == nAnno ? INT_MAX : nEs;
			const CString strCodice = aLetta.f_ModelloDrivers.GetString();
			if (nRango > nMigliore || (nRango == nMigliore && strCodice < strMigliore))
			{
				nMigliore = nRango;
				strMigliore = strCodice;
			}
		}
		aTable.Close();
		if (nMigliore >= 0)
			aDriver = strMigliore;
	}
	catch (const SqlException& e)
	{
		if (aTable.IsOpen())
			aTable.Close();
		e.ShowError(_T(""));
	}
	return aDriver;
}

namespace {
// A failed query counts the row as in the driver: nothing is zeroed on a database error.
BOOL InDriver(SqlSession* pSession, const TKvzMetriQuadriMesi& aRiga, const DataStr& aDriver)
{
	TKvzDriversModelli aModello;
	SqlTable aTable(&aModello, pSession);
	try
	{
		aTable.Open(FALSE);
		aTable.SelectAll();
		aTable.AddParam(_T("p8"), aModello.f_EsercizioRiclassific);
		aTable.AddFilterColumn(aModello.f_EsercizioRiclassific, _T(""));
		aTable.AddParam(_T("p9"), aModello.f_ModelloDrivers);
		aTable.AddFilterColumn(aModello.f_ModelloDrivers, _T(""));
		aTable.AddParam(_T("p10"), aModello.f_Ditta);
		aTable.AddFilterColumn(aModello.f_Ditta, _T(""));
		aTable.AddParam(_T("p11"), aModello.f_ModelloRiclassific);
		aTable.AddFilterColumn(aModello.f_ModelloRiclassific, _T(""));
		aTable.SetParamValue(_T("p8"), aRiga.f_Esercizio);
		aTable.SetParamValue(_T("p9"), aDriver);
		aTable.SetParamValue(_T("p10"), aRiga.f_Ditta);
		aTable.SetParamValue(_T("p11"), aRiga.f_ModelloRiclassific);
		aTable.Query();
		const BOOL bTrovato = !aTable.IsEOF();
		aTable.Close();
		return bTrovato;
	}
	catch (const SqlException& e)
	{
		if (aTable.IsOpen())
			aTable.Close();
		e.ShowError(_T(""));
		return TRUE;
	}
}

// Every target model of a driver in a year: the models of the year the driver spreads over
// (bPerEsercizioRiclassific) or the models of the driver's own year.
template <class Fn>
void PerOgniModello(SqlSession* pSession, const DataInt& aEsercizio, const DataStr& aDriver, BOOL bPerEsercizioRiclassific,
					Fn fn)
{
	TKvzDriversModelli aModello;
	SqlTable aTable(&aModello, pSession);
	try
	{
		DataInt& aColonna = bPerEsercizioRiclassific ? aModello.f_EsercizioRiclassific : aModello.f_Esercizio;
		aTable.Open(FALSE);
		aTable.SelectAll();
		aTable.AddParam(_T("p1"), aColonna);
		aTable.AddFilterColumn(aColonna, _T(""));
		aTable.AddParam(_T("p2"), aModello.f_ModelloDrivers);
		aTable.AddFilterColumn(aModello.f_ModelloDrivers, _T(""));
		aTable.AddSortColumn(aModello.f_Ditta);
		aTable.AddSortColumn(aModello.f_ModelloRiclassific);
		aTable.SetParamValue(_T("p1"), aEsercizio);
		aTable.SetParamValue(_T("p2"), aDriver);
		for (aTable.Query(); !aTable.IsEOF(); aTable.MoveNext())
			fn(aModello);
		aTable.Close();
	}
	catch (const SqlException& e)
	{
		if (aTable.IsOpen())
			aTable.Close();
		e.ShowError(_T(""));
	}
}
}  // namespace

BOOL DKvzMetriQuadri::PresenteNelDriver(const TKvzMetriQuadriMesi& aRiga)
{
	return InDriver(GetReadOnlySqlSession(), aRiga, DriverDelMagazzino());
}

void DKvzMetriQuadri::DescrizioneModello(TKvzMetriQuadriMesi& aRiga, const DataStr& aDriver)
{
	aRiga.l_DescriModello.Clear();
	Kvz_TUDriversTempModelli aTemp(this);
	aTemp.SetSqlSession(GetReadOnlySqlSession());
	if (aTemp.FindRecord(aRiga.f_Anno, aRiga.f_Ditta, aDriver, aRiga.f_ModelloRiclassific, FALSE) ==
		TableReader::FOUND)
		aRiga.l_DescriModello = aTemp.GetRecord()->f_Descrizione;
	aTemp.Free();
}

void DKvzMetriQuadri::RicalcolaTotale()
{
	const DataStr aDriver = DriverDelMagazzino();
	double dTotale = 0;
	for (int i = 0; i < m_pDBTMesi->GetSize(); ++i)
	{
		TKvzMetriQuadriMesi* pRiga = m_pDBTMesi->GetRiga(i);
		if (!InDriver(GetReadOnlySqlSession(), *pRiga, aDriver))
		{
			if (!pRiga->f_MetriQuadri.IsZero(pRiga->f_MetriQuadri.GetValue()))
				SetModifiedFlag();
			pRiga->f_MetriQuadri = 0.0;
		}
		dTotale += pRiga->f_MetriQuadri.GetValue();
		DescrizioneModello(*pRiga, aDriver);
	}
	GetMasterRecord()->l_MetriQuadriRighe = dTotale;
}

void DKvzMetriQuadri::AggiungiNuoviModelliDrivers()
{
	const DataStr aDriver = DriverDelMagazzino();
	if (aDriver.IsEmpty())
		return;
	const TKvzMetriQuadriTesta* pTesta = GetMasterRecord();
	PerOgniModello(GetReadOnlySqlSession(), pTesta->f_Esercizio, aDriver, TRUE, [&](const TKvzDriversModelli& m) {
		for (int i = 0; i < m_pDBTMesi->GetSize(); ++i)
		{
			const TKvzMetriQuadriMesi* pRiga = m_pDBTMesi->GetRiga(i);
			if (pRiga->f_ModelloRiclassific.GetString() == m.f_ModelloRiclassific.GetString() &&
				pRiga->f_Ditta.GetString() == m.f_Ditta.GetString() &&
				pRiga->f_Esercizio.GetValue() == m.f_EsercizioRiclassific.GetValue())
				return;
		}
		TKvzMetriQuadriMesi* pNuova = m_pDBTMesi->Aggiungi();
		pNuova->f_Anno = m.f_EsercizioRiclassific;
		pNuova->f_Ditta = m.f_Ditta;
		pNuova->f_ModelloRiclassific = m.f_ModelloRiclassific;
		pNuova->f_MetriQuadri = 0.0;
		DescrizioneModello(*pNuova, aDriver);
		SetModifiedFlag();
	});
}

// A new head takes the rows of the drivers of its year that name the warehouse; another
// warehouse chosen replaces them.
void DKvzMetriQuadri::OnCodMagazzinoChanged()
{
	TKvzMetriQuadriTesta* pTesta = GetMasterRecord();
	AggiornaDescriMagazzino();
	if (HasRecord() && !m_DescriMagazzino.IsEmpty())
	{
		const TKvzDriversMagazzini* pMag = m_pHKLMagazzini->GetRecord();
		pTesta->f_Descrizione1 = pMag->f_Nota1;
		pTesta->f_Descrizione2 = pMag->f_Nota2;
		pTesta->f_Descrizione3 = pMag->f_Nota3;
		pTesta->f_Descrizione4 = pMag->f_Nota4;
	}
	if (GetFormMode() == NEW)
	{
		m_pDBTMesi->RemoveAll();
		TKvzDriversTesta aDriver;
		SqlTable aTable(&aDriver, GetReadOnlySqlSession());
		std::vector<std::pair<CString, CString>> drivers;
		try
		{
			aTable.Open(FALSE);
			aTable.SelectAll();
			aTable.AddParam(_T("p1"), aDriver.f_CodMagazzino);
			aTable.AddFilterColumn(aDriver.f_CodMagazzino, _T(""));
			aTable.AddParam(_T("p2"), aDriver.f_Esercizio);
			aTable.AddFilterColumn(aDriver.f_Esercizio, _T(""));
			aTable.AddSortColumn(aDriver.f_ModelloDrivers);
			aTable.SetParamValue(_T("p1"), pTesta->f_CodMagazzino);
			aTable.SetParamValue(_T("p2"), pTesta->f_Esercizio);
			for (aTable.Query(); !aTable.IsEOF(); aTable.MoveNext())
				drivers.emplace_back(aDriver.f_ModelloDrivers.GetString(), aDriver.f_RiclassificazioneDrivers.GetString());
			aTable.Close();
		}
		catch (const SqlException& e)
		{
			if (aTable.IsOpen())
				aTable.Close();
			e.ShowError(_T(""));
		}
		for (const auto& [strDriver, strCodice] : drivers)
		{
			pTesta->f_CodiceDrivers = strCodice;
			const DataStr aCodDriver(strDriver);
			PerOgniModello(GetReadOnlySqlSession(), pTesta->f_Esercizio, aCodDriver, FALSE,
						   [&](const TKvzDriversModelli& m) {
							   TKvzMetriQuadriMesi* pNuova = m_pDBTMesi->Aggiungi();
							   pNuova->f_Anno = m.f_EsercizioRiclassific;
							   pNuova->f_Ditta = m.f_Ditta;
							   pNuova->f_ModelloRiclassific = m.f_ModelloRiclassific;
							   DescrizioneModello(*pNuova, aCodDriver);
						   });
		}
		pTesta->l_MetriQuadriRighe = 0.0;
	}
	UpdateDataView();
}

void DKvzMetriQuadri::OnMetriQuadriChanged()
{
	double dTotale = 0;
	for (int i = 0; i < m_pDBTMesi->GetSize(); ++i)
		dTotale += m_pDBTMesi->GetRiga(i)->f_MetriQuadri.GetValue();
	GetMasterRecord()->l_MetriQuadriRighe = dTotale;
	UpdateDataView();
}

void DKvzMetriQuadri::OnCaricaMesePrec()
{
	TKvzMetriQuadriTesta* pTesta = GetMasterRecord();
	if (pTesta->f_CodMagazzino.IsEmpty())
	{
		AfxMessageBox(Testo(_T("Manca il codice magazzino.")));
		return;
	}
	if (pTesta->f_Esercizio.GetValue() == 0)
	{
		AfxMessageBox(Testo(_T("Manca l'esercizio.")));
		return;
	}
	if (pTesta->f_Mese.GetValue() < 2)
	{
		AfxMessageBox(Testo(_T("Mese errato.")));
		return;
	}
	m_pDBTMesi->RemoveAll();
	TKvzMetriQuadriMesi aLetta;
	SqlTable aTable(&aLetta, GetReadOnlySqlSession());
	try
	{
		aTable.Open(FALSE);
		aTable.SelectAll();
		aTable.AddParam(_T("p1"), aLetta.f_Esercizio);
		aTable.AddFilterColumn(aLetta.f_Esercizio, _T(""));
		aTable.AddParam(_T("p2"), aLetta.f_CodMagazzino);
		aTable.AddFilterColumn(aLetta.f_CodMagazzino, _T(""));
		aTable.AddParam(_T("p3"), aLetta.f_Mese);
		aTable.AddFilterColumn(aLetta.f_Mese, _T(""));
		aTable.AddSortColumn(aLetta.f_Ditta);
		aTable.AddSortColumn(aLetta.f_ModelloRiclassific);
		aTable.SetParamValue(_T("p1"), pTesta->f_Esercizio);
		aTable.SetParamValue(_T("p2"), pTesta->f_CodMagazzino);
		aTable.SetParamValue(_T("p3"), DataInt(pTesta->f_Mese.GetValue() - 1));
		for (aTable.Query(); !aTable.IsEOF(); aTable.MoveNext())
		{
			TKvzMetriQuadriMesi* pNuova = m_pDBTMesi->Aggiungi();
			pNuova->f_Anno = aLetta.f_Anno;
			pNuova->f_Ditta = aLetta.f_Ditta;
			pNuova->f_ModelloRiclassific = aLetta.f_ModelloRiclassific;
			pNuova->f_MetriQuadri = aLetta.f_MetriQuadri;
		}
		aTable.Close();
	}
	catch (const SqlException& e)
	{
		if (aTable.IsOpen())
			aTable.Close();
		e.ShowError(_T(""));
	}
	SetModifiedFlag();
	RicalcolaTotale();
	UpdateDataView();
}

BOOL DKvzMetriQuadri::OnOkTransaction()
{
	TKvzMetriQuadriTesta* pTesta = GetMasterRecord();
	const int nMese = pTesta->f_Mese.GetValue();
	if (pTesta->f_Mese.IsEmpty() || nMese < 1 || nMese > 12)
	{
		AfxMessageBox(Testo(_T("Mese obbligatorio. Indicare valore da 1 a 12")));
		return FALSE;
	}
	double dRighe = 0;
	for (int i = 0; i < m_pDBTMesi->GetSize(); ++i)
		dRighe += m_pDBTMesi->GetRiga(i)->f_MetriQuadri.GetValue();
	pTesta->l_MetriQuadriRighe = dRighe;
	if (std::fabs(pTesta->f_TotaleMetriQuadri.GetValue() - dRighe) >= DataQty::GetStaticEpsilon())
	{
		AfxMessageBox(Testo(_T("Totale metri quadri diverso dal totale dei metri quadri inseriti")));
		return FALSE;
	}
	for (int i = 0; i < m_pDBTMesi->GetSize(); ++i)
		m_pDBTMesi->GetRiga(i)->SetStorable();
	MemorizzaMetriQuadri();
	return TRUE;
}

BOOL DKvzMetriQuadri::ConnectDB()
{
	return m_Connessione.Connetti(m_Ditta);
}

void DKvzMetriQuadri::MemorizzaMetriQuadri()
{
	const TKvzMetriQuadriTesta* pTesta = GetMasterRecord();
	kvzappl::ScrittoreValoriEsterni scrittore(this, m_Connessione);
	for (int i = 0; i < m_pDBTMesi->GetSize(); ++i)
	{
		const TKvzMetriQuadriMesi& aRiga = *m_pDBTMesi->GetRiga(i);
		m_Ditta = aRiga.f_Ditta;
		try
		{
			scrittore.Scrivi(aRiga, pTesta->f_Mese, pTesta->f_CodiceDrivers);
		}
		catch (const SqlException& e)
		{
			e.ShowError(_T(""));
		}
	}
}

// ---- form --------------------------------------------------------------------------------------

void KvzMetriQuadriKvzMetriQuadriMesiBodyEdit::Customize()
{
	auto* pRec = static_cast<TKvzMetriQuadriMesi*>(GetDBT()->GetRecord());
	AddColumn(IDC_KVZMQ_G_ANNO, _T("Anno"), Testo(_T("Anno")), RUNTIME_CLASS(CIntStatic), pRec->f_Anno, 4);
	AddColumn(IDC_KVZMQ_G_DITTA, _T("Ditta"), Testo(_T("Ditta")), RUNTIME_CLASS(CStrStatic), pRec->f_Ditta, 16);
	AddColumn(IDC_KVZMQ_G_MODELLO, _T("ModelloRiclassific"), Testo(_T("ModelloRiclassific")), RUNTIME_CLASS(CStrStatic),
			  pRec->f_ModelloRiclassific, 10);
	AddColumn(IDC_KVZMQ_G_DESCRIZIONE, _T("DescriModello"), Testo(_T("Descrizione")), RUNTIME_CLASS(CStrStatic),
			  pRec->l_DescriModello, 32);
	AddColumn(IDC_KVZMQ_G_METRI, _T("MetriQuadri"), Testo(_T("MetriQuadri")), RUNTIME_CLASS(CQuantityEdit),
			  pRec->f_MetriQuadri, 32, 2);
	EnableAddRow(FALSE);
	EnableInsertRow(FALSE);
	EnableOrdering(TRUE, FALSE, FALSE);
}

void KvzMetriQuadriKvzMetriQuadriMesiTabDlg::BuildDataControlLinks()
{
	auto* pDoc = static_cast<DKvzMetriQuadri*>(GetDocument());
	AddLink(IDC_KVZMQ_GRID, _T("KvzMetriQuadriMesi"), RUNTIME_CLASS(KvzMetriQuadriKvzMetriQuadriMesiBodyEdit),
			pDoc->GetDBTKvzMetriQuadriMesi());
}

void DKvzMetriQuadriView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<DKvzMetriQuadri*>(GetDocument());
	TKvzMetriQuadriTesta* pRec = pDoc->GetMasterRecord();
	AddLink(IDC_KVZMQ_ESERCIZIO, Testo(_T("Esercizio")), RUNTIME_CLASS(CIntEdit), &pRec->f_Esercizio);
	AddLink(IDC_KVZMQ_MAGAZZINO, Testo(_T("Magazzino")), RUNTIME_CLASS(CStrEdit), &pRec->f_CodMagazzino,
			pDoc->GetHKLMagazzini());
	AddLink(IDC_KVZMQ_DESCRI_MAGAZZINO, _T("KVZMETRIQUADRI_DESCRIMAGAZZINO"), RUNTIME_CLASS(CStrStatic),
			&pDoc->m_DescriMagazzino);
	AddLink(IDC_KVZMQ_MESE, Testo(_T("Mese")), RUNTIME_CLASS(CIntEdit), &pRec->f_Mese);
	AddButton(IDC_KVZMQ_CARICA_MESE_PREC, Testo(_T("&Carica mese prec.")));
	DataStr* note[] = {&pRec->f_Descrizione1, &pRec->f_Descrizione2, &pRec->f_Descrizione3, &pRec->f_Descrizione4};
	for (UINT i = 0; i < 4; ++i)
		AddLink(IDC_KVZMQ_DESCRIZIONE1 + i, CString::Formatted("Descrizione%u", i + 1), RUNTIME_CLASS(CStrEdit), note[i]);
	AddLink(IDC_KVZMQ_CODICE_DRIVERS, Testo(_T("Codice drivers")), RUNTIME_CLASS(CStrEdit), &pRec->f_CodiceDrivers);
	AddLink(IDC_KVZMQ_TOTALE, Testo(_T("Totale metri quadri")), RUNTIME_CLASS(CQuantityEdit), &pRec->f_TotaleMetriQuadri);
	AddLink(IDC_KVZMQ_TOTALE_RIGHE, Testo(_T("Totale inserito")), RUNTIME_CLASS(CQuantityStatic),
			&pRec->l_MetriQuadriRighe);
	auto* pTabber = static_cast<KvzMetriQuadriTabber*>(
		AddLink(IDC_KVZMQ_TABBER, _T("KvzMetriQuadri"), RUNTIME_CLASS(KvzMetriQuadriTabber), nullptr));
	if (pTabber)
		pTabber->AddDialog(RUNTIME_CLASS(KvzMetriQuadriKvzMetriQuadriMesiTabDlg), IDD_KVZMETRIQUADRI_MESI,
						   Testo(_T("Modelli interessati")));
}
