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

// Reads the rows of rec's table whose columns equal the values given, sorted by the columns
// given, each handed to fn as the cursor stands on it. A database error is shown and ends the
// read: FALSE.
template <class Fn>
BOOL LeggiRighe(SqlRecord& rec, SqlSession* pSession, std::initializer_list<std::pair<DataObj*, const DataObj*>> filtro,
				std::initializer_list<DataObj*> ordine, Fn fn)
{
	SqlTable aTable(&rec, pSession);
	try
	{
		aTable.Open(FALSE);
		aTable.SelectAll();
		int n = 0;
		for (const auto& [pColonna, pValore] : filtro)
		{
			aTable.AddParam(CString::Formatted("p%d", ++n), *pColonna);
			aTable.AddFilterColumn(*pColonna, _T(""));
		}
		for (DataObj* pColonna : ordine)
			aTable.AddSortColumn(*pColonna);
		n = 0;
		for (const auto& [pColonna, pValore] : filtro)
			aTable.SetParamValue(CString::Formatted("p%d", ++n), *pValore);
		for (aTable.Query(); !aTable.IsEOF(); aTable.MoveNext())
			fn();
		aTable.Close();
		return TRUE;
	}
	catch (const SqlException& e)
	{
		if (aTable.IsOpen())
			aTable.Close();
		e.ShowError(_T(""));
		return FALSE;
	}
}
}  // namespace

// ---- head --------------------------------------------------------------------------------------

DBTMetriQuadriTesta::DBTMetriQuadriTesta(CAbstractFormDoc* pDocument)
	: DBTTestaPerChiave(TKvzMetriQuadriTesta::GetThisClass(), pDocument, _T("MetriQuadriTesta"))
{
}

void DBTMetriQuadriTesta::OnEnableControlsForFind()
{
	GetTesta()->f_Esercizio.SetFindable(TRUE);
	GetTesta()->f_CodMagazzino.SetFindable(TRUE);
	GetTesta()->f_CodiceDrivers.SetFindable(TRUE);
	GetTesta()->f_Mese.SetFindable(TRUE);
}

BOOL DBTMetriQuadriTesta::OnCheckPrimaryKey()
{
	return !(GetTesta()->f_CodMagazzino.IsEmpty() && SetError(Testo(szEmptyPrimaryKeySegment)));
}

// ---- rows --------------------------------------------------------------------------------------

DBTKvzMetriQuadriMesi::DBTKvzMetriQuadriMesi(CAbstractFormDoc* pDocument)
	: DBTRigheDellaTesta(TKvzMetriQuadriMesi::GetThisClass(), pDocument, _T("KvzMetriQuadriMesi"), TRUE, TRUE)
{
}

TKvzMetriQuadriMesi* DBTKvzMetriQuadriMesi::Aggiungi()
{
	auto* pRiga = static_cast<TKvzMetriQuadriMesi*>(AddRecord());
	pRiga->SetStorable();
	return pRiga;
}

// Rows in a stable order: by company and model.
void DBTKvzMetriQuadriMesi::AddOrder(SqlRecord* pRec)
{
	auto* pRiga = static_cast<TKvzMetriQuadriMesi*>(pRec);
	m_pTable->AddSortColumn(pRiga->f_Ditta);
	m_pTable->AddSortColumn(pRiga->f_ModelloRiclassific);
}

BOOL DBTKvzMetriQuadriMesi::OnCheckPrimaryKey(int, SqlRecord* pRec)
{
	return !(static_cast<TKvzMetriQuadriMesi*>(pRec)->f_CodMagazzino.IsEmpty() &&
			 SetError(Testo(szEmptyForeignKeySegment)));
}

void DBTKvzMetriQuadriMesi::OnPrepareRow(int, SqlRecord* pRec)
{
	CopiaChiaveTesta(pRec);
}

void DBTKvzMetriQuadriMesi::OnPrepareAuxColumns(SqlRecord* pRec)
{
	CopiaChiaveTesta(pRec);
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
	const int nAnno = pTesta->f_Esercizio.GetValue();
	int nMigliore = -1;
	CString strMigliore;
	auto scegli = [&] {
		const int nEs = aLetta.f_Esercizio.GetValue();
		// The head's own year first, then the latest year.
		const int nRango = nEs == nAnno ? INT_MAX : nEs;
		const CString strCodice = aLetta.f_ModelloDrivers.GetString();
		if (nRango > nMigliore || (nRango == nMigliore && strCodice < strMigliore))
		{
			nMigliore = nRango;
			strMigliore = strCodice;
		}
	};
	const BOOL bLetti =
		LeggiRighe(aLetta, GetReadOnlySqlSession(), {{&aLetta.f_CodMagazzino, &pTesta->f_CodMagazzino}}, {}, scegli);
	if (bLetti && nMigliore >= 0)
		aDriver = strMigliore;
	return aDriver;
}

