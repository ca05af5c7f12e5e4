#pragma once
// What the documents of the symbols valued from other formulas or results share: the
// extra-accounting code ("BDPropSimboloExtraC"), the reclassified code ("BDPropSimboloRiclass")
// and the reclassification result ("BDPropSimboloOutRiclass"). Each defines one symbol by its
// name, notes, aggregate, the formula or value column to take, the year (and month or model)
// as constants or as the evaluation's own, and a range of codes; each form has the data tab
// and the company tab, "OK", "Annulla" and "Copia in nuovo simbolo".
//
// Opening copies the formula editor's context; a new symbol gets its defaults and a proposed
// name, an existing one is loaded. Confirming checks the symbol and writes its registry row and
// its definition in one transaction: a failure writes nothing and keeps the form open. Closing
// hands a saved symbol back to the editor.
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodiciRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneTesta.h"
#include "kvznet/kvzmod/kvzdocuments/simboli/Kvz_CPropSimboloDoc.h"

// The controls of one form: their ids and link names (id 0: not on that form).
struct Kvz_CtrlSimbolo
{
	UINT nID = 0;
	LPCTSTR szNome = nullptr;
};

struct Kvz_FormSimboloCodice
{
	// Main form.
	Kvz_CtrlSimbolo tabber;
	UINT nOk = 0, nAnnulla = 0, nCopia = 0;
	Kvz_CtrlSimbolo descrDocumento, esercizioVis, modelloVis, codiceVis, tipoRiga, descrRiga;
	// Data tab.
	Kvz_CtrlSimbolo nome, note, aggreg, princ, colonna, nrColonna, budget, tipoBudget, tipoDato;
	Kvz_CtrlSimbolo esConst, esSymb, es, meseConst, meseSymb, mese, modConst, modSymb, modello;
	Kvz_CtrlSimbolo codiceDa, codiceA, descrFormula;
	UINT nTab = 0;          // resource of the data tab
	LPCTSTR szTab = nullptr;  // its name
	LPCTSTR szTabber = nullptr;
};

class Kvz_CPropSimboloCodiceDoc : public Kvz_CPropSimboloDoc
{
	DECLARE_DYNAMIC(Kvz_CPropSimboloCodiceDoc, Kvz_CPropSimboloDoc)
public:
	Kvz_CPropSimboloCodiceDoc();

	// ---- the definition on the form --------------------------------------------------------
	DataStr m_NomeSimbolo;
	DataStr m_Annotazioni;
	DataEnum m_AggregFunction{E_KVZ_AGGREGFUNCTION, 0};
	DataBool m_UsaPrincipale;  // the main formula (value)
	DataBool m_UsaColonna;     // one of the ten further formulas (values)
	DataInt m_NrColonna;       // 0 the main one, 1 to 10 the further ones
	DataBool m_UsaBudget;      // a budget formula (value) of the budget type
	DataEnum m_TipoBudget{E_KVZ_TIPOBUDGET, 0};
	DataBool m_EsConst;
	DataBool m_EsSymb;  // the year is the evaluation's
	DataInt m_Es;
	DataBool m_MeseConst;
	DataBool m_MeseSymb;  // the months are the evaluation's
	DataInt m_Mese;
	DataBool m_ModelloConst;
	DataBool m_ModelloSymb;  // the model is the evaluation's
	DataStr m_ValoreModello;
	DataStr m_CodiceDa;
	DataStr m_CodiceA;

	// Lookups of the reclassified codes and models (documents with a model).
	KVZ_HKLCodiciRiclassificato* m_pHKLCodRiclDa = nullptr;
	KVZ_HKLCodiciRiclassificato* m_pHKLCodRiclA = nullptr;
	KVZ_HKLRiclassificazioneTesta* m_pHKLModello = nullptr;

	BOOL IsNuovo() const { return m_ModoDoc.GetItemValue() != 1; }

	// ---- the shared steps ---------------------------------------------------------------------
	// Field states after a choice (also the batch form's DisableControlsForBatch).
	void AggiornaStatoControlli();
	// The checks of the form; each failure is said with the focus on its field.
	BOOL VerificaSimbolo();
	// Checks, then writes the registry row and the definition in one transaction.
	BOOL SalvaSimbolo();
	void CaricaSimbolo();

	// The controls of the kind's form.
	virtual const Kvz_FormSimboloCodice& Form() const = 0;
	// The lookup of the code from (of the code to).
	virtual HotKeyLinkObj* LookupCodice(BOOL bDa) const
	{
		return bDa ? static_cast<HotKeyLinkObj*>(m_pHKLCodRiclDa) : m_pHKLCodRiclA;
	}

protected:
	BOOL OnOpenDocument(const DocInvocationInfo* pInfo) override;
	void OnCloseDocument() override;
	BOOL SalvaConfermato() override { return SalvaSimbolo(); }
	void DisableControlsForBatch() override;

