#pragma once
// The common base of the four symbol documents (base-plan value, extra-accounting code,
// reclassified code, reclassification result): the context copied from the formula editor
// that opened the document, and the choice of the company whose database gives the symbol's
// values. Also the dialog in which the editor asks for the kind of a new symbol, and the
// company tab the symbol forms show.
#include <functional>

#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAziende.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TDescrFormula.h"
#include "platform/plvgenlib/CParsedForm.h"
#include "platform/plvges/FormViews.h"

class Kvz_CFormulaDoc;
class Kvz_CUtilizzaFormuleDoc;
class SqlSession;

enum : UINT
{
	// Kind dialog.
	IDD_SCELTA_TIPO_SIMBOLO = 31768,
	IDC_SCELTA_SIMB_EXTRACONT = 52417,
	IDC_SCELTA_SIMB_PBASE = 52418,
	IDC_SCELTA_SIMB_OK = 52419,
	IDC_SCELTA_SIMB_ANNULLA = 52420,
	IDC_SCELTA_SIMB_RICLASS = 52421,
	// Company tab.
	IDD_AZIENDE_SIMBOLO = 31769,
	IDC_SEL_AZ_DESCRIZIONE = 52416,
	IDC_SEL_AZ_CORRENTE = 52425,
	IDC_SEL_AZ_ESTERNA = 52426,
	IDC_SEL_AZ_COD_AZIENDA = 52427,
	IDC_SEL_AZ_DS_ODBC = 52428,
};

// Symbol kinds a document defines (tag E_KVZ_TIPOSIMBOLO).
enum : WORD
{
	KVZ_SIMBOLO_PBASE = 0,
	KVZ_SIMBOLO_EXTRACONT = 1,
	KVZ_SIMBOLO_RICLASS = 3,
	KVZ_SIMBOLO_OUTRICLASS = 6,
};

class Kvz_CPropSimboloDoc : public CAbstractFormDoc
{
	DECLARE_DYNAMIC(Kvz_CPropSimboloDoc, CAbstractFormDoc)
	DECLARE_MESSAGE_MAP()
public:
	Kvz_CPropSimboloDoc();
	~Kvz_CPropSimboloDoc() override;

	// The namespace of the document that defines symbols of a kind; empty for a kind no
	// document defines.
	static CString NamespaceDocumento(const DataEnum& aTipoSimbolo);
	// Opens the document of the kind with the caller as its calling document; null when the
	// kind has no document or the document did not open.
	static CBaseDocument* ApriDocumento(const DataEnum& aTipoSimbolo, CBaseDocument* pCaller);

	// The editor that opened the document (null: opened on its own); the editor clears it
	// when it closes.
	Kvz_CFormulaDoc* GetFormulaDoc() const { return m_pFormulaDoc; }
	void SetFormulaDoc(Kvz_CFormulaDoc* pDoc) { m_pFormulaDoc = pDoc; }
	// The formula-holding document behind the editor, whose usage counters the grids show;
	// null when there is none.
	Kvz_CUtilizzaFormuleDoc* GetDocUtilizzo() const;
	// Usage counters of a code in the formula-holding document: 0 without one.
	DataLng ContatoreDettaglio(const DataEnum& aTipoCodice, const DataStr& aCodice) const;
	DataLng ContatoreGenerale(const DataEnum& aTipoCodice, const DataStr& aCodice) const;

	// Whether the symbol reads another company's database.
	BOOL IsAziendaEsterna() const { return m_UsaAziendaEsterna == TRUE && m_AziendaCorrente != TRUE; }

	// ---- context, copied from the editor -------------------------------------------------
	DataStr m_Modello;
	DataStr m_CodiceCheUtilizza;
	DataStr m_DescrizioneRiga;
	DataStr m_Descrizione;  // of the context
	DataInt m_Esercizio;
	DataEnum m_TipoRiga{E_KVZ_TIPORIGA, 0};
	DataEnum m_TipoCodCheUtilizza{E_KVZ_TIPOSIMBOLO, 0};
	// New or edit (item 1) and, in edit mode, the symbol chosen in the editor.
	DataEnum m_ModoDoc{E_KVZ_MODODOCSIMBOLO, 0};
	DataStr m_NomeSimboloSelez;

