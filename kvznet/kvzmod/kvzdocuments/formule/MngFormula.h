#pragma once
// The formula engine: a line of arithmetic over symbols ("_NAME") and macros ("__NAME") of one
// fiscal year and reclassification model, checked against the symbols registry and the macros,
// prepared for evaluation (macros expanded, extra-accounting amounts optionally left out) and
// evaluated into twelve monthly values.
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <cstddef>
#include <string>
#include <tuple>
#include <vector>

#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagMacro.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagSimboli.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabili.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliOutputRiclass.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliPianoBase.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciExtracont.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TSimboliCodiciRiclass.h"
#include "platform/erp/erpstockcomponents/ErpSymTable.h"
#include "platform/mfc/Collections.h"
#include "platform/plvgeneric/Array.h"
#include "platform/plvgenlib/CMessages.h"

class CAbstractFormDoc;
class SqlConnection;

// A name in a formula starts after one underscore (symbol) or two (macro) and ends at the next
// separator.
struct Kvz_NomeInFormula
{
	bool bMacro = false;
	CString nome;  // without underscores; empty when a separator follows at once
	int fine = 0;  // where the name ends: the separator or the end of the text
};
// The name whose underscore is at pos.
Kvz_NomeInFormula Kvz_LeggiNomeInFormula(const std::string& text, int pos);
// The message for a symbol or macro found among its own operands.
CString Kvz_TestoAutoriferimento(const Kvz_NomeInFormula& letto);
// A code range of a symbol with one end given: that code alone.
void Kvz_CompletaIntervallo(DataStr& aDa, DataStr& aA);
// The codes of a register between two ends, in order: the year's, and the model's where the
// register has models.
std::vector<DataStr> Kvz_CodiciTra(SqlRecord& rec, DataObj& colEsercizio, DataObj* pColModello, DataStr& colCodice,
								   const DataInt& esercizio, const DataStr& modello, const DataStr& da, const DataStr& a);

// A grouped account a symbol's condition selects, with its level in the grouping (1: it has no
// grouping account above it).
struct Kvz_ContoLivello
{
	CString conto, descrizione;
	int livello = 1;
};
// The grouped accounts of the year that an account condition (operator items 0-7, the
// pattern's wildcards as the engine reads them) selects, in code order, on the connection.
std::vector<Kvz_ContoLivello> Kvz_ContiDellaCondizione(SqlConnection* pConn, const DataInt& aEsercizio, int ope,
													   const DataStr& aDa, const DataStr& aA);
// What is said of a symbol whose accounts lie on more than one level, where the amounts of an
// account are also in those that group it ("" when they lie on one).
CString Kvz_TestoLivelliConti(const CString& strNome, const std::vector<Kvz_ContoLivello>& conti);

// One valued symbol: its name with the underscore, kind, year and model, the twelve monthly
// amounts, and the symbol whose formula it is being valued inside (null at the top).
class Kvz_New_Simbolo : public CObject
{
	DECLARE_DYNCREATE(Kvz_New_Simbolo, CObject)
public:
	Kvz_New_Simbolo() = default;

	CString m_Nome;
	DataEnum m_Tipo{E_KVZ_TIPOSIMBOLO, 0};
	DataStr m_Modello;
	DataInt m_Esercizio;
	DataDbl m_Valori[12];
	Kvz_New_Simbolo* m_pParent = nullptr;
};

class Kvz_New_AlberoMacroRamo;

// The macros one text uses, in the order met; owns its branches.
class Kvz_New_AlberoMacro : public Array
{
	DECLARE_DYNCREATE(Kvz_New_AlberoMacro, Array)
public:
	Kvz_New_AlberoMacroRamo* GetRamo(int i) const;
};

