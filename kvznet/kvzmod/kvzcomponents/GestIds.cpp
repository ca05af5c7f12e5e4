#include "kvznet/kvzmod/kvzcomponents/GestIds.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/plvgeneric/Application.h"
#include "platform/plvges/CAbstractFormDoc.h"
#include "platform/plvnamesolver/ApplicationContext.h"

namespace {
const char* const kSource = "GestIds";
}

// ---- Kvz_CounterManagerObj ---------------------------------------------------------------------

Kvz_CounterManagerObj::Kvz_CounterManagerObj(CRuntimeClass* pClass, CBaseDocument* pDocument)
	: m_pDocument(pDocument), m_Context(AfxGetDefaultSqlConnection(), nullptr)
{
	ASSERT_RELEASE_TRACE(pClass, "Kvz_CounterManagerObj::Kvz_CounterManagerObj", kSource);
	CObject* p = pClass ? pClass->CreateObject() : nullptr;
	m_pRecord = DynamicDownCast<SqlRecord>(p);
	if (!m_pRecord)
		delete p;
	m_pTable = new SqlTable(m_pRecord, m_Context.GetUpdatableSqlSession());
	// Outside a document transaction each step is committed at once.
	m_pTable->SetAutocommit(TRUE);
	m_nLockCount = 0;
}

Kvz_CounterManagerObj::~Kvz_CounterManagerObj()
{
	Free();
}

void Kvz_CounterManagerObj::Free()
{
	if (m_pTable && m_pTable->IsOpen())
		m_pTable->Close();
	delete m_pTable;
	m_pTable = nullptr;
	delete m_pRecord;
	m_pRecord = nullptr;
}

void Kvz_CounterManagerObj::OnSetCounter()
{
	ASSERT_RELEASE_FAILED("0", "Kvz_CounterManagerObj::OnSetCounter", kSource);
}

void Kvz_CounterManagerObj::UnlockCurrent()
{
	if (m_pTable)
		m_pTable->UnlockCurrent();
}

void Kvz_CounterManagerObj::UnlockAll()
{
	if (m_pTable)
		m_pTable->UnlockAll();
}

void Kvz_CounterManagerObj::CloseTable()
{
	if (m_pTable && m_pTable->IsOpen())
		m_pTable->Close();
}

void Kvz_CounterManagerObj::QueryRow(BOOL bUpdatable)
{
	if (!m_pTable || !m_pRecord)
		throw SqlException("Tabella dei contatori senza record.");
	// A cursor a plain read left open (while a form's lock is counted) cannot write: it is
	// opened again for writing. Only an updatable cursor holds row locks, so none is lost.
	if (m_pTable->IsOpen() && bUpdatable && !m_pTable->IsUpdatable())
		m_pTable->Close();
	if (!m_pTable->IsOpen())
	{
		m_pTable->Open(bUpdatable, FALSE, TRUE);
		OnDefineQuery();
	}
	OnPrepareQuery();
	m_pTable->Query();
}

// The transaction takes the database's write lock before the row is read (on SQLite a
// BEGIN IMMEDIATE, or a savepoint of the transaction already open on the connection; on a
// server the counter table's write lock, in the manager's own transaction), so the row read is
// the one written and a missing row is created by exactly one taker.
void Kvz_CounterManagerObj::StartAtomicStep()
{
	if (m_Context.StartTransaction())
	{
		m_Context.KeepOutOtherWriters(m_pRecord->GetTableName());
		return;
	}
	SqlConnection* pConnection = m_Context.GetSqlConnection();
	if (!pConnection || !pConnection->IsValid())
		throw SqlException("Nessuna connessione al database.");
	throw SqlException(AfxLoadSourceString(_T("Il database e' bloccato da un altro utente."), kSource), 0, TRUE);
}

BOOL Kvz_CounterManagerObj::LockRow()
{
	// Another user's session on the server holds the row only while it takes its value: it is
	// waited for, briefly, as SQLite's write lock would make it wait.
	SqlConnection* pConnection = m_Context.GetSqlConnection();
	const bool bServer = pConnection && pConnection->IsServer();
	const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
	while (!m_pTable->LockCurrent(TRUE, nullptr))
	{
		if (!bServer || std::chrono::steady_clock::now() >= limit)
			return FALSE;
		std::this_thread::sleep_for(std::chrono::milliseconds(10));
	}
	// Only a form document releases its locks through a later operation of the manager.
	if (m_pDocument && m_pDocument->IsKindOf(CAbstractFormDoc::GetThisClass()))
		++m_nLockCount;
	return TRUE;
}

