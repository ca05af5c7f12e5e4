#include "kvznet/kvzmod/kvzdocuments/pianobase/Kvz_CPianoBaseDoc.h"

#include <set>

#include "kvznet/kvzmod/kvzcomponents/GestIds.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRigaDett.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const char* const kSource = "Kvz_CPianoBaseDoc";

CString Testo(LPCTSTR szTesto)
{
	return AfxLoadSourceString(szTesto, kSource);
}
}  // namespace

// ---- header buffer -----------------------------------------------------------------------------

Kvz_DBTPianoBaseTesta::Kvz_DBTPianoBaseTesta(CAbstractFormDoc* pDocument)
	: DBTMaster(Kvz_TPianoBaseTesta::GetThisClass(), pDocument, _T("DBTPianoBaseTesta"))
{
}

void Kvz_DBTPianoBaseTesta::OnEnableControlsForFind()
{
	Kvz_TPianoBaseTesta* pRec = GetPianoBaseTesta();
	pRec->f_ContoKvz.SetFindable(TRUE);
	pRec->f_CentroCommessa.SetFindable(TRUE);
	pRec->f_Esercizio.SetFindable(TRUE);
}

void Kvz_DBTPianoBaseTesta::OnDefineQuery()
{
	Kvz_TPianoBaseTesta* pRec = GetPianoBaseTesta();
	m_pTable->SelectAll();
	m_pTable->AddParam("p1", pRec->f_IDPianoBase);
	m_pTable->AddFilterColumn(pRec->f_IDPianoBase);
	m_pTable->AddSortColumn(pRec->f_IDPianoBase);
}

void Kvz_DBTPianoBaseTesta::OnPrepareQuery()
{
	m_pTable->SetParamValue("p1", GetPianoBaseTesta()->f_IDPianoBase);
}

void Kvz_DBTPianoBaseTesta::OnPrepareBrowser(SqlTable* pTable)
{
	pTable->SelectAll();
	pTable->AddSortColumn(static_cast<Kvz_TPianoBaseTesta*>(pTable->GetRecord())->f_IDPianoBase);
}

void Kvz_DBTPianoBaseTesta::OnPrepareFindQuery(SqlTable* pTable)
{
	OnPrepareBrowser(pTable);
}

// ---- month rows --------------------------------------------------------------------------------

Kvz_DBTPianoBaseRighe::Kvz_DBTPianoBaseRighe(CAbstractFormDoc* pDocument)
	: DBTSlaveBuffered(Kvz_TPianoBaseRighe::GetThisClass(), pDocument, _T("DBTPianoBaseRighe"), TRUE, TRUE)
{
}

Kvz_TPianoBaseTesta* Kvz_DBTPianoBaseRighe::GetTesta() const
{
	return static_cast<Kvz_TPianoBaseTesta*>(GetMaster()->GetRecord());
}

void Kvz_DBTPianoBaseRighe::OnDefineQuery()
{
	auto* pRec = static_cast<Kvz_TPianoBaseRighe*>(GetRecord());
	m_pTable->SelectAll();
	m_pTable->AddParam("p1", pRec->f_IDPianoBase);
	m_pTable->AddFilterColumn(pRec->f_IDPianoBase);
	m_pTable->AddSortColumn(pRec->f_Mese);
}

void Kvz_DBTPianoBaseRighe::OnPrepareQuery()
{
	m_pTable->SetParamValue("p1", GetTesta()->f_IDPianoBase);
}

void Kvz_DBTPianoBaseRighe::OnPreparePrimaryKey(int, SqlRecord* pRec)
{
	static_cast<Kvz_TPianoBaseRighe*>(pRec)->f_IDPianoBase = GetTesta()->f_IDPianoBase;
}

void Kvz_DBTPianoBaseRighe::OnPrepareRow(int nRow, SqlRecord* pRec)
{
	auto* pRiga = static_cast<Kvz_TPianoBaseRighe*>(pRec);
	if (nRow <= 0)
	{
		pRiga->f_Mese = 1;
		return;
	}
	// After December the user types the month.
	const int nMese = GetPianoBaseRiga(nRow - 1)->f_Mese + 1;
	if (nMese > 12)
		pRiga->f_Mese.Clear();
	else
		pRiga->f_Mese = nMese;
}