// One macro of the tree: its name (without underscores), the macros its own text uses (owned,
// null when none) and the branch whose text names it (null at the top).
class Kvz_New_AlberoMacroRamo : public CObject
{
	DECLARE_DYNCREATE(Kvz_New_AlberoMacroRamo, CObject)
public:
	Kvz_New_AlberoMacroRamo() = default;
	Kvz_New_AlberoMacroRamo(const CString& strNome, Kvz_New_AlberoMacroRamo* pPadre) : m_Nome(strNome), m_pPadre(pPadre) {}
	~Kvz_New_AlberoMacroRamo() override { delete m_pFigli; }
	Kvz_New_AlberoMacroRamo(const Kvz_New_AlberoMacroRamo&) = delete;
	Kvz_New_AlberoMacroRamo& operator=(const Kvz_New_AlberoMacroRamo&) = delete;

	CString m_Nome;
	Kvz_New_AlberoMacro* m_pFigli = nullptr;
	Kvz_New_AlberoMacroRamo* m_pPadre = nullptr;
};

class Kvz_TRAziende;
class Kvz_NomiValidazione;
class SqlConnection;
class SqlTable;
// A query the engine prepares once and runs many times (defined with the engine's sources).
struct Kvz_New_Cursore;

// The connection to another company's database, opened from the companies register, with
// the cursors the engine reads that company's tables through. A company missing from the
// register or whose database cannot be opened leaves no connection (said once, with the
// object cached), and every lookup through it then finds nothing.
class Kvz_New_External : public CObject
{
	DECLARE_DYNCREATE(Kvz_New_External, CObject)
public:
	// Created by name it opens nothing.
	explicit Kvz_New_External(CAbstractFormDoc* pDoc = nullptr);
	Kvz_New_External(Kvz_TRAziende* pAziende, const DataStr& aAzienda, CAbstractFormDoc* pDoc, CMessages* pMessages);
	~Kvz_New_External() override;
	Kvz_New_External(const Kvz_New_External&) = delete;
	Kvz_New_External& operator=(const Kvz_New_External&) = delete;

	SqlConnection* GetConnection() const { return m_pConnection; }
	// The connection string of a company's register row, every value quoted as the
	// connection-string reader reads it back, so that no value can end another or add a key.
	static CString StringaConnessione(const CString& strServer, const CString& strDatabase, const CString& strUtente,
									  const CString& strPassword, int nTimeout);
	// Opens a company's database from its register row (the caller closes it through the
	// OLE DB manager); null when the company is not in the register or its database cannot be
	// opened, said through the sink with the company's code and never its connection data.
	static SqlConnection* ApriConnessione(Kvz_TRAziende& aziende, const DataStr& aAzienda, int nTimeout,
										  const std::function<void(const CString&)>& messaggio);

	// The other company's registry row of a symbol; FALSE when there is none or no connection.
	BOOL CercaSimbolo(const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aNome, Kvz_TAnagSimboli& riga);
	// The formula of a model row or of an extra-accounting code's month; "0" when missing,
	// "" with no connection.
	CString FormulaRiclassificato(const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aCodice,
								  const DataInt& aNumero, const DataBool& bBudget, const DataEnum& aTipoBudget);
	CString FormulaExtracontabile(const DataInt& aEsercizio, const DataInt& aMese, const DataStr& aCodice,
								  const DataInt& aNumero);
	// The other company's registry row of a result symbol, copied into def; FALSE when none.
	BOOL CercaSimboloRisultato(const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aNome,
							   Kvz_TSimboliOutputRiclass& def);
	// The position of a code's results in the model's row order; 0 when it has none.
	int PosizioneRisultato(const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aCodice);
	// A query on this company's database, by the shape that defines it: null when it was not
	// made yet; Nuovo makes it, empty, for the caller to define.
	Kvz_New_Cursore* Cursore(const CString& strForma);
	Kvz_New_Cursore& NuovoCursore(const CString& strForma);

private:
	struct Cursori;
	SqlConnection* m_pConnection = nullptr;
	CAbstractFormDoc* m_pDoc;
	std::unique_ptr<Cursori> m_pCursori;
	std::map<CString, std::unique_ptr<Kvz_New_Cursore>> m_Query;
};

class SqlSession;

