#pragma once
// The formula editor. Template "BDFormula". Opened from a formula field of a formula-usage
// document (or from another editor, for a macro): the user builds the formula from the symbol
// and macro lists and the keypad; on OK it is checked and written back into the caller, whose
// usage counters are recounted.
#include "kvznet/kvzmod/kvzdocuments/formule/FormulaCtrl.h"
#include "kvznet/kvzmod/kvzdocuments/formule/Kvz_CUtilizzaFormuleDoc.h"
#include "platform/plvges/FormViews.h"

enum : UINT
{
	IDC_FRM_SIMBOLI = 52453,
	IDC_FRM_MACRO = 52454,
	IDC_FRM_FORMULA = 52455,
	IDC_FRM_TASTO_1 = 52456,  // "1" to "9": 52456 to 52464
	IDC_FRM_TASTO_PIU = 52466,
	IDC_FRM_TASTO_MENO = 52467,
	IDC_FRM_TASTO_PER = 52468,
	IDC_FRM_TASTO_DIVISO = 52469,
	IDC_FRM_TASTO_APERTA = 52470,
	IDC_FRM_TASTO_CHIUSA = 52471,
	IDC_FRM_TASTO_0 = 52465,
	IDC_FRM_PROP_SIMBOLO = 52472,
	IDC_FRM_PROP_MACRO = 52473,
	IDC_FRM_OK = 52475,
	IDC_FRM_ANNULLA = 52476,
	IDC_FRM_NUOVO_SIMBOLO = 52477,
	IDC_FRM_NUOVA_MACRO = 52478,
	IDC_FRM_NOME_MACRO = 52479,
	IDC_FRM_NOTE_MACRO = 52480,
	IDC_FRM_SAVE_AS_MACRO = 52481,
	IDC_FRM_TUTTI = 52482,
	IDC_FRM_PIANO_BASE = 52483,
	IDC_FRM_EXTRACONTABILI = 52484,
	IDC_FRM_RICLASSIFICATI = 52485,
	IDC_FRM_ESERCIZIO = 52486,
	IDC_FRM_DESCR_RIGA = 52487,
	IDC_FRM_MODELLO = 52488,
	IDC_FRM_CODICE = 52489,
	IDC_FRM_RISULTATO = 52491,
	IDC_FRM_TIPORIGA = 52492,
	IDC_FRM_DESCR_DOCUMENTO = 52493,
	IDC_FRM_ELIMINA_SIMBOLO = 52494,
	IDC_FRM_ELIMINA_MACRO = 52495,
	ID_FRM_PROP_SIMBOLO = 31772,
	ID_FRM_NUOVO_SIMBOLO = 31773,
};

// A symbol of the list, with its name split into letters and digits for sorting.
class Kvz_SimboliToSortElem : public CObject
{
	DECLARE_DYNCREATE(Kvz_SimboliToSortElem, CObject)
public:
	Kvz_SimboliToSortElem() = default;
	Kvz_SimboliToSortElem(const DataEnum& aTipo, const DataStr& aNome);

	DataEnum m_TipoSimbolo{E_KVZ_TIPOSIMBOLO, 0};
	DataStr m_NomeSimbolo;
	DataStr m_Descrizione{"*******"};
	DataStr m_Lettere;
	DataStr m_Cifre;
};

// Letters first (case counts), then the digits by value whatever their length: "S2" < "S10" < "T1".
int ComparaNomeSimbolo(const Kvz_SimboliToSortElem& a, const Kvz_SimboliToSortElem& b);

class Kvz_CFormulaDoc : public Kvz_CUtilizzaFormuleDoc
{
	DECLARE_DYNCREATE(Kvz_CFormulaDoc, Kvz_CUtilizzaFormuleDoc)
	DECLARE_MESSAGE_MAP()
public:
	Kvz_CFormulaDoc();

	BOOL OnOpenDocument(const DocInvocationInfo* pInfo) override;
	void OnCloseDocument() override;

	void RiempiListBoxSimboli();
	void RiempiListBoxMacro();
	// Empty passes; else the formula must parse in the context, a macro not naming itself.
	BOOL ControllaSintassi();
	BOOL SalvaMacro();