	// ---- company ------------------------------------------------------------------------
	DataBool m_AziendaCorrente;    // SEL_AZ_CORRENTE
	DataBool m_UsaAziendaEsterna;  // SEL_AZ_ESTERNA, stored as UsaAziendaEsterna
	DataStr m_Azienda;             // SEL_AZ_COD_AZIENDA, stored as Azienda
	Kvz_HKLAziende* m_pHKLAziende = nullptr;

	// Set when the user confirmed the form: the closing step saves only then.
	DataBool m_bConfermato;

	// Description of the formula, of the code-symbol documents, with its lookup.
	DataStr m_DescrFormula;
	Kvz_HKLDescrFormula* m_pHKLDescrFormula = nullptr;

	// ---- the flow every symbol document shares ----------------------------------------------
	// Takes the opening editor, when the caller is one: its frame is disabled while this
	// document is open, and the context, the mode and the chosen name are copied from it.
	// Opened on its own the document works on the application date's year. FALSE (with an
	// assertion naming the method) when the caller is another kind of document.
	BOOL PrendiContesto(const DocInvocationInfo* pInfo, const char* szMetodo, const char* szFile);
	// The name a new symbol is proposed under: the prefix, the using code and the number of
	// symbols of the editor's formula; empty without an editor.
	DataStr NomeProposto(LPCTSTR szPrefisso) const;
	// Why the name cannot be saved ("" when it can): empty in new mode, a character that is no
	// letter or digit (shown as typed), a name the year and model already have in new mode.
	CString ControllaNome(const DataStr& aNome, BOOL bNuovo, const char* szSource) const;
	// Runs the writing in one transaction (the run's when one is open, else its own): an SQL
	// error or a FALSE from it undoes everything, an error is shown; FALSE then.
	BOOL SalvaInTransazione(const std::function<BOOL(SqlSession*)>& scrivi, const char* szSource);
	// Writes the symbol's registry row: a new one of the kind, dated today, or the existing one
	// with its change date; the company choice in both. FALSE when the row cannot be written.
	BOOL ScriviAnagrafica(SqlSession* pSession, const DataStr& aNome, WORD nTipo);
	// The closing step toward the editor: after a saved symbol its list is refilled and a new
	// symbol goes into its formula; then it is enabled, refreshed and activated again.
	void RestituisciAlEditore(BOOL bSalvato, BOOL bNuovo, const DataStr& aNome);
	// The year the symbol belongs to: the context's, else the application date's.
	DataInt EsercizioContesto() const;

protected:
	BOOL OnAttachData() override;
	void DisableControlsForBatch() override;
	// The form's confirmation: the symbol is saved in the run's transaction and the form
	// closes; a save that fails leaves nothing written and the form open, and the run fails.
	void OnBatchExecute() override;
	// Checks and writes the symbol; FALSE when it was refused or could not be written.
	virtual BOOL SalvaConfermato() { return TRUE; }

	// The current/other-company choice changed; derived documents add to it.
	virtual void OnSceltaAziendaChanged();
	// The other company's code changed.
	virtual void OnCodAziendaChanged();
	// The company code is read-only while the current company is chosen.
	void AggiornaStatoAzienda();

	Kvz_CFormulaDoc* m_pFormulaDoc = nullptr;
};

// The modal dialog in which the editor asks which kind of symbol to define; the kind is the
// editor's, handed in as its field.
class Kvz_SceltaTipoSimboloDlg : public CParsedDialog
{
	DECLARE_DYNAMIC(Kvz_SceltaTipoSimboloDlg, CParsedDialog)
public:
	Kvz_SceltaTipoSimboloDlg(Kvz_CFormulaDoc* pFormulaDoc, DataEnum* pTipoSimbolo);

	void BuildDataControlLinks() override;
	BOOL OnInitDialog() override;
	void OnOK() override;

	DataBool m_bPianoBase;
	DataBool m_bExtracont;
	DataBool m_bRiclassificato;

private:
	Kvz_CFormulaDoc* m_pFormulaDoc;
	DataEnum* m_pTipoSimbolo;
};

// The tab of the symbol forms that chooses the company.
class Kvz_CAziendeSimboloTabDlg : public CTabDialog
{
	DECLARE_DYNCREATE(Kvz_CAziendeSimboloTabDlg, CTabDialog)
public:
	Kvz_CAziendeSimboloTabDlg() : CTabDialog(_T("CAziendeSimboloTabDlg"), IDD_AZIENDE_SIMBOLO) {}
	void BuildDataControlLinks() override;
	BOOL OnPrepareAuxData() override;

private:
	Kvz_CPropSimboloDoc* GetDoc() const;
};