// What a run reads of the symbols' definitions, the model rows and the extra-accounting codes'
// months, none of which it writes: each table read once per year and model (the months once per
// year and code) and the rows then matched in memory, codes compared as the database compares
// them. Kept by a top engine with stable definitions; the engines of one run may share one.
class Kvz_New_LettureStabili
{
public:
	explicit Kvz_New_LettureStabili(SqlSession* pSession);
	~Kvz_New_LettureStabili();
	Kvz_New_LettureStabili(const Kvz_New_LettureStabili&) = delete;
	Kvz_New_LettureStabili& operator=(const Kvz_New_LettureStabili&) = delete;

	// Null when the table has no such row (an empty name or code has none).
	const Kvz_TAnagSimboli* Anagrafica(const DataInt& aEsercizio, const DataStr& aModello, const CString& strNome);
	const Kvz_TSimboliCodiciRiclass* SimboloRiclass(const DataInt& aEsercizio, const DataStr& aModello,
													const CString& strNome);
	const Kvz_TSimboliCodiciExtracont* SimboloExtracont(const DataInt& aEsercizio, const DataStr& aModello,
														const CString& strNome);
	const Kvz_TSimboliPianoBase* SimboloPianoBase(const DataInt& aEsercizio, const DataStr& aModello,
												  const CString& strNome);
	const Kvz_TSimboliOutputRiclass* SimboloOutput(const DataInt& aEsercizio, const DataStr& aModello,
												   const CString& strNome);
	const Kvz_TRiclassificazioneRighe* Riga(const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aCodice);
	const Kvz_TCodExtracontabili* MeseExtracont(const DataInt& aEsercizio, const DataStr& aCodice, int nMese);

	// The models (ChiaveTesto of their codes) whose results the run writes; the others' results
	// are read once too. Until it is given every model counts as written.
	void SetModelliScritti(std::set<CString> modelli) { m_ModelliScritti = std::move(modelli), m_bScrittiDati = true; }
	// A model's results of a year, every data kind, in data kind, code and month order, with the
	// position of each code's first row; null for a model the run writes (its results are read
	// where they are needed).
	struct RisultatiLetti
	{
		std::vector<std::unique_ptr<Kvz_TRiclassificato>> righe;
		std::map<CString, int> posizioni;  // by ChiaveTesto of the code
	};
	const RisultatiLetti* Risultati(const DataInt& aEsercizio, const DataStr& aModello);

private:
	struct Tabelle;
	std::set<CString> m_ModelliScritti;
	bool m_bScrittiDati = false;
	SqlSession* m_pSession;
	std::unique_ptr<Tabelle> m_pTabelle;
};

class Kvz_New_MngFormula : public CObject
{
	DECLARE_DYNCREATE(Kvz_New_MngFormula, CObject)
public:
	// Each pointer may be null: messages then go to the message box, names are not listed.
	explicit Kvz_New_MngFormula(CMessages* pMessages = nullptr, CStringArray* pNomi = nullptr,
								Kvz_New_Simbolo* pParent = nullptr, CAbstractFormDoc* pDoc = nullptr);
	explicit Kvz_New_MngFormula(const CString& strFormula, CMessages* pMessages = nullptr, CStringArray* pNomi = nullptr,
								Kvz_New_Simbolo* pParent = nullptr, CAbstractFormDoc* pDoc = nullptr);
	~Kvz_New_MngFormula() override;
	Kvz_New_MngFormula(const Kvz_New_MngFormula&) = delete;
	Kvz_New_MngFormula& operator=(const Kvz_New_MngFormula&) = delete;

	void AttachDefault(const DataInt& aEsercizio, const DataInt& aMeseIniziale, const DataInt& aMeseFinale,
					   const DataStr& aModello, const DataEnum& aModo, const DataEnum& aModoUlteriore);
	void AttachEsercizio(const DataInt& aEsercizio) { m_Esercizio = aEsercizio; }
	void AttachModello(const DataStr& aModello) { m_Modello = aModello; }
	void AttachDitta(const DataStr& aDitta) { m_Ditta = aDitta; }
	void AttachFormula(const CString& strFormula);
	void AttachFormulaBudget(const CString& strFormula, const DataEnum& aTipoBudget);