	// ---- what each kind says ------------------------------------------------------------------
	virtual WORD TipoSimbolo() const = 0;
	virtual const char* Sorgente() const = 0;
	virtual LPCTSTR PrefissoNome() const = 0;
	virtual const char* MetodoApertura() const = 0;
	// The code the formula descriptions are of: the code from, or the model.
	virtual const DataStr& CodiceDescrizioni() const { return m_ValoreModello; }
	virtual WORD TipoCodiceDescrizioni() const { return KVZ_SIMBOLO_RICLASS; }
	virtual BOOL HaMese() const { return FALSE; }
	virtual BOOL HaBudget() const { return TRUE; }
	// The model is required (a constant model, or always).
	virtual BOOL ModelloRichiesto() const { return FALSE; }
	virtual CString MessaggioCodice() const;
	// The kind's defaults beyond the shared ones.
	virtual void ImpostaDefault() {}
	// The definition's row into the fields; the row into the definition's table.
	virtual void LeggiDefinizione() = 0;
	virtual BOOL ScriviDefinizione(SqlSession* pSession) = 0;

	// Lookups made in OnAttachData: the formula descriptions (of the kind's codes), and the
	// reclassified codes and models of the context year.
	void CreaLookupDescrizioni();
	void CreaLookupRiclassificati();

	// ---- handlers -----------------------------------------------------------------------------
	void OnAbilita();
	void OnModelloChanged();
	void OnCodiceDaChanged();
	void OnDescrizioneChanged();
	void OnCopiaInNuovoSimbolo();
	void OnOk();
	void OnAnnulla();

	// The definition's row of the symbol read into the fields, or written from them: campi(row,
	// f) hands each field with its column to f.
	template <class Reader, class Campi>
	void LeggiRiga(Campi campi)
	{
		Reader definizione(this);
		definizione.SetSqlSession(GetReadOnlySqlSession());
		if (definizione.FindRecord(EsercizioContesto(), m_NomeSimbolo, m_Modello) == TableReader::FOUND)
			campi(*definizione.GetRecord(), [](DataObj& campo, DataObj& colonna) { campo.Assign(colonna); });
	}
	template <class Updater, class Campi>
	BOOL ScriviRiga(SqlSession* pSession, Campi campi)
	{
		Updater definizione(this);
		definizione.SetSqlSession(pSession);
		definizione.SetAutocommit(TRUE);
		const TableReader::FindResult trovata =
			definizione.FindRecord(EsercizioContesto(), m_NomeSimbolo, m_Modello, FALSE);
		if (trovata != TableReader::FOUND && trovata != TableReader::NOT_FOUND)
			return FALSE;
		auto& r = *definizione.GetRecord();
		campi(r, [](DataObj& campo, DataObj& colonna) { colonna.Assign(campo); });
		r.f_Esercizio = EsercizioContesto();
		r.f_ModelloRiclassific = m_Modello;
		r.f_NomeSimbolo = m_NomeSimbolo;
		return definizione.UpdateRecord();
	}

	// Both lookups of the codes follow the model.
	void FiltraCodiciPerModello();
	BOOL Rifiuta(const CString& strTesto, const DataObj& aFocus);
	CString Testo(LPCTSTR szTesto) const;
};

// The form of the three kinds: the context, the tab strip with the data tab and the company
// tab, the three buttons.
class Kvz_CPropSimboloCodiceView : public CMasterFormView
{
	DECLARE_DYNAMIC(Kvz_CPropSimboloCodiceView, CMasterFormView)
public:
	using CMasterFormView::CMasterFormView;
	void BuildDataControlLinks() override;

protected:
	// The tab strip's class and the data tab's of the kind.
	virtual CRuntimeClass* ClasseTabber() const = 0;
	virtual CRuntimeClass* ClasseTab() const = 0;
};

// The data tab of the three kinds: the fields the kind's form has.
class Kvz_CDatiSimboloCodiceTabDlg : public CTabDialog
{
	DECLARE_DYNAMIC(Kvz_CDatiSimboloCodiceTabDlg, CTabDialog)
public:
	using CTabDialog::CTabDialog;
	void BuildDataControlLinks() override;

protected:
	// Further controls of the kind (its buttons, its own fields).
	virtual void AggiungiAltri(Kvz_CPropSimboloCodiceDoc&) {}
};
