#pragma once
// The older formula engine, kept for code outside the module that links against the documents
// library: one formula of one year, model and month into one value. Every macro and every
// symbol that stands for a formula is evaluated by parsing its own text, so a macro "_A + _B"
// counts as one parenthesised operand wherever it is used, and a decimal comma is not read.
#include <map>
#include <set>
#include <memory>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/Kvz_TBudgetRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabiliTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodiciRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TElencoContiSimboloPBase.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRighe.h"
#include "kvznet/kvzmod/kvzdocuments/formule/MngFormula.h"

class SqlTable;

// The macro tree of the legacy engine is the current engine's.
using Kvz_AlberoMacro = Kvz_New_AlberoMacro;
using Kvz_AlberoMacroRamo = Kvz_New_AlberoMacroRamo;

// One level of the evaluation: the names of one text and the field its value goes to (null at
// the top).
class Kvz_Expression : public CObject
{
	DECLARE_DYNCREATE(Kvz_Expression, CObject)
public:
	Kvz_Expression() = default;
	explicit Kvz_Expression(ErpSymField* pTarget) : m_pSymTable(std::make_unique<ErpSymTable>()), m_pTarget(pTarget) {}

	std::unique_ptr<ErpSymTable> m_pSymTable;
	ErpSymField* m_pTarget = nullptr;
};

class Kvz_MngFormula : public CObject
{
	DECLARE_DYNCREATE(Kvz_MngFormula, CObject)
public:
	// Each pointer may be null: messages then go to the message box, names are not listed.
	explicit Kvz_MngFormula(CMessages* pMessages = nullptr, CStringArray* pNomi = nullptr);
	Kvz_MngFormula(const CString& strFormula, CMessages* pMessages, CStringArray* pNomi);
	~Kvz_MngFormula() override;
	Kvz_MngFormula(const Kvz_MngFormula&) = delete;
	Kvz_MngFormula& operator=(const Kvz_MngFormula&) = delete;

	void AttachFormula(const CString& strFormula);
	void AttachFormulaBudget(const CString& strFormula, const DataEnum& aTipoBudget);
	void AttachModello(const DataStr& aModello);
	void AttachEsercizio(const DataInt& aEsercizio);
	// Year, the single month, model, mode (tag 0x3AAA) and a further value kept as given.
	void AttachDefault(const DataInt& aEsercizio, const DataInt& aMese, const DataStr& aModello, const DataEnum& aModo,
					   const DataEnum& aModoUlteriore);
	void InitSession();

	// Checks the formula being defined for the owner (symbol or macro name, no underscores):
	// syntax, known names (macros inside other texts too, matched exactly), no self-reference
	// through macros or formula-valued symbols, at most MaxRamiMacro texts to follow.
	BOOL Parse(const CString& strOwner);
	// Parses again and evaluates; every evaluation starts from 0.
	BOOL Eval();
	DataDbl GetResult() const;
	CStringArray* GetFlatSymbols() const;
	const CString& GetFormula() const;

	// The comparison text of an operator item (tags 0x3AA4 and 0x3AA5): "" beyond item 5.
	static CString DecodificaOperatore(const DataEnum& aOperatore);
	// Deepest chain of macros and formula-valued symbols one evaluation follows.
	static constexpr int MaxLivelli = 64;
	// Most texts (macro references and formula-valued symbols) one evaluation follows, as the
	// current engine's macro tree.
	static constexpr int MaxRamiMacro = Kvz_New_MngFormula::MaxRamiMacro;

private:
	void OpenTables();
	void AttachAllSymbols();
	void SvuotaAlberoMacro() { m_AlberoMacro.RemoveAll(); }
	BOOL EstraiSimboli(const CString& strOwner, const CString& strText, Kvz_AlberoMacro*& pAlbero,
					   Kvz_AlberoMacroRamo* pPadre);
	BOOL ValorizzaEdEstrai(const CString& strNome, const DataEnum& aTipo, Kvz_AlberoMacro*& pAlbero,
						   Kvz_AlberoMacroRamo* pPadre);
	BOOL EsplodiAlbero(Kvz_AlberoMacro* pAlbero);
	BOOL VerificaRicorsivita(Kvz_AlberoMacro* pAlbero);
	// The macro's formula, its name matched exactly; FALSE, said, when the year and model have none.
	BOOL LeggiMacro(const CString& strNome, CString& strFormula);
	// One more text to follow: FALSE, said, beyond MaxRamiMacro.
	BOOL ContaRamo();
	BOOL EvalExpression(const CString* pText, ErpSymField* pTarget);
	// The symbol's registry row into m_RigaAnagrafica; FALSE with a message when there is none.
	BOOL LeggiAnagrafica(const CString& strNome);
	// The chain of formula-valued symbols being followed: FALSE, said, when the name is in it.
	BOOL EntraInSimbolo(const CString& strNome);
	void Messaggio(const CString& strTesto);
	// The symbol's definition in the reader's table for the year and model; null, said with
	// szMancante (which takes the name), when there is none.
	template <class Reader>
	const auto* Definizione(Reader& reader, const CString& strNome, const char* szMancante);

