#pragma once
// The browsers of another company's reclassification models ("BDModelliMultiAz") and of a
// model's codes ("BDModelliRigheMultiAz"), opened by a reclassification-result symbol on the
// company it names: each reads the other company's database through a connection of its own,
// lists what it found, and a double-click writes the choice back into the symbol and closes.
// Closed any other way, the symbol keeps what it had.
#include <memory>

#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneTesta.h"
#include "platform/plvges/CBodyEdit.h"
#include "platform/plvges/FormViews.h"

class Kvz_CPropSimboloOutRiclassDoc;
class SqlConnection;
class SqlTable;

enum : UINT
{
	IDD_MODELLI_MULTIAZ = 31765,
	IDC_MULTIAZ_GRID = 52354,
	IDC_MULTIAZ_MODELLO = 52356,
	IDC_MULTIAZ_MOD_DESCRIZIONE = 52357,
	IDC_MULTIAZ_CODICE = 52358,
	IDC_MULTIAZ_COD_DESCRIZIONE = 52359,
};

// What both browsers share: the symbol that opened them, the year, company and model they read,
// the list, its filling, the double-click and the closing.
class CModelliMultiAzBase : public CAbstractFormDoc
{
	DECLARE_DYNAMIC(CModelliMultiAzBase, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	CModelliMultiAzBase();
	~CModelliMultiAzBase() override;

	DBTSlaveBuffered* GetDBT() const { return m_pDBT.get(); }
	// The list's grid: read-only rows, filled as it is made.
	static void PreparaGriglia(CBodyEdit& griglia);
	// Reads the other company's rows into the list: each fill connects anew and closes its
	// connection; a company not in the register or unreachable is said and lists nothing, an
	// error while reading keeps the rows read so far.
	void RiempiDBT();

	DataInt m_Esercizio;  // the year read: the symbol's constant year, else the application date's
	DataStr m_Azienda;
	DataStr m_Modello;  // models: the one chosen; codes: the model listed
	DataStr m_CodiceScelto;
	BOOL m_bScelto = FALSE;  // a double-click chose a row

protected:
	BOOL OnAttachData() override;
	BOOL OnOpenDocument(const DocInvocationInfo* pInfo) override;
	void OnCloseDocument() override;
	void OnBatchExecute() override;
	void OnDoppioClick();
	// The cursor on the other company's table: every column, the year's rows, in order.
	void ApriCursore(SqlTable& t, DataObj& colEsercizio, DataObj& colOrdine);

	// The form's title, the list's record and name.
	virtual LPCTSTR Titolo() const = 0;
	virtual CRuntimeClass* ClasseRighe() const = 0;
	virtual LPCTSTR NomeDBT() const = 0;

	virtual const char* Sorgente() const = 0;
	virtual const char* Metodo() const = 0;
	// The other company's rows, read on its connection into the list.
	virtual void Leggi(SqlConnection* pConnessione) = 0;
	// The row double-clicked is chosen.
	virtual void Scegli(SqlRecord* pRiga) = 0;
	// The choice into the symbol.
	virtual void Restituisci(Kvz_CPropSimboloOutRiclassDoc& simbolo) = 0;

	std::unique_ptr<DBTSlaveBuffered> m_pDBT;
	Kvz_CPropSimboloOutRiclassDoc* m_pCaller = nullptr;
};

class CModelliMultiAzDoc : public CModelliMultiAzBase
{
	DECLARE_DYNCREATE(CModelliMultiAzDoc, CModelliMultiAzBase)
protected:
	LPCTSTR Titolo() const override { return _T("Modelli riclassificazione"); }
	CRuntimeClass* ClasseRighe() const override { return Kvz_TRiclassificazioneTesta::GetThisClass(); }
	LPCTSTR NomeDBT() const override { return _T("DBTModelliMultiAz"); }
	const char* Sorgente() const override { return "ModelliMultAz"; }
	const char* Metodo() const override { return "CModelliMultiAzDoc::RiempiDBT"; }
	void Leggi(SqlConnection* pConnessione) override;
	void Scegli(SqlRecord* pRiga) override;
	void Restituisci(Kvz_CPropSimboloOutRiclassDoc& simbolo) override;
};

class CModelliMultiAzView : public CMasterFormView
{
	DECLARE_DYNCREATE(CModelliMultiAzView, CMasterFormView)
public:
	CModelliMultiAzView() : CMasterFormView(_T("CModelliMultiAzView"), IDD_MODELLI_MULTIAZ) {}
	void BuildDataControlLinks() override;
};

class ModelliMultiAzEdit : public CBodyEdit
{
	DECLARE_DYNCREATE(ModelliMultiAzEdit, CBodyEdit)
public:
	void Customize() override;
};