void Kvz_CounterManagerObj::EndOperation()
{
	if (m_nLockCount > 0)
		--m_nLockCount;
	if (m_nLockCount == 0)
		CloseTable();
}

void Kvz_CounterManagerObj::ReportFailure(const std::exception& e, const char* method, BOOL bWithTitle)
{
	if (!dynamic_cast<const SqlException*>(&e))
		ASSERT_RELEASE_FAILED("e->IsKindOf((SqlException::GetThisClass()))", method, kSource);
	if (!m_pDocument || !m_pDocument->IsKindOf(CAbstractFormDoc::GetThisClass()))
		return;
	CMessages* pMessages = m_pDocument->GetMessages();
	if (bWithTitle)
		pMessages->Add(AfxLoadSourceString(_T("Errore aggiornando gli identificatori univoci di documento"), kSource),
					   CMessages::MSG_ERROR, nullptr, 0);
	pMessages->Add(CString(e.what()), CMessages::MSG_ERROR, nullptr, 0);
}

BOOL Kvz_CounterManagerObj::WriteCounter(Step step, const char* method, long nSteps)
{
	try
	{
		StartAtomicStep();
		QueryRow(TRUE);
		if (step == Step::Prev)
		{
			if (!m_pTable->IsEmpty())
			{
				if (!LockRow())
				{
					m_Context.Rollback();
					CloseTable();
					return FALSE;
				}
				m_pTable->Edit();
				OnSubtractCounter();
				m_pTable->Update(nullptr, FALSE);
			}
		}
		else
		{
			if (m_pTable->IsEmpty())
			{
				m_pTable->AddNew(TRUE);
				OnInitDefaults();
			}
			else
				m_pTable->Edit();
			if (step == Step::Next)
				for (long i = 0; i < nSteps; ++i)
					OnUpdateCounter();
			else
				OnSetCounter();
			m_pTable->Update(nullptr, FALSE);
		}
		m_Context.Commit();
		m_pTable->UnlockCurrent();
	}
	catch (const std::exception& e)
	{
		m_Context.Rollback();
		ReportFailure(e, method, TRUE);
		CloseTable();
		return FALSE;
	}
	EndOperation();
	return TRUE;
}

BOOL Kvz_CounterManagerObj::GetNextCounter()
{
	return WriteCounter(Step::Next, "Kvz_CounterManagerObj::GetNextCounter");
}

BOOL Kvz_CounterManagerObj::GetNextCounters(long n)
{
	return WriteCounter(Step::Next, "Kvz_CounterManagerObj::GetNextCounter", n);
}

BOOL Kvz_CounterManagerObj::SetCounter()
{
	return WriteCounter(Step::Set, "Kvz_CounterManagerObj::SetCounter");
}

// Gives the last value back only when the row, read under the write lock, still holds it.
BOOL Kvz_CounterManagerObj::SetPrevCounter()
{
	return WriteCounter(Step::Prev, "Kvz_CounterManagerObj::SetPrevCounter");
}

BOOL Kvz_CounterManagerObj::ReadNextCounter(BOOL bLock, BOOL bUpdate)
{
	if (bLock && !m_pDocument)
	{
		ASSERT_RELEASE_FAILED("0", "Kvz_CounterManagerObj::ReadNextCounter", kSource);
		return FALSE;
	}
	try
	{
		QueryRow(bLock);
		if (m_pTable->IsEmpty())
		{
			m_pRecord->Init();
			OnInitDefaults();
		}
		else if (bLock && !LockRow())
		{
			CloseTable();
			return FALSE;
		}
		if (bUpdate)
			OnUpdateCounter();
	}
	catch (const std::exception& e)
	{
		ReportFailure(e, "Kvz_CounterManagerObj::ReadNextCounter", FALSE);
		CloseTable();
		return FALSE;
	}
	if (m_nLockCount == 0)
		CloseTable();
	return TRUE;
}

// ---- Kvz_IDManager -----------------------------------------------------------------------------

