#pragma once
// Small documents of the form tests: orders with their rows (a master document with a grid,
// a customer lookup, a tab and a discount dialog), a detail child document, a client
// document, and a batch that writes a log.
#include <gtest/gtest.h>

#include "platform/plvgeneric/Interaction.h"
#include "platform/plvges/ADMObj.h"
#include "platform/plvges/CClientDoc.h"
#include "platform/plvges/FormDriver.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/driver/Driver.h"
#include "platform/plvoledb/tests/TestRecords.h"

namespace formtest {

enum : UINT
{
	IDC_NUMERO = 1000,
	IDC_CLIENTE,
	IDC_DES_CLIENTE,
	IDC_DESCRIZIONE,
	IDC_STATO,
	IDC_URGENTE,
	IDC_TOTALE,
	IDC_RIGHE,
	IDC_RIGHE_ARTICOLO,
	IDC_RIGHE_QUANTITA,
	IDC_RIGHE_PREZZO,
	IDC_RICALCOLA,
	IDC_DETTAGLIO,
	IDC_SCONTO,
	IDC_SCHEDE,
	IDC_NOTA,
	IDC_DIALOG_PERC,
	IDC_CHILD_NOTA,
	IDC_CHILD_OK,
	IDC_ELEMENTI,
	IDC_SCRIVI,
	IDC_MODO_A,
	IDC_MODO_B,
	IDC_ESITO,
	ID_AZZERA,
};

class TClienti : public SqlRecord
{
	DECLARE_DYNCREATE(TClienti, SqlRecord)
public:
	DataStr f_Codice;
	DataStr f_Descrizione;
	DataBool f_Bloccato;
	TClienti() : SqlRecord("T_Clienti")
	{
		f_Codice.SetUpperCase();
		RecordBinder b(*this);
		b.Key("Codice", f_Codice).Col("Descrizione", f_Descrizione).Col("Bloccato", f_Bloccato).End();
	}
};

class TOrdini : public SqlRecord
{
	DECLARE_DYNCREATE(TOrdini, SqlRecord)
public:
	DataStr f_Numero;
	DataStr f_Cliente;
	DataStr f_Descrizione;
	DataEnum f_Stato{500, 0};
	DataBool f_Urgente;
	DataMon f_Totale;
	TOrdini() : SqlRecord("T_Ordini")
	{
		f_Numero.SetUpperCase();
		f_Cliente.SetUpperCase();
		RecordBinder b(*this);
		b.Key("Numero", f_Numero).Col("Cliente", f_Cliente).Col("Descrizione", f_Descrizione);
		b.Col("Stato", f_Stato).Col("Urgente", f_Urgente).Col("Totale", f_Totale).End();
	}
};

class TOrdiniRighe : public SqlRecord
{
	DECLARE_DYNCREATE(TOrdiniRighe, SqlRecord)
public:
	DataStr f_Numero;
	DataStr f_Articolo;
	DataQty f_Quantita;
	DataMon f_Prezzo;
	DataStr l_Desc;
	TOrdiniRighe() : SqlRecord("T_OrdiniRighe")
	{
		f_Numero.SetUpperCase();
		f_Articolo.SetUpperCase();
		RecordBinder b(*this);
		b.Key("Numero", f_Numero).Key("Articolo", f_Articolo).Col("Quantita", f_Quantita).Col("Prezzo", f_Prezzo);
		BIND_LOCAL_STR(b, "Desc", l_Desc, 20);
		b.End();
	}
};

// One note per order, kept by the client document.
class TOrdiniNote : public SqlRecord
{
	DECLARE_DYNCREATE(TOrdiniNote, SqlRecord)
public:
	DataStr f_Numero;
	DataStr f_Nota;
	TOrdiniNote() : SqlRecord("T_OrdiniNote")
	{
		f_Numero.SetUpperCase();
		RecordBinder b(*this);
		b.Key("Numero", f_Numero).Col("Nota", f_Nota).End();
	}
};

class TLog : public SqlRecord
{
	DECLARE_DYNCREATE(TLog, SqlRecord)
public:
	DataLng f_Id;
	DataStr f_Testo;
	TLog() : SqlRecord("T_Log")
	{
		RecordBinder b(*this);
		b.Key("Id", f_Id).Col("Testo", f_Testo).End();
	}
};

// ---- lookup ------------------------------------------------------------------------------------

// Customers: a blocked customer exists but is refused.
class HKLClienti : public HotKeyLink
{
	DECLARE_DYNCREATE(HKLClienti, HotKeyLink)
public:
	HKLClienti() : HotKeyLink(RUNTIME_CLASS(TClienti), "Test.Ordini.Documents.DClienti") { MustExistData(TRUE); }
	TClienti* GetRecord() const { return static_cast<TClienti*>(HotKeyLink::GetRecord()); }
	DataObj* GetDataObj() const override { return &GetRecord()->f_Codice; }
	BOOL IsValid() override
	{
		if (!HotKeyLink::IsValid())
			return FALSE;
		if (GetRecord()->f_Bloccato)
			return SetErrorString("Cliente bloccato.");
		return TRUE;
	}

protected:
	void OnDefineQuery(int nSelectionType) override
	{
		DataStr& column = nSelectionType == LOWER_BUTTON ? GetRecord()->f_Descrizione : GetRecord()->f_Codice;
		m_pTable->SelectAll();
		m_pTable->AddParam("p1", column);
		if (nSelectionType == DIRECT_ACCESS)
			m_pTable->AddFilterColumn(column);
		else
			m_pTable->AddFilterLike(column);
		m_pTable->AddSortColumn(column);
	}
	void OnPrepareQuery(DataObj* pValue, int nSelectionType) override
	{
		if (nSelectionType == DIRECT_ACCESS)
			m_pTable->SetParamValue("p1", *pValue);
		else
			m_pTable->SetParamLike("p1", *pValue);
	}
};

// ---- buffers -----------------------------------------------------------------------------------

class DBTOrdini : public DBTMaster
{
	DECLARE_DYNAMIC(DBTOrdini, DBTMaster)
public:
	explicit DBTOrdini(CAbstractFormDoc* pDoc) : DBTMaster(RUNTIME_CLASS(TOrdini), pDoc, "DBTOrdini") {}
	TOrdini* GetOrdine() const { return static_cast<TOrdini*>(GetRecord()); }

protected:
	void OnDefineQuery() override
	{
		m_pTable->SelectAll();
		m_pTable->AddParam("p1", GetOrdine()->f_Numero);
		m_pTable->AddFilterColumn(GetOrdine()->f_Numero);
	}
	void OnPrepareQuery() override { m_pTable->SetParamValue("p1", GetOrdine()->f_Numero); }
	BOOL OnCheckPrimaryKey() override
	{
		return !(GetOrdine()->f_Numero.IsEmpty() && SetError(szEmptyPrimaryKeySegment));
	}
	void OnEnableControlsForFind() override
	{
		GetOrdine()->f_Numero.SetFindable(TRUE);
		GetOrdine()->f_Descrizione.SetFindable(TRUE);
		GetOrdine()->f_Stato.SetFindable(TRUE);
	}
	void OnDisableControlsForEdit() override { GetOrdine()->f_Numero.SetReadOnly(TRUE); }
};

class DBTRighe : public DBTSlaveBuffered
{
	DECLARE_DYNAMIC(DBTRighe, DBTSlaveBuffered)
public:
	explicit DBTRighe(CAbstractFormDoc* pDoc) : DBTSlaveBuffered(RUNTIME_CLASS(TOrdiniRighe), pDoc, "DBTRighe", TRUE, TRUE)
	{
		SetPreloadStep(-1);
	}
	TOrdiniRighe* Riga(int i) const { return static_cast<TOrdiniRighe*>(GetRow(i)); }
	TOrdini* Master() const { return static_cast<TOrdini*>(GetMaster()->GetRecord()); }