	const CString& GetFormula() const { return m_Formula; }
	// Where the caller uses the formula (a row and a column of a model), named by the messages of
	// its months that fail; empty: the formula alone is named.
	void AttachDove(const CString& strDove) { m_Dove = strDove; }

	// Evaluates the attached formula into the results of months 1 to the last month; every
	// evaluation starts from twelve zeros. A month whose arithmetic fails (division by zero,
	// overflow) gets 0, and the engine says so once.
	BOOL Eval();
	// The result of a month index 0 to 11 (0.0 outside, with an assertion).
	DataDbl GetResult(int idx) const;

	// Frees the valued symbols and the nested results kept.
	void SvuotaMapSimboli()
	{
		m_MapSimboli.clear();
		m_Annidate.clear();
	}
	// Forgets the base-plan values read so far (kept by the top engine for the whole run,
	// which does not write the base plan): call it when the base plan or budget may have changed.
	void SvuotaCachePianoBase();

	// Creates the base-plan symbol under its key ("_" + name) and values it from the given
	// definition (null: the one last read by the engine); FALSE, with a message, when the
	// definition cannot be valued or its query fails.
	BOOL ValorizzaPianoBase(const CString& strChiave, const Kvz_TSimboliPianoBase* pDef);

	// One of the rows the engine values a base-plan symbol from.
	struct RigaPianoBase
	{
		CString conto, centro;
		long long tipoCentro = 0;
		int mese = 0;
		double valore = 0;  // the amount the engine takes from the row, the ledger kind's sign applied
	};
	// The rows of this company the engine values a base-plan symbol from, through the engine's
	// own filters, one by one in no given order (the caller sums those of the same account,
	// cost centre or job and month): for a caller that explains a value account by account.
	// A list's rows go to every entry whose ChiaveVoce equals the row's (ChiaveRiga), with the
	// entry's sign. bUnMese: the rows are of one month, which the engine takes for every month.
	// FALSE, with a message, when the definition cannot be valued or the query fails.
	BOOL LeggiRighePianoBase(const Kvz_TSimboliPianoBase& def, const std::function<void(const RigaPianoBase&)>& riga,
							 bool& bUnMese);
	// The keys a list entry and a row are matched by, text compared as the database
	// compares it (ASCII letters without case).
	static CString ChiaveVoce(const Kvz_TSimboliPianoBase& def, const CString& strConto, const CString& strCentro,
							  long long tipoCentro);
	static CString ChiaveRiga(const Kvz_TSimboliPianoBase& def, const RigaPianoBase& riga)
	{
		return ChiaveVoce(def, riga.conto, riga.centro, riga.tipoCentro);
	}
	// Whether a list's entries take rows by account too, not by cost centre or job alone.
	static bool ElencoPerConto(const Kvz_TSimboliPianoBase& def) { return def.f_WhereConto || !def.f_SelContoVuoto; }
	// A code as the database compares it: ASCII letters folded, other bytes as they are.
	static CString ChiaveTesto(const CString& strTesto);
	// Closes the connections to other companies (nested engines share their top engine's).
	void SvuotaMapDatabase();
	// The registry rows and base-plan definitions of this company read once for the engine's
	// life, instead of at every occurrence: for a run that changes neither while it lasts.
	void SetDefinizioniStabili(BOOL b = TRUE);
	// With stable definitions, the reads of the registry, model rows and extra-accounting months
	// shared with the other engines of a run (null: the engine's own).
	void SetLettureStabili(std::shared_ptr<Kvz_New_LettureStabili> pLetture) { m_pLetture = std::move(pLetture); }
	// The twelve values a run stored for a row of the model it computes, when they are not what
	// the row's formula gives (its share taken), by year, model, code and formula slot (0 the
	// main one, 1-3 the budgets A-C, 4-13 the formula columns 1-10); null elsewhere. A code
	// symbol over such a row reads them in place of the formula.
	using ValoriRiga = std::function<const double*(const DataInt&, const DataStr&, const DataStr&, int)>;
	void SetValoriRighe(ValoriRiga valori) { m_ValoriRighe = std::move(valori); }
	// The connection to a company's database, opened once per top engine and cached, also
	// when it failed.
	Kvz_New_External* GetDatabase(const DataStr& aAzienda);