Kvz_IDManager::Kvz_IDManager(const DataEnum& aSpecieArchivio, CBaseDocument* pDocument)
	: Kvz_CounterManagerObj(Kvz_TIDDocumenti::GetThisClass(), pDocument)
{
	ASSERT_RELEASE_TRACE(aSpecieArchivio.GetTagValue() == E_KVZ_SPECIEARCHIVIO, "Kvz_IDManager::Kvz_IDManager",
						 kSource);
	m_SpecieArchivio = aSpecieArchivio;
}

Kvz_IDManager::~Kvz_IDManager() = default;

BOOL Kvz_IDManager::GetNextID(DataLng& id)
{
	if (!ReadNextCounter(TRUE, TRUE) || !GetNextCounter())
		return FALSE;
	id = m_UltimoID;
	return TRUE;
}

BOOL Kvz_IDManager::GetNextIDs(long n, DataLng& first)
{
	if (n < 1)
		return TRUE;
	if (!ReadNextCounter(TRUE, TRUE) || !GetNextCounters(n))
		return FALSE;
	first = static_cast<long>(m_UltimoID) - (n - 1);
	return TRUE;
}

void Kvz_IDManager::OnDefineQuery()
{
	Kvz_TIDDocumenti* pRec = GetIdent();
	GetTable()->SelectAll();
	GetTable()->AddParam("p1", pRec->f_SpecieArchivio, 1);
	GetTable()->AddFilterColumn(pRec->f_SpecieArchivio, "");
}

void Kvz_IDManager::OnPrepareQuery()
{
	GetTable()->SetParamValue("p1", m_SpecieArchivio);
}

BOOL Kvz_IDManager::OnUpdateCounter()
{
	Kvz_TIDDocumenti* pRec = GetIdent();
	pRec->f_SpecieArchivio = m_SpecieArchivio;
	pRec->f_UltimoID = pRec->f_UltimoID + 1;
	m_UltimoID = pRec->f_UltimoID;
	return TRUE;
}

// ---- Kvz_NumNonFiscManager ---------------------------------------------------------------------

Kvz_NumNonFiscManager::Kvz_NumNonFiscManager()
	: Kvz_CounterManagerObj(Kvz_TNumDocumenti::GetThisClass(), nullptr), m_TipoDoc(E_KVZ_TIPODOCUMENTO, 0)
{
}

Kvz_NumNonFiscManager::Kvz_NumNonFiscManager(const DataEnum& aTipoDoc, CBaseDocument* pDocument)
	: Kvz_NumNonFiscManager(aTipoDoc, pDocument, 8)
{
}

Kvz_NumNonFiscManager::Kvz_NumNonFiscManager(const DataEnum& aTipoDoc, CBaseDocument* pDocument, int nCtrlLen)
	: Kvz_CounterManagerObj(Kvz_TNumDocumenti::GetThisClass(), pDocument), m_nCtrlLen(nCtrlLen)
{
	ASSERT_RELEASE_TRACE(aTipoDoc.GetTagValue() == E_KVZ_TIPODOCUMENTO, "Kvz_NumNonFiscManager::Kvz_NumNonFiscManager",
						 kSource);
	m_TipoDoc = aTipoDoc;
}

Kvz_NumNonFiscManager::~Kvz_NumNonFiscManager() = default;

BOOL Kvz_NumNonFiscManager::OttieniProssimoNumero(const DataDate& aData, DataStr& aNumero)
{
	m_DataDoc = aData;
	if (!GetNextCounter())
		return FALSE;
	aNumero = m_Numero;
	return TRUE;
}

BOOL Kvz_NumNonFiscManager::OttieniProssimiNumeri(const DataDate& aData, long n, long& nPrimo)
{
	if (n < 1)
		return TRUE;
	m_DataDoc = aData;
	if (!GetNextCounters(n))
		return FALSE;
	nPrimo = static_cast<long>(GetNNF()->f_UltNrDoc) - (n - 1);
	return TRUE;
}

CString Kvz_NumNonFiscManager::Numero(const DataInt& aAnno, long nContatore)
{
	// Padded to the width, never cut.
	return GetPrefix(aAnno) + CString::Formatted("%0*ld", GetLenNumero(), nContatore);
}

BOOL Kvz_NumNonFiscManager::LeggiProssimoNumero(const DataDate& aData, DataStr& aNumero, BOOL bLock)
{
	m_DataDoc = aData;
	if (!ReadNextCounter(bLock, TRUE))
		return FALSE;
	aNumero = m_Numero;
	return TRUE;
}