DataObj* Kvz_DBTPianoBaseRighe::GetDuplicateKeyPos(SqlRecord* pRec)
{
	return &static_cast<Kvz_TPianoBaseRighe*>(pRec)->f_Mese;
}

// ---- document ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(Kvz_CPianoBaseDoc, CAbstractFormDoc)
	ON_EN_VALUE_CHANGED(IDC_PBASE_CONTO, OnContoKvzChanged)
	ON_EN_VALUE_CHANGED(IDC_PBASE_ESERCIZIO, OnEsercizioChanged)
END_MESSAGE_MAP()

Kvz_TPianoBaseTesta* Kvz_CPianoBaseDoc::GetPianoBaseTesta() const
{
	return m_pDBTPianoBaseTesta->GetPianoBaseTesta();
}

BOOL Kvz_CPianoBaseDoc::OnAttachData()
{
	SetFormTitle(Testo(_T("Manutenzione piano base")));

	m_pHKLAnagContiKvz = new KVZ_HKLAnagContiKvz;
	Attach(m_pHKLAnagContiKvz, CString());
	m_pHKLAnagContiKvz->SetSelTipoConto(KVZ_HKLAnagContiKvz::ALL);

	m_pHKLCentriCommContiKvz = new Kvz_HKLCentriCommContiKvz;
	Attach(m_pHKLCentriCommContiKvz, CString());

	m_pDBTPianoBaseTesta = new Kvz_DBTPianoBaseTesta(this);
	m_pDBTPianoBaseRighe = new Kvz_DBTPianoBaseRighe(this);
	m_pDBTPianoBaseRighe->SetPreloadStep(-1);
	m_pDBTPianoBaseTesta->Attach(m_pDBTPianoBaseRighe);
	return Attach(m_pDBTPianoBaseTesta);
}

BOOL Kvz_CPianoBaseDoc::OnPrepareAuxData()
{
	Kvz_TPianoBaseTesta* pTesta = GetPianoBaseTesta();
	const DataDate oggi = AfxGetApplicationDate();
	if (GetFormMode() == NEW)
	{
		// Taken now, committed at once: an abandoned header leaves a gap in both series.
		Kvz_IDManager idMng(DataEnum(E_KVZ_SPECIEARCHIVIO, 0), this);
		Kvz_NumNonFiscManager numMng(DataEnum(E_KVZ_TIPODOCUMENTO, 0), this);
		if (!Kvz_NumeraNuovoPianoBase(*pTesta, oggi, idMng, numMng))
			return FALSE;
		pTesta->f_InseritoAMano = TRUE;
		pTesta->f_Esercizio = oggi.Year();
	}
	else if (GetFormMode() == EDIT)
		pTesta->f_DataUltModifica = oggi;

	m_pHKLAnagContiKvz->SetSelEsercizio(pTesta->f_Esercizio);
	m_pHKLAnagContiKvz->FindRecord(&pTesta->f_ContoKvz);
	m_pHKLCentriCommContiKvz->SetSelContoKvz(pTesta->f_ContoKvz);
	m_pHKLCentriCommContiKvz->SetSelEsercizio(pTesta->f_Esercizio);
	m_pHKLCentriCommContiKvz->FindRecord(&pTesta->f_CentroCommessa);
	return TRUE;
}

DataInt Kvz_CPianoBaseDoc::EsercizioLookup() const
{
	// A search may leave the year empty: the lookups then offer the current year's codes.
	const DataInt& esercizio = GetPianoBaseTesta()->f_Esercizio;
	return esercizio.IsEmpty() ? DataInt(AfxGetApplicationDate().Year()) : esercizio;
}

