#pragma once
// The base of every document whose rows hold formulas: it checks a formula under the
// document's formula context (year, model, the code that owns the formulas, which of its
// formulas), lists the codes the formula refers to and keeps how often each code is used,
// per using code and formula position (detail) and per code (general), and writes those
// counters to Kvz_ContatoriCodici and Kvz_ContatoriDettaglio.
//
// A derived document: on loading SvuotaMapContatori, then for each row SetContext and
// CaricaCodiciFormula for each of its formulas (positions 0 to 10), then
// CaricaContatoriGenerali; on a change of a formula SetPStrFormula/SetPosizFormula (and
// SetContext when the row changed) and the base's OnFormulaChanged; on saving SalvaContatori.
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>

#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TContatoriCodici.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TContatoriDettaglio.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciExtracont.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciRiclass.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliOutputRiclass.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliPianoBase.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormula.h"
#include "platform/plvgeneric/Array.h"
#include "platform/plvges/FormViews.h"

class Kvz_CFormulaDoc;
class Kvz_CFormulaEdit;

// Code kinds of the usage counters (tag E_KVZ_TIPOSIMBOLO): the symbol kinds, and the cost
// centres and jobs of a base-plan symbol's account list.
enum : WORD
{
	KVZ_CONTATORE_CONTO = 0,
	KVZ_CONTATORE_EXTRACONT = 1,
	KVZ_CONTATORE_RICLASSIFICATO = 3,
	KVZ_CONTATORE_CENTRO = 4,
	KVZ_CONTATORE_COMMESSA = 5,
	KVZ_CONTATORE_RISULTATO = 6,
};

// Formula positions: 0 the row's main formula, 1 to 10 the further formulas.
constexpr int KVZ_NUM_POSIZ_FORMULA = 11;

// General usage counter of one code: the uses by other documents (read from the database when
// the element is made) and the uses by this document.
class Kvz_ArrayContatoriElem : public CObject
{
	DECLARE_DYNCREATE(Kvz_ArrayContatoriElem, CObject)
public:
	Kvz_ArrayContatoriElem() = default;
	Kvz_ArrayContatoriElem(const DataEnum& aTipoCodice, const DataStr& aCodice);

	long GetTotale() const { return static_cast<long>(m_nUtilizziAltri) + m_nUtilizziDoc; }

	DataEnum m_TipoCodice{E_KVZ_TIPOSIMBOLO, 0};
	DataStr m_Codice;
	int m_nUtilizziAltri = 0;
	int m_nUtilizziDoc = 0;
};

class Kvz_ArrayContatori : public TArray<Kvz_ArrayContatoriElem>
{
	DECLARE_DYNAMIC(Kvz_ArrayContatori, Array)
public:
	// The element of the kind and code, null when none.
	Kvz_ArrayContatoriElem* Cerca(const DataEnum& aTipoCodice, const DataStr& aCodice) const;
};

// Detail usage counter of one code inside one using code: the uses at each formula position.
class Kvz_ArrayDettaglioContatoriElem : public CObject
{
	DECLARE_DYNCREATE(Kvz_ArrayDettaglioContatoriElem, CObject)
public:
	Kvz_ArrayDettaglioContatoriElem() = default;
	Kvz_ArrayDettaglioContatoriElem(const DataEnum& aTipoCodice, const DataStr& aCodice);

	long GetTotale() const;

	DataEnum m_TipoCodice{E_KVZ_TIPOSIMBOLO, 0};
	DataStr m_Codice;
	int m_nContatori[KVZ_NUM_POSIZ_FORMULA] = {};
};

class Kvz_ArrayDettaglioContatori : public TArray<Kvz_ArrayDettaglioContatoriElem>
{
	DECLARE_DYNAMIC(Kvz_ArrayDettaglioContatori, Array)
public:
	Kvz_ArrayDettaglioContatoriElem* Cerca(const DataEnum& aTipoCodice, const DataStr& aCodice) const;
};

// Detail counters by using code.
using Kvz_MapContatori = std::map<CString, std::unique_ptr<Kvz_ArrayDettaglioContatori>>;

class Kvz_CUtilizzaFormuleDoc : public CAbstractFormDoc
{
	DECLARE_DYNCREATE(Kvz_CUtilizzaFormuleDoc, CAbstractFormDoc)
public:
	Kvz_CUtilizzaFormuleDoc();
	~Kvz_CUtilizzaFormuleDoc() override;
	Kvz_CUtilizzaFormuleDoc(const Kvz_CUtilizzaFormuleDoc&) = delete;
	Kvz_CUtilizzaFormuleDoc& operator=(const Kvz_CUtilizzaFormuleDoc&) = delete;