	// TRUE when the caller must not value the symbol: already valued (extra-accounting codes,
	// reused by every later occurrence) or refused because it is met inside its own formula.
	// FALSE with a new symbol, in the map, for the caller to value.
	BOOL SimboloGiaValutato(const CString& strNome, const DataEnum& aTipo, const DataStr& aModello,
							const DataInt& aEsercizio, Kvz_New_Simbolo*& pSimbolo);
	// Adds the results of another formula, evaluated by a nested engine for the year and
	// model, to the symbol: month below 1 every month, else that month. FALSE, adding nothing,
	// when the nested formula could not be evaluated (said by the nested engine) or the nesting
	// is too deep.
	BOOL EvalFormula(Kvz_New_Simbolo* pSimbolo, const CString& strFormula, const DataInt& aEsercizio,
					 const DataInt& aMese, const DataStr& aModello);
	BOOL EvalFormula(Kvz_New_Simbolo* pSimbolo, const CString& strFormula, const DataInt& aEsercizio,
					 const DataInt& aMese, const DataStr& aModello, const DataEnum& aTipoBudget);

	// Checks the attached formula: syntax, names known in the year and model (always those of
	// the current company), no symbol or macro (the owner, without underscores) that contains
	// itself, no macro chain that comes back to a macro. The names met go to the name list.
	BOOL Parse(const CString& strOwner);
	// While TRUE, Parse reads the names of a year and model once and keeps them: for a caller
	// that checks many formulas while no symbol or macro is added or removed. FALSE drops them.
	void MantieniNomi(BOOL b);
	// Names (without "_") that Parse, in every engine (the formula editor's too), takes as known
	// in the year and model besides the registry's: the symbols a form will write with its save,
	// kept by form until it sets none.
	static void SetNomiInSospeso(const void* pForm, const DataInt& aEsercizio, const DataStr& aModello,
								 std::set<CString> nomi);
	// Why the last Parse found the formula wrong, with the position ("" when it was not the syntax).
	const CString& GetErroreSintassi() const { return m_ErroreSintassi; }
	// The symbols, macros and definitions Parse and its caller's checks read of the year and
	// model, once per table while this process changes no database (when the engine reads on
	// the default session), shared by the engines of the thread; Svuota makes the next check
	// read them again.
	static Kvz_NomiValidazione& NomiValidazione();
	static void SvuotaNomiValidazione();

	// Replaces every macro reference of the text by the macro's text, through every level;
	// FALSE (with a message) for a macro that does not exist, a macro that comes back to
	// itself, or an expansion beyond the bounds.
	BOOL PreprocessForMacro(CString& strText);
	// The text ready for evaluation: macros expanded, extra-accounting symbols made neutral in
	// mode item 1, decimal commas made points.
	BOOL PreparaTesto(CString& strText);
	// Replaces each extra-accounting symbol (those bExtracont answers for, names without the
	// underscore) by the neutral element of the operation it takes part in within its
	// parentheses: 0 as a term of a sum or difference, 1 as a factor; a leading factor divided
	// by what follows becomes a product ("_E / B" is "1 * B"). A group of only such symbols
	// stands for one and takes the place of its parentheses ("(_E1 + _E2) * B" is "(1) * B").
	static CString NeutralizzaExtracont(const CString& strText, const std::function<bool(const CString&)>& bExtracont);