void Kvz_CPianoBaseDoc::OnContoKvzChanged()
{
	Kvz_TPianoBaseTesta* pTesta = GetPianoBaseTesta();
	// The cost centres and jobs are the new account's.
	pTesta->f_CentroCommessa.Clear();
	m_pHKLCentriCommContiKvz->GetRecord()->f_Descrizione.Clear();
	m_pHKLCentriCommContiKvz->SetSelContoKvz(pTesta->f_ContoKvz);
	m_pHKLCentriCommContiKvz->SetSelEsercizio(EsercizioLookup());
	UpdateDataView();
}

void Kvz_CPianoBaseDoc::OnEsercizioChanged()
{
	const DataInt esercizio = EsercizioLookup();
	m_pHKLAnagContiKvz->SetSelEsercizio(esercizio);
	m_pHKLCentriCommContiKvz->SetSelEsercizio(esercizio);
	UpdateDataView();
}

BOOL Kvz_CPianoBaseDoc::Rifiuta(const CString& strMessaggio, UINT nFocus)
{
	AfxMessageBox(strMessaggio, MB_OK | MB_ICONERROR);
	if (nFocus)
		SetCtrlFocus(nFocus);
	return FALSE;
}

BOOL Kvz_CPianoBaseDoc::ControllaMesi()
{
	for (int i = 0; i < m_pDBTPianoBaseRighe->GetSize(); ++i)
	{
		const int nMese = m_pDBTPianoBaseRighe->GetPianoBaseRiga(i)->f_Mese;
		if (nMese >= 1 && nMese <= 12)
			continue;
		m_pDBTPianoBaseRighe->SetCurrentRow(i);
		return Rifiuta(CString::Formatted(Testo(_T("Il mese alla riga %d non e' valido.")).GetString(), i + 1),
					   IDC_PBASE_RIGHE_MESE);
	}
	return TRUE;
}

BOOL Kvz_CPianoBaseDoc::ControllaTesta(Kvz_TAnagContiKvz& aConto)
{
	Kvz_TPianoBaseTesta* pTesta = GetPianoBaseTesta();
	// A header whose id could not be taken is never written (it would share the empty key).
	if (pTesta->f_IDPianoBase.IsEmpty())
		return Rifiuta(Testo(_T("Il piano base non ha un identificativo: ripetere l'inserimento.")), 0);
	if (pTesta->f_Esercizio <= 0)
		return Rifiuta(Testo(_T("Indicare l'esercizio.")), IDC_PBASE_ESERCIZIO);
	// The reclassification run reads the months by year, account and cost centre/job.
	if (pTesta->f_ContoKvz.IsEmpty())
		return Rifiuta(Testo(_T("Indicare il conto raggruppato.")), IDC_PBASE_CONTO);
	Kvz_TRAnagContiKvz conti(this);
	if (conti.FindRecord(pTesta->f_Esercizio, pTesta->f_ContoKvz) != TableReader::FOUND)
		return Rifiuta(CString::Formatted(Testo(_T("Il conto raggruppato %s non esiste nell'esercizio %d.")).GetString(),
										  pTesta->f_ContoKvz.GetString().GetString(), int(pTesta->f_Esercizio)),
					   IDC_PBASE_CONTO);
	aConto = *conti.GetRecord();

	pTesta->f_TipoCentroComm = DataEnum(E_KVZ_TIPOCENTROCOMM, 0);
	if (!pTesta->f_CentroCommessa.IsEmpty())
	{
		m_pHKLCentriCommContiKvz->SetSelContoKvz(pTesta->f_ContoKvz);
		m_pHKLCentriCommContiKvz->SetSelEsercizio(pTesta->f_Esercizio);
		if (!m_pHKLCentriCommContiKvz->FindRecord(&pTesta->f_CentroCommessa))
			return Rifiuta(
				CString::Formatted(
					Testo(_T("Il centro/commessa %s non e' del conto raggruppato %s nell'esercizio %d.")).GetString(),
					pTesta->f_CentroCommessa.GetString().GetString(), pTesta->f_ContoKvz.GetString().GetString(),
					int(pTesta->f_Esercizio)),
				IDC_PBASE_CDC_COMM);
		// A job's plan is read as a job's.
		pTesta->f_TipoCentroComm = m_pHKLCentriCommContiKvz->GetRecord()->f_Tipo;
	}

	// A second plan of the same account would be counted twice by the run.
	Kvz_TPianoBaseTesta altro;
	SqlTable t(&altro, GetReadOnlySqlSession(), this);
	t.Open(FALSE);
	t.Select(altro.f_CodPianoBase);
	t.AddParam("p1", altro.f_Esercizio);
	t.AddFilterColumn(altro.f_Esercizio);
	t.AddParam("p2", altro.f_ContoKvz);
	t.AddFilterColumn(altro.f_ContoKvz);
	t.AddParam("p3", altro.f_CentroCommessa);
	t.AddFilterColumn(altro.f_CentroCommessa);
	t.AddParam("p4", altro.f_TipoCentroComm);
	t.AddFilterColumn(altro.f_TipoCentroComm);
	t.AddParam("p5", altro.f_IDPianoBase);
	t.AddFilterColumn(altro.f_IDPianoBase, _T("<>"));
	t.SetParamValue("p1", pTesta->f_Esercizio);
	t.SetParamValue("p2", pTesta->f_ContoKvz);
	t.SetParamValue("p3", pTesta->f_CentroCommessa);
	t.SetParamValue("p4", pTesta->f_TipoCentroComm);
	t.SetParamValue("p5", pTesta->f_IDPianoBase);
	t.Query();
	if (t.IsEOF())
		return TRUE;
	const CString strConto = pTesta->f_CentroCommessa.IsEmpty()
								 ? pTesta->f_ContoKvz.GetString()
								 : pTesta->f_ContoKvz.GetString() + " " + pTesta->f_CentroCommessa.GetString();
	return Rifiuta(CString::Formatted(Testo(_T("Esiste gia' il piano base nr. %s per %s nell'esercizio %d.")).GetString(),
									  altro.f_CodPianoBase.GetString().GetString(), strConto.GetString(),
									  int(pTesta->f_Esercizio)),
				   IDC_PBASE_CONTO);
}

