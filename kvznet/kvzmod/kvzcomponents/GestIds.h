#pragma once
// Managers of the values documents must never repeat: document identifiers per archive kind
// and non-fiscal numbers per year and document type, each kept as the last value handed out
// in one row of a counter table.
#include <exception>

#include "kvznet/kvzmod/kvzdbl/Kvz_TIDDocumenti.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TNumDocumenti.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseTesta.h"
#include "platform/plvgenlib/CBaseDocument.h"
#include "platform/plvoledb/SqlTable.h"

// Reads, locks, advances and writes one counter row on the default connection, in a
// transaction context of its own. Every value is taken in one atomic step: the row is read,
// advanced (or created) and written under the database's write lock, so two workstations
// never take the same value. On SQLite, while a document transaction is open on the default
// connection the step joins it (a savepoint): the value then goes back with that transaction's
// rollback. On a server the step commits on its own: a value once taken is never given back.
class Kvz_CounterManagerObj : public CObject
{
	DECLARE_DYNAMIC(Kvz_CounterManagerObj, CObject)
public:
	Kvz_CounterManagerObj(CRuntimeClass* pClass, CBaseDocument* pDocument);
	~Kvz_CounterManagerObj() override;

	// Writes the row back through OnSetCounter (an initialised row when there is none).
	BOOL SetCounter();
	// Reads the row, optionally locks it for the owner document and optionally computes the
	// next value in memory; writes nothing.
	BOOL ReadNextCounter(BOOL bLock, BOOL bUpdate);
	void UnlockCurrent();
	void UnlockAll();

protected:
	BOOL GetNextCounter();
	// n values in one locked read-and-write of the row: the state n GetNextCounter leave.
	BOOL GetNextCounters(long n);
	BOOL SetPrevCounter();
	SqlTable* GetTable() const { return m_pTable; }
	SqlRecord* GetRecord() const { return m_pRecord; }

	virtual void Free();
	virtual void OnDefineQuery() = 0;
	virtual void OnPrepareQuery() = 0;
	virtual BOOL OnUpdateCounter() = 0;
	virtual void OnSubtractCounter() = 0;
	virtual void OnInitDefaults() {}
	virtual void OnSetCounter();

	CBaseDocument* m_pDocument;
	SqlRecord* m_pRecord = nullptr;
	SqlTable* m_pTable = nullptr;
	int m_nLockCount = 0;  // row locks taken for a form document and not yet released
	CPLVContext m_Context;

private:
	enum class Step
	{
		Next,
		Set,
		Prev,
	};
	BOOL WriteCounter(Step step, const char* method, long nSteps = 1);
	// Opens the table when it is closed (defining the query once per opening) and reads the row.
	void QueryRow(BOOL bUpdatable);
	void StartAtomicStep();
	BOOL LockRow();
	void EndOperation();
	void CloseTable();
	void ReportFailure(const std::exception& e, const char* method, BOOL bWithTitle);
};

// Unique document identifiers, one running counter per archive kind.
class Kvz_IDManager : public Kvz_CounterManagerObj
{
	DECLARE_DYNAMIC(Kvz_IDManager, Kvz_CounterManagerObj)
public:
	Kvz_IDManager(const DataEnum& aSpecieArchivio, CBaseDocument* pDocument);
	~Kvz_IDManager() override;

	// The next identifier of the kind; FALSE (and id untouched) when none could be taken.
	BOOL GetNextID(DataLng& id);
	// n consecutive identifiers in one step, the first into first; FALSE (first untouched) when
	// none could be taken. None is taken for n below 1.
	BOOL GetNextIDs(long n, DataLng& first);

protected:
	Kvz_TIDDocumenti* GetIdent() const { return static_cast<Kvz_TIDDocumenti*>(GetRecord()); }

	void OnDefineQuery() override;
	void OnPrepareQuery() override;
	BOOL OnUpdateCounter() override;
	void OnSubtractCounter() override {}  // identifiers are never given back

	DataEnum m_SpecieArchivio;
	DataLng m_UltimoID;
};