	bool m_bCheckDuplicates = true;
	bool m_bKeepRows = false;
	int m_nDeleted = -1;

protected:
	void OnDefineQuery() override
	{
		auto* pRec = static_cast<TOrdiniRighe*>(GetRecord());
		m_pTable->SelectAll();
		m_pTable->AddParam("p1", pRec->f_Numero);
		m_pTable->AddFilterColumn(pRec->f_Numero);
		m_pTable->AddSortColumn(pRec->f_Articolo);
	}
	void OnPrepareQuery() override { m_pTable->SetParamValue("p1", Master()->f_Numero); }
	void OnPreparePrimaryKey(int, SqlRecord* pRec) override
	{
		static_cast<TOrdiniRighe*>(pRec)->f_Numero = Master()->f_Numero;
	}
	BOOL OnCheckPrimaryKey(int, SqlRecord* pRec) override
	{
		auto* pRiga = static_cast<TOrdiniRighe*>(pRec);
		return !(pRiga->f_Numero.IsEmpty() && SetError(szEmptyForeignKeySegment)) &&
			   !(pRiga->f_Articolo.IsEmpty() && SetError(szEmptyPrimaryKeySegment));
	}
	void OnPrepareRow(int, SqlRecord* pRec) override { static_cast<TOrdiniRighe*>(pRec)->f_Quantita = 1; }
	void OnPrepareAuxColumns(SqlRecord* pRec) override
	{
		auto* pRiga = static_cast<TOrdiniRighe*>(pRec);
		pRiga->l_Desc = "Articolo " + pRiga->f_Articolo.GetString();
	}
	BOOL OnBeforeDeleteRow(int) override { return !m_bKeepRows; }
	void OnAfterDeleteRow(int nRow) override { m_nDeleted = nRow; }
	DataObj* GetDuplicateKeyPos(SqlRecord* pRec) override
	{
		return m_bCheckDuplicates ? &static_cast<TOrdiniRighe*>(pRec)->f_Articolo : nullptr;
	}
};

class DBTNote : public DBTSlave
{
	DECLARE_DYNAMIC(DBTNote, DBTSlave)
public:
	explicit DBTNote(CAbstractFormDoc* pDoc) : DBTSlave(RUNTIME_CLASS(TOrdiniNote), pDoc, "DBTNote") {}
	TOrdiniNote* GetNota() const { return static_cast<TOrdiniNote*>(GetRecord()); }

protected:
	void OnDefineQuery() override
	{
		m_pTable->SelectAll();
		m_pTable->AddParam("p1", GetNota()->f_Numero);
		m_pTable->AddFilterColumn(GetNota()->f_Numero);
	}
	void OnPrepareQuery() override
	{
		m_pTable->SetParamValue("p1", static_cast<TOrdini*>(GetMaster()->GetRecord())->f_Numero);
	}
	void OnPreparePrimaryKey() override
	{
		GetNota()->f_Numero = static_cast<TOrdini*>(GetMaster()->GetRecord())->f_Numero;
	}
};

// ---- the orders document -----------------------------------------------------------------------

// The automation interface the orders document offers.
class TADMOrdini : public ADMObj
{
public:
	static LPCTSTR admTADMOrdini;
	const LPCTSTR* GetADMClass() const override { return &admTADMOrdini; }
};
inline LPCTSTR TADMOrdini::admTADMOrdini = "TADMOrdini";

class TOrdiniDoc : public CAbstractFormDoc, public TADMOrdini
{
	DECLARE_DYNCREATE(TOrdiniDoc, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	TOrdini* GetOrdine() const { return static_cast<DBTOrdini*>(GetMaster())->GetOrdine(); }

	DBTRighe* m_pRighe = nullptr;
	HKLClienti* m_pHKLClienti = nullptr;
	DataStr m_DesCliente;
	DataPerc m_Sconto;

	// What the test asks of the hooks, and what they saw.
	bool m_bRefuseSave = false;
	bool m_bLogInSave = false;
	bool m_bCanDelete = true;
	int m_nOkTransaction = 0;
	bool m_bOkInTransaction = false;
	int m_nPrepareAux = 0;
	int m_nBrowseMode = 0;
	std::vector<CString> m_Changes;  // handlers run, in order

	CString m_strOldCliente;
	static inline CDocumentSet* s_pDocuments = nullptr;  // where children open
	static inline bool s_bBrowseOnCreate = false;
	static inline bool s_bOnlyOneRecord = false;

protected:
	BOOL OnAttachData() override
	{
		SetFormTitle("Ordini");
		SetBrowseOnCreate(s_bBrowseOnCreate);
		SetOnlyOneRecord(s_bOnlyOneRecord);
		m_pHKLClienti = new HKLClienti;
		Attach(m_pHKLClienti);
		auto* pMaster = new DBTOrdini(this);
		m_pRighe = new DBTRighe(this);
		pMaster->Attach(m_pRighe);
		return Attach(pMaster);
	}
	BOOL OnPrepareAuxData() override
	{
		++m_nPrepareAux;
		if (GetFormMode() == NEW)
			GetOrdine()->f_Stato = DataEnum(500, 1);
		m_DesCliente = m_pHKLClienti->FindRecord(&GetOrdine()->f_Cliente) ? m_pHKLClienti->GetRecord()->f_Descrizione
																		   : DataStr();
		return TRUE;
	}
	BOOL OnOkTransaction() override
	{
		++m_nOkTransaction;
		m_bOkInTransaction = GetSqlConnection()->IsInTransaction();
		if (m_bLogInSave)
			GetSqlConnection()->ExecuteSQL("INSERT INTO T_Log (Id, Testo) VALUES (1, 'salvataggio')");
		return !m_bRefuseSave;
	}
	void OnGoInBrowseMode() override { ++m_nBrowseMode; }
	BOOL CanDoDeleteRecord() override { return m_bCanDelete; }

	void OnClienteChanged()
	{
		m_Changes.push_back("Cliente");
		m_strOldCliente = AfxGetOldCtrlData()->FormatData();
		m_DesCliente = m_pHKLClienti->GetRecord()->f_Descrizione;
	}
	// An urgent order keeps its description.
	void OnUrgenteChanged()
	{
		m_Changes.push_back("Urgente");
		GetOrdine()->f_Descrizione.SetReadOnly(GetOrdine()->f_Urgente);
	}
	void OnRigheRowChanged() { m_Changes.push_back(CString::Formatted("Riga %d", m_pRighe->GetCurrentRowIdx())); }
	void OnQuantitaChanged() { m_Changes.push_back("Quantita"); }
	void OnRicalcola()
	{
		double total = 0;
		for (int i = 0; i < m_pRighe->GetSize(); ++i)
			total += m_pRighe->Riga(i)->f_Quantita * m_pRighe->Riga(i)->f_Prezzo;
		GetOrdine()->f_Totale = total;
		UpdateDataView();
	}
	void OnDettaglio();
	void OnSconto();
	void OnAzzera()
	{
		m_Changes.push_back("Azzera");
		m_pRighe->RemoveAll();
		SetModifiedFlag();
	}
};

// The orders form: a tab manager "Schede" with a page "Generale"; a client may add pages.
class TGeneraleTab : public CTabDialog
{
	DECLARE_DYNCREATE(TGeneraleTab, CTabDialog)
public:
	TGeneraleTab() : CTabDialog("GeneraleTab") {}
	void BuildDataControlLinks() override
	{
		auto* pDoc = static_cast<TOrdiniDoc*>(GetDocument());
		AddLink(IDC_URGENTE, "Urgente", RUNTIME_CLASS(CBoolButton), &pDoc->GetOrdine()->f_Urgente);
	}
};

class TRigheBody : public CBodyEdit
{
	DECLARE_DYNCREATE(TRigheBody, CBodyEdit)
public:
	void Customize() override
	{
		auto* pRec = static_cast<TOrdiniRighe*>(GetDBT()->GetRecord());
		AddColumn(IDC_RIGHE_ARTICOLO, "Articolo", "Articolo", RUNTIME_CLASS(CStrEdit), pRec->f_Articolo, 10);
		AddColumn(IDC_RIGHE_QUANTITA, "Quantita", "Quantità", RUNTIME_CLASS(CQuantityEdit), pRec->f_Quantita, 8);
		AddColumn(IDC_RIGHE_PREZZO, "Prezzo", "Prezzo", RUNTIME_CLASS(CMoneyEdit), pRec->f_Prezzo, 10);
		AddColumn(0, "Desc", "Descrizione", RUNTIME_CLASS(CStrStatic), pRec->l_Desc, 20);
		AddUserButton(ID_AZZERA, "Azzera");
	}
};

class TOrdiniView : public CMasterFormView
{
	DECLARE_DYNCREATE(TOrdiniView, CMasterFormView)
public:
	TOrdiniView() : CMasterFormView("TOrdiniView") {}
	void BuildDataControlLinks() override
	{
		auto* pDoc = static_cast<TOrdiniDoc*>(GetDocument());
		TOrdini* pRec = pDoc->GetOrdine();
		AddLink(IDC_NUMERO, "Numero", RUNTIME_CLASS(CStrEdit), &pRec->f_Numero);
		AddLink(IDC_CLIENTE, "Cliente", RUNTIME_CLASS(CStrEdit), &pRec->f_Cliente, pDoc->m_pHKLClienti);
		AddLink(IDC_DES_CLIENTE, "LINK_DES_CLIENTE", RUNTIME_CLASS(CStrStatic), &pDoc->m_DesCliente);
		AddLink(IDC_DESCRIZIONE, "Descrizione ordine", RUNTIME_CLASS(CStrEdit), &pRec->f_Descrizione);
		AddLink(IDC_STATO, "Stato", RUNTIME_CLASS(CEnumCombo), &pRec->f_Stato);
		AddLink(IDC_TOTALE, "Totale", RUNTIME_CLASS(CMoneyStatic), &pRec->f_Totale);
		AddButton(IDC_RICALCOLA, "Ricalcola");
		AddButton(IDC_DETTAGLIO, "Dettaglio");
		AddButton(IDC_SCONTO, "Sconto");
		AddTabManager(IDC_SCHEDE, "Schede")->AddDialog(RUNTIME_CLASS(TGeneraleTab), 0, "Generale");
		AddLink(IDC_RIGHE, "Righe", RUNTIME_CLASS(TRigheBody), pDoc->m_pRighe);
	}
};

// ---- a modal dialog ------------------------------------------------------------------------------

class TScontoDlg : public CParsedDialog
{
public:
	explicit TScontoDlg(CBaseDocument* pDoc) : CParsedDialog(0, pDoc, "Sconto") {}
	DataPerc m_Perc;
	BOOL OnInitDialog() override
	{
		m_Perc = 5;
		return CParsedDialog::OnInitDialog();
	}
	void BuildDataControlLinks() override { AddLink(IDC_DIALOG_PERC, "Percentuale", RUNTIME_CLASS(CPercEdit), &m_Perc); }
	// A discount above half is refused: the dialog stays open.
	void OnOK() override
	{
		if (m_Perc > 50)
			AfxMessageBox("Sconto troppo alto.");
		else
			CParsedDialog::OnOK();
	}
};

inline void TOrdiniDoc::OnSconto()
{
	TScontoDlg dlg(this);
	if (dlg.DoModal() == IDOK)
		m_Sconto = dlg.m_Perc;
}

// ---- a child document ----------------------------------------------------------------------------

// Opened by an orders document only; its caller's frame stays disabled while it is open. Its
// OK button writes the note into the caller's description and closes it.
class TDettaglioDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(TDettaglioDoc, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	DataStr m_Nota;
	TOrdiniDoc* m_pCaller = nullptr;

	BOOL OnOpenDocument(const DocInvocationInfo* pInfo) override
	{
		m_pCaller = pInfo ? DynamicDownCast<TOrdiniDoc>(pInfo->m_pCallerDocument) : nullptr;
		if (!m_pCaller)
			return FALSE;
		m_Nota = m_pCaller->GetOrdine()->f_Descrizione;
		m_pCaller->GetMasterFrame()->EnableWindow(FALSE);
		return CAbstractFormDoc::OnOpenDocument(pInfo);
	}
	void OnCloseDocument() override
	{
		m_pCaller->GetMasterFrame()->EnableWindow(TRUE);
		m_pCaller->UpdateDataView();
		m_pCaller->Activate(nullptr, FALSE);
		CAbstractFormDoc::OnCloseDocument();
	}

protected:
	void OnOK()
	{
		m_pCaller->GetOrdine()->f_Descrizione = m_Nota;
		m_pCaller->SetModifiedFlag();
		CloseDocument(TRUE);
	}
};

class TDettaglioView : public CMasterFormView
{
	DECLARE_DYNCREATE(TDettaglioView, CMasterFormView)
public:
	void BuildDataControlLinks() override
	{
		auto* pDoc = static_cast<TDettaglioDoc*>(GetDocument());
		AddLink(IDC_CHILD_NOTA, "Nota", RUNTIME_CLASS(CStrEdit), &pDoc->m_Nota);
		AddButton(IDC_CHILD_OK, "OK");
	}
};

inline void TOrdiniDoc::OnDettaglio()
{
	s_pDocuments->Open(RUNTIME_CLASS(TDettaglioDoc), RUNTIME_CLASS(CBatchFrame), RUNTIME_CLASS(TDettaglioView),
					   CPLVNamespace("Test.Ordini.Documents.BDDettaglio"), this);
}

// ---- a client document ---------------------------------------------------------------------------

class TNoteTab : public CTabDialog
{
	DECLARE_DYNCREATE(TNoteTab, CTabDialog)
public:
	TNoteTab() : CTabDialog("NoteTab") {}
	DBTNote* m_pDBT = nullptr;
	void BuildDataControlLinks() override;
};

class TNoteClientDoc : public CClientDoc
{
	DECLARE_DYNAMIC(TNoteClientDoc, CClientDoc)
	DECLARE_MESSAGE_MAP()
public:
	DBTNote* m_pDBT = nullptr;
	bool m_bRefuseSave = false;
	int m_nClienteChanged = 0;
	int m_nPrepared = 0;