void Kvz_CPianoBaseDoc::CompletaRighe(const Kvz_TAnagContiKvz& aConto)
{
	const Kvz_TPianoBaseTesta* pTesta = GetPianoBaseTesta();
	for (int i = 0; i < m_pDBTPianoBaseRighe->GetSize(); ++i)
	{
		Kvz_TPianoBaseRighe* pRiga = m_pDBTPianoBaseRighe->GetPianoBaseRiga(i);
		pRiga->f_Esercizio = pTesta->f_Esercizio;
		pRiga->f_ContoKvz = pTesta->f_ContoKvz;
		pRiga->f_CentroCommessa = pTesta->f_CentroCommessa;
		pRiga->f_TipoCentroComm = pTesta->f_TipoCentroComm;
		pRiga->f_TipoMastro = aConto.f_TipoMastro;
		pRiga->f_TotaleAssestato = pRiga->f_SaldoContabile + pRiga->f_ImportoRateo;
	}
}

void Kvz_CPianoBaseDoc::CancellaDettagliMesiTolti()
{
	std::set<int> mesi;
	for (int i = 0; i < m_pDBTPianoBaseRighe->GetSize(); ++i)
		mesi.insert(m_pDBTPianoBaseRighe->GetPianoBaseRiga(i)->f_Mese);
	const DataLng& id = GetPianoBaseTesta()->f_IDPianoBase;
	const CString sql =
		CString::Formatted("DELETE FROM %s WHERE IDPianoBase=? AND Mese=?", Kvz_TPianoBaseRigaDett::GetStaticName());
	for (int i = 0; i < m_pDBTPianoBaseRighe->GetOldSize(); ++i)
	{
		const DataInt& mese = static_cast<Kvz_TPianoBaseRighe*>(m_pDBTPianoBaseRighe->GetOldRow(i))->f_Mese;
		if (!mesi.count(mese))
			GetUpdatableSqlSession()->ExecuteSQL(sql, {&id, &mese});
	}
}