	// ---- context and links -----------------------------------------------------------------
	// Description of the context, year, model (for an extra-accounting code: the code), using
	// kind (tag E_KVZ_TIPOSIMBOLO: 1 extra-accounting code, 3 reclassification model), using
	// code (the model row's code; "mese%d" for an extra-accounting code's month), row
	// description, row kind (tag E_KVZ_TIPORIGA).
	void SetContext(const DataStr& aDescrizione, const DataInt& aEsercizio, const DataStr& aModello,
					const DataEnum& aTipoCodCheUtilizza, const DataStr& aCodiceCheUtilizza,
					const DataStr& aDescrizioneRiga, const DataEnum& aTipoRiga);
	const DataStr& GetDescrizione() const { return m_Descrizione; }
	const DataInt& GetEsercizio() const { return m_Esercizio; }
	const DataStr& GetModello() const { return m_Modello; }
	const DataEnum& GetTipoCodCheUtilizza() const { return m_TipoCodCheUtilizza; }
	const DataStr& GetCodiceCheUtilizza() const { return m_CodiceCheUtilizza; }
	const DataStr& GetDescrizioneRiga() const { return m_DescrizioneRiga; }
	const DataEnum& GetTipoRiga() const { return m_TipoRiga; }

	void SetCtrlFormula(Kvz_CFormulaEdit* pCtrl) { m_pCtrlFormula = pCtrl; }
	Kvz_CFormulaEdit* GetCtrlFormula() const { return m_pCtrlFormula; }
	// The formula field OnFormulaChanged works on, and its position (0 to 10).
	void SetPStrFormula(DataStr* pFormula) { m_pStrFormula = pFormula; }
	DataStr* GetPStrFormula() const { return m_pStrFormula; }
	void SetPosizFormula(int nPosiz) { m_nPosizFormula = nPosiz; }
	int GetPosizFormula() const { return m_nPosizFormula; }
	void SetNomeMacro(const DataStr& aNome) { m_NomeMacro = aNome; }
	DataStr GetNomeMacro() const { return m_NomeMacro; }
	void SetModificaMacro(const DataBool& b) { m_bModificaMacro = b; }
	DataBool GetModificaMacro() const { return m_bModificaMacro; }
	void SetInserimentoMacro(const DataBool& b) { m_bInserimentoMacro = b; }
	DataBool GetInserimentoMacro() const { return m_bInserimentoMacro; }
	// The formula editor open on this document (null: none).
	void SetCalledDoc(Kvz_CFormulaDoc* pDoc) { m_pCalledDoc = pDoc; }
	Kvz_CFormulaDoc* GetCalledDoc() const { return m_pCalledDoc; }
	Kvz_New_MngFormula* GetMngFormula() { return m_pMngFormula.get(); }

	// Set by OnFormulaChanged once the counters of a formula were recomputed.
	DataBool m_bContatoriModificati;

	// ---- hooks ---------------------------------------------------------------------------
	BOOL OnAttachData() override;
	// Forgets the symbols the engine valued; derived documents call it from their override.
	BOOL OnPrepareAuxData() override;
	// Whether a formula of this document uses the symbol (the base: FALSE). Derived documents
	// walk their rows with TrovatoNellaFormula; the formula editor asks before deleting one.
	virtual BOOL SimboloUtilizzato(CString strNome);
	// A formula of the current row changed: derived documents point the formula field and
	// position (and the context) at it, then call the base, which checks the formula
	// ("Errore nella formula." when it does not parse, counters untouched) and recounts it.
	virtual void OnFormulaChanged();

	// ---- counting and saving ------------------------------------------------------------
	// TRUE when the name occurs anywhere in the formula's text (case counts).
	BOOL TrovatoNellaFormula(CString strNome, const DataStr& aFormula);
	// Recounts one formula at a position of the current using code; *pnSimboli, when given,
	// gets the number of symbol references (0 when the formula does not parse, which is
	// reported with "Errore nella formula %s.").
	void CaricaCodiciFormula(CString strFormula, int nPosiz, int* pnSimboli = nullptr);
	// Rebuilds the general counters from the detail counters of every using code.
	void CaricaContatoriGenerali();
	// Writes the general counters and this document's detail rows (year, model, using kind),
	// in one transaction on the document's session (joining the document's own when open).
	// FALSE, with the error in the message list, when the database refused: nothing written.
	BOOL SalvaContatori();
	void SvuotaMapContatori();
	void SvuotaContatoriGenerali() { m_ContatoriGenerali.RemoveAll(); }
	// A code's total (uses by others and by this document); 0 when not counted.
	DataLng GetContatoreGenerale(const DataEnum& aTipoCodice, const DataStr& aCodice) const;
	// A code's uses by this document, over every using code and position.
	DataLng GetContatoreDettaglio(const DataEnum& aTipoCodice, const DataStr& aCodice) const;

