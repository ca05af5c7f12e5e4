#include "kvznet/kvzdrivers/kvzappl/DKvzDrivers.h"

#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneTesta.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormula.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/Interaction.h"
#include "platform/plvgenlib/LibraryEntry.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlException.h"

namespace {
const char* const kSource = "DKvzDrivers";
const char* const kNsPicker = "KvzNet.KvzDrivers.KvzAppl.BDModelliMultiAzDrivers";

const DataEnum kTipoCodiceRiclassificato(E_KVZ_TIPOSIMBOLO, KVZ_CONTATORE_RICLASSIFICATO);
const DataEnum kTipoRigaNormale(E_KVZ_TIPORIGA, 0);

CString Testo(LPCTSTR sz)
{
	return AfxLoadSourceString(sz, kSource);
}

// Zeroes the value and carried total of every month's result row of one code of a model.
// Each row is committed as it is written.
template <class Rec>
void AzzeraCodice(Rec& aRec, SqlSession* pSession, const DataInt& aEsercizio, const DataStr& aModello,
				  const DataStr& aCodice)
{
	if (aCodice.IsEmpty())
		return;
	SqlTable aTable(&aRec, pSession);
	try
	{
		aTable.SetAutocommit(TRUE);
		aTable.Open(TRUE);
		aTable.SelectAll();
		aTable.AddParam(_T("p4"), aRec.f_Esercizio);
		aTable.AddFilterColumn(aRec.f_Esercizio, _T(""));
		aTable.AddParam(_T("p5"), aRec.f_ModelloRiclassific);
		aTable.AddFilterColumn(aRec.f_ModelloRiclassific, _T(""));
		aTable.AddParam(_T("p3"), aRec.f_CodRiclassificato);
		aTable.AddFilterColumn(aRec.f_CodRiclassificato, _T(""));
		aTable.SetParamValue(_T("p4"), aEsercizio);
		aTable.SetParamValue(_T("p5"), aModello);
		aTable.SetParamValue(_T("p3"), aCodice);
		for (aTable.Query(); !aTable.IsEOF(); aTable.MoveNext())
		{
			aTable.Edit();
			aRec.f_Valore = 0.0;
			aRec.f_TotaleRiportato = 0.0;
			aRec.SetStorable();
			aTable.Update();
		}
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

// ---- head --------------------------------------------------------------------------------------

DBTKvzDriversTesta::DBTKvzDriversTesta(CAbstractFormDoc* pDocument)
	: DBTTestaPerChiave(TKvzDriversTesta::GetThisClass(), pDocument, _T("KvzDriversTesta"))
{
}

TKvzDriversTesta* DBTKvzDriversTesta::GetKvzDriversTesta() const
{
	return static_cast<TKvzDriversTesta*>(GetRecord());
}

void DBTKvzDriversTesta::OnEnableControlsForFind()
{
	TKvzDriversTesta* pRec = GetKvzDriversTesta();
	pRec->f_Esercizio.SetFindable(TRUE);
	pRec->f_ModelloDrivers.SetFindable(TRUE);
	pRec->f_Descrizione.SetFindable(TRUE);
	pRec->f_RiclassificazioneDrivers.SetFindable(TRUE);
}

BOOL DBTKvzDriversTesta::OnCheckPrimaryKey()
{
	return !(GetKvzDriversTesta()->f_ModelloDrivers.IsEmpty() && SetError(Testo(szEmptyPrimaryKeySegment)));
}

// ---- rows --------------------------------------------------------------------------------------

DBTKvzDriversRighe::DBTKvzDriversRighe(CRuntimeClass* pRecordClass, CAbstractFormDoc* pDocument, const CString& strName)
	: DBTRigheDellaTesta(pRecordClass, pDocument, strName, TRUE, TRUE)
{
}

DKvzDrivers* DBTKvzDriversRighe::GetDoc() const
{
	return static_cast<DKvzDrivers*>(GetDocument());
}

BOOL DBTKvzDriversRighe::OnCheckPrimaryKey(int, SqlRecord* pRec)
{
	return !(pRec->GetDataObjFromColumnName(_T("ModelloDrivers"))->IsEmpty() &&
			 SetError(Testo(szEmptyForeignKeySegment)));
}

DataObj* DBTKvzDriversRighe::GetDuplicateKeyPos(SqlRecord* pRec)
{
	return pRec ? pRec->GetDataObjFromColumnName(_T("ModelloDrivers")) : nullptr;
}

DBTKvzDriversModelli::DBTKvzDriversModelli(CAbstractFormDoc* pDocument)
	: DBTKvzDriversRighe(TKvzDriversModelli::GetThisClass(), pDocument, _T("KvzDriversModelli"))
{
}

void DBTKvzDriversModelli::AddOrder(SqlRecord* pRec)
{
	auto* pRiga = static_cast<TKvzDriversModelli*>(pRec);
	m_pTable->AddSortColumn(pRiga->f_Ditta);
	m_pTable->AddSortColumn(pRiga->f_ModelloRiclassific);
	m_pTable->AddSortColumn(pRiga->f_Descrizione);
}

// The current company is stored as ".": a row typed without a company and one typed with "."
// are the same target model, and the duplicate check sees it.
void DBTKvzDriversModelli::OnPreparePrimaryKey(int nRow, SqlRecord* pRec)
{
	DBTRigheDellaTesta::OnPreparePrimaryKey(nRow, pRec);
	auto* pRiga = static_cast<TKvzDriversModelli*>(pRec);
	if (pRiga->f_Ditta.IsEmpty())
		pRiga->f_Ditta = _T(".");
}

void DBTKvzDriversModelli::OnPrepareRow(int, SqlRecord* pRec)
{
	auto* pRiga = static_cast<TKvzDriversModelli*>(pRec);
	pRiga->f_EsercizioRiclassific = GetDoc()->GetMasterRecord()->f_Esercizio;
	pRiga->l_SelModelliDitta = KVZ_BITMAP_SEL_MODELLI_DITTA;
}

void DBTKvzDriversModelli::OnPrepareAuxColumns(SqlRecord* pRec)
{
	static_cast<TKvzDriversModelli*>(pRec)->l_SelModelliDitta = KVZ_BITMAP_SEL_MODELLI_DITTA;
}

// Removing a saved target model may also clear the shares the run wrote into its results; the
// row goes either way.
BOOL DBTKvzDriversModelli::OnBeforeDeleteRow(int nRow)
{
	DKvzDrivers* pDoc = GetDoc();
	TKvzDriversModelli* pRiga = GetRiga(nRow);
	if (pDoc->GetFormMode() == CBaseDocument::NEW || !pRiga)
		return TRUE;
	if (AfxMessageBox(Testo(_T("Si vuole azzerare tutti gli eventuali ribaltamenti calcolati su questo modello?")),
					  MB_YESNO | MB_ICONQUESTION) == IDYES)
		pDoc->AzzeraRiga(*pRiga);
	return TRUE;
}

DBTKvzDriversCosti::DBTKvzDriversCosti(CAbstractFormDoc* pDocument)
	: DBTKvzDriversRighe(TKvzDriversCosti::GetThisClass(), pDocument, _T("KvzDriversCosti"))
{
}

void DBTKvzDriversCosti::AddOrder(SqlRecord* pRec)
{
	m_pTable->AddSortColumn(static_cast<TKvzDriversCosti*>(pRec)->f_CodRiclassificCosto);
}

DBTKvzDriversIncrementi::DBTKvzDriversIncrementi(CAbstractFormDoc* pDocument)
	: DBTKvzDriversRighe(TKvzDriversIncrementi::GetThisClass(), pDocument, _T("KvzDriversIncrementi"))
{
}

void DBTKvzDriversIncrementi::AddOrder(SqlRecord* pRec)
{
	auto* pRiga = static_cast<TKvzDriversIncrementi*>(pRec);
	m_pTable->AddSortColumn(pRiga->f_ModelloRiclassificInter);
	m_pTable->AddSortColumn(pRiga->f_CodRiclassificCosto);
}

// ---- document ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(DKvzDrivers, Kvz_CUtilizzaFormuleDoc)
	ON_BEN_ROW_CHANGED(IDC_KVZDRIVERS_GRID_COSTI, OnRigaChanged)
	ON_EN_VALUE_CHANGED(IDC_KVZDRIVERS_C_CODICE, OnCodiceRclChanged)
	ON_EN_VALUE_CHANGED(IDC_KVZDRIVERS_C_DESCRIZIONE, OnDescriRclChanged)
	ON_EN_VALUE_CHANGED(IDC_KVZDRIVERS_C_FORMULA, OnFormulaChanged)
	ON_EN_VALUE_CHANGED(IDC_KVZDRIVERS_MODELLO, OnKvzDriversModelloDriversChanged)
	ON_EN_VALUE_CHANGED(IDC_KVZDRIVERS_MAGAZZINO, OnKvzDriversMagazzinoChanged)
	ON_EN_VALUE_CHANGED(IDC_KVZDRIVERS_I_MODELLO, OnKvzDriversIncrementiModelloRiclassificInterChanged)
	ON_EN_VALUE_CHANGED(IDC_KVZDRIVERS_I_CODICE, OnKvzDriversIncrementiCodRiclassificCostoChanged)
	ON_BEN_ROW_DBLCLICKED(IDC_KVZDRIVERS_GRID_MODELLI, OnModelliDblClick)
END_MESSAGE_MAP()

DBTKvzDriversTesta* DKvzDrivers::GetDBTKvzDriversTesta() const
{
	return static_cast<DBTKvzDriversTesta*>(GetMaster());
}

TKvzDriversTesta* DKvzDrivers::GetMasterRecord() const
{
	return GetDBTKvzDriversTesta()->GetKvzDriversTesta();
}

TKvzDriversModelli* DKvzDrivers::GetDBTKvzDriversModelliRecord() const
{
	return static_cast<TKvzDriversModelli*>(m_pDBTModelli->GetCurrentRow());
}

TKvzDriversCosti* DKvzDrivers::GetDBTKvzDriversCostiRecord() const
{
	return static_cast<TKvzDriversCosti*>(m_pDBTCosti->GetCurrentRow());
}

TKvzDriversIncrementi* DKvzDrivers::GetDBTKvzDriversIncrementiRecord() const
{
	return static_cast<TKvzDriversIncrementi*>(m_pDBTIncrementi->GetCurrentRow());
}

BOOL DKvzDrivers::OnAttachData()
{
	SetFormTitle(Testo(_T("Kvz Drivers")));
	auto* pTesta = new DBTKvzDriversTesta(this);
	m_pDBTModelli = new DBTKvzDriversModelli(this);
	m_pDBTCosti = new DBTKvzDriversCosti(this);
	m_pDBTIncrementi = new DBTKvzDriversIncrementi(this);
	pTesta->Attach(m_pDBTModelli);
	pTesta->Attach(m_pDBTCosti);
	pTesta->Attach(m_pDBTIncrementi);

	m_pHKLTempModelli = new HKLKvzDriversTempModelli;
	m_pHKLTempCosti = new HKLKvzDriversTempCosti;
	m_pHKLMagazzini = new HKLKvzDriversMagazzini;
	m_pHKLAziende = new Kvz_HKLAziende;
	for (DriversHotLink* p : {static_cast<DriversHotLink*>(m_pHKLTempModelli),
							  static_cast<DriversHotLink*>(m_pHKLTempCosti), static_cast<DriversHotLink*>(m_pHKLMagazzini)})
	{
		p->MustExistData(FALSE);
		Attach(p, CString());
	}
	Attach(m_pHKLAziende, CString());
	return Attach(pTesta);
}

BOOL DKvzDrivers::OnPrepareAuxData()
{
	Kvz_CUtilizzaFormuleDoc::OnPrepareAuxData();
	TKvzDriversTesta* pTesta = GetMasterRecord();
	if (GetFormMode() == NEW)
		pTesta->f_Esercizio = AfxGetApplicationDate().Year();
	else
	{
		SalvaTemporanei();
		RestringiHotLink();
		for (int i = 0; i < m_pDBTIncrementi->GetSize(); ++i)
		{
			TKvzDriversIncrementi* pRiga = m_pDBTIncrementi->GetRiga(i);
			pRiga->l_DescrizioneModello.Clear();
			pRiga->l_DescrizioneCosto.Clear();
			if (m_pHKLTempModelli->FindRecord(&pRiga->f_ModelloRiclassificInter))
				pRiga->l_DescrizioneModello = m_pHKLTempModelli->GetRecord()->f_Descrizione;
			if (m_pHKLTempCosti->FindRecord(&pRiga->f_CodRiclassificCosto))
				pRiga->l_DescrizioneCosto = m_pHKLTempCosti->GetRecord()->f_Descrizione;
		}
	}
	if (m_pDBTCosti->GetSize() > 0)
		SetContext(DataStr(Testo(_T("Drivers"))), pTesta->f_Esercizio, pTesta->f_ModelloDrivers,
				   kTipoCodiceRiclassificato, DataStr(), DataStr(), kTipoRigaNormale);
	AggiornaDescriMagazzino();
	return TRUE;
}

BOOL DKvzDrivers::OnOkTransaction()
{
	// A new driver under a key that exists: the reason, before the database's key refuses it.
	if (GetFormMode() == NEW && EsisteChiave(this, *GetMasterRecord()))
	{
		AfxMessageBox(CString::Formatted(Testo(_T("Il driver %s esercizio %s esiste gia'.")),
										 GetMasterRecord()->f_ModelloDrivers.GetString().GetString(),
										 GetMasterRecord()->f_Esercizio.FormatData().GetString()),
					  MB_OK | MB_ICONWARNING);
		SetCtrlFocus(IDC_KVZDRIVERS_MODELLO);
		return FALSE;
	}
	// A target of this company that is no model of its year would get nothing at every run.
	Kvz_TRRiclassificazioneTesta testa(this);
	for (int i = 0; i < m_pDBTModelli->GetSize(); ++i)
	{
		const TKvzDriversModelli* pRiga = m_pDBTModelli->GetRiga(i);
		CString strDitta = pRiga->f_Ditta.GetString();
		strDitta.Trim();
		if ((strDitta.IsEmpty() || strDitta == ".") &&
			testa.FindRecord(pRiga->f_EsercizioRiclassific, pRiga->f_ModelloRiclassific) != TableReader::FOUND)
		{
			AfxMessageBox(CString::Formatted(Testo(_T("Riga %d dei modelli: il modello %s non esiste nell'esercizio %d.")),
											 i + 1, pRiga->f_ModelloRiclassific.GetString().GetString(),
											 pRiga->f_EsercizioRiclassific.GetValue()),
						  MB_OK | MB_ICONERROR);
			return FALSE;
		}
	}
	for (int i = 0; i < m_pDBTModelli->GetSize(); ++i)
	{
		TKvzDriversModelli* pRiga = m_pDBTModelli->GetRiga(i);
		if (pRiga->f_Ditta.IsEmpty())
			pRiga->f_Ditta = _T(".");
		pRiga->SetStorable();
	}
	return TRUE;
}

void DKvzDrivers::RestringiHotLink()
{
	m_pHKLTempModelli->SetModelloDrivers(GetMasterRecord()->f_ModelloDrivers);
	m_pHKLTempCosti->SetModelloDrivers(GetMasterRecord()->f_ModelloDrivers);
}

void DKvzDrivers::AggiornaDescriMagazzino()
{
	const DataStr& aCodice = GetMasterRecord()->f_CodMagazzino;
	m_DescriMagazzino.Clear();
	if (!aCodice.IsEmpty() && m_pHKLMagazzini->FindRecord(const_cast<DataStr*>(&aCodice)))
		m_DescriMagazzino = m_pHKLMagazzini->GetRecord()->f_Descrizione;
}

// ---- formula context ---------------------------------------------------------------------------

void DKvzDrivers::SetContestoCosto(const TKvzDriversCosti* pCosto)
{
	if (!pCosto)
		return;
	const TKvzDriversTesta* pTesta = GetMasterRecord();
	SetContext(DataStr(Testo(_T("Modello di riclassificazione"))), pTesta->f_Esercizio, pTesta->f_ModelloDrivers,
			   kTipoCodiceRiclassificato, pCosto->f_CodRiclassificCosto, pCosto->f_Descrizione, kTipoRigaNormale);
}

void DKvzDrivers::OnRigaChanged()
{
	SetContestoCosto(GetDBTKvzDriversCostiRecord());
	UpdateDataView();
}

void DKvzDrivers::OnCodiceRclChanged()
{
	SetContestoCosto(GetDBTKvzDriversCostiRecord());
}

void DKvzDrivers::OnDescriRclChanged()
{
	const TKvzDriversCosti* pCosto = GetDBTKvzDriversCostiRecord();
	if (pCosto && !pCosto->f_CodRiclassificCosto.IsEmpty())
		SetContestoCosto(pCosto);
}

void DKvzDrivers::OnFormulaChanged()
{
	TKvzDriversCosti* pCosto = GetDBTKvzDriversCostiRecord();
	if (!pCosto)
		return;
	SetPStrFormula(&pCosto->f_Formula);
	SetPosizFormula(0);
	Kvz_CUtilizzaFormuleDoc::OnFormulaChanged();
}

// ---- lookups -----------------------------------------------------------------------------------

void DKvzDrivers::OnKvzDriversModelloDriversChanged()
{
	RestringiHotLink();
	UpdateDataView();
}

void DKvzDrivers::OnKvzDriversMagazzinoChanged()
{
	AggiornaDescriMagazzino();
	UpdateDataView();
}

// The row takes the company and description of the target model the lookup found: a model that
// is not a target of the driver leaves the company as it was and no description.
void DKvzDrivers::OnKvzDriversIncrementiModelloRiclassificInterChanged()
{
	TKvzDriversIncrementi* pRiga = GetDBTKvzDriversIncrementiRecord();
	if (!pRiga)
		return;
	pRiga->l_DescrizioneModello.Clear();
	const TKvzDriversTempModelli* pTrovato = m_pHKLTempModelli->GetRecord();
	if (m_pHKLTempModelli->IsFound() &&
		pTrovato->f_ModelloRiclassific.GetString() == pRiga->f_ModelloRiclassificInter.GetString())
	{
		pRiga->l_DescrizioneModello = pTrovato->f_Descrizione;
		pRiga->f_Ditta = pTrovato->f_Ditta;
	}
	UpdateDataView();
}

void DKvzDrivers::OnKvzDriversIncrementiCodRiclassificCostoChanged()
{
	TKvzDriversIncrementi* pRiga = GetDBTKvzDriversIncrementiRecord();
	if (!pRiga)
		return;
	pRiga->l_DescrizioneCosto.Clear();
	const TKvzDriversTempCosti* pTrovato = m_pHKLTempCosti->GetRecord();
	if (m_pHKLTempCosti->IsFound() &&
		pTrovato->f_CodRiclassificCosto.GetString() == pRiga->f_CodRiclassificCosto.GetString())
		pRiga->l_DescrizioneCosto = pTrovato->f_Descrizione;
	UpdateDataView();
}

// ---- working tables ----------------------------------------------------------------------------

void DKvzDrivers::SalvaTemporanei()
{
	const TKvzDriversTesta* pTesta = GetMasterRecord();
	SqlSession* pSession = GetUpdatableSqlSession();
	if (!pSession || pTesta->f_ModelloDrivers.IsEmpty())
		return;

	// A failed deletion does not stop the rewriting.
	auto cancella = [&](SqlRecord& aRec) {
		SqlTable aTable(&aRec, pSession);
		try
		{
			DataObj& aEsercizio = *aRec.GetDataObjFromColumnName(_T("Esercizio"));
			DataObj& aModello = *aRec.GetDataObjFromColumnName(_T("ModelloDrivers"));
			aTable.SetAutocommit(TRUE);
			aTable.Open(TRUE);
			aTable.SelectAll();
			aTable.AddParam(_T("p1"), aEsercizio);
			aTable.AddFilterColumn(aEsercizio, _T(""));
			aTable.AddParam(_T("p2"), aModello);
			aTable.AddFilterColumn(aModello, _T(""));
			aTable.SetParamValue(_T("p1"), pTesta->f_Esercizio);
			aTable.SetParamValue(_T("p2"), pTesta->f_ModelloDrivers);
			for (aTable.Query(); !aTable.IsEOF(); aTable.MoveNext())
				aTable.Delete();
			aTable.Close();
		}
		catch (const SqlException& e)
		{
			if (aTable.IsOpen())
				aTable.Close();
			e.ShowError(_T(""));
		}
	};
	{
		TKvzDriversTempCosti aCosti;
		cancella(aCosti);
		TKvzDriversTempModelli aModelli;
		cancella(aModelli);
	}

	try
	{
		Kvz_TUDriversTempModelli aModelli(this);
		aModelli.SetSqlSession(pSession);
		aModelli.SetAutocommit(TRUE);
		for (int i = 0; i < m_pDBTModelli->GetSize(); ++i)
		{
			const TKvzDriversModelli* pRiga = m_pDBTModelli->GetRiga(i);
			// As the save will store it, so that an increment names the company the run reads.
			const DataStr aDitta(KvzConnessioneAzienda::DittaCorrente(pRiga->f_Ditta) ? CString(_T("."))
																					   : pRiga->f_Ditta.GetString());
			if (aModelli.FindRecord(pTesta->f_Esercizio, aDitta, pTesta->f_ModelloDrivers, pRiga->f_ModelloRiclassific,
									FALSE) != TableReader::NOT_FOUND)
				continue;
			TKvzDriversTempModelli* pTemp = aModelli.GetRecord();
			pTemp->f_Esercizio = pTesta->f_Esercizio;
			pTemp->f_Ditta = aDitta;
			pTemp->f_ModelloDrivers = pTesta->f_ModelloDrivers;
			pTemp->f_ModelloRiclassific = pRiga->f_ModelloRiclassific;
			pTemp->f_EsercizioRiclassific = pRiga->f_EsercizioRiclassific;
			pTemp->f_Descrizione = pRiga->f_Descrizione;
			aModelli.UpdateRecord();
		}
		aModelli.Free();

		Kvz_TUDriversTempCosti aCosti(this);
		aCosti.SetSqlSession(pSession);
		aCosti.SetAutocommit(TRUE);
		for (int i = 0; i < m_pDBTCosti->GetSize(); ++i)
		{
			const TKvzDriversCosti* pRiga = m_pDBTCosti->GetRiga(i);
			if (aCosti.FindRecord(pTesta->f_Esercizio, pTesta->f_ModelloDrivers, pRiga->f_CodRiclassificCosto, FALSE) !=
				TableReader::NOT_FOUND)
				continue;
			TKvzDriversTempCosti* pTemp = aCosti.GetRecord();
			pTemp->f_Esercizio = pTesta->f_Esercizio;
			pTemp->f_ModelloDrivers = pTesta->f_ModelloDrivers;
			pTemp->f_CodRiclassificCosto = pRiga->f_CodRiclassificCosto;
			pTemp->f_Descrizione = pRiga->f_Descrizione;
			aCosti.UpdateRecord();
		}
		aCosti.Free();
	}
	catch (const SqlException& e)
	{
		e.ShowError(_T(""));
	}
}

// ---- other companies ---------------------------------------------------------------------------

BOOL DKvzDrivers::ConnectDB(const DataStr& aDitta)
{
	return m_Connessione.Connetti(aDitta);
}

void DKvzDrivers::AzzeraValori(const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aCodice1,
							   const DataStr& aCodice2)
{
	SqlSession* pSession = GetUpdatableSqlSession();
	if (!pSession)
		return;
	Kvz_TRiclassificato aRec;
	AzzeraCodice(aRec, pSession, aEsercizio, aModello, aCodice1);
	AzzeraCodice(aRec, pSession, aEsercizio, aModello, aCodice2);
}

// A company that cannot be reached is skipped after the messages of the connection.
void DKvzDrivers::AzzeraValori_Ext(const DataStr& aDitta, const DataInt& aEsercizio, const DataStr& aModello,
								   const DataStr& aCodice1, const DataStr& aCodice2)
{
	if (ConnectDB(aDitta))
		AzzeraSuConnessione(aEsercizio, aModello, aCodice1, aCodice2);
	m_Connessione.Chiudi();
}

void DKvzDrivers::AzzeraSuConnessione(const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aCodice1,
									  const DataStr& aCodice2)
{
	SqlConnection* pConn = m_Connessione.GetInUso();
	if (!pConn)
		return;
	CPLVContext context(pConn, this);
	Kvz_TRiclassificato_Ext aRec(pConn);
	AzzeraCodice(aRec, context.GetUpdatableSqlSession(), aEsercizio, aModello, aCodice1);
	AzzeraCodice(aRec, context.GetUpdatableSqlSession(), aEsercizio, aModello, aCodice2);
}

// Another company is connected once for all the cost lines: one that cannot be reached is told
// once and skipped.
void DKvzDrivers::AzzeraRiga(const TKvzDriversModelli& aRiga)
{
	if (m_pDBTCosti->GetSize() == 0)
		return;
	const BOOL bCorrente = KvzConnessioneAzienda::DittaCorrente(aRiga.f_Ditta);
	if (!bCorrente && !ConnectDB(aRiga.f_Ditta))
		return;
	for (int i = 0; i < m_pDBTCosti->GetSize(); ++i)
	{
		const TKvzDriversCosti* pCosto = m_pDBTCosti->GetRiga(i);
		if (bCorrente)
			AzzeraValori(aRiga.f_EsercizioRiclassific, aRiga.f_ModelloRiclassific, pCosto->f_CodRiclRibaldamento,
						 pCosto->f_CodRiclRibaldamentoStd);
		else
			AzzeraSuConnessione(aRiga.f_EsercizioRiclassific, aRiga.f_ModelloRiclassific,
								pCosto->f_CodRiclRibaldamento, pCosto->f_CodRiclRibaldamentoStd);
	}
	m_Connessione.Chiudi();
}

// ---- model picker ------------------------------------------------------------------------------

void DKvzDrivers::OnModelliDblClick()
{
	OnEstraiMultiAz();
}

void DKvzDrivers::OnEstraiMultiAz()
{
	const TKvzDriversModelli* pRiga = GetDBTKvzDriversModelliRecord();
	if (!pRiga)
		return;
	m_DittaPicker = pRiga->f_Ditta;
	m_ModelloPicker = pRiga->f_ModelloRiclassific;
	m_EsercizioPicker = pRiga->f_EsercizioRiclassific;
	if (CPlvCommandInterface* pCmd = AfxGetPlvCmdManager())
		pCmd->RunDocument(kNsPicker, _T("Default"), nullptr, this);
	UpdateDataView();
}