	// For the symbol documents run from here.
	const DataEnum& GetTipoSimboloSelez() const { return m_TipoSimboloSelez; }
	const DataStr& GetNomeSimboloSelez() const { return m_NomeSimboloSelez; }
	const DataEnum& GetModoDocSimbolo() const { return m_ModoDocSimbolo; }
	// Symbols in the formula when the user last asked for a new one: names new symbols only.
	int GetNumSimboli() const { return m_nNumSimboli; }
	Kvz_CUtilizzaFormuleDoc* GetCounterOwner() const { return m_pCounterOwner; }
	Kvz_CUtilizzaFormuleDoc* GetCaller() const { return m_pCaller; }
	void SetOpenSymbolDoc(CBaseDocument* pDoc) { m_pDocSimbolo = pDoc; }

	Kvz_CListBoxFormula* m_pListaSimboli = nullptr;
	Kvz_CListBoxFormula* m_pListaMacro = nullptr;
	Kvz_CFormulaContainer* m_pBoxFormula = nullptr;

	DataStr m_Formula;
	DataStr m_NomeMacroEdit;
	DataStr m_NoteMacro;
	DataBool m_bSalvaComeMacro;
	DataBool m_bSimboloCancellato;
	DataBool m_bConfermato;
	DataBool m_bTuttiTipi;
	DataEnum m_TipoLista{E_KVZ_TIPOSIMBOLO, 0};
	DataBool m_bSempre{TRUE};

protected:
	BOOL IsCloseAccepted() const override { return !m_bValidazioneFallita; }
	void DisableControlsForBatch() override;

	void Tasto(const char* szTesto);
#define KVZ_TASTO(nome, testo) \
	void OnTasto##nome() { Tasto(testo); }
	KVZ_TASTO(0, "0") KVZ_TASTO(1, "1") KVZ_TASTO(2, "2") KVZ_TASTO(3, "3") KVZ_TASTO(4, "4")
	KVZ_TASTO(5, "5") KVZ_TASTO(6, "6") KVZ_TASTO(7, "7") KVZ_TASTO(8, "8") KVZ_TASTO(9, "9")
	KVZ_TASTO(Aperta, "(") KVZ_TASTO(Chiusa, ")") KVZ_TASTO(Piu, " + ") KVZ_TASTO(Meno, " - ")
	KVZ_TASTO(Per, " * ") KVZ_TASTO(Diviso, " / ")
#undef KVZ_TASTO
	void OnTutti();
	void OnPianoBase() { FiltraTipo(0); }
	void OnExtracontabili() { FiltraTipo(1); }
	void OnRiclassificati() { FiltraTipo(3); }
	void OnRisultato() { FiltraTipo(6); }
	void FiltraTipo(WORD nTipo);
	void OnPropSimbolo();
	void OnNuovoSimbolo();
	void OnDeleteSimbolo();
	void OnPropMacro();
	void OnNuovaMacro();
	void OnDeleteMacro();
	void OnSalvaComeMacroChanged();
	void OnOK();
	void OnAnnulla();

private:
	void ApriDocSimbolo();
	void ApriEditorMacro();
	void RicontaFormula(int* pnSimboli);

	Kvz_CFormulaEdit* m_pCtrlCaller = nullptr;
	DataStr* m_pDataCaller = nullptr;
	Kvz_CUtilizzaFormuleDoc* m_pCaller = nullptr;
	Kvz_CUtilizzaFormuleDoc* m_pCounterOwner = nullptr;
	CBaseDocument* m_pDocSimbolo = nullptr;
	Kvz_CFormulaDoc* m_pEditorMacro = nullptr;
	DataStr m_NomeSimboloSelez;
	DataEnum m_ModoDocSimbolo{E_KVZ_MODODOCSIMBOLO, 0};
	DataEnum m_TipoSimboloSelez{E_KVZ_TIPOSIMBOLO, 0};
	int m_nNumSimboli = 0;
	bool m_bValidazioneFallita = false;
};

class Kvz_CFormulaView : public CMasterFormView
{
	DECLARE_DYNCREATE(Kvz_CFormulaView, CMasterFormView)
public:
	Kvz_CFormulaView() : CMasterFormView(_T("CFormulaView")) {}
	void BuildDataControlLinks() override;
	void OnInitialUpdate() override;
};