	BOOL OnAttachData() override
	{
		m_pDBT = new DBTNote(GetServerDoc());
		return AttachDBTSlave(m_pDBT);
	}
	BOOL OnPrepareAuxData() override
	{
		++m_nPrepared;
		return TRUE;
	}
	BOOL OnOkTransaction() override
	{
		if (m_bRefuseSave)
			AfxMessageBox("Nota obbligatoria.");
		return !m_bRefuseSave;
	}
	void Customize() override { AddTabDialog("Schede", RUNTIME_CLASS(TNoteTab), 0, "Note"); }

protected:
	void OnClienteChanged() { ++m_nClienteChanged; }
};

inline void TNoteTab::BuildDataControlLinks()
{
	auto* pDoc = static_cast<CAbstractFormDoc*>(GetDocument());
	TNoteClientDoc* pClient = static_cast<TNoteClientDoc*>(pDoc->GetClientDocs()->GetAt(0));
	AddLink(IDC_NOTA, "Nota", RUNTIME_CLASS(CStrEdit), &pClient->m_pDBT->GetNota()->f_Nota);
}

// ---- a batch document ----------------------------------------------------------------------------

// Writes one log row per element, polling for the user's abort before each.
class TLogBatchDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(TLogBatchDoc, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	DataInt m_Elementi{5};
	DataBool m_Scrivi{TRUE};
	DataBool m_ModoA{TRUE};
	DataBool m_ModoB;
	// The outcome, one row per element written: a buffer of the document's own.
	std::unique_ptr<DBTSlaveBuffered> m_pEsito{new DBTSlaveBuffered(RUNTIME_CLASS(TLog), this, "DBTEsito")};
	int m_nWritten = 0;
	int m_nDisabled = 0;
	bool m_bLeaveOpen = false;  // ends without committing
	bool m_bEditableWhileRunning = true;
	std::vector<CString> m_Changes;

protected:
	void OnBatchExecute() override
	{
		m_bEditableWhileRunning = IsDataEditable(&m_Elementi);
		m_nWritten = 0;
		m_pEsito->RemoveAll();
		if (!StartBatchTransaction())
			return;
		for (int i = 1; i <= m_Elementi; ++i)
		{
			if (GetScheduler()->IsAborted())
			{
				SetProgressText("Elaborazione interrotta su richiesta utente.");
				break;
			}
			SetProgressText(CString::Formatted("Elemento %d", i));
			DataLng id(i);
			DataStr testo("batch");
			GetSqlConnection()->ExecuteSQL("INSERT INTO T_Log (Id, Testo) VALUES (?, ?)", {&id, &testo});
			auto* pEsito = static_cast<TLog*>(m_pEsito->AddRecord());
			pEsito->f_Id = id;
			pEsito->f_Testo = testo;
			++m_nWritten;
		}
		if (!m_bLeaveOpen)
			GetContext()->Commit();
	}
	// The count is fixed unless the log is written.
	void DisableControlsForBatch() override
	{
		++m_nDisabled;
		m_Elementi.SetReadOnly(!m_Scrivi);
	}
	void OnScriviChanged() { DisableControlsForBatch(); }
	void OnModoAChanged() { m_Changes.push_back(CString::Formatted("A=%d", static_cast<int>(static_cast<BOOL>(m_ModoA)))); }
	void OnModoBChanged() { m_Changes.push_back(CString::Formatted("B=%d", static_cast<int>(static_cast<BOOL>(m_ModoB)))); }
};

class TEsitoBody : public CBodyEdit
{
	DECLARE_DYNCREATE(TEsitoBody, CBodyEdit)
public:
	void Customize() override
	{
		auto* pRec = static_cast<TLog*>(GetDBT()->GetRecord());
		AddColumn(0, "Id", "Nr.", RUNTIME_CLASS(CLongStatic), pRec->f_Id, 4);
		AddColumn(0, "Testo", "Testo", RUNTIME_CLASS(CStrEdit), pRec->f_Testo, 20);
		EnableAddRow(FALSE);
		EnableInsertRow(FALSE);
		EnableDeleteRow(FALSE);
	}
};

class TLogBatchView : public CMasterFormView
{
	DECLARE_DYNCREATE(TLogBatchView, CMasterFormView)
public:
	void BuildDataControlLinks() override
	{
		auto* pDoc = static_cast<TLogBatchDoc*>(GetDocument());
		AddLink(IDC_ELEMENTI, "Elementi", RUNTIME_CLASS(CIntEdit), &pDoc->m_Elementi);
		AddLink(IDC_SCRIVI, "Scrivi", RUNTIME_CLASS(CBoolButton), &pDoc->m_Scrivi);
		AddRadio(IDC_MODO_A, "Modo A", &pDoc->m_ModoA, 1);
		AddRadio(IDC_MODO_B, "Modo B", &pDoc->m_ModoB, 1);
		AddLink(IDC_ESITO, "Esito", RUNTIME_CLASS(TEsitoBody), pDoc->m_pEsito.get());
	}
};

// ---- fixture -------------------------------------------------------------------------------------

class FormTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		AfxGetApplicationContext()->SetEchoAssertions(FALSE);
		AfxGetApplicationContext()->ClearAssertionReports();
		m_pConn = SqlConnection::Open(m_Dir.File("azienda.db"), SqlConnection::CREATE_IF_MISSING);
		m_pPrevious = AfxSetDefaultSqlConnection(m_pConn.get());
		for (CRuntimeClass* pClass : {RUNTIME_CLASS(TClienti), RUNTIME_CLASS(TOrdini), RUNTIME_CLASS(TOrdiniRighe),
									  RUNTIME_CLASS(TOrdiniNote), RUNTIME_CLASS(TLog)})
			ASSERT_TRUE(m_pConn->RegisterCatalogEntry("", CPLVNamespace(), pClass, 1));
		Sql("INSERT INTO T_Clienti VALUES ('C1', 'Rossi', 0), ('C2', 'Bianchi', 1)");
		TOrdiniDoc::s_pDocuments = &m_Docs;
	}
	void TearDown() override
	{
		AfxSetClientDocAttacher(nullptr);
		TOrdiniDoc::s_bBrowseOnCreate = TOrdiniDoc::s_bOnlyOneRecord = false;
		AfxClearDialogAnswers();
		AfxClearShownDialogs();
		AfxSetDefaultSqlConnection(m_pPrevious);
	}