	// Bounds of the macro expansion.
	static constexpr int MaxLivelliMacro = 32;
	static constexpr int MaxRamiMacro = 4096;
	static constexpr int MaxLunghezzaEspansa = 65536;
	// Bounds of the nesting of formulas inside symbols: levels, and stack kept free below the
	// deepest one.
	static constexpr int MaxLivelliAnnidati = 300;
	static constexpr std::size_t MinStackLibero = 256 * 1024;

private:
	struct Compilata;
	Compilata* Compila(const CString& strFormula);
	BOOL EvalExpression(CString* pText);
	// The symbol's registry row into m_RigaAnagrafica; FALSE with a message when there is none.
	BOOL LeggiAnagrafica(const CString& strNome);
	// The registry row of a name, said nothing of: 1 found, 0 not there, -1 a failure (said).
	int CercaRigaAnagrafica(const CString& strNome, Kvz_TAnagSimboli& riga);
	// Base-plan symbols: FALSE when the definition is missing or wrong or the query fails.
	BOOL ValorizzaPianoBase(const CString& strNome);
	BOOL ValorizzaPianoBaseLocale(const Kvz_TSimboliPianoBase& def, Kvz_New_Simbolo& simbolo);
	// The select texts: month column, the three amounts and the ledger kind (empty unless read).
	void ComponiSelect(const Kvz_TSimboliPianoBase& def, CString& strMese, CString& strExpr1, CString& strExpr2,
					   CString& strExpr3, CString& strExpr4);
	// The filters of the query, added when bDefinisci (the cursor's first use) and valued always.
	void ComponiWhere(const Kvz_TSimboliPianoBase& def, SqlTable& table, SqlRecord& rec, BOOL bDefinisci,
					  int& singleMonth);
	// A list's rows: those some entry takes (its centre or job and kind, and its account when the
	// list filters by account); the filter added when bDefinisci, valued always.
	void FiltroElenco(const Kvz_TSimboliPianoBase& def, SqlTable& table, BOOL bDefinisci);
	// The amount a row gives, as SQL: by the engine's mode, else by the symbol's own choice,
	// turned by the ledger kind when the symbol says so.
	CString ValoreRigaSql(const Kvz_TSimboliPianoBase& def) const;
	// 0 balance, 1 accrual, 2 adjusted: by the engine's mode, else by the symbol's own choice.
	int SceltaImporto(const Kvz_TSimboliPianoBase& def) const;
	// Why a definition cannot be valued ("" when it can).
	CString ErroreDefinizione(const Kvz_TSimboliPianoBase& def) const;
	CString ChiaveCachePianoBase(const Kvz_TSimboliPianoBase& def) const;
	BOOL IsBudget(const Kvz_TSimboliPianoBase& def) const { return def.f_SelBudget || m_bFormulaBudget; }
	// Result symbols: valued anew at every occurrence; FALSE as for base-plan symbols.
	BOOL ValorizzaOutputRiclassific(const CString& strNome);
	BOOL ValorizzaOutputLocale(const Kvz_TSimboliOutputRiclass& def, Kvz_New_Simbolo& simbolo);
	BOOL Ext_ValorizzaOutputRiclassific(const DataStr& aAzienda, const Kvz_TSimboliOutputRiclass& def,
										Kvz_New_Simbolo& simbolo);
	// Base-plan symbols over another company's rows, aggregated here.
	BOOL Ext_ValorizzaPianoBase(const DataStr& aAzienda, Kvz_New_Simbolo& simbolo, const Kvz_TSimboliPianoBase& def);
	// The value column of a result symbol ("" when the definition names none).
	CString ColonnaRisultato(const Kvz_TSimboliOutputRiclass& def, BOOL bEsterna) const;
	// Reclassified-code and extra-accounting symbols: FALSE when a query or a nested
	// evaluation fails, so that no partial value is taken for a good one.
	BOOL ValorizzaRiclassific(const CString& strNome);
	BOOL ValorizzaExtracont(const CString& strNome);
	// Says once per symbol that its range of codes selects none (the model's when given).
	void NessunCodice(const CString& strNome, const DataStr& aDa, const DataStr& aA, const DataStr& aModello);
	// Takes a symbol that failed out of the map: no later occurrence may reuse its values.
	void ScartaSimbolo(const CString& strNome);
	// Whether the model has a header in the year (asked once per evaluation's top engine).
	BOOL ModelloEsiste(const DataInt& aEsercizio, const DataStr& aModello);
	// A symbol of another company whose database could not be opened has no value: said, FALSE.
	BOOL AziendaRaggiungibile(const CString& strNome);
	CString CercaFormulaRiclassificato(const DataInt& aEsercizio, const DataStr& aModello, const DataStr& aCodice,
									   const DataInt& aNumero, const DataBool& bBudget, const DataEnum& aTipoBudget);
	CString CercaFormulaExtracontabile(const DataInt& aEsercizio, const DataInt& aMese, const DataStr& aCodice,
									   const DataInt& aNumero);
	BOOL EvalFormula(Kvz_New_Simbolo* pSimbolo, const CString& strFormula, const DataInt& aEsercizio,
					 const DataInt& aMese, const DataStr& aModello, const DataEnum* pTipoBudget);
	Kvz_New_MngFormula& Radice() { return m_pRadice ? *m_pRadice : *this; }
	// The message of a nesting past the bounds, naming the chain of symbols that led to it.
	static CString TestoTroppoAnnidato(const Kvz_New_Simbolo* pUltimo);
	// The last month to compute, within 0..12.
	int UltimoMese() const;
	// Messages said once for the whole evaluation, nested engines included.
	void MessaggioUnaVolta(const CString& strChiave, const CString& strTesto);
	static CString ChiaveSimbolo(const DataInt& aEsercizio, const DataStr& aModello, const CString& strNome);

