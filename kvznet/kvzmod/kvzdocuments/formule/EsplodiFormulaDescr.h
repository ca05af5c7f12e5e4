#pragma once
// Explains a formula instead of computing it: a flat list of its pieces of text and of the
// symbols it names, following the formulas of extra-accounting and reclassified codes one level
// deeper and the macros it uses; each symbol then gets a sentence saying what it reads, and a
// base-plan symbol the accounts (or cost centres and jobs) it covers.
#include <memory>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliPianoBase.h"
#include "platform/mfc/Collections.h"
#include "platform/plvgeneric/Array.h"
#include "platform/plvgenlib/CMessages.h"

class Kvz_FormulaFlatElem;
class SqlConnection;

// Owns its elements.
class Kvz_FormulaFlat : public Array
{
	DECLARE_DYNCREATE(Kvz_FormulaFlat, Array)
public:
	Kvz_FormulaFlatElem* GetElem(int i) const;
};

class Kvz_FormulaFlatElem : public CObject
{
	DECLARE_DYNCREATE(Kvz_FormulaFlatElem, CObject)
public:
	Kvz_FormulaFlatElem() = default;
	Kvz_FormulaFlatElem(const Kvz_FormulaFlatElem&) = delete;
	Kvz_FormulaFlatElem& operator=(const Kvz_FormulaFlatElem&) = delete;

	DataBool m_bTesto;  // a piece of formula text, not a symbol
	DataEnum m_Tipo{E_KVZ_TIPOSIMBOLO, 0};  // item 5 on a cost-centre/job detail line
	DataBool m_bAziendaEsterna;
	DataStr m_Azienda;
	DataInt m_Livello;  // 1 the exploded formula and its macros, one more per formula followed
	DataStr m_Testo;    // the text, the symbol's name, or a detail line's account or centre
	DataStr m_Conto;    // on a cost-centre/job line: the account of the list entry
	DataStr m_DescrConto;
	DataEnum m_Segno;  // a list entry's sign (tag 0x3AAB); none on a range's line
	DataStr m_Descrizione;
	DataDbl m_ValoreMese;   // filled by the caller
	DataDbl m_ValoreProgr;  // filled by the caller
	// A symbol met inside a budget formula is valued from that budget, as the engine does.
	DataBool m_bFormulaBudget;
	DataEnum m_TipoBudget{E_KVZ_TIPOBUDGET, 0};
	// On a list's detail line: the entry as stored, which the engine matches rows by.
	DataBool m_bVoce;
	DataStr m_VoceConto;
	DataStr m_VoceCentro;
	DataEnum m_VoceTipoCentro{E_KVZ_TIPOCENTROCOMM, 0};
	Kvz_FormulaFlat m_Dettagli;
};

class Kvz_EsplodiFormulaDescr : public CObject
{
	DECLARE_DYNCREATE(Kvz_EsplodiFormulaDescr, CObject)
public:
	// Either may be null: messages then go to the message box, no element is recorded.
	explicit Kvz_EsplodiFormulaDescr(CMessages* pMessages = nullptr, CStringArray* pRighe = nullptr);
	~Kvz_EsplodiFormulaDescr() override;
	Kvz_EsplodiFormulaDescr(const Kvz_EsplodiFormulaDescr&) = delete;
	Kvz_EsplodiFormulaDescr& operator=(const Kvz_EsplodiFormulaDescr&) = delete;

	void AttachDefault(const DataInt& aEsercizio, const DataInt& aMese, const DataStr& aModello, const DataEnum& aModo,
					   const DataEnum& aModoUlteriore);
	void AttachFormula(const CString& strFormula) { m_Formula = strFormula; }
	const CString& GetFormula() const { return m_Formula; }

	// Builds the flat list and its descriptions; FALSE (with a message) for a wrong formula.
	BOOL Eval();
	// Appends the elements of the formula to the flat list.
	BOOL Parse(const CString& strOwner);
	const Kvz_FormulaFlat& GetFlat() const { return m_Flat; }
	Kvz_FormulaFlat& GetFlat() { return m_Flat; }

	// More elements than this end the explosion: a formula whose symbols fan out without end.
	static constexpr int MaxElementi = 100000;

private:
	struct Ramo;
	BOOL EstraiSimboli(const CString& strOwner, const CString& strText, std::vector<std::unique_ptr<Ramo>>& albero,
					   Ramo* pPadre, int nLivello);
	BOOL EsplodiSimbolo(const CString& strNome, const DataEnum& aTipo, std::vector<std::unique_ptr<Ramo>>& albero,
						Ramo* pPadre, int nLivello);
	BOOL EsplodiAlbero(std::vector<std::unique_ptr<Ramo>>& albero, int nLivello);
	CString ValorizzaRiclassific(const CString& strNome);
	CString ValorizzaExtracont(const CString& strNome);
	CString CercaFormulaRiclassificato(const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aCodice,
									   const DataInt& aIndice);
	CString CercaFormulaExtracontabile(const DataInt& aEsercizio, const DataInt& aMese, const DataStr& aCodice,
									   const DataInt& aIndice);
	Kvz_FormulaFlatElem* Aggiungi(BOOL bTesto, const CString& strTesto, int nLivello);

	void DescriviSimboli();
	CString ValorizzaPianoBase(Kvz_FormulaFlatElem& elem);
	CString ValorizzaPBaseDaElenco(Kvz_FormulaFlatElem& elem, const Kvz_TSimboliPianoBase& def);
	template <class Reader>
	CString DescriviCodici(const CString& strNome, const char* szMancante);
	// The symbol's definition in the reader's table for the year and model; null, said with
	// szMancante (which takes the name), when there is none.
	template <class Reader>
	const auto* Definizione(Reader& reader, const CString& strNome, const char* szMancante);
	CString DescriviOutputRiclassific(const CString& strNome);
	CString DescriviColonnaPianoBase(const Kvz_TSimboliPianoBase& def) const;
	CString DescriviTestataPianoBase(const Kvz_TSimboliPianoBase& def) const;
	// A description of an account of the year (empty when the register has none), of the
	// current company or, with a connection, of another one.
	CString DescrizioneConto(const DataStr& aConto, SqlConnection* pAltra);
	void Messaggio(const CString& strTesto);

	CString m_Formula;
	Kvz_FormulaFlat m_Flat;
	CMessages* m_pMessages;
	CStringArray* m_pRighe;
	DataInt m_Esercizio;
	DataStr m_Modello;
	DataInt m_Mese;
	DataEnum m_Modo{E_KVZ_TIPODATOPBASE, 0};
	DataEnum m_ModoUlteriore;
	DataBool m_bDefaultAttached;
	// The symbols whose formulas are being followed, outermost first: a name met again among
	// them would be followed without end.
	std::vector<CString> m_Catena;
	bool m_bTroppi = false;
	// Whether the formula being walked is a budget formula, and of which budget.
	bool m_bBudget = false;
	DataEnum m_TipoBudget{E_KVZ_TIPOBUDGET, 0};
};