// Non-fiscal document numbers, one running counter per year and document type, written as a
// prefix and the counter zero-padded to the control length.
class Kvz_NumNonFiscManager : public Kvz_CounterManagerObj
{
	DECLARE_DYNAMIC(Kvz_NumNonFiscManager, Kvz_CounterManagerObj)
public:
	Kvz_NumNonFiscManager();
	Kvz_NumNonFiscManager(const DataEnum& aTipoDoc, CBaseDocument* pDocument);
	Kvz_NumNonFiscManager(const DataEnum& aTipoDoc, CBaseDocument* pDocument, int nCtrlLen);
	~Kvz_NumNonFiscManager() override;

	// Takes the next number of the date's year (empty date: the application date).
	BOOL OttieniProssimoNumero(const DataDate& aData, DataStr& aNumero);
	// n consecutive numbers of the date's year in one step: the counter of the first into
	// nPrimo, each number's text from Numero. FALSE (nPrimo untouched) when none could be
	// taken; none is taken for n below 1.
	BOOL OttieniProssimiNumeri(const DataDate& aData, long n, long& nPrimo);
	// The number of a counter value in a year, as OttieniProssimoNumero writes it.
	CString Numero(const DataInt& aAnno, long nContatore);
	// The number the next OttieniProssimoNumero takes if nobody takes one in between.
	BOOL LeggiProssimoNumero(const DataDate& aData, DataStr& aNumero, BOOL bLock);
	// A negative length keeps the current one.
	void SetTipoDoc(const DataEnum& aTipoDoc, int nLen);
	int GetCtrlLen() const { return m_nCtrlLen; }
	void SetCtrlLen(const int& nLen) { m_nCtrlLen = nLen; }
	int GetLenPrefisso() const { return 0; }
	Kvz_TNumDocumenti* GetNNF() const { return static_cast<Kvz_TNumDocumenti*>(GetRecord()); }

	// A derived numbering may give each year a prefix and the counter another width.
	virtual int GetLenNumero() const { return m_nCtrlLen; }
	virtual CString GetPrefix(const DataInt& aAnno);

protected:
	void OnDefineQuery() override;
	void OnPrepareQuery() override;
	BOOL OnUpdateCounter() override;
	void OnSubtractCounter() override;

	DataEnum m_TipoDoc;
	DataDate m_DataDoc;
	DataStr m_Numero;
	int m_nCtrlLen = 8;

private:
	CString ComponiPrefisso(const DataInt& aAnno) const;
};

// A new base-plan header, by hand or from the ledger: its identifier and number from the
// counters, created and last changed on the date. FALSE, with the header left as it was, when
// either value could not be taken (the managers have told why).
BOOL Kvz_NumeraNuovoPianoBase(Kvz_TPianoBaseTesta& aTesta, const DataDate& aData, Kvz_IDManager& aIdMng,
							  Kvz_NumNonFiscManager& aNumMng);

// Identifiers and numbers for the new base-plan headers of a batch that knows how many it
// makes: each counter is advanced once for all of them, then the headers take them in turn.
// A header beyond those taken (or dated in another year) takes its values one at a time.
class Kvz_NumeriPianoBase
{
public:
	Kvz_NumeriPianoBase(Kvz_IDManager& aIdMng, Kvz_NumNonFiscManager& aNumMng) : m_IdMng(aIdMng), m_NumMng(aNumMng) {}

	// Takes n identifiers and n numbers of the date's year; FALSE when they could not be taken.
	BOOL Prenota(long n, const DataDate& aData);
	// As Kvz_NumeraNuovoPianoBase, from the values taken first.
	BOOL Numera(Kvz_TPianoBaseTesta& aTesta, const DataDate& aData);
	long Rimasti() const { return m_nRimasti; }

private:
	Kvz_IDManager& m_IdMng;
	Kvz_NumNonFiscManager& m_NumMng;
	long m_nRimasti = 0;
	long m_nId = 0;
	long m_nNumero = 0;
	int m_nAnno = 0;
};