	void InitSession();
	// What the engine reads through: its document's session when it has one, so that a run reads
	// the rows it has written in its own transaction (on a server they are another handle's until
	// committed); else the company's default session.
	SqlSession* Sessione() const;
	void AttachAllSymbols();
	void SvuotaAlberoMacro();
	BOOL EstraiSimboli(const CString& strOwner, const CString& strText, Kvz_New_AlberoMacro*& pAlbero,
					   Kvz_New_AlberoMacroRamo* pPadre);
	BOOL EsplodiAlbero(Kvz_New_AlberoMacro* pAlbero);
	BOOL VerificaRicorsivita(Kvz_New_AlberoMacro* pAlbero);
	// The stored text of a macro of the engine's year and model; FALSE with a message when
	// the macros table has no macro of exactly that name.
	BOOL LeggiMacro(const CString& strNome, CString& strFormula);
	// The same for Parse: from the names read for the checks when it can.
	BOOL LeggiMacroNota(const CString& strNome, CString& strFormula);
	BOOL EspandiMacro(CString& strText, std::vector<CString>& catena, std::map<CString, CString>& espanse);
	void Messaggio(const CString& strTesto);

	CAbstractFormDoc* m_pDoc;
	Kvz_New_Simbolo* m_pParentSimbolo;
	CMessages* m_pMessages;
	CStringArray* m_pNomi;

	CString m_Formula;
	CString m_Dove;
	DataBool m_bFormulaBudget;
	DataEnum m_TipoBudget{E_KVZ_TIPOBUDGET, 0};
	std::unique_ptr<ErpSymTable> m_pSymTable;
	BOOL m_bMantieniNomi = FALSE;
	DataInt m_EsercizioNomi;  // year and model of the names kept
	DataStr m_ModelloNomi;
	Kvz_New_AlberoMacro m_AlberoMacro;
	int m_nRami = 0;  // branches of the current explosion, against MaxRamiMacro
	CString m_ErroreSintassi;
	Kvz_TRAnagMacro m_TRAnagMacro;

	DataInt m_Esercizio;
	DataStr m_Modello;
	DataStr m_Ditta;
	DataInt m_MeseIniziale;
	DataInt m_MeseFinale;
	DataEnum m_Modo{E_KVZ_TIPODATOPBASE, 0};
	DataEnum m_ModoUlteriore;
	DataBool m_bDefaultAttached;