void Kvz_NumNonFiscManager::SetTipoDoc(const DataEnum& aTipoDoc, int nLen)
{
	m_TipoDoc = aTipoDoc;
	if (nLen >= 0)
		m_nCtrlLen = nLen;
	ReadNextCounter(FALSE, FALSE);
}

CString Kvz_NumNonFiscManager::GetPrefix(const DataInt& aAnno)
{
	return ComponiPrefisso(aAnno);
}

CString Kvz_NumNonFiscManager::ComponiPrefisso(const DataInt&) const
{
	return CString();
}

void Kvz_NumNonFiscManager::OnDefineQuery()
{
	Kvz_TNumDocumenti* pRec = GetNNF();
	GetTable()->SelectAll();
	GetTable()->AddParam("p2", pRec->f_Anno, 1);
	GetTable()->AddParam("p3", pRec->f_TipoDoc, 1);
	GetTable()->AddFilterColumn(pRec->f_Anno, "");
	GetTable()->AddFilterColumn(pRec->f_TipoDoc, "");
}

void Kvz_NumNonFiscManager::OnPrepareQuery()
{
	if (m_DataDoc.IsEmpty())
		m_DataDoc = AfxGetApplicationDate();
	GetTable()->SetParamValue("p2", DataInt(m_DataDoc.Year()));
	GetTable()->SetParamValue("p3", m_TipoDoc);
}

BOOL Kvz_NumNonFiscManager::OnUpdateCounter()
{
	Kvz_TNumDocumenti* pRec = GetNNF();
	pRec->f_TipoDoc = m_TipoDoc;
	pRec->f_Anno = m_DataDoc.Year();
	pRec->f_DataUltDoc = m_DataDoc;
	pRec->f_UltNrDoc = pRec->f_UltNrDoc + 1;
	m_Numero = Numero(pRec->f_Anno, long(pRec->f_UltNrDoc));
	return TRUE;
}

void Kvz_NumNonFiscManager::OnSubtractCounter()
{
	Kvz_TNumDocumenti* pRec = GetNNF();
	long last = std::strtol(m_Numero.GetString().GetString(), nullptr, 10);
	if (last == long(pRec->f_UltNrDoc))
		pRec->f_UltNrDoc = last - 1;
}

BOOL Kvz_NumeraNuovoPianoBase(Kvz_TPianoBaseTesta& aTesta, const DataDate& aData, Kvz_IDManager& aIdMng,
							  Kvz_NumNonFiscManager& aNumMng)
{
	DataLng id;
	DataStr numero;
	if (!aIdMng.GetNextID(id) || !aNumMng.OttieniProssimoNumero(aData, numero))
		return FALSE;
	aTesta.f_IDPianoBase = id;
	aTesta.f_CodPianoBase = numero;
	aTesta.f_DataCreazione = aData;
	aTesta.f_DataUltModifica = aData;
	return TRUE;
}

BOOL Kvz_NumeriPianoBase::Prenota(long n, const DataDate& aData)
{
	m_nRimasti = 0;
	if (n < 1)
		return TRUE;
	DataLng id;
	long nNumero = 0;
	if (!m_IdMng.GetNextIDs(n, id) || !m_NumMng.OttieniProssimiNumeri(aData, n, nNumero))
		return FALSE;
	m_nId = static_cast<long>(id);
	m_nNumero = nNumero;
	m_nAnno = aData.IsEmpty() ? AfxGetApplicationDate().Year() : aData.Year();
	m_nRimasti = n;
	return TRUE;
}

BOOL Kvz_NumeriPianoBase::Numera(Kvz_TPianoBaseTesta& aTesta, const DataDate& aData)
{
	const int nAnno = aData.IsEmpty() ? AfxGetApplicationDate().Year() : aData.Year();
	if (m_nRimasti <= 0 || nAnno != m_nAnno)
		return Kvz_NumeraNuovoPianoBase(aTesta, aData, m_IdMng, m_NumMng);
	aTesta.f_IDPianoBase = m_nId++;
	aTesta.f_CodPianoBase = m_NumMng.Numero(DataInt(m_nAnno), m_nNumero++);
	aTesta.f_DataCreazione = aData;
	aTesta.f_DataUltModifica = aData;
	--m_nRimasti;
	return TRUE;
}
