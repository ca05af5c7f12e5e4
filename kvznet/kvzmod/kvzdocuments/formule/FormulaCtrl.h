#pragma once
// The controls through which a user writes a formula, and the small arrays the formula
// documents keep. The formula edit opens the formula editor on a double-click; the formula
// container and the symbol list box are the editor's own; the two combos offer only some
// items of their enumeration.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvgeneric/Array.h"
#include "platform/plvgenlib/CParsedCtrl.h"

class Kvz_CUtilizzaFormuleDoc;

// The namespace the formula edit opens on a double-click.
inline constexpr const char* KVZ_NS_FORMULA_EDITOR = "KvzNet.KvzMod.KvzDocuments.BDFormula";

// A formula field of a formula-holding document; holds which of the row's formulas it shows
// (0 the main formula, 1 to 10 the further ones). A change of its value reaches the document's
// handler as any edit's; a double-click opens the formula editor on its formula.
class Kvz_CFormulaEdit : public CStrEdit
{
	DECLARE_DYNCREATE(Kvz_CFormulaEdit, CStrEdit)
public:
	void SetPos(int nPos) { m_nPos = nPos; }
	int GetPos() const { return m_nPos; }
	// Before the value-changed notification goes out, a formula-usage document is pointed at
	// this field and its position, so that its OnFormulaChanged works on the value changed (in
	// a grid: the current row's).
	BOOL UserInput(const CString& strText) override;

protected:
	void OnLButtonDblClk(UINT nFlags, CPoint point) override;

private:
	// The control's document when it is a formula-usage document, else null.
	Kvz_CUtilizzaFormuleDoc* GetFormulaDoc() const;

	int m_nPos = 0;
};

// The formula editor's text box: remembers where the user last selected, so that a symbol
// chosen from a list goes there (-1 and -1: never clicked, symbols go to the end).
class Kvz_CFormulaContainer : public CStrEdit
{
	DECLARE_DYNCREATE(Kvz_CFormulaContainer, CStrEdit)
public:
	// Where the user last selected, in characters; -1 and -1 before any click.
	int GetInizioSel() const { return m_nInizioSel; }
	int GetFineSel() const { return m_nFineSel; }

protected:
	void OnLButtonUp(UINT nFlags, CPoint point) override;

private:
	int m_nInizioSel = -1;
	int m_nFineSel = -1;
};

// One symbol of a symbol list: its kind (tag E_KVZ_TIPOSIMBOLO) and name.
class Kvz_SimboliArrayElem : public CObject
{
	DECLARE_DYNCREATE(Kvz_SimboliArrayElem, CObject)
public:
	Kvz_SimboliArrayElem() = default;
	Kvz_SimboliArrayElem(const DataEnum& aTipo, const DataStr& aNome) : m_TipoSimbolo(aTipo), m_NomeSimbolo(aNome) {}

	DataEnum m_TipoSimbolo{E_KVZ_TIPOSIMBOLO, 0};
	DataStr m_NomeSimbolo;
};

class Kvz_SimboliArray : public TArray<Kvz_SimboliArrayElem>
{
	DECLARE_DYNAMIC(Kvz_SimboliArray, Array)
};

// A list of symbols: line i shows element i ("NAME  description"); a double-click inserts the
// chosen symbol into the attached formula container.
class Kvz_CListBoxFormula : public CListBox
{
	DECLARE_DYNCREATE(Kvz_CListBoxFormula, CListBox)
public:
	// The lines must stay in the order of the elements.
	Kvz_CListBoxFormula() { SetSorted(FALSE); }

	void Attach(Kvz_CFormulaContainer* pContainer, DataStr* pFormula);
	using CListBox::Attach;
	void SetPrefix(const CString& strPrefix) { m_strPrefix = strPrefix; }
	const CString& GetPrefix() const { return m_strPrefix; }

	Kvz_SimboliArrayElem* AddSymbol(const DataEnum& aTipo, const DataStr& aNome, const DataStr& aDescrizione);
	void Empty();
	// Null when no line is selected.
	Kvz_SimboliArrayElem* GetSelectedSymbol() const;
	const Kvz_SimboliArray& GetSimboli() const { return m_Simboli; }

	// Puts prefix + symbol (+ a blank unless bNoBlank) into the container: at the end when the
	// user never selected there, else in place of the selection (undoable); then copies the
	// container's value into the formula. A prefix starting with "@" is not used.
	static void InsertSymbol(const CString& strSimbolo, const CString& strPrefix, Kvz_CFormulaContainer* pContainer,
							 DataStr* pFormula, int bNoBlank);

protected:
	void OnLButtonDblClk(UINT nFlags, CPoint point) override;
	void OnRButtonDown(UINT, CPoint) override {}

private:
	Kvz_CFormulaContainer* m_pContainer = nullptr;
	DataStr* m_pFormula = nullptr;
	CString m_strPrefix;
	Kvz_SimboliArray m_Simboli;
};

// Budget types a user may choose: every one except the formula descriptions (item 3).
class Kvz_TipoBudgetInputCombo : public CEnumCombo
{
	DECLARE_DYNCREATE(Kvz_TipoBudgetInputCombo, CEnumCombo)
public:
	BOOL IsValidItemListBox(const DataObj& aDataObj) const override;
};

// Aggregate functions a user may choose: sum and average only.
class Kvz_AggregFunctionFiltratoCombo : public CEnumCombo
{
	DECLARE_DYNCREATE(Kvz_AggregFunctionFiltratoCombo, CEnumCombo)
public:
	BOOL IsValidItemListBox(const DataObj& aDataObj) const override;
};

// One print row of a reclassified statement: code, description, row kind (tag
// E_KVZ_TIPORIGA), a number and ten amounts.
class Kvz_ArrayStampaMensElem : public CObject
{
	DECLARE_DYNCREATE(Kvz_ArrayStampaMensElem, CObject)
public:
	DataStr m_Codice;
	DataStr m_Descrizione;
	DataEnum m_TipoRiga{E_KVZ_TIPORIGA, 0};
	DataInt m_Numero;
	DataMon m_Valori[10];
};

class Kvz_ArrayStampaMens : public TArray<Kvz_ArrayStampaMensElem>
{
	DECLARE_DYNAMIC(Kvz_ArrayStampaMens, Array)
};