	void Sql(const char* sql) { m_pConn->ExecuteSQL(sql); }
	long Count(const char* table, const char* where = "1=1")
	{
		auto st = m_pConn->Db().Prepare(CString::Formatted("SELECT COUNT(*) FROM %s WHERE %s", table, where).str());
		st->Step();
		return static_cast<long>(std::get<std::int64_t>(st->Column(0)));
	}
	CString Value(const char* sql)
	{
		auto st = m_pConn->Db().Prepare(sql);
		if (!st->Step())
			return "<none>";
		DataStr s;
		s.SetDataValue(st->Column(0));
		return s.GetString();
	}

	TOrdiniDoc* OpenOrdini()
	{
		return static_cast<TOrdiniDoc*>(FormDriver::Open(m_Docs, RUNTIME_CLASS(TOrdiniDoc), RUNTIME_CLASS(CMasterFrame),
														 RUNTIME_CLASS(TOrdiniView),
														 CPLVNamespace("Test.Ordini.Documents.DOrdini")));
	}
	// A new order with the rows given (article, quantity, price).
	void EnterOrder(FormDriver& form, const char* numero, std::initializer_list<std::tuple<const char*, const char*, const char*>> rows)
	{
		ASSERT_TRUE(form.New());
		ASSERT_TRUE(form.Type("Numero", numero));
		ASSERT_TRUE(form.Type("Cliente", "C1"));
		for (auto& [articolo, quantita, prezzo] : rows)
		{
			ASSERT_TRUE(form.AddRow("Righe")) << form.GetLastError();
			int row = form.RowCount("Righe") - 1;
			ASSERT_TRUE(form.TypeCell("Righe", row, "Articolo", articolo)) << form.GetLastError();
			ASSERT_TRUE(form.TypeCell("Righe", row, "Quantita", quantita));
			ASSERT_TRUE(form.TypeCell("Righe", row, "Prezzo", prezzo));
		}
	}
	std::vector<CString> Shown() const
	{
		std::vector<CString> texts;
		for (auto& m : m_Ui.Messages())
			texts.push_back(m.text);
		return texts;
	}

	ScriptedInteraction m_Ui;
	InteractionScope m_UiScope{&m_Ui};
	TestDir m_Dir;
	std::unique_ptr<SqlConnection> m_pConn;
	SqlConnection* m_pPrevious = nullptr;
	CDocumentSet m_Docs;  // closed before the connection goes
};

}  // namespace formtest