	// While one lives, the two counts above are read from an index of every counter made once:
	// a symbol document asks them for each account of the year while it fills its grids, and
	// changes no counter meanwhile. A null document does nothing.
	class LetturaContatori
	{
	public:
		explicit LetturaContatori(const Kvz_CUtilizzaFormuleDoc* pDoc);
		~LetturaContatori();
		LetturaContatori(const LetturaContatori&) = delete;
		LetturaContatori& operator=(const LetturaContatori&) = delete;

	private:
		const Kvz_CUtilizzaFormuleDoc* m_pDoc;
	};

	const Kvz_ArrayContatori& GetContatoriGenerali() const { return m_ContatoriGenerali; }
	const Kvz_MapContatori& GetMapContatori() const { return m_MapContatori; }
	// The detail counters of a using code, null when it has none.
	Kvz_ArrayDettaglioContatori* GetDettaglioContatori(const CString& strCodiceCheUtilizza) const;
	// The symbol names the last count found.
	const CStringArray& GetSimboli() const { return m_Simboli; }

protected:
	// Parses a copy of the formula with decimal commas made points, in the context's year and
	// model, for the owner (a macro may not name itself); the names it refers to go to
	// m_Simboli; the reason of a wrong syntax, with its position, to the message list.
	BOOL ParseFormula(const CString& strFormula, const CString& strOwner = CString());

	Kvz_CFormulaDoc* m_pCalledDoc = nullptr;
	DataStr m_Descrizione;
	DataInt m_Esercizio;
	DataStr m_DescrizioneRiga;
	DataEnum m_TipoRiga{E_KVZ_TIPORIGA, 0};
	DataStr m_Modello;
	DataEnum m_TipoCodCheUtilizza{E_KVZ_TIPOSIMBOLO, 0};
	DataStr m_CodiceCheUtilizza;
	Kvz_CFormulaEdit* m_pCtrlFormula = nullptr;
	DataStr* m_pStrFormula = nullptr;
	int m_nPosizFormula = 0;
	DataStr m_NomeMacro;
	DataBool m_bModificaMacro;
	DataBool m_bInserimentoMacro;
	CStringArray m_Simboli;
	std::unique_ptr<Kvz_New_MngFormula> m_pMngFormula;
	Kvz_MapContatori m_MapContatori;
	Kvz_ArrayContatori m_ContatoriGenerali;
	// The formulas refused as they were typed, by the code that uses them: a check of the whole
	// record before its save does not say them again.
	std::set<std::pair<std::string, std::string>> m_FormuleSegnalate;
	BOOL FormulaSegnalata(const CString& strFormula) const;

private:
	// The counts by kind and code, while a LetturaContatori lives.
	struct IndiceContatori
	{
		std::unordered_map<std::string, long> dettaglio;
		std::unordered_map<std::string, long> generale;
	};
	mutable std::unique_ptr<IndiceContatori> m_pIndice;
	mutable int m_nLetture = 0;

	void CaricaValoriDelSimbolo(const DataStr& aNome, Kvz_ArrayDettaglioContatori& arr, int nPosiz);
	void CaricaContiPianoBase(const DataStr& aNome, Kvz_ArrayDettaglioContatori& arr, int nPosiz);
	void CaricaCodiciExtracont(const DataStr& aNome, Kvz_ArrayDettaglioContatori& arr, int nPosiz);
	void CaricaCodiciRiclassific(const DataStr& aNome, Kvz_ArrayDettaglioContatori& arr, int nPosiz);
	void CaricaCodiciOutRiclassific(const DataStr& aNome, Kvz_ArrayDettaglioContatori& arr, int nPosiz);
	// The symbol's definition row (year, name, model) by the reader: its ValoreCodice under nTipo.
	template <class Reader>
	void CaricaValoreCodice(Reader& reader, const DataStr& aNome, Kvz_ArrayDettaglioContatori& arr, int nPosiz,
							WORD nTipo, const char* szMetodo);
	void CaricaElemento(Kvz_ArrayDettaglioContatori& arr, int nPosiz, const DataStr& aCodice, const DataEnum& aTipo);
	void InitSession();
	void MostraMessaggi();

	Kvz_TRAnagSimboli m_TRAnagSimboli;
	Kvz_TRSimboliPianoBase m_TRSimboliPianoBase;
	Kvz_TRSimboliCodiciExtracont m_TRSimboliCodiciExtracont;
	Kvz_TRSimboliCodiciRiclass m_TRSimboliCodiciRiclass;
	Kvz_TRSimboliOutputRiclass m_TRSimboliOutputRiclass;
	Kvz_TRContatoriCodici m_TRContatoriCodici;
	Kvz_TRSommaUtilizzi m_TRSommaUtilizzi;
	Kvz_TUContatoriCodici m_TUContatoriCodici;
	Kvz_TUContatoriDettaglio m_TUContatoriDettaglio;
};
