#pragma once
// Descriptions of the formulas of a code (extra-accounting or reclassified): one row per
// fiscal year, code kind, code, budget type and formula index.
#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"
#include "platform/plvges/HotKeyLink.h"
#include "platform/plvges/KeyedQuery.h"

class Kvz_TDescrFormula : public SqlRecord
{
	DECLARE_DYNCREATE(Kvz_TDescrFormula, SqlRecord)
public:
	explicit Kvz_TDescrFormula(BOOL bCallInit = TRUE);
	static LPCTSTR GetStaticName() { return _T("Kvz_DescrFormule"); }
	void BindRecord() override;

	DataInt f_Esercizio;
	DataEnum f_TipoCodice{E_KVZ_TIPOSIMBOLO, 0};
	DataStr f_Codice;
	DataEnum f_TipoBudget{E_KVZ_TIPOBUDGET, 0};
	DataInt f_IndiceFormula;
	DataStr f_Descrizione;
};

class Kvz_TRDescrFormula : public KeyedReader
{
	DECLARE_DYNAMIC(Kvz_TRDescrFormula, TableReader)
public:
	explicit Kvz_TRDescrFormula(CBaseDocument* pDocument = nullptr);
	FindResult FindRecord(const DataInt& aEsercizio, const DataEnum& aTipoCodice, const DataStr& aCodice,
						  const DataEnum& aTipoBudget, const DataInt& aIndiceFormula);
	Kvz_TDescrFormula* GetRecord() const;

protected:
	DataInt m_Esercizio;
	DataEnum m_TipoCodice;
	DataStr m_Codice;
	DataEnum m_TipoBudget;
	DataInt m_IndiceFormula;
};

// Picks the description of one of a code's formulas; the control edits the description.
class Kvz_HKLDescrFormula : public HotKeyLink
{
	DECLARE_DYNCREATE(Kvz_HKLDescrFormula, HotKeyLink)
public:
	Kvz_HKLDescrFormula();
	void SetEsercizio(const DataInt& aEsercizio) { m_Esercizio = aEsercizio; }
	void SetTipoCodice(const DataEnum& aTipoCodice) { m_TipoCodice = aTipoCodice; }
	void SetCodice(const DataStr& aCodice) { m_Codice = aCodice; }
	void FiltraPerTipoBudget(const DataBool& bFiltra) { m_FiltraTipoBudget = bFiltra; }
	void SetTipoBudget(const DataEnum& aTipoBudget) { m_TipoBudget = aTipoBudget; }
	Kvz_TDescrFormula* GetRecord() const;
	DataObj* GetDataObj() const override;

protected:
	void OnDefineQuery(int nSelectionType) override;
	void OnPrepareQuery(DataObj* pDataObj, int nSelectionType) override;

private:
	DataInt m_Esercizio;
	DataEnum m_TipoCodice{DWORD(0)};
	DataStr m_Codice;
	DataBool m_FiltraTipoBudget;
	DataEnum m_TipoBudget{E_KVZ_TIPOBUDGET, 3};
};