	// Valuations: FALSE only when the evaluation must stop; the value otherwise, 0 when the
	// definition is missing (said).
	BOOL ValorizzaPianoBase(const CString& strNome, double& valore);
	BOOL ValorizzaPBaseDaElenco(const Kvz_TSimboliPianoBase& def, double& valore);
	BOOL Ext_ValorizzaPianoBase(const Kvz_TSimboliPianoBase& def, const DataStr& aAzienda, double& valore);
	// The aggregate texts of the three amounts (one for the budget); "" for a definition that
	// reads no amount.
	CString ComponiSelect(const Kvz_TSimboliPianoBase& def, int modo) const;
	// The columns of a base-plan or budget row, of this company or another.
	struct ColonnePB;
	void ComponiWhere(const Kvz_TSimboliPianoBase& def, SqlTable& table, const ColonnePB& c);
	double GetExternalField(const Kvz_TSimboliPianoBase& def, const ColonnePB& c) const;
	BOOL SommaElenco(const Kvz_TSimboliPianoBase& def, const ColonnePB& c, SqlTable& table, bool bEsterna, double& valore);
	bool IsBudget(const Kvz_TSimboliPianoBase& def) const { return def.f_SelBudget || m_bFormulaBudget; }
	// Why a definition cannot be valued ("" when it can).
	CString ErroreDefinizione(const Kvz_TSimboliPianoBase& def) const;
	BOOL ValorizzaOutputRiclassific(const CString& strNome, double& valore);
	BOOL Ext_ValorizzaOutputRiclassific(const Kvz_TSimboliOutputRiclass& def, const DataStr& aAzienda, double& valore);
	CString ColonnaRisultato(const Kvz_TSimboliOutputRiclass& def) const;
	CString ValorizzaRiclassific(const CString& strNome);
	CString CercaFormulaRiclassificato(const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aCodice,
									   const DataInt& aNumero);
	CString ValorizzaExtracont(const CString& strNome);
	CString CercaFormulaExtracontabile(const DataInt& aEsercizio, const DataInt& aMese, const DataStr& aCodice,
									   const DataInt& aNumero);
	// The connection to a company's database: opened once per engine, closed with it.
	Kvz_New_External* ConnettiDatabase(const DataStr& aAzienda);

	CMessages* m_pMessages;
	CString m_Formula;
	DataBool m_bFormulaBudget;
	DataEnum m_TipoBudget{E_KVZ_TIPOBUDGET, 0};
	std::unique_ptr<ErpSymTable> m_pSymTable;
	Kvz_AlberoMacro m_AlberoMacro;
	Kvz_TRAnagMacro m_TRAnagMacro;
	Kvz_TRAnagSimboli m_TRAnagSimboli;
	Kvz_TRSimboliCodiciExtracont m_TRSimboliExtra;
	Kvz_TRSimboliCodiciRiclass m_TRSimboliRiclass;
	Kvz_TRSimboliPianoBase m_TRSimboliPB;
	Kvz_TRSimboliOutputRiclass m_TRSimboliOutput;
	Kvz_TRCodExtracontabili m_TRCodExtra;
	Kvz_TRRiclassificazioneRighe m_TRRighe;
	Kvz_TElencoContiSimboloPBase m_ElencoConti;
	std::unique_ptr<SqlTable> m_pElencoConti;
	Kvz_TAnagSimboli m_RigaAnagrafica;

	DataInt m_Esercizio;
	DataStr m_Modello;
	DataInt m_Mese;
	DataEnum m_Modo{E_KVZ_TIPODATOPBASE, 0};
	DataEnum m_ModoUlteriore;
	DataBool m_bDefaultAttached;
	DataDbl m_Risultato;
	CStringArray* m_pNomi;

	std::vector<CString> m_Catena;  // formula-valued symbols being followed, outermost first
	int m_nLivello = 0;             // depth of the evaluation
	int m_nRami = 0;                // texts the parse has followed, against MaxRamiMacro
	std::map<CString, std::unique_ptr<Kvz_New_External>> m_Connessioni;
	// What one check or evaluation said: the parse and the evaluation read the same definitions.
	std::set<CString> m_Detti;
	bool m_bInEval = false;
};