	DataDbl m_Risultati[12];
	// Valued symbols by year, model and name: a symbol of one model is never another's.
	std::map<CString, std::unique_ptr<Kvz_New_Simbolo>> m_MapSimboli;
	Kvz_TAnagSimboli m_RigaAnagrafica;
	// Readers kept for the engine's life, so that their statements are prepared once.
	Kvz_TRAnagSimboli m_TRAnagSimboli;
	Kvz_TRSimboliCodiciRiclass m_TRSimboliRiclass;
	Kvz_TRSimboliCodiciExtracont m_TRSimboliExtra;
	Kvz_TRRiclassificazioneRighe m_TRRighe;
	Kvz_TRCodExtracontabili m_TRCodExtra;
	Kvz_TRSimboliPianoBase m_TRSimboliPB;
	Kvz_TSimboliPianoBase m_DefPianoBase;
	Kvz_TRSimboliOutputRiclass m_TRSimboliOutput;
	Kvz_TSimboliOutputRiclass m_DefOutput;
	Kvz_TRRiclassificato m_TRRisultati;
	// The engine a nested engine was built by, null at the top; the top keeps what is said once.
	Kvz_New_MngFormula* m_pRadice = nullptr;
	std::set<CString> m_DettiUnaVolta;
	bool m_bRicorsione = false;  // a symbol was met inside its own formula, said and skipped
	std::map<CString, std::unique_ptr<Kvz_New_External>> m_MapDatabase;
	std::map<CString, bool> m_ModelliEsistenti;
	ValoriRiga m_ValoriRighe;
	// With stable definitions: by year, model and name; null when the table has no such row.
	BOOL m_bDefinizioniStabili = FALSE;
	std::shared_ptr<Kvz_New_LettureStabili> m_pLetture;
	// The top engine's reads with stable definitions, null without.
	Kvz_New_LettureStabili* Letture();
	std::map<CString, std::unique_ptr<Kvz_TAnagSimboli>> m_AnagraficheLette;
	std::map<CString, std::unique_ptr<Kvz_TSimboliPianoBase>> m_DefinizioniLette;
	mutable std::map<CString, std::string> m_ColonneDefinizioni;  // of the base-plan values' cache key
	// By formula, year, model and mode: the formula first, where the keys differ.
	using CompilataChiave = std::tuple<CString, int, CString, DWORD>;
	std::map<CompilataChiave, std::unique_ptr<Compilata>, std::less<>> m_Compilate;
	// With stable definitions: what a base-plan symbol of this company's own valued to, by name
	// and budget (the formula's kind), and the engine's setting it was valued in. A later occurrence in the same setting takes
	// the values again without looking its registry row, definition and cached query up anew.
	struct StatoPianoBase
	{
		int nEsercizio = 0, nMeseIniziale = 0, nUltimoMese = 0;
		CString strModello;
		DWORD nModo = 0, nTipoBudget = 0;
		bool bBudget = false;
		bool operator==(const StatoPianoBase&) const = default;
	};
	struct ValoriPianoBase
	{
		StatoPianoBase stato;
		std::array<double, 12> valori{};
	};
	std::map<std::tuple<CString, bool, DWORD>, ValoriPianoBase> m_ValoriPianoBase;
	StatoPianoBase StatoPerPianoBase() const;
	// TRUE when the name's values were taken again into its symbol.
	BOOL PianoBaseGiaValutato(const CString& strNome);
	// Keeps what the name's symbol valued to, after its valuation.
	void TieniPianoBase(const CString& strNome);
	// Top engine only: the base-plan and result queries by their shape, prepared once, and the
	// base-plan values read, by everything that shapes their query.
	std::map<CString, std::unique_ptr<Kvz_New_Cursore>> m_CursoriPianoBase;
	std::map<CString, std::array<double, 12>> m_CachePianoBase;
	// Top engine only: the results of the formulas nested engines evaluated, by formula, year,
	// model, months, mode and budget type, kept for one evaluation (for the run with stable
	// definitions). A formula that read the run's results or met a recursion is not kept: its
	// figures depend on when and from where it was evaluated. One stopped by the nesting bound
	// is kept as failed.
	struct Annidata
	{
		std::array<double, 12> valori{};
		bool bValida = false;
	};
	std::map<CString, Annidata> m_Annidate;
	int m_nNonRiutilizzabili = 0;  // counts the events that make a nested result not reusable
	int m_nTroppoAnnidate = 0;	   // counts the chains stopped by the nesting bound
	int m_nLivello = 0;			   // nesting level: 0 at the top
};