BOOL Kvz_CPianoBaseDoc::OnOkTransaction()
{
	if (!ControllaMesi())
		return FALSE;
	Kvz_TAnagContiKvz conto;
	if (!ControllaTesta(conto))
		return FALSE;
	CompletaRighe(conto);
	// A month taken away takes its adjustment's detail lines with it.
	if (GetFormMode() == EDIT)
		CancellaDettagliMesiTolti();
	return TRUE;
}

BOOL Kvz_CPianoBaseDoc::OnDeleteTransaction()
{
	GetUpdatableSqlSession()->ExecuteSQL(
		CString::Formatted("DELETE FROM %s WHERE IDPianoBase=?", Kvz_TPianoBaseRigaDett::GetStaticName()),
		{&GetPianoBaseTesta()->f_IDPianoBase});
	return TRUE;
}

// ---- form --------------------------------------------------------------------------------------

void Kvz_CPianoBaseView::BuildDataControlLinks()
{
	auto* pDoc = static_cast<Kvz_CPianoBaseDoc*>(GetDocument());
	Kvz_TPianoBaseTesta* pRec = pDoc->GetPianoBaseTesta();
	AddLink(IDC_PBASE_NUMERO, _T("Nr.assegnato"), RUNTIME_CLASS(CStrStatic), &pRec->f_CodPianoBase);
	AddLink(IDC_PBASE_ESERCIZIO, _T("Esercizio"), RUNTIME_CLASS(CIntEdit), &pRec->f_Esercizio);
	AddLink(IDC_PBASE_DESCRIZIONE, _T("Descrizione"), RUNTIME_CLASS(CStrEdit), &pRec->f_Descrizione);
	AddLink(IDC_PBASE_DATA_CREAZIONE, _T("Data creazione"), RUNTIME_CLASS(CDateStatic), &pRec->f_DataCreazione);
	AddLink(IDC_PBASE_DATA_ULT_MODIFICA, _T("Ultima modifica"), RUNTIME_CLASS(CDateStatic), &pRec->f_DataUltModifica);
	AddLink(IDC_PBASE_CONTO, _T("Conto raggruppato"), RUNTIME_CLASS(CStrEdit), &pRec->f_ContoKvz, pDoc->m_pHKLAnagContiKvz);
	AddLink(IDC_PBASE_CONTO_DESCRI, _T("PBASE_CONTO_DESCRI"), RUNTIME_CLASS(CStrStatic),
			&pDoc->m_pHKLAnagContiKvz->GetRecord()->f_Descrizione);
	SetLabels({{_T("PBASE_CONTO_DESCRI"), _T("Descrizione conto")}});
	AddLink(IDC_PBASE_CDC_COMM, _T("Centro/commessa"), RUNTIME_CLASS(CStrEdit), &pRec->f_CentroCommessa,
			pDoc->m_pHKLCentriCommContiKvz);
	AddLink(IDC_PBASE_CDC_COMM_DESCRI, _T("PBASE_CONTO_DES_CDC_COMM"), RUNTIME_CLASS(CStrStatic),
			&pDoc->m_pHKLCentriCommContiKvz->GetRecord()->f_Descrizione);
	SetLabels({{_T("PBASE_CONTO_DES_CDC_COMM"), _T("Descrizione centro/commessa")}});
	AddLink(IDC_PBASE_RIGHE, _T("Righe piano base"), RUNTIME_CLASS(Kvz_RighePianoBaseBodyEdit), pDoc->m_pDBTPianoBaseRighe);
}

void Kvz_RighePianoBaseBodyEdit::Customize()
{
	auto* pRec = static_cast<Kvz_TPianoBaseRighe*>(GetDBT()->GetRecord());
	AddColumn(IDC_PBASE_RIGHE_MESE, _T("Mese"), _T("Mese"), RUNTIME_CLASS(CIntEdit), pRec->f_Mese, 4);
	AddColumn(IDC_PBASE_RIGHE_SALDO, _T("SaldoContabile"), _T("Saldo contabile"), RUNTIME_CLASS(CMoneyEdit),
			  pRec->f_SaldoContabile, 16);
}