namespace {
// A failed query counts the row as in the driver: nothing is zeroed on a database error.
BOOL InDriver(SqlSession* pSession, const TKvzMetriQuadriMesi& aRiga, const DataStr& aDriver)
{
	TKvzDriversModelli aModello;
	BOOL bTrovato = FALSE;
	const BOOL bLetti = LeggiRighe(aModello, pSession,
								   {{&aModello.f_EsercizioRiclassific, &aRiga.f_Esercizio},
									{&aModello.f_ModelloDrivers, &aDriver},
									{&aModello.f_Ditta, &aRiga.f_Ditta},
									{&aModello.f_ModelloRiclassific, &aRiga.f_ModelloRiclassific}},
								   {}, [&] { bTrovato = TRUE; });
	return !bLetti || bTrovato;
}

// Every target model of a driver in a year: the models of the year the driver spreads over
// (bPerEsercizioRiclassific) or the models of the driver's own year.
template <class Fn>
void PerOgniModello(SqlSession* pSession, const DataInt& aEsercizio, const DataStr& aDriver, BOOL bPerEsercizioRiclassific,
					Fn fn)
{
	TKvzDriversModelli aModello;
	DataInt& aColonna = bPerEsercizioRiclassific ? aModello.f_EsercizioRiclassific : aModello.f_Esercizio;
	LeggiRighe(aModello, pSession, {{&aColonna, &aEsercizio}, {&aModello.f_ModelloDrivers, &aDriver}},
			   {&aModello.f_Ditta, &aModello.f_ModelloRiclassific}, [&] { fn(aModello); });
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
		std::vector<std::pair<CString, CString>> drivers;
		LeggiRighe(aDriver, GetReadOnlySqlSession(),
				   {{&aDriver.f_CodMagazzino, &pTesta->f_CodMagazzino}, {&aDriver.f_Esercizio, &pTesta->f_Esercizio}},
				   {&aDriver.f_ModelloDrivers}, [&] {
					   drivers.emplace_back(aDriver.f_ModelloDrivers.GetString(),
											aDriver.f_RiclassificazioneDrivers.GetString());
				   });
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
	const DataInt aMesePrec(pTesta->f_Mese.GetValue() - 1);
	LeggiRighe(aLetta, GetReadOnlySqlSession(),
			   {{&aLetta.f_Esercizio, &pTesta->f_Esercizio},
				{&aLetta.f_CodMagazzino, &pTesta->f_CodMagazzino},
				{&aLetta.f_Mese, &aMesePrec}},
			   {&aLetta.f_Ditta, &aLetta.f_ModelloRiclassific}, [&] {
				   TKvzMetriQuadriMesi* pNuova = m_pDBTMesi->Aggiungi();
				   pNuova->f_Anno = aLetta.f_Anno;
				   pNuova->f_Ditta = aLetta.f_Ditta;
				   pNuova->f_ModelloRiclassific = aLetta.f_ModelloRiclassific;
				   pNuova->f_MetriQuadri = aLetta.f_MetriQuadri;
			   });
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
	// A new month under a key that exists: the reason, before the database's key refuses it.
	if (GetFormMode() == NEW && EsisteChiave(this, *pTesta))
	{
		AfxMessageBox(CString::Formatted(Testo(_T("I metri quadri del magazzino %s esercizio %s mese %d esistono gia'.")),
										 pTesta->f_CodMagazzino.GetString().GetString(),
										 pTesta->f_Esercizio.FormatData().GetString(), nMese),
					  MB_OK | MB_ICONWARNING);
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
	AddColumn(IDC_KVZMQ_G_MODELLO, _T("ModelloRiclassific"), Testo(_T("Modello")), RUNTIME_CLASS(CStrStatic),
			  pRec->f_ModelloRiclassific, 10);
	AddColumn(IDC_KVZMQ_G_DESCRIZIONE, _T("DescriModello"), Testo(_T("Descrizione")), RUNTIME_CLASS(CStrStatic),
			  pRec->l_DescriModello, 32);
	AddColumn(IDC_KVZMQ_G_METRI, _T("MetriQuadri"), Testo(_T("Metri quadri")), RUNTIME_CLASS(CQuantityEdit),
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
	SetLabels({{_T("KVZMETRIQUADRI_DESCRIMAGAZZINO"), _T("Descrizione magazzino")}});
}
